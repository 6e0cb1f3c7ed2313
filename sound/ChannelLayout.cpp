#include "sound/ChannelLayout.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace {

enum class Speaker : std::uint8_t {
  FrontLeft, FrontRight, Centre, Lfe, RearLeft, RearRight, SideLeft, SideRight, RearCentre
};
using enum Speaker;

using Speakers = std::span<const Speaker>;

/// Vorbis's channel order for 1..8 channels (index: count - 1).
constexpr Speaker kVorbis1[] = {Centre};
constexpr Speaker kVorbis2[] = {FrontLeft, FrontRight};
constexpr Speaker kVorbis3[] = {FrontLeft, Centre, FrontRight};
constexpr Speaker kVorbis4[] = {FrontLeft, FrontRight, RearLeft, RearRight};
constexpr Speaker kVorbis5[] = {FrontLeft, Centre, FrontRight, RearLeft, RearRight};
constexpr Speaker kVorbis6[] = {FrontLeft, Centre, FrontRight, RearLeft, RearRight, Lfe};
constexpr Speaker kVorbis7[] = {FrontLeft, Centre, FrontRight, SideLeft, SideRight, RearCentre, Lfe};
constexpr Speaker kVorbis8[] = {FrontLeft, Centre, FrontRight, SideLeft, SideRight, RearLeft, RearRight, Lfe};
constexpr Speakers kVorbisOrder[] = {kVorbis1, kVorbis2, kVorbis3, kVorbis4,
                                      kVorbis5, kVorbis6, kVorbis7, kVorbis8};

/// OpenAL's multichannel formats and their channel order (5.1's surround pair is
/// the Vorbis rear pair).
constexpr Speaker kQuad[] = {FrontLeft, FrontRight, RearLeft, RearRight};
constexpr Speaker k51[] = {FrontLeft, FrontRight, Centre, Lfe, RearLeft, RearRight};
constexpr Speaker k61[] = {FrontLeft, FrontRight, Centre, Lfe, RearCentre, SideLeft, SideRight};
constexpr Speaker k71[] = {FrontLeft, FrontRight, Centre, Lfe, RearLeft, RearRight, SideLeft, SideRight};
struct Multichannel {
  const char* name;
  Speakers order;
};
constexpr Multichannel kMultichannel[] = {
    {"AL_FORMAT_QUAD16", kQuad},
    {"AL_FORMAT_51CHN16", k51},
    {"AL_FORMAT_61CHN16", k61},
    {"AL_FORMAT_71CHN16", k71},
};

/// A speaker's share of the left and right outputs of a stereo mix-down; the
/// low-frequency channel is left out, as stereo speakers cannot carry it.
struct StereoShare {
  float left;
  float right;
};
StereoShare ShareOf(Speaker speaker) {
  constexpr float kHalfPower = 0.70710678f;
  switch (speaker) {
    case FrontLeft: return {1.0f, 0.0f};
    case FrontRight: return {0.0f, 1.0f};
    case Centre: return {kHalfPower, kHalfPower};
    case Lfe: return {0.0f, 0.0f};
    case RearLeft:
    case SideLeft: return {kHalfPower, 0.0f};
    case RearRight:
    case SideRight: return {0.0f, kHalfPower};
    case RearCentre: return {0.5f, 0.5f};
  }
  return {0.0f, 0.0f};
}

std::int16_t ToSample(float value) {
  return static_cast<std::int16_t>(std::lround(std::clamp(value, -32768.0f, 32767.0f)));
}

}  // namespace

std::optional<ChannelLayout> ChannelLayout::Choose(int channels, bool multichannel) {
  if (channels < 1 || channels > kMaxChannels) return std::nullopt;
  ChannelLayout layout;
  layout.m_channels = channels;
  const Speakers from = kVorbisOrder[channels - 1];
  for (int i = 0; i < channels; ++i) layout.m_from[i] = static_cast<std::uint8_t>(i);
  if (channels <= 2) {
    layout.m_outChannels = channels;
    layout.m_formatName = channels == 1 ? "AL_FORMAT_MONO16" : "AL_FORMAT_STEREO16";
    return layout;
  }
  for (const Multichannel& format : kMultichannel) {
    if (!multichannel || format.order.size() != from.size()) continue;
    layout.m_outChannels = channels;
    layout.m_formatName = format.name;
    for (int i = 0; i < channels; ++i) {
      const auto at = std::find(from.begin(), from.end(), format.order[i]);
      layout.m_from[i] = static_cast<std::uint8_t>(at - from.begin());
    }
    return layout;
  }
  layout.m_outChannels = 2;
  layout.m_formatName = "AL_FORMAT_STEREO16";
  layout.m_mixDown = true;
  float leftSum = 0.0f, rightSum = 0.0f;
  for (int i = 0; i < channels; ++i) {
    const StereoShare share = ShareOf(from[i]);
    layout.m_left[i] = share.left;
    layout.m_right[i] = share.right;
    leftSum += share.left;
    rightSum += share.right;
  }
  for (int i = 0; i < channels; ++i) {
    layout.m_left[i] /= leftSum;
    layout.m_right[i] /= rightSum;
  }
  return layout;
}

std::size_t ChannelLayout::Convert(std::int16_t* samples, std::size_t frames) const {
  const auto in = static_cast<std::size_t>(m_channels);
  const auto out = static_cast<std::size_t>(m_outChannels);
  if (m_channels <= 2) return frames * in;
  for (std::size_t f = 0; f < frames; ++f) {
    // Output frame f never lies past input frame f: read the frame whole, then write.
    std::array<std::int16_t, kMaxChannels> frame{};
    std::copy_n(samples + f * in, in, frame.begin());
    std::int16_t* to = samples + f * out;
    if (m_mixDown) {
      float left = 0.0f, right = 0.0f;
      for (std::size_t c = 0; c < in; ++c) {
        left += m_left[c] * frame[c];
        right += m_right[c] * frame[c];
      }
      to[0] = ToSample(left);
      to[1] = ToSample(right);
    } else {
      for (std::size_t c = 0; c < out; ++c) to[c] = frame[m_from[c]];
    }
  }
  return frames * out;
}
