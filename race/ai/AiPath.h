#pragma once
// N_AiPath: the race's knowledge of the track, made by the game mode for every race
// after the level is loaded and destroyed with it. It owns the path tree, the start
// places, the range's entry and exit points, the arrow and start-box markers, the
// shooting pattern, the shooting range, one trigger box per shooting lane (the boxes
// are the level's) and the AI tables; the game modes and the racers ask it through
// the queries below. Every line goes to "Ai.log" (which must be open before Load).
//
// Marker keys: 0 finish-arrow position, 1 its direction; 2 penalty-arrow position, 3
// its direction; 4 start-box position, 5 its direction. A key never stored reads as
// the zero vector. The range forwarders do nothing while the range, its targets or its
// rifle is missing.
#include "core/Vector3.h"
#include "race/ai/AiPathTree.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class N_Level;
class N_ShootingRange;
class N_ShootLane;
struct N_LevelTrigger;
struct N_Racer;

namespace Ai {

class N_StartPlaces;
class N_AiTableMng;
struct N_AiStrategy;

class N_AiPath {
 public:
  enum MarkerKey : std::int32_t {
    kFinishArrowPos = 0,
    kFinishArrowDir = 1,
    kPenaltyArrowPos = 2,
    kPenaltyArrowDir = 3,
    kStartBoxPos = 4,
    kStartBoxDir = 5
  };

  N_AiPath();
  /// Frees the tree, the start places, the AI tables, the range and the trigger array.
  ~N_AiPath();
  N_AiPath(const N_AiPath&) = delete;
  N_AiPath& operator=(const N_AiPath&) = delete;

  /// Builds everything from the world's level; false (logged) without a world.
  bool Load();
  /// Builds everything from the level: true when every required item was found; false
  /// at the first missing one (what was built stays until the destructor).
  bool Load(const N_Level& level);

  /// The start sector of a start type (0 and 4 sprint, 1 relay, 2 mass, 3 pursuit):
  /// true with out set; false with out untouched (type 5 and up is an AI error).
  bool GetStartSector(std::int32_t startType, N_AiSector*& out) const;
  /// The path lengths, the rifle's shadows and the relay change sector; always true.
  bool GetRelayChangeSector();
  /// The first Normal sector labelled for the relay change, once around; false (out
  /// null) when none.
  bool FindRelayChangeSector(N_AiSector*& out) const;
  N_AiSector* RelayChangeSector() const { return m_relayChangeSector; }

  /// Range entry / exit point i; past the end the last point (the zero vector for an
  /// empty list), the first such call per list logged.
  N_Vector3 GetHelperIn(std::uint32_t i);
  N_Vector3 GetHelperOut(std::uint32_t i);
  std::size_t GetHelperInCount() const { return m_shootInPoints.size(); }
  std::size_t GetHelperOutCount() const { return m_shootOutPoints.size(); }

  /// The stance letters per round ("L" prone, "S" standing, others none).
  void SetShootPattern(std::string pattern);
  /// 2 for 'L', 1 for 'S', 0 for any other letter and past the pattern.
  std::int32_t GetShootStance(std::uint32_t round) const;

  void GetFinishArrow(N_Vector3& position, N_Vector3& direction) const;
  void GetPenaltyArrow(N_Vector3& position, N_Vector3& direction) const;
  void GetStartBox(N_Vector3& position, N_Vector3& direction) const;

  /// The trigger box of a lane; null past the lanes.
  const N_LevelTrigger* GetShootTrigger(std::uint32_t lane) const;
  std::size_t LaneCount() const { return m_shootTriggers.size(); }
  /// The range's lane; null without a range or past its lanes.
  N_ShootLane* GetStand(int lane) const;

  /// The AI tables' strategy nearest to a random value from a to 1.0; null without tables.
  const N_AiStrategy* FindStrategy(float a) const;
  /// The targets' drawing.
  void RenderShootTargets(float frameTime);
  /// The targets' lane display, then the rifle's step.
  void UpdateShootingRange(float frameTime);
  /// The rifle's view for the racer (its series begun without showing hits), and back.
  void SetShooterView(N_Racer* racer);
  void ResetShooterView();

  N_AiPathTree* Tree() const { return m_tree.get(); }
  N_StartPlaces* StartPlaces() const { return m_startPlaces.get(); }
  N_ShootingRange* ShootingRange() const { return m_shootingRange.get(); }
  N_AiTableMng* AiTables() const { return m_aiTables.get(); }

 private:
  /// Keys `position` and `position + 1` from a set of two or more points; false (no
  /// keys) when the set is missing or shorter.
  bool LoadMarker(const N_Level& level, const char* setName, std::int32_t position);
  N_Vector3 Marker(std::int32_t key) const;
  N_Vector3 HelperPoint(const std::vector<N_Vector3>& points, std::uint32_t i, bool& reported, const char* what);
  bool LoadShootTriggers(const N_Level& level, std::int32_t lanes);

  std::unique_ptr<N_AiPathTree> m_tree;
  std::unique_ptr<N_StartPlaces> m_startPlaces;
  std::vector<N_Vector3> m_shootInPoints;
  std::vector<N_Vector3> m_shootOutPoints;
  std::map<std::int32_t, N_Vector3> m_markers;
  std::vector<char> m_shootPattern;
  std::unique_ptr<N_ShootingRange> m_shootingRange;
  std::vector<const N_LevelTrigger*> m_shootTriggers;  ///< the level's records
  N_AiSector* m_relayChangeSector = nullptr;
  std::unique_ptr<N_AiTableMng> m_aiTables;
  bool m_reportedHelperIn = false;
  bool m_reportedHelperOut = false;
};

}  // namespace Ai
