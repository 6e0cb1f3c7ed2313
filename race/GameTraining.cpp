#include "race/GameTraining.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "race/AthletProfile.h"
#include "race/ExportData.h"
#include "race/GameData.h"
#include "race/AimSway.h"
#include "race/Racer.h"
#include "race/RacerControl.h"
#include "race/SectorEvents.h"
#include "race/ShootLane.h"
#include "race/Shooter.h"
#include "race/ShootingRange.h"
#include "race/Sipka.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "race/ai/SplitTable.h"
#include "scene/AnimSound.h"

namespace {

constexpr int kLaneDraw = 29;  // a lane index is drawn from [0, 29]

}  // namespace

N_GameTraining::N_GameTraining(std::unique_ptr<GameData> gameData, const N_RaceServices& services)
    : N_SoloRaceGame(std::move(gameData), services) {
  if (!m_gameData) {
    if (g_log) {
      g_log->Print("*****************************************\n");
      g_log->Print("*****  GAMEDATA is NULL\t\t\t!!!  ******\n");
      g_log->Print("*****************************************\n");
    }
    return;
  }
  if (m_gameData->Discipline != DisciplineCode::kRunTraining &&
      m_gameData->Discipline != DisciplineCode::kShootingTraining) {
    RaceCritical("Undefined training type");
  }
}

N_GameTraining::~N_GameTraining() = default;

void N_GameTraining::Init() {
  if (g_log) g_log->Print("Game GameTraining Initializing.\n");
  if (!m_path) Load();
  m_path->GetRelayChangeSector();
  if (!m_gameData) RaceCritical("***** N_GameTraining: GAMEDATA is NULL   !!!  ******\n");
  const GameData& data = *m_gameData;
  m_path->SetShootPattern(data.Laps < 4 ? "LSVVV" : "LLSSVVV");
  BuildRacer("N_GameTraining");
  m_shooting = data.Discipline == DisciplineCode::kShootingTraining ? 1 : 0;
  N_Racer& r = *m_racer;
  if (!m_shooting) {
    r.Time = kRunStart;
    // A smaller training factor makes the heart rate change faster; none at or below 0.
    const float scale = data.TrainingScale1 > 0.0f ? data.TrainingScale1 : 1.0f;
    const N_AthletProfile& a = *r.Athlete;
    r.PulseFall = (a.OptPulse * 0.01f * 1.5f + 2.0f) / (a.MaxCondition * 0.004f + 0.6f) / scale;
    r.PulseRise = (a.MaxCondition * 0.004f + ((1.0f - a.OptPulse * 0.01f) * 1.5f + 2.8f) * 1.6666666f) / scale;
    if (m_services.bodySounds) r.BreathSlot = m_services.bodySounds->CreateSoundObj(data.Sex != 0 ? 1 : 0);
  } else {
    m_hasLane = TakeLane();
  }
  SetUpFigureAndMarkers();
  CreateSplitTable();
  if (g_log) g_log->Print("Game GameTraining Initializing done.\n");
}

bool N_GameTraining::TakeLane() {
  N_Racer& r = *m_racer;
  // The draw stays as it is, so the random sequence does; past the range the last lane.
  int k = static_cast<int>(RandomRange(0.0f, float(kLaneDraw)));
  N_ShootLane* lane = m_path->GetStand(k);
  while (!lane && k > 0) lane = m_path->GetStand(--k);
  N_ShootingRange* range = m_path->ShootingRange();
  if (!lane || !range) {
    N_AiLog::Write("N_GameTraining: the range has no lane, no series can be shot");
    return false;
  }
  r.Lane = lane;
  r.Pos = lane->StandPosition();
  r.PrevPos = r.Pos;
  r.Heading = lane->ShootDirection();
  range->Begin(&r, true);
  r.ShootPhase = 5;
  return true;
}

