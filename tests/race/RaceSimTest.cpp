// The race simulation headless on a sample course: the fixed-step loop, the set-up by
// discipline, the precomputation, the step's countdown, HUD, listener and camera, the
// run to the end with its stuck racers, the result rows and the athlete query.
#include "race/RaceSim.h"

#include "core/FormatString.h"
#include "race/ExportData.h"
#include "race/FixedStep.h"
#include "race/FollowCamera.h"
#include "race/Racer.h"
#include "race/ai/AiSector.h"
#include "race/ai/AiStrategy.h"
#include "platform/d3dx9.h"
#include "race/ShootLane.h"
#include "race/SoundCache.h"
#include "race/ai/StartPlaces.h"
#include "scene/AnimInstance.h"
#include "scene/AnimSound.h"
#include "render/Shader.h"
#include "scene/CameraMng.h"
#include "tests/race/RaceSimRig.h"
#include "tests/race/WorldTestSupport.h"
#include "tests/scene/LevelBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

using test::RaceSimRig;

std::unique_ptr<N_RaceSim> MakeRace(RaceSimRig& rig, std::unique_ptr<GameData> data, N_RaceServices services) {
  auto race = std::make_unique<N_RaceSim>(std::move(data), services);
  race->Setup(*rig.path);
  return race;
}

TEST(FixedStep, CutsAFrameIntoFullStepsAndOneRest) {
  struct Case {
    float frame;
    std::vector<float> steps;
  };
  const Case cases[] = {{0.1f, {0.033f, 0.033f, 0.033f, 0.001f}},
                        {0.07f, {0.033f, 0.033f, 0.004f}},
                        {0.033f, {0.033f}},
                        {0.02f, {0.02f}},
                        {0.0f, {0.0f}}};
  for (const Case& c : cases) {
    std::vector<float> steps;
    race_step::RunFixedSteps(c.frame, [&](float s) {
      steps.push_back(s);
      return true;
    });
    ASSERT_EQ(steps.size(), c.steps.size()) << c.frame;
    for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_NEAR(steps[i], c.steps[i], 1e-6f) << c.frame;
  }
  int taken = 0;
  race_step::RunFixedSteps(0.2f, [&](float) { return ++taken < 2; });
  EXPECT_EQ(taken, 2);  // a step answering false drops the rest of the frame
}

TEST(RaceSimSetup, PlacesTheFieldByDiscipline) {
  RaceSimRig rig;
  N_AnimSound bodySounds;
  N_RaceServices services = rig.Services();
  services.bodySounds = &bodySounds;
  struct Case {
    std::int32_t discipline;
    float gap;
    std::int32_t pathKind;
  };
  for (const Case c : {Case{DisciplineCode::kSprint, 7.0f, Ai::kPathSprintStart},
                       Case{DisciplineCode::kMassStart, 0.0f, Ai::kPathMassStart},
                       Case{DisciplineCode::kHunting, 7.0f, Ai::kPathNormal}}) {
    SCOPED_TRACE(c.discipline);
    auto race = MakeRace(rig, RaceSimRig::Race(c.discipline, 15, c.gap, 0), services);
    ASSERT_EQ(race->RacerCount(), 15u);
    const float gridFirst = race->Racer(0).Time;
    for (std::size_t i = 0; i < 15; ++i) {
      const N_Racer& r = race->Racer(i);
      EXPECT_EQ(r.StartNumber, int(i) + 1);
      EXPECT_EQ(r.Position, r.StartNumber);
      N_Vector3 place, heading;
      if (c.discipline == DisciplineCode::kSprint) rig.path->StartPlaces()->GetSprintStart(place, heading);
      if (c.discipline == DisciplineCode::kMassStart) rig.path->StartPlaces()->GetMassStartPlace(place, heading, i);
      if (c.discipline == DisciplineCode::kHunting) rig.path->StartPlaces()->GetPursuitPlace(place, heading, i);
      EXPECT_EQ(r.Pos.x, place.x);
      EXPECT_EQ(r.Pos.y, place.y);
      EXPECT_EQ(r.Heading.x, heading.x);
      ASSERT_NE(r.Sector, nullptr);
      if (c.discipline != DisciplineCode::kHunting) {
        EXPECT_EQ(r.Sector->PathKind(), c.pathKind);
      }
      EXPECT_NE(r.Strategy, nullptr);
      EXPECT_EQ(r.ShootPhase, 9);
      EXPECT_EQ(rig.figures->Instance(r.Athlete->Figure)->queuedAction, 18);
      ASSERT_NE(r.BreathSlot, -1);
      // The player (index 0) has the largest clock: nothing was stepped, the gaps stand.
      EXPECT_NEAR(r.Time, gridFirst - c.gap * float(i), 1e-3f);
      EXPECT_EQ(r.Holding, c.discipline == DisciplineCode::kMassStart ? 1 : 0);
    }
    const N_Racer& player = race->Racer(0);
    EXPECT_EQ(race->Followed(), &player);
    EXPECT_EQ(player.ControlKind, 1);
    EXPECT_EQ(race->Racer(1).ControlKind, 0);
    const N_AthletProfile& a = *player.Athlete;
    const float ownRise = ((1.0f - a.OptPulse * 0.01f) * 1.5f + 2.8f) * 1.6666666f + a.MaxCondition * 0.004f;
    EXPECT_FLOAT_EQ(player.PulseRise, ownRise * 1.1f);
    EXPECT_EQ(player.FallImmunity, c.discipline == DisciplineCode::kMassStart ? 45.0f : 0.0f);
    EXPECT_EQ(player.Time, -5.0f);
  }
}

