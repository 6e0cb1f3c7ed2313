#pragma once
// The program's one main window. The application creates it after the configuration
// is read, registers the class and creates the window; the renderer and the input
// manager find it through the variable "wnd_handle". Its procedure answers the few
// messages a game cares about (activation, focus, close, screen saver); the program
// never ends through the window, only through the variable "exit".
#include "core/DisplayModes.h"
#include "platform/win32.h"

class N_AppWindow {
 public:
  /// The class name and the title.
  static constexpr const char* kClassName = "Navo Engine";

  /// Reads the instance from "app_hInstance", becomes g_appWindow, hides the cursor
  /// (keeping the current one to show again on activation) and captures the wanted size.
  N_AppWindow();
  /// Releases nothing: the window ends with the process.
  ~N_AppWindow();
  N_AppWindow(const N_AppWindow&) = delete;
  N_AppWindow& operator=(const N_AppWindow&) = delete;

  /// Registers the window class; a failure is a critical error (the program ends).
  void Register();
  /// Creates and shows the window: a borderless pop-up at full screen (cursor hidden),
  /// else a frame with caption and sizing border. Publishes "wnd_handle". Windowed, it
  /// sets the gamma of "r_gamma" (in full screen the renderer does).
  void Create(int fullScreen);
  /// Unregisters the class and puts back the desktop's display mode and gamma ramp.
  void Unregister();

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND Window() const { return m_window; }
  N_DisplayModes& DisplayModes() { return m_displayModes; }

 private:
  HINSTANCE m_instance = 0;
  HWND m_window = 0;
  HCURSOR m_savedCursor = 0;
  N_DisplayModes m_displayModes;
};

/// The window object while it exists (the window procedure's way to it).
extern N_AppWindow* g_appWindow;

/// The registered window procedure: hands every message to g_appWindow.
LRESULT AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
