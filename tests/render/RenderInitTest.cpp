// N_Render::Init over the recording device: the device rules, formats, parameters and
// the "--- Initializing render" block.
#include "core/VarMng.h"
#include "platform/d3d9.h"
#include "render/Render.h"
#include "render/VertexBuffer.h"
#include "render/VertexDecl.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using platform::d3d9::RecordingDirect3DConfig;
using test::LinesStartingWith;
using test::RecordingRender;

TEST(RenderInit, LogsTheAdapterAndCapabilityBlockInOrder) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  const std::string log = harness.Log();
  const char* expected[] = {
      "\n--- Initializing render\n",
      "--- Description: Recording adapter\n",
      "--- Device name: recorder\n",
      "--- Device type: Hardware\n",
      "--- Vertex processing type: Hardware\n",
      "--- Device GUID: {00000000-0000-0000-0000-000000000000}\n",
      "--- Driver: record.drv\n",
      "--- Driver version: 0.0.0.0\n",
      "--- WHQL: Not certified\n",
      "--- Chipset id: 0.0.0.0\n",
      "--- Max texture width: 2048\n",
      "--- Max texture height: 2048\n",
      "--- Max texture anisotropy: 16\n",
      "--- Max texture units: 8\n",
      "--- Texture compression supported\n",
      "--- Available texture memory: 256 MB\n",
      "--- Vertex shader version: 2.0\n",
      "--- Pixel shader version: 2.0\n",
      "--- Using point sprites\n",
      "--- Two sided stenciling\n",
      "--- Occlusion query supported\n",
      "--- Render to texture supported\n\n",
  };
  std::size_t at = 0;
  for (const char* line : expected) {
    const std::size_t found = log.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line;
    at = found + std::strlen(line);
  }
  EXPECT_EQ(harness.core.vars->GetInt("gl_maxTextureSize"), 2048);
  EXPECT_TRUE(harness.render->UsesPointSprites());
  EXPECT_TRUE(harness.render->SupportsOcclusionQueries());
  EXPECT_TRUE(harness.render->TextureCompression());
  EXPECT_NE(harness.render->OffscreenSurface(), nullptr);
  EXPECT_NE(harness.render->OffscreenTexture(), nullptr);
}

