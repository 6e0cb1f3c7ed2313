// The buddy games' attempts headless on a sample course: the running contest's
// countdown, status, fall rule, Esc, the pause toggle and its time-limit rule; the
// shooting contest's lane, time limit, hits and shots rules, Esc and a range-less
// course. Launched as a launcher does: Load, Init and SetPaused.
#include "race/GameBodyGamesRun.h"
#include "race/GameBodyGamesShoot.h"

#include "core/KeyDefinitions.h"
#include "core/Random.h"
#include "race/ExportData.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/ai/AiSector.h"
#include "tests/race/RaceSimRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using test::RaceSimRig;

/// The launcher's description of a contest row: one entry at -5.0.
std::unique_ptr<GameData> Contest(std::uint8_t laps, float timeLimit, std::uint8_t faultless,
                                  std::int32_t targetHits = -1, std::int32_t shotLimit = -1, std::uint8_t sway = 0) {
  auto data = RaceSimRig::Race(DisciplineCode::kBuddyGame, 1, 0.0f, 0, laps);
  data->StartList[0].StartTime = -5.0f;
  data->Track = 10;
  data->TimeLimit = timeLimit;
  data->Faultless = faultless;
  data->TargetHits = targetHits;
  data->ShotLimit = shotLimit;
  data->Sway = sway;
  data->SetPlayerName("Anna");
  data->SetNation("SWE");
  return data;
}

template <class Mode>
void Start(Mode& mode) {
  mode.Load();
  mode.Init();
  mode.SetPaused(0);
}

void Hold(RaceSimRig& rig, BYTE key) {
  rig.input.KeyDown(key);
  rig.inputMng->Update();
}

TEST(BuddyRun, CountdownStatusAndPauseToggle) {
  RaceSimRig rig;
  N_GameBodyGamesRun mode(Contest(2, -1.0f, 0), rig.Services());
  Start(mode);
  N_Racer& r = *mode.Racer();
  EXPECT_EQ(r.ControlKind, 1);
  EXPECT_NE(r.Sector, nullptr);
  while (r.Time < 0.5f) mode.Update(0.1f);
  EXPECT_EQ(rig.hud.Named("ShowStartInfo").size(), 1u);
  EXPECT_FALSE(rig.hud.Named("UpdateStartCounter").empty());
  EXPECT_EQ(rig.hud.Named("ShowPlayerStatus"), std::vector<std::string>{"ShowPlayerStatus Anna SWE"});

  const float clock = r.Time;
  const N_Vector3 pos = r.Pos;
  rig.input.Tap(static_cast<BYTE>(g_keyDefinitions[key_action::kPause]));
  rig.inputMng->Update();
  for (int i = 0; i < 3; ++i) {
    mode.Update(0.1f);
    rig.inputMng->Update();
  }
  EXPECT_EQ(r.Time, clock);
  EXPECT_EQ(r.Pos.x, pos.x);
  EXPECT_EQ(r.Pos.y, pos.y);
  EXPECT_EQ(mode.PollResult(), nullptr);
}

/// The test pilot: forward held, the turn keys towards the ideal point ahead (the next
/// sector's when the own one's is near), as the computer racers aim.
void Pilot(RaceSimRig& rig, const N_Racer& r) {
  const auto key = [](int action) { return static_cast<BYTE>(g_keyDefinitions[action]); };
  rig.input.KeyDown(key(key_action::kForward));
  rig.input.KeyUp(key(key_action::kLeft));
  rig.input.KeyUp(key(key_action::kRight));
  if (r.Sector) {
    N_Vector3 target = r.Sector->GetIdealPoint(true);
    N_Vector3 d = target - r.Pos;
    if (d.x * d.x + d.y * d.y < 3600.0f && r.Sector->Next()) target = r.Sector->Next()->GetIdealPoint(true);
    d = target - r.Pos;
    const float len = std::sqrt(d.x * d.x + d.y * d.y);
    if (len > 0.0f) {
      const float c = (d.x * r.Heading.x + d.y * r.Heading.y) / len;
      const float cross = r.Heading.x * d.y - r.Heading.y * d.x;
      if (c < 0.995f) rig.input.KeyDown(key(cross > 0.0f ? key_action::kLeft : key_action::kRight));
    }
  }
  rig.inputMng->Update();
}

TEST(BuddyRun, ThePilotSkisTwoLapsToAValidFinish) {
  RaceSimRig rig;
  N_GameBodyGamesRun mode(Contest(2, -1.0f, 0), rig.Services());
  Start(mode);
  N_Racer& r = *mode.Racer();
  std::unique_ptr<ExportData> result;
  for (int frame = 0; frame < 20000 && !result; ++frame) {
    Pilot(rig, r);
    mode.Update(0.1f);
    mode.Render(0.1f);
    result = mode.PollResult();
  }
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(r.LapsLeft, 0);  // two laps: one lap line passed, then the finish
  EXPECT_EQ(r.LapsDone, 1);
  EXPECT_EQ(result->Success, 1);
  EXPECT_GT(result->BuddyTime, 0.0f);
  EXPECT_EQ(result->BuddyTime, r.Time);
  EXPECT_EQ(result->BuddyFalls, r.Falls);
}

