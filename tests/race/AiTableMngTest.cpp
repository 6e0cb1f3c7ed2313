#include "core/Random.h"
#include "race/ai/AiTableMng.h"
#include "tests/race/RaceTestSupport.h"
#include "tools/CourseSkier.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Ai::N_AiTableMng;

/// n numbers: 1, 2, 3, ... separated by blanks and line breaks.
std::string Numbers(int n, int perLine) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += std::to_string(i) + (i % perLine == 0 ? "\n" : " ");
  return text;
}

const std::string kPhysicsStart = "Ai::N_AiTableMng: Loading AnimPhysicTable.";
const std::string kPhysicsDone = "Ai::N_AiTableMng: Loading AnimPhysicTable done.";
const std::string kPhysicsFailed = "Ai::N_AiTableMng: Loading AnimPhysicTable failed !!!!.";

TEST(AiTables, PhysicsRowsAreEveryFifteenNumbers) {
  struct Case {
    int numbers;
    std::size_t rows;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {15 * 47, 47, {kPhysicsStart, kPhysicsFailed, "!!! Data\\Ai\\Anims.physics: 47 rows where 48 are expected"}},
      {15 * 49, 49, {kPhysicsStart, kPhysicsFailed, "!!! Data\\Ai\\Anims.physics: 49 rows where 48 are expected"}},
      {15 * 48 - 3, 48, {kPhysicsStart, kPhysicsDone, "!!! Data\\Ai\\Anims.physics: row 47 ends after 12 numbers"}},
  };
  for (const Case& c : cases) {
    test::RaceRig rig;
    rig.dir.Write("data/ai/anims.physics", "// rows\n" + Numbers(c.numbers, 7));
    N_AiTableMng tables;
    tables.LoadAnimPhysicTable("Data\\Ai\\Anims.physics");
    EXPECT_EQ(tables.PhysicRowCount(), c.rows) << c.numbers;
    EXPECT_EQ(rig.AiLogLines(), c.log) << c.numbers;
    const float* last = tables.GetAnimPhysicRow(int(c.rows) - 1);
    EXPECT_EQ(last[0], float(15 * (c.rows - 1) + 1));
    if (c.numbers % 15 != 0) {
      EXPECT_EQ(std::vector<float>(last + 11, last + 15), (std::vector<float>{717, 0, 0, 0}));
    }
  }
  test::RaceRig rig;
  N_AiTableMng tables;
  tables.LoadAnimPhysicTable("Data\\Ai\\Anims.physics");
  EXPECT_EQ(rig.AiLogLines(),
            (std::vector<std::string>{kPhysicsStart,
                                      "Ai::N_AiTableMng: Loading AnimPhysicTable failed !!!   File "
                                      "Data\\Ai\\Anims.physics not exist",
                                      kPhysicsFailed,
                                      "!!! Data\\Ai\\Anims.physics: missing: every skier technique stands still"}));
}

TEST(AiTables, BlendRowsStayFortyEightAndShortOnesAreSaid) {
  test::RaceRig rig;
  rig.dir.Write("anims.time", Numbers(2300, 48));
  N_AiTableMng tables;
  tables.LoadAnimBlendTimes("Anims.time");
  ASSERT_EQ(tables.BlendRowCount(), 48u);
  EXPECT_EQ(tables.BlendRow(46).size(), 48u);
  EXPECT_EQ(tables.BlendRow(47).size(), 44u);
  EXPECT_EQ(tables.GetAnimBlendTime(47, 43), 2300.0f);
  const std::vector<std::string> failed(4, "Ai::N_AiTableMng: Loading AnimBlendTimes failed !!!!.");
  std::vector<std::string> expected{"Ai::N_AiTableMng: Loading AnimBlendTimes."};
  expected.insert(expected.end(), failed.begin(), failed.end());
  expected.push_back("!!! Anims.time: 4 of the 48 x 48 times are missing");
  EXPECT_EQ(rig.AiLogLines(), expected);
}

TEST(AiTables, LookupsOutsideTheTablesAnswerDefaultsAndSaySoOnce) {
  test::RaceRig rig;
  rig.dir.Write("p", Numbers(15, 15));
  rig.dir.Write("t", "0.5 \"0.25\" // a comment\n zwei 0.125\n");
  N_AiTableMng tables;
  tables.LoadAnimPhysicTable("p");
  tables.LoadAnimBlendTimes("t");
  EXPECT_EQ(tables.BlendRow(0), (std::vector<float>{0.5f, 0.25f, 0.0f, 0.125f}));  // quoted, commented, not a number
  for (int twice = 0; twice < 2; ++twice) {
    const float* row = tables.GetAnimPhysicRow(47);
    EXPECT_EQ(std::vector<float>(row, row + 15),
              (std::vector<float>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f, 0, 0, 0, 0, 0}));
    EXPECT_EQ(tables.GetAnimPhysicRow(-1)[9], 1.0f);
    EXPECT_EQ(tables.GetAnimBlendTime(0, 4), 0.0f);
    EXPECT_EQ(tables.GetAnimBlendTime(48, 0), 0.0f);
  }
  EXPECT_EQ(tables.GetAnimPhysicRow(0)[14], 15.0f);
  const std::vector<std::string> lines = rig.AiLogLines();
  const std::vector<std::string> lookups(lines.end() - 4, lines.end());
  EXPECT_EQ(lookups, (std::vector<std::string>{
                         "Ai::N_AiTableMng: AnimPhysicTable has no row 47, a default row is used.",
                         "Ai::N_AiTableMng: AnimPhysicTable has no row -1, a default row is used.",
                         "Ai::N_AiTableMng: AnimBlendTimes has no time from 0 to 4, 0.0 is used.",
                         "Ai::N_AiTableMng: AnimBlendTimes has no time from 48 to 0, 0.0 is used."}));
}

