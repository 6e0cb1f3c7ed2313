#include "race/RunRecorder.h"
#include "race/ai/AiLog.h"
#include "tests/race/RaceTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

/// Ten samples along +x, 10 units apart, heading +x, action = index.
std::string TenSamples() {
  std::string bytes;
  for (int i = 0; i < 10; ++i) {
    const float fields[6] = {10.0f * float(i), 0, 0, 1, 0, 0};
    bytes.append(reinterpret_cast<const char*>(fields), sizeof fields);
    bytes += static_cast<char>(i);
    bytes.append("\x7f\x7f\x7f", 3);  // padding is ignored
  }
  return bytes;
}

TEST(RunRecorder, TheGhostRunsBetweenItsSamplesAndStaysOnTheLast) {
  test::RaceRig rig;
  rig.dir.Write("data/tables/run.dat", TenSamples());
  N_RunRecorder run;
  ASSERT_TRUE(run.Load("run.dat"));
  EXPECT_EQ(run.GhostSampleCount(), 10);
  run.Step(0.45f, {}, {1, 0, 0}, 0);  // f = 4.5: i = 4 (ties to even), t = 0.5
  EXPECT_FLOAT_EQ(run.GhostPosition().x, 45.0f);
  EXPECT_EQ(run.GhostAction(), 4);
  run.Step(2.0f - 0.45f, {}, {1, 0, 0}, 0);
  EXPECT_FLOAT_EQ(run.GhostPosition().x, 90.0f);
  EXPECT_EQ(run.GhostAction(), 9);
  EXPECT_FLOAT_EQ(run.GhostRotation().m[0], 1.0f);

  // A size that is no multiple of 28 loads its whole samples.
  rig.dir.Write("data/tables/long.dat", TenSamples() + "abc");
  N_RunRecorder longer;
  EXPECT_TRUE(longer.Load("long.dat"));
  EXPECT_EQ(longer.GhostSampleCount(), 10);
  EXPECT_NE(rig.core.LogText().find("TimeAttackData: long.dat ends in 3 bytes of no whole sample, ignored\n"),
            std::string::npos);
  for (const char* empty : {"none.dat", "empty.dat", "short.dat"}) {
    rig.dir.Write("data/tables/empty.dat", "");
    rig.dir.Write("data/tables/short.dat", std::string(27, 'x'));
    N_RunRecorder nothing;
    EXPECT_FALSE(nothing.Load(empty)) << empty;
    nothing.Step(1.0f, {}, {1, 0, 0}, 0);  // no playback without samples
    EXPECT_EQ(nothing.GhostPosition().x, 0.0f);
  }
}

TEST(RunRecorder, RecordsTenSamplesASecondFromTheStartSample) {
  test::RaceRig rig;
  N_RunRecorder run;
  run.StartRecording(nullptr, {0, 0, 0}, {1, 0, 0}, 3);
  for (int step = 1; step <= 3; ++step) run.Step(0.033f, {0, 0, 0}, {1, 0, 0}, 3);
  EXPECT_EQ(run.RecordedCount(), 1);
  run.Step(0.033f, {0, 0, 0}, {1, 0, 0}, 3);
  EXPECT_EQ(run.RecordedCount(), 2);
  EXPECT_NEAR(run.RecordingClock(), 0.032f, 1e-6);

  N_RunRecorder exact;
  exact.StartRecording(nullptr, {}, {1, 0, 0}, 0);
  exact.Step(0.1f, {}, {1, 0, 0}, 0);  // not yet past 1 / rate in single precision
  EXPECT_EQ(exact.RecordedCount(), 1);

  N_RunRecorder quarter;
  quarter.StartRecording(nullptr, {0, 0, 0}, {1, 0, 0}, 0);
  quarter.Step(0.25f, {100, 40, 0}, {0, 1, 0}, 6);
  ASSERT_EQ(quarter.RecordedCount(), 3);
  EXPECT_NEAR(quarter.RecordingClock(), 0.05f, 1e-6);
  const N_RunRecorder::Sample& half = quarter.RecordedSample(1);
  EXPECT_FLOAT_EQ(half.position.x, 50.0f);
  EXPECT_FLOAT_EQ(half.position.y, 20.0f);
  EXPECT_FLOAT_EQ(half.heading.x, std::sqrt(0.5f));
  EXPECT_FLOAT_EQ(half.heading.y, std::sqrt(0.5f));
  EXPECT_EQ(half.action, 6);
  EXPECT_FLOAT_EQ(quarter.RecordedSample(2).position.x, 100.0f);
  EXPECT_FLOAT_EQ(quarter.RecordedSample(2).heading.y, 1.0f);

  N_RunRecorder minute;
  minute.StartRecording(nullptr, {}, {1, 0, 0}, 0);
  for (int step = 0; step < 1879; ++step) minute.Step(0.033f, {float(step), 0, 0}, {1, 0, 0}, 0);  // 62.0 s
  EXPECT_NEAR(minute.RecordedCount() - 1, 620, 1);
}

