// Whole races headless on each sample course, from Setup through Simulate to the
// export: a sprint, the pursuit built from its result and a mass start, every racer
// finished with a plausible time, and the same seed giving the same rows.
#include "core/Random.h"
#include "race/ExportData.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "tests/race/RaceSimRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using test::RaceSimRig;

struct Outcome {
  std::vector<N_ResultRow> rows;
  bool allFinished = true;
};

/// Set up, simulated to the end (or only exported) and exported.
Outcome RunRace(RaceSimRig& rig, std::unique_ptr<GameData> data, bool simulate = true) {
  N_RaceSim race(std::move(data), rig.Services());
  race.Setup(*rig.path);
  if (simulate) race.Simulate();
  ExportData result;
  race.ExportResults(&result);
  Outcome out;
  out.rows = result.Rows;
  for (std::size_t i = 0; i < race.RacerCount(); ++i) out.allFinished = out.allFinished && race.Racer(i).Finished;
  return out;
}

void ExpectFinishedInTime(const Outcome& race, std::size_t racers, const char* what) {
  SCOPED_TRACE(what);
  EXPECT_TRUE(race.allFinished);
  ASSERT_EQ(race.rows.size(), racers);
  for (const N_ResultRow& row : race.rows) {
    EXPECT_GT(row.Time, 120.0f) << row.StartNumber;  // three laps of a sample course
    EXPECT_LT(row.Time, 3600.0f) << row.StartNumber;
    EXPECT_EQ(row.LapsDone, 2) << row.StartNumber;  // the finish fork comes before the lap mark
  }
}

/// One course per test case: a process keeps the working directory of its first game root.
void SprintPursuitAndMassStart(const char* layout) {
  {
    RaceSimRig rig(layout);
    Srand(11);
    const Outcome sprint = RunRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 15, 7.0f, 0));
    ExpectFinishedInTime(sprint, 15, "sprint");
    {
      // The same race on fresh figures (a figure keeps its animation from race to race).
      RaceSimRig fresh(layout);
      Srand(11);
      const Outcome again = RunRace(fresh, RaceSimRig::Race(DisciplineCode::kSprint, 15, 7.0f, 0));
      ASSERT_EQ(again.rows.size(), sprint.rows.size());
      EXPECT_EQ(std::memcmp(again.rows.data(), sprint.rows.data(), sprint.rows.size() * sizeof(N_ResultRow)), 0);
    }

    // The pursuit of the sprint's result: start gaps of the time behind the fastest.
    std::vector<N_ResultRow> order = sprint.rows;
    std::sort(order.begin(), order.end(), [](const N_ResultRow& a, const N_ResultRow& b) { return a.Time < b.Time; });
    auto pursuit = RaceSimRig::Race(DisciplineCode::kHunting, 0, 0.0f, 0);
    for (const N_ResultRow& row : order) pursuit->StartList.push_back({row.AthleteIndex, -(row.Time - order[0].Time)});
    ExpectFinishedInTime(RunRace(rig, std::move(pursuit)), 15, "pursuit");

    ExpectFinishedInTime(RunRace(rig, RaceSimRig::Race(DisciplineCode::kMassStart, 15, 0.0f, 0)), 15, "mass start");
  }
}

TEST(RaceSimWholeRace, SprintPursuitAndMassStartFinishOnBeitostolen) { SprintPursuitAndMassStart("Beitostolen"); }
TEST(RaceSimWholeRace, SprintPursuitAndMassStartFinishOnHolmenkollen) { SprintPursuitAndMassStart("Holmenkollen"); }

TEST(RaceSimWholeRace, EscapeAMinuteInRunsTheOthersToTheFinish) {
  RaceSimRig rig;
  Srand(3);
  N_RaceSim race(RaceSimRig::Race(DisciplineCode::kSprint, 15, 7.0f, 0), rig.Services());
  race.Setup(*rig.path);
  N_PlayerControls controls;
  while (race.Racer(0).Time < 60.0f) race.Step(0.033f, &controls);
  rig.input.KeyDown(DIK_ESCAPE);
  rig.Poll(controls);
  race.Step(0.033f, &controls);
  ASSERT_TRUE(race.AllFinished());
  ExportData result;
  race.ExportResults(&result);
  ASSERT_EQ(result.Rows.size(), 15u);
  EXPECT_EQ(result.Rows[0].Time, -1.0f);
  for (std::size_t i = 1; i < 15; ++i) {
    EXPECT_EQ(result.Rows[i].StartNumber, int(i) + 1);
    EXPECT_GT(result.Rows[i].Time, 120.0f) << i;
  }
}

}  // namespace
