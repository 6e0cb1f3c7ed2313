#include "race/CourseFollowing.h"

#include "core/Matrix3.h"
#include "core/Plane.h"
#include "race/PenaltyRounds.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/ai/AiSector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

/// The ground probes in the racer's frame (x forward, y left): front, left rear, right rear.
constexpr N_Vector3 kProbeOffsets[3] = {{40.0f, 0.0f, 0.0f}, {-35.0f, 12.0f, 0.0f}, {-35.0f, -12.0f, 0.0f}};
/// A front probe closer than this gives no slope.
constexpr float kMinProbeDistance = 1e-07f;
/// The cosine within which a racer faces its lane.
constexpr float kFacingCosine = 0.98f;

/// Junction flags of group 3 and 4.
constexpr std::uint8_t kToNormal = 0x01 | 0x02 | 0x04;  ///< "Trigger_Mass2Normal", "..Sprint2..", "..Relay2.."
constexpr std::uint8_t kNormalToCiel = 0x08;
constexpr std::uint8_t kPenaltyPath = 0x10;
constexpr std::uint8_t kShortCutStart = 0x01;
constexpr std::uint8_t kShortCutEnd = 0x02;
/// What a racer that passes the penalty fork without having shot owes.
constexpr std::int32_t kUnshotPenalty = 5;
/// A racer with at least this many cartridges has not shot at this range.
constexpr std::int32_t kUnshotBullets = 4;

using Ai::N_AiSector;

/// The last junction of the racer's sector on a path of the kind; with a point, only
/// one that holds it.
N_AiSector* LastJunction(const N_AiSector& sector, std::int32_t kind, const N_Vector3* point) {
  N_AiSector* found = nullptr;
  for (N_AiSector* junction : sector.Junctions()) {
    if (junction && junction->PathKind() == kind && (!point || junction->Classify(*point) == 0)) found = junction;
  }
  return found;
}

void SwitchTo(N_Racer& racer, N_AiSector* sector) {
  if (sector) racer.Sector = sector;
}

bool Flagged(const N_Racer& racer, int group, std::uint8_t bits) { return racer.Sector->Flags().Has(group, bits); }

/// The branches at the junctions, each tested on the sector the racer is in by then.
void TakeJunctions(N_Racer& racer, const N_Vector3& point, bool arcadeShortcuts, bool atFinishFork,
                   bool finishForkForced) {
  if (Flagged(racer, 3, kToNormal)) SwitchTo(racer, LastJunction(*racer.Sector, Ai::kPathNormal, &point));
  if (Flagged(racer, 3, kNormalToCiel) && racer.LapsLeft == 0) {
    if (!atFinishFork) {
      SwitchTo(racer, LastJunction(*racer.Sector, Ai::kPathCiel, &point));
    } else if (finishForkForced) {
      SwitchTo(racer, LastJunction(*racer.Sector, Ai::kPathCiel, nullptr));
    }
  }
  if (Flagged(racer, 3, kPenaltyPath)) {
    if (racer.PenaltyCheckDue && racer.Bullets >= kUnshotBullets) {
      // Passing the range without shooting costs every target.
      racer.PenaltyLoops = kUnshotPenalty;
      racer.Misses += kUnshotPenalty;
      racer.Bullets = 0;
      if (racer.ControlKind == 1) {
        ShowPenaltyRounds(kUnshotPenalty);
        racer.ShowPenalty = 1;
      }
    }
    racer.PenaltyLoopOpen = 1;
    const std::int32_t kind = racer.PenaltyLoops > 0 ? Ai::kPathPenalty : Ai::kPathNormal;
    SwitchTo(racer, LastJunction(*racer.Sector, kind, &point));
  }
  if (arcadeShortcuts) {
    if (Flagged(racer, 4, kShortCutStart) && racer.Sector->PathKind() != Ai::kPathShortCutArcade) {
      SwitchTo(racer, LastJunction(*racer.Sector, Ai::kPathShortCutArcade, &point));
    }
    if (Flagged(racer, 4, kShortCutEnd)) SwitchTo(racer, LastJunction(*racer.Sector, Ai::kPathNormal, nullptr));
  }
}

