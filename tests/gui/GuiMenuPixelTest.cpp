// The sample main menu on the OpenGL device under the virtual X server, at 640 x 480:
// the game root's page scripts, materials, pictures and fonts, the manager's frame
// driven by the scripted mouse, read back from the back buffer.
#include "core/CoreServices.h"
#include "core/Globals.h"
#include "core/StringTable.h"
#include "core/VarMng.h"
#include "gui/GuiButton.h"
#include "gui/GuiPage.h"
#include "platform/win32/TestWindow.h"
#include "render/Camera.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/TextureMngImpl.h"
#include "tests/gui/GuiPixelRig.h"
#include "tests/gui/GuiRig.h"
#include "tests/support/BackBuffer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

bool IsWhite(const platform::Rgba8& p) { return p.r > 200 && p.g > 200 && p.b > 200; }
bool IsBlack(const platform::Rgba8& p) { return p.r < 12 && p.g < 12 && p.b < 12; }
/// The up look of the menu buttons (blue) and the over look (orange).
bool IsButtonUp(const platform::Rgba8& p) { return p.b > 90 && p.b > p.r + 40 && p.r < 60; }
bool IsButtonOver(const platform::Rgba8& p) { return p.r > 180 && p.g > 70 && p.g < 170 && p.b < 60; }
/// The lens picture "lens_single": a red disc.
bool IsLensRed(const platform::Rgba8& p) { return p.r > 100 && p.g < 40 && p.b < 40; }

using test::Pixel;

class GuiMenuPixels : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path root = fs::path(test::GameRoot()) / "data";
    fs::create_directories("data");
    for (const char* folder : {"scripts", "gfx", "textures"}) {
      fs::copy(root / folder, fs::path("data") / folder, fs::copy_options::recursive);
    }
    gl.Open(rig);
    if (HasFatalFailure()) return;
    strings.SetLanguage("eng");
    strings.ReadDir("scripts\\strings\\*.string");
    g_stringTable = &strings;

    // As the world starts: the pages, the cursor, then the shaders and the menu.
    rig.mng->LoadGuiFiles("scripts\\gui\\*.gui");
    cursor = rig.mng->CreateElement("Cursor", "Cursor", false);
    cursor->SetShader("Kurzor");
    rig.mng->SetCursor(cursor);
    rig.mng->CreateCursorPage();
    rig.mng->ShowCursor(false);
    rig.shaders.LoadShaders();
    textures.PurgeTextures();
    rig.batch.Init();
    // The finder keeps the working directory of its first use: one test per process.
    for (const char* name : {"Background", "MainMenu"}) {
      ASSERT_NE(rig.mng->GetPage(name), nullptr) << name;
      rig.mng->GetPage(name)->ShowImmediate();
    }
    // The menu's own callback lives in the front-end, above the GUI: here the button
    // switches its page through the GUI's own "gotopage".
    auto* single = dynamic_cast<N_GuiButton*>(rig.mng->GetElement("SinglePlayer", false));
    ASSERT_NE(single, nullptr);
    single->SetGotoPage("SinglePlayer");
  }
  void TearDown() override {
    g_stringTable = nullptr;
    gl.Close(rig);
  }

  /// One frame of the game's loop: input, timer, the GUI's update, then the frame drawn
  /// as the world draws it; the back buffer as it was presented.
  test::BackBufferImage Frame(double seconds = 0.02) {
    input.mng->Update();
    rig.Step(seconds);
    rig.mng->Update();
    render->BeginFrame();
    render->SetupCamera(&camera, 0);
    rig.mng->Render();
    rig.batch.Flush();
    const test::BackBufferImage image = test::ReadBackBuffer(render->Device());
    render->EndFrame();
    if (const char* dump = std::getenv("NAVO_GUI_DUMP")) render->SaveScreenshot(dump, 0, 0, 640, 480);
    return image;
  }
  test::BackBufferImage MoveTo(int x, int y) {
    input.script.MoveMouse(x - std::lround(cursor->GetLeft()), y - std::lround(cursor->GetTop()));
    return Frame();
  }

  test::GuiRig rig{true};
  test::GuiInput input{rig};
  N_StringTable strings;
  test::GuiGlDevice gl;
  N_TextureMngImpl& textures = gl.textures;
  N_Render*& render = gl.render;
  N_Camera& camera = gl.camera;
  N_GuiElement* cursor = nullptr;
};

