#include "platform/win32/Cursor.h"

#include "platform/dinput8/Source.h"
#include "platform/win32/WindowTable.h"

#include <SDL.h>

namespace {

HCURSOR g_cursor = kArrowCursor;  // a process starts with the arrow
int g_displayCounter = 0;
HWND g_capture = 0;
bool g_clipped = false;

bool VideoRuns() { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }

}  // namespace

namespace platform {

bool IsCursorVisible() { return g_cursor != 0 && g_displayCounter >= 0; }

void ApplyCursorState() {
  if (!VideoRuns()) return;
  SDL_ShowCursor(IsCursorVisible() ? SDL_ENABLE : SDL_DISABLE);
}

HWND CaptureWindow() { return g_capture; }

}  // namespace platform

HCURSOR LoadCursorA(HINSTANCE, LPCSTR) { return kArrowCursor; }

HCURSOR SetCursor(HCURSOR cursor) {
  const HCURSOR previous = g_cursor;
  g_cursor = cursor;
  platform::ApplyCursorState();
  return previous;
}

int ShowCursor(BOOL show) {
  g_displayCounter += show ? 1 : -1;
  platform::ApplyCursorState();
  return g_displayCounter;
}

HWND SetCapture(HWND window) {
  const HWND previous = g_capture;
  g_capture = window;
  // Only remembered: on X a capture is a grab of the pointer, which would hide the
  // desktop's pointer everywhere and keep it from every other program. SDL itself
  // follows the mouse out of the window while a button is held, as a capture would.
  return previous;
}

BOOL ReleaseCapture() {
  g_capture = 0;
  return TRUE;
}

HWND GetCapture() { return g_capture; }

BOOL GetCursorPos(POINT* point) {
  return point && platform::dinput::ActiveSource().Pointer(*point) ? TRUE : FALSE;
}

BOOL ClipCursor(const RECT* rect) {
  const bool clip = rect != nullptr;
  if (clip != g_clipped) platform::dinput::HoldSdlRelativeMouse(clip);
  g_clipped = clip;
  return TRUE;
}