TEST(RaceSimSetup, OddDescriptionsRaceSoundly) {
  RaceSimRig rig;
  // An unknown discipline asks the AI error (answered No): an empty race.
  auto relay = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kRelay, 4, 0.0f, 0), rig.Services());
  ASSERT_EQ(rig.boxes.size(), 1u);
  EXPECT_NE(rig.boxes[0].find("Unknow game is runnig in Game arcade"), std::string::npos);
  EXPECT_EQ(relay->RacerCount(), 0u);
  EXPECT_EQ(relay->Followed(), nullptr);
  relay->Step(0.033f, nullptr);
  relay->Render(0.033f);
  EXPECT_TRUE(relay->AllFinished());
  ExportData empty;
  relay->ExportResults(&empty);
  EXPECT_TRUE(empty.Rows.empty());

  // An athlete that does not exist races as the default athlete; a player index past
  // the racers means no player; a sex other than 0 takes the female list.
  auto data = RaceSimRig::Race(DisciplineCode::kSprint, 3, 7.0f, 9);
  data->StartList[1].AthleteIndex = 999;
  data->Sex = 5;
  auto race = MakeRace(rig, std::move(data), rig.Services());
  EXPECT_EQ(race->Followed(), &race->Racer(0));
  EXPECT_EQ(race->Racer(0).ControlKind, 0);
  EXPECT_EQ(race->Racer(0).Athlete, rig.athletMng->GetFemale(0));
  EXPECT_EQ(race->Racer(1).Athlete, &race->DefaultAthlete());
  EXPECT_NE(rig.AiLog().find("athlete 999 of sex 5 does not exist"), std::string::npos);
  // The figureless racer reads its animation's progress as 1.0 and races all the same.
  const N_Vector3 start = race->Racer(1).Pos;
  for (int i = 0; i < 600; ++i) race->Step(0.033f, nullptr);
  EXPECT_EQ(race->Racer(1).AnimPhase, 1.0f);
  EXPECT_GT(std::fabs(race->Racer(1).Pos.x - start.x) + std::fabs(race->Racer(1).Pos.y - start.y), 100.0f);
}

TEST(RaceSimSetupDeathTest, EndsWithoutDescriptionOrMarkers) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        RaceSimRig rig;
        N_RaceSim race(nullptr, rig.Services());
        race.Setup(*rig.path);
      },
      "GameData NULL");
  EXPECT_DEATH(
      {
        RaceSimRig rig;
        std::filesystem::remove_all(rig.harness.dir.Path() + "/data/anim/sipka");
        N_RaceSim race(RaceSimRig::Race(DisciplineCode::kSprint, 2, 7.0f, 0), rig.Services());
      },
      "Failed load sipka !!!!");
}

