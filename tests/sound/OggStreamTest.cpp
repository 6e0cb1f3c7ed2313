// The Ogg Vorbis music stream, alone and kept alive by the manager (null output).
#include "sound/OggStream.h"
#include "sound/SoundMng.h"
#include "tests/sound/SoundTestSupport.h"
#include "tools/OggWriter.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <chrono>
#include <span>
#include <vector>

namespace {

/// The text a call throws, or empty.
template <class F>
std::string Thrown(F&& call) {
  try {
    call();
  } catch (const std::string& text) {
    return text;
  }
  return {};
}

TEST(OggStream, ErrorTextsOfTheDecoder) {
  const std::pair<int, const char*> cases[] = {
      {-128, "Read from media."},   {-129, "Internal logic fault (bug or heap/stack corruption."},
      {-132, "Not Vorbis data."},   {-133, "Invalid Vorbis header."},
      {-134, "Vorbis version mismatch."}, {-130, "Unknown Ogg error."}, {0, "Unknown Ogg error."},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(N_OggStream::ErrorString(code), text) << code;
}

TEST(OggStream, OpenFailuresAreThrown) {
  test::SoundEnv env;
  N_SoundMng& mng = env.Start();
  env.dir.Write("data/sounds/text.ogg", std::string(4096, 'x'));
  N_OggStream stream;
  EXPECT_EQ(Thrown([&] { stream.Open("data\\sounds\\none.ogg"); }), "Could not open Ogg file.");
  EXPECT_EQ(Thrown([&] { stream.Open("data\\sounds\\text.ogg"); }), "Could not open Ogg stream. Not Vorbis data.");
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_FALSE(stream.Start());
  EXPECT_FALSE(stream.Update());
  EXPECT_FALSE(mng.IsMusicPlaying());
}

TEST(OggStream, EveryChannelCountFromOneToEightDecodesWholeFrames) {
  test::SoundEnv env;
  env.Start();
  struct Case {
    int channels;
    const char* format;  ///< OpenAL's format of the buffers
    int outChannels;
  };
  const Case cases[] = {
      {1, "AL_FORMAT_MONO16", 1},  {2, "AL_FORMAT_STEREO16", 2}, {3, "AL_FORMAT_STEREO16", 2},
      {4, "AL_FORMAT_QUAD16", 4},  {5, "AL_FORMAT_STEREO16", 2}, {6, "AL_FORMAT_51CHN16", 6},
      {7, "AL_FORMAT_61CHN16", 7}, {8, "AL_FORMAT_71CHN16", 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channels);
    test::WriteToneOgg("data/sounds/t.ogg", 1.0, c.channels, 22050);
    N_OggStream stream;
    stream.Open("data\\SOUNDS\\t.ogg");  // the file layer resolves the case
    EXPECT_EQ(stream.Format(), alGetEnumValue(c.format));
    // Every frame comes back, in pieces of whole frames of the buffers' channels.
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    int frames = 0;
    try {
      while (stream.Fill(buffer)) {
        ALint size = 0, channels = 0, bits = 0;
        alGetBufferi(buffer, AL_SIZE, &size);
        alGetBufferi(buffer, AL_CHANNELS, &channels);
        alGetBufferi(buffer, AL_BITS, &bits);
        EXPECT_LE(size, N_OggStream::kPieceSize);
        EXPECT_EQ(channels, c.outChannels);
        EXPECT_EQ(bits, 16);
        EXPECT_EQ(size % (2 * c.outChannels), 0);
        frames += size / (2 * c.outChannels);
      }
    } catch (const std::string& text) {
      ADD_FAILURE() << text;
    }
    EXPECT_EQ(frames, 22050);
    alDeleteBuffers(1, &buffer);
    stream.Release();
  }
  // More channels than any layout has are refused, and the file is closed.
  test::WriteToneOgg("data/sounds/t.ogg", 0.2, 9, 22050);
  N_OggStream stream;
  EXPECT_EQ(Thrown([&] { stream.Open("data\\sounds\\t.ogg"); }), "Could not open Ogg stream. 9 channels are more than 8.");
  EXPECT_FALSE(stream.IsOpen());
}

TEST(OggStream, ChannelCountChangingInsideTheFileIsThrown) {
  test::SoundEnv env;
  env.Start();
  // Two chained streams, mono then stereo: the stereo part would play as garbled mono.
  tools::OggSettings mono, stereo;
  mono.channels = 1;
  stereo.channels = 2;
  stereo.serial = mono.serial + 1;
  std::vector<float> samples(22050 * 2, 0.25f);
  std::vector<std::uint8_t> bytes = tools::EncodeOggVorbis(std::span(samples).first(22050), mono);
  const std::vector<std::uint8_t> second = tools::EncodeOggVorbis(samples, stereo);
  bytes.insert(bytes.end(), second.begin(), second.end());
  env.dir.Write("data/sounds/chain.ogg", std::string(bytes.begin(), bytes.end()));
  N_OggStream stream;
  stream.Open("data\\sounds\\chain.ogg");
  EXPECT_EQ(stream.Format(), AL_FORMAT_MONO16);
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  EXPECT_EQ(Thrown([&] {
              for (int i = 0; i < 20 && stream.Fill(buffer); ++i) {
              }
            }),
            "Ogg stream changes its channel count inside the file.");
  alDeleteBuffers(1, &buffer);
}

TEST(OggStream, ShortFileDoesNotStart) {
  test::SoundEnv env;
  env.Start();
  // 1.2 s of 44.1 kHz stereo is 211,680 bytes: fewer than eight pieces.
  test::WriteToneOgg("data/sounds/short.ogg", 1.2);
  N_OggStream stream;
  stream.Open("data\\sounds\\short.ogg");
  EXPECT_FALSE(stream.Start());
  EXPECT_FALSE(stream.IsPlaying());
}

TEST(OggStream, UpdateIsTrueUntilTheEnd) {
  test::SoundEnv env;
  env.Start();
  test::WriteToneOgg("data/sounds/t.ogg", 2.5);
  N_OggStream stream;
  stream.Open("data\\sounds\\t.ogg");
  ASSERT_TRUE(stream.Start());
  EXPECT_TRUE(stream.IsPlaying());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(test::WaitUntil([&] { return !stream.Update(); })) << "the stream never ended";
  // Eight pieces (1.49 s) are queued at the start; the rest is decoded as they play.
  EXPECT_GT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.7);
  EXPECT_NEAR(stream.DecodedSeconds(), 2.5, 0.01);
  stream.Release();
  EXPECT_FALSE(stream.IsOpen());
}

TEST(SoundMngMusic, RestartsAtTheEndWhileCategoryOneIsOn) {
  test::SoundEnv env;
  test::WriteToneOgg("data/sounds/t.ogg", 2.5);
  N_SoundMng& mng = env.Start();
  mng.PlayMusic("data\\sounds\\t.ogg");
  ASSERT_TRUE(mng.IsMusicPlaying());
  EXPECT_EQ(mng.GetSource(0).category, 1);
  double last = mng.MusicStream().DecodedSeconds();
  EXPECT_TRUE(test::WaitUntil([&] {
    mng.Update();
    const double now = mng.MusicStream().DecodedSeconds();
    const bool restarted = now < last;  // decoding began again from the start
    last = now;
    return restarted;
  }));
  EXPECT_TRUE(mng.IsMusicPlaying());
  EXPECT_EQ(mng.GetSource(0).category, 1);
}

TEST(SoundMngMusic, CategoryOneOffReleasesAndOnRestartsFromTheStart) {
  test::SoundEnv env;
  test::WriteToneOgg("data/sounds/t.ogg", 2.5);
  N_SoundMng& mng = env.Start();
  mng.PlayMusic("data\\sounds\\t.ogg");
  mng.PlayMusic("data\\sounds\\other.ogg");  // music still streams: nothing changes
  EXPECT_EQ(mng.MusicFileName(), "data\\sounds\\t.ogg");
  // Played past its first eight pieces (1.49 s), so that a fresh start shows.
  EXPECT_TRUE(test::WaitUntil([&] {
    mng.Update();
    return mng.MusicStream().DecodedSeconds() > 1.6;
  }));
  mng.StopMusic();
  EXPECT_FALSE(mng.MusicStream().IsOpen());
  EXPECT_EQ(mng.GetSource(0).category, 5);
  mng.Update();
  EXPECT_FALSE(mng.IsMusicPlaying());
  mng.SetCategoryEnabled(1, 1);
  mng.Update();
  EXPECT_TRUE(mng.IsMusicPlaying());
  EXPECT_LT(mng.MusicStream().DecodedSeconds(), 1.6);  // eight fresh pieces
}

TEST(SoundMngMusic, BadFilesAreLoggedOnceAndTheMusicStaysOff) {
  test::SoundEnv env;
  env.dir.Write("data/sounds/text.ogg", std::string(4096, 'x'));
  N_SoundMng& mng = env.Start();
  mng.PlayMusic("data\\sounds\\none.ogg");
  EXPECT_EQ(mng.MusicFileName(), "");
  mng.PlayMusic("data\\sounds\\text.ogg");
  for (int i = 0; i < 5; ++i) mng.Update();
  EXPECT_FALSE(mng.IsMusicPlaying());
  const std::string log = env.Log();
  EXPECT_NE(log.find("!!! Music data\\sounds\\none.ogg: Could not open Ogg file.\n"), std::string::npos) << log;
  EXPECT_NE(log.find("!!! Music data\\sounds\\text.ogg: Could not open Ogg stream. Not Vorbis data.\n"),
            std::string::npos);
  std::size_t count = 0;
  for (std::size_t at = log.find("!!!"); at != std::string::npos; at = log.find("!!!", at + 1)) ++count;
  EXPECT_EQ(count, 2u);
}

TEST(SoundMngMusicDeath, TooShortMusicIsCritical) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        test::SoundEnv env;
        test::WriteToneOgg("data/sounds/short.ogg", 1.2);
        env.Start().PlayMusic("data\\sounds\\short.ogg");
      },
      testing::ExitedWithCode(255), "Problem with Music, Check if instalation is correct.");
}

}  // namespace
