#pragma once
// Inside the layer only: the SDL windows behind the engine's HWND handles. Engine
// code keeps window handles in 32-bit variables ("wnd_handle"), so a handle is a small
// positive id into this table, never a pointer.
#include "platform/win32/Types.h"
#include "platform/win32/Window.h"

#include <SDL.h>

namespace platform {

/// Enters a window and returns its handle (> 0).
HWND RegisterWindow(SDL_Window* window);
/// The window of a handle, or null.
SDL_Window* LookupWindow(HWND handle);
/// The handle of a window, or 0.
HWND HandleOfWindow(SDL_Window* window);
void UnregisterWindow(HWND handle);

/// A full-screen window shows the device's frame (the back buffer) of width x height;
/// 0 x 0: the window shows no full-screen frame (windowed, or the device is gone).
void SetFullScreenFrame(SDL_Window* window, int width, int height);
/// Where a frame of frameWidth x frameHeight lies in an area of areaWidth x areaHeight
/// when it is scaled to fit keeping its shape: the largest such rectangle, centred.
RECT FitFrame(int frameWidth, int frameHeight, int areaWidth, int areaHeight);
/// The client area as the engine sees it: a full-screen frame's size (as a display mode
/// of that size would give it, also while the frame is scaled to the display), else
/// the window's size. False for no window.
bool ClientSize(SDL_Window* window, int& width, int& height);
/// A point of the window (relative to its top-left corner) in client coordinates: in
/// the pixels of a full-screen frame, else unchanged.
POINT WindowToClient(SDL_Window* window, POINT point);

/// Creates an SDL window for the renderer (flags gain SDL_WINDOW_OPENGL) with a 24-bit
/// depth and 8-bit stencil buffer of its own, the device's usual depth-stencil format,
/// so that the back buffer can be the window's framebuffer; where the display offers no
/// such window, with SDL's defaults. Null on failure.
SDL_Window* CreateGlWindow(const char* title, int x, int y, int width, int height, Uint32 flags);
/// Sets SDL's depth and stencil sizes for a context to what the window was made with
/// (SDL's defaults for windows not made by CreateGlWindow): a context must match its
/// window's framebuffer.
void UseGlWindowAttributes(SDL_Window* window);

}  // namespace platform
