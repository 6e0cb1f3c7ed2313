// DrawSurface over 1,000 surfaces that share 20 materials (a texture multiplied by a
// lightmap, as the level's default shaders are), drawn from one shared vertex and index
// buffer as a level's surfaces are. Reports surfaces drawn a second, the GL calls the
// device made per surface (every call: state, bindings, draws) and the GL state values
// it changed per frame; once with the surfaces grouped by material (as the level's
// render list sorts them) and once with the materials interleaved.
// Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/render_bench --benchmark_filter=DrawSurface
#include "core/BuiltinVars.h"
#include "core/CoreServices.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "platform/win32/TestWindow.h"
#include "render/Camera.h"
#include "render/IndexBuffer.h"
#include "render/MeshSurface.h"
#include "render/Render.h"
#include "render/Shader.h"
#include "render/TexInfo.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <vector>

namespace {

constexpr int kSurfaces = 1000;
constexpr int kMaterials = 20;
constexpr int kWidth = 1024, kHeight = 768;

/// The renderer on a window of its own, with the core services behind it.
class BenchRenderer {
 public:
  BenchRenderer() : errorLog(&log) {
    g_log = &log;
    g_errorLog = &errorLog;
    g_varMng = &vars;
    RegisterBuiltinVars();
    window = platform::CreateTestWindow(kWidth, kHeight);
    vars.SetInt("v_fullscreen", 0, 0);
    vars.SetInt("v_width", kWidth, 0);
    vars.SetInt("v_height", kHeight, 0);
    vars.SetInt("r_swapInterval", 0, 0);
    vars.SetInt("wnd_handle", window, 0);
    services.errorLog = &errorLog;
    services.log = &log;
    services.varMng = &vars;
    CreateRender(&services, &render);
    ready = window && render->Init();
  }
  ~BenchRenderer() {
    for (IDirect3DTexture9* texture : textures) texture->Release();
    if (render->Device()) render->Shutdown();
    ReleaseRender(render);
    platform::DestroyTestWindow(window);
    g_varMng = nullptr;
    g_errorLog = nullptr;
    g_log = nullptr;
  }

  /// A texture of one colour, with its record.
  TexInfo* Texture(UINT size, DWORD colour) {
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(render->Device()->CreateTexture(size, size, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                                nullptr))) {
      return nullptr;
    }
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    for (UINT y = 0; y < size; ++y) {
      auto* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
      for (UINT x = 0; x < size; ++x) row[x] = colour;
    }
    texture->UnlockRect(0);
    textures.push_back(texture);
    records.push_back(std::make_unique<TexInfo>());
    records.back()->texture = platform::TextureHandleOf(texture);
    return records.back().get();
  }

  N_Log log{"render_bench.log"};
  N_ErrorLog errorLog;
  N_VarMng vars;
  HWND window = 0;
  N_CoreServices services;
  N_Render* render = nullptr;
  bool ready = false;
  std::vector<IDirect3DTexture9*> textures;
  std::vector<std::unique_ptr<TexInfo>> records;
};

