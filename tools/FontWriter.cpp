#include "tools/FontWriter.h"

#include "tools/ByteWriter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <memory>

namespace datagen {

namespace {

/// A FreeType library with one face, released together.
class Face {
 public:
  Face(const std::string& path, std::string& error) {
    if (FT_Init_FreeType(&m_library) != 0) {
      error = "FreeType does not start";
      m_library = nullptr;
      return;
    }
    if (FT_New_Face(m_library, path.c_str(), 0, &m_face) != 0) {
      error = "cannot open the font '" + path + "'";
      m_face = nullptr;
    }
  }
  ~Face() {
    if (m_face) FT_Done_Face(m_face);
    if (m_library) FT_Done_FreeType(m_library);
  }
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;

  FT_Face Get() const { return m_face; }
  /// Pixel height of the em square that makes ascender - descender fill the line.
  int EmPixelsForLine(int lineHeight) const {
    const int units = m_face->ascender - m_face->descender;
    return std::max(1, lineHeight * m_face->units_per_EM / units);
  }
  int AscenderPixels(int emPixels) const {
    return static_cast<int>(std::lround(static_cast<double>(m_face->ascender) * emPixels / m_face->units_per_EM));
  }
  std::string Name() const {
    return std::string(m_face->family_name ? m_face->family_name : "") + " " +
           (m_face->style_name ? m_face->style_name : "");
  }

 private:
  FT_Library m_library = nullptr;
  FT_Face m_face = nullptr;
};

/// Copies the rendered glyph's coverage into the picture as white with alpha, pen at
/// (penX, baseline), clipped to the cell [cellX, cellX + cellW) x [cellY, cellY + cellH).
void Blit(const FT_GlyphSlot slot, RgbaImage& picture, int penX, int baseline, int cellX, int cellY, int cellW,
          int cellH) {
  const FT_Bitmap& bitmap = slot->bitmap;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const int y = baseline - slot->bitmap_top + static_cast<int>(row);
    if (y < cellY || y >= cellY + cellH) continue;
    for (unsigned col = 0; col < bitmap.width; ++col) {
      const int x = penX + slot->bitmap_left + static_cast<int>(col);
      if (x < cellX || x >= cellX + cellW) continue;
      const std::uint8_t coverage = bitmap.buffer[static_cast<int>(row) * bitmap.pitch + static_cast<int>(col)];
      Rgba& texel = picture.At(x, y);
      texel.a = std::max(texel.a, coverage);
    }
  }
}

int NextPowerOfTwo(int value) {
  int p = 1;
  while (p < value) p *= 2;
  return p;
}

constexpr int kGutter = 2;  // empty texels between cells, so filtering never picks up a neighbour
constexpr Rgba kClear{255, 255, 255, 0};

}  // namespace

bool IsPrintableCode(int code) { return (code >= 32 && code <= 126) || (code >= 160 && code <= 255); }

