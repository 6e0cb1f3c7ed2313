#include "race/PlayerShooting.h"

#include "core/Intersection.h"
#include "core/PlayerControls.h"
#include "race/AimSway.h"
#include "race/AthletProfile.h"
#include "race/CourseFollowing.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/ShootStand.h"
#include "race/ShootingCues.h"
#include "race/ShootingRange.h"
#include "race/ai/AiLog.h"
#include "race/ai/AiPath.h"

#include <algorithm>

namespace {

constexpr std::int32_t kPreparationProne = 23, kPreparationStanding = 29;
constexpr std::int32_t kEndProne = 25, kEndStanding = 31;
constexpr float kKampfgeistSeconds = 20.0f;

bool Played(const N_Racer& racer, std::int32_t prone, std::int32_t standing) {
  return (racer.Anim == prone || racer.Anim == standing) && racer.AnimPhase >= 1.0f;
}

void Hold(N_Racer& racer) {
  if (racer.Lane) racer.Pos = racer.Lane->StandPosition();
  racer.Power = 0.0f;
  racer.Steer = 0.0f;
  racer.Speed = 0.0f;
}

void Step(N_Racer& racer, Ai::N_AiPath& path, const N_PlayerControls& controls) {
  N_ShootingRange* range = path.ShootingRange();
  N_ShootLane* lane = racer.Lane;
  if (racer.ShootPhase >= 0 && racer.ShootPhase <= 8 && !lane) {
    LeaveLane(racer, path);
    return;
  }
  switch (racer.ShootPhase) {
    case 0: racer.ShootPhase = 1; break;
    case 1: {
      N_ShootStand stand;
      if (!FindShootStand(path, *lane, stand)) {
        LeaveLane(racer, path);
        break;
      }
      if (SegmentIntersectsBox(racer.PrevPos, racer.Pos - racer.PrevPos, stand.approach)) {
        racer.Pos = lane->StandPosition();
        racer.ShootPhase = 3;
      }
      break;
    }
    case 3: {
      racer.Pos = lane->StandPosition();
      racer.Power = 0.0f;
      racer.Speed = 0.0f;
      N_Vector3 direction;
      if (IsFacingLane(racer, path, direction)) racer.ShootPhase = 4;
      break;
    }
    case 4:
      N_AiLog::Write("E_R_START_SHOOT");
      Hold(racer);
      if (Played(racer, kPreparationProne, kPreparationStanding)) {
        if (range) range->Begin(&racer, false);
        ShootingCues().HidePlayerStatus();
        racer.ShootPhase = 5;
      }
      break;
    case 5:
      Hold(racer);
      if (controls.IsDevToggle()) {
        ClearAimSway();
      } else {
        SetAimSway(racer.ShootSkill, racer.Concentration, racer.HeartRate, racer.Condition, racer.Stance == 1);
      }
      // Without a rifle there is no series to wait for: every target still stands.
      if (!range || !range->Shooter() || range->IsDone()) {
        racer.PenaltyLoops = lane->StandingCount();
        racer.Misses += racer.PenaltyLoops;
        if (range) range->End();
        racer.ShootPhase = 6;
      }
      break;
    case 6:
      Hold(racer);
      if (Played(racer, kEndProne, kEndStanding)) {
        if (racer.PenaltyLoops > 0) {
          racer.ShowPenalty = 1;
          ShootingCues().ShowPenaltyRounds(racer.PenaltyLoops);
        }
        if (racer.Athlete) {
          ShootingCues().ShowPlayerStatus(racer.Athlete->AthletName.c_str(), racer.Athlete->Nationality.c_str());
        }
        racer.ShootPhase = 8;
      }
      break;
    case 8: LeaveLane(racer, path); break;
    default: break;
  }
}

void Extras(N_Racer& racer, const N_PlayerControls& controls, float dt) {
  if (controls.IsDevKeyF()) {
    racer.KampfgeistActive = 1;
    racer.KampfgeistTimer = kKampfgeistSeconds;
    racer.Condition = std::min(1.0f, racer.Condition + racer.GamenessBoost);
  }
  if (controls.IsDevKeyR()) {
    racer.Misses -= racer.PenaltyLoops;
    racer.PenaltyLoops = 0;
  }
  if (controls.IsDevKeyT()) {
    if (racer.Time > 60.0f) {
      racer.Time -= 60.0f;
    } else if (racer.Time > 30.0f) {
      racer.Time -= 30.0f;
    }
  }
  if (racer.KampfgeistActive) {
    racer.KampfgeistTimer -= dt;
    if (racer.KampfgeistTimer < 0.0f) racer.KampfgeistActive = 0;
  }
  if (racer.Holding) racer.Steer = 0.0f;
  if (racer.Condition < 0.0f) {
    racer.Steer = 0.0f;
    racer.Power = 0.0f;
  }
}

}  // namespace

void PlayerShooting(N_Racer& racer, Ai::N_AiPath& path, const N_PlayerControls& controls, float dt) {
  Step(racer, path, controls);
  Extras(racer, controls, dt);
}
