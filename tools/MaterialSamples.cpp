// The textures named by the sample material scripts (data/scripts/*.shader and the IFL
// lists they name), apart from the fixed font, which the fonts step writes: the
// console, the mist overlay and the course materials. Small procedural pictures with
// their mip chains, the same bytes on every run.
#include "tools/DdsWriter.h"
#include "tools/Step.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using datagen::DdsFormat;
using datagen::Rgba;
using datagen::RgbaImage;

constexpr float kPi = 3.14159265f;

/// A picture from a function of the texel centre's (u, v) in 0..1.
RgbaImage Picture(int w, int h, const std::function<Rgba(float, float)>& texel) {
  RgbaImage img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.At(x, y) = texel((x + 0.5f) / w, (y + 0.5f) / h);
  return img;
}

std::uint8_t Byte(float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }
Rgba Colour(float r, float g, float b, float a = 1.0f) { return {Byte(r), Byte(g), Byte(b), Byte(a)}; }

/// Deterministic lattice values in 0..1.
float Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

/// Smooth value noise that tiles with the period (in lattice cells).
float Noise(float u, float v, int period, int seed) {
  const float x = u * period, y = v * period;
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const float fx = x - x0, fy = y - y0;
  auto at = [&](int i, int j) { return Hash(((i % period) + period) % period, ((j % period) + period) % period, seed); };
  const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
  const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
  return top + (bottom - top) * sy;
}

/// Distance from the centre, 1 at the middle of an edge.
float Radial(float u, float v) { return std::hypot(u - 0.5f, v - 0.5f) * 2.0f; }

struct Texture {
  std::string name;  ///< as the scripts name it: "data/<name>.dds"
  DdsFormat format;
  RgbaImage picture;
};

void AddGuiTextures(std::vector<Texture>& out) {
  out.push_back({"gfx/2d/console", DdsFormat::Dxt1, Picture(128, 128, [](float u, float v) {
                   const float n = Noise(u, v, 8, 1) * 0.08f;
                   return Colour(0.05f + n, 0.1f + n + 0.1f * v, 0.25f + 0.2f * v + n);
                 })});
  out.push_back({"gfx/2d/console_noise", DdsFormat::Dxt1, Picture(64, 64, [](float u, float v) {
                   const float n = Noise(u, v, 16, 2) * 0.25f;
                   return Colour(n, n, n * 1.2f);
                 })});
  out.push_back({"gfx/2d/hmla", DdsFormat::Dxt5, Picture(128, 128, [](float u, float v) {
                   const float mist = (1.0f - std::min(1.0f, Radial(u, v))) * (0.6f + 0.4f * Noise(u, v, 4, 3));
                   return Colour(0.92f, 0.94f, 0.97f, mist);
                 })});
}

