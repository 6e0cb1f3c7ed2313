#include "platform/win32/Clock.h"

#include <time.h>

namespace {

constexpr std::uint64_t kNanosecondsPerSecond = 1000000000ull;

std::uint64_t MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * kNanosecondsPerSecond +
         static_cast<std::uint64_t>(now.tv_nsec);
}

class MonotonicClock final : public platform::Clock {
 public:
  std::uint64_t PerformanceFrequency() const override { return kNanosecondsPerSecond; }
  std::uint64_t PerformanceCounter() const override { return MonotonicNanoseconds(); }
  std::uint32_t Milliseconds() const override {
    return static_cast<std::uint32_t>(MonotonicNanoseconds() / 1000000ull);
  }
};

}  // namespace

namespace platform {

const Clock& SystemClock() {
  static const MonotonicClock clock;
  return clock;
}

}  // namespace platform

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (!frequency) return FALSE;
  frequency->QuadPart = static_cast<std::int64_t>(platform::SystemClock().PerformanceFrequency());
  return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (!count) return FALSE;
  count->QuadPart = static_cast<std::int64_t>(platform::SystemClock().PerformanceCounter());
  return TRUE;
}

DWORD timeGetTime() { return platform::SystemClock().Milliseconds(); }
