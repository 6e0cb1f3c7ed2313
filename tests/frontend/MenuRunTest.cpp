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
#include "tests/platform/ScreenGrab.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using test::Gui;
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

// While the menus show, the desktop's pointer stays the desktop's: no program holds it
// (another can grab it), it is hidden over the game's window only, and the game's arrow
// stands where it is, within 2 pixels, from the first frame on and after every move.
// In full screen too, also where the display has no mode of the frame's size and the
// frame is scaled to it between black bars (the splash too). The aim's view without an arrow (as at the
// range) takes the mouse, whose motion then turns the aim on beyond the screen's edge.
TEST(MenuRun, TheArrowIsWhereTheDesktopPointerIs) {
  struct Case {
    int width, height;  ///< the frame's
    int fullScreen;
    RECT frame;  ///< where the frame lies on the 1280 x 1024 screen
  };
  test::PrivateDisplay display("1280x1024x24");
  if (!display.Ok()) GTEST_SKIP() << "no Xvfb";
  for (const Case& c : {Case{800, 600, 0, {0, 0, 800, 600}}, Case{1280, 1024, 1, {0, 0, 1280, 1024}},
                        Case{800, 600, 1, {0, 32, 1280, 992}}, Case{1024, 768, 1, {0, 32, 1280, 992}}}) {
    const std::string size = "v_width " + std::to_string(c.width) + "\nv_height " + std::to_string(c.height) + "\n";
    SCOPED_TRACE(size + (c.fullScreen ? "full screen" : "in a window"));
    test::TempDir dir;
    PrepareGameRoot(dir);
    dir.Write("user.cfg", "v_fullscreen " + std::to_string(c.fullScreen) + "\n" + size);
    ASSERT_TRUE(test::XdoTool("mousemove 300 200"));  // before the start
    N_Application app;
    ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
    auto hi = test::ScreenAverage(0, c.frame.top, 640, 9), lo = test::ScreenAverage(0, c.frame.bottom - 9, 640, 9);
    EXPECT_TRUE(!c.fullScreen || (hi->b > 120 && hi->r < 80 && lo->g > 190)) << "the splash's sky and snow";
    // The arrow's corner on the screen, within 2 pixels of the point.
    auto at = [&c](int x, int y) {
      const N_GuiElement* arrow = Gui().GetCursor();
      const float sx = c.frame.left + arrow->GetLeft() * float(c.frame.right - c.frame.left) / 640.0f;
      const float sy = c.frame.top + arrow->GetTop() * float(c.frame.bottom - c.frame.top) / 480.0f;
      return std::abs(sx - float(x)) <= 2.0f && std::abs(sy - float(y)) <= 2.0f;
    };
    int passes = 0;
    // Waits until the condition holds, for 300 passes at most.
    auto until = [&passes](std::function<bool()> condition, const char* what) -> std::function<bool()> {
      return [&passes, condition, what] {
        if (condition()) return passes = 0, true;
        if (++passes < 300) return false;
        ADD_FAILURE() << "waited in vain: " << what << "; the arrow at " << Gui().GetCursor()->GetLeft() << ", "
                      << Gui().GetCursor()->GetTop();
        return passes = 0, true;
      };
    };
    auto yaw = [] { return g_world->CameraMng().ShakeController().MainCamera().angleZ; };
    float yaw0 = 0.0f;
    int counter = 0, viewMode = 0, moves = 0;
    std::deque<std::function<bool()>> steps;
    steps.push_back(until([&] { return Visible("MainMenu") && at(300, 200); }, "the arrow at the start"));
    steps.push_back([] {
      EXPECT_TRUE(test::PointerFree()) << "a grab is held";
      EXPECT_FALSE(test::PointerShown()) << "over the window";
      return test::XdoTool("mousemove 123 457");
    });
    steps.push_back(until([&] { return at(123, 457); }, "the arrow at 123, 457"));
    steps.push_back([] { return test::XdoTool("mousemove 777 33"); });
    steps.push_back(until([&] { return at(777, 33); }, "the arrow at 777, 33"));
    if (!c.fullScreen) {
      steps.push_back([] { return test::XdoTool("mousemove 900 700"); });
      steps.push_back(until([] { return test::PointerShown(); }, "the pointer shown outside the window"));
      steps.push_back([] {
        EXPECT_TRUE(test::PointerFree()) << "a grab is held";
        return test::XdoTool("mousemove 700 300");
      });
      // 800 units from 700 turn the aim 4 degrees; with the arrow back the pointer is free.
      steps.push_back(until([&] { return at(700, 300); }, "the arrow at 700, 300"));
      steps.push_back([&] {
        viewMode = g_varMng->GetInt("viewmode");
        g_varMng->SetInt("viewmode", 2, 2);
        for (counter = Gui().GetCursorCounter(); Gui().GetCursorCounter() > 0;) Gui().ShowCursor(false);
        return yaw0 = yaw(), true;
      });
      steps.push_back(until([] { return !test::PointerFree(); }, "the game taking the mouse"));
      steps.push_back([&] { return test::XdoTool("mousemove_relative -- 100 0") && ++moves == 8; });
      steps.push_back(until([&] { return std::abs(yaw() - yaw0) > 3.5f; }, "the aim turned"));
      steps.push_back([&] {
        EXPECT_NEAR(std::abs(yaw() - yaw0), 4.0f, 0.5f);
        g_varMng->SetInt("viewmode", viewMode, 2);
        while (Gui().GetCursorCounter() < counter) Gui().ShowCursor(true);
        return true;
      });
      steps.push_back(until([] { return test::PointerFree(); }, "the pointer let go"));
    }
    steps.push_back([] { return g_varMng->SetInt("exit", 1, 2), true; });
    app.SetFrameHook([&] {
      if (!steps.empty() && steps.front()()) steps.pop_front();
    });
    app.Run();
    EXPECT_TRUE(steps.empty());
  }
}