void AddNatureTextures(std::vector<Texture>& out) {
  out.push_back({"textures/snow/track", DdsFormat::Dxt1, Picture(128, 128, [](float u, float v) {
                   const float groove = 0.5f + 0.5f * std::cos(u * 2 * kPi * 4);
                   const float s = 0.86f + Noise(u, v, 16, 4) * 0.1f - 0.08f * groove * groove * groove;
                   return Colour(s, s + 0.02f, s + 0.07f);
                 })});
  out.push_back({"textures/snow/sparkle", DdsFormat::Dxt1, Picture(64, 64, [](float u, float v) {
                   const float s = Hash(static_cast<int>(u * 64), static_cast<int>(v * 64), 5) > 0.97f ? 1.0f : 0.0f;
                   return Colour(s, s, s);
                 })});
  out.push_back({"textures/sky/clouds", DdsFormat::Dxt1, Picture(128, 128, [](float u, float v) {
                   const float c =
                       std::clamp((Noise(u, v, 4, 6) * 0.7f + Noise(u, v, 8, 7) * 0.3f - 0.45f) * 2.5f, 0.0f, 1.0f);
                   return Colour(0.35f + 0.6f * c, 0.55f + 0.42f * c, 0.9f + 0.08f * c);
                 })});
  out.push_back({"textures/trees/spruce", DdsFormat::Dxt5, Picture(64, 128, [](float u, float v) {
                   const float tier = std::fmod(v * 4.0f, 1.0f);  // four stacked triangles
                   const float half = 0.12f + 0.3f * tier * (0.4f + 0.6f * v);
                   if (v >= 0.9f) return std::fabs(u - 0.5f) < 0.05f ? Colour(0.3f, 0.2f, 0.12f) : Colour(0, 0, 0, 0);
                   if (std::fabs(u - 0.5f) >= half) return Colour(0.1f, 0.3f, 0.15f, 0.0f);
                   const float shade = 0.8f + 0.2f * Noise(u, v, 8, 8);
                   return Colour(0.1f * shade, 0.35f * shade, 0.18f * shade);
                 })});
  out.push_back({"textures/trees/needles", DdsFormat::Dxt1, Picture(64, 64, [](float u, float v) {
                   const float n = Noise(u, v, 16, 9) * 0.5f + Noise(u, v, 4, 10) * 0.5f;
                   return Colour(0.08f + 0.1f * n, 0.25f + 0.2f * n, 0.12f + 0.1f * n);
                 })});
  out.push_back({"textures/trees/bark", DdsFormat::Dxt1, Picture(32, 64, [](float u, float v) {
                   const float groove = 0.5f + 0.5f * std::cos(u * 2 * kPi * 5 + Noise(u, v, 4, 11) * 3.0f);
                   const float b = 0.25f + 0.12f * groove;
                   return Colour(b * 1.3f, b, b * 0.7f);
                 })});
  for (int frame = 0; frame < 3; ++frame) {
    out.push_back({"textures/water/lake0" + std::to_string(frame + 1), DdsFormat::Dxt5,
                   Picture(64, 64, [frame](float u, float v) {
                     const float w = 0.5f + 0.5f * std::sin((u + v + frame / 3.0f) * 2 * kPi * 2);
                     return Colour(0.1f + 0.1f * w, 0.3f + 0.15f * w, 0.5f + 0.2f * w, 0.7f);
                   })});
  }
  out.push_back({"textures/water/lake_lm", DdsFormat::Dxt1, Picture(64, 64, [](float u, float v) {
                   return Colour(0.6f + 0.4f * u, 0.6f + 0.4f * u, 0.7f + 0.3f * v);
                 })});
}

void AddStadiumTextures(std::vector<Texture>& out) {
  const std::pair<Rgba, Rgba> stripes[] = {{Colour(0.8f, 0.1f, 0.1f), Colour(1, 1, 1)},
                                           {Colour(0.1f, 0.3f, 0.8f), Colour(1, 0.9f, 0.2f)},
                                           {Colour(0.1f, 0.6f, 0.2f), Colour(1, 1, 1)}};
  for (int frame = 0; frame < 3; ++frame) {
    const auto [a, b] = stripes[frame];
    out.push_back({"textures/stadium/banner0" + std::to_string(frame + 1), DdsFormat::Dxt1,
                   Picture(128, 64, [a = a, b = b](float u, float) { return std::fmod(u * 8.0f, 1.0f) < 0.5f ? a : b; })});
  }
  out.push_back({"textures/stadium/lamp", DdsFormat::Dxt1, Picture(32, 32, [](float u, float v) {
                   const float l = 1.0f - std::min(1.0f, Radial(u, v));
                   return Colour(l, l * 0.9f, l * 0.5f);
                 })});
  out.push_back({"textures/range/target", DdsFormat::Dxt5, Picture(64, 64, [](float u, float v) {
                   const float r = Radial(u, v);
                   if (r > 1.0f) return Colour(1, 1, 1, 0);
                   const bool black = r < 0.45f || (r > 0.7f && r < 0.8f);
                   return black ? Colour(0.05f, 0.05f, 0.05f) : Colour(0.95f, 0.95f, 0.95f);
                 })});
  out.push_back({"textures/range/flare", DdsFormat::Dxt1, Picture(64, 64, [](float u, float v) {
                   const float l = std::pow(1.0f - std::min(1.0f, Radial(u, v)), 2.0f);
                   return Colour(l, l, l * 0.9f);
                 })});
}

bool WriteMaterialTextures(datagen::Output& out) {
  std::vector<Texture> textures;
  AddGuiTextures(textures);
  AddNatureTextures(textures);
  AddStadiumTextures(textures);
  bool ok = true;
  for (const Texture& t : textures) {
    ok = out.Write("data/" + t.name + ".dds", datagen::EncodeDds(t.picture, {t.format, true})) && ok;
  }
  return ok;
}

const datagen::StepRegistrar kMaterials{{"materials", "textures of the sample material scripts", &WriteMaterialTextures}};

}  // namespace
