// The time attack and the trainings headless on a sample course: the set-up at the
// sprint start, the countdown in fixed steps, the pause toggle, Esc, the 3400 s limit,
// the recording and its result, the shooting training's lane, and the fatal
// descriptions.
#include "race/GameTimeAttack.h"
#include "race/GameTraining.h"

#include "core/KeyDefinitions.h"
#include "core/Random.h"
#include "race/ExportData.h"
#include "race/Racer.h"
#include "race/RunRecorder.h"
#include "race/ShootLane.h"
#include "race/ai/StartPlaces.h"
#include "tests/race/RaceSimRig.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using test::RaceSimRig;

std::unique_ptr<GameData> Solo(std::int32_t discipline, float startTime, std::uint8_t laps = 3) {
  auto data = RaceSimRig::Race(discipline, 1, 0.0f, 0, laps);
  data->StartList[0].StartTime = startTime;
  return data;
}

template <class Mode>
void Start(Mode& mode) {
  mode.Load();
  mode.Init();
  mode.SetPaused(0);
}

TEST(GameTimeAttack, CountsDownInFixedStepsAndRecordsTheRun) {
  RaceSimRig rig;
  auto recorder = std::make_unique<N_RunRecorder>();
  N_RunRecorder* ghost = recorder.get();
  N_GameTimeAttack mode(Solo(DisciplineCode::kTimeAttack, -10.0f), std::move(recorder), rig.Services());
  Start(mode);
  N_Racer& r = *mode.Racer();
  N_Vector3 start, heading;
  rig.path->StartPlaces()->GetSprintStart(start, heading);
  EXPECT_EQ(r.Pos.x, start.x);
  EXPECT_EQ(r.ControlKind, 1);
  EXPECT_EQ(ghost->RecordedCount(), 1);
  for (std::uint32_t round = 0; round < 5; ++round) {
    EXPECT_EQ(mode.Path()->GetShootStance(round), std::int32_t(round == 0 ? 2 : round == 1 ? 1 : 0));
  }

  // Five frames of 0.1 s before -5.0: nothing shown; then a frame of four steps.
  for (int i = 0; i < 50; ++i) mode.Update(0.1f);
  EXPECT_TRUE(rig.hud.calls.empty());
  while (r.Time < -1.0f) mode.Update(0.1f);
  const std::size_t counters = rig.hud.Named("UpdateStartCounter").size();
  mode.Update(0.1f);
  EXPECT_EQ(rig.hud.Named("UpdateStartCounter").size(), counters + 4);
  EXPECT_EQ(rig.hud.Named("ShowStartInfo").size(), 1u);

  // The pause toggle: no step, no recording.
  const float clock = r.Time;
  const std::int32_t samples = ghost->RecordedCount();
  rig.input.Tap(static_cast<BYTE>(g_keyDefinitions[key_action::kPause]));
  rig.inputMng->Update();
  mode.Update(0.1f);
  rig.inputMng->Update();
  mode.Update(0.1f);
  EXPECT_EQ(r.Time, clock);
  EXPECT_EQ(ghost->RecordedCount(), samples);
  rig.input.Tap(static_cast<BYTE>(g_keyDefinitions[key_action::kPause]));
  rig.inputMng->Update();
  mode.Update(0.1f);
  rig.inputMng->Update();

  while (r.Time < 0.5f) mode.Update(0.1f);
  EXPECT_EQ(rig.hud.Named("ShowPlayerStatus").size(), 1u);
  EXPECT_NE(rig.hud.calls.back().find(" 1 1 3"), std::string::npos);  // position 1, lap 1 of 3
  EXPECT_GT(ghost->RecordedCount(), samples);

  // Past 3400 s the run is disqualified.
  EXPECT_EQ(mode.PollResult(), nullptr);
  r.Time = 3400.0f;
  mode.Update(0.033f);
  EXPECT_TRUE(r.Finished && r.Disqualified);
  std::unique_ptr<ExportData> result = mode.PollResult();
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(mode.PollResult(), nullptr);
  EXPECT_EQ(result->Ghost.get(), ghost);
  ASSERT_EQ(result->Rows.size(), 1u);
  EXPECT_EQ(result->Rows[0].Time, -1.0f);
  EXPECT_EQ(result->Rows[0].StartNumber, 0);
  EXPECT_EQ(mode.Description(), nullptr);
  EXPECT_EQ(rig.hud.Named("CloseSplitTimes").size(), 1u);

  // The recording saved and loaded again is the same run.
  rig.harness.dir.Write("data/tables/readme.txt", "");
  ASSERT_TRUE(ghost->Save("run.dat"));
  N_RunRecorder loaded;
  ASSERT_TRUE(loaded.Load("run.dat"));
  ASSERT_EQ(loaded.GhostSampleCount(), ghost->RecordedCount());
  loaded.Step(0.1f * float(ghost->RecordedCount() - 1), {}, {}, 0);
  const N_RunRecorder::Sample& last = ghost->RecordedSample(ghost->RecordedCount() - 1);
  EXPECT_EQ(loaded.GhostPosition().x, last.position.x);
  EXPECT_EQ(loaded.GhostAction(), last.action);
}

