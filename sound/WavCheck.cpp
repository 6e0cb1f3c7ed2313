#include "sound/WavCheck.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t kRiffHeaderBytes = 12;  // "RIFF", length, "WAVE"
constexpr std::size_t kChunkHeaderBytes = 8;  // id, length
constexpr std::uint32_t kFormatBytes = 16;    // the PCM format record freealut reads

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

bool IsWholeWavFile(std::string_view bytes) {
  if (bytes.size() < kRiffHeaderBytes || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
    return false;
  }
  // The chunks in the order freealut walks them: it stops at "data".
  bool format = false;
  std::size_t at = kRiffHeaderBytes;
  while (bytes.size() - at >= kChunkHeaderBytes) {
    const std::string_view id = bytes.substr(at, 4);
    const std::uint32_t length = ReadU32(bytes, at + 4);
    at += kChunkHeaderBytes;
    if (length > bytes.size() - at) return false;
    if (id == "data") return format;
    if (id == "fmt ") {
      if (length < kFormatBytes) return false;
      format = true;
    }
    at += length;
    if ((length & 1) != 0 && at < bytes.size()) ++at;  // the pad byte after an odd chunk
  }
  return false;  // no "data" chunk
}
