#include "platform/win32/Debug.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {
platform::MessageBoxHook g_boxHook;
platform::DebugOutputHook g_debugHook;
}  // namespace

namespace platform {

void SetMessageBoxHook(MessageBoxHook hook) { g_boxHook = std::move(hook); }
void SetDebugOutputHook(DebugOutputHook hook) { g_debugHook = std::move(hook); }

bool IsHeadless() {
  const char* headless = std::getenv("NAVO_HEADLESS");
  if (headless && *headless && std::string(headless) != "0") return true;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return !(display && *display) && !(wayland && *wayland);
}

}  // namespace platform

int MessageBoxA(HWND, const char* text, const char* caption, UINT) {
  const std::string body = text ? text : "";
  const std::string title = caption ? caption : "";
  if (g_boxHook) {
    g_boxHook(body, title);
    return IDOK;
  }
  if (platform::IsHeadless() ||
      SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(), body.c_str(), nullptr) != 0) {
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), body.c_str());
  }
  return IDOK;
}

void OutputDebugStringA(const char* text) {
  const std::string body = text ? text : "";
  if (g_debugHook) {
    g_debugHook(body);
    return;
  }
  std::fputs(body.c_str(), stderr);
  std::fflush(stderr);
}