TEST(GameTimeAttack, EscapeInTheCountdownGivesTheRunUp) {
  RaceSimRig rig;
  N_GameTimeAttack mode(Solo(DisciplineCode::kTimeAttack, -3.0f, 4), std::make_unique<N_RunRecorder>(),
                        rig.Services());
  Start(mode);
  EXPECT_EQ(mode.Path()->GetShootStance(2), 2);  // 4 laps: "LLLSSVVV"
  EXPECT_EQ(mode.Path()->GetShootStance(3), 1);
  rig.input.KeyDown(DIK_ESCAPE);
  rig.inputMng->Update();
  mode.Update(0.033f);
  EXPECT_TRUE(mode.Racer()->Finished);
  EXPECT_EQ(mode.Racer()->Time, -1.0f);

  const float* block = nullptr;
  N_Vector3 normal;
  EXPECT_TRUE(mode.GetAthleteView(mode.Racer()->Athlete->Figure, &block, &normal));
  EXPECT_EQ(block, &mode.Racer()->Probes[0].x);
  EXPECT_FALSE(mode.GetAthleteView(mode.Racer()->Athlete->Figure + 1, &block, &normal));
  EXPECT_EQ(block, nullptr);
}

TEST(GameTraining, RunningTrainingCountsDownAndEndsWithItsClock) {
  RaceSimRig rig;
  auto data = Solo(DisciplineCode::kRunTraining, 0.0f, 2);
  data->TrainingScale1 = 0.0f;  // taken as 1.0
  N_GameTraining mode(std::move(data), rig.Services());
  Start(mode);
  N_Racer& r = *mode.Racer();
  EXPECT_EQ(r.Time, -5.01f);
  const N_AthletProfile& a = *r.Athlete;
  EXPECT_FLOAT_EQ(r.PulseRise, a.MaxCondition * 0.004f + ((1.0f - a.OptPulse * 0.01f) * 1.5f + 2.8f) * 1.6666666f);
  mode.Update(0.033f);
  EXPECT_TRUE(rig.hud.Named("ShowStartInfo").empty());
  mode.Update(0.033f);
  EXPECT_EQ(rig.hud.Named("ShowStartInfo").size(), 1u);
  const std::size_t counters = rig.hud.Named("UpdateStartCounter").size();
  mode.Update(0.07f);
  EXPECT_EQ(rig.hud.Named("UpdateStartCounter").size(), counters + 3);
  while (r.Time < 1.0f) mode.Update(0.1f);
  EXPECT_NE(rig.hud.calls.back().find(" 1 1 2"), std::string::npos);  // position 1, lap 1 of 2

  rig.input.KeyDown(DIK_ESCAPE);
  rig.inputMng->Update();
  const float clock = r.Time;
  mode.Update(0.033f);
  std::unique_ptr<ExportData> result = mode.PollResult();
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->Time, clock);
  EXPECT_EQ(result->Discipline, DisciplineCode::kRunTraining);
  EXPECT_EQ(result->Faults, r.Falls);
  ASSERT_EQ(result->LapTimes.size(), std::size_t(result->LapsDone + 1));
  EXPECT_FLOAT_EQ(std::accumulate(result->LapTimes.begin(), result->LapTimes.end(), 0.0f), result->Time);
}

TEST(GameTraining, RunningTrainingGivesALapTimePerLap) {
  RaceSimRig rig(RaceSimRig::Recording::kOff);
  for (const std::uint8_t laps : {std::uint8_t(2), std::uint8_t(1)}) {
    SCOPED_TRACE(int(laps));
    N_GameTraining mode(Solo(DisciplineCode::kRunTraining, 0.0f, laps), rig.Services());
    Start(mode);
    N_Racer& r = *mode.Racer();
    std::unique_ptr<ExportData> result;
    // Steered round the course as a player would, frame by frame (the render advances
    // the figure, whose finish ends the run).
    for (int frame = 0; !result && frame < 60000; ++frame) {
      rig.SteerByKeys(r);
      rig.inputMng->Update();
      mode.Update(0.033f);
      mode.Render(0.033f);
      result = mode.PollResult();
    }
    ASSERT_NE(result, nullptr);
    EXPECT_FALSE(r.Disqualified);
    EXPECT_EQ(result->LapsDone, laps - 1);  // the finish fork comes before the lap mark
    ASSERT_EQ(result->LapTimes.size(), std::size_t(laps));
    for (const float lap : result->LapTimes) EXPECT_GT(lap, 30.0f);
    EXPECT_FLOAT_EQ(std::accumulate(result->LapTimes.begin(), result->LapTimes.end(), 0.0f), result->Time);
    EXPECT_EQ(result->Faults, r.Falls);
  }
}

