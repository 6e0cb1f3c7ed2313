// The offscreen target and the post pass on the recording device: the calls, the
// blending of the double image and the states the pass leaves; gamma edge cases.
#include "platform/d3d9/DeviceState.h"
#include "tests/render/RenderRig.h"

#include <cmath>
#include <limits>

namespace {

/// The rig with its camera set up for 2D drawing, as the world's frame render has it.
struct PostPassRig : test::RenderRig {
  explicit PostPassRig(platform::d3d9::RecordingDirect3DConfig config = test::RecordingRender::DefaultConfig())
      : RenderRig(std::move(config)) {
    render.SetupCamera(&camera, 0);
    device->ClearCalls();
  }
  std::vector<std::string> Calls(const std::string& prefix) { return device->CallsStartingWith(prefix); }
  DWORD Sampler(DWORD unit, D3DSAMPLERSTATETYPE type) {
    DWORD value = 0;
    device->GetSamplerState(unit, type, &value);
    return value;
  }
};

TEST(RenderPostPass, OffscreenTargetSwitchesRenderTargetZeroOnlyForAFilter) {
  for (float amount : {5.0f, 0.0f}) {
    PostPassRig rig;
    ASSERT_NE(rig.render.OffscreenSurface(), nullptr);
    rig.render.SetPostFilterAmount(amount);
    rig.render.SetOffscreenTarget(1);
    rig.render.SetOffscreenTarget(0);
    const auto calls = rig.Calls("SetRenderTarget");
    ASSERT_EQ(calls.size(), 2u);
    // Without a filter the scene is drawn where the post pass would copy it.
    EXPECT_EQ(calls[0] == "SetRenderTarget(0, backbuffer)", amount == 0.0f) << amount;
    EXPECT_EQ(calls[1], "SetRenderTarget(0, backbuffer)");
    rig.render.DrawPostPass();
    EXPECT_EQ(rig.Calls("StretchRect").size(), amount > 0.0f ? 1u : 0u) << amount;
  }
}

TEST(RenderPostPass, NothingWithoutAnOffscreenSurfaceOrACamera) {
  auto config = test::RecordingRender::DefaultConfig();
  config.device.failingCalls = {"CreateRenderTarget"};
  PostPassRig unsupported{config};
  EXPECT_EQ(unsupported.render.OffscreenSurface(), nullptr);
  unsupported.render.SetOffscreenTarget(1);
  unsupported.render.DrawPostPass();
  EXPECT_TRUE(unsupported.device->Calls().empty());

  test::RenderRig noCamera;
  noCamera.render.DrawPostPass();
  EXPECT_TRUE(noCamera.device->CallsStartingWith("Draw").empty());
}

TEST(RenderPostPass, AnAmountAboveZeroBlendsTheRightCopyOverTheLeftOne) {
  PostPassRig rig;
  rig.render.SetPostFilterAmount(5.0f);
  rig.render.DrawPostPass();
  const auto draws = rig.Calls("DrawPrimitive");
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0], "DrawPrimitive(5, 0, 2)");
  const auto worlds = rig.Calls("SetTransform(256");  // D3DTS_WORLD
  ASSERT_GE(worlds.size(), 3u);
  EXPECT_NE(worlds[worlds.size() - 3].find("-10 0 0 1]"), std::string::npos) << worlds[worlds.size() - 3];
  EXPECT_NE(worlds[worlds.size() - 2].find(" 10 0 0 1]"), std::string::npos) << worlds[worlds.size() - 2];
  EXPECT_NE(worlds.back().find(" 0 0 0 1]"), std::string::npos);
  EXPECT_EQ(rig.State(D3DRS_ALPHABLENDENABLE), DWORD(TRUE));
  EXPECT_EQ(rig.State(D3DRS_SRCBLEND), DWORD(D3DBLEND_SRCALPHA));
  EXPECT_EQ(rig.State(D3DRS_DESTBLEND), DWORD(D3DBLEND_INVSRCALPHA));
  EXPECT_EQ(g_renderStateCache.sourceBlend, DWORD(D3DBLEND_SRCALPHA));
  EXPECT_EQ(g_renderStateCache.destinationBlend, DWORD(D3DBLEND_INVSRCALPHA));
  // The copy of the picture into the texture comes first, without filtering.
  const auto copies = rig.Calls("StretchRect");
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_NE(copies[0].find(", 0)"), std::string::npos) << copies[0];
}

