#include "platform/d3dx9/DxtCodec.h"
#include "platform/d3dx9/ImageOps.h"
#include "platform/d3dx9/TextureBuilder.h"
#include "tests/platform/DdsSamples.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::DdsImage;
using platform::PixelFormat;
using platform::Rgba8;
using platform::RgbaImage;
using platform::TextureShape;

RgbaImage Pattern(std::uint32_t w, std::uint32_t h, std::uint32_t d = 1, std::uint8_t tint = 0) {
  RgbaImage img{w, h, d, {}};
  for (std::uint32_t z = 0; z < d; ++z)
    for (std::uint32_t y = 0; y < h; ++y)
      for (std::uint32_t x = 0; x < w; ++x)
        img.pixels.push_back({static_cast<std::uint8_t>(x * 30 + tint), static_cast<std::uint8_t>(y * 30),
                              static_cast<std::uint8_t>(z * 60), 255});
  return img;
}

DdsImage Parse(const std::vector<std::uint8_t>& file) {
  std::string error;
  auto img = platform::ParseDds(file, error);
  EXPECT_TRUE(img) << error;
  return img ? *img : DdsImage{};
}

TEST(TextureBuilder, TakesFileLevelsWhereSizesMatch) {
  const DdsImage img = Parse(test::MakeDds(PixelFormat::A8R8G8B8, Pattern(8, 8)));  // 4 levels
  struct Case {
    const char* name;
    TextureShape shape;
    int firstFileLevel;  ///< the file level the texture's level 0 equals
  };
  const Case cases[] = {
      {"same", {8, 8, 1, 4, PixelFormat::A8R8G8B8}, 0},
      {"one level", {8, 8, 1, 1, PixelFormat::A8R8G8B8}, 0},
      {"picmip 1", {4, 4, 1, 3, PixelFormat::A8R8G8B8}, 1},
      {"picmip 2", {2, 2, 1, 2, PixelFormat::A8R8G8B8}, 2},
  };
  for (const Case& c : cases) {
    const auto levels = platform::BuildFaceLevels(img, 0, c.shape);
    ASSERT_EQ(levels.size(), c.shape.levels) << c.name;
    for (std::uint32_t l = 0; l < c.shape.levels; ++l) {
      const auto file = img.Bytes(0, c.firstFileLevel + l);
      EXPECT_EQ(levels[l], std::vector<std::uint8_t>(file.begin(), file.end())) << c.name << " level " << l;
    }
  }
}

TEST(TextureBuilder, MakesMissingLevelsByHalving) {
  const RgbaImage top = Pattern(4, 4);
  const DdsImage img = Parse(test::MakeDds(PixelFormat::A8R8G8B8, top, 1));
  const auto levels = platform::BuildFaceLevels(img, 0, {4, 4, 1, 3, PixelFormat::A8R8G8B8});
  ASSERT_EQ(levels.size(), 3u);
  EXPECT_EQ(levels[1].size(), 2u * 2 * 4);
  EXPECT_EQ(levels[2].size(), 4u);
  const RgbaImage half = platform::NextMipLevel(top);
  EXPECT_EQ(platform::DecodeLevel(PixelFormat::A8R8G8B8, levels[1], 2, 2).pixels, half.pixels);
  // Level 2 is the mean of everything: x*30 and y*30 over 0..3 average 45.
  const Rgba8 last = platform::DecodeLevel(PixelFormat::A8R8G8B8, levels[2], 1, 1).pixels[0];
  EXPECT_EQ(last, (Rgba8{45, 45, 0, 255}));
  // A size the file has no level for is resampled from the top.
  const auto odd = platform::BuildFaceLevels(img, 0, {3, 3, 1, 1, PixelFormat::A8R8G8B8});
  EXPECT_EQ(odd[0].size(), 3u * 3 * 4);
}

