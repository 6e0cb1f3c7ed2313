#include "tools/DdsWriter.h"

#include "platform/d3dx9/DxtCodec.h"
#include "tools/ByteWriter.h"

#include <algorithm>

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
    case DdsFormat::X4R4G4B4: return {DDPF_RGB, 16, 0x0F00, 0x00F0, 0x000F, 0};
    case DdsFormat::A8: return {DDPF_ALPHA, 8, 0, 0, 0, 0xFF};
    case DdsFormat::L8: return {DDPF_LUMINANCE, 8, 0xFF, 0, 0, 0};
    case DdsFormat::A8L8: return {DDPF_LUMINANCE | DDPF_ALPHAPIXELS, 16, 0xFF, 0, 0, 0xFF00};
    default: return {DDPF_FOURCC, 0, 0, 0, 0, 0};  // DXT: the FourCC says it all
  }
}

/// The FourCC of a DXT format ("DXT1" ... "DXT5" read as a little-endian word).
std::uint32_t FourCc(DdsFormat format) {
  const char digit = static_cast<char>('1' + (static_cast<int>(format) - static_cast<int>(DdsFormat::Dxt1)));
  return 'D' | ('X' << 8) | ('T' << 16) | (static_cast<std::uint32_t>(digit) << 24);
}

platform::PixelFormat LayerFormat(DdsFormat format) { return static_cast<platform::PixelFormat>(FourCc(format)); }

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
    case DdsFormat::X4R4G4B4: return 0xF000u | (Bits(p.r, 4) << 8) | (Bits(p.g, 4) << 4) | Bits(p.b, 4);
    case DdsFormat::A8: return p.a;
    case DdsFormat::L8: return Luminance(p);
    case DdsFormat::A8L8: return (std::uint32_t{p.a} << 8) | Luminance(p);
    default: return 0;
  }
}

int MipCount(int width, int height, int depth) {
  int count = 1;
  while (width > 1 || height > 1 || depth > 1) {
    width = std::max(1, width / 2), height = std::max(1, height / 2), depth = std::max(1, depth / 2);
    ++count;
  }
  return count;
}

int LevelCount(const DdsOptions& options, int width, int height, int depth) {
  if (!options.mipmaps) return 1;
  const int full = MipCount(width, height, depth);
  return options.levels > 0 ? std::min(options.levels, full) : full;
}

/// The header. kind: 0 two-dimensional, 1 cube, 2 volume.
void WriteHeader(ByteWriter& out, int kind, int width, int height, int depth, const DdsOptions& options, int mips) {
  const PixelFormat pf = Describe(options.format);
  const bool dxt = IsDxtFormat(options.format);
  std::uint32_t flags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | (dxt ? DDSD_LINEARSIZE : DDSD_PITCH);
  std::uint32_t caps = DDSCAPS_TEXTURE, caps2 = 0;
  if (options.mipmaps) {
    flags |= DDSD_MIPMAPCOUNT;
    caps |= DDSCAPS_COMPLEX | DDSCAPS_MIPMAP;
  }
  if (kind == 1) caps |= DDSCAPS_COMPLEX, caps2 = DDSCAPS2_CUBEMAP | DDSCAPS2_CUBEMAP_ALLFACES;
  if (kind == 2) caps |= DDSCAPS_COMPLEX, caps2 = DDSCAPS2_VOLUME, flags |= DDSD_DEPTH;
  const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
  out.U32(kDdsMagic);
  out.U32(kDdsHeaderSize);
  out.U32(flags);
  out.U32(h);
  out.U32(w);
  // Pitch of the top level, or for DXT the bytes of the top level.
  out.U32(dxt ? (w + 3) / 4 * ((h + 3) / 4) * (options.format == DdsFormat::Dxt1 ? 8 : 16) : w * pf.bits / 8);
  out.U32(kind == 2 ? static_cast<std::uint32_t>(depth) : 0);
  out.U32(options.mipmaps ? static_cast<std::uint32_t>(mips) : 0);
  out.Zeros(11 * 4);
  out.U32(kDdsPixelFormatSize);
  out.U32(pf.flags);
  out.U32(dxt ? FourCc(options.format) : 0);
  out.U32(pf.bits);
  out.U32(pf.r);
  out.U32(pf.g);
  out.U32(pf.b);
  out.U32(pf.a);
  out.U32(caps);
  out.U32(caps2);
  out.Zeros(3 * 4);  // caps 3-4, reserved
}

