// The skier actions' animations: each a pose as a function of the time through the
// action, sampled into keys. Looping motions are periodic, so their last key is their
// first one bit for bit; one-off motions go from their first pose to their last.
#include "core/Matrix4.h"
#include "tools/FigureSamples.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace datagen::figures {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kDegree = kPi / 180.0f;
/// The feet's joints stand this high in the bind pose.
constexpr float kFootHeight = 3.0f;
constexpr int kLeft = 0, kRight = 1;

// Textbook quaternions (w, x, y, z), composed as rotations are and turned into the
// engine's form (the conjugate) for the keys.
N_Quaternion Turn(const N_Vector3& axis, float degrees) {
  const float half = degrees * kDegree * 0.5f;
  const float s = std::sin(half);
  return {std::cos(half), axis.x * s, axis.y * s, axis.z * s};
}

/// a after b.
N_Quaternion operator*(const N_Quaternion& a, const N_Quaternion& b) {
  return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
          a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

N_Quaternion Engine(const N_Quaternion& q) { return {q.w, -q.x, -q.y, -q.z}; }

const N_Vector3 kX{1, 0, 0}, kY{0, 1, 0}, kZ{0, 0, 1};

float Wave(float t, float cycles = 1.0f, float phase = 0.0f) { return std::sin(2.0f * kPi * (t * cycles + phase)); }
/// 0 to 1 with a gentle start and end.
float Ease(float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}
float Mix(float a, float b, float t) { return a + (b - a) * t; }

/// Every field of a and b mixed by t (the flags from b).
Pose Blend(const Pose& a, const Pose& b, float t) {
  Pose p = b;
  p.shift = a.shift + (b.shift - a.shift) * t;
  for (float Pose::*field : {&Pose::yaw, &Pose::lean, &Pose::roll, &Pose::bend, &Pose::twist, &Pose::nod,
                             &Pose::turnHead, &Pose::rifle}) {
    p.*field = Mix(a.*field, b.*field, t);
  }
  using Pair = float[2];
  for (Pair Pose::*field : {&Pose::armSwing, &Pose::armSpread, &Pose::elbow, &Pose::pole, &Pose::legSwing,
                            &Pose::legSpread, &Pose::knee, &Pose::skiYaw, &Pose::skiPitch}) {
    for (int s = 0; s < 2; ++s) (p.*field)[s] = Mix((a.*field)[s], (b.*field)[s], t);
  }
  return p;
}

// ---- Poses the motions start from, end at or swing about.

/// Upright on the skis, poles planted beside.
Pose Stand() { return Pose{}; }

/// The skating stance: knees bent, the back forward, the skis in a V.
Pose Skate() {
  Pose p;
  p.bend = 20.0f;
  p.knee[kLeft] = p.knee[kRight] = 25.0f;
  p.legSwing[kLeft] = p.legSwing[kRight] = 12.0f;
  p.skiYaw[kLeft] = p.skiYaw[kRight] = 14.0f;
  return p;
}

/// The downhill tuck.
Pose Tuck() {
  Pose p;
  p.bend = 55.0f;
  p.nod = -35.0f;
  p.knee[kLeft] = p.knee[kRight] = 60.0f;
  p.legSwing[kLeft] = p.legSwing[kRight] = 30.0f;
  for (int s = 0; s < 2; ++s) {
    p.armSwing[s] = 45.0f;
    p.elbow[s] = 80.0f;
    p.pole[s] = 60.0f;
  }
  return p;
}

/// Lying on the front, the rifle forward in both hands, turned a quarter to the left: a
/// racer lies down facing the right of his lane's shooting direction, so his body and
/// rifle point at the targets on his left.
Pose Prone(float spread) {
  Pose p;
  p.grounded = false;
  p.yaw = 90.0f;
  p.lean = 84.0f;
  p.shift = {0.0f, 0.0f, -31.0f};
  p.nod = -70.0f;
  p.rifle = -150.0f;
  for (int s = 0; s < 2; ++s) {
    p.armSwing[s] = 150.0f;
    p.armSpread[s] = 12.0f;
    p.elbow[s] = 50.0f;
    p.pole[s] = 0.0f;
    p.legSpread[s] = spread;
    p.knee[s] = 0.0f;
    p.legSwing[s] = 0.0f;
  }
  return p;
}

/// Standing with the rifle at the shoulder, aimed ahead.
Pose Aim(float crouch) {
  Pose p;
  p.twist = 20.0f;
  p.rifle = -120.0f;
  p.knee[kLeft] = p.knee[kRight] = crouch;
  p.armSwing[kLeft] = 75.0f;
  p.elbow[kLeft] = 50.0f;
  p.armSwing[kRight] = 40.0f;
  p.armSpread[kRight] = 40.0f;
  p.elbow[kRight] = 100.0f;
  p.pole[kLeft] = p.pole[kRight] = 40.0f;
  return p;
}

/// Bent over the poles, out of breath.
Pose Spent() {
  Pose p;
  p.bend = 50.0f;
  p.nod = 20.0f;
  p.knee[kLeft] = p.knee[kRight] = 20.0f;
  for (int s = 0; s < 2; ++s) {
    p.armSwing[s] = 40.0f;
    p.elbow[s] = 10.0f;
    p.pole[s] = -10.0f;
  }
  return p;
}

/// Turned round, an arm stretched out to take over the relay.
Pose Waiting(int side) {
  Pose p;
  p.yaw = side == kLeft ? 160.0f : -160.0f;
  p.armSwing[side] = 70.0f;
  p.armSpread[side] = 25.0f;
  p.elbow[side] = 5.0f;
  return p;
}

// ---- The motions.

/// One skating cycle: each leg pushes out in turn; poles planted `plants` times.
Pose Skating(float t, float push, float plants, float arms) {
  Pose p = Skate();
  const float w = Wave(t);
  p.legSpread[kLeft] = push * std::max(w, 0.0f);
  p.legSpread[kRight] = push * std::max(-w, 0.0f);
  p.knee[kLeft] += 12.0f * std::max(-w, 0.0f);
  p.knee[kRight] += 12.0f * std::max(w, 0.0f);
  p.roll = -8.0f * w;
  if (plants > 0.0f) {
    const float swing = arms * Wave(t, plants, 0.25f);
    for (int s = 0; s < 2; ++s) {
      p.armSwing[s] = 20.0f + swing;
      p.elbow[s] = 35.0f - 0.3f * swing;
      p.pole[s] = 15.0f - 0.5f * swing;
    }
  } else {
    // Without poles the arms swing against the legs.
    p.armSwing[kLeft] = 10.0f - arms * w;
    p.armSwing[kRight] = 10.0f + arms * w;
    p.pole[kLeft] = p.pole[kRight] = 70.0f;
  }
  return p;
}

Pose Skating22A(float t) { return Skating(t, 16.0f, 2.0f, 35.0f); }
Pose Skating22B(float t) { return Skating(t, 22.0f, 2.0f, 45.0f); }
Pose Skating12A(float t) { return Skating(t, 18.0f, 1.0f, 40.0f); }
Pose Skating12B(float t) {
  Pose p = Skating(t, 20.0f, 1.0f, 50.0f);
  p.bend += 8.0f;
  return p;
}
Pose SkatingNoPoles(float t) { return Skating(t, 20.0f, 0.0f, 35.0f); }

Pose SkatingTurn(float t, float side) {
  Pose p = Skating(t, 16.0f, 2.0f, 30.0f);
  p.roll += -10.0f * side;
  p.yaw = 8.0f * side;
  p.twist = 6.0f * side;
  return p;
}
Pose SkatingTurnLeft(float t) { return SkatingTurn(t, 1.0f); }
Pose SkatingTurnRight(float t) { return SkatingTurn(t, -1.0f); }

Pose Herringbone(float t) {
  Pose p;
  p.bend = 30.0f;
  const float w = Wave(t);
  for (int s = 0; s < 2; ++s) {
    const float step = std::max(s == kLeft ? w : -w, 0.0f);
    p.skiYaw[s] = 35.0f;
    p.legSpread[s] = 8.0f;
    p.legSwing[s] = 10.0f + 25.0f * step;
    p.knee[s] = 20.0f + 35.0f * step;
    p.armSwing[s] = 25.0f + 25.0f * (s == kLeft ? -w : w);
    p.elbow[s] = 40.0f;
    p.pole[s] = 20.0f;
  }
  return p;
}

Pose Braking(float t, float strength) {
  Pose p;
  p.bend = 20.0f + 15.0f * strength;
  for (int s = 0; s < 2; ++s) {
    p.legSpread[s] = 6.0f + 8.0f * strength;
    p.skiYaw[s] = -(10.0f + 14.0f * strength);  // the tips together: the plough
    p.knee[s] = 25.0f + 20.0f * strength + 2.0f * Wave(t);
    p.legSwing[s] = 10.0f + 10.0f * strength;
    p.armSwing[s] = 30.0f;
    p.armSpread[s] = 15.0f;
    p.pole[s] = 50.0f;
  }
  return p;
}
Pose BrakingLight(float t) { return Braking(t, 0.0f); }
Pose BrakingHard(float t) { return Braking(t, 1.0f); }

Pose DownhillTurn(float t, float side) {
  Pose p = Tuck();
  p.roll = -15.0f * side + 2.0f * Wave(t);
  p.yaw = 8.0f * side;
  p.bend = 40.0f;
  return p;
}
Pose DownhillTurnLeft(float t) { return DownhillTurn(t, 1.0f); }
Pose DownhillTurnRight(float t) { return DownhillTurn(t, -1.0f); }

Pose Downhill(float t) {
  Pose p = Tuck();
  p.knee[kLeft] += 3.0f * Wave(t);
  p.knee[kRight] += 3.0f * Wave(t);
  return p;
}

/// Both poles pushed back together, the back bending with the push.
Pose DoublePoling(float t, float reach, float kick) {
  Pose p;
  const float w = Wave(t);  // 1: arms forward
  p.bend = 25.0f - 20.0f * w;
  for (int s = 0; s < 2; ++s) {
    p.armSwing[s] = 25.0f + reach * w;
    p.elbow[s] = 40.0f - 10.0f * w;
    p.pole[s] = 20.0f - 0.4f * reach * w;
    p.knee[s] = 20.0f - 8.0f * w;
  }
  p.legSwing[kRight] -= kick * std::max(-w, 0.0f);
  p.knee[kRight] += kick * std::max(-w, 0.0f);
  return p;
}
Pose DoublePoling1(float t) { return DoublePoling(t, 50.0f, 0.0f); }
Pose DoublePoling2(float t) { return DoublePoling(t, 60.0f, 30.0f); }

Pose StandingBreathe(float t) {
  Pose p = Stand();
  p.bend = 3.0f + 2.0f * Wave(t);
  p.armSwing[kLeft] += 2.0f * Wave(t);
  p.armSwing[kRight] += 2.0f * Wave(t);
  return p;
}
Pose StandingLookAround(float t) {
  Pose p = Stand();
  p.turnHead = 35.0f * Wave(t);
  p.nod = 5.0f * Wave(t, 2.0f);
  return p;
}
Pose StandingShift(float t) {
  Pose p = Stand();
  p.roll = 4.0f * Wave(t);
  p.shift.y = 1.5f * Wave(t);
  p.knee[kLeft] = 10.0f + 8.0f * std::max(Wave(t), 0.0f);
  p.knee[kRight] = 10.0f + 8.0f * std::max(-Wave(t), 0.0f);
  return p;
}

/// Stepping round on the spot, one ski turned out after the other.
Pose TurningOnTheSpot(float t) {
  Pose p = Stand();
  const float w = Wave(t);
  p.skiYaw[kLeft] = 20.0f * std::max(w, 0.0f);
  p.skiYaw[kRight] = 20.0f * std::max(-w, 0.0f);
  p.knee[kLeft] = 10.0f + 30.0f * std::max(w, 0.0f);
  p.knee[kRight] = 10.0f + 30.0f * std::max(-w, 0.0f);
  p.legSwing[kLeft] = 5.0f + 15.0f * std::max(w, 0.0f);
  p.legSwing[kRight] = 5.0f + 15.0f * std::max(-w, 0.0f);
  return p;
}

Pose Fall(float t, float lean, float roll, float drop) {
  Pose p = Skate();
  const float e = Ease(t);
  p.grounded = false;
  p.lean = lean * e;
  p.roll = roll * e;
  p.shift.z = -drop * e;
  for (int s = 0; s < 2; ++s) {
    p.armSpread[s] = 5.0f + 60.0f * e;
    p.armSwing[s] = 15.0f + (lean > 0.0f ? 80.0f : 20.0f) * e;
    p.knee[s] = 25.0f + (lean < 0.0f ? 40.0f : 0.0f) * e;
  }
  return p;
}
Pose FallLeft(float t) { return Fall(t, 0.0f, -80.0f, 30.0f); }
Pose FallRight(float t) { return Fall(t, 0.0f, 80.0f, 30.0f); }
Pose FallForward(float t) { return Fall(t, 80.0f, 0.0f, 31.0f); }
Pose FallBackward(float t) { return Fall(t, -75.0f, 0.0f, 28.0f); }

Pose ProneReadyA(float t) { return Blend(Stand(), Prone(8.0f), Ease(t)); }
Pose ProneFireA(float t) {
  Pose p = Prone(8.0f);
  p.nod += 3.0f * std::max(Wave(t), 0.0f);  // the recoil
  p.rifle += 4.0f * std::max(Wave(t), 0.0f);
  return p;
}
Pose ProneUpA(float t) { return Blend(Prone(8.0f), Stand(), Ease(t)); }
Pose ProneReadyB(float t) { return Blend(Stand(), Prone(16.0f), Ease(t)); }
Pose ProneFireB(float t) {
  Pose p = Prone(16.0f);
  p.nod += 4.0f * std::max(Wave(t), 0.0f);
  return p;
}
Pose ProneUpB(float t) { return Blend(Prone(16.0f), Stand(), Ease(t)); }

Pose StandingReadyA(float t) { return Blend(Stand(), Aim(10.0f), Ease(t)); }
Pose StandingFireA(float t) {
  Pose p = Aim(10.0f);
  p.twist += 3.0f * std::max(Wave(t), 0.0f);
  return p;
}
Pose StandingDoneA(float t) { return Blend(Aim(10.0f), Stand(), Ease(t)); }
Pose StandingReadyB(float t) { return Blend(Stand(), Aim(20.0f), Ease(t)); }
Pose StandingFireB(float t) {
  Pose p = Aim(20.0f);
  p.nod = 4.0f * std::max(Wave(t), 0.0f);
  return p;
}
Pose StandingDoneB(float t) { return Blend(Aim(20.0f), Stand(), Ease(t)); }

Pose ExhaustedA(float t) {
  Pose p = Spent();
  p.bend += 5.0f * Wave(t, 2.0f);
  return p;
}
Pose ExhaustedStartB(float t) { return Blend(Stand(), Spent(), Ease(t)); }
Pose ExhaustedLastingB(float t) {
  Pose p = Spent();
  p.bend += 8.0f * Wave(t);
  p.nod += 10.0f * Wave(t);
  return p;
}
Pose ExhaustedEndB(float t) { return Blend(Spent(), Stand(), Ease(t)); }

Pose Rejoicing(float t) {
  Pose p = Stand();
  const float up = std::sin(kPi * std::clamp(t * 1.5f, 0.0f, 1.0f));
  p.shift.z = 6.0f * std::max(std::sin(2.0f * kPi * t), 0.0f);
  p.grounded = p.shift.z == 0.0f;
  for (int s = 0; s < 2; ++s) {
    p.armSwing[s] = 15.0f + 150.0f * Ease(t * 2.0f);
    p.armSpread[s] = 5.0f + 25.0f * up;
    p.elbow[s] = 10.0f;
    p.pole[s] = 90.0f * Ease(t * 2.0f);
  }
  p.nod = -20.0f * Ease(t * 2.0f);
  return p;
}

Pose Angry(float t) {
  Pose p = Stand();
  p.bend = 20.0f * Ease(t * 3.0f);
  p.turnHead = 20.0f * Wave(t, 3.0f);
  for (int s = 0; s < 2; ++s) {
    p.armSwing[s] = 15.0f + 25.0f * std::fabs(Wave(t, 2.0f));
    p.elbow[s] = 60.0f;
  }
  return p;
}

Pose Handover(float t, int side, float lean) {
  Pose p = Stand();
  const float reach = std::sin(kPi * t);
  p.bend = lean * reach;
  p.armSwing[side] = 15.0f + 70.0f * reach;
  p.armSpread[side] = 5.0f + 20.0f * reach;
  p.elbow[side] = 20.0f - 15.0f * reach;
  p.twist = (side == kLeft ? -1.0f : 1.0f) * 15.0f * reach;
  return p;
}
Pose HandoverLeftA(float t) { return Handover(t, kLeft, 10.0f); }
Pose HandoverLeftB(float t) { return Handover(t, kLeft, 25.0f); }
Pose HandoverRightA(float t) { return Handover(t, kRight, 15.0f); }

Pose WaitingLeft(float t) {
  Pose p = Waiting(kLeft);
  p.armSwing[kLeft] += 8.0f * Wave(t);
  return p;
}
Pose WaitingRight(float t) {
  Pose p = Waiting(kRight);
  p.armSwing[kRight] += 8.0f * Wave(t);
  return p;
}

/// The translation of a posed bone (forward kinematics over the keys).
std::vector<N_Vector3> JointPositions(const AnimMeshBuilder& mesh, const std::vector<N_AnimKey>& keys) {
  std::vector<N_Matrix4> poses(keys.size());
  std::vector<N_Vector3> joints(keys.size());
  for (std::size_t b = 0; b < keys.size(); ++b) {
    N_Matrix4 local;
    local.FromQuaternion(keys[b].rotation);
    local.m[3] = keys[b].position.x;
    local.m[7] = keys[b].position.y;
    local.m[11] = keys[b].position.z;
    const int parent = mesh.Bones()[b].parent;
    if (parent < 0) {
      poses[b] = local;
    } else {
      MatrixMultiply(poses[b], poses[std::size_t(parent)], local);  // parents come first
    }
    joints[b] = {poses[b].m[3], poses[b].m[7], poses[b].m[11]};
  }
  return joints;
}

}  // namespace

