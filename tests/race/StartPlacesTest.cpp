#include "race/ai/AiLog.h"
#include "race/ai/StartPlaces.h"
#include "scene/Level.h"
#include "tests/race/RaceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Ai::N_StartPlaces;

/// The log of a complete load, line by line (texts ending in "\n" leave an empty line).
std::vector<std::string> CompleteLog() {
  std::vector<std::string> log{"Ai::N_AiPath: Loading Hunting Start Point."};
  for (int i = 0; i < 15; ++i) log.insert(log.end(), {FormatAiLine("Ai::N_AiPath: Loading Hunting Start Info_Hunting_Start%02d.", i), ""});
  log.insert(log.end(), {"Ai::N_AiPath: Loading Hunting Start Point done.", "",
                         "Ai::N_AiPath: Loading Hunting Start Tangent Point.",
                         "Ai::N_AiPath: Loading Hunting Start Tangent Point.",
                         "Ai::N_AiPath: Loading  Start Tangent Point done.", "",
                         "Ai::N_AiPath: Loading Mass Start Point.", "Ai::N_AiPath: Loading Mass Start Point done.", "",
                         "Ai::N_AiPath: Loading Mass Start Tangent Point.",
                         "Ai::N_AiPath: Loading Mass Start Tangent Point done.", "",
                         "Ai::N_AiPath: Loading Sprint Start Point.", "Ai::N_AiPath: Loading Sprint Start Point done.", "",
                         "Ai::N_AiPath: Loading Relay Start Point.", "Ai::N_AiPath: Loading Relay Start Point done.", "",
                         "Ai::N_AiPath: Loading RelayChange Start Point."});
  for (int i = 0; i < 4; ++i) log.insert(log.end(), {FormatAiLine("Ai::N_AiPath: RelayChange Start Point  %d loaded.", i), ""});
  log.insert(log.end(), {"Ai::N_AiPath: Loading RelayChange Start Point done.", ""});
  return log;
}

void ExpectVector(const N_Vector3& v, float x, float y, float z, const char* what) {
  EXPECT_EQ(v.x, x) << what;
  EXPECT_EQ(v.y, y) << what;
  EXPECT_EQ(v.z, z) << what;
}

TEST(StartPlaces, ACompleteLevelGivesEveryPlaceAndDirection) {
  test::RaceRig rig;
  N_Level level;
  test::FillStartPlaceSets(level);
  N_StartPlaces places;
  EXPECT_TRUE(places.Load(level));
  EXPECT_EQ(rig.AiLogLines(), CompleteLog());
  EXPECT_TRUE(rig.boxes.empty());
  N_Vector3 place, direction;
  places.GetPursuitPlace(place, direction, 14);
  ExpectVector(place, 1400, 0, 0, "pursuit 14");
  ExpectVector(direction, 0, 1, 0, "pursuit direction");
  places.GetMassStartPlace(place, direction, 3);
  ExpectVector(place, 30, 50, 0, "grid 3");
  ExpectVector(direction, 1, 0, 0, "mass-start direction");
  places.GetSprintStart(place, direction);
  ExpectVector(place, 0, 500, 0, "sprint");
  ExpectVector(direction, 0, 1, 0, "sprint direction");
  places.GetRelayChangePlace(place, direction, 2);
  ExpectVector(place, 2005, 0, 0, "take-over 2");
  ExpectVector(direction, 0, 1, 0, "take-over direction");
  places.GetRelayChangeOffset(place, 3);
  ExpectVector(place, 5, 0, 0, "offset 3");
  for (const auto& [index, what] : {std::pair{15u, "grid 15"}, std::pair{99u, "grid 99"}}) {
    places.GetMassStartPlace(place, direction, index);
    ExpectVector(place, 0, 0, 0, what);
    ExpectVector(direction, 1, 0, 0, what);
    places.GetPursuitPlace(place, direction, index);
    ExpectVector(direction, 1, 0, 0, what);
  }
  places.GetRelayChangePlace(place, direction, 4);
  ExpectVector(place, 0, 0, 0, "take-over 4");
  ExpectVector(direction, 1, 0, 0, "take-over 4");
}

