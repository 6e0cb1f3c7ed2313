// Starting races in the world: the launch contract's order, its fatal allocation
// failure, the developer's camera line of the arcade game, and the pursuit started from
// a qualification's result (and every way it declines, changing nothing).
#include "race/GameArcade.h"
#include "race/GameLaunch.h"
#include "race/PursuitStart.h"

#include "race/GameData.h"
#include "render/Camera.h"
#include "render/TextBatch.h"
#include "tests/race/SetupPagesRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

/// A game noting its life and calls, and the timer's reads when it is paused.
class NotedGame final : public N_Game {
 public:
  NotedGame(std::vector<std::string>& events, std::string name, const test::TestClock& clock)
      : m_events(events), m_name(std::move(name)), m_clock(clock) {
    Note("constructed");
  }
  ~NotedGame() override { Note("deleted"); }
  void Load() override { Note("Load"); }
  void Init() override { Note("Init"); }
  void Update(float) override {}
  void Render(float) override {}
  std::unique_ptr<ExportData> PollResult() override { return nullptr; }
  void OnRemove() override { Note("OnRemove"); }
  std::uint8_t SetPaused(std::uint8_t paused) override {
    Note("SetPaused " + std::to_string(paused));
    readsWhenPaused = m_clock.reads;
    return paused;
  }
  bool GetAthleteView(std::int32_t, const float**, N_Vector3*) override { return false; }

  int readsWhenPaused = 0;

 private:
  void Note(const std::string& what) { m_events.push_back(m_name + " " + what); }
  std::vector<std::string>& m_events;
  std::string m_name;
  const test::TestClock& m_clock;
};

TEST(GameLaunch, RemovesAndDeletesTheOldGameBeforeMakingLoadingAndPausingTheNew) {
  std::vector<std::string> events;  // outlives the world, whose game notes its deletion
  test::RacePagesRig r;
  LaunchGame([&] { return std::make_unique<NotedGame>(events, "old", r.clock); });
  events.clear();
  N_Game* launched = LaunchGame([&] { return std::make_unique<NotedGame>(events, "new", r.clock); });
  EXPECT_EQ(events, (std::vector<std::string>{"old OnRemove", "old deleted", "new constructed", "new Load", "new Init",
                                              "new SetPaused 1"}));
  ASSERT_EQ(r.World().Game(), launched);
  EXPECT_EQ(r.clock.reads - static_cast<NotedGame*>(launched)->readsWhenPaused, 2) << "two timer ticks";
}

TEST(GameLaunchDeathTest, NoMemoryForTheGameIsCritical) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const GameMaker makers[] = {[]() -> std::unique_ptr<N_Game> { throw std::bad_alloc(); },
                              [] { return std::unique_ptr<N_Game>(); }};
  for (const GameMaker& make : makers) {
    EXPECT_EXIT(
        {
          test::RacePagesRig r;
          LaunchGame(make);
        },
        ::testing::ExitedWithCode(255), "There is not enough memory to run a game");
  }
}

TEST(GameArcade, DeveloperModeQueuesTheCameraPosition) {
  N_Camera camera;
  test::RacePagesRig r;
  N_VarMng& vars = *r.rig.core.vars;
  vars.SetInt("font", 3, 2);
  camera.position = {1.0f, 2.0f, 3.0f};
  r.World().SetCurrentCamera(&camera);
  N_GameArcade game(std::make_unique<GameData>());
  N_TextBatch& batch = r.World().TextBatch();

  vars.SetInt("developer", 0, 2);
  const std::uint32_t before = batch.EntryCount();
  game.Render(0.02f);
  EXPECT_EQ(batch.EntryCount(), before);

  vars.SetInt("developer", 1, 2);
  game.Render(0.02f);
  ASSERT_EQ(batch.EntryCount(), before + 1);
  N_TextBatch reference;
  reference.Init();
  reference.AddText("Cam Pos: 1.0 2.0 3.0", 3, 205.0f, 5.0f, 1.0f, 2, 255);
  const N_MeshSurface& queued = batch.Entry(before);
  const N_MeshSurface& expected = reference.Entry(0);
  EXPECT_EQ(queued.shader, 3);
  ASSERT_EQ(queued.vertexCount, expected.vertexCount);
  EXPECT_EQ(std::memcmp(queued.vertices, expected.vertices, sizeof(N_SurfaceVertex) * expected.vertexCount), 0)
      << "the same text, place, scale, colour and alpha";
  r.World().SetCurrentCamera(nullptr);
}

using test::SetupPagesRig;

