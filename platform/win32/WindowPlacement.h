#pragma once
// Window styles and placement changed on a running window (the renderer's video-mode
// change), Windows-shaped, over SDL2. The client area of a layer window is the whole
// SDL window (the window manager's frame lies outside it), so a size given to
// SetWindowPos is the client size.
//   GWL_STYLE:   WS_POPUP borderless, WS_CAPTION framed, WS_THICKFRAME resizable, WS_VISIBLE shown
//   GWL_EXSTYLE: WS_EX_TOPMOST keeps the window above others
#include "platform/win32/Types.h"
#include "platform/win32/Window.h"

constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;

constexpr HWND HWND_TOPMOST = -1;
constexpr HWND HWND_NOTOPMOST = -2;
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
/// Sets the style or extended style and applies it; returns the previous value (0 for
/// an unknown window or index).
LONG SetWindowLongA(HWND window, int index, LONG value);
LONG GetWindowLongA(HWND window, int index);
/// Moves and sizes the window; insertAfter HWND_TOPMOST / HWND_NOTOPMOST sets or clears
/// "always on top". FALSE for an unknown window.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
