#include "race/RaceSimSolo.h"

#include "core/FormatString.h"
#include "core/Matrix3.h"
#include "race/FixedStep.h"
#include "race/GameData.h"
#include "race/CourseFollowing.h"
#include "race/FollowCamera.h"
#include "race/PlayerShooting.h"
#include "race/Racer.h"
#include "race/RacerControl.h"
#include "race/RacerOutput.h"
#include "race/SkierPhysics.h"
#include "race/Technique.h"
#include "race/ShootLane.h"
#include "race/Sipka.h"
#include "race/SoundCache.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"
#include "race/ai/AiTableMng.h"
#include "race/ai/SplitTable.h"
#include "race/ai/StartPlaces.h"
#include "render/Camera.h"
#include "scene/AnimSound.h"
#include "scene/AnimationFactory2.h"
#include "sound/SoundMng.h"

#include <cmath>

namespace {

constexpr int kSoundStartSignal = 31;

}  // namespace

N_SoloRaceGame::N_SoloRaceGame(std::unique_ptr<GameData> gameData, const N_RaceServices& services)
    : m_gameData(std::move(gameData)), m_services(services) {
  CreateAiLog();
}

N_SoloRaceGame::~N_SoloRaceGame() {
  m_path.reset();
  if (m_racer && m_racer->BreathSlot != -1 && m_services.bodySounds) {
    m_services.bodySounds->ReleaseSoundObj(m_racer->BreathSlot);
  }
  m_racer.reset();
  m_markers.reset();
  m_splitTable.reset();
  DeleteAiLog();
}

void N_SoloRaceGame::Load() {
  m_path = std::make_unique<Ai::N_AiPath>();
  if (m_services.level) {
    m_path->Load(*m_services.level);
  } else {
    m_path->Load();
  }
  m_markers = std::make_unique<N_Sipka>();
  if (!m_markers->Load()) RaceCritical("Failed load sipka !!!!");
}

void N_SoloRaceGame::Update(float dt) {
  if (m_paused) return;
  m_controls.Poll();
  if (m_controls.IsPaused() || !m_racer) return;
  race_step::RunFixedSteps(dt, [this](float s) { return StepOnce(s); });
}

bool N_SoloRaceGame::GetAthleteView(std::int32_t athleteId, const float** block, N_Vector3* point) {
  if (m_racer && Figure() >= 0 && athleteId == Figure()) {
    if (block) *block = &m_racer->Probes[0].x;
    if (point) *point = m_racer->GroundNormal;
    return true;
  }
  if (block) *block = nullptr;
  return false;
}

void N_SoloRaceGame::BuildRacer(const char* what) {
  const GameData& data = *m_gameData;
  StartEntry entry;
  if (data.StartList.empty()) {
    N_AiLog::Write(FormatString("%s: the start list is empty, the default athlete races", what));
  } else {
    entry = data.StartList.front();
  }
  N_AthletProfile* athlete = nullptr;
  if (!data.StartList.empty()) {
    athlete = FindStartAthlete(m_services.athletes, data.Sex, entry.AthleteIndex);
    if (!athlete) {
      N_AiLog::Write(FormatString("%s: athlete %d of sex %d does not exist, the default athlete races", what,
                                  entry.AthleteIndex, data.Sex));
    }
  }
  if (!athlete) athlete = &m_defaultAthlete;
  m_racer = std::make_unique<N_Racer>(*athlete, std::int32_t(data.Laps) - 1, entry.StartTime, entry.AthleteIndex,
                                      false, false);
  N_Racer& r = *m_racer;
  r.ControlKind = 1;
  if (Ai::N_StartPlaces* places = m_path ? m_path->StartPlaces() : nullptr) places->GetSprintStart(r.Pos, r.Heading);
  r.PrevPos = r.Pos;
  if (m_path) {
    m_path->GetStartSector(4, r.Sector);
    r.Stance = m_path->GetShootStance(0);
  }
}

void N_SoloRaceGame::SetUpFigureAndMarkers() {
  if (m_services.figures) {
    m_services.figures->CreateShadowVolumes();
    if (Figure() >= 0) m_services.figures->SetNextAction(Figure(), 18, 30.0f, 0.0f);
  }
  m_markers->CreateShadows();
  m_markers->LoadMapQuad();
  m_positions.reserve(2);
  N_Vector3 starter, starterDir;
  if (m_path) m_path->GetStartBox(starter, starterDir);
  m_markers->SetStarterPlace(starter, starterDir);
}

void N_SoloRaceGame::CreateSplitTable() {
  m_splitTable = std::make_unique<N_SplitTable>();
  m_splitTable->Create(m_gameData->Laps, 1);
  N_Racer* racer = m_racer.get();
  m_splitTable->AddRacers(&racer, 1);
}

