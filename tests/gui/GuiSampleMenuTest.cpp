// The sample page scripts of the game root: they load without a fault, hold the pages,
// elements and callbacks the menus name, and can be walked with the mouse while the
// cursor stays counted once; the credits scroll and the single-player page slides in.
// The menus' own callbacks belong to the front-end, above the GUI: here the buttons
// switch their pages through the GUI's own "gotopage".
#include "core/FileFinder.h"
#include "core/Globals.h"
#include "core/StringTable.h"
#include "gui/GuiButton.h"
#include "gui/GuiEffectPageScroll.h"
#include "gui/GuiPage.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiScrollingText.h"
#include "gui/GuiTable.h"
#include "tests/gui/GuiRig.h"
#include "tests/support/LogLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

class GuiSampleMenu : public ::testing::Test {
 protected:
  GuiSampleMenu() {
    const fs::path root = fs::path(test::GameRoot()) / "data";
    for (const char* folder : {"scripts/gui", "scripts/strings", "gfx/fonts"}) {
      fs::create_directories(fs::path("data") / folder);
      fs::copy(root / folder, fs::path("data") / folder, fs::copy_options::recursive);
    }
    strings.SetLanguage("eng");
    strings.ReadDir("scripts\\strings\\*.string");
    g_stringTable = &strings;
    // As the world starts.
    rig.mng->LoadGuiFiles("scripts\\gui\\*.gui");
    cursor = rig.mng->CreateElement("Cursor", "Cursor", false);
    cursor->SetShader("Kurzor");
    rig.mng->SetCursor(cursor);
    rig.mng->CreateCursorPage();
    rig.mng->ShowCursor(false);
    for (const char* name : {"Background", "MainMenu"}) {
      if (N_GuiPage* page = rig.mng->GetPage(name)) page->ShowImmediate();
    }
    const std::pair<const char*, const char*> gotoPages[] = {
        {"SinglePlayer", "SinglePlayer"}, {"MultiPlayer", "MultiPlayer"}, {"TrainingFun", "TrainingFun"},
        {"Options", "MainOptions"},       {"Credits", "Credits"},         {"Back1", "MainMenu"},
        {"Back2", "MainMenu"},            {"Back3", "MainMenu"},          {"Back4", "MainMenu"},
        {"Back5", "MainMenu"}};
    for (const auto& [button, page] : gotoPages) {
      if (auto* b = dynamic_cast<N_GuiButton*>(rig.mng->GetElement(button, false))) b->SetGotoPage(page);
    }
  }
  ~GuiSampleMenu() override { g_stringTable = nullptr; }

  void Frame(double seconds) {
    input.mng->Update();
    rig.Step(seconds);
    rig.mng->Update();
    rig.mng->Render();
    rig.batch.Flush();
  }
  /// Moves the cursor's corner to the middle of the element.
  void Point(const std::string& name) {
    N_GuiElement* e = rig.mng->GetElement(name, false);
    const float x = e->GetScreenX() + e->GetWidth() / 2, y = e->GetScreenY() + e->GetHeight() / 2;
    input.script.MoveMouse(std::lround(x - cursor->GetLeft()), std::lround(y - cursor->GetTop()));
    Frame(0.02);
  }
  void Click(const std::string& name) {
    Point(name);
    input.script.ButtonDown(0);
    Frame(0.02);
    input.script.ButtonUp(0);
    for (int i = 0; i < 6; ++i) Frame(0.1);  // the fades take half a second
  }
  bool Visible(const char* page) { return rig.mng->GetPage(page)->IsVisible(); }

  test::GuiRig rig;
  test::GuiInput input{rig};
  N_StringTable strings;
  N_GuiElement* cursor = nullptr;
};