// "Exit" darkens the screen over a second of the game's clock, shows the black page while
// it brightens again over another, and the main loop ends.
TEST(MenuRun, ExitFadesToTheBlackPageAndEnds) {
  test::TempDir dir;
  PrepareGameRoot(dir);
  N_Application app;
  ASSERT_TRUE(app.Init(GetModuleHandleA(nullptr)));
  std::vector<float> overlays;
  std::vector<double> steps;  // the timer's frame time each frame's ramp moved by
  std::vector<bool> black;  // whether the black page was up in each frame
  Script script;
  frontend::SetFrameObserver([&](const frontend::FrameEvent& event) {
    if (!event.drawn) return steps.push_back(g_timer->GetFrameTime());
    overlays.push_back(event.overlay);
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
  ASSERT_EQ(steps.size(), overlays.size());
  const auto peak = std::find(overlays.begin(), overlays.end(), 1.0f);
  ASSERT_NE(peak, overlays.end());
  EXPECT_EQ(overlays.back(), 0.0f);
  // The pages change at full black: the black page comes up in the first frame after.
  const std::size_t top = static_cast<std::size_t>(peak - overlays.begin());
  EXPECT_EQ(std::count(black.begin(), black.begin() + top + 1, true), 0);
  EXPECT_EQ(std::count(black.begin() + top + 1, black.end(), false), 0);
  EXPECT_EQ(g_varMng->GetInt("exit"), 1);
  // The ramps follow the game's frame times, not the frames: up by each one to full
  // black, down by each one to none, a second each (a stalled frame is a long step).
  float ramp = 0.0f;
  for (std::size_t i = 0; i < overlays.size(); ++i) {
    const float step = static_cast<float>(steps[i]);
    ramp = i <= top ? std::min(ramp + step, 1.0f) : std::max(ramp - step, 0.0f);
    ASSERT_FLOAT_EQ(overlays[i], ramp) << "frame " << i << " of " << overlays.size();
  }
}

}  // namespace