TEST(RaceSimPrecompute, BringsTheFollowedRacerToTheCountdown) {
  RaceSimRig rig;
  // A mass start: every clock and the race clock at -5.0, nothing stepped.
  auto mass = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kMassStart, 4, 0.0f, 0), rig.Services());
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(mass->Racer(i).Time, -5.0f);
  EXPECT_EQ(mass->RaceClock(), -5.0f);
  EXPECT_EQ(mass->StartRenderThreshold(), -5.0f);
  EXPECT_TRUE(rig.hud.calls.empty());
  EXPECT_TRUE(test::ContainsInOrder(rig.AiLog(), {"Precompunting game", "ID: 1 Time:0.00", "ID: 4 Time:0.00",
                                                  "startRenderTimer: -5.00", "Offset: 5.00", "ID: 1 Time:-5.00",
                                                  "TotalTimer: -5.00", "dt: 0.00", "Precompunting time: 0.00"}));
  mass.reset();

  // An interval start with the player last: the field is stepped until the player's
  // clock reads -5.0 within a step; the others are ahead by their gaps, out on course.
  auto sprint = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 5, 7.0f, 4), rig.Services());
  const float player = sprint->Racer(4).Time;
  EXPECT_GT(player, -5.0f - 0.034f);
  EXPECT_LE(player, -5.0f + 0.034f);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(sprint->Racer(i).Time - player, 7.0f * float(4 - i), 1e-2f);
  EXPECT_GT(sprint->Racer(0).Time, 0.0f);
  EXPECT_TRUE(test::ContainsInOrder(rig.AiLog(), {"Offset: 5.00", "TotalTimer: -5.00", "dt: 28.00"}));
}

TEST(RaceSimPrecompute, TheLevelsStartFlightComesBeforeTheCountdown) {
  RaceSimRig rig;
  // A sprint fly-by camera in the level: keys a unit apart, ten a second.
  std::vector<N_PathKey> keys(31);
  for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = {{float(i) * 100.0f, 0.0f, 500.0f}, {1.0f, 0.0f, 0.0f, 0.0f}};
  test::LevelBuilder(rig.level)
      .PointSet("CameraPath_Menu", {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}})
      .Camera("Camera_Sprint", keys, N_CameraPath::kPlayOnce, 10.0f);
  N_CameraMng cameras;
  cameras.RaceController().Setup("CameraPath_Menu");
  const float flight = cameras.RaceController().GetPathDuration(DisciplineCode::kSprint);
  ASSERT_GT(flight, 1.0f);
  N_RaceServices services = rig.Services();
  services.raceCamera = &cameras.RaceController();
  auto race = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 3, 7.0f, 0), services);
  EXPECT_FLOAT_EQ(race->StartRenderThreshold(), -flight - 5.0f);
  EXPECT_FLOAT_EQ(race->RaceClock(), -flight - 5.0f);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(race->Racer(i).Time, -flight - 5.0f - 7.0f * float(i), 1e-4f);
  EXPECT_NE(rig.AiLog().find(FormatString("startRenderTimer: %3.2f", double(-flight - 5.0f))), std::string::npos);
}

TEST(RaceSimStep, SoundsTheStartSignalOnceInTheCountdown) {
  struct Case {
    std::int32_t discipline;
    float gap;
    const char* sound;
  };
  for (const Case c : {Case{DisciplineCode::kSprint, 7.0f, "sound_start_signal"},
                       Case{DisciplineCode::kHunting, 7.0f, "sound_start_signal"},
                       Case{DisciplineCode::kMassStart, 0.0f, "sound_start_mass"}}) {
    SCOPED_TRACE(c.sound);
    RaceSimRig rig;
    test::NotingSoundMng sound;
    N_SoundCache cache;
    N_RaceServices services = rig.Services();
    services.soundCache = &cache;
    auto race = MakeRace(rig, RaceSimRig::Race(c.discipline, 3, c.gap, 0), services);
    const N_Racer& player = race->Racer(0);
    float signalledAt = 1.0f;
    while (player.Time < 1.0f) {
      const float before = player.Time;
      race->Step(0.033f, nullptr);
      if (sound.played.size() == 1 && signalledAt > 0.0f) signalledAt = before;
    }
    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.NameOf(sound.played[0]), c.sound);
    // The first step that starts above -5.0.
    EXPECT_GT(signalledAt, -5.0f);
    EXPECT_LT(signalledAt, -5.0f + 0.034f);
  }
}

