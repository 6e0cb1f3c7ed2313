// N_AnimationFactory per frame: the queue take-over, the visibility test, the time step
// of both channels with the cross-fade, the key sampling and the posing.
#include "core/Globals.h"
#include "core/VarMng.h"
#include "render/Frustum.h"
#include "scene/AnimObject.h"
#include "scene/Animation.h"
#include "scene/AnimationFactory.h"
#include "scene/QuaternionSlerp.h"
#include "scene/SceneAccess.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

/// Frames of one step beyond this are not told apart (a looping channel wraps anyway,
/// a held one stays on its last key); keeps the frame sums inside 64 bits.
constexpr double kMaxStepFrames = 1.0e12;

N_Vector3 Lerp(const N_Vector3& a, const N_Vector3& b, float t) { return a + (b - a) * t; }

/// One frame counter after it advanced: a looping channel wraps at count - 1 (the last
/// key is only ever the next key of frame count - 2); a held one stops on count - 2
/// with the fraction at 1.0.
void WrapFrame(std::int64_t frame, int count, N_AnimAction& channel, std::int32_t& out) {
  if (frame >= count - 1) {
    if (channel.loop) {
      frame %= count - 1;
    } else {
      frame = count - 2;
      channel.fraction = 1.0f;
    }
  }
  out = static_cast<std::int32_t>(frame);
}

/// Advances a channel by n whole frames and the fraction f, with c frames in its
/// animation A (at least 2: the reader refuses shorter tracks).
void AdvanceChannel(N_AnimAction& channel, std::int64_t n, float f, int c) {
  channel.fraction += f;
  std::int64_t frameA = std::int64_t(channel.frameA) + n;
  std::int64_t frameB = std::int64_t(channel.frameB) + n;
  while (channel.fraction >= 1.0f) {
    channel.fraction -= 1.0f;
    ++frameA;
    ++frameB;
  }
  WrapFrame(frameA, c, channel, channel.frameA);
  if (channel.twoAnimations) WrapFrame(frameB, c, channel, channel.frameB);
}

/// Channel 2's fields into channel 1 at the end of a cross-fade; channel 1 keeps its
/// fraction.
void TakeOverChannel(N_AnimInstance& instance) {
  const float fraction = instance.channel1.fraction;
  instance.channel1 = instance.channel2;
  instance.channel1.fraction = fraction;
}

}  // namespace

bool N_AnimationFactory::Playable(const N_AnimAction& channel) const {
  const auto inList = [this](std::int32_t index) { return index >= 0 && index < AnimationCount(); };
  return inList(channel.animationA) && (!channel.twoAnimations || inList(channel.animationB));
}

void N_AnimationFactory::TakeQueuedAction(N_AnimInstance& instance) const {
  if (instance.blendTimer != 0.0f || !ValidAction(instance.queuedAction)) return;
  const N_AnimAction& queued = *m_actions[static_cast<std::size_t>(instance.queuedAction)];
  N_AnimAction& channel = instance.channel2;
  channel.twoAnimations = queued.twoAnimations;
  channel.loop = queued.loop;
  channel.animationA = queued.animationA;
  channel.animationB = queued.animationB;
  channel.frameA = queued.frameA;
  channel.frameB = queued.frameB;
  channel.actionIndex = queued.actionIndex;
  channel.rate = instance.queuedRate;
  channel.mix = instance.queuedMix;
  instance.takenAction = instance.queuedAction;
}

void N_AnimationFactory::RenderInstance(float frameTime, int index, const N_Vector3& position,
                                        const N_Matrix3& rotation, bool force, bool draw) {
  if (!ValidInstance(index)) return;
  N_AnimInstance& instance = *m_instances[static_cast<std::size_t>(index)];
  TakeQueuedAction(instance);
  N_AnimObject* mesh = Mesh(instance.mesh);
  if (!mesh || !Playable(instance.channel1)) return;

  const float margin = kVisibilityMargin;
  const N_Vector3 lo = mesh->BoundsMin() + position, hi = mesh->BoundsMax() + position;
  const float box[6] = {lo.x - margin, lo.y - margin, lo.z - margin, hi.x + margin, hi.y + margin, hi.z + margin};
  float depth = 0.0f;
  const bool inside = g_scene.frustum && g_scene.frustum->TestBox(box, &depth);
  const float farthest = g_varMng ? g_varMng->GetFloat("LODWorldDistance") : 0.0f;
  const bool visible = inside && depth - mesh->Radius() <= farthest;

  instance.frameTime = frameTime;
  const bool pose = (visible || force) && draw;
  AdvanceInstance(instance, *mesh, pose);
  if (pose) {
    mesh->Skin(instance);
    mesh->Draw(position, rotation);
  }
}

