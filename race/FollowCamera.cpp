#include "race/FollowCamera.h"

#include "race/Racer.h"
#include "race/ai/AiSector.h"
#include "render/Camera.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kDegToRad = 0.017453292f;
/// A heading or offset shorter than this (horizontally) has no direction.
constexpr float kNoDirection = 1e-3f;
/// How many sectors the ground look-up walks from the racer's.
constexpr int kMaxSectorHops = 12;
/// Classify's bits: beyond the end plane, before the start plane.
constexpr int kBeyondEnd = 1, kBeforeStart = 2;

float Ease(float value, float rest, float rate, float dt) { return rest + (value - rest) * std::exp(-rate * dt); }

}  // namespace

N_Vector3 N_FollowCamera::LookPoint(const N_Racer& racer) {
  return {racer.Pos.x, racer.Pos.y, racer.Pos.z + kLookRaise};
}

float N_FollowCamera::GroundUnder(const N_Racer& racer, const N_Vector3& point) {
  const Ai::N_AiSector* sector = racer.Sector;
  if (!sector) return racer.Pos.z;
  // Walk towards the sector whose span holds the point; a point outside both ends of
  // neighbours (the outside of a bend) keeps the last sector reached.
  int lastStep = 0;
  for (int hop = 0; hop < kMaxSectorHops; ++hop) {
    const int where = sector->Classify(point);
    const int step = (where & kBeforeStart) ? -1 : (where & kBeyondEnd) ? 1 : 0;
    const Ai::N_AiSector* next = step < 0 ? sector->Previous() : step > 0 ? sector->Next() : nullptr;
    if (!next || step == -lastStep) break;
    sector = next;
    lastStep = step;
  }
  float z = point.z;
  sector->GetGroundHeight(point, z);
  return z;
}

void N_FollowCamera::Follow(N_Camera& camera, const N_Racer& racer, float dt) {
  dt = std::clamp(dt, 0.0f, 0.1f);
  const N_Vector3 look = LookPoint(racer);

  // Where the camera stands round the skier, seen from above.
  const float ox = camera.position.x - racer.Pos.x, oy = camera.position.y - racer.Pos.y;
  float distance = std::hypot(ox, oy);
  float bx = -racer.Heading.x, by = -racer.Heading.y;  // straight behind him
  const float heading = std::hypot(bx, by);
  if (heading < kNoDirection) {
    // No heading to go by: stay on the side the camera is on (or any, on top of him).
    if (distance < kNoDirection) {
      bx = -1.0f;
      by = 0.0f;
    } else {
      bx = ox / distance;
      by = oy / distance;
    }
  } else {
    bx /= heading;
    by /= heading;
  }
  float angle = 0.0f;  // from behind him to the camera, counter-clockwise
  if (distance >= kNoDirection) angle = std::atan2(bx * oy - by * ox, bx * ox + by * oy);
  const float maxLag = kMaxLagDegrees * kDegToRad;
  angle = std::clamp(angle * std::exp(-kSwingRate * dt), -maxLag, maxLag);
  distance = std::clamp(Ease(distance, kDistance, kDistanceRate, dt), kMinDistance, kMaxDistance);
  const float c = std::cos(angle), s = std::sin(angle);
  N_Vector3 eye{racer.Pos.x + (bx * c - by * s) * distance, racer.Pos.y + (bx * s + by * c) * distance, 0.0f};

  // The height: eased towards its rest above the feet, within its band above the look
  // point, and never less than the clearance above the snow.
  const float above = Ease(camera.position.z - look.z, kEyeRaise - kLookRaise, kHeightRate, dt);
  eye.z = look.z + std::clamp(above, kMinAbove, kMaxAbove);
  eye.z = std::max(eye.z, GroundUnder(racer, eye) + kClearance);
  camera.LookAt(&eye, &look);
}