TEST(RaceSimStep, DrivesCountdownHudListenerAndCameraOfTheFollowedRacer) {
  RaceSimRig rig;
  auto race = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 3, 7.0f, -1), rig.Services());
  const N_Racer& first = race->Racer(0);
  ASSERT_EQ(race->Followed(), &first);
  int steps = 0;
  while (first.Time < 0.5f) {
    race->Step(0.033f, nullptr);
    ++steps;
  }
  EXPECT_EQ(rig.hud.Named("ShowStartInfo"), std::vector<std::string>{"ShowStartInfo 1 0 2 0"});
  EXPECT_EQ(rig.hud.Named("CloseStartInfo").size(), 1u);
  EXPECT_EQ(rig.hud.Named("ShowPlayerStatus").size(), 1u);
  const std::size_t counters = rig.hud.Named("UpdateStartCounter").size();
  const std::size_t statuses = rig.hud.Named("UpdatePlayerStatus").size();
  EXPECT_EQ(counters + statuses + 1, std::size_t(steps));  // the status shows at the first step at 0
  EXPECT_NE(rig.hud.calls.back().find(" 1 3"), std::string::npos);  // lap LapsDone + 1 of 3
  EXPECT_EQ(rig.listener.position.x, first.Pos.x);
  EXPECT_EQ(rig.listener.forward.y, first.Heading.y);
  ASSERT_EQ(rig.camera.targets.size(), std::size_t(steps));
  EXPECT_EQ(rig.camera.targets.back().z, N_FollowCamera::LookPoint(first).z);

  // A step of 0 changes no clock and refreshes the HUD.
  const float clock = first.Time, raceClock = race->RaceClock();
  race->Step(0.0f, nullptr);
  EXPECT_EQ(first.Time, clock);
  EXPECT_EQ(race->RaceClock(), raceClock);
  EXPECT_EQ(rig.hud.Named("UpdatePlayerStatus").size(), statuses + 1);

  // Escape held ends the race for the player.
  N_PlayerControls controls;
  rig.input.KeyDown(DIK_ESCAPE);
  rig.Poll(controls);
  race->Step(0.033f, &controls);
  EXPECT_TRUE(race->Stopped());
  EXPECT_TRUE(race->AllFinished());
}

TEST(RaceSimStep, PursuitClocksFollowTheRaceClock) {
  RaceSimRig rig(RaceSimRig::Recording::kOff);
  auto race = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kHunting, 3, 4.0f, 0), rig.Services());
  for (int i = 0; i < 400; ++i) race->Step(0.033f, nullptr);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(race->Racer(i).Time, race->RaceClock());

  // A racer past the penalty junction with two loops owed and not skied keeps 240 s on
  // top of the race clock to the finish (the frames advance the figures, as in the game).
  rig.path->SetShootPattern("LSVVV");
  race = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kHunting, 3, 4.0f, -1), rig.Services());
  const auto frame = [&] {
    race->Step(0.033f, nullptr);
    race->Render(0.033f);
  };
  N_Racer& r = race->Racer(1);
  int steps = 0;
  for (bool open = true; ++steps < 40000;) {
    // The junction opens the loop count; a racer taking the normal branch has no loop owed.
    if (!r.PenaltyCheckDue) r.PenaltyLoopOpen = 0;
    open = r.PenaltyLoopOpen;
    frame();
    if (!open && r.PenaltyLoopOpen && r.PenaltyCheckDue && r.PenaltyLoops == 0) break;
  }
  ASSERT_LT(steps, 40000) << "racer 2 never came past the penalty junction after shooting";
  constexpr std::uint8_t kPenaltyJunction = 0x10;  // flag group 3: the branch is taken in these sectors
  while (r.Sector->Flags().Has(3, kPenaltyJunction) && ++steps < 40000) frame();
  r.PenaltyLoops = 2;
  while (r.PenaltyCheckDue && ++steps < 40000) frame();
  ASSERT_EQ(r.PenaltyCheckDue, 0);
  while (!r.Stopped && ++steps < 40000) {
    frame();
    if (!r.Stopped) {
      ASSERT_FLOAT_EQ(r.Time, race->RaceClock() + 240.0f) << steps;
    }
  }
}

