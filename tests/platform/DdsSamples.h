#pragma once
// DDS files for the texture-layer tests, written by the datagen DDS writer from the
// layer's own RGBA pictures.
#include "platform/d3dx9/ImageOps.h"

#include <array>
#include <cstdint>
#include <vector>

namespace test {

/// A two-dimensional texture with `levels` levels (0: the whole chain; 1: one level,
/// written without a mip count).
std::vector<std::uint8_t> MakeDds(platform::PixelFormat format, const platform::RgbaImage& picture, int levels = 0);
/// A cube texture from six faces (+X -X +Y -Y +Z -Z).
std::vector<std::uint8_t> MakeCubeDds(platform::PixelFormat format, const std::array<platform::RgbaImage, 6>& faces,
                                      int levels = 0);
/// A volume texture from a picture with depth slices.
std::vector<std::uint8_t> MakeVolumeDds(platform::PixelFormat format, const platform::RgbaImage& volume,
                                        int levels = 0);

}  // namespace test
