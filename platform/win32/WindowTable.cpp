#include "platform/win32/WindowTable.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace platform {
namespace {

std::map<HWND, SDL_Window*>& Table() {
  static std::map<HWND, SDL_Window*> table;
  return table;
}
HWND g_nextHandle = 1;

std::map<SDL_Window*, std::pair<int, int>>& Frames() {
  static std::map<SDL_Window*, std::pair<int, int>> frames;
  return frames;
}

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

void UnregisterWindow(HWND handle) {
  if (SDL_Window* window = LookupWindow(handle)) Frames().erase(window);
  Table().erase(handle);
}

void SetFullScreenFrame(SDL_Window* window, int width, int height) {
  if (width > 0 && height > 0) {
    Frames()[window] = {width, height};
  } else {
    Frames().erase(window);
  }
}

RECT FitFrame(int frameWidth, int frameHeight, int areaWidth, int areaHeight) {
  if (frameWidth <= 0 || frameHeight <= 0) return {0, 0, areaWidth, areaHeight};
  const double scale = std::min(double(areaWidth) / frameWidth, double(areaHeight) / frameHeight);
  const LONG w = LONG(frameWidth * scale + 0.5), h = LONG(frameHeight * scale + 0.5);
  const LONG x = (areaWidth - w) / 2, y = (areaHeight - h) / 2;
  return {x, y, x + w, y + h};
}

bool ClientSize(SDL_Window* window, int& width, int& height) {
  if (!window) return false;
  const auto frame = Frames().find(window);
  if (frame != Frames().end()) {
    width = frame->second.first;
    height = frame->second.second;
  } else {
    SDL_GetWindowSize(window, &width, &height);
  }
  return true;
}

POINT WindowToClient(SDL_Window* window, POINT point) {
  const auto frame = Frames().find(window);
  if (frame == Frames().end()) return point;
  const auto [frameWidth, frameHeight] = frame->second;
  int width = 0, height = 0;
  SDL_GetWindowSize(window, &width, &height);
  const RECT shown = FitFrame(frameWidth, frameHeight, width, height);
  if (shown.right <= shown.left || shown.bottom <= shown.top) return point;
  // Rounded down: points left of or above the frame stay negative.
  auto toFrame = [](LONG v, LONG from, LONG to, int frameSide) {
    return LONG(std::floor(double(v - from) * frameSide / double(to - from)));
  };
  return {toFrame(point.x, shown.left, shown.right, frameWidth), toFrame(point.y, shown.top, shown.bottom, frameHeight)};
}

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