TEST(RenderInit, DeviceCreationRules) {
  struct Case {
    const char* name;
    DWORD vertexShaderVersion;
    std::set<DWORD> failing;
    bool halFails;
    int perfHud;
    UINT adapters;
    std::vector<std::string> attempts;
    bool created;
    std::uint32_t behaviour;
    const char* deviceType;
    const char* processing;
  };
  const DWORD pure = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
  const Case cases[] = {
      {"pure hardware", D3DVS_VERSION(2, 0), {}, false, 0, 1, {"0 1 0x50"}, true, 0x40, "Hardware", "Hardware"},
      {"no vertex shaders: mixed", 0xFFFE0000, {}, false, 0, 1, {"0 1 0x80"}, true, 0x80, "Hardware", "Mixed"},
      {"software", D3DVS_VERSION(2, 0), {pure, 0x80}, false, 0, 1, {"0 1 0x50", "0 1 0x80", "0 1 0x20"}, true,
       0x20, "Hardware", "Software"},
      {"reference", D3DVS_VERSION(2, 0), {}, true, 0, 1, {"0 1 0x50", "0 1 0x80", "0 1 0x20", "0 2 0x20"}, true,
       0x20, "Reference", "Software"},
      {"perfHUD on the last adapter", D3DVS_VERSION(2, 0), {}, false, 1, 2, {"1 2 0x40"}, true, 0x40, "Hardware",
       "Hardware"},
      {"perfHUD failing does not fall back", D3DVS_VERSION(2, 0), {0x40}, false, 1, 1, {"0 2 0x40"}, false, 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingDirect3DConfig config = RecordingRender::DefaultConfig();
    config.device.caps.VertexShaderVersion = c.vertexShaderVersion;
    config.failingBehaviour = c.failing;
    config.halFails = c.halFails;
    config.adapterCount = c.adapters;
    RecordingRender harness(config);
    harness.core.vars->SetInt("r_perfHUD", c.perfHud, 0);
    EXPECT_EQ(harness.render->Init(), c.created);
    EXPECT_EQ(harness.Direct3D().Attempts(), c.attempts);
    const std::string log = harness.Log();
    if (!c.created) {
      EXPECT_NE(log.find("Render device creation failed: D3DERR_NOTAVAILABLE\n"), std::string::npos);
      EXPECT_EQ(log.find("--- Initializing render"), std::string::npos);
      continue;
    }
    EXPECT_EQ(harness.render->BehaviourFlags(), c.behaviour);
    EXPECT_EQ(harness.render->SoftwareVertexProcessing(), c.behaviour == 0x20);
    EXPECT_NE(log.find(std::string("--- Device type: ") + c.deviceType + "\n"), std::string::npos);
    EXPECT_NE(log.find(std::string("--- Vertex processing type: ") + c.processing + "\n"), std::string::npos);
  }
}

TEST(RenderInit, DepthStencilFormatAndAdapterFormat) {
  struct Case {
    std::set<DWORD> depthFormats;
    int bpp;
    bool created;
    D3DFORMAT chosen;
    std::uint32_t stencilBits;
  };
  const Case cases[] = {
      {{D3DFMT_D24S8, D3DFMT_D16}, 32, true, D3DFMT_D24S8, 8},
      {{D3DFMT_D15S1, D3DFMT_D16}, 32, true, D3DFMT_D15S1, 1},
      {{D3DFMT_D32, D3DFMT_D16}, 16, true, D3DFMT_D32, 0},
      {{D3DFMT_D16}, 16, true, D3DFMT_D16, 0},
      {{}, 32, false, D3DFMT_UNKNOWN, 0},
  };
  for (const Case& c : cases) {
    RecordingDirect3DConfig config = RecordingRender::DefaultConfig();
    config.depthFormats = c.depthFormats;
    RecordingRender harness(config);
    harness.core.vars->SetInt("v_bpp", c.bpp, 0);
    ASSERT_EQ(harness.render->Init(), c.created);
    const D3DFORMAT adapter = c.bpp == 32 ? D3DFMT_X8R8G8B8 : D3DFMT_R5G6B5;
    for (DWORD format : harness.Direct3D().CheckedFormats()) {
      if (format != c.chosen) {
        EXPECT_EQ(format, DWORD(adapter)) << "every check uses the adapter format";
      }
    }
    if (!c.created) {
      EXPECT_NE(harness.Log().find("!!! Error: Couldn't find any suitable depth-stencil buffer format\n"),
                std::string::npos);
      EXPECT_TRUE(harness.Direct3D().Attempts().empty()) << "nothing else is created";
      continue;
    }
    EXPECT_EQ(harness.render->PresentParameters().AutoDepthStencilFormat, c.chosen);
    EXPECT_EQ(harness.render->StencilBits(), c.stencilBits);
  }
}

TEST(RenderInit, PresentationParametersFollowTheVideoVariables) {
  struct Case {
    int fullScreen, triple, swapInterval, multiSample;
    std::set<DWORD> multiSampleTypes;
    UINT width, height, count, interval;
    D3DFORMAT format;
    D3DMULTISAMPLE_TYPE expectMultiSample;
    DWORD flags;
  };
  const DWORD windowFlags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL | D3DPRESENTFLAG_DEVICECLIP;
  const Case cases[] = {
      {0, 0, 0, 0, {0}, 800, 600, 1, D3DPRESENT_INTERVAL_IMMEDIATE, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, windowFlags},
      {0, 1, 1, 4, {0, 4}, 800, 600, 2, D3DPRESENT_INTERVAL_ONE, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_4_SAMPLES,
       windowFlags},
      {0, 2, -1, 4, {0}, 800, 600, 1, D3DPRESENT_INTERVAL_IMMEDIATE, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE,
       windowFlags},
      {1, 0, 3, 0, {0}, 1024, 768, 1, D3DPRESENT_INTERVAL_ONE, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE,
       D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL},
  };
  for (const Case& c : cases) {
    RecordingDirect3DConfig config = RecordingRender::DefaultConfig();
    config.multiSampleTypes = c.multiSampleTypes;
    RecordingRender harness(config);
    N_VarMng& vars = *harness.core.vars;
    vars.SetInt("v_fullscreen", c.fullScreen, 0);
    vars.SetInt("v_trippleBuffering", c.triple, 0);
    vars.SetInt("r_swapInterval", c.swapInterval, 0);
    vars.SetInt("v_multisample", c.multiSample, 0);
    vars.SetInt("v_width", 1024, 0);
    vars.SetInt("v_height", 768, 0);
    ASSERT_TRUE(harness.render->Init());
    // What the device was given (a windowed start asks for 0 x 0 and takes the window).
    const D3DPRESENT_PARAMETERS& given = harness.Device()->PresentParameters();
    EXPECT_EQ(given.BackBufferWidth, c.width);
    EXPECT_EQ(given.BackBufferHeight, c.height);
    EXPECT_EQ(given.BackBufferCount, c.count);
    EXPECT_EQ(given.PresentationInterval, c.interval);
    EXPECT_EQ(given.BackBufferFormat, c.format);
    EXPECT_EQ(given.MultiSampleType, c.expectMultiSample);
    EXPECT_EQ(given.Flags, c.flags);
    EXPECT_EQ(given.Windowed, c.fullScreen ? FALSE : TRUE);
    EXPECT_EQ(given.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(given.hDeviceWindow, 1);
    // The gamma ramp is applied only in full screen.
    EXPECT_EQ(harness.Calls("SetGammaRamp").size(), c.fullScreen ? 1u : 0u);
  }
}

TEST(RenderInit, CertificationLevels) {
  struct Case {
    DWORD level;
    const char* line;
  };
  const Case cases[] = {{0, "--- WHQL: Not certified\n"},
                        {1, "--- WHQL: Certified\n"},
                        {(2004u << 16) | (7u << 8) | 21u, "--- WHQL: Certified on 21.7.2004\n"}};
  for (const Case& c : cases) {
    RecordingDirect3DConfig config = RecordingRender::DefaultConfig();
    config.identifier.WHQLLevel = c.level;
    config.identifier.DriverVersion.QuadPart = (std::int64_t(6) << 48) | (std::int64_t(14) << 32) | (10 << 16) | 6822;
    config.identifier.VendorId = 0x10DE;
    RecordingRender harness(config);
    ASSERT_TRUE(harness.render->Init());
    EXPECT_NE(harness.Log().find(c.line), std::string::npos) << c.line;
    EXPECT_NE(harness.Log().find("--- Driver version: 6.14.10.6822\n"), std::string::npos);
    EXPECT_NE(harness.Log().find("--- Chipset id: 10DE.0.0.0\n"), std::string::npos);
  }
}

TEST(RenderInit, BuiltInDeclarationsAndTheFullScreenQuad) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  struct Expect {
    N_Render::BuiltInDecl which;
    std::vector<std::array<int, 3>> elements;  // offset, type, usage
  };
  const Expect expected[] = {
      {N_Render::BuiltInDecl::Line, {{0, D3DDECLTYPE_FLOAT3, 0}, {12, D3DDECLTYPE_FLOAT3, 10}}},
      {N_Render::BuiltInDecl::Point, {{0, D3DDECLTYPE_FLOAT3, 0}, {12, D3DDECLTYPE_FLOAT1, 4}, {16, D3DDECLTYPE_FLOAT3, 10}}},
      {N_Render::BuiltInDecl::SurfaceWithoutColor,
       {{0, D3DDECLTYPE_FLOAT3, 0}, {12, D3DDECLTYPE_FLOAT3, 3}, {28, D3DDECLTYPE_FLOAT2, 5}, {36, D3DDECLTYPE_FLOAT2, 5}}},
      {N_Render::BuiltInDecl::Surface,
       {{0, D3DDECLTYPE_FLOAT3, 0}, {12, D3DDECLTYPE_FLOAT3, 3}, {24, D3DDECLTYPE_D3DCOLOR, 10},
        {28, D3DDECLTYPE_FLOAT2, 5}, {36, D3DDECLTYPE_FLOAT2, 5}}},
      {N_Render::BuiltInDecl::PointSprite,
       {{0, D3DDECLTYPE_FLOAT3, 0}, {12, D3DDECLTYPE_FLOAT1, 4}, {24, D3DDECLTYPE_D3DCOLOR, 10}}},
  };
  for (const Expect& e : expected) {
    const auto& elements = harness.render->BuiltInDeclaration(e.which)->Elements();
    ASSERT_EQ(elements.size(), e.elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
      EXPECT_EQ(elements[i].Stream, 0);
      EXPECT_EQ(elements[i].Offset, e.elements[i][0]);
      EXPECT_EQ(elements[i].Type, e.elements[i][1]);
      EXPECT_EQ(elements[i].Usage, e.elements[i][2]);
      EXPECT_EQ(elements[i].Method, D3DDECLMETHOD_DEFAULT);
    }
  }
  // The texture-coordinate sets 0 and 1 of the surface layouts.
  EXPECT_EQ(harness.render->BuiltInDeclaration(N_Render::BuiltInDecl::Surface)->Elements()[4].UsageIndex, 1);

  float quad[44] = {};
  harness.render->FullScreenQuad()->Read(0, 4 * 44, quad);
  const float xyuv[4][4] = {{0, 479, 0, 1}, {0, 0, 0, 0}, {639, 479, 1, 1}, {639, 0, 1, 0}};
  for (int v = 0; v < 4; ++v) {
    const float* vertex = quad + v * 11;
    EXPECT_EQ(vertex[0], xyuv[v][0]);
    EXPECT_EQ(vertex[1], xyuv[v][1]);
    EXPECT_EQ(vertex[2], 0.0f);
    EXPECT_EQ(vertex[7], xyuv[v][2]);
    EXPECT_EQ(vertex[8], xyuv[v][3]);
    DWORD color;
    std::memcpy(&color, vertex + 6, 4);
    EXPECT_EQ(color, D3DCOLOR_ARGB(127, 184, 183, 193));
  }
}

TEST(RenderInit, StatisticsStartAtZeroAfterInit) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  harness.render->DumpMemoryStatistics();
  harness.render->CreateIndexBuffer(102, 300, 0);
  harness.render->DumpMemoryStatistics();
  const std::string log = harness.Log();
  const std::string block =
      "\n--- Render memory statistics:\nTextures:\nCount 0\nMemory: 0 B (0 MB)\nEffects:\nCount 0\n"
      "Vertex Buffers:\nCount 1\nMemory: 0 B (0 MB)\nIndex Buffers:\nCount 0\nMemory: 0 B (0 MB)\n"
      "Vertex Buffer Bindings:\nCount 0\nVertex Declarations:\nCount 5\nOcclusion queries:\nCount 0\n\n";
  EXPECT_NE(log.find(block), std::string::npos);
  EXPECT_NE(log.find("Index Buffers:\nCount 1\nMemory: 1200 B (0 MB)\n"), std::string::npos);
}

