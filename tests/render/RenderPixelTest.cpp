// The renderer's operations on the OpenGL device, checked by the pixels they leave in
// the back buffer (run under Xvfb with Mesa).
#include "core/CoreServices.h"
#include "core/VarMng.h"
#include "platform/win32/TestWindow.h"
#include "render/Camera.h"
#include "render/OcclusionQuery.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/VertexBuffer.h"
#include "render/VertexDecl.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/GlRender.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

constexpr DWORD kCleared = 0xC86432;  // (200, 100, 50)

class RenderPixels : public test::GlRender {
 public:
  RenderPixels(int width, int height) : GlRender(width, height) {
    Start();
    camera.SetProjection(90.0f, float(width), float(height), 0.0f, 0.0f);
  }

  /// Clears to (200, 100, 50) and sets up the 2D mode.
  void Begin2D() {
    render().SetClearColorRGBA(200.0f / 255.0f + 0.001f, 100.0f / 255.0f + 0.001f, 50.0f / 255.0f + 0.001f, 1.0f);
    render().BeginFrame();
    render().SetupCamera(&camera, 0);
  }
  /// A quad of surface vertices in the current transforms, vertex colour only.
  void DrawRect(float x0, float y0, float x1, float y1, float z, D3DCOLOR colour) {
    N_SurfaceVertex v[4] = {};
    const float corners[4][2] = {{x0, y1}, {x0, y0}, {x1, y1}, {x1, y0}};
    for (int i = 0; i < 4; ++i) {
      v[i].position[0] = corners[i][0];
      v[i].position[1] = corners[i][1];
      v[i].position[2] = z;
      v[i].colour = colour;
    }
    render().SetVertexDecl(render().BuiltInDeclaration(N_Render::BuiltInDecl::Surface));
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    g_renderStateCache.boundTexture[0] = -1;
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    g_renderStateCache.cull = 0;
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(N_SurfaceVertex));
  }

  N_Camera camera;
};

bool Near(DWORD pixel, DWORD expected, int tolerance = 2) { return test::NearRgb(pixel, expected, tolerance); }

TEST(RenderPixels, TheFullScreenQuadCoversEveryPixel) {
  for (const auto& size : {std::pair{640, 480}, std::pair{800, 600}}) {
    SCOPED_TRACE(size.first);
    RenderPixels rig(size.first, size.second);
    rig.render().SetShadowColor(0.0f, 1.0f, 1.0f);
    rig.Begin2D();
    rig.render().FullScreenQuad()->Bind();
    rig.render().SetVertexDecl(rig.render().BuiltInDeclaration(N_Render::BuiltInDecl::Surface));
    rig.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    rig.device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    rig.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    const auto pixels = rig.Pixels();
    std::size_t uncovered = 0;
    for (DWORD p : pixels) uncovered += p != 0x00FFFFu;
    EXPECT_EQ(uncovered, 0u);
    EXPECT_EQ(pixels.back(), 0x00FFFFu) << "the last column and row";
  }
}

TEST(RenderPixels, DrawQuadHalvesAClearedColour) {
  // The quad takes the camera's viewport size in screen units: 640 x 480 covers the
  // whole screen.
  RenderPixels rig(640, 480);
  rig.Begin2D();
  ASSERT_TRUE(Near(rig.Pixel(10, 10), kCleared, 1));
  rig.render().DrawQuad(0.0f, 0.0f, 0.0f, 0.5f);
  for (const auto& at : {std::pair{0, 0}, std::pair{320, 240}, std::pair{639, 479}}) {
    EXPECT_TRUE(Near(rig.Pixel(at.first, at.second), 0x64321A, 2)) << std::hex << rig.Pixel(at.first, at.second);
  }
}

