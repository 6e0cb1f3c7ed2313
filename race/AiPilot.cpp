#include "race/AiPilot.h"

#include "core/OrientedBox.h"
#include "race/AiShooting.h"
#include "race/Racer.h"
#include "race/ai/AiSector.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

/// ShootPhase of a racer that is not shooting.
constexpr std::int32_t kNotShooting = 9;
/// Blocked while no free line past a slower racer is found.
constexpr std::int32_t kBlocked = 16;
/// Squared distance below which the pilot looks one sector further (60 units).
constexpr float kTargetNearSq = 3600.0f;
/// Squared distance within which another racer counts (300 units).
constexpr float kAheadSq = 90000.0f;
/// Candidate lines run at the height of the racers' box centres.
constexpr float kLineHeight = 50.0f;
/// A side of the course narrower than this leaves no room to pass.
constexpr float kPassRoom = 20.0f;
/// Candidate lines turn the heading by multiples of this, radians.
constexpr float kTurnStep = 0.2f;
constexpr int kCandidates = 9;
/// While skiing, a candidate must keep at least this cosine to the sector's direction.
constexpr float kMinCourseCosine = 0.35f;

float DistanceSq(const N_Vector3& a, const N_Vector3& b) {
  const N_Vector3 d = a - b;
  return Vec3Dot(d, d);
}

/// v turned about the vertical axis by the angle (positive to the left), z kept.
N_Vector3 TurnedAboutZ(const N_Vector3& v, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}

/// The racer's box for the others' line checks: centre HeadPoint, axes the columns of
/// Orientation (forward, across, up).
N_OrientedBox BoxOf(const N_Racer& racer) {
  N_OrientedBox box;
  box.center = racer.HeadPoint;
  const float* m = racer.Orientation.m;
  for (int k = 0; k < 3; ++k) {
    box.axis[k] = {m[k], m[3 + k], m[6 + k]};
    box.extent[k] = (&racer.BoxHalfSize.x)[k];
  }
  return box;
}

/// A racer ahead with what the line checks need of it, worked out once per call.
struct Ahead {
  const N_Racer* racer;
  N_OrientedBox box;
  /// Squared radius of a sphere round the box (its half diagonal, with a margin for
  /// rounding): a line that stays farther from the centre cannot meet the box.
  float reachSq;
  /// The racer's side distances in its own sector, once asked for.
  bool sidesKnown = false;
  float sides[3] = {};
};

/// Reused from call to call: the pilot runs for every racer every step, and the list
/// of racers ahead would otherwise be allocated each time.
std::vector<Ahead>& AheadBuffer() {
  thread_local std::vector<Ahead> buffer;
  return buffer;
}

/// The racers that count as ahead: started, not finished, within 300 units and in
/// front of the racer's heading.
void RacersAhead(const N_Racer& racer, N_RacerList racers, std::vector<Ahead>& ahead) {
  ahead.clear();
  for (const N_Racer* other : racers) {
    // The distance first: most of the field is far away, and it reads only Pos.
    if (!other || DistanceSq(racer.Pos, other->Pos) >= kAheadSq) continue;
    if (other == &racer || other->Time < 0.0f || other->Finished) continue;
    if (Vec3Dot(racer.Pos - other->Pos, racer.Heading) < 0.0f) {
      const N_Vector3& half = other->BoxHalfSize;
      const float radius = std::sqrt(Vec3Dot(half, half)) + 1.0f;
      ahead.push_back({other, BoxOf(*other), radius * radius});
    }
  }
}

/// Whether the segment from `from` along `delta` passes within the box's sphere: the
/// cheap test before the exact one.
bool NearBox(const Ahead& other, const N_Vector3& from, const N_Vector3& delta) {
  const N_Vector3 c = other.box.center - from;
  const float length = Vec3Dot(delta, delta);
  const float t = length > 0.0f ? std::clamp(Vec3Dot(c, delta) / length, 0.0f, 1.0f) : 0.0f;
  return DistanceSq(c, delta * t) <= other.reachSq;
}

/// The first racer ahead whose box the segment from `from` along `delta` meets.
const N_Racer* FirstInTheWay(const std::vector<Ahead>& ahead, const N_Vector3& from, const N_Vector3& delta) {
  for (const Ahead& other : ahead) {
    if (NearBox(other, from, delta) && SegmentIntersectsBox(from, delta, other.box)) return other.racer;
  }
  return nullptr;
}

/// Whether a racer ahead skis within the passing room of its own sector's edge on that
/// side (turn > 0: the left edge, else the right).
bool EdgeTaken(std::vector<Ahead>& ahead, float turn) {
  for (Ahead& other : ahead) {
    if (!other.racer->Sector) continue;
    if (!other.sidesKnown) {
      other.racer->Sector->GetSideDistances(other.racer->Pos, other.sides);
      other.sidesKnown = true;
    }
    if ((turn > 0.0f ? other.sides[0] : other.sides[1]) < kPassRoom) return true;
  }
  return false;
}

}  // namespace

