#pragma once
// Writer of RIFF WAVE files with 16-bit PCM samples, the format the game's wav loader
// reads. Little-endian, field by field.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tools {

constexpr std::size_t kWavHeaderSize = 44;  ///< "RIFF" + "fmt " (16 bytes) + "data" chunk heads

/// The bytes of a WAV file holding the interleaved samples.
std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples, int channels, int rate);
/// Writes the file, creating its folders; false when it cannot be written.
bool WriteWav(const std::string& path, std::span<const std::int16_t> samples, int channels, int rate);

/// Writes bytes to a path of the game root, creating its folders; false on failure.
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

/// Floating samples (-1..1, clipped) as 16-bit PCM.
std::vector<std::int16_t> ToPcm16(std::span<const float> samples);

}  // namespace tools
