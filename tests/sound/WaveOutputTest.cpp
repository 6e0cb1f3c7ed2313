// What the game plays, written by OpenAL Soft's wave-file output (16-bit samples).
#include "sound/SoundMng.h"
#include "tests/sound/SoundTestSupport.h"
#include "tools/OggWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

/// The 16-bit samples of a WAV file's data chunk; channels 0 when the file is not such a file.
struct Wave {
  int channels = 0;
  int rate = 0;
  std::vector<std::int16_t> samples;  ///< interleaved
};

Wave ReadWave16(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Wave wave;
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return wave;
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);  // little-endian host
    return v;
  };
  auto u16 = [&](std::size_t at) {
    std::uint16_t v = 0;
    std::memcpy(&v, bytes.data() + at, 2);
    return v;
  };
  int bits = 0, channels = 0;
  for (std::size_t at = 12; at + 8 <= bytes.size(); at += 8 + u32(at + 4) + (u32(at + 4) & 1)) {
    const std::uint32_t size = u32(at + 4);
    if (bytes.compare(at, 4, "fmt ") == 0 && at + 24 <= bytes.size()) {
      channels = u16(at + 10);
      wave.rate = static_cast<int>(u32(at + 12));
      bits = u16(at + 22);
    }
    if (bytes.compare(at, 4, "data") != 0 || bits != 16 || channels == 0) continue;
    const std::size_t count = std::min<std::size_t>(size, bytes.size() - at - 8) / 2;
    wave.samples.resize(count - count % channels);
    std::memcpy(wave.samples.data(), bytes.data() + at + 8, wave.samples.size() * 2);
    wave.channels = channels;
    return wave;
  }
  return wave;
}

/// The amplitude (0..32768) of the `hz` tone in one channel of the wave (Goertzel's
/// single-frequency transform over the whole channel).
double ToneAmplitude(const Wave& wave, int channel, double hz) {
  const std::size_t frames = wave.samples.size() / static_cast<std::size_t>(wave.channels);
  if (frames == 0) return 0.0;
  const double coefficient = 2.0 * std::cos(2.0 * M_PI * hz / wave.rate);
  double s1 = 0.0, s2 = 0.0;
  for (std::size_t f = 0; f < frames; ++f) {
    const double s0 = wave.samples[f * wave.channels + channel] + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
  return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(frames);
}

/// Writes the music "data/sounds/music.ogg" with `writeMusic` in a fresh game root,
/// plays it (and the sound "beep" when asked) for about a second and closes the
/// device; what the wave writer wrote.
Wave PlayToWave(const std::function<void()>& writeMusic, bool beep = false) {
  const char* output = std::getenv("NAVO_WAVE_OUT");
  EXPECT_NE(output, nullptr);
  if (!output) return {};
  std::remove(output);
  {
    test::SoundEnv env;
    writeMusic();
    test::WriteToneWav("sounds\\beep.wav", 0.5);
    test::WriteShaders("t.ssd", "beep { Plain SoundMap sounds\\beep.wav }\n");
    N_SoundMng& mng = env.Start();
    EXPECT_TRUE(mng.HasDevice());
    mng.SetMusicVolume(0.8f);
    mng.SetFXVolume(0.8f);
    mng.PlayMusic("data\\sounds\\music.ogg");
    EXPECT_TRUE(mng.IsMusicPlaying()) << env.Log();
    if (beep) {
      EXPECT_EQ(mng.Play(mng.CreateSound("beep", nullptr)), 1);
    }
    for (int i = 0; i < 100; ++i) {
      test::Wait(0.01);
      mng.Update();
    }
    mng.Shutdown();  // the writer completes its file when the device closes
  }
  return ReadWave16(output);
}

TEST(SoundWaveOutput, PlayedMusicAndSoundsReachTheOutput) {
  const Wave wave = PlayToWave([] { test::WriteToneOgg("data/sounds/music.ogg", 2.5); }, true);
  ASSERT_GE(wave.channels, 2);
  // The 440 Hz tones of music and beep, at a fair level on both sides and in tune.
  for (int channel = 0; channel < 2; ++channel) {
    EXPECT_GT(ToneAmplitude(wave, channel, 440.0), 1000.0) << channel;
    EXPECT_LT(ToneAmplitude(wave, channel, 220.0), ToneAmplitude(wave, channel, 440.0) / 10.0) << channel;
  }
}

TEST(SoundWaveOutput, MusicOfEveryChannelCountPlaysInTuneOnItsSide) {
  // Left speakers play 440 Hz, right ones 660 Hz, the centre and LFE nothing (mono:
  // 440 Hz in the middle). Played wrongly as stereo, 4 channels would come out at
  // half the pitch; a channel in the wrong place on the wrong side.
  // 32 kHz: libvorbisenc's 5.1 set-up at 44.1 and 48 kHz leaks a block of its own.
  constexpr int kRate = 32000;
  for (int channels = 1; channels <= 8; ++channels) {
    SCOPED_TRACE(channels);
    const auto& speakers = test::VorbisSpeakers(channels);
    const std::size_t frames = kRate * 5;  // more than the eight pieces a start queues
    std::vector<float> samples(frames * channels, 0.0f);
    for (std::size_t f = 0; f < frames; ++f) {
      for (int c = 0; c < channels; ++c) {
        const std::string& s = speakers[c];
        const bool left = s == "fl" || s == "sl" || s == "rl" || channels == 1;
        const bool right = s == "fr" || s == "sr" || s == "rr";
        const double hz = left ? 440.0 : 660.0;
        if (left || right) samples[f * channels + c] = 0.5f * static_cast<float>(std::sin(2.0 * M_PI * hz * f / kRate));
      }
    }
    tools::OggSettings settings;
    settings.channels = channels;
    settings.rate = kRate;
    const Wave wave =
        PlayToWave([&] { ASSERT_TRUE(tools::WriteOggVorbis("data/sounds/music.ogg", samples, settings)); });
    ASSERT_GE(wave.channels, 2);
    const double left440 = ToneAmplitude(wave, 0, 440.0), left660 = ToneAmplitude(wave, 0, 660.0);
    const double right440 = ToneAmplitude(wave, 1, 440.0), right660 = ToneAmplitude(wave, 1, 660.0);
    const std::string levels = "440/660 Hz left " + std::to_string(left440) + "/" + std::to_string(left660) +
                               ", right " + std::to_string(right440) + "/" + std::to_string(right660);
    EXPECT_GT(left440, 500.0) << levels;
    if (channels == 1) {
      EXPECT_NEAR(right440, left440, left440 * 0.1) << levels;
      continue;
    }
    EXPECT_GT(right660, 500.0) << levels;
    EXPECT_GT(left440, 3.0 * left660) << levels;
    EXPECT_GT(right660, 3.0 * right440) << levels;
  }
}

}  // namespace
