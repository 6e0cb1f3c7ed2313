// Particles updated and built a second: 20,000 particles (moving under gravity, growing,
// fading in and out, respawning) stepped at 60 frames a second through
// N_ParticleEmitter::Update, which simulates every slot and writes the live ones into
// the emitter's vertex buffer on the OpenGL device. As point sprites (one emitter of
// 20,000) and as turned quads (two emitters of 10,000: a quad emitter holds at most
// 10,922). The draw is not timed. Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/particle_bench
#include "bench/BenchTemp.h"
#include "bench/BenchRenderer.h"
#include "core/Globals.h"
#include "core/Random.h"
#include "core/Timer.h"
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/RenderServices.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kParticles = 20000;

/// A clock that moves on by one sixtieth of a second each time the timer reads it.
class FrameClock final : public platform::Clock {
 public:
  std::uint64_t PerformanceFrequency() const override { return 600000; }
  std::uint64_t PerformanceCounter() const override { return m_counter += 10000; }
  std::uint32_t Milliseconds() const override { return 0; }

 private:
  mutable std::uint64_t m_counter = 0;
};

void UpdateParticles(benchmark::State& state, const char* extra, int emitters) {
  const std::string log = (bench::TempFolder() / "navo_particle_bench.log").string();
  BenchRenderer bench(kWidth, kHeight, log.c_str());
  if (!bench.ready) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  N_TextureMngImpl textures(1024);
  g_renderServicesCopy.textureMng = &textures;
  FrameClock clock;
  N_Timer timer(clock);
  timer.Tick();
  g_timer = &timer;
  g_render = bench.render;
  N_ShaderMng shaders(1024);
  N_Frustum frustum;
  N_Camera camera;
  camera.SetProjection(90.0f, float(kWidth), float(kHeight), 0.0f, 0.0f);
  frustum.Build(camera);
  N_ParticleMng particles;
  particles.SetDetail(2);
  g_scene.shaderMng = &shaders;
  g_scene.frustum = &frustum;
  g_scene.camera = &camera;
  g_scene.particles = &particles;
  {
    const std::filesystem::path script = bench::TempFolder() / "navo_particle_bench.particle";
    const int slots = kParticles / emitters;
    std::ofstream(script) << "bench\n{\n type box 2000 500 1000\n numparticles " << slots
                          << "\n velocity -50 -50 50 50 50 200\n gravity 0 0 -100\n size 10 20\n"
                          << " targetsize 40 10\n live 1 3\n color 200 200 200 255 255 255\n"
                          << " fadein 0.2\n fadeout 0.5\n shader bench/particle\n " << extra << "\n}\n";
    particles.ParseScript(script.string().c_str());
    shaders.LoadShaders();
    std::vector<N_ParticleEmitter*> running;
    N_ParticleSystem* system = particles.CreateSystem();
    Srand(1);
    for (int i = 0; i < emitters; ++i) {
      N_ParticleEmitter* emitter = system->AddEmitter(particles.CreateEmitter("bench"));
      emitter->position = {0.0f, 5000.0f, 0.0f};
      emitter->Start();
      running.push_back(emitter);
    }
    std::uint64_t built = 0;
    for (auto _ : state) {
      timer.Tick();
      for (N_ParticleEmitter* emitter : running) {
        emitter->Update();
        built += emitter->BuiltCount();
      }
    }
    state.counters["particles/s"] =
        benchmark::Counter(double(state.iterations()) * kParticles, benchmark::Counter::kIsRate);
    state.counters["live/frame"] = double(built) / double(state.iterations());
    state.counters["sprites"] = running[0]->DrawsPointSprites() ? 1.0 : 0.0;
    particles.DestroyAllSystems();
  }
  g_scene = N_SceneAccess{};
  g_render = nullptr;
  g_timer = nullptr;
  shaders.ResetRefCounts();
  shaders.LoadShaders();
  textures.ResetRefCounts();
  textures.PurgeTextures();
  g_renderServicesCopy.textureMng = nullptr;
}

void Sprites(benchmark::State& state) { UpdateParticles(state, "", 1); }
void Quads(benchmark::State& state) { UpdateParticles(state, "rotate -90 90", 2); }

BENCHMARK(Sprites)->Name("ParticleEmitter/Update/20000 sprites")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(Quads)->Name("ParticleEmitter/Update/20000 quads")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
