// A whole race headless: a sprint of 3 laps on the sample course "Beitostolen" with
// start times -7 x i s, no player (the first racer is followed), each racer a distinct
// athlete of a profile file the program writes, one figure each; the shooting pattern
// set as the arcade game sets it, set up (with the precomputation), simulated to its end
// and exported, as N_RaceSim does it for the career (Setup, Simulate, ExportResults). No
// frame is drawn (the recording device stands in for the renderer; the figures are
// advanced without drawing) and no sound plays. Each run prints two lines: racers,
// steps, the simulated race time (the race clock at the end), the wall time of the
// precomputation and of the run to the end, and the ratio of simulated to wall time;
// then the finish times of the first, the median and the last racer, the falls on the
// course and the penalty loops skied and owed (the misses) of the whole field. The figures, markers, rifle,
// targets and AI tables come from the build's game root, copied into a private
// temporary folder that is removed at the end:
//   build/bench/race_bench                                (100 racers, and 10)
//   build/bench/race_bench --benchmark_filter=RaceToTheEnd/10/   (the test's run)
#include "bench/BenchTemp.h"
#include "core/BuiltinVars.h"
#include "core/CoreServices.h"
#include "core/ErrorLog.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Timer.h"
#include "core/VarMng.h"
#include "platform/d3d9.h"
#include "platform/d3d9/RecordingDevice.h"
#include "race/AthletMng.h"
#include "race/ExportData.h"
#include "race/GameData.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "race/ai/AiSector.h"
#include "render/Frustum.h"
#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "scene/AnimationFactory2.h"
#include "scene/Level.h"
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"
#include "sound/SoundMng.h"
#include "tools/CourseLayout.h"
#include "tools/CourseTrack.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;

bool g_failed = false;

void Fail(benchmark::State& state, const char* why) {
  g_failed = true;
  state.SkipWithError(why);
}

constexpr const char* kLayout = "Beitostolen";
constexpr const char* kModels[6] = {"ref_model1", "ref_model2", "ref_model3", "ref_model_F1", "ref_model_F2",
                                    "ref_model_F3"};

/// n men of their own names with varied attributes and the sample gear.
std::string Profiles(int n) {
  std::string text = "{\n";
  for (int i = 0; i < n; ++i) {
    text += FormatString(
        "{\nAthletName \"Racer %03d\"\nSex Male\nNationality NOR\nMaxPower %d\nOptPulse %d\nMaxCondition %d\n"
        "Concetration 60\nCoolness 60\nGameness 50\nShootTechnic %d\nRunTechnic %d\nCurveTechnic 70\nIQ 0.6\n"
        "Height 180\nWeight 75\nMesh \"data\\anim\\ref_meshe\\%s.mesh\"\nStartNum lyziari/startnum\n"
        "Dress lyziari/dress_black\nSticks lyziari/sticks\nGun lyziari/gun\nSki lyziari/ski_blue\n}\n",
        i, 40 + i % 50, 50 + i % 40, 60 + i % 30, 45 + i % 45, 40 + i % 40, kModels[i % 3]);
  }
  return text + "}\n";
}

bool CopyGameRoot(const fs::path& root) {
  std::error_code ec;
  fs::create_directories(root / "data/profiles", ec);
  for (const char* part : {"data/anim", "data/Ai", "data/scripts/figures.particle", "data/scripts/figures.shader",
                           "data/scripts/athletes.shader", "data/scripts/markers.shader", "data/effects/gear.fx",
                           "data/textures/lyziari", "data/textures/markers"}) {
    const fs::path from = fs::path(NAVO_GAME_ROOT) / part;
    fs::create_directories((root / part).parent_path());
    if (fs::is_directory(from)) {
      fs::create_directories(root / part);
      fs::copy(from, root / part, fs::copy_options::recursive, ec);
    } else {
      fs::copy_file(from, root / part, ec);
    }
    if (ec) return false;
  }
  return true;
}

