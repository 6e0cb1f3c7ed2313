#include "core/AppWindow.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/VarMng.h"

#include <cstdlib>

N_AppWindow* g_appWindow = nullptr;

namespace {

/// At process exit, also after a critical error (which skips the shutdown), the
/// desktop's mode and ramp come back while the window object still exists.
void RestoreDisplayAtExit() {
  if (g_appWindow) g_appWindow->DisplayModes().Restore();
}

}  // namespace

LRESULT AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_appWindow) return DefWindowProcA(window, message, wParam, lParam);
  return g_appWindow->HandleMessage(window, message, wParam, lParam);
}

N_AppWindow::N_AppWindow() {
  m_instance = g_varMng ? static_cast<HINSTANCE>(g_varMng->GetInt("app_hInstance")) : 0;
  g_appWindow = this;
  m_savedCursor = SetCursor(0);
  m_displayModes.Capture();
}

N_AppWindow::~N_AppWindow() {
  if (g_appWindow == this) g_appWindow = nullptr;
}

void N_AppWindow::Register() {
  WNDCLASSA windowClass;
  windowClass.style = 0;
  windowClass.lpfnWndProc = AppWindowProc;
  windowClass.hInstance = m_instance;
  windowClass.hCursor = LoadCursorA(0, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass) && g_errorLog) g_errorLog->Critical(9, "Unable to register window class!!!");
}

void N_AppWindow::Create(int fullScreen) {
  DWORD style = WS_VISIBLE | WS_CAPTION | WS_THICKFRAME;
  if (fullScreen) {
    style = WS_POPUP | WS_VISIBLE;
    ShowCursor(FALSE);
  }
  // A configured size the display cannot show would leave the game without a window
  // or a device on every start: the registered class has started the display.
  m_displayModes.FitToDisplay(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  RECT rect{0, 0, m_displayModes.Width(), m_displayModes.Height()};
  AdjustWindowRect(&rect, style, FALSE);
  m_window = CreateWindowExA(WS_EX_APPWINDOW, kClassName, kClassName, style, 0, 0, rect.right - rect.left,
                             rect.bottom - rect.top, 0, 0, m_instance, nullptr);
  if (g_varMng) g_varMng->SetInt("wnd_handle", m_window, 0x02);
  ShowWindow(m_window, SW_SHOW);
  if (m_window) {
    m_displayModes.CaptureGamma(m_window);
    static const bool registered = std::atexit(RestoreDisplayAtExit) == 0;
    (void)registered;
  }
  if (!fullScreen && g_varMng) m_displayModes.SetGamma(g_varMng->GetFloat("r_gamma"));
}

void N_AppWindow::Unregister() {
  // A class keeps its registration while a window of it exists: the window goes first,
  // so that a later start in the same process can register the class again.
  if (m_window && DestroyWindow(m_window)) m_window = 0;
  UnregisterClassA(kClassName, m_instance);
  m_displayModes.Restore();
  m_displayModes.RestoreChoice();  // "config.cfg" is written next
}

LRESULT N_AppWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
      break;
    case WM_SETFOCUS:
      if (g_inputMng) g_inputMng->Acquire();
      break;
    case WM_CLOSE:
      return 0;  // the program ends only through "exit"
    case WM_ACTIVATEAPP:
      // While the game has the mouse only its own arrow shows over the window; the
      // desktop's pointer comes back when another application is active.
      SetCursor(wParam ? 0 : m_savedCursor);
      if (wParam) {
        SetCapture(window);
      } else {
        ReleaseCapture();
      }
      break;
    case WM_SYSCOMMAND:
      if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