TEST(StartPlaces, MissingOrMalformedSetsAreAskedOrLoggedAsEachStepSays) {
  struct Case {
    const char* what;
    std::vector<std::string> skip;
    std::vector<std::pair<std::string, std::vector<N_Vector3>>> extra;  ///< added after the others
    int gridPoints;
    bool loads;
    std::vector<std::string> questions;
    std::string lastLine;
  };
  const Case cases[] = {
      {"no pursuit set 07", {"Info_Hunting_Start07"}, {}, 15, true,
       {"N_AiPath: Hunting Start Point Info_Hunting_Start07  undefined.\n"}, ""},
      {"a pursuit set of 3 points", {"Info_Hunting_Start07"}, {{"Info_Hunting_Start07", {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}}},
       15, true, {"N_AiPath: Hunting Start Point Info_Hunting_Start07  undefined.\n"}, ""},
      {"no pursuit tangent", {"Info_HuntingStartTan"}, {}, 15, false,
       {"N_AiPath: Loading Hunting Start Tangent failed.\n"}, ""},
      {"no grid", {"Info_Grid_MassStart"}, {}, 15, false, {}, "Ai::N_AiPath: Loading Mass Start Point failed."},
      {"a grid of 20 points", {}, {}, 20, true, {}, ""},
      {"a take-over set of 3 points", {"Info_Relay_StartsPoints_2"},
       {{"Info_Relay_StartsPoints_2", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}}}, 15, false, {},
       "Ai::N_AiPath: Loading RelayChange Start Point 2 failed."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::RaceRig rig;
    N_Level level;
    test::FillStartPlaceSets(level, c.gridPoints, c.skip);
    for (const auto& [name, points] : c.extra) level.AddPointSet(name, points);
    N_StartPlaces places;
    EXPECT_EQ(places.Load(level), c.loads);
    std::vector<test::Box> expected;
    for (const std::string& q : c.questions) expected.push_back({"Error", q + "\nExit ?"});
    EXPECT_EQ(rig.boxes, expected);
    const std::vector<std::string> lines = rig.AiLogLines();
    if (!c.lastLine.empty()) {
      EXPECT_EQ(lines[lines.size() - 2], c.lastLine);
    }
    const auto extraGridLines = std::count(
        lines.begin(), lines.end(), "Ai::N_AiPath: Info_Grid_MassStart has 20 points, the grid takes the first 15.");
    EXPECT_EQ(extraGridLines, c.gridPoints > 15 ? 1 : 0);
    N_Vector3 place, direction;
    places.GetPursuitPlace(place, direction, 7);
    if (c.questions.size() == 1 && c.loads) ExpectVector(place, 0, 0, 0, "pursuit 7 stays zero");
    places.GetPursuitPlace(place, direction, 8);
    ExpectVector(place, 800, 0, 0, "the other pursuit places load");
    places.GetMassStartPlace(place, direction, 14);
    if (c.loads) ExpectVector(place, 140, 50, 0, "the grid's last place");
    places.GetRelayChangePlace(place, direction, 1);
    N_Vector3 sprint, sprintDirection;
    places.GetSprintStart(sprint, sprintDirection);
    if (!c.loads && c.skip[0] == "Info_HuntingStartTan") {
      ExpectVector(place, 0, 0, 0, "no take-over after a failed step");
      ExpectVector(sprint, 0, 0, 0, "no sprint start after a failed step");
      ExpectVector(sprintDirection, 1, 0, 0, "no sprint direction");
      places.GetMassStartPlace(place, direction, 0);
      ExpectVector(direction, 0, 0, 0, "no mass-start direction");
    } else if (c.skip.size() == 1 && c.skip[0] == "Info_Relay_StartsPoints_2") {
      ExpectVector(place, 1005, 0, 0, "take-overs before the faulty one load");
      places.GetRelayChangePlace(place, direction, 2);
      ExpectVector(place, 0, 0, 0, "the faulty take-over stays zero");
    }
  }
}

TEST(StartPlaces, ShortGridsAndCoincidingPointsGiveZeroPlacesAndTheXAxis) {
  test::RaceRig rig;
  N_Level level;
  test::FillStartPlaceSets(level, 6, {"Info_MassStartTan", "Info_Sprint_Start"});
  level.AddPointSet("Info_MassStartTan", {{5, 5, 5}, {5, 5, 5}});
  level.AddPointSet("Info_Sprint_Start", {{7, 7, 0}, {7, 7, 0}});
  N_StartPlaces places;
  EXPECT_TRUE(places.Load(level));
  N_Vector3 place, direction;
  places.GetMassStartPlace(place, direction, 5);
  ExpectVector(place, 50, 50, 0, "grid 5");
  places.GetMassStartPlace(place, direction, 6);
  ExpectVector(place, 0, 0, 0, "grid 6");
  ExpectVector(direction, 1, 0, 0, "coinciding tangent points");
  places.GetSprintStart(place, direction);
  ExpectVector(direction, 1, 0, 0, "coinciding sprint points");
}

TEST(StartPlacesDeathTest, YesToAMissingPursuitPointEndsWithCodeThree) {
  test::RaceRig rig;
  rig.answer = IDYES;
  N_Level level;
  test::FillStartPlaceSets(level, 15, {"Info_Hunting_Start03"});
  N_StartPlaces places;
  EXPECT_EXIT(places.Load(level), testing::ExitedWithCode(3), "");
}

}  // namespace