/// The core services, the renderer on the recording device, the shaders and textures,
/// the athletes with their figures and the course's path network.
class HeadlessRace {
 public:
  explicit HeadlessRace(int racers) : m_log("navo.log"), m_errorLog(&m_log) {
    g_log = &m_log;
    g_errorLog = &m_errorLog;
    g_varMng = &m_vars;
    RegisterBuiltinVars();
    m_vars.SetInt("v_fullscreen", 0, 0);
    m_vars.SetInt("wnd_handle", 1, 0);
    platform::d3d9::RecordingDirect3DConfig config;
    config.device = platform::d3d9::DefaultRecordingDeviceConfig();
    m_d3d = new platform::d3d9::RecordingDirect3D(config);
    auto* d3d = m_d3d;
    platform::SetDirect3DFactory([d3d](UINT) {
      d3d->AddRef();
      return d3d;
    });
    m_services.errorLog = &m_errorLog;
    m_services.log = &m_log;
    m_services.varMng = &m_vars;
    CreateRender(&m_services, &m_render);
    if (!m_render->Init()) return;
    g_render = m_render;
    g_textureMng = m_textures.get();
    g_renderServicesCopy.textureMng = m_textures.get();
    g_scene.shaderMng = m_shaders.get();
    g_scene.frustum = &m_frustum;
    g_scene.level = &m_level;
    g_scene.particles = &m_particles;
    std::FILE* file = std::fopen("data/profiles/playerprofiles.data", "wb");
    if (!file) return;
    const std::string profiles = Profiles(racers);
    std::fwrite(profiles.data(), 1, profiles.size(), file);
    std::fclose(file);
    m_athletes = std::make_unique<N_AthletMng>(*m_shaders);
    m_athletes->ParseProfiles("data\\profiles\\playerprofiles.data");
    m_athletes->SplitBySex();
    m_athletes->LoadTextures();
    g_scene.figureRoster = m_athletes.get();
    m_particles.ParseScript("data\\scripts\\figures.particle");
    m_figures = std::make_unique<N_AnimationFactory2>();
    m_figures->Load();
    m_shaders->LoadShaders();
    CreateAiLog();
    const course::Layout* layout = course::FindLayout(kLayout);
    if (!layout) return;
    const course::Identifiers ids = course::BuildTrack(*layout, course::Terrain(*layout)).identifiers;
    for (const auto& [name, points] : ids.pointSets) m_level.AddPointSet(name, points);
    for (const auto& [name, box] : ids.triggers) {
      N_LevelTrigger trigger;
      std::strncpy(trigger.name, name.c_str(), sizeof trigger.name - 1);
      std::copy(box.begin(), box.end(), trigger.box);
      m_level.triggers.push_back(trigger);
    }
    m_path = std::make_unique<Ai::N_AiPath>();
    m_path->Load(m_level);
    m_d3d->LastDevice()->ClearCalls();  // the loads' calls; nothing is drawn from here
    ready = true;
  }

  ~HeadlessRace() {
    m_path.reset();
    DeleteAiLog();
    m_figures.reset();
    m_particles.DestroyAllSystems();
    m_athletes.reset();
    m_shaders.reset();
    m_textures.reset();
    g_scene = N_SceneAccess{};
    g_renderServicesCopy.textureMng = nullptr;
    g_textureMng = nullptr;
    g_render = nullptr;
    if (m_render->Device()) m_render->Shutdown();
    ReleaseRender(m_render);
    g_varMng = nullptr;
    g_errorLog = nullptr;
    g_log = nullptr;
  }

  N_RaceServices Services() {
    N_RaceServices s;
    s.athletes = m_athletes.get();
    s.figures = m_figures.get();
    s.timer = &m_timer;
    return s;
  }
  Ai::N_AiPath& Path() { return *m_path; }
  platform::d3d9::RecordingDevice* Device() { return m_d3d->LastDevice(); }

  bool ready = false;

 private:
  N_Log m_log;
  N_ErrorLog m_errorLog;
  N_VarMng m_vars;
  N_CoreServices m_services;
  platform::d3d9::RecordingDirect3D* m_d3d = nullptr;
  N_Render* m_render = nullptr;
  N_Frustum m_frustum;
  std::unique_ptr<N_TextureMngImpl> m_textures = std::make_unique<N_TextureMngImpl>(2048);
  std::unique_ptr<N_ShaderMng> m_shaders = std::make_unique<N_ShaderMng>(1024);
  N_Level m_level;
  N_ParticleMng m_particles;
  std::unique_ptr<N_AthletMng> m_athletes;
  std::unique_ptr<N_AnimationFactory2> m_figures;
  std::unique_ptr<Ai::N_AiPath> m_path;
  N_Timer m_timer;
};

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

/// Watches the field once after every step (the race sets the listener then): counts
/// the falls on the course (each fall's end) and the penalty loops skied (each entry
/// into a sector of the loop's count trigger) and the racers who stood at the range for
/// want of a lane (a stance taken, no lane held, under 1 m/s for over a second; each such
/// stop once) or passed it without one. The rows' falls also hold the computer racers'
/// missed shots.
class FieldWatch final : public N_SoundMng {
 public:
  void SetListener(const float*, const float*, const float*) override {
    if (!race) return;
    const std::size_t n = race->RacerCount();
    falling.resize(n, 0);
    sectors.resize(n, nullptr);
    waitFrom.resize(n, kNotWaiting);
    hadLane.resize(n, 0);
    stances.resize(n, 0);
    const float clock = race->RaceClock();
    for (std::size_t i = 0; i < n; ++i) {
      const N_Racer& r = race->Racer(i);
      if (falling[i] && !r.FallState) ++falls;
      const bool waiting = r.Stance != 0 && !r.Lane && r.Speed < 1.0f;
      if (!waiting) {
        waitFrom[i] = kNotWaiting;
      } else if (waitFrom[i] == kNotWaiting) {
        waitFrom[i] = clock;
      } else if (clock - waitFrom[i] > 1.0f) {
        waitFrom[i] = kCounted;  // once a stop
        ++laneWaits;
      }
      if (r.Lane) hadLane[i] = 1;
      if (r.Stance == 0 && stances[i] != 0 && !hadLane[i]) ++noLane;
      if (r.Stance == 0) hadLane[i] = 0;
      stances[i] = r.Stance;
      falling[i] = r.FallState;
      const Ai::N_AiSector* now = r.Sector;
      if (now != sectors[i] && now && now->Flags().Has(kLoopCountGroup, kLoopCountBit) &&
          !(sectors[i] && sectors[i]->Flags().Has(kLoopCountGroup, kLoopCountBit))) {
        ++loops;
      }
      sectors[i] = now;
    }
  }
  static constexpr int kLoopCountGroup = 1;
  static constexpr std::uint8_t kLoopCountBit = 0x08;
  const N_RaceSim* race = nullptr;
  std::vector<std::int32_t> falling;
  std::vector<const Ai::N_AiSector*> sectors;
  /// When a racer began to wait for a lane; kCounted once that wait is counted.
  static constexpr float kNotWaiting = -1.0f;
  static constexpr float kCounted = std::numeric_limits<float>::infinity();
  std::vector<float> waitFrom;
  std::vector<std::int32_t> hadLane, stances;
  long long falls = 0, loops = 0, laneWaits = 0, noLane = 0;
};

