// The bare frame's black overlay on the OpenGL device at 640 x 480, over a white
// picture (the clear colour), read back before the present.
#include "core/Globals.h"
#include "frontend/FrontendFrame.h"
#include "render/Render.h"
#include "tests/support/GlRender.h"

#include <gtest/gtest.h>

namespace {

TEST(FramePixels, TheOverlayDarkensByItsOpacity) {
  test::GlRender gl{640, 480};
  ASSERT_TRUE(gl.Start());
  g_render = &gl.render();
  // The faded switch starts by ending a frame that was never begun: the device refuses
  // the end of a scene that is not open, and the present still goes through.
  EXPECT_EQ(gl.device->EndScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(gl.device->Present(nullptr, nullptr, 0, nullptr), D3D_OK);
  EXPECT_TRUE(g_render->EndFrame());
  g_render->SetClearColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  struct Case {
    float overlay;
    int value;
  };
  for (const Case& c : {Case{0.0f, 255}, Case{0.25f, 191}, Case{0.5f, 128}, Case{1.0f, 0}}) {
    SCOPED_TRACE(c.overlay);
    DWORD centre = 0, corner = 0;
    frontend::SetFrameObserver([&](const frontend::FrameEvent& event) {
      if (!event.drawn) return;
      centre = gl.Pixel(320, 240);
      corner = gl.Pixel(639, 479);
    });
    frontend::RunBareFrame(c.overlay);
    frontend::SetFrameObserver({});
    for (DWORD pixel : {centre, corner}) {
      for (int shift : {0, 8, 16}) EXPECT_NEAR(int((pixel >> shift) & 0xFF), c.value, 3) << std::hex << pixel;
    }
  }
  EXPECT_EQ(gl.core.LogText().find("***"), std::string::npos) << gl.core.LogText();
  g_render = nullptr;
}

}  // namespace
