#include "platform/d3dx9/DdsImage.h"
#include "platform/d3dx9/ImageOps.h"
#include "tests/platform/DdsSamples.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using platform::ImageKind;
using platform::PixelFormat;
using platform::RgbaImage;

RgbaImage Pattern(std::uint32_t w, std::uint32_t h, std::uint32_t d = 1, std::uint8_t seed = 0) {
  RgbaImage img{w, h, d, {}};
  for (std::uint32_t z = 0; z < d; ++z)
    for (std::uint32_t y = 0; y < h; ++y)
      for (std::uint32_t x = 0; x < w; ++x)
        img.pixels.push_back({static_cast<std::uint8_t>(x * 16 + seed), static_cast<std::uint8_t>(y * 16),
                              static_cast<std::uint8_t>(z * 64), static_cast<std::uint8_t>(255 - x)});
  return img;
}

std::optional<platform::DdsImage> Parse(const std::vector<std::uint8_t>& file, std::string& error) {
  return platform::ParseDds(file, error);
}

TEST(DdsImage, ReadsWhatTheWriterWrites) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> file;
    ImageKind kind;
    PixelFormat format;
    std::uint32_t width, height, depth, levels;
  };
  const std::array<RgbaImage, 6> faces{Pattern(8, 8, 1, 0), Pattern(8, 8, 1, 1), Pattern(8, 8, 1, 2),
                                       Pattern(8, 8, 1, 3), Pattern(8, 8, 1, 4), Pattern(8, 8, 1, 5)};
  const std::vector<Case> cases = {
      {"dxt1 chain", test::MakeDds(PixelFormat::Dxt1, Pattern(16, 8)), ImageKind::Texture2D, PixelFormat::Dxt1,
       16, 8, 1, 5},
      {"dxt5 one level", test::MakeDds(PixelFormat::Dxt5, Pattern(6, 10), 1), ImageKind::Texture2D,
       PixelFormat::Dxt5, 6, 10, 1, 1},
      {"a8r8g8b8", test::MakeDds(PixelFormat::A8R8G8B8, Pattern(4, 4), 2), ImageKind::Texture2D,
       PixelFormat::A8R8G8B8, 4, 4, 1, 2},
      {"x8r8g8b8", test::MakeDds(PixelFormat::X8R8G8B8, Pattern(4, 4)), ImageKind::Texture2D,
       PixelFormat::X8R8G8B8, 4, 4, 1, 3},
      {"r8g8b8", test::MakeDds(PixelFormat::R8G8B8, Pattern(3, 5)), ImageKind::Texture2D, PixelFormat::R8G8B8, 3,
       5, 1, 3},
      {"r5g6b5", test::MakeDds(PixelFormat::R5G6B5, Pattern(4, 2)), ImageKind::Texture2D, PixelFormat::R5G6B5, 4,
       2, 1, 3},
      {"a4r4g4b4", test::MakeDds(PixelFormat::A4R4G4B4, Pattern(2, 2)), ImageKind::Texture2D,
       PixelFormat::A4R4G4B4, 2, 2, 1, 2},
      {"x4r4g4b4", test::MakeDds(PixelFormat::X4R4G4B4, Pattern(2, 2)), ImageKind::Texture2D,
       PixelFormat::X4R4G4B4, 2, 2, 1, 2},
      {"a1r5g5b5", test::MakeDds(PixelFormat::A1R5G5B5, Pattern(2, 2), 1), ImageKind::Texture2D,
       PixelFormat::A1R5G5B5, 2, 2, 1, 1},
      {"x1r5g5b5", test::MakeDds(PixelFormat::X1R5G5B5, Pattern(2, 2), 1), ImageKind::Texture2D,
       PixelFormat::X1R5G5B5, 2, 2, 1, 1},
      {"a8", test::MakeDds(PixelFormat::A8, Pattern(4, 1)), ImageKind::Texture2D, PixelFormat::A8, 4, 1, 1, 3},
      {"l8", test::MakeDds(PixelFormat::L8, Pattern(4, 1), 1), ImageKind::Texture2D, PixelFormat::L8, 4, 1, 1, 1},
      {"a8l8", test::MakeDds(PixelFormat::A8L8, Pattern(4, 1), 1), ImageKind::Texture2D, PixelFormat::A8L8, 4, 1, 1,
       1},
      {"cube dxt3", test::MakeCubeDds(PixelFormat::Dxt3, faces, 2), ImageKind::Cube, PixelFormat::Dxt3, 8, 8, 1, 2},
      {"volume", test::MakeVolumeDds(PixelFormat::A8R8G8B8, Pattern(4, 2, 8)), ImageKind::Volume,
       PixelFormat::A8R8G8B8, 4, 2, 8, 4},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto img = Parse(c.file, error);
    ASSERT_TRUE(img) << c.name << ": " << error;
    EXPECT_EQ(img->kind, c.kind) << c.name;
    EXPECT_EQ(img->format, c.format) << c.name;
    EXPECT_EQ(img->width, c.width) << c.name;
    EXPECT_EQ(img->height, c.height) << c.name;
    EXPECT_EQ(img->depth, c.depth) << c.name;
    EXPECT_EQ(img->levels, c.levels) << c.name;
    // The surfaces tile the data exactly up to the end of the file.
    const auto& last = img->surfaces.back();
    EXPECT_EQ(last.offset + last.bytes, c.file.size()) << c.name;
    EXPECT_EQ(img->surfaces.size(), std::size_t{img->Faces()} * img->levels) << c.name;
  }
}

