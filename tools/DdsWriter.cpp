#include "tools/DdsWriter.h"

#include <filesystem>
#include <fstream>

namespace tools {
namespace {

using platform::ImageKind;
using platform::PixelFormat;
namespace dds = platform::dds;

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

/// Pixel-format block: flags, fourCC, bit count and the four masks.
void PutPixelFormat(std::vector<std::uint8_t>& h, PixelFormat format) {
  struct Masks {
    std::uint32_t flags, bits, r, g, b, a;
  };
  Masks m{};
  switch (format) {
    case PixelFormat::R8G8B8: m = {dds::kPfRgb, 24, 0xFF0000, 0xFF00, 0xFF, 0}; break;
    case PixelFormat::X8R8G8B8: m = {dds::kPfRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0}; break;
    case PixelFormat::A8R8G8B8: m = {dds::kPfRgb | dds::kPfAlphaPixels, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000}; break;
    case PixelFormat::R5G6B5: m = {dds::kPfRgb, 16, 0xF800, 0x7E0, 0x1F, 0}; break;
    case PixelFormat::X4R4G4B4: m = {dds::kPfRgb, 16, 0xF00, 0xF0, 0xF, 0}; break;
    case PixelFormat::A4R4G4B4: m = {dds::kPfRgb | dds::kPfAlphaPixels, 16, 0xF00, 0xF0, 0xF, 0xF000}; break;
    default: m = {dds::kPfFourCc, 0, 0, 0, 0, 0}; break;
  }
  Put32(h, 76, 32);
  Put32(h, 80, m.flags);
  Put32(h, 84, platform::IsBlockCompressed(format) ? static_cast<std::uint32_t>(format) : 0);
  Put32(h, 88, m.bits);
  Put32(h, 92, m.r);
  Put32(h, 96, m.g);
  Put32(h, 100, m.b);
  Put32(h, 104, m.a);
}

/// Appends `levels` levels starting with the picture, each the halved previous one.
void AppendChain(std::vector<std::uint8_t>& out, PixelFormat format, platform::RgbaImage level,
                 std::uint32_t levels) {
  for (std::uint32_t i = 0; i < levels; ++i) {
    if (i > 0) level = platform::NextMipLevel(level);
    const auto bytes = platform::EncodeLevel(format, level);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
}

std::uint32_t Levels(std::uint32_t asked, std::uint32_t w, std::uint32_t h, std::uint32_t d) {
  const std::uint32_t full = platform::FullMipCount(w, h, d);
  return asked == 0 || asked > full ? full : asked;
}

}  // namespace

std::vector<std::uint8_t> DdsHeader(ImageKind kind, PixelFormat format, std::uint32_t width, std::uint32_t height,
                                    std::uint32_t depth, std::uint32_t levels) {
  std::vector<std::uint8_t> h(platform::kDdsHeaderBytes, 0);
  const bool compressed = platform::IsBlockCompressed(format);
  std::uint32_t flags = dds::kFlagCaps | dds::kFlagHeight | dds::kFlagWidth | dds::kFlagPixelFormat |
                        dds::kFlagMipCount | (compressed ? dds::kFlagLinearSize : dds::kFlagPitch);
  std::uint32_t caps = dds::kCapsTexture, caps2 = 0;
  if (levels > 1) caps |= dds::kCapsComplex | dds::kCapsMipmap;
  if (kind == ImageKind::Cube) caps |= dds::kCapsComplex, caps2 = dds::kCaps2Cube | dds::kCaps2AllFaces;
  if (kind == ImageKind::Volume) caps |= dds::kCapsComplex, caps2 = dds::kCaps2Volume, flags |= dds::kFlagDepth;
  Put32(h, 0, platform::MakeFourCc('D', 'D', 'S', ' '));
  Put32(h, 4, 124);
  Put32(h, 8, flags);
  Put32(h, 12, height);
  Put32(h, 16, width);
  Put32(h, 20, static_cast<std::uint32_t>(compressed ? platform::SurfaceBytes(format, width, height)
                                                     : platform::RowPitch(format, width)));
  Put32(h, 24, kind == ImageKind::Volume ? depth : 0);
  Put32(h, 28, levels);
  PutPixelFormat(h, format);
  Put32(h, 108, caps);
  Put32(h, 112, caps2);
  return h;
}

std::vector<std::uint8_t> MakeDds(PixelFormat format, const platform::RgbaImage& picture, std::uint32_t levels) {
  levels = Levels(levels, picture.width, picture.height, 1);
  auto out = DdsHeader(ImageKind::Texture2D, format, picture.width, picture.height, 1, levels);
  AppendChain(out, format, picture, levels);
  return out;
}

std::vector<std::uint8_t> MakeCubeDds(PixelFormat format, const std::array<platform::RgbaImage, 6>& faces,
                                      std::uint32_t levels) {
  levels = Levels(levels, faces[0].width, faces[0].height, 1);
  auto out = DdsHeader(ImageKind::Cube, format, faces[0].width, faces[0].height, 1, levels);
  for (const auto& face : faces) AppendChain(out, format, face, levels);
  return out;
}

std::vector<std::uint8_t> MakeVolumeDds(PixelFormat format, const platform::RgbaImage& volume, std::uint32_t levels) {
  levels = Levels(levels, volume.width, volume.height, volume.depth);
  auto out = DdsHeader(ImageKind::Volume, format, volume.width, volume.height, volume.depth, levels);
  AppendChain(out, format, volume, levels);
  return out;
}

bool WriteBinaryFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path p(path);
  std::error_code ec;
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace tools