/// A heading this short along a side (a head-on hit) takes the course's direction.
constexpr float kMinAlong = 0.1f;

/// The point kept inside the sector's sides. A skier who runs into a side slides along
/// it: the share of his speed that went into the side is lost (the speed cap of his
/// next step), and a heading into the side is turned to run along it, the way he was
/// going or, head-on, the way the course goes. Pressed against a side he thus keeps
/// his speed along it instead of hitting it again every step.
N_Vector3 Collide(N_Racer& racer, const N_Vector3& point) {
  const N_AiSector& sector = *racer.Sector;
  N_Vector3 out;
  float cosine = 0.0f;
  const N_Plane* side = sector.CollideSides(racer.Pos, point, out, racer.FallState, cosine, racer.CurveSkill);
  if (!side) return out;
  racer.EdgeBrake = std::max(racer.EdgeBrake, 1.0f - std::sqrt(std::max(1.0f - cosine * cosine, 0.0f)));
  const N_Vector3& n = side->normal;  // into the sector, horizontal
  N_Vector3& h = racer.Heading;
  const float into = h.x * n.x + h.y * n.y;
  if (into >= 0.0f) return out;
  const float length = std::hypot(h.x, h.y);
  float ax = h.x - into * n.x, ay = h.y - into * n.y;
  if (std::hypot(ax, ay) < kMinAlong * length) {
    const N_Vector3& d = sector.Direction();
    const float dn = d.x * n.x + d.y * n.y;
    ax = d.x - dn * n.x;
    ay = d.y - dn * n.y;
  }
  const float along = std::hypot(ax, ay);
  if (along > 0.0f) {
    h.x = ax * length / along;
    h.y = ay * length / along;
  }
  return out;
}

/// The point clamped onto the sector's span and kept inside its sides.
N_Vector3 ClampAndCollide(N_Racer& racer, const N_Vector3& point) {
  N_Vector3 clamped;
  racer.Sector->ClampToSpan(point, clamped);
  return Collide(racer, clamped);
}

}  // namespace

void FollowSectors(N_Racer& racer, const N_Vector3& proposed, N_Vector3& out, bool arcadeShortcuts, bool atFinishFork,
                   bool finishForkForced) {
  if (!racer.Sector) {
    out = proposed;
    return;
  }
  N_Vector3 point = proposed;
  // Bounded: two sectors whose shared plane was built from separate copies of its
  // points can each throw a point within rounding of it to the other, and a folded
  // sector can bounce one between its sides; the last pass settles where it is.
  for (int pass = 1;; ++pass) {
    TakeJunctions(racer, point, arcadeShortcuts, atFinishFork, finishForkForced);
    N_AiSector& sector = *racer.Sector;
    const int where = sector.Classify(point);
    if (where == 0) {
      out = Collide(racer, point);
      return;
    }
    if (pass == kFollowSectorsPasses) break;
    N_AiSector* neighbour = (where & 2) ? sector.Previous() : (where & 1) ? sector.Next() : nullptr;
    if (neighbour) {
      racer.Sector = neighbour;
    } else if (where & 3) {
      break;  // before the start or beyond the end of an open path
    } else {
      point = ClampAndCollide(racer, point);  // outside a side: try again from there
    }
  }
  out = ClampAndCollide(racer, point);
}

void FitToGround(N_Racer& racer) {
  const N_Matrix3& frame = racer.HeadingFrame();
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
    // The plane's value is the distance along its normal; on a slope the racer must
    // move by it over the normal's z to land on the plane rather than near it.
    if (ground.normal.z != 0.0f) racer.Pos.z -= (Vec3Dot(ground.normal, racer.Pos) + ground.distance) / ground.normal.z;
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