TEST_F(GuiMenuPixels, CursorHoverClickOffsetAndPageOrder) {
  // The cursor's picture has its top-left corner at the cursor's left and top.
  for (const auto& [left, top] : {std::pair{400, 60}, std::pair{520, 420}}) {
    const test::BackBufferImage image = MoveTo(left, top);
    ASSERT_EQ(image.width, 640u);
    ASSERT_EQ(cursor->GetLeft(), float(left));
    ASSERT_EQ(cursor->GetTop(), float(top));
    const UINT x = Pixel(left, 640), y = Pixel(top, 480);
    EXPECT_EQ(image.Count(x, y, x + 2, y + 2, &IsWhite), 4) << left;      // the arrow's tip
    EXPECT_EQ(image.Count(x - 3, y - 3, x + 10, y, &IsWhite), 0) << left;  // nothing above it
    EXPECT_EQ(image.Count(x - 3, y - 3, x, y + 10, &IsWhite), 0) << left;  // nor left of it
    EXPECT_GT(image.Count(x, y, x + 12, y + 16, &IsWhite), 40) << left;    // its body below and right
  }

  // "SinglePlayer" (the first button of the main menu's frame) shows its over look.
  const UINT bx = 60, by = 140, bw = 240, bh = 36;
  test::BackBufferImage image = MoveTo(400, 60);
  EXPECT_GT(image.Count(bx + 4, by + 4, bx + 40, by + bh - 4, &IsButtonUp), 300);
  EXPECT_EQ(image.Count(bx, by, bx + bw, by + bh, &IsButtonOver), 0);
  image = MoveTo(bx + 200, by + 10);
  EXPECT_GT(image.Count(bx + 4, by + 4, bx + 40, by + bh - 4, &IsButtonOver), 300);
  EXPECT_EQ(image.Count(bx + 4, by + 4, bx + 40, by + bh - 4, &IsButtonUp), 0);

  // A click follows its "gotopage": after half a second "MainMenu" is gone (its sixth
  // button, "Exit", with it) and "SinglePlayer" is drawn (five buttons).
  const UINT exitY = by + 250;
  EXPECT_GT(image.Count(bx + 4, exitY + 4, bx + 40, exitY + bh - 4, &IsButtonUp), 300);
  input.script.ButtonDown(0);
  Frame();
  input.script.ButtonUp(0);
  for (int i = 0; i < 6; ++i) image = Frame(0.1);
  EXPECT_FALSE(rig.mng->GetPage("MainMenu")->IsVisible());
  EXPECT_TRUE(rig.mng->GetPage("SinglePlayer")->IsVisible());
  EXPECT_EQ(image.Count(bx + 4, exitY + 4, bx + 40, exitY + bh - 4, &IsButtonUp), 0);
  EXPECT_GT(image.Count(bx + 4, by + 204, bx + 40, by + 230, &IsButtonUp), 300) << "Back1";
  EXPECT_EQ(rig.mng->GetCursorCounter(), 1);

  // The lens picture of the backdrop, and the backdrop moved 100 to the right.
  image = MoveTo(10, 10);
  EXPECT_GT(image.Count(410, 240, 430, 260, &IsLensRed), 300);
  EXPECT_EQ(image.Count(590, 240, 610, 260, &IsLensRed), 0);
  rig.mng->GetPage("Background")->SetOffset(100.0f, 0.0f);
  image = Frame();
  EXPECT_EQ(image.Count(410, 240, 430, 260, &IsLensRed), 0);
  EXPECT_GT(image.Count(590, 240, 610, 260, &IsLensRed), 300);
  rig.mng->GetPage("Background")->SetOffset(0.0f, 0.0f);

  // Of two overlapping pages the higher one is drawn on top: the black screen (550)
  // covers the menu (20), the cursor page (600) stays above it.
  rig.mng->GetPage("BlackScreen")->ShowImmediate();
  rig.mng->ShowCursor(true);  // the black page itself asks for no cursor
  image = MoveTo(300, 300);
  EXPECT_EQ(image.Count(0, 0, 640, 480, &IsBlack) + image.Count(300, 300, 320, 320, [](const platform::Rgba8& p) {
    return !IsBlack(p);
  }), 640 * 480) << "black but for the cursor";
  EXPECT_GT(image.Count(301, 301, 313, 317, &IsWhite), 40);
}

TEST_F(GuiMenuPixels, CaptionsOfBothFontsDrawInTheirBoxes) {
  // The captions in the bold font (page title, menu button, message-box button) and one
  // in the normal font: each puts light glyph pixels into its box, counted against the
  // same box drawn without its caption (the buttons' border is light too).
  struct Case {
    const char* page;
    const char* element;
  };
  const Case cases[] = {
      {"MainMenu", "MainMenuTitle"},
      {"MainMenu", "SinglePlayer"},
      {"MessageOK", "Ok1"},
      {"MessageOK", "Label2"},
  };
  rig.mng->GetElement("Label2", false)->SetCaption("Not yet implemented.");
  const auto light = [](const platform::Rgba8& p) { return p.r > 150 && p.g > 150 && p.b > 150; };
  for (const Case& c : cases) {
    N_GuiElement* element = rig.mng->GetElement(c.element, false);
    ASSERT_NE(element, nullptr) << c.element;
    // The message box opens after the menu's cases: its frame covers their buttons.
    if (!rig.mng->GetPage(c.page)->IsVisible()) rig.mng->GetPage(c.page)->ShowImmediate();
    const int left = Pixel(element->GetScreenX(), 640), top = Pixel(element->GetScreenY(), 480);
    const int right = Pixel(element->GetScreenX() + element->GetWidth(), 640);
    const int bottom = Pixel(element->GetScreenY() + element->GetHeight(), 480);
    const auto count = [&] { return Frame(0.0).Count(UINT(left), UINT(top), UINT(right), UINT(bottom), light); };
    const int withText = count();
    const std::string caption = element->GetCaption();
    element->SetCaption("");
    const int without = count();
    element->SetCaption(caption);
    EXPECT_GT(withText - without, 80) << c.page << "/" << c.element << " '" << caption << "'";
  }
}

}  // namespace
