// Widgets on the OpenGL device under the virtual X server, at 640 x 480, read back
// from the back buffer: a progress bar's fill over its back, a text selector's slide
// inside its clip, an edit box's blinking caret and a table's image cell.
#include "core/CoreServices.h"
#include "core/VarMng.h"
#include "gui/GuiEditBox.h"
#include "gui/GuiPage.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "platform/win32/TestWindow.h"
#include "render/Camera.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/TextureMngImpl.h"
#include "tests/gui/GuiRig.h"
#include "tests/support/BackBuffer.h"
#include "tools/DdsWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

void WriteSolidDds(const std::string& path, datagen::Rgba colour) {
  const auto bytes = datagen::EncodeDds(datagen::RgbaImage(8, 8, colour), {});
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool IsRed(const platform::Rgba8& p) { return p.r > 200 && p.g < 60 && p.b < 60; }
bool IsGreen(const platform::Rgba8& p) { return p.g > 200 && p.r < 60 && p.b < 60; }
/// Text in palette colour 0 (white), also its soft glyph edges, on the black screen.
bool IsText(const platform::Rgba8& p) { return p.r > 40 && p.g > 40 && p.b > 40; }

/// The first pixel whose centre lies at or beyond the screen unit: the 2D set-up
/// projects 639 units onto 640 pixels (479 onto 480).
UINT Pixel(float units, int pixels) {
  return static_cast<UINT>(std::max(0.0, std::ceil(units * pixels / (pixels - 1) - 0.5)));
}

class GuiWidgetPixels : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path root = fs::path(test::GameRoot()) / "data";
    fs::create_directories("data/scripts");
    fs::create_directories("data/gfx");
    fs::copy(root / "gfx" / "fonts", "data/gfx/fonts", fs::copy_options::recursive);
    // The font's material without the vertex alpha: a sliding text that fades towards
    // its clip still shows every glyph it draws.
    rig.dir.Write("data/scripts/fonts.shader",
                  "normal\n{\n\tnopicmip\n\tcull none\n\t{\n\t\tmap gfx/fonts/normal\n\t\tblendfunc blend\n"
                  "\t\trgbgen vertex\n\t\talphagen identity\n\t}\n}\n");
    WriteSolidDds("data/gui/red.dds", {255, 0, 0, 255});
    WriteSolidDds("data/gui/green.dds", {0, 255, 0, 255});
    window = platform::CreateTestWindow(640, 480);
    ASSERT_NE(window, 0);
    rig.core.vars->SetInt("v_fullscreen", 0, 0);
    rig.core.vars->SetInt("v_width", 640, 0);
    rig.core.vars->SetInt("v_height", 480, 0);
    rig.core.vars->SetInt("wnd_handle", window, 0);
    services.errorLog = rig.core.errorLog.get();
    services.log = rig.core.log.get();
    services.varMng = rig.core.vars.get();
    services.textureMng = &textures;
    CreateRender(&services, &render);
    ASSERT_TRUE(render->Init());
    g_render = render;
    camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
    page = rig.mng->CreatePage("Widgets");
  }
  void TearDown() override {
    g_render = nullptr;
    rig.shaders.ResetRefCounts();
    rig.shaders.LoadShaders();
    textures.ResetRefCounts();
    textures.PurgeTextures();
    g_renderStateCache.currentShader = nullptr;
    if (render && render->Device()) render->Shutdown();
    if (render) ReleaseRender(render);
    if (window) platform::DestroyTestWindow(window);
  }
  /// After the page is built, as the game loads its shaders.
  void Show() {
    page->ShowImmediate();
    rig.shaders.LoadShaders();
    textures.PurgeTextures();
    rig.batch.Init();
  }
  /// One frame of the given length, drawn as the world draws the GUI.
  test::BackBufferImage Frame(double seconds = 0.02) {
    rig.Step(seconds);
    render->BeginFrame();
    render->SetupCamera(&camera, 0);
    rig.mng->Render();
    rig.batch.Flush();
    const test::BackBufferImage image = test::ReadBackBuffer(render->Device());
    render->EndFrame();
    return image;
  }
  template <class T>
  T* Add(const std::string& type, const std::string& name,
         std::initializer_list<std::pair<const char*, const char*>> attributes) {
    auto* element = rig.Create<T>(type, name);
    test::Set(*element, attributes);
    page->AddElement(element);
    return element;
  }

  test::GuiRig rig{true};
  N_CoreServices services;
  N_TextureMngImpl textures{1024};
  HWND window = 0;
  N_Render* render = nullptr;
  N_Camera camera;
  N_GuiPage* page = nullptr;
};

TEST_F(GuiWidgetPixels, AProgressBarFillsItsShareOverItsBack) {
  Add<N_GuiProgressBar>("ProgressBar", "bar",
                        {{"left", "100"}, {"top", "100"}, {"width", "200"}, {"height", "40"}, {"shader", "gui/red"},
                         {"shaderback", "gui/green"}, {"range", "100"}, {"value", "25"}});
  Show();
  const test::BackBufferImage image = Frame();
  ASSERT_EQ(image.width, 640u);
  const UINT top = Pixel(101, 480), bottom = Pixel(139, 480);
  // The fill over its first 50 units, the back beyond, nothing else.
  EXPECT_EQ(image.Count(Pixel(101, 640), top, Pixel(149, 640), bottom, &IsRed),
            int((Pixel(149, 640) - Pixel(101, 640)) * (bottom - top)));
  EXPECT_EQ(image.Count(Pixel(151, 640), top, Pixel(299, 640), bottom, &IsGreen),
            int((Pixel(299, 640) - Pixel(151, 640)) * (bottom - top)));
  EXPECT_EQ(image.Count(Pixel(151, 640), 0, 640, 480, &IsRed), 0);
  EXPECT_EQ(image.Count(0, 0, 640, Pixel(99, 480), &IsGreen), 0);
  EXPECT_EQ(image.Count(Pixel(301, 640), 0, 640, 480, &IsGreen), 0);
}

