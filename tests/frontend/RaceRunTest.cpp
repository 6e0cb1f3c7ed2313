// The whole game in process with the sample data, driven from the main menu by
// scripted clicks through races of the set-up pages to their final result and back:
// the player's row on the boards, the boards scrolled to their first row with the
// scroll bar's arrows and the wheel, the race's sound groups as the settings page
// shows them, relay teams put together with the mouse and kept from race to race, a
// race left from its pause, the top times the races leave in the tables' files, and
// the top-times page showing them on the GL device.
#include "app/Application.h"
#include "core/Globals.h"
#include "core/StringUtil.h"
#include "core/KeyDefinitions.h"
#include "core/VarMng.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiPanel.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "platform/dinput8/Keys.h"
#include "platform/win32.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/GameArcade.h"
#include "race/GameRelay.h"
#include "race/TopTimeTables.h"
#include "race/World.h"
#include "render/Render.h"
#include "sound/SoundMng.h"
#include "tests/frontend/MenuScript.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>

namespace {

using test::Gui;
using test::Script;
using test::Visible;

/// The game root's whole data (the intro video aside), a small window.
void PrepareGameRoot(const test::TempDir& dir) {
  namespace fs = std::filesystem;
  const fs::path data = fs::path(test::GameRoot()) / "data";
  for (const auto& entry : fs::directory_iterator(data)) {
    const std::string name = entry.path().filename().string();
    if (name != "video" && name != "tables") test::CopyFromGameRoot(dir, "data/" + name);
  }
  fs::create_directories(dir.Path() + "/data/tables");
  dir.Write("user.cfg", "v_fullscreen 0\nv_width 640\nv_height 480\nlanguage \"eng\"\n");
}

/// A click on the selector, then a wait until it shows the item and has settled.
void Choose(Script& script, const char* selector, int item) {
  script.Click(selector);
  script.Until([selector, item] {
    auto* chosen = dynamic_cast<N_GuiTextSelector*>(Gui().GetElement(selector, false));
    return chosen && int(chosen->GetSelected()) == item;
  }, selector);
}

/// The index in the men's list of the member-th man of the first nation with four men.
std::int32_t RelayMember(int member) {
  N_AthletMng& athletes = g_world->AthletMng();
  std::string nation;
  for (std::size_t i = 0; i < athletes.GetMaleCount() && nation.empty(); ++i) {
    int count = 0;
    for (std::size_t j = 0; j < athletes.GetMaleCount(); ++j) {
      count += athletes.GetMale(j)->Nationality == athletes.GetMale(i)->Nationality ? 1 : 0;
    }
    if (count >= 4) nation = athletes.GetMale(i)->Nationality;
  }
  int seen = -1;
  for (std::size_t i = 0; i < athletes.GetMaleCount(); ++i) {
    if (athletes.GetMale(i)->Nationality == nation && ++seen == member) return std::int32_t(i);
  }
  return -1;
}

N_GuiTable& Table(const char* name) { return *dynamic_cast<N_GuiTable*>(Gui().GetElement(name, false)); }

/// The pixels of the element's rectangle on the GL device that the change (which may
/// take the element away) alters.
int PixelsChanged(N_GuiElement& e, const std::function<void()>& change) {
  const auto left = UINT(e.GetScreenX()), top = UINT(e.GetScreenY());
  const UINT right = left + UINT(e.GetWidth()), bottom = top + UINT(e.GetHeight());
  g_world->Render(0.0f);
  const test::BackBufferImage with = test::ReadBackBuffer(g_render->Device());
  change();
  g_world->Render(0.0f);
  const test::BackBufferImage without = test::ReadBackBuffer(g_render->Device());
  int changed = 0;
  for (UINT y = top; y < bottom && y < with.height; ++y)
    for (UINT x = left; x < right && x < with.width; ++x) changed += with.Rgb(x, y) != without.Rgb(x, y);
  return changed;
}

/// The relay team of four men of one nation put together with the mouse: each athlete's
/// row scrolled into view with the arrows of the table's scroll bar, clicked, then
/// "Add1".
void AddRelayTeam(Script& script, const char* athletes) {
  for (int member = 0; member < 4; ++member) {
    for (int step = 0; step < 12; ++step) {
      script.ClickOn([athletes, member]() -> N_GuiElement* {
        N_GuiTable& table = Table(athletes);
        const std::int32_t row = RelayMember(member);
        if (table.GetRowPanel(row)->IsVisible()) return nullptr;
        N_GuiScrollBar* bar = table.GetScrollBar();
        return row < table.GetFirstVisibleRow() ? bar->GetUpButton() : bar->GetDownButton();
      });
    }
    script.ClickOn([athletes, member] { return Table(athletes).GetRowPanel(RelayMember(member)); });
    script.Then([athletes, member] {
      EXPECT_EQ(Table(athletes).GetSelectedRow(), RelayMember(member));
      return true;
    });
    script.Click("Add1");
  }
  script.Then([] {
    EXPECT_EQ(Table("Relay1").GetRowCount(), 4);
    return true;
  });
}

/// A relay of the team from its start list, given up at once with Esc, to its result:
/// the four teams with their numbers of the start list.
void GiveUpRelay(Script& script, const char* start) {
  script.Click(start);
  script.Until([] { return Visible("StartListRelay"); }, "StartListRelay");
  script.Click("StartListRelayCatcher");
  script.Until([] { return !Visible("StartListRelay"); }, "the relay under way");
  script.Then([&script] { return script.Input().KeyDown(DIK_ESCAPE), true; });
  script.Until([] { return Visible("FinalResult"); }, "the relay's result");
  script.Then([&script] {
    std::set<std::string> numbers;
    for (std::int32_t r = 0; r < Table("FR/Table").GetRowCount(); ++r) {
      numbers.insert(Table("FR/Table").GetRowCells(r).at(1)->GetCaption());
    }
    EXPECT_EQ(numbers, (std::set<std::string>{"1", "2", "3", "4"})) << "the teams' numbers";
    return script.Input().KeyUp(DIK_ESCAPE), true;
  });
}

/// The board's first row brought into view with the mouse, on the board's page: clicks
/// on the scroll bar's up arrow, or steps of the wheel over the rows.
void ScrollToFirstRow(Script& script, const char* board, bool wheel) {
  auto firstShown = [board] { return Table(board).GetRowPanel(0)->IsVisible(); };
  for (int step = 0; step < 16; ++step) {
    if (wheel) {
      script.Then([&script, board, firstShown] {
        if (firstShown()) return true;
        N_GuiElement* row = Table(board).GetRowPanel(Table(board).GetFirstVisibleRow());
        Gui().GetCursor()->SetLeft(row->GetScreenX() + row->GetWidth() / 2);
        Gui().GetCursor()->SetTop(row->GetScreenY() + row->GetHeight() / 2);
        return script.Input().TurnWheel(1), true;
      });
      script.Then([] { return true; });  // the pass that reads the wheel
    } else {
      script.ClickOn([board, firstShown]() -> N_GuiElement* {
        return firstShown() ? nullptr : Table(board).GetScrollBar()->GetUpButton();
      });
    }
  }
  script.Then([board, firstShown] {
    EXPECT_TRUE(firstShown()) << board;
    return true;
  });
}

/// The player's row of a board (its athlete's name in the name column) is the one
/// selected, and it is shown.
void ExpectPlayersRow(const char* board, std::size_t nameColumn, const std::string& name) {
  N_GuiTable& table = Table(board);
  const std::int32_t row = table.GetSelectedRow();
  ASSERT_GE(row, 0) << board;
  EXPECT_EQ(table.GetRowCount(), 15) << board;
  EXPECT_EQ(table.GetRowCells(row).at(nameColumn)->GetCaption(), name) << board;
  EXPECT_TRUE(table.GetRowPanel(row)->IsVisible()) << board;
}

/// An individual race from its start list to its final result: the start list's click,
/// then the computer finishes the race.
void RunToResult(Script& script, const char* startList, const char* catcher) {
  script.Until([startList] { return Visible(startList); }, startList);
  script.Click(catcher);
  script.Until([startList] { return !Visible(startList); }, "the race under way");
  script.Then([] {
    for (const auto& [selector, category] : {std::pair{"CommentariesFX", 4}, std::pair{"EnvironmentFX", 5},
                                             std::pair{"SkiFX", 3}, std::pair{"BodyFX", 2}}) {
      const auto* item = dynamic_cast<N_GuiTextSelector*>(Gui().GetElement(selector, false));
      EXPECT_EQ(g_soundMng->IsCategoryEnabled(category) != 0, item->GetSelected() == 0) << selector;
    }
    auto* game = dynamic_cast<N_GameArcade*>(g_world->Game());
    EXPECT_NE(game, nullptr);
    if (game) game->Simulate();
    return true;
  });
  script.Until([] { return Visible("FinalResult"); }, "the final result");
}

/// The final result's click and the return to the set-up page.
void BackTo(Script& script, const char* page) {
  script.Click("FinalResultCatcher");
  script.Until([page] { return Visible(page) && !Visible("FinalResult"); }, page);
}

/// The block of a top-times file for (track, sex, discipline item, difficulty), whole.
std::string Block(const std::string& file, int track, int sex, int discipline, int difficulty) {
  const std::size_t block = std::size_t(((track * 2 + sex) * 4 + discipline) * 2 + difficulty);
  const std::size_t bytes = N_TopTimeRow::kBytes * 10;
  return file.size() >= (block + 1) * bytes ? file.substr(block * bytes, bytes) : std::string();
}

std::string PlayerOfRow(const std::string& block, std::size_t row) {
  if (block.size() < (row + 1) * N_TopTimeRow::kBytes) return {};
  return N_TopTimeRow::Read(block.data() + row * N_TopTimeRow::kBytes).PlayerName;
}

float TimeOfRow(const std::string& block, std::size_t row) {
  return N_TopTimeRow::Read(block.data() + row * N_TopTimeRow::kBytes).Time;
}

TEST(RaceRun, ArcadeAndSingleRacesRunFromTheMenusToTheirResultsAndTopTimes) {
  test::TempDir dir;
  PrepareGameRoot(dir);
  N_Application app;
  ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
  LoadKeyDefinitions();  // as the program's start does: the pause key
  Script script;
  script.patience = std::chrono::seconds(120);
  script.Until([] { return Visible("MainMenu") && Visible("Background"); }, "the main menu");
  // The settings page opened and left on a fresh game root changes no sound switch.
  const char* const kSwitches[] = {"SoundCategoryComentaries", "SoundCategoryEnvironment", "SoundCategorySki",
                                   "SoundCategoryBody"};
  script.Click("Options");
  script.Until([] { return Visible("MainOptions"); }, "MainOptions");
  script.Click("Settings");
  script.Until([] { return Visible("Settings"); }, "Settings");
  script.Click("Back14");
  script.Until([] { return Visible("MainOptions") && !Visible("Settings"); }, "back from Settings");
  script.Then([&kSwitches] {
    for (const char* name : kSwitches) EXPECT_EQ(g_varMng->GetInt(name), 1) << name;
    return true;
  });
  script.Click("Back4");
  script.Until([] { return Visible("MainMenu"); }, "the main menu again");
  script.Click("SinglePlayer");
  script.Until([] { return Visible("SinglePlayer"); }, "SinglePlayer");
  script.Click("Arcade");
  script.Until([] { return Visible("Arcade"); }, "Arcade");

  // An arcade sprint on the first track with the first athlete, the player's bib the
  // last of fifteen: his row is shown on the start list and on the result. The race's
  // sound groups are the settings page's switches.
  auto player = std::make_shared<std::string>();
  script.Then([player] {
    *player = Table("Athlets1").GetRowCells(Table("Athlets1").GetSelectedRow()).front()->GetCaption();
    return true;
  });
  script.Click("Start1");
  script.Until([] { return Visible("StartList"); }, "StartList");
  script.Then([player] { return ExpectPlayersRow("SL/Table", 2, *player), true; });
  // The start list's first rows through the arrows of its scroll bar: the race waits.
  ScrollToFirstRow(script, "SL/Table", false);
  script.Then([] {
    const auto* game = dynamic_cast<N_GameArcade*>(g_world->Game());
    EXPECT_TRUE(game && game->Paused()) << "the arrows started the race";
    return true;
  });
  RunToResult(script, "StartList", "StartListCatcher");
  script.Then([player] {
    EXPECT_EQ(g_varMng->GetInt("detail"), 1);
    ExpectPlayersRow("FR/Table", 3, *player);
    return true;
  });
  // The winner on the board through the wheel, and an arrow's click: the board stays.
  ScrollToFirstRow(script, "FR/Table", true);
  script.ClickOn([] { return Table("FR/Table").GetScrollBar()->GetDownButton(); });
  script.Then([] {
    EXPECT_TRUE(Visible("FinalResult")) << "an arrow left the board";
    const ExportData* result = GetFinishedResult(g_varMng->GetInt("egd"));
    EXPECT_EQ(Table("FR/Table").GetRowCells(0).back()->GetCaption(),
              result && !result->Rows.empty() ? FormatRaceTime(result->Rows.front().Time) : "no result")
        << "the winner's time";
    return true;
  });
  BackTo(script, "Arcade");
  script.Then([] {
    EXPECT_EQ(g_varMng->GetInt("detail"), 0) << "the menus' view";
    return true;
  });

  // A mass start.
  Choose(script, "Discipline1", 1);
  Choose(script, "Discipline1", 2);
  script.Click("Start1");
  RunToResult(script, "StartListMass", "StartListMassCatcher");
  BackTo(script, "Arcade");

  // A relay of four men of one nation, put together with the mouse and given up at once
  // with Esc; the pause key first: the pause page goes with the race, and the set-up
  // page takes the clicks again.
  Choose(script, "Discipline1", 3);
  script.Until([] { return Visible("Relay"); }, "the relay team page");
  AddRelayTeam(script, "Athlets1");
  script.Click("Start1");
  script.Until([] { return Visible("StartListRelay"); }, "StartListRelay");
  script.Click("StartListRelayCatcher");
  script.Until([] {
    const auto* relay = dynamic_cast<N_GameRelay*>(g_world->Game());
    return !Visible("StartListRelay") && relay && !relay->Paused();
  }, "the relay under way");
  script.Until([] { return Visible("StartInfo"); }, "the start information");
  script.Then([&script] { return script.Input().KeyDown(DIK_F5), true; });
  script.Until([] { return Visible("Pause"); }, "the pause page");
  // Over the start information and the player's figure the pause caption hides no text.
  script.Then([] {
    N_GuiElement& pause = *Gui().GetElement("PauseCaption", false);
    for (const char* text : {"MapName", "Weather7", "SnowQuality2", "Counter"}) {
      EXPECT_EQ(PixelsChanged(*Gui().GetElement(text, false), [&pause] { pause.Hide(); }), 0) << text;
      pause.Show();
    }
    return true;
  });
  script.Then([&script] { return script.Input().KeyUp(DIK_F5), true; });
  script.Then([&script] { return script.Input().KeyDown(DIK_ESCAPE), true; });
  script.Until([] { return Visible("FinalResult") && !Visible("Pause"); }, "the relay's result without the pause");
  script.Then([&script] { return script.Input().KeyUp(DIK_ESCAPE), true; });
  BackTo(script, "Arcade");
  // The team stays: over the top times, which show the relay's block, and back, and a
  // second relay starts without adding it again (the single race's page lists it still).
  script.Click("TopTimes1");
  script.Until([] { return Visible("ArcadeHS"); }, "the relay's top times");
  script.Then([] {
    EXPECT_EQ(dynamic_cast<N_GuiTextSelector*>(Gui().GetElement("Discipline8", false))->GetSelected(), 3u);
    return true;
  });
  script.Click("Back16");
  script.Until([] { return Visible("Arcade") && Visible("Relay") && !Visible("ArcadeHS"); }, "back at the relay");
  GiveUpRelay(script, "Start1");
  BackTo(script, "Arcade");

  // A single-race pursuit on Torino: the sprint, then the pursuit from its result.
  script.Click("Back6");
  script.Until([] { return Visible("SinglePlayer"); }, "back from Arcade");
  script.Click("SingleRace");
  script.Until([] { return Visible("SingleRace"); }, "SingleRace");
  // The relay from this page too, with the arcade's team: men, as this page shows.
  Choose(script, "Discipline3", 1);
  Choose(script, "Discipline3", 2);
  Choose(script, "Discipline3", 3);
  script.Until([] { return Visible("Relay"); }, "the relay team page of SingleRace");
  script.Then([] {
    EXPECT_EQ(Table("Relay1").GetRowCount(), 4);
    for (int member = 0; member < 4; ++member) EXPECT_TRUE(Table("Athlets3").IsRowMarked(RelayMember(member)));
    return true;
  });
  GiveUpRelay(script, "Start3");
  BackTo(script, "SingleRace");
  Choose(script, "Discipline3", 0);
  script.Then([] {
    dynamic_cast<N_GuiImageSelector*>(Gui().GetElement("Level3", false))->SetSelected(6);
    return true;
  });
  Choose(script, "Discipline3", 1);
  script.Click("Start3");
  RunToResult(script, "StartList", "StartListCatcher");
  script.Then([] {
    EXPECT_EQ(std::string(g_varMng->GetString("mapname")), "Torino.alf");
    return true;
  });
  script.Click("FinalResultCatcher");
  RunToResult(script, "StartList", "StartListCatcher");
  script.Then([] {
    EXPECT_EQ(g_varMng->GetInt("discipline"), 3) << "the pursuit";
    return true;
  });
  BackTo(script, "SingleRace");

  // The arcade top times on the GL device: the first row's text is drawn.
  script.Click("Back8");
  script.Until([] { return Visible("SinglePlayer"); }, "back from SingleRace");
  script.Click("Arcade");
  script.Until([] { return Visible("Arcade"); }, "Arcade again");
  Choose(script, "Discipline1", 0);  // the sprint's block
  script.Click("TopTimes1");
  script.Until([] { return Visible("ArcadeHS"); }, "ArcadeHS");
  int textPixels = -1;
  script.Then([&textPixels] {
    auto* table = dynamic_cast<N_GuiTable*>(Gui().GetElement("ArcadeHS", false));
    EXPECT_GE(table->GetRowCount(), 1);
    if (N_GuiPanel* row = table->GetRowPanel(0)) textPixels = PixelsChanged(*row, [table] { table->Clear(); });
    return true;
  });
  // The page's own controls take the player's clicks: a selector, then the way back.
  Choose(script, "Discipline8", 1);
  script.Click("Back16");
  script.Until([] { return Visible("Arcade") && !Visible("ArcadeHS"); }, "back from ArcadeHS");
  script.Click("Back6");
  script.Until([] { return Visible("SinglePlayer"); }, "back from Arcade at last");
  script.Click("Back1");
  script.Until([] { return Visible("MainMenu"); }, "the main menu at the end");
  script.Then([] { return g_varMng->SetInt("exit", 1, 2), true; });
  app.SetFrameHook([&script] { script.OnPass(); });
  app.Run();
  EXPECT_TRUE(script.Done());
  EXPECT_GT(textPixels, 50) << "the first row's text";

  // The finished races' entries at their blocks; the relay given up entered nothing.
  const std::string arcade = dir.Read("data/tables/arcade.hs");
  const std::string single = dir.Read("data/tables/single_race.hs");
  EXPECT_EQ(arcade.size(), 8u * 2 * 4 * 2 * 10 * N_TopTimeRow::kBytes);
  EXPECT_EQ(PlayerOfRow(Block(arcade, 0, 0, 0, 0), 0), "Player") << "the sprint";
  EXPECT_EQ(PlayerOfRow(Block(arcade, 0, 0, 2, 0), 0), "Player") << "the mass start";
  EXPECT_EQ(PlayerOfRow(Block(arcade, 0, 0, 3, 0), 0), "") << "the relay given up";
  const std::string pursuit = Block(single, 6, 0, 1, 0);
  EXPECT_EQ(PlayerOfRow(pursuit, 0), "Player") << "the pursuit on Torino";
  if (!pursuit.empty()) {
    EXPECT_GT(TimeOfRow(pursuit, 0), 0.0f);
  }
  const std::string log = dir.Read("navo.log");
  EXPECT_EQ(log.find("not found"), std::string::npos) << log;
}

}  // namespace
