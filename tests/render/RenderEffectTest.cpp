// The renderer's effects on the recording device: the cache by file name with its
// users, the log lines, the textures named by annotations, the engine values handed
// to parameters by semantic, and the effect branch of surface drawing.
#include "core/Timer.h"
#include "platform/d3dx9.h"
#include "render/RenderServices.h"
#include "render/Shader.h"
#include "render/TextureMngImpl.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"

#include <cmath>

namespace {

// Parameters of every semantic; the programs name them so that the technique uses them.
constexpr const char* kEffect = R"(float4x4 W : WORLD;
float4x4 V : VIEW;
float4x4 P : PROJECTION;
float4x4 Wv : WORLDVIEW;
float4x4 WvT : WORLDVIEWT;
float4x4 WvI : WORLDVIEWI;
float4x4 Wvp : WORLDVIEWPROJECTION;
float4x4 WvpI : WORLDVIEWPROJECTIONI;
float Time : TIME;
float4 Light : LIGHTDIR = { 9, 9, 9, 9 };
float4 Fog : FOGPARAMS;
float4 Eye : EYEPOS;
texture T0 : TEXTURE0;
texture T1 : TEXTURE1;
texture T2 : TEXTURE2;
texture T3 : TEXTURE3;
texture Sky < string name = "textures\sky\Cube.dds"; string type = "CUBE"; >;
texture Unused < string name = "textures\unused"; >;
glsl V {{
uniform samplerCube Sky;
void main() { gl_Position = W * V * P * Wv * WvT * WvI * Wvp * WvpI * Time * Light * Fog * Eye + T0 + T1 + T2 + T3; }
}}
technique Main { pass { CullMode = None; VertexShader = V; } }
technique Other { pass { } pass { } }
)";

class RenderEffect : public ::testing::Test {
 protected:
  RenderEffect() {
    g_renderServices->textureMng = &textures;
    rig.NewLog();
  }
  ~RenderEffect() override { g_renderStateCache.currentShader = nullptr; }

  ID3DXEffect* Create(const std::string& file, const std::string& text) {
    rig.harness.dir.Write(file, text);
    return rig.render.CreateEffect(file.c_str());
  }
  int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  test::FakeTextureDevice textureDevice;
  N_TextureMngImpl textures{1024, &textureDevice};
  test::RenderRig rig;
};

TEST_F(RenderEffect, OneCompilationPerFileSharedAndCountedByItsUsers) {
  ID3DXEffect* first = Create("a.fx", kEffect);
  ID3DXEffect* second = rig.render.CreateEffect("a.fx");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(second, first);
  EXPECT_EQ(rig.NewLog(), "Effect 'a.fx' compiled\nValid technique 'Main'\n");
  EXPECT_EQ(rig.render.EffectUsers(first), 2u);
  ID3DXEffect* otherName = rig.render.CreateEffect("A.fx");  // the same file under another name
  EXPECT_NE(otherName, first) << "names are compared byte by byte";
  EXPECT_EQ(rig.NewLog(), "Effect 'A.fx' compiled\nValid technique 'Main'\n");

  ID3DXEffect* kept = first;
  rig.render.DestroyEffect(&first);
  EXPECT_EQ(first, nullptr);
  EXPECT_EQ(rig.render.EffectUsers(kept), 1u);  // the other shader still draws with it
  D3DXHANDLE technique = kept->GetCurrentTechnique();
  EXPECT_NE(technique, nullptr);
  rig.render.DestroyEffect(&second);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(rig.render.EffectUsers(kept), 0u);

  // Unknown pointers are only nulled; null ones are left alone.
  ID3DXEffect* stranger = reinterpret_cast<ID3DXEffect*>(&technique);
  rig.render.DestroyEffect(&stranger);
  EXPECT_EQ(stranger, nullptr);
  rig.render.DestroyEffect(nullptr);
  // Gone from the cache: the next call compiles again.
  ID3DXEffect* again = rig.render.CreateEffect("a.fx");
  EXPECT_NE(again, nullptr);
  EXPECT_EQ(Count(rig.NewLog(), "compiled"), 1);
}

