// A page on the OpenGL device under the virtual X server: a button with a red up
// look, a green highlighted look and a caption in the generated font "normal" with
// its material from the game's data, read back from the back buffer.
#include "core/CoreServices.h"
#include "core/VarMng.h"
#include "gui/GuiButton.h"
#include "gui/GuiPage.h"
#include "platform/win32/TestWindow.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/TextureMngImpl.h"
#include "render/Camera.h"
#include "tests/gui/GuiPixelRig.h"
#include "tests/gui/GuiRig.h"
#include "tests/support/BackBuffer.h"
#include "tools/DdsWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

using test::IsGreen;
using test::IsRed;
using test::WriteSolidDds;
bool IsBlue(const platform::Rgba8& p) { return p.b > 150 && p.r < 100 && p.g < 100; }

class GuiPixels : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path root = fs::path(test::GameRoot()) / "data";
    fs::create_directories("data/scripts");
    fs::create_directories("data/gfx");
    fs::copy(root / "gfx" / "fonts", "data/gfx/fonts", fs::copy_options::recursive);
    fs::copy(root / "scripts" / "fonts.shader", "data/scripts/fonts.shader");
    WriteSolidDds("data/gui/red.dds", {255, 0, 0, 255});
    WriteSolidDds("data/gui/green.dds", {0, 255, 0, 255});
    gl.Open(rig);
  }
  void TearDown() override { gl.Close(rig); }

  test::BackBufferImage DrawPage(N_GuiPage& page) {
    render->BeginFrame();
    render->SetupCamera(&camera, 0);
    page.Render();
    rig.batch.Flush();
    render->EndFrame();
    return test::ReadBackBuffer(render->Device());
  }

  test::GuiRig rig{true};
  test::GuiGlDevice gl;
  N_TextureMngImpl& textures = gl.textures;
  N_Render*& render = gl.render;
  N_Camera& camera = gl.camera;
};

TEST_F(GuiPixels, AButtonTurnsGreenUnderTheMouseAndShowsItsCaption) {
  N_GuiPage* page = rig.mng->CreatePage("Pixels");
  auto* button = rig.Create<N_GuiButton>("Button", "ok");
  for (const auto& [name, value] : {std::pair{"left", "100"}, {"top", "100"}, {"width", "240"}, {"height", "80"},
                                    {"upshader", "gui/red"}, {"highlightupshader", "gui/green"},
                                    {"fontname", "normal"}, {"charheight", "3"}, {"color", "3"},
                                    {"alignment", "center"}, {"caption", "OK"}})
    ASSERT_TRUE(button->SetAttribute(name, value)) << name;
  page->AddElement(button);
  page->ShowImmediate();
  rig.shaders.LoadShaders();  // after the page is built, as the game loads its shaders
  textures.PurgeTextures();
  rig.batch.Init();

  struct Look {
    const char* what;
    bool (*background)(const platform::Rgba8&);
  };
  const Look looks[] = {{"up: red", &IsRed}, {"highlighted: green", &IsGreen}};
  for (const Look& look : looks) {
    const test::BackBufferImage image = DrawPage(*page);
    ASSERT_EQ(image.width, 640u);
    // The corners of the rectangle (100, 100)-(340, 180) in the look, the screen around it dark.
    EXPECT_GT(image.Count(102, 102, 140, 115, look.background), 400) << look.what;
    EXPECT_GT(image.Count(300, 165, 338, 178, look.background), 400) << look.what;
    EXPECT_EQ(image.Count(0, 0, 640, 95, look.background), 0) << look.what;
    EXPECT_EQ(image.Count(0, 185, 640, 480, look.background), 0) << look.what;
    // The caption, centred, in palette colour 3 (blue) over the look.
    EXPECT_GT(image.Count(180, 110, 260, 170, &IsBlue), 100) << look.what;
    EXPECT_EQ(image.Count(0, 0, 640, 95, &IsBlue), 0) << look.what;

    N_GuiEvent enter;
    enter.type = N_GuiEventType::Enter;
    button->HandleEvent(enter);
  }
}

}  // namespace
