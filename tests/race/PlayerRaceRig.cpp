#include "tests/race/PlayerRaceRig.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/FinishedResults.h"
#include "race/GameLaunch.h"
#include "race/GameTraining.h"
#include "race/LevelTables.h"
#include "race/RaceSim.h"
#include "race/RaceSimServices.h"
#include "race/Racer.h"
#include "render/RenderServices.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace test {

namespace {

constexpr int kArcadeRows = 8;
constexpr int kFullRows = 11;  ///< the race courses of the full table and the buddy games' "Running"

}  // namespace

platform::d3d9::RecordingDirect3DConfig PlayerRaceRig::Unrecorded() {
  auto config = RecordingRender::DefaultConfig();
  config.device.record = false;
  return config;
}

PlayerRaceRig::PlayerRaceRig(const std::string& course) : m_course(course) {
  namespace fs = std::filesystem;
  g_renderServicesCopy.textureMng = &textures;
  g_render = &rig.render;
  const TempDir& dir = rig.harness.dir;
  for (const auto& entry : fs::directory_iterator(fs::path(GameRoot()) / "data")) {
    const std::string name = entry.path().filename().string();
    if (name != "video" && name != "tables") CopyFromGameRoot(dir, "data/" + name);
  }
  fs::create_directories(dir.Path() + "/data/tables");
  strings.SetLanguage("eng");
  strings.ReadDir("scripts\\strings\\*.string");
  g_stringTable = &strings;
  timer.Tick();
  g_timer = &timer;
  N_CoreServices block;
  block.errorLog = rig.core.errorLog.get();
  block.log = rig.core.log.get();
  block.varMng = rig.core.vars.get();
  inputMng = CreateInputMng(block);
  inputMng->Init();
  g_inputMng = inputMng.get();
  rig.core.vars->SetString("mapname", (course + ".alf").c_str(), 2);
  world = std::make_unique<N_World>(&textures);
  g_world = world.get();
  world->Init();
}

PlayerRaceRig::~PlayerRaceRig() {
  if (world) world->SetGame(nullptr);
  g_world = nullptr;
  world.reset();
  g_inputMng = nullptr;
  inputMng->Shutdown();
  g_timer = nullptr;
  g_stringTable = nullptr;
  ReleaseAllFinishedResults();
  g_render = nullptr;
  g_renderServicesCopy.textureMng = nullptr;
}

int PlayerRaceRig::Row(bool arcadeTable) const {
  for (int row = 0; row < (arcadeTable ? kArcadeRows : kFullRows); ++row) {
    if (m_course == GetLevelName(row, arcadeTable)) return row;
  }
  return -1;
}

N_GameArcade& PlayerRaceRig::StartRace(std::int32_t discipline, int racers, int player, float gap, int laps) {
  auto data = std::make_unique<GameData>();
  data->Discipline = discipline;
  data->Laps = static_cast<std::uint8_t>(laps);
  // The arcade page's row of the course; a course only the full table has, its row
  // there, as the single race names it.
  data->ArcadeLevels = ArcadeTable() ? 1 : 0;
  data->Track = Row(data->ArcadeLevels != 0);
  for (int i = 0; i < racers; ++i) data->StartList.push_back({i, -gap * float(i)});
  data->PlayerIndex = static_cast<std::int8_t>(player);
  N_Game* launched = LaunchGame([&data] { return std::make_unique<N_GameArcade>(std::move(data)); });
  game = dynamic_cast<N_GameArcade*>(launched);
  EXPECT_NE(game, nullptr);
  game->SetPaused(0);  // the start list's click
  return *game;
}

N_GameTraining& PlayerRaceRig::StartRunTraining(bool shortCourse) {
  // As the training page fills it by default: the full course (or the arcade table's
  // short one), three laps, the first man, full condition.
  auto data = std::make_unique<GameData>();
  data->Discipline = DisciplineCode::kRunTraining;
  data->Laps = 3;
  data->ArcadeLevels = shortCourse ? 1 : 0;
  data->Track = Row(shortCourse);
  data->TrainingScale1 = 1.0f;
  data->StartList.push_back({0, 0.0f});
  N_Game* launched = LaunchGame(
      [&data] { return std::make_unique<N_GameTraining>(std::move(data), N_RaceServices::FromWorld()); });
  auto* training = dynamic_cast<N_GameTraining*>(launched);
  EXPECT_NE(training, nullptr);
  training->SetPaused(0);  // the race camera's start flight
  return *training;
}

const N_Racer& PlayerRaceRig::Player() const { return *game->RaceSim()->Followed(); }

void PlayerRaceRig::Frame(float dt) {
  clock.counter += static_cast<std::uint64_t>(double(dt) * 1e6 + 0.5);
  timer.Tick();
  inputMng->Update();
  world->Update(dt);
  world->Render(dt);
}

}  // namespace test