TEST(RenderInitDeathTest, NoDirect3DIsACriticalError) {
  RecordingRender harness;
  platform::SetDirect3DFactory([](UINT) { return static_cast<IDirect3D9*>(nullptr); });
  EXPECT_EXIT(harness.render->Init(), ::testing::ExitedWithCode(255), "");
  const std::string log = harness.Log();
  EXPECT_NE(log.find("!!! Error: OpenGL none found, "), std::string::npos);
  EXPECT_NE(log.find("*** DirectX 9.0c or higher version required!"), std::string::npos);
}

TEST(RenderInit, ShutdownReleasesEverythingItListed) {
  RecordingRender harness;
  ASSERT_TRUE(harness.render->Init());
  harness.Device()->AddRef();  // keep it to read its record afterwards
  auto* device = harness.Device();
  N_VertexBuffer* a = harness.render->CreateVertexBuffer(12, 2, 1);
  N_VertexBuffer* b = harness.render->CreateVertexBuffer(12, 2, 1);
  N_VertexBufferBinding* binding = harness.render->CreateVertexBufferBinding();
  (void)binding;
  (void)a;
  (void)b;
  N_RenderLight light;
  harness.render->SetLight(3, &light);
  device->ClearCalls();
  harness.render->Shutdown();
  EXPECT_EQ(harness.render->Device(), nullptr);
  EXPECT_TRUE(harness.render->VertexBuffers().empty());
  EXPECT_TRUE(harness.render->VertexDecls().empty());
  EXPECT_TRUE(harness.render->VertexBufferBindings().empty());
  EXPECT_EQ(harness.render->OffscreenSurface(), nullptr);
  // The lights that are on go off.
  EXPECT_EQ(device->CallsStartingWith("LightEnable"), std::vector<std::string>{"LightEnable(3, 0)"});
  EXPECT_EQ(harness.render->GetLight(3), nullptr);
  EXPECT_NE(harness.Log().find("--- Shutdown render\n"), std::string::npos);
  device->Release();
}

}  // namespace
