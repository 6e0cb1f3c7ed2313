// The buddy games in the started world on the GL device with the sample data: each
// game's launch on the course "Running", and whole series driven by the result page's
// click with recorded results handed to the final-result board as a game's would be.
#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/BuddyGames.h"
#include "frontend/BuddySeries.h"
#include "frontend/FinalResultPage.h"
#include "frontend/FrontendUtil.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiTable.h"
#include "race/ExportData.h"
#include "race/FinalResult.h"
#include "race/GameBodyGamesRun.h"
#include "race/GameBodyGamesShoot.h"
#include "race/GameData.h"
#include "sound/SoundMng.h"
#include "tests/race/WorldGlRig.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr const char* kHSFile = "data/tables/buddy_games.hs";

struct BuddyWorld : test::WorldGlRig {
  BuddyWorld() {
    BuddyPlayers.clear();
    BuddyGameIndex = 0;
    SceneOnly();
    frontend::ShowPageNow("BuddyGames");
  }
  ~BuddyWorld() { BuddyPlayers.clear(); }

  N_GuiElement& Element(const char* name) { return *world->GuiMng().GetElement(name, false); }
  std::string Caption(const char* name) { return Element(name).GetCaption(); }
  bool PageVisible(const char* name) {
    const N_GuiPage* page = world->GuiMng().GetPage(name);
    return page && page->IsVisible();
  }
  int Int(const char* name) { return core.vars->GetInt(name); }
  void Add(const char* name, std::int32_t nation) {
    Element("PlayerName4").SetCaption(name);
    static_cast<N_GuiImageSelector&>(Element("Natn2")).SetSelected(nation);
    BuddyGamesClick(&Element("Add2"));
  }
  /// The three players A (GER), B (AUT) and C (SUI).
  void AddThree() {
    Add("A", 0);
    Add("B", 1);
    Add("C", 2);
  }
  void Start(std::int32_t game) {
    BuddyGameIndex = game;
    BuddyGamesClick(&Element("Start7"));
  }
  /// The run's end as a game hands it over: the board keeps it and shows "FinalResult";
  /// then the click on the page.
  void Finish(std::int32_t shots, std::int32_t misses, float time, bool success = true) {
    auto result = std::make_unique<ExportData>();
    result->BuddyShots = shots;
    result->BuddyMisses = misses;
    result->BuddyTime = time;
    result->Success = success ? 1 : 0;
    ShowFinalResult(std::move(result));
    FinalResultClick(nullptr);
  }
  std::vector<std::vector<std::string>> Rows(const char* name) {
    auto& table = static_cast<N_GuiTable&>(Element(name));
    std::vector<std::vector<std::string>> rows;
    for (std::int32_t r = 0; r < table.GetRowCount(); ++r) {
      std::vector<std::string> cells;
      for (N_GuiElement* cell : table.GetRowCells(r)) {
        cells.push_back(cell->GetTypeName() == "Text" ? cell->GetCaption() : cell->GetShaderName());
      }
      rows.push_back(cells);
    }
    return rows;
  }
  /// The names and results of the game's block of the high-score file.
  std::vector<std::string> Entered(std::int32_t game) {
    std::ifstream in(kHSFile, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> entries;
    for (std::size_t r = 0; r < 10 && (std::size_t(game) * 10 + r + 1) * BuddyPlayer::kBytes <= bytes.size(); ++r) {
      const BuddyPlayer row = BuddyPlayer::Read(bytes.data() + (std::size_t(game) * 10 + r) * BuddyPlayer::kBytes);
      if (!row.Empty()) entries.push_back(std::string(row.name) + " " + row.nation);
    }
    return entries;
  }
  /// "Buddy1" and the list agree row for row.
  void ExpectListInStep() {
    std::vector<std::vector<std::string>> expected;
    for (std::size_t i = 0; i < BuddyPlayers.size(); ++i) {
      expected.push_back({std::to_string(i + 1), BuddyPlayers[i].name, BuddyPlayers[i].nation});
    }
    EXPECT_EQ(Rows("Buddy1"), expected);
  }
};

TEST(BuddyLaunchGl, EachGameRunsItsRowOnTheCourseRunningBehindItsStartPage) {
  BuddyWorld w;
  const std::uint8_t laps[] = {255, 255, 2, 1, 20, 255};
  for (std::int32_t game = 0; game < kBuddyGameCount; ++game) {
    SCOPED_TRACE(game);
    const BuddyGameRow& row = BuddyGameTable[std::size_t(game)];
    g_soundMng->SetCategoryEnabled(6, N_SoundMng::kCategoryOn);
    StartBuddyGame(0, 0, game, "Anna", "AUT");
    auto* mode = dynamic_cast<N_SoloRaceGame*>(w.world->Game());
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(dynamic_cast<N_GameBodyGamesShoot*>(mode) != nullptr, row.Kind == kBuddyShooting);
    const GameData& data = *mode->Description();
    ASSERT_EQ(data.StartList.size(), 1u);
    EXPECT_EQ(data.StartList[0].AthleteIndex, 0);
    EXPECT_EQ(data.StartList[0].StartTime, -5.0f);
    EXPECT_EQ(data.Sex, 0);
    EXPECT_EQ(data.Track, 10);
    EXPECT_EQ(data.Discipline, 10);
    EXPECT_EQ(data.Laps, laps[game]);
    EXPECT_EQ(data.Weather, 0);
    EXPECT_EQ(data.SnowQuality, 0);
    EXPECT_EQ(data.PlayerIndex, 0);
    EXPECT_EQ(data.ArcadeLevels, 0);
    EXPECT_EQ(data.TimeLimit, row.TimeLimit);
    EXPECT_EQ(data.Faultless, row.Faultless);
    EXPECT_EQ(data.TargetHits, row.TargetHits);
    EXPECT_EQ(data.Sway, row.Sway);
    EXPECT_EQ(data.ShotLimit, row.ShotLimit);
    EXPECT_EQ(data.PlayerName, "Anna");
    EXPECT_EQ(data.Nation, "AUT");
    EXPECT_TRUE(mode->Paused());
    EXPECT_EQ(w.core.vars->GetString("mapname"), std::string("Running.alf"));
    EXPECT_EQ(w.world->CurrentMapName(), "Running.alf");
    EXPECT_EQ(w.Int("gamemode"), 4);
    EXPECT_EQ(w.Int("discipline"), row.Kind);
    EXPECT_EQ(w.Int("trackmode"), 1);
    EXPECT_EQ(w.Int("detail"), 1);
    EXPECT_EQ(w.Int("ShowAnimObj"), 0);
    EXPECT_EQ(g_soundMng->IsCategoryEnabled(6), 0u) << "no audience";
    EXPECT_EQ(w.Caption("FR/Caption"), frontend::Text("#str165"));
    EXPECT_EQ(w.Caption("FR/Discipline"), frontend::Text(BuddyGameKey(400, game).c_str()));

    // "Start9": a shooting game runs at once, a running one waits for the start flight.
    w.world->CameraMng().SetRaceCameraMode(0);
    frontend::ShowPageNow("BuddyStart");
    BuddyGameStartClick(&w.Element("Start9"));
    EXPECT_EQ(mode->Paused(), row.Kind == kBuddyRunning);
    EXPECT_EQ(w.world->CameraMng().RaceController().Mode(), row.Kind == kBuddyRunning ? 1 : 0);
  }
}

TEST(BuddySeriesGl, PointsAreRankedShownAndEnteredWithTheShooterOfEachTurn) {
  BuddyWorld w;
  w.AddThree();
  std::remove(kHSFile);
  w.Start(0);
  const std::vector<std::string> shooters[] = {{"A", "GER"}, {"B", "AUT"}, {"C", "SUI"}};
  const std::int32_t hits[] = {12, 0, 12};
  for (std::size_t turn = 0; turn < 3; ++turn) {
    SCOPED_TRACE(turn);
    EXPECT_EQ(BuddyPlayerIndex, std::int32_t(turn));
    EXPECT_TRUE(w.PageVisible("BuddyStart"));
    EXPECT_EQ(w.Caption("Name7"), shooters[turn][0]);
    EXPECT_EQ(w.Caption("Name1"), shooters[turn][0]);
    EXPECT_EQ(w.Element("Natn1").GetShaderName(), shooters[turn][1]);
    EXPECT_EQ(w.Caption("BuddyText1"), frontend::Text("#str410"));
    ASSERT_NE(dynamic_cast<N_GameBodyGamesShoot*>(w.world->Game()), nullptr);
    w.Finish(20, 20 - hits[turn], 60.0f);
  }
  EXPECT_EQ(w.Int("gamemode"), 7);
  EXPECT_TRUE(w.PageVisible("FinalResult"));
  for (const char* hidden : {"FR/Table", "FR/Table1", "FR/Table2"}) EXPECT_FALSE(w.Element(hidden).IsVisible()) << hidden;
  EXPECT_TRUE(w.Element("FR/Table3").IsVisible());
  EXPECT_EQ(w.Rows("FR/Table3"), (std::vector<std::vector<std::string>>{
                                     {"1", "A", "GER", "12"}, {"2", "C", "SUI", "12"}, {"3", "B", "AUT", "0"}}));
  w.ExpectListInStep();

  FinalResultClick(nullptr);
  EXPECT_TRUE(w.PageVisible("BuddyGames"));
  EXPECT_EQ(w.Int("detail"), 0);
  EXPECT_EQ(w.Int("ShowAnimObj"), 1);
  EXPECT_EQ(w.Entered(0), (std::vector<std::string>{"A GER", "C SUI"}));
  w.ExpectListInStep();
}

TEST(BuddySeriesGl, TimesRankBeforeFailedRunsWhichAreNeverEntered) {
  BuddyWorld w;
  w.AddThree();
  std::remove(kHSFile);
  w.Start(2);
  ASSERT_NE(dynamic_cast<N_GameBodyGamesRun*>(w.world->Game()), nullptr);
  w.Finish(0, 0, 95.5f);
  w.Finish(0, 0, 88.0f);
  w.Finish(0, 0, 90.0f, false);  // a failed run keeps no time, whatever it carries
  EXPECT_EQ(w.Rows("FR/Table3"), (std::vector<std::vector<std::string>>{{"1", "B", "AUT", "01:28.000"},
                                                                        {"2", "A", "GER", "01:35.500"},
                                                                        {"3", "C", "SUI", "Disq"}}));
  FinalResultClick(nullptr);
  EXPECT_EQ(w.Entered(2), (std::vector<std::string>{"B AUT", "A GER"}));

  // A failed shooting run keeps 0 points whatever its hits; nobody is entered.
  w.Start(1);
  w.Finish(20, 1, 30.0f, false);
  w.Finish(20, 0, 60.0f, false);
  w.Finish(0, 0, 60.0f);
  EXPECT_EQ(w.Rows("FR/Table3")[0][3], "0");
  FinalResultClick(nullptr);
  EXPECT_TRUE(w.Entered(1).empty());
  w.ExpectListInStep();
}

TEST(BuddySeriesGl, OnePlayerIsRankedAtOnceAndEndingASeriesRecordsNothing) {
  BuddyWorld w;
  w.Add("A", 0);
  std::remove(kHSFile);
  w.Start(3);
  w.Finish(0, 0, 70.0f);
  EXPECT_EQ(w.Int("gamemode"), 7);
  EXPECT_EQ(w.Rows("FR/Table3"), (std::vector<std::vector<std::string>>{{"1", "A", "GER", "01:10.000"}}));
  FinalResultClick(nullptr);

  // "End1" in the second turn: back to the page, the first result kept until the next
  // series resets it, the file untouched.
  w.Add("B", 1);
  const std::string before = w.dir.Read(kHSFile);
  w.Start(2);
  w.Finish(0, 0, 80.0f);
  ASSERT_EQ(BuddyPlayerIndex, 1);
  BuddyGameStartClick(&w.Element("End1"));
  EXPECT_EQ(w.world->Game(), nullptr);
  EXPECT_TRUE(w.PageVisible("BuddyGames"));
  EXPECT_FALSE(w.PageVisible("BuddyStart"));
  EXPECT_EQ(w.Int("detail"), 0);
  EXPECT_EQ(w.dir.Read(kHSFile), before);
  EXPECT_EQ(BuddyPlayers[0].time, 80.0f);
  w.Start(2);
  for (const BuddyPlayer& player : BuddyPlayers) {
    EXPECT_EQ(player.points, 0);
    EXPECT_EQ(player.time, -1.0f);
  }
}

}  // namespace