void N_AnimationFactory::AdvanceInstance(N_AnimInstance& instance, N_AnimObject& mesh, bool pose) {
  if (!Playable(instance.channel1)) return;
  if (instance.extraTime != 0.0f) {
    instance.frameTime += instance.extraTime;
    instance.extraTime = 0.0f;
  }
  // Both channels advance by channel 1's rate. A negative or NaN product moves nothing.
  double product = double(instance.frameTime) * instance.channel1.rate;
  if (!(product > 0.0)) product = 0.0;
  product = std::min(product, kMaxStepFrames);
  const double whole = std::floor(product);
  const auto n = static_cast<std::int64_t>(whole);
  const auto f = static_cast<float>(product - whole);

  AdvanceChannel(instance.channel1, n, f, m_animations[std::size_t(instance.channel1.animationA)]->FrameCount());
  // Tested before this step's increment: channel 2 runs from the step after the fade began.
  const bool channel2Plays = Playable(instance.channel2);
  if (instance.blendTimer != 0.0f && channel2Plays) {
    AdvanceChannel(instance.channel2, n, f, m_animations[std::size_t(instance.channel2.animationA)]->FrameCount());
  }
  const N_AnimAction& a = instance.channel1;
  const N_AnimAction& b = instance.channel2;
  if (channel2Plays && (a.twoAnimations != b.twoAnimations || a.animationA != b.animationA ||
                        a.animationB != b.animationB)) {
    instance.blendTimer += instance.frameTime;
    // A duration of 0 or less switches at once and never divides by it.
    if (instance.blendDuration <= 0.0f || instance.blendTimer > instance.blendDuration) {
      instance.blendTimer = 0.0f;
      TakeOverChannel(instance);
    }
    instance.blendFactor = instance.blendDuration > 0.0f ? instance.blendTimer / instance.blendDuration : 0.0f;
  }
  if (pose) PoseSkeleton(mesh, instance);
}

void N_AnimationFactory::SampleChannel(const N_AnimAction& channel, int bone, N_Quaternion& rotation,
                                       N_Vector3& position) const {
  const N_Animation& a = *m_animations[static_cast<std::size_t>(channel.animationA)];
  // Every read is clamped to the bone's own track (Key): a shorter track holds its last
  // key. The next frame wraps to 0 at the end of animation A's track.
  const auto count = static_cast<std::int64_t>(a.Tracks()[static_cast<std::size_t>(bone)].keyCount);
  const auto next = [count](std::int32_t frame) { return std::int64_t(frame) + 1 < count ? frame + 1 : 0; };
  const std::int32_t fa = channel.frameA;
  if (!channel.twoAnimations) {
    const N_AnimKey& k0 = a.Key(bone, fa);
    const N_AnimKey& k1 = a.Key(bone, next(fa));
    QuaternionSlerp(k0.rotation, k1.rotation, channel.fraction, rotation);
    position = Lerp(k0.position, k1.position, channel.fraction);
    return;
  }
  // Both animations at frame A now; at their own next frames (wrapping with A) next.
  const N_Animation& b = *m_animations[static_cast<std::size_t>(channel.animationB)];
  const auto mixed = [&](const N_AnimKey& ka, const N_AnimKey& kb, N_Quaternion& q, N_Vector3& p) {
    QuaternionSlerp(ka.rotation, kb.rotation, channel.mix, q);
    p = Lerp(ka.position, kb.position, channel.mix);
  };
  N_Quaternion qc, qn;
  N_Vector3 pc, pn;
  mixed(a.Key(bone, fa), b.Key(bone, fa), qc, pc);
  mixed(a.Key(bone, next(fa)), b.Key(bone, next(channel.frameB)), qn, pn);
  QuaternionSlerp(qc, qn, channel.fraction, rotation);
  position = Lerp(pc, pn, channel.fraction);
}

void N_AnimationFactory::SampleBone(int bone, const N_AnimInstance& instance, N_Quaternion& rotation,
                                    N_Vector3& position) const {
  SampleChannel(instance.channel1, bone, rotation, position);
  if (instance.blendTimer == 0.0f || !Playable(instance.channel2)) return;
  N_Quaternion q2;
  N_Vector3 p2;
  SampleChannel(instance.channel2, bone, q2, p2);
  const N_Quaternion q1 = rotation;
  QuaternionSlerp(q1, q2, instance.blendFactor, rotation);
  position = Lerp(position, p2, instance.blendFactor);
}

void N_AnimationFactory::PoseSkeleton(N_AnimObject& mesh, N_AnimInstance& instance) const {
  std::vector<N_Bone>& bones = mesh.Bones();
  if (instance.boneMatrices.size() < bones.size()) return;
  // Parent before child, children in list order, from each root in turn; an explicit
  // stack, since a file may chain thousands of bones.
  std::vector<std::int32_t> stack;
  for (const std::int32_t root : mesh.Roots()) {
    stack.assign(1, root);
    while (!stack.empty()) {
      N_Bone& bone = bones[static_cast<std::size_t>(stack.back())];
      stack.pop_back();
      N_Quaternion q;
      N_Vector3 t;
      SampleBone(bone.index, instance, q, t);
      N_Matrix4 local;
      local.FromQuaternion(q);
      local.m[3] = t.x;
      local.m[7] = t.y;
      local.m[11] = t.z;
      N_Matrix4& pose = instance.boneMatrices[static_cast<std::size_t>(bone.index)];
      if (bone.parent == -1) {
        pose = local;
      } else {
        MatrixMultiply(pose, instance.boneMatrices[static_cast<std::size_t>(bone.parent)], local);
      }
      bone.pose = pose;
      for (auto it = bone.children.rbegin(); it != bone.children.rend(); ++it) stack.push_back(*it);
    }
  }
}
