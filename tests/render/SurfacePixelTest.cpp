// Materials, vertex programs and shadow volumes on the real OpenGL device, checked by
// the pixels they leave (Xvfb with Mesa).
#include "core/CoreServices.h"
#include "core/VarMng.h"
#include "platform/d3d9.h"
#include "platform/d3d9/Common.h"
#include "platform/win32/TestWindow.h"
#include "render/Camera.h"
#include "render/IndexBuffer.h"
#include "render/MeshSurface.h"
#include "render/Render.h"
#include "render/RenderStateCache.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "render/ShadowVolume.h"
#include "render/TexInfo.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "tests/render/ShaderTestSupport.h"
#include "tests/render/TestRenderTime.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/GlRender.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 320, kHeight = 240;

/// The GL Direct3D object with the two-sided stencil capability taken away.
class OneSidedStencil final : public platform::d3d9::RefCounted<IDirect3D9> {
 public:
  explicit OneSidedStencil(IDirect3D9* real) : m_real(real) {}
  ~OneSidedStencil() override { m_real->Release(); }
  UINT GetAdapterCount() override { return m_real->GetAdapterCount(); }
  HRESULT GetAdapterIdentifier(UINT a, DWORD f, D3DADAPTER_IDENTIFIER9* i) override {
    return m_real->GetAdapterIdentifier(a, f, i);
  }
  HRESULT GetAdapterDisplayMode(UINT a, D3DDISPLAYMODE* m) override { return m_real->GetAdapterDisplayMode(a, m); }
  HRESULT CheckDeviceFormat(UINT a, D3DDEVTYPE t, D3DFORMAT af, DWORD u, D3DRESOURCETYPE r, D3DFORMAT f) override {
    return m_real->CheckDeviceFormat(a, t, af, u, r, f);
  }
  HRESULT CheckDeviceMultiSampleType(UINT a, D3DDEVTYPE t, D3DFORMAT f, BOOL w, D3DMULTISAMPLE_TYPE m,
                                     DWORD* q) override {
    return m_real->CheckDeviceMultiSampleType(a, t, f, w, m, q);
  }
  HRESULT CheckDepthStencilMatch(UINT a, D3DDEVTYPE t, D3DFORMAT af, D3DFORMAT rf, D3DFORMAT df) override {
    return m_real->CheckDepthStencilMatch(a, t, af, rf, df);
  }
  HRESULT GetDeviceCaps(UINT a, D3DDEVTYPE t, D3DCAPS9* caps) override {
    const HRESULT result = m_real->GetDeviceCaps(a, t, caps);
    if (caps) caps->StencilCaps &= ~DWORD(D3DSTENCILCAPS_TWOSIDED);
    return result;
  }
  HRESULT CreateDevice(UINT a, D3DDEVTYPE t, HWND w, DWORD b, D3DPRESENT_PARAMETERS* p,
                       IDirect3DDevice9** d) override {
    return m_real->CreateDevice(a, t, w, b, p, d);
  }

 private:
  IDirect3D9* m_real;
};

class SurfacePixels : public test::GlRender {
 public:
  explicit SurfacePixels(bool twoSidedStencil = true) : GlRender(kWidth, kHeight) {
    // The game's own vertex programs, where Init looks for them.
    test::CopyFromGameRoot(dir, "data/scripts/vp");
    core.vars->SetInt("r_filter", 0, 0);  // point sampling: texels land whole
    if (!twoSidedStencil) {
      IDirect3D9* real = Direct3DCreate9(D3D_SDK_VERSION);
      auto* masked = new OneSidedStencil(real);
      platform::SetDirect3DFactory([masked](UINT) {
        masked->AddRef();
        return masked;
      });
      m_masked = masked;
    }
    Start();
    time = std::make_unique<test::TestRenderTime>();
    camera.SetProjection(90.0f, float(kWidth), float(kHeight), 0.0f, 0.0f);
  }
  ~SurfacePixels() override {
    time.reset();
    platform::SetDirect3DFactory(nullptr);
    if (m_masked) m_masked->Release();  // the renderer holds its own reference until it goes
  }

