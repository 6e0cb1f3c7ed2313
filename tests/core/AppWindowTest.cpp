// The main window: size and style, the published handle, the messages it answers,
// the gamma ramp (needs a display: the test command runs under Xvfb).
#include "core/AppWindow.h"
#include "core/Globals.h"
#include "core/VarMng.h"
#include "platform/win32/EventPump.h"
#include "platform/win32/WindowTable.h"
#include "tests/platform/ScreenGrab.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(AppWindow, ClientAreaIsTheConfiguredSizeAndTheHandleIsPublished) {
  struct Case {
    int fullScreen;
    int width;
    int height;
  };
  for (const Case& c : {Case{0, 800, 600}, Case{1, 640, 480}}) {
    test::TempDir dir;
    test::CoreServices core;
    core.vars->SetInt("v_width", c.width, 2);
    core.vars->SetInt("v_height", c.height, 2);
    N_AppWindow window;
    EXPECT_EQ(g_appWindow, &window);
    window.Register();
    window.Create(c.fullScreen);
    ASSERT_NE(window.Window(), 0);
    EXPECT_EQ(core.vars->GetInt("wnd_handle"), window.Window());
    EXPECT_EQ(core.vars->Find("wnd_handle")->Flags(), 0x09u) << "a built-in keeps its flags";
    RECT client;
    ASSERT_TRUE(GetClientRect(window.Window(), &client));
    EXPECT_EQ(client.right, c.width);
    EXPECT_EQ(client.bottom, c.height);
    SDL_Window* sdl = platform::LookupWindow(window.Window());
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "Navo Engine");
    EXPECT_EQ((SDL_GetWindowFlags(sdl) & SDL_WINDOW_BORDERLESS) != 0, c.fullScreen != 0);
    // The cursor is gone from construction on; full screen lowers its counter for good.
    EXPECT_FALSE(platform::IsCursorVisible());
    SetCursor(kArrowCursor);
    EXPECT_EQ(platform::IsCursorVisible(), c.fullScreen == 0);
    if (c.fullScreen) {
      EXPECT_EQ(ShowCursor(TRUE), 0);  // the counter was lowered once
    }
    // The class goes only once its window is gone (the game leaves both to the process end).
    DestroyWindow(window.Window());
    window.Unregister();
  }
  EXPECT_EQ(g_appWindow, nullptr);
}

TEST(AppWindow, ActivationSwitchesCaptureAndCloseRequestsAreRefused) {
  test::TempDir dir;
  test::PrivateDisplay display;  // no other test's window takes the focus here
  if (!display.Ok()) GTEST_SKIP() << "no Xvfb";
  test::CoreServices core;
  N_AppWindow window;
  window.Register();
  window.Create(0);
  const HWND hwnd = window.Window();
  ASSERT_NE(hwnd, 0);
  platform::PumpEvents();  // the display's own events first
  ASSERT_TRUE(test::XdoTool("mousemove 100 100"));  // the pointer over the window
  test::PushWindowEvent(hwnd, SDL_WINDOWEVENT_FOCUS_GAINED);
  platform::PumpEvents();
  EXPECT_EQ(GetCapture(), hwnd);
  // While the game has the mouse the X server shows no pointer over the window (the
  // game draws its own arrow); another application active, the pointer is back.
  EXPECT_FALSE(platform::IsCursorVisible());
  EXPECT_FALSE(test::PointerShown());
  test::PushWindowEvent(hwnd, SDL_WINDOWEVENT_FOCUS_LOST);
  platform::PumpEvents();
  EXPECT_EQ(GetCapture(), 0);
  EXPECT_TRUE(platform::IsCursorVisible()) << "the cursor kept at construction";
  EXPECT_TRUE(test::PointerShown());

  // Close requests, from the window manager or a quit request, change nothing.
  test::PushWindowEvent(hwnd, SDL_WINDOWEVENT_CLOSE);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  MSG msg;
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_NE(platform::LookupWindow(hwnd), nullptr);
  EXPECT_EQ(window.HandleMessage(hwnd, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(window.HandleMessage(hwnd, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
  EXPECT_EQ(window.HandleMessage(hwnd, WM_SYSCOMMAND, SC_MONITORPOWER, 0), 0);
  // Activation asks for the normal priority class (which the process already has).
  const DWORD before = GetPriorityClass(GetCurrentProcess());
  window.HandleMessage(hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), before == NORMAL_PRIORITY_CLASS ? NORMAL_PRIORITY_CLASS : before);
}

TEST(AppWindow, FailedWindowCreationLeavesNoHandle) {
  test::TempDir dir;
  test::CoreServices core;
  N_AppWindow window;  // its class is not registered: no window can be made
  window.Create(0);
  EXPECT_EQ(window.Window(), 0);
  EXPECT_EQ(core.vars->GetInt("wnd_handle"), 0);
}

TEST(AppWindowDeathTest, ClassThatCannotBeRegisteredIsCritical) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        test::TempDir dir;
        test::CoreServices core;
        N_AppWindow first;
        first.Register();
        N_AppWindow second;
        second.Register();  // the class exists already
      },
      testing::ExitedWithCode(255), "");
}

