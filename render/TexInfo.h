#pragma once
// The record of one texture as the texture manager hands it out and the renderer
// fills it. Users keep a pointer to it; the record lives as long as its entry.
#include <cstdint>

/// States of `texture`: kTextureNotCreated until the first creation; 0 while a
/// creation runs and after one that failed (never retried); > 0 a live texture.
constexpr std::int32_t kTextureNotCreated = -1;

/// Kinds of texture a record asks for.
enum class TexKind : std::uint32_t { Texture2D = 0, Cube = 1, Volume = 2 };

struct TexInfo {
  /// The device texture: a handle into the layer's texture table (see above).
  std::int32_t texture = kTextureNotCreated;
  std::uint32_t memory = 0;         ///< bytes with every mip level (renderer)
  std::uint32_t width = 0;          ///< of the top level, in pixels (renderer)
  std::uint32_t height = 0;
  std::uint32_t bytesPerPixel = 0;  ///< 2, 3 or 4 by the loaded format (renderer)
  std::uint32_t kind = 0;           ///< a TexKind value, given by the record's creator
};
static_assert(sizeof(TexInfo) == 6 * 4, "TexInfo is six 32-bit words");
