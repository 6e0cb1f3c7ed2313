#pragma once
// Inside the layer: the BMP writer of the screenshots. 24 bits per pixel, rows stored
// bottom-up and padded to four bytes, the two headers written field by field.
#include "platform/d3dx9/PixelFormat.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

constexpr std::uint32_t kBmpFileHeaderBytes = 14;
constexpr std::uint32_t kBmpInfoHeaderBytes = 40;

/// The bytes of a BMP file of width x height pixels given top row first.
std::vector<std::uint8_t> EncodeBmp(std::uint32_t width, std::uint32_t height, std::span<const Rgba8> pixels);

}  // namespace platform
