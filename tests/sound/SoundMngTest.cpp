// The sound manager over OpenAL Soft's null output (it plays in real time).
#include "sound/SoundMng.h"
#include "tests/sound/SoundTestSupport.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <functional>

namespace {

using test::SlotOf;
using test::SlotState;

/// A looping positional shader whose min distance is 0.1 m (3.937 units), a long
/// plain one, a short one, one without wavs, and one per switchable category.
void WriteCommonData() {
  test::WriteToneWav("sounds\\long.wav", 5.0);
  test::WriteToneWav("sounds\\short.wav", 0.1);
  test::WriteShaders("test.ssd",
                     "loop { Loop -1 MinDistance 0.1 MaxDistance 100 SoundMap sounds\\long.wav }\n"
                     "long { Plain SoundMap sounds\\long.wav }\n"
                     "short { SoundMap sounds\\short.wav }\n"
                     "empty { Loop -1 }\n"
                     "ski { SoundCategory SkiSound SoundMap sounds\\long.wav }\n"
                     "body { SoundCategory BodySound Volume 0.5 SoundMap sounds\\long.wav }\n"
                     "menu { SoundCategory Menu Volume 0.5 SoundMap sounds\\long.wav }\n"
                     "pitch { Loop -1 Frequency -1 MaxDistance -5 SoundMap sounds\\long.wav }\n"
                     "variants { SoundMap sounds\\short.wav SoundMap sounds\\long.wav }\n");
}

constexpr float kMin = 0.1f * 39.37f;
constexpr float kOrigin[3] = {0.0f, 0.0f, 0.0f};

/// An integer property (AL_LOOPING, AL_SOURCE_RELATIVE, ...) of a slot's source.
int SourceInt(const N_SoundMng& mng, int slot, ALenum property) {
  ALint value = -1;
  alGetSourcei(mng.GetSource(slot).source, property, &value);
  return value;
}

TEST(SoundMng, StartsWithTheSourcesAndEveryCategoryOn) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  ASSERT_TRUE(mng.HasDevice());
  EXPECT_EQ(mng.GetSourceCount(), N_SoundMng::kMaxSources);
  for (int c = 0; c <= 8; ++c) EXPECT_EQ(mng.IsCategoryEnabled(c), 0x01010101u) << c;
  mng.SetCategoryEnabled(0, 0);
  EXPECT_EQ(mng.IsCategoryEnabled(0), 0u);
  EXPECT_EQ(mng.ResetSource(mng.GetSourceCount()), N_SoundMng::kNoSlot);
  EXPECT_EQ(mng.ResetSource(0), mng.GetSource(0).source);
  EXPECT_EQ(mng.GetSource(0).category, 1);
  EXPECT_EQ(env.Log().find("sound is off"), std::string::npos);
}

TEST(SoundMngDeath, CriticalErrorsEndTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    std::function<void(N_SoundMng&)> call;
    const char* message;
  };
  const Case cases[] = {
      {[](N_SoundMng& m) { m.SetCategoryEnabled(9, 1); }, "ziadost o zapnutie neexistujucej kategorie zvuku!"},
      {[](N_SoundMng& m) { m.SetCategoryEnabled(-1, 0); }, "ziadost o zapnutie neexistujucej kategorie zvuku!"},
      {[](N_SoundMng& m) { m.IsCategoryEnabled(9); }, "ziadost o zistenie statusu neexistujucej kategorie"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EXIT(
        {
          test::SoundEnv env;
          WriteCommonData();
          c.call(env.Start());
        },
        testing::ExitedWithCode(255), c.message);
  }
}

