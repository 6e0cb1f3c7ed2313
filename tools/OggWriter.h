#pragma once
// Writer of Ogg Vorbis files (libvorbisenc). With a fixed stream serial number the
// same samples give the same bytes on every build.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tools {

struct OggSettings {
  int channels = 2;
  int rate = 44100;
  float quality = 0.1f;           ///< vorbis VBR quality, -0.1 .. 1.0
  std::int32_t serial = 0x4E41564F;  ///< the Ogg logical stream serial number
};

/// The bytes of an Ogg Vorbis file of the interleaved samples (-1..1); empty when the
/// encoder refuses the settings.
std::vector<std::uint8_t> EncodeOggVorbis(std::span<const float> samples, const OggSettings& settings);
/// Encodes and writes the file, creating its folders; false on failure.
bool WriteOggVorbis(const std::string& path, std::span<const float> samples, const OggSettings& settings);

}  // namespace tools
