// Fog, ambient light, the light table, stencil codes and the shadow overlay.
#include "tests/render/RenderRig.h"

#include "core/VarMng.h"
#include "platform/d3d9/DeviceState.h"

#include <cstring>

namespace {

using platform::d3d9::StateFloat;

TEST(RenderLighting, FogModesAndColour) {
  const struct {
    std::int32_t mode;
    DWORD vertexMode;
  } cases[] = {{0, D3DFOG_LINEAR}, {1, D3DFOG_EXP}, {2, D3DFOG_EXP2}, {3, D3DFOG_NONE}};
  for (const auto& c : cases) {
    test::RenderRig rig;
    const float colour[3] = {0.5f, 1.0f, 0.0f};
    rig.render.SetFog(c.mode, colour, 100.0f, 2000.0f, 0.25f);
    EXPECT_EQ(rig.State(D3DRS_FOGVERTEXMODE), c.vertexMode) << c.mode;
    EXPECT_EQ(rig.State(D3DRS_FOGCOLOR), 0xFF7FFF00u);
    EXPECT_EQ(StateFloat(rig.State(D3DRS_FOGSTART)), 100.0f);
    EXPECT_EQ(StateFloat(rig.State(D3DRS_FOGEND)), 2000.0f);
    EXPECT_EQ(StateFloat(rig.State(D3DRS_FOGDENSITY)), 0.25f);
    EXPECT_EQ(rig.State(D3DRS_FOGENABLE), DWORD(TRUE));
    rig.render.DisableFog();
    EXPECT_EQ(rig.State(D3DRS_FOGENABLE), DWORD(FALSE));
  }
  test::RenderRig rig;
  rig.render.SetAmbient(0.2f, 0.4f, 0.6f);
  EXPECT_EQ(rig.State(D3DRS_AMBIENT), 0xFF336699u);
}

N_RenderLight MakeLight(std::int32_t type) {
  N_RenderLight light;
  light.type = type;
  for (int i = 0; i < 3; ++i) {
    light.position[i] = 10.0f + i;
    light.direction[i] = i == 2 ? -1.0f : 0.0f;
    light.ambient[i] = 0.1f;
    light.diffuse[i] = 0.8f;
    light.specular[i] = 0.3f;
    light.attenuation[i] = 0.5f * i;
  }
  light.range = 500.0f;
  light.theta = 0.2f;
  light.phi = 0.4f;
  light.falloff = 1.5f;
  light.changed = 1;
  return light;
}

TEST(RenderLighting, LightTypesFillTheirOwnFields) {
  const struct {
    std::int32_t type;
    D3DLIGHTTYPE deviceType;
    bool positioned, directed, cone;
  } cases[] = {
      {0, D3DLIGHT_POINT, true, false, false},
      {1, D3DLIGHT_DIRECTIONAL, false, true, false},
      {2, D3DLIGHT_SPOT, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    test::RenderRig rig;
    N_RenderLight light = MakeLight(c.type);
    rig.render.SetLight(2, &light);
    EXPECT_EQ(light.changed, 0);
    D3DLIGHT9 d{};
    ASSERT_EQ(rig.device->GetLight(2, &d), D3D_OK);
    BOOL on = FALSE;
    rig.device->GetLightEnable(2, &on);
    EXPECT_TRUE(on);
    EXPECT_EQ(d.Type, c.deviceType);
    EXPECT_EQ(d.Diffuse.r, 0.8f);
    EXPECT_EQ(d.Diffuse.a, 1.0f);
    EXPECT_EQ(d.Specular.g, 0.3f);
    EXPECT_EQ(d.Ambient.b, 0.1f);
    EXPECT_EQ(d.Position.y, c.positioned ? 11.0f : 0.0f);
    EXPECT_EQ(d.Range, c.positioned ? 500.0f : 0.0f);
    EXPECT_EQ(d.Attenuation2, c.positioned ? 1.0f : 0.0f);
    EXPECT_EQ(d.Direction.z, c.directed ? -1.0f : 0.0f);
    EXPECT_EQ(d.Phi, c.cone ? 0.4f : 0.0f);
    EXPECT_EQ(d.Falloff, c.cone ? 1.5f : 0.0f);
  }
}

TEST(RenderLighting, TheLightTableKeepsCopies) {
  test::RenderRig rig;
  auto* owned = new N_RenderLight(MakeLight(1));
  rig.render.SetLight(0, owned);
  delete owned;  // a level going away before the light is switched off
  const N_RenderLight* kept = rig.render.GetLight(0);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->type, 1);
  EXPECT_EQ(kept->direction[2], -1.0f);
  EXPECT_EQ(rig.render.GetLight(1), nullptr);
  EXPECT_EQ(rig.render.GetLight(8), nullptr);

  rig.render.SetLight(0, nullptr);
  EXPECT_EQ(rig.render.GetLight(0), nullptr);
  BOOL on = TRUE;
  rig.device->GetLightEnable(0, &on);
  EXPECT_FALSE(on);

  // A slot outside the table is refused, not written.
  N_RenderLight light = MakeLight(0);
  rig.render.SetLight(8, &light);
  rig.render.SetLight(-1, &light);
  EXPECT_EQ(light.changed, 1);
}

TEST(RenderLighting, DisableLightsSwitchesOffExactlyTheSetOnes) {
  test::RenderRig rig;
  N_RenderLight a = MakeLight(0), b = MakeLight(1);
  rig.render.SetLight(0, &a);
  rig.render.SetLight(3, &b);
  rig.device->ClearCalls();
  rig.render.DisableLights();
  const auto calls = rig.device->CallsStartingWith("LightEnable(");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], "LightEnable(0, 0)");
  EXPECT_EQ(calls[1], "LightEnable(3, 0)");
  EXPECT_EQ(rig.render.GetLight(3), nullptr);
  rig.device->ClearCalls();
  rig.render.DisableLights();
  EXPECT_TRUE(rig.device->CallsStartingWith("LightEnable(").empty());
}

