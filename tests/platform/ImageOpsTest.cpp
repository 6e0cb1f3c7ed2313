#include "platform/d3dx9/DdsImage.h"
#include "platform/d3dx9/ImageOps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using platform::PixelFormat;
using platform::Rgba8;
using platform::RgbaImage;

TEST(ImageOps, PixelsPackAndUnpackPerFormat) {
  struct Case {
    PixelFormat format;
    std::vector<std::uint8_t> bytes;  ///< one pixel
    Rgba8 pixel;                      ///< what it reads as, and packs back from
  };
  const std::vector<Case> cases = {
      {PixelFormat::R8G8B8, {0x30, 0x20, 0x10}, {0x10, 0x20, 0x30, 255}},
      {PixelFormat::A8R8G8B8, {0x30, 0x20, 0x10, 0x40}, {0x10, 0x20, 0x30, 0x40}},
      {PixelFormat::X8R8G8B8, {0x30, 0x20, 0x10, 0xFF}, {0x10, 0x20, 0x30, 255}},
      {PixelFormat::R5G6B5, {0x1F, 0xF8}, {255, 0, 255, 255}},
      {PixelFormat::R5G6B5, {0xE0, 0x07}, {0, 255, 0, 255}},
      {PixelFormat::A4R4G4B4, {0x5A, 0x8F}, {0xFF, 0x55, 0xAA, 0x88}},
      {PixelFormat::X4R4G4B4, {0x5A, 0xFF}, {0xFF, 0x55, 0xAA, 255}},
      {PixelFormat::A1R5G5B5, {0x1F, 0x7C}, {255, 0, 255, 0}},
      {PixelFormat::A1R5G5B5, {0xE0, 0x83}, {0, 255, 0, 255}},
      {PixelFormat::X1R5G5B5, {0x1F, 0xFC}, {255, 0, 255, 255}},
      {PixelFormat::A8, {0x40}, {0, 0, 0, 0x40}},
      {PixelFormat::L8, {0x80}, {0x80, 0x80, 0x80, 255}},
      {PixelFormat::A8L8, {0x80, 0x40}, {0x80, 0x80, 0x80, 0x40}},
  };
  for (const Case& c : cases) {
    const std::string name = platform::FormatName(c.format);
    ASSERT_EQ(c.bytes.size(), platform::BytesPerPixel(c.format)) << name;
    Rgba8 px;
    platform::UnpackRow(c.format, c.bytes.data(), {&px, 1});
    EXPECT_EQ(px, c.pixel) << name;
    std::vector<std::uint8_t> back(c.bytes.size());
    platform::PackRow(c.format, {&c.pixel, 1}, back.data());
    EXPECT_EQ(back, c.bytes) << name;
  }
  // Packing rounds to the nearest level: 0x84 is nearer 16 (0x84) than 15 in 5 bits.
  const Rgba8 mid{0x84, 0x82, 0x7B, 255};
  std::uint8_t b[2];
  platform::PackRow(PixelFormat::R5G6B5, {&mid, 1}, b);
  EXPECT_EQ(b[0] | (b[1] << 8), (16 << 11) | (32 << 5) | 15);
}

TEST(ImageOps, SizesOfLevels) {
  struct Case {
    PixelFormat format;
    std::uint32_t w, h;
    std::uint64_t bytes;
  };
  const Case cases[] = {{PixelFormat::Dxt1, 1, 1, 8},       {PixelFormat::Dxt1, 800, 600, 240000},
                        {PixelFormat::Dxt5, 5, 5, 64},      {PixelFormat::R8G8B8, 3, 2, 18},
                        {PixelFormat::A4R4G4B4, 16, 16, 512}, {PixelFormat::X8R8G8B8, 2, 2, 16}};
  for (const Case& c : cases) EXPECT_EQ(platform::SurfaceBytes(c.format, c.w, c.h), c.bytes);
  EXPECT_EQ(platform::FullMipCount(1, 1), 1u);
  EXPECT_EQ(platform::FullMipCount(256, 32), 9u);
  EXPECT_EQ(platform::FullMipCount(4, 4, 64), 7u);
}

RgbaImage Grey(std::uint32_t w, std::uint32_t h, std::uint32_t d, std::vector<int> values) {
  RgbaImage img{w, h, d, {}};
  for (int v : values) img.pixels.push_back({std::uint8_t(v), std::uint8_t(v), std::uint8_t(v), 255});
  return img;
}

TEST(ImageOps, ResamplingAveragesTheCoveredArea) {
  struct Case {
    const char* name;
    RgbaImage in;
    std::uint32_t w, h, d;
    std::vector<int> out;
  };
  const std::vector<Case> cases = {
      {"2x2 box", Grey(2, 2, 1, {0, 100, 200, 100}), 1, 1, 1, {100}},
      {"row halves", Grey(4, 1, 1, {10, 20, 30, 50}), 2, 1, 1, {15, 40}},
      {"odd width", Grey(3, 1, 1, {0, 30, 90}), 1, 1, 1, {40}},
      {"three to two", Grey(3, 1, 1, {0, 30, 90}), 2, 1, 1, {10, 70}},
      {"volume halves", Grey(2, 1, 2, {0, 40, 80, 120}), 1, 1, 1, {60}},
      {"depth only", Grey(1, 1, 4, {0, 10, 20, 30}), 1, 1, 2, {5, 25}},
      {"enlarge repeats", Grey(2, 1, 1, {10, 90}), 4, 1, 1, {10, 10, 90, 90}},
  };
  for (const Case& c : cases) {
    const RgbaImage r = platform::Resample(c.in, c.w, c.h, c.d);
    ASSERT_EQ(r.pixels.size(), c.out.size()) << c.name;
    for (std::size_t i = 0; i < c.out.size(); ++i) EXPECT_EQ(r.pixels[i].g, c.out[i]) << c.name << " " << i;
  }
  const RgbaImage tall = platform::NextMipLevel(Grey(1, 4, 1, {0, 0, 100, 100}));
  EXPECT_EQ(tall.width, 1u);
  EXPECT_EQ(tall.height, 2u);
  EXPECT_EQ(tall.pixels[1].r, 100);
}

