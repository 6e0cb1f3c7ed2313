#pragma once
// Little-endian field-by-field output for the binary sample formats.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace datagen {

class ByteWriter {
 public:
  void U8(std::uint8_t v) { m_bytes.push_back(v); }
  void U16(std::uint16_t v) { U8(static_cast<std::uint8_t>(v)), U8(static_cast<std::uint8_t>(v >> 8)); }
  void U32(std::uint32_t v) { U16(static_cast<std::uint16_t>(v)), U16(static_cast<std::uint16_t>(v >> 16)); }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void F32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    U32(bits);
  }
  void Zeros(std::size_t n) { m_bytes.insert(m_bytes.end(), n, 0); }
  /// The text, then zeros up to size bytes (cut to size - 1 so a NUL always ends it).
  void FixedText(std::string_view text, std::size_t size) {
    const std::size_t n = text.size() < size ? text.size() : size - 1;
    m_bytes.insert(m_bytes.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
    Zeros(size - n);
  }

  std::size_t Size() const { return m_bytes.size(); }
  const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
  std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

 private:
  std::vector<std::uint8_t> m_bytes;
};

}  // namespace datagen
