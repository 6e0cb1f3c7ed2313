// Starting races in the world: the launch's order and its fatal allocation failure,
// the arcade game's developer line, and the pursuit started from a qualification's
// result (and every way it declines, changing nothing).
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

using test::SetupPagesRig;

/// A game noting its life and calls ("new Load"), and the timer's reads when paused.
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
  for (const GameMaker& make : {GameMaker([]() -> std::unique_ptr<N_Game> { throw std::bad_alloc(); }),
                                GameMaker([] { return std::unique_ptr<N_Game>(); })}) {
    EXPECT_EXIT(
        {
          test::RacePagesRig r;
          LaunchGame(make);
        },
        ::testing::ExitedWithCode(255), "There is not enough memory to run a game");
  }
}

TEST(GameArcade, DeveloperModeQueuesTheCameraPosition) {
  N_Camera camera;  // outlives the world that shows through it
  test::RacePagesRig r;
  N_VarMng& vars = *r.rig.core.vars;
  vars.SetInt("font", 3, 2);
  camera.position = {1.0f, 2.0f, 3.0f};
  r.World().SetCurrentCamera(&camera);
  N_GameArcade game(std::make_unique<GameData>());
  N_TextBatch& batch = r.World().TextBatch();
  const std::uint32_t before = batch.EntryCount();
  vars.SetInt("developer", 0, 2);
  game.Render(0.02f);
  EXPECT_EQ(batch.EntryCount(), before);
  vars.SetInt("developer", 1, 2);
  game.Render(0.02f);
  ASSERT_EQ(batch.EntryCount(), before + 1);
  // The same text, place, scale, colour and alpha as queued by hand.
  N_TextBatch expected;
  expected.Init();
  expected.AddText("Cam Pos: 1.0 2.0 3.0", 3, 205.0f, 5.0f, 1.0f, 2, 255);
  const N_MeshSurface& queued = batch.Entry(before);
  EXPECT_EQ(queued.shader, 3);
  ASSERT_EQ(queued.vertexCount, expected.Entry(0).vertexCount);
  EXPECT_EQ(std::memcmp(queued.vertices, expected.Entry(0).vertices, sizeof(N_SurfaceVertex) * queued.vertexCount), 0);
}

TEST(PursuitStart, StartsFromTheFinishersWithTheirGapsAndShowsTheStartList) {
  SetupPagesRig r;
  N_VarMng& vars = r.Vars();
  r.Choose({{"Level1", 2}, {"Weather1", 1}, {"SnowQuality1", 2}, {"Sex1", 0}, {"Difficulty1", 1}, {"Athlets1", 1}});
  r.Choose({{"Level3", 6}, {"Weather3", 0}, {"SnowQuality3", 1}, {"Sex3", 0}, {"Difficulty3", 0}, {"Athlets3", 1}});
  // The arcade's pursuit, then the single race's in its place.
  for (const int gameMode : {0, 1}) {
    SCOPED_TRACE(gameMode);
    vars.SetInt("gamemode", gameMode, 2);
    vars.SetInt("discipline", 4, 2);
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
    EXPECT_TRUE(data.StartList[0].AthleteIndex == 0 && data.StartList[0].StartTime == 0.0f);
    EXPECT_TRUE(data.StartList[1].AthleteIndex == 1 && data.StartList[1].StartTime == -1.5f);
    EXPECT_EQ(std::vector<int>({data.PlayerIndex, data.Discipline, data.Laps, data.ArcadeLevels, data.Difficulty,
                                data.Track, data.Weather, data.SnowQuality}),
              gameMode == 0 ? std::vector<int>({1, 3, 5, 1, 1, 2, 1, 2}) : std::vector<int>({1, 3, 5, 0, 0, 6, 0, 1}));
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
  };
  // The player's time of exactly 0 is no finish.
  vars.SetInt("gamemode", 0, 2);
  std::int32_t handle = SetupPagesRig::Keep({SetupPagesRig::Row(0, 300.0f), SetupPagesRig::Row(1, 0.0f)});
  EXPECT_FALSE(RestartRace(handle));
  unchanged(handle);

  // A page without "Weather1": one log line.
  handle = SetupPagesRig::Keep({SetupPagesRig::Row(0, 300.0f), SetupPagesRig::Row(1, 301.5f)});
  r.World().GuiMng().DestroyElement("Weather1", false);
  r.NewLog();
  EXPECT_FALSE(RestartRace(handle));
  const std::string log = r.NewLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  EXPECT_NE(log.find("Weather1"), std::string::npos) << log;
  unchanged(handle);

  // The time attack looks at no element at all: the missing one is not even noticed.
  vars.SetInt("gamemode", 2, 2);
  EXPECT_FALSE(RestartRace(handle));
  EXPECT_EQ(r.NewLog(), "");
  unchanged(handle);
}

}  // namespace
