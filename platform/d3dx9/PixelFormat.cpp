#include "platform/d3dx9/PixelFormat.h"

namespace platform {
namespace {

std::uint8_t Expand5(std::uint32_t v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }
std::uint8_t Expand6(std::uint32_t v) { return static_cast<std::uint8_t>((v << 2) | (v >> 4)); }
std::uint8_t Expand4(std::uint32_t v) { return static_cast<std::uint8_t>(v * 17); }

/// An 8-bit value reduced to `bits` bits, rounded to the nearest level.
std::uint32_t Reduce(std::uint8_t v, std::uint32_t bits) {
  const std::uint32_t top = (1u << bits) - 1;
  return (v * top + 127) / 255;
}

/// Luminance of a colour (the weights the sample writer uses too).
std::uint8_t Luminance(const Rgba8& p) {
  return static_cast<std::uint8_t>((p.r * 77 + p.g * 150 + p.b * 29 + 128) >> 8);
}

std::uint16_t Load16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
void Store16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

bool IsBlockCompressed(PixelFormat format) { return BlockBytes(format) != 0; }

bool IsSupportedFormat(PixelFormat format) {
  return IsBlockCompressed(format) || BytesPerPixel(format) != 0;
}

std::uint32_t BlockBytes(PixelFormat format) {
  switch (format) {
    case PixelFormat::Dxt1: return 8;
    case PixelFormat::Dxt2:
    case PixelFormat::Dxt3:
    case PixelFormat::Dxt4:
    case PixelFormat::Dxt5: return 16;
    default: return 0;
  }
}

std::uint32_t BytesPerPixel(PixelFormat format) {
  switch (format) {
    case PixelFormat::R8G8B8: return 3;
    case PixelFormat::A8R8G8B8:
    case PixelFormat::X8R8G8B8: return 4;
    case PixelFormat::R5G6B5:
    case PixelFormat::X1R5G5B5:
    case PixelFormat::A1R5G5B5:
    case PixelFormat::A4R4G4B4:
    case PixelFormat::X4R4G4B4:
    case PixelFormat::A8L8: return 2;
    case PixelFormat::A8:
    case PixelFormat::L8: return 1;
    default: return 0;
  }
}

std::uint64_t RowPitch(PixelFormat format, std::uint32_t width) {
  if (IsBlockCompressed(format)) return std::uint64_t{(width + 3) / 4} * BlockBytes(format);
  return std::uint64_t{width} * BytesPerPixel(format);
}

std::uint32_t RowCount(PixelFormat format, std::uint32_t height) {
  return IsBlockCompressed(format) ? (height + 3) / 4 : height;
}

std::uint64_t SurfaceBytes(PixelFormat format, std::uint32_t width, std::uint32_t height) {
  return RowPitch(format, width) * RowCount(format, height);
}

bool HasAlpha(PixelFormat format) {
  return format == PixelFormat::A8R8G8B8 || format == PixelFormat::A4R4G4B4 || format == PixelFormat::A1R5G5B5 ||
         format == PixelFormat::A8 || format == PixelFormat::A8L8 || IsBlockCompressed(format);
}

std::string FormatName(PixelFormat format) {
  switch (format) {
    case PixelFormat::R8G8B8: return "R8G8B8";
    case PixelFormat::A8R8G8B8: return "A8R8G8B8";
    case PixelFormat::X8R8G8B8: return "X8R8G8B8";
    case PixelFormat::R5G6B5: return "R5G6B5";
    case PixelFormat::A4R4G4B4: return "A4R4G4B4";
    case PixelFormat::X4R4G4B4: return "X4R4G4B4";
    case PixelFormat::X1R5G5B5: return "X1R5G5B5";
    case PixelFormat::A1R5G5B5: return "A1R5G5B5";
    case PixelFormat::A8: return "A8";
    case PixelFormat::L8: return "L8";
    case PixelFormat::A8L8: return "A8L8";
    case PixelFormat::Dxt1: return "DXT1";
    case PixelFormat::Dxt2: return "DXT2";
    case PixelFormat::Dxt3: return "DXT3";
    case PixelFormat::Dxt4: return "DXT4";
    case PixelFormat::Dxt5: return "DXT5";
    default: return "format " + std::to_string(static_cast<std::uint32_t>(format));
  }
}

void UnpackRow(PixelFormat format, const std::uint8_t* src, std::span<Rgba8> out) {
  for (Rgba8& px : out) {
    switch (format) {
      case PixelFormat::R8G8B8:
        px = {src[2], src[1], src[0], 255};
        src += 3;
        break;
      case PixelFormat::A8R8G8B8:
      case PixelFormat::X8R8G8B8:
        px = {src[2], src[1], src[0], format == PixelFormat::A8R8G8B8 ? src[3] : std::uint8_t{255}};
        src += 4;
        break;
      case PixelFormat::R5G6B5: {
        const std::uint32_t v = Load16(src);
        px = {Expand5(v >> 11), Expand6((v >> 5) & 63), Expand5(v & 31), 255};
        src += 2;
        break;
      }
      case PixelFormat::A4R4G4B4:
      case PixelFormat::X4R4G4B4: {
        const std::uint32_t v = Load16(src);
        const std::uint8_t a = format == PixelFormat::A4R4G4B4 ? Expand4(v >> 12) : std::uint8_t{255};
        px = {Expand4((v >> 8) & 15), Expand4((v >> 4) & 15), Expand4(v & 15), a};
        src += 2;
        break;
      }
      case PixelFormat::X1R5G5B5:
      case PixelFormat::A1R5G5B5: {
        const std::uint32_t v = Load16(src);
        const std::uint8_t a = format == PixelFormat::X1R5G5B5 || (v & 0x8000) ? 255 : 0;
        px = {Expand5((v >> 10) & 31), Expand5((v >> 5) & 31), Expand5(v & 31), a};
        src += 2;
        break;
      }
      case PixelFormat::A8:
        px = {0, 0, 0, src[0]};
        src += 1;
        break;
      case PixelFormat::L8:
        px = {src[0], src[0], src[0], 255};
        src += 1;
        break;
      case PixelFormat::A8L8:
        px = {src[0], src[0], src[0], src[1]};
        src += 2;
        break;
      default:
        px = {};
        break;
    }
  }
}

void PackRow(PixelFormat format, std::span<const Rgba8> in, std::uint8_t* dst) {
  for (const Rgba8& px : in) {
    switch (format) {
      case PixelFormat::R8G8B8:
        dst[0] = px.b, dst[1] = px.g, dst[2] = px.r;
        dst += 3;
        break;
      case PixelFormat::A8R8G8B8:
      case PixelFormat::X8R8G8B8:
        dst[0] = px.b, dst[1] = px.g, dst[2] = px.r;
        dst[3] = format == PixelFormat::A8R8G8B8 ? px.a : 255;
        dst += 4;
        break;
      case PixelFormat::R5G6B5:
        Store16(dst, (Reduce(px.r, 5) << 11) | (Reduce(px.g, 6) << 5) | Reduce(px.b, 5));
        dst += 2;
        break;
      case PixelFormat::A4R4G4B4:
      case PixelFormat::X4R4G4B4: {
        const std::uint32_t a = format == PixelFormat::A4R4G4B4 ? Reduce(px.a, 4) : 15;
        Store16(dst, (a << 12) | (Reduce(px.r, 4) << 8) | (Reduce(px.g, 4) << 4) | Reduce(px.b, 4));
        dst += 2;
        break;
      }
      case PixelFormat::X1R5G5B5:
      case PixelFormat::A1R5G5B5: {
        const std::uint32_t a = format == PixelFormat::X1R5G5B5 || px.a >= 128 ? 0x8000 : 0;
        Store16(dst, a | (Reduce(px.r, 5) << 10) | (Reduce(px.g, 5) << 5) | Reduce(px.b, 5));
        dst += 2;
        break;
      }
      case PixelFormat::A8:
        *dst++ = px.a;
        break;
      case PixelFormat::L8:
        *dst++ = Luminance(px);
        break;
      case PixelFormat::A8L8:
        dst[0] = Luminance(px), dst[1] = px.a;
        dst += 2;
        break;
      default:
        break;
    }
  }
}

}  // namespace platform
