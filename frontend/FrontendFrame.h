#pragma once
// The frames the front-end draws itself, inside a callback, while the main loop waits:
// the faded page switch, the key capture and the attribute animation. Each calls the
// services through their globals in the main loop's order (timer, input, sound, then
// the drawing); neither the world, the game nor the GUI update runs, so no click is
// dispatched.
//
// - The bare frame: the level as the last full frame queued it, the visible pages and
//   the queued text, then a black full-screen quad at the given opacity. Without a
//   current camera of the world it skips the 3D set-up and the level.
// - The 2D frame: the pages and the queued text only.
#include <functional>

namespace frontend {

enum class FrameKind { kBare, kFlat };

/// What an observer is told twice a frame: before the frame's tick (a test's clock may
/// move there) and once everything is drawn, before the present.
struct FrameEvent {
  FrameKind kind = FrameKind::kBare;
  bool drawn = false;     ///< false: before the tick; true: before EndFrame
  float overlay = 0.0f;  ///< the black quad's opacity (0 for a 2D frame)
};

using FrameObserver = std::function<void(const FrameEvent&)>;
/// Tests watch the blocking frames through this; an empty observer ends the watch.
void SetFrameObserver(FrameObserver observer);

/// One bare frame with the black overlay at the opacity (0..1).
void RunBareFrame(float overlay);
/// One frame of the pages and the queued text.
void RunFlatFrame();

}  // namespace frontend