TEST_F(GuiSampleMenu, LoadsCleanAndHoldsWhatTheMenusName) {
  const std::string log = rig.Log();
  for (const auto& file : fs::directory_iterator("data/scripts/gui")) {
    EXPECT_NE(log.find("Parsing gui file '" + N_FileList::WorkingDirectory() + "\\data\\scripts\\gui\\" +
                       file.path().filename().string() + "'\n"),
              std::string::npos)
        << file.path();
  }
  // The callbacks are the front-end's, which this suite leaves out: they bind nothing
  // here (the front-end's suite and the game's run check them).
  for (const char* fault : {"!!! Bad ", "not found", "already exists", "Cannot locate", "already defined"}) {
    EXPECT_EQ(test::WithoutCallbackLines(log).find(fault), std::string::npos) << fault << "\n" << log;
  }
  struct PageSpec {
    const char* page;
    const char* callbacks;  ///< the callbacks' page part ("MainMenu" gives MainMenuClick ...), or ""
    std::vector<const char*> buttons;
  };
  const PageSpec pages[] = {
      {"MainMenu", "MainMenu", {"SinglePlayer", "MultiPlayer", "TrainingFun", "Options", "Credits", "Exit"}},
      {"SinglePlayer", "SinglePlayer", {"Arcade", "TimeAttack", "Career", "SingleRace", "Back1"}},
      {"MultiPlayer", "MultiPlayer", {"CreateGame", "JoinGame", "Back2"}},
      {"TrainingFun", "TrainingFun", {"RunTraining", "ShootingRange", "BuddyGames", "Back3"}},
      {"MainOptions", "MainOptions", {"Settings", "Controls", "Back4"}},
      {"Credits", "Credits", {"Back5"}},
      {"Background", "", {}},
      {"BlackScreen", "", {}},
  };
  for (const PageSpec& spec : pages) {
    SCOPED_TRACE(spec.page);
    N_GuiPage* page = rig.mng->GetPage(spec.page);
    ASSERT_NE(page, nullptr);
    EXPECT_LT(page->GetZOrder(), 600);
    EXPECT_EQ(page->GetShowCursor(), !spec.buttons.empty()) << "backdrops ask for no cursor";
    for (const char* name : spec.buttons) {
      auto* button = dynamic_cast<N_GuiButton*>(rig.mng->GetElement(name, false));
      ASSERT_NE(button, nullptr) << name;
      EXPECT_EQ(button->GetPage(), page) << name;
      EXPECT_FALSE(button->GetCaption().empty()) << name;
      EXPECT_EQ(button->GetOnClick(), std::string(spec.callbacks) + "Click") << name;
      if (std::string(spec.page) != "Credits") {
        EXPECT_EQ(button->GetOnMouseEnter(), std::string(spec.callbacks) + "Enter") << name;
      }
      EXPECT_EQ(button->GetClickSoundName(), "menu_click");
    }
  }
  EXPECT_EQ(rig.mng->GetPage("MainMenu")->GetOnShow(), "MainMenuShow");
  N_GuiElement* lens = rig.mng->GetElement("AImage", false);
  ASSERT_NE(lens, nullptr);
  EXPECT_EQ(lens->GetTypeName(), "Panel");
  EXPECT_EQ(lens->GetPage(), rig.mng->GetPage("Background"));
  // The Credits page holds a text besides its button.
  int texts = 0;
  for (const auto& [name, e] : rig.mng->Elements()) {
    texts += e->GetPage() == rig.mng->GetPage("Credits") && e->GetTypeName() == "Text" && !e->GetCaption().empty();
  }
  EXPECT_GE(texts, 1);
  // The lens pictures the menus set at run time are registered.
  for (const char* lensName : {"single", "multi", "fun", "options", "credits", "exit", "arcade", "timeattack", "career",
                               "singlerace", "back", "creategame", "joingame", "runtraining", "shoottraining",
                               "buddygames"}) {
    const std::string shader = std::string("textures\\menu\\lens_") + lensName;
    bool found = false;
    for (int i = 0; i < rig.shaders.Capacity(); ++i) {
      const N_ShaderEntry* e = rig.shaders.GetEntry(i);
      found |= e && e->name && *e->name == shader;
    }
    EXPECT_TRUE(found) << shader;
  }
  EXPECT_EQ(rig.mng->GetPage("CursorLevelGuiPage"), rig.mng->GetCursorPage()) << "no script defines it";
}