TEST(TextureBuilder, ConvertsBetweenFormats) {
  const DdsImage dxt = Parse(test::MakeDds(PixelFormat::Dxt1, Pattern(8, 8), 2));
  // DXT1 to R5G6B5: the decoded colours, packed.
  const auto r565 = platform::BuildFaceLevels(dxt, 0, {8, 8, 1, 2, PixelFormat::R5G6B5});
  const auto decoded = platform::DecodeLevel(PixelFormat::Dxt1, dxt.Bytes(0, 0), 8, 8);
  EXPECT_EQ(r565[0], platform::EncodeLevel(PixelFormat::R5G6B5, decoded));
  EXPECT_EQ(r565[1].size(), 4u * 4 * 2);
  // X8R8G8B8 to DXT1: blocks of the right size that decode close to the picture
  // (a ramp along x, which four colours on a line can follow).
  RgbaImage src = Pattern(8, 8);
  for (Rgba8& p : src.pixels) p.g = static_cast<std::uint8_t>(255 - p.r);
  const DdsImage plain = Parse(test::MakeDds(PixelFormat::X8R8G8B8, src, 1));
  const auto blocks = platform::BuildFaceLevels(plain, 0, {8, 8, 1, 4, PixelFormat::Dxt1});
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[0].size(), 32u);
  EXPECT_EQ(blocks[3].size(), 8u);
  const auto back = platform::DecodeDxt(PixelFormat::Dxt1, blocks[0], 8, 8);
  for (std::size_t i = 0; i < back.size(); ++i) {
    EXPECT_NEAR(back[i].r, src.pixels[i].r, 8) << i;
    EXPECT_NEAR(back[i].g, src.pixels[i].g, 8) << i;
  }
}

TEST(TextureBuilder, CubeFacesAndVolumeChains) {
  std::array<RgbaImage, 6> faces;
  for (int f = 0; f < 6; ++f) faces[f] = Pattern(4, 4, 1, static_cast<std::uint8_t>(f * 7));
  const DdsImage cube = Parse(test::MakeCubeDds(PixelFormat::A8R8G8B8, faces, 1));
  for (std::uint32_t f = 0; f < 6; ++f) {
    const auto levels = platform::BuildFaceLevels(cube, f, {4, 4, 1, 1, PixelFormat::A8R8G8B8});
    EXPECT_EQ(platform::DecodeLevel(PixelFormat::A8R8G8B8, levels[0], 4, 4).pixels, faces[f].pixels) << f;
  }
  const DdsImage vol = Parse(test::MakeVolumeDds(PixelFormat::X8R8G8B8, Pattern(4, 4, 4), 1));
  const auto chain = platform::BuildFaceLevels(vol, 0, {4, 4, 4, 3, PixelFormat::X8R8G8B8});
  ASSERT_EQ(chain.size(), 3u);
  EXPECT_EQ(chain[0].size(), 4u * 4 * 4 * 4);
  EXPECT_EQ(chain[1].size(), 2u * 2 * 2 * 4);
  EXPECT_EQ(chain[2].size(), 4u);
  // z * 60 over 0..3 averages 90 in the last level.
  EXPECT_EQ(platform::DecodeLevel(PixelFormat::X8R8G8B8, chain[2], 1, 1).pixels[0].b, 90);
}

}  // namespace

namespace {

TEST(TextureBuilder, LevelsComeOneAtATimeAndASinkCanStop) {
  // A file without mips, made into a DXT1 chain: the level the file has is handed over
  // as the file's own bytes, the others as they are made; a sink that fails (a lock
  // refused) ends the building.
  const DdsImage img = Parse(test::MakeDds(PixelFormat::Dxt1, Pattern(16, 16), 1));
  ASSERT_EQ(img.levels, 1u);
  const TextureShape shape{16, 16, 1, 5, PixelFormat::Dxt1};
  std::vector<std::uint32_t> seen;
  platform::ForEachFaceLevel(img, 0, shape, [&](std::uint32_t level, std::span<const std::uint8_t> bytes) {
    seen.push_back(level);
    const TextureShape size = platform::LevelShape(shape, level);
    EXPECT_EQ(bytes.size(), platform::SurfaceBytes(PixelFormat::Dxt1, size.width, size.height)) << level;
    if (level == 0) {
      EXPECT_EQ(bytes.data(), img.Bytes(0, 0).data()) << "the file's level, not a copy";
    }
    return true;
  });
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{0, 1, 2, 3, 4}));
  seen.clear();
  platform::ForEachFaceLevel(img, 0, shape, [&](std::uint32_t level, std::span<const std::uint8_t>) {
    seen.push_back(level);
    return level < 1;
  });
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{0, 1}));
}

}  // namespace