TEST_F(RenderEffect, AFailedCompilationIsLoggedAndNotCached) {
  EXPECT_EQ(Create("data/effects/broken.fx", "float A;\ntechnique T {\n pass { Cull = None; }\n}\n"), nullptr);
  EXPECT_EQ(rig.render.CreateEffect("data/effects/broken.fx"), nullptr);
  const std::string log = rig.NewLog();
  EXPECT_EQ(Count(log, "Errors:\ndata/effects/broken.fx(3): error: unknown render state 'Cull'\n\n"), 2) << log;
  EXPECT_EQ(Count(log, "compiled"), 0);
  EXPECT_EQ(rig.render.CreateEffect("data/effects/missing.fx"), nullptr);
  EXPECT_NE(rig.NewLog().find("Errors:\ndata/effects/missing.fx: error: the file cannot be read"), std::string::npos);
}

TEST_F(RenderEffect, WithoutAValidTechniqueNothingIsLoggedYetTheEffectIsCached) {
  ID3DXEffect* effect = Create("empty.fx", "float A;\ntechnique Empty { }\n");
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(rig.NewLog(), "");
  EXPECT_EQ(rig.render.CreateEffect("empty.fx"), effect);
  EXPECT_EQ(rig.render.EffectUsers(effect), 2u);
  EXPECT_EQ(effect->GetCurrentTechnique(), effect->GetTechnique(0));  // left as the effect had it
}

TEST_F(RenderEffect, TexturesNamedByTheChosenTechniqueAreAddedAndBoundAfterThePurge) {
  ID3DXEffect* effect = Create("t.fx", kEffect);
  ASSERT_NE(effect, nullptr);
  // Only "Sky" is used by "Main"; its name is added without extension, as a cube.
  EXPECT_NE(textures.FindTexture("textures\\sky\\Cube"), nullptr);
  EXPECT_EQ(textures.FindTexture("textures\\unused"), nullptr);

  IDirect3DCubeTexture9* cube = nullptr;
  ASSERT_EQ(rig.device->CreateCubeTexture(4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr), D3D_OK);
  textureDevice.files["data\\textures\\sky\\Cube.dds"] = 96;
  textureDevice.nextHandle = platform::TextureHandleOf(cube);
  textures.PurgeTextures();  // creates the texture and binds the effects' textures
  rig.render.LoadEffectTextures();
  IDirect3DBaseTexture9* bound = nullptr;
  ASSERT_EQ(effect->GetTexture("Sky", &bound), D3D_OK);
  EXPECT_EQ(bound, cube);
  if (bound) bound->Release();
  EXPECT_EQ(textureDevice.parameters.back(), 0u);

  // A name the manager does not know at bind time keeps the previous texture: "Other"
  // uses no named texture, "Unused" was never added.
  effect->SetTexture("Unused", cube);
  effect->SetTechnique("Other");
  rig.render.LoadEffectTextures();
  ASSERT_EQ(effect->GetTexture("Unused", &bound), D3D_OK);
  EXPECT_EQ(bound, cube);
  if (bound) bound->Release();

  // The last user's DestroyEffect gives the texture reference back.
  rig.render.DestroyEffect(&effect);
  textures.PurgeTextures();
  EXPECT_EQ(textures.FindTexture("textures\\sky\\Cube"), nullptr);
  cube->Release();
}

TEST_F(RenderEffect, AnEffectWithWarningsStillGetsItsTextures) {
  const std::string text = std::string(kEffect) + "technique Warned { pass { ZFunc = Less; ZFunc = Less; } }\n";
  ASSERT_NE(Create("w.fx", text), nullptr);
  const std::string log = rig.NewLog();
  EXPECT_NE(log.find("Effect 'w.fx' compiled\nValid technique 'Main'\nErrors:\nw.fx(25): warning: ZFunc set twice"),
            std::string::npos)
      << log;
  EXPECT_NE(textures.FindTexture("textures\\sky\\Cube"), nullptr);
}

