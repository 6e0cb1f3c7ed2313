// The game in process with the sample data and the front-end: the player's clicks are
// scripted (the cursor put on a button, the mouse button pressed and released through
// the scripted input), each step waiting for what the menus show.
#include "app/Application.h"
#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/FrontendFrame.h"
#include "frontend/career/CareerState.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "platform/dinput8/ScriptedInput.h"
#include "platform/win32.h"
#include "race/World.h"
#include "sound/SoundMng.h"
#include "tests/frontend/MenuScript.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using test::Gui;
using test::Clock;
using test::Script;
using test::Visible;

/// The game root's data the menus show, an empty start level, a small window.
void PrepareGameRoot(const test::TempDir& dir) {
  for (const char* part : {"data/scripts", "data/gfx", "data/textures", "data/sounds", test::kProfilesFile}) {
    test::CopyFromGameRoot(dir, part);
  }
  test::CopyFigureData(dir);
  test::WriteEmptyLevel(dir, test::kStartLevelFile);
  dir.Write("user.cfg", "v_fullscreen 0\nv_width 640\nv_height 480\n");
}


// Every navigation page that can be reached, and back; the OK box keeps the page below
// from taking a click until it is answered; a disabled button takes none at all.
TEST(MenuRun, WalksTheMenusAndBackWithoutMissingNames) {
  test::TempDir dir;
  PrepareGameRoot(dir);
  N_Application app;
  ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
  Script script;
  script.Until([] { return Visible("MainMenu") && Visible("Background"); }, "the main menu");
  // The menu's music plays; coming back to the menu keeps the stream playing on (a
  // stream started anew would have decoded less than before).
  auto decoded = std::make_shared<double>(0.0);
  script.Then([decoded] {
    EXPECT_EQ(g_soundMng->MusicFileName(), "data\\sounds\\music.ogg");
    EXPECT_TRUE(g_soundMng->IsMusicPlaying());
    return *decoded = g_soundMng->MusicStream().DecodedSeconds(), true;
  });
  struct Walk {
    const char* button;
    const char* page;
    const char* back;
  };
  for (const Walk& walk : {Walk{"SinglePlayer", "SinglePlayer", "Back1"}, Walk{"MultiPlayer", "MultiPlayer", "Back2"},
                           Walk{"TrainingFun", "TrainingFun", "Back3"}, Walk{"Options", "MainOptions", "Back4"},
                           Walk{"Credits", "Credits", "Back5"}}) {
    script.Click(walk.button);
    script.Until([walk] { return Visible(walk.page) && !Visible("MainMenu"); }, walk.page);
    script.Click(walk.back);
    script.Until([walk] { return !Visible(walk.page) && Visible("MainMenu") && Visible("Background"); }, walk.back);
  }
  script.Then([decoded] {
    EXPECT_TRUE(g_soundMng->IsMusicPlaying());
    if (g_soundMng->HasDevice()) {
      EXPECT_GT(g_soundMng->MusicStream().DecodedSeconds(), *decoded);
    }
    return true;
  });
  // The box over the multi-player page.
  script.Click("MultiPlayer");
  script.Until([] { return Visible("MultiPlayer"); }, "MultiPlayer");
  script.Click("CreateGame");
  script.Until([] { return Visible("MessageOK"); }, "the box");
  script.Click("Back2");
  script.Pause(700);
  script.Then([] {
    EXPECT_TRUE(Visible("MultiPlayer")) << "the box is modal";
    EXPECT_TRUE(Visible("MessageOK"));
    EXPECT_FALSE(Visible("MainMenu"));
    return true;
  });
  script.Click("Ok1");
  script.Until([] { return !Visible("MessageOK") && Visible("MultiPlayer"); }, "the box closed");
  script.Click("Back2");
  script.Until([] { return !Visible("MultiPlayer") && Visible("MainMenu"); }, "back from MultiPlayer");
  // The career's profile pages open in their set-up look and "Back22" leaves them.
  script.Click("SinglePlayer");
  script.Until([] { return Visible("SinglePlayer"); }, "SinglePlayer");
  script.Click("Career");
  script.Until([] { return Visible("CareerProfile") && Visible("CareerAttributes"); }, "the career profile");
  script.Then([] {
    EXPECT_NE(career::Profile(), nullptr);
    EXPECT_FALSE(Visible("SinglePlayer"));
    return true;
  });
  script.Click("Back22");
  script.Until([] { return Visible("SinglePlayer") && !Visible("CareerProfile"); }, "back from the career profile");
  script.Then([] {
    EXPECT_EQ(career::Profile(), nullptr);
    return true;
  });
  script.Click("Back1");
  script.Until([] { return Visible("MainMenu"); }, "back from SinglePlayer");
  script.Then([] { return g_varMng->SetInt("exit", 1, 2), true; });
  app.SetFrameHook([&script] { script.OnPass(); });
  app.Run();
  EXPECT_TRUE(script.Done());
  const std::string log = dir.Read("navo.log");
  EXPECT_EQ(log.find("not found"), std::string::npos) << log;
}

