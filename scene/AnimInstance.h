#pragma once
// The records of an animation set: an action (one animation, or two mixed) and an
// instance (one figure on screen) with its two channels, each of which has the
// action's layout. Owned by N_AnimationFactory and addressed by index.
#include "core/Matrix4.h"

#include <cstdint>
#include <memory>
#include <vector>

class N_OcclusionQuery;
class N_AnimEmitorSet;

/// An action, and a playing channel of an instance (36 bytes, a plain record).
struct N_AnimAction {
  std::uint8_t twoAnimations = 0;  ///< 1: animation B mixed into A by `mix`
  std::uint8_t loop = 1;           ///< 1 loops, 0 holds the last key
  float mix = 0.0f;                ///< weight of animation B against A (0 = A only)
  std::int32_t animationA = 0;     ///< index in the set's animation list
  std::int32_t animationB = 0;
  std::int32_t frameA = 0;
  std::int32_t frameB = 0;  ///< advances and wraps with frameA
  std::int32_t actionIndex = -1;
  float fraction = 0.0f;  ///< between the current and the next frame, 0..1
  float rate = 30.0f;     ///< frames per second
};
static_assert(sizeof(N_AnimAction) == 36);

/// One figure of a set: the mesh it draws, what plays (channel 1), what fades in
/// (channel 2, taken from the queued action while no cross-fade runs), and its posed
/// bone matrices.
struct N_AnimInstance {
  N_AnimInstance();
  /// Deletes the emitter set with the instance.
  ~N_AnimInstance();
  N_AnimInstance(const N_AnimInstance&) = delete;
  N_AnimInstance& operator=(const N_AnimInstance&) = delete;

  std::int32_t mesh = 0;          ///< index in the mesh list (a figure's: its fixed mesh index)
  std::int32_t queuedAction = 0;  ///< set by SetNextAction
  std::int32_t takenAction = 0;   ///< the queued action last copied into channel 2
  float queuedRate = 0.0f;
  float queuedMix = 0.0f;
  float frameTime = 0.0f;      ///< seconds to advance in this step
  float extraTime = 0.0f;      ///< added once to the next step, then cleared
  float blendDuration = 1.0f;  ///< seconds of a cross-fade
  float blendTimer = 0.0f;     ///< seconds into the cross-fade; 0 = none
  float blendFactor = 0.0f;    ///< blendTimer / blendDuration
  /// Posed bone matrices by bone index (the set's bone count), identity until posed.
  std::vector<N_Matrix4> boneMatrices;
  /// A skier figure's own clone of the emitter template (null without particles).
  std::unique_ptr<N_AnimEmitorSet> emitters;
  /// A skier figure's occlusion query (the renderer's); not used by the base set.
  N_OcclusionQuery* occlusionQuery = nullptr;
  N_AnimAction channel1;
  N_AnimAction channel2;
};
