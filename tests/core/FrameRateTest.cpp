#include "core/FrameRate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(FrameRate, AverageOfMoreThanOneSecondReplacesTheTextOnceASecond) {
  struct Case {
    std::vector<float> frames;
    std::string text;
    int framesAfter;
  };
  const std::vector<Case> cases = {
      {{}, "0", 0},
      {{0.5f, 0.5f}, "0", 2},                      // exactly 1 s is not more than 1 s
      {{0.5f, 0.5f, 0.25f}, "0", 3},               // 1.25 s accumulated, not yet reported
      {{0.5f, 0.5f, 0.25f, 0.1f}, "2.40 fps\n", 0},  // 3 frames in 1.25 s; this frame not added
      {{0.0f, 0.0f, 2.0f, 0.0f}, "1.50 fps\n", 0},   // zero-length frames count as frames
      {{0.002f, 0.0f}, "0", 2},
  };
  for (const Case& c : cases) {
    N_FrameRate rate;
    for (float dt : c.frames) rate.Add(dt);
    EXPECT_STREQ(rate.Text(), c.text.c_str());
    EXPECT_EQ(rate.Frames(), c.framesAfter);
  }
}

TEST(FrameRate, ASteadyRateIsReportedEverySecondOrSo) {
  N_FrameRate rate;
  int changes = 0;
  std::string last = rate.Text();
  for (int i = 0; i < 600; ++i) {  // ten seconds at 60 frames a second
    rate.Add(1.0f / 60.0f);
    if (last != rate.Text()) {
      ++changes;
      last = rate.Text();
    }
  }
  EXPECT_EQ(last, "60.00 fps\n");
  EXPECT_GE(changes, 1);
  EXPECT_LE(changes, 10);
}

TEST(FrameRate, InstantRateOfOneFrame) {
  N_FrameRate rate;
  rate.SetInstant(0.004f);
  EXPECT_STREQ(rate.Text(), "250.00 fps\n");
  rate.SetInstant(0.0f);  // the first frame: no crash, an infinite rate
  EXPECT_STREQ(rate.Text(), "inf fps\n");
}

}  // namespace