std::optional<RenderedFont> RenderProportionalFont(const ProportionalFontSpec& spec, std::string& error) {
  Face face(spec.ttfPath, error);
  if (!face.Get()) return std::nullopt;
  const int em = face.EmPixelsForLine(spec.lineHeight);
  FT_Set_Pixel_Sizes(face.Get(), 0, static_cast<FT_UInt>(em));
  RenderedFont font;
  font.firstChar = spec.firstChar;
  font.lineHeight = spec.lineHeight;
  font.baseline = face.AscenderPixels(em);
  font.faceName = face.Name();

  // First pass: advances and cell places, rows filled left to right.
  struct Cell {
    int x = 0, y = 0, advance = 0;
  };
  std::vector<Cell> cells(static_cast<std::size_t>(spec.count));
  int x = kGutter, y = kGutter;
  for (int i = 0; i < spec.count; ++i) {
    const int code = spec.firstChar + i;
    if (!IsPrintableCode(code)) continue;
    if (FT_Load_Char(face.Get(), static_cast<FT_ULong>(code), FT_LOAD_DEFAULT) != 0) continue;
    const int advance = static_cast<int>((face.Get()->glyph->advance.x + 32) >> 6);
    if (x + advance + kGutter > spec.pictureWidth) {
      x = kGutter;
      y += spec.lineHeight + kGutter;
    }
    cells[static_cast<std::size_t>(i)] = {x, y, advance};
    x += advance + kGutter;
  }
  font.picture = RgbaImage(spec.pictureWidth, NextPowerOfTwo(y + spec.lineHeight + kGutter), kClear);

  // Second pass: render into the cells and describe them.
  const float w = static_cast<float>(font.picture.Width());
  const float h = static_cast<float>(font.picture.Height());
  font.glyphs.resize(cells.size());
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const Cell& cell = cells[i];
    if (cell.advance <= 0) continue;
    const auto code = static_cast<FT_ULong>(spec.firstChar + static_cast<int>(i));
    if (FT_Load_Char(face.Get(), code, FT_LOAD_RENDER) == 0) {
      Blit(face.Get()->glyph, font.picture, cell.x, cell.y + font.baseline, cell.x, cell.y, cell.advance,
           spec.lineHeight);
    }
    font.glyphs[i] = {cell.x / w, cell.y / h, (cell.x + cell.advance) / w, (cell.y + spec.lineHeight) / h,
                      static_cast<float>(cell.advance) * 64.0f / static_cast<float>(spec.lineHeight)};
  }
  return font;
}

std::optional<RgbaImage> RenderFixedFont(const FixedFontSpec& spec, std::string& error) {
  Face face(spec.ttfPath, error);
  if (!face.Get()) return std::nullopt;
  // The game shows the left 15/16 of a cell as 8 x 16 units: stretch the glyphs
  // across that width so they keep their shape on screen.
  const int cell = spec.cellSize;
  const int glyphWidth = cell * 15 / 16;
  const int emHeight = face.EmPixelsForLine(cell);
  const int advanceUnits = std::max<int>(1, face.Get()->max_advance_width);
  const int emWidth = std::max(1, glyphWidth * face.Get()->units_per_EM / advanceUnits);
  FT_Set_Pixel_Sizes(face.Get(), static_cast<FT_UInt>(emWidth), static_cast<FT_UInt>(emHeight));
  const int baseline = face.AscenderPixels(emHeight);
  RgbaImage picture(16 * cell, 16 * cell, kClear);
  for (int code = 0; code < 256; ++code) {
    if (!IsPrintableCode(code)) continue;
    if (FT_Load_Char(face.Get(), static_cast<FT_ULong>(code), FT_LOAD_RENDER) != 0) continue;
    const int cellX = (code & 15) * cell;
    const int cellY = (code >> 4) * cell;
    const int advance = static_cast<int>((face.Get()->glyph->advance.x + 32) >> 6);
    const int penX = cellX + std::max(0, (glyphWidth - advance) / 2);
    Blit(face.Get()->glyph, picture, penX, cellY + baseline, cellX, cellY, glyphWidth, cell);
  }
  return picture;
}

std::vector<std::uint8_t> EncodeFontFile(const RenderedFont& font) {
  ByteWriter out;
  out.I32(font.firstChar);
  out.I32(static_cast<std::int32_t>(font.glyphs.size()));
  out.U32(static_cast<std::uint32_t>(font.picture.Width()));
  out.U32(static_cast<std::uint32_t>(font.picture.Height()));
  out.U32(static_cast<std::uint32_t>(font.lineHeight));
  out.U32(static_cast<std::uint32_t>(font.baseline));
  out.FixedText(font.faceName, kFontHeaderSize - 24);
  for (const N_Glyph& g : font.glyphs) {
    out.F32(g.left);
    out.F32(g.top);
    out.F32(g.right);
    out.F32(g.bottom);
    out.F32(g.advance);
  }
  return out.Take();
}

}  // namespace datagen
