#include "platform/dshow/VideoWindow.h"

#include "platform/win32/EventPump.h"
#include "platform/win32/Window.h"

namespace platform {
namespace {

/// The virtual-key code of an SDL key: Enter 13, Escape 27, Space 32 (as SDL's own
/// codes), letters as their capitals, function and arrow keys as on Windows, every
/// other key as SDL names it.
WPARAM VirtualKey(SDL_Keycode key) {
  if (key == SDLK_KP_ENTER) return 13;
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<WPARAM>(key - SDLK_a + 'A');
  if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<WPARAM>(0x70 + (key - SDLK_F1));
  switch (key) {
    case SDLK_LEFT: return 0x25;
    case SDLK_UP: return 0x26;
    case SDLK_RIGHT: return 0x27;
    case SDLK_DOWN: return 0x28;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL: case SDLK_RCTRL: return 0x11;
    case SDLK_LALT: case SDLK_RALT: return 0x12;
    default: return static_cast<WPARAM>(static_cast<Uint32>(key));
  }
}

}  // namespace

std::optional<DrainMessage> TranslateVideoInput(const SDL_Event& event, Uint32 windowId) {
  if (windowId == 0) return std::nullopt;
  if (event.type == SDL_KEYDOWN && event.key.windowID == windowId) {
    // lParam as Windows packs it: repeat count 1, the scan code, bit 30 for a held key.
    const LPARAM lParam = 1 | (static_cast<LPARAM>(event.key.keysym.scancode & 0xFF) << 16) |
                          (event.key.repeat ? (LPARAM{1} << 30) : 0);
    return DrainMessage{WM_KEYDOWN, VirtualKey(event.key.keysym.sym), lParam};
  }
  if (event.type == SDL_MOUSEBUTTONDOWN && event.button.windowID == windowId &&
      event.button.button == SDL_BUTTON_LEFT) {
    const LPARAM lParam = (static_cast<LPARAM>(event.button.y & 0xFFFF) << 16) | (event.button.x & 0xFFFF);
    return DrainMessage{WM_LBUTTONDOWN, MK_LBUTTON, lParam};
  }
  return std::nullopt;
}

VideoWindow::~VideoWindow() {
  if (m_listener) RemoveEventListener(m_listener);
  if (m_window) {
    SDL_SetWindowFullscreen(m_window, 0);
    SDL_DestroyWindow(m_window);
  }
  if (m_videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool VideoWindow::Create(const std::string& title, int width, int height, bool fullScreen) {
  if (m_window) return true;
  if (!m_videoStarted) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    m_videoStarted = true;
  }
  SDL_Rect place{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height};
  Uint32 flags = SDL_WINDOW_SHOWN;
  // Full screen on the desktop's mode. The window is made at the display's size from
  // the start: without a window manager (a bare X server) nothing would resize it.
  if (fullScreen && SDL_GetDisplayBounds(0, &place) == 0) {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
  }
  m_window = SDL_CreateWindow(title.c_str(), place.x, place.y, place.w, place.h, flags);
  if (!m_window) return false;
  m_windowId = SDL_GetWindowID(m_window);
  SDL_RaiseWindow(m_window);
  // Make the drawing surface now, on this thread, before the player draws on it.
  SDL_GetWindowSurface(m_window);
  m_listener = AddEventListener([this](const SDL_Event& event) { OnEvent(event); });
  return true;
}

void VideoWindow::SetFullScreen(bool fullScreen) {
  if (m_window) SDL_SetWindowFullscreen(m_window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void VideoWindow::OnEvent(const SDL_Event& event) {
  if (!m_drain || !m_poster) return;
  if (const auto message = TranslateVideoInput(event, m_windowId)) m_poster(m_drain, *message);
}

}  // namespace platform
