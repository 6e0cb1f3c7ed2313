#pragma once
// The frame timer. The application creates it fourth at start-up and ticks it once
// per pass of the main loop, before the input poll; everyone else reads it through
// g_timer. Long jobs (race launches, loading screens, faded page switches) tick it
// themselves so the next frame time covers only what follows them.
// Source: the performance counter, reduced by right shifts to at most 2,000,000
// counts a second so one frame's difference fits in 32 bits; without one, the
// millisecond system time. All arithmetic is in double precision.
#include "platform/win32/Clock.h"

#include <cstdint>
#include <string>

/// The timer interface.
class N_TimerBase {
 public:
  virtual ~N_TimerBase() = default;
  /// Advances the timer; returns the new tick count.
  virtual int Tick() = 0;
  /// Length of the last frame in seconds (0 after the first tick).
  virtual double GetFrameTime() const = 0;
  /// Running time in seconds; only differences of it mean anything.
  virtual double GetTime() const = 0;
  virtual const char* GetStatusText() const = 0;
};

class N_Timer final : public N_TimerBase {
 public:
  /// Counter frequencies above this are halved until they fit.
  static constexpr std::uint64_t kMaxReducedFrequency = 2000000;
  /// A counter that falls back by less than this many reduced counts went backwards a little.
  static constexpr std::uint32_t kBackstepLimit = 0x10000000;
  /// Ticks without any change of the time after which the time is pushed on by 1 s.
  static constexpr int kMaxUnchangedTicks = 100000;

  /// Chooses the source from the clock, which must outlive the timer.
  explicit N_Timer(const platform::Clock& clock = platform::SystemClock());

  int Tick() override;
  double GetFrameTime() const override { return m_frameTime; }
  double GetTime() const override { return m_time; }
  const char* GetStatusText() const override { return m_statusText.c_str(); }

  bool HasPerformanceCounter() const { return m_hasPerformanceCounter; }
  /// Right shifts applied to the counter.
  int Reduction() const { return m_reduction; }
  double SecondsPerCount() const { return m_secondsPerCount; }

 private:
  void TickCounter();
  void TickMilliseconds();

  const platform::Clock& m_clock;
  double m_time = 0.0;
  double m_previousTime = 0.0;
  double m_frameTime = 0.0;
  double m_tickCount = 0.0;
  double m_secondsPerCount = 0.0;
  int m_reduction = 0;
  bool m_hasPerformanceCounter = false;
  std::uint32_t m_lastCounter = 0;  ///< reduced counter at the previous tick
  int m_unchangedTicks = 0;
  std::string m_statusText;
};