TEST(RenderLighting, StencilCodesTranslate) {
  test::RenderRig rig;
  const DWORD compare[] = {D3DCMP_NEVER, D3DCMP_ALWAYS,   D3DCMP_LESS,         D3DCMP_LESSEQUAL,
                           D3DCMP_EQUAL, D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_GREATER};
  for (std::int32_t code = 0; code < 8; ++code) {
    rig.render.SetStencilFunc(code, 3, 0xF0);
    EXPECT_EQ(rig.State(D3DRS_STENCILFUNC), compare[code]) << code;
  }
  rig.render.SetStencilFunc(9, 7, 0x0F);
  EXPECT_EQ(rig.State(D3DRS_STENCILFUNC), 9u);
  EXPECT_EQ(rig.State(D3DRS_STENCILREF), 7u);
  EXPECT_EQ(rig.State(D3DRS_STENCILMASK), 0x0Fu);

  const DWORD operation[] = {D3DSTENCILOP_KEEP, D3DSTENCILOP_ZERO, D3DSTENCILOP_REPLACE,
                             D3DSTENCILOP_INCR, D3DSTENCILOP_DECR, D3DSTENCILOP_INVERT};
  for (std::int32_t code = 0; code < 6; ++code) {
    rig.render.SetStencilOp(code, (code + 1) % 6, (code + 2) % 6);
    EXPECT_EQ(rig.State(D3DRS_STENCILFAIL), operation[code]);
    EXPECT_EQ(rig.State(D3DRS_STENCILZFAIL), operation[(code + 1) % 6]);
    EXPECT_EQ(rig.State(D3DRS_STENCILPASS), operation[(code + 2) % 6]);
  }
  // An operation code outside 0-5 is logged and leaves that state alone.
  rig.NewLog();
  rig.render.SetStencilOp(6, 0, 0);
  EXPECT_EQ(rig.State(D3DRS_STENCILFAIL), operation[5]);
  EXPECT_EQ(rig.State(D3DRS_STENCILZFAIL), DWORD(D3DSTENCILOP_KEEP));
  EXPECT_EQ(rig.NewLog(), "!!! Bad stencil operation 6\n");

  rig.render.EnableStencil(1);
  EXPECT_EQ(rig.State(D3DRS_STENCILENABLE), DWORD(TRUE));
  rig.render.SetStencilMask(0x3);
  EXPECT_EQ(rig.State(D3DRS_STENCILMASK), 3u);
  rig.device->ClearCalls();
  rig.render.ClearStencil(5);
  EXPECT_EQ(rig.device->CallsStartingWith("Clear("), std::vector<std::string>{"Clear(0, 0x4, 0x00000000, 1, 5)"});
}