TEST(DdsImage, UncompressedPixelsSurviveExactly) {
  const RgbaImage src = Pattern(4, 3);
  std::string error;
  const auto img = Parse(test::MakeDds(PixelFormat::A8R8G8B8, src, 1), error);
  ASSERT_TRUE(img) << error;
  const RgbaImage back = platform::DecodeLevel(img->format, img->Bytes(0, 0), 4, 3);
  EXPECT_EQ(back.pixels, src.pixels);
  // The volume's second level is the 2 x 2 x 2 box mean of the first.
  const auto vol = Parse(test::MakeVolumeDds(PixelFormat::A8R8G8B8, Pattern(2, 2, 2), 2), error);
  ASSERT_TRUE(vol) << error;
  const RgbaImage top = platform::DecodeLevel(vol->format, vol->Bytes(0, 1), 1, 1, 1);
  EXPECT_EQ(top.pixels[0], (platform::Rgba8{8, 8, 32, 255}));
}

/// A valid 8 x 8 DXT1 file with 4 levels, changed by `edit`.
std::vector<std::uint8_t> Edited(const std::function<void(std::vector<std::uint8_t>&)>& edit) {
  auto f = test::MakeDds(PixelFormat::Dxt1, Pattern(8, 8));
  edit(f);
  return f;
}

void Set32(std::vector<std::uint8_t>& f, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(DdsImage, RefusesMalformedFiles) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> file;
    const char* reason;  ///< a part of the error text
  };
  const std::vector<Case> cases = {
      {"empty", {}, "not a DDS file"},
      {"bad magic", Edited([](auto& f) { f[3] = 'X'; }), "not a DDS file"},
      {"header cut", Edited([](auto& f) { f.resize(100); }), "header cut short"},
      {"header size", Edited([](auto& f) { Set32(f, 4, 100); }), "bad header sizes"},
      {"pixel format size", Edited([](auto& f) { Set32(f, 76, 0); }), "bad header sizes"},
      {"zero width", Edited([](auto& f) { Set32(f, 16, 0); }), "empty image"},
      {"absurd height", Edited([](auto& f) { Set32(f, 12, 0x40000000); }), "is beyond"},
      {"zero mips", Edited([](auto& f) { Set32(f, 28, 0); }), "mip count 0"},
      {"too many mips", Edited([](auto& f) { Set32(f, 28, 5); }), "mip count 5"},
      {"data cut", Edited([](auto& f) { f.pop_back(); }), "data cut short"},
      {"width past the data", Edited([](auto& f) { Set32(f, 16, 4096); }), "data cut short"},
      {"unknown fourcc", Edited([](auto& f) { Set32(f, 84, platform::MakeFourCc('A', 'T', 'I', '2')); }),
       "'ATI2'"},
      {"dx10 header", Edited([](auto& f) { Set32(f, 84, platform::MakeFourCc('D', 'X', '1', '0')); }), "'DX10'"},
      {"odd rgb masks", Edited([](auto& f) { Set32(f, 80, 0x40), Set32(f, 88, 32), Set32(f, 92, 0xFF); }),
       "unsupported pixel layout"},
      {"partial cube", Edited([](auto& f) { Set32(f, 112, 0x200 | 0x400); }), "six faces"},
      {"cube data missing", Edited([](auto& f) { Set32(f, 112, 0xFE00); }), "data cut short"},
      {"volume depth 0", Edited([](auto& f) { Set32(f, 112, 0x200000), Set32(f, 24, 0); }), "volume depth 0"},
      {"volume depth huge", Edited([](auto& f) { Set32(f, 112, 0x200000), Set32(f, 24, 1u << 30); }),
       "volume depth"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(Parse(c.file, error)) << c.name;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
  }
}

