// The renderer on the real OpenGL device (Xvfb with Mesa in CI): Init, frames, pixels,
// and a video-mode change.
#include "core/CoreServices.h"
#include "core/VarMng.h"
#include "platform/d3d9.h"
#include "platform/win32/TestWindow.h"
#include "render/IndexBuffer.h"
#include "render/Render.h"
#include "render/VertexBuffer.h"
#include "render/VertexDecl.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/GlRender.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

/// The engine's 44-byte surface vertex.
struct SurfaceVertex {
  float x, y, z;
  float nx, ny, nz;
  D3DCOLOR color;
  float u0, v0, u1, v1;
};
static_assert(sizeof(SurfaceVertex) == 44);

class RenderGl : public ::testing::Test {
 protected:
  void SetUp() override {
    window = platform::CreateTestWindow(800, 600);
    ASSERT_NE(window, 0);
    test::SetUpRenderServices(core, services, window, 800, 600);
    CreateRender(&services, &render);
    ASSERT_TRUE(render->Init());
  }
  void TearDown() override {
    if (render->Device()) render->Shutdown();
    ReleaseRender(render);
    platform::DestroyTestWindow(window);
  }

  /// The back buffer as 0x00RRGGBB, top row first; width and height through the pointers.
  std::vector<DWORD> BackBuffer(UINT* width, UINT* height) {
    const test::BackBufferImage image = test::ReadBackBuffer(render->Device());
    *width = image.width;
    *height = image.height;
    return image.RgbPixels();
  }

  DWORD Pixel(UINT x, UINT y) {
    UINT w = 0, h = 0;
    const auto pixels = BackBuffer(&w, &h);
    return pixels.at(std::size_t(y) * w + x);
  }

  test::TempDir dir;
  test::CoreServices core;
  N_CoreServices services;
  N_Render* render = nullptr;
  HWND window = 0;
};

TEST_F(RenderGl, InitLogsTheFullPathsOfTheOpenGlDevice) {
  const std::string log = core.LogText();
  for (const char* line : {"\n--- Initializing render\n", "--- Device type: Hardware\n",
                           "--- Vertex processing type: Hardware\n", "--- WHQL: Not certified\n",
                           "--- Texture compression supported\n", "--- Using point sprites\n",
                           "--- Two sided stenciling\n", "--- Occlusion query supported\n",
                           "--- Render to texture supported\n\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(render->BehaviourFlags(), 0x40u);
  EXPECT_GT(core.vars->GetInt("gl_maxTextureSize"), 0);
  render->DumpMemoryStatistics();
  EXPECT_NE(core.LogText().find("Vertex Buffers:\nCount 1\nMemory: 0 B (0 MB)\n"), std::string::npos);
  EXPECT_NE(core.LogText().find("Vertex Declarations:\nCount 5\n"), std::string::npos);
}

TEST_F(RenderGl, TrianglesFromAStaticBufferAndAnUpDrawAppearWhereTheyShould) {
  IDirect3DDevice9* device = render->Device();
  // Upper-left half: a static buffer in the surface layout, through the built-in declaration.
  const SurfaceVertex triangle[3] = {{-1, 1, 0.5f, 0, 0, 1, 0xFFFF0000, 0, 0, 0, 0},
                                     {1, 1, 0.5f, 0, 0, 1, 0xFFFF0000, 0, 0, 0, 0},
                                     {-1, -1, 0.5f, 0, 0, 1, 0xFFFF0000, 0, 0, 0, 0}};
  N_VertexBuffer* vb = render->CreateVertexBuffer(44, 3, 1);
  vb->Write(0, sizeof triangle, triangle, false);
  ASSERT_TRUE(render->BeginFrame());
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);  // the vertex colour alone
  device->SetVertexDeclaration(render->BuiltInDeclaration(N_Render::BuiltInDecl::Surface)->GetDeclaration());
  vb->Bind();
  ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
  // Lower-right quarter: the flexible vertex format 0x252 through an UP draw.
  const SurfaceVertex quad[4] = {{0, 0, 0.5f, 0, 0, 1, 0xFF00FF00, 0, 0, 0, 0},
                                 {1, 0, 0.5f, 0, 0, 1, 0xFF00FF00, 0, 0, 0, 0},
                                 {0, -1, 0.5f, 0, 0, 1, 0xFF00FF00, 0, 0, 0, 0},
                                 {1, -1, 0.5f, 0, 0, 1, 0xFF00FF00, 0, 0, 0, 0}};
  device->SetFVF(0x252);
  ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, 44), D3D_OK);
  EXPECT_TRUE(render->EndFrame());
  EXPECT_FALSE(render->IsDeviceLost());
  struct Expect {
    UINT x, y;
    DWORD color;
  };
  for (const Expect e : {Expect{5, 5, 0xFF0000}, Expect{790, 5, 0xFF0000}, Expect{5, 590, 0xFF0000},
                         Expect{600, 200, 0x000000}, Expect{405, 305, 0x00FF00}, Expect{799, 599, 0x00FF00}}) {
    EXPECT_EQ(Pixel(e.x, e.y), e.color) << e.x << ", " << e.y;
  }
}

