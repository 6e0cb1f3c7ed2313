#pragma once
// Builds the levels of a texture from a DDS image: the size, level count and format
// asked for, each level taken from the file where it has one of that size (the file's
// own bytes, or converted between formats), and made by box-filtering the level above
// where it has none (files without mips, and sizes reduced below the file's). Levels
// are handed over one at a time, largest first; only the level above is kept (in
// RGBA, when the next is made from it).
#include "platform/d3dx9/DdsImage.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace platform {

struct TextureShape {
  std::uint32_t width = 1, height = 1, depth = 1;
  std::uint32_t levels = 1;
  PixelFormat format = PixelFormat::Unknown;
};

/// The size of a level of the shape.
TextureShape LevelShape(const TextureShape& top, std::uint32_t level);

/// Hands `take` the bytes of every level of one face in turn (rows tightly packed,
/// slices one after the other), in the shape's format; the bytes are valid during the
/// call only. Stops early when `take` returns false. The shape's levels must not
/// exceed a full chain.
using LevelSink = std::function<bool(std::uint32_t level, std::span<const std::uint8_t> bytes)>;
void ForEachFaceLevel(const DdsImage& image, std::uint32_t face, const TextureShape& shape, const LevelSink& take);

/// Every level of one face at once (copies of what ForEachFaceLevel hands over).
std::vector<std::vector<std::uint8_t>> BuildFaceLevels(const DdsImage& image, std::uint32_t face,
                                                       const TextureShape& shape);

}  // namespace platform
