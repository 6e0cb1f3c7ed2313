#pragma once
// How the decoded music reaches OpenAL. Vorbis files hold 1 to 8 channels (more are
// refused), interleaved in Vorbis's speaker order; OpenAL takes mono, stereo and, with
// AL_EXT_MCFORMATS, quad, 5.1, 6.1 and 7.1 in an order of its own. A layout keeps mono
// and stereo as they are, reorders 4, 6, 7 and 8 channels into the multichannel format
// of the same speakers, and mixes 3 and 5 channels (and every count over 2 when the
// device has no multichannel formats) down to stereo.
//
// The music stream chooses one when it opens a file and converts every decoded piece.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

class ChannelLayout {
 public:
  static constexpr int kMaxChannels = 8;

  /// The layout of a file of `channels` channels; nullopt outside 1..kMaxChannels.
  /// `multichannel`: the device has OpenAL's quad, 5.1, 6.1 and 7.1 formats.
  static std::optional<ChannelLayout> Choose(int channels, bool multichannel);

  /// Channels of the file.
  int Channels() const { return m_channels; }
  /// Channels of the data handed to OpenAL: 1, 2, 4, 6, 7 or 8.
  int OutChannels() const { return m_outChannels; }
  /// Name of the 16-bit OpenAL format ("AL_FORMAT_STEREO16", "AL_FORMAT_51CHN16", ...),
  /// for alGetEnumValue.
  const char* FormatName() const { return m_formatName; }
  bool MixesDown() const { return m_mixDown; }

  /// Converts `frames` interleaved 16-bit frames of Channels() channels in Vorbis order,
  /// in place, into OutChannels() channels in OpenAL's order. Returns the samples
  /// written (frames * OutChannels()).
  std::size_t Convert(std::int16_t* samples, std::size_t frames) const;

 private:
  ChannelLayout() = default;

  int m_channels = 1;
  int m_outChannels = 1;
  const char* m_formatName = "AL_FORMAT_MONO16";
  bool m_mixDown = false;
  /// Reordering: output channel i takes input channel m_from[i].
  std::array<std::uint8_t, kMaxChannels> m_from{};
  /// Mixing down: the weight of each input channel in the left and right outputs,
  /// scaled so that full scale on every channel gives full scale, never more.
  std::array<float, kMaxChannels> m_left{};
  std::array<float, kMaxChannels> m_right{};
};
