// Loading the start course (the game root's "Beitostolen.ALF") as a level change does
// it, on the OpenGL device: the level file read and the level built (N_Level::Load:
// geometry, lightmaps, flares, cameras, props, spectators, LOD trees, drawables), then
// the shaders built, unused textures purged and the level's effects made (InitEffects).
// "Load" times the first step alone, "Load+InitEffects" all of them with the course's
// shaders and textures still there from the run before (the same course again), "Cold"
// all of them after every shader and texture was freed (as the first load of a
// course). The teardown of the previous level is not timed. Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/level_bench
#include "bench/BenchTemp.h"
#include "bench/BenchRenderer.h"
#include "core/Globals.h"
#include "core/VarMng.h"
#include "render/RenderServices.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "scene/Level.h"
#include "scene/LevelObjectList.h"
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

void LoadCourse(benchmark::State& state) {
  const bool effects = state.range(0) != 0;
  const bool cold = state.range(0) == 2;
  std::filesystem::current_path(NAVO_GAME_ROOT);  // the sample data, before any file is looked up
  const std::string log = (bench::TempFolder() / "level_bench.log").string();
  BenchRenderer bench(1024, 768, log.c_str());
  if (!bench.ready) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  N_TextureMngImpl textures(1024);
  g_renderServicesCopy.textureMng = &textures;
  g_textureMng = &textures;
  N_ShaderMng shaders(1024);
  N_ParticleMng particles;
  particles.ParseScript("data\\scripts\\weather.particle");  // the course's snow
  N_LevelObjectList objects;
  g_render = bench.render;
  g_scene.shaderMng = &shaders;
  g_scene.particles = &particles;
  g_scene.levelObjects = &objects;
  bench.vars.SetString("mapname", "Beitostolen.ALF", 2);
  std::unique_ptr<N_Level> level;
  for (auto _ : state) {
    state.PauseTiming();
    g_scene.level = nullptr;
    level.reset();
    objects.Clear();
    particles.DestroyAllSystems();
    if (cold) {
      shaders.ResetRefCounts();
      shaders.LoadShaders();
      textures.ResetRefCounts();
      textures.PurgeTextures();
    }
    level = std::make_unique<N_Level>();
    g_scene.level = level.get();
    state.ResumeTiming();
    level->Load();
    if (effects) {
      shaders.LoadShaders();
      textures.PurgeTextures();
      level->InitEffects();
      objects.Sort();
    }
  }
  state.counters["spectators"] = double(level->spectators.size());
  state.counters["drawables"] = double(objects.Drawables().size());
  g_scene.level = nullptr;
  level.reset();
  objects.Clear();
  particles.DestroyAllSystems();
  g_scene = N_SceneAccess{};
  shaders.ResetRefCounts();
  shaders.LoadShaders();
  textures.ResetRefCounts();
  textures.PurgeTextures();
  g_textureMng = nullptr;
  g_renderServicesCopy.textureMng = nullptr;
  g_render = nullptr;
}

BENCHMARK(LoadCourse)->Name("Level/Load")->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(LoadCourse)->Name("Level/Load+InitEffects")->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(LoadCourse)->Name("Level/Cold")->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