void N_SoloRaceGame::StepStartSequence() {
  const N_Racer& r = *m_racer;
  N_RaceHud* hud = m_services.hud;
  if (r.Time >= 0.0f) {
    if (m_statusShown) return;
    m_statusShown = 1;
    if (hud) {
      hud->CloseStartInfo();
      hud->ShowPlayerStatus(r.Athlete->AthletName.c_str(), r.Athlete->Nationality.c_str());
    }
  } else if (r.Time > -kCountdown) {
    if (m_announcePending) {
      m_announcePending = 0;
      if (m_services.soundCache) m_services.soundCache->Play(kSoundStartSignal);
      if (hud) {
        hud->ShowStartInfo(m_gameData->Track, m_gameData->ArcadeLevels != 0, m_gameData->Weather,
                           m_gameData->SnowQuality);
      }
    }
    if (hud) hud->UpdateStartCounter(-r.Time);
  }
}

void N_SoloRaceGame::DrivePlayer(std::int32_t& next, N_Vector3& proposed, float s) {
  N_Racer& r = *m_racer;
  if (m_gameData->Difficulty != 0) {
    ChooseTechniqueManual(r, next, s);
  } else {
    ChooseTechniqueAuto(r, next, s);
  }
  PlayerInput(r, m_controls, s);
  PlayerShooting(r, *m_path, m_controls, s);
  if (const Ai::N_AiTableMng* tables = m_path->AiTables()) {
    SkierPhysicsStep(r, tables->GetAnimPhysicRow(r.Anim), s, proposed);
  }
}

void N_SoloRaceGame::AnimateAndMove(std::int32_t previous, std::int32_t next, const N_Vector3& proposed, float /*s*/) {
  N_Racer& r = *m_racer;
  const Ai::N_AiTableMng* tables = m_path->AiTables();
  r.AnimPhase = ActionProgress();
  const std::int32_t figure = Figure();
  if (tables && figure >= 0 && m_services.figures) {
    const float* row = tables->GetAnimPhysicRow(r.Anim);
    const float rate = row[12] + (row[13] - row[12]) * std::fabs(r.Power);
    m_services.figures->SetActionRate(figure, rate, r.Anim == 4 ? std::fabs(r.Power) : 0.0f,
                                      tables->GetAnimBlendTime(previous, r.Anim));
  }
  m_chosen = next;
  if (figure >= 0 && m_services.figures) m_services.figures->SetNextAction(figure, next, 30.0f, 0.0f);
  N_Vector3 moved;
  FollowSectors(r, proposed, moved, m_gameData->ArcadeLevels != 0, false, false);
  r.Pos = moved;
  FitToGround(r);
}

void N_SoloRaceGame::FollowRacer(float s) {
  N_Racer& r = *m_racer;
  m_splitTable->Update(s);
  if (r.BreathSlot != -1 && m_services.bodySounds) {
    m_services.bodySounds->UpdateBreath(r.BreathSlot, r.Pos.x, r.Pos.y, r.Pos.z, r.Condition, r.HeartRate);
  }
  if (m_services.listener) {
    const N_Vector3 velocity = r.Heading * r.Speed;
    m_services.listener->SetListener(&r.Pos.x, &r.Heading.x, &velocity.x);
  }
  if (r.ShootPhase != 5 && m_services.camera) N_FollowCamera::Follow(*m_services.camera, r, s);
}

void N_SoloRaceGame::RenderArrows(float dt) { RenderRacerMarkers(*m_racer, m_path.get(), *m_markers, m_services.hud, dt); }

void N_SoloRaceGame::RenderRacer(float dt) {
  const N_Racer& r = *m_racer;
  if (Figure() < 0 || !m_services.figures) return;
  N_Matrix3 orientation;
  orientation.FromDirection(r.Heading);
  m_services.figures->RenderFigure(dt, Figure(), r.Pos, orientation, r.StartNumber, r.Athlete, false, true, true);
}

void N_SoloRaceGame::CloseRacePages() {
  N_RaceHud* hud = m_services.hud;
  if (!hud) return;
  hud->CloseSplitTimes();
  hud->HidePlayerStatus();
  hud->CloseShootingPage();
  hud->ClosePenaltyRounds();
  hud->CloseStartInfo();
}

std::int32_t N_SoloRaceGame::Figure() const { return m_racer && m_racer->Athlete ? m_racer->Athlete->Figure : -1; }

std::int32_t N_SoloRaceGame::CurrentAction() const {
  if (Figure() < 0 || !m_services.figures) return m_chosen;
  return m_services.figures->GetCurrentAction(Figure());
}

float N_SoloRaceGame::ActionProgress() const {
  if (Figure() < 0 || !m_services.figures) return 1.0f;
  return m_services.figures->GetActionProgress(Figure());
}
