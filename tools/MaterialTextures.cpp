#include "tools/MaterialTextures.h"

#include "tools/DdsWriter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>

namespace tools {
namespace {

using platform::PixelFormat;
using platform::Rgba8;
using platform::RgbaImage;

constexpr float kPi = 3.14159265f;

/// The fixed font's typeface (Debian's fonts-dejavu-core).
constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

RgbaImage Picture(std::uint32_t w, std::uint32_t h, const std::function<Rgba8(float, float)>& pixel) {
  RgbaImage img{w, h, 1, std::vector<Rgba8>(std::size_t{w} * h)};
  for (std::uint32_t y = 0; y < h; ++y)
    for (std::uint32_t x = 0; x < w; ++x) img.pixels[std::size_t{y} * w + x] = pixel((x + 0.5f) / w, (y + 0.5f) / h);
  return img;
}

std::uint8_t Byte(float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }
Rgba8 Colour(float r, float g, float b, float a = 1.0f) { return {Byte(r), Byte(g), Byte(b), Byte(a)}; }

/// Deterministic value noise in 0..1 from integer lattice coordinates.
float Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

/// Smooth noise that tiles with the given period (in lattice cells).
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

/// 256 characters in a 16 x 16 grid of 16-pixel cells, white with the glyph's
/// coverage as alpha; character c sits in column c & 15, row c >> 4.
RgbaImage FixedFont() {
  RgbaImage img{256, 256, 1, std::vector<Rgba8>(256 * 256, Rgba8{255, 255, 255, 0})};
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, kFontFile, 0, &face) != 0) {
    std::fprintf(stderr, "datagen: cannot open %s, the fixed font stays empty\n", kFontFile);
    if (library) FT_Done_FreeType(library);
    return img;
  }
  FT_Set_Pixel_Sizes(face, 0, 14);
  const int baseline = 12;
  for (int c = 33; c < 256; ++c) {
    if (c >= 127 && c < 161) continue;  // control characters of Latin-1
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot glyph = face->glyph;
    const int cellX = (c & 15) * 16, cellY = (c >> 4) * 16;
    const int left = cellX + (15 - static_cast<int>(glyph->bitmap.width)) / 2;
    const int top = cellY + baseline - glyph->bitmap_top;
    for (unsigned row = 0; row < glyph->bitmap.rows; ++row)
      for (unsigned col = 0; col < glyph->bitmap.width; ++col) {
        const int x = left + static_cast<int>(col), y = top + static_cast<int>(row);
        if (x < cellX || x >= cellX + 15 || y < cellY || y >= cellY + 16) continue;
        img.pixels[std::size_t(y) * 256 + x].a = glyph->bitmap.buffer[row * glyph->bitmap.pitch + col];
      }
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return img;
}

float Radial(float u, float v) { return std::hypot(u - 0.5f, v - 0.5f) * 2.0f; }

struct Texture {
  std::string name;
  PixelFormat format;
  RgbaImage picture;
};

std::vector<Texture> GuiTextures() {
  std::vector<Texture> out;
  out.push_back({"gfx/2d/bigchars", PixelFormat::A8R8G8B8, FixedFont()});
  out.push_back({"gfx/2d/console", PixelFormat::Dxt1, Picture(128, 128, [](float u, float v) {
                   const float n = Noise(u, v, 8, 1) * 0.08f;
                   return Colour(0.05f + n, 0.1f + n + 0.1f * v, 0.25f + 0.2f * v + n);
                 })});
  out.push_back({"gfx/2d/console_noise", PixelFormat::Dxt1, Picture(64, 64, [](float u, float v) {
                   const float n = Noise(u, v, 16, 2) * 0.25f;
                   return Colour(n, n, n * 1.2f);
                 })});
  out.push_back({"gfx/2d/hmla", PixelFormat::Dxt5, Picture(128, 128, [](float u, float v) {
                   const float mist = (1.0f - std::min(1.0f, Radial(u, v))) * (0.6f + 0.4f * Noise(u, v, 4, 3));
                   return Colour(0.92f, 0.94f, 0.97f, mist);
                 })});
  return out;
}

std::vector<Texture> CourseTextures() {
  std::vector<Texture> out;
  out.push_back({"textures/snow/track", PixelFormat::Dxt1, Picture(128, 128, [](float u, float v) {
                   const float groove = 0.5f + 0.5f * std::cos(u * 2 * kPi * 4);
                   const float n = Noise(u, v, 16, 4) * 0.1f;
                   const float s = 0.86f + n - 0.08f * groove * groove * groove;
                   return Colour(s, s + 0.02f, s + 0.07f);
                 })});
  out.push_back({"textures/snow/sparkle", PixelFormat::Dxt1, Picture(64, 64, [](float u, float v) {
                   const float d = Hash(static_cast<int>(u * 64), static_cast<int>(v * 64), 5);
                   const float s = d > 0.97f ? 1.0f : 0.0f;
                   return Colour(s, s, s);
                 })});
  out.push_back({"textures/sky/clouds", PixelFormat::Dxt1, Picture(128, 128, [](float u, float v) {
                   const float c = std::clamp((Noise(u, v, 4, 6) * 0.7f + Noise(u, v, 8, 7) * 0.3f - 0.45f) * 2.5f, 0.0f, 1.0f);
                   return Colour(0.35f + 0.6f * c, 0.55f + 0.42f * c, 0.9f + 0.08f * c);
                 })});
  out.push_back({"textures/trees/spruce", PixelFormat::Dxt5, Picture(64, 128, [](float u, float v) {
                   const float tier = std::fmod(v * 4.0f, 1.0f);  // four stacked triangles
                   const float half = 0.12f + 0.3f * tier * (0.4f + 0.6f * v);
                   const bool needles = v < 0.9f && std::fabs(u - 0.5f) < half;
                   const bool trunk = v >= 0.9f && std::fabs(u - 0.5f) < 0.05f;
                   if (trunk) return Colour(0.3f, 0.2f, 0.12f);
                   if (!needles) return Colour(0.1f, 0.3f, 0.15f, 0.0f);
                   const float shade = 0.8f + 0.2f * Noise(u, v, 8, 8);
                   return Colour(0.1f * shade, 0.35f * shade, 0.18f * shade);
                 })});
  for (int frame = 0; frame < 3; ++frame) {
    out.push_back({"textures/water/lake0" + std::to_string(frame + 1), PixelFormat::Dxt5,
                   Picture(64, 64, [frame](float u, float v) {
                     const float w = 0.5f + 0.5f * std::sin((u + v + frame / 3.0f) * 2 * kPi * 2);
                     return Colour(0.1f + 0.1f * w, 0.3f + 0.15f * w, 0.5f + 0.2f * w, 0.7f);
                   })});
  }
  out.push_back({"textures/water/lake_lm", PixelFormat::Dxt1,
                 Picture(64, 64, [](float u, float v) { return Colour(0.6f + 0.4f * u, 0.6f + 0.4f * u, 0.7f + 0.3f * v); })});
  const std::pair<Rgba8, Rgba8> bannerColours[] = {
      {Colour(0.8f, 0.1f, 0.1f), Colour(1, 1, 1)}, {Colour(0.1f, 0.3f, 0.8f), Colour(1, 0.9f, 0.2f)},
      {Colour(0.1f, 0.6f, 0.2f), Colour(1, 1, 1)}};
  for (int frame = 0; frame < 3; ++frame) {
    const auto [a, b] = bannerColours[frame];
    out.push_back({"textures/stadium/banner0" + std::to_string(frame + 1), PixelFormat::Dxt1,
                   Picture(128, 64, [a, b](float u, float) { return std::fmod(u * 8.0f, 1.0f) < 0.5f ? a : b; })});
  }
  out.push_back({"textures/stadium/lamp", PixelFormat::Dxt1, Picture(32, 32, [](float u, float v) {
                   const float l = 1.0f - std::min(1.0f, Radial(u, v));
                   return Colour(l, l * 0.9f, l * 0.5f);
                 })});
  out.push_back({"textures/range/target", PixelFormat::Dxt5, Picture(64, 64, [](float u, float v) {
                   const float r = Radial(u, v);
                   if (r > 1.0f) return Colour(1, 1, 1, 0);
                   const bool black = r < 0.45f || (r > 0.7f && r < 0.8f);
                   return black ? Colour(0.05f, 0.05f, 0.05f) : Colour(0.95f, 0.95f, 0.95f);
                 })});
  out.push_back({"textures/range/flare", PixelFormat::Dxt1, Picture(64, 64, [](float u, float v) {
                   const float l = std::pow(1.0f - std::min(1.0f, Radial(u, v)), 2.0f);
                   return Colour(l, l, l * 0.9f);
                 })});
  return out;
}

std::vector<Texture> AllTextures() {
  std::vector<Texture> all = GuiTextures();
  for (Texture& t : CourseTextures()) all.push_back(std::move(t));
  return all;
}

}  // namespace

std::vector<std::string> MaterialTextureNames() {
  std::vector<std::string> names;
  for (const Texture& t : AllTextures()) names.push_back(t.name);
  return names;
}

bool WriteMaterialTextures(const std::string& gameRoot) {
  bool ok = true;
  for (const Texture& t : AllTextures()) {
    ok = WriteBinaryFile(gameRoot + "/data/" + t.name + ".dds", MakeDds(t.format, t.picture)) && ok;
  }
  return ok;
}

}  // namespace tools
