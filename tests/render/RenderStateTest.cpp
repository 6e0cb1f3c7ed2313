// The render-state cache: default device states, the frame start, and the check that
// compares the cache with the device.
#include "tests/render/RenderRig.h"

#include "core/VarMng.h"
#include "render/Camera.h"

namespace {

TEST(RenderState, DefaultsOnDeviceAndInCache) {
  test::RenderRig rig;
  rig.render.SetDefaultRenderStates(rig.device);
  const struct {
    D3DRENDERSTATETYPE state;
    DWORD value;
  } expected[] = {
      {D3DRS_CULLMODE, D3DCULL_CCW},  {D3DRS_LIGHTING, FALSE},          {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
      {D3DRS_SPECULARENABLE, TRUE},   {D3DRS_DITHERENABLE, FALSE},      {D3DRS_ALPHABLENDENABLE, FALSE},
      {D3DRS_ALPHATESTENABLE, FALSE}, {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS}, {D3DRS_ALPHAREF, 255},
      {D3DRS_ZENABLE, D3DZB_TRUE},    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},  {D3DRS_ZWRITEENABLE, TRUE},
      {D3DRS_DEPTHBIAS, 0},           {D3DRS_SLOPESCALEDEPTHBIAS, 0},   {D3DRS_FILLMODE, D3DFILL_SOLID},
  };
  for (const auto& e : expected) EXPECT_EQ(rig.State(e.state), e.value) << "state " << e.state;
  EXPECT_EQ(rig.Stage(0, D3DTSS_COLOROP), DWORD(D3DTOP_MODULATE));
  EXPECT_EQ(rig.Stage(0, D3DTSS_ALPHAOP), DWORD(D3DTOP_MODULATE));

  const N_RenderStateCache& cache = g_renderStateCache;
  EXPECT_EQ(cache.device, rig.device);
  EXPECT_EQ(cache.cull, 1);
  EXPECT_EQ(cache.alphaFunction, DWORD(D3DCMP_ALWAYS));
  EXPECT_EQ(cache.alphaReference, 255u);
  EXPECT_EQ(cache.sourceBlend, DWORD(D3DBLEND_ONE));
  EXPECT_EQ(cache.destinationBlend, DWORD(D3DBLEND_ZERO));
  EXPECT_EQ(cache.depthFunction, DWORD(D3DCMP_LESSEQUAL));
  EXPECT_EQ(cache.depthWrite, 1u);
  EXPECT_EQ(cache.polygonOffset, 0u);
  // Unit n reads coordinate set n by default: 0 is the base set, 1 the lightmap set,
  // 2-7 match no mode.
  const std::int32_t modes[8] = {0, 2, -1, -1, -1, -1, -1, -1};
  for (int unit = 0; unit < 8; ++unit) {
    EXPECT_EQ(cache.boundTexture[unit], -1);
    EXPECT_EQ(cache.texCoordMode[unit], modes[unit]) << "unit " << unit;
    EXPECT_EQ(cache.mipLodBias[unit], 0.0f);
  }
}

TEST(RenderState, TheCacheForgetsOnlyItsOwnFreedShader) {
  N_RenderStateCache cache;
  auto* shader = reinterpret_cast<N_Shader*>(&cache);  // any address serves: it is only compared
  auto* other = reinterpret_cast<N_Shader*>(&cache.device);
  cache.currentShader = shader;
  cache.currentLightmap = 7;
  cache.currentLayer = 2;
  cache.ForgetShader(other);
  EXPECT_EQ(cache.currentShader, shader);
  cache.ForgetShader(nullptr);
  EXPECT_EQ(cache.currentShader, shader);
  cache.ForgetShader(shader);
  EXPECT_EQ(cache.currentShader, nullptr);
}

TEST(RenderState, AResetForgetsTheCurrentShaderAndKeepsTheLightmapAndLayer) {
  // After a new device (or a re-initialised renderer) the shader that was current may
  // belong to a manager that is gone: the next SetShader must not read it.
  N_RenderStateCache cache;
  cache.currentShader = reinterpret_cast<N_Shader*>(&cache);  // only compared
  cache.currentLightmap = 7;
  cache.currentLayer = 2;
  cache.noShader = 1;
  cache.Reset(nullptr);
  EXPECT_EQ(cache.currentShader, nullptr);
  EXPECT_EQ(cache.currentLightmap, 7);
  EXPECT_EQ(cache.currentLayer, 2);
  EXPECT_EQ(cache.noShader, 1u);
}

TEST(RenderState, SwitchesFromVariables) {
  test::RenderRig rig;
  rig.core.vars->SetInt("r_dither", 1, 0);
  rig.core.vars->SetInt("r_useWBuffer", 1, 0);
  rig.core.vars->SetInt("r_grid", 1, 0);
  rig.render.SetDefaultRenderStates(rig.device);
  EXPECT_EQ(rig.State(D3DRS_DITHERENABLE), DWORD(TRUE));
  EXPECT_EQ(rig.State(D3DRS_ZENABLE), DWORD(D3DZB_USEW));
  EXPECT_EQ(rig.State(D3DRS_FILLMODE), DWORD(D3DFILL_WIREFRAME));
}

TEST(RenderState, SamplerFiltersFollowTheFilterVariable) {
  const struct {
    int filter;
    DWORD mag, min, mip, anisotropy;
  } cases[] = {
      {0, D3DTEXF_POINT, D3DTEXF_POINT, D3DTEXF_NONE, 96},  // anisotropy only set by 3
      {1, D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_POINT, 96},
      {2, D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_LINEAR, 96},
      {3, D3DTEXF_ANISOTROPIC, D3DTEXF_ANISOTROPIC, D3DTEXF_ANISOTROPIC, 4},
      {7, 99, 98, 97, 96},  // left as the test set them
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    test::RenderRig rig;
    D3DCAPS9 caps{};
    rig.device->GetDeviceCaps(&caps);
    ASSERT_GE(caps.MaxSimultaneousTextures, 1u);
    const DWORD units = std::min<DWORD>(caps.MaxSimultaneousTextures, 8);
    for (DWORD unit = 0; unit < 8; ++unit) {
      rig.device->SetSamplerState(unit, D3DSAMP_MAGFILTER, 99);
      rig.device->SetSamplerState(unit, D3DSAMP_MINFILTER, 98);
      rig.device->SetSamplerState(unit, D3DSAMP_MIPFILTER, 97);
      rig.device->SetSamplerState(unit, D3DSAMP_MAXANISOTROPY, 96);
    }
    rig.core.vars->SetInt("r_filter", c.filter, 0);
    rig.render.SetDefaultRenderStates(rig.device);
    for (DWORD unit = 0; unit < 8; ++unit) {
      DWORD mag, min, mip, aniso;
      rig.device->GetSamplerState(unit, D3DSAMP_MAGFILTER, &mag);
      rig.device->GetSamplerState(unit, D3DSAMP_MINFILTER, &min);
      rig.device->GetSamplerState(unit, D3DSAMP_MIPFILTER, &mip);
      rig.device->GetSamplerState(unit, D3DSAMP_MAXANISOTROPY, &aniso);
      const bool set = unit < units && c.filter != 7;
      EXPECT_EQ(mag, set ? c.mag : 99u) << "unit " << unit;
      EXPECT_EQ(min, set ? c.min : 98u);
      EXPECT_EQ(mip, set ? c.mip : 97u);
      EXPECT_EQ(aniso, set ? c.anisotropy : 96u);
    }
  }
}

TEST(RenderState, ClearColourPacksTruncatedBytes) {
  test::RenderRig rig;
  const struct {
    float r, g, b, a;
    DWORD packed;
  } cases[] = {
      {1.0f, 0.5f, 0.0f, 1.0f, 0xFFFF7F00u},
      {0.0f, 0.0f, 0.0f, 0.0f, 0x00000000u},
      {0.2f, 0.4f, 0.6f, 0.8f, 0xCC336699u},
      {2.0f, 0.0f, 0.0f, 1.0f, 0xFFFE0000u},  // 510 keeps its low byte
  };
  for (const auto& c : cases) {
    rig.render.SetClearColorRGBA(c.r, c.g, c.b, c.a);
    rig.device->ClearCalls();
    rig.render.BeginFrame();
    const auto clears = rig.device->CallsStartingWith("Clear(");
    ASSERT_FALSE(clears.empty());
    char colour[16];
    std::snprintf(colour, sizeof colour, "0x%08X", c.packed);
    EXPECT_NE(clears[0].find(colour), std::string::npos) << clears[0] << " wants " << colour;
  }
}

TEST(RenderState, BeginFrameClearsAndSetsTheViewport) {
  test::RenderRig rig;
  rig.core.vars->SetInt("v_width", 1024, 0);
  rig.core.vars->SetInt("v_height", 768, 0);
  g_renderStateCache.depthWrite = 0;
  rig.device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  EXPECT_TRUE(rig.render.BeginFrame());
  // (Switching to the offscreen target and back then resets the viewport to the target.)
  const auto viewports = rig.device->CallsStartingWith("SetViewport(");
  ASSERT_FALSE(viewports.empty());
  EXPECT_EQ(viewports[0], "SetViewport(0, 0, 1024, 768, 0, 1)");
  EXPECT_EQ(rig.State(D3DRS_ZWRITEENABLE), DWORD(TRUE));
  EXPECT_EQ(g_renderStateCache.depthWrite, 1u);
  EXPECT_EQ(rig.render.GetPolygonCount(), 0u);
}

TEST(RenderState, BeginFrameClearsStencilOnlyWithAStencilBuffer) {
  for (DWORD bits : {8u, 0u}) {
    test::RenderRig rig(bits ? test::RecordingRender::DefaultConfig() : test::RenderRig::WithoutStencil());
    ASSERT_EQ(rig.render.StencilBits(), bits);
    rig.render.BeginFrame();
    const auto clears = rig.device->CallsStartingWith("Clear(");
    ASSERT_EQ(clears.size(), 1u);  // the frame only: the offscreen target waits for its first use
    EXPECT_EQ(clears[0], bits ? "Clear(0, 0x7, 0x00000000, 1, 0)" : "Clear(0, 0x3, 0x00000000, 1, 0)");
    EXPECT_EQ(rig.device->CallsStartingWith("BeginScene").size(), 1u);
  }
}

TEST(RenderState, TheOffscreenTargetIsClearedOnceWhenAFrameFirstDrawsIntoIt) {
  test::RenderRig rig;
  rig.render.SetClearColorRGBA(0.0f, 0.0f, 1.0f, 1.0f);
  const std::string offscreenClear = "Clear(0, 0x1, 0xFF0000FF, 1, 0)";
  // Drawn into twice in a frame: cleared at the first switch only.
  rig.render.SetPostFilterAmount(1.0f);
  rig.render.BeginFrame();
  rig.device->ClearCalls();
  for (int pass = 0; pass < 2; ++pass) rig.render.SetOffscreenTarget(1), rig.render.SetOffscreenTarget(0);
  EXPECT_EQ(rig.device->CallsStartingWith("Clear("), std::vector<std::string>{offscreenClear});
  // A frame without a filter draws its scene in the back buffer: nothing to clear.
  rig.render.EndFrame();
  rig.render.SetPostFilterAmount(0.0f);
  rig.render.BeginFrame();
  rig.device->ClearCalls();
  rig.render.SetOffscreenTarget(1);
  EXPECT_TRUE(rig.device->CallsStartingWith("Clear(").empty());
  // A frame that copies it without drawing into it copies the clear colour.
  rig.render.EndFrame();
  rig.render.BeginFrame();
  N_Camera camera;
  rig.render.SetupCamera(&camera, 0);
  rig.device->ClearCalls();
  rig.render.DrawPostPass();
  EXPECT_EQ(rig.device->CallsStartingWith("Clear("), std::vector<std::string>{offscreenClear});
}

}  // namespace
