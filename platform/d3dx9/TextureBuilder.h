#pragma once
// Builds the levels of a texture from a DDS image: the size, level count and format
// asked for, each level taken from the file where it has one of that size (copied,
// or converted between formats), and made by box-filtering the level above where
// it has none (files without mips, and sizes reduced below the file's).
#include "platform/d3dx9/DdsImage.h"

#include <cstdint>
#include <vector>

namespace platform {

struct TextureShape {
  std::uint32_t width = 1, height = 1, depth = 1;
  std::uint32_t levels = 1;
  PixelFormat format = PixelFormat::Unknown;
};

/// The size of a level of the shape.
TextureShape LevelShape(const TextureShape& top, std::uint32_t level);

/// The bytes of every level of one face (rows tightly packed, slices one after the
/// other), in the shape's format. The shape's levels must not exceed a full chain.
std::vector<std::vector<std::uint8_t>> BuildFaceLevels(const DdsImage& image, std::uint32_t face,
                                                       const TextureShape& shape);

}  // namespace platform
