#pragma once
// The three AI tables: the physics row of every skier animation ("AnimPhysicTable",
// 15 numbers each), the blend time between any two skier animations
// ("AnimBlendTimes", 48 x 48) and the AI strategies. Created and loaded by the path
// network's loader for every race (LoadStrategies("Data\Ai\Strategy\"),
// LoadAnimBlendTimes("Data\Ai\Anims.time"), LoadAnimPhysicTable("Data\Ai\Anims.physics")),
// read by the race step, deleted with the path network. Every message goes to
// "Ai.log"; nothing stops loading.
//
// Files are text tables (N_TableFile: blank-separated fields, "//" comments, quoted
// fields); numbers are read as the C library's atof does, so a field that is not a
// number is 0.0. Damage the race could not use is brought within range (a physics
// value beyond +-1e4 or not a number takes the default row's, a negative blend time
// becomes 0, a strategy key is kept to 0..1) and said once per file, naming it, in "Ai.log" and
// the engine log: a missing file, a field that is not a number, a short or long table,
// a list without strategies or a key without a name.
#include "race/ai/AiStrategy.h"

#include <array>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Ai {

class N_AiTableMng {
 public:
  static constexpr int kColumns = 15;
  static constexpr int kAnimations = 48;  ///< the skier animations, 0 to 47
  using PhysicRow = std::array<float, kColumns>;

  N_AiTableMng() = default;
  N_AiTableMng(const N_AiTableMng&) = delete;
  N_AiTableMng& operator=(const N_AiTableMng&) = delete;

  /// Every strategy of every "*.all" list of the folder (not its subfolders): pairs of
  /// a key and a name whose values are in folder + name + ".strategy".
  void LoadStrategies(const std::string& folder);
  /// 48 rows of 48 numbers; every row is kept, a short one with fewer values.
  void LoadAnimBlendTimes(const std::string& fileName);
  /// Every 15 numbers are one row (a short last row ends in zeros); exactly 48 expected.
  void LoadAnimPhysicTable(const std::string& fileName);

  /// The row of the animation. A row outside the loaded ones answers the default row
  /// (column 9, the effort load, 1.0, the others 0.0), logged once per index.
  const float* GetAnimPhysicRow(int animation) const;
  /// Seconds to blend from one animation to another; 0.0 outside the loaded values,
  /// logged once per pair.
  float GetAnimBlendTime(int from, int to) const;
  /// The strategy whose key is strictly nearest (the first of equally near ones) to
  /// v = RandomRange(a, 1.0); null when none is nearer than 1.0.
  const N_AiStrategy* FindStrategy(float a) const;

  std::size_t PhysicRowCount() const { return m_physicRows.size(); }
  std::size_t BlendRowCount() const { return m_blendTimes.size(); }
  /// The values of a blend row (row below BlendRowCount()).
  const std::vector<float>& BlendRow(std::size_t row) const { return m_blendTimes[row]; }
  std::size_t StrategyCount() const { return m_strategies.size(); }
  const N_AiStrategy& Strategy(std::size_t index) const { return *m_strategies[index]; }

 private:
  /// The strategies of one list: pairs of a key (0..1) and a name.
  void LoadStrategyList(const std::string& folder, const std::string& listName);
  /// Reads folder + strategy.name + ".strategy" into the strategy; false (logged) when
  /// the file is missing or holds fewer than two numbers.
  static bool ReadStrategyValues(const std::string& folder, N_AiStrategy& strategy);

  std::vector<std::unique_ptr<PhysicRow>> m_physicRows;
  std::vector<std::unique_ptr<N_AiStrategy>> m_strategies;
  std::vector<std::vector<float>> m_blendTimes;
  mutable std::set<int> m_reportedRows;                    ///< physics rows asked for and missing
  mutable std::set<std::pair<int, int>> m_reportedBlends;  ///< blend values asked for and missing
};

}  // namespace Ai
