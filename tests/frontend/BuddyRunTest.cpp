// The buddy games played in the game in process on the sample data, from the main
// menu by scripted clicks: two players, a series of the standing shooting game and
// one of the two-lap run, each turn given up with Escape once it runs, through the
// result page to the standings and back to "BuddyGames".
#include "app/Application.h"
#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/BuddyGames.h"
#include "gui/GuiTable.h"
#include "platform/dinput8/Keys.h"
#include "platform/win32.h"
#include "race/RaceSimSolo.h"
#include "race/World.h"
#include "tests/app/GameProcess.h"
#include "tests/frontend/MenuScript.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using test::Gui;
using test::Visible;

std::string Caption(const char* element) { return Gui().GetElement(element, false)->GetCaption(); }

/// Whether the world's game is a buddy game that runs (not paused).
bool GameRuns() {
  const auto* game = dynamic_cast<const N_SoloRaceGame*>(g_world->Game());
  return game && !game->Paused();
}

/// One series of the game reached with `rightClicks` presses of "Right1": every turn
/// begun, given up with Escape, its result page clicked; then the standings, shown
/// with "Disq" or 0 points, and the click back to "BuddyGames".
void PlaySeries(test::Script& script, int rightClicks, const std::vector<std::string>& players) {
  for (int i = 0; i < rightClicks; ++i) script.Click("Right1");
  script.Click("Start7");
  for (const std::string& player : players) {
    script.Until([player] { return Visible("BuddyStart") && Caption("Name7") == player && g_world->Game(); },
                 "the turn's page");
    script.Click("Start9");
    // A running game waits for the race camera's start flight.
    script.Until([] { return GameRuns() && !Visible("BuddyStart"); }, "the game running");
    script.Then([&script] { return script.Input().KeyDown(DIK_ESCAPE), true; });
    script.Until([] { return Visible("FinalResult"); }, "the run's result");
    script.Then([&script] { return script.Input().KeyUp(DIK_ESCAPE), true; });
    script.Click("FinalResultCatcher");
  }
  script.Until([] { return Visible("FinalResult") && g_varMng->GetInt("gamemode") == 7; }, "the standings");
  script.Then([players] {
    auto* table = static_cast<N_GuiTable*>(Gui().GetElement("FR/Table3", false));
    EXPECT_TRUE(table->IsVisible());
    EXPECT_EQ(table->GetRowCount(), std::int32_t(players.size()));
    return true;
  });
  script.Click("FinalResultCatcher");
  script.Until([] { return Visible("BuddyGames") && !Visible("FinalResult"); }, "back to the buddy games");
}

TEST(BuddyGamesRun, TwoSeriesOfTwoPlayersRunToTheStandingsAndBack) {
  test::TempDir dir;
  dir.Write("data/tables/.keep", "");
  test::CopyGameData(dir);
  std::remove("data/tables/buddy_games.hs");
  dir.Write("user.cfg", "v_fullscreen 0\nv_width 640\nv_height 480\n");
  BuddyPlayers.clear();
  N_Application app;
  ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
  test::Script script;
  script.Until([] { return Visible("MainMenu"); }, "the main menu");
  script.Click("TrainingFun");
  script.Until([] { return Visible("TrainingFun"); }, "TrainingFun");
  script.Click("BuddyGames");
  script.Until([] { return Visible("BuddyGames"); }, "BuddyGames");
  for (const char* name : {"Anna", "Bert"}) {
    script.Then([name] { return Gui().GetElement("PlayerName4", false)->SetCaption(name), true; });
    script.Click("Add2");
  }
  script.Until([] { return BuddyPlayers.size() == 2; }, "two players");
  PlaySeries(script, 0, {"Anna", "Bert"});
  PlaySeries(script, 2, {"Anna", "Bert"});
  script.Then([] { return g_varMng->SetInt("exit", 1, 2), true; });
  app.SetFrameHook([&script] { script.OnPass(); });
  app.Run();
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(BuddyGameIndex, 2);
  // Every turn was given up: nobody entered, the whole table written.
  EXPECT_EQ(dir.Read("data/tables/buddy_games.hs"), std::string(2640, '\0'));
  const std::string log = dir.Read("navo.log");
  EXPECT_EQ(log.find("not found"), std::string::npos) << log;
}

}  // namespace
