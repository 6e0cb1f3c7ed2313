// N_RaceSim's step and render.
#include "core/Matrix3.h"
#include "core/PlayerControls.h"
#include "race/AthleteGlow.h"
#include "race/GameData.h"
#include "race/RaceSim.h"
#include "race/AiPilot.h"
#include "race/CourseFollowing.h"
#include "race/FollowCamera.h"
#include "race/PlayerShooting.h"
#include "race/Racer.h"
#include "race/RacerCollisions.h"
#include "race/RacerControl.h"
#include "race/RacerOutput.h"
#include "race/SkierPhysics.h"
#include "race/Technique.h"
#include "race/SectorEvents.h"
#include "race/ShootLane.h"
#include "race/Sipka.h"
#include "race/SoundCache.h"
#include "race/ai/AiPath.h"
#include "race/ai/AiTableMng.h"
#include "race/ai/SplitTable.h"
#include "render/Camera.h"
#include "scene/AnimSound.h"
#include "scene/AnimationFactory2.h"
#include "sound/SoundMng.h"

#include <cmath>

namespace {

constexpr int kSoundStartSignal = 31;
constexpr int kSoundStartMass = 32;

}  // namespace

void N_RaceSim::Step(float dt, const N_PlayerControls* controls) {
  if (!m_followed) return;
  ++m_steps;
  if (controls && controls->IsEscapeHeld()) m_stop = 1;
  StepStartPhase();

  m_positions.clear();
  m_raceClock += dt;
  for (std::size_t i = 0; i < m_racers.size(); ++i) StepRacer(i, dt, controls);

  N_Racer& followed = *m_followed;
  if (N_SoundMng* listener = m_services.listener) {
    const N_Vector3 velocity = followed.Heading * followed.Speed;
    listener->SetListener(&followed.Pos.x, &followed.Heading.x, &velocity.x);
  }
  if (m_statusShown && m_services.hud) {
    m_services.hud->UpdatePlayerStatus(followed.Time, followed.Speed, followed.HeartRate, followed.Power,
                                       followed.Condition, followed.Position, followed.LapsDone + 1,
                                       m_gameData ? m_gameData->Laps : 0);
  }
  if (followed.Finished) m_stop = 1;
  m_markers->UpdateMapMarks(m_positions);
  m_splitTable->Update(dt);
  if (followed.ShootPhase != 5) FollowCamera(dt);
}

void N_RaceSim::StepStartPhase() {
  const float t = m_followed->Time;
  N_RaceHud* hud = m_services.hud;
  if (t > -kCountdown && t < 0.0f) {
    if (m_announcePending) {
      m_announcePending = 0;
      if (m_services.soundCache) {
        const bool mass = m_gameData && m_gameData->Discipline == DisciplineCode::kMassStart;
        m_services.soundCache->Play(mass ? kSoundStartMass : kSoundStartSignal);
      }
      if (hud && m_gameData) {
        hud->ShowStartInfo(m_gameData->Track, m_gameData->ArcadeLevels != 0, m_gameData->Weather,
                           m_gameData->SnowQuality);
      }
    }
    if (hud) hud->UpdateStartCounter(-t);
  } else if (t >= 0.0f && !m_statusShown) {
    m_statusShown = 1;
    if (hud) {
      hud->CloseStartInfo();
      const N_AthletProfile* athlete = m_followed->Athlete;
      hud->ShowPlayerStatus(athlete ? athlete->AthletName.c_str() : "", athlete ? athlete->Nationality.c_str() : "");
    }
  }
}

