// The skier figures: RenderFigure of 100 figures in view, a frame of them on the OpenGL
// device (each advanced, posed, skinned on the processor, its emitters placed and its
// surfaces drawn in its dress; the occlusion queries and the present included), and
// the same 100 only advanced, as the race's fixed steps do. The game root's sample
// figures (six models in turn, skating), read from the build's game root. Run under
// Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/figure_bench
#include "bench/BenchTemp.h"
#include "bench/BenchRenderer.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/RenderServices.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "scene/AnimationFactory2.h"
#include "scene/FigureRoster.h"
#include "scene/Level.h"
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"
#include "tests/scene/TestRoster.h"

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kFigures = 100;
constexpr const char* kModels[6] = {"ref_model1", "ref_model2", "ref_model3", "ref_model_F1", "ref_model_F2",
                                    "ref_model_F3"};
/// Gear materials of the sample athletes.
constexpr const char* kDresses[6] = {"lyziari/dress_red",   "lyziari/dress_blue",   "lyziari/dress_white",
                                     "lyziari/dress_green", "lyziari/dress_yellow", "lyziari/dress_orange"};
constexpr const char* kSkis[3] = {"lyziari/ski_red", "lyziari/ski_blue", "lyziari/ski_white"};

/// 100 athletes of the six models in the sample athletes' gear, their figures loaded
/// from the game root, on a grid of 10 x 10 between 300 and 1,200 units ahead of the
/// camera.
class FigureScene {
 public:
  FigureScene() : m_bench(kWidth, kHeight, (bench::TempFolder() / "navo_figure_bench.log").c_str()) {
    if (!m_bench.ready) return;
    std::filesystem::current_path(NAVO_GAME_ROOT);  // the sample figures, read only
    g_renderServicesCopy.textureMng = &m_textures;
    g_render = m_bench.render;
    g_scene.shaderMng = &m_shaders;
    g_scene.frustum = &m_frustum;
    g_scene.level = &m_level;
    g_scene.camera = &m_camera;
    g_scene.particles = &m_particles;
    g_scene.figureRoster = &m_roster;
    m_particles.LoadScripts();
    for (int i = 0; i < kFigures; ++i) {
      N_FigureAthlete& athlete = m_athletes[std::size_t(i)];
      athlete.Mesh = std::string("data\\anim\\ref_meshe\\") + kModels[i % 6] + ".mesh";
      athlete.DressShader = m_shaders.AddShader(kDresses[i % 6], 0, 3);
      athlete.SticksShader = m_shaders.AddShader("lyziari/sticks", 0, 3);
      athlete.GunShader = m_shaders.AddShader("lyziari/gun", 0, 3);
      athlete.SkiShader = m_shaders.AddShader(kSkis[i % 3], 0, 3);
      m_roster.athletes.push_back(&athlete);
    }
    for (int n = 1; n <= N_FigureRoster::kBibCount; ++n) {
      m_roster.bibShaders[std::size_t(n - 1)] =
          m_shaders.AddShader(FormatString("textures\\lyziari\\startnum%02d", n).c_str(), 0, 3);
    }
    m_figures = std::make_unique<N_AnimationFactory2>();
    m_figures->Load();
    m_shaders.LoadShaders();
    m_textures.PurgeTextures();
    for (int i = 0; i < kFigures; ++i) {
      m_figures->SetAction(i, 7 + i % 4, 30.0f, 0.0f);  // the four skating steps
      m_figures->SetNextAction(i, 7 + i % 4, 30.0f, 0.0f);
    }
    m_facing.FromDirection({0.0f, -1.0f, 0.0f});
    m_camera.SetProjection(90.0f, float(kWidth), float(kHeight), 0.0f, 0.0f);
    ready = m_figures->FigureMeshCount() == 12;
  }
  ~FigureScene() {
    m_figures.reset();
    m_particles.DestroyAllSystems();
    g_scene = N_SceneAccess{};
    m_shaders.ResetRefCounts();
    m_shaders.LoadShaders();
    m_textures.ResetRefCounts();
    m_textures.PurgeTextures();
    g_render = nullptr;
    g_renderServicesCopy.textureMng = nullptr;
  }

  /// One frame: every figure advanced by frameTime and, when drawn, posed and drawn.
  void Frame(float frameTime, bool draw) {
    if (draw) {
      m_bench.render->BeginFrame();
      m_bench.render->SetupCamera(&m_camera, 1);
      m_frustum.Build(m_camera);
    }
    for (int i = 0; i < kFigures; ++i) {
      const N_Vector3 at{float(i % 10) * 90.0f - 405.0f, 300.0f + float(i / 10) * 100.0f, -60.0f};
      m_figures->RenderFigure(frameTime, i, at, m_facing, i % 31 + 1, &m_athletes[std::size_t(i)], false, draw, draw);
    }
    if (draw) m_bench.render->EndFrame();
  }

  bool ready = false;

 private:
  BenchRenderer m_bench;
  N_TextureMngImpl m_textures{1024};
  N_ShaderMng m_shaders{1024};
  N_Frustum m_frustum;
  N_Level m_level;
  N_Camera m_camera;
  N_ParticleMng m_particles;
  std::array<N_FigureAthlete, kFigures> m_athletes;
  test::TestRoster m_roster;
  N_Matrix3 m_facing;
  std::unique_ptr<N_AnimationFactory2> m_figures;
};

void Figures(benchmark::State& state, bool draw) {
  FigureScene scene;
  if (!scene.ready) {
    state.SkipWithError("no OpenGL device or no sample figures");
    return;
  }
  for (auto _ : state) scene.Frame(1.0f / 60.0f, draw);
  state.counters["figures/s"] = benchmark::Counter(double(state.iterations()) * kFigures, benchmark::Counter::kIsRate);
}

void Drawn(benchmark::State& state) { Figures(state, true); }
void Advanced(benchmark::State& state) { Figures(state, false); }

BENCHMARK(Drawn)->Name("RenderFigure/100 figures in view, a frame")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(Advanced)->Name("RenderFigure/100 figures advanced only")->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
