#include "platform/d3dx9/DxtCodec.h"
#include "platform/d3dx9/ImageOps.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using platform::PixelFormat;
using platform::Rgba8;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> v) { return {v.begin(), v.end()}; }

struct BlockCase {
  const char* name;
  PixelFormat format;
  std::vector<std::uint8_t> block;
  // pixels 0..3 of the first row
  Rgba8 expected[4];
};

TEST(DxtCodec, DecodesKnownBlocks) {
  // Colours: red 0xF800 and blue 0x001F; the first row selects indices 0, 1, 2, 3.
  // In-between values are integer quotients, as libsquish and most hardware give them.
  const std::vector<BlockCase> cases = {
      {"dxt1 four colours", PixelFormat::Dxt1, Bytes({0x00, 0xF8, 0x1F, 0x00, 0xE4, 0, 0, 0}),
       {{255, 0, 0, 255}, {0, 0, 255, 255}, {170, 0, 85, 255}, {85, 0, 170, 255}}},
      {"dxt1 three colours and transparent", PixelFormat::Dxt1, Bytes({0x1F, 0x00, 0x00, 0xF8, 0xE4, 0, 0, 0}),
       {{0, 0, 255, 255}, {255, 0, 0, 255}, {127, 0, 127, 255}, {0, 0, 0, 0}}},
      {"dxt3 explicit alpha", PixelFormat::Dxt3,
       Bytes({0x0F, 0x8F, 0, 0, 0, 0, 0, 0, 0x00, 0xF8, 0x1F, 0x00, 0xE4, 0, 0, 0}),
       {{255, 0, 0, 255}, {0, 0, 255, 0}, {170, 0, 85, 255}, {85, 0, 170, 136}}},
      // DXT3 colours read in four-colour mode even when c0 <= c1.
      {"dxt3 colours always four", PixelFormat::Dxt3,
       Bytes({0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0x1F, 0x00, 0x00, 0xF8, 0xE4, 0, 0, 0}),
       {{0, 0, 255, 255}, {255, 0, 0, 255}, {85, 0, 170, 255}, {170, 0, 85, 255}}},
      // DXT5 eight-value alpha 255..0: indices 0, 1, 2, 7 -> 255, 0, 218 (6 x 255 / 7), 36.
      {"dxt5 eight alphas", PixelFormat::Dxt5,
       Bytes({255, 0, 0x88, 0x0E, 0, 0, 0, 0, 0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0}),
       {{255, 0, 0, 255}, {255, 0, 0, 0}, {255, 0, 0, 218}, {255, 0, 0, 36}}},
      // DXT5 six-value alpha 40..240: indices 0, 6, 7, 2 -> 40, 0, 255, 80.
      {"dxt5 six alphas", PixelFormat::Dxt5,
       Bytes({40, 240, 0xF0, 0x05, 0, 0, 0, 0, 0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0}),
       {{255, 0, 0, 40}, {255, 0, 0, 0}, {255, 0, 0, 255}, {255, 0, 0, 80}}},
  };
  for (const BlockCase& c : cases) {
    platform::Block16 px;
    platform::DecodeDxtBlock(c.format, c.block.data(), px);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(px[i].r, c.expected[i].r) << c.name << " pixel " << i;
      EXPECT_EQ(px[i].g, c.expected[i].g) << c.name << " pixel " << i;
      EXPECT_EQ(px[i].b, c.expected[i].b) << c.name << " pixel " << i;
      EXPECT_EQ(px[i].a, c.expected[i].a) << c.name << " pixel " << i;
    }
  }
}

/// A smooth picture with a hard edge and an alpha ramp.
std::vector<Rgba8> Picture(std::uint32_t w, std::uint32_t h) {
  std::vector<Rgba8> px(std::size_t{w} * h);
  for (std::uint32_t y = 0; y < h; ++y)
    for (std::uint32_t x = 0; x < w; ++x) {
      const bool edge = x > w / 2;
      px[y * w + x] = {static_cast<std::uint8_t>(x * 8), static_cast<std::uint8_t>(edge ? 200 : 30),
                       static_cast<std::uint8_t>(255 - y * 6), static_cast<std::uint8_t>((x + y) * 9)};
    }
  return px;
}

int MaxDiff(std::uint8_t a, std::uint8_t b) { return std::abs(int(a) - int(b)); }

