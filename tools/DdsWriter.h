#pragma once
// Writes DDS textures: the 4-byte magic "DDS ", the 124-byte header, then every face
// (cube textures: +X -X +Y -Y +Z -Z) with every mip level, largest first, rows
// top-down without padding; a volume level holds its slices one after the other.
// Uncompressed formats are one row of a table (pixel-format flags, bit count, masks,
// packing); DXT1-DXT5 are encoded in 4x4 blocks by the texture layer's encoder.
#include "tools/Image.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

/// Direct3D names: the components from the high bits down; packed little-endian.
enum class DdsFormat {
  A8R8G8B8, X8R8G8B8, R8G8B8, R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4, X4R4G4B4, A8, L8, A8L8,
  Dxt1, Dxt2, Dxt3, Dxt4, Dxt5,
};

struct DdsOptions {
  DdsFormat format = DdsFormat::A8R8G8B8;
  /// Writes a mip chain (box-filtered), else the top level only.
  bool mipmaps = false;
  /// With mipmaps: the number of levels, 0 for the whole chain down to 1 x 1.
  int levels = 0;
};

// Header values (documented DDS constants).
constexpr std::uint32_t kDdsMagic = 0x20534444;  // "DDS "
constexpr std::uint32_t kDdsHeaderSize = 124;
constexpr std::uint32_t kDdsPixelFormatSize = 32;
constexpr std::uint32_t DDSD_CAPS = 0x1, DDSD_HEIGHT = 0x2, DDSD_WIDTH = 0x4, DDSD_PITCH = 0x8,
                        DDSD_PIXELFORMAT = 0x1000, DDSD_MIPMAPCOUNT = 0x20000, DDSD_LINEARSIZE = 0x80000,
                        DDSD_DEPTH = 0x800000;
constexpr std::uint32_t DDPF_ALPHAPIXELS = 0x1, DDPF_ALPHA = 0x2, DDPF_FOURCC = 0x4, DDPF_RGB = 0x40,
                        DDPF_LUMINANCE = 0x20000;
constexpr std::uint32_t DDSCAPS_COMPLEX = 0x8, DDSCAPS_TEXTURE = 0x1000, DDSCAPS_MIPMAP = 0x400000;
constexpr std::uint32_t DDSCAPS2_CUBEMAP = 0x200, DDSCAPS2_CUBEMAP_ALLFACES = 0xFC00, DDSCAPS2_VOLUME = 0x200000;

/// The whole file in memory. The image must be at least 1 x 1.
std::vector<std::uint8_t> EncodeDds(const RgbaImage& image, const DdsOptions& options);
/// A cube texture from six square faces of one size, in the order +X -X +Y -Y +Z -Z.
std::vector<std::uint8_t> EncodeCubeDds(const std::array<RgbaImage, 6>& faces, const DdsOptions& options);
/// A volume texture from its slices (front first), all of one size; mip levels halve
/// the depth too.
std::vector<std::uint8_t> EncodeVolumeDds(const std::vector<RgbaImage>& slices, const DdsOptions& options);

/// Bytes per texel of an uncompressed format (0 for DXT).
int DdsBytesPerPixel(DdsFormat format);
/// True for DXT1-DXT5.
bool IsDxtFormat(DdsFormat format);

}  // namespace datagen