TEST(SoundMng, HandlesAreReusedAndWavBuffersShared) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  EXPECT_EQ(mng.CreateSound(nullptr, kOrigin), 0);
  const int a = mng.CreateSound("loop", kOrigin);
  const int b = mng.CreateSound("long", kOrigin);
  const int p = mng.CreateSound("long", nullptr);
  const int q = mng.LoadShaderSounds("variants");
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(p, -1);
  EXPECT_EQ(q, -2);
  EXPECT_EQ(mng.GetVariantCount(q), 2);
  EXPECT_EQ(mng.GetInstance(a)->buffers, mng.GetInstance(b)->buffers);  // one buffer per wav name
  EXPECT_NE(mng.GetInstance(a)->buffers[0], 0u);

  mng.ReleaseSound(a);
  EXPECT_EQ(mng.GetInstance(a), nullptr);
  EXPECT_EQ(mng.CreateSound("short", kOrigin), a);  // the free entry is taken again
  mng.ReleaseSound(p);
  EXPECT_EQ(mng.LoadShaderSounds("long"), p);

  // Releasing every reference deletes the buffer; a new reference loads the file again.
  const std::uint32_t longBuffer = mng.GetInstance(b)->buffers[0];
  mng.ReleaseSound(b);
  mng.ReleaseSound(p);
  mng.ReleaseSound(q);
  EXPECT_FALSE(alIsBuffer(longBuffer));
  const int again = mng.CreateSound("long", kOrigin);
  EXPECT_NE(mng.GetInstance(again)->buffers[0], 0u);
  EXPECT_TRUE(alIsBuffer(mng.GetInstance(again)->buffers[0]));

  EXPECT_EQ(mng.UnregisterWav("sounds\\never.wav"), -1);
  EXPECT_NE(env.Log().find("Unregistering not registered wav name"), std::string::npos);
}

TEST(SoundMng, DumpBufferStatisticsPrintsTheTable) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  mng.CreateSound("variants", nullptr);
  mng.CreateSound("short", kOrigin);
  mng.DumpBufferStatistics();
  const std::string log = env.Log();
  const std::string rule(134, '-');
  EXPECT_NE(log.find("\nSoundMng::DumpBufferStatistics\n" + rule + "\n"), std::string::npos);
  char line[256];
  std::snprintf(line, sizeof line, "%64s\t|%9s |%9s |%9s |%9s |%9s \n", "Shader name", "size", "freq", "bits",
                "channels", "refc");
  EXPECT_NE(log.find(line), std::string::npos);
  // 0.1 s of 22050 Hz mono 16-bit: 2205 frames, 4410 bytes; referenced twice.
  std::snprintf(line, sizeof line, "%64s\t|%9d |%9d |%9d |%9d |%9d\n", "sounds\\short.wav", 4410, 22050, 16, 1, 2);
  EXPECT_NE(log.find(line), std::string::npos) << log;
  std::snprintf(line, sizeof line, "Celkova velkost: %d\n\n", 4410 + 220500);
  EXPECT_NE(log.find(rule + "\n" + line), std::string::npos);
}

struct BandCase {
  float volume;
  float startFactor;  ///< starts within min distance x this
  float stopFactor;   ///< stops beyond min distance x this
};

TEST(SoundMng, PositionalSoundStartsAndStopsByDistance) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  for (const BandCase& c : {BandCase{1.0f, 21.0f, 31.0f}, BandCase{0.5f, 41.0f, 61.0f}}) {
    SCOPED_TRACE(c.volume);
    const int h = mng.CreateSound("loop", kOrigin);
    auto moveTo = [&](float factor) {
      mng.SetSoundParams(h, kMin * factor, 0.0f, 0.0f, c.volume, -1);
      mng.Update();
      const int slot = SlotOf(mng, h);
      return slot < 0 ? AL_STOPPED : SlotState(mng, slot);
    };
    EXPECT_EQ(moveTo(c.startFactor + 0.05f), AL_STOPPED);
    EXPECT_EQ(moveTo(c.startFactor - 0.05f), AL_PLAYING);
    EXPECT_EQ(SourceInt(mng, SlotOf(mng, h), AL_LOOPING), AL_TRUE);  // Loop -1
    EXPECT_EQ(moveTo(c.stopFactor - 0.05f), AL_PLAYING);  // the band keeps it playing
    EXPECT_EQ(moveTo(c.stopFactor + 0.05f), AL_STOPPED);
    EXPECT_EQ(moveTo((c.startFactor + c.stopFactor) / 2), AL_STOPPED);  // and keeps it stopped
    EXPECT_EQ(SlotOf(mng, h), -1);
    mng.ReleaseSound(h);
  }
}

