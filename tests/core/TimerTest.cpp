#include "core/Timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

namespace {

/// A clock the test moves by hand.
class FakeClock final : public platform::Clock {
 public:
  explicit FakeClock(std::uint64_t frequency) : frequency(frequency) {}
  std::uint64_t PerformanceFrequency() const override { return frequency; }
  std::uint64_t PerformanceCounter() const override { return counter; }
  std::uint32_t Milliseconds() const override { return milliseconds; }

  std::uint64_t frequency;
  std::uint64_t counter = 0;
  std::uint32_t milliseconds = 0;
};

TEST(Timer, ReducesTheCounterFrequencyToAtMostTwoMillion) {
  struct Case {
    std::uint64_t frequency;
    int shifts;
    double secondsPerCount;
  };
  const Case cases[] = {
      {10000000, 3, 0.0000008},           // 10 MHz -> 1.25 MHz
      {1000000, 0, 0.000001},             // used unreduced
      {2000000, 0, 0.0000005},            // the limit itself stays
      {1000000000, 9, 1.0 / 1953125.0},   // the monotonic nanosecond clock
      {1ull << 33, 13, 1.0 / 1048576.0},  // an upper half forces shifts on its own
  };
  for (const Case& c : cases) {
    FakeClock clock(c.frequency);
    N_Timer timer(clock);
    EXPECT_TRUE(timer.HasPerformanceCounter());
    EXPECT_EQ(timer.Reduction(), c.shifts) << c.frequency;
    EXPECT_DOUBLE_EQ(timer.SecondsPerCount(), c.secondsPerCount) << c.frequency;
    EXPECT_STREQ(timer.GetStatusText(), "Performance Counter initialized");
  }
  N_Timer system;
  EXPECT_EQ(system.Reduction(), 9);
}

TEST(Timer, CounterFramesWrapsAndBacksteps) {
  FakeClock clock(1000000);  // one count per microsecond, unreduced
  clock.counter = 0xFFFFFF00u;
  N_Timer timer(clock);
  EXPECT_EQ(timer.Tick(), 1);
  EXPECT_EQ(timer.GetFrameTime(), 0.0);  // the first frame
  EXPECT_EQ(timer.GetTime(), 0.0);

  clock.counter += 0x200;  // wraps past 2^32
  EXPECT_EQ(timer.Tick(), 2);
  EXPECT_NEAR(timer.GetFrameTime(), 0.000512, 1e-12);
  EXPECT_NEAR(timer.GetTime(), 0.000512, 1e-12);

  clock.counter -= 100;  // a small step back: frame time kept, time stands
  timer.Tick();
  EXPECT_NEAR(timer.GetFrameTime(), 0.000512, 1e-12);
  EXPECT_NEAR(timer.GetTime(), 0.000512, 1e-12);

  clock.counter += 1100;  // measured from the stepped-back value
  timer.Tick();
  EXPECT_NEAR(timer.GetFrameTime(), 0.0011, 1e-12);
  EXPECT_NEAR(timer.GetTime(), 0.001612, 1e-12);

  clock.counter += 0;  // a counter that does not move is a step back of 0
  timer.Tick();
  EXPECT_NEAR(timer.GetFrameTime(), 0.0011, 1e-12);
  EXPECT_NEAR(timer.GetTime(), 0.001612, 1e-12);

  // A large step back is a forward wrap of the 32-bit value.
  clock.counter -= 0x10000000;
  timer.Tick();
  EXPECT_NEAR(timer.GetFrameTime(), (4294967296.0 - 268435456.0) * 0.000001, 1e-6);
}

TEST(Timer, ReducedCounterIsTakenFromTheShiftedValue) {
  FakeClock clock(10000000);  // three shifts
  clock.counter = 0x7FFFFFFF8ull;
  N_Timer timer(clock);
  timer.Tick();
  clock.counter += 80;  // 10 reduced counts
  timer.Tick();
  EXPECT_NEAR(timer.GetFrameTime(), 10 * 0.0000008, 1e-15);
}

TEST(Timer, PushesTheTimeOnAfterManyUnchangedTicks) {
  // At 2^33 s one count (0.5 us) no longer changes a double: every tick then
  // leaves the time unchanged, and after 100,000 such ticks it moves by 1.0 s.
  FakeClock clock(2000000);
  N_Timer timer(clock);
  timer.Tick();
  while (timer.GetTime() < 8589934592.0) {
    clock.counter += 0xF0000000u;  // the largest step that still counts forwards
    timer.Tick();
  }
  const double start = timer.GetTime();
  for (int i = 0; i < N_Timer::kMaxUnchangedTicks; ++i) {
    clock.counter += 1;
    timer.Tick();
  }
  EXPECT_EQ(timer.GetTime(), start);
  clock.counter += 1;
  timer.Tick();
  EXPECT_EQ(timer.GetTime(), start + 1.0);
}

TEST(Timer, MillisecondClockWithoutCounter) {
  FakeClock clock(0);
  clock.milliseconds = 5000;
  N_Timer timer(clock);
  EXPECT_FALSE(timer.HasPerformanceCounter());
  EXPECT_STREQ(timer.GetStatusText(), "No Performance Counter available -upgrade your OS");
  EXPECT_EQ(timer.SecondsPerCount(), static_cast<double>(0.001f));
  EXPECT_EQ(timer.Tick(), 1);
  EXPECT_EQ(timer.GetFrameTime(), 0.0);
  EXPECT_EQ(timer.GetTime(), 5000 * static_cast<double>(0.001f));  // the uptime, not 0
  clock.milliseconds += 16;
  EXPECT_EQ(timer.Tick(), 2);
  EXPECT_NEAR(timer.GetFrameTime(), 0.016, 1e-9);
}

TEST(Timer, SystemClockMovesForward) {
  N_Timer timer;
  timer.Tick();
  double previous = 0.0;
  for (int i = 0; i < 1000; ++i) {
    timer.Tick();
    EXPECT_GE(timer.GetTime(), previous);
    previous = timer.GetTime();
  }
  // Between the ticks at least the sleep, at most what this thread saw pass around them
  // (and a count of the timer's reduced frequency, 0.5 us, more).
  const auto before = std::chrono::steady_clock::now();
  timer.Tick();
  std::this_thread::sleep_for(std::chrono::milliseconds(3));
  timer.Tick();
  const double around = std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
  EXPECT_GE(timer.GetFrameTime(), 0.0029);
  EXPECT_LE(timer.GetFrameTime(), around + 1e-6);
  LARGE_INTEGER a, b;
  ASSERT_TRUE(QueryPerformanceFrequency(&a));
  EXPECT_EQ(a.QuadPart, 1000000000);
  QueryPerformanceCounter(&a);
  QueryPerformanceCounter(&b);
  EXPECT_GE(b.QuadPart, a.QuadPart);
}

}  // namespace
