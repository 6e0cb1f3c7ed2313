#include "platform/win32/Debug.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {
platform::MessageBoxAnswerHook g_boxHook;
platform::DebugOutputHook g_debugHook;

bool IsQuestion(UINT type) { return (type & MB_TYPEMASK) == MB_YESNO; }

/// What a box answers when nobody can: OK, or No to a question (the program goes on).
int DefaultAnswer(UINT type) { return IsQuestion(type) ? IDNO : IDOK; }

/// The SDL box; false when it could not be shown.
bool ShowSdlBox(const std::string& title, const std::string& body, UINT type, int* answer) {
  if (!IsQuestion(type)) {
    *answer = IDOK;
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(), body.c_str(), nullptr) == 0;
  }
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
  };
  const SDL_MessageBoxData data = {(type & MB_ICONSTOP) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_WARNING,
                                   nullptr,
                                   title.c_str(),
                                   body.c_str(),
                                   2,
                                   buttons,
                                   nullptr};
  int pressed = -1;
  if (SDL_ShowMessageBox(&data, &pressed) != 0) return false;
  *answer = pressed == IDYES ? IDYES : IDNO;  // closing the box answers No
  return true;
}

}  // namespace

namespace platform {

void SetMessageBoxHook(MessageBoxHook hook) {
  if (!hook) {
    g_boxHook = {};
    return;
  }
  g_boxHook = [record = std::move(hook)](const std::string& text, const std::string& caption, UINT type) {
    record(text, caption);
    return DefaultAnswer(type);
  };
}

void SetMessageBoxAnswerHook(MessageBoxAnswerHook hook) { g_boxHook = std::move(hook); }
void SetDebugOutputHook(DebugOutputHook hook) { g_debugHook = std::move(hook); }

bool IsHeadless() {
  const char* headless = std::getenv("NAVO_HEADLESS");
  if (headless && *headless && std::string(headless) != "0") return true;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return !(display && *display) && !(wayland && *wayland);
}

}  // namespace platform

int MessageBoxA(HWND, const char* text, const char* caption, UINT type) {
  const std::string body = text ? text : "";
  const std::string title = caption ? caption : "";
  if (g_boxHook) {
    const platform::MessageBoxAnswerHook hook = g_boxHook;  // the hook may replace itself
    return hook(body, title, type);
  }
  int answer = DefaultAnswer(type);
  if (platform::IsHeadless() || !ShowSdlBox(title, body, type, &answer)) {
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), body.c_str());
    answer = DefaultAnswer(type);
  }
  return answer;
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