TEST(GameTraining, ShootingTrainingHoldsTheRacerOnADrawnLane) {
  RaceSimRig rig;
  Srand(7);
  const int k = int(RandomRange(0.0f, 29.0f));
  Srand(7);
  N_GameTraining mode(Solo(DisciplineCode::kShootingTraining, 0.0f), rig.Services());
  Start(mode);
  N_Racer& r = *mode.Racer();
  const N_ShootLane* lane = mode.Path()->GetStand(k);
  ASSERT_NE(lane, nullptr);
  EXPECT_EQ(r.Lane, lane);
  EXPECT_EQ(r.Pos.x, lane->StandPosition().x);
  EXPECT_EQ(r.Heading.y, lane->ShootDirection().y);
  EXPECT_EQ(r.ShootPhase, 5);
  for (int i = 0; i < 30; ++i) mode.Update(0.1f);
  EXPECT_EQ(r.Pos.x, lane->StandPosition().x);
  EXPECT_NEAR(r.Time, 3.0f, 0.01f);
  rig.input.KeyDown(DIK_ESCAPE);
  rig.inputMng->Update();
  mode.Update(0.033f);
  std::unique_ptr<ExportData> result = mode.PollResult();
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->Faults, result->Misses);
  EXPECT_EQ(result->Discipline, DisciplineCode::kShootingTraining);
}

TEST(GameSoloDeathTest, RefusesImpossibleDescriptions) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        RaceSimRig rig;
        N_GameTimeAttack mode(Solo(DisciplineCode::kTimeAttack, 0.0f), nullptr, rig.Services());
        mode.Load();
      },
      "TimeAttackData is NULL");
  EXPECT_DEATH(
      {
        RaceSimRig rig;
        N_GameTraining mode(Solo(11, 0.0f), rig.Services());
      },
      "Undefined training type");
  EXPECT_DEATH(
      {
        RaceSimRig rig;
        N_GameTraining mode(nullptr, rig.Services());
        if (rig.core.LogText().find("*****  GAMEDATA is NULL\t\t\t!!!  ******") == std::string::npos) std::exit(3);
        mode.Load();
        mode.Init();
      },
      "N_GameTraining: GAMEDATA is NULL");
}

}  // namespace

namespace {

TEST(RunRecorderGhost, DrawsTheGhostFigureOnlyWithARun) {
  RaceSimRig rig;
  rig.core.vars->SetFloat("LODWorldDistance", 10000.0f, 0);
  // A saved run of ten samples straight ahead of the camera, playing action 7.
  std::string file;
  for (int i = 0; i < 10; ++i) {
    for (float f : {0.0f, 1000.0f, -40.0f, 1.0f, 0.0f, 0.0f}) file.append(reinterpret_cast<const char*>(&f), 4);
    file += std::string("\x07\0\0\0", 4);
  }
  rig.harness.dir.Write("data/tables/ghost.dat", file);
  for (const bool withRun : {false, true}) {
    SCOPED_TRACE(withRun);
    N_RunRecorder recorder;
    if (withRun) {
      ASSERT_TRUE(recorder.Load("ghost.dat"));
    }
    recorder.StartRecording(rig.figures.get(), {}, {1.0f, 0.0f, 0.0f}, 18);
    recorder.Step(0.1f, {}, {1.0f, 0.0f, 0.0f}, 18);
    rig.device->ClearCalls();
    recorder.DrawGhost(0.033f);
    EXPECT_EQ(rig.Calls("DrawIndexedPrimitive(").empty(), !withRun);
    if (withRun) {
      EXPECT_EQ(rig.figures->Instance(rig.athletMng->Ghost().Figure)->queuedAction, 7);
    }
  }
}

}  // namespace

namespace {

TEST(GameTimeAttack, TheMiniMapShowsTheGhostOnlyWithASavedRun) {
  RaceSimRig rig;
  // A saved run: ten samples along +x from the origin, one unit a sample.
  std::string file;
  for (int i = 0; i < 10; ++i) {
    for (float f : {float(i), 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) file.append(reinterpret_cast<const char*>(&f), 4);
    file += std::string("\x07\0\0\0", 4);
  }
  rig.harness.dir.Write("data/tables/saved.dat", file);
  for (const bool saved : {false, true}) {
    SCOPED_TRACE(saved);
    auto recorder = std::make_unique<N_RunRecorder>();
    if (saved) {
      ASSERT_TRUE(recorder->Load("saved.dat"));
    }
    N_RunRecorder* ghost = recorder.get();
    N_GameTimeAttack mode(Solo(DisciplineCode::kTimeAttack, -1.0f), std::move(recorder), rig.Services());
    Start(mode);
    for (int i = 0; i < 5; ++i) mode.Update(0.1f);  // 0.5 s of the run: the ghost halfway along sample 4 to 5
    ASSERT_EQ(mode.MapMarks().size(), saved ? 2u : 1u);
    EXPECT_EQ(mode.MapMarks()[0].x, mode.Racer()->Pos.x);
    if (saved) {
      EXPECT_NEAR(ghost->GhostPosition().x, 5.0f, 0.05f);
      EXPECT_EQ(mode.MapMarks()[1].x, ghost->GhostPosition().x);
    }
    EXPECT_GT(ghost->RecordedCount(), 1);  // recorded all the same
  }
}

}  // namespace
