// The arcade game headless on a sample course: the fixed steps with the range first,
// the two pauses, the set-up (shooting pattern, log lines, places by the description's
// discipline whatever "GameType" says), its fatal descriptions, the result handed over
// once and the athlete query.
#include "race/GameArcade.h"

#include "core/KeyDefinitions.h"
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
#include <utility>
#include <vector>

namespace {

using test::RaceSimRig;
using Call = std::pair<std::string, float>;

std::vector<float> Xyz(const N_Vector3& v) { return {v.x, v.y, v.z}; }

/// An arcade game whose range and race steps and draws are noted instead of made.
class RecordingArcade final : public N_GameArcade {
 public:
  using N_GameArcade::N_GameArcade;
  std::vector<Call> calls;

 protected:
  void StepRange(float dt) override { calls.emplace_back("range", dt); }
  void StepRace(float dt) override { calls.emplace_back("race", dt); }
  void RenderRace(float dt) override { calls.emplace_back("render", dt); }
  void RenderTargets(float dt) override { calls.emplace_back("targets", dt); }
};

void ExpectCalls(const std::vector<Call>& calls, const std::vector<Call>& expected) {
  ASSERT_EQ(calls.size(), expected.size());
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].first, expected[i].first) << i;
    EXPECT_NEAR(calls[i].second, expected[i].second, 1e-6f) << i;
  }
}

/// Range then race, each frame step.
std::vector<Call> Steps(std::initializer_list<float> steps) {
  std::vector<Call> calls;
  for (float s : steps) {
    calls.emplace_back("range", s);
    calls.emplace_back("race", s);
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
  };
  struct Case {
    float frame;
    std::vector<Call> steps;
  };
  const Case cases[] = {{0.1f, Steps({0.033f, 0.033f, 0.033f, 0.001f})},
                        {0.02f, Steps({0.02f})},
                        {0.033f, Steps({0.033f})},
                        {0.066f, Steps({0.033f, 0.033f})}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    frame(c.frame);
    ExpectCalls(game.calls, c.steps);
  }

  // Paused by SetPaused: nothing is stepped and the controls are not even polled, so
  // the pause key pressed meanwhile is never seen.
  EXPECT_EQ(game.SetPaused(1), 1);
  rig.input.Tap(DIK_F5);
  frame(0.1f);
  EXPECT_TRUE(game.calls.empty());
  game.SetPaused(0);
  frame(0.05f);
  ExpectCalls(game.calls, Steps({0.033f, 0.017f}));

  // The pause key engaged: one race step of 0 a frame, no range; drawn with 0.
  rig.input.Tap(DIK_F5);
  for (int i = 0; i < 2; ++i) {
    frame(0.1f);
    ExpectCalls(game.calls, {{"race", 0.0f}});
  }
  game.calls.clear();
  game.Render(0.05f);
  ExpectCalls(game.calls, {{"render", 0.0f}, {"targets", 0.0f}});
  rig.input.Tap(DIK_F5);
  frame(0.02f);
  ExpectCalls(game.calls, Steps({0.02f}));
  game.calls.clear();
  game.Render(0.05f);
  ExpectCalls(game.calls, {{"render", 0.05f}, {"targets", 0.05f}});
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
    std::vector<std::int32_t> stances;  // rounds 0 to 6
  };
  const Case cases[] = {
      {0, DisciplineCode::kMassStart, 3, "GameArcade: Sprint.\n", {2, 1, 0, 0, 0, 0, 0}},
      {1, DisciplineCode::kSprint, 4, "GameArcade:\tHunting.\n", {2, 2, 1, 1, 0, 0, 0}},
      {2, DisciplineCode::kHunting, 5, "GameArcade: MassStart.\n", {2, 2, 1, 1, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gameType);
    vars.SetInt("GameType", c.gameType, 2);
    const std::size_t logMark = rig.core.LogText().size();
    N_GameArcade game(RaceSimRig::Race(c.discipline, 6, 0.0f, 0, c.laps), rig.Services());
    game.Load();
    EXPECT_NE(vars.GetInt("Game"), 0);
    game.Init();
    EXPECT_TRUE(game.Paused());
    const std::string log = rig.core.LogText().substr(logMark);
    EXPECT_NE(log.find(std::string("GameArcade Initializing.\n") + c.line + "GameArcade Initializing done.\n"),
              std::string::npos)
        << log;
    std::vector<std::int32_t> stances;
    for (std::uint32_t round = 0; round < 7; ++round) stances.push_back(game.Path()->GetShootStance(round));
    EXPECT_EQ(stances, c.stances);
    const N_RaceSim& race = *game.RaceSim();
    ASSERT_EQ(race.RacerCount(), 6u);
    for (std::size_t i = 0; i < race.RacerCount(); ++i) {
      N_Vector3 place, heading;
      if (c.discipline == DisciplineCode::kMassStart) places.GetMassStartPlace(place, heading, std::uint32_t(i));
      if (c.discipline == DisciplineCode::kSprint) places.GetSprintStart(place, heading);
      if (c.discipline == DisciplineCode::kHunting) places.GetPursuitPlace(place, heading, std::uint32_t(i));
      EXPECT_EQ(race.Racer(i).Pos.x, place.x) << i;
      EXPECT_EQ(race.Racer(i).Pos.y, place.y) << i;
    }
  }
}

TEST(GameArcadeDeathTest, AnUnknownGameTypeOrNoDescriptionEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        RaceSimRig rig;
        rig.core.vars->SetInt("GameType", 7, 2);
        N_GameArcade game(RaceSimRig::Race(DisciplineCode::kSprint, 2, 0.0f, 0), rig.Services());
        game.Load();
        game.Init();
      },
      ::testing::ExitedWithCode(255), "Undefined GameType");
  EXPECT_EXIT(
      {
        RaceSimRig rig;
        N_GameArcade game(nullptr, rig.Services());
        game.Load();
        game.Init();
      },
      ::testing::ExitedWithCode(255), "Gamearcade:  GAMEDATA is NULL");
}

TEST(GameArcade, HandsTheResultOverOnceWithARowPerRacerAndFindsRacersByFigure) {
  RaceSimRig rig;
  N_GameArcade game(RaceSimRig::Race(DisciplineCode::kSprint, 4, 7.0f, 1), rig.Services());
  game.Load();
  game.Init();
  game.SetPaused(0);
  for (int i = 0; i < 10; ++i) {
    rig.inputMng->Update();
    game.Update(0.05f);
  }
  EXPECT_EQ(game.PollResult(), nullptr) << "still racing";

  // An id that no racer's figure carries: false, both outputs untouched.
  const N_Racer& second = game.RaceSim()->Racer(1);
  const float sentinel[9] = {};
  const float* block = sentinel;
  N_Vector3 point{7.0f, 8.0f, 9.0f};
  EXPECT_FALSE(game.GetAthleteView(-5, &block, &point));
  EXPECT_EQ(block, sentinel);
  EXPECT_EQ(Xyz(point), (std::vector<float>{7.0f, 8.0f, 9.0f}));
  ASSERT_GE(second.Athlete->Figure, 0);
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
