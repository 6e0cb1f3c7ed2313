#include "tools/DdsWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using datagen::DdsFormat;

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  std::uint32_t v;
  std::memcpy(&v, bytes.data() + offset, 4);
  return v;
}

datagen::RgbaImage Sample() {
  datagen::RgbaImage image(4, 2);
  image.At(0, 0) = {255, 0, 0, 255};
  image.At(1, 0) = {0, 255, 0, 128};
  image.At(2, 0) = {0, 0, 255, 0};
  image.At(3, 0) = {255, 255, 255, 255};
  image.At(0, 1) = {10, 20, 30, 40};
  return image;
}

TEST(DdsWriter, HeaderAndTexelsOfEachUncompressedFormat) {
  struct Case {
    DdsFormat format;
    std::uint32_t pfFlags, bits, rMask, aMask;
    std::vector<std::uint8_t> firstTexels;  // texels (0,0) and (1,0), bytes on disk
  };
  const Case cases[] = {
      {DdsFormat::A8R8G8B8, 0x41, 32, 0xFF0000, 0xFF000000, {0, 0, 255, 255, 0, 255, 0, 128}},
      {DdsFormat::X8R8G8B8, 0x40, 32, 0xFF0000, 0, {0, 0, 255, 255, 0, 255, 0, 255}},
      {DdsFormat::R8G8B8, 0x40, 24, 0xFF0000, 0, {0, 0, 255, 0, 255, 0}},
      {DdsFormat::R5G6B5, 0x40, 16, 0xF800, 0, {0x00, 0xF8, 0xE0, 0x07}},
      {DdsFormat::A1R5G5B5, 0x41, 16, 0x7C00, 0x8000, {0x00, 0xFC, 0xE0, 0x83}},
      {DdsFormat::A4R4G4B4, 0x41, 16, 0x0F00, 0xF000, {0x00, 0xFF, 0xF0, 0x80}},
      {DdsFormat::A8, 0x2, 8, 0, 0xFF, {255, 128}},
      {DdsFormat::L8, 0x20000, 8, 0xFF, 0, {77, 149}},
      {DdsFormat::A8L8, 0x20001, 16, 0xFF, 0xFF00, {77, 255, 149, 128}},
  };
  const datagen::RgbaImage image = Sample();
  for (const Case& c : cases) {
    const auto bytes = datagen::EncodeDds(image, {c.format, false});
    const std::size_t texel = c.bits / 8;
    ASSERT_EQ(bytes.size(), 128 + 8 * texel) << int(c.format);
    EXPECT_EQ(std::memcmp(bytes.data(), "DDS ", 4), 0);
    EXPECT_EQ(U32At(bytes, 4), 124u);
    EXPECT_EQ(U32At(bytes, 8), 0x100Fu);  // caps, height, width, pitch, pixel format
    EXPECT_EQ(U32At(bytes, 12), 2u);      // height
    EXPECT_EQ(U32At(bytes, 16), 4u);      // width
    EXPECT_EQ(U32At(bytes, 20), 4 * texel);  // pitch
    EXPECT_EQ(U32At(bytes, 28), 0u);      // no mip count
    EXPECT_EQ(U32At(bytes, 76), 32u);
    EXPECT_EQ(U32At(bytes, 80), c.pfFlags) << int(c.format);
    EXPECT_EQ(U32At(bytes, 84), 0u);  // FourCC
    EXPECT_EQ(U32At(bytes, 88), c.bits);
    EXPECT_EQ(U32At(bytes, 92), c.rMask);
    EXPECT_EQ(U32At(bytes, 104), c.aMask);
    EXPECT_EQ(U32At(bytes, 108), 0x1000u);  // texture
    const std::vector<std::uint8_t> first(bytes.begin() + 128, bytes.begin() + 128 + 2 * texel);
    EXPECT_EQ(first, c.firstTexels) << int(c.format);
  }
}

TEST(DdsWriter, MipChainHalvesDownToOnePixel) {
  datagen::RgbaImage image(8, 2, {200, 100, 0, 255});
  image.At(0, 0) = {0, 0, 0, 0};
  const auto bytes = datagen::EncodeDds(image, {DdsFormat::A8R8G8B8, true});
  // 8x2, 4x1, 2x1, 1x1
  EXPECT_EQ(U32At(bytes, 28), 4u);
  EXPECT_EQ(U32At(bytes, 8) & 0x20000u, 0x20000u);
  EXPECT_EQ(U32At(bytes, 108), 0x401008u);
  ASSERT_EQ(bytes.size(), 128u + 4 * (16 + 4 + 2 + 1));
  // The first texel of level 1 averages one clear and three opaque texels.
  const std::size_t level1 = 128 + 4 * 16;
  EXPECT_EQ(bytes[level1 + 3], (0 + 255 * 3 + 2) / 4);
  EXPECT_EQ(bytes[level1 + 2], (0 + 200 * 3 + 2) / 4);
  // Deterministic.
  EXPECT_EQ(bytes, datagen::EncodeDds(image, {DdsFormat::A8R8G8B8, true}));
}

}  // namespace

namespace {

TEST(DdsWriter, CompressedCubeAndVolumeHeaders) {
  const datagen::RgbaImage face(8, 4, {10, 20, 30, 255});
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::uint32_t flags, linearSize, depth, mips, fourCc, caps, caps2;
    std::size_t size;
  };
  const std::array<datagen::RgbaImage, 6> faces{face, face, face, face, face, face};
  const std::vector<datagen::RgbaImage> slices(4, face);
  const Case cases[] = {
      {"dxt1", datagen::EncodeDds(face, {DdsFormat::Dxt1, false}), 0x81007, 16, 0, 0, 0x31545844, 0x1000, 0,
       128 + 16},
      {"dxt5 chain", datagen::EncodeDds(face, {DdsFormat::Dxt5, true}), 0xA1007, 32, 0, 4, 0x35545844, 0x401008, 0,
       128 + 32 + 16 + 16 + 16},
      {"dxt3 two levels", datagen::EncodeDds(face, {DdsFormat::Dxt3, true, 2}), 0xA1007, 32, 0, 2, 0x33545844,
       0x401008, 0, 128 + 32 + 16},
      {"cube", datagen::EncodeCubeDds(faces, {DdsFormat::A8R8G8B8, false}), 0x100F, 32, 0, 0, 0, 0x1008, 0xFE00,
       128 + 6 * 128},
      {"volume", datagen::EncodeVolumeDds(slices, {DdsFormat::X8R8G8B8, true}), 0x82100F, 32, 4, 4, 0, 0x401008,
       0x200000, 128 + 4 * 128 + 2 * 32 + 8 + 4},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(c.bytes.size(), c.size) << c.name;
    EXPECT_EQ(U32At(c.bytes, 8), c.flags) << c.name;
    EXPECT_EQ(U32At(c.bytes, 20), c.linearSize) << c.name;
    EXPECT_EQ(U32At(c.bytes, 24), c.depth) << c.name;
    EXPECT_EQ(U32At(c.bytes, 28), c.mips) << c.name;
    EXPECT_EQ(U32At(c.bytes, 84), c.fourCc) << c.name;
    EXPECT_EQ(U32At(c.bytes, 108), c.caps) << c.name;
    EXPECT_EQ(U32At(c.bytes, 112), c.caps2) << c.name;
  }
}

}  // namespace
