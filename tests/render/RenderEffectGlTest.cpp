// The sample gear effect through the renderer on the OpenGL device: shared by the
// shaders that name it, its named texture loaded by the texture manager, and its two
// techniques told apart by their pixels.
#include "core/CoreServices.h"
#include "core/VarMng.h"
#include "platform/d3dx9.h"
#include "platform/win32/TestWindow.h"
#include "render/Render.h"
#include "render/MeshSurface.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "tests/support/GlRender.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kGear = "data\\effects\\gear.fx";

std::string ReadGameFile(const std::string& relative) {
  std::ifstream in(test::GameRoot() + "/" + relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Vertex {  // FVF XYZ | NORMAL | DIFFUSE | TEX1
  float x, y, z;
  float nx, ny, nz;
  D3DCOLOR color;
  float u, v;
};

class RenderEffectGl : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("data/effects/gear.fx", ReadGameFile("data/effects/gear.fx"));
    dir.Write("data/textures/gear/ramps.dds", ReadGameFile("data/textures/gear/ramps.dds"));
    window = platform::CreateTestWindow(64, 64);
    ASSERT_NE(window, 0);
    test::SetUpRenderServices(core, services, window, 64, 64);
    services.textureMng = textures.get();
    CreateRender(&services, &render);
    ASSERT_TRUE(render->Init());
  }
  void TearDown() override {
    // The shaders go, the renderer's shutdown gives back the textures its effects held,
    // and the texture manager releases every texture while the renderer that made them
    // is still there to release them.
    shaders.reset();
    if (render->Device()) render->Shutdown();
    textures.reset();
    ReleaseRender(render);
    platform::DestroyTestWindow(window);
  }

  int Count(const std::string& part) {
    const std::string log = core.LogText();
    int n = 0;
    for (auto at = log.find(part); at != std::string::npos; at = log.find(part, at + 1)) ++n;
    return n;
  }

  /// A quad over the whole target facing the viewer, through every pass of the effect.
  void DrawQuad(ID3DXEffect* effect) {
    const Vertex quad[] = {{-1, 1, 0.5f, 0, 0, -1, 0xFFFFFFFF, 0, 0},
                           {1, 1, 0.5f, 0, 0, -1, 0xFFFFFFFF, 1, 0},
                           {-1, -1, 0.5f, 0, 0, -1, 0xFFFFFFFF, 0, 1},
                           {1, -1, 0.5f, 0, 0, -1, 0xFFFFFFFF, 1, 1}};
    IDirect3DDevice9* device = render->Device();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    render->SetWorldMatrix(N_Matrix4{});
    render->SetViewMatrix(N_Matrix4{});
    render->SetProjectionMatrix(N_Matrix4{});
    render->DrawEffectPasses(effect, [&] {
      device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
      device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    });
  }

  DWORD Pixel(UINT x, UINT y) {
    IDirect3DSurface9* surface = nullptr;
    render->Device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface);
    D3DLOCKED_RECT locked{};
    DWORD pixel = 0xDEADBEEF;
    if (SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
      pixel = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch)[x] & 0xFFFFFF;
      surface->UnlockRect();
    }
    surface->Release();
    return pixel;
  }

  test::TempDir dir;
  test::CoreServices core;
  N_CoreServices services;
  std::unique_ptr<N_TextureMngImpl> textures = std::make_unique<N_TextureMngImpl>(1024);
  std::unique_ptr<N_ShaderMng> shaders;
  HWND window = 0;
  N_Render* render = nullptr;
};

TEST_F(RenderEffectGl, TheGearEffectIsCompiledOnceForTwoShadersAndItsTechniquesDiffer) {
  dir.Write("data/scripts/gear.shader",
            "gear/dress\n{\n\tfx data\\effects\\gear.fx\n}\n\ngear/skis\n{\n\tfx data\\effects\\gear.fx\n}\n");
  shaders = std::make_unique<N_ShaderMng>(1024);
  const int dress = shaders->AddShader("gear/dress", 0, 0);
  const int skis = shaders->AddShader("gear/skis", 0, 0);
  shaders->LoadShaders();
  textures->PurgeTextures();  // loads the ramps and binds them to the effect
  ASSERT_NE(shaders->GetShader(dress), nullptr);
  ID3DXEffect* effect = shaders->GetShader(dress)->effect;
  ASSERT_NE(effect, nullptr) << core.LogText();
  EXPECT_EQ(shaders->GetShader(skis)->effect, effect);
  EXPECT_EQ(Count("Effect 'data\\effects\\gear.fx' compiled\n"), 1);
  EXPECT_EQ(Count("Valid technique 'TTextureOnly'\n"), 1);
  EXPECT_EQ(Count("!!!"), 0) << core.LogText();
  IDirect3DBaseTexture9* ramps = nullptr;
  effect->GetTexture("GearRamps", &ramps);
  ASSERT_NE(ramps, nullptr);
  ramps->Release();

  // White gear facing away from the sun: the shade end of the ramp, then the glow on top.
  IDirect3DTexture9* white = nullptr;
  ASSERT_EQ(render->Device()->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &white, nullptr), D3D_OK);
  D3DLOCKED_RECT locked{};
  white->LockRect(0, &locked, nullptr, 0);
  *static_cast<DWORD*>(locked.pBits) = 0xFFFFFFFF;
  white->UnlockRect(0);
  effect->SetTexture("DiffuseMap", white);
  DrawQuad(effect);
  const DWORD plain = Pixel(5, 5);
  EXPECT_NEAR(int(plain >> 16), 0x75, 4);  // 0.45 of the shade ramp, grey
  EXPECT_EQ(plain >> 16, plain & 0xFF);
  ASSERT_EQ(effect->SetTechnique(effect->GetTechniqueByName("TGlowAndTexture")), D3D_OK);
  DrawQuad(effect);
  const DWORD glowing = Pixel(5, 5);
  EXPECT_GT(glowing >> 16, plain >> 16) << std::hex << glowing;
  EXPECT_GT((glowing >> 16) & 0xFF, glowing & 0xFF) << "the glow is warm";
  white->Release();

  // Freeing one shader leaves the effect with the other.
  shaders->ReleaseShader(dress);
  EXPECT_EQ(render->EffectUsers(effect), 1u);
  EXPECT_EQ(shaders->GetShader(skis)->effect, effect);
}