std::vector<N_AnimKey> PoseKeys(const AnimMeshBuilder& mesh, const Pose& p) {
  std::vector<N_AnimKey> keys = mesh.BindPose();
  const auto set = [&](int bone, const N_Quaternion& q) { keys[std::size_t(bone)].rotation = Engine(q); };
  set(kPelvis, Turn(kZ, p.yaw) * Turn(kY, p.lean) * Turn(kX, p.roll));
  keys[kPelvis].position = keys[kPelvis].position + p.shift;
  set(kSpine, Turn(kY, p.bend * 0.5f));
  set(kChest, Turn(kZ, p.twist) * Turn(kY, p.bend * 0.5f));
  set(kHead, Turn(kZ, p.turnHead) * Turn(kY, p.nod));
  for (int s = 0; s < 2; ++s) {
    const float out = s == kLeft ? 1.0f : -1.0f;  // outward is +y on the left
    const int arm = s == kLeft ? kUpperArmL : kUpperArmR;
    set(arm, Turn(kY, -p.armSwing[s]) * Turn(kX, out * p.armSpread[s]));
    set(arm + 1, Turn(kY, -p.elbow[s]));
    set(arm + 3, Turn(kY, p.pole[s]));
    const int thigh = s == kLeft ? kThighL : kThighR;
    set(thigh, Turn(kY, -p.legSwing[s]) * Turn(kX, out * p.legSpread[s]));
    set(thigh + 1, Turn(kY, p.knee[s]));
    // The foot keeps the ski level: it undoes the pitch of the body and the leg.
    const float level = -(p.lean + p.knee[s] - p.legSwing[s]) - p.skiPitch[s];
    set(thigh + 2, Turn(kZ, out * p.skiYaw[s]) * Turn(kY, level));
  }
  set(kRifle, Turn(kY, p.rifle));
  if (p.grounded) {
    const std::vector<N_Vector3> joints = JointPositions(mesh, keys);
    const float lowest = std::min(joints[kFootL].z, joints[kFootR].z);
    keys[kPelvis].position.z += kFootHeight - lowest;
  }
  return keys;
}

