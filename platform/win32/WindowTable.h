#pragma once
// Inside the layer only: the SDL windows behind the engine's HWND handles. Engine
// code keeps window handles in 32-bit variables ("wnd_handle"), so a handle is a small
// positive id into this table, never a pointer.
#include "platform/win32/Types.h"

#include <SDL.h>

namespace platform {

/// Enters a window and returns its handle (> 0).
HWND RegisterWindow(SDL_Window* window);
/// The window of a handle, or null.
SDL_Window* LookupWindow(HWND handle);
/// The handle of a window, or 0.
HWND HandleOfWindow(SDL_Window* window);
void UnregisterWindow(HWND handle);

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
