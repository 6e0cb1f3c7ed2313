#pragma once
// Renders fonts from a TrueType file with FreeType:
// - proportional fonts: a ".font" glyph file and its picture. Each glyph's rectangle
//   is its advance box (pen to pen, full line height), which the text batcher
//   stretches to advance x 16 units, so the advance in the file is the advance in
//   pixels scaled to a 16-unit line, in quarter units;
// - the fixed font: a 16 x 16 grid of cells, character c in column c & 15, row
//   c >> 4, drawn in the left 15/16 of its cell.
// Codes 32-126 and 160-255 are the Latin-1 characters; the rest stay empty.
//
// ".font" header bytes 8-75, not read by the game: u32 picture width, u32 picture
// height, u32 line height and u32 baseline in pixels, then the face name (52 bytes,
// NUL-padded).
#include "core/Font.h"
#include "tools/Image.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace datagen {

struct ProportionalFontSpec {
  std::string ttfPath;
  int lineHeight = 32;     ///< pixels of one line (the 16-unit glyph height)
  int firstChar = 32;
  int count = 224;         ///< characters firstChar .. firstChar + count - 1
  int pictureWidth = 512;  ///< the height is the smallest power of two that holds every row
};

struct RenderedFont {
  std::int32_t firstChar = 0;
  /// Advances as stored in the file (quarter units).
  std::vector<N_Glyph> glyphs;
  RgbaImage picture;  ///< white, coverage in alpha
  int lineHeight = 0;
  int baseline = 0;
  std::string faceName;
};

struct FixedFontSpec {
  std::string ttfPath;
  int cellSize = 32;  ///< pixels; the picture is 16 cells square
};

/// Nullopt (and the reason in error) when the font file cannot be used.
std::optional<RenderedFont> RenderProportionalFont(const ProportionalFontSpec& spec, std::string& error);
std::optional<RgbaImage> RenderFixedFont(const FixedFontSpec& spec, std::string& error);

/// The ".font" file of a rendered font.
std::vector<std::uint8_t> EncodeFontFile(const RenderedFont& font);

/// Whether the 8-bit code has a character in the fonts (Latin-1 printable).
bool IsPrintableCode(int code);

}  // namespace datagen