TEST(SoundMng, ListenerPositionDecidesTheDistance) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  const float far[3] = {1000.0f, 0.0f, 0.0f};
  const int h = mng.CreateSound("loop", far);
  mng.Update();
  EXPECT_EQ(SlotOf(mng, h), -1);
  const float forward[3] = {0.0f, 1.0f, 0.0f};
  const float near[3] = {1000.0f - kMin * 5.0f, 0.0f, 0.0f};
  mng.SetListener(near, forward, nullptr);
  mng.Update();
  ASSERT_GT(SlotOf(mng, h), 0);
  EXPECT_EQ(SlotState(mng, SlotOf(mng, h)), AL_PLAYING);
  // OpenAL hears the listener 10 units higher; the stored position is as given.
  ALfloat heard[3];
  alGetListenerfv(AL_POSITION, heard);
  EXPECT_FLOAT_EQ(heard[2], 10.0f);
  ALfloat orientation[6];
  alGetListenerfv(AL_ORIENTATION, orientation);
  EXPECT_FLOAT_EQ(orientation[5], 1.0f);  // up = (forward x Z) x forward = +Z
}

TEST(SoundMng, PlainSoundTakesTheBusiestSlot) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  std::vector<int> handles;
  for (int i = 1; i < N_SoundMng::kMaxSources; ++i) {
    handles.push_back(mng.CreateSound("long", nullptr));
    ASSERT_EQ(mng.Play(handles.back()), 1);
    ASSERT_EQ(SlotOf(mng, handles.back()), i);
  }
  EXPECT_EQ(mng.Play(handles[5]), 1);  // still playing: not restarted elsewhere
  EXPECT_EQ(SlotOf(mng, handles[5]), 6);
  const int extra = mng.CreateSound("long", nullptr);
  EXPECT_EQ(mng.Play(extra), 1);
  EXPECT_EQ(mng.GetSource(1).handle, extra);  // greatest priority above 0, first of equals
  EXPECT_EQ(SlotState(mng, 1), AL_PLAYING);
  EXPECT_EQ(SlotOf(mng, handles[0]), -1);
}

TEST(SoundMng, NoSourceWhenEveryBusySlotIsAtOrInsideItsMinDistance) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  // 128 sounds inside their min distance for 127 slots: the nearest, made last, is
  // sorted first; of the equal ones the last made is left without a source.
  const float inside[3] = {kMin * 0.5f, 0.0f, 0.0f};
  std::vector<int> equal;
  for (int i = 1; i < N_SoundMng::kMaxSources; ++i) equal.push_back(mng.CreateSound("loop", inside));
  const int nearest = mng.CreateSound("loop", kOrigin);
  mng.Update();
  for (int i = 1; i < N_SoundMng::kMaxSources; ++i) {
    EXPECT_LT(mng.GetSource(i).priority, 0.0f);
    EXPECT_EQ(SlotState(mng, i), AL_PLAYING);
  }
  EXPECT_EQ(SlotOf(mng, nearest), 1);
  EXPECT_EQ(SlotOf(mng, equal.front()), 2);
  EXPECT_EQ(SlotOf(mng, equal.back()), -1);
  EXPECT_EQ(mng.Play(mng.CreateSound("long", nullptr)), 0);
}

TEST(SoundMng, CategorySwitchStopsItsSources) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  const int ski = mng.CreateSound("ski", nullptr);
  const int body = mng.CreateSound("body", nullptr);
  const int near = mng.CreateSound("ski", kOrigin);
  ASSERT_EQ(mng.Play(ski), 1);
  ASSERT_EQ(mng.Play(body), 1);
  mng.Update();
  const int skiSlot = SlotOf(mng, ski), nearSlot = SlotOf(mng, near);
  ASSERT_GT(nearSlot, 0);
  mng.SetCategoryEnabled(3, 0);
  EXPECT_EQ(SlotState(mng, skiSlot), AL_STOPPED);
  EXPECT_EQ(SlotState(mng, nearSlot), AL_STOPPED);
  EXPECT_EQ(mng.GetSource(skiSlot).handle, 0);
  EXPECT_TRUE(mng.IsPlaying(body));
  EXPECT_EQ(mng.Play(ski), 0);
  mng.Update();
  EXPECT_EQ(SlotOf(mng, near), -1);  // not restarted while its category is off
  mng.SetCategoryEnabled(3, 1);
  mng.Update();
  EXPECT_GT(SlotOf(mng, near), 0);
}

