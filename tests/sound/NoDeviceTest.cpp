// Without any audio device (OpenAL Soft given no usable backend) the game runs silent.
#include "sound/SoundMng.h"
#include "tests/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(SoundMngNoDevice, EveryOperationRunsSilently) {
  test::SoundEnv env;
  // The wavs do not even exist: without a device nothing is loaded.
  test::WriteShaders("t.ssd",
                     "near { Loop -1 SoundMap sounds\\none.wav }\n"
                     "plain { SoundCategory SkiSound SoundMap sounds\\none.wav SoundMap sounds\\other.wav }\n");
  test::WriteToneOgg("data/sounds/music.ogg", 2.0);
  N_SoundMng& mng = env.Start();
  ASSERT_FALSE(mng.HasDevice());
  EXPECT_EQ(mng.GetSourceCount(), 0);

  const float origin[3] = {0.0f, 0.0f, 0.0f};
  const int near = mng.CreateSound("near", origin);
  const int plain = mng.CreateSound("plain", nullptr);
  EXPECT_GT(near, 0);
  EXPECT_LT(plain, 0);
  EXPECT_EQ(mng.GetVariantCount(plain), 2);
  EXPECT_EQ(mng.GetInstance(near)->buffers, std::vector<std::uint32_t>{0});
  EXPECT_EQ(mng.Play(near), 0);
  EXPECT_EQ(mng.Play(plain), 0);
  EXPECT_FALSE(mng.IsPlaying(plain));
  mng.SetListener(origin, origin, nullptr);
  mng.Update();
  mng.Stop(near);
  mng.Stop(plain);
  mng.SetFXVolume(0.5f);
  mng.SetMusicVolume(0.5f);
  mng.SetCategoryEnabled(3, 0);
  mng.SetCategoryEnabled(1, 0);
  mng.SetCategoryEnabled(1, 1);
  mng.PlayMusic("data\\sounds\\music.ogg");
  mng.PlayMusic("data\\sounds\\missing.ogg");
  mng.Update();
  EXPECT_FALSE(mng.IsMusicPlaying());
  EXPECT_EQ(mng.AllocateSource(1.0f), N_SoundMng::kNoSlot);
  EXPECT_EQ(mng.ResetSource(0), N_SoundMng::kNoSlot);
  mng.DumpBufferStatistics();
  mng.ReleaseSound(near);
  mng.ReleaseSound(plain);
  mng.Shutdown();

  const std::string log = env.Log();
  EXPECT_NE(log.find("Celkova velkost: 0\n"), std::string::npos);
  EXPECT_EQ(log.find("***"), std::string::npos) << log;  // no report, no critical error
  const std::string off = "!!! No audio device could be opened: sound is off\n";
  ASSERT_NE(log.find(off), std::string::npos);
  EXPECT_EQ(log.find(off, log.find(off) + 1), std::string::npos);  // said once
}

}  // namespace
