#include "platform/win32/WindowTable.h"

#include <map>

namespace platform {
namespace {

std::map<HWND, SDL_Window*>& Table() {
  static std::map<HWND, SDL_Window*> table;
  return table;
}
HWND g_nextHandle = 1;

}  // namespace

HWND RegisterWindow(SDL_Window* window) {
  if (!window) return 0;
  if (HWND existing = HandleOfWindow(window)) return existing;
  Table()[g_nextHandle] = window;
  return g_nextHandle++;
}

SDL_Window* LookupWindow(HWND handle) {
  auto it = Table().find(handle);
  return it == Table().end() ? nullptr : it->second;
}

HWND HandleOfWindow(SDL_Window* window) {
  for (const auto& [handle, w] : Table()) {
    if (w == window) return handle;
  }
  return 0;
}

void UnregisterWindow(HWND handle) { Table().erase(handle); }

}  // namespace platform
