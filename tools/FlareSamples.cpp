// The lens-flare textures "textures\common\flare00" to "flare05" (materials in
// data/scripts/flares.shader): grey-scale discs, rings and a soft glow on black. The
// flares add them to the frame tinted by their vertex colours, so black adds nothing.
// Small procedural pictures with their mip chains, the same bytes on every run.
#include "tools/DdsWriter.h"
#include "tools/Step.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace {

using datagen::DdsFormat;
using datagen::RgbaImage;

constexpr int kSize = 64;

/// A grey picture whose brightness is a function of the distance r from the centre
/// (1 at the middle of an edge).
RgbaImage RadialPicture(const std::function<float(float)>& brightness) {
  RgbaImage image(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const float r = std::hypot((x + 0.5f) / kSize - 0.5f, (y + 0.5f) / kSize - 0.5f) * 2.0f;
      const auto level = static_cast<std::uint8_t>(std::lround(std::clamp(brightness(r), 0.0f, 1.0f) * 255.0f));
      image.At(x, y) = {level, level, level, level};
    }
  }
  return image;
}

/// 1 inside the radius, falling to 0 over the soft edge.
float Disc(float r, float radius, float edge) { return std::clamp((radius - r) / edge + 0.5f, 0.0f, 1.0f); }

/// A band around the radius of the given half width.
float Ring(float r, float radius, float halfWidth) {
  return std::max(0.0f, 1.0f - std::fabs(r - radius) / halfWidth);
}

bool WriteFlareTextures(datagen::Output& out) {
  const std::function<float(float)> pictures[] = {
      // 00: a small hard disc
      [](float r) { return Disc(r, 0.5f, 0.08f); },
      // 01: a wide faint disc with a brighter rim
      [](float r) { return 0.35f * Disc(r, 0.9f, 0.1f) + 0.5f * Ring(r, 0.85f, 0.08f); },
      // 02: a soft disc
      [](float r) { return std::pow(std::max(0.0f, 1.0f - r), 1.5f); },
      // 03: a thin ring
      [](float r) { return Ring(r, 0.7f, 0.12f); },
      // 04: a disc fading to its edge
      [](float r) { return Disc(r, 0.8f, 0.15f) * (1.0f - 0.6f * r); },
      // 05: the glow around the light: a bright core in a wide halo
      [](float r) { return std::max(std::pow(std::max(0.0f, 1.0f - r), 3.0f), Disc(r, 0.15f, 0.1f)); },
  };
  bool ok = true;
  for (int i = 0; i < 6; ++i) {
    char path[64];
    std::snprintf(path, sizeof path, "data/textures/common/flare%02d.dds", i);
    ok = out.Write(path, datagen::EncodeDds(RadialPicture(pictures[i]), {DdsFormat::Dxt1, true})) && ok;
  }
  return ok;
}

const datagen::StepRegistrar kFlares{{"flares", "textures of the lens flares", &WriteFlareTextures}};

}  // namespace
