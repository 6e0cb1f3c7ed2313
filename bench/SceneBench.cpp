// The level render list: Render (filter, cull, queue) and RenderSorted (one shader bind
// per surface record, one draw per instance) for 5,000 LOD drawables over 50 surface
// records (50 one-quad meshes, 100 drawables each), all in view, on the OpenGL device.
// The frame's begin and end (clears, present) are not timed. Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/scene_bench
#include "bench/BenchTemp.h"
#include "bench/BenchRenderer.h"
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "render/ShaderStage.h"
#include "render/TexInfo.h"
#include "render/TextureMngImpl.h"
#include "render/RenderServices.h"
#include "scene/LevelObjectList.h"
#include "scene/LodRenderObject.h"
#include "scene/SceneAccess.h"
#include "scene/StaticMesh.h"
#include "tools/MeshWriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <utility>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kMeshes = 50;
constexpr int kDrawables = 5000;

/// One quad of 16 units about the origin, facing -y, drawn with its own material.
std::string WriteQuadMesh(const std::filesystem::path& folder, int index) {
  datagen::SurfaceData data;
  data.materials = {"bench/m" + std::to_string(index)};
  data.AddSurface({datagen::MeshVertex(-8, 0, 8, 0xFFFFFFFF, 0, 0), datagen::MeshVertex(8, 0, 8, 0xFFFFFFFF, 1, 0),
                   datagen::MeshVertex(-8, 0, -8, 0xFFFFFFFF, 0, 1), datagen::MeshVertex(8, 0, -8, 0xFFFFFFFF, 1, 1)},
                  {0, 2, 1, 1, 2, 3}, 0);
  const std::filesystem::path path = folder / ("quad" + std::to_string(index) + ".mesh");
  const std::vector<std::uint8_t> bytes = datagen::EncodeMesh(data);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path.string();
}

void RenderList(benchmark::State& state) {
  BenchRenderer bench(kWidth, kHeight, "scene_bench.log");
  if (!bench.ready) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  N_TextureMngImpl textures(1024);
  g_renderServicesCopy.textureMng = &textures;
  N_ShaderMng shaders(1024);
  N_Frustum frustum;
  g_render = bench.render;
  g_scene.shaderMng = &shaders;
  g_scene.frustum = &frustum;
  {
    const std::filesystem::path folder = bench::TempFolder() / "navo_scene_bench";
    std::filesystem::create_directories(folder);
    std::vector<std::unique_ptr<N_StaticMesh>> meshes;
    N_LevelObjectList list;
    for (int m = 0; m < kMeshes; ++m) {
      meshes.push_back(std::make_unique<N_StaticMesh>());
      meshes.back()->Load(WriteQuadMesh(folder, m).c_str());
      list.AddSurfaceRecord(meshes.back()->Instances()[0].get());
    }
    shaders.LoadShaders();
    textures.PurgeTextures();
    // A colour of its own for each material (the manager's record is given back as it
    // was before the manager frees it).
    std::vector<std::pair<TexInfo*, TexInfo>> borrowed;
    for (int m = 0; m < kMeshes; ++m) {
      TexInfo* record = shaders.GetShader(meshes[std::size_t(m)]->Surfaces()[0].shader)->stages[0]->textures[0];
      if (TexInfo* colour = bench.Texture(4, 0xFF000000u | DWORD(m * 0x050403))) {
        borrowed.emplace_back(record, *record);
        *record = *colour;
      }
    }
    // A 100 x 50 wall of trees 4,000 ahead, 40 apart: every one in view and on its finest mesh.
    for (int i = 0; i < kDrawables; ++i) {
      N_StaticMesh* mesh = meshes[std::size_t(i % kMeshes)].get();
      auto tree = std::make_unique<N_LodRenderObject>(mesh, mesh, mesh, 1e6f, 2e6f, 3e6f);
      const float x = -1980.0f + 40.0f * float(i % 100), z = -980.0f + 40.0f * float(i / 100);
      N_Matrix4 at;
      at.m[3] = x;
      at.m[7] = 4000.0f;
      at.m[11] = z;
      const float box[6] = {x - 8, 3999, z - 8, x + 8, 4001, z + 8};
      tree->SetTransform(box, 0, N_RenderObject::kLodObject, at, -1);
      list.Add(std::move(tree));
    }
    list.Sort();
    N_Camera camera;
    camera.SetProjection(90.0f, float(kWidth), float(kHeight), 0.0f, 0.0f);
    N_Render& render = *bench.render;
    for (auto _ : state) {
      state.PauseTiming();
      render.BeginFrame();
      frustum.Build(camera);
      render.SetupCamera(&camera, 1);
      state.ResumeTiming();
      list.Render(0.016f);
      list.RenderSorted();
      state.PauseTiming();
      render.EndFrame();
      state.ResumeTiming();
    }
    state.counters["drawables/s"] =
        benchmark::Counter(double(state.iterations()) * kDrawables, benchmark::Counter::kIsRate);
    state.counters["polygons/frame"] = double(render.GetPolygonCount());
    for (auto& [record, original] : borrowed) *record = original;
  }
  g_scene = N_SceneAccess{};
  g_render = nullptr;
  shaders.ResetRefCounts();
  shaders.LoadShaders();
  textures.ResetRefCounts();
  textures.PurgeTextures();
  g_renderServicesCopy.textureMng = nullptr;
}

BENCHMARK(RenderList)->Name("LevelObjectList/Render+RenderSorted")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
