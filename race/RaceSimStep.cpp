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

#include <algorithm>
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
  OrderField(dt);
  for (std::size_t i = 0; i < m_racers.size(); ++i) {
    StepRacer(i, dt, controls);
    Reorder(i);
  }

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

namespace {

/// The pilot looks at racers within 300 units; one more keeps the rounding of the
/// distance out of the window's edge.
constexpr float kNearReach = 301.0f;

}  // namespace

void N_RaceSim::OrderField(float dt) {
  m_order.clear();
  m_place.assign(m_racers.size(), -1);
  m_keys.resize(m_racers.size());
  for (std::size_t i = 0; i < m_racers.size(); ++i) {
    const N_Racer& r = *m_racers[i];
    m_keys[i] = r.Pos.x;
    // A racer whose clock reaches 0 in this step starts in it.
    if (!r.Finished && r.Time + dt >= 0.0f) m_order.push_back(std::uint8_t(i));
  }
  std::sort(m_order.begin(), m_order.end(), [this](std::uint8_t a, std::uint8_t b) { return m_keys[a] < m_keys[b]; });
  for (std::size_t k = 0; k < m_order.size(); ++k) m_place[m_order[k]] = std::int32_t(k);
}

void N_RaceSim::Reorder(std::size_t i) {
  std::int32_t k = m_place[i];
  m_keys[i] = m_racers[i]->Pos.x;
  if (k < 0) return;
  const float x = m_keys[i];
  const auto swap = [this](std::int32_t a, std::int32_t b) {
    std::swap(m_order[std::size_t(a)], m_order[std::size_t(b)]);
    m_place[m_order[std::size_t(a)]] = a;
    m_place[m_order[std::size_t(b)]] = b;
  };
  while (k > 0 && m_keys[m_order[std::size_t(k - 1)]] > x) {
    swap(k - 1, k);
    --k;
  }
  while (std::size_t(k + 1) < m_order.size() && m_keys[m_order[std::size_t(k + 1)]] < x) {
    swap(k, k + 1);
    ++k;
  }
}

void N_RaceSim::GatherNear(std::size_t i) {
  m_nearIndex.clear();
  const float x = m_racers[i]->Pos.x;
  const auto first = std::lower_bound(m_order.begin(), m_order.end(), x - kNearReach,
                                      [this](std::uint8_t a, float v) { return m_keys[a] < v; });
  const float y = m_racers[i]->Pos.y;
  for (auto it = first; it != m_order.end() && m_keys[*it] <= x + kNearReach; ++it) {
    if (*it != i && std::fabs(m_racers[*it]->Pos.y - y) <= kNearReach) m_nearIndex.push_back(*it);
  }
  // The pilot takes the first racer in its way in racer order.
  std::sort(m_nearIndex.begin(), m_nearIndex.end());
  m_near.clear();
  for (const std::uint8_t k : m_nearIndex) m_near.push_back(m_racers[k].get());
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
    GatherNear(i);
    AiPilot(r, *m_path, m_near, dt, proposed);
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