/// A clock the test moves by hand: 1000 counts a second.
class FakeClock final : public platform::Clock {
 public:
  std::uint64_t PerformanceFrequency() const override { return 1000; }
  std::uint64_t PerformanceCounter() const override { return counter; }
  std::uint32_t Milliseconds() const override { return 0; }
  std::uint64_t counter = 0;
};

N_Matrix4 Scaled(float s, float tx) {
  N_Matrix4 m;
  m.m[0] = m.m[5] = m.m[10] = s;
  m.m[12] = tx;
  m.m[13] = 2.0f;
  m.m[14] = 3.0f;
  return m;
}

TEST_F(RenderEffect, EngineValuesReachTheirSemantics) {
  ID3DXEffect* effect = Create("e.fx", kEffect);
  ASSERT_NE(effect, nullptr);
  rig.render.SetWorldMatrix(Scaled(2.0f, 1.0f));
  rig.render.SetViewMatrix(Scaled(3.0f, 5.0f));
  rig.render.SetProjectionMatrix(Scaled(0.5f, 0.0f));
  rig.render.BindEffectParameters(effect);

  D3DXMATRIX m{};
  effect->GetMatrix("Wv", &m);  // world x view
  EXPECT_FLOAT_EQ(m.m[0][0], 6.0f);
  EXPECT_FLOAT_EQ(m.m[3][0], 1.0f * 3.0f + 5.0f);
  effect->GetMatrix("WvT", &m);
  EXPECT_FLOAT_EQ(m.m[0][3], 8.0f);
  effect->GetMatrix("Wvp", &m);
  EXPECT_FLOAT_EQ(m.m[0][0], 3.0f);
  // The affine inverses undo the products, translation included: a point carried by
  // the product and then by its inverse comes back.
  auto undoes = [&](const char* product, const char* inverse) {
    SCOPED_TRACE(inverse);
    D3DXMATRIX forward{}, backward{};
    effect->GetMatrix(product, &forward);
    effect->GetMatrix(inverse, &backward);
    const float point[4] = {1.0f, -2.0f, 4.0f, 1.0f};
    float moved[4] = {}, back[4] = {};
    for (int c = 0; c < 4; ++c) {
      for (int r = 0; r < 4; ++r) moved[c] += point[r] * forward.m[r][c];
    }
    for (int c = 0; c < 4; ++c) {
      for (int r = 0; r < 4; ++r) back[c] += moved[r] * backward.m[r][c];
    }
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(back[c], point[c], 1e-5f) << c;
  };
  undoes("Wv", "WvI");
  undoes("Wvp", "WvpI");
  effect->GetMatrix("WvI", &m);
  EXPECT_FLOAT_EQ(m.m[0][0], 1.0f / 6.0f);
  EXPECT_FLOAT_EQ(m.m[3][0], -8.0f / 6.0f);
  EXPECT_FLOAT_EQ(m.m[0][3], 0.0f);
  D3DXVECTOR4 v{};
  effect->GetVector("Fog", &v);
  EXPECT_EQ(v.x, 8.0f);
  EXPECT_EQ(v.y, 8000.0f);
  EXPECT_FLOAT_EQ(v.z, 1.0f / 7992.0f);
  effect->GetVector("Eye", &v);  // the view's fourth row, and 1
  EXPECT_EQ(v.x, 5.0f);
  EXPECT_EQ(v.y, 2.0f);
  EXPECT_EQ(v.z, 3.0f);
  EXPECT_EQ(v.w, 1.0f);
  effect->GetVector("Light", &v);  // no directional light: left as it was
  EXPECT_EQ(v.x, 9.0f);

  N_RenderLight point;
  point.type = 0;
  point.direction[0] = 7.0f;
  N_RenderLight sun;
  sun.type = 1;
  sun.direction[0] = 0.5f;
  sun.direction[1] = -0.5f;
  rig.render.SetLight(0, &point);
  rig.render.SetLight(1, &sun);
  FakeClock clock;
  N_Timer timer(clock);
  g_renderServices->timer = &timer;
  clock.counter = 2500;
  timer.Tick();
  rig.render.BindEffectParameters(effect);
  effect->GetVector("Light", &v);
  EXPECT_EQ(v.x, 0.5f);
  EXPECT_EQ(v.y, -0.5f);
  EXPECT_EQ(v.w, 0.0f);
  float time = 0.0f;
  effect->GetFloat("Time", &time);
  EXPECT_FLOAT_EQ(time, float(timer.GetTime()));
  g_renderServices->timer = nullptr;
}

