// CheckRenderState: silent while the cache and the device agree, one report per state
// changed behind the cache's back.
#include "tests/render/RenderRig.h"

#include "render/OcclusionQuery.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr float kBox[6] = {-10, 50, -10, 10, 70, 10};
constexpr float kWhite[4] = {1, 1, 1, 1};
constexpr float kPoint[3] = {0, 100, 0};
constexpr const char* kUnitZeroNote = "!!! Bad textureOp[0] state: 4 (-1)\n    Shader: (nil), layer 0\n";

TEST(RenderCheck, AfterTheDefaultsOnlyUnitZeroIsReported) {
  test::RenderRig rig;
  rig.render.SetDefaultRenderStates(rig.device);
  rig.NewLog();
  rig.render.CheckRenderState();
  // The defaults leave unit 0 modulating while the cache knows no texture on it.
  EXPECT_EQ(rig.NewLog(), kUnitZeroNote);
}

TEST(RenderCheck, TheRenderersOwnDrawsKeepTheCacheTrue) {
  test::RenderRig rig;
  rig.core.vars->SetInt("r_shadowsEnabled", 1, 0);
  struct Step {
    const char* name;
    void (*run)(test::RenderRig&);
  } steps[] = {
      {"2D set-up", [](test::RenderRig& r) { r.render.SetupCamera(&r.camera, 0); }},
      {"DrawQuad", [](test::RenderRig& r) { r.render.DrawQuad(0, 0, 0, 0.5f); }},
      {"DrawBox", [](test::RenderRig& r) { r.render.DrawBox(kBox, kWhite); }},
      {"DrawPoint", [](test::RenderRig& r) { r.render.DrawPoint(kPoint, 4.0f, kWhite); }},
      {"DrawLine", [](test::RenderRig& r) { r.render.DrawLine(kPoint, kBox, kWhite, 1.0f); }},
      {"DrawWireBox", [](test::RenderRig& r) { r.render.DrawWireBox(kBox, kWhite); }},
      {"DrawShadowOverlay", [](test::RenderRig& r) { r.render.DrawShadowOverlay(); }},
      {"occlusion test",
       [](test::RenderRig& r) {
         N_OcclusionQuery* q = r.render.CreateOcclusionQuery();
         ASSERT_NE(q, nullptr);
         g_renderStateCache.depthFunction = D3DCMP_ALWAYS;
         r.device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
         q->TestBox(kBox);
         r.render.DestroyOcclusionQuery(&q);
       }},
      {"3D set-up", [](test::RenderRig& r) { r.render.SetupCamera(&r.camera, 1); }},
  };
  bool first = true;
  for (const Step& step : steps) {
    step.run(rig);
    rig.NewLog();
    rig.render.CheckRenderState();
    // The 2D set-up leaves unit 0 as the defaults left it; every draw disables it.
    EXPECT_EQ(rig.NewLog(), first ? kUnitZeroNote : "") << "after " << step.name;
    first = false;
  }
}

TEST(RenderCheck, StatesChangedBehindTheCachesBackAreReported) {
  const struct {
    D3DRENDERSTATETYPE state;
    DWORD value;
    const char* report;
  } cases[] = {
      {D3DRS_CULLMODE, D3DCULL_CW, "!!! Bad cull state: 2 (1)\n"},
      {D3DRS_CULLMODE, D3DCULL_NONE, "!!! Bad cull state: 1 (1)\n"},
      {D3DRS_ZFUNC, D3DCMP_ALWAYS, "!!! Bad depth func state: 8 (4)\n"},
      {D3DRS_ZWRITEENABLE, FALSE, "!!! Bad depth write state: 0 (1)\n"},
      {D3DRS_DEPTHBIAS, 5, "!!! Bad poly offset state: 0, 5 (0)\n"},
      {D3DRS_ALPHABLENDENABLE, TRUE, "!!! Bad alpha blend enable state: 1 (2, 1)\n"},
      {D3DRS_ALPHATESTENABLE, TRUE, "!!! Bad alpha test enable state: 1 (8)\n"},
  };
  for (const auto& c : cases) {
    test::RenderRig rig;
    rig.render.SetupCamera(&rig.camera, 0);
    rig.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    rig.NewLog();
    rig.render.CheckRenderState();
    ASSERT_EQ(rig.NewLog(), "");
    rig.device->SetRenderState(c.state, c.value);
    rig.render.CheckRenderState();
    EXPECT_EQ(rig.NewLog(), std::string(c.report) + "    Shader: (nil), layer 0\n");
  }
}

