#pragma once
// Device contexts, the gamma ramp and display settings, Windows-shaped, over SDL2.
//
// A device context here only names a window (its handle); the gamma ramp is the
// window's display ramp through SDL, three tables of 256 16-bit entries. SDL reads and
// sets a ramp only through a window, so the desktop (window 0) has no device context.
// Gamma failures (no display, a server without gamma, as under Xvfb) answer FALSE.
#include "platform/win32/Window.h"

using HDC = std::int32_t;

/// A device context for one of the layer's windows; 0 for any other handle.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

/// Reads the ramp (WORD[3][256]: red, green, blue) of the context's display.
BOOL GetDeviceGammaRamp(HDC dc, void* ramp);
/// Sets the ramp of the context's display.
BOOL SetDeviceGammaRamp(HDC dc, void* ramp);

struct DEVMODEA;
constexpr LONG DISP_CHANGE_SUCCESSFUL = 0;
constexpr LONG DISP_CHANGE_BADMODE = -2;

/// With no mode: back to the desktop's own mode, every full-screen window of the
/// layer becomes a plain window again. Setting a mode is the renderer's business
/// (its device switches to full screen); a mode given here is refused.
LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags);

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

/// The primary display's width (SM_CXSCREEN) or height (SM_CYSCREEN) in pixels, as its
/// desktop mode gives it; 0 while the window layer has not started (no class is
/// registered), when the display cannot tell, and for other indices.
int GetSystemMetrics(int index);
