#pragma once
// Float colour components (0..1) as the bytes of a packed A, R, G, B colour: each is
// trunc(value x 255) with its low 8 bits kept (out-of-range values wrap as they would
// in the byte; huge ones saturate before they are cut).
#include "core/Convert.h"

#include <cstdint>

inline std::uint32_t ColorByte(float component) {
  return static_cast<std::uint32_t>(SaturatingTruncate(static_cast<double>(component * 255.0f))) & 0xFFu;
}

inline std::uint32_t PackArgb(std::uint32_t alphaByte, float r, float g, float b) {
  return ((alphaByte & 0xFFu) << 24) | (ColorByte(r) << 16) | (ColorByte(g) << 8) | ColorByte(b);
}