TEST(PursuitStart, StartsFromTheFinishersWithTheirGapsAndShowsTheStartList) {
  SetupPagesRig r;
  N_VarMng& vars = r.Vars();
  // The arcade's pursuit, then the single race's in its place.
  for (const int gameMode : {0, 1}) {
    SCOPED_TRACE(gameMode);
    vars.SetInt("gamemode", gameMode, 2);
    vars.SetInt("discipline", 4, 2);
    if (gameMode == 0) {
      r.Choose({{"Level1", 2}, {"Weather1", 1}, {"SnowQuality1", 2}, {"Sex1", 0}, {"Difficulty1", 1}, {"Athlets1", 1}});
    } else {
      r.Choose({{"Level3", 6}, {"Weather3", 0}, {"SnowQuality3", 1}, {"Sex3", 0}, {"Difficulty3", 0}, {"Athlets3", 1}});
    }
    const std::int32_t handle = SetupPagesRig::Keep(
        {SetupPagesRig::Row(0, 300.0f), SetupPagesRig::Row(1, 301.5f), SetupPagesRig::Row(2, -1.0f)});

    ASSERT_TRUE(RestartRace(handle));
    EXPECT_EQ(GetFinishedResult(handle), nullptr) << "released";
    EXPECT_EQ(QualificationTime, 301.5f);
    EXPECT_EQ(vars.GetInt("discipline"), 3);
    EXPECT_NE(vars.GetInt("Game"), 0);
    auto* game = dynamic_cast<N_GameArcade*>(r.World().Game());
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(game->Paused());
    const GameData& data = *game->Description();
    ASSERT_EQ(data.StartList.size(), 2u);
    EXPECT_EQ(data.StartList[0].AthleteIndex, 0);
    EXPECT_EQ(data.StartList[0].StartTime, 0.0f);
    EXPECT_EQ(data.StartList[1].AthleteIndex, 1);
    EXPECT_EQ(data.StartList[1].StartTime, -1.5f);
    EXPECT_EQ(data.PlayerIndex, 1);
    EXPECT_EQ(data.Discipline, 3);
    EXPECT_EQ(data.Laps, 5);
    EXPECT_EQ(data.ArcadeLevels, gameMode == 0 ? 1 : 0);
    EXPECT_EQ(data.Difficulty, gameMode == 0 ? 1 : 0);
    EXPECT_EQ(data.Track, gameMode == 0 ? 2 : 6);
    EXPECT_EQ(data.Weather, gameMode == 0 ? 1 : 0);
    EXPECT_EQ(data.SnowQuality, gameMode == 0 ? 2 : 1);
    EXPECT_TRUE(r.PageVisible("StartList"));
    const auto rows = r.Rows("SL/Table");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].back(), "+00:01.500");
  }
}

TEST(PursuitStart, DeclinesWithoutChangingAnything) {
  std::vector<std::string> calls;  // outlives the world, whose game notes its deletion
  SetupPagesRig r;
  N_VarMng& vars = r.Vars();
  vars.SetInt("discipline", 4, 2);
  QualificationTime = 12.5f;
  r.World().SetGame(std::make_unique<test::NotingGame>(calls));
  const N_Game* running = r.World().Game();
  r.Choose({{"Athlets1", 1}});
  auto unchanged = [&](std::int32_t handle) {
    EXPECT_NE(GetFinishedResult(handle), nullptr) << "the result stays with the caller";
    EXPECT_EQ(vars.GetInt("discipline"), 4);
    EXPECT_EQ(QualificationTime, 12.5f);
    EXPECT_EQ(r.World().Game(), running);
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(r.PageVisible("StartList"));
  };

  // The player's time of exactly 0 is no finish.
  vars.SetInt("gamemode", 0, 2);
  std::int32_t handle = SetupPagesRig::Keep({SetupPagesRig::Row(0, 300.0f), SetupPagesRig::Row(1, 0.0f)});
  EXPECT_FALSE(RestartRace(handle));
  unchanged(handle);

  // A page without "Weather1": one log line, before anything is made.
  handle = SetupPagesRig::Keep({SetupPagesRig::Row(0, 300.0f), SetupPagesRig::Row(1, 301.5f)});
  r.World().GuiMng().DestroyElement("Weather1", false);
  r.NewLog();
  EXPECT_FALSE(RestartRace(handle));
  const std::string log = r.NewLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  EXPECT_NE(log.find("Weather1"), std::string::npos) << log;
  unchanged(handle);

  // The time attack looks at no element at all (the missing one is not even noticed).
  vars.SetInt("gamemode", 2, 2);
  EXPECT_FALSE(RestartRace(handle));
  EXPECT_EQ(r.NewLog(), "");
  unchanged(handle);
}

}  // namespace
