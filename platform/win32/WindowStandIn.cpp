#include "platform/win32/WindowStandIn.h"

#include <SDL.h>

int ShowCursor(BOOL show) {
  static int counter = 0;
  counter += show ? 1 : -1;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(counter >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return counter;
}

BOOL AdjustWindowRect(RECT* rect, DWORD, BOOL) { return rect ? TRUE : FALSE; }
