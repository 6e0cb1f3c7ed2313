#include "tools/TexturePictures.h"

#include "tools/DdsWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace datagen {
namespace {

using Rgba8 = Rgba;

void Put(RgbaImage& img, int x, int y, Rgba8 c) {
  if (x < 0 || y < 0 || x >= img.Width() || y >= img.Height()) return;
  img.At(x, y) = c;
}

std::uint8_t Lerp(std::uint8_t a, std::uint8_t b, float t) {
  return static_cast<std::uint8_t>(std::lround(a + (b - a) * std::clamp(t, 0.0f, 1.0f)));
}

Rgba8 Lerp(Rgba8 a, Rgba8 b, float t) { return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t), 255}; }

/// Letters of the title, 5 x 7, one row per string ('#' set).
const std::array<std::string_view, 7>* Glyph(char c) {
  static const std::array<std::string_view, 7> kN{"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"};
  static const std::array<std::string_view, 7> kA{".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
  static const std::array<std::string_view, 7> kV{"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."};
  static const std::array<std::string_view, 7> kO{".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
  static const std::array<std::string_view, 7> kB{"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."};
  static const std::array<std::string_view, 7> kI{"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"};
  static const std::array<std::string_view, 7> kT{"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."};
  static const std::array<std::string_view, 7> kH{"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
  static const std::array<std::string_view, 7> kL{"#....", "#....", "#....", "#....", "#....", "#....", "#####"};
  // Digits, for the numbered pictures of the menus.
  static const std::array<std::array<std::string_view, 7>, 10> kDigits{{
      {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
      {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
      {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
      {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
      {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
      {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
      {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
      {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
      {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
      {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
  }};
  if (c >= '0' && c <= '9') return &kDigits[static_cast<std::size_t>(c - '0')];
  switch (c) {
    case 'N': return &kN;
    case 'A': return &kA;
    case 'V': return &kV;
    case 'O': return &kO;
    case 'B': return &kB;
    case 'I': return &kI;
    case 'T': return &kT;
    case 'H': return &kH;
    case 'L': return &kL;
    default: return nullptr;
  }
}

/// Draws text centred on cx with cells of `scale` pixels and a dark shadow.
void DrawTitle(RgbaImage& img, std::string_view text, int cx, int top, int scale, Rgba8 colour) {
  const int advance = 6 * scale;
  const int left = cx - (int(text.size()) * advance - scale) / 2;
  for (int pass = 0; pass < 2; ++pass) {
    const int shift = pass == 0 ? scale / 3 + 1 : 0;
    const Rgba8 c = pass == 0 ? Rgba8{20, 30, 60, 255} : colour;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto* g = Glyph(text[i]);
      if (!g) continue;
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col) {
          if ((*g)[row][col] != '#') continue;
          for (int y = 0; y < scale; ++y)
            for (int x = 0; x < scale; ++x)
              Put(img, left + int(i) * advance + col * scale + x + shift, top + row * scale + y + shift, c);
        }
    }
  }
}

/// A fir: stacked triangles over a trunk, its foot at (x, y).
void DrawTree(RgbaImage& img, int x, int y, int height) {
  const Rgba8 trunk{70, 50, 35, 255}, dark{25, 70, 45, 255}, light{45, 100, 60, 255};
  for (int t = 0; t < height / 8; ++t)
    for (int w = -height / 24; w <= height / 24; ++w) Put(img, x + w, y - t, trunk);
  const int crown = height - height / 8;
  for (int t = 0; t < crown; ++t) {
    const float f = float(t % (crown / 3 + 1)) / float(crown / 3 + 1);  // three tiers
    const int half = int((1.0f - float(t) / crown) * height / 3 * (0.6f + 0.4f * f));
    for (int w = -half; w <= half; ++w) Put(img, x + w, y - height / 8 - t, w < 0 ? dark : light);
  }
}

float Ridge(float x) { return 60 * std::sin(x * 0.011f) + 35 * std::sin(x * 0.027f + 1.3f) + 15 * std::sin(x * 0.071f); }

}  // namespace

void DrawGlyphText(RgbaImage& img, std::string_view text, int cx, int top, int scale, Rgba colour) {
  DrawTitle(img, text, cx, top, scale, colour);
}

RgbaImage DefaultTexturePicture() {
  RgbaImage img(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool light = ((x / 8) + (y / 8)) % 2 == 0;
      img.At(x, y) = light ? Rgba8{200, 200, 200, 255} : Rgba8{128, 128, 128, 255};
    }
  return img;
}

RgbaImage SplashPicture() {
  constexpr int kW = kSplashWidth, kH = kSplashHeight, kHorizon = 360;
  RgbaImage img(kW, kH);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      Rgba8 c = Lerp({25, 60, 140, 255}, {175, 205, 235, 255}, float(y) / kHorizon);  // sky
      const float mountain = kHorizon - 90 - Ridge(float(x));
      if (y >= mountain) c = y < mountain + 25 ? Rgba8{235, 240, 250, 255} : Rgba8{95, 110, 140, 255};
      const float hill = kHorizon - 10 * std::sin(x * 0.009f + 0.5f);
      if (y >= hill) c = Lerp({250, 252, 255, 255}, {200, 215, 235, 255}, float(y - hill) / (kH - hill));
      // Two ski tracks curving towards the horizon.
      const float track = 400 + (y - kHorizon) * 0.9f * std::sin(y * 0.01f);
      if (y > kHorizon + 5 && (std::fabs(x - track) < 1.5f || std::fabs(x - track - 12) < 1.5f))
        c = Rgba8{170, 185, 210, 255};
      img.At(x, y) = c;
    }
  }
  for (int i = 0; i < 14; ++i) {
    const int x = 30 + i * 57 + (i % 3) * 9;
    const int foot = kHorizon + 20 + (i * 37) % 60;
    if (x > 340 && x < 480) continue;  // keep the track clear
    DrawTree(img, x, foot, 90 + (i * 53) % 70);
  }
  DrawTitle(img, "NAVO", kW / 2, 70, 18, {255, 255, 255, 255});
  DrawTitle(img, "BIATHLON", kW / 2, 210, 6, {255, 215, 80, 255});
  return img;
}

std::vector<std::uint8_t> SplashDds() { return EncodeDds(SplashPicture(), {DdsFormat::Dxt1, false}); }

}  // namespace datagen