  /// A quad in 640 x 480 screen units (2D set-up) from memory, wound to face the
  /// camera; texture coordinates 0..1 on both sets, normals along +x.
  N_MeshSurface& Quad(float x0, float y0, float x1, float y1) {
    N_SurfaceVertex* v = m_vertices.emplace_back(std::make_unique<N_SurfaceVertex[]>(4)).get();
    const float corners[4][4] = {{x0, y0, 0, 0}, {x1, y0, 1, 0}, {x0, y1, 0, 1}, {x1, y1, 1, 1}};
    for (int i = 0; i < 4; ++i) {
      v[i] = {};
      v[i].position[0] = corners[i][0];
      v[i].position[1] = corners[i][1];
      v[i].normal[0] = 1.0f;
      v[i].colour = 0xFFFFFFFF;
      v[i].uv0[0] = v[i].uv1[0] = corners[i][2];
      v[i].uv0[1] = v[i].uv1[1] = corners[i][3];
    }
    N_MeshSurface& surface = m_surfaces.emplace_back();
    surface.vertices = v;
    surface.vertexCount = 4;
    surface.indices = m_indices;
    surface.indexCount = 6;
    return surface;
  }
  /// Opens a frame cleared to black in the 2D set-up.
  void Begin2D() {
    render().SetClearColorRGBA(0.0f, 0.0f, 0.0f, 1.0f);
    render().BeginFrame();
    render().SetupCamera(&camera, 0);
  }
  N_Camera camera;
  std::unique_ptr<test::TestRenderTime> time;

 private:
  IDirect3D9* m_masked = nullptr;
  std::deque<N_MeshSurface> m_surfaces;
  std::vector<std::unique_ptr<N_SurfaceVertex[]>> m_vertices;
  // Counter-clockwise on the screen: shaders that cull back faces cull clockwise ones.
  std::uint16_t m_indices[6] = {0, 2, 1, 1, 2, 3};
};

bool Near(DWORD pixel, DWORD expected, int tolerance = 3) { return test::NearRgb(pixel, expected, tolerance); }

TEST(SurfacePixels, TheGamesVertexProgramsCompile) {
  SurfacePixels rig;
  const std::string log = rig.core.LogText();
  EXPECT_EQ(log.find("scripts\\vp"), std::string::npos) << log;
}

TEST(SurfacePixels, TheDefaultShaderMultipliesTextureAndLightmap) {
  SurfacePixels rig;
  test::FakeShaderHost host;
  N_ShaderMng shaders(16, host);
  const int handle = shaders.AddShader("textures/rock", 0, 0);
  shaders.LoadShaders();
  N_Shader* shader = shaders.GetShader(handle);
  ASSERT_NE(shader, nullptr);
  ASSERT_EQ(shader->stageCount, 2);
  *shader->stages[0]->textures[0] = *rig.Texture(1, 1, {0xFFFF8040});
  const TexInfo* lightmap = rig.Texture(1, 1, {0xFF80FF80});
  rig.Begin2D();
  rig.render().SetShader(shader, lightmap->texture);
  rig.render().DrawSurface(&rig.Quad(100, 100, 300, 200));
  // (255, 128, 64) x (128, 255, 128) / 255 per channel.
  EXPECT_TRUE(Near(rig.Pixel(100, 75), 0x808020)) << std::hex << rig.Pixel(100, 75);
  EXPECT_EQ(rig.Pixel(20, 20), 0x000000u) << "outside the quad";
}

TEST(SurfacePixels, ScrollMovesAStripeByHalfTheTextureInASecond) {
  SurfacePixels rig;
  N_Shader shader;
  N_ShaderStage* stage = shader.AddStage();
  // A red stripe in the left quarter of a blue texture.
  stage->AddTexture(rig.Texture(4, 1, {0xFFFF0000, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF}), 0.0f);
  const float scroll[2] = {0.5f, 0.0f};
  stage->AppendTcMod(TcModType::Scroll, scroll, 2);
  N_MeshSurface& quad = rig.Quad(0, 0, 640, 480);  // 80 pixels a texel
  const int columns[4] = {40, 120, 200, 280};
  for (const double time : {0.0, 1.0}) {
    rig.time->Set(time);
    rig.Begin2D();
    rig.render().SetShader(&shader, 0);
    rig.render().DrawSurface(&quad);
    // u' = u + 0.5 t: after a second the stripe shows where u + 0.5 is in it.
    const int red = time == 0.0 ? 0 : 2;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(rig.Pixel(columns[i], 100), i == red ? 0xFF0000u : 0x0000FFu)
          << "time " << time << " column " << columns[i];
    }
    rig.render().EndFrame();
  }
}