/// 20 materials and 1,000 small quads facing a camera that looks along +y.
struct Scene {
  explicit Scene(BenchRenderer& bench) : render(*bench.render) {
    for (int m = 0; m < kMaterials; ++m) {
      N_Shader& shader = materials[std::size_t(m)];
      N_ShaderStage* base = shader.AddStage();
      base->flags = StageFlag::kMultiplied;
      base->AddTexture(bench.Texture(64, 0xFF000000u | DWORD(m * 0x0C0A08)), 0.0f);
      N_ShaderStage* light = shader.AddStage();
      light->flags = StageFlag::kLightmap | StageFlag::kClamp;
      light->blendSrc = D3DBLEND_DESTCOLOR;
      light->tcGen = TcGen::Lightmap;
      light->AddTexture(nullptr, 0.0f);
      lightmaps[std::size_t(m)] = bench.Texture(16, 0xFFC0C0C0u)->texture;
    }
    vertices = render.CreateVertexBuffer(N_Render::kSurfaceVertexSize, 4 * kSurfaces, 1);
    indices = render.CreateIndexBuffer(101, 6 * kSurfaces, 1);
    binding = render.CreateVertexBufferBinding();
    binding->SetStream(0, vertices);
    auto* v = static_cast<N_SurfaceVertex*>(vertices->Lock(true, false));
    auto* i = static_cast<std::uint16_t*>(indices->Lock(true, false));
    for (int s = 0; s < kSurfaces; ++s) {
      // A 40 x 25 grid of 16-unit quads 1,000 units ahead.
      const float x = float(s % 40) * 40.0f - 800.0f, z = float(s / 40) * 40.0f - 500.0f;
      const float corners[4][4] = {{x, z + 16, 0, 0}, {x + 16, z + 16, 1, 0}, {x, z, 0, 1}, {x + 16, z, 1, 1}};
      for (int c = 0; c < 4; ++c) {
        N_SurfaceVertex& out = v[4 * s + c];
        out = {};
        out.position[0] = corners[c][0];
        out.position[1] = 1000.0f;
        out.position[2] = corners[c][1];
        out.uv0[0] = out.uv1[0] = corners[c][2];
        out.uv0[1] = out.uv1[1] = corners[c][3];
      }
      const std::uint16_t quad[6] = {0, 2, 1, 1, 2, 3};
      for (int k = 0; k < 6; ++k) i[6 * s + k] = quad[k];
      N_MeshSurface& surface = surfaces[std::size_t(s)];
      surface.type = 1;
      surface.vertexCount = 4;
      surface.indexCount = 6;
      surface.indexed = 1;
      surface.vertexBuffer = vertices;
      surface.indexBuffer = indices;
      surface.binding = binding;
      surface.baseVertex = 4 * s;
      surface.startIndex = std::uint32_t(6 * s);
    }
    vertices->Unlock();
    indices->Unlock();
    camera.SetProjection(90.0f, float(kWidth), float(kHeight), 0.0f, 0.0f);
  }

  /// One frame; grouped: 50 surfaces of each material in a row, else a new material
  /// for every surface.
  void Frame(bool grouped) {
    render.BeginFrame();
    render.SetupCamera(&camera, 1);
    render.SetWorldMatrix(N_Matrix4{});
    for (int s = 0; s < kSurfaces; ++s) {
      const int m = grouped ? s / (kSurfaces / kMaterials) : s % kMaterials;
      render.SetShader(&materials[std::size_t(m)], lightmaps[std::size_t(m)]);
      render.DrawSurface(&surfaces[std::size_t(s)]);
    }
    render.EndFrame();
  }

  N_Render& render;
  std::array<N_Shader, kMaterials> materials;
  std::array<std::int32_t, kMaterials> lightmaps{};
  std::array<N_MeshSurface, kSurfaces> surfaces;
  N_VertexBuffer* vertices = nullptr;
  N_IndexBuffer* indices = nullptr;
  N_VertexBufferBinding* binding = nullptr;
  N_Camera camera;
};

void DrawSurfaces(benchmark::State& state) {
  const bool grouped = state.range(0) != 0;
  BenchRenderer bench;
  if (!bench.ready) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  Scene scene(bench);
  scene.Frame(grouped);  // the first frame uploads and builds what it needs
  const std::uint64_t before = platform::DeviceStateChanges();
  const std::uint64_t callsBefore = platform::DeviceGlCalls();
  for (auto _ : state) scene.Frame(grouped);
  const auto frames = double(state.iterations());
  state.counters["surfaces/s"] = benchmark::Counter(frames * kSurfaces, benchmark::Counter::kIsRate);
  state.counters["GL calls/surface"] = double(platform::DeviceGlCalls() - callsBefore) / (frames * kSurfaces);
  state.counters["GL changes/frame"] = double(platform::DeviceStateChanges() - before) / frames;
  state.counters["polygons/frame"] = double(bench.render->GetPolygonCount());
}

BENCHMARK(DrawSurfaces)->Name("DrawSurface/grouped")->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(DrawSurfaces)
    ->Name("DrawSurface/interleaved")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

}  // namespace