TEST(BuddyRun, EndingsAndValidity) {
  struct Case {
    const char* what;
    float timeLimit;
    std::uint8_t faultless;
    std::function<void(RaceSimRig&, N_GameBodyGamesRun&)> play;
    std::uint8_t wantSuccess;
    bool wantNegativeTime;
  };
  const Case cases[] = {
      {"Esc in the countdown", -1.0f, 0,
       [](RaceSimRig& rig, N_GameBodyGamesRun& mode) {
         mode.Update(0.5f);
         Hold(rig, DIK_ESCAPE);
         mode.Update(0.033f);
       },
       0, true},
      {"a fall under Faultless", -1.0f, 1,
       [](RaceSimRig&, N_GameBodyGamesRun& mode) {
         while (mode.Racer()->Time < 1.0f) mode.Update(0.1f);
         mode.Racer()->Falls = 1;
         mode.Update(0.033f);
       },
       0, false},
      {"a finish below a positive time limit", 100.0f, 0,
       [](RaceSimRig&, N_GameBodyGamesRun& mode) {
         mode.Racer()->Time = 95.0f;
         mode.Racer()->Finished = 1;
       },
       0, false},
      {"a finish above it", 100.0f, 0,
       [](RaceSimRig&, N_GameBodyGamesRun& mode) {
         mode.Racer()->Time = 105.0f;
         mode.Racer()->Finished = 1;
       },
       1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RaceSimRig rig;
    N_GameBodyGamesRun mode(Contest(1, c.timeLimit, c.faultless), rig.Services());
    Start(mode);
    c.play(rig, mode);
    EXPECT_TRUE(mode.Racer()->Finished);
    const float clock = mode.Racer()->Time;
    std::unique_ptr<ExportData> result = mode.PollResult();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Success, c.wantSuccess);
    EXPECT_EQ(result->BuddyTime, clock);
    EXPECT_EQ(result->BuddyTime < 0.0f, c.wantNegativeTime);
    EXPECT_EQ(result->BuddyFalls, mode.Racer()->Falls);
    EXPECT_EQ(mode.PollResult(), nullptr);  // once
  }
}

TEST(BuddyShoot, SeededLaneAndTimeLimit) {
  RaceSimRig rig;
  Srand(11);
  int k = int(RandomRange(0.0f, 29.0f));
  Srand(11);
  N_GameBodyGamesShoot mode(Contest(255, 60.0f, 0, -1, -1, 1), rig.Services());
  Start(mode);
  while (k > 0 && !mode.Path()->GetStand(k)) --k;
  EXPECT_EQ(mode.LaneIndex(), k);
  const N_Racer& r = *mode.Racer();
  EXPECT_EQ(r.Pos.x, mode.Path()->GetStand(k)->StandPosition().x);
  EXPECT_EQ(r.Stance, 1);
  EXPECT_EQ(mode.Path()->GetShootStance(0), 1);

  mode.Update(59.99f);
  EXPECT_FALSE(r.Finished);
  float before = r.Time;
  while (!r.Finished) {
    before = r.Time;
    mode.Update(0.004f);
  }
  EXPECT_LT(before, 60.0f);
  EXPECT_EQ(r.Time, 60.0f);
  std::unique_ptr<ExportData> result = mode.PollResult();
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->Success, 1);
  EXPECT_EQ(result->BuddyTime, 60.0f);
  EXPECT_EQ(result->BuddyShots, r.Shots);
  EXPECT_EQ(result->BuddyMisses, r.Misses);
}

TEST(BuddyShoot, HitsShotsAndEscapeRules) {
  struct Case {
    const char* what;
    std::int32_t targetHits, shotLimit;
    std::int32_t shots, misses;
    bool esc;
    bool wantEnd;
    std::uint8_t wantSuccess;
  };
  const Case cases[] = {
      {"19 hits go on", 20, -1, 19, 0, false, false, 1},
      {"20 hits end it", 20, -1, 20, 0, false, true, 1},
      {"22 shots and 2 misses end it", 20, -1, 22, 2, false, true, 1},
      {"22 shots and 3 misses go on", 20, -1, 22, 3, false, false, 1},
      {"34 shots go on", -1, 35, 34, 5, false, false, 1},
      {"the 35th shot ends it", -1, 35, 35, 5, false, true, 1},
      {"Esc gives it up", -1, -1, 3, 0, true, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RaceSimRig rig;
    N_GameBodyGamesShoot mode(Contest(255, -1.0f, 0, c.targetHits, c.shotLimit), rig.Services());
    Start(mode);
    mode.Update(0.1f);  // the rifle comes up
    N_Racer& r = *mode.Racer();
    r.Shots = c.shots;
    r.Misses = c.misses;
    if (c.esc) Hold(rig, DIK_ESCAPE);
    mode.Update(0.1f);
    EXPECT_EQ(r.Finished != 0, c.wantEnd);
    if (!c.wantEnd) continue;
    std::unique_ptr<ExportData> result = mode.PollResult();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Success, c.wantSuccess);
    EXPECT_FLOAT_EQ(result->BuddyTime, 0.2f);
  }
}

TEST(BuddyShoot, WithoutARangeTheAttemptEndsAtOnce) {
  RaceSimRig rig;
  N_RaceServices services = rig.Services();
  services.level = nullptr;  // no world either: the path network stays empty
  N_GameBodyGamesShoot mode(Contest(255, 60.0f, 0), services);
  Start(mode);
  EXPECT_EQ(mode.LaneIndex(), -1);
  mode.Update(0.1f);
  std::unique_ptr<ExportData> result = mode.PollResult();
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->Success, 0);
  const float* block = &result->BuddyTime;
  EXPECT_FALSE(mode.GetAthleteView(0, &block, nullptr));
  EXPECT_EQ(block, nullptr);
}

}  // namespace
