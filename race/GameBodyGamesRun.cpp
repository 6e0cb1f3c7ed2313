#include "race/GameBodyGamesRun.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "race/ExportData.h"
#include "race/GameData.h"
#include "race/Racer.h"
#include "race/RacerControl.h"
#include "race/SectorEvents.h"
#include "race/Sipka.h"
#include "race/SoundCache.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "race/ai/AiPathTree.h"
#include "scene/AnimSound.h"

namespace {

constexpr int kSoundStartSignal = 31;

}  // namespace

N_GameBodyGamesRun::N_GameBodyGamesRun(std::unique_ptr<GameData> gameData, const N_RaceServices& services)
    : N_SoloRaceGame(std::move(gameData), services) {
  if (!m_gameData && g_log) {
    g_log->Print("*******************************************\n");
    g_log->Print("*****  GAMEDATA is NULL\t\t    !!!  ******\n");
    g_log->Print("*******************************************\n");
  }
}

N_GameBodyGamesRun::~N_GameBodyGamesRun() = default;

void N_GameBodyGamesRun::Init() {
  if (g_log) g_log->Print("Game GameBodyGamesRun Initializing.\n");
  if (!m_path) Load();
  m_path->GetRelayChangeSector();
  if (!m_gameData) RaceCritical("***** N_GameBodyGamesRun: GAMEDATA is NULL  !!!  ******\n");
  BuildRacer("N_GameBodyGamesRun");
  N_Racer& r = *m_racer;
  if (!r.Sector) {
    N_AiLog::Write("N_GameBodyGamesRun: no start sector, the racer starts on the Normal path");
    r.Sector = m_path->Tree() ? m_path->Tree()->Head(Ai::N_AiPathTree::kNormal) : nullptr;
  }
  r.Strategy = m_path->FindStrategy(r.StrategyValue);
  if (m_services.bodySounds) r.BreathSlot = m_services.bodySounds->CreateSoundObj(m_gameData->Sex != 0 ? 1 : 0);
  SetUpFigureAndMarkers();
  CreateSplitTable();
  m_positions.reserve(1);
  if (g_log) g_log->Print("Game GameBodyGamesRun Initializing done.\n");
}

void N_GameBodyGamesRun::StartSequence() {
  const N_Racer& r = *m_racer;
  N_RaceHud* hud = m_services.hud;
  const GameData& data = *m_gameData;
  if (r.Time >= 0.0f) {
    if (m_statusShown) return;
    m_statusShown = 1;
    if (hud) {
      hud->CloseStartInfo();
      // The turn's player, not the athlete.
      hud->ShowPlayerStatus(data.PlayerName.c_str(), data.Nation.c_str());
    }
  } else if (r.Time > -kCountdown) {
    if (m_announcePending) {
      m_announcePending = 0;
      if (m_services.soundCache) m_services.soundCache->Play(kSoundStartSignal);
      if (hud) hud->ShowStartInfo(data.Track, data.ArcadeLevels != 0, data.Weather, data.SnowQuality);
    }
    if (hud) hud->UpdateStartCounter(-r.Time);
  }
}

bool N_GameBodyGamesRun::StepOnce(float s) {
  N_Racer& r = *m_racer;
  const GameData& data = *m_gameData;
  r.PrevPos = r.Pos;
  m_path->UpdateShootingRange(s);
  if (m_controls.IsEscapeHeld()) {
    r.Finished = 1;
    r.Disqualified = 1;
  }
  if (r.Finished) return false;
  StartSequence();
  if (data.Faultless && r.Falls > 0) {
    r.Finished = 1;
    r.Disqualified = 1;
  }
  if (!r.Stopped) r.Time += s;
  m_positions.clear();
  const std::int32_t previous = r.Anim;
  r.Anim = CurrentAction();
  SectorEventsBuddyRun(r, m_splitTable.get());
  RacerPostStep(r, s);
  if (r.Time > 0.0f && r.Power > 0.1f) m_markers->StartStarter();
  m_positions.push_back(r.Pos);
  std::int32_t next = r.Anim;
  N_Vector3 proposed = r.Pos;
  DrivePlayer(next, proposed, s);
  AnimateAndMove(previous, next, proposed, s);
  if (m_statusShown && m_services.hud) {
    m_services.hud->UpdatePlayerStatus(r.Time, r.Speed, r.HeartRate, r.Power, r.Condition, r.StartNumber,
                                       r.LapsDone + 1, data.Laps);
  }
  m_markers->UpdateMapMarks(m_positions);
  FollowRacer(s);
  return true;
}

void N_GameBodyGamesRun::Render(float dt) {
  if (m_controls.IsPaused()) dt = 0.0f;
  if (!m_racer) return;
  m_path->RenderShootTargets(dt);
  m_markers->RenderStarter(dt);
  if (m_racer->ShowFinishArrow) {
    N_Vector3 pos, dir;
    m_path->GetFinishArrow(pos, dir);
    m_markers->SetFinishPlace(pos, dir);
    m_markers->RenderFinish(dt);
  }
  if (!m_racer->Finished && m_racer->Time >= -kCountdown) RenderRacer(dt);
}

std::unique_ptr<ExportData> N_GameBodyGamesRun::PollResult() {
  if (!m_racer || !m_racer->Finished || m_resultMade) return nullptr;
  m_resultMade = true;
  auto result = std::make_unique<ExportData>();
  CloseRacePages();
  const N_Racer& r = *m_racer;
  const GameData& data = *m_gameData;
  result->Discipline = DisciplineCode::kBuddyGame;
  result->Sex = data.Sex;
  result->Success = r.Disqualified ? 0 : 1;
  if (data.Faultless && r.Falls > 0) result->Success = 0;
  // A positive limit is a time to stay above, as the mode has always ruled it.
  if (data.TimeLimit > 0.0f && data.TimeLimit > r.Time) result->Success = 0;
  result->BuddyTime = r.Time;
  result->BuddyFalls = r.Falls;
  m_gameData.reset();
  return result;
}