TEST(DdsImage, NoMipFlagMeansOneLevel) {
  auto f = test::MakeDds(PixelFormat::Dxt1, Pattern(8, 8), 1);
  Set32(f, 8, platform::dds::kFlagCaps | platform::dds::kFlagWidth | platform::dds::kFlagHeight |
                  platform::dds::kFlagPixelFormat);
  Set32(f, 28, 0);
  std::string error;
  const auto img = Parse(f, error);
  ASSERT_TRUE(img) << error;
  EXPECT_EQ(img->levels, 1u);
}

TEST(DdsImage, MutatedFilesAreRefusedOrStayInsideTheirBytes) {
  // Fuzz-style: flip bytes of the header and data, and cut files at random
  // lengths; every result must be a refusal or an image whose surfaces lie inside
  // the file and decode without reading past it.
  const std::vector<std::vector<std::uint8_t>> seeds = {
      test::MakeDds(PixelFormat::Dxt1, Pattern(16, 16)),
      test::MakeDds(PixelFormat::Dxt5, Pattern(8, 4)),
      test::MakeDds(PixelFormat::R8G8B8, Pattern(5, 3)),
      test::MakeVolumeDds(PixelFormat::X8R8G8B8, Pattern(4, 4, 4)),
      test::MakeCubeDds(PixelFormat::Dxt1, {Pattern(4, 4), Pattern(4, 4), Pattern(4, 4), Pattern(4, 4),
                                             Pattern(4, 4), Pattern(4, 4)}),
  };
  std::uint32_t state = 12345;
  auto next = [&] { return state = state * 1103515245u + 12345u, (state >> 8) & 0xFFFFFF; };
  int accepted = 0, refused = 0;
  for (int round = 0; round < 4000; ++round) {
    auto file = seeds[round % seeds.size()];
    const int edits = 1 + next() % 4;
    for (int e = 0; e < edits; ++e) {
      // Most edits hit the header, where the sizes are.
      const std::size_t at = (next() % 4 != 0) ? next() % 128 : next() % file.size();
      file[at] = static_cast<std::uint8_t>(next());
    }
    if (next() % 5 == 0) file.resize(next() % (file.size() + 1));
    std::string error;
    const auto img = Parse(file, error);
    if (!img) {
      EXPECT_FALSE(error.empty());
      ++refused;
      continue;
    }
    ++accepted;
    for (const auto& s : img->surfaces) {
      ASSERT_LE(s.offset + s.bytes, img->file.size());
      ASSERT_EQ(s.bytes, platform::SurfaceBytes(img->format, s.width, s.height) * s.depth);
    }
    const auto& s = img->surfaces.front();
    const auto px = platform::DecodeLevel(img->format, img->Bytes(0, 0), s.width, s.height, s.depth);
    EXPECT_EQ(px.pixels.size(), std::size_t{s.width} * s.height * s.depth);
  }
  EXPECT_GT(accepted, 100);
  EXPECT_GT(refused, 100);
}

}  // namespace
