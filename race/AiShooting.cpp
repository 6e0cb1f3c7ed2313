#include "race/AiShooting.h"

#include "core/Intersection.h"
#include "core/Random.h"
#include "race/CourseFollowing.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/ShootStand.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEntryRadiusSq = 3600.0;
constexpr double kStandReachedSq = 500.0;
constexpr double kNearSq = 100.0;
constexpr float kApproachSpeed = 2.0f;
constexpr float kSpeedPerUnit = 0.0125f;
constexpr float kStandSpeed = 1.5f;
constexpr float kExitSpeed = 3.0f;
constexpr float kExitFacing = 0.9f;
constexpr float kHitShare = 0.6666667f;
constexpr float kShotWait = 3.9f;
constexpr float kShotSpread = 2.6f;
constexpr float kConcentrationStep = 0.05f;
constexpr std::int32_t kPreparationProne = 23, kPreparationStanding = 29;
constexpr std::int32_t kEndProne = 25, kEndStanding = 31;

bool Played(const N_Racer& racer, std::int32_t prone, std::int32_t standing) {
  return (racer.Anim == prone || racer.Anim == standing) && racer.AnimPhase >= 1.0f;
}

void Shoot(N_Racer& racer, N_ShootLane& lane, float dt) {
  if (racer.ShotTimer > 0.0f) {
    racer.ShotTimer -= dt;
    return;
  }
  const float r = RandomRange(0.3f, 1.15f);
  --racer.Bullets;
  racer.ShotTimer = (1.0f - racer.ShootSkill) * r * kShotSpread + kShotWait;
  const float u = RandomRange(0.0f, 1.0f);
  const float change = (1.0f - racer.Coolness) * kConcentrationStep;
  if (u >= racer.ShootSkill * kHitShare) {
    ++racer.Falls;
    racer.PenaltyLoops = lane.StandingCount();
    if (RandomRange(0.0f, 1.0f) > racer.Coolness) racer.Concentration = std::max(0.0f, racer.Concentration - change);
  } else {
    lane.HitFirstStanding();
    racer.PenaltyLoops = lane.StandingCount();
    if (RandomRange(0.0f, 1.0f) < racer.Coolness) racer.Concentration = std::min(1.0f, racer.Concentration + change);
  }
}

}  // namespace

N_Vector3 AiShooting(N_Racer& racer, Ai::N_AiPath& path, float dt, N_Vector3& proposed) {
  N_ShootStand stand;
  N_ShootLane* lane = racer.Lane;
  if (!lane || !FindShootStand(path, *lane, stand)) {
    LeaveLane(racer, path);
    return racer.Heading;
  }
  const N_Vector3& standPos = lane->StandPosition();
  const double standSq = (standPos - racer.Pos).LengthSq();
  switch (racer.ShootPhase) {
    case 0:
      if ((stand.entry - racer.Pos).LengthSq() < kEntryRadiusSq) {
        racer.ShootPhase = 1;
        return racer.Heading;
      }
      return DirectionTo(racer.Pos, stand.entry);
    case 1:
      if (SegmentIntersectsBox(racer.Pos, standPos - racer.Pos, stand.approach) || standSq <= kStandReachedSq) {
        racer.ShootPhase = 2;
      } else {
        racer.Speed = std::max(racer.Speed, kApproachSpeed);
        racer.Speed = std::min(racer.Speed, kSpeedPerUnit * float(std::sqrt(standSq)));
      }
      return DirectionTo(racer.Pos, standPos);
    case 2:
      if (standSq >= kNearSq) {
        racer.Heading = DirectionTo(racer.Pos, standPos);
        racer.Power = 0.0f;
        racer.Speed = kStandSpeed;
      } else {
        proposed = standPos;
        racer.ShootPhase = 3;
      }
      return DirectionTo(racer.Pos, standPos);
    case 3: {
      racer.Power = 0.0f;
      racer.Speed = 0.0f;
      N_Vector3 direction = racer.Heading;
      if (IsFacingLane(racer, path, direction)) racer.ShootPhase = 4;
      return direction;
    }
    case 4:
      if (Played(racer, kPreparationProne, kPreparationStanding)) {
        racer.ShootPhase = 5;
        // Each stop's first shot comes at once, not only the race's first.
        racer.ShotTimer = -1.0f;
      }
      return racer.Heading;
    case 5:
      if (racer.Bullets >= 1) {
        Shoot(racer, *lane, dt);
      } else {
        racer.Misses += racer.PenaltyLoops;
        racer.ShootPhase = 6;
      }
      return racer.Heading;
    case 6:
      if (Played(racer, kEndProne, kEndStanding)) racer.ShootPhase = 7;
      return racer.Heading;
    case 7: {
      racer.Power = 0.0f;
      racer.Speed = 0.0f;
      const N_Vector3 direction = DirectionTo(racer.Pos, stand.exit);
      if (Vec3Dot(direction, racer.Heading) > kExitFacing) racer.ShootPhase = 8;
      return direction;
    }
    case 8: {
      const N_Vector3 direction = DirectionTo(racer.Pos, stand.exit);
      if ((stand.exit - racer.Pos).LengthSq() >= kNearSq) {
        racer.Heading = direction;
        racer.Speed = kExitSpeed;
      } else {
        LeaveLane(racer, path);
      }
      return direction;
    }
    default: return racer.Heading;
  }
}

void AiShootingHold(N_Racer& racer, N_Vector3& proposed) {
  if (racer.ShootPhase < 4 || racer.ShootPhase > 6 || !racer.Lane) return;
  racer.Pos = racer.Lane->StandPosition();
  proposed = racer.Pos;
  racer.Power = 0.0f;
  racer.Steer = 0.0f;
  racer.Speed = 0.0f;
}
