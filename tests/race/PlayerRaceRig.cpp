#include "tests/race/PlayerRaceRig.h"

#include "core/Globals.h"
#include "core/VarMng.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/FinishedResults.h"
#include "race/GameLaunch.h"
#include "race/LevelTables.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "render/RenderServices.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace test {

namespace {

constexpr int kArcadeRows = 8;
constexpr float kStartInterval = 7.0f;
constexpr int kClearCallsEvery = 50;

}  // namespace

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
  rig.device->ClearCalls();
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

N_GameArcade& PlayerRaceRig::StartSprint(int racers) {
  auto data = std::make_unique<GameData>();
  data->Discipline = DisciplineCode::kSprint;
  data->Laps = 3;
  data->ArcadeLevels = 1;
  for (int row = 0; row < kArcadeRows; ++row) {
    if (m_course == GetLevelName(row, true)) data->Track = row;
  }
  for (int i = 0; i < racers; ++i) data->StartList.push_back({i, -kStartInterval * float(i)});
  data->PlayerIndex = static_cast<std::int8_t>(racers - 1);
  N_Game* launched = LaunchGame([&data] { return std::make_unique<N_GameArcade>(std::move(data)); });
  game = dynamic_cast<N_GameArcade*>(launched);
  EXPECT_NE(game, nullptr);
  game->SetPaused(0);  // the start list's click
  return *game;
}

const N_Racer& PlayerRaceRig::Player() const { return *game->RaceSim()->Followed(); }

void PlayerRaceRig::Frame(float dt) {
  clock.counter += static_cast<std::uint64_t>(double(dt) * 1e6 + 0.5);
  timer.Tick();
  inputMng->Update();
  world->Update(dt);
  world->Render(dt);
  if (++m_frames % kClearCallsEvery == 0) rig.device->ClearCalls();
}

}  // namespace test
