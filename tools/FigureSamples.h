#pragma once
// The sample skier figures: the twelve reference meshes (six models and their
// low-detail twins, one skeleton) and the skier actions' animations, built from a few
// posable parameters. Shared by the files of the "figures" step.
#include "core/Quaternion.h"
#include "core/Vector3.h"
#include "scene/AnimFile.h"
#include "tools/AnimWriter.h"

#include <string>
#include <vector>

namespace datagen::figures {

/// Bone indices of the skier skeleton (the same in every model).
enum Bone : int {
  kPelvis, kSpine, kChest, kNeck, kHead,
  kUpperArmL, kForearmL, kHandL, kPoleL,
  kUpperArmR, kForearmR, kHandR, kPoleR,
  kThighL, kShinL, kFootL, kSkiL, kSkiTipL,
  kThighR, kShinR, kFootR, kSkiR, kSkiTipR,
  kRifle,
  kBoneCount
};

/// One of the six models: its proportions and the parts only some have.
struct Build {
  float girth = 1.0f;   ///< thickness of the body and limbs
  float head = 1.0f;    ///< size of the head
  bool cap = false;     ///< a cap in the suit's colour
  bool ponytail = false;
};

/// The reference mesh of a model, full (limbs of 12 sides, with neck, hands and cap) or
/// low detail (4 sides, no neck, hands or cap).
AnimMeshBuilder Model(const Build& build, bool lowDetail);

/// A pose in degrees (side 0 left, 1 right): what a key frame of the figure does.
struct Pose {
  N_Vector3 shift;      ///< the pelvis moved (x, y, z) from its bind place
  float yaw = 0.0f;     ///< whole body about the vertical, to the left
  float lean = 0.0f;    ///< whole body forward about the pelvis
  float roll = 0.0f;    ///< whole body to the right about the pelvis
  float bend = 0.0f;    ///< the back forward (spine and chest alike)
  float twist = 0.0f;   ///< the chest to the left
  float nod = 0.0f;     ///< the head forward
  float turnHead = 0.0f;  ///< the head to the left
  float armSwing[2] = {15.0f, 15.0f};  ///< forward
  float armSpread[2] = {5.0f, 5.0f};   ///< outward
  float elbow[2] = {20.0f, 20.0f};     ///< the forearm forward
  float pole[2] = {0.0f, 0.0f};        ///< the pole back from its hold
  float legSwing[2] = {5.0f, 5.0f};    ///< forward
  float legSpread[2] = {0.0f, 0.0f};   ///< outward
  float knee[2] = {10.0f, 10.0f};
  float skiYaw[2] = {0.0f, 0.0f};      ///< the ski's tip outward
  float skiPitch[2] = {0.0f, 0.0f};    ///< the ski's tip up, beyond keeping it level
  float rifle = 0.0f;                  ///< forward over the shoulder
  /// The feet stay on the ground: the pelvis is lowered or raised to keep the lower
  /// foot at its bind height (falls and lying poses move the pelvis themselves).
  bool grounded = true;
};

/// One key per bone for the pose.
std::vector<N_AnimKey> PoseKeys(const AnimMeshBuilder& mesh, const Pose& pose);

/// One animation file of the skier actions.
struct Motion {
  const char* stem;  ///< "data\anim\lyziari\<stem>.anim"
  int keys;
  bool loop;         ///< the last key repeats the first
  Pose (*pose)(float t);  ///< t from 0 to 1 over the keys (looping: 0 to just below 1)
};

/// The 46 distinct animation files of the skier actions.
const std::vector<Motion>& Motions();

/// Every key of a motion for the mesh's skeleton.
std::vector<std::vector<N_AnimKey>> MotionFrames(const AnimMeshBuilder& mesh, const Motion& motion);

}  // namespace datagen::figures
