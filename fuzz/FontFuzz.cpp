// The ".font" glyph files, loaded by name into a font list as the GUI does, then every
// 8-bit character's glyph looked up.
#include "core/Font.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::WriteFile("data\\gfx\\fonts\\fuzz.font", data, size);
  N_FontList fonts;
  if (const N_Font* font = LoadFont(fonts, "fuzz")) {
    float width = 0.0f;
    for (int c = 0; c < 256; ++c) width += font->GetGlyph(static_cast<unsigned char>(c)).advance;
    (void)width;
  }
  FreeFonts(fonts);
  return 0;
}
