// The textures of the particle materials (data/scripts/particles.shader): a soft
// snowflake, a smoke puff, a spark and a star-shaped glow, white in colour (the
// particles' vertex colours tint them) with their shape in the alpha. Small procedural
// pictures with their mip chains, the same bytes on every run.
#include "tools/DdsWriter.h"
#include "tools/Step.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using datagen::DdsFormat;
using datagen::Rgba;
using datagen::RgbaImage;

constexpr int kSize = 32;

/// A white picture whose alpha is a function of the texel centre's (u, v) in 0..1.
RgbaImage AlphaPicture(const std::function<float(float, float)>& alpha) {
  RgbaImage image(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const float a = std::clamp(alpha((x + 0.5f) / kSize, (y + 0.5f) / kSize), 0.0f, 1.0f);
      image.At(x, y) = {255, 255, 255, static_cast<std::uint8_t>(std::lround(a * 255.0f))};
    }
  }
  return image;
}

/// Distance from the centre, 1 at the middle of an edge.
float Radial(float u, float v) { return std::hypot(u - 0.5f, v - 0.5f) * 2.0f; }

/// Deterministic lattice values in 0..1.
float Hash(int x, int y) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

bool WriteParticleTextures(datagen::Output& out) {
  struct Texture {
    const char* name;
    RgbaImage picture;
  };
  const Texture textures[] = {
      {"snowflake", AlphaPicture([](float u, float v) { return 1.0f - Radial(u, v); })},
      {"smoke", AlphaPicture([](float u, float v) {
         const float grain = 0.7f + 0.3f * Hash(static_cast<int>(u * 8), static_cast<int>(v * 8));
         return (1.0f - Radial(u, v)) * grain * 0.8f;
       })},
      {"spark", AlphaPicture([](float u, float v) { return std::pow(std::max(0.0f, 1.0f - Radial(u, v)), 3.0f); })},
      {"glow", AlphaPicture([](float u, float v) {
         const float du = std::fabs(u - 0.5f) * 2.0f, dv = std::fabs(v - 0.5f) * 2.0f;
         const float across = std::max(0.0f, 1.0f - du * 8.0f) * (1.0f - dv);
         const float down = std::max(0.0f, 1.0f - dv * 8.0f) * (1.0f - du);
         const float rays = std::max(across, down);
         return std::max(rays, std::pow(std::max(0.0f, 1.0f - Radial(u, v)), 2.0f));
       })},
  };
  bool ok = true;
  for (const Texture& t : textures) {
    ok = out.Write(std::string("data/textures/particles/") + t.name + ".dds",
                   datagen::EncodeDds(t.picture, {DdsFormat::Dxt5, true})) &&
         ok;
  }
  return ok;
}

const datagen::StepRegistrar kParticles{{"particles", "textures of the particle materials", &WriteParticleTextures}};

}  // namespace
