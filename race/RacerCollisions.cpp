#include "race/RacerCollisions.h"

#include "core/Intersection.h"
#include "core/Random.h"
#include "race/Racer.h"

namespace {

constexpr float kRadius = 20.0f;
/// Squared distance within which another racer counts (300 units).
constexpr float kNearSq = 90000.0f;

/// A draw weighted by concentration: a focused racer draws high and keeps its feet.
float Steadiness(const N_Racer& racer) {
  return RandomRange(0.0f, 1.0f) * (1.0f - racer.Concentration) + racer.Concentration;
}

}  // namespace

void ResolveCollisions(N_Racer& racer, N_RacerList racers, N_Vector3& proposed) {
  for (N_Racer* other : racers) {
    if (!other || other == &racer || other->Time < 0.0f || other->Finished) continue;
    const N_Vector3 apart = other->Pos - racer.Pos;
    if (Vec3Dot(apart, apart) >= kNearSq) continue;
    float t = 0.0f;
    if (!SweptSpheresCollide(racer.Pos, proposed, other->Pos, other->Pos, kRadius, kRadius, &t)) continue;
    proposed = racer.Pos + (proposed - racer.Pos) * t;
    const float a = Steadiness(racer);
    const float b = Steadiness(*other);
    if (b <= a) {
      other->FallState = 1;
    } else {
      racer.FallState = 1;
    }
  }
}
