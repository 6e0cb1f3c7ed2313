// Window class, window, message translation, cursor and capture (needs a display:
// the test command runs the suites under Xvfb).
#include "platform/win32.h"
#include "platform/win32/EventPump.h"
#include "platform/win32/WindowTable.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Received {
  HWND window;
  UINT message;
  WPARAM wParam;
};
std::vector<Received> g_received;

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  g_received.push_back({window, message, wParam});
  return message == WM_CLOSE ? 0 : 7;
}

ATOM RegisterTestClass(const char* name = "Test Class") {
  WNDCLASSA windowClass;
  windowClass.lpfnWndProc = RecordingProc;
  windowClass.lpszClassName = name;
  return RegisterClassA(&windowClass);
}

TEST(Window, ClientAreaIsExactlyTheSizeAskedForInBothStyles) {
  ASSERT_NE(RegisterTestClass(), 0);
  EXPECT_EQ(RegisterTestClass(), 0) << "a class name exists once";
  EXPECT_FALSE(SDL_IsScreenSaverEnabled()) << "the screen saver stays off while the game runs";
  struct Case {
    DWORD style;
    int width;
    int height;
  };
  for (const Case& c : {Case{WS_VISIBLE | WS_CAPTION | WS_THICKFRAME, 800, 600}, Case{WS_POPUP | WS_VISIBLE, 640, 480}}) {
    RECT rect{0, 0, c.width, c.height};
    ASSERT_TRUE(AdjustWindowRect(&rect, c.style, FALSE));
    const HWND window = CreateWindowExA(WS_EX_APPWINDOW, "TEST CLASS", "Title", c.style, 0, 0, rect.right - rect.left,
                                       rect.bottom - rect.top, 0, 0, 1, nullptr);
    ASSERT_NE(window, 0);
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, c.width);
    EXPECT_EQ(client.bottom, c.height);
    const Uint32 flags = SDL_GetWindowFlags(platform::LookupWindow(window));
    EXPECT_EQ((flags & SDL_WINDOW_BORDERLESS) != 0, (c.style & WS_POPUP) != 0);
    EXPECT_EQ((flags & SDL_WINDOW_RESIZABLE) != 0, (c.style & WS_THICKFRAME) != 0);
    EXPECT_TRUE(DestroyWindow(window));
  }
  EXPECT_EQ(CreateWindowExA(0, "No Such Class", "", WS_VISIBLE, 0, 0, 10, 10, 0, 0, 1, nullptr), 0);
}

