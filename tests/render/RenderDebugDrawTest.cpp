// Immediate draws: their vertices, formats and the states they leave.
#include "tests/render/RenderRig.h"

#include "core/OrientedBox.h"
#include "platform/d3d9/DeviceState.h"

#include <cstring>

namespace {

const float kRed[4] = {1.0f, 0.0f, 0.0f, 0.5f};

void ExpectAt(const float* p, float x, float y, float z) {
  EXPECT_EQ(p[0], x);
  EXPECT_EQ(p[1], y);
  EXPECT_EQ(p[2], z);
}

TEST(RenderDebugDraw, WireBoxEdgesInOrder) {
  test::RenderRig rig;
  const float box[6] = {1, 2, 3, 4, 5, 6};
  rig.render.DrawWireBox(box, kRed);
  EXPECT_EQ(rig.device->CallsStartingWith("DrawPrimitiveUP("), std::vector<std::string>{"DrawPrimitiveUP(2, 12, 24)"});
  const auto& v = rig.render.ImmediateVertices().lines;
  // The minimum-z face around, the maximum-z face around, then the edges along z.
  const float expected[24][3] = {
      {1, 2, 3}, {4, 2, 3}, {4, 2, 3}, {4, 5, 3}, {4, 5, 3}, {1, 5, 3}, {1, 5, 3}, {1, 2, 3},
      {1, 2, 6}, {4, 2, 6}, {4, 2, 6}, {4, 5, 6}, {4, 5, 6}, {1, 5, 6}, {1, 5, 6}, {1, 2, 6},
      {1, 2, 3}, {1, 2, 6}, {4, 2, 3}, {4, 2, 6}, {4, 5, 3}, {4, 5, 6}, {1, 5, 3}, {1, 5, 6},
  };
  for (int i = 0; i < 24; ++i) {
    SCOPED_TRACE(i);
    ExpectAt(v[i].position, expected[i][0], expected[i][1], expected[i][2]);
    EXPECT_EQ(v[i].colour[0], 1.0f);
  }
  // A box of no size: twelve lines at one point.
  const float point[6] = {7, 7, 7, 7, 7, 7};
  rig.render.DrawWireBox(point, kRed);
  for (const auto& vertex : v) ExpectAt(vertex.position, 7, 7, 7);
}

TEST(RenderDebugDraw, OrientedWireBoxJoinsCornersThatDifferInOneAxis) {
  test::RenderRig rig;
  N_OrientedBox box{};
  box.center = {10, 0, 0};
  box.axis[0] = {0, 1, 0};
  box.axis[1] = {-1, 0, 0};
  box.axis[2] = {0, 0, 1};
  box.extent[0] = 1;
  box.extent[1] = 2;
  box.extent[2] = 3;
  rig.render.DrawOrientedWireBox(box, kRed);
  const auto& v = rig.render.ImmediateVertices().lines;
  for (int edge = 0; edge < 12; ++edge) {
    const float* a = v[2 * edge].position;
    const float* b = v[2 * edge + 1].position;
    int differing = 0;
    for (int k = 0; k < 3; ++k) differing += a[k] != b[k];
    EXPECT_EQ(differing, 1) << "edge " << edge;
  }
  ExpectAt(v[0].position, 12, -1, -3);  // centre - A - B - C
}

TEST(RenderDebugDraw, SolidBoxLeavesCullingOffInCacheAndDevice) {
  test::RenderRig rig;
  const float box[6] = {-1, -1, -1, 1, 1, 1};
  rig.render.DrawBox(box, kRed);
  EXPECT_EQ(rig.device->CallsStartingWith("DrawIndexedPrimitiveUP(").size(), 1u);
  EXPECT_EQ(rig.device->CallsStartingWith("DrawIndexedPrimitiveUP(")[0].rfind("DrawIndexedPrimitiveUP(4, 0, 8, 12,", 0),
            0u);
  EXPECT_EQ(rig.State(D3DRS_CULLMODE), DWORD(D3DCULL_NONE));
  EXPECT_EQ(g_renderStateCache.cull, 0);
  EXPECT_EQ(g_renderStateCache.boundTexture[0], -1);
  EXPECT_EQ(rig.Stage(0, D3DTSS_COLOROP), DWORD(D3DTOP_DISABLE));
  for (const auto& vertex : rig.render.ImmediateVertices().box) EXPECT_EQ(vertex.colour, 0x7FFF0000u);
  ExpectAt(rig.render.ImmediateVertices().box[6].position, 1, 1, 1);
  ExpectAt(rig.render.ImmediateVertices().box[3].position, -1, 1, -1);
}

TEST(RenderDebugDraw, PointsUseTheDeclarationOrTheFlexibleFormat) {
  for (bool software : {false, true}) {
    test::RenderRig rig(software ? test::RenderRig::Software() : test::RecordingRender::DefaultConfig());
    ASSERT_EQ(rig.render.SoftwareVertexProcessing(), software);
    const float at[3] = {1, 2, 3};
    rig.render.DrawPoint(at, 6.0f, kRed);
    EXPECT_EQ(platform::d3d9::StateFloat(rig.State(D3DRS_POINTSIZE)), 6.0f);
    EXPECT_EQ(rig.device->CallsStartingWith("DrawPrimitiveUP("), std::vector<std::string>{"DrawPrimitiveUP(1, 1, 28)"});
    EXPECT_EQ(rig.device->CallsStartingWith("SetFVF(").size(), software ? 1u : 0u);
    DWORD fvf = 0;
    rig.device->GetFVF(&fvf);
    if (software) {
      EXPECT_EQ(fvf, 0x62u);
      // The flexible format reads a packed colour where the first colour float lies.
      DWORD packed;
      std::memcpy(&packed, rig.render.ImmediateVertices().point.colour, sizeof packed);
      EXPECT_EQ(packed, 0xFFFF0000u);
    } else {
      EXPECT_EQ(rig.render.ImmediateVertices().point.colour[0], 1.0f);
    }
    rig.render.DrawLineXYZ(0, 0, 0, 1, 1, 1, kRed, 1.0f);
    EXPECT_EQ(rig.device->CallsStartingWith("DrawPrimitiveUP(").back(), "DrawPrimitiveUP(2, 1, 24)");
    ExpectAt(rig.render.ImmediateVertices().lines[1].position, 1, 1, 1);
    if (software) {
      rig.device->GetFVF(&fvf);
      EXPECT_EQ(fvf, 0x42u);
    }
  }
}

TEST(RenderDebugDraw, QuadCoversTheCameraViewportAndBlends) {
  test::RenderRig rig;
  rig.camera.SetProjection(90.0f, 800.0f, 600.0f, 0.0f, 0.0f);
  rig.render.SetupCamera(&rig.camera, 0);
  rig.device->ClearCalls();
  rig.render.DrawQuad(0.0f, 0.0f, 1.0f, 0.5f);
  const auto& q = rig.render.ImmediateVertices().quad;
  ExpectAt(q[0].position, 0, 600, 0);
  ExpectAt(q[1].position, 0, 0, 0);
  ExpectAt(q[2].position, 800, 600, 0);
  ExpectAt(q[3].position, 800, 0, 0);
  EXPECT_EQ(q[0].colour, 0x7F0000FFu);
  EXPECT_EQ(rig.device->CallsStartingWith("DrawPrimitiveUP("), std::vector<std::string>{"DrawPrimitiveUP(5, 2, 44)"});
  EXPECT_EQ(rig.device->CallsStartingWith("SetRenderState(19, 5)").size(), 1u);
  EXPECT_EQ(rig.device->CallsStartingWith("SetRenderState(20, 6)").size(), 1u);
  EXPECT_EQ(rig.State(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
  EXPECT_EQ(g_renderStateCache.sourceBlend, DWORD(D3DBLEND_ONE));
  EXPECT_EQ(g_renderStateCache.destinationBlend, DWORD(D3DBLEND_ZERO));
}

}  // namespace
