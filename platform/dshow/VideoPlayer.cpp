#include "platform/dshow/VideoPlayer.h"

#include <algorithm>
#include <utility>

namespace platform {
namespace {

/// How often a paused or finished picture is drawn again (the window may have been
/// covered or resized), and the longest wait between checks of a stop request.
constexpr std::chrono::milliseconds kRepaintInterval(100);

}  // namespace

VideoPlayer::VideoPlayer(std::unique_ptr<VideoDecoder> decoder, SDL_Window* window, EndHandler onEnd)
    : m_decoder(std::move(decoder)),
      m_window(window),
      m_onEnd(std::move(onEnd)),
      m_blitter(m_decoder->DisplayAspect()) {
  m_thread = std::thread(&VideoPlayer::ThreadMain, this);
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return m_cued; });
}

VideoPlayer::~VideoPlayer() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

void VideoPlayer::Run() {
  {
    std::lock_guard lock(m_mutex);
    if (m_running) return;
    m_zero = Clock::now() - std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(m_pausedAt));
    m_running = true;
  }
  m_changed.notify_all();
}

void VideoPlayer::Pause() {
  {
    std::lock_guard lock(m_mutex);
    if (!m_running) return;
    m_pausedAt = MediaTimeLocked();
    m_running = false;
  }
  m_changed.notify_all();
}

double VideoPlayer::MediaTimeLocked() const {
  if (!m_running) return m_pausedAt;
  return std::chrono::duration<double>(Clock::now() - m_zero).count();
}

bool VideoPlayer::WaitForMediaTime(double seconds) {
  std::unique_lock lock(m_mutex);
  while (!m_stop) {
    if (m_running) {
      const double left = seconds - MediaTimeLocked();
      if (left <= 0.0) return true;
      const auto wait = std::min<Clock::duration>(
          std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(left)), kRepaintInterval);
      m_changed.wait_for(lock, wait);
    } else if (!m_changed.wait_for(lock, kRepaintInterval, [this] { return m_stop || m_running; })) {
      lock.unlock();
      m_blitter.Repaint(m_window);
      lock.lock();
    }
  }
  return false;
}

void VideoPlayer::ThreadMain() {
  double firstAt = 0.0;
  const AVFrame* frame = m_decoder->NextFrame(firstAt);
  if (frame) m_blitter.Show(m_window, frame);
  {
    std::lock_guard lock(m_mutex);
    m_pausedAt = 0.0;  // the clock starts at the first frame
    m_cued = true;
  }
  m_changed.notify_all();

  double shownAt = 0.0;
  bool ended = frame == nullptr;
  while (!ended) {
    double nextAt = 0.0;
    const AVFrame* next = m_decoder->NextFrame(nextAt);
    if (!next && m_decoder->Damaged()) break;  // no waiting for a frame hours away
    nextAt -= firstAt;
    // The frame on screen stays until the next one's time; the last one for one frame.
    if (!WaitForMediaTime(next ? nextAt : shownAt + m_decoder->FrameDuration())) return;
    if (!next) break;
    m_blitter.Show(m_window, next);
    shownAt = nextAt;
  }
  const bool damaged = m_decoder->Damaged();
  if (ended && !damaged && !WaitForMediaTime(0.0)) return;  // nothing to show: end once running
  if (m_onEnd) m_onEnd(damaged ? End::Damaged : End::Complete);

  std::unique_lock lock(m_mutex);
  while (!m_changed.wait_for(lock, kRepaintInterval, [this] { return m_stop; })) {
    lock.unlock();
    m_blitter.Repaint(m_window);
    lock.lock();
  }
}

}  // namespace platform
