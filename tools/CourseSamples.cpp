// Step "courses": the sample race courses below "data\levels\" (each with its ".cfg",
// and its fog variant "fog_<name>.alf" for weather other than 0), the textures of the
// course materials (data/scripts/levels.shader) and the synthesised sounds of the
// levels' sound shaders (data/scripts/Sounds/levels.ssd).
#include "tools/Course.h"
#include "tools/DdsWriter.h"
#include "tools/Step.h"
#include "tools/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using datagen::DdsFormat;
using datagen::Rgba;
using datagen::RgbaImage;

constexpr float kPi = 3.14159265f;
constexpr int kRate = 22050;

/// Deterministic lattice noise in 0..1, tiling with the period.
float Noise(float u, float v, int period, std::uint32_t seed) {
  auto hash = [&](int x, int y) {
    std::uint32_t h = std::uint32_t((x % period + period) % period) * 374761393u +
                      std::uint32_t((y % period + period) % period) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
  };
  const float x = u * float(period), y = v * float(period);
  const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
  const float fx = x - float(x0), fy = y - float(y0);
  const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const float top = hash(x0, y0) + (hash(x0 + 1, y0) - hash(x0, y0)) * sx;
  const float bottom = hash(x0, y0 + 1) + (hash(x0 + 1, y0 + 1) - hash(x0, y0 + 1)) * sx;
  return top + (bottom - top) * sy;
}

std::uint8_t Byte(float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }
Rgba Colour(float r, float g, float b) { return {Byte(r), Byte(g), Byte(b), 255}; }

RgbaImage Picture(int w, int h, const std::function<Rgba(float, float)>& texel) {
  RgbaImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.At(x, y) = texel((float(x) + 0.5f) / float(w), (float(y) + 0.5f) / float(h));
  return image;
}

bool WriteTextures(datagen::Output& out) {
  const std::pair<const char*, RgbaImage> textures[] = {
      {"snow", Picture(128, 128, [](float u, float v) {
         const float s = 0.9f + 0.07f * Noise(u, v, 16, 31) - 0.04f * Noise(u, v, 4, 32);
         return Colour(s, s + 0.01f, s + 0.05f);
       })},
      // The groomed track: a shade darker than the snow, a classic track's two grooves
      // near its left edge (u runs across the track, v along it).
      {"track", Picture(64, 128, [](float u, float v) {
         const float groove = (std::fabs(u - 0.17f) < 0.025f || std::fabs(u - 0.29f) < 0.025f) ? 0.12f : 0.0f;
         const float s = 0.76f + 0.06f * Noise(u, v, 8, 36) - groove + 0.03f * std::sin(v * 2 * kPi * 16);
         return Colour(s * 0.97f, s, s * 1.06f);
       })},
      {"stand", Picture(64, 64, [](float u, float v) {
         const float plank = std::fmod(v * 4.0f, 1.0f) < 0.08f ? 0.6f : 1.0f;
         const float wood = (0.45f + 0.1f * Noise(u, v, 8, 33)) * plank;
         return Colour(wood * 1.2f, wood * 0.9f, wood * 0.6f);
       })},
      {"gate", Picture(64, 32, [](float u, float) {
         return std::fmod(u * 4.0f, 1.0f) < 0.5f ? Colour(0.85f, 0.12f, 0.1f) : Colour(0.96f, 0.96f, 0.96f);
       })},
      {"mat", Picture(32, 32, [](float u, float v) {
         const float n = 0.8f + 0.2f * Noise(u, v, 8, 34);
         return Colour(0.15f * n, 0.45f * n, 0.2f * n);
       })},
      {"frame", Picture(64, 32, [](float u, float v) {
         const float d = std::hypot(std::fmod(u * 5.0f, 1.0f) - 0.5f, (v - 0.5f) * 0.5f);
         return d < 0.3f ? Colour(0.08f, 0.08f, 0.08f) : Colour(0.95f, 0.95f, 0.95f);
       })},
      {"banner", Picture(128, 32, [](float u, float v) {
         const bool band = std::fmod(u * 6.0f, 1.0f) < 0.5f;
         const bool stripe = v > 0.8f || v < 0.2f;
         return stripe ? Colour(1.0f, 0.85f, 0.1f) : band ? Colour(0.1f, 0.25f, 0.7f) : Colour(0.95f, 0.95f, 1.0f);
       })},
      {"snowcat", Picture(32, 32, [](float u, float v) {
         const float n = 0.85f + 0.15f * Noise(u, v, 4, 35);
         return Colour(0.95f * n, 0.45f * n, 0.08f * n);
       })},
  };
  bool ok = true;
  for (const auto& [name, picture] : textures) {
    ok = out.Write(std::string("data/textures/course/") + name + ".dds",
                   datagen::EncodeDds(picture, {DdsFormat::Dxt1, true})) &&
         ok;
  }
  return ok;
}

/// Low-passed noise over the seconds, with a slow swell; the ends meet for looping.
std::vector<float> Rumble(double seconds, double cutoff, double swell, float loudness, std::uint32_t seed) {
  std::vector<float> samples(std::size_t(seconds * kRate));
  std::uint32_t state = seed;
  const double alpha = 1.0 - std::exp(-2.0 * double(kPi) * cutoff / kRate);
  double low = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    state = state * 1664525u + 1013904223u;
    low += alpha * (double(state >> 8) / 8388608.0 - 1.0 - low);
    const double t = double(i) / double(samples.size());
    const double envelope = 0.6 + 0.4 * std::sin(2.0 * double(kPi) * swell * t);
    const double fade = std::min(1.0, std::min(t, 1.0 - t) * 40.0);  // the loop's seam is silent
    samples[i] = float(low * envelope * fade * loudness * 3.0);
  }
  return samples;
}

std::vector<float> Engine(double seconds) {
  std::vector<float> samples(std::size_t(seconds * kRate));
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double t = double(i) / kRate;
    const double f = 2.0 * double(kPi) * 42.0 * t;  // a whole number of cycles in the loop
    samples[i] = float(0.3 * std::sin(f) + 0.15 * std::sin(2.0 * f) + 0.08 * std::sin(3.0 * f));
  }
  return samples;
}

bool WriteSounds(datagen::Output& out) {
  const std::pair<const char*, std::vector<float>> sounds[] = {
      {"crowd", Rumble(4.0, 900.0, 2.0, 0.5f, 71)},
      {"wind", Rumble(6.0, 250.0, 1.0, 0.6f, 72)},
      {"engine", Engine(2.0)},
  };
  bool ok = true;
  for (const auto& [name, samples] : sounds) {
    ok = out.Write(std::string("data/sounds/ambient/") + name + ".wav", tools::EncodeWav(tools::ToPcm16(samples), 1, kRate)) &&
         ok;
  }
  return ok;
}

bool WriteCourses(datagen::Output& out) {
  bool ok = WriteTextures(out) && WriteSounds(out);
  for (const course::Layout& layout : course::Layouts()) {
    const course::Course built = course::BuildCourse(layout);
    for (const bool fog : {false, true}) ok = course::WriteCourse(out, built, layout.name, fog) && ok;
  }
  return ok;
}

const datagen::StepRegistrar kCourses{{"courses", "the sample race courses with their textures and sounds", &WriteCourses}};

}  // namespace
