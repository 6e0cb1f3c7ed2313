// The path network from a level: the sample tracks load whole; the load's steps and
// messages when sets and triggers are missing or odd; the tree's rings, chains, labels
// and junctions; the race's queries; the range forwarders without a range.
#include "race/AthletProfile.h"
#include "race/Racer.h"
#include "race/ShootingRange.h"
#include "race/ai/AiLog.h"
#include "scene/AnimInstance.h"
#include "tests/race/AiPathSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <functional>
#include <set>

namespace {

using Ai::N_AiPath;
using Ai::N_AiPathTree;
using Ai::N_AiSector;
using course::Identifiers;

/// The sectors of a path from its head, once along or around.
std::vector<N_AiSector*> Sectors(N_AiSector* head) {
  std::vector<N_AiSector*> sectors;
  for (N_AiSector* s = head; s && sectors.size() < 100000;) {
    sectors.push_back(s);
    s = s->Next();
    if (s == head) break;
  }
  return sectors;
}

N_Vector3 TriggerPoint(Identifiers& ids, const std::string& name) {
  const auto& box = test::TriggerOf(ids, name);
  return {box[0], box[1], box[2]};
}

bool Linked(const N_AiSector* a, const N_AiSector* b) {
  const auto& j = a->Junctions();
  return std::find(j.begin(), j.end(), b) != j.end();
}

class SampleCourse : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleCourse, LoadsCompletelyWithEveryStartTheRelayChangeAndThirtyLanes) {
  test::PathRig rig;
  ASSERT_TRUE(rig.Load(test::SampleTrack(GetParam())));
  ASSERT_TRUE(rig.path.GetRelayChangeSector());
  const std::string log = rig.Log();
  for (const char* bad : {"failed", "Chyba", "Priesek neexistuje", "Prilis vela priesekov"}) {
    EXPECT_EQ(log.find(bad), std::string::npos) << bad << "\n" << log;
  }
  EXPECT_NE(log.find("Ai::N_AiPath: Generate Ai Path tree done.\n"), std::string::npos);
  for (std::int32_t type = 0; type <= 4; ++type) {
    N_AiSector* sector = nullptr;
    EXPECT_TRUE(rig.path.GetStartSector(type, sector)) << type;
    EXPECT_NE(sector, nullptr) << type;
  }
  EXPECT_NE(rig.path.RelayChangeSector(), nullptr);
  EXPECT_EQ(rig.path.LaneCount(), 30u);
  EXPECT_EQ(rig.path.GetHelperInCount(), 30u);
  EXPECT_EQ(rig.path.GetHelperOutCount(), 30u);
  ASSERT_NE(rig.path.ShootingRange(), nullptr);
  ASSERT_NE(rig.path.ShootingRange()->Targets(), nullptr);
  EXPECT_EQ(rig.path.ShootingRange()->Targets()->LaneCount(), 30);
  EXPECT_TRUE(rig.race.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(AiPath, SampleCourse, ::testing::Values("Beitostolen", "Holmenkollen"));

/// The golden log names the game root "<game root>" (the strategy search reports it).
std::string GoldenLog() {
  std::ifstream in(std::string(NAVO_RACE_GOLDEN_DIR) + "/Ai.log", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AiPath, ACompleteCourseWritesEveryStepOfTheLoadToTheLogInOrder) {
  test::PathRig rig;
  ASSERT_TRUE(rig.Load(test::ThreeLaneTrack()));
  std::string log = rig.Log();
  const std::string root = rig.race.dir.Path();
  for (std::size_t at = log.find(root); at != std::string::npos; at = log.find(root, at)) {
    log.replace(at, root.size(), "<game root>");
  }
  const std::string golden = GoldenLog();
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(log, golden);
  EXPECT_TRUE(rig.race.boxes.empty());
}

TEST(AiPathTree, RingsChainsLabelsAndJunctionsFollowThePolylinesAndTriggers) {
  test::PathRig rig;
  Identifiers ids = test::ThreeLaneTrack();
  ASSERT_TRUE(rig.Load(ids));
  const N_AiPathTree& tree = *rig.path.Tree();

  const struct {
    N_AiPathTree::Path path;
    const char* set;
    bool ring;
  } paths[] = {{N_AiPathTree::kNormal, "Path_Normal_Left", true},
               {N_AiPathTree::kPenalty, "Path_Penalty_Left", true},
               {N_AiPathTree::kSprintStart, "Path_SprintStart_Left", false},
               {N_AiPathTree::kMassStart, "Path_MassStart_Left", false},
               {N_AiPathTree::kCiel, "Path_Ciel_Left", false}};
  for (const auto& p : paths) {
    const std::vector<N_AiSector*> sectors = Sectors(tree.Head(p.path));
    ASSERT_EQ(sectors.size() + 1, test::PointSetOf(ids, p.set).size()) << p.set;
    EXPECT_EQ(sectors.back()->Next(), p.ring ? sectors.front() : nullptr) << p.set;
    EXPECT_EQ(sectors.front()->Previous(), p.ring ? sectors.back() : nullptr) << p.set;
  }

  // Labels sit on the sector holding their trigger.
  const struct {
    const char* trigger;
    N_AiPathTree::Path path;
    int group;
    std::uint8_t bit;
  } labels[] = {{"Trigger_StartSprint", N_AiPathTree::kSprintStart, 2, 0x02},
                {"Trigger_StartHunting", N_AiPathTree::kMassStart, 2, 0x04},
                {"Trigger_Ciel", N_AiPathTree::kCiel, 2, 0x10},
                {"Trigger_Penalty_Count", N_AiPathTree::kPenalty, 1, 0x08},
                {"Trigger_Kampfgeist", N_AiPathTree::kNormal, 6, 0x80},
                {"Trigger_Com_Trainer_03", N_AiPathTree::kNormal, 7, 0x04}};
  for (const auto& l : labels) {
    const N_Vector3 point = TriggerPoint(ids, l.trigger);
    for (N_AiSector* s : Sectors(tree.Head(l.path))) {
      EXPECT_EQ(s->Flags().Has(l.group, l.bit), s->Classify(point) == 0) << l.trigger;
    }
  }
  N_AiSector* sprint = nullptr;
  ASSERT_TRUE(rig.path.GetStartSector(0, sprint));
  EXPECT_EQ(sprint->Flags().Bytes()[2], 0x02) << "group 2 is stored third";

  // Attachments join the branch and Normal sectors both ways and label both.
  const struct {
    const char* trigger;
    N_AiPathTree::Path branch;
    int group;
    std::uint8_t bit;
  } joins[] = {{"Trigger_Mass2Normal", N_AiPathTree::kMassStart, 3, 0x01},
               {"Trigger_Sprint2Normal", N_AiPathTree::kSprintStart, 3, 0x02},
               {"Trigger_Normal2Ciel", N_AiPathTree::kCiel, 3, 0x08},
               {"Trigger_PenaltyPath", N_AiPathTree::kPenalty, 3, 0x10},
               {"Trigger_ShortCutArcadeEnd", N_AiPathTree::kShortCutArcade, 4, 0x02}};
  for (const auto& j : joins) {
    const N_Vector3 point = TriggerPoint(ids, j.trigger);
    N_AiSector* b = N_AiPathTree::FindSector(tree.Head(j.branch), point);
    N_AiSector* n = N_AiPathTree::FindSector(tree.Head(N_AiPathTree::kNormal), point);
    ASSERT_TRUE(b && n) << j.trigger;
    EXPECT_TRUE(Linked(b, n) && Linked(n, b)) << j.trigger;
    EXPECT_TRUE(b->Flags().Has(j.group, j.bit) && n->Flags().Has(j.group, j.bit)) << j.trigger;
  }
}

/// Moves every ideal point of a branch that lies on a Normal ideal point by 1.0 along
/// its cross-section (towards the right edge): the sector's planes stay the same.
void ShiftJunctionIdeals(Identifiers& ids, const std::string& branch) {
  const auto& normal = test::PointSetOf(ids, "Path_Normal_Ideal");
  auto& ideal = test::PointSetOf(ids, "Path_" + branch + "_Ideal");
  const auto& left = test::PointSetOf(ids, "Path_" + branch + "_Left");
  const auto& right = test::PointSetOf(ids, "Path_" + branch + "_Right");
  for (std::size_t k = 0; k < ideal.size(); ++k) {
    for (const N_Vector3& p : normal) {
      if ((p - ideal[k]).LengthSq() > 1e-6) continue;
      N_Vector3 across = right[k] - left[k];
      ideal[k] = ideal[k] + across.Normalize();
      break;
    }
  }
}

TEST(AiPathTree, AnIdealPointOffTheNormalOneFailsOnlyWhereIdealPointsAreChecked) {
  {
    test::PathRig rig;
    Identifiers ids = test::ThreeLaneTrack();
    ShiftJunctionIdeals(ids, "Penalty");
    EXPECT_TRUE(rig.Load(ids));
    EXPECT_TRUE(test::ContainsInOrder(rig.Log(), {"Ai::N_AiPath: PenaltyPath attached to Normal Path.\n",
                                                  "Ai::N_AiPath: Generate Ai Path tree done.\n"}));
  }
  test::PathRig rig;
  Identifiers ids = test::ThreeLaneTrack();
  ShiftJunctionIdeals(ids, "SprintStart");
  N_AiPathTree tree;
  test::FillLevel(rig.level, ids);
  EXPECT_FALSE(tree.Load(rig.level));
  const std::string log = rig.Log();
  EXPECT_TRUE(test::ContainsInOrder(log, {"Ai::N_AiPath: Attaching SprintPath  to Normal Path.\n",
                                          "Ai::N_AiPath: Hrany nesedia . !!!!!\n",
                                          "Ai::N_AiPath: Chyba konzistencie hran. Sprint2Normal\n"}));
  EXPECT_EQ(log.find("Attaching RelayPath"), std::string::npos) << "the generation stops";
  EXPECT_EQ(log.find("Generate Ai Path tree done"), std::string::npos);
  ASSERT_FALSE(rig.race.boxes.empty());
  EXPECT_EQ(rig.race.boxes.back(), (test::Box{"Error", "Ai::N_AiPath: Chyba konzistencie hran. Sprint2Normal\n\nExit ?"}));
}

TEST(AiPath, LoadStepsReportWhatIsMissingOrOdd) {
  const struct {
    const char* what;
    std::function<void(Identifiers&)> edit;
    bool loads;
    std::vector<std::string> lines;   ///< in this order
    std::vector<std::string> absent;  ///< nowhere
    std::vector<test::Box> boxes;
    std::function<void(const N_AiPath&)> check;
  } cases[] = {
      {"no arrow and start-box sets",
       [](Identifiers& ids) { test::Remove(ids, {"Info_Sipka_Ciel", "Sprint_Starter", "Info_Sipka_PenaltyRound"}); },
       true,
       {"Ai::N_AiPath:  Loading Sipka Finish failed.\n", "Ai::N_AiPath: Loading Sipka Finish done.\n",
        "Ai::N_AiPath:  Loading StartBox failed.\n", "Ai::N_AiPath: Loading StartBox done.\n",
        "Ai::N_AiPath:  Loading Sipka PenaltyRound failed.\n", "Ai::N_AiPath: Loading Sipka PenaltyRound done.\n"},
       {},
       {},
       [](const N_AiPath& path) {
         N_Vector3 p{1, 1, 1}, d{1, 1, 1};
         path.GetFinishArrow(p, d);
         EXPECT_EQ(p.x + p.y + p.z + d.x + d.y + d.z, 0.0f);
       }},
      {"a finish-arrow set of one point",
       [](Identifiers& ids) { test::PointSetOf(ids, "Info_Sipka_Ciel").resize(1); },
       true,
       {"Ai::N_AiPath:  Loading Sipka Finish failed.\n", "Ai::N_AiPath: Loading Sipka Finish done.\n"},
       {"StartBox failed"},
       {},
       [](const N_AiPath& path) {
         N_Vector3 p{1, 1, 1}, d{1, 1, 1};
         path.GetFinishArrow(p, d);
         EXPECT_EQ(d.x + d.y + d.z, 0.0f);
       }},
      {"3 lanes, 14 targets: no range", [](Identifiers& ids) { test::PointSetOf(ids, "Info_Shoot_Target").resize(14); },
       true, {"Shoot Triggers Trigger_Shoot_02 loaded.", "Ai::N_AiPath: Loading Shoot Triggers done.\n"},
       {"Trigger_Shoot_03"}, {},
       [](const N_AiPath& path) {
         ASSERT_NE(path.ShootingRange(), nullptr);
         EXPECT_EQ(path.ShootingRange()->Targets(), nullptr);
         EXPECT_EQ(path.ShootingRange()->Shooter(), nullptr);
       }},
      {"3 lanes, 16 targets: a range",
       [](Identifiers& ids) { test::PointSetOf(ids, "Info_Shoot_Target").push_back({1, 2, 3}); },
       true, {}, {"Trigger_Shoot_03"}, {},
       [](const N_AiPath& path) {
         ASSERT_NE(path.ShootingRange()->Targets(), nullptr);
         EXPECT_EQ(path.ShootingRange()->Targets()->LaneCount(), 3);
       }},
      {"no trigger of lane 01", [](Identifiers& ids) { test::Remove(ids, {"Trigger_Shoot_01"}); }, false,
       {"Shoot Triggers Trigger_Shoot_00 loaded.", "Ai::N_AiPath:  Failed load Trigger_Shoot_01 !!!!.\n",
        "Ai::N_AiPath:  Loading Shoot Triggers failed.\n"},
       {"Trigger_Shoot_02"}, {},
       [](const N_AiPath& path) {
         EXPECT_EQ(path.ShootingRange(), nullptr);
         EXPECT_EQ(path.AiTables(), nullptr);
       }},
      {"no optional shooting-area trigger", [](Identifiers& ids) { test::Remove(ids, {"Trigger_ShootArea"}); }, true,
       {" --- Ai::N_AiPath: Identificator Trigger_ShootArea not found.\n"}, {}, {}, nullptr},
      {"no finish trigger, answered No", [](Identifiers& ids) { test::Remove(ids, {"Trigger_Ciel"}); }, true,
       {"Ai::N_AiPath: Loading Identificator Trigger_Ciel", "Ai::N_AiPath: Cannot load Trigger_Ciel.\n",
        "Ai::N_AiPath: Loading Identificator Trigger_PenaltyResult", "Ai::N_AiPath: Generate Ai Path tree done.\n"},
       {"Labeling Ciel"}, {{"Error", "Ai::N_AiPath: Cannot load Trigger_Ciel.\n\nExit ?"}}, nullptr},
      {"split times 1, 2 and 4",
       [](Identifiers& ids) {
         std::vector<std::string> splits;
         for (int n = 1; n <= 7; ++n) splits.push_back("Trigger_SplitTime_" + std::to_string(n));
         test::Remove(ids, splits);
         const auto box = test::TriggerOf(ids, "Trigger_RoundTime");
         for (const char* n : {"Trigger_SplitTime_1", "Trigger_SplitTime_2", "Trigger_SplitTime_4"}) {
           ids.triggers.push_back({n, box});
         }
       },
       true,
       {"Ai::N_AiPath: Identificator Trigger_SplitTime_2 loaded.", "Ai::N_AiPath: Loading 3 SplitTime Identificators",
        "Ai::N_AiPath: SplitTime_1 sector labeled.\n", "Ai::N_AiPath: SplitTime_2 sector labeled.\n"},
       {"Trigger_SplitTime_4 loaded", "SplitTime_4 "}, {},
       [](const N_AiPath& path) {
         std::uint8_t group5 = 0;
         for (N_AiSector* s : Sectors(path.Tree()->Head(N_AiPathTree::kNormal))) group5 |= s->Flags().Get(5);
         EXPECT_EQ(group5, 0x03);
       }},
      {"a MassStart left set one point longer",
       [](Identifiers& ids) { test::PointSetOf(ids, "Path_MassStart_Left").push_back({0, 0, 0}); }, true,
       {"Ai::N_AiPath: Loading Path PATH_MASSSTART.", "Ai::N_AiPath: Loading All Start Points done.\n",
        "Ai::N_AiPath: Loading Shoot Triggers done.\n"},
       {"PATH_MASSSTART done", "PATH_SPRINTSTART", "Generate"}, {},
       [](const N_AiPath& path) {
         for (int p = 0; p < N_AiPathTree::kPathCount; ++p) EXPECT_EQ(path.Tree()->Head(N_AiPathTree::Path(p)), nullptr);
       }},
      {"a shoot-area short cut that does not fit its start",
       [](Identifiers& ids) { ShiftJunctionIdeals(ids, "ShortCutShootArea"); }, true,
       {"Ai::N_AiPath: Attaching ShortCutShootAreaStart  to Normal Path.",
        "Ai::N_AiPath: Chyba konzistencie hran. SHORTCUTSHOOTAREASTART\n",
        "Ai::N_AiPath: Chyba konzistencie hran. SHORTCUTSHOOTAREAEND\n", "Ai::N_AiPath: Labeling Round Count sector.",
        "Ai::N_AiPath: Generate Ai Path tree done.\n"},
       {}, {}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::PathRig rig;
    Identifiers ids = test::ThreeLaneTrack();
    c.edit(ids);
    EXPECT_EQ(rig.Load(ids), c.loads);
    const std::string log = rig.Log();
    EXPECT_TRUE(test::ContainsInOrder(log, c.lines));
    for (const std::string& a : c.absent) EXPECT_EQ(log.find(a), std::string::npos) << a;
    std::vector<test::Box> errors;
    for (const test::Box& b : rig.race.boxes) {
      if (b.caption != "Box") errors.push_back(b);
    }
    EXPECT_EQ(errors, c.boxes);
    if (c.check) c.check(rig.path);
  }
}

TEST(AiPath, AMassStartCountMismatchShowsTheCountsInTheBox) {
  test::PathRig rig;
  Identifiers ids = test::ThreeLaneTrack();
  test::PointSetOf(ids, "Path_MassStart_Left").push_back({0, 0, 0});
  const int n = int(test::PointSetOf(ids, "Path_MassStart_Ideal").size());
  ASSERT_TRUE(rig.Load(ids));
  ASSERT_FALSE(rig.race.boxes.empty());
  EXPECT_EQ(rig.race.boxes.front(),
            (test::Box{"Box", FormatAiLine("Ai::N_AiPath: MassStart Path Error !!!\n     Number of vertices in path is "
                                           "not equal:  %d = %d = %d .\n",
                                           n + 1, n, n)}));
}

TEST(AiPathDeathTest, AMissingRequiredTriggerAnsweredYesEndsWithStatus4) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        test::PathRig rig;
        rig.race.answer = IDYES;
        Identifiers ids = test::ThreeLaneTrack();
        test::Remove(ids, {"Trigger_Ciel"});
        rig.Load(ids);
      },
      ::testing::ExitedWithCode(4), "");
}

TEST(AiPathTree, PathsNeverReadPastTheirSetsAndATriggerOnASharedEdgeLabelsTheLaterSector) {
  test::RaceRig rig;
  // A Normal set with unequal counts builds with the smallest; one point builds nothing.
  std::vector<N_Vector3> left, ideal, right;
  for (int i = 0; i <= 10; ++i) {
    left.push_back({100.0f * float(i), 50, 0});
    ideal.push_back({100.0f * float(i), 0, 0});
    right.push_back({100.0f * float(i), -50, 0});
  }
  N_Level level;
  level.AddPointSet("Path_Normal_Left", left);
  level.AddPointSet("Path_Normal_Ideal", {ideal.begin(), ideal.end() - 3});
  level.AddPointSet("Path_Normal_Right", right);
  for (const char* side : {"_Left", "_Ideal", "_Right"}) level.AddPointSet(std::string("Path_Ciel") + side, {{0, 0, 0}});
  N_LevelTrigger round;
  std::strcpy(round.name, "Trigger_RoundCount");
  round.box[0] = 300.0f;  // on the edge between sectors 2 and 3
  level.triggers.push_back(round);
  N_AiPathTree tree;
  tree.Load(level);
  EXPECT_EQ(Sectors(tree.Head(N_AiPathTree::kNormal)).size(), 7u);
  EXPECT_EQ(tree.Head(N_AiPathTree::kCiel), nullptr);
  const std::vector<N_AiSector*> ring = Sectors(tree.Head(N_AiPathTree::kNormal));
  for (std::size_t k = 0; k < ring.size(); ++k) EXPECT_EQ(ring[k]->Flags().Has(6, 0x01), k == 3) << k;
  const std::string log = rig.dir.Read("Ai.log");
  EXPECT_TRUE(test::ContainsInOrder(
      log, {"Ai::N_AiPath: Normal Path Error !!!\n     Number of vertices in path is not equal:  11 = 8 = 11 .\n",
            "Ai::N_AiPath: Labeling Round Count sector.", "Ai::N_AiPath: Prilis vela priesekov. !!!!!\n",
            "Ai::N_AiPath: Round Count sector labeled.\n"}));
  EXPECT_EQ(log.find("Prilis vela priesekov"), log.rfind("Prilis vela priesekov"));
}

TEST(AiPath, QueriesAnswerTheStartsStancesLengthsAndPointsAndStaySafeOutOfRange) {
  test::PathRig rig;
  Identifiers ids = test::ThreeLaneTrack();
  test::Remove(ids, {"Trigger_GoToNormalPath"});
  ASSERT_TRUE(rig.Load(ids));
  const N_AiPathTree& tree = *rig.path.Tree();

  const struct {
    std::int32_t type;
    N_AiPathTree::Path path;
    std::uint8_t bit;
  } starts[] = {{0, N_AiPathTree::kSprintStart, 0x02}, {4, N_AiPathTree::kSprintStart, 0x02},
                {1, N_AiPathTree::kRelayStart, 0x08},  {2, N_AiPathTree::kMassStart, 0x01},
                {3, N_AiPathTree::kMassStart, 0x04}};
  for (const auto& s : starts) {
    N_AiSector* sector = nullptr;
    ASSERT_TRUE(rig.path.GetStartSector(s.type, sector)) << s.type;
    EXPECT_TRUE(sector->Flags().Has(2, s.bit)) << s.type;
    const auto path = Sectors(tree.Head(s.path));
    EXPECT_NE(std::find(path.begin(), path.end(), sector), path.end()) << s.type;
    EXPECT_EQ(tree.GetStartPath(s.type), tree.Head(s.path)) << s.type;
  }
  N_AiSector* untouched = reinterpret_cast<N_AiSector*>(&rig);
  EXPECT_FALSE(rig.path.GetStartSector(5, untouched));
  EXPECT_EQ(untouched, reinterpret_cast<N_AiSector*>(&rig));
  EXPECT_EQ(rig.race.boxes.back(), (test::Box{"Error", "Ai::N_AiPath:Undefined Start sector \n\nExit ?"}));

  rig.path.SetShootPattern("LSVVV");
  const std::int32_t stances[] = {2, 1, 0, 0, 0, 0, 0};
  for (std::uint32_t r = 0; r < 7; ++r) EXPECT_EQ(rig.path.GetShootStance(r), stances[r]) << r;

  EXPECT_TRUE(rig.path.GetRelayChangeSector());
  EXPECT_EQ(rig.path.RelayChangeSector(), nullptr);
  EXPECT_NE(rig.Log().find("Ai::N_AiPath:  GetRelayChangeSector return NULL !!!.\n"), std::string::npos);

  const auto& in = test::PointSetOf(ids, "Info_Shoot_Helper_In");
  const N_Vector3 last = rig.path.GetHelperIn(std::uint32_t(in.size() + 5));
  EXPECT_EQ(last.x, in.back().x);
  EXPECT_EQ(last.y, in.back().y);
  rig.path.GetHelperIn(std::uint32_t(in.size()));
  const std::string log = rig.Log();
  EXPECT_EQ(log.find("GetHelperIn"), log.rfind("GetHelperIn")) << "one line per list";
  EXPECT_NE(rig.path.GetShootTrigger(2), nullptr);
  EXPECT_EQ(rig.path.GetShootTrigger(3), nullptr);
}

TEST(AiPathTree, ARingOfTenSectorsLeavesItsLastOutOfItsLength) {
  test::RaceRig rig;
  std::vector<N_Vector3> left, ideal, right;
  for (int i = 0; i <= 10; ++i) {
    left.push_back({100.0f * float(i), 50, 0});
    ideal.push_back({100.0f * float(i), 0, 0});
    right.push_back({100.0f * float(i), -50, 0});
  }
  N_AiPathTree tree;
  N_AiSector* head = nullptr;
  tree.BuildPath(left.data(), ideal.data(), right.data(), 11, head, Ai::kPathNormal, true);
  EXPECT_EQ(Sectors(head).size(), 10u);
  // The tree owns what it built only in its slots: free this one by hand.
  std::vector<N_AiSector*> sectors = Sectors(head);
  float sum = 0.0f;
  for (std::size_t k = 0; k + 1 < sectors.size(); ++k) sum += sectors[k]->Length();
  EXPECT_FLOAT_EQ(sum, 900.0f);
  for (N_AiSector* s : sectors) delete s;

  N_Level level;
  level.AddPointSet("Path_Normal_Left", left);
  level.AddPointSet("Path_Normal_Ideal", ideal);
  level.AddPointSet("Path_Normal_Right", right);
  N_AiPathTree loaded;
  loaded.Load(level);
  loaded.ComputeLengths();
  EXPECT_FLOAT_EQ(loaded.Length(N_AiPathTree::kNormal), 900.0f);
}

TEST(AiPath, RangeForwardersReachTheTargetsAndTheRifleOfABuiltRangeOnly) {
  {
    // 3 lanes, 15 targets: the targets follow their lanes and are drawn, the rifle is
    // shown for the racer and hidden again.
    test::PathRig rig;
    ASSERT_TRUE(rig.Load(test::ThreeLaneTrack()));
    N_ShootingRange& range = *rig.path.ShootingRange();
    ASSERT_TRUE(range.Targets() && range.Shooter());
    N_ShootTargetMng& targets = *range.Targets();
    N_AnimationFactory& set = *targets.Set();
    const int closing = targets.Animations()[N_ShootTargetMng::kClosing];
    ASSERT_EQ(rig.path.GetStand(1), range.GetLane(1));
    rig.path.GetStand(1)->KnockDown(2);
    rig.path.UpdateShootingRange(0.033f);
    rig.path.RenderShootTargets(0.25f);
    for (int lane = 0; lane < 3; ++lane) {
      for (int t = 0; t < 5; ++t) {
        const N_AnimInstance& figure = *set.Instance(targets.Instance(lane, t));
        EXPECT_EQ(figure.queuedAction == closing, lane == 1 && t == 2) << lane << " " << t;
        EXPECT_EQ(figure.frameTime, 0.25f) << lane << " " << t;
      }
    }
    N_AthletProfile athlete;
    N_Racer racer(athlete, 2, 0.0f, 0, false, false);
    N_Shooter& rifle = *range.Shooter();
    rig.path.SetShooterView(&racer);
    EXPECT_TRUE(rifle.Shown());
    EXPECT_EQ(rifle.SeriesState().racer, &racer);
    EXPECT_EQ(rifle.SeriesState().showHits, 0) << "the view shows no hits counter";
    rig.path.ResetShooterView();
    EXPECT_FALSE(rifle.Shown());
  }
  // 3 lanes, 14 targets: a range without targets and rifle; nothing is forwarded.
  test::PathRig rig;
  Identifiers ids = test::ThreeLaneTrack();
  test::PointSetOf(ids, "Info_Shoot_Target").resize(14);
  ASSERT_TRUE(rig.Load(ids));
  ASSERT_NE(rig.path.ShootingRange(), nullptr);
  rig.path.UpdateShootingRange(0.033f);
  rig.path.RenderShootTargets(0.033f);
  rig.path.SetShooterView(nullptr);
  rig.path.ResetShooterView();
  EXPECT_EQ(rig.path.GetStand(0), nullptr);
  EXPECT_EQ(rig.path.ShootingRange()->Shooter(), nullptr);
}

TEST(AiPath, RangeForwardersWithoutARangeDoNothing) {
  test::RaceRig rig;
  N_AiPath path;
  path.UpdateShootingRange(0.033f);
  path.RenderShootTargets(0.033f);
  path.SetShooterView(nullptr);
  path.ResetShooterView();
  EXPECT_EQ(path.FindStrategy(0.5f), nullptr);
  EXPECT_EQ(path.GetStand(0), nullptr);
  N_AiSector* sector = nullptr;
  EXPECT_FALSE(path.GetStartSector(0, sector));
  EXPECT_TRUE(path.GetRelayChangeSector());
  const N_Vector3 none = path.GetHelperOut(0);
  EXPECT_EQ(none.x + none.y + none.z, 0.0f);
}

}  // namespace