TEST(DisplayModes, GammaRampEntries) {
  struct Case {
    float gamma;
    int index;
    int entry;
  };
  for (const Case& c : {Case{2.0f, 128, 180 * 256}, Case{2.0f, 0, 0}, Case{2.0f, 255, 255 * 256},
                        Case{0.5f, 128, 64 * 256}, Case{-1.0f, 0, 0}, Case{-1.0f, 128, 128 * 256}}) {
    N_GammaRamp ramp;
    N_DisplayModes::BuildRamp(c.gamma, ramp);
    EXPECT_EQ(ramp.red[c.index], c.entry) << "gamma " << c.gamma << " entry " << c.index;
    EXPECT_EQ(ramp.green[c.index], ramp.red[c.index]);
    EXPECT_EQ(ramp.blue[c.index], ramp.red[c.index]);
  }
  // Gamma 0 and 1 give the identity ramp, every entry.
  for (float gamma : {0.0f, 1.0f}) {
    N_GammaRamp ramp;
    N_DisplayModes::BuildRamp(gamma, ramp);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(ramp.red[i], i * 256) << "gamma " << gamma << " entry " << i;
  }
}

TEST(DisplayModes, AbsurdGammaIsHeldInASaneRange) {
  // NaN, negative or tiny values used to give a black or white desktop ramp.
  struct Case {
    float gamma;
    float sane;
  };
  for (const Case& c : {Case{std::nanf(""), 1.0f}, Case{-1.0f, 1.0f}, Case{0.0f, 1.0f}, Case{0.01f, 0.5f},
                        Case{100.0f, 3.0f}, Case{INFINITY, 3.0f}, Case{1.7f, 1.7f}, Case{0.5f, 0.5f}}) {
    EXPECT_EQ(N_DisplayModes::SaneGamma(c.gamma), c.sane) << c.gamma;
    N_GammaRamp ramp;
    N_DisplayModes::BuildRamp(c.gamma, ramp);
    // Mid-grey stays visibly grey: neither black nor white.
    EXPECT_GE(ramp.red[128], 64 * 256) << c.gamma;
    EXPECT_LE(ramp.red[128], 203 * 256) << c.gamma;
    EXPECT_EQ(ramp.red[255], 255 * 256) << c.gamma;
    EXPECT_EQ(ramp.red[0], 0) << c.gamma;
  }
}

TEST(DisplayModes, WindowedCreationSetsTheConfiguredGamma) {
  test::TempDir dir;
  test::CoreServices core;
  core.vars->SetFloat("r_gamma", 2.0f, 2);
  N_AppWindow window;
  EXPECT_EQ(window.DisplayModes().Width(), 800);
  EXPECT_EQ(window.DisplayModes().Height(), 600);
  window.Register();
  window.Create(0);
  EXPECT_EQ(window.DisplayModes().WorkingRamp().red[128], 180 * 256);
  window.Unregister();
}

}  // namespace
