// Point sprites and shadow volumes on the recording device: the states they leave, the
// draws they make, and the silhouettes the shadow volume finds.
#include "render/ShadowVolume.h"
#include "tests/render/MaterialRig.h"

#include "core/VarMng.h"


#include <set>

namespace {

using Lines = std::vector<std::string>;
using test::MaterialRig;

constexpr const char* kUnitZeroNote = "!!! Bad textureOp[0] state: 4 (-1)\n    Shader: (nil), layer 0\n";

/// The log of CheckRenderState, without the note the defaults leave on unit 0.
std::string CheckedState(MaterialRig& rig) {
  rig.NewLog();
  rig.render.CheckRenderState();
  std::string log = rig.NewLog();
  if (log.rfind(kUnitZeroNote, 0) == 0) log.erase(0, std::strlen(kUnitZeroNote));
  return log;
}

TEST(PointSprites, ACombinedPairDrawsOnceAndUnitOneGoesOffAfterIt) {
  MaterialRig rig;
  N_Shader shader;
  MaterialRig::AddStage(shader, {rig.Texture()})->flags |= StageFlag::kMultiplied;
  MaterialRig::AddStage(shader, {rig.Texture()});
  MaterialRig::AddStage(shader, {rig.Texture()});
  rig.render.SetShader(&shader, 0);
  N_MeshSurface& particles = rig.BufferQuad();
  particles.primitiveType = static_cast<std::int32_t>(SurfacePrimitive::PointList);
  rig.render.DrawPointSprites(&particles);
  EXPECT_EQ(rig.device->CallsStartingWith("Draw"), (Lines{"DrawPrimitive(1, 0, 4)", "DrawPrimitive(1, 0, 4)"}));
  const auto calls = rig.TakeCalls();
  // Unit 1 goes off after the pair, with nothing bound; the third stage draws alone.
  const auto off = std::find(calls.begin(), calls.end(), "SetTexture(1, null)");
  ASSERT_NE(off, calls.end());
  EXPECT_GT(off - calls.begin(), std::find(calls.begin(), calls.end(), "DrawPrimitive(1, 0, 4)") - calls.begin());
  EXPECT_EQ(rig.Stage(1, D3DTSS_COLOROP), DWORD(D3DTOP_DISABLE));
  EXPECT_EQ(g_renderStateCache.boundTexture[1], -1);
  EXPECT_EQ(rig.State(D3DRS_POINTSPRITEENABLE), DWORD(FALSE));
  EXPECT_EQ(rig.State(D3DRS_POINTSCALEENABLE), DWORD(TRUE));
  EXPECT_FALSE(rig.render.ShadowDeclarationCurrent());
  EXPECT_EQ(rig.render.GetPolygonCount(), 0u);
  EXPECT_EQ(CheckedState(rig), "");
}

TEST(PointSprites, NothingWithoutAShader) {
  MaterialRig rig;
  N_MeshSurface& particles = rig.BufferQuad();
  rig.render.DrawPointSprites(&particles);
  EXPECT_EQ(rig.TakeCalls(), Lines{});
}

/// A unit cube of 12 triangles, wound counter-clockwise seen from outside.
struct Cube {
  Cube() {
    for (int i = 0; i < 8; ++i) corners[i] = {float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1)};
    const std::uint16_t faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                       {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (int f = 0; f < 6; ++f) {
      const std::uint16_t* q = faces[f];
      triangles[2 * f].corner[0] = q[0], triangles[2 * f].corner[1] = q[1], triangles[2 * f].corner[2] = q[2];
      triangles[2 * f + 1].corner[0] = q[0], triangles[2 * f + 1].corner[1] = q[2],
                                triangles[2 * f + 1].corner[2] = q[3];
    }
  }
  N_Vector3 corners[8];
  N_ShadowTriangle triangles[12];
};

TEST(ShadowVolume, ACubeLitFromAboveHasItsFourSideEdgesExtruded) {
  for (const bool buffers : {true, false}) {
    SCOPED_TRACE(buffers ? "buffers" : "arrays");
    MaterialRig rig;
    rig.core.vars->SetInt("r_shadowsEnabled", 1, 0);
    Cube cube;
    N_ShadowVolume volume(buffers);
    volume.Build(cube.triangles, 12, cube.corners);
    EXPECT_EQ(volume.Edges().size(), 18u);
    EXPECT_NEAR(cube.triangles[0].normal.z, -1.0f, 1e-6f);
    volume.SetExtrusionLength(500.0f);
    // Light straight down, figure turned a quarter about z: the top and bottom faces
    // stay the lit and unlit ones.
    N_Matrix3 turn;
    turn.RotationZ(1.5707964f);
    volume.Update(N_Vector3{0, 0, -1}, N_Vector3{100, 200, 300}, turn, 1.0f);
    ASSERT_EQ(volume.Silhouette().size(), 4u);
    EXPECT_EQ(volume.Surface().vertexCount, 16u);
    EXPECT_EQ(volume.Surface().indexCount, 24u);
    std::set<std::pair<int, int>> edges;
    for (const auto& [p, q] : volume.Silhouette()) edges.insert({std::min(p, q), std::max(p, q)});
    EXPECT_EQ(edges, (std::set<std::pair<int, int>>{{4, 5}, {5, 7}, {6, 7}, {4, 6}})) << "the top face's edges";
    // Each quad runs from the edge 500 units down, away from the light.
    const N_SurfaceVertex* v = volume.Surface().vertices;
    std::vector<N_SurfaceVertex> locked(16);
    if (buffers) {
      const_cast<N_VertexBuffer*>(volume.Surface().vertexBuffer)->Read(0, 16 * 44, locked.data());
      v = locked.data();
    }
    EXPECT_EQ(v[0].position[2], 1.0f);
    EXPECT_EQ(v[2].position[2], -499.0f);
    EXPECT_EQ(v[3].position[2], -499.0f);
    EXPECT_EQ(v[3].position[0], v[0].position[0]);
    volume.ReleaseBuffers();
  }
}

TEST(ShadowVolume, NoLightNoSilhouetteAndSwitchedOffNothingChanges) {
  MaterialRig rig;
  Cube cube;
  N_ShadowVolume volume(true);
  volume.Build(cube.triangles, 12, cube.corners);
  rig.core.vars->SetInt("r_shadowsEnabled", 1, 0);
  volume.Update(N_Vector3{0, 0, 0}, N_Vector3{}, N_Matrix3{}, 1.0f);
  EXPECT_TRUE(volume.Silhouette().empty());
  volume.Update(N_Vector3{1, 0, 0}, N_Vector3{}, N_Matrix3{}, 1.0f);
  EXPECT_EQ(volume.Surface().vertexCount, 16u);
  rig.core.vars->SetInt("r_shadowsEnabled", 0, 0);
  rig.TakeCalls();
  volume.Update(N_Vector3{0, 0, 0}, N_Vector3{}, N_Matrix3{}, 1.0f);
  EXPECT_EQ(volume.Surface().vertexCount, 16u) << "the previous counts stay";
  EXPECT_EQ(rig.TakeCalls(), Lines{}) << "nothing locked";
  volume.ReleaseBuffers();
}

TEST(ShadowVolume, AMeshWithoutTrianglesIsSkipped) {
  MaterialRig rig;
  rig.core.vars->SetInt("r_shadowsEnabled", 1, 0);
  N_ShadowVolume volume(true);
  volume.Build(nullptr, 0, nullptr);
  volume.Update(N_Vector3{0, 0, -1}, N_Vector3{}, N_Matrix3{}, 1.0f);
  volume.Draw(N_Vector3{}, N_Matrix3{}, 1.0f);
  EXPECT_EQ(rig.TakeCalls(), Lines{});
  EXPECT_EQ(rig.render.VertexBuffers().size(), 1u) << "only the full-screen quad";
}

TEST(ShadowVolumeDeathTest, AnOpenMeshEndsTheProgram) {
  EXPECT_EXIT(
      {
        MaterialRig rig;
        Cube cube;
        N_ShadowVolume volume(true);
        volume.Build(cube.triangles, 11, cube.corners);  // one triangle missing
      },
      ::testing::ExitedWithCode(255), "Pokus o vytvorenie tiena z deraveho meshu!");
}

struct ShadowCase {
  const char* name;
  bool twoSided;
  std::uint32_t passes;
};

TEST(ShadowVolume, TheStencilPassMarksTwoSidedOrInTwoPasses) {
  for (const ShadowCase c : {ShadowCase{"two-sided", true, 1}, ShadowCase{"two passes", false, 2}}) {
    SCOPED_TRACE(c.name);
    auto config = test::RecordingRender::DefaultConfig();
    if (!c.twoSided) config.device.caps.StencilCaps &= ~DWORD(D3DSTENCILCAPS_TWOSIDED);
    MaterialRig rig(config);
    rig.core.vars->SetInt("r_shadowsEnabled", 1, 0);
    Cube cube;
    N_ShadowVolume volume(true);
    volume.Build(cube.triangles, 12, cube.corners);
    volume.Update(N_Vector3{0, 0, -1}, N_Vector3{}, N_Matrix3{}, 1.0f);
    rig.TakeCalls();
    volume.Draw(N_Vector3{1, 2, 3}, N_Matrix3{}, 1.0f);
    EXPECT_EQ(rig.TakeCalls("DrawIndexedPrimitive(").size(), c.passes);
    EXPECT_EQ(rig.render.GetPolygonCount(), 8u * c.passes);
    EXPECT_EQ(rig.render.WorldMatrix()._42, 2.0f);
    // What the pass leaves: stencil off, all colour channels, depth writes, Gouraud;
    // clockwise faces culled and blending (ONE, ZERO) in the cache.
    EXPECT_EQ(rig.State(D3DRS_STENCILENABLE), DWORD(FALSE));
    EXPECT_EQ(rig.State(D3DRS_COLORWRITEENABLE), 0xFu);
    EXPECT_EQ(rig.State(D3DRS_ZWRITEENABLE), DWORD(TRUE));
    EXPECT_EQ(rig.State(D3DRS_SHADEMODE), DWORD(D3DSHADE_GOURAUD));
    EXPECT_EQ(rig.State(D3DRS_TWOSIDEDSTENCILMODE), DWORD(FALSE));
    EXPECT_EQ(rig.State(D3DRS_STENCILPASS), DWORD(D3DSTENCILOP_KEEP));
    EXPECT_EQ(rig.State(D3DRS_CULLMODE), DWORD(D3DCULL_CW));
    EXPECT_EQ(g_renderStateCache.cull, -1);
    EXPECT_EQ(g_renderStateCache.sourceBlend, DWORD(D3DBLEND_ONE));
    EXPECT_EQ(g_renderStateCache.destinationBlend, DWORD(D3DBLEND_ZERO));
    EXPECT_TRUE(rig.render.ShadowDeclarationCurrent());
    EXPECT_EQ(CheckedState(rig), "");
    volume.ReleaseBuffers();
  }
}

TEST(ShadowVolume, NothingWithoutStencilBitsOrWhileShadowsAreOff) {
  for (const bool stencil : {false, true}) {
    MaterialRig rig(stencil ? test::RecordingRender::DefaultConfig() : test::RenderRig::WithoutStencil());
    rig.core.vars->SetInt("r_shadowsEnabled", stencil ? 0 : 1, 0);
    N_MeshSurface& surface = rig.Quad();
    rig.TakeCalls();
    rig.render.DrawShadowVolume(&surface, N_Vector3{}, N_Matrix3{}, 1.0f);
    EXPECT_EQ(rig.TakeCalls(), Lines{});
  }
}

}  // namespace
