// Loading the path network of a sample course (N_AiPath::Load) as a game mode does it
// for every race: the level's polylines and triggers as the course generator writes
// them into the sample level (here the "Beitostolen" layout, 30 lanes), the path tree,
// the start places, the range's points and triggers, the rifle and target figures and
// the AI tables, with every line written to "Ai.log". The network's teardown and the
// log's reopening are not timed. Runs in a temporary copy of the game root's rifle,
// target and AI folders:
//   build/bench/aipath_bench
#include "bench/BenchTemp.h"
#include "core/BuiltinVars.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "scene/Level.h"
#include "tools/CourseLayout.h"
#include "tools/CourseTrack.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

void FillLevel(N_Level& level, const course::Identifiers& ids) {
  for (const auto& [name, points] : ids.pointSets) level.AddPointSet(name, points);
  for (const auto& [name, box] : ids.triggers) {
    N_LevelTrigger trigger;
    std::strncpy(trigger.name, name.c_str(), sizeof trigger.name - 1);
    std::copy(box.begin(), box.end(), trigger.box);
    level.triggers.push_back(trigger);
  }
}

void LoadNetwork(benchmark::State& state) {
  const course::Layout* layout = course::FindLayout("Beitostolen");
  if (!layout) {
    state.SkipWithError("no sample layout");
    return;
  }
  // The rifle, the targets and the AI tables come from the game root's sample data.
  const fs::path root = bench::TempFolder() / "aipath_bench";
  std::error_code ec;
  fs::remove_all(root, ec);
  for (const char* folder : {"data/anim/puska", "data/anim/terciky", "data/Ai"}) {
    fs::create_directories(root / folder);
    fs::copy(fs::path(NAVO_GAME_ROOT) / folder, root / folder, fs::copy_options::recursive, ec);
    if (ec) {
      state.SkipWithError(("cannot copy " + std::string(folder) + " of the game root").c_str());
      return;
    }
  }
  fs::current_path(root);  // before any file is looked up

  N_Log log("navo.log");
  g_log = &log;
  N_ErrorLog errorLog(&log);
  g_errorLog = &errorLog;
  N_VarMng vars;
  g_varMng = &vars;
  RegisterBuiltinVars();

  N_Level level;
  FillLevel(level, course::BuildTrack(*layout, course::Terrain(*layout)).identifiers);
  std::unique_ptr<Ai::N_AiPath> path;
  bool loaded = true;
  for (auto _ : state) {
    state.PauseTiming();
    path.reset();
    CreateAiLog();  // a fresh "Ai.log", as every game mode opens it
    path = std::make_unique<Ai::N_AiPath>();
    state.ResumeTiming();
    loaded = path->Load(level) && loaded;
  }
  state.counters["lanes"] = double(path ? path->LaneCount() : 0);
  path.reset();
  DeleteAiLog();
  if (!loaded) state.SkipWithError("the network did not load completely (see Ai.log)");
  g_varMng = nullptr;
  g_errorLog = nullptr;
  g_log = nullptr;
}

BENCHMARK(LoadNetwork)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
