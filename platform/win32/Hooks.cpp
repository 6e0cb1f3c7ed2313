#include "platform/win32/Hooks.h"

#include <SDL.h>

namespace {
HHOOK g_nextHook = 1;
}  // namespace

HHOOK SetWindowsHookExA(int kind, HOOKPROC procedure, HINSTANCE, DWORD) {
  if (kind != WH_KEYBOARD_LL || !procedure) return 0;
  return g_nextHook++;
}

LRESULT CallNextHookEx(HHOOK, int, WPARAM, LPARAM) { return 0; }

short GetAsyncKeyState(int virtualKey) {
  if (virtualKey != VK_CONTROL || SDL_WasInit(SDL_INIT_VIDEO) == 0) return 0;
  return (SDL_GetModState() & KMOD_CTRL) ? static_cast<short>(0x8000) : 0;
}
