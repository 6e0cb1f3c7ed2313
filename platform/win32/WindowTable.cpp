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

namespace {

constexpr const char* kDepthStencilKey = "navo.depthStencil";  ///< window data: 1 for 24/8
char g_depthStencil = 1;  ///< what the key points at

}  // namespace

SDL_Window* CreateGlWindow(const char* title, int x, int y, int width, int height, Uint32 flags) {
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_Window* window = SDL_CreateWindow(title, x, y, width, height, flags | SDL_WINDOW_OPENGL);
  if (window) {
    SDL_SetWindowData(window, kDepthStencilKey, &g_depthStencil);
    return window;
  }
  UseGlWindowAttributes(nullptr);
  return SDL_CreateWindow(title, x, y, width, height, flags | SDL_WINDOW_OPENGL);
}

void UseGlWindowAttributes(SDL_Window* window) {
  const bool depthStencil = window && SDL_GetWindowData(window, kDepthStencilKey);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthStencil ? 24 : 16);  // else SDL's defaults
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, depthStencil ? 8 : 0);
}

}  // namespace platform