TEST(DxtCodec, RoundTripStaysCloseForEveryFormat) {
  struct Case {
    PixelFormat format;
    int alphaTolerance;
  };
  // Alpha: DXT1 keeps 1 bit (checked apart), DXT2/3 4 bits, DXT4/5 interpolate.
  const Case cases[] = {{PixelFormat::Dxt1, 255}, {PixelFormat::Dxt2, 9}, {PixelFormat::Dxt3, 9},
                        {PixelFormat::Dxt4, 20}, {PixelFormat::Dxt5, 20}};
  const platform::DxtQuality qualities[] = {platform::DxtQuality::Fast, platform::DxtQuality::Best};
  for (const auto& [w, h] : {std::pair{16u, 16u}, {13u, 7u}, {1u, 1u}, {2u, 3u}}) {
    for (const platform::DxtQuality quality : qualities) {
      const auto src = Picture(w, h);
      for (const Case& c : cases) {
        const std::string where = platform::FormatName(c.format) + " " + std::to_string(w) + "x" + std::to_string(h) +
                                  (quality == platform::DxtQuality::Best ? " best" : " fast");
        const auto blocks = platform::EncodeDxt(c.format, src, w, h, quality);
        ASSERT_EQ(blocks.size(), platform::SurfaceBytes(c.format, w, h)) << where;
        const auto out = platform::DecodeDxt(c.format, blocks, w, h);
        ASSERT_EQ(out.size(), src.size()) << where;
        // The picture varies in two directions inside blocks, which four colours on a
        // line cannot follow exactly: bound the worst pixel and the mean.
        long sum = 0, count = 0;
        for (std::size_t i = 0; i < src.size(); ++i) {
          const Rgba8 a = src[i], b = out[i];
          if (c.format == PixelFormat::Dxt1) {
            EXPECT_EQ(b.a, a.a < 128 ? 0 : 255) << where << " pixel " << i;
            if (a.a < 128) continue;  // transparent black carries no colour
          } else {
            EXPECT_LE(MaxDiff(a.a, b.a), c.alphaTolerance) << where << " pixel " << i;
          }
          for (int d : {MaxDiff(a.r, b.r), MaxDiff(a.g, b.g), MaxDiff(a.b, b.b)}) {
            EXPECT_LE(d, 40) << where << " pixel " << i;
            sum += d, ++count;
          }
        }
        if (count > 0) {
          EXPECT_LE(sum / count, 8) << where;
        }
      }
    }
  }
}

TEST(DxtCodec, SolidColoursOfTheGridComeBackExactly) {
  // Colours on the 5-6-5 grid survive, and a one-colour block never turns into the
  // three-colour mode (which would make DXT1 pixels transparent).
  for (const Rgba8 colour : {Rgba8{255, 255, 255, 255}, Rgba8{0, 0, 0, 255}, Rgba8{255, 0, 0, 255},
                             Rgba8{132, 130, 132, 255}}) {
    const std::vector<Rgba8> src(16, colour);
    for (PixelFormat f : {PixelFormat::Dxt1, PixelFormat::Dxt3, PixelFormat::Dxt5}) {
      const auto out = platform::DecodeDxt(f, platform::EncodeDxt(f, src, 4, 4), 4, 4);
      for (const Rgba8& p : out) EXPECT_EQ(p, colour) << platform::FormatName(f);
    }
  }
}

TEST(DxtCodec, RampsFollowTheirLineWhateverItsDirection) {
  // Channels rising together, running against each other, or only one moving: a
  // ramp of four steps lies on a line, so it comes back within rounding.
  const int directions[][3] = {{1, 1, 1}, {1, -1, 0}, {0, 1, -1}, {-1, 0, 0}, {1, -1, 1}};
  for (const auto& d : directions) {
    std::vector<Rgba8> src(16);
    for (int i = 0; i < 16; ++i) {
      const int step = (i % 4) * 60;
      auto ch = [&](int k) { return static_cast<std::uint8_t>(d[k] >= 0 ? 20 + step * d[k] : 220 - step); };
      src[i] = {ch(0), ch(1), ch(2), 255};
    }
    for (PixelFormat f : {PixelFormat::Dxt1, PixelFormat::Dxt5}) {
      for (const platform::DxtQuality quality : {platform::DxtQuality::Fast, platform::DxtQuality::Best}) {
        const auto out = platform::DecodeDxt(f, platform::EncodeDxt(f, src, 4, 4, quality), 4, 4);
        for (int i = 0; i < 16; ++i) {
          EXPECT_LE(MaxDiff(out[i].r, src[i].r), 6) << platform::FormatName(f) << " " << int(quality) << " " << i;
          EXPECT_LE(MaxDiff(out[i].g, src[i].g), 6) << platform::FormatName(f) << " " << int(quality) << " " << i;
          EXPECT_LE(MaxDiff(out[i].b, src[i].b), 6) << platform::FormatName(f) << " " << int(quality) << " " << i;
        }
      }
    }
  }
}

TEST(DxtCodec, ShortInputDecodesToBlackInsteadOfReadingOn) {
  const std::vector<std::uint8_t> half(4, 0xFF);
  const auto out = platform::DecodeDxt(PixelFormat::Dxt1, half, 4, 4);
  ASSERT_EQ(out.size(), 16u);
  for (const Rgba8& p : out) EXPECT_EQ(p, (Rgba8{0, 0, 0, 255}));
}

}  // namespace
