#include "tools/WavWriter.h"

#include "tools/ByteWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace tools {

namespace {

void PutTag(datagen::ByteWriter& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.U8(static_cast<std::uint8_t>(tag[i]));
}

}  // namespace

std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples, int channels, int rate) {
  const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
  const auto blockAlign = static_cast<std::uint16_t>(channels * 2);
  datagen::ByteWriter out;
  PutTag(out, "RIFF");
  out.U32(36 + dataSize);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  out.U32(16);  // fmt chunk size
  out.U16(1);   // PCM
  out.U16(static_cast<std::uint16_t>(channels));
  out.U32(static_cast<std::uint32_t>(rate));
  out.U32(static_cast<std::uint32_t>(rate) * blockAlign);  // bytes per second
  out.U16(blockAlign);
  out.U16(16);  // bits per sample
  PutTag(out, "data");
  out.U32(dataSize);
  for (const std::int16_t s : samples) out.U16(static_cast<std::uint16_t>(s));
  return out.Take();
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
