// The textures of the athletes' gear named by the sample profiles and material scripts
// (data/profiles/playerprofiles.data, data/scripts/athletes.shader): suits in the
// nations' colours, poles, rifle and skis, the 31 start-number bibs
// ("textures\lyziari\startnum01" .. "31", whose default materials take the texture of
// their own name) and the pale, half-transparent gear of the recorded run's ghost.
#include "tools/DdsWriter.h"
#include "tools/Step.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using datagen::DdsFormat;
using datagen::Rgba;
using datagen::RgbaImage;

std::uint8_t Byte(float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

struct Colour3 {
  float r, g, b;
};

Rgba Shade(const Colour3& c, float light, float alpha = 1.0f) {
  return {Byte(c.r * light), Byte(c.g * light), Byte(c.b * light), Byte(alpha)};
}

RgbaImage Picture(int w, int h, const std::function<Rgba(float, float)>& texel) {
  RgbaImage img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.At(x, y) = texel((x + 0.5f) / w, (y + 0.5f) / h);
  return img;
}

/// A suit: the nation's colour with a lighter band across the chest and darker sides.
RgbaImage Dress(const Colour3& colour) {
  return Picture(64, 64, [colour](float u, float v) {
    const bool band = v > 0.3f && v < 0.42f;
    const float side = 0.8f + 0.2f * std::sin(u * 3.14159265f);
    return band ? Shade({1.0f, 1.0f, 1.0f}, 0.95f) : Shade(colour, side);
  });
}

/// Rows of a 3 x 5 pixel digit, top first, bit 2 the left column.
constexpr std::array<std::array<std::uint8_t, 5>, 10> kDigits = {{
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
}};

/// A white bib with the start number in black, two digits of 3 x 5 cells of 6 texels.
RgbaImage Bib(int number) {
  constexpr int kSize = 64, kCell = 6, kTop = (kSize - 5 * kCell) / 2;
  RgbaImage img(kSize, kSize, Rgba{245, 245, 240, 255});
  const int digits[2] = {number / 10, number % 10};
  const int left = (kSize - 7 * kCell) / 2;  // two digits of 3 cells and one cell apart
  for (int d = 0; d < 2; ++d) {
    for (int row = 0; row < 5; ++row) {
      for (int col = 0; col < 3; ++col) {
        if (!(kDigits[std::size_t(digits[d])][std::size_t(row)] & (4 >> col))) continue;
        for (int y = 0; y < kCell; ++y)
          for (int x = 0; x < kCell; ++x) img.At(left + (4 * d + col) * kCell + x, kTop + row * kCell + y) = {15, 15, 20, 255};
      }
    }
  }
  for (int i = 0; i < kSize; ++i) {  // a red edge
    img.At(i, 0) = img.At(i, kSize - 1) = img.At(0, i) = img.At(kSize - 1, i) = {200, 30, 30, 255};
  }
  return img;
}

bool WriteAthleteTextures(datagen::Output& out) {
  struct Texture {
    std::string name;
    DdsFormat format;
    RgbaImage picture;
  };
  std::vector<Texture> textures;
  const std::pair<const char*, Colour3> suits[] = {
      {"black", {0.15f, 0.15f, 0.18f}}, {"red", {0.8f, 0.1f, 0.12f}},   {"blue", {0.12f, 0.25f, 0.75f}},
      {"white", {0.9f, 0.9f, 0.92f}},   {"green", {0.1f, 0.55f, 0.2f}}, {"yellow", {0.95f, 0.8f, 0.1f}},
      {"orange", {0.95f, 0.45f, 0.08f}},
  };
  for (const auto& [name, colour] : suits) {
    textures.push_back({std::string("lyziari/dress_") + name, DdsFormat::Dxt1, Dress(colour)});
  }
  // The special dress a career of the special name puts on the female athletes.
  textures.push_back({"lyziari/dress00", DdsFormat::Dxt1, Dress({0.85f, 0.25f, 0.6f})});
  const std::pair<const char*, Colour3> skis[] = {
      {"red", {0.85f, 0.15f, 0.1f}}, {"blue", {0.15f, 0.3f, 0.85f}}, {"white", {0.92f, 0.92f, 0.92f}}};
  for (const auto& [name, skiColour] : skis) {
    const Colour3 colour = skiColour;  // clang 14 cannot capture a structured binding
    textures.push_back({std::string("lyziari/ski_") + name, DdsFormat::Dxt1, Picture(16, 64, [colour](float u, float v) {
                          return std::fabs(u - 0.5f) < 0.1f ? Shade({0.1f, 0.1f, 0.1f}, 1.0f) : Shade(colour, 0.9f + 0.1f * v);
                        })});
  }
  textures.push_back({"lyziari/sticks", DdsFormat::Dxt1, Picture(8, 64, [](float, float v) {
                        return v < 0.12f ? Shade({0.1f, 0.1f, 0.1f}, 1.0f) : Shade({0.7f, 0.72f, 0.75f}, 0.85f + 0.15f * v);
                      })});
  textures.push_back({"lyziari/gun", DdsFormat::Dxt1, Picture(64, 16, [](float u, float v) {
                        const bool stock = u < 0.35f;
                        return stock ? Shade({0.45f, 0.28f, 0.15f}, 0.8f + 0.2f * v) : Shade({0.2f, 0.2f, 0.22f}, 0.9f);
                      })});
  for (int n = 1; n <= 31; ++n) {
    const std::string number = (n < 10 ? "0" : "") + std::to_string(n);
    textures.push_back({"lyziari/startnum" + number, DdsFormat::Dxt1, Bib(n)});
  }
  // The ghost: pale blue-white, about half transparent, a little stronger at the edges.
  for (const char* part : {"dress", "gun", "ski", "sticks"}) {
    textures.push_back({std::string("lyziari/duch_") + part, DdsFormat::Dxt5, Picture(32, 32, [](float u, float v) {
                          const float edge = std::max(std::fabs(u - 0.5f), std::fabs(v - 0.5f)) * 2.0f;
                          return Shade({0.85f, 0.92f, 1.0f}, 1.0f, 0.35f + 0.25f * edge * edge);
                        })});
  }
  bool ok = true;
  for (const Texture& t : textures) {
    ok = out.Write("data/textures/" + t.name + ".dds", datagen::EncodeDds(t.picture, {t.format, true})) && ok;
  }
  return ok;
}

const datagen::StepRegistrar kAthletes{{"athletes", "textures of the athletes' gear, bibs and ghost", &WriteAthleteTextures}};

}  // namespace
