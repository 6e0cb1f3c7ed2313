#pragma once
// Reader of DDS files: a 4-byte magic "DDS ", a 124-byte header, then the pixel data
// of every face and level. Two-dimensional, cube (all six faces) and volume textures
// in DXT1-DXT5 and the uncompressed formats of PixelFormat are read; everything
// else, and every file whose header does not agree with its length, is refused
// with a reason instead of being read past its end.
#include "platform/d3dx9/PixelFormat.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

enum class ImageKind : std::uint32_t { Texture2D, Cube, Volume };

/// Largest side accepted: anything beyond is a damaged header, not a texture.
constexpr std::uint32_t kMaxDdsSide = 16384;
/// Largest depth of a volume texture accepted.
constexpr std::uint32_t kMaxDdsDepth = 2048;
/// Bytes before the pixel data.
constexpr std::uint32_t kDdsHeaderBytes = 128;

/// Header flag and caps bits the reader and the writer share.
namespace dds {
constexpr std::uint32_t kFlagCaps = 0x1, kFlagHeight = 0x2, kFlagWidth = 0x4, kFlagPitch = 0x8;
constexpr std::uint32_t kFlagPixelFormat = 0x1000, kFlagMipCount = 0x20000, kFlagLinearSize = 0x80000;
constexpr std::uint32_t kFlagDepth = 0x800000;
constexpr std::uint32_t kPfAlphaPixels = 0x1, kPfAlpha = 0x2, kPfFourCc = 0x4, kPfRgb = 0x40, kPfLuminance = 0x20000;
constexpr std::uint32_t kCapsComplex = 0x8, kCapsTexture = 0x1000, kCapsMipmap = 0x400000;
constexpr std::uint32_t kCaps2Cube = 0x200, kCaps2AllFaces = 0xFC00, kCaps2Volume = 0x200000;
}  // namespace dds

/// One level of one face: its size and where its bytes lie in the file.
struct DdsSurface {
  std::uint32_t width = 0, height = 0, depth = 1;
  std::size_t offset = 0;  ///< from the start of the file
  std::size_t bytes = 0;   ///< all depth slices of a volume level together
};

/// A parsed DDS file; owns the file's bytes (as read, without a copy).
struct DdsImage {
  ImageKind kind = ImageKind::Texture2D;
  PixelFormat format = PixelFormat::Unknown;
  std::uint32_t width = 0, height = 0, depth = 1;
  std::uint32_t levels = 1;
  std::string file;
  std::vector<DdsSurface> surfaces;  ///< face * levels + level (faces +X -X +Y -Y +Z -Z)

  std::uint32_t Faces() const { return kind == ImageKind::Cube ? 6 : 1; }
  const DdsSurface& Surface(std::uint32_t face, std::uint32_t level) const {
    return surfaces[std::size_t{face} * levels + level];
  }
  std::span<const std::uint8_t> Bytes(std::uint32_t face, std::uint32_t level) const {
    const DdsSurface& s = Surface(face, level);
    return {reinterpret_cast<const std::uint8_t*>(file.data()) + s.offset, s.bytes};
  }
};

/// Parses a whole file. On a refusal returns nothing and puts the reason into `error`.
std::optional<DdsImage> ParseDds(std::string file, std::string& error);
std::optional<DdsImage> ParseDds(const std::vector<std::uint8_t>& file, std::string& error);

/// The number of levels of a full chain down to 1 x 1 (x 1) from the given size.
std::uint32_t FullMipCount(std::uint32_t width, std::uint32_t height, std::uint32_t depth = 1);

}  // namespace platform
