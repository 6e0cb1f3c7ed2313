#include "race/SkierPhysics.h"

#include "race/Racer.h"

#include <algorithm>
#include <cmath>

namespace {

namespace col = SkierPhysicsColumn;

constexpr float kInchesPerMetre = 39.37f;  ///< speeds are m/s, positions inches

/// Stress limits of a curve, times the racer's curve skill: left turns throw a skier
/// over sooner than right ones.
constexpr float kLeftStressLimit = 65.0f;
constexpr float kRightStressLimit = 85.0f;
/// Steering within this band does not count as turning; the stress relaxes instead.
constexpr float kTurnDeadBand = 0.1f;
constexpr float kStressRelax = 200.0f;  ///< per second
constexpr float kGravity = 33.0f;       ///< slope pull per unit of mass and of heading z
/// The share of his speed a skier loses per radian turned: the steering loss grows
/// with the turn rate and the speed, so a turn costs the same whatever the technique's
/// turn rate, and turning on the spot costs nothing.
constexpr float kSteerLoss = 0.2f;

N_Vector3 RotatedAboutZ(const N_Vector3& v, float angle) {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}

bool InWindow(float phase, float from, float to) { return phase >= from && phase < to; }

/// Sideways drift of this step, as the squared length of the heading's right-hand
/// side vector scaled by the turn: the load that builds up the curve stress.
float DriftLoad(const N_Racer& r, const float* row, float dt) {
  // A technique without a drift divisor drifts not at all (a division would give
  // infinity and turn every steering above the dead band into a fall).
  if (row[col::kDrift] == 0.0f) return 0.0f;
  const float s = (r.Steer / row[col::kDrift]) * r.Speed * row[col::kTurnRate] * dt * kInchesPerMetre;
  const float lx = r.Heading.y * s;
  const float ly = -r.Heading.x * s;
  return lx * lx + ly * ly;
}

void UpdateTurnStress(N_Racer& r, float q, float dt) {
  if (r.Steer > kTurnDeadBand) {
    r.TurnStress += q;
    if (r.TurnStress > kLeftStressLimit * r.CurveSkill) {
      r.FallState = 3;
      r.TurnStress = 0.0f;
    }
  } else if (r.Steer < -kTurnDeadBand) {
    r.TurnStress -= q;
    if (r.TurnStress < -kRightStressLimit * r.CurveSkill) {
      r.FallState = 4;
      r.TurnStress = 0.0f;
    }
  } else if (r.TurnStress > 1.0f) {
    r.TurnStress -= kStressRelax * dt;
  } else if (r.TurnStress < -1.0f) {
    r.TurnStress += kStressRelax * dt;
  }
}

void UpdateSpeed(N_Racer& r, const float* row, float dt) {
  const float drive = r.RunSkill * r.Power * row[col::kPropulsion] * r.PowerScale;
  const float acceleration = (drive - r.Heading.z * r.Mass * kGravity) / r.Mass;
  const float steerLoss = std::fabs(r.Steer * row[col::kTurnRate]) * r.Speed * kSteerLoss;
  const float powerShare = row[col::kFixedTop] == 1.0f ? 1.0f : (r.Power + 1.0f) * 0.5f;
  const float boost = 1.0f + static_cast<float>(r.KampfgeistActive) * r.GamenessBoost;
  const float cap = boost * (1.0f - r.EdgeBrake) * row[col::kTopSpeed] * r.PowerScale * powerShare;
  r.Speed = r.Speed + (acceleration - steerLoss) * dt - row[col::kDrag] * r.Speed * dt;
  if (r.Speed > cap) r.Speed = cap;
  // Touching a side of the course cuts the top speed of this one step only.
  r.EdgeBrake = 0.0f;
  if (r.Speed < 0.0f) r.Speed = 0.0f;
}

/// The heading, swung sideways during the push windows of a skating stride.
N_Vector3 TravelDirection(const N_Racer& r, const float* row) {
  N_Vector3 dir = r.Heading;
  if (InWindow(r.AnimPhase, row[col::kLeftFrom], row[col::kLeftTo])) dir = RotatedAboutZ(r.Heading, row[col::kLeftPush]);
  if (InWindow(r.AnimPhase, row[col::kRightFrom], row[col::kRightTo])) {
    dir = RotatedAboutZ(r.Heading, -row[col::kRightPush]);
  }
  return dir;
}

void UpdateHeartRate(N_Racer& r, const float* row, float dt) {
  // 0.35112..., kept as the cosine it has always been computed from.
  static const float kPulseStep = std::cos(1.2120342f);
  const float target = 60.0f + 130.0f * std::max(r.Power, 0.0f) * row[col::kEffort];
  const float rise = kPulseStep * r.PulseRise * dt;
  const float fall = kPulseStep * r.PulseFall * dt;
  if (target > r.HeartRate) r.HeartRate += rise;
  if (target < r.HeartRate) r.HeartRate -= fall;
  if (std::fabs(target - r.HeartRate) <= rise) r.HeartRate = target;
}

/// Change of the condition per second at heart rate h: a hard effort drains it, an
/// easy one restores it.
float ConditionRate(float h) {
  if (h >= 185.0f) return -0.0045f;
  if (h >= 165.0f) return -((h - 165.0f) * 0.04f + 1.6f) * 0.001f;
  if (h >= 135.0f) return -(h - 135.0f) * 0.033333335f * 0.001f;
  if (h >= 127.5f) return (135.0f - h) * 0.13333334f * 0.001f;
  if (h >= 97.5f) return ((127.5f - h) * 0.033333335f + 1.0f) * 0.001f;
  return 0.003f;
}

void UpdateCondition(N_Racer& r, float dt) {
  r.Condition += ConditionRate(r.HeartRate) * dt;
  r.Condition = std::min(r.Condition, r.ConditionCap);
  r.Condition = std::min(r.Condition, 1.0f);
  // A slightly negative condition stays (the skier is not yet exhausted); beyond it
  // the condition restarts from 0.
  if (r.Condition < -0.005f) r.Condition = 0.0f;
}

}  // namespace

void SkierPhysicsStep(N_Racer& racer, const float* row, float dt, N_Vector3& out) {
  racer.Heading = RotatedAboutZ(racer.Heading, dt * row[col::kTurnRate] * racer.Steer);
  UpdateTurnStress(racer, DriftLoad(racer, row, dt), dt);
  UpdateSpeed(racer, row, dt);
  const N_Vector3 dir = TravelDirection(racer, row);
  out.x = racer.Pos.x + dir.x * racer.Speed * kInchesPerMetre * dt;
  out.y = racer.Pos.y + dir.y * racer.Speed * kInchesPerMetre * dt;
  out.z = racer.Pos.z + dir.z * racer.Speed * kInchesPerMetre * dt;
  UpdateHeartRate(racer, row, dt);
  UpdateCondition(racer, dt);
}
