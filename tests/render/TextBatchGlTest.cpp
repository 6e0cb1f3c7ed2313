// The text batcher through the renderer on the OpenGL device: the sample fonts drawn
// with their shaders in the 2D set-up, read back from the back buffer.
#include "core/CoreServices.h"
#include "core/Font.h"
#include "core/VarMng.h"
#include "platform/win32/TestWindow.h"
#include "render/Camera.h"
#include "render/Render.h"
#include "render/ShaderMng.h"
#include "render/TextBatch.h"
#include "render/TextBatchRenderTarget.h"
#include "render/TextureMngImpl.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/GlRender.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

class TextBatchGl : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* part : {"data/gfx", "data/scripts/2d.shader"}) test::CopyFromGameRoot(dir, part);
    dir.Write("data/scripts/fonts.shader",
              "gfx/fonts/normal\n{\n\tnopicmip\n\tcull none\n\t{\n\t\tmap gfx/fonts/normal\n"
              "\t\tblendfunc blend\n\t\trgbgen vertex\n\t}\n}\n");
    window = platform::CreateTestWindow(640, 480);
    ASSERT_NE(window, 0);
    test::SetUpRenderServices(core, services, window, 640, 480);
    services.textureMng = &textures;
    CreateRender(&services, &render);
    ASSERT_TRUE(render->Init());
    camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
    fixedFont = shaders.AddShader("gfx/2d/bigchars", 0, N_ShaderMng::kType2D);
    normalFont = shaders.AddShader("gfx/fonts/normal", 0, N_ShaderMng::kType2D);
    shaders.LoadShaders();
    textures.PurgeTextures();
    batch.Init();
  }
  void TearDown() override {
    // The world's shutdown order: the shaders give their textures back, the texture
    // manager releases them on the device, and only then does the renderer go.
    shaders.ResetRefCounts();
    shaders.LoadShaders();
    textures.PurgeTextures();
    if (render->Device()) render->Shutdown();
    ReleaseRender(render);
    platform::DestroyTestWindow(window);
  }

  void DrawQueued() {
    render->BeginFrame();
    render->SetupCamera(&camera, 0);
    batch.Flush();
    render->EndFrame();
  }

  /// Lit pixels (any channel above 64) in the rectangle, end exclusive.
  int Lit(UINT left, UINT top, UINT right, UINT bottom) {
    return test::ReadBackBuffer(render->Device()).Count(left, top, right, bottom, [](const platform::Rgba8& p) {
      return p.r > 64 || p.g > 64 || p.b > 64;
    });
  }

  test::TempDir dir;
  test::CoreServices core;
  N_CoreServices services;
  N_TextureMngImpl textures{1024};
  N_ShaderMng shaders{1024};
  N_TextBatchRenderTarget target{shaders};
  N_TextBatch batch{&target};
  HWND window = 0;
  N_Render* render = nullptr;
  N_Camera camera;
  int fixedFont = -1;
  int normalFont = -1;
};

TEST_F(TextBatchGl, FixedFontLettersLandInTheirCells) {
  // "A B" at scale 2: A in 100-115, the blank 116-131 stays dark, B in 132-147.
  batch.AddText("A B", fixedFont, 100.0f, 100.0f, 2.0f, 0, 255);
  DrawQueued();
  EXPECT_GT(Lit(100, 100, 116, 132), 20);
  EXPECT_EQ(Lit(117, 100, 131, 132), 0);
  EXPECT_GT(Lit(132, 100, 148, 132), 20);
  EXPECT_EQ(Lit(0, 140, 640, 480), 0);
}

TEST_F(TextBatchGl, ProportionalTextInTheSampleFont) {
  N_FontList fonts;
  const N_Font* font = LoadFont(fonts, "normal");
  ASSERT_NE(font, nullptr);
  float width = 0.0f, height = 0.0f;
  batch.MeasureText("Navo biathlon", font, 2.0f, &width, &height);
  batch.AddFontText("Navo biathlon", normalFont, font, 320.0f, 240.0f, 1, 1, 2.0f, 5, 255);
  batch.AddFontTextFadeX("fading out", normalFont, font, 320.0f, 300.0f, 250.0f, 390.0f, 1, 1, 1.0f, 0, 255);
  DrawQueued();
  // Centred on (320, 240): lit within the measured box, dark beside it.
  const auto half = UINT(width / 2.0f);
  EXPECT_GT(Lit(320 - half, 224, 320 + half, 256), 200);
  EXPECT_EQ(Lit(0, 200, 320 - half - 2, 260), 0);
  EXPECT_EQ(Lit(320 + half + 2, 200, 640, 260), 0);
  EXPECT_GT(Lit(250, 290, 390, 310), 20);
  FreeFonts(fonts);
}

}  // namespace