void AiSteerAndPower(N_Racer& racer, const N_Vector3& wanted, bool brake) {
  const float c = Vec3Dot(wanted, racer.Heading);
  if (c >= 0.995f) {
    racer.Steer = 0.0f;
  } else {
    const float full = c <= 0.985f ? 1.0f : 0.9f;
    const bool left = racer.Heading.x * wanted.y - racer.Heading.y * wanted.x > 0.0f;  // z of Heading x wanted
    racer.Steer = left ? full : -full;
  }
  if (racer.Holding) racer.Steer = 0.0f;

  // The fresher the racer, the harder it pushes; uphill more, downhill less.
  racer.Power = std::clamp((racer.Condition + 0.7f) * 0.6923077f + racer.Heading.z, 0.0f, 1.0f);
  if (racer.Condition > 0.2f && racer.Power < 0.4f) racer.Power = 0.3f;
  if (racer.Speed < 2.1f) racer.Power = 1.0f;
  if (racer.Blocked == kBlocked && brake) racer.Power = -1.0f;
  if (racer.Condition < 0.0f) {
    racer.Power = 0.0f;
    racer.Steer = 0.0f;
  }
}

void AvoidRacers(N_Racer& racer, N_RacerList racers, N_Vector3& wanted, bool& brake, bool shooting) {
  brake = false;
  std::vector<Ahead>& ahead = AheadBuffer();
  RacersAhead(racer, racers, ahead);
  if (ahead.empty()) {
    racer.Blocked = 0;
    return;
  }
  if (!racer.Sector) return;
  float sides[3];
  racer.Sector->GetSideDistances(racer.Pos, sides);
  const float side = sides[0] > sides[1] ? 1.0f : -1.0f;  // the wider side first
  if (sides[0] < kPassRoom && sides[1] < kPassRoom) {
    racer.Blocked = kBlocked;
    return;
  }

  // Every candidate line is a segment as long as the way to the target, raised to the
  // middle of the boxes: from the feet it would graze their bottoms on flat ground.
  const float reach = std::sqrt(Vec3Dot(wanted, wanted));
  const N_Vector3 from = racer.Pos + N_Vector3{0.0f, 0.0f, kLineHeight};
  N_Vector3 unitWanted = wanted;
  unitWanted.Normalize();
  const N_Racer* wantedBlocker = FirstInTheWay(ahead, from, unitWanted * reach);

  N_Vector3 candidate = unitWanted;
  for (int k = 0; k < kCandidates; ++k) {
    float turn = 0.0f;
    if (k > 0) {
      const float m = float((k + 1) / 2);
      turn = kTurnStep * m * side * (k % 2 == 1 ? 1.0f : -1.0f);
      candidate = TurnedAboutZ(racer.Heading, turn);
    }
    if (!shooting && Vec3Dot(candidate, racer.Sector->Direction()) < kMinCourseCosine) continue;
    const bool hits = k == 0 ? wantedBlocker != nullptr : FirstInTheWay(ahead, from, candidate * reach) != nullptr;
    if (hits || (turn != 0.0f && EdgeTaken(ahead, turn))) continue;
    if (k > 0) wanted = candidate * reach;
    return;
  }
  if (!wantedBlocker) {
    // Nobody on the wanted line: not blocked, whatever blocked it before. A stale
    // Blocked would turn this brake into a full stop, and two racers stopped so, each
    // seeing the other ahead, would wait for each other for ever.
    racer.Blocked = 0;
    brake = true;
  } else if (wantedBlocker->Speed < racer.Speed) {
    racer.Blocked = kBlocked;
    brake = true;
  } else {
    wanted = candidate * reach;  // the widest turn towards the narrower side
  }
}

void AiPilot(N_Racer& racer, Ai::N_AiPath& path, N_RacerList racers, float dt, N_Vector3& proposed) {
  if (racer.ShootPhase >= 0 && racer.ShootPhase < kNotShooting) {
    // ShootPhase 0 to 8: the shooting sequence steers the racer to its lane and back,
    // and holds it on the stand while it shoots.
    const N_Vector3 wanted = AiShooting(racer, path, dt, proposed);
    AiSteerAndPower(racer, wanted, false);
    AiShootingHold(racer, proposed);
    return;
  }
  if (!racer.Sector) return;
  N_Vector3 target = racer.Sector->GetIdealPoint(true);
  if (DistanceSq(target, racer.Pos) < kTargetNearSq && racer.Sector->Next()) {
    target = racer.Sector->Next()->GetIdealPoint(true);
  }
  // The way to the target: AvoidRacers checks its lines that far ahead.
  N_Vector3 wanted = target - racer.Pos;
  bool brake = false;
  AvoidRacers(racer, racers, wanted, brake, racer.ShootPhase != kNotShooting);
  wanted.Normalize();
  AiSteerAndPower(racer, wanted, brake);
}