const std::vector<Motion>& Motions() {
  static const std::vector<Motion> kMotions{
      {"pad_dolava_A", 24, false, &FallLeft},
      {"pad_doprava_A", 24, false, &FallRight},
      {"pad_dopredu_A", 24, false, &FallForward},
      {"pad_dozadu_A", 24, false, &FallBackward},
      {"brzdenie_min_zjazd_A", 17, true, &BrakingLight},
      {"brzdenie_max_zjazd_A", 17, true, &BrakingHard},
      {"zatacanie_korc_dolava_A", 31, true, &SkatingTurnLeft},
      {"zatacanie_korc_doprava_A", 31, true, &SkatingTurnRight},
      {"korculovanie_2_2_A", 31, true, &Skating22A},
      {"korculovanie_2_2_B", 25, true, &Skating22B},
      {"korculovanie_1_2_A", 31, true, &Skating12A},
      {"korculovanie_1_2_B", 25, true, &Skating12B},
      {"korculovanie_bez_palic", 31, true, &SkatingNoPoles},
      {"stromcek_A", 25, true, &Herringbone},
      {"zatacanie_zjazd_dolava_A", 17, true, &DownhillTurnLeft},
      {"zatacanie_zjazd_doprava_A", 17, true, &DownhillTurnRight},
      {"paralel_1p_A", 25, true, &DoublePoling1},
      {"zjazd_bez_palic_A", 17, true, &Downhill},
      {"paralel_2p_A", 31, true, &DoublePoling2},
      {"postoj_na_mieste_A", 41, true, &StandingBreathe},
      {"postoj_na_mieste_B", 61, true, &StandingLookAround},
      {"postoj_na_mieste_C", 49, true, &StandingShift},
      {"otacanie_na_mieste", 25, true, &TurningOnTheSpot},
      {"strelba_z_lahu_priprava_A", 31, false, &ProneReadyA},
      {"strelba_z_lahu_strelba_A", 17, true, &ProneFireA},
      {"strelba_z_lahu_zaver_A", 31, false, &ProneUpA},
      {"strelba_z_lahu_priprava_B", 31, false, &ProneReadyB},
      {"strelba_z_lahu_strelba_B", 17, true, &ProneFireB},
      {"strelba_z_lahu_zaver_B", 31, false, &ProneUpB},
      {"strelba_z_boku_priprava_A", 25, false, &StandingReadyA},
      {"strelba_z_boku_strelba_A", 17, true, &StandingFireA},
      {"strelba_z_boku_zaver_A", 25, false, &StandingDoneA},
      {"strelba_z_boku_priprava_B", 25, false, &StandingReadyB},
      {"strelba_z_boku_strelba_B", 17, true, &StandingFireB},
      {"strelba_z_boku_zaver_B", 25, false, &StandingDoneB},
      {"vycerpany_A", 31, true, &ExhaustedA},
      {"vycerpany_priprava_B", 25, false, &ExhaustedStartB},
      {"vycerpany_trvanie_B", 31, true, &ExhaustedLastingB},
      {"vycerpany_zaver_B", 25, false, &ExhaustedEndB},
      {"tesi_sa_A", 40, false, &Rejoicing},
      {"hneva_sa_A", 40, false, &Angry},
      {"stafeta_predavanie_slava_A", 30, false, &HandoverLeftA},
      {"stafeta_predavanie_slava_B", 30, false, &HandoverLeftB},
      {"stafeta_predavanie_sprava_A", 30, false, &HandoverRightA},
      {"stafeta_otoceny_slava_A", 25, true, &WaitingLeft},
      {"stafeta_otoceny_sprava_A", 25, true, &WaitingRight},
  };
  return kMotions;
}

std::vector<std::vector<N_AnimKey>> MotionFrames(const AnimMeshBuilder& mesh, const Motion& motion) {
  std::vector<std::vector<N_AnimKey>> frames;
  const int steps = motion.keys - 1;
  for (int k = 0; k < motion.keys; ++k) {
    // A looping motion's last key is its first: the same time, so the same bits.
    const float t = motion.loop ? float(k % steps) / float(steps) : float(k) / float(steps);
    frames.push_back(PoseKeys(mesh, motion.pose(t)));
  }
  return frames;
}

}  // namespace datagen::figures
