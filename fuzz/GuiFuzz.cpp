// The GUI page scripts ("scripts\gui\*.gui"), through the GUI manager as the world's
// start-up reads them: a fresh manager with every factory registered parses the folder
// (N_GuiMng::LoadGuiFiles, one ParseGuiFile per file), then every page it made is
// shown, drawn into a text batch that draws nowhere and hit at a few points, and the
// manager is deleted (the sanitizer build checks that nothing is left behind).
//
// The input is "fuzz.gui"; lines "//@ NAME" in it start further files of the folder
// (FuzzSupport.h), so an input can include itself ("#include fuzz.gui") or make a
// cycle through another file. The fonts "normal" and "bold" exist, with fixed advances.
#include "core/Font.h"
#include "fuzz/FuzzSupport.h"
#include "gui/GuiFactories.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "render/ShaderMng.h"
#include "render/TextBatch.h"

#include <memory>
#include <string_view>
#include <vector>

namespace {

N_FontList FixedFonts() {
  N_FontList fonts;
  for (const char* name : {"normal", "bold"}) {
    auto font = std::make_unique<N_Font>();
    font->firstChar = 32;
    font->glyphCount = 96;
    font->glyphs.assign(96, N_Glyph{0.0f, 0.0f, 0.05f, 0.05f, 8.0f});
    fonts[name] = std::move(font);
  }
  return fonts;
}

N_TextBatch& Batch() {
  static N_TextBatch* const batch = [] {
    auto* made = new N_TextBatch(nullptr);  // kept for the whole process
    made->Init();
    return made;
  }();
  return *batch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<fuzz::InputFile> files = fuzz::SplitFiles(std::string_view(reinterpret_cast<const char*>(data), size));
  files.front().name = "fuzz.gui";
  fuzz::WriteFiles("data\\scripts\\gui", files);

  N_TextBatch& batch = Batch();
  N_FontList fonts = FixedFonts();
  N_ShaderMng shaders(64);
  auto mng = std::make_unique<N_GuiMng>();
  g_guiServices = {mng.get(), &shaders, &batch, &fonts};
  RegisterGuiFactories(*mng);
  mng->LoadGuiFiles("scripts\\gui\\*.gui");
  for (const auto& [name, page] : mng->Pages()) page->ShowImmediate();
  mng->Render();
  batch.Flush();
  for (const float at : {0.0f, 10.0f, 100.0f, 320.0f, 639.0f}) (void)mng->HitTest(at, at * 0.75f);
  mng.reset();
  g_guiServices = {};
  return 0;
}
