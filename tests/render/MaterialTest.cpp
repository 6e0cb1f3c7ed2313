// Material binding and surface drawing on the recording device: what SetShader and
// DrawSurface ask of the device, and what they leave to the render-state cache.
#include "render/FloatBits.h"
#include "render/StageTexture.h"
#include "render/VertexDecl.h"
#include "tests/render/MaterialRig.h"

#include "core/Matrix3.h"
#include "core/VarMng.h"


namespace {

using Lines = std::vector<std::string>;
using test::MaterialRig;

/// The default shader of a level surface: a texture multiplied by the lightmap.
N_Shader& TextureTimesLightmap(N_Shader& shader, TexInfo* texture) {
  N_ShaderStage* base = MaterialRig::AddStage(shader, {texture});
  base->flags |= StageFlag::kMultiplied;
  N_ShaderStage* lightmap = MaterialRig::AddStage(shader, {nullptr});
  lightmap->flags |= StageFlag::kLightmap | StageFlag::kClamp;
  lightmap->blendSrc = D3DBLEND_DESTCOLOR;
  lightmap->tcGen = TcGen::Lightmap;
  return shader;
}

constexpr const char* kQuadDraw = "DrawIndexedPrimitiveUP(4, 0, 4, 2, 101, 44)";

TEST(Material, ASecondSurfaceWithTheSameShaderIssuesOnlyItsDraw) {
  MaterialRig rig;
  N_Shader shader;
  TextureTimesLightmap(shader, rig.Texture());
  TexInfo* lightmap = rig.Texture();
  rig.render.SetShader(&shader, lightmap->texture);
  rig.render.DrawSurface(&rig.Quad());
  const auto first = rig.TakeCalls();
  EXPECT_EQ(std::count(first.begin(), first.end(), kQuadDraw), 1) << "one pass for the multiplied pair";
  EXPECT_EQ(g_renderStateCache.boundTexture[1], lightmap->texture);
  rig.render.DrawSurface(&rig.Quad());
  EXPECT_EQ(rig.TakeCalls(), (Lines{kQuadDraw}));
  EXPECT_EQ(rig.render.GetPolygonCount(), 4u);

  // The same shader again changes only the lightmap the next draw binds.
  TexInfo* other = rig.Texture();
  rig.render.SetShader(&shader, other->texture);
  EXPECT_EQ(rig.TakeCalls(), Lines{});
  EXPECT_EQ(g_renderStateCache.currentLightmap, other->texture);
  rig.render.DrawSurface(&rig.Quad());
  EXPECT_EQ(rig.TakeCalls("SetTexture("), (Lines{"SetTexture(1, " + rig.TextureName(other) + ")"}));
  EXPECT_EQ(rig.NewLog().find("!!!"), std::string::npos);
  rig.render.CheckRenderState();
  EXPECT_EQ(rig.NewLog(), "");
}

TEST(Material, APairDrawsInOnePassOnlyWhenTheUnitsAllowIt) {
  for (const DWORD units : {1u, 2u, 8u}) {
    auto config = test::RecordingRender::DefaultConfig();
    config.device.caps.MaxSimultaneousTextures = units;
    MaterialRig rig(config);
    N_Shader shader;
    TextureTimesLightmap(shader, rig.Texture());
    rig.render.SetShader(&shader, rig.Texture()->texture);
    rig.render.DrawSurface(&rig.Quad());
    EXPECT_EQ(rig.TakeCalls(kQuadDraw).size(), units == 1 ? 2u : 1u) << units << " units";
    // The polygon counter counts the surface, not its passes.
    EXPECT_EQ(rig.render.GetPolygonCount(), 2u);
  }
}

TEST(Material, UnitsAboveTheLastOneUsedAreSwitchedOff) {
  MaterialRig rig;
  N_Shader pair, single;
  TextureTimesLightmap(pair, rig.Texture());
  MaterialRig::AddStage(single, {rig.Texture()});
  rig.render.SetShader(&pair, rig.Texture()->texture);
  rig.render.DrawSurface(&rig.Quad());
  rig.render.SetShader(&single, 0);
  rig.TakeCalls();
  rig.render.DrawSurface(&rig.Quad());
  const auto calls = rig.TakeCalls();
  for (const char* call : {"SetTextureStageState(1, 1, 1)", "SetTextureStageState(1, 4, 1)", "SetTexture(1, null)"}) {
    EXPECT_EQ(std::count(calls.begin(), calls.end(), call), 1) << call;
  }
  EXPECT_EQ(g_renderStateCache.boundTexture[1], -1);
  EXPECT_EQ(rig.Stage(1, D3DTSS_COLOROP), DWORD(D3DTOP_DISABLE));
}

TEST(Material, StageStatesChangeOnlyWhatDiffers) {
  MaterialRig rig;
  N_ShaderStage blended, opaque, added, tested, untested;
  blended.blendSrc = D3DBLEND_SRCALPHA, blended.blendDst = D3DBLEND_INVSRCALPHA;
  added.blendSrc = D3DBLEND_ONE, added.blendDst = D3DBLEND_ONE;
  tested.alphaFunc = D3DCMP_GREATEREQUAL, tested.alphaRef = 127, tested.depthWrite = false;
  tested.depthFunc = D3DCMP_ALWAYS;
  const struct {
    N_ShaderStage* stage;
    std::vector<std::string> calls;
  } steps[] = {
      {&blended, {"SetRenderState(27, 1)", "SetRenderState(19, 5)", "SetRenderState(20, 6)"}},
      {&blended, {}},
      // (ONE, ZERO) only switches blending off: the factors stay on the device.
      {&opaque, {"SetRenderState(27, 0)"}},
      {&added, {"SetRenderState(27, 1)", "SetRenderState(19, 2)", "SetRenderState(20, 2)"}},
      {&tested, {"SetRenderState(27, 0)", "SetRenderState(15, 1)", "SetRenderState(25, 7)",
                 "SetRenderState(24, 127)", "SetRenderState(23, 8)", "SetRenderState(14, 0)"}},
      // ALWAYS switches the test off and sets no reference.
      {&untested, {"SetRenderState(15, 0)", "SetRenderState(23, 4)", "SetRenderState(14, 1)"}},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    rig.render.ApplyStageStates(steps[i].stage);
    EXPECT_EQ(rig.TakeCalls(), steps[i].calls) << "step " << i;
  }
  rig.render.ApplyStageStates(&opaque);
  EXPECT_EQ(rig.State(D3DRS_SRCBLEND), DWORD(D3DBLEND_ONE)) << "the last factors set";
  EXPECT_EQ(rig.State(D3DRS_DESTBLEND), DWORD(D3DBLEND_ONE));
  rig.render.CheckRenderState();
  EXPECT_EQ(rig.NewLog().find("blend"), std::string::npos);
}

TEST(Material, BindStageTextureGoesThroughTheCache) {
  MaterialRig rig;
  TexInfo* texture = rig.Texture();
  N_ShaderStage stage, other, empty, clamped, notCreated;
  stage.AddTexture(texture, 0.0f);
  other.AddTexture(texture, 0.0f);
  other.colorOp = D3DTOP_ADD;
  clamped.AddTexture(rig.Texture(), 0.0f);
  clamped.flags = StageFlag::kClamp;
  clamped.mipmapBias = -0.5f;
  TexInfo missing;  // kTextureNotCreated
  notCreated.AddTexture(&missing, 0.0f);

  BindStageTexture(&stage, 2);
  EXPECT_EQ(rig.TakeCalls(), (Lines{"SetTexture(2, " + rig.TextureName(texture) + ")",
                                           "SetTextureStageState(2, 1, 4)",
                                           "SetTextureStageState(2, 4, 4)", "SetSamplerState(2, 1, 1)",
                                           "SetSamplerState(2, 2, 1)"}));
  // The same texture: nothing at all, not even this stage's other colour operation.
  BindStageTexture(&other, 2);
  EXPECT_EQ(rig.TakeCalls(), Lines{});
  BindStageTexture(&clamped, 2);
  const auto calls = rig.TakeCalls();
  EXPECT_EQ(std::vector(calls.begin() + 3, calls.end()), (Lines{"SetSamplerState(2, 1, 3)", "SetSamplerState(2, 2, 3)", "SetSamplerState(2, 8, 3204448256)"}));
  EXPECT_EQ(g_renderStateCache.mipLodBias[2], -0.5f);

  BindStageTexture(&notCreated, 2);
  EXPECT_EQ(rig.TakeCalls(), (Lines{"SetTextureStageState(2, 1, 1)", "SetTextureStageState(2, 4, 1)",
                                           "SetTexture(2, null)"}));
  EXPECT_EQ(g_renderStateCache.boundTexture[2], -1);
  BindStageTexture(&empty, 2);
  EXPECT_EQ(rig.TakeCalls().size(), 3u);
  EXPECT_EQ(g_renderStateCache.boundTexture[2], 0);
  EXPECT_NE(rig.NewLog().find("Zero textures in layer!"), std::string::npos);
}

TEST(Material, CullPolygonOffsetAndTheSkyView) {
  MaterialRig rig;
  N_Shader culled, none, offset, sky;
  for (N_Shader* s : {&culled, &none, &offset, &sky}) MaterialRig::AddStage(*s, {rig.Texture()});
  none.cull = Cull::None;
  offset.cull = Cull::None;
  offset.flags = ShaderFlag::kPolygonOffset;
  sky.cull = Cull::None;
  sky.surfaceParm = SurfaceParm::kSky;
  N_Matrix4 view;
  view.m[12] = 10.0f, view.m[13] = 20.0f, view.m[14] = 30.0f;
  rig.render.SetViewMatrix(view);
  rig.TakeCalls();

  rig.render.SetShader(&culled, 0);
  EXPECT_EQ(rig.TakeCalls(), (Lines{"SetRenderState(22, 2)"}));  // CW
  rig.render.SetShader(&none, 0);
  EXPECT_EQ(rig.TakeCalls(), (Lines{"SetRenderState(22, 1)"}));
  rig.render.SetShader(&offset, 0);
  EXPECT_EQ(rig.TakeCalls(), (Lines{"SetRenderState(195, " + std::to_string(FloatBits(-0.000001f)) + ")",
                                           "SetRenderState(175, " + std::to_string(FloatBits(-0.001f)) + ")"}));
  EXPECT_EQ(g_renderStateCache.polygonOffset, 4u);

  rig.render.SetShader(&sky, 0);
  D3DMATRIX deviceView{};
  rig.device->GetTransform(D3DTS_VIEW, &deviceView);
  EXPECT_EQ(deviceView._41, 0.0f);
  EXPECT_EQ(deviceView._43, 0.0f);
  EXPECT_EQ(rig.render.ViewMatrix()._42, 20.0f) << "the kept view keeps its translation";
  rig.render.SetShader(&culled, 0);
  rig.device->GetTransform(D3DTS_VIEW, &deviceView);
  EXPECT_EQ(deviceView._42, 20.0f) << "the next shader gives the view back";
}

TEST(Material, PrimitiveCountsAndThePolygonCounter) {
  struct Case {
    SurfacePrimitive type;
    std::uint16_t indices;
    std::uint32_t vertices;
    std::uint8_t indexed;
    const char* draw;  ///< null: nothing drawn
    std::uint32_t polygons;
  };
  const Case cases[] = {
      {SurfacePrimitive::TriangleList, 7, 4, 1, "DrawIndexedPrimitiveUP(4, 0, 4, 2, 101, 44)", 2},
      {SurfacePrimitive::TriangleStrip, 5, 4, 1, "DrawIndexedPrimitiveUP(5, 0, 4, 3, 101, 44)", 3},
      {SurfacePrimitive::TriangleStrip, 2, 4, 1, nullptr, 0},
      {SurfacePrimitive::TriangleFan, 1, 4, 1, nullptr, 0},
      {SurfacePrimitive::TriangleFan, 4, 4, 1, "DrawIndexedPrimitiveUP(6, 0, 4, 2, 101, 44)", 2},
      {SurfacePrimitive::PointList, 6, 4, 0, "DrawIndexedPrimitiveUP(1, 0, 4, 4, 101, 44)", 0},
      {SurfacePrimitive::PointList, 6, 4, 1, "DrawIndexedPrimitiveUP(1, 0, 4, 6, 101, 44)", 0},
      {SurfacePrimitive::LineList, 6, 4, 0, "DrawIndexedPrimitiveUP(2, 0, 4, 2, 101, 44)", 0},
      {SurfacePrimitive::LineStrip, 6, 1, 0, nullptr, 0},
      {SurfacePrimitive::LineStrip, 6, 4, 1, "DrawIndexedPrimitiveUP(3, 0, 4, 5, 101, 44)", 0},
      {static_cast<SurfacePrimitive>(9), 6, 4, 1, nullptr, 0},
      {SurfacePrimitive::TriangleList, 6, 0, 1, nullptr, 0},
  };
  for (const Case& c : cases) {
    MaterialRig rig;
    N_Shader shader;
    MaterialRig::AddStage(shader, {rig.Texture()});
    rig.render.SetShader(&shader, 0);
    N_MeshSurface& surface = rig.Quad();
    surface.primitiveType = static_cast<std::int32_t>(c.type);
    surface.indexCount = c.indices;
    surface.vertexCount = c.vertices;
    surface.indexed = c.indexed;
    rig.TakeCalls();
    rig.render.DrawSurface(&surface);
    const auto draws = rig.TakeCalls("Draw");
    SCOPED_TRACE(static_cast<int>(c.type));
    if (c.draw) {
      EXPECT_EQ(draws, (Lines{c.draw}));
    } else {
      EXPECT_EQ(draws, Lines{});
    }
    EXPECT_EQ(rig.render.GetPolygonCount(), c.polygons);
  }
}

TEST(Material, NothingIsDrawnWithoutAShaderOrWhileTheDeviceIsLost) {
  MaterialRig rig;
  N_Shader shader;
  MaterialRig::AddStage(shader, {rig.Texture()});
  rig.render.DrawSurface(&rig.Quad());  // no SetShader this frame
  rig.render.SetShader(&shader, 0);
  rig.render.SetShader(nullptr, 0);
  rig.render.DrawSurface(&rig.Quad());
  EXPECT_EQ(rig.TakeCalls("Draw"), Lines{});
  EXPECT_EQ(g_renderStateCache.noShader, 1u);

  rig.device->Config().presentResult = D3DERR_DEVICELOST;
  rig.device->Config().cooperativeLevel = D3DERR_DEVICELOST;
  rig.render.EndFrame();
  ASSERT_TRUE(rig.render.IsDeviceLost());
  rig.TakeCalls();
  rig.render.SetShader(&shader, 5);
  rig.render.DrawSurface(&rig.Quad());
  EXPECT_EQ(rig.TakeCalls(), Lines{});
  EXPECT_NE(g_renderStateCache.currentLightmap, 5);
}

TEST(Material, EffectShadersSwitchTheOtherUnitsOffAndDrawNothingYet) {
  MaterialRig rig;
  N_Shader shader;
  MaterialRig::AddStage(shader, {rig.Texture()});
  shader.flags = ShaderFlag::kEffect;
  rig.render.SetShader(&shader, 0);
  EXPECT_EQ(rig.TakeCalls().size(), 7u * 4u);
  for (DWORD unit = 1; unit < 8; ++unit) {
    EXPECT_EQ(rig.Stage(unit, D3DTSS_COLOROP), DWORD(D3DTOP_DISABLE));
    EXPECT_EQ(rig.Stage(unit, D3DTSS_TEXCOORDINDEX), unit == 1 ? 1u : 0u);
    EXPECT_EQ(g_renderStateCache.texCoordMode[unit], unit == 1 ? 2 : 0);
  }
  rig.render.DrawSurface(&rig.Quad());
  EXPECT_EQ(rig.TakeCalls("Draw"), Lines{});
  EXPECT_EQ(rig.render.GetPolygonCount(), 2u);
}

TEST(Material, TexCoordGenerationAndModifiers) {
  MaterialRig rig;
  N_Shader shader;
  N_ShaderStage* stage = MaterialRig::AddStage(shader, {rig.Texture()});
  rig.render.SetShader(&shader, 0);
  rig.time.Set(2.0);
  rig.TakeCalls();
  struct Case {
    TcGen tcgen;
    std::vector<N_ShaderTcMod> mods;
    std::vector<std::string> calls;
  };
  N_ShaderTcMod still;  // scroll (0, 0): the identity, still set with two coordinates
  still.type = TcModType::Scroll;
  N_ShaderTcMod scroll = still;
  scroll.values[0] = 0.25f;
  const std::string identity = "SetTransform(16, [1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1])";
  const Case cases[] = {
      {TcGen::Base, {}, {}},
      {TcGen::Environment, {}, {"SetTextureStageState(0, 11, 262144)"}},
      {TcGen::Lightmap, {}, {"SetTextureStageState(0, 11, 1)"}},
      {TcGen::Vector, {}, {"SetTextureStageState(0, 11, 0)"}},
      {TcGen::Vector, {still}, {identity, "SetTextureStageState(0, 24, 2)"}},
      {TcGen::Vector, {scroll}, {"SetTransform(16, [1 0 0 0 0 1 0 0 0.5 0 1 0 0 0 0 1])",
                                 "SetTextureStageState(0, 24, 2)"}},
      // Back to no modifiers: the transform goes off once.
      {TcGen::Vector, {}, {"SetTextureStageState(0, 24, 0)"}},
      {TcGen::Vector, {}, {}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    stage->tcGen = cases[i].tcgen;
    stage->tcMods = cases[i].mods;
    rig.render.ApplyTexCoords(0, nullptr);
    EXPECT_EQ(rig.TakeCalls(), cases[i].calls) << "case " << i;
  }
}

TEST(Material, ColourSources) {
  MaterialRig rig(test::RenderRig::Software());
  N_Shader shader;
  N_ShaderStage* stage = MaterialRig::AddStage(shader, {rig.Texture()});
  shader.diffuse = {0.5f, 0.25f, 1.0f};
  rig.render.SetShader(&shader, 0);
  rig.TakeCalls();
  // Software vertex processing: every source ends with the surface format.
  const auto declaration = [&](N_Render::BuiltInDecl which) {
    return "SetVertexDeclaration(" + rig.device->NameOf(rig.render.BuiltInDeclaration(which)->GetDeclaration()) + ")";
  };
  const auto withoutCreation = [&] {
    auto calls = rig.TakeCalls();
    std::erase_if(calls, [](const std::string& call) { return call.rfind("Create", 0) == 0; });
    return calls;
  };
  stage->SetRgbGen(RgbGen::LightingDiffuse);
  rig.render.ApplyColourSource(nullptr);
  EXPECT_EQ(rig.TakeCalls(), (Lines{"SetMaterial(diffuse 0.5 0.25 1 1, power 0)", "SetRenderState(137, 1)",
                                           "SetFVF(0x252)"}));
  stage->SetRgbGen(RgbGen::Vertex);
  rig.render.ApplyColourSource(nullptr);
  EXPECT_EQ(withoutCreation(), (Lines{"SetRenderState(137, 0)", declaration(N_Render::BuiltInDecl::Surface),
                                             "SetFVF(0x252)"}));
  EXPECT_FALSE(rig.render.ShadowDeclarationCurrent());
  stage->SetRgbGen(RgbGen::Identity);
  rig.render.ApplyColourSource(nullptr);
  rig.render.ApplyColourSource(nullptr);
  EXPECT_EQ(withoutCreation(), (Lines{declaration(N_Render::BuiltInDecl::SurfaceWithoutColor), "SetFVF(0x252)",
                                             "SetFVF(0x252)"}));
  EXPECT_TRUE(rig.render.ShadowDeclarationCurrent());
  // Lit again after a 2D set-up switched lighting off behind the material's back.
  stage->SetRgbGen(RgbGen::LightingDiffuse);
  rig.render.ApplyColourSource(nullptr);
  rig.render.SetupCamera(&rig.camera, 0);
  ASSERT_EQ(rig.State(D3DRS_LIGHTING), DWORD(FALSE));
  rig.render.ApplyColourSource(nullptr);
  EXPECT_EQ(rig.State(D3DRS_LIGHTING), DWORD(TRUE));
}

TEST(Material, RgbgenWaveLoadsItsValueAndBindsItsProgram) {
  // A mixed device switches software vertex processing on for it.
  auto config = test::RecordingRender::DefaultConfig();
  config.failingBehaviour = {D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE};
  MaterialRig rig(config);
  ASSERT_EQ(rig.render.BehaviourFlags(), DWORD(D3DCREATE_MIXED_VERTEXPROCESSING));
  rig.LoadPrograms();
  N_Shader shader, next;
  N_ShaderStage* stage = MaterialRig::AddStage(shader, {rig.Texture()});
  stage->SetRgbGen(RgbGen::Wave, {4, 0, 1, 0, 1});  // sawtooth
  MaterialRig::AddStage(next, {rig.Texture()});
  rig.time.Set(1.25);
  rig.render.SetShader(&shader, 0);
  rig.render.DrawSurface(&rig.Quad());
  EXPECT_EQ(rig.device->CallsStartingWith("SetSoftwareVertexProcessing"), (Lines{"SetSoftwareVertexProcessing(1)"}));
  EXPECT_EQ(rig.TakeCalls("SetVertexShaderConstantF(4"), (Lines{"SetVertexShaderConstantF(4, [0.25 0 0 0], 1)"}));
  EXPECT_EQ(rig.VertexProgram(), "vs4");
  EXPECT_TRUE(rig.render.VertexProgramBound());
  // The next shader unbinds it and switches software processing off again.
  rig.TakeCalls();
  rig.render.SetShader(&next, 0);
  EXPECT_EQ(rig.TakeCalls(), (Lines{"SetSoftwareVertexProcessing(0)", "SetVertexShader(null)"}));
  EXPECT_FALSE(rig.render.VertexProgramBound());
}

TEST(Material, DeformsLoadTheirRegistersInOrderAndTheLastProgramWins) {
  MaterialRig rig;
  rig.LoadPrograms();
  rig.core.vars->SetFloat("foglinearnear", 100.0f, 0);
  rig.core.vars->SetFloat("foglinearfar", 300.0f, 0);
  rig.camera.axisX = {1, 0, 0};
  rig.camera.axisY = {0, 1, 0};
  rig.camera.position = {5, 6, 7};
  rig.render.SetupCamera(&rig.camera, 1);
  rig.time.Set(3.0);
  N_Shader shader;
  MaterialRig::AddStage(shader, {rig.Texture()});
  const float wave[] = {4, 1, 0.5f, 2, 0.25f, 3};  // spread 4, sin, base, amplitude, phase, frequency
  shader.AddDeform()->Set(DeformType::Wave, wave);
  const float sprite[] = {2, 3};  // half width and height
  shader.AddDeform()->Set(DeformType::Autosprite, sprite);
  rig.TakeCalls();
  rig.render.SetShader(&shader, 0);
  std::vector<std::string> registers;
  for (const std::string& call : rig.device->CallsStartingWith("SetVertexShaderConstantF(")) {
    registers.push_back(call.substr(0, call.find(',')));
  }
  const auto r = [](int n) { return "SetVertexShaderConstantF(" + std::to_string(n); };
  EXPECT_EQ(registers, (Lines{r(0), r(4), r(5), r(6), r(0), r(4), r(5), r(6), r(7), r(9), r(10)}));
  const auto calls = rig.TakeCalls();
  const auto has = [&](const std::string& call) { return std::count(calls.begin(), calls.end(), call) == 1; };
  EXPECT_TRUE(has("SetVertexShaderConstantF(4, [0.5 2 0.25 3], 1)"));
  EXPECT_TRUE(has("SetVertexShaderConstantF(5, [0.25 0 0 0], 1)"));
  EXPECT_TRUE(has("SetVertexShaderConstantF(6, [3 0 0 0], 1)"));
  // Corners B - A, -A - B, A + B, A - B with A = (2, 0, 0), B = (0, 3, 0).
  EXPECT_TRUE(has("SetVertexShaderConstantF(4, [-2 3 0 0], 1)"));
  EXPECT_TRUE(has("SetVertexShaderConstantF(5, [-2 -3 0 0], 1)"));
  EXPECT_TRUE(has("SetVertexShaderConstantF(6, [2 3 0 0], 1)"));
  EXPECT_TRUE(has("SetVertexShaderConstantF(7, [2 -3 0 0], 1)"));
  EXPECT_TRUE(has("SetVertexShaderConstantF(9, [5 6 7 0], 1)"));
  EXPECT_TRUE(has("SetVertexShaderConstantF(10, [100 300 0.005 0], 1)"));
  EXPECT_EQ(rig.VertexProgram(), "vs5");

  // autosprite2 stands its sprites on the world's vertical.
  N_Shader upright;
  MaterialRig::AddStage(upright, {rig.Texture()});
  upright.AddDeform()->Set(DeformType::Autosprite2, sprite);
  rig.render.SetShader(&upright, 0);
  EXPECT_EQ(rig.TakeCalls("SetVertexShaderConstantF(4"), (Lines{"SetVertexShaderConstantF(4, [-2 0 3 0], 1)"}));
}

TEST(Material, SoftwareDevicesBindNoWaveWaterOrAlphaDotProgram) {
  MaterialRig rig(test::RenderRig::Software());
  rig.LoadPrograms();
  N_Shader shader;
  N_ShaderStage* stage = MaterialRig::AddStage(shader, {rig.Texture()});
  stage->SetAlphaGen(AlphaGen::Dot, {0.2f, 0.8f});
  const float wave[] = {4, 1, 0.5f, 2, 0.25f, 3};
  const float water[] = {4, 1, 0.5f, 2, 0.25f, 3, 1};
  shader.AddDeform()->Set(DeformType::Wave, wave);
  shader.AddDeform()->Set(DeformType::Water, water);
  rig.render.SetShader(&shader, 0);
  rig.render.DrawSurface(&rig.Quad());
  EXPECT_EQ(rig.TakeCalls("SetVertexShader"), Lines{}) << "no program and no constants";
  EXPECT_FALSE(rig.render.VertexProgramBound());
}

TEST(Material, TheWrappersSetTheWorldAndReloadAProgramsTransform) {
  MaterialRig rig;
  rig.LoadPrograms();
  rig.render.SetViewMatrix(N_Matrix4{});
  rig.render.SetProjectionMatrix(N_Matrix4{});
  N_Shader shader;
  N_ShaderStage* stage = MaterialRig::AddStage(shader, {rig.Texture()});
  stage->SetRgbGen(RgbGen::Wave, {1, 0, 1, 0, 1});
  rig.render.SetShader(&shader, 0);
  rig.render.DrawSurface(&rig.Quad());
  ASSERT_TRUE(rig.render.VertexProgramBound());
  rig.TakeCalls();
  N_Matrix3 rotation;
  rotation.m[1] = 2.0f;  // row 0, column 1: lands in row 1, column 0 of the world
  rig.render.DrawSurfaceAt(&rig.Quad(), N_Vector3{7, 8, 9}, rotation, 5.0f);
  const D3DMATRIX& world = rig.render.WorldMatrix();
  EXPECT_EQ(world._21, 2.0f);
  EXPECT_EQ(world._12, 0.0f);
  EXPECT_EQ(world._41, 7.0f);
  EXPECT_EQ(world._43, 9.0f);
  EXPECT_EQ(world._44, 1.0f);
  // world x view x projection, transposed: c3 is the last column, (0, 0, 0, 1). The
  // wrapper loads it before the draw's colour source loads it again.
  auto loads = rig.TakeCalls("SetVertexShaderConstantF(0");
  ASSERT_FALSE(loads.empty());
  EXPECT_EQ(loads.front(), "SetVertexShaderConstantF(0, [1 2 0 7 0 1 0 8 0 0 1 9 0 0 0 1], 4)");
  rig.render.DrawSurfaceIdentity(&rig.Quad());
  loads = rig.TakeCalls("SetVertexShaderConstantF(0");
  ASSERT_FALSE(loads.empty());
  EXPECT_EQ(loads.front(), "SetVertexShaderConstantF(0, [1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1], 4)");
}

TEST(Material, StreamsAreBoundOnChangeAndAgainAfterOtherDraws) {
  MaterialRig rig;
  N_Shader shader;
  MaterialRig::AddStage(shader, {rig.Texture()});
  rig.render.SetShader(&shader, 0);
  N_MeshSurface& a = rig.BufferQuad();
  N_MeshSurface& b = rig.BufferQuad();
  N_MeshSurface shared = a;  // a second surface of the same buffers
  shared.startIndex = 3;
  const auto binds = [&](N_MeshSurface& surface) {
    rig.render.DrawSurface(&surface);
    auto calls = rig.TakeCalls();
    return std::count_if(calls.begin(), calls.end(), [](const std::string& call) {
      return call.rfind("SetStreamSource(0", 0) == 0 || call.rfind("SetIndices", 0) == 0;
    });
  };
  EXPECT_EQ(binds(a), 2);
  EXPECT_EQ(binds(shared), 0);
  EXPECT_EQ(binds(b), 2);
  EXPECT_EQ(binds(b), 0);
  // A draw from memory leaves stream 0 and the indices unset.
  rig.render.DrawSurface(&rig.Quad());
  EXPECT_EQ(binds(b), 2);
  // So do the immediate draws, the overlay's quad and a device reset.
  const float from[3] = {0, 0, 0}, to[3] = {1, 1, 1}, colour[3] = {1, 1, 1};
  rig.render.DrawLine(from, to, colour, 1.0f);
  EXPECT_EQ(binds(b), 2);
  rig.render.FullScreenQuad()->Bind();
  rig.TakeCalls();
  EXPECT_EQ(binds(b), 2);
  rig.render.RestoreDevice();
  EXPECT_EQ(binds(b), 0) << "a reset forgets the current shader: nothing draws until the next SetShader";
  rig.render.SetShader(&shader, 0);
  EXPECT_EQ(binds(b), 2);
  // A binding given another buffer, or destroyed, is bound anew.
  b.binding->SetStream(0, a.vertexBuffer);
  EXPECT_EQ(binds(b), 1);
  rig.render.DestroyVertexBufferBinding(&b.binding);
  b.binding = rig.render.CreateVertexBufferBinding();
  b.binding->SetStream(0, b.vertexBuffer);
  EXPECT_EQ(binds(b), 1);
}

TEST(Material, VertexProgramsThatAreMissingOrDoNotCompileStayNone) {
  MaterialRig rig;  // Init found no program files
  const std::string initLog = rig.harness.Log();
  for (const char* name : {"wave", "water", "alphadot", "rgbgen", "autosprite"}) {
    EXPECT_NE(initLog.find(std::string("data\\scripts\\vp\\") + name + ".vsh: cannot open the file\n"),
              std::string::npos)
        << name;
  }
  rig.LoadPrograms();
  rig.device->Config().failingCalls = {"CreateVertexShader"};
  rig.NewLog();
  rig.render.LoadVertexPrograms();
  EXPECT_EQ(rig.TakeCalls("CreateVertexShader").size(), 5u);
  EXPECT_NE(rig.NewLog().find("data\\scripts\\vp\\autosprite.vsh: "), std::string::npos);
  // A deform without its program loads its constants and sets the flag, binding nothing.
  N_Shader shader;
  MaterialRig::AddStage(shader, {rig.Texture()});
  const float wave[] = {4, 1, 0.5f, 2, 0.25f, 3};
  shader.AddDeform()->Set(DeformType::Wave, wave);
  rig.render.SetShader(&shader, 0);
  EXPECT_EQ(rig.TakeCalls("SetVertexShader("), Lines{});
  EXPECT_TRUE(rig.render.VertexProgramBound());
  EXPECT_EQ(rig.VertexProgram(), "null");
}

}  // namespace
