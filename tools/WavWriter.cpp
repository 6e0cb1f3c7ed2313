#include "tools/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace tools {

namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
}

void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples, int channels, int rate) {
  const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
  const auto blockAlign = static_cast<std::uint16_t>(channels * 2);
  std::vector<std::uint8_t> out;
  out.reserve(kWavHeaderSize + dataSize);
  PutTag(out, "RIFF");
  PutU32(out, 36 + dataSize);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);  // fmt chunk size
  PutU16(out, 1);   // PCM
  PutU16(out, static_cast<std::uint16_t>(channels));
  PutU32(out, static_cast<std::uint32_t>(rate));
  PutU32(out, static_cast<std::uint32_t>(rate) * blockAlign);  // bytes per second
  PutU16(out, blockAlign);
  PutU16(out, 16);  // bits per sample
  PutTag(out, "data");
  PutU32(out, dataSize);
  for (const std::int16_t s : samples) PutU16(out, static_cast<std::uint16_t>(s));
  return out;
}

bool WriteWav(const std::string& path, std::span<const std::int16_t> samples, int channels, int rate) {
  return WriteBytes(path, EncodeWav(samples, channels, rate));
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::error_code ec;
  const std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::vector<std::int16_t> ToPcm16(std::span<const float> samples) {
  std::vector<std::int16_t> out(samples.size());
  std::transform(samples.begin(), samples.end(), out.begin(), [](float s) {
    const float clipped = std::clamp(s, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lround(clipped * 32767.0f));
  });
  return out;
}

}  // namespace tools
