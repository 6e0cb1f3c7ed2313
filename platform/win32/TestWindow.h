#pragma once
// For tests: an OpenGL-capable window registered in the window table, without the
// application's window class. Tests that need a device create one of these and put its
// handle where the engine looks for the window ("wnd_handle").
#include "platform/win32/Types.h"

namespace platform {

/// A shown window whose client area is width x height; 0 when none can be made.
HWND CreateTestWindow(int width, int height);
void DestroyTestWindow(HWND window);
/// The client size of a registered window (false when the handle is unknown).
bool GetTestWindowSize(HWND window, int* width, int* height);

}  // namespace platform
