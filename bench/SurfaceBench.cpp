// DrawSurface over 1,000 surfaces that share 20 materials (a texture multiplied by a
// lightmap, as the level's default shaders are), drawn from one shared vertex and index
// buffer as a level's surfaces are. Reports surfaces drawn a second, the GL calls the
// device made per draw (every call: state, bindings, uploads, the draw itself) and the
// GL state values it changed per frame; with the surfaces grouped by material (as the
// level's render list sorts them), with the materials interleaved, and lit by two
// lights with a world matrix of their own (as meshes are drawn: each SetTransform of
// the world used to send the lights again).
// Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/render_bench --benchmark_filter=DrawSurface
#include "bench/BenchRenderer.h"
#include "platform/d3d9.h"
#include "render/Camera.h"
#include "render/IndexBuffer.h"
#include "render/MeshSurface.h"
#include "render/Render.h"
#include "render/RenderLight.h"
#include "render/Shader.h"
#include "render/TexInfo.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSurfaces = 1000;
constexpr int kMaterials = 20;
constexpr int kWidth = 1024, kHeight = 768;

enum class Order { Grouped, Interleaved, LitMeshes };

/// 20 materials and 1,000 small quads facing a camera that looks along +y.
struct Scene {
  explicit Scene(BenchRenderer& bench) : render(*bench.render) {
    for (int m = 0; m < kMaterials; ++m) {
      TexInfo* texture = bench.Texture(64, 0xFF000000u | DWORD(m * 0x0C0A08));
      N_Shader& lit = litMaterials[std::size_t(m)];
      N_ShaderStage* litBase = lit.AddStage();
      litBase->rgbGen = RgbGen::LightingDiffuse;
      litBase->AddTexture(texture, 0.0f);
      lit.diffuse = {0.8f, 0.8f, float(m) / kMaterials};
      N_Shader& shader = materials[std::size_t(m)];
      N_ShaderStage* base = shader.AddStage();
      base->flags = StageFlag::kMultiplied;
      base->AddTexture(texture, 0.0f);
      N_ShaderStage* light = shader.AddStage();
      light->flags = StageFlag::kLightmap | StageFlag::kClamp;
      light->blendSrc = D3DBLEND_DESTCOLOR;
      light->tcGen = TcGen::Lightmap;
      light->AddTexture(nullptr, 0.0f);
      lightmaps[std::size_t(m)] = bench.Texture(16, 0xFFC0C0C0u)->texture;
    }
    {
      lights[0].type = 1;  // the sun
      lights[0].direction[2] = -1.0f;
      lights[0].diffuse[0] = lights[0].diffuse[1] = lights[0].diffuse[2] = 0.7f;
      lights[1].type = 0;  // a lamp with a range
      lights[1].position[1] = 900.0f;
      lights[1].diffuse[0] = 1.0f;
      lights[1].attenuation[0] = 1.0f;
      lights[1].range = 400.0f;
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

  /// One frame; grouped (and lit): 50 surfaces of each material in a row, else a new
  /// material for every surface. Lit meshes each set a world matrix of their own.
  void Frame(Order order) {
    render.BeginFrame();
    render.SetupCamera(&camera, 1);
    render.SetWorldMatrix(N_Matrix4{});
    const bool lit = order == Order::LitMeshes;
    if (lit) {
      for (int i = 0; i < 2; ++i) render.SetLight(i, &lights[std::size_t(i)]);
      // The level goes first and leaves the surface declaration set.
      render.SetShader(&materials[0], lightmaps[0]);
      render.DrawSurface(&surfaces[0]);
    }
    for (int s = lit ? 1 : 0; s < kSurfaces; ++s) {
      const int m = order == Order::Interleaved ? s % kMaterials : s / (kSurfaces / kMaterials);
      if (lit) {
        N_Matrix4 world;
        world.m[12] = float(s % 3) * 0.5f;  // a mesh's own place
        render.SetWorldMatrix(world);
      }
      render.SetShader(lit ? &litMaterials[std::size_t(m)] : &materials[std::size_t(m)], lightmaps[std::size_t(m)]);
      render.DrawSurface(&surfaces[std::size_t(s)]);
    }
    render.EndFrame();
  }

  N_Render& render;
  std::array<N_Shader, kMaterials> materials;
  std::array<N_Shader, kMaterials> litMaterials;  ///< lit by the lights, without lightmaps
  std::array<std::int32_t, kMaterials> lightmaps{};
  std::array<N_MeshSurface, kSurfaces> surfaces;
  N_VertexBuffer* vertices = nullptr;
  N_IndexBuffer* indices = nullptr;
  N_VertexBufferBinding* binding = nullptr;
  N_Camera camera;
  std::array<N_RenderLight, 2> lights{};
};

void DrawSurfaces(benchmark::State& state) {
  const auto order = Order(state.range(0));
  BenchRenderer bench(kWidth, kHeight, "render_bench.log");
  if (!bench.ready) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  Scene scene(bench);
  scene.Frame(order);  // the first frame uploads and builds what it needs
  // One frame traced: the device's draw calls in it.
  platform::TraceDeviceGlCalls(true);
  scene.Frame(order);
  double draws = 0;
  for (const std::string& call : platform::TakeDeviceGlCalls()) draws += call.rfind("glDraw", 0) == 0;
  platform::TraceDeviceGlCalls(false);
  const std::uint64_t before = platform::DeviceStateChanges();
  const std::uint64_t callsBefore = platform::DeviceGlCalls();
  for (auto _ : state) scene.Frame(order);
  const auto frames = double(state.iterations());
  state.counters["surfaces/s"] = benchmark::Counter(frames * kSurfaces, benchmark::Counter::kIsRate);
  state.counters["draws/frame"] = draws;
  state.counters["GL calls/draw"] = double(platform::DeviceGlCalls() - callsBefore) / (frames * std::max(draws, 1.0));
  state.counters["GL changes/frame"] = double(platform::DeviceStateChanges() - before) / frames;
  state.counters["polygons/frame"] = double(bench.render->GetPolygonCount());
}

BENCHMARK(DrawSurfaces)
    ->Name("DrawSurface/grouped")
    ->Arg(int(Order::Grouped))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);
BENCHMARK(DrawSurfaces)
    ->Name("DrawSurface/interleaved")
    ->Arg(int(Order::Interleaved))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);
BENCHMARK(DrawSurfaces)
    ->Name("DrawSurface/lit-meshes")
    ->Arg(int(Order::LitMeshes))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

}  // namespace
