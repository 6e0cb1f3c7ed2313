// Whole races headless on each sample course, from Setup through Simulate to the
// export: a sprint, the pursuit built from its result and a mass start, every racer
// finished with a plausible time and as many penalty loops skied as targets missed, and
// the same seed giving the same rows. The same seed gives the same rows, on fresh
// figures and on the figures a race left, another seed other rows; the sprint's rows
// are those stored for the course. (The speeds on the slopes are measured on every
// course in tests/race/PlayerRaceTest.cpp.)
#include "core/Random.h"
#include "race/ExportData.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/ai/AiSector.h"
#include "sound/SoundMng.h"
#include "tests/race/RaceSimRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using test::RaceSimRig;

struct Outcome {
  std::vector<N_ResultRow> rows;
  bool allFinished = true;
  std::vector<int> loops;  ///< penalty loops skied, per racer
};

/// Counts the penalty loops each racer skis, as the course counts them: one each time
/// the racer enters a sector of the penalty count trigger. The race sets the listener
/// once after every step of the field, which is when the racers are looked at.
class LoopCounter final : public N_SoundMng {
 public:
  void SetListener(const float*, const float*, const float*) override {
    if (!race) return;
    sectors.resize(race->RacerCount(), nullptr);
    loops.resize(race->RacerCount(), 0);
    for (std::size_t i = 0; i < race->RacerCount(); ++i) {
      const Ai::N_AiSector* now = race->Racer(i).Sector;
      if (now && now != sectors[i] && now->Flags().Has(kPenaltyCountGroup, kPenaltyCountBit) &&
          !(sectors[i] && sectors[i]->Flags().Has(kPenaltyCountGroup, kPenaltyCountBit))) {
        ++loops[i];
      }
      sectors[i] = now;
    }
  }
  static constexpr int kPenaltyCountGroup = 1;
  static constexpr std::uint8_t kPenaltyCountBit = 0x08;
  const N_RaceSim* race = nullptr;
  std::vector<const Ai::N_AiSector*> sectors;
  std::vector<int> loops;
};

/// Set up, simulated to the end (or only exported) and exported.
Outcome RunRace(RaceSimRig& rig, std::unique_ptr<GameData> data, bool simulate = true) {
  LoopCounter counter;
  N_RaceServices services = rig.Services();
  services.listener = &counter;
  N_RaceSim race(std::move(data), services);
  counter.race = &race;
  rig.path->SetShootPattern("LSVVV");  // as the game modes set it: prone, then standing
  race.Setup(*rig.path);
  if (simulate) race.Simulate();
  ExportData result;
  race.ExportResults(&result);
  Outcome out;
  out.rows = result.Rows;
  out.loops = counter.loops;
  out.loops.resize(race.RacerCount(), 0);
  for (std::size_t i = 0; i < race.RacerCount(); ++i) out.allFinished = out.allFinished && race.Racer(i).Finished;
  return out;
}

void ExpectFinishedInTime(const Outcome& race, std::size_t racers, const char* what) {
  SCOPED_TRACE(what);
  EXPECT_TRUE(race.allFinished);
  ASSERT_EQ(race.rows.size(), racers);
  int missed = 0;
  for (std::size_t i = 0; i < racers; ++i) {
    const N_ResultRow& row = race.rows[i];
    EXPECT_GT(row.Time, 120.0f) << row.StartNumber;  // three laps of a sample course
    EXPECT_LT(row.Time, 3600.0f) << row.StartNumber;
    EXPECT_EQ(row.LapsDone, 2) << row.StartNumber;  // the finish fork comes before the lap mark
    EXPECT_EQ(race.loops[i], row.Misses) << row.StartNumber;
    missed += row.Misses;
  }
  EXPECT_GT(missed, 0);  // some loops are skied, so the count is tried
}

/// The rows as text, one racer a line, the floats to their last bit.
std::string RowsText(const std::vector<N_ResultRow>& rows) {
  std::string text;
  for (const N_ResultRow& r : rows) {
    char line[160];
    std::snprintf(line, sizeof line, "%d %.9g %d %d %.9g %.9g %d %d\n", r.AthleteIndex, double(r.Time), r.LapsDone,
                  r.Misses, double(r.FullPowerTime), double(r.Condition), r.Falls, r.StartNumber);
    text += line;
  }
  return text;
}

/// The stored rows of the course's 15-racer sprint of seed 11 (tests/race/golden).
std::string StoredRows(const char* layout) {
  std::ifstream in(std::string(NAVO_RACE_GOLDEN_DIR) + "/sprint15_" + layout + ".rows", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// One course per test case: a process keeps the working directory of its first game root.
void SprintPursuitAndMassStart(const char* layout) {
  {
    RaceSimRig rig(layout);
    Srand(11);
    const Outcome sprint = RunRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 15, 7.0f, 0));
    ExpectFinishedInTime(sprint, 15, "sprint");
    // The rows stay what they were: a faster step must not change a race.
    EXPECT_EQ(RowsText(sprint.rows), StoredRows(layout));
    {
      // The same race on fresh figures (a figure keeps its animation from race to race).
      RaceSimRig fresh(layout);
      Srand(11);
      const Outcome again = RunRace(fresh, RaceSimRig::Race(DisciplineCode::kSprint, 15, 7.0f, 0));
      ASSERT_EQ(again.rows.size(), sprint.rows.size());
      EXPECT_EQ(std::memcmp(again.rows.data(), sprint.rows.data(), sprint.rows.size() * sizeof(N_ResultRow)), 0);
    }
    // Again on the figures the sprint left (each in its last action): the same rows; another
    // seed other rows.
    for (const unsigned seed : {11u, 12u}) {
      Srand(seed);
      const Outcome again = RunRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 15, 7.0f, 0));
      ASSERT_EQ(again.rows.size(), sprint.rows.size());
      EXPECT_EQ(std::memcmp(again.rows.data(), sprint.rows.data(), sprint.rows.size() * sizeof(N_ResultRow)) == 0,
                seed == 11u)
          << "seed " << seed;
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
