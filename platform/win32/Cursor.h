#pragma once
// The mouse cursor and mouse capture, Windows-shaped, over SDL2.
//
// The cursor shows while a cursor is set (not 0) and the display counter is 0 or
// more, as on Windows. The state is kept by the layer and applied to SDL whenever
// SDL's video runs (so a cursor hidden before the window class exists stays hidden).
// Capture sends all mouse input to the window; SDL may refuse it (no focus, no
// display): the layer still remembers which window asked.
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

namespace platform {

/// Inside the layer: applies the remembered cursor state to SDL (once video runs).
void ApplyCursorState();
/// Inside the layer: the capturing window, 0 for none.
HWND CaptureWindow();
/// Whether the cursor shows by the layer's rules.
bool IsCursorVisible();

}  // namespace platform
