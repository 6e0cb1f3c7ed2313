// The post pass and the screenshot on the OpenGL device, checked by their pixels: the
// double image of the post filter, and a BMP that decodes to the last presented frame.
#include "core/CoreServices.h"
#include "core/VarMng.h"
#include "platform/win32/TestWindow.h"
#include "render/Camera.h"
#include "render/Render.h"
#include "tests/support/GlRender.h"
#include "tests/support/TestEnv.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

class RenderPostPassGl : public ::testing::Test {
 protected:
  void SetUp() override {
    window = platform::CreateTestWindow(640, 480);
    ASSERT_NE(window, 0);
    test::SetUpRenderServices(core, services, window, 640, 480);
    CreateRender(&services, &render);
    ASSERT_TRUE(render->Init());
    camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
  }
  void TearDown() override {
    if (render->Device()) render->Shutdown();
    ReleaseRender(render);
    platform::DestroyTestWindow(window);
  }

  /// A frame whose scene is black with a white block at x 300-339, y 0-99 (pixels),
  /// then the post pass with the amount; the scene is drawn with the amount it had
  /// before (the offscreen target only for a filter).
  void DrawFrame(float amount, float amountAtScene) {
    render->SetPostFilterAmount(amountAtScene);
    render->BeginFrame();
    render->SetOffscreenTarget(1);
    const D3DRECT block{300, 0, 340, 100};
    render->Device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    render->Device()->Clear(1, &block, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    render->SetOffscreenTarget(0);
    render->SetupCamera(&camera, 0);
    render->SetPostFilterAmount(amount);
    render->DrawPostPass();
  }

  /// The red channel of a back-buffer pixel.
  int Red(UINT x, UINT y) {
    IDirect3DSurface9* surface = nullptr;
    render->Device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface);
    D3DLOCKED_RECT locked{};
    int red = -1;
    if (SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
      red = int((reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch)[x] >> 16) &
                0xFF);
      surface->UnlockRect();
    }
    surface->Release();
    return red;
  }

  test::TempDir dir;
  test::CoreServices core;
  N_CoreServices services;
  HWND window = 0;
  N_Render* render = nullptr;
  N_Camera camera;
};

TEST_F(RenderPostPassGl, AnAmountOfFiveGivesTheDoubleImage) {
  // The scene drawn in the back buffer (the amount set after it: first, while the
  // offscreen target holds no picture), and drawn offscreen.
  for (float amountAtScene : {0.0f, 5.0f}) {
    SCOPED_TRACE(amountAtScene);
    DrawFrame(5.0f, amountAtScene);
    // Copies at -10 and +10 units (a unit is 640/639 pixels): the left copy covers
    // 290-329, the right one 310-349 and is blended over it at alpha 127.
    EXPECT_EQ(Red(280, 50), 0);
    EXPECT_NEAR(Red(300, 50), 128, 3);  // left copy only, under the black of the right one
    EXPECT_NEAR(Red(320, 50), 255, 1);  // both
    EXPECT_NEAR(Red(340, 50), 127, 3);  // right copy only
    EXPECT_EQ(Red(360, 50), 0);
    EXPECT_EQ(Red(320, 200), 0) << "the picture keeps its top at the top";
    render->EndFrame();
  }
}

TEST_F(RenderPostPassGl, AnAmountOfZeroCopiesThePictureOnce) {
  for (float amountAtScene : {0.0f, 5.0f}) {
    SCOPED_TRACE(amountAtScene);
    DrawFrame(0.0f, amountAtScene);
    EXPECT_EQ(Red(295, 50), 0);
    EXPECT_EQ(Red(301, 50), 255);
    EXPECT_EQ(Red(338, 50), 255);
    EXPECT_EQ(Red(345, 50), 0);
    EXPECT_EQ(Red(320, 99), 255);
    EXPECT_EQ(Red(320, 101), 0);
    render->EndFrame();
  }
}

TEST_F(RenderPostPassGl, AScreenshotAfterThePresentHoldsTheLastFrame) {
  DrawFrame(0.0f, 0.0f);
  render->EndFrame();
  render->SaveScreenshot("shot.bmp", 10, 10, 5, 5);  // the rectangle is not applied
  SDL_Surface* image = SDL_LoadBMP("shot.bmp");
  ASSERT_NE(image, nullptr) << SDL_GetError();
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(image, SDL_PIXELFORMAT_RGB888, 0);
  EXPECT_EQ(rgb->w, 640);
  EXPECT_EQ(rgb->h, 480);
  auto pixel = [&](int x, int y) { return static_cast<const Uint32*>(rgb->pixels)[y * rgb->pitch / 4 + x] & 0xFFFFFF; };
  EXPECT_EQ(pixel(320, 50), 0xFFFFFFu);
  EXPECT_EQ(pixel(320, 200), 0u);
  EXPECT_EQ(pixel(295, 50), 0u);
  SDL_FreeSurface(rgb);
  SDL_FreeSurface(image);
  render->SaveScreenshot("missing\\folder\\shot.bmp", 0, 0, 640, 480);  // silent
  EXPECT_FALSE(dir.Exists("missing/folder/shot.bmp"));
}

}  // namespace
