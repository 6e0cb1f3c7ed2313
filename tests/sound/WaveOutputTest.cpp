// What the game plays, written by OpenAL Soft's wave-file output (16-bit samples).
#include "sound/SoundMng.h"
#include "tests/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

/// The root mean square of the 16-bit samples of a WAV file's data chunk (-1 when
/// the file is not such a file).
double Rms16(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return -1.0;
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);  // little-endian host
    return v;
  };
  int bits = 0;
  for (std::size_t at = 12; at + 8 <= bytes.size(); at += 8 + u32(at + 4) + (u32(at + 4) & 1)) {
    const std::uint32_t size = u32(at + 4);
    if (bytes.compare(at, 4, "fmt ") == 0) bits = static_cast<unsigned char>(bytes[at + 22]);
    if (bytes.compare(at, 4, "data") != 0 || bits != 16) continue;
    const std::size_t count = std::min<std::size_t>(size, bytes.size() - at - 8) / 2;
    if (count == 0) return 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
      std::int16_t s = 0;
      std::memcpy(&s, bytes.data() + at + 8 + i * 2, 2);
      sum += static_cast<double>(s) * s;
    }
    return std::sqrt(sum / static_cast<double>(count));
  }
  return -1.0;
}

TEST(SoundWaveOutput, PlayedMusicAndSoundsReachTheOutput) {
  const char* output = std::getenv("NAVO_WAVE_OUT");
  ASSERT_NE(output, nullptr);
  std::remove(output);
  {
    test::SoundEnv env;
    test::WriteToneWav("sounds\\beep.wav", 0.5);
    test::WriteShaders("t.ssd", "beep { Plain SoundMap sounds\\beep.wav }\n");
    test::WriteToneOgg("data/sounds/music.ogg", 2.5);
    N_SoundMng& mng = env.Start();
    ASSERT_TRUE(mng.HasDevice());
    mng.SetMusicVolume(0.8f);
    mng.SetFXVolume(0.8f);
    mng.PlayMusic("data\\sounds\\music.ogg");
    EXPECT_EQ(mng.Play(mng.CreateSound("beep", nullptr)), 1);
    for (int i = 0; i < 100; ++i) {
      test::Wait(0.01);
      mng.Update();
    }
    mng.Shutdown();  // the writer completes its file when the device closes
  }
  const double rms = Rms16(output);
  EXPECT_GT(rms, 1000.0) << "a 440 Hz tone at half scale mixed to 16 bits";
}

}  // namespace