TEST_F(GuiWidgetPixels, ATextSelectorSlidesInsideItsClip) {
  auto* selector = Add<N_GuiTextSelector>("TextSelector", "sel",
                                          {{"left", "200"}, {"top", "200"}, {"fontname", "normal"}, {"charheight", "3"},
                                           {"color", "0"}, {"item", "WWW"}, {"item", "MMMMMM"}});
  Show();
  Frame();
  N_GuiEvent press;
  press.type = N_GuiEventType::Button;
  press.button = kGuiLeftButton;
  press.pressed = true;
  selector->HandleEvent(press);
  ASSERT_TRUE(selector->IsSliding());
  Frame(0.5);  // drawn at offset 0; then 15 units on
  float left = 0, top = 0, right = 0, bottom = 0;
  selector->ClipRect(left, top, right, bottom);
  ASSERT_EQ(bottom - top, 48.0f);
  const test::BackBufferImage image = Frame(0.1);  // both texts reach out of the clip by 15 and 33 units
  ASSERT_TRUE(selector->IsSliding());
  const UINT x0 = Pixel(left, 640), y0 = Pixel(top, 480), x1 = Pixel(right, 640), y1 = Pixel(bottom, 480);
  EXPECT_GT(image.Count(x0, y0, x1, y1, &IsText), 50) << "both texts inside, faded towards the clip's edges";
  // The scissor's pixels may round either way at its edges.
  const int all = image.Count(0, 0, 640, 480, &IsText);
  EXPECT_EQ(all, image.Count(x0 - 1, y0 - 1, x1 + 1, y1 + 1, &IsText)) << "no text pixel outside the clip";
  // After the slide the text stands unclipped at its place again.
  for (int i = 0; i < 5; ++i) Frame(0.5);
  EXPECT_FALSE(selector->IsSliding());
}

TEST_F(GuiWidgetPixels, AFocusedEditBoxBlinksItsCaret) {
  auto* edit = Add<N_GuiEditBox>("EditBox", "edit",
                                 {{"left", "100"}, {"top", "300"}, {"width", "300"}, {"height", "40"},
                                  {"fontname", "normal"}, {"charheight", "2"}, {"color", "0"}, {"caption", "AB"}});
  edit->SetFocus(true);
  Show();
  // The caret stands after the text: its column right of the text's last pixel.
  const test::BackBufferImage first = Frame(0.25);
  UINT textRight = 0;
  for (UINT x = 0; x < first.width; ++x) {
    if (first.Count(x, Pixel(300, 480), x + 1, Pixel(340, 480), &IsText) > 0) textRight = x;
  }
  ASSERT_GT(textRight, Pixel(100, 640));
  auto caretPixels = [&](const test::BackBufferImage& image) {
    return image.Count(textRight + 1, Pixel(300, 480), textRight + 30, Pixel(340, 480), &IsText);
  };
  EXPECT_EQ(caretPixels(first), 0) << "0.25 s";
  // Frames of 0.25 s: none at 0.5 s, shown at 0.75 s, hidden again at 1.5 s.
  const std::pair<double, bool> steps[] = {{0.5, false}, {0.75, true}, {1.0, true}, {1.25, true}, {1.5, false}};
  for (const auto& [time, shown] : steps) {
    const test::BackBufferImage image = Frame(0.25);
    if (shown) {
      EXPECT_GT(caretPixels(image), 10) << time << " s";
    } else {
      EXPECT_EQ(caretPixels(image), 0) << time << " s";
    }
  }
}

TEST_F(GuiWidgetPixels, ATableImageCellShowsItsPictureAtItsPlace) {
  Add<N_GuiTable>("Table", "T",
                  {{"left", "50"}, {"top", "50"}, {"width", "400"}, {"height", "200"}, {"rowheight", "40"},
                   {"columntypes", "text image"}, {"columnwidths", "100 60"}, {"row", "x gui/red"}});
  Show();
  const test::BackBufferImage image = Frame();
  // Row at (55, 55); the cell after the first column, inside the spacing: (155, 60),
  // 50 x 30.
  EXPECT_EQ(image.Count(Pixel(156, 640), Pixel(61, 480), Pixel(204, 640), Pixel(89, 480), &IsRed),
            int((Pixel(204, 640) - Pixel(156, 640)) * (Pixel(89, 480) - Pixel(61, 480))));
  EXPECT_EQ(image.Count(0, 0, 640, Pixel(59, 480), &IsRed), 0);
  EXPECT_EQ(image.Count(0, Pixel(91, 480), 640, 480, &IsRed), 0);
  EXPECT_EQ(image.Count(0, 0, Pixel(154, 640), 480, &IsRed), 0);
  EXPECT_EQ(image.Count(Pixel(206, 640), 0, 640, 480, &IsRed), 0);
}

}  // namespace
