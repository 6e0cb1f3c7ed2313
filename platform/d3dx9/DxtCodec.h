#pragma once
// DXT1-DXT5 (S3TC). The decoder (libsquish) serves format conversion, mip generation
// of compressed files, the splash picture and tests that check pixels; the encoder
// serves conversion to DXT1/DXT5, generated mip levels and the sample-data writer.
// libsquish is called block by block: Debian builds its whole-image calls with OpenMP,
// whose spinning threads cost more than they give (4,000 small images: 46 s, not 0.5).
//
// Blocks cover 4x4 pixels in row order; images whose sides are not multiples of 4
// have partial blocks at the right and bottom, whose extra pixels are ignored when
// decoding. Decoded in-between colours and alphas are the library's (integer
// division, as most hardware).
#include "platform/d3dx9/PixelFormat.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace platform {

using Block16 = std::array<Rgba8, 16>;  ///< the pixels of one block, row by row

/// How the encoder fits a block's two colours. Fast, for loading (whole mip chains are
/// made there, and a 16384 x 16384 chain must take seconds): our own fit along the
/// colours' principal axis, about 1.4 us a block. Best, for the sample-data writer,
/// which runs once: libsquish's cluster fit, about 8% less error at fifteen times the
/// time. (libsquish's fast range fit is not used: colours running against each other,
/// red rising while green falls, come out up to 184 levels off.)
enum class DxtQuality { Fast, Best };

/// Decodes one block of the format (DXT1-DXT5) into 16 pixels. DXT1 blocks whose
/// first colour is not above the second hold a transparent black; DXT2-DXT5 always
/// read their colours in the four-colour mode. Premultiplied DXT2/DXT4 decode as stored.
void DecodeDxtBlock(PixelFormat format, const std::uint8_t* block, Block16& out);

/// Encodes 16 pixels into one block of the format (DXT1-DXT5). DXT1 keeps pixels with
/// alpha below 128 as its transparent colour; the others encode opaque.
void EncodeDxtBlock(PixelFormat format, const Block16& pixels, std::uint8_t* block,
                    DxtQuality quality = DxtQuality::Fast);

/// Decodes a whole level into `out` (width x height pixels): `data` must hold
/// SurfaceBytes(format, width, height) bytes, else the pixels stay as they are.
void DecodeDxt(PixelFormat format, std::span<const std::uint8_t> data, std::uint32_t width,
               std::uint32_t height, std::span<Rgba8> out);
std::vector<Rgba8> DecodeDxt(PixelFormat format, std::span<const std::uint8_t> data,
                             std::uint32_t width, std::uint32_t height);

/// Encodes a whole level of width x height pixels.
std::vector<std::uint8_t> EncodeDxt(PixelFormat format, std::span<const Rgba8> pixels,
                                    std::uint32_t width, std::uint32_t height,
                                    DxtQuality quality = DxtQuality::Fast);

}  // namespace platform
