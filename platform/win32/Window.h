#pragma once
// Window class, window and message queue, Windows-shaped, over SDL2.
//
// Registering the first class starts SDL's video and event subsystems. A window is
// one SDL window whose client area is exactly the size asked for: the window manager
// draws any frame outside it, so AdjustWindowRect adds nothing.
//
// Messages: SDL's window events are translated into the WM_* messages of the window
// procedure and handed to it at once, whoever pumps SDL's events (the main loop's
// PeekMessageA or the input layer's update), as Windows hands sent messages to the
// procedure. Only the quit message is posted; PeekMessageA returns it and
// DispatchMessageA, as on Windows, finds no window for it.
//   window gains focus: WM_ACTIVATEAPP (1), WM_ACTIVATE (WA_ACTIVE), WM_SETFOCUS
//   window loses focus: WM_ACTIVATE (WA_INACTIVE), WM_ACTIVATEAPP (0), WM_KILLFOCUS
//   close request:      WM_CLOSE (the procedure decides; nothing closes by itself)
//   SDL quit request:   WM_QUIT posted, window 0
// PostMessageA queues any message for PeekMessageA (the intro video's input and the
// close request of its player window travel that way).
#include "platform/win32/Types.h"

#include <vector>

using ATOM = WORD;
using LPCSTR = const char*;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
/// Cursor handles are small ids of the layer: 0 none, kArrowCursor the standard arrow.
using HCURSOR = std::int32_t;
using HICON = std::int32_t;
using HBRUSH = std::int32_t;
using HMENU = std::int32_t;

struct POINT {
  LONG x = 0;
  LONG y = 0;
};

struct WNDCLASSA {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = 0;
  HICON hIcon = 0;
  HCURSOR hCursor = 0;
  HBRUSH hbrBackground = 0;
  LPCSTR lpszMenuName = nullptr;
  LPCSTR lpszClassName = nullptr;
};

struct MSG {
  HWND hwnd = 0;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
};

// Window styles.
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWDEFAULT = 10;

// Messages.
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_LBUTTONDOWN = 0x0201;

constexpr WPARAM MK_LBUTTON = 0x0001;

constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

/// Registers a class; the first one starts SDL video and events. 0 on failure
/// (SDL cannot start, for example without a display, or the name exists). SDL's
/// offscreen and dummy video, which show nothing, count as no display unless
/// SDL_VIDEODRIVER names them.
ATOM RegisterClassA(const WNDCLASSA* windowClass);
/// Removes a class. Fails (FALSE) while windows of the class exist, as on Windows,
/// so the main window and its display stay until the process ends.
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);

/// The outer rectangle for a client rectangle: unchanged, the frame lies outside the SDL window.
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
/// Creates a window of a registered class: WS_POPUP gives a borderless window,
/// WS_THICKFRAME a resizable one; WS_VISIBLE shows it. A hidden window may have a
/// size of 0 (it only receives messages; SDL makes it 1 x 1); a visible one may not.
/// 0 when SDL cannot make it.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
/// Shows or hides; returns whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
/// Destroys a window of the layer after sending it WM_DESTROY; FALSE for an unknown
/// handle, so destroying a window twice is harmless.
BOOL DestroyWindow(HWND window);
/// The size of the client area; FALSE for an unknown handle. A full-screen window's
/// client area is its frame's size, also where the display keeps a mode of another size
/// and the frame is scaled to it.
BOOL GetClientRect(HWND window, RECT* rect);
/// A desktop point in the window's client coordinates (those of GetClientRect, so a
/// point of a scaled full-screen frame is in the frame's pixels); FALSE for an unknown
/// handle.
BOOL ScreenToClient(HWND window, POINT* point);

/// Default processing: WM_CLOSE destroys the window (a procedure that must stay open
/// answers WM_CLOSE itself); nothing else needs any. Returns 0.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/// Pumps SDL's events (window messages go to their procedures at once), then takes the
/// first posted message, if any. Filters: window 0 and range 0..0 take everything.
BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
/// Keyboard input reaches the game through the input layer: nothing to translate. FALSE.
BOOL TranslateMessage(const MSG* msg);
/// Calls the procedure of the message's window; 0 when it has none (the quit message).
LRESULT DispatchMessageA(const MSG* msg);
/// Calls the window's procedure at once and returns its answer (0 for an unknown window).
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
/// Queues a message for PeekMessageA: for a window of the layer, or for the thread
/// with window 0. FALSE for an unknown window.
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
/// Posts a quit message for PeekMessageA.
void PostQuitMessage(int exitCode);

namespace platform {

/// Inside the layer: the handles of the windows made by CreateWindowExA that still exist.
std::vector<HWND> LayerWindows();

}  // namespace platform
