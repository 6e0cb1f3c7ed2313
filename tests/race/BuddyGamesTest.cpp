// The buddy games' attempts headless on a sample course: the running contest's
// countdown, status, fall rule, Esc, the pause toggle and its time-limit rule; the
// shooting contest's lane (also on a range of three), time limit with its start signal,
// rifle, scripted series, hits and shots rules, Esc and a range-less course. Launched as a launcher does: Load, Init and SetPaused.
#include "race/GameBodyGamesRun.h"
#include "race/GameBodyGamesShoot.h"

#include "core/KeyDefinitions.h"
#include "core/Random.h"
#include "race/ExportData.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/Shooter.h"
#include "race/ShootingCues.h"
#include "race/ShootingRange.h"
#include "race/SoundCache.h"
#include "race/ai/AiSector.h"
#include "tests/race/AiPathSupport.h"
#include "tests/race/NotingCues.h"
#include "tests/race/RaceSimRig.h"
#include "tests/race/WorldTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
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
  test::NotingSoundMng sound;
  N_SoundCache cache;
  N_RaceServices services = rig.Services();
  services.soundCache = &cache;
  N_GameBodyGamesRun mode(Contest(2, -1.0f, 0), services);
  Start(mode);
  N_Racer& r = *mode.Racer();
  EXPECT_EQ(r.ControlKind, 1);
  EXPECT_NE(r.Sector, nullptr);
  while (r.Time < 0.5f) mode.Update(0.1f);
  ASSERT_EQ(sound.played.size(), 1u);
  EXPECT_EQ(sound.NameOf(sound.played[0]), "sound_start_signal");
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
  RaceSimRig rig(RaceSimRig::Recording::kOff);
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
  test::NotingSoundMng sound;
  N_SoundCache cache;
  N_RaceServices services = rig.Services();
  services.soundCache = &cache;
  Srand(11);
  int k = int(RandomRange(0.0f, 29.0f));
  Srand(11);
  N_GameBodyGamesShoot mode(Contest(255, 60.0f, 0, -1, -1, 1), services);
  Start(mode);
  while (k > 0 && !mode.Path()->GetStand(k)) --k;
  EXPECT_EQ(mode.LaneIndex(), k);
  const N_Racer& r = *mode.Racer();
  EXPECT_EQ(r.Pos.x, mode.Path()->GetStand(k)->StandPosition().x);
  EXPECT_EQ(r.Stance, 1);
  EXPECT_EQ(mode.Path()->GetShootStance(0), 1);

  // The start signal sounds on every update of the last 5 s, not before them.
  const auto signals = [&] {
    return std::count_if(sound.played.begin(), sound.played.end(),
                         [&](int h) { return sound.NameOf(h) == "sound_start_signal"; });
  };
  mode.Update(54.99f);
  EXPECT_EQ(signals(), 0);
  mode.Update(5.0f);
  EXPECT_FALSE(r.Finished);
  EXPECT_EQ(signals(), 1);
  float before = r.Time;
  int updates = 1;
  while (!r.Finished) {
    before = r.Time;
    mode.Update(0.004f);
    if (!r.Finished) ++updates;
  }
  EXPECT_EQ(signals(), updates);  // the ending update sounds nothing
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

TEST(BuddyShoot, ARangeOfThreeLanesGivesOneOfThem) {
  RaceSimRig rig;
  rig.level.triggers.clear();
  rig.level.pointSets.clear();
  rig.level.points.clear();
  test::FillLevel(rig.level, test::ThreeLaneTrack());
  for (unsigned seed = 1; seed <= 5; ++seed) {
    SCOPED_TRACE(seed);
    Srand(seed);
    const int drawn = int(RandomRange(0.0f, 29.0f));
    Srand(seed);
    N_GameBodyGamesShoot mode(Contest(255, 60.0f, 0), rig.Services());
    Start(mode);
    EXPECT_EQ(mode.LaneIndex(), std::min(drawn, 2));
    EXPECT_EQ(mode.Racer()->Lane, mode.Path()->GetStand(mode.LaneIndex()));
  }
}

/// The contest's rifle and its lane.
struct Rifle {
  explicit Rifle(N_GameBodyGamesShoot& mode) : shooter(*mode.Path()->ShootingRange()->Shooter()) {
    SetShootingCues(&cues);
  }
  ~Rifle() { SetShootingCues(nullptr); }
  const N_Shooter& shooter;
  test::NotingCues cues;
};

