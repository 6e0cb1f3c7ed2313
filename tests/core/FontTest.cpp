#include "core/Font.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

/// A ".font" file: header with the first character and the count, then the records.
std::string FontBytes(std::int32_t first, std::int32_t count, const std::vector<N_Glyph>& glyphs) {
  std::string bytes(kFontHeaderSize, '\0');
  std::memcpy(bytes.data(), &first, 4);
  std::memcpy(bytes.data() + 4, &count, 4);
  for (const N_Glyph& g : glyphs) {
    const float fields[5] = {g.left, g.top, g.right, g.bottom, g.advance};
    bytes.append(reinterpret_cast<const char*>(fields), sizeof(fields));
  }
  return bytes;
}

TEST(Font, LoadsOnceScalesAdvancesAndLooksUpGlyphs) {
  test::TempDir dir;
  test::CoreServices services;
  std::vector<N_Glyph> glyphs(95);
  glyphs[33] = {0.25f, 0.5f, 0.375f, 0.625f, 40.0f};  // 'A'
  dir.Write("data/gfx/fonts/menu.font", FontBytes(32, 95, glyphs));
  dir.Write("data/gfx/fonts/Menu.font", FontBytes(65, 1, {{0, 0, 1, 1, 8.0f}}));

  N_FontList fonts;
  N_Font* font = LoadFont(fonts, "menu");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(LoadFont(fonts, "menu"), font);  // listed: the same font
  EXPECT_EQ(font->firstChar, 32);
  EXPECT_EQ(font->glyphCount, 95);
  EXPECT_EQ(font->GetGlyph('A').advance, 10.0f);
  EXPECT_EQ(font->GetGlyph('A').right, 0.375f);
  for (unsigned char c : {0, 31, 127, 200, 255}) {
    EXPECT_EQ(&font->GetGlyph(c), &font->emptyGlyph) << int(c);
  }
  EXPECT_EQ(&font->GetGlyph(126), &font->glyphs[94]);

  N_Font* other = LoadFont(fonts, "Menu");  // names are case-sensitive
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other, font);
  EXPECT_EQ(other->GetGlyph('A').advance, 2.0f);
  const std::string log = services.LogText();
  EXPECT_NE(log.find(" +   Font 'data\\gfx\\fonts\\menu.font' loadded\n"), std::string::npos);
  EXPECT_EQ(fonts.size(), 2u);
  FreeFonts(fonts);
  EXPECT_TRUE(fonts.empty());
}

TEST(Font, MissingFileIsReportedOnceAndRemembered) {
  test::TempDir dir;
  test::CoreServices services;
  N_FontList fonts;
  EXPECT_EQ(LoadFont(fonts, "nothere"), nullptr);
  dir.Write("data/gfx/fonts/nothere.font", FontBytes(32, 0, {}));  // too late: not read again
  EXPECT_EQ(LoadFont(fonts, "nothere"), nullptr);
  const std::string log = services.LogText();
  const std::string report = "Couldn't load font 'data\\gfx\\fonts\\nothere.font'\n";
  ASSERT_NE(log.find(report), std::string::npos);
  EXPECT_EQ(log.find(report, log.find(report) + 1), std::string::npos);
  EXPECT_EQ(services.errorLog->LastCode(), 6);
  EXPECT_EQ(fonts.count("nothere"), 1u);
  EXPECT_EQ(LoadFont(fonts, ""), nullptr);
  EXPECT_EQ(LoadFont(fonts, nullptr), nullptr);
  EXPECT_EQ(fonts.size(), 1u);  // the empty name is not listed
}

TEST(Font, CountsAreCheckedAndShortFilesZeroFilled) {
  test::TempDir dir;
  test::CoreServices services;
  struct Case {
    const char* name;
    std::string bytes;
    bool loads;
  };
  const Case cases[] = {
      {"short", FontBytes(32, 3, {}), true},  // 76 bytes, count 3: three zero glyphs
      {"negative", FontBytes(32, -1, {}), false},
      {"huge", FontBytes(32, 65537, {}), false},
      {"max", FontBytes(0, 65536, {{0, 0, 1, 1, 4}}), true},
      {"empty", "", true},  // no header at all: a font without glyphs
  };
  for (const Case& c : cases) {
    dir.Write(std::string("data/gfx/fonts/") + c.name + ".font", c.bytes);
    N_Font font;
    EXPECT_EQ(ReadFontFile(font, (std::string("data\\gfx\\fonts\\") + c.name + ".font").c_str()), c.loads) << c.name;
  }
  N_FontList fonts;
  N_Font* font = LoadFont(fonts, "short");
  ASSERT_NE(font, nullptr);
  ASSERT_EQ(font->glyphs.size(), 3u);
  for (const N_Glyph& g : font->glyphs) {
    EXPECT_EQ(g.advance, 0.0f);
    EXPECT_EQ(g.right, 0.0f);
  }
  EXPECT_EQ(LoadFont(fonts, "negative"), nullptr);
  EXPECT_EQ(services.errorLog->LastCode(), 6);
  font = LoadFont(fonts, "max");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->glyphs.size(), 65536u);
  EXPECT_EQ(font->GetGlyph(0).advance, 1.0f);
  EXPECT_EQ(font->GetGlyph(1).advance, 0.0f);
}

}  // namespace
