#include "platform/win32/TestWindow.h"

#include "platform/win32/WindowTable.h"

#include <SDL.h>

namespace platform {

HWND CreateTestWindow(int width, int height) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
  SDL_Window* window =
      CreateGlWindow("Navo test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height, SDL_WINDOW_SHOWN);
  if (!window) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return 0;
  }
  return RegisterWindow(window);
}

void DestroyTestWindow(HWND handle) {
  SDL_Window* window = LookupWindow(handle);
  if (!window) return;
  UnregisterWindow(handle);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool GetTestWindowSize(HWND handle, int* width, int* height) {
  SDL_Window* window = LookupWindow(handle);
  if (!window) return false;
  SDL_GetWindowSize(window, width, height);
  return true;
}

}  // namespace platform
