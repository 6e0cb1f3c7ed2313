#pragma once
// A real SDL window for input tests under the virtual X server: entered in the
// platform's window table, so engine code finds it through its HWND (the variable
// "wnd_handle"). There is no window manager there: focus is given explicitly.
#include "platform/win32/Types.h"

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace test {

/// A virtual X server of the test's own (Xvfb), made the display for the test's
/// lifetime: on a shared server, any other test that shows a window takes the focus.
class PrivateDisplay {
 public:
  /// A screen of that size and depth ("WxHxD").
  explicit PrivateDisplay(const char* screen = "640x480x24");
  ~PrivateDisplay();
  PrivateDisplay(const PrivateDisplay&) = delete;
  PrivateDisplay& operator=(const PrivateDisplay&) = delete;

  /// False when Xvfb could not be started (the test skips).
  bool Ok() const { return m_server > 0; }

 private:
  void Stop();

  pid_t m_server = -1;
  std::string m_previous;  ///< the DISPLAY before
  bool m_hadDisplay = false;
};

class TestWindow {
 public:
  TestWindow();
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  /// False when there is no display or the window could not be made (the test skips).
  bool Ok() const { return m_handle != 0; }
  HWND Handle() const { return m_handle; }
  /// Gives the window the keyboard focus and pumps events until SDL reports it; false
  /// after two seconds without it.
  bool Focus();
  bool HasFocus() const;

 private:
  HWND m_handle = 0;
  bool m_sdlStarted = false;
};

/// Runs an xdotool command line (e.g. "keydown a"); false when it fails.
bool XdoTool(const char* arguments);

/// Queues an SDL window event (SDL_WINDOWEVENT_FOCUS_GAINED, ..._CLOSE, ...) for a
/// window of the layer, as the display would send it.
void PushWindowEvent(HWND window, std::uint8_t sdlWindowEvent);

}  // namespace test
