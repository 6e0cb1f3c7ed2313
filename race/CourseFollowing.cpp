#include "race/CourseFollowing.h"

#include "core/Matrix3.h"
#include "core/Plane.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/ai/AiSector.h"

#include <cmath>

namespace {

/// The ground probes in the racer's frame (x forward, y left): front, left rear, right rear.
constexpr N_Vector3 kProbeOffsets[3] = {{40.0f, 0.0f, 0.0f}, {-35.0f, 12.0f, 0.0f}, {-35.0f, -12.0f, 0.0f}};
/// A front probe closer than this gives no slope.
constexpr float kMinProbeDistance = 1e-07f;
/// The cosine within which a racer faces its lane.
constexpr float kFacingCosine = 0.98f;

}  // namespace

void FitToGround(N_Racer& racer) {
  N_Matrix3 frame;
  frame.FromDirection(racer.Heading);
  for (int i = 0; i < 3; ++i) {
    N_Vector3 probe;
    frame.Transform(kProbeOffsets[i], probe);
    probe = probe + racer.Pos;
    if (racer.Sector) racer.Sector->GetGroundHeight(probe, probe.z);
    racer.Probes[i] = probe;
  }
  N_Plane ground;
  if (PlaneFromPoints(ground, racer.Probes[0], racer.Probes[1], racer.Probes[2])) {
    racer.GroundNormal = ground.normal;
    racer.Pos.z += Vec3Dot(ground.normal, racer.Pos) + ground.distance;
  }
  const N_Vector3 ahead = racer.Probes[0] - racer.Pos;
  const float distance = std::sqrt(Vec3Dot(ahead, ahead));
  racer.Heading.z = distance < kMinProbeDistance ? 0.0f : ahead.z / distance;
}

bool IsFacingLane(const N_Racer& racer, const Ai::N_AiPath& /*path*/, N_Vector3& wanted) {
  if ((racer.Stance != 1 && racer.Stance != 2) || !racer.Lane) return true;
  const N_Vector3& shoot = racer.Lane->ShootDirection();
  wanted = racer.Stance == 1 ? shoot : N_Vector3{shoot.y, -shoot.x, 0.0f};
  return Vec3Dot(wanted, racer.Heading) >= kFacingCosine;
}