// In a window the arrow moves as far as the desktop's pointer: the X server's pointer
// moved by 100 x 60 pixels over an 800 x 600 window moves it 80 x 48 units.
TEST(MenuRun, InAWindowTheArrowFollowsTheDesktopPointer) {
  test::TempDir dir;
  PrepareGameRoot(dir);
  dir.Write("user.cfg", "v_fullscreen 0\nv_width 800\nv_height 600\n");
  N_Application app;
  ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
  float left = 0.0f, top = 0.0f;
  int frames = 0;
  std::deque<std::function<bool()>> steps;
  steps.push_back([] { return Visible("MainMenu") && test::XdoTool("mousemove 200 150"); });
  steps.push_back([&frames] { return ++frames > 20; });
  steps.push_back([&] {
    left = Gui().GetCursor()->GetLeft();
    top = Gui().GetCursor()->GetTop();
    frames = 0;
    return test::XdoTool("mousemove 300 210");
  });
  steps.push_back([&frames] { return ++frames > 20; });
  steps.push_back([&] {
    EXPECT_NEAR(Gui().GetCursor()->GetLeft() - left, 80.0f, 0.5f);
    EXPECT_NEAR(Gui().GetCursor()->GetTop() - top, 48.0f, 0.5f);
    return g_varMng->SetInt("exit", 1, 2), true;
  });
  int passes = 0;
  app.SetFrameHook([&] {
    if (++passes > 2000) g_varMng->SetInt("exit", 1, 2);
    if (!steps.empty() && steps.front()()) steps.pop_front();
  });
  app.Run();
  EXPECT_TRUE(steps.empty());
}

// "Exit" darkens the screen over about a second, shows the black page while it
// brightens again, and the main loop ends.
TEST(MenuRun, ExitFadesToTheBlackPageAndEnds) {
  test::TempDir dir;
  PrepareGameRoot(dir);
  N_Application app;
  ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
  std::vector<float> overlays;
  std::vector<Clock::time_point> times;
  std::vector<bool> black;  // whether the black page was up in each frame
  Script script;
  frontend::SetFrameObserver([&](const frontend::FrameEvent& event) {
    if (!event.drawn) return;
    overlays.push_back(event.overlay);
    times.push_back(Clock::now());
    black.push_back(Visible("BlackScreen"));
    // The button let go and pressed on "Exit" again while the screen darkens is no
    // click: nothing of the GUI runs during the fade (a second fade would break the
    // ramps below).
    if (overlays.size() == 2) script.Input().ButtonUp(0);
    if (overlays.size() == 4) script.Input().ButtonDown(0);
  });
  script.Until([] { return Visible("MainMenu"); }, "the main menu");
  script.Click("Exit");
  app.SetFrameHook([&script] { script.OnPass(); });
  app.Run();  // returns: the fade set "exit"
  frontend::SetFrameObserver({});
  EXPECT_TRUE(Visible("BlackScreen"));
  EXPECT_FALSE(Visible("MainMenu"));
  ASSERT_GE(overlays.size(), 2u);
  const auto peak = std::find(overlays.begin(), overlays.end(), 1.0f);
  ASSERT_NE(peak, overlays.end());
  EXPECT_TRUE(std::is_sorted(overlays.begin(), peak + 1));
  EXPECT_TRUE(std::is_sorted(peak, overlays.end(), std::greater<float>()));
  EXPECT_EQ(overlays.back(), 0.0f);
  // The pages change at full black: the black page comes up in the first frame after.
  const std::size_t change = static_cast<std::size_t>(peak - overlays.begin()) + 1;
  EXPECT_EQ(std::count(black.begin(), black.begin() + change, true), 0);
  EXPECT_EQ(std::count(black.begin() + change, black.end(), false), 0);
  // About a second each way (the ramp follows real time; a frame's time may overshoot).
  const auto dark = times[static_cast<std::size_t>(peak - overlays.begin())];
  EXPECT_GE(dark - times.front(), std::chrono::milliseconds(700));
  EXPECT_GE(times.back() - dark, std::chrono::milliseconds(900));
  EXPECT_EQ(g_varMng->GetInt("exit"), 1);
}

}  // namespace