TEST(SurfacePixels, AWaveDeformMovesTheVerticesBetweenFrames) {
  SurfacePixels rig;
  N_Shader shader;
  shader.cull = Cull::None;
  shader.AddStage()->AddTexture(rig.Texture(1, 1, {0xFFFFFFFF}), 0.0f);
  const float wave[] = {0, 1, 0, 40, 0, 1};  // no spread, sine, base 0, amplitude 40, phase 0, 1 a second
  shader.AddDeform()->Set(DeformType::Wave, wave);
  N_MeshSurface& quad = rig.Quad(270, 100, 370, 200);  // normals along +x: it moves sideways
  DWORD left[2] = {}, right[2] = {};
  const double times[2] = {0.25, 0.75};  // +40 and -40 screen units
  for (int frame = 0; frame < 2; ++frame) {
    rig.time->Set(times[frame]);
    rig.Begin2D();
    rig.render().SetShader(&shader, 0);
    ASSERT_TRUE(rig.render().VertexProgramBound());
    rig.render().DrawSurface(&quad);
    left[frame] = rig.Pixel(120, 75);   // screen x 240
    right[frame] = rig.Pixel(195, 75);  // screen x 390
    rig.render().EndFrame();
  }
  EXPECT_EQ(left[0], 0x000000u);
  EXPECT_EQ(right[0], 0xFFFFFFu);
  EXPECT_EQ(left[1], 0xFFFFFFu);
  EXPECT_EQ(right[1], 0x000000u);
}

TEST(SurfacePixels, VertexProgramsDoNotApplyTheTextureTransform) {
  // As Direct3D with a vertex shader: the program's coordinates reach the texture as
  // they are, so the scroll that moves the stripe without a program does nothing here.
  SurfacePixels rig;
  N_Shader shader;
  N_ShaderStage* stage = shader.AddStage();
  stage->AddTexture(rig.Texture(4, 1, {0xFFFF0000, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF}), 0.0f);
  const float scroll[2] = {0.5f, 0.0f};
  stage->AppendTcMod(TcModType::Scroll, scroll, 2);
  const float still[] = {0, 1, 0, 0, 0, 1};  // a wave of amplitude 0: the program runs, nothing moves
  shader.AddDeform()->Set(DeformType::Wave, still);
  rig.time->Set(1.0);
  rig.Begin2D();
  rig.render().SetShader(&shader, 0);
  rig.render().DrawSurface(&rig.Quad(0, 0, 640, 480));
  EXPECT_EQ(rig.Pixel(40, 100), 0xFF0000u);
  EXPECT_EQ(rig.Pixel(200, 100), 0x0000FFu);
}

TEST(SurfacePixels, ASecondSurfaceOfTheSameMaterialCostsAHandfulOfGlCalls) {
  // Level surfaces share one vertex and one index buffer and are drawn grouped by
  // material: once the first is drawn, the next needs its draw call and little else.
  SurfacePixels rig;
  N_Shader shader;
  N_ShaderStage* base = shader.AddStage();
  base->flags = StageFlag::kMultiplied;
  base->AddTexture(rig.Texture(1, 1, {0xFFFF8040}), 0.0f);
  N_ShaderStage* light = shader.AddStage();
  light->flags = StageFlag::kLightmap | StageFlag::kClamp;
  light->blendSrc = D3DBLEND_DESTCOLOR;
  light->tcGen = TcGen::Lightmap;
  light->AddTexture(nullptr, 0.0f);
  const TexInfo* lightmap = rig.Texture(1, 1, {0xFF80FF80});
  constexpr int kQuads = 3;
  N_VertexBuffer* vertices = rig.render().CreateVertexBuffer(N_Render::kSurfaceVertexSize, 4 * kQuads, 1);
  N_IndexBuffer* indices = rig.render().CreateIndexBuffer(101, 6 * kQuads, 1);
  N_VertexBufferBinding* binding = rig.render().CreateVertexBufferBinding();
  binding->SetStream(0, vertices);
  auto* v = static_cast<N_SurfaceVertex*>(vertices->Lock(true, false));
  auto* i = static_cast<std::uint16_t*>(indices->Lock(true, false));
  std::vector<N_MeshSurface> surfaces(kQuads);
  for (int q = 0; q < kQuads; ++q) {
    const float x = 100.0f + 150.0f * float(q), corners[4][4] = {{x, 100, 0, 0}, {x + 100, 100, 1, 0},
                                                                 {x, 200, 0, 1}, {x + 100, 200, 1, 1}};
    for (int c = 0; c < 4; ++c) {
      N_SurfaceVertex& out = v[4 * q + c];
      out = {};
      out.position[0] = corners[c][0];
      out.position[1] = corners[c][1];
      out.colour = 0xFFFFFFFF;
      out.uv0[0] = out.uv1[0] = corners[c][2];
      out.uv0[1] = out.uv1[1] = corners[c][3];
    }
    const std::uint16_t quad[6] = {0, 2, 1, 1, 2, 3};
    for (int k = 0; k < 6; ++k) i[6 * q + k] = quad[k];
    N_MeshSurface& surface = surfaces[std::size_t(q)];
    surface.type = 1;
    surface.vertexCount = 4;
    surface.indexCount = 6;
    surface.indexed = 1;
    surface.vertexBuffer = vertices;
    surface.indexBuffer = indices;
    surface.binding = binding;
    surface.baseVertex = 4 * q;
    surface.startIndex = std::uint32_t(6 * q);
  }
  vertices->Unlock();
  indices->Unlock();
  rig.Begin2D();
  std::vector<std::uint64_t> calls;
  for (N_MeshSurface& surface : surfaces) {
    const std::uint64_t before = platform::DeviceGlCalls();
    rig.render().SetShader(&shader, lightmap->texture);
    rig.render().DrawSurface(&surface);
    calls.push_back(platform::DeviceGlCalls() - before);
  }
  const char* cache = std::getenv("NAVO_GL_STATE_CACHE");
  if (!cache || cache[0] != '0') {  // with the cache off every draw sends everything
    EXPECT_GT(calls[0], 10u) << "the first surface sets the material up";
    for (int q = 1; q < kQuads; ++q) EXPECT_LE(calls[std::size_t(q)], 3u) << "surface " << q;
  }
  // And they all drew: texture x lightmap, as the first.
  for (int q = 0; q < kQuads; ++q) {
    EXPECT_TRUE(Near(rig.Pixel(75 + 75 * q, 75), 0x808020)) << q << ": " << std::hex << rig.Pixel(75 + 75 * q, 75);
  }
  rig.render().EndFrame();
}