TEST(RenderPixels, ShadowOverlayDarkensOnlyStencilMarkedPixels) {
  // The GL device offers the MIN blend operation; the multiplying path without it is
  // checked on the recording device.
  for (int enabled : {1, 0}) {
    SCOPED_TRACE(enabled);
    RenderPixels rig(160, 120);
    rig.camera.SetProjection(90.0f, 160.0f, 120.0f, 0.0f, 0.0f);
    rig.core.vars->SetInt("r_shadowsEnabled", enabled, 0);
    rig.Begin2D();
    // Mark a rectangle (screen units 160..480 x 120..360, the middle half) in the
    // stencil buffer without touching the colours.
    rig.render().EnableStencil(1);
    rig.render().SetStencilFunc(1, 1, 0xFFFFFFFF);
    rig.render().SetStencilOp(0, 0, 2);
    rig.device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
    rig.DrawRect(160, 120, 480, 360, 0.0f, 0xFFFFFFFF);
    rig.device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    rig.render().EnableStencil(0);
    rig.render().SetStencilOp(0, 0, 0);
    rig.render().SetStencilFunc(1, 0, 0xFFFFFFFF);

    rig.render().SetShadowColor(0.0f, 0.0f, 0.0f);
    rig.render().DrawShadowOverlay();
    EXPECT_TRUE(Near(rig.Pixel(80, 60), enabled ? 0x000000 : kCleared, 1)) << std::hex << rig.Pixel(80, 60);
    EXPECT_TRUE(Near(rig.Pixel(45, 35), enabled ? 0x000000 : kCleared, 1));
    EXPECT_TRUE(Near(rig.Pixel(10, 10), kCleared, 1)) << std::hex << rig.Pixel(10, 10);
    EXPECT_TRUE(Near(rig.Pixel(150, 110), kCleared, 1));
    EXPECT_TRUE(Near(rig.Pixel(80, 20), kCleared, 1));
  }
}

TEST(RenderPixels, LinearFogBlackensBeyondItsEnd) {
  RenderPixels rig(160, 120);
  rig.camera.SetProjection(90.0f, 160.0f, 120.0f, 0.0f, 0.0f);  // at the origin, looking along +Y
  rig.render().SetClearColorRGBA(0.0f, 0.0f, 1.0f, 1.0f);
  rig.render().BeginFrame();
  rig.render().SetupCamera(&rig.camera, 1);
  const N_Matrix4 world;
  rig.render().SetWorldMatrix(world);
  const float black[3] = {0, 0, 0};
  rig.render().SetFog(0, black, 500.0f, 1000.0f, 1.0f);
  // Surfaces facing the camera: x across, z up, at the given distance along y.
  auto wall = [&rig](float distance, float x0, float x1) {
    N_SurfaceVertex v[4] = {};
    const float corners[4][2] = {{x0, -distance}, {x0, distance}, {x1, -distance}, {x1, distance}};
    for (int i = 0; i < 4; ++i) {
      v[i].position[0] = corners[i][0] * distance / 400.0f;
      v[i].position[1] = distance;
      v[i].position[2] = corners[i][1] * 0.5f;
      v[i].colour = 0xFFFFFFFF;
    }
    rig.render().SetVertexDecl(rig.render().BuiltInDeclaration(N_Render::BuiltInDecl::Surface));
    rig.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    rig.device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    rig.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    rig.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(N_SurfaceVertex));
  };
  wall(200.0f, -400.0f, 0.0f);  // left half, nearer than the fog start
  wall(2000.0f, 0.0f, 400.0f);  // right half, beyond the fog end
  EXPECT_EQ(rig.Pixel(40, 60), 0xFFFFFFu) << std::hex << rig.Pixel(40, 60);
  EXPECT_EQ(rig.Pixel(120, 60), 0x000000u) << std::hex << rig.Pixel(120, 60);
  rig.render().DisableFog();
  wall(2000.0f, 0.0f, 400.0f);
  EXPECT_EQ(rig.Pixel(120, 60), 0xFFFFFFu);
}

