#include "race/GameArcade.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "race/ExportData.h"
#include "race/FixedStep.h"
#include "race/GameData.h"
#include "race/RaceSim.h"
#include "race/World.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "render/Camera.h"
#include "render/TextBatch.h"

namespace {

/// The ids "Game" is given: one per game made, never 0.
std::int32_t g_lastGameId = 0;

void Print(const char* text) {
  if (g_log) g_log->Print("%s", text);
}

}  // namespace

N_GameArcade::N_GameArcade(std::unique_ptr<GameData> gameData, const N_RaceServices& services)
    : m_gameData(std::move(gameData)), m_services(services) {
  CreateAiLog();
}

N_GameArcade::~N_GameArcade() {
  m_path.reset();
  m_raceSim.reset();
  DeleteAiLog();
}

const GameData* N_GameArcade::Description() const {
  return m_raceSim ? m_raceSim->Description() : m_gameData.get();
}

void N_GameArcade::Load() {
  if (m_path) return;  // once
  g_lastGameId = g_lastGameId == INT32_MAX ? 1 : g_lastGameId + 1;
  m_id = g_lastGameId;
  if (g_varMng) g_varMng->SetInt("Game", m_id, 2);
  m_path = std::make_unique<Ai::N_AiPath>();
  if (m_services.level) {
    m_path->Load(*m_services.level);
  } else {
    m_path->Load();
  }
  m_raceSim = std::make_unique<N_RaceSim>(std::move(m_gameData), m_services);
}

void N_GameArcade::Init() {
  if (!Description()) RaceCritical(kNoGameData);
  Print("GameArcade Initializing.\n");
  // The kind of race the variable names is only logged: the racers take the places
  // of the description's discipline.
  int gameType = g_varMng ? g_varMng->GetInt("GameType") : 0;
  if (gameType < 0 || gameType > 2) {
    // A setting of config.cfg: every race start would end the game on it.
    Print(FormatString("!!! GameType %d is not 0, 1 or 2: taken as 0\n", gameType).c_str());
    gameType = 0;
    if (g_varMng) g_varMng->SetInt("GameType", gameType, 0);  // saved so
  }
  switch (gameType) {
    case 0:
      Print("GameArcade: Sprint.\n");
      break;
    case 1:
      Print("GameArcade:\tHunting.\n");
      break;
    default:
      Print("GameArcade: MassStart.\n");
      break;
  }
  if (!m_raceSim) Load();
  m_path->GetRelayChangeSector();
  m_path->SetShootPattern(Description()->Laps >= 4 ? "LLSSVVV" : "LSVVV");
  m_raceSim->Setup(*m_path);
  m_initialised = true;
  Print("GameArcade Initializing done.\n");
}

void N_GameArcade::Update(float dt) {
  if (m_paused) return;
  m_controls.Poll();
  if (!m_initialised) return;
  if (m_controls.IsPaused()) {
    StepRace(0.0f);
    return;
  }
  race_step::RunFixedSteps(dt, [this](float s) {
    StepRange(s);
    StepRace(s);
    return true;
  });
}

void N_GameArcade::Render(float dt) {
  ShowCameraPosition();
  if (!m_initialised) return;
  const float t = m_controls.IsPaused() ? 0.0f : dt;
  RenderRace(t);
  RenderTargets(t);
}

void N_GameArcade::ShowCameraPosition() const {
  if (!g_varMng || g_varMng->GetInt("developer") == 0 || !g_world) return;
  const N_Camera* camera = g_world->CurrentCamera();
  if (!camera) return;
  const N_Vector3& p = camera->position;
  const std::string text = FormatString("Cam Pos: %3.1f %3.1f %3.1f", double(p.x), double(p.y), double(p.z));
  g_world->TextBatch().AddText(text.c_str(), g_varMng->GetInt("font"), 205.0f, 5.0f, 1.0f, 2, 255);
}

std::unique_ptr<ExportData> N_GameArcade::PollResult() {
  if (!m_initialised || m_resultMade || !m_raceSim->AllFinished()) return nullptr;
  m_resultMade = true;
  auto result = std::make_unique<ExportData>();
  m_raceSim->ExportResults(result.get());
  return result;
}

bool N_GameArcade::GetAthleteView(std::int32_t athleteId, const float** block, N_Vector3* point) {
  const float* foundBlock = nullptr;
  N_Vector3 foundPoint;
  if (!m_raceSim || !m_raceSim->FindRacerByFigure(athleteId, &foundBlock, &foundPoint)) return false;
  if (block) *block = foundBlock;
  if (point) *point = foundPoint;
  return true;
}

void N_GameArcade::Simulate() {
  if (m_initialised && !m_resultMade) m_raceSim->Simulate();
}

void N_GameArcade::StepRange(float dt) { m_path->UpdateShootingRange(dt); }

void N_GameArcade::StepRace(float dt) { m_raceSim->Step(dt, &m_controls); }

void N_GameArcade::RenderRace(float dt) { m_raceSim->Render(dt); }

void N_GameArcade::RenderTargets(float dt) { m_path->RenderShootTargets(dt); }
