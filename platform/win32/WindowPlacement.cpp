#include "platform/win32/WindowPlacement.h"

#include "platform/win32/WindowTable.h"

#include <SDL.h>

#include <map>

namespace {

struct Styles {
  LONG style = 0;
  LONG exStyle = 0;
};

std::map<HWND, Styles>& StyleTable() {
  static std::map<HWND, Styles> table;
  return table;
}

void ApplyStyle(SDL_Window* window, DWORD style) {
  if (style & WS_POPUP) {
    SDL_SetWindowBordered(window, SDL_FALSE);
  } else if ((style & WS_CAPTION) == WS_CAPTION) {
    SDL_SetWindowBordered(window, SDL_TRUE);
  }
  SDL_SetWindowResizable(window, (style & WS_THICKFRAME) ? SDL_TRUE : SDL_FALSE);
  if (style & WS_VISIBLE) SDL_ShowWindow(window);
}

}  // namespace

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = {left, top, right, bottom};
  return TRUE;
}

LONG SetWindowLongA(HWND window, int index, LONG value) {
  SDL_Window* sdlWindow = platform::LookupWindow(window);
  if (!sdlWindow || (index != GWL_STYLE && index != GWL_EXSTYLE)) return 0;
  Styles& styles = StyleTable()[window];
  LONG& slot = index == GWL_STYLE ? styles.style : styles.exStyle;
  const LONG previous = slot;
  slot = value;
  if (index == GWL_STYLE) {
    ApplyStyle(sdlWindow, DWORD(value));
  } else {
    SDL_SetWindowAlwaysOnTop(sdlWindow, (DWORD(value) & WS_EX_TOPMOST) ? SDL_TRUE : SDL_FALSE);
  }
  return previous;
}

LONG GetWindowLongA(HWND window, int index) {
  if (!platform::LookupWindow(window)) return 0;
  const Styles& styles = StyleTable()[window];
  return index == GWL_STYLE ? styles.style : index == GWL_EXSTYLE ? styles.exStyle : 0;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  SDL_Window* sdlWindow = platform::LookupWindow(window);
  if (!sdlWindow) return FALSE;
  if (!(flags & SWP_NOZORDER)) {
    if (insertAfter == HWND_TOPMOST) SDL_SetWindowAlwaysOnTop(sdlWindow, SDL_TRUE);
    if (insertAfter == HWND_NOTOPMOST) SDL_SetWindowAlwaysOnTop(sdlWindow, SDL_FALSE);
  }
  if (!(flags & SWP_NOMOVE)) SDL_SetWindowPosition(sdlWindow, x, y);
  if (!(flags & SWP_NOSIZE) && width > 0 && height > 0) SDL_SetWindowSize(sdlWindow, width, height);
  if (flags & SWP_SHOWWINDOW) SDL_ShowWindow(sdlWindow);
  return TRUE;
}