TEST(AiTables, StrategiesNeedTheirFileAndTwoValues) {
  test::RaceRig rig;
  rig.dir.Write("data/ai/strategy/a.all", "0.25 \"two words\" // the quoted name\n0.5 single\n0.75 missing\n");
  rig.dir.Write("data/ai/strategy/b.all", "1.0 normal\n");
  rig.dir.Write("data/ai/strategy/two words.strategy", "1 2 3\n");
  rig.dir.Write("data/ai/strategy/single.strategy", "7\n");
  rig.dir.Write("data/ai/strategy/normal.strategy", "0.5 0.5\n");
  rig.dir.Write("data/ai/strategy/sub/c.all", "0.1 normal\n");  // subfolders are not searched
  N_AiTableMng tables;
  tables.LoadStrategies("Data\\Ai\\Strategy\\");
  ASSERT_EQ(tables.StrategyCount(), 2u);
  EXPECT_EQ(tables.Strategy(0).name, "two words");
  EXPECT_EQ(tables.Strategy(0).values, (std::vector<float>{1, 2, 3}));
  EXPECT_EQ(tables.Strategy(1).key, 1.0f);
  EXPECT_TRUE(test::ContainsInOrder(
      rig.dir.Read("Ai.log"),
      {"Ai::N_AiTableMng: Loading ai strategies.\n", "Found 2 files.\n", "Ai::N_AiTableMng: Strategy two words loaded.\n",
       "Strategy Table singlehas not enought values.\n", "!!! Ai::N_AiTableMng: Strategy single failed.\n",
       "Data\\Ai\\Strategy\\missing.strategy not exist\n", "!!! Ai::N_AiTableMng: Strategy missing failed.\n",
       "Ai::N_AiTableMng: Strategy normal loaded.\n", "Ai::N_AiTableMng: Loading ai strategies done.\n"}));
}

TEST(AiTables, TheStrictlyNearestKeyWinsAndTheFirstOfATie) {
  struct Case {
    std::vector<float> keys;
    float a;
    int expected;  ///< index, -1 for none
  };
  const Case cases[] = {
      {{0.125f, 0.375f, 0.875f}, 0.5f, 1},
      {{0.25f, 0.75f}, 0.5f, 0},
      {{0.0f}, 1.0f, -1},
      {{0.0f, 0.5f}, 1.0f, 1},
      {{}, 0.5f, -1},
  };
  for (const Case& c : cases) {
    test::RaceRig rig;
    std::string list;
    for (float key : c.keys) list += std::to_string(key) + " s\n";
    rig.dir.Write("all/x.all", list);
    rig.dir.Write("all/s.strategy", "0.5 0.5");
    N_AiTableMng tables;
    tables.LoadStrategies("all\\");
    Srand(20057);  // the next draw is 0: v = a exactly
    const Ai::N_AiStrategy* chosen = tables.FindStrategy(c.a);
    if (c.expected < 0) {
      EXPECT_EQ(chosen, nullptr) << c.a;
    } else {
      EXPECT_EQ(chosen, &tables.Strategy(std::size_t(c.expected))) << c.a;
    }
  }
  Srand(20057);
  EXPECT_EQ(Rand(), 0);
}

TEST(AiTables, TheSampleTablesLoadWhole) {
  test::RaceRig rig;
  std::filesystem::create_directory_symlink(test::GameRoot() + "/data", rig.dir.Path() + "/data");
  N_AiTableMng tables;
  tables.LoadStrategies("Data\\Ai\\Strategy\\");
  tables.LoadAnimBlendTimes("Data\\Ai\\Anims.time");
  tables.LoadAnimPhysicTable("Data\\Ai\\Anims.physics");
  const std::string log = rig.dir.Read("Ai.log");
  EXPECT_EQ(log.find("failed"), std::string::npos) << log;
  EXPECT_EQ(log.find("not exist"), std::string::npos) << log;
  EXPECT_NE(tables.FindStrategy(1.0f), nullptr);
  for (int anim = 0; anim < N_AiTableMng::kAnimations; ++anim) {
    EXPECT_NE(tables.GetAnimPhysicRow(anim)[11], 0.0f) << anim;
    EXPECT_EQ(tables.BlendRow(std::size_t(anim)).size(), 48u);
  }
  // Skating (5-11) sways as the course check's skier does.
  for (int anim = 5; anim <= 11; ++anim) {
    for (int column : {3, 6}) EXPECT_EQ(tables.GetAnimPhysicRow(anim)[column], course::kStridePush) << anim;
  }
}

}  // namespace
