#include "race/GameBodyGamesShoot.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "race/AimSway.h"
#include "race/ExportData.h"
#include "race/GameData.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/Shooter.h"
#include "race/ShootingRange.h"
#include "race/SoundCache.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "render/ShaderMng.h"
#include "render/TextureMng.h"
#include "scene/SceneAccess.h"

namespace {

constexpr int kSoundStartSignal = 31;
constexpr float kLaneDraw = 29.0f;  // a lane index is drawn from [0, 29]

}  // namespace

N_GameBodyGamesShoot::N_GameBodyGamesShoot(std::unique_ptr<GameData> gameData, const N_RaceServices& services)
    : N_SoloRaceGame(std::move(gameData), services) {
  if (!m_gameData && g_log) {
    g_log->Print("*******************************************\n");
    g_log->Print("** GameBodyGamesShoot GAMEDATA is NULL !!!**\n");
    g_log->Print("*******************************************\n");
  }
}

N_GameBodyGamesShoot::~N_GameBodyGamesShoot() = default;

void N_GameBodyGamesShoot::Load() {
  m_path = std::make_unique<Ai::N_AiPath>();
  if (m_services.level) {
    m_path->Load(*m_services.level);
  } else {
    m_path->Load();
  }
  if (g_scene.shaderMng) g_scene.shaderMng->LoadShaders();
  if (g_textureMng) g_textureMng->PurgeTextures();
}

void N_GameBodyGamesShoot::Init() {
  if (g_log) g_log->Print("Game GameBodyGamesShoot Initializing.\n");
  if (!m_path) Load();
  m_path->GetRelayChangeSector();
  if (!m_gameData) RaceCritical("***** GameBodyGamesShoot: GAMEDATA is NULL  !!!  ******\n");
  const GameData& data = *m_gameData;
  StartEntry entry;
  N_AthletProfile* athlete = nullptr;
  if (!data.StartList.empty()) {
    entry = data.StartList.front();
    athlete = FindStartAthlete(m_services.athletes, data.Sex, entry.AthleteIndex);
  }
  if (!athlete) {
    N_AiLog::Write(FormatString("N_GameBodyGamesShoot: athlete %d of sex %d does not exist, the default athlete shoots",
                                entry.AthleteIndex, data.Sex));
    athlete = &m_defaultAthlete;
  }
  m_racer = std::make_unique<N_Racer>(*athlete, std::int32_t(data.Laps), 0.0f, entry.AthleteIndex, false, false);
  N_Racer& r = *m_racer;
  r.ControlKind = 1;
  r.Stance = data.Sway ? 1 : 2;
  m_path->SetShootPattern(data.Sway ? "SSS" : "LLL");
  // The draw stays as it is, so the random sequence does; past the range the last lane.
  int k = static_cast<int>(RandomRange(0.0f, kLaneDraw));
  N_ShootLane* lane = m_path->GetStand(k);
  while (!lane && k > 0) lane = m_path->GetStand(--k);
  if (lane && m_path->ShootingRange()) {
    m_lane = k;
    r.Lane = lane;
    r.Pos = lane->StandPosition();
    r.PrevPos = r.Pos;
    r.Heading = lane->ShootDirection();
  } else {
    N_AiLog::Write("N_GameBodyGamesShoot: the range has no lane, the attempt ends at once");
  }
  if (g_log) g_log->Print("Game GameBodyGamesShoot Initializing done.\n");
}

std::int32_t N_GameBodyGamesShoot::SeriesMisses() const {
  const N_ShootingRange* range = m_path ? m_path->ShootingRange() : nullptr;
  const N_Shooter* shooter = range ? range->Shooter() : nullptr;
  return m_lane >= 0 && shooter ? shooter->SeriesState().misses : 0;
}

void N_GameBodyGamesShoot::Finish(bool aborted) {
  m_racer->Finished = 1;
  if (aborted) m_racer->Disqualified = 1;
}

void N_GameBodyGamesShoot::Update(float dt) {
  if (m_paused || !m_racer || m_racer->Finished) return;
  N_Racer& r = *m_racer;
  const GameData& data = *m_gameData;
  m_controls.Poll();
  if (m_controls.IsEscapeHeld()) Finish(true);  // the rules below still look at this frame
  if (m_controls.IsPaused()) return;
  N_ShootingRange* range = m_path->ShootingRange();
  if (m_lane < 0 || !range) {
    Finish(true);
    return;
  }
  if (m_firstStep) {
    range->Begin(&r, true);
    m_firstStep = 0;
  }
  if (m_controls.IsDevToggle()) {
    ClearAimSway();
  } else {
    SetAimSway(r.ShootSkill, r.Concentration, r.HeartRate, r.Condition, data.Sway != 0);
  }
  m_path->UpdateShootingRange(dt);
  r.Time += dt;
  if (data.TimeLimit > 0.0f) {
    if (r.Time >= data.TimeLimit) {
      r.Finished = 1;
      r.Time = data.TimeLimit;
      return;
    }
    if (data.TimeLimit - r.Time < kLastSeconds && m_services.soundCache) m_services.soundCache->Play(kSoundStartSignal);
  }
  const std::int32_t seriesMisses = SeriesMisses();
  // Shots counts every shot: the hits are the shots less every miss.
  if (data.TargetHits > 0 && data.TargetHits <= r.Shots - (r.Misses + seriesMisses)) {
    r.Finished = 1;
    return;
  }
  if (data.ShotLimit > 0 && data.ShotLimit <= r.Shots) {
    r.Finished = 1;
    return;
  }
  if (data.Faultless && seriesMisses > 0) {
    Finish(true);
    return;
  }
  if (range->IsDone()) {
    r.Misses += seriesMisses;
    r.Lane->ResetTargets();
    range->BeginTrainingSeries();
    r.Bullets = 5;
  }
}

void N_GameBodyGamesShoot::Render(float dt) {
  if (m_paused || !m_path) return;
  m_path->RenderShootTargets(m_controls.IsPaused() ? 0.0f : dt);
}

std::unique_ptr<ExportData> N_GameBodyGamesShoot::PollResult() {
  if (!m_racer || !m_racer->Finished || m_resultMade) return nullptr;
  m_resultMade = true;
  N_Racer& r = *m_racer;
  r.Misses += SeriesMisses();
  auto result = std::make_unique<ExportData>();
  result->Discipline = DisciplineCode::kBuddyGame;
  result->Sex = m_gameData->Sex;
  result->Success = r.Disqualified ? 0 : 1;
  result->BuddyTime = r.Time;
  result->BuddyMisses = r.Misses;
  result->BuddyShots = r.Shots;
  if (N_ShootingRange* range = m_path->ShootingRange(); range && m_lane >= 0 && !m_firstStep) range->End();
  m_gameData.reset();
  return result;
}

bool N_GameBodyGamesShoot::GetAthleteView(std::int32_t, const float** block, N_Vector3*) {
  if (block) *block = nullptr;
  return false;
}