TEST(SoundMng, VolumesReachTheSourcesClamped) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  const int body = mng.CreateSound("body", nullptr);  // shader volume 0.5
  const int menu = mng.CreateSound("menu", nullptr);
  mng.SetFXVolume(0.5f);
  mng.Play(body);
  mng.Play(menu);
  EXPECT_FLOAT_EQ(test::SlotGain(mng, SlotOf(mng, body)), 0.25f);
  EXPECT_FLOAT_EQ(test::SlotGain(mng, SlotOf(mng, menu)), 1.0f);  // menu sounds ignore the volume
  mng.SetFXVolume(4.0f);
  EXPECT_FLOAT_EQ(mng.GetFXVolume(), 4.0f);  // kept as given
  EXPECT_FLOAT_EQ(test::SlotGain(mng, SlotOf(mng, body)), 1.0f);
  mng.SetFXVolume(-1.0f);
  EXPECT_FLOAT_EQ(test::SlotGain(mng, SlotOf(mng, body)), 0.0f);
  mng.SetMusicVolume(-2.0f);
  EXPECT_FLOAT_EQ(mng.GetMusicVolume(), -2.0f);
}

TEST(SoundMng, EndedSoundsFreeTheirSlots) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  const int plain = mng.CreateSound("short", nullptr);
  const int near = mng.CreateSound("short", kOrigin);  // Loop 1: plays once per start
  const int empty = mng.CreateSound("empty", kOrigin);
  ASSERT_EQ(mng.Play(plain), 1);
  mng.Play(near);
  mng.Update();
  const int nearSlot = SlotOf(mng, near);
  ASSERT_GT(nearSlot, 0);
  EXPECT_EQ(SourceInt(mng, nearSlot, AL_LOOPING), AL_FALSE);  // Loop 1 plays once
  EXPECT_EQ(mng.GetInstance(near)->playFlag, 1);
  EXPECT_EQ(SlotOf(mng, empty), -1);  // a shader without wavs never starts
  EXPECT_EQ(mng.Play(mng.CreateSound("empty", nullptr)), 0);
  const int plainSlot = SlotOf(mng, plain);
  ASSERT_GT(plainSlot, 0);
  // The null output plays in real time: both 0.1 s sounds come to their end.
  EXPECT_TRUE(test::WaitUntil([&] {
    return test::SlotState(mng, plainSlot) == AL_STOPPED && test::SlotState(mng, nearSlot) == AL_STOPPED;
  }));
  // The free pass clears the ended slots; the near sound then starts again.
  mng.Update();
  EXPECT_EQ(SlotOf(mng, plain), -1);
  EXPECT_EQ(mng.GetInstance(near)->playFlag, 0);
  EXPECT_GT(SlotOf(mng, near), 0);
  mng.Stop(near);
  EXPECT_EQ(SlotOf(mng, near), -1);
}

TEST(SoundMng, AnUncheckedOpenAlErrorDoesNotEndTheNextBufferCreation) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  mng.CreateSound("pitch", kOrigin);  // negative pitch and max distance: OpenAL refuses both
  mng.Update();
  const int next = mng.CreateSound("variants", nullptr);
  EXPECT_NE(mng.GetVariantCount(next), 0);
  EXPECT_EQ(mng.SetSoundParams(next, 0, 0, 0, 1.0f, -7), 0);  // a bad variant plays the first
  EXPECT_EQ(mng.Play(next), 1);
  ALint buffer = 0;
  alGetSourcei(mng.GetSource(SlotOf(mng, next)).source, AL_BUFFER, &buffer);
  EXPECT_EQ(static_cast<std::uint32_t>(buffer), mng.GetInstance(mng.CreateSound("short", kOrigin))->buffers[0]);
}

TEST(SoundMng, ReleasingAPlayingSoundFreesItsSlotAndBuffer) {
  test::SoundEnv env;
  WriteCommonData();
  N_SoundMng& mng = env.Start();
  const int h = mng.CreateSound("long", nullptr);
  ASSERT_EQ(mng.Play(h), 1);
  const int slot = SlotOf(mng, h);
  mng.ReleaseSound(h);
  EXPECT_EQ(mng.GetSource(slot).handle, 0);
  EXPECT_EQ(SlotState(mng, slot), AL_INITIAL);  // a fresh source
  // The handle comes back with the next record and is not playing.
  const int again = mng.CreateSound("short", nullptr);
  EXPECT_EQ(again, h);
  EXPECT_FALSE(mng.IsPlaying(again));
}

}  // namespace
