#include "platform/win32/Display.h"

#include "platform/win32/WindowTable.h"

#include <SDL.h>

#include <algorithm>

namespace {

SDL_Window* WindowOfDc(HDC dc) {
  if (dc <= 0 || SDL_WasInit(SDL_INIT_VIDEO) == 0) return nullptr;
  return platform::LookupWindow(static_cast<HWND>(dc));
}

}  // namespace

HDC GetDC(HWND window) { return WindowOfDc(static_cast<HDC>(window)) ? static_cast<HDC>(window) : 0; }

int ReleaseDC(HWND, HDC dc) { return dc ? 1 : 0; }

BOOL GetDeviceGammaRamp(HDC dc, void* ramp) {
  SDL_Window* window = WindowOfDc(dc);
  if (!window || !ramp) return FALSE;
  Uint16* tables = static_cast<Uint16*>(ramp);
  return SDL_GetWindowGammaRamp(window, tables, tables + 256, tables + 512) == 0 ? TRUE : FALSE;
}

BOOL SetDeviceGammaRamp(HDC dc, void* ramp) {
  SDL_Window* window = WindowOfDc(dc);
  if (!window || !ramp) return FALSE;
  const Uint16* tables = static_cast<const Uint16*>(ramp);
  return SDL_SetWindowGammaRamp(window, tables, tables + 256, tables + 512) == 0 ? TRUE : FALSE;
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD) {
  if (mode) return DISP_CHANGE_BADMODE;
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return DISP_CHANGE_SUCCESSFUL;
  for (HWND handle : platform::LayerWindows()) {
    SDL_Window* window = platform::LookupWindow(handle);
    if (window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) SDL_SetWindowFullscreen(window, 0);
  }
  return DISP_CHANGE_SUCCESSFUL;
}

int GetSystemMetrics(int index) {
  if ((index != SM_CXSCREEN && index != SM_CYSCREEN) || SDL_WasInit(SDL_INIT_VIDEO) == 0) return 0;
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return 0;
  return std::max(0, index == SM_CXSCREEN ? desktop.w : desktop.h);
}
