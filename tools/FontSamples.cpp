// The fonts of the game root: the proportional GUI fonts, each a glyph file
// "data/gfx/fonts/<name>.font" with its picture "data/gfx/fonts/<name>.dds", and the
// fixed font's picture "data/gfx/2d/bigchars.dds" (the texture of the shader
// "gfx/2d/bigchars"). All are rendered from DejaVu (Debian's fonts-dejavu-core).
#include "tools/DdsWriter.h"
#include "tools/FontWriter.h"
#include "tools/Step.h"

#include <cstdio>
#include <string>

#ifndef NAVO_FONT_DIR
#define NAVO_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

struct FontSample {
  const char* name;  ///< the font name the GUI scripts give ("fontname")
  const char* file;  ///< below NAVO_FONT_DIR
};

constexpr FontSample kFonts[] = {
    {"normal", "DejaVuSans.ttf"},
    {"bold", "DejaVuSans-Bold.ttf"},
};

std::string FontPath(const char* file) { return std::string(NAVO_FONT_DIR) + "/" + file; }

bool WriteProportional(datagen::Output& out, const FontSample& sample) {
  datagen::ProportionalFontSpec spec;
  spec.ttfPath = FontPath(sample.file);
  std::string error;
  const auto font = datagen::RenderProportionalFont(spec, error);
  if (!font) {
    std::fprintf(stderr, "datagen: font '%s': %s\n", sample.name, error.c_str());
    return false;
  }
  const std::string base = std::string("data/gfx/fonts/") + sample.name;
  return out.Write(base + ".font", datagen::EncodeFontFile(*font)) &&
         out.Write(base + ".dds", datagen::EncodeDds(font->picture, {datagen::DdsFormat::A8R8G8B8, true}));
}

bool WriteFonts(datagen::Output& out) {
  bool ok = true;
  for (const FontSample& sample : kFonts) ok = WriteProportional(out, sample) && ok;
  std::string error;
  const auto fixed = datagen::RenderFixedFont({FontPath("DejaVuSansMono.ttf"), 32}, error);
  if (!fixed) {
    std::fprintf(stderr, "datagen: fixed font: %s\n", error.c_str());
    return false;
  }
  return out.Write("data/gfx/2d/bigchars.dds", datagen::EncodeDds(*fixed, {datagen::DdsFormat::A8R8G8B8, true})) && ok;
}

const datagen::StepRegistrar kFontStep{{"fonts", "GUI fonts and the fixed font", &WriteFonts}};

}  // namespace
