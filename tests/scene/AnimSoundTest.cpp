// The skiers' body sounds against a sound manager that records what it is asked: the
// breathing slots, the breath's sample and volume by pulse and condition, and the
// heartbeat.
#include "scene/AnimSound.h"
#include "sound/SoundMng.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

class SoundRecorder final : public N_SoundMng {
 public:
  struct Made {
    std::string shader;
    bool positioned;
    float x, y, z;
  };
  struct Params {
    int handle;
    float volume;
    int variant;
  };

  SoundRecorder() { g_soundMng = this; }
  ~SoundRecorder() override { g_soundMng = nullptr; }

  int CreateSound(const char* shader, const float* at) override {
    made.push_back({shader, at != nullptr, at ? at[0] : 0, at ? at[1] : 0, at ? at[2] : 0});
    return at ? m_next++ : -m_next++;
  }
  bool ReleaseSound(int handle) override {
    released.push_back(handle);
    return false;
  }
  int SetSoundParams(int handle, float, float, float, float volume, int variant) override {
    params.push_back({handle, volume, variant});
    return 0;
  }
  int GetVariantCount(int) override { return variants; }
  int Play(int handle) override {
    played.push_back(handle);
    return 0;
  }
  void Stop(int handle) override { stopped.push_back(handle); }

  int variants = 4;
  std::vector<Made> made;
  std::vector<int> released, played, stopped;
  std::vector<Params> params;

 private:
  int m_next = 1;
};

TEST(AnimSound, BreathingSoundsTakeTheLowestFreeSlotAndAreReleasedWithTheSet) {
  test::TempDir dir;
  SoundRecorder sound;
  std::vector<int> releasedAtEnd;
  {
    N_AnimSound body;
    ASSERT_EQ(sound.made.size(), 1u);
    EXPECT_EQ(sound.made[0].shader, "srdce");
    EXPECT_FALSE(sound.made[0].positioned) << "the heartbeat is a plain sound";
    EXPECT_EQ(body.CreateSoundObj(0), 0);
    EXPECT_EQ(body.CreateSoundObj(1), 1);
    EXPECT_EQ(body.CreateSoundObj(0), 2);
    for (const int i : {1, 2, 3}) {
      EXPECT_EQ(sound.made[std::size_t(i)].shader, i == 2 ? "dych_zena" : "dych_muz");
      EXPECT_TRUE(sound.made[std::size_t(i)].positioned);
      EXPECT_EQ(sound.made[std::size_t(i)].x, 10000.0f);
      EXPECT_EQ(sound.made[std::size_t(i)].y, 10000.0f);
      EXPECT_EQ(sound.made[std::size_t(i)].z, 10000.0f);
    }
    const int second = body.GetSlot(1)->sound;
    body.ReleaseSoundObj(1);
    EXPECT_EQ(sound.released, std::vector<int>{second});
    for (const int slot : {1, -1, 90, 89}) body.ReleaseSoundObj(slot);  // free or unknown: nothing
    EXPECT_EQ(sound.released.size(), 1u);
    EXPECT_EQ(body.CreateSoundObj(1), 1) << "the lowest free slot again";
    sound.released.clear();
    releasedAtEnd = {body.GetSlot(0)->sound, body.GetSlot(1)->sound, body.GetSlot(2)->sound, body.Heartbeat()};
  }
  EXPECT_EQ(sound.released, releasedAtEnd);
}

TEST(AnimSoundDeathTest, TheNinetyFirstBreathingSoundEndsTheProgram) {
  test::TempDir dir;
  test::CoreServices core;
  SoundRecorder sound;
  N_AnimSound body;
  for (int i = 0; i < N_AnimSound::kSlots; ++i) ASSERT_EQ(body.CreateSoundObj(i % 2), i);
  EXPECT_EXIT(body.CreateSoundObj(0), testing::ExitedWithCode(255),
              "N_AnimSound::CreateSoundObj: prilis velky pocet objektov -> 90 <-");
}

TEST(AnimSound, TheBreathFollowsPulseAndConditionAndIsNeverNegative) {
  test::TempDir dir;
  SoundRecorder sound;
  N_AnimSound body;
  const int slot = body.CreateSoundObj(0);
  struct Case {
    int variants;
    float pulse, condition;
    int variant;
    float volume;
  };
  const Case cases[] = {
      {4, 50.0f, 1.0f, 0, 0.0f},       // fresh and resting
      {4, 190.0f, 0.0f, 3, 0.0999f},   // spent at the highest pulse
      {1, 190.0f, 0.0f, 0, 0.0999f},   // one sample only
      {4, 40.0f, 1.0f, 0, 0.0f},       // below a resting pulse: silent, not negative
      {4, 120.0f, 0.5f, 1, 0.04995f},  // 70 / 140 x 0.333 + 0.5 x 0.666 = 0.4995, 4 x that 1.998
      {4, NAN, 1.0f, 0, 0.0f},
  };
  for (const Case& c : cases) {
    sound.variants = c.variants;
    sound.params.clear();
    body.UpdateBreath(slot, 1.0f, 2.0f, 3.0f, c.condition, c.pulse);
    ASSERT_EQ(sound.params.size(), 1u) << c.pulse;
    EXPECT_EQ(sound.params[0].handle, body.GetSlot(slot)->sound);
    EXPECT_EQ(sound.params[0].variant, c.variant) << c.pulse << " " << c.condition;
    EXPECT_NEAR(sound.params[0].volume, c.volume, 1e-4f) << c.pulse << " " << c.condition;
    EXPECT_GE(sound.params[0].volume, 0.0f);
  }
  sound.params.clear();
  body.UpdateBreath(slot + 1, 0, 0, 0, 0.0f, 190.0f);
  EXPECT_TRUE(sound.params.empty()) << "a free slot is not driven";
}

TEST(AnimSound, TheHeartbeatFollowsTheHeartRateWithinFiftyToOneHundredNinety) {
  test::TempDir dir;
  SoundRecorder sound;
  N_AnimSound body;
  struct Case {
    int variants;
    float rate;
    float volume;
    int variant;
  };
  const Case cases[] = {{5, 200.0f, 1.0f, 4}, {5, 50.0f, 0.2f, 0}, {4, 120.0f, 0.5f, 2}, {4, 10.0f, 0.2f, 0},
                        {4, 190.0f, 1.0f, 3}};
  for (const Case& c : cases) {
    sound.variants = c.variants;
    sound.params.clear();
    sound.played.clear();
    body.PlayHeartbeat(c.rate);
    ASSERT_EQ(sound.params.size(), 1u);
    EXPECT_EQ(sound.params[0].handle, body.Heartbeat());
    EXPECT_FLOAT_EQ(sound.params[0].volume, c.volume) << c.rate;
    EXPECT_EQ(sound.params[0].variant, c.variant) << c.rate;
    EXPECT_EQ(sound.played, std::vector<int>{body.Heartbeat()}) << "then it plays";
  }
  body.StopHeartbeat();
  EXPECT_EQ(sound.stopped, std::vector<int>{body.Heartbeat()});
}

}  // namespace
