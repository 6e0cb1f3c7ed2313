#include "tools/Image.h"

#include <algorithm>

namespace datagen {

RgbaImage::RgbaImage(int width, int height, Rgba fill)
    : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height, fill) {}

RgbaImage RgbaImage::Halved() const {
  RgbaImage out(std::max(1, m_width / 2), std::max(1, m_height / 2));
  const int sx = m_width > 1 ? 2 : 1;
  const int sy = m_height > 1 ? 2 : 1;
  for (int y = 0; y < out.m_height; ++y) {
    for (int x = 0; x < out.m_width; ++x) {
      int sum[4] = {};
      for (int dy = 0; dy < sy; ++dy) {
        for (int dx = 0; dx < sx; ++dx) {
          const Rgba& p = At(x * sx + dx, y * sy + dy);
          sum[0] += p.r, sum[1] += p.g, sum[2] += p.b, sum[3] += p.a;
        }
      }
      const int n = sx * sy;
      const auto mean = [n](int s) { return static_cast<std::uint8_t>((s + n / 2) / n); };
      out.At(x, y) = {mean(sum[0]), mean(sum[1]), mean(sum[2]), mean(sum[3])};
    }
  }
  return out;
}

}  // namespace datagen
