#pragma once
// Pixel work of the texture loader: a level of any supported format to 8-bit RGBA
// and back, area-average resampling (for picmip-reduced sizes), and the box-filtered
// halving that makes mip chains of two-dimensional and volume images. Resampling works
// on the 8-bit channels with integer weights, a few rows at a time: a 16384 x 16384
// level needs no buffer beyond its input and its output.
#include "platform/d3dx9/PixelFormat.h"

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

/// A level in RGBA: width x height x depth pixels, slice by slice, row by row.
struct RgbaImage {
  std::uint32_t width = 0, height = 0, depth = 1;
  std::vector<Rgba8> pixels;
};

/// Decodes the bytes of one level (all its slices) of the format.
RgbaImage DecodeLevel(PixelFormat format, std::span<const std::uint8_t> bytes, std::uint32_t width,
                      std::uint32_t height, std::uint32_t depth = 1);

/// Encodes one level (all its slices) into the format, rows tightly packed.
std::vector<std::uint8_t> EncodeLevel(PixelFormat format, const RgbaImage& image);

/// Resamples to a new size: every target pixel is the area-weighted mean of the
/// source pixels it covers (a 2 x 2 box when halving).
RgbaImage Resample(const RgbaImage& image, std::uint32_t width, std::uint32_t height, std::uint32_t depth = 1);

/// The next level of a mip chain: every side halved, never below 1.
RgbaImage NextMipLevel(const RgbaImage& image);

/// Converts one level from one format to another through RGBA; a copy when equal.
std::vector<std::uint8_t> ConvertLevel(PixelFormat from, std::span<const std::uint8_t> bytes, PixelFormat to,
                                       std::uint32_t width, std::uint32_t height, std::uint32_t depth = 1);

}  // namespace platform
