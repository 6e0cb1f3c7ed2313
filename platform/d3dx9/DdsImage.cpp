#include "platform/d3dx9/DdsImage.h"

#include <algorithm>
#include <cstdio>

namespace platform {
namespace {

std::uint32_t Load32(const std::string& f, std::size_t at) {
  auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(f[at + i])); };
  return byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
}

/// Header fields, at their offsets from the start of the file.
struct Header {
  std::uint32_t size, flags, height, width, depth, mipCount;
  std::uint32_t pfSize, pfFlags, fourCc, bitCount, rMask, gMask, bMask, aMask;
  std::uint32_t caps, caps2;
};

Header ReadHeader(const std::string& f) {
  return {Load32(f, 4),  Load32(f, 8),   Load32(f, 12),  Load32(f, 16),  Load32(f, 24),  Load32(f, 28),
          Load32(f, 76), Load32(f, 80),  Load32(f, 84),  Load32(f, 88),  Load32(f, 92),  Load32(f, 96),
          Load32(f, 100), Load32(f, 104), Load32(f, 108), Load32(f, 112)};
}

std::string FourCcText(std::uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) {
    const char c = static_cast<char>((v >> (8 * i)) & 0xFF);
    s += (c >= 32 && c < 127) ? c : '?';
  }
  return s;
}

/// The format the pixel-format block describes; Unknown with a reason when none.
PixelFormat FormatOf(const Header& h, std::string& error) {
  if (h.pfFlags & dds::kPfFourCc) {
    for (PixelFormat f : {PixelFormat::Dxt1, PixelFormat::Dxt2, PixelFormat::Dxt3, PixelFormat::Dxt4,
                          PixelFormat::Dxt5}) {
      if (h.fourCc == static_cast<std::uint32_t>(f)) return f;
    }
    error = "unsupported compressed format '" + FourCcText(h.fourCc) + "'";
    return PixelFormat::Unknown;
  }
  const bool alpha = (h.pfFlags & dds::kPfAlphaPixels) != 0;
  struct Layout {
    std::uint32_t flag, bits, r, g, b, a;
    PixelFormat plain, withAlpha;  ///< without / with the alpha-pixels flag and mask
  };
  static constexpr Layout kLayouts[] = {
      {dds::kPfRgb, 24, 0xFF0000, 0xFF00, 0xFF, 0, PixelFormat::R8G8B8, PixelFormat::Unknown},
      {dds::kPfRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, PixelFormat::X8R8G8B8, PixelFormat::A8R8G8B8},
      {dds::kPfRgb, 16, 0xF800, 0x7E0, 0x1F, 0, PixelFormat::R5G6B5, PixelFormat::Unknown},
      {dds::kPfRgb, 16, 0x7C00, 0x3E0, 0x1F, 0x8000, PixelFormat::X1R5G5B5, PixelFormat::A1R5G5B5},
      {dds::kPfRgb, 16, 0xF00, 0xF0, 0xF, 0xF000, PixelFormat::X4R4G4B4, PixelFormat::A4R4G4B4},
      {dds::kPfLuminance, 8, 0xFF, 0, 0, 0, PixelFormat::L8, PixelFormat::Unknown},
      {dds::kPfLuminance, 16, 0xFF, 0, 0, 0xFF00, PixelFormat::Unknown, PixelFormat::A8L8},
  };
  for (const Layout& l : kLayouts) {
    if (!(h.pfFlags & l.flag) || h.bitCount != l.bits || h.rMask != l.r || h.gMask != l.g || h.bMask != l.b) continue;
    const PixelFormat f = alpha && h.aMask == l.a && l.withAlpha != PixelFormat::Unknown ? l.withAlpha : l.plain;
    if (f != PixelFormat::Unknown) return f;
  }
  if ((h.pfFlags & dds::kPfAlpha) && h.bitCount == 8 && h.aMask == 0xFF) return PixelFormat::A8;
  char text[96];
  std::snprintf(text, sizeof text, "unsupported pixel layout (flags 0x%X, %u bits)", h.pfFlags, h.bitCount);
  error = text;
  return PixelFormat::Unknown;
}

