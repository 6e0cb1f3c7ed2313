#pragma once
// Stand-ins for the window layer's cursor count, AdjustWindowRect and style bits, which
// the window issue builds (platform/win32/Window.h, Cursor.h). When that lands, these
// two files go and WindowPlacement.h includes the real headers instead.
#include "platform/win32/Types.h"

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

/// Raises (TRUE) or lowers (FALSE) the cursor's display counter; returns the new counter.
int ShowCursor(BOOL show);
/// The outer rectangle for a client rectangle: unchanged, the frame lies outside the SDL window.
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
