// The relay headless on a sample course: the teams and the player's team of the set-up,
// the questions of impossible descriptions, a relay of computer teams computed to its
// end (legs, hand-overs, result rows), the player's team skied through its four legs by
// the test pilot with scripted shots, the 7200 s limit of the computation, the athlete
// query and an early deletion. The launch is made as a launcher makes it: Load, Init
// and SetPaused.
#include "race/GameRelay.h"

#include "core/KeyDefinitions.h"
#include "core/Timer.h"
#include "platform/dinput8.h"
#include "platform/win32.h"
#include "race/ExportData.h"
#include "race/Racer.h"
#include "race/RelayRoutines.h"
#include "race/RelayTeam.h"
#include "race/ShootStand.h"
#include "race/Shooter.h"
#include "race/ShootingRange.h"
#include "race/SoundCache.h"
#include "race/SplitBoardRow.h"
#include "race/ai/SplitTable.h"
#include "race/ai/StartPlaces.h"
#include "scene/AnimInstance.h"
#include "scene/AnimSound.h"
#include "tests/race/RaceSimRig.h"
#include "tests/race/WorldTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

namespace {

using test::RaceSimRig;

std::unique_ptr<GameData> Relay(int entries, int player, std::uint8_t laps = 1,
                                std::int32_t discipline = DisciplineCode::kRelay) {
  return RaceSimRig::Race(discipline, entries, 0.0f, player, laps);
}

/// The doubles' camera gets a screen, as the game's has, for the letterbox.
N_RaceServices Services(RaceSimRig& rig) {
  rig.camera.viewportWidth = 1280;
  rig.camera.aspect = 1280.0f / 1024.0f;
  return rig.Services();
}

void Start(N_GameRelay& mode) {
  mode.Load();
  mode.Init();
  mode.SetPaused(0);
}

bool Logged(const RaceSimRig& rig, const std::string& text) {
  return rig.AiLog().find(text) != std::string::npos;
}

TEST(GameRelay, SetUpBuildsTeamsOfFourOnTheirPlaces) {
  RaceSimRig rig;
  N_AnimSound bodySounds;
  N_RaceServices services = Services(rig);
  services.bodySounds = &bodySounds;
  N_GameRelay mode(Relay(16, 7, 3), services);
  Start(mode);
  ASSERT_EQ(mode.TeamCount(), 4u);
  EXPECT_EQ(mode.PlayerTeam(), mode.Team(1));
  const Ai::N_StartPlaces& places = *mode.Path()->StartPlaces();
  for (std::uint32_t t = 0; t < 4; ++t) {
    const N_RelayTeam& team = *mode.Team(t);
    EXPECT_EQ(team.Index, t);
    EXPECT_EQ(team.Active, team.Members[0]);
    EXPECT_EQ(team.Next, team.Members[1]);
    N_Vector3 grid, gridDir, change, changeDir;
    places.GetMassStartPlace(grid, gridDir, t);
    places.GetRelayChangePlace(change, changeDir, std::int32_t(t));
    for (int k = 0; k < 4; ++k) {
      const N_Racer& r = *team.Members[k];
      const N_Vector3 want = k == 0 ? grid : change;
      EXPECT_EQ(r.Pos.x, want.x);
      EXPECT_EQ(r.Pos.y, want.y);
      EXPECT_EQ(r.Bullets, 8);
      EXPECT_EQ(r.LapsLeft, 2);
      EXPECT_EQ(r.Holding, k == 0 ? 1 : 0);
      EXPECT_EQ(r.ControlKind, t == 1 ? 1 : 0);  // the player's team from the first leg on
      EXPECT_EQ(r.AthleteIndex, std::int32_t(t) * 4 + k);
      if (k > 0) {
        EXPECT_EQ(r.Sector, mode.Path()->RelayChangeSector());
      }
      EXPECT_EQ(mode.SplitTable()->Entry(r.StartNumber)->Leg, r.StartNumber % 4);
      // The active member stands ready with its breathing; the waiting ones have none yet.
      if (k == 0) {
        EXPECT_EQ(rig.figures->Instance(r.Athlete->Figure)->queuedAction, 18);
        ASSERT_NE(bodySounds.GetSlot(r.BreathSlot), nullptr);
        EXPECT_EQ(bodySounds.GetSlot(r.BreathSlot)->state, 1);
      } else {
        EXPECT_EQ(r.BreathSlot, -1);
      }
    }
    EXPECT_NE(team.Members[0]->Sector, nullptr);
  }
  EXPECT_TRUE(rig.boxes.empty());
}

TEST(GameRelay, PlayerTeamAndTeamCounts) {
  struct Case {
    int entries, player;
    std::size_t teams, playerTeam;
    const char* question;
  };
  const Case cases[] = {
      {16, -1, 4, 0, nullptr}, {16, 7, 4, 1, nullptr},  {16, 12, 4, 3, nullptr},
      {9, -1, 2, 0, nullptr},  {16, -5, 4, 0, "realgruop is bad: -1"}, {4, 12, 1, 0, "realgruop is bad: 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.entries << " entries, player " << c.player);
    RaceSimRig rig;
    N_GameRelay mode(Relay(c.entries, c.player), Services(rig));
    Start(mode);
    ASSERT_EQ(mode.TeamCount(), c.teams);
    EXPECT_EQ(mode.PlayerTeam(), mode.Team(c.playerTeam));
    EXPECT_EQ(mode.PlayerTeam()->PlayerTeam, 1u);
    if (c.question) {
      ASSERT_EQ(rig.boxes.size(), 1u);
      EXPECT_TRUE(Logged(rig, c.question));
    } else {
      EXPECT_TRUE(rig.boxes.empty());
    }
  }
}

TEST(GameRelay, ImpossibleDescriptionsAskAndGoOn) {
  {
    RaceSimRig rig;
    N_GameRelay mode(Relay(4, -1, 1, DisciplineCode::kMassStart), Services(rig));
    Start(mode);
    EXPECT_TRUE(Logged(rig, "Definovana hra ma  byt relay !!!"));
    EXPECT_EQ(mode.TeamCount(), 1u);
  }
  {
    RaceSimRig rig;
    N_GameRelay mode(Relay(4, -1, 0), Services(rig));
    Start(mode);
    EXPECT_TRUE(Logged(rig, "Pocet kol pre relay je nekorektny !!!"));
    EXPECT_EQ(mode.Team(0)->Members[0]->LapsLeft, 1);  // at least one lap to go
  }
  {
    RaceSimRig rig;
    N_GameRelay mode(Relay(3, -1), Services(rig));
    Start(mode);
    EXPECT_TRUE(Logged(rig, "NumGroups is 0 !!!"));
    EXPECT_EQ(rig.boxes.size(), 1u);
    mode.Update(0.1f);
    std::unique_ptr<ExportData> result = mode.PollResult();
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->Rows.empty());
  }
}

TEST(GameRelayDeathTest, AnsweredYesTheProcessEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    const char* what;
    int entries, player;
    std::uint8_t laps;
    std::int32_t discipline;
    int code;
  };
  const Case cases[] = {
      {"no team", 0, -1, 1, DisciplineCode::kRelay, 7},
      {"a player past the teams", 4, 12, 1, DisciplineCode::kRelay, 7},
      {"not a relay", 4, -1, 1, DisciplineCode::kMassStart, 6},
      {"no lap", 4, -1, 0, DisciplineCode::kRelay, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EXIT(
        {
          RaceSimRig rig;
          rig.answer = IDYES;
          N_GameRelay mode(Relay(c.entries, c.player, c.laps, c.discipline), Services(rig));
          Start(mode);
        },
        testing::ExitedWithCode(c.code), "");
  }
}

/// A timer whose every frame lasts a quarter second, counting its ticks.
struct CountingTimer final : N_TimerBase {
  int Tick() override { return ++ticks; }
  double GetFrameTime() const override { return 0.25; }
  double GetTime() const override { return 0.25 * ticks; }
  const char* GetStatusText() const override { return ""; }
  int ticks = 0;
};

TEST(GameRelay, EscapeComputesTheOtherTeamsThroughTheirLegs) {
  RaceSimRig rig;
  test::NotingSoundMng sound;
  N_SoundCache cache;
  CountingTimer timer;
  N_RaceServices services = Services(rig);
  services.soundCache = &cache;
  services.timer = &timer;
  N_GameRelay mode(Relay(12, 8, 1), services);
  Start(mode);
  // The countdown and a little of the first leg, then Esc.
  while (mode.Team(0)->Members[0]->Time < 2.0f) mode.Update(0.1f);
  ASSERT_EQ(sound.played.size(), 1u);
  EXPECT_EQ(sound.NameOf(sound.played[0]), "sound_start_mass");
  EXPECT_EQ(rig.hud.Named("ShowStartInfo").size(), 1u);
  EXPECT_FALSE(rig.hud.Named("UpdateStartCounter").empty());
  EXPECT_EQ(rig.hud.Named("ShowPlayerStatus").size(), 1u);
  EXPECT_EQ(mode.PollResult(), nullptr);
  const int ticksBefore = timer.ticks;
  // Paused by the toggle, then Esc held: the computation still runs to the end.
  rig.input.Tap(static_cast<BYTE>(g_keyDefinitions[key_action::kPause]));
  rig.inputMng->Update();
  mode.Update(0.033f);
  ASSERT_TRUE(mode.Controls().IsPaused());
  rig.input.KeyDown(DIK_ESCAPE);
  rig.inputMng->Update();
  mode.Update(0.033f);
  EXPECT_TRUE(mode.RaceOver());
  std::unique_ptr<ExportData> result = mode.PollResult();
  ASSERT_NE(result, nullptr);
  ASSERT_EQ(result->Rows.size(), 12u);
  EXPECT_EQ(result->Rows[8].Time, -1.0f);  // the player's team, given up in its first leg
  for (std::size_t t = 0; t < 2; ++t) {
    const N_RelayTeam& team = *mode.Team(t);
    EXPECT_TRUE(team.Finished);
    EXPECT_EQ(team.Active, team.Members[3]);  // four legs skied
    for (int k = 0; k < 4; ++k) {
      const N_ResultRow& row = result->Rows[t * 4 + std::size_t(k)];
      EXPECT_EQ(row.StartNumber, team.Members[k]->StartNumber);
      EXPECT_EQ(row.AthleteIndex, std::int32_t(t) * 4 + k);
      EXPECT_GT(row.Time, 0.0f);
      EXPECT_GE(row.LapsDone, 1);
    }
  }
  EXPECT_TRUE(Logged(rig, "DoCompunting\n"));
  // The computation ticks the application timer (twice first, once at the end and once
  // per log line), so its seconds are not the next frame's step.
  EXPECT_GE(timer.ticks - ticksBefore, 3);
  EXPECT_TRUE(Logged(rig, "DoCompunting time: "));
}

TEST(GameRelay, AComputerTeamHandsOverLegAfterLeg) {
  RaceSimRig rig(RaceSimRig::Recording::kOff);
  N_GameRelay mode(Relay(8, 4, 1), Services(rig));
  Start(mode);
  const N_RelayTeam& team = *mode.Team(0);
  std::vector<const N_Racer*> legs{team.Active};
  bool sawShown = false, sawHandOver = false;
  for (int frame = 0; frame < 40000 && !team.Finished; ++frame) {
    mode.Update(0.1f);
    mode.Render(0.1f);  // the figures advance as they are drawn
    if (team.Active && team.Next && !team.IsLastLeg()) {
      if (team.Flags & N_RelayTeam::kHandOver) {
        sawHandOver = true;
        EXPECT_EQ(team.Next->Anim, 17);
      } else if (team.Flags & N_RelayTeam::kShowNext) {
        sawShown = true;
        EXPECT_EQ(team.Next->Anim, 46);
      }
    }
    if (team.Active != legs.back()) {
      legs.push_back(team.Active);
      EXPECT_EQ(team.Flags & N_RelayTeam::kClearedByHandOver, 0u);
      EXPECT_EQ(legs[legs.size() - 2]->Stopped, 0);  // only the last leg stops at the finish
    }
  }
  EXPECT_TRUE(sawShown);
  EXPECT_TRUE(sawHandOver);
  ASSERT_TRUE(team.Finished);
  EXPECT_EQ(legs, (std::vector<const N_Racer*>{team.Members[0], team.Members[1], team.Members[2], team.Members[3]}));
  EXPECT_GT(team.TeamTime, team.Members[3]->Time);  // the legs' clocks add up to the team's
  EXPECT_FALSE(mode.RaceOver());                      // the player's team still stands at its start
}

TEST(GameRelay, PlayersHandOverDrawsTheLetterboxAndShowsTheNewMemberAndTheTeamsPlace) {
  RaceSimRig rig;
  N_GameRelay mode(Relay(16, 12, 1), Services(rig));
  Start(mode);
  N_RelayTeam& team = *mode.PlayerTeam();
  N_Racer& in = *team.Members[0];
  N_Racer& out = *team.Members[1];
  while (in.Time < 1.0f) {
    mode.Update(0.1f);
    mode.Render(0.1f);
  }
  // The first legs passed the first checkpoint, the player's team last of the four.
  for (std::uint32_t t = 0; t < 4; ++t) {
    const N_Racer& first = *mode.Team(t)->Members[0];
    mode.SplitTable()->RecordRelaySplit(0, first.StartNumber, 100.0f + float(t), 1, &first == &in);
  }
  // The first leg comes into the change zone on its last lap, the hand-over asked for.
  in.LapsLeft = 0;
  in.Holding = 0;
  in.Sector = out.Sector;
  N_Vector3 offset;
  mode.Path()->StartPlaces()->GetRelayChangeOffset(offset, std::int32_t(team.Index));
  in.Pos = out.Pos - offset;
  in.Speed = 5.0f;
  team.Flags |= N_RelayTeam::kHandOver;
  bool sawBars = false, sawHandler = false;
  for (int frame = 0; frame < 200 && team.Active == &in; ++frame) {
    mode.Update(0.1f);
    mode.Render(0.1f);
    if (team.Active == &in) {
      EXPECT_EQ(in.ControlKind, 0);
      sawBars |= mode.LetterboxLevel() > 0.0f;
      sawHandler |= in.Anim == kRelayHandAnim;
    }
  }
  ASSERT_EQ(team.Active, &out);
  EXPECT_TRUE(sawBars);
  EXPECT_TRUE(sawHandler);
  EXPECT_EQ(in.ControlKind, 1);
  EXPECT_EQ(rig.hud.Named("ShowPlayerStatus").back(),
            "ShowPlayerStatus " + out.Athlete->AthletName + " " + out.Athlete->Nationality);
  for (int frame = 0; frame < 40; ++frame) mode.Update(0.1f);
  EXPECT_EQ(mode.LetterboxLevel(), 0.0f);
  // "time speed heart power condition position lap laps": the new leg runs fourth, and
  // the place shown was the team's among the four from the start, before the first
  // checkpoint too.
  const std::vector<std::string> statuses = rig.hud.Named("UpdatePlayerStatus");
  for (const std::string& status : statuses) {
    ASSERT_EQ(status.substr(status.rfind(' ', status.rfind(' ', status.rfind(' ') - 1) - 1)), " 4 1 1") << status;
  }
  EXPECT_GT(statuses.size(), 60u);
}

/// The player's shots at the range, one press a frame and a release the next: a
/// cartridge loaded with the right button, then the left one; every third shot aimed at
/// nothing (the rig has no camera), the others hits through the developer keys
/// (Ctrl+Shift+A fells the first standing target).
struct ShotScript {
  void Frame(RaceSimRig& rig, const N_Racer& r, const N_Shooter& rifle) {
    // A is also a turn key: released only after a hit of this script's.
    const BYTE dev[] = {DIK_LCONTROL, DIK_LSHIFT, DIK_A};
    rig.input.ButtonUp(0);
    rig.input.ButtonUp(1);
    if (std::exchange(devHeld, false)) {
      for (const BYTE key : dev) rig.input.KeyUp(key);
    }
    if (pressed || r.ShootPhase != 5 || !rifle.SeriesState().aiming) {
      pressed = false;
      return;
    }
    if (r.ReloadProgress < 0.01f) {
      rig.input.ButtonDown(1);
      pressed = true;
    } else if (r.ReloadProgress >= 1.0f) {
      if (++shots % 3 != 1) {
        for (const BYTE key : dev) rig.input.KeyDown(key);
        devHeld = true;
      }
      rig.input.ButtonDown(0);
      pressed = true;
    }
  }
  bool pressed = false;
  bool devHeld = false;
  int shots = 0;
};

TEST(GameRelay, ThePilotSkisThePlayersFourLegsAndTheResultHoldsEveryLeg) {
  RaceSimRig rig(RaceSimRig::Recording::kOff);
  auto data = Relay(16, 12, 1);
  data->Sex = 0;
  N_GameRelay mode(std::move(data), Services(rig));
  Start(mode);
  const N_RelayTeam& team = *mode.PlayerTeam();
  ASSERT_EQ(&team, mode.Team(3));
  const N_Shooter& rifle = *mode.Path()->ShootingRange()->Shooter();
  ShotScript script;
  std::vector<const N_Racer*> legs{team.Active};
  float peakBars = 0.0f;
  std::unique_ptr<ExportData> result;
  for (int frame = 0; frame < 60000 && !result; ++frame) {
    if (team.Active) {
      const N_Racer& a = *team.Active;
      // First the steering (it lets the turn keys go): into the drawn lane's approach,
      // turned on the spot at the stand until facing the targets, else along the course.
      N_ShootStand stand;
      if (a.ShootPhase == 1 && a.Lane && FindShootStand(*mode.Path(), *a.Lane, stand)) {
        rig.SteerTowards(a, stand.approach.center);
      } else if (a.ShootPhase == 3) {
        rig.SteerTowards(a, a.Pos);
        rig.input.KeyUp(static_cast<BYTE>(g_keyDefinitions[key_action::kForward]));
        rig.input.KeyDown(static_cast<BYTE>(g_keyDefinitions[key_action::kLeft]));
      } else {
        rig.SteerByKeys(a);
      }
      script.Frame(rig, a, rifle);
      if (team.Active != legs.back()) legs.push_back(team.Active);
    }
    rig.inputMng->Update();
    mode.Update(0.1f);
    mode.Render(0.1f);
    peakBars = std::max(peakBars, mode.LetterboxLevel());
    result = mode.PollResult();
  }
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(legs, (std::vector<const N_Racer*>{team.Members[0], team.Members[1], team.Members[2], team.Members[3]}));
  EXPECT_GT(peakBars, 0.0f);
  EXPECT_EQ(mode.LetterboxLevel(), 0.0f);
  const std::vector<std::string> shown = rig.hud.Named("ShowPlayerStatus");
  for (const N_Racer* r : team.Members) {
    const std::string status = "ShowPlayerStatus " + r->Athlete->AthletName + " " + r->Athlete->Nationality;
    EXPECT_EQ(std::count(shown.begin(), shown.end(), status), 1) << status;
  }
  ASSERT_EQ(result->Rows.size(), 16u);
  EXPECT_EQ(result->Sex, 0);
  for (std::size_t t = 0; t < 4; ++t) {
    const N_RelayTeam& each = *mode.Team(t);
    EXPECT_TRUE(each.Finished);
    for (int k = 0; k < 4; ++k) {
      SCOPED_TRACE(testing::Message() << "team " << t << " leg " << k);
      const N_Racer& r = *each.Members[k];
      const N_ResultRow& row = result->Rows[t * 4 + std::size_t(k)];
      EXPECT_EQ(row.AthleteIndex, std::int32_t(t) * 4 + k);
      EXPECT_EQ(row.StartNumber, r.StartNumber);
      EXPECT_GT(row.Time, 0.0f);
      EXPECT_EQ(row.Time, r.Time);
      EXPECT_GE(row.LapsDone, 1);
      EXPECT_EQ(row.LapsDone, r.LapsDone);
      EXPECT_EQ(row.Misses, r.Misses);
      EXPECT_EQ(row.FullPowerTime, r.FullPowerTime);
      EXPECT_EQ(row.Condition, r.Condition);
      EXPECT_EQ(row.Falls, r.Falls);
      EXPECT_EQ(r.ControlKind, t == 3 ? 1 : 0);
      if (t == 3) {
        EXPECT_GE(r.Shots, 5) << "the player's scripted series";
      }
    }
  }
}

TEST(GameRelay, ComputationStopsAStuckTeamAfter7200Seconds) {
  RaceSimRig rig;
  N_GameRelay mode(Relay(8, 4, 1), Services(rig));
  Start(mode);
  // Team 0's first member never moves on: its clock stands at the start.
  N_Racer& stuck = *mode.Team(0)->Members[0];
  stuck.Stopped = 1;
  stuck.Time = 0.0f;
  stuck.Sector = nullptr;
  rig.input.KeyDown(DIK_ESCAPE);
  rig.inputMng->Update();
  mode.Update(0.033f);
  std::unique_ptr<ExportData> result = mode.PollResult();
  ASSERT_NE(result, nullptr);
  EXPECT_TRUE(mode.Team(0)->Finished);
  EXPECT_EQ(mode.Team(0)->TeamTime, -1.0f);
  EXPECT_EQ(result->Rows[0].Time, -1.0f);
  EXPECT_TRUE(stuck.Disqualified);
}

TEST(GameRelay, AthleteQueryAnswersActiveMembersOnly) {
  RaceSimRig rig;
  N_GameRelay mode(Relay(8, -1), Services(rig));
  Start(mode);
  const N_Racer& active = *mode.Team(1)->Active;
  const N_Racer& waiting = *mode.Team(1)->Next;
  const float* block = nullptr;
  N_Vector3 point;
  ASSERT_GE(active.Athlete->Figure, 0);
  EXPECT_TRUE(mode.GetAthleteView(active.Athlete->Figure, &block, &point));
  EXPECT_EQ(block, &active.Probes[0].x);
  block = &point.x;
  EXPECT_FALSE(mode.GetAthleteView(waiting.Athlete->Figure, &block, &point));
  EXPECT_EQ(block, nullptr);
}

TEST(GameRelay, DeletedBeforeInitOrMidRaceReleasesWhatItHas) {
  RaceSimRig rig;
  {
    N_GameRelay mode(Relay(16, -1), Services(rig));
    mode.Load();
    EXPECT_EQ(mode.Team(0), nullptr);  // no team to release
  }
  {
    N_GameRelay mode(Relay(16, -1), Services(rig));
    Start(mode);
    for (int i = 0; i < 100; ++i) mode.Update(0.1f);
  }
  // Every racer gone (the counter starts again); the sanitizer build checks the rest.
  EXPECT_EQ(N_Racer::NextStartNumber(), 1);
}

}  // namespace
