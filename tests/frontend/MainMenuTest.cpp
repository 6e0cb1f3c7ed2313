// The main menu and its navigation pages over the sample page scripts.
#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/MainMenu.h"
#include "frontend/MessageBox.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "race/World.h"
#include "scene/RaceCamera.h"
#include "tests/frontend/MenuRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Callback = void (*)(N_GuiElement*);
using Names = std::vector<std::string>;

Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

// Every row of the click table: the page it is clicked on, the pages it hides at once
// and the one it closes (fading out over half a second), and the pages it shows, in
// order. The buttons of the pages that later parts of the game bring are disabled:
// a click on them does nothing, and their rows are run by calling the callback.
TEST(MainMenu, EachClickLeavesAndShowsThePagesOfItsRow) {
  test::MenuRig rig;
  struct Row {
    Callback callback;
    const char* element;
    const char* page;
    bool enabled;
    Names hidden;
    const char* closed;
    Names shown;
  };
  const Row rows[] = {
      {MainMenuClick, "SinglePlayer", "MainMenu", true, {}, "MainMenu", {"SinglePlayer"}},
      {MainMenuClick, "MultiPlayer", "MainMenu", true, {}, "MainMenu", {"MultiPlayer"}},
      {MainMenuClick, "TrainingFun", "MainMenu", true, {}, "MainMenu", {"TrainingFun"}},
      {MainMenuClick, "Options", "MainMenu", true, {}, "MainMenu", {"MainOptions"}},
      {MainMenuClick, "Credits", "MainMenu", true, {"MainMenu", "Background"}, nullptr, {"Credits"}},
      {SinglePlayerClick, "Arcade", "SinglePlayer", true, {"Background", "SinglePlayer"}, nullptr, {"Arcade"}},
      {SinglePlayerClick, "TimeAttack", "SinglePlayer", true, {"Background", "SinglePlayer"}, nullptr, {"TimeAttack"}},
      {SinglePlayerClick, "Career", "SinglePlayer", true, {"Background", "SinglePlayer"}, nullptr,
       {"CareerProfile", "CareerAttributes"}},
      {SinglePlayerClick, "SingleRace", "SinglePlayer", true, {"Background", "SinglePlayer"}, nullptr, {"SingleRace"}},
      {SinglePlayerClick, "Back1", "SinglePlayer", true, {}, "SinglePlayer", {"MainMenu"}},
      {MultiPlayerClick, "Back2", "MultiPlayer", true, {}, "MultiPlayer", {"MainMenu"}},
      {TrainingFunClick, "RunTraining", "TrainingFun", true, {"Background", "TrainingFun"}, nullptr, {"RunTraining"}},
      {TrainingFunClick, "ShootingRange", "TrainingFun", true, {"Background", "TrainingFun"}, nullptr,
       {"ShootTraining"}},
      {TrainingFunClick, "BuddyGames", "TrainingFun", true, {"Background", "TrainingFun"}, nullptr, {"BuddyGames"}},
      {TrainingFunClick, "Back3", "TrainingFun", true, {}, "TrainingFun", {"MainMenu"}},
      {MainOptionsClick, "Settings", "MainOptions", true, {"Background", "MainOptions"}, nullptr,
       {"CareerHS", "Settings"}},
      {MainOptionsClick, "Controls", "MainOptions", true, {"Background", "MainOptions"}, nullptr, {"ControlsOptions"}},
      {MainOptionsClick, "Back4", "MainOptions", true, {}, "MainOptions", {"MainMenu"}},
      {CreditsClick, "Back5", "Credits", true, {"Credits"}, nullptr, {"Background", "MainMenu"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.element);
    const bool withBackground = std::string(row.page) != "Credits";
    if (withBackground) rig.ShowOnly({"Background", row.page});
    else rig.ShowOnly({row.page});
    const Names before = rig.Visible();
    N_GuiElement* element = rig.Gui().GetElement(row.element, false);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->GetPage(), rig.Gui().GetPage(row.page));
    rig.Press(row.element);
    if (!row.enabled) {
      EXPECT_EQ(rig.Visible(), before) << "a disabled button does nothing";
      row.callback(element);
    }
    // The shown test pages note their order; the sample pages show by being visible.
    Names noted;
    for (const std::string& name : row.shown) {
      if (rig.Gui().GetPage(name)->GetOnShow() == "FrontendTestPageShown") noted.push_back(name);
    }
    EXPECT_EQ(test::ShownPages(), noted);
    Names now;
    for (const std::string& name : before) {
      if (std::find(row.hidden.begin(), row.hidden.end(), name) == row.hidden.end()) now.push_back(name);
    }
    for (const std::string& name : row.shown) now.push_back(name);
    EXPECT_EQ(rig.Visible(), Sorted(now)) << "the closed page still fades";
    rig.pages.Frames(0.375);
    EXPECT_EQ(rig.Visible(), Sorted(now));
    rig.pages.Frames(0.125);
    if (row.closed) now.erase(std::find(now.begin(), now.end(), row.closed));
    EXPECT_EQ(rig.Visible(), Sorted(now));
  }
  EXPECT_EQ(rig.pages.NewLog().find("not found"), std::string::npos);
}

