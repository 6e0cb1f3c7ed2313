#pragma once
// The clocks behind the timer. The "performance counter" is the monotonic clock in
// nanoseconds (frequency 1e9); the millisecond system time is the same clock in ms.
// The timer reads them through platform::Clock, so tests hand it a clock they move.
#include "platform/win32/Types.h"

#include <cstdint>

/// Counts per second of the performance counter; TRUE (the monotonic clock always exists).
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
/// The performance counter now.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
/// Milliseconds of the monotonic clock (about the time since boot); wraps at 2^32.
DWORD timeGetTime();

namespace platform {

/// A time source. The timer asks for the frequency once, at construction, and reads
/// the counter (or the milliseconds when the frequency is 0) once per tick.
class Clock {
 public:
  virtual ~Clock() = default;
  /// Counts per second of the performance counter; 0 when there is none.
  virtual std::uint64_t PerformanceFrequency() const = 0;
  /// The performance counter now.
  virtual std::uint64_t PerformanceCounter() const = 0;
  /// The millisecond system time now.
  virtual std::uint32_t Milliseconds() const = 0;
};

/// The machine's monotonic clock; lives for the whole process.
const Clock& SystemClock();

}  // namespace platform
