#pragma once
// The mouse cursor and mouse capture, Windows-shaped, over SDL2.
//
// The cursor shows while a cursor is set (not 0) and the display counter is 0 or
// more, as on Windows. The state is kept by the layer and applied to SDL whenever
// SDL's video runs (so a cursor hidden before the window class exists stays hidden).
// The capture is only remembered (GetCapture answers it): on X it would be a grab of
// the pointer, hiding the desktop's pointer and keeping it from every other program.
// A clip of the pointer (ClipCursor) gives the game the mouse for itself: the pointer
// hidden and held in the focused window, the mouse's motion unbounded at its edges.
#include "platform/win32/Window.h"

/// The standard arrow, as LoadCursorA returns it.
constexpr HCURSOR kArrowCursor = 1;
/// The resource id of the standard arrow, as IDC_ARROW names it.
constexpr std::uintptr_t kArrowCursorId = 32512;
#define IDC_ARROW (reinterpret_cast<LPCSTR>(kArrowCursorId))

/// Only the system's arrow exists: any instance and name give the arrow.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
/// Sets the current cursor (0 hides it); returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
/// Raises (TRUE) or lowers (FALSE) the display counter; returns the new counter.
int ShowCursor(BOOL show);
/// Captures the mouse for the window; returns the window that had it (0 for none).
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
/// Where the pointer stands on the desktop as the game's windows see it: over a window
/// it follows the pointer; away from them it stays where the pointer left the last one.
/// The scripted pointer while a scripted input drives the devices; FALSE when there is
/// no display to ask.
BOOL GetCursorPos(POINT* point);
/// A rectangle keeps the pointer in the focused window (SDL's relative mode), whatever
/// its size; null lets it go.
BOOL ClipCursor(const RECT* rect);

namespace platform {

/// Inside the layer: applies the remembered cursor state to SDL (once video runs).
void ApplyCursorState();
/// Inside the layer: the capturing window, 0 for none.
HWND CaptureWindow();
/// Whether the cursor shows by the layer's rules.
bool IsCursorVisible();

}  // namespace platform
