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

}  // namespace platform
