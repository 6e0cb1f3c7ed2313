// The arcade game headless on a sample course: the fixed steps with the range first,
// both pauses, the set-up (shooting pattern, log lines, places by the description's
// discipline whatever "GameType" says), its fatal descriptions, the result handed over
// once and the athlete query.
#include "race/GameArcade.h"

#include "core/FormatString.h"
#include "core/VarMng.h"
#include "platform/dinput8.h"
#include "race/ExportData.h"
#include "race/GameData.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/ai/StartPlaces.h"
#include "tests/race/RaceSimRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test::RaceSimRig;

/// An arcade game noting its range and race steps and its draws ("range 0.033") instead.
class RecordingArcade final : public N_GameArcade {
 public:
  using N_GameArcade::N_GameArcade;
  std::vector<std::string> calls;

 protected:
  void StepRange(float dt) override { Note("range", dt); }
  void StepRace(float dt) override { Note("race", dt); }
  void RenderRace(float dt) override { Note("render", dt); }
  void RenderTargets(float dt) override { Note("targets", dt); }

 private:
  void Note(const char* what, float dt) { calls.push_back(FormatString("%s %.3f", what, double(dt))); }
};

/// The calls of steps of these lengths: the range, then the race, each time.
std::vector<std::string> Steps(std::initializer_list<const char*> steps) {
  std::vector<std::string> calls;
  for (const char* s : steps) {
    calls.push_back(std::string("range ") + s);
    calls.push_back(std::string("race ") + s);
  }
  return calls;
}

TEST(GameArcade, StepsAFrameInFixedStepsTheRangeFirstAndHonoursBothPauses) {
  RaceSimRig rig;
  RecordingArcade game(RaceSimRig::Race(DisciplineCode::kSprint, 3, 7.0f, 0), rig.Services());
  game.Load();
  game.Init();
  game.SetPaused(0);
  auto frame = [&](float dt) {
    game.calls.clear();
    rig.inputMng->Update();
    game.Update(dt);
    return game.calls;
  };
  EXPECT_EQ(frame(0.1f), Steps({"0.033", "0.033", "0.033", "0.001"}));
  EXPECT_EQ(frame(0.02f), Steps({"0.020"}));
  EXPECT_EQ(frame(0.033f), Steps({"0.033"}));
  EXPECT_EQ(frame(0.066f), Steps({"0.033", "0.033"}));

  // Paused by SetPaused: no step, and the pause key pressed meanwhile is never polled.
  EXPECT_EQ(game.SetPaused(1), 1);
  rig.input.Tap(DIK_F5);
  EXPECT_TRUE(frame(0.1f).empty());
  game.SetPaused(0);
  EXPECT_EQ(frame(0.05f), Steps({"0.033", "0.017"}));

  // The pause key engaged: one race step of 0 a frame, no range, drawn with 0.
  rig.input.Tap(DIK_F5);
  EXPECT_EQ(frame(0.1f), std::vector<std::string>{"race 0.000"});
  EXPECT_EQ(frame(0.1f), std::vector<std::string>{"race 0.000"});
  game.calls.clear();
  game.Render(0.05f);
  EXPECT_EQ(game.calls, (std::vector<std::string>{"render 0.000", "targets 0.000"}));
  rig.input.Tap(DIK_F5);
  EXPECT_EQ(frame(0.02f), Steps({"0.020"}));
  game.calls.clear();
  game.Render(0.05f);
  EXPECT_EQ(game.calls, (std::vector<std::string>{"render 0.050", "targets 0.050"}));
}

