// Camera set-up for 3D and 2D drawing and the scissor rectangle.
#include "tests/render/RenderRig.h"

#include "core/VarMng.h"

#include <array>
#include <cstring>

namespace {

/// Row vector (x, y, 0, 1) through view x projection of the device.
std::array<float, 4> ToClip(IDirect3DDevice9* device, float x, float y) {
  D3DMATRIX view{}, projection{};
  device->GetTransform(D3DTS_VIEW, &view);
  device->GetTransform(D3DTS_PROJECTION, &projection);
  const float p[4] = {x, y, 0.0f, 1.0f};
  float v[4] = {};
  for (int c = 0; c < 4; ++c)
    for (int k = 0; k < 4; ++k) v[c] += p[k] * view.m[k][c];
  std::array<float, 4> out{};
  for (int c = 0; c < 4; ++c)
    for (int k = 0; k < 4; ++k) out[c] += v[k] * projection.m[k][c];
  return out;
}

TEST(RenderCamera, TwoDimensionalSetUpMapsScreenUnitsOnto639By479) {
  test::RenderRig rig;
  rig.render.SetupCamera(&rig.camera, 0);
  const auto topLeft = ToClip(rig.device, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(topLeft[0], -640.0f / 639.0f);
  EXPECT_FLOAT_EQ(topLeft[1], 480.0f / 479.0f);
  EXPECT_FLOAT_EQ(topLeft[3], 1.0f);
  const auto bottomRight = ToClip(rig.device, 640.0f, 480.0f);
  EXPECT_FLOAT_EQ(bottomRight[0], 640.0f / 639.0f);
  EXPECT_FLOAT_EQ(bottomRight[1], -480.0f / 479.0f);
  // The kept matrices are the ones given to the device.
  D3DMATRIX view{};
  rig.device->GetTransform(D3DTS_VIEW, &view);
  EXPECT_EQ(std::memcmp(view.m, rig.render.ViewMatrix().m, sizeof view.m), 0);
  EXPECT_EQ(rig.render.CurrentCamera(), &rig.camera);

  EXPECT_EQ(rig.State(D3DRS_FILLMODE), DWORD(D3DFILL_SOLID));
  EXPECT_EQ(rig.State(D3DRS_CULLMODE), DWORD(D3DCULL_CCW));
  EXPECT_EQ(rig.State(D3DRS_LIGHTING), DWORD(FALSE));
  EXPECT_EQ(rig.State(D3DRS_FOGENABLE), DWORD(FALSE));
  EXPECT_EQ(rig.State(D3DRS_ALPHATESTENABLE), DWORD(FALSE));
  EXPECT_EQ(g_renderStateCache.cull, 1);
  EXPECT_EQ(g_renderStateCache.alphaFunction, DWORD(D3DCMP_ALWAYS));
}

TEST(RenderCamera, TwoDimensionalSetUpSetsTheDepthFunctionOnlyWhenItDiffers) {
  test::RenderRig rig;
  rig.render.SetupCamera(&rig.camera, 0);
  EXPECT_TRUE(rig.device->CallsStartingWith("SetRenderState(23,").empty());

  g_renderStateCache.depthFunction = D3DCMP_ALWAYS;
  rig.device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  rig.device->ClearCalls();
  rig.render.SetupCamera(&rig.camera, 0);
  EXPECT_EQ(rig.device->CallsStartingWith("SetRenderState(23,").size(), 1u);
  EXPECT_EQ(rig.State(D3DRS_ZFUNC), DWORD(D3DCMP_LESSEQUAL));
  EXPECT_EQ(g_renderStateCache.depthFunction, DWORD(D3DCMP_LESSEQUAL));
}

TEST(RenderCamera, ThreeDimensionalSetUpTakesTheCamerasViewAndWritesItsForward) {
  test::RenderRig rig;
  rig.camera.SetProjection(60.0f, 320.0f, 200.0f, 16.0f, 8.0f);
  const N_Vector3 eye{100.0f, -50.0f, 30.0f}, target{100.0f, 50.0f, 30.0f};
  rig.camera.LookAt(&eye, &target);
  rig.render.SetupCamera(&rig.camera, 1);

  D3DVIEWPORT9 viewport{};
  rig.device->GetViewport(&viewport);
  EXPECT_EQ(viewport.X, 16u);
  EXPECT_EQ(viewport.Y, 8u);
  EXPECT_EQ(viewport.Width, 320u);
  EXPECT_EQ(viewport.Height, 200u);
  RECT scissor{};
  rig.device->GetScissorRect(&scissor);
  EXPECT_EQ(scissor.left, 16);
  EXPECT_EQ(scissor.top, 8);
  EXPECT_EQ(scissor.right, 336);
  EXPECT_EQ(scissor.bottom, 208);
  D3DMATRIX projection{};
  rig.device->GetTransform(D3DTS_PROJECTION, &projection);
  EXPECT_EQ(std::memcmp(projection.m, rig.camera.projection.m, sizeof projection.m), 0);

  // Looking along +Y: the view's third column is the backward axis (0, -1, 0).
  EXPECT_NEAR(rig.camera.forward.x, 0.0f, 1e-5f);
  EXPECT_NEAR(rig.camera.forward.y, -1.0f, 1e-5f);
  EXPECT_NEAR(rig.camera.forward.z, 0.0f, 1e-5f);
  EXPECT_NEAR(rig.camera.viewPlaneDistance, 50.0f, 1e-3f);
}

TEST(RenderCamera, WithoutACameraNothingReadsOne) {
  test::RenderRig rig;
  rig.render.SetupCamera(&rig.camera, 0);
  rig.NewLog();
  rig.device->ClearCalls();
  rig.render.SetupCamera(nullptr, 1);
  EXPECT_EQ(rig.NewLog(), "*** Can't init camera!\n");
  EXPECT_EQ(rig.core.errorLog->LastCode(), 12);
  EXPECT_EQ(rig.render.CurrentCamera(), nullptr);
  const auto afterSetUp = rig.device->Calls().size();  // the 3D switches only

  rig.render.SetScissorRect(1, 0, 0, 640, 480);
  rig.render.DrawQuad(1, 1, 1, 1);
  rig.render.SetupCamera(nullptr, 0);
  EXPECT_EQ(rig.device->Calls().size(), afterSetUp);
}

TEST(RenderCamera, ScissorRectangleScalesScreenUnitsToTheViewport) {
  const struct {
    int width, height;
    float left, top, right, bottom;
    RECT expected;
  } cases[] = {
      {1024, 768, 0, 0, 640, 480, {0, 0, 1024, 768}},
      {640, 480, 10.5f, 20.9f, 320, 240, {10, 20, 320, 240}},
      {800, 600, 100, 100, 200, 300, {125, 125, 250, 375}},
      {1024, 768, 1, 1, 639, 479, {1, 1, 1022, 766}},
  };
  for (const auto& c : cases) {
    test::RenderRig rig;
    // The viewport's x and y are not added.
    rig.camera.SetProjection(90.0f, float(c.width), float(c.height), 50.0f, 60.0f);
    rig.render.SetupCamera(&rig.camera, 1);
    rig.render.SetScissorRect(1, c.left, c.top, c.right, c.bottom);
    RECT rect{};
    rig.device->GetScissorRect(&rect);
    EXPECT_EQ(rect.left, c.expected.left);
    EXPECT_EQ(rect.top, c.expected.top);
    EXPECT_EQ(rect.right, c.expected.right);
    EXPECT_EQ(rect.bottom, c.expected.bottom);
    EXPECT_EQ(rig.State(D3DRS_SCISSORTESTENABLE), DWORD(TRUE));
    rig.render.SetScissorRect(0, 0, 0, 0, 0);
    EXPECT_EQ(rig.State(D3DRS_SCISSORTESTENABLE), DWORD(FALSE));
  }
}

}  // namespace