TEST(RenderPixels, OcclusionTestsSeeTheWall) {
  RenderPixels rig(160, 120);
  rig.camera.SetProjection(90.0f, 160.0f, 120.0f, 0.0f, 0.0f);
  rig.render().BeginFrame();
  rig.render().SetupCamera(&rig.camera, 1);
  const N_Matrix4 world;
  rig.render().SetWorldMatrix(world);
  // A wall across the whole view, 500 units ahead.
  const float wall[6] = {-2000, 500, -2000, 2000, 510, 2000};
  const float grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
  rig.render().DrawBox(wall, grey);
  N_OcclusionQuery* ring = rig.render().CreateOcclusionQuery();
  ASSERT_NE(ring, nullptr);
  const float behind[6] = {-50, 900, -50, 50, 1000, 50};
  const float before[6] = {-50, 200, -50, 50, 300, 50};
  for (const auto& c : {std::pair{behind, false}, std::pair{before, true}}) {
    ring->TestBox(c.first);
    DWORD pixels = 12345;
    bool ready = false;
    const auto failSafe = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (!(ready = ring->GetResult(&pixels, true)) && std::chrono::steady_clock::now() < failSafe) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(ready) << "no result in two minutes";
    if (c.second) {
      EXPECT_GT(pixels, 0u);
    } else {
      EXPECT_EQ(pixels, 0u);
    }
  }
  // The test drew nothing visible.
  EXPECT_TRUE(Near(rig.Pixel(80, 60), 0x7F7F7F, 1)) << std::hex << rig.Pixel(80, 60);
  rig.render().DestroyOcclusionQuery(&ring);
}

TEST(RenderPixels, ScissorRectangleCountsFromTheTop) {
  RenderPixels rig(640, 480);
  rig.Begin2D();
  rig.render().SetScissorRect(1, 0.0f, 0.0f, 320.0f, 120.0f);
  rig.render().DrawQuad(0.0f, 1.0f, 0.0f, 1.0f);
  rig.render().SetScissorRect(0, 0, 0, 0, 0);
  EXPECT_EQ(rig.Pixel(0, 0), 0x00FF00u);
  EXPECT_EQ(rig.Pixel(319, 119), 0x00FF00u);
  EXPECT_TRUE(Near(rig.Pixel(320, 119), kCleared, 1));
  EXPECT_TRUE(Near(rig.Pixel(319, 120), kCleared, 1));
  EXPECT_TRUE(Near(rig.Pixel(10, 470), kCleared, 1));
}

// The camera's projection clips z to [-w, w]; on the 0..1 depth range the near plane
// of 40 units moves to about 2fn / (f + n) = 80 units, as it did on the original device.
TEST(RenderPixels, TheEffectiveNearPlaneIsAbout80Units) {
  RenderPixels rig(160, 120);
  rig.camera.SetProjection(90.0f, 160.0f, 120.0f, 0.0f, 0.0f);
  for (const auto& [distance, drawn] :
       {std::pair{60.0f, false}, std::pair{79.0f, false}, std::pair{81.0f, true}, std::pair{200.0f, true}}) {
    SCOPED_TRACE(distance);
    rig.render().SetClearColorRGBA(0.0f, 0.0f, 0.0f, 1.0f);
    rig.render().BeginFrame();
    rig.render().SetupCamera(&rig.camera, 1);
    rig.render().SetWorldMatrix(N_Matrix4{});
    const float box[6] = {-5.0f, distance, -5.0f, 5.0f, distance + 0.5f, 5.0f};
    const float white[4] = {1, 1, 1, 1};
    rig.render().DrawBox(box, white);
    EXPECT_EQ(rig.Pixel(80, 60), drawn ? 0xFFFFFFu : 0x000000u);
  }
}

TEST(RenderPixels, CheckRenderStateOnTheGlDevice) {
  RenderPixels rig(160, 120);
  rig.core.vars->SetInt("r_shadowsEnabled", 1, 0);
  rig.render().SetDefaultRenderStates(rig.device);
  const auto before = rig.core.LogText().size();
  rig.render().CheckRenderState();
  EXPECT_EQ(rig.core.LogText().substr(before), "!!! Bad textureOp[0] state: 4 (-1)\n    Shader: (nil), layer 0\n");
  rig.Begin2D();
  rig.render().DrawQuad(0, 0, 0, 0.5f);
  rig.render().DrawShadowOverlay();
  const auto after = rig.core.LogText().size();
  rig.render().CheckRenderState();
  EXPECT_EQ(rig.core.LogText().substr(after), "");
}

}  // namespace
