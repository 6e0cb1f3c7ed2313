#pragma once
// Inside the layer only: the filter graph's video window, an SDL window of its own
// (full screen on the desktop's mode, or windowed at the video's size). Made and
// destroyed on the engine's thread; the player thread draws on its surface.
//
// Input: the window never acts on input itself. A key press on it reaches the
// message drain as WM_KEYDOWN with a virtual-key code, a left click as
// WM_LBUTTONDOWN, through the thread's message queue; the owner of the drain
// decides what they mean.
#include "platform/win32/Types.h"

#include <SDL.h>

#include <functional>
#include <optional>
#include <string>

namespace platform {

/// A window message for the drain window.
struct DrainMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

/// The drain message for an SDL event on the window `windowId`, if the event is a
/// key press or a left-button press there.
std::optional<DrainMessage> TranslateVideoInput(const SDL_Event& event, Uint32 windowId);

class VideoWindow {
 public:
  /// Sends a message to a window through the thread's message queue.
  using Poster = std::function<void(HWND, const DrainMessage&)>;

  explicit VideoWindow(Poster poster) : m_poster(std::move(poster)) {}
  /// Leaves full screen and destroys the SDL window.
  ~VideoWindow();
  VideoWindow(const VideoWindow&) = delete;
  VideoWindow& operator=(const VideoWindow&) = delete;

  /// Opens the window (the video system first); false when there is no display.
  bool Create(const std::string& title, int width, int height, bool fullScreen);
  /// Switches a made window in or out of full screen (remembered for Create otherwise).
  void SetFullScreen(bool fullScreen);
  /// The drain window for input (0: input is dropped).
  void SetDrain(HWND drain) { m_drain = drain; }

  SDL_Window* Handle() const { return m_window; }

 private:
  void OnEvent(const SDL_Event& event);

  Poster m_poster;
  SDL_Window* m_window = nullptr;
  Uint32 m_windowId = 0;
  int m_listener = 0;
  HWND m_drain = 0;
  bool m_videoStarted = false;
};

}  // namespace platform
