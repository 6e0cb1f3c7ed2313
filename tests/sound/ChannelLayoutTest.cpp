// Channel layouts of the music: Vorbis's speaker order into OpenAL's, and the stereo
// mix-down for counts OpenAL has no format for.
#include "sound/ChannelLayout.h"
#include "tests/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// OpenAL's multichannel formats and their order, in the speaker names of
// test::VorbisSpeakers; OpenAL's 5.1 surround pair takes Vorbis's rear pair.
std::vector<std::string> OpenAlOrder(int channels) {
  switch (channels) {
    case 4: return {"fl", "fr", "rl", "rr"};
    case 6: return {"fl", "fr", "c", "lfe", "rl", "rr"};
    case 7: return {"fl", "fr", "c", "lfe", "rc", "sl", "sr"};
    case 8: return {"fl", "fr", "c", "lfe", "rl", "rr", "sl", "sr"};
    default: return {};
  }
}

/// One frame per entry of `frames`, each a value per Vorbis channel, converted.
std::vector<std::int16_t> Convert(const ChannelLayout& layout, const std::vector<std::vector<std::int16_t>>& frames) {
  std::vector<std::int16_t> samples;
  for (const auto& frame : frames) samples.insert(samples.end(), frame.begin(), frame.end());
  const std::size_t written = layout.Convert(samples.data(), frames.size());
  EXPECT_EQ(written, frames.size() * static_cast<std::size_t>(layout.OutChannels()));
  samples.resize(written);
  return samples;
}

TEST(ChannelLayout, MultichannelFormatsPutEachSpeakerInOpenAlsPlace) {
  for (int channels = 1; channels <= 8; ++channels) {
    SCOPED_TRACE(channels);
    const std::vector<std::string> to = OpenAlOrder(channels);
    const ChannelLayout layout = *ChannelLayout::Choose(channels, true);
    EXPECT_EQ(layout.Channels(), channels);
    if (channels <= 2 || to.empty()) {
      // Mono and stereo as they are; 3 and 5 channels have no OpenAL format.
      EXPECT_EQ(layout.MixesDown(), channels > 2);
      EXPECT_EQ(layout.OutChannels(), channels > 2 ? 2 : channels);
      continue;
    }
    EXPECT_FALSE(layout.MixesDown());
    EXPECT_EQ(layout.OutChannels(), channels);
    std::vector<std::int16_t> frame;
    for (int c = 0; c < channels; ++c) frame.push_back(static_cast<std::int16_t>(1000 * (c + 1)));
    const std::vector<std::int16_t> out = Convert(layout, {frame, frame});
    for (int slot = 0; slot < channels; ++slot) {
      const auto& from = test::VorbisSpeakers(channels);
      const int source = static_cast<int>(std::find(from.begin(), from.end(), to[slot]) - from.begin());
      EXPECT_EQ(out[slot], frame[source]) << to[slot];
      EXPECT_EQ(out[channels + slot], frame[source]) << to[slot] << " of the second frame";
    }
    // Without the device's multichannel formats the same file is mixed down.
    EXPECT_TRUE(ChannelLayout::Choose(channels, false)->MixesDown());
  }
  EXPECT_FALSE(ChannelLayout::Choose(0, true));
  EXPECT_FALSE(ChannelLayout::Choose(9, true));
}

TEST(ChannelLayout, MixDownKeepsSidesApartDropsLfeAndNeverClips) {
  for (int channels = 3; channels <= 8; ++channels) {
    SCOPED_TRACE(channels);
    const ChannelLayout layout = *ChannelLayout::Choose(channels, false);
    ASSERT_TRUE(layout.MixesDown());
    ASSERT_EQ(layout.OutChannels(), 2);
    const auto& speakers = test::VorbisSpeakers(channels);
    std::vector<std::int16_t> full(channels, 32767), low(channels, -32768), silent(channels, 0);
    std::vector<std::int16_t> left(channels, 0), right(channels, 0), centre(channels, 0), lfe(channels, 0);
    for (int c = 0; c < channels; ++c) {
      const std::string& s = speakers[c];
      if (s == "fl" || s == "rl" || s == "sl") left[c] = 12000;
      if (s == "fr" || s == "rr" || s == "sr") right[c] = 12000;
      if (s == "c") centre[c] = 12000;
      if (s == "lfe") lfe[c] = 30000;
    }
    const std::vector<std::int16_t> out = Convert(layout, {full, low, left, right, centre, lfe, silent});
    // Full scale on every speaker is full scale, not a wrapped sample.
    EXPECT_NEAR(out[0], 32767, 1);
    EXPECT_NEAR(out[1], 32767, 1);
    EXPECT_NEAR(out[2], -32768, 1);
    EXPECT_NEAR(out[3], -32768, 1);
    // Left speakers reach only the left output, right ones only the right.
    EXPECT_GT(out[4], 3000);
    EXPECT_EQ(out[5], 0);
    EXPECT_EQ(out[6], 0);
    EXPECT_GT(out[7], 3000);
    EXPECT_EQ(out[8], out[9]);  // the centre in the middle
    EXPECT_EQ(out[8] > 1000, std::find(speakers.begin(), speakers.end(), "c") != speakers.end());
    EXPECT_EQ(out[10], 0);  // no low-frequency channel on stereo speakers
    EXPECT_EQ(out[11], 0);
    EXPECT_EQ(out[12], 0);
    EXPECT_EQ(out[13], 0);
  }
}

}  // namespace