bool CheckSizes(const Header& h, ImageKind kind, std::string& error) {
  if (h.width == 0 || h.height == 0) {
    error = "empty image (" + std::to_string(h.width) + " x " + std::to_string(h.height) + ")";
    return false;
  }
  if (h.width > kMaxDdsSide || h.height > kMaxDdsSide) {
    error = "size " + std::to_string(h.width) + " x " + std::to_string(h.height) + " is beyond " +
            std::to_string(kMaxDdsSide);
    return false;
  }
  if (kind == ImageKind::Cube && h.width != h.height) {
    error = "cube faces are not square";
    return false;
  }
  if (kind == ImageKind::Volume && (h.depth == 0 || h.depth > kMaxDdsDepth)) {
    error = "volume depth " + std::to_string(h.depth) + " is outside 1.." + std::to_string(kMaxDdsDepth);
    return false;
  }
  return true;
}

/// The level count of the header: 1 without the mip-count flag, else the count,
/// which must lie between 1 and the length of a full chain.
std::uint32_t LevelsOf(const Header& h, std::uint32_t depth, std::string& error) {
  if (!(h.flags & dds::kFlagMipCount)) return 1;
  const std::uint32_t full = FullMipCount(h.width, h.height, depth);
  if (h.mipCount == 0 || h.mipCount > full) {
    error = "mip count " + std::to_string(h.mipCount) + " is outside 1.." + std::to_string(full);
    return 0;
  }
  return h.mipCount;
}

}  // namespace

std::uint32_t FullMipCount(std::uint32_t width, std::uint32_t height, std::uint32_t depth) {
  std::uint32_t side = std::max({width, height, depth, 1u}), levels = 1;
  while (side > 1) side >>= 1, ++levels;
  return levels;
}

std::optional<DdsImage> ParseDds(const std::vector<std::uint8_t>& file, std::string& error) {
  return ParseDds(std::string(file.begin(), file.end()), error);
}

std::optional<DdsImage> ParseDds(std::string file, std::string& error) {
  if (file.size() < 4 || Load32(file, 0) != MakeFourCc('D', 'D', 'S', ' ')) {
    error = "not a DDS file";
    return std::nullopt;
  }
  if (file.size() < kDdsHeaderBytes) {
    error = "header cut short (" + std::to_string(file.size()) + " bytes)";
    return std::nullopt;
  }
  const Header h = ReadHeader(file);
  if (h.size != 124 || h.pfSize != 32) {
    error = "bad header sizes (" + std::to_string(h.size) + ", " + std::to_string(h.pfSize) + ")";
    return std::nullopt;
  }
  if ((h.caps2 & dds::kCaps2Cube) && (h.caps2 & dds::kCaps2AllFaces) != dds::kCaps2AllFaces) {
    error = "cube map without all six faces";
    return std::nullopt;
  }
  DdsImage img;
  img.kind = (h.caps2 & dds::kCaps2Cube)     ? ImageKind::Cube
             : (h.caps2 & dds::kCaps2Volume) ? ImageKind::Volume
                                             : ImageKind::Texture2D;
  if (!CheckSizes(h, img.kind, error)) return std::nullopt;
  img.format = FormatOf(h, error);
  if (img.format == PixelFormat::Unknown) return std::nullopt;
  img.width = h.width;
  img.height = h.height;
  img.depth = img.kind == ImageKind::Volume ? h.depth : 1;
  img.levels = LevelsOf(h, img.depth, error);
  if (img.levels == 0) return std::nullopt;

  std::uint64_t offset = kDdsHeaderBytes;
  for (std::uint32_t face = 0; face < img.Faces(); ++face) {
    for (std::uint32_t level = 0; level < img.levels; ++level) {
      DdsSurface s;
      s.width = std::max(1u, img.width >> level);
      s.height = std::max(1u, img.height >> level);
      s.depth = std::max(1u, img.depth >> level);
      const std::uint64_t bytes = SurfaceBytes(img.format, s.width, s.height) * s.depth;
      if (offset + bytes > file.size()) {
        error = "data cut short: needs " + std::to_string(offset + bytes) + " bytes, file has " +
                std::to_string(file.size());
        return std::nullopt;
      }
      s.offset = static_cast<std::size_t>(offset);
      s.bytes = static_cast<std::size_t>(bytes);
      img.surfaces.push_back(s);
      offset += bytes;
    }
  }
  img.file = std::move(file);
  return img;
}

}  // namespace platform
