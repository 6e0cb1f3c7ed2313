#include "core/Font.h"
#include "tests/support/TestEnv.h"
#include "tools/DdsWriter.h"
#include "tools/FontWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string FontFile(const char* name) {
  const char* dir = std::getenv("NAVO_FONT_DIR");
  return std::string(dir ? dir : "/usr/share/fonts/truetype/dejavu") + "/" + name;
}

/// The largest alpha inside a glyph's rectangle of the picture.
int MaxAlpha(const datagen::RgbaImage& picture, const N_Glyph& g) {
  int best = 0;
  const int x0 = static_cast<int>(g.left * picture.Width()), x1 = static_cast<int>(g.right * picture.Width());
  const int y0 = static_cast<int>(g.top * picture.Height()), y1 = static_cast<int>(g.bottom * picture.Height());
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) best = std::max<int>(best, picture.At(x, y).a);
  }
  return best;
}

TEST(FontWriter, RoundTripThroughTheLoader) {
  test::TempDir dir;
  test::CoreServices services;
  datagen::ProportionalFontSpec spec;
  spec.ttfPath = FontFile("DejaVuSans.ttf");
  spec.firstChar = 30;  // 30, 31 have no character
  spec.count = 100;     // up to 129: 127-129 have none either
  std::string error;
  const auto rendered = datagen::RenderProportionalFont(spec, error);
  ASSERT_TRUE(rendered) << error;
  const auto bytes = datagen::EncodeFontFile(*rendered);
  ASSERT_EQ(bytes.size(), kFontHeaderSize + 100 * kFontGlyphSize);
  dir.Write("data/gfx/fonts/t.font", std::string(bytes.begin(), bytes.end()));

  N_FontList fonts;
  const N_Font* font = LoadFont(fonts, "t");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->firstChar, 30);
  EXPECT_EQ(font->glyphCount, 100);
  const N_Glyph& a = font->GetGlyph('A');
  const N_Glyph& written = rendered->glyphs['A' - 30];
  EXPECT_EQ(a.advance, written.advance * 0.25f);
  EXPECT_EQ(a.left, written.left);
  // A line is 16 units: a capital A of DejaVu Sans is about 0.68 em wide, 7 to 11 units.
  EXPECT_GT(a.advance, 7.0f);
  EXPECT_LT(a.advance, 11.0f);
  EXPECT_GT(font->GetGlyph('W').advance, font->GetGlyph('i').advance);
  EXPECT_GT(font->GetGlyph(' ').advance, 0.0f);
  EXPECT_EQ(font->GetGlyph(31).advance, 0.0f);
  EXPECT_EQ(font->GetGlyph(127).right, 0.0f);
  EXPECT_EQ(&font->GetGlyph(200), &font->emptyGlyph);
  for (int c = 32; c < 127; ++c) {
    const N_Glyph& g = font->GetGlyph(static_cast<unsigned char>(c));
    EXPECT_GE(g.left, 0.0f);
    EXPECT_LE(g.right, 1.0f);
    EXPECT_LE(g.bottom, 1.0f);
    EXPECT_NEAR((g.bottom - g.top) * rendered->picture.Height(), 32.0f, 1e-3f);
  }
  // Ink inside the glyph boxes, none in the blank's.
  EXPECT_EQ(MaxAlpha(rendered->picture, rendered->glyphs['A' - 30]), 255);
  EXPECT_EQ(MaxAlpha(rendered->picture, rendered->glyphs[' ' - 30]), 0);

  // Deterministic bytes.
  const auto again = datagen::RenderProportionalFont(spec, error);
  ASSERT_TRUE(again);
  EXPECT_EQ(datagen::EncodeFontFile(*again), bytes);
}

TEST(FontWriter, MissingTrueTypeFileIsAnError) {
  std::string error;
  datagen::ProportionalFontSpec spec;
  spec.ttfPath = "/nonexistent/font.ttf";
  EXPECT_FALSE(datagen::RenderProportionalFont(spec, error));
  EXPECT_NE(error.find("/nonexistent/font.ttf"), std::string::npos);
  EXPECT_FALSE(datagen::RenderFixedFont({"/nonexistent/font.ttf", 16}, error));
}

TEST(FontWriter, FixedFontGridHasInkWhereCharactersAre) {
  std::string error;
  const auto picture = datagen::RenderFixedFont({FontFile("DejaVuSansMono.ttf"), 16}, error);
  ASSERT_TRUE(picture) << error;
  ASSERT_EQ(picture->Width(), 256);
  const auto cellInk = [&](int c) {
    N_Glyph cell{(c & 15) / 16.0f, (c >> 4) / 16.0f, (c & 15) / 16.0f + 15.0f / 256.0f, (c >> 4) / 16.0f + 1.0f / 16.0f, 0};
    return MaxAlpha(*picture, cell);
  };
  EXPECT_GT(cellInk('A'), 200);
  EXPECT_GT(cellInk('0'), 200);
  EXPECT_GT(cellInk(0xE9), 200);  // e acute
  EXPECT_EQ(cellInk(' '), 0);
  EXPECT_EQ(cellInk(7), 0);
  EXPECT_EQ(cellInk(0x85), 0);
  // Nothing in the 16th column of any cell: the game shows only the left 15.
  for (int y = 0; y < 256; ++y) {
    for (int col = 0; col < 16; ++col) EXPECT_EQ(picture->At(col * 16 + 15, y).a, 0);
  }
}

TEST(GeneratedFonts, GameRootHoldsTheFontsTheGameLoads) {
  const std::string root = test::GameRoot();
  ASSERT_FALSE(root.empty());
  test::TempDir dir;  // restores the working directory afterwards
  std::filesystem::current_path(root);
  test::CoreServices services;
  N_FontList fonts;
  for (const char* name : {"normal", "bold"}) {
    const N_Font* font = LoadFont(fonts, name);
    ASSERT_NE(font, nullptr) << name;
    EXPECT_EQ(font->firstChar, 32);
    EXPECT_EQ(font->glyphCount, 224);
    EXPECT_GT(font->GetGlyph('M').advance, 5.0f);
    EXPECT_LT(font->GetGlyph('M').advance, 16.0f);
    EXPECT_TRUE(std::filesystem::exists(std::string("data/gfx/fonts/") + name + ".dds")) << name;
  }
  EXPECT_GT(LoadFont(fonts, "bold")->GetGlyph('a').advance, LoadFont(fonts, "normal")->GetGlyph('a').advance);
  EXPECT_TRUE(std::filesystem::exists("data/gfx/2d/bigchars.dds"));
}

}  // namespace
