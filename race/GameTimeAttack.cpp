#include "race/GameTimeAttack.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "race/ExportData.h"
#include "race/GameData.h"
#include "race/Racer.h"
#include "race/RunRecorder.h"
#include "race/RacerControl.h"
#include "race/SectorEvents.h"
#include "race/Sipka.h"
#include "race/ai/AiPath.h"
#include "scene/AnimSound.h"

N_GameTimeAttack::N_GameTimeAttack(std::unique_ptr<GameData> gameData, std::unique_ptr<N_RunRecorder> ghost,
                                   const N_RaceServices& services)
    : N_SoloRaceGame(std::move(gameData), services), m_ghost(std::move(ghost)) {}

N_GameTimeAttack::~N_GameTimeAttack() = default;

void N_GameTimeAttack::Load() {
  N_SoloRaceGame::Load();
  if (!m_ghost) RaceCritical("TimeAttackData is NULL");
}

void N_GameTimeAttack::Init() {
  if (g_log) g_log->Print("Game TimeAttack Initializing.\n");
  if (!m_gameData) RaceCritical("Game TimeAttack: GameData NULL");
  if (!m_path) Load();
  m_path->GetRelayChangeSector();
  m_path->SetShootPattern(m_gameData->Laps < 4 ? "LSVVV" : "LLLSSVVV");
  BuildRacer("Game TimeAttack");
  N_Racer& r = *m_racer;
  if (m_services.bodySounds) r.BreathSlot = m_services.bodySounds->CreateSoundObj(m_gameData->Sex != 0 ? 1 : 0);
  r.Strategy = m_path->FindStrategy(r.StrategyValue);
  SetUpFigureAndMarkers();
  CreateSplitTable();
  m_ghost->StartRecording(m_services.figures, r.Pos, r.Heading, 18);
  m_ghost->Step(0.0f, r.Pos, r.Heading, 18);
  if (g_log) g_log->Print("Game TimeAttack Initializing done.\n");
}

bool N_GameTimeAttack::StepOnce(float s) {
  N_Racer& r = *m_racer;
  m_path->UpdateShootingRange(s);
  if (m_controls.IsEscapeHeld()) {
    r.Finished = 1;
    r.Time = -1.0f;
  }
  r.PrevPos = r.Pos;
  if (r.Finished) return false;
  StepStartSequence();
  if (!r.Stopped) r.Time += s;
  m_ghost->Step(s, r.Pos, r.Heading, static_cast<std::int8_t>(r.Anim));
  const std::int32_t previous = r.Anim;
  r.Anim = CurrentAction();
  // No coach in a time attack.
  SectorEvents(r, *m_path, m_splitTable.get(), false, m_gameData->ArcadeLevels != 0, false);
  RacerPostStep(r, s);
  if (r.Time > 0.0f) {
    if (r.Power > 0.1f) m_markers->StartStarter();
    // The choosers start from the racer's own animation of the step.
    std::int32_t next = r.Anim;
    N_Vector3 proposed = r.Pos;
    DrivePlayer(next, proposed, s);
    if (m_statusShown && m_services.hud) {
      m_services.hud->UpdatePlayerStatus(r.Time, r.Speed, r.HeartRate, r.Power, r.Condition, r.StartNumber,
                                         r.LapsDone + 1, m_gameData->Laps);
    }
    if (r.Time > kTimeLimit) {
      r.Finished = 1;
      r.Disqualified = 1;
      r.Time = -1.0f;
    }
    // No animation beyond the 48 skier animations.
    if (next < 0 || next > 47) return false;
    AnimateAndMove(previous, next, proposed, s);
  }
  m_positions.clear();
  m_positions.push_back(r.Pos);
  if (m_ghost->IsLoaded()) m_positions.push_back(m_ghost->GhostPosition());
  m_markers->UpdateMapMarks(m_positions);
  FollowRacer(s);
  return true;
}

void N_GameTimeAttack::Render(float dt) {
  if (m_controls.IsPaused()) dt = 0.0f;
  if (!m_racer) return;
  m_path->RenderShootTargets(dt);
  m_markers->RenderStarter(dt);
  RenderArrows(dt);
  if (!m_racer->Finished && m_racer->Time >= -kCountdown) {
    RenderRacer(dt);
    if (m_ghost) m_ghost->DrawGhost(dt);
  }
}

std::unique_ptr<ExportData> N_GameTimeAttack::PollResult() {
  if (!m_racer || !m_racer->Finished || m_resultMade) return nullptr;
  m_resultMade = true;
  CloseRacePages();
  auto result = std::make_unique<ExportData>();
  result->Sex = m_gameData ? m_gameData->Sex : 0;
  result->Ghost = std::move(m_ghost);
  N_ResultRow row;
  row.AthleteIndex = m_racer->AthleteIndex;
  row.Time = m_racer->Time;
  row.LapsDone = m_racer->LapsDone;
  row.Misses = m_racer->Misses;
  result->Rows.push_back(row);
  m_gameData.reset();
  return result;
}
