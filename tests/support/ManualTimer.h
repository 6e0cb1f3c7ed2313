#pragma once
// A timer over a clock the test moves (microsecond counts): the engine's timers at times
// a test sets. Installing it (g_timer, the renderer's services) is the owner's part.
#include "core/Timer.h"

#include <cmath>
#include <cstdint>

namespace test {

class ManualTimer {
 public:
  ManualTimer() : m_timer(m_clock) { m_timer.Tick(); }  // the first tick only sets the start
  ManualTimer(const ManualTimer&) = delete;
  ManualTimer& operator=(const ManualTimer&) = delete;

  /// Moves the time on by the seconds (whole microseconds; a time that stands still
  /// keeps the last frame time, as the timer does).
  void Advance(double seconds) {
    m_clock.counter += static_cast<std::uint64_t>(std::llround(seconds * 1e6));
    m_timer.Tick();
  }
  /// Moves the time to the seconds since the start (only forwards).
  void Set(double seconds) {
    m_clock.counter = kStart + static_cast<std::uint64_t>(std::llround(seconds * 1e6));
    m_timer.Tick();
  }
  double Now() const { return m_timer.GetTime(); }
  N_Timer& Timer() { return m_timer; }

 private:
  static constexpr std::uint64_t kStart = 1000;
  class Clock final : public platform::Clock {
   public:
    std::uint64_t PerformanceFrequency() const override { return 1000000; }
    std::uint64_t PerformanceCounter() const override { return counter; }
    std::uint32_t Milliseconds() const override { return 0; }
    std::uint64_t counter = kStart;
  };
  Clock m_clock;
  N_Timer m_timer;
};

}  // namespace test