TEST_F(GuiSampleMenu, TheMenusCanBeWalkedWithTheCursorCountedOnce) {
  EXPECT_EQ(rig.mng->GetCursorCounter(), 1) << "the backdrop did not count below 0";
  EXPECT_TRUE(cursor->IsVisible());
  Frame(0.02);
  auto* single = static_cast<N_GuiButton*>(rig.mng->GetElement("SinglePlayer", false));
  const int up = single->GetShader();
  Point("SinglePlayer");
  EXPECT_TRUE(single->IsHighlighted());
  EXPECT_NE(single->GetShader(), up) << "the over look";
  struct Step {
    const char* button;
    const char* shown;
    const char* gone;
  };
  const Step steps[] = {{"SinglePlayer", "SinglePlayer", "MainMenu"}, {"Back1", "MainMenu", "SinglePlayer"},
                        {"TrainingFun", "TrainingFun", "MainMenu"},   {"Back3", "MainMenu", "TrainingFun"},
                        {"Credits", "Credits", "MainMenu"},           {"Back5", "MainMenu", "Credits"}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.button);
    Click(s.button);
    EXPECT_TRUE(Visible(s.shown));
    EXPECT_FALSE(Visible(s.gone));
    EXPECT_TRUE(Visible("Background"));
    EXPECT_EQ(rig.mng->GetCursorCounter(), 1);
    EXPECT_TRUE(cursor->IsVisible());
  }
  // The backdrop shown again over a menu never takes the count below 0.
  rig.mng->GetPage("Background")->ShowImmediate();
  rig.mng->GetPage("Background")->ShowImmediate();
  EXPECT_EQ(rig.mng->GetCursorCounter(), 0);
}

TEST_F(GuiSampleMenu, TheLoadingPageAndTheWidgetTemplates) {
  // The page the race's loading draws into: its bar "Loading" of range 100.
  N_GuiPage* loading = rig.mng->GetPage("Loading");
  ASSERT_NE(loading, nullptr);
  EXPECT_FALSE(loading->GetShowCursor());
  EXPECT_EQ(loading->GetOnShow(), "LoadingShow");
  auto* bar = dynamic_cast<N_GuiProgressBar*>(rig.mng->GetElement("Loading", false));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetPage(), loading);
  EXPECT_EQ(bar->GetRange(), 100.0f);
  EXPECT_EQ(bar->GetValue(), 0.0f);
  EXPECT_GT(bar->FullLength(), 0.0f);
  EXPECT_NE(bar->GetBackShaderName(), "");

  // A list made from the template: its own scroll bar with arrows and bit, rows on the
  // row pictures, the selected one in the highlight.
  N_GuiElement* made = rig.mng->CreateFromTemplate("ListTable", "", "List", false);
  ASSERT_NE(made, nullptr);
  auto* list = dynamic_cast<N_GuiTable*>(made);
  ASSERT_NE(list, nullptr);
  test::Set(*list, {{"width", "300"}, {"height", "120"}, {"columntypes", "text text"}, {"columnwidths", "150 100"},
                    {"row", "Alpha 1"}, {"row", "Beta 2"}});
  ASSERT_NE(list->GetScrollBar(), nullptr);
  for (N_GuiElement* part : {list->GetScrollBar()->GetUpButton(), list->GetScrollBar()->GetDownButton(),
                             list->GetScrollBar()->GetBit()}) {
    ASSERT_NE(part, nullptr);
    EXPECT_NE(part->GetShader(), -1) << part->GetName();
  }
  EXPECT_EQ(list->GetRowPanel(0)->GetShader(), rig.shaders.AddShader("textures\\gui\\row_selected", 0, 3));
  EXPECT_EQ(list->GetRowPanel(1)->GetShader(), rig.shaders.AddShader("textures\\gui\\row", 0, 3));
  for (const char* name : {"HorizontalScrollBar", "GaugeBar", "NameEdit", "OptionSelector", "PictureSelector"})
    EXPECT_EQ(rig.mng->Templates().count(name), 1u) << name;
  EXPECT_EQ(rig.Log().find("not found"), std::string::npos) << rig.Log();

  // Every widget material maps a picture the sample data holds.
  const fs::path root = fs::path(test::GameRoot()) / "data";
  std::ifstream materials(root / "scripts" / "widgets.shader");
  int blocks = 0;
  for (std::string line; std::getline(materials, line);) {
    if (line.rfind("textures\\gui\\", 0) != 0) continue;
    ++blocks;
    std::string picture = line;
    std::replace(picture.begin(), picture.end(), '\\', '/');
    EXPECT_TRUE(fs::exists(root / (picture + ".dds"))) << picture;
  }
  EXPECT_EQ(blocks, 23);
}

