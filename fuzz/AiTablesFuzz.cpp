// The AI tables of "data\Ai\", through the table manager as the path network's loader
// reads them for every race: LoadStrategies("Data\Ai\Strategy\"),
// LoadAnimBlendTimes("Data\Ai\Anims.time"), LoadAnimPhysicTable("Data\Ai\Anims.physics"),
// then every physics row, blend times at and beyond the edges of every row and a
// strategy asked for as the race step asks.
//
// The input is "Anims.physics"; lines "//@ NAME" in it start further files of the
// folder (FuzzSupport.h): "Anims.time", the strategy lists "Strategy\*.all" and the
// strategies they name, "Strategy\<name>.strategy". Checked: the shape the race step
// relies on (48 blend rows, strategies of two values or more, a row for any animation).
#include "core/Random.h"
#include "fuzz/FuzzSupport.h"
#include "race/ai/AiTableMng.h"

#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<fuzz::InputFile> files = fuzz::SplitFiles(std::string_view(reinterpret_cast<const char*>(data), size));
  files.front().name = "Anims.physics";
  fuzz::WriteFiles("data\\Ai", files);

  Srand(1);  // the strategy's draw: the same for every run of an input
  Ai::N_AiTableMng tables;
  tables.LoadStrategies("Data\\Ai\\Strategy\\");
  tables.LoadAnimBlendTimes("Data\\Ai\\Anims.time");
  tables.LoadAnimPhysicTable("Data\\Ai\\Anims.physics");
  fuzz::Check(tables.BlendRowCount() == Ai::N_AiTableMng::kAnimations, "blend rows missing");
  for (std::size_t i = 0; i < tables.StrategyCount(); ++i) {
    fuzz::Check(tables.Strategy(i).values.size() >= 2, "a strategy of fewer than two values");
  }
  float sum = 0.0f;
  for (int from = -1; from <= Ai::N_AiTableMng::kAnimations; ++from) {
    const float* row = tables.GetAnimPhysicRow(from);
    fuzz::Check(row != nullptr, "no physics row");
    for (int column = 0; column < Ai::N_AiTableMng::kColumns; ++column) sum += row[column];
    // Both edges of a row, both ends beyond them, and two values inside.
    for (const int to : {-1, 0, from, 47 - from, 47, 48}) sum += tables.GetAnimBlendTime(from, to);
  }
  for (const float a : {0.0f, 0.5f, 1.0f}) {
    if (const Ai::N_AiStrategy* strategy = tables.FindStrategy(a)) sum += strategy->values[0] + strategy->values[1];
  }
  volatile float kept = sum;  // every value is read
  (void)kept;
  return 0;
}
