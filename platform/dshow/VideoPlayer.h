#pragma once
// Inside the layer only: the player thread of one playback. It decodes the video and
// presents each frame on the window at its time, on a media clock that runs only
// while the graph runs. Created by the filter graph's Pause (on the first frame) and
// destroyed by its Stop or final Release, which join the thread.
//
// Thread loop: show the first frame and report it cued; then for each next frame wait
// until the clock reaches its time (repainting while paused), show it; after the last
// frame has had its time, report the end once; then repaint until stopped. A video
// whose timing is damaged (see VideoDecoder::Damaged) is reported at once, unplayed.
// The media clock counts from the first frame's time, whatever the stream stamped on it.
#include "platform/dshow/FrameBlitter.h"
#include "platform/dshow/VideoDecoder.h"

#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

class VideoPlayer {
 public:
  enum class End { Complete, Damaged };
  /// Called once, on the player thread: Complete when the last frame has been shown
  /// for its time, Damaged as soon as the stream's timing turns out broken.
  using EndHandler = std::function<void(End)>;

  /// Starts the thread and returns once the first frame is on the window (or the
  /// video turned out to have none). The window must outlive the player.
  VideoPlayer(std::unique_ptr<VideoDecoder> decoder, SDL_Window* window, EndHandler onEnd);
  /// Stops and joins the thread.
  ~VideoPlayer();
  VideoPlayer(const VideoPlayer&) = delete;
  VideoPlayer& operator=(const VideoPlayer&) = delete;

  /// Starts or resumes the media clock.
  void Run();
  /// Holds the media clock; the current frame stays on the window.
  void Pause();

 private:
  using Clock = std::chrono::steady_clock;

  void ThreadMain();
  /// Waits until the media clock reaches `seconds`; false when stopped meanwhile.
  bool WaitForMediaTime(double seconds);
  /// Seconds on the media clock now (call with the lock held).
  double MediaTimeLocked() const;

  std::unique_ptr<VideoDecoder> m_decoder;
  SDL_Window* m_window;
  EndHandler m_onEnd;
  FrameBlitter m_blitter;

  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_cued = false;
  bool m_running = false;
  bool m_stop = false;
  double m_pausedAt = 0.0;  ///< media time held while paused
  Clock::time_point m_zero;  ///< wall time of media time 0 while running
  std::thread m_thread;
};

}  // namespace platform