/// One scripted shot: a cartridge loaded with the right button, then the left one; a
/// hit through the developer keys (Ctrl+Shift+A fells the first standing target), a
/// miss when the rifle aims at nothing (no camera in the rig).
void Shoot(RaceSimRig& rig, N_GameBodyGamesShoot& mode, const N_Shooter& shooter, bool hit) {
  const N_Racer& r = *mode.Racer();
  const auto frame = [&] {
    rig.inputMng->Update();
    mode.Update(0.033f);
  };
  for (int i = 0; i < 300 && !shooter.SeriesState().aiming && !r.Finished; ++i) frame();
  rig.input.ButtonDown(1);
  frame();
  rig.input.ButtonUp(1);
  for (int i = 0; i < 300 && r.ReloadProgress < 1.0f && !r.Finished; ++i) frame();
  const BYTE keys[] = {DIK_LCONTROL, DIK_LSHIFT, DIK_A};
  if (hit) {
    for (const BYTE key : keys) rig.input.KeyDown(key);
  }
  rig.input.ButtonDown(0);
  frame();
  rig.input.ButtonUp(0);
  for (const BYTE key : keys) rig.input.KeyUp(key);
  frame();
}

TEST(BuddyShoot, TheRifleComesUpAtTheFirstUnpausedUpdateAndGoesAwayAtTheEnd) {
  RaceSimRig rig;
  N_GameBodyGamesShoot mode(Contest(255, 60.0f, 0), rig.Services());
  mode.Load();
  mode.Init();
  Rifle rifle(mode);
  mode.SetPaused(1);
  mode.Update(0.1f);
  EXPECT_FALSE(rifle.shooter.Shown());
  mode.SetPaused(0);
  mode.Update(0.1f);
  EXPECT_TRUE(rifle.shooter.Shown());
  EXPECT_EQ(rifle.shooter.SeriesState().racer, mode.Racer());
  EXPECT_EQ(rifle.cues.Take(), (std::vector<std::string>{"ShowShootingPage", "ShowShootingHits"}));
  mode.Update(0.1f);
  EXPECT_EQ(rifle.cues.Take(), std::vector<std::string>{}) << "brought up once";
  Hold(rig, DIK_ESCAPE);
  mode.Update(0.1f);
  ASSERT_NE(mode.PollResult(), nullptr);
  EXPECT_FALSE(rifle.shooter.Shown());
  EXPECT_EQ(rifle.shooter.SeriesState().racer, nullptr);
  const std::vector<std::string> calls = rifle.cues.Take();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "CloseShootingPage"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "HideShootingHits"), calls.end());
}

TEST(BuddyShoot, ScriptedSeries) {
  struct Case {
    const char* what;
    std::uint8_t faultless;
    std::vector<bool> shots;  ///< hit or miss, in turn
    bool wantEnd;
    std::int32_t wantMisses;  ///< the racer's, before the result
  };
  const Case cases[] = {
      {"Faultless: hits go on", 1, {true, true}, false, 0},
      {"Faultless: the first miss ends it", 1, {true, false}, true, 0},
      {"a finished series counts its misses and starts again", 0, {true, false, true, false, true}, false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RaceSimRig rig;
    N_GameBodyGamesShoot mode(Contest(255, 300.0f, c.faultless), rig.Services());
    Start(mode);
    Rifle rifle(mode);
    const N_Racer& r = *mode.Racer();
    for (const bool hit : c.shots) Shoot(rig, mode, rifle.shooter, hit);
    // A finished series: the rifle put down, then a fresh series at the same lane.
    for (int i = 0; i < 300 && !r.Finished && rifle.shooter.SeriesState().shots > 0; ++i) {
      rig.inputMng->Update();
      mode.Update(0.033f);
    }
    EXPECT_EQ(r.Finished != 0, c.wantEnd);
    EXPECT_EQ(r.Misses, c.wantMisses);
    EXPECT_EQ(r.Shots, std::int32_t(c.shots.size()));
    if (c.shots.size() == 5) {
      EXPECT_EQ(r.Lane->HitMask(), 0u) << "the targets stand again";
      EXPECT_EQ(r.Bullets, 5);
      EXPECT_EQ(rifle.shooter.SeriesState().misses, 0);
      EXPECT_TRUE(rifle.shooter.Shown());
    }
    if (!c.wantEnd) {
      Hold(rig, DIK_ESCAPE);
      mode.Update(0.033f);
    }
    std::unique_ptr<ExportData> result = mode.PollResult();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Success, 0);  // given up, or the miss
    EXPECT_EQ(result->BuddyShots, std::int32_t(c.shots.size()));
    EXPECT_EQ(result->BuddyMisses, std::count(c.shots.begin(), c.shots.end(), false));
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
