#pragma once
// Writer of DDS files for the sample data: the header the game's reader expects and
// the pixel data of every face and level, encoded from RGBA pictures (DXT1-DXT5
// through the layer's encoder, or an uncompressed format), with the mip levels made
// by halving the picture.
#include "platform/d3dx9/DdsImage.h"
#include "platform/d3dx9/ImageOps.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

/// The 128 header bytes of a DDS file.
std::vector<std::uint8_t> DdsHeader(platform::ImageKind kind, platform::PixelFormat format, std::uint32_t width,
                                    std::uint32_t height, std::uint32_t depth, std::uint32_t levels);

/// A two-dimensional texture: `levels` levels (0 for a full chain) from the picture.
std::vector<std::uint8_t> MakeDds(platform::PixelFormat format, const platform::RgbaImage& picture,
                                  std::uint32_t levels = 0);
/// A cube texture from six square faces in the order +X -X +Y -Y +Z -Z.
std::vector<std::uint8_t> MakeCubeDds(platform::PixelFormat format, const std::array<platform::RgbaImage, 6>& faces,
                                      std::uint32_t levels = 0);
/// A volume texture from a picture with depth slices.
std::vector<std::uint8_t> MakeVolumeDds(platform::PixelFormat format, const platform::RgbaImage& volume,
                                        std::uint32_t levels = 0);

/// Writes the bytes to a file on the disk (folders are created); false on failure.
bool WriteBinaryFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace tools