TEST(RunRecorder, SavesAndReloadsTheSameSamplesWithZeroPadding) {
  test::RaceRig rig;
  rig.dir.Write("data/tables/.keep", "");
  N_RunRecorder run;
  run.StartRecording(nullptr, {1.5f, -2.25f, 3}, {0, 0, 1}, -5);
  run.Step(0.35f, {7, 8, 9}, {0, 1, 0}, 12);
  ASSERT_TRUE(run.Save(GetTimeAttackFileName(1, 0, 2, 1)));
  const std::string bytes = rig.dir.Read("data/tables/time_attack1021.dat");
  ASSERT_EQ(bytes.size(), 4u * 28u);
  N_RunRecorder back;
  ASSERT_TRUE(back.Load("time_attack1021.dat"));
  ASSERT_EQ(back.GhostSampleCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(bytes.substr(std::size_t(28 * i + 25), 3), std::string(3, '\0'));
    float x;
    std::memcpy(&x, bytes.data() + 28 * i, 4);
    EXPECT_EQ(x, run.RecordedSample(i).position.x);
    EXPECT_EQ(static_cast<std::int8_t>(bytes[std::size_t(28 * i + 24)]), run.RecordedSample(i).action);
  }
  back.Step(0.0f, {}, {1, 0, 0}, 0);
  EXPECT_EQ(back.GhostPosition().y, -2.25f);
  EXPECT_EQ(back.GhostAction(), -5);

  // A failed replace leaves the old run whole.
  platform::SetReplaceFailureHook([](platform::ReplaceStep step) { return step == platform::ReplaceStep::Close; });
  N_RunRecorder other;
  other.StartRecording(nullptr, {}, {1, 0, 0}, 0);
  EXPECT_FALSE(other.Save("time_attack1021.dat"));
  platform::SetReplaceFailureHook({});
  EXPECT_EQ(rig.dir.Read("data/tables/time_attack1021.dat"), bytes);
}

TEST(RunRecorder, AFullRecordingStopsAndSaysSoOnce) {
  test::RaceRig rig;
  N_RunRecorder run;
  run.StartRecording(nullptr, {}, {1, 0, 0}, 0);
  for (int second = 0; second < 3700; ++second) run.Step(1.0f, {float(second), 0, 0}, {1, 0, 0}, 0);
  EXPECT_EQ(run.RecordedCount(), N_RunRecorder::kCapacity);
  EXPECT_EQ(rig.AiLogLines(), (std::vector<std::string>{"TimeAttackData: the recording is full (36000 samples); the "
                                                        "rest of the run is not recorded."}));
  EXPECT_EQ(GetTimeAttackFileName(1, 0, 2, 1) + GetTimeAttackFileName(3, 1, 0, 0),
            "time_attack1021.dattime_attack3100.dat");
}

}  // namespace