TEST(RaceSimExport, RunsTheFieldToTheEnd) {
  // The player still on the course is given up; one already across the line keeps its
  // time. A racer that cannot move (no drive) is ended by the 3600 s rule, the third
  // finishes.
  for (const bool across : {false, true}) {
    SCOPED_TRACE(across);
    RaceSimRig rig;
    auto race = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 3, 7.0f, 0), rig.Services());
    race->Racer(1).PowerScale = 0.0f;
    for (int i = 0; i < 100; ++i) race->Step(0.033f, nullptr);
    if (across) {
      race->Racer(0).Stopped = 1;
      race->Racer(0).Time = 500.0f;
    }
    ExportData result;
    race->ExportResults(&result);
    ASSERT_EQ(result.Rows.size(), 3u);
    EXPECT_EQ(result.Rows[0].Time, across ? 500.0f : -1.0f);
    EXPECT_EQ(result.Rows[1].Time, -1.0f);
    EXPECT_GT(result.Rows[2].Time, 0.0f);
    for (int i = 0; i < 3; ++i) {
      const N_Racer& r = race->Racer(std::size_t(i));
      const N_ResultRow& row = result.Rows[std::size_t(i)];
      EXPECT_EQ(row.StartNumber, i + 1);
      EXPECT_EQ(row.AthleteIndex, i);
      EXPECT_EQ(row.LapsDone, r.LapsDone);
      EXPECT_EQ(row.Misses, r.Misses);
      EXPECT_EQ(row.FullPowerTime, r.FullPowerTime);
      EXPECT_EQ(row.Condition, r.Condition);
      EXPECT_EQ(row.Falls, r.Falls);
    }
    EXPECT_EQ(race->Description(), nullptr);
    std::size_t stuck = 0, progress = 0;
    for (const std::string& line : rig.AiLogLines()) {
      stuck += line.rfind("Zaseknuty chuj: ", 0) == 0;
      progress += line.rfind("DoCompunting:  100sec ", 0) == 0;
    }
    EXPECT_EQ(stuck, 1u);
    // 3600 s of the stuck racer's clock from about -8.7 s: a line every 3333 steps.
    EXPECT_EQ(progress, std::size_t((3600.0f + 8.7f) / 0.033f) / 3333);
    EXPECT_NE(rig.AiLog().find("DoCompunting time: 0.00"), std::string::npos);
    std::string calls;
    for (const auto& c : rig.hud.calls) calls += c + "\n";
    EXPECT_TRUE(test::ContainsInOrder(calls, {"HidePlayerStatus", "CloseShootingPage", "ClosePenaltyRounds",
                                              "CloseStartInfo"}));
  }
}

TEST(RaceSimQuery, AnswersARacersFigureAndNothingElse) {
  RaceSimRig rig;
  auto race = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 3, 7.0f, 0), rig.Services());
  N_Racer& second = race->Racer(1);
  second.GroundNormal = {0.0f, 0.1f, -1.0f};
  const float* block = nullptr;
  N_Vector3 point;
  ASSERT_TRUE(race->FindRacerByFigure(second.Athlete->Figure, &block, &point));
  EXPECT_EQ(block, &second.Probes[0].x);
  EXPECT_EQ(point.y, 0.1f);
  const float* untouched = reinterpret_cast<const float*>(&rig);
  N_Vector3 keep{7.0f, 8.0f, 9.0f};
  EXPECT_FALSE(race->FindRacerByFigure(12345, &untouched, &keep));
  EXPECT_FALSE(race->FindRacerByFigure(-1, &untouched, &keep));
  EXPECT_EQ(untouched, reinterpret_cast<const float*>(&rig));
  EXPECT_EQ(keep.x, 7.0f);
}

}  // namespace

namespace {

TEST(RaceSimRender, DrawsOnlyStartedRacersStillOnTheCourse) {
  RaceSimRig rig;
  rig.core.vars->SetFloat("LODWorldDistance", 10000.0f, 0);
  auto race = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 2, 7.0f, 0), rig.Services());
  N_Racer& second = race->Racer(1);
  for (std::size_t i = 0; i < 2; ++i) race->Racer(i).Pos = {0.0f, 1000.0f, -40.0f};  // ahead of the camera
  race->Racer(0).Finished = 1;
  struct Case {
    float time;
    std::uint8_t finished;
    bool drawn;
  };
  // The markers draw as well: the figure's draws come on top of theirs.
  std::size_t markersOnly = 0;
  for (const Case c : {Case{-5.01f, 0, false}, Case{-5.0f, 0, true}, Case{30.0f, 1, false}}) {
    second.Time = c.time;
    second.Finished = c.finished;
    rig.device->ClearCalls();
    race->Render(0.033f);
    const std::size_t draws = rig.Calls("DrawIndexedPrimitive(").size();
    if (c.time < -5.0f) markersOnly = draws;
    EXPECT_EQ(draws > markersOnly, c.drawn) << c.time;
  }
}

}  // namespace

