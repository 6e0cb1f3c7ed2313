#include "platform/win32/Window.h"

#include "platform/win32/Cursor.h"
#include "platform/win32/Debug.h"
#include "platform/win32/EventPump.h"
#include "platform/win32/WindowTable.h"

#include <SDL.h>

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <strings.h>
#include <vector>

namespace {

struct ClassRecord {
  std::string name;
  WNDPROC proc = nullptr;
  HINSTANCE instance = 0;
};

struct WindowRecord {
  std::string className;
  WNDPROC proc = nullptr;
};

std::vector<ClassRecord> g_classes;
std::map<HWND, WindowRecord> g_windows;
std::deque<MSG> g_posted;
std::set<HWND> g_destroying;
int g_listener = 0;
bool g_sdlStarted = false;
/// The display's driver SDL took at an earlier start in this process.
std::string g_displayDriver;

constexpr Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;

ClassRecord* FindClass(LPCSTR name) {
  if (!name) return nullptr;
  for (ClassRecord& c : g_classes) {
    if (strcasecmp(c.name.c_str(), name) == 0) return &c;  // class names ignore case
  }
  return nullptr;
}

void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SendMessageA(window, message, wParam, lParam);
}

/// Turns one SDL event into the window messages it means.
void TranslateEvent(const SDL_Event& event) {
  if (event.type == SDL_QUIT) {
    PostQuitMessage(0);
    return;
  }
  if (event.type != SDL_WINDOWEVENT) return;
  const HWND window = platform::HandleOfWindow(SDL_GetWindowFromID(event.window.windowID));
  if (!window || !g_windows.count(window)) return;  // not one of ours (the intro video's)
  switch (event.window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      Send(window, WM_ACTIVATEAPP, 1, 0);
      Send(window, WM_ACTIVATE, WA_ACTIVE, 0);
      Send(window, WM_SETFOCUS, 0, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      Send(window, WM_ACTIVATE, WA_INACTIVE, 0);
      Send(window, WM_ACTIVATEAPP, 0, 0);
      Send(window, WM_KILLFOCUS, 0, 0);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      Send(window, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

/// True when the name is in the comma-separated list of drivers asked for.
bool AskedFor(const char* driver, const char* list) {
  if (!list) return false;
  const std::string wanted(list);
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = wanted.find(',', start);
    if (strcasecmp(wanted.substr(start, end - start).c_str(), driver) == 0) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

/// SDL falls back to drivers that show nothing when it finds no display; a game that
/// runs there is invisible, holds the single-instance lock and stops every later
/// start. They are taken only when asked for by name (SDL_VIDEODRIVER).
bool ShowsNothing(const char* driver) {
  return !driver || strcasecmp(driver, "offscreen") == 0 || strcasecmp(driver, "dummy") == 0;
}

/// True when SDL's video shows on a display, or shows nothing by the driver asked for.
bool RealVideoDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && (!ShowsNothing(driver) || AskedFor(driver, SDL_GetHint(SDL_HINT_VIDEODRIVER)));
}

/// SDL's own pick, when its video starts again in a process, now and then falls back to
/// its offscreen video although the display is still there (the game stops it after the
/// intro and starts it for its own window). Unless a driver was asked for, the start
/// then asks by name for the display's driver it had before; false, nothing started,
/// when there was none or it does not start.
bool StartOnTheDisplayDriver() {
  if (g_displayDriver.empty() || SDL_GetHint(SDL_HINT_VIDEODRIVER)) return false;
  SDL_SetHint(SDL_HINT_VIDEODRIVER, g_displayDriver.c_str());
  const bool started = SDL_InitSubSystem(kSubsystems) == 0;
  SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  if (started && strcasecmp(SDL_GetCurrentVideoDriver(), g_displayDriver.c_str()) == 0) return true;
  if (started) SDL_QuitSubSystem(kSubsystems);
  return false;
}

bool StartSdl() {
  if (g_sdlStarted) return true;
  // SDL's own handlers would turn SIGINT and SIGTERM into quit requests, which the
  // game ignores as it ignores every close request; platform::CatchTerminationSignals
  // turns them into a normal end instead.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(kSubsystems) != 0) return false;
  if (!RealVideoDriver()) {
    SDL_QuitSubSystem(kSubsystems);
    if (!StartOnTheDisplayDriver()) {
      OutputDebugStringA("No display found (SDL offers only its offscreen video): set DISPLAY or WAYLAND_DISPLAY\n");
      return false;
    }
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!ShowsNothing(driver)) g_displayDriver = driver;
  g_sdlStarted = true;
  // The game keeps the screen saver and display power-saving off while it runs.
  SDL_DisableScreenSaver();
  if (!g_listener) g_listener = platform::AddEventListener(TranslateEvent);
  platform::ApplyCursorState();
  return true;
}

void StopSdlIfUnused() {
  if (!g_sdlStarted || !g_classes.empty()) return;
  platform::RemoveEventListener(g_listener);
  g_listener = 0;
  SDL_QuitSubSystem(kSubsystems);
  g_sdlStarted = false;
}

}  // namespace

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
  if (FindClass(windowClass->lpszClassName)) return 0;
  if (!StartSdl()) return 0;
  g_classes.push_back({windowClass->lpszClassName, windowClass->lpfnWndProc, windowClass->hInstance});
  return static_cast<ATOM>(0xC000 + g_classes.size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  ClassRecord* c = FindClass(className);
  if (!c) return FALSE;
  for (const auto& [handle, record] : g_windows) {
    if (strcasecmp(record.className.c_str(), className) == 0) return FALSE;
  }
  g_classes.erase(g_classes.begin() + (c - g_classes.data()));
  StopSdlIfUnused();
  return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD, BOOL) { return rect ? TRUE : FALSE; }

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND, HMENU, HINSTANCE, void*) {
  const ClassRecord* c = FindClass(className);
  if (!c || width < 0 || height < 0) return 0;
  // A hidden window may have no size (it only takes messages): SDL gets 1 x 1.
  // A visible one of no size cannot be shown and is refused.
  if (width == 0 || height == 0) {
    if (style & WS_VISIBLE) return 0;
    width = std::max(width, 1);
    height = std::max(height, 1);
  }
  Uint32 flags = SDL_WINDOW_OPENGL;  // the renderer makes its GL context on this window
  if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
  if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
  flags |= (style & WS_VISIBLE) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
  SDL_Window* sdlWindow = platform::CreateGlWindow(windowName ? windowName : "", x, y, width, height, flags);
  if (!sdlWindow) return 0;
  const HWND handle = platform::RegisterWindow(sdlWindow);
  g_windows[handle] = {c->name, c->proc};
  return handle;
}

BOOL ShowWindow(HWND window, int command) {
  SDL_Window* w = g_windows.count(window) ? platform::LookupWindow(window) : nullptr;
  if (!w) return FALSE;
  const BOOL wasVisible = (SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
  if (command == SW_HIDE) {
    SDL_HideWindow(w);
  } else {
    SDL_ShowWindow(w);
  }
  return wasVisible;
}

BOOL DestroyWindow(HWND window) {
  SDL_Window* w = g_windows.count(window) ? platform::LookupWindow(window) : nullptr;
  if (!w || g_destroying.count(window)) return FALSE;
  // The procedure sees WM_DESTROY while the window still exists; a DestroyWindow of
  // its own meanwhile finds the window being destroyed and does nothing.
  g_destroying.insert(window);
  SendMessageA(window, WM_DESTROY, 0, 0);
  g_destroying.erase(window);
  if (platform::CaptureWindow() == window) ReleaseCapture();
  g_windows.erase(window);
  platform::UnregisterWindow(window);
  SDL_DestroyWindow(w);
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  SDL_Window* w = g_windows.count(window) ? platform::LookupWindow(window) : nullptr;
  int width = 0;
  int height = 0;
  if (!rect || !platform::ClientSize(w, width, height)) return FALSE;
  *rect = {0, 0, width, height};
  return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
  SDL_Window* w = g_windows.count(window) ? platform::LookupWindow(window) : nullptr;
  if (!w || !point) return FALSE;
  int x = 0;
  int y = 0;
  SDL_GetWindowPosition(w, &x, &y);
  *point = platform::WindowToClient(w, {point->x - x, point->y - y});
  return TRUE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  platform::PumpEvents();
  for (auto it = g_posted.begin(); it != g_posted.end(); ++it) {
    if (window != 0 && it->hwnd != window) continue;
    if ((filterMin != 0 || filterMax != 0) && (it->message < filterMin || it->message > filterMax)) continue;
    if (msg) *msg = *it;
    if (removeFlags & PM_REMOVE) g_posted.erase(it);
    return TRUE;
  }
  return FALSE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto it = g_windows.find(window);
  if (it == g_windows.end() || !it->second.proc) return 0;
  return it->second.proc(window, message, wParam, lParam);
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != 0 && !g_windows.count(window)) return FALSE;
  MSG msg;
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  g_posted.push_back(msg);
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  MSG msg;
  msg.message = WM_QUIT;
  msg.wParam = static_cast<WPARAM>(exitCode);
  g_posted.push_back(msg);
}

namespace platform {

std::vector<HWND> LayerWindows() {
  std::vector<HWND> handles;
  for (const auto& [handle, record] : g_windows) handles.push_back(handle);
  return handles;
}

}  // namespace platform
