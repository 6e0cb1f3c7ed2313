#pragma once
// Writes DDS textures: the 4-byte magic "DDS ", the 124-byte header, then every mip
// level, largest first, rows top-down without padding. Uncompressed formats here;
// each format is one row of a table (pixel-format flags, bit count, masks, packing),
// so compressed ones add rows and a block encoder.
#include "tools/Image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

/// Direct3D names: the components from the high bits down; packed little-endian.
enum class DdsFormat { A8R8G8B8, X8R8G8B8, R8G8B8, R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4, A8, L8, A8L8 };

struct DdsOptions {
  DdsFormat format = DdsFormat::A8R8G8B8;
  /// Writes the whole chain down to 1 x 1 (box-filtered), else the top level only.
  bool mipmaps = false;
};

// Header values (documented DDS constants).
constexpr std::uint32_t kDdsMagic = 0x20534444;  // "DDS "
constexpr std::uint32_t kDdsHeaderSize = 124;
constexpr std::uint32_t kDdsPixelFormatSize = 32;
constexpr std::uint32_t DDSD_CAPS = 0x1, DDSD_HEIGHT = 0x2, DDSD_WIDTH = 0x4, DDSD_PITCH = 0x8,
                        DDSD_PIXELFORMAT = 0x1000, DDSD_MIPMAPCOUNT = 0x20000, DDSD_LINEARSIZE = 0x80000;
constexpr std::uint32_t DDPF_ALPHAPIXELS = 0x1, DDPF_ALPHA = 0x2, DDPF_FOURCC = 0x4, DDPF_RGB = 0x40,
                        DDPF_LUMINANCE = 0x20000;
constexpr std::uint32_t DDSCAPS_COMPLEX = 0x8, DDSCAPS_TEXTURE = 0x1000, DDSCAPS_MIPMAP = 0x400000;

/// The whole file in memory. The image must be at least 1 x 1.
std::vector<std::uint8_t> EncodeDds(const RgbaImage& image, const DdsOptions& options);

/// Bytes per texel of an uncompressed format.
int DdsBytesPerPixel(DdsFormat format);

}  // namespace datagen