/// The finish time at a share of the field's finishers (0 the first, 1 the last).
float TimeAt(const std::vector<float>& sorted, double share) {
  if (sorted.empty()) return -1.0f;
  return sorted[std::size_t(share * double(sorted.size() - 1) + 0.5)];
}

/// The races of one benchmark run, in the current folder (a copy of the game root);
/// false when a racer did not finish with a time.
bool RunRaces(benchmark::State& state, int racers) {
  HeadlessRace headless(racers);
  if (!headless.ready) {
    Fail(state, "the headless race did not come up (see navo.log and Ai.log)");
    return true;
  }
  bool allFinished = true;
  for (auto _ : state) {
    Srand(1);
    auto data = std::make_unique<GameData>();
    data->Discipline = DisciplineCode::kSprint;
    data->Laps = 3;
    data->PlayerIndex = -1;
    for (int i = 0; i < racers; ++i) data->StartList.push_back({i, -7.0f * float(i)});
    // As the arcade game sets it before its set-up: prone, then standing.
    headless.Path().SetShootPattern(data->Laps >= 4 ? "LLSSVVV" : "LSVVV");
    FieldWatch watch;
    N_RaceServices services = headless.Services();
    services.listener = &watch;
    const auto setupStart = std::chrono::steady_clock::now();
    N_RaceSim race(std::move(data), services);
    watch.race = &race;
    race.Setup(headless.Path());
    const double precompute = Seconds(setupStart);
    const auto runStart = std::chrono::steady_clock::now();
    race.Simulate();
    ExportData result;
    race.ExportResults(&result);
    const double run = Seconds(runStart);
    std::vector<float> times;
    long long misses = 0;
    for (const N_ResultRow& row : result.Rows) {
      allFinished = allFinished && row.Time > 0.0f;
      if (row.Time > 0.0f) times.push_back(row.Time);
      misses += row.Misses;
    }
    const long long falls = watch.falls, loops = watch.loops;
    std::sort(times.begin(), times.end());
    allFinished = allFinished && result.Rows.size() == std::size_t(racers);
    headless.Device()->ClearCalls();
    const float simulated = race.RaceClock();
    const long long steps = race.StepCount();
    std::printf("race: %d racers, %lld steps, %.1f s simulated, precompute %.3f s, run to the end %.3f s, %.0fx real "
                "time\n",
                racers, steps, double(simulated), precompute, run, double(simulated) / (precompute + run));
    std::printf("race: %d racers, finish first %.1f s, median %.1f s, last %.1f s (last/first %.2f), falls %lld, "
                "penalty loops %lld skied of %lld owed, stops for want of a lane %lld, ranges passed without "
                "one %lld\n",
                racers, double(TimeAt(times, 0.0)), double(TimeAt(times, 0.5)), double(TimeAt(times, 1.0)),
                times.empty() ? 0.0 : double(times.back() / times.front()), falls, loops, misses,
                watch.laneWaits, watch.noLane);
    state.counters["simulated_s"] = double(simulated);
    state.counters["ratio"] = double(simulated) / (precompute + run);
    state.counters["last_per_first"] = times.empty() ? 0.0 : double(times.back() / times.front());
    state.counters["falls"] = double(falls);
    state.counters["penalty_loops"] = double(loops);
    state.counters["lane_waits"] = double(watch.laneWaits);
  }
  return allFinished;
}

void RaceToTheEnd(benchmark::State& state) {
  const int racers = int(state.range(0));
  const fs::path root = bench::TempFolder() / FormatString("race_bench_%d", racers);
  if (!CopyGameRoot(root)) {
    Fail(state, "cannot copy the game root's figures, markers and AI tables");
    return;
  }
  fs::current_path(root);
  if (!RunRaces(state, racers)) Fail(state, "a racer did not finish with a time (see Ai.log)");
}

BENCHMARK(RaceToTheEnd)->Arg(100)->Arg(10)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

// A run that matches no benchmark or ends in an error fails (the test runs the 10).
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const std::size_t ran = benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return ran > 0 && !g_failed ? 0 : 1;
}