/// A box of 12 triangles from (x0, y0, z0) to (x1, y1, z1), closed, wound outwards.
struct Box {
  Box(float x0, float y0, float z0, float x1, float y1, float z1) {
    for (int i = 0; i < 8; ++i) corners[i] = {i & 1 ? x1 : x0, i & 2 ? y1 : y0, i & 4 ? z1 : z0};
    const std::uint16_t faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                       {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (int f = 0; f < 6; ++f) {
      const std::uint16_t* q = faces[f];
      const std::uint16_t halves[2][3] = {{q[0], q[1], q[2]}, {q[0], q[2], q[3]}};
      for (int h = 0; h < 2; ++h) {
        for (int c = 0; c < 3; ++c) triangles[2 * f + h].corner[c] = halves[h][c];
      }
    }
  }
  N_Vector3 corners[8];
  N_ShadowTriangle triangles[12];
};

void ExpectShadowPatch(bool twoSided) {
  SurfacePixels rig(twoSided);
  rig.core.vars->SetInt("r_shadowsEnabled", 1, 0);
  ASSERT_EQ(rig.render().StencilBits(), 8u);
  // The camera at the origin looks along +y (z up); a white floor 200 below it, and a
  // box straight above the floor at y 900..1100 reaching above the camera's height.
  rig.render().SetClearColorRGBA(0.0f, 0.0f, 0.0f, 1.0f);
  rig.render().BeginFrame();
  rig.render().SetupCamera(&rig.camera, 1);
  rig.render().SetWorldMatrix(N_Matrix4{});
  const float floor[6] = {-2000, 100, -210, 2000, 4000, -200};
  const float white[4] = {1, 1, 1, 1};
  rig.render().DrawBox(floor, white);
  Box box(-100, 900, -150, 100, 1100, 50);
  N_ShadowVolume volume(true);
  volume.Build(box.triangles, 12, box.corners);
  const N_Vector3 sunDown{0, 0, -1};
  volume.Update(sunDown, N_Vector3{}, N_Matrix3{}, 1.0f);
  ASSERT_EQ(volume.Silhouette().size(), 4u);
  volume.Draw(N_Vector3{}, N_Matrix3{}, 1.0f);
  EXPECT_EQ(rig.render().GetPolygonCount(), twoSided ? 8u : 16u) << "the box's 4 quads, once or twice";
  rig.render().SetupCamera(&rig.camera, 0);
  rig.render().DrawShadowOverlay();
  // Floor points: (0, 1000) under the box; (0, 1500) beyond it; (500, 1000) beside it.
  // The floor is 200 below the eye: screen y = 120 + 200 / y x 160.
  const DWORD shadow = 0xB8B7C1;  // the shadow colour (0.725, 0.721, 0.757)
  EXPECT_TRUE(Near(rig.Pixel(160, 152), shadow)) << std::hex << rig.Pixel(160, 152);
  EXPECT_EQ(rig.Pixel(160, 141), 0xFFFFFFu) << std::hex << rig.Pixel(160, 141);
  EXPECT_EQ(rig.Pixel(240, 152), 0xFFFFFFu) << std::hex << rig.Pixel(240, 152);
  rig.render().EndFrame();
  volume.ReleaseBuffers();
}

TEST(SurfacePixels, AShadowVolumeDarkensTheFloorUnderABoxTwoSided) { ExpectShadowPatch(true); }

TEST(SurfacePixels, AShadowVolumeDarkensTheFloorUnderABoxInTwoPasses) { ExpectShadowPatch(false); }

}  // namespace
