// Skinning on the processor: 30 instances of one 2,000-vertex mesh (a 50 x 40 grid
// over a chain of 20 bones, two weights a point) playing a looping animation. Reports
// skinned vertices a second for the pose, the skinning and the vertex-buffer upload of
// every instance ("Skin"), and for the whole per-frame entry with drawing
// ("RenderInstance", 30 instances a frame). Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/scene_bench
#include "core/BuiltinVars.h"
#include "core/CoreServices.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "platform/win32/TestWindow.h"
#include "render/Frustum.h"
#include "render/Render.h"
#include "render/ShaderHost.h"
#include "render/ShaderMng.h"
#include "render/TexInfo.h"
#include "scene/AnimObject.h"
#include "scene/AnimationFactory.h"
#include "render/Camera.h"
#include "scene/Level.h"
#include "scene/SceneAccess.h"
#include "tools/AnimWriter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <vector>

namespace {

constexpr int kInstances = 30;
constexpr int kColumns = 50, kRows = 40;  // 2,000 vertices
constexpr int kBones = 20;
constexpr int kFrames = 16;
constexpr int kWidth = 1024, kHeight = 768;

/// Materials without textures of their own: every stage names one empty record.
class BenchShaderHost final : public N_ShaderHost {
 public:
  TexInfo* AddTexture(const char*, std::uint32_t, std::uint32_t) override { return &m_record; }
  void ReleaseTexture(TexInfo*) override {}
  ID3DXEffect* CreateEffect(const char*) override { return nullptr; }
  void DestroyEffect(ID3DXEffect** effect) override { *effect = nullptr; }
  void ForgetShader(const N_Shader*) override {}

 private:
  TexInfo m_record;
};

/// The grid mesh and its animation, written where the set reads them.
void WriteGrid() {
  datagen::AnimMeshBuilder mesh;
  for (int b = 0; b < kBones; ++b) mesh.AddBone("bone" + std::to_string(b), b - 1, {float(b) * 10.0f, 0, 0});
  std::vector<datagen::AnimMeshBuilder::Vertex> vertices;
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const float x = float(c) * 4.0f;
      const int bone = std::min(int(x / 10.0f), kBones - 2);
      const float t = x / 10.0f - float(bone);
      datagen::AnimMeshBuilder::Vertex v;
      v.skinPoint = mesh.AddSkinPoint({x, 0, float(r) * 4.0f}, {{bone, 1.0f - t}, {bone + 1, t}});
      v.normal = {0, -1, 0};
      vertices.push_back(v);
    }
  }
  std::vector<std::uint16_t> indices;
  for (int r = 0; r + 1 < kRows; ++r) {
    for (int c = 0; c + 1 < kColumns; ++c) {
      const auto a = std::uint16_t(r * kColumns + c);
      indices.insert(indices.end(), {a, std::uint16_t(a + kColumns), std::uint16_t(a + kColumns + 1), a,
                                     std::uint16_t(a + kColumns + 1), std::uint16_t(a + 1)});
    }
  }
  mesh.AddSurface(mesh.AddMaterial("bench/grid"), vertices, indices);
  std::vector<std::vector<N_AnimKey>> frames;
  for (int f = 0; f <= kFrames; ++f) {
    std::vector<N_AnimKey> keys;
    for (int b = 0; b < kBones; ++b) {
      const float angle = 0.05f * std::sin(6.2831853f * float(f % kFrames) / kFrames + 0.3f * float(b));
      keys.push_back(mesh.Key(b, datagen::AxisRotation({0, 0, 1}, angle)));
    }
    frames.push_back(keys);
  }
  const auto save = [](const char* path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  };
  save("scene_bench_grid.mesh", mesh.Write());
  save("scene_bench_grid.anim", datagen::WriteAnimation(datagen::TracksFromFrames(mesh, frames)));
}

/// The renderer on a window of its own, the core services, and a set of 30 instances
/// of the grid lent everything it borrows.
class BenchScene {
 public:
  BenchScene() : errorLog(&log) {
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
    if (!ready) return;
    g_render = render;
    g_scene = {&frustum, &shaders, &level};
    WriteGrid();
    ready = set.AddMesh("scene_bench_grid.mesh") == 0 && set.AddAction("scene_bench_grid.anim", nullptr, true) == 0;
    shaders.LoadShaders();
    for (int i = 0; i < kInstances && ready; ++i) {
      const int instance = set.CreateInstance();
      set.SetAction(instance, 0, 30.0f, 0.0f);
      set.SetNextAction(instance, 0, 30.0f, 0.0f);
    }
    camera.SetProjection(90.0f, float(kWidth), float(kHeight), 0.0f, 0.0f);
    frustum.Build(camera);
  }
  ~BenchScene() {
    set.Clear();
    g_scene = {};
    g_render = nullptr;
    if (render->Device()) render->Shutdown();
    ReleaseRender(render);
    platform::DestroyTestWindow(window);
    g_varMng = nullptr;
    g_errorLog = nullptr;
    g_log = nullptr;
  }

  /// Pose, skin and upload of every instance (what RenderInstance does before drawing).
  void Skin(float frameTime) {
    N_AnimObject& mesh = *set.Mesh(0);
    for (int i = 0; i < kInstances; ++i) {
      N_AnimInstance& instance = *set.Instance(i);
      instance.frameTime = frameTime;
      set.Advance(instance, mesh);
      mesh.Skin(instance);
    }
  }
  /// A frame of 30 instances in a row 1,000 units ahead, each posed, skinned and drawn.
  void Frame(float frameTime) {
    render->BeginFrame();
    render->SetupCamera(&camera, 1);
    for (int i = 0; i < kInstances; ++i) {
      const N_Vector3 position{float(i % 6) * 250.0f - 700.0f, 1000.0f, float(i / 6) * 160.0f - 400.0f};
      set.RenderInstance(frameTime, i, position, N_Matrix3{}, false, true);
    }
    render->EndFrame();
  }

  /// The set with its protected step in reach.
  class Set : public N_AnimationFactory {
   public:
    void Advance(N_AnimInstance& instance, N_AnimObject& mesh) { AdvanceInstance(instance, mesh, true); }
  };

  N_Log log{"scene_bench.log"};
  N_ErrorLog errorLog;
  N_VarMng vars;
  HWND window = 0;
  N_CoreServices services;
  N_Render* render = nullptr;
  BenchShaderHost host;
  N_ShaderMng shaders{64, host};
  N_Frustum frustum;
  N_Level level;
  N_Camera camera;
  Set set;
  bool ready = false;
};

void Report(benchmark::State& state, double instancesPerIteration) {
  state.counters["skinned vertices/s"] = benchmark::Counter(
      double(state.iterations()) * instancesPerIteration * kColumns * kRows, benchmark::Counter::kIsRate);
}

void Skin(benchmark::State& state) {
  BenchScene scene;
  if (!scene.ready) {
    state.SkipWithError("no OpenGL device or no grid mesh");
    return;
  }
  for (auto _ : state) scene.Skin(1.0f / 60.0f);
  Report(state, kInstances);
}

void RenderInstances(benchmark::State& state) {
  BenchScene scene;
  if (!scene.ready) {
    state.SkipWithError("no OpenGL device or no grid mesh");
    return;
  }
  scene.Frame(0.0f);  // the first frame builds what it needs
  for (auto _ : state) scene.Frame(1.0f / 60.0f);
  Report(state, kInstances);
}

BENCHMARK(Skin)->Name("Skin/30x2000")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(RenderInstances)->Name("RenderInstance/30x2000")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