TEST(RenderCheck, BlendFactorsAndTexturesAreCompared) {
  test::RenderRig rig;
  rig.render.SetupCamera(&rig.camera, 0);
  rig.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  // A blending pair in the cache: the device's factors must match it.
  g_renderStateCache.sourceBlend = D3DBLEND_SRCALPHA;
  g_renderStateCache.destinationBlend = D3DBLEND_INVSRCALPHA;
  rig.device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  rig.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  rig.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  rig.NewLog();
  rig.render.CheckRenderState();
  EXPECT_EQ(rig.NewLog(), "!!! Bad alpha blend state: 2, 6 (5, 6)\n    Shader: (nil), layer 0\n");
  rig.device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);

  // A texture on unit 1 that the cache does not know.
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(rig.device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
  const std::int32_t handle = platform::TextureHandleOf(texture);
  rig.device->SetTexture(1, texture);
  rig.device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
  g_renderStateCache.boundTexture[1] = handle + 1;
  rig.render.CheckRenderState();
  EXPECT_EQ(rig.NewLog(), "!!! Bad texture[1] bind state: " + std::to_string(handle) + " (" +
                              std::to_string(handle + 1) + ")\n    Shader: (nil), layer 0\n");
  g_renderStateCache.boundTexture[1] = handle;
  rig.render.CheckRenderState();
  EXPECT_EQ(rig.NewLog(), "");
  // Disabled while the cache says a texture is bound.
  rig.device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  rig.render.CheckRenderState();
  EXPECT_EQ(rig.NewLog(),
            "!!! Bad textureOp[1] state: 1 (" + std::to_string(handle) + ")\n    Shader: (nil), layer 0\n");
  rig.device->SetTexture(1, nullptr);
  texture->Release();
}

TEST(RenderCheck, DumpPrintsDeviceAndCache) {
  test::RenderRig rig;
  rig.render.SetupCamera(&rig.camera, 0);
  // A texture bound on unit 1 as the cache knows it: both sides of its line agree.
  IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(rig.device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
  rig.device->SetTexture(1, texture);
  g_renderStateCache.boundTexture[1] = platform::TextureHandleOf(texture);
  rig.NewLog();
  rig.render.DumpRenderState();
  const std::string dump = rig.NewLog();
  char textureLine[96];
  const void* handle = reinterpret_cast<const void*>(std::intptr_t{platform::TextureHandleOf(texture)});
  std::snprintf(textureLine, sizeof textureLine, "  Texture[1]: %p (%p)\n", handle, handle);
  EXPECT_NE(dump.find(textureLine), std::string::npos) << textureLine << "\nin:\n" << dump;
  rig.device->SetTexture(1, nullptr);
  texture->Release();
  for (const char* line : {"Cull:\n  Enabled: 1 (1)\n  Mode: Front (Front)\n", "Depth test:\n  Enabled: 1\n",
                           "  Func: 4 (4)\n  Write: 1 (1)\n", "Polygon offset:\n Enabled: (0)\n  Slope: 0\n  Bias: 0\n",
                           "  ColorOp[0]: 4\n", "World matrix:\n  01.00 00.00 00.00 00.00\n",
                           "View matrix:\n  01.00 00.00 00.00 00.00\n  00.00 -1.00 00.00 00.00\n"}) {
    EXPECT_NE(dump.find(line), std::string::npos) << line << "\nin:\n" << dump;
  }
  EXPECT_EQ(dump.rfind("--------------------------------------------\n", 0), 0u);
}

}  // namespace