TEST(RenderLighting, ShadowColourRecoloursTheQuad) {
  test::RenderRig rig;
  rig.render.SetShadowColor(0.0f, 0.5f, 1.0f);
  IDirect3DVertexBuffer9* buffer = nullptr;
  UINT offset = 0, stride = 0;
  rig.render.DrawShadowOverlay();  // shadows off: nothing bound
  rig.device->GetStreamSource(0, &buffer, &offset, &stride);
  EXPECT_EQ(buffer, nullptr);
  rig.core.vars->SetInt("r_shadowsEnabled", 1, 0);
  rig.render.DrawShadowOverlay();
  rig.device->GetStreamSource(0, &buffer, &offset, &stride);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(stride, 44u);
  void* data = nullptr;
  ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
  for (int i = 0; i < 4; ++i) {
    DWORD colour;
    std::memcpy(&colour, static_cast<const BYTE*>(data) + 44 * i + 24, sizeof colour);
    EXPECT_EQ(colour, 0x7F007FFFu) << "vertex " << i;
  }
  buffer->Unlock();
  buffer->Release();
}

TEST(RenderLighting, ShadowOverlayDrawsOnlyWithStencilAndSwitch) {
  const struct {
    DWORD stencilBits;
    int enabled;
    bool blendOp;
    size_t draws;
    int frame;  ///< 0 none begun; 1 begun, the stencil untouched since; 2 begun, then stencil enabled
  } cases[] = {{8, 1, true, 1, 0}, {8, 1, false, 1, 0}, {8, 0, true, 0, 0}, {0, 1, true, 0, 0},
               {8, 1, true, 0, 1}, {8, 1, true, 1, 2}};
  for (const auto& c : cases) {
    auto config = c.stencilBits ? test::RecordingRender::DefaultConfig() : test::RenderRig::WithoutStencil();
    if (!c.blendOp) config.device.caps.PrimitiveMiscCaps &= ~D3DPMISCCAPS_BLENDOP;
    test::RenderRig rig(config);
    rig.core.vars->SetInt("r_shadowsEnabled", c.enabled, 0);
    if (c.frame > 0) rig.render.BeginFrame();
    if (c.frame > 1) rig.render.EnableStencil(1), rig.render.EnableStencil(0);
    rig.render.SetupCamera(&rig.camera, 0);
    g_renderStateCache.polygonOffset = 4;
    rig.device->SetRenderState(D3DRS_DEPTHBIAS, 1);
    rig.device->ClearCalls();
    rig.render.DrawShadowOverlay();
    const auto draws = rig.device->CallsStartingWith("DrawPrimitive(");
    ASSERT_EQ(draws.size(), c.draws);
    if (c.draws == 0) {
      EXPECT_TRUE(rig.device->Calls().empty());
      continue;
    }
    EXPECT_EQ(draws[0], "DrawPrimitive(5, 0, 2)");
    EXPECT_EQ(rig.device->CallsStartingWith("SetRenderState(171, 4)").size(), c.blendOp ? 1u : 0u);
    EXPECT_EQ(rig.State(D3DRS_BLENDOP), DWORD(D3DBLENDOP_ADD));
    EXPECT_EQ(rig.State(D3DRS_SRCBLEND), DWORD(c.blendOp ? D3DBLEND_ONE : D3DBLEND_ZERO));
    EXPECT_EQ(rig.State(D3DRS_DESTBLEND), DWORD(D3DBLEND_SRCCOLOR));
    EXPECT_EQ(rig.State(D3DRS_STENCILFUNC), DWORD(D3DCMP_NOTEQUAL));
    EXPECT_EQ(rig.State(D3DRS_STENCILENABLE), DWORD(FALSE));
    EXPECT_EQ(rig.State(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
    EXPECT_EQ(rig.State(D3DRS_CULLMODE), DWORD(D3DCULL_NONE));
    EXPECT_EQ(rig.State(D3DRS_DEPTHBIAS), 0u);
    const N_RenderStateCache& cache = g_renderStateCache;
    EXPECT_EQ(cache.cull, 0);
    EXPECT_EQ(cache.sourceBlend, DWORD(D3DBLEND_ONE));
    EXPECT_EQ(cache.destinationBlend, DWORD(D3DBLEND_ZERO));
    EXPECT_EQ(cache.polygonOffset, 0u);
    EXPECT_EQ(cache.boundTexture[0], -1);
    EXPECT_FALSE(rig.render.ShadowDeclarationCurrent());
  }
}

}  // namespace