TEST(RenderPostPass, AnAmountOfZeroCopiesOnceUnblended) {
  for (float amount : {0.0f, -3.0f}) {
    PostPassRig rig;
    rig.render.SetPostFilterAmount(amount);
    g_renderStateCache.sourceBlend = D3DBLEND_SRCALPHA;
    rig.render.DrawPostPass();
    // One copy straight to the back buffer, no quad through the texture.
    EXPECT_TRUE(rig.Calls("DrawPrimitive").empty());
    EXPECT_EQ(rig.Calls("StretchRect").size(), 1u);
    EXPECT_EQ(rig.State(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
    EXPECT_EQ(g_renderStateCache.sourceBlend, DWORD(D3DBLEND_ONE));
    EXPECT_EQ(g_renderStateCache.destinationBlend, DWORD(D3DBLEND_ZERO));
  }
}

TEST(RenderPostPass, StatesLeftBehind) {
  struct Case {
    int filter;
    DWORD expected;
  };
  for (const Case c : {Case{0, D3DTEXF_POINT}, Case{2, D3DTEXF_LINEAR}, Case{3, D3DTEXF_ANISOTROPIC},
                       Case{7, D3DTEXF_NONE}}) {
    PostPassRig rig;
    rig.core.vars->SetInt("r_filter", c.filter, 0);
    rig.camera.viewportX = 10;
    rig.camera.viewportWidth = 300;
    g_renderStateCache.polygonOffset = 4;
    rig.render.DrawPostPass();
    EXPECT_EQ(rig.Sampler(0, D3DSAMP_MINFILTER), c.expected) << c.filter;
    EXPECT_EQ(rig.Sampler(0, D3DSAMP_MAGFILTER), c.expected) << c.filter;
    EXPECT_EQ(rig.Stage(0, D3DTSS_COLOROP), DWORD(D3DTOP_MODULATE));
    EXPECT_EQ(rig.Stage(0, D3DTSS_ALPHAOP), DWORD(D3DTOP_MODULATE));
    EXPECT_EQ(rig.Stage(1, D3DTSS_COLOROP), DWORD(D3DTOP_DISABLE));
    EXPECT_EQ(g_renderStateCache.boundTexture[0], -1);
    EXPECT_EQ(g_renderStateCache.depthWrite, 0u);
    EXPECT_EQ(g_renderStateCache.cull, 0);
    EXPECT_EQ(g_renderStateCache.alphaFunction, DWORD(D3DCMP_ALWAYS));
    EXPECT_EQ(g_renderStateCache.depthFunction, DWORD(D3DCMP_ALWAYS));
    EXPECT_EQ(g_renderStateCache.polygonOffset, 0u);
    EXPECT_EQ(rig.State(D3DRS_DEPTHBIAS), 0u);
    EXPECT_EQ(rig.State(D3DRS_ZWRITEENABLE), DWORD(FALSE));
    EXPECT_EQ(rig.State(D3DRS_CULLMODE), DWORD(D3DCULL_NONE));
    EXPECT_EQ(rig.State(D3DRS_ZFUNC), DWORD(D3DCMP_ALWAYS));
    EXPECT_FALSE(rig.render.ShadowDeclarationCurrent());
    D3DVIEWPORT9 viewport{};
    rig.device->GetViewport(&viewport);
    EXPECT_EQ(viewport.X, 10u);
    EXPECT_EQ(viewport.Width, 300u);
    // The copy itself ran in the full "v_width" x "v_height" viewport.
    const auto viewports = rig.Calls("SetViewport");
    ASSERT_GE(viewports.size(), 3u);
    EXPECT_NE(viewports[viewports.size() - 2].find("0, 0, 800, 600"), std::string::npos)
        << viewports[viewports.size() - 2];
  }
}

TEST(RenderGamma, NegativeBasesAndNanGiveZero) {
  test::RenderRig rig;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float gamma, brightness, contrast;
    int index;
    WORD entry;
  };
  const Case cases[] = {
      {2.0f, -0.5f, 1.0f, 10, 0},    // (negative)^0.5
      {0.5f, -0.5f, 1.0f, 0, 0},     // (negative)^2 would be positive
      {1.0f, 0.0f, nan, 200, 0},     // NaN contrast
      {nan, 0.0f, 1.0f, 255, 0},     // NaN gamma
      {1.0f, 0.0f, 1.0f, 255, 65279},
  };
  for (const Case& c : cases) {
    rig.render.SetGamma(c.gamma, c.brightness, c.contrast, 0);
    EXPECT_EQ(rig.device->GammaRamp().green[c.index], c.entry) << c.gamma << " " << c.brightness << " " << c.contrast;
  }
}

}  // namespace
