#pragma once
// An 8-bit RGBA picture in memory, top row first: what the sample writers draw into
// before a format writer encodes it.
#include <cstdint>
#include <vector>

namespace datagen {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
  bool operator==(const Rgba&) const = default;
};

class RgbaImage {
 public:
  RgbaImage() = default;
  RgbaImage(int width, int height, Rgba fill = {});

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  Rgba& At(int x, int y) { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
  const Rgba& At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }

  /// The next mip level: half the size (at least 1), each texel the rounded mean of
  /// the 2 x 2 (or 2 x 1, 1 x 2) texels it covers.
  RgbaImage Halved() const;

 private:
  int m_width = 0;
  int m_height = 0;
  std::vector<Rgba> m_pixels;
};

}  // namespace datagen
