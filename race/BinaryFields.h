#pragma once
// Little-endian fields of the race's binary files (career rosters, recorded runs),
// appended to and read from byte strings one field at a time.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

static_assert(std::endian::native == std::endian::little, "the files are little-endian");

namespace binaryfield {

inline void PutF32(std::string& out, float value) {
  char bytes[4];
  std::memcpy(bytes, &value, 4);
  out.append(bytes, 4);
}

inline void PutI8(std::string& out, std::int8_t value) { out.push_back(static_cast<char>(value)); }

/// Reads the float at bytes (4 readable bytes).
inline float GetF32(const char* bytes) {
  float value;
  std::memcpy(&value, bytes, 4);
  return value;
}

}  // namespace binaryfield