// "Create game" and "Join game" only tell that there is no network game.
TEST(MainMenu, MultiPlayerGamesAreNotThere) {
  test::MenuRig rig;
  for (const char* button : {"CreateGame", "JoinGame"}) {
    SCOPED_TRACE(button);
    rig.ShowOnly({"Background", "MultiPlayer"});
    rig.Press(button);
    EXPECT_EQ(rig.Visible(), (Names{"Background", "MessageOK", "MultiPlayer"}));
    EXPECT_EQ(rig.Gui().GetElement("Label2", false)->GetCaption(), "Not yet implemented.");
    rig.Press("Ok1");
    EXPECT_EQ(rig.Visible(), (Names{"Background", "MultiPlayer"}));
  }
}

// Each Enter callback shows the lens picture of its row; any other element leaves the
// picture, a disabled button does not call it at all, and without the picture nothing
// happens.
TEST(MainMenu, LensPicturesFollowTheButtonUnderTheMouse) {
  test::MenuRig rig;
  struct Row {
    Callback callback;
    const char* element;
    const char* lens;  ///< the picture "textures\menu\lens_" and this
  };
  const Row rows[] = {
      {MainMenuEnter, "SinglePlayer", "single"},     {MainMenuEnter, "MultiPlayer", "multi"},
      {MainMenuEnter, "TrainingFun", "fun"},         {MainMenuEnter, "Options", "options"},
      {MainMenuEnter, "Credits", "credits"},         {MainMenuEnter, "Exit", "exit"},
      {SinglePlayerEnter, "Arcade", "arcade"},       {SinglePlayerEnter, "TimeAttack", "timeattack"},
      {SinglePlayerEnter, "Career", "career"},       {SinglePlayerEnter, "SingleRace", "singlerace"},
      {SinglePlayerEnter, "Back1", "back"},          {MultiPlayerEnter, "CreateGame", "creategame"},
      {MultiPlayerEnter, "JoinGame", "joingame"},    {MultiPlayerEnter, "Back2", "back"},
      {TrainingFunEnter, "RunTraining", "runtraining"}, {TrainingFunEnter, "ShootingRange", "shoottraining"},
      {TrainingFunEnter, "BuddyGames", "buddygames"}, {TrainingFunEnter, "Back3", "back"},
      {MainOptionsEnter, "Settings", "runtraining"}, {MainOptionsEnter, "Controls", "shoottraining"},
      {MainOptionsEnter, "Back4", "back"},
  };
  N_GuiElement* image = rig.Gui().GetElement("AImage", false);
  ASSERT_NE(image, nullptr);
  const std::string unset = "textures\\menu\\panel";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.element);
    N_GuiElement* element = rig.Gui().GetElement(row.element, false);
    ASSERT_NE(element, nullptr);
    image->SetShader(unset);
    // The mouse entering the button, as the GUI's update sends it.
    N_GuiEvent enter;
    enter.type = N_GuiEventType::Enter;
    element->HandleEvent(enter);
    if (!element->IsEnabled()) {
      EXPECT_EQ(image->GetShaderName(), unset);
      row.callback(element);
    }
    EXPECT_EQ(image->GetShaderName(), std::string("textures\\menu\\lens_") + row.lens);
    // A name of another row's callback (and a title) is no row of this one.
    image->SetShader(unset);
    for (const char* other : {"MainMenuTitle", row.callback == MainMenuEnter ? "Back1" : "Exit"}) {
      row.callback(rig.Gui().GetElement(other, false));
    }
    row.callback(nullptr);
    EXPECT_EQ(image->GetShaderName(), unset);
  }
  rig.Gui().DestroyElement("AImage", false);
  rig.pages.NewLog();
  MainMenuEnter(rig.Gui().GetElement("Exit", false));
  EXPECT_NE(rig.pages.NewLog().find("AImage not found"), std::string::npos);
}

// Showing the main menu puts the menu set back.
TEST(MainMenu, ShowPutsTheMenuSetBack) {
  test::MenuRig rig;
  g_varMng->SetInt("viewmode", 1, 2);
  g_varMng->SetInt("detail", 1, 2);
  g_varMng->SetInt("ShowAnimObj", 0, 2);
  rig.Gui().SetSnow(false);
  rig.pages.World().CameraMng().SetRaceCameraMode(3);
  rig.ShowOnly({"Background"});
  rig.Sound().switches.clear();
  rig.Gui().GetPage("MainMenu")->ShowImmediate();
  EXPECT_EQ(g_varMng->GetInt("viewmode"), 0);
  EXPECT_EQ(rig.pages.World().CameraMng().RaceController().Mode(), 0);
  EXPECT_TRUE(rig.Gui().GetSnow());
  EXPECT_EQ(g_varMng->GetInt("detail"), 0);
  EXPECT_EQ(g_varMng->GetInt("ShowAnimObj"), 1);
  // Commentary, environment, ski, body and audience off, then the music on; the menu's
  // own categories untouched.
  const std::vector<std::pair<int, bool>> menuSet = {{4, false}, {5, false}, {3, false},
                                                     {2, false}, {6, false}, {1, true}};
  EXPECT_EQ(rig.Sound().switches, menuSet);
  // The music: see the menu run, whose sound manager has its sources.
}

}  // namespace
