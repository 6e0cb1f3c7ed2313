#include "tools/CourseMap.h"

#include "tools/GuiPictures.h"

#include <algorithm>
#include <cmath>

namespace course {

namespace {

const datagen::Rgba kSnow = datagen::ColourOf(0.9f, 0.93f, 0.97f, 0.75f);
const datagen::Rgba kTrack = datagen::ColourOf(0.12f, 0.22f, 0.45f, 1.0f);
const datagen::Rgba kFrame = datagen::ColourOf(0.6f, 0.85f, 1.0f, 0.9f);

/// Fills the disc of the radius (texels) round the point.
void Stamp(datagen::RgbaImage& image, float cx, float cy, float radius) {
  const int x0 = std::max(0, static_cast<int>(std::floor(cx - radius)));
  const int x1 = std::min(image.Width() - 1, static_cast<int>(std::ceil(cx + radius)));
  const int y0 = std::max(0, static_cast<int>(std::floor(cy - radius)));
  const int y1 = std::min(image.Height() - 1, static_cast<int>(std::ceil(cy + radius)));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      if (std::hypot(x + 0.5f - cx, y + 0.5f - cy) <= radius) image.At(x, y) = kTrack;
    }
  }
}

}  // namespace

Vec2 MapPoint(const Course& course, const N_Vector3& world) {
  const float* q = course.mapQuad;
  return {(world.x - q[0]) / (q[2] - q[0]), (q[1] - world.y) / (q[1] - q[3])};
}

datagen::RgbaImage CourseMapPicture(const Course& course, int size) {
  datagen::RgbaImage image(size, size, kSnow);
  for (int i = 0; i < size; ++i) {
    image.At(i, 0) = image.At(i, size - 1) = image.At(0, i) = image.At(size - 1, i) = kFrame;
  }
  constexpr float kRadius = 2.0f;  // texels: the band stays visible on a small map
  for (const auto& path : course.track.paths) {
    for (std::size_t k = 1; k < path.size(); ++k) {
      const Vec2 a = MapPoint(course, path[k - 1].ideal);
      const Vec2 b = MapPoint(course, path[k].ideal);
      const float length = std::hypot((b.x - a.x) * size, (b.y - a.y) * size);
      const int steps = std::max(1, static_cast<int>(std::ceil(length * 2.0f)));
      for (int s = 0; s <= steps; ++s) {
        const float t = float(s) / float(steps);
        Stamp(image, (a.x + (b.x - a.x) * t) * size, (a.y + (b.y - a.y) * t) * size, kRadius);
      }
    }
  }
  return image;
}

bool IsMapTrack(const datagen::Rgba& texel) { return texel == kTrack; }

}  // namespace course