namespace {

TEST(RaceSimRender, ShowsTheFollowedRacersMarkers) {
  RaceSimRig rig;
  rig.core.vars->SetFloat("LODWorldDistance", 1.0e6f, 0);
  auto race = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 2, 7.0f, 0), rig.Services());
  for (std::size_t i = 0; i < 2; ++i) race->Racer(i).Finished = 1;  // only the markers draw
  N_Racer& f = race->Racer(0);
  N_ShootLane* lane = rig.path->GetStand(0);
  ASSERT_NE(lane, nullptr);
  N_Vector3 finish, penalty, direction;
  rig.path->GetFinishArrow(finish, direction);
  rig.path->GetPenaltyArrow(penalty, direction);
  /// The draws of a frame seen from near the place.
  auto draws = [&](const N_Vector3& place) {
    const N_Vector3 eye{place.x, place.y - 600.0f, place.z + 200.0f};
    rig.camera.LookAt(&eye, &place);
    rig.frustum.Build(rig.camera);
    rig.device->ClearCalls();
    race->Render(0.033f);
    return rig.Calls("DrawIndexedPrimitive(").size();
  };
  struct Case {
    const char* what;
    std::int32_t phase;
    std::uint8_t finishArrow, showPenalty;
    std::int32_t loops;
    N_Vector3 place;
    bool drawn;
    const char* hud;
  };
  const Case cases[] = {
      {"lane arrow, phase 0", 0, 0, 0, 0, lane->StandPosition(), true, nullptr},
      {"lane arrow, phase 1", 1, 0, 0, 0, lane->StandPosition(), true, nullptr},
      {"no lane arrow, phase 2", 2, 0, 0, 0, lane->StandPosition(), false, nullptr},
      {"finish arrow", 9, 1, 0, 0, finish, true, nullptr},
      {"penalty arrow and board", 9, 0, 1, 2, penalty, true, "UpdatePenaltyRounds 2"},
      {"no loop owed", 9, 0, 1, 0, penalty, false, "ClosePenaltyRounds"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    f.Lane = lane;
    f.ShootPhase = 9;
    f.ShowFinishArrow = 0;
    f.ShowPenalty = 0;
    const std::size_t without = draws(c.place);
    f.ShootPhase = c.phase;
    f.ShowFinishArrow = c.finishArrow;
    f.ShowPenalty = c.showPenalty;
    f.PenaltyLoops = c.loops;
    rig.hud.calls.clear();
    EXPECT_EQ(draws(c.place) > without, c.drawn);
    if (c.hud) {
      EXPECT_EQ(rig.hud.calls, std::vector<std::string>{c.hud});
      EXPECT_EQ(f.ShowPenalty, c.loops > 0 ? 1 : 0);  // the page closes once no loop is owed
    } else {
      EXPECT_TRUE(rig.hud.calls.empty());
    }
  }
}

TEST(RaceSimRender, AFightingSpiritGlowsOnlyAroundItsRacersFigure) {
  RaceSimRig rig;
  rig.core.vars->SetFloat("LODWorldDistance", 10000.0f, 0);
  auto race = MakeRace(rig, RaceSimRig::Race(DisciplineCode::kSprint, 1, 7.0f, 0), rig.Services());
  N_Racer& r = race->Racer(0);
  r.Pos = {0.0f, 1000.0f, -40.0f};  // ahead of the camera
  const N_Shader* dress = rig.shaders.GetShader(r.Athlete->DressShader);
  ASSERT_TRUE(dress && dress->effect);
  ID3DXEffect& effect = *dress->effect;
  const auto plain = effect.GetTechniqueByName("TTextureOnly");
  const auto glow = effect.GetTechniqueByName("TGlowAndTexture");
  // The material starts each frame glowing: only a drawn racer with the fighting spirit
  // switches it (on, then off after its figure), so it ends plain.
  struct Case {
    std::uint8_t spirit, finished;
    bool switched;
  };
  auto draws = [&] {
    rig.device->ClearCalls();
    race->Render(0.0f);
    return rig.Calls("DrawIndexedPrimitive(").size();
  };
  r.Finished = 1;
  const std::size_t markersOnly = draws();
  for (const Case c : {Case{0, 0, false}, Case{1, 0, true}, Case{1, 1, false}}) {
    r.KampfgeistActive = c.spirit;
    r.Finished = c.finished;
    effect.SetTechnique(glow);
    EXPECT_EQ(draws() > markersOnly, !c.finished);  // the figure's draws
    EXPECT_EQ(effect.GetCurrentTechnique(), c.switched ? plain : glow) << int(c.spirit) << int(c.finished);
  }
}

}  // namespace