TEST_F(RenderEffectGl, ABrokenProgramIsReportedWithFileAndLineAndNotCached) {
  std::string text = ReadGameFile("data/effects/gear.fx");
  const auto at = text.find("gl_Position = WorldViewProj * gl_Vertex;");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 13, "gl_Position = Undeclared *");
  dir.Write("data/effects/broken.fx", text);
  const int line = 1 + int(std::count(text.begin(), text.begin() + long(at), '\n'));
  EXPECT_EQ(render->CreateEffect("data\\effects\\broken.fx"), nullptr);
  EXPECT_EQ(render->CreateEffect("data\\effects\\broken.fx"), nullptr);
  EXPECT_EQ(Count("Errors:\ndata\\effects\\broken.fx(" + std::to_string(line) + "): error"), 2) << core.LogText();
  EXPECT_EQ(render->EffectUsers(nullptr), 0u);
  EXPECT_NE(render->CreateEffect(kGear), nullptr);
}

TEST_F(RenderEffectGl, AnEffectShaderDrawsItsSurfacesThroughThePasses) {
  // The stage's texture reaches "TEXTURE0": the default checker board, light grey.
  dir.Write("data/textures/gear/dress.dds", ReadGameFile("data/textures/default.dds"));
  dir.Write("data/scripts/gear.shader", "gear/dress\n{\n\tfx data\\effects\\gear.fx\n\t{\n\t\tmap textures/gear/dress\n"
                                          "\t}\n}\n\ngear/none\n{\n\tfx data\\effects\\missing.fx\n}\n");
  shaders = std::make_unique<N_ShaderMng>(1024);
  const int dress = shaders->AddShader("gear/dress", 0, 0);
  const int none = shaders->AddShader("gear/none", 0, 0);
  shaders->LoadShaders();
  textures->PurgeTextures();
  N_Shader* shader = shaders->GetShader(dress);
  ASSERT_NE(shader, nullptr);
  ASSERT_NE(shader->effect, nullptr) << core.LogText();

  N_SurfaceVertex vertices[4] = {};
  const float corners[4][4] = {{-1, 1, 0, 0}, {1, 1, 1, 0}, {-1, -1, 0, 1}, {1, -1, 1, 1}};
  for (int i = 0; i < 4; ++i) {
    vertices[i] = {{corners[i][0], corners[i][1], 0.5f}, {0, 0, -1}, 0xFFFFFFFF, {corners[i][2], corners[i][3]}, {}};
  }
  std::uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  N_MeshSurface surface;
  surface.vertices = vertices;
  surface.vertexCount = 4;
  surface.indices = indices;
  surface.indexCount = 6;
  surface.indexed = 1;
  auto draw = [&](int handle) {
    render->Device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    render->SetWorldMatrix(N_Matrix4{});
    render->SetViewMatrix(N_Matrix4{});
    render->SetProjectionMatrix(N_Matrix4{});
    render->SetShader(shaders->GetShader(handle), -1);
    render->DrawSurface(&surface);
    return Pixel(32, 32);
  };
  const DWORD plain = draw(dress);
  EXPECT_GT(plain & 0xFF, 0x30u) << std::hex << plain;
  EXPECT_EQ(plain >> 16, plain & 0xFF) << "grey: the texture times the shade";
  shader->effect->SetTechnique("TGlowAndTexture");
  EXPECT_GT(draw(dress) >> 16, plain >> 16);
  // A shader whose effect could not be made keeps its mark and draws nothing.
  ASSERT_NE(shaders->GetShader(none), nullptr);
  EXPECT_EQ(shaders->GetShader(none)->flags & ShaderFlag::kEffect, ShaderFlag::kEffect);
  EXPECT_EQ(shaders->GetShader(none)->effect, nullptr);
  EXPECT_EQ(draw(none), 0u);
}

TEST_F(RenderEffectGl, EverySampleEffectCompiles) {
  for (const char* name : {"gear", "water"}) {
    const std::string file = std::string("data/effects/") + name + ".fx";
    dir.Write(file, ReadGameFile(file));
    EXPECT_NE(render->CreateEffect(file.c_str()), nullptr) << core.LogText();
  }
  EXPECT_EQ(Count("Errors:"), 0);
}

}  // namespace
