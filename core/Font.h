#pragma once
// Proportional bitmap fonts. A font is a glyph file "data\gfx\fonts\<name>.font"
// (each character's rectangle in the font picture and its advance) plus a shader of
// the same name carrying the picture, which the GUI asks the shader manager for.
// Fonts are loaded once per name into the font list of the world root object, which
// owns them and frees them together (FreeFonts) when the world goes away.
//
// File (little-endian, no magic): i32 first character, i32 glyph count n, 68 bytes
// not read here (the font tool's notes), then n glyph records of five f32: left,
// top, right, bottom in texture coordinates and the advance in quarter units.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct N_Glyph {
  float left = 0.0f;  ///< picture rectangle in texture coordinates
  float top = 0.0f;
  float right = 0.0f;
  float bottom = 0.0f;
  /// Width in virtual-screen units at scale 1 (the file's value x 0.25); the height
  /// at scale 1 is 16 units for every glyph.
  float advance = 0.0f;
};
static_assert(sizeof(N_Glyph) == 20);

constexpr std::size_t kFontHeaderSize = 76;
constexpr std::size_t kFontGlyphSize = 20;
/// Glyph counts above this (or below 0) make a file unusable.
constexpr std::int32_t kMaxFontGlyphs = 65536;
/// The widest advance a glyph may have in the file (quarter units): four screens.
constexpr float kMaxFontAdvance = 4.0f * 4.0f * 640.0f;

class N_Font {
 public:
  /// The character described by glyph 0.
  std::int32_t firstChar = 0;
  std::int32_t glyphCount = 0;
  /// Header bytes 8-75, kept as read.
  std::uint8_t headerRest[kFontHeaderSize - 8] = {};
  std::vector<N_Glyph> glyphs;
  /// All zero: no picture, no advance; for characters outside the table.
  N_Glyph emptyGlyph;

  /// The glyph of an 8-bit character, or the empty glyph outside the table.
  const N_Glyph& GetGlyph(unsigned char c) const;
};

/// Font name (case-sensitive) -> font; null for a name whose file failed to load.
using N_FontList = std::map<std::string, std::unique_ptr<N_Font>>;

/// The listed font of that name, or loads and lists it. A name that failed before
/// gives null without a second attempt; a null or empty name gives null (not listed).
N_Font* LoadFont(N_FontList& list, const char* name);
/// Deletes every listed font and empties the list.
void FreeFonts(N_FontList& list);
/// Reads one ".font" file into the font: false when it does not open or its glyph
/// count is negative or above kMaxFontGlyphs. A short file leaves what it lacks zero
/// (a short header: no glyphs), and a glyph with a corner that is not finite or an
/// advance outside 0..kMaxFontAdvance is made zero; each is logged once with the
/// file's name. Every advance is scaled by 0.25.
bool ReadFontFile(N_Font& font, const char* path);
