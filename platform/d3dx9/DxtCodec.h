#pragma once
// Software DXT1-DXT5 (S3TC) codec. The decoder serves format conversion, mip
// generation of compressed files, the splash picture and tests that check pixels;
// the encoder serves conversion to DXT1/DXT5 and the sample-data writer.
//
// Blocks cover 4x4 pixels in row order; images whose sides are not multiples of 4
// have partial blocks at the right and bottom, whose extra pixels are ignored when
// decoding and filled from the nearest edge pixel when encoding.
#include "platform/d3dx9/PixelFormat.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace platform {

using Block16 = std::array<Rgba8, 16>;  ///< the pixels of one block, row by row

/// Decodes one block of the format (DXT1-DXT5) into 16 pixels. DXT1 blocks whose
/// first colour is not above the second hold a transparent black; DXT2-DXT5 always
/// read their colours in the four-colour mode. Premultiplied DXT2/DXT4 decode as stored.
void DecodeDxtBlock(PixelFormat format, const std::uint8_t* block, Block16& out);

/// Encodes 16 pixels into one block of the format (DXT1-DXT5). DXT1 keeps pixels with
/// alpha below 128 as its transparent colour; the others encode opaque.
void EncodeDxtBlock(PixelFormat format, const Block16& pixels, std::uint8_t* block);

/// Decodes a whole level: `data` must hold SurfaceBytes(format, width, height) bytes.
std::vector<Rgba8> DecodeDxt(PixelFormat format, std::span<const std::uint8_t> data,
                             std::uint32_t width, std::uint32_t height);

/// Encodes a whole level of width x height pixels.
std::vector<std::uint8_t> EncodeDxt(PixelFormat format, std::span<const Rgba8> pixels,
                                    std::uint32_t width, std::uint32_t height);

}  // namespace platform
