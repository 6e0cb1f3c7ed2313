#include "tests/platform/DdsSamples.h"

#include "tools/DdsWriter.h"

namespace test {
namespace {

using platform::PixelFormat;

datagen::DdsFormat WriterFormat(PixelFormat format) {
  switch (format) {
    case PixelFormat::R8G8B8: return datagen::DdsFormat::R8G8B8;
    case PixelFormat::A8R8G8B8: return datagen::DdsFormat::A8R8G8B8;
    case PixelFormat::X8R8G8B8: return datagen::DdsFormat::X8R8G8B8;
    case PixelFormat::R5G6B5: return datagen::DdsFormat::R5G6B5;
    case PixelFormat::A4R4G4B4: return datagen::DdsFormat::A4R4G4B4;
    case PixelFormat::X4R4G4B4: return datagen::DdsFormat::X4R4G4B4;
    case PixelFormat::X1R5G5B5: return datagen::DdsFormat::X1R5G5B5;
    case PixelFormat::A1R5G5B5: return datagen::DdsFormat::A1R5G5B5;
    case PixelFormat::A8: return datagen::DdsFormat::A8;
    case PixelFormat::L8: return datagen::DdsFormat::L8;
    case PixelFormat::A8L8: return datagen::DdsFormat::A8L8;
    case PixelFormat::Dxt1: return datagen::DdsFormat::Dxt1;
    case PixelFormat::Dxt2: return datagen::DdsFormat::Dxt2;
    case PixelFormat::Dxt3: return datagen::DdsFormat::Dxt3;
    case PixelFormat::Dxt4: return datagen::DdsFormat::Dxt4;
    default: return datagen::DdsFormat::Dxt5;
  }
}

datagen::DdsOptions Options(PixelFormat format, int levels) { return {WriterFormat(format), levels != 1, levels}; }

/// Slice z of a layer picture as a writer picture.
datagen::RgbaImage Slice(const platform::RgbaImage& img, std::uint32_t z) {
  datagen::RgbaImage out(static_cast<int>(img.width), static_cast<int>(img.height));
  for (std::uint32_t y = 0; y < img.height; ++y)
    for (std::uint32_t x = 0; x < img.width; ++x) {
      const platform::Rgba8& p = img.pixels[(std::size_t{z} * img.height + y) * img.width + x];
      out.At(static_cast<int>(x), static_cast<int>(y)) = {p.r, p.g, p.b, p.a};
    }
  return out;
}

}  // namespace

std::vector<std::uint8_t> MakeDds(PixelFormat format, const platform::RgbaImage& picture, int levels) {
  return datagen::EncodeDds(Slice(picture, 0), Options(format, levels));
}

std::vector<std::uint8_t> MakeCubeDds(PixelFormat format, const std::array<platform::RgbaImage, 6>& faces,
                                      int levels) {
  std::array<datagen::RgbaImage, 6> converted;
  for (int f = 0; f < 6; ++f) converted[f] = Slice(faces[f], 0);
  return datagen::EncodeCubeDds(converted, Options(format, levels));
}

std::vector<std::uint8_t> MakeVolumeDds(PixelFormat format, const platform::RgbaImage& volume, int levels) {
  std::vector<datagen::RgbaImage> slices;
  for (std::uint32_t z = 0; z < volume.depth; ++z) slices.push_back(Slice(volume, z));
  return datagen::EncodeVolumeDds(slices, Options(format, levels));
}

}  // namespace test