TEST(GameArcade, InitSetsThePatternLogsGameTypeAndPlacesByTheDiscipline) {
  RaceSimRig rig;
  N_VarMng& vars = *rig.core.vars;
  const Ai::N_StartPlaces& places = *rig.path->StartPlaces();
  struct Case {
    int gameType;
    std::int32_t discipline;
    std::uint8_t laps;
    const char* line;
    std::vector<std::int32_t> stances;  // rounds 0 to 6: "LSVVV" or "LLSSVVV"
  };
  for (const Case& c : {Case{0, DisciplineCode::kMassStart, 3, "GameArcade: Sprint.\n", {2, 1, 0, 0, 0, 0, 0}},
                        Case{1, DisciplineCode::kSprint, 4, "GameArcade:\tHunting.\n", {2, 2, 1, 1, 0, 0, 0}},
                        Case{2, DisciplineCode::kHunting, 5, "GameArcade: MassStart.\n", {2, 2, 1, 1, 0, 0, 0}},
                        // A value of config.cfg the game has no race kind for (it used to
                        // end every race start): logged and set to 0, which is saved.
                        Case{-7, DisciplineCode::kSprint, 3,
                             "!!! GameType -7 is not 0, 1 or 2: taken as 0\nGameArcade: Sprint.\n",
                             {2, 1, 0, 0, 0, 0, 0}}}) {
    SCOPED_TRACE(c.gameType);
    vars.SetInt("GameType", c.gameType, 2);
    const std::size_t logMark = rig.core.LogText().size();
    N_GameArcade game(RaceSimRig::Race(c.discipline, 6, 0.0f, 0, c.laps), rig.Services());
    game.Load();
    EXPECT_NE(vars.GetInt("Game"), 0);
    game.Init();
    EXPECT_NE(rig.core.LogText().find(std::string("GameArcade Initializing.\n") + c.line +
                                          "GameArcade Initializing done.\n",
                                      logMark),
              std::string::npos);
    EXPECT_EQ(vars.GetInt("GameType"), std::max(c.gameType, 0));
    std::vector<std::int32_t> stances;
    for (std::uint32_t round = 0; round < 7; ++round) stances.push_back(game.Path()->GetShootStance(round));
    EXPECT_EQ(stances, c.stances);
    ASSERT_EQ(game.RaceSim()->RacerCount(), 6u);
    for (std::uint32_t i = 0; i < 6; ++i) {
      N_Vector3 place, heading;
      if (c.discipline == DisciplineCode::kMassStart) places.GetMassStartPlace(place, heading, i);
      if (c.discipline == DisciplineCode::kSprint) places.GetSprintStart(place, heading);
      if (c.discipline == DisciplineCode::kHunting) places.GetPursuitPlace(place, heading, i);
      const N_Vector3& at = game.RaceSim()->Racer(i).Pos;
      EXPECT_TRUE(at.x == place.x && at.y == place.y) << i;
    }
  }
}

TEST(GameArcadeDeathTest, NoDescriptionEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto start = [] {
    RaceSimRig rig;
    N_GameArcade game(nullptr, rig.Services());
    game.Load();
    game.Init();
  };
  EXPECT_EXIT(start(), ::testing::ExitedWithCode(255), "Gamearcade:  GAMEDATA is NULL");
}

TEST(GameArcade, HandsTheResultOverOnceWithARowPerRacerAndFindsRacersByFigure) {
  RaceSimRig rig;
  N_GameArcade game(RaceSimRig::Race(DisciplineCode::kSprint, 4, 7.0f, 1), rig.Services());
  game.Load();
  game.Init();
  game.SetPaused(0);
  for (int i = 0; i < 10; ++i) game.Update(0.05f);
  EXPECT_EQ(game.PollResult(), nullptr) << "still racing";

  // An id no racer's figure carries: false, both outputs untouched.
  const float sentinel[9] = {};
  const float* block = sentinel;
  N_Vector3 point{7.0f, 8.0f, 9.0f};
  EXPECT_FALSE(game.GetAthleteView(-5, &block, &point));
  EXPECT_TRUE(block == sentinel && point.x == 7.0f && point.y == 8.0f && point.z == 9.0f);
  const N_Racer& second = game.RaceSim()->Racer(1);
  EXPECT_TRUE(game.GetAthleteView(second.Athlete->Figure, &block, &point));
  EXPECT_EQ(block, &second.Probes[0].x);

  game.Simulate();
  std::unique_ptr<ExportData> result = game.PollResult();
  ASSERT_NE(result, nullptr);
  ASSERT_EQ(result->Rows.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(result->Rows[i].StartNumber, std::int32_t(i) + 1);
  EXPECT_EQ(game.Description(), nullptr) << "destroyed by the export";
  EXPECT_EQ(game.PollResult(), nullptr) << "handed over once";
}

}  // namespace
