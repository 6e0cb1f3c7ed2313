// The sample data of the game root: every sound shader the game looks up, with its
// wavs, and the music (null output).
#include "core/CoreServices.h"
#include "core/FileFinder.h"
#include "sound/SoundMng.h"
#include "tests/sound/SoundTestSupport.h"
#include "tools/OggWriter.h"
#include "tools/SoundSamples.h"
#include "tools/WavWriter.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

const char* const kCoachLines[] = {
    "Trainer_Pos_1", "Trainer_Pos_2", "Trainer_Pos_3", "Trainer_Pos_4_5", "Trainer_Pos_6_9",
    "Trainer_Pos_10_14", "Trainer_Pos_15", "Trainer_Kond_Normal", "Trainer_Kond_Plus_5",
    "Trainer_Kond_Plus_10", "Trainer_Kond_Minus_5", "Trainer_Kond_Minus_10", "Trainer_Freq_Normal",
    "Trainer_Freq_Plus_5", "Trainer_Freq_Plus_10", "Trainer_Freq_Minus_5", "Trainer_Freq_Minus_10",
    "Trainer_Final_Pos_1_Plus_Kond", "Trainer_Final_Pos_1_Minus_Kond", "Trainer_Final_Pos_2_5_Plus_Kond",
    "Trainer_Final_Pos_2_5_Minus_Kond", "Trainer_Final_Pos_6_9_Plus_Kond", "Trainer_Final_Pos_6_9_Minus_Kond",
    "Trainer_Final_Pos_10_14_Plus_Kond", "Trainer_Final_Pos_10_14_Minus_Kond", "Trainer_Final_Pos_15_Plus_Kond",
    "Trainer_Final_Pos_15_Minus_Kond"};

struct Expected {
  const char* name;
  int category;
  int minVariants;
};

/// The game root's shaders; the manager is made there (the finder keeps that cwd).
class GameRootSounds : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(test::GameRoot().empty());
    std::filesystem::current_path(test::GameRoot());
    N_FileList::RecaptureWorkingDirectory();
    N_CoreServices block;
    // The log goes elsewhere: the game root is shared by the tests running in parallel.
    m_logPath = (std::filesystem::temp_directory_path() /
                 (std::string("navo-sound-") + testing::UnitTest::GetInstance()->current_test_info()->name() + ".log"))
                    .string();
    m_log = std::make_unique<N_Log>(m_logPath.c_str());
    m_errors = std::make_unique<N_ErrorLog>(m_log.get());
    block.log = m_log.get();
    block.errorLog = m_errors.get();
    CreateSoundMng(&m_mng, &block);
  }
  void TearDown() override {
    ReleaseSoundMng(&m_mng);
    m_errors.reset();
    m_log.reset();
    std::filesystem::remove(m_logPath);
  }

  std::string m_logPath;
  std::unique_ptr<N_Log> m_log;
  std::unique_ptr<N_ErrorLog> m_errors;
  N_SoundMng* m_mng = nullptr;
};

TEST_F(GameRootSounds, EveryLookedUpShaderExistsWithItsWavs) {
  std::vector<Expected> expected{{"srdce", 2, 3}, {"dych_muz", 2, 3}, {"dych_zena", 2, 3},
                                 {"hit", 5, 1},   {"miss1", 5, 1},    {"notloaded", 5, 1},
                                 {"reload", 5, 1}, {"sound_start_signal", 5, 1}, {"sound_start_mass", 5, 1},
                                 {"fxtest", 8, 1}};
  for (const char* line : kCoachLines) expected.push_back({line, 4, 1});
  ASSERT_EQ(expected.size(), 37u);
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    const N_SoundShader* shader = m_mng->Shaders().FindShader(e.name);
    ASSERT_NE(shader, nullptr);
    EXPECT_EQ(shader->category, e.category);
    EXPECT_GE(static_cast<int>(shader->wavNames.size()), e.minVariants);
    EXPECT_NE(shader->loop, -1);
    // Loading every wav: a missing or unreadable one would end the program here.
    const int plain = m_mng->CreateSound(e.name, nullptr);
    ASSERT_LT(plain, 0);
    EXPECT_EQ(m_mng->GetVariantCount(plain), static_cast<int>(shader->wavNames.size()));
    const float position[3] = {10000.0f, 10000.0f, 10000.0f};
    EXPECT_GT(m_mng->CreateSound(e.name, position), 0);
  }
  EXPECT_GE(m_mng->Shaders().Count(), 37u);  // the GUI and level data add their own
  const int heart = m_mng->CreateSound("srdce", nullptr);
  m_mng->SetSoundParams(heart, 0, 0, 0, 0.2f, 0);
  EXPECT_EQ(m_mng->Play(heart), 1);
}

TEST_F(GameRootSounds, MusicIsLongEnoughToStream) {
  m_mng->PlayMusic("data\\sounds\\music.ogg");
  EXPECT_TRUE(m_mng->IsMusicPlaying());
  EXPECT_EQ(m_mng->MusicFileName(), "data\\sounds\\music.ogg");
}

TEST(SoundWriters, WavHeaderFieldsAreLittleEndian) {
  const std::int16_t samples[] = {0x0102, -2, 300};
  const std::vector<std::uint8_t> bytes = tools::EncodeWav(samples, 1, 22050);
  ASSERT_EQ(bytes.size(), tools::kWavHeaderSize + 6);
  auto u32 = [&](std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
  };
  auto u16 = [&](std::size_t at) { return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8); };
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(u32(4), 36u + 6u);
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(u32(16), 16u);
  EXPECT_EQ(u16(20), 1);       // PCM
  EXPECT_EQ(u16(22), 1);       // channels
  EXPECT_EQ(u32(24), 22050u);  // rate
  EXPECT_EQ(u32(28), 44100u);  // bytes per second
  EXPECT_EQ(u16(32), 2);       // block align
  EXPECT_EQ(u16(34), 16);      // bits
  EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
  EXPECT_EQ(u32(40), 6u);
  EXPECT_EQ(u16(44), 0x0102);
  EXPECT_EQ(u16(46), 0xFFFE);
  EXPECT_EQ(tools::ToPcm16(std::vector<float>{2.0f, -2.0f, 0.5f}), (std::vector<std::int16_t>{32767, -32767, 16384}));
}

TEST(SoundWriters, OggIsDeterministicWithItsSerial) {
  const std::vector<float> music = tools::ComposeMusic(1.0, 22050);
  tools::OggSettings settings;
  settings.rate = 22050;
  settings.serial = 0x01020304;
  const std::vector<std::uint8_t> a = tools::EncodeOggVorbis(music, settings);
  const std::vector<std::uint8_t> b = tools::EncodeOggVorbis(music, settings);
  ASSERT_GT(a.size(), 58u);
  EXPECT_EQ(a, b);
  EXPECT_EQ(std::string(a.begin(), a.begin() + 4), "OggS");
  EXPECT_EQ(a[14] | a[15] << 8 | a[16] << 16 | a[17] << 24, 0x01020304);  // the page's serial
  settings.channels = 0;
  EXPECT_TRUE(tools::EncodeOggVorbis(music, settings).empty());
}

TEST(SoundWriters, SampleWavNamesAreTheShadersFiles) {
  const std::vector<std::string> names = tools::SampleWavNames();
  EXPECT_EQ(names.size(), 5u + 8u + 27u + 9u);
  for (const std::string& name : names) {
    std::string path = test::GameRoot() + "/data/" + name;
    std::replace(path.begin(), path.end(), '\\', '/');
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
  }
}

}  // namespace
