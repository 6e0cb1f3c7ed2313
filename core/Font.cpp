#include "core/Font.h"

#include "core/ErrorLog.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "platform/win32.h"

#include <bit>
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

}  // namespace

bool ReadFontFile(N_Font& font, const char* path) {
  std::FILE* file = platform::OpenFile(path ? path : "", "rb");
  if (!file) return false;
  std::uint8_t header[kFontHeaderSize] = {};
  // A short header leaves the rest zero, like the short glyph table below.
  (void)std::fread(header, 1, sizeof(header), file);
  const std::int32_t count = ReadField<std::int32_t>(header + 4);
  if (count < 0 || count > kMaxFontGlyphs) {
    std::fclose(file);
    return false;
  }
  font.firstChar = ReadField<std::int32_t>(header);
  font.glyphCount = count;
  std::memcpy(font.headerRest, header + 8, sizeof(font.headerRest));
  font.glyphs.assign(static_cast<std::size_t>(count), N_Glyph{});
  std::uint8_t record[kFontGlyphSize];
  for (N_Glyph& glyph : font.glyphs) {
    if (std::fread(record, 1, sizeof(record), file) != sizeof(record)) break;
    glyph = ReadGlyph(record);
  }
  std::fclose(file);
  for (N_Glyph& glyph : font.glyphs) glyph.advance *= 0.25f;
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