TEST_F(GuiSampleMenu, CreditsScrollAndTheSinglePlayerPageSlidesIn) {
  auto* credits = dynamic_cast<N_GuiScrollingText*>(rig.mng->GetElement("CreditsText", false));
  ASSERT_NE(credits, nullptr);
  EXPECT_LT(credits->GetScrollY(), 0.0f);
  EXPECT_GT(credits->Lines().size(), 1u);
  N_GuiPage* single = rig.mng->GetPage("SinglePlayer");
  ASSERT_EQ(single->Effects().size(), 1u);
  auto* slide = dynamic_cast<N_GuiEffectPageScroll*>(single->Effects().front());
  ASSERT_NE(slide, nullptr);
  EXPECT_EQ(slide->GetAttribute("direction"), "left");

  Click("SinglePlayer");
  EXPECT_TRUE(Visible("SinglePlayer"));
  for (int i = 0; i < 10; ++i) Frame(0.1);
  EXPECT_FALSE(slide->IsRunning());
  EXPECT_EQ(single->GetMatrix().m[12], 0.0f) << "in place";
  // Shown again it comes in from the right edge, slowing as it comes, in about 0.4 s.
  single->Hide();
  single->ShowImmediate();
  EXPECT_EQ(single->GetMatrix().m[12], 640.0f);
  float last = 640.0f, lastStep = 1e9f;
  int frames = 0;
  for (; slide->IsRunning() && frames < 100; ++frames) {
    Frame(0.05);
    const float x = single->GetMatrix().m[12];
    if (slide->IsRunning()) {
      EXPECT_LT(last - x, lastStep);
    }
    lastStep = last - x;
    last = x;
  }
  EXPECT_EQ(frames, 8);
  EXPECT_EQ(single->GetMatrix().m[12], 0.0f);

  Click("Back1");
  Click("Credits");
  const float first = credits->GetOffsetY();
  Frame(1.0);
  EXPECT_NEAR(credits->GetOffsetY(), first + credits->GetScrollY(), 0.01f) << "the text moves up";
  EXPECT_EQ(test::WithoutCallbackLines(rig.Log()).find("!!! Bad"), std::string::npos);
}

TEST(GuiSampleData, EveryExtraMaterialMapsAPictureOfTheSampleData) {
  const fs::path root = fs::path(test::GameRoot()) / "data";
  std::ifstream materials(root / "scripts" / "extras.shader");
  std::vector<std::string> pictures;
  for (std::string line; std::getline(materials, line);) {
    if (line.rfind("textures\\gui\\", 0) != 0) continue;
    std::replace(line.begin(), line.end(), '\\', '/');
    pictures.push_back(line);
    EXPECT_TRUE(fs::exists(root / (line + ".dds"))) << line;
  }
  // The map and its marks, the figure and its outline, the scroller's arrows and items.
  EXPECT_EQ(pictures.size(), 19u);
  for (const char* test : {"effects.gui", "figure.gui", "imagescroller.gui", "map.gui", "model.gui"}) {
    std::ifstream script(test::GuiRig::ScriptFolder() + "/" + test);
    ASSERT_TRUE(script) << test;
    for (std::string line; std::getline(script, line);) {
      const std::size_t at = line.find("textures\\gui\\");
      if (at == std::string::npos) continue;
      std::string name = line.substr(at);
      name = name.substr(0, name.find_first_of(" \t"));
      std::replace(name.begin(), name.end(), '\\', '/');
      EXPECT_NE(std::find(pictures.begin(), pictures.end(), name), pictures.end()) << test << ": " << name;
    }
  }
}

}  // namespace