bool N_GameTraining::StepOnce(float s) {
  N_Racer& r = *m_racer;
  m_path->UpdateShootingRange(s);
  if (m_controls.IsEscapeHeld()) r.Finished = 1;  // the clock stands as it is
  r.PrevPos = r.Pos;
  if (r.Finished) return false;
  if (m_shooting) {
    StepShooting(s);
  } else {
    StepRun(s);
  }
  return true;
}

void N_GameTraining::StepRun(float s) {
  N_Racer& r = *m_racer;
  StepStartSequence();
  if (!r.Stopped) r.Time += s;
  m_positions.clear();
  const std::int32_t previous = r.Anim;
  r.Anim = CurrentAction();
  SectorEventsTraining(r, m_splitTable.get());
  RacerPostStep(r, s);
  if (r.Power > 0.1f) m_markers->StartStarter();
  m_positions.push_back(r.Pos);
  // The choosers start from the racer's own animation of the step.
  std::int32_t next = r.Anim;
  N_Vector3 proposed = r.Pos;
  DrivePlayer(next, proposed, s);
  AnimateAndMove(previous, next, proposed, s);
  if (m_statusShown && m_services.hud) {
    // The position is the start number (1), the lap LapsDone + 1, as the time attack.
    m_services.hud->UpdatePlayerStatus(r.Time, r.Speed, r.HeartRate, r.Power, r.Condition, r.StartNumber,
                                       r.LapsDone + 1, m_gameData->Laps);
  }
  m_markers->UpdateMapMarks(m_positions);
  FollowRacer(s);
}

void N_GameTraining::StepShooting(float s) {
  N_Racer& r = *m_racer;
  if (m_controls.IsDevToggle()) {
    ClearAimSway();
  } else {
    SetAimSway(r.ShootSkill, r.Concentration, r.HeartRate, r.Condition, m_gameData->SteadyAim == 0);
  }
  N_ShootingRange* range = m_path->ShootingRange();
  if (m_hasLane && range && range->IsDone()) {
    if (const N_Shooter* shooter = range->Shooter()) r.Misses += shooter->SeriesState().misses;
    r.Lane->ResetTargets();
    range->BeginTrainingSeries();
    r.Bullets = 5;
  }
  r.Time += s;
}

void N_GameTraining::Render(float dt) {
  if (m_controls.IsPaused()) dt = 0.0f;
  if (!m_racer) return;
  m_path->RenderShootTargets(dt);
  if (m_shooting) return;
  m_markers->RenderStarter(dt);
  RenderArrows(dt);
  if (!m_racer->Finished) RenderRacer(dt);
}

std::unique_ptr<ExportData> N_GameTraining::PollResult() {
  if (!m_racer || !m_racer->Finished || m_resultMade) return nullptr;
  m_resultMade = true;
  CloseRacePages();
  N_Racer& r = *m_racer;
  auto result = std::make_unique<ExportData>();
  result->Discipline = m_gameData ? m_gameData->Discipline : 0;
  result->AthleteIndex = r.AthleteIndex;
  result->Time = r.Time;
  if (m_shooting) {
    N_ShootingRange* range = m_path->ShootingRange();
    // The unfinished series counts too, then misses and faults are the racer's.
    if (m_hasLane && range && range->Shooter()) r.Misses += range->Shooter()->SeriesState().misses;
    result->Shots = r.Shots;
    result->Misses = r.Misses;
    result->Faults = r.Misses;
    if (m_hasLane && range) range->End();
  } else {
    result->Faults = r.Falls;
    result->LapsDone = r.LapsDone;
    // Each lap from the lap clocks, then the rest of the run from the last lap clock.
    float previous = 0.0f;
    for (std::int32_t lap = 0; lap < r.LapsDone; ++lap) {
      const float clock = m_splitTable->GetRoundTime(lap, r.StartNumber);
      result->LapTimes.push_back(clock - previous);
      previous = clock;
    }
    result->LapTimes.push_back(r.Time - previous);
  }
  m_gameData.reset();
  return result;
}