/// Sets an environment variable for the scope (null: unset) and puts it back after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    Set(value);
  }
  ~ScopedEnv() { Set(m_old ? m_old->c_str() : nullptr); }
  void Set(const char* value) {
    if (value) {
      setenv(m_name, value, 1);
    } else {
      unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

TEST(Window, WithoutADisplayOnlyADriverAskedForByNameServes) {
  // SDL falls back to its offscreen video without a display: an invisible game that
  // holds the single-instance lock. That driver serves only when asked for.
  ScopedEnv display("DISPLAY", nullptr);
  ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
  ScopedEnv driver("SDL_VIDEODRIVER", nullptr);
  struct Case {
    const char* asked;
    bool registers;
  };
  for (const Case& c : {Case{nullptr, false}, Case{"offscreen", true}, Case{"x11,OFFSCREEN", true},
                        Case{"x11", false}}) {
    driver.Set(c.asked);
    const bool registered = RegisterTestClass() != 0;
    EXPECT_EQ(registered, c.registers) << (c.asked ? c.asked : "no driver asked for");
    if (registered) {
      EXPECT_TRUE(UnregisterClassA("Test Class", 0));
    }
  }
}

TEST(Window, ClassStaysWhileItsWindowExists) {
  ASSERT_NE(RegisterTestClass(), 0);
  const HWND window = CreateWindowExA(0, "Test Class", "", WS_POPUP, 0, 0, 32, 32, 0, 0, 1, nullptr);
  ASSERT_NE(window, 0);
  EXPECT_FALSE(UnregisterClassA("Test Class", 1));
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(UnregisterClassA("Test Class", 1));
  EXPECT_FALSE(UnregisterClassA("Test Class", 1));
  // The last class gone stops SDL's video; registering again starts it again, on the
  // display every time (SDL's own pick now and then falls back to its offscreen video).
  for (int round = 0; round < 40; ++round) {
    ASSERT_NE(RegisterTestClass(), 0) << "round " << round;
    EXPECT_STRNE(SDL_GetCurrentVideoDriver(), "offscreen") << "round " << round;
    EXPECT_TRUE(UnregisterClassA("Test Class", 1));
  }
}

TEST(Window, SdlEventsReachTheProcedureAsWindowMessagesWhoeverPumps) {
  ASSERT_NE(RegisterTestClass(), 0);
  // Hidden, so that the display's own focus events stay out of the way.
  const HWND window = CreateWindowExA(0, "Test Class", "", WS_POPUP, 0, 0, 64, 64, 0, 0, 1, nullptr);
  ASSERT_NE(window, 0);
  platform::PumpEvents();
  g_received.clear();
  test::PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED);
  test::PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
  test::PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST);
  // A pump by someone else (the input layer's update) delivers them at once.
  platform::PumpEvents();
  std::vector<std::pair<UINT, WPARAM>> got;
  for (const Received& r : g_received) {
    EXPECT_EQ(r.window, window);
    got.emplace_back(r.message, r.wParam);
  }
  const std::vector<std::pair<UINT, WPARAM>> want = {
      {WM_ACTIVATEAPP, 1}, {WM_ACTIVATE, WA_ACTIVE}, {WM_SETFOCUS, 0}, {WM_CLOSE, 0},
      {WM_ACTIVATE, WA_INACTIVE}, {WM_ACTIVATEAPP, 0}, {WM_KILLFOCUS, 0}};
  EXPECT_EQ(got, want);

  // A quit request is a posted message without a window: peeked, dispatched to nobody.
  g_received.clear();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  EXPECT_TRUE(g_received.empty());
  // Nothing left; a real close leaves the window in place (the procedure said no).
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
  }
  EXPECT_NE(platform::LookupWindow(window), nullptr);
  EXPECT_EQ(SendMessageA(window, WM_KEYDOWN, 0, 0), 7);
  EXPECT_EQ(SendMessageA(window + 100, WM_KEYDOWN, 0, 0), 0);
}

TEST(Cursor, ShowsOnlyWithACursorAndANonNegativeCounter) {
  EXPECT_TRUE(platform::IsCursorVisible());
  EXPECT_EQ(SetCursor(0), kArrowCursor);
  EXPECT_FALSE(platform::IsCursorVisible());
  EXPECT_EQ(SetCursor(LoadCursorA(0, IDC_ARROW)), 0);
  EXPECT_TRUE(platform::IsCursorVisible());
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_FALSE(platform::IsCursorVisible());
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_TRUE(platform::IsCursorVisible());
  // Before SDL runs the state is only remembered; once a class exists it applies.
  EXPECT_EQ(SetCursor(0), kArrowCursor);
  ASSERT_NE(RegisterTestClass(), 0);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  SetCursor(kArrowCursor);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST(Cursor, CaptureIsRememberedPerWindow) {
  ASSERT_NE(RegisterTestClass(), 0);
  const HWND window = CreateWindowExA(0, "Test Class", "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, 0, 0, 1, nullptr);
  EXPECT_EQ(GetCapture(), 0);
  EXPECT_EQ(SetCapture(window), 0);
  EXPECT_EQ(GetCapture(), window);
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), 0);
  SetCapture(window);
  DestroyWindow(window);
  EXPECT_EQ(GetCapture(), 0) << "a destroyed window loses the capture";
}

TEST(Display, GammaNeedsAWindowAndFailsQuietly) {
  WORD ramp[3][256] = {};
  EXPECT_EQ(GetDC(0), 0) << "no device context for the desktop";
  EXPECT_FALSE(GetDeviceGammaRamp(0, ramp));
  EXPECT_FALSE(SetDeviceGammaRamp(0, ramp));
  ASSERT_NE(RegisterTestClass(), 0);
  const HWND window = CreateWindowExA(0, "Test Class", "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, 0, 0, 1, nullptr);
  const HDC dc = GetDC(window);
  EXPECT_EQ(dc, window);
  // Whether the server offers gamma does not matter (failures are quiet); the display
  // is shared by tests running side by side, so the ramp read is put straight back.
  if (GetDeviceGammaRamp(dc, ramp)) {
    EXPECT_TRUE(SetDeviceGammaRamp(dc, ramp));
  }
  EXPECT_EQ(ReleaseDC(window, dc), 1);
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
}

}  // namespace
