#include "core/Font.h"

#include "core/ErrorLog.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <new>

static_assert(std::endian::native == std::endian::little, "the font files are read as little-endian");

const N_Glyph& N_Font::GetGlyph(unsigned char c) const {
  const std::int64_t index = static_cast<std::int64_t>(c) - firstChar;
  if (index < 0 || index >= static_cast<std::int64_t>(glyphs.size())) return emptyGlyph;
  return glyphs[static_cast<std::size_t>(index)];
}

namespace {

template <typename T>
T ReadField(const std::uint8_t* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof(T));
  return value;
}

N_Glyph ReadGlyph(const std::uint8_t* bytes) {
  N_Glyph glyph;
  glyph.left = ReadField<float>(bytes);
  glyph.top = ReadField<float>(bytes + 4);
  glyph.right = ReadField<float>(bytes + 8);
  glyph.bottom = ReadField<float>(bytes + 12);
  glyph.advance = ReadField<float>(bytes + 16);
  return glyph;
}

/// Finite corners and an advance from 0 to kMaxFontAdvance (file units): a glyph the
/// text layout can place and measure.
bool Usable(const N_Glyph& glyph) {
  for (const float v : {glyph.left, glyph.top, glyph.right, glyph.bottom}) {
    if (!std::isfinite(v)) return false;
  }
  return glyph.advance >= 0.0f && glyph.advance <= kMaxFontAdvance;
}

}  // namespace

bool ReadFontFile(N_Font& font, const char* path) {
  const char* name = path ? path : "";
  std::FILE* file = platform::OpenFile(name, "rb");
  if (!file) return false;
  std::uint8_t header[kFontHeaderSize] = {};
  const std::size_t headerBytes = std::fread(header, 1, sizeof(header), file);
  const std::int32_t count = ReadField<std::int32_t>(header + 4);
  if (count < 0 || count > kMaxFontGlyphs) {
    std::fclose(file);
    if (g_log) g_log->Print("!!! Font %s: a glyph count of %d\n", name, count);
    return false;
  }
  // A short header reads as zeros, as a short glyph table does: a font without glyphs.
  if (headerBytes < sizeof(header) && g_log) g_log->Print("!!! Font %s: shorter than its header, no glyphs\n", name);
  font.firstChar = ReadField<std::int32_t>(header);
  font.glyphCount = count;
  std::memcpy(font.headerRest, header + 8, sizeof(font.headerRest));
  font.glyphs.assign(static_cast<std::size_t>(count), N_Glyph{});
  std::uint8_t record[kFontGlyphSize];
  std::int32_t read = 0;
  std::int32_t blanked = 0;
  for (N_Glyph& glyph : font.glyphs) {
    if (std::fread(record, 1, sizeof(record), file) != sizeof(record)) break;
    ++read;
    glyph = ReadGlyph(record);
    if (!Usable(glyph)) {
      glyph = N_Glyph{};
      ++blanked;
    }
  }
  std::fclose(file);
  for (N_Glyph& glyph : font.glyphs) glyph.advance *= 0.25f;
  // A cut table keeps its missing glyphs blank, as do glyphs the text layout cannot use.
  if (read < count && g_log) {
    g_log->Print("!!! Font %s: %d of %d glyphs in the file, the rest blank\n", name, read, count);
  }
  if (blanked > 0 && g_log) g_log->Print("!!! Font %s: %d glyph(s) with numbers out of range, blank\n", name, blanked);
  return true;
}

N_Font* LoadFont(N_FontList& list, const char* name) {
  if (!name) return nullptr;
  if (const auto it = list.find(name); it != list.end()) return it->second.get();
  if (!*name) return nullptr;
  std::unique_ptr<N_Font> font(new (std::nothrow) N_Font);
  if (!font) {
    if (g_errorLog) g_errorLog->Report(4, "Couldn't allocate memory for font '%s'\n", name);
    return nullptr;
  }
  const std::string path = FormatString("data\\gfx\\fonts\\%s.font", name);
  if (!ReadFontFile(*font, path.c_str())) {
    list.emplace(name, nullptr);
    if (g_errorLog) g_errorLog->Report(6, "Couldn't load font '%s'\n", path.c_str());
    return nullptr;
  }
  if (g_log) g_log->Print(" +   Font '%s' loadded\n", path.c_str());
  return list.emplace(name, std::move(font)).first->second.get();
}

void FreeFonts(N_FontList& list) { list.clear(); }