TEST_F(RenderGl, ApplyVideoModeResizesTheWindowAndKeepsManagedBuffers) {
  const std::uint32_t words[4] = {0x11111111, 0x22222222, 0x33333333, 0x44444444};
  N_VertexBuffer* managed = render->CreateVertexBuffer(16, 1, 1);
  managed->Write(0, 16, words, false);
  N_VertexBuffer* dynamic = render->CreateVertexBuffer(16, 1, 2);
  dynamic->Write(0, 16, words, true);
  N_IndexBuffer* dynamicIndices = render->CreateIndexBuffer(101, 8, 2);
  // Held here, so that the buffer made again cannot take its address.
  IDirect3DVertexBuffer9* dynamicBefore = dynamic->DeviceBuffer();
  dynamicBefore->AddRef();
  // A frame that leaves the whole back buffer red.
  render->BeginFrame();
  render->Device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
  render->EndFrame();

  core.vars->SetInt("v_width", 640, 0);
  core.vars->SetInt("v_height", 480, 0);
  render->ApplyVideoMode();
  int width = 0, height = 0;
  ASSERT_TRUE(platform::GetTestWindowSize(window, &width, &height));
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);

  // A colour of its own: fresh storage reads black, so a black clear would prove nothing.
  render->SetClearColorRGBA(0.0f, 0.5f, 1.0f, 1.0f);
  render->BeginFrame();
  render->EndFrame();
  UINT w = 0, h = 0;
  const auto pixels = BackBuffer(&w, &h);
  EXPECT_EQ(w, 640u);
  EXPECT_EQ(h, 480u);
  std::size_t notCleared = 0;
  for (DWORD p : pixels) notCleared += p != 0x007FFFu;
  EXPECT_EQ(notCleared, 0u) << "the frame after the change clears the whole client area";

  std::uint32_t back[4] = {};
  managed->Read(0, 16, back);
  EXPECT_EQ(std::memcmp(back, words, sizeof words), 0) << "a static (managed) buffer keeps its contents";
  EXPECT_NE(dynamic->DeviceBuffer(), nullptr) << "a dynamic buffer is made again";
  EXPECT_NE(dynamic->DeviceBuffer(), dynamicBefore) << "as a new buffer, for its owner to rewrite";
  EXPECT_EQ(dynamicBefore->Release(), 0u) << "the old one let go by its owner";
  EXPECT_NE(dynamicIndices->DeviceBuffer(), nullptr);
  EXPECT_NE(render->OffscreenSurface(), nullptr);
  D3DSURFACE_DESC desc{};
  render->OffscreenSurface()->GetDesc(&desc);
  EXPECT_EQ(desc.Width, 640u) << "the offscreen target follows the new size";
}

}  // namespace
