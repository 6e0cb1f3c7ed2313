#pragma once
// Inside the layer only: puts decoded frames on an SDL window's surface, scaled with
// libswscale to the largest rectangle of the video's aspect that fits, centred on
// black. Used by the player thread only.
#include <SDL.h>

struct AVFrame;
struct SwsContext;

namespace platform {

class FrameBlitter {
 public:
  explicit FrameBlitter(double displayAspect) : m_aspect(displayAspect) {}
  ~FrameBlitter();
  FrameBlitter(const FrameBlitter&) = delete;
  FrameBlitter& operator=(const FrameBlitter&) = delete;

  /// Shows a frame and keeps a reference for repaints. False when the window has no
  /// usable surface (the frame is still kept).
  bool Show(SDL_Window* window, const AVFrame* frame);
  /// Shows the kept frame again (after the window was exposed or resized).
  bool Repaint(SDL_Window* window);

  /// The rectangle a picture of `aspect` takes in a target of w x h (centred, whole pixels).
  static SDL_Rect FitRect(double aspect, int w, int h);

 private:
  bool Draw(SDL_Window* window);

  double m_aspect;
  AVFrame* m_kept = nullptr;
  SwsContext* m_scaler = nullptr;
  SDL_Surface* m_staging = nullptr;  ///< for window formats libswscale cannot write
};

}  // namespace platform