TEST_F(RenderEffect, StageTexturesComeFromTheCurrentShader) {
  ID3DXEffect* effect = Create("s.fx", kEffect);
  ASSERT_NE(effect, nullptr);
  IDirect3DTexture9* pictures[3] = {};
  TexInfo records[3];
  for (int i = 0; i < 3; ++i) {
    rig.device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &pictures[i], nullptr);
    records[i].texture = platform::TextureHandleOf(pictures[i]);
  }
  N_Shader shader;
  N_ShaderStage* animated = shader.AddStage();
  animated->AddTexture(&records[0], 2.0f);  // two frames a second
  animated->AddTexture(&records[1], 2.0f);
  N_ShaderStage* lightmap = shader.AddStage();
  lightmap->flags = StageFlag::kLightmap;
  lightmap->AddTexture(nullptr, 0.0f);
  g_renderStateCache.currentShader = &shader;
  g_renderStateCache.currentLightmap = platform::TextureHandleOf(pictures[2]);
  effect->SetTexture("T2", pictures[0]);

  FakeClock clock;
  N_Timer timer(clock);
  g_renderServices->timer = &timer;
  timer.Tick();
  clock.counter = 700;  // 0.7 s: the second frame
  timer.Tick();
  rig.render.BindEffectParameters(effect);
  auto bound = [&](const char* name) {
    IDirect3DBaseTexture9* texture = nullptr;
    effect->GetTexture(name, &texture);
    if (texture) texture->Release();
    return texture;
  };
  EXPECT_EQ(bound("T0"), pictures[1]);
  EXPECT_EQ(bound("T1"), pictures[2]);  // the lightmap
  EXPECT_EQ(bound("T2"), pictures[0]) << "a two-stage shader leaves TEXTURE2 alone";
  EXPECT_EQ(bound("T3"), nullptr);

  g_renderStateCache.currentLightmap = 0;  // no lightmap: no texture
  rig.render.BindEffectParameters(effect);
  EXPECT_EQ(bound("T1"), nullptr);
  g_renderServices->timer = nullptr;
  for (auto* picture : pictures) picture->Release();
}

TEST_F(RenderEffect, DrawingRunsEveryPassAndNothingWithoutAnEffect) {
  int draws = 0;
  rig.render.DrawEffectPasses(nullptr, [&] { ++draws; });
  EXPECT_EQ(draws, 0) << "a shader with the effect flag but no effect draws nothing";

  ID3DXEffect* effect = Create("d.fx", kEffect);
  ASSERT_NE(effect, nullptr);
  rig.device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
  DWORD cullWhileDrawing = 0;
  rig.render.DrawEffectPasses(effect, [&] {
    ++draws;
    rig.device->GetRenderState(D3DRS_CULLMODE, &cullWhileDrawing);
  });
  EXPECT_EQ(draws, 1);
  EXPECT_EQ(cullWhileDrawing, DWORD(D3DCULL_NONE));
  EXPECT_EQ(rig.State(D3DRS_CULLMODE), DWORD(D3DCULL_CW)) << "End restores what the pass set";
  effect->SetTechnique("Other");
  rig.render.DrawEffectPasses(effect, [&] { ++draws; });
  EXPECT_EQ(draws, 3);
}

TEST_F(RenderEffect, ShutdownReleasesEveryEffectWhateverItsUsers) {
  ID3DXEffect* effect = Create("x.fx", kEffect);
  rig.render.CreateEffect("x.fx");
  effect->AddRef();
  rig.render.Shutdown();
  EXPECT_EQ(effect->Release(), 0u);
  textures.PurgeTextures();
  EXPECT_EQ(textures.FindTexture("textures\\sky\\Cube"), nullptr);
}

}  // namespace