void WriteLevel(ByteWriter& out, const RgbaImage& level, DdsFormat format) {
  if (IsDxtFormat(format)) {
    std::vector<platform::Rgba8> pixels;
    pixels.reserve(static_cast<std::size_t>(level.Width()) * level.Height());
    for (int y = 0; y < level.Height(); ++y)
      for (int x = 0; x < level.Width(); ++x) {
        const Rgba& p = level.At(x, y);
        pixels.push_back({p.r, p.g, p.b, p.a});
      }
    // Written once, at build time: the slow fit with the least error.
    for (std::uint8_t b : platform::EncodeDxt(LayerFormat(format), pixels, static_cast<std::uint32_t>(level.Width()),
                                              static_cast<std::uint32_t>(level.Height()), platform::DxtQuality::Best))
      out.U8(b);
    return;
  }
  const int bytes = DdsBytesPerPixel(format);
  for (int y = 0; y < level.Height(); ++y) {
    for (int x = 0; x < level.Width(); ++x) {
      const std::uint32_t texel = Pack(format, level.At(x, y));
      for (int i = 0; i < bytes; ++i) out.U8(static_cast<std::uint8_t>(texel >> (8 * i)));
    }
  }
}

/// Writes `mips` levels of one face, each the halved previous one.
void WriteChain(ByteWriter& out, RgbaImage level, const DdsOptions& options, int mips) {
  for (int i = 0; i < mips; ++i) {
    if (i > 0) level = level.Halved();
    WriteLevel(out, level, options.format);
  }
}

/// The next level of a volume: every slice halved, then pairs of slices averaged
/// (an odd depth leaves its last slice out, as the depth halves rounding down).
std::vector<RgbaImage> HalvedVolume(const std::vector<RgbaImage>& slices) {
  std::vector<RgbaImage> halved;
  for (const RgbaImage& s : slices) halved.push_back(s.Halved());
  if (halved.size() < 2) return halved;
  std::vector<RgbaImage> out;
  for (std::size_t z = 0; z + 1 < halved.size(); z += 2) {
    RgbaImage mean(halved[z].Width(), halved[z].Height());
    for (int y = 0; y < mean.Height(); ++y)
      for (int x = 0; x < mean.Width(); ++x) {
        const Rgba& a = halved[z].At(x, y);
        const Rgba& b = halved[z + 1].At(x, y);
        auto avg = [](int u, int v) { return static_cast<std::uint8_t>((u + v + 1) / 2); };
        mean.At(x, y) = {avg(a.r, b.r), avg(a.g, b.g), avg(a.b, b.b), avg(a.a, b.a)};
      }
    out.push_back(std::move(mean));
  }
  return out;
}

}  // namespace

int DdsBytesPerPixel(DdsFormat format) { return static_cast<int>(Describe(format).bits / 8); }

bool IsDxtFormat(DdsFormat format) { return format >= DdsFormat::Dxt1 && format <= DdsFormat::Dxt5; }

std::vector<std::uint8_t> EncodeDds(const RgbaImage& image, const DdsOptions& options) {
  ByteWriter out;
  const int mips = LevelCount(options, image.Width(), image.Height(), 1);
  WriteHeader(out, 0, image.Width(), image.Height(), 1, options, mips);
  WriteChain(out, image, options, mips);
  return out.Take();
}

std::vector<std::uint8_t> EncodeCubeDds(const std::array<RgbaImage, 6>& faces, const DdsOptions& options) {
  ByteWriter out;
  const int mips = LevelCount(options, faces[0].Width(), faces[0].Height(), 1);
  WriteHeader(out, 1, faces[0].Width(), faces[0].Height(), 1, options, mips);
  for (const RgbaImage& face : faces) WriteChain(out, face, options, mips);
  return out.Take();
}

std::vector<std::uint8_t> EncodeVolumeDds(const std::vector<RgbaImage>& slices, const DdsOptions& options) {
  ByteWriter out;
  const int depth = static_cast<int>(slices.size());
  const int mips = LevelCount(options, slices[0].Width(), slices[0].Height(), depth);
  WriteHeader(out, 2, slices[0].Width(), slices[0].Height(), depth, options, mips);
  std::vector<RgbaImage> level = slices;
  for (int i = 0; i < mips; ++i) {
    if (i > 0) level = HalvedVolume(level);
    for (const RgbaImage& slice : level) WriteLevel(out, slice, options.format);
  }
  return out.Take();
}

}  // namespace datagen