/// The area average of a box of the image, worked out in doubles: what resampling to
/// (w, h, d) must give for output cell (x, y, z), channel c.
double AreaMean(const RgbaImage& in, std::uint32_t w, std::uint32_t h, std::uint32_t d, std::uint32_t x,
                std::uint32_t y, std::uint32_t z, int c) {
  auto cover = [](std::uint32_t from, std::uint32_t to, std::uint32_t cell, std::uint32_t j) {
    const double scale = double(from) / to, lo = cell * scale, hi = (cell + 1) * scale;
    return std::max(0.0, std::min(hi, j + 1.0) - std::max(lo, double(j))) / scale;
  };
  double sum = 0;
  for (std::uint32_t k = 0; k < in.depth; ++k)
    for (std::uint32_t j = 0; j < in.height; ++j)
      for (std::uint32_t i = 0; i < in.width; ++i) {
        const double weight = cover(in.width, w, x, i) * cover(in.height, h, y, j) * cover(in.depth, d, z, k);
        if (weight == 0) continue;
        const Rgba8& p = in.pixels[(std::size_t{k} * in.height + j) * in.width + i];
        const std::uint8_t channels[4] = {p.r, p.g, p.b, p.a};
        sum += weight * channels[c];
      }
  return sum;
}

TEST(ImageOps, ResamplingInEightBitsKeepsToTheAreaAverage) {
  // Halving (its own path), odd sizes, enlarging and volumes, on a noisy picture:
  // every channel of every cell within one level of the exact mean, rounded.
  struct Case {
    std::uint32_t w0, h0, d0, w, h, d;
  };
  const Case cases[] = {{64, 32, 1, 32, 16, 1}, {37, 23, 1, 13, 9, 1}, {5, 7, 1, 2, 3, 1}, {3, 5, 1, 7, 11, 1},
                        {9, 1, 1, 4, 1, 1},     {8, 6, 4, 4, 3, 2},     {5, 4, 3, 2, 2, 1}, {16, 16, 1, 16, 5, 1}};
  std::uint32_t noise = 7;
  for (const Case& c : cases) {
    RgbaImage in{c.w0, c.h0, c.d0, {}};
    for (std::size_t i = 0; i < std::size_t{c.w0} * c.h0 * c.d0; ++i) {
      noise = noise * 1664525u + 1013904223u;
      in.pixels.push_back({std::uint8_t(noise >> 24), std::uint8_t(noise >> 16), std::uint8_t(i * 7),
                           std::uint8_t(255 - i)});
    }
    const RgbaImage out = platform::Resample(in, c.w, c.h, c.d);
    ASSERT_EQ(out.pixels.size(), std::size_t{c.w} * c.h * c.d);
    int worst = 0;
    for (std::uint32_t z = 0; z < c.d; ++z)
      for (std::uint32_t y = 0; y < c.h; ++y)
        for (std::uint32_t x = 0; x < c.w; ++x) {
          const Rgba8& p = out.pixels[(std::size_t{z} * c.h + y) * c.w + x];
          const int have[4] = {p.r, p.g, p.b, p.a};
          for (int k = 0; k < 4; ++k) {
            const int want = int(std::lround(AreaMean(in, c.w, c.h, c.d, x, y, z, k)));
            worst = std::max(worst, std::abs(have[k] - want));
          }
        }
    EXPECT_LE(worst, 1) << c.w0 << "x" << c.h0 << "x" << c.d0 << " to " << c.w << "x" << c.h << "x" << c.d;
  }
}

TEST(ImageOps, ConversionsBetweenFormats) {
  // Dropping alpha: A8R8G8B8 -> R8G8B8 keeps the colour; DXT1 -> R5G6B5 of a grid colour is exact.
  const std::vector<std::uint8_t> argb = {0x30, 0x20, 0x10, 0x40};
  EXPECT_EQ(platform::ConvertLevel(PixelFormat::A8R8G8B8, argb, PixelFormat::R8G8B8, 1, 1),
            (std::vector<std::uint8_t>{0x30, 0x20, 0x10}));
  const std::vector<std::uint8_t> redBlock = {0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0};
  const auto r565 = platform::ConvertLevel(PixelFormat::Dxt1, redBlock, PixelFormat::R5G6B5, 2, 2);
  EXPECT_EQ(r565, (std::vector<std::uint8_t>{0x00, 0xF8, 0x00, 0xF8, 0x00, 0xF8, 0x00, 0xF8}));
  const auto same = platform::ConvertLevel(PixelFormat::Dxt1, redBlock, PixelFormat::Dxt1, 4, 4);
  EXPECT_EQ(same, redBlock);
}

}  // namespace
