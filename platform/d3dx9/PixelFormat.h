#pragma once
// Pixel formats of the texture layer: the Direct3D 9 format codes (same numeric
// values, so a D3DFORMAT converts by a cast), their sizes, and the conversion of
// rows of pixels to and from 8-bit RGBA.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace platform {

constexpr std::uint32_t MakeFourCc(char a, char b, char c, char d) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24);
}

/// The formats textures are read, converted and created in.
enum class PixelFormat : std::uint32_t {
  Unknown = 0,
  R8G8B8 = 20,    ///< 3 bytes: B, G, R in memory
  A8R8G8B8 = 21,  ///< 4 bytes: B, G, R, A in memory
  X8R8G8B8 = 22,  ///< as A8R8G8B8 with the alpha byte unused (reads as 255)
  R5G6B5 = 23,
  X1R5G5B5 = 24,
  A1R5G5B5 = 25,
  A4R4G4B4 = 26,
  A8 = 28,        ///< alpha only; reads as black with that alpha
  X4R4G4B4 = 30,
  L8 = 50,        ///< luminance; reads as grey
  A8L8 = 51,      ///< luminance in the low byte, alpha in the high one
  Dxt1 = MakeFourCc('D', 'X', 'T', '1'),
  Dxt2 = MakeFourCc('D', 'X', 'T', '2'),
  Dxt3 = MakeFourCc('D', 'X', 'T', '3'),
  Dxt4 = MakeFourCc('D', 'X', 'T', '4'),
  Dxt5 = MakeFourCc('D', 'X', 'T', '5'),
};

/// One pixel as 8-bit red, green, blue, alpha (the working form of every conversion).
struct Rgba8 {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
  friend bool operator==(const Rgba8&, const Rgba8&) = default;
};

/// True for the block-compressed formats DXT1-DXT5.
bool IsBlockCompressed(PixelFormat format);
/// True for every format the layer reads, converts and creates.
bool IsSupportedFormat(PixelFormat format);
/// Bytes of one 4x4 block: 8 for DXT1, 16 for DXT2-DXT5; 0 for other formats.
std::uint32_t BlockBytes(PixelFormat format);
/// Bytes of one pixel of an uncompressed format; 0 for compressed or unknown ones.
std::uint32_t BytesPerPixel(PixelFormat format);
/// Bytes of one row of pixels, or of one row of 4x4 blocks for DXT formats.
std::uint64_t RowPitch(PixelFormat format, std::uint32_t width);
/// Rows of RowPitch: the height, or the number of block rows.
std::uint32_t RowCount(PixelFormat format, std::uint32_t height);
/// Bytes of one level (one face or one slice) of the given size.
std::uint64_t SurfaceBytes(PixelFormat format, std::uint32_t width, std::uint32_t height);
/// True when the format keeps an alpha channel (A8R8G8B8, A4R4G4B4, A1R5G5B5, A8,
/// A8L8, DXT1 with its transparent colour, DXT2-DXT5).
bool HasAlpha(PixelFormat format);
/// The format's Direct3D name without the prefix ("DXT1", "A8R8G8B8"), for log lines.
std::string FormatName(PixelFormat format);

/// Converts one row of an uncompressed format to RGBA (alpha 255 where the format has none).
void UnpackRow(PixelFormat format, const std::uint8_t* src, std::span<Rgba8> out);
/// Converts one row of RGBA to an uncompressed format (rounded to the nearest level).
void PackRow(PixelFormat format, std::span<const Rgba8> in, std::uint8_t* dst);

}  // namespace platform