void N_RaceSim::StepRacer(std::size_t i, float dt, const N_PlayerControls* controls) {
  static const N_PlayerControls kNoControls;  // the passes: nothing held
  N_Racer& r = *m_racers[i];
  r.PrevPos = r.Pos;
  if (r.Finished) return;
  const bool pursuit = m_gameData && m_gameData->Discipline == DisciplineCode::kHunting;
  // A pursuit racer's clock is the race clock plus the seconds charged or given to it
  // on the way (the unskied penalty loops, the developer time key), kept as its offset
  // from the race clock.
  float& offset = m_clockOffsets[i];
  if (r.Time < 0.0f) {
    r.Time += dt;
    if (pursuit && r.Time > 0.0f) r.Time = m_raceClock + offset;
    return;
  }
  if (!r.Stopped) r.Time = pursuit ? m_raceClock + offset : r.Time + dt;
  const float clock = r.Time;

  const std::int32_t previous = r.Anim;
  r.Anim = CurrentAction(i);
  // The choosers start from the racer's own animation, never from another racer's choice.
  std::int32_t next = r.Anim;
  N_Vector3 proposed = r.Pos;
  SectorEvents(r, *m_path, m_splitTable.get(), false, m_gameData && m_gameData->ArcadeLevels != 0, true);
  RacerPostStep(r, dt);
  const Ai::N_AiTableMng* tables = m_path->AiTables();
  if (r.ControlKind == 1) {
    m_positions.insert(m_positions.begin(), r.Pos);
    if (r.Power > 0.1f) m_markers->StartStarter();
    if (m_gameData && m_gameData->Difficulty != 0) {
      ChooseTechniqueManual(r, next, dt);
    } else {
      ChooseTechniqueAuto(r, next, dt);
    }
    const N_PlayerControls& keys = controls ? *controls : kNoControls;
    PlayerInput(r, keys, dt);
    PlayerShooting(r, *m_path, keys, dt);
    if (tables) SkierPhysicsStep(r, tables->GetAnimPhysicRow(r.Anim), dt, proposed);
    ResolveCollisions(r, m_field, proposed);
  } else {
    m_positions.push_back(r.Pos);
    ChooseTechniqueAuto(r, next, dt);
    if (tables) SkierPhysicsStep(r, tables->GetAnimPhysicRow(r.Anim), dt, proposed);
    AiPilot(r, *m_path, m_field, dt, proposed);
  }
  m_splitTable->GetRank(r.StartNumber, r.Position);

  const std::int32_t figure = FigureOf(r);
  if (tables) {
    const float* row = tables->GetAnimPhysicRow(r.Anim);
    const float rate = row[12] + (row[13] - row[12]) * std::fabs(r.Power);
    r.AnimPhase = ActionProgress(r);
    if (figure >= 0 && m_services.figures) {
      m_services.figures->SetActionRate(figure, rate, r.Anim == 4 ? std::fabs(r.Power) : 0.0f,
                                        tables->GetAnimBlendTime(previous, r.Anim));
    }
  } else {
    r.AnimPhase = ActionProgress(r);
  }
  m_chosen[i] = next;
  if (figure >= 0 && m_services.figures) m_services.figures->SetNextAction(figure, next, 30.0f, 0.0f);
  N_Vector3 moved;
  FollowSectors(r, proposed, moved, m_gameData && m_gameData->ArcadeLevels != 0, false, true);
  r.Pos = moved;
  FitToGround(r);
  if (pursuit) offset += r.Time - clock;
  if (r.BreathSlot != -1 && m_services.bodySounds) {
    m_services.bodySounds->UpdateBreath(r.BreathSlot, r.Pos.x, r.Pos.y, r.Pos.z, r.Condition, r.HeartRate);
  }
}

void N_RaceSim::FollowCamera(float dt) {
  if (m_services.camera) N_FollowCamera::Follow(*m_services.camera, *m_followed, dt);
}

void N_RaceSim::Render(float dt) {
  if (!m_followed) return;
  RenderRacerMarkers(*m_followed, m_path, *m_markers, m_services.hud, dt);
  m_markers->RenderStarter(dt);
  if (!m_services.figures) return;
  for (const auto& racer : m_racers) {
    const N_Racer& r = *racer;
    const std::int32_t figure = FigureOf(r);
    if (r.Finished || r.Time < m_startRenderThreshold || figure < 0) continue;
    N_Matrix3 orientation;
    orientation.FromDirection(r.Heading);
    if (r.KampfgeistActive) AthleteGlowOn(*r.Athlete);
    m_services.figures->RenderFigure(dt, figure, r.Pos, orientation, r.StartNumber, r.Athlete, false, true, true);
    if (r.KampfgeistActive) AthleteGlowOff(*r.Athlete);
  }
}
