#pragma once
// The renderer's timer at times a test sets: a timer over a clock the test moves,
// placed in the renderer module's services record (after CreateRender).
#include "core/Timer.h"
#include "render/RenderServices.h"

#include <cstdint>

namespace test {

class TestRenderTime {
 public:
  TestRenderTime() : m_timer(m_clock) {
    m_timer.Tick();  // the first tick only sets the start
    g_renderServicesCopy.timer = &m_timer;
  }
  ~TestRenderTime() {
    if (g_renderServicesCopy.timer == &m_timer) g_renderServicesCopy.timer = nullptr;
  }
  TestRenderTime(const TestRenderTime&) = delete;
  TestRenderTime& operator=(const TestRenderTime&) = delete;

  /// Moves the time to the given seconds since the start (only forwards).
  void Set(double seconds) {
    m_clock.counter = kStart + static_cast<std::uint64_t>(seconds * 1e6 + 0.5);
    m_timer.Tick();
  }
  double Now() const { return m_timer.GetTime(); }

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
