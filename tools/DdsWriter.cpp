#include "tools/DdsWriter.h"

#include "tools/ByteWriter.h"

namespace datagen {

namespace {

struct PixelFormat {
  std::uint32_t flags;
  std::uint32_t bits;
  std::uint32_t r, g, b, a;  // masks
};

PixelFormat Describe(DdsFormat format) {
  switch (format) {
    case DdsFormat::A8R8G8B8: return {DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    case DdsFormat::X8R8G8B8: return {DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0};
    case DdsFormat::R8G8B8: return {DDPF_RGB, 24, 0xFF0000, 0xFF00, 0xFF, 0};
    case DdsFormat::R5G6B5: return {DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0};
    case DdsFormat::X1R5G5B5: return {DDPF_RGB, 16, 0x7C00, 0x03E0, 0x001F, 0};
    case DdsFormat::A1R5G5B5: return {DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x7C00, 0x03E0, 0x001F, 0x8000};
    case DdsFormat::A4R4G4B4: return {DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
    case DdsFormat::A8: return {DDPF_ALPHA, 8, 0, 0, 0, 0xFF};
    case DdsFormat::L8: return {DDPF_LUMINANCE, 8, 0xFF, 0, 0, 0};
    case DdsFormat::A8L8: return {DDPF_LUMINANCE | DDPF_ALPHAPIXELS, 16, 0xFF, 0, 0, 0xFF00};
  }
  return {};
}

/// Scales an 8-bit component to n bits, rounding.
std::uint32_t Bits(std::uint8_t value, int n) {
  const std::uint32_t max = (1u << n) - 1;
  return (value * max + 127) / 255;
}

std::uint8_t Luminance(const Rgba& p) {
  return static_cast<std::uint8_t>((p.r * 77 + p.g * 150 + p.b * 29 + 128) >> 8);
}

/// The texel packed into the format's bits (low byte first on disk).
std::uint32_t Pack(DdsFormat format, const Rgba& p) {
  switch (format) {
    case DdsFormat::A8R8G8B8: return (std::uint32_t{p.a} << 24) | (p.r << 16) | (p.g << 8) | p.b;
    case DdsFormat::X8R8G8B8: return 0xFF000000u | (p.r << 16) | (p.g << 8) | p.b;
    case DdsFormat::R8G8B8: return (p.r << 16) | (p.g << 8) | p.b;
    case DdsFormat::R5G6B5: return (Bits(p.r, 5) << 11) | (Bits(p.g, 6) << 5) | Bits(p.b, 5);
    case DdsFormat::X1R5G5B5: return 0x8000u | (Bits(p.r, 5) << 10) | (Bits(p.g, 5) << 5) | Bits(p.b, 5);
    case DdsFormat::A1R5G5B5:
      return (p.a >= 128 ? 0x8000u : 0u) | (Bits(p.r, 5) << 10) | (Bits(p.g, 5) << 5) | Bits(p.b, 5);
    case DdsFormat::A4R4G4B4:
      return (Bits(p.a, 4) << 12) | (Bits(p.r, 4) << 8) | (Bits(p.g, 4) << 4) | Bits(p.b, 4);
    case DdsFormat::A8: return p.a;
    case DdsFormat::L8: return Luminance(p);
    case DdsFormat::A8L8: return (std::uint32_t{p.a} << 8) | Luminance(p);
  }
  return 0;
}

int MipCount(int width, int height) {
  int count = 1;
  while (width > 1 || height > 1) {
    width = width > 1 ? width / 2 : 1;
    height = height > 1 ? height / 2 : 1;
    ++count;
  }
  return count;
}

void WriteHeader(ByteWriter& out, const RgbaImage& image, const DdsOptions& options, int mips) {
  const PixelFormat pf = Describe(options.format);
  const auto width = static_cast<std::uint32_t>(image.Width());
  std::uint32_t flags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_PITCH;
  std::uint32_t caps = DDSCAPS_TEXTURE;
  if (options.mipmaps) {
    flags |= DDSD_MIPMAPCOUNT;
    caps |= DDSCAPS_COMPLEX | DDSCAPS_MIPMAP;
  }
  out.U32(kDdsMagic);
  out.U32(kDdsHeaderSize);
  out.U32(flags);
  out.U32(static_cast<std::uint32_t>(image.Height()));
  out.U32(width);
  out.U32(width * pf.bits / 8);  // pitch of the top level
  out.U32(0);                    // depth
  out.U32(options.mipmaps ? static_cast<std::uint32_t>(mips) : 0);
  out.Zeros(11 * 4);
  out.U32(kDdsPixelFormatSize);
  out.U32(pf.flags);
  out.U32(0);  // no FourCC
  out.U32(pf.bits);
  out.U32(pf.r);
  out.U32(pf.g);
  out.U32(pf.b);
  out.U32(pf.a);
  out.U32(caps);
  out.Zeros(4 * 4);  // caps 2-4, reserved
}

void WriteLevel(ByteWriter& out, const RgbaImage& level, DdsFormat format) {
  const int bytes = DdsBytesPerPixel(format);
  for (int y = 0; y < level.Height(); ++y) {
    for (int x = 0; x < level.Width(); ++x) {
      const std::uint32_t texel = Pack(format, level.At(x, y));
      for (int i = 0; i < bytes; ++i) out.U8(static_cast<std::uint8_t>(texel >> (8 * i)));
    }
  }
}

}  // namespace

int DdsBytesPerPixel(DdsFormat format) { return static_cast<int>(Describe(format).bits / 8); }

std::vector<std::uint8_t> EncodeDds(const RgbaImage& image, const DdsOptions& options) {
  ByteWriter out;
  const int mips = options.mipmaps ? MipCount(image.Width(), image.Height()) : 1;
  WriteHeader(out, image, options, mips);
  RgbaImage level = image;
  for (int i = 0; i < mips; ++i) {
    if (i > 0) level = level.Halved();
    WriteLevel(out, level, options.format);
  }
  return out.Take();
}

}  // namespace datagen
