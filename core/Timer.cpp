#include "core/Timer.h"

#include "core/Convert.h"

N_Timer::N_Timer(const platform::Clock& clock) : m_clock(clock) {
  std::uint64_t frequency = m_clock.PerformanceFrequency();
  if (frequency == 0) {
    // The millisecond clock, scaled by the single-precision value of 0.001.
    m_secondsPerCount = static_cast<double>(0.001f);
    m_statusText = "No Performance Counter available -upgrade your OS";
    return;
  }
  m_hasPerformanceCounter = true;
  m_statusText = "Performance Counter initialized";
  while ((frequency >> 32) != 0 || frequency > kMaxReducedFrequency) {
    ++m_reduction;
    frequency >>= 1;
  }
  m_secondsPerCount = 1.0 / static_cast<double>(frequency);
}

int N_Timer::Tick() {
  if (m_hasPerformanceCounter) {
    TickCounter();
  } else {
    TickMilliseconds();
  }
  m_tickCount += 1.0;
  return SaturatingTruncate(m_tickCount);
}

void N_Timer::TickCounter() {
  const auto reduced = static_cast<std::uint32_t>(m_clock.PerformanceCounter() >> m_reduction);
  if (m_tickCount == 0.0) {
    m_lastCounter = reduced;
    return;
  }
  if (reduced <= m_lastCounter && m_lastCounter - reduced < kBackstepLimit) {
    // Went back a little (or stood still): keep the last frame time, the time stands.
    m_lastCounter = reduced;
    return;
  }
  // Unsigned difference: a wrap of the 32-bit value counts forwards.
  const std::uint32_t counts = reduced - m_lastCounter;
  m_frameTime = static_cast<double>(counts) * m_secondsPerCount;
  m_lastCounter = reduced;
  m_time += m_frameTime;
  if (m_time == m_previousTime) {
    // The frame time vanished against the size of the time: push it on.
    if (++m_unchangedTicks > kMaxUnchangedTicks) {
      m_time += 1.0;
      m_unchangedTicks = 0;
    }
  } else {
    m_unchangedTicks = 0;
  }
  m_previousTime = m_time;
}

void N_Timer::TickMilliseconds() {
  const double now = static_cast<double>(m_clock.Milliseconds()) * m_secondsPerCount;
  if (m_tickCount == 0.0) {
    m_time = now;
    m_previousTime = now;
    m_frameTime = 0.0;
    return;
  }
  m_previousTime = m_time;
  m_time = now;
  m_frameTime = m_time - m_previousTime;
}
