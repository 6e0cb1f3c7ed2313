#pragma once
// N_ShootTargetMng: the range's targets: the lanes (five targets each) and an animated
// target figure per target, in lane order. Each figure opens once at the start and
// follows its target's state: every frame the display queues the closing animation on
// a target that is down and the opening one on a standing target.
//
// Owned by the shooting range: Load, BuildLanes and CreateInstances when the range is
// built; Update and Render per frame; the destructor deletes the lanes with their
// targets, then the animation set.
#include "race/ShootLane.h"
#include "scene/AnimationFactory.h"

#include <array>
#include <memory>
#include <vector>

class N_ShootTargetMng {
 public:
  static constexpr const char* kMeshFile = "Data\\Anim\\Terciky\\terciky.mesh";
  static constexpr std::array<const char*, 2> kAnimationFiles = {"Data\\Anim\\Terciky\\odklopenie.anim",
                                                                 "Data\\Anim\\Terciky\\zaklopenie.anim"};
  enum Animation : int { kOpening = 0, kClosing = 1 };
  static constexpr float kFrameRate = 30.0f;
  /// The cross-fade of a target's figure into its next action, in seconds.
  static constexpr float kBlendTime = 0.01f;

  N_ShootTargetMng() = default;
  N_ShootTargetMng(const N_ShootTargetMng&) = delete;
  N_ShootTargetMng& operator=(const N_ShootTargetMng&) = delete;

  /// The animation set with the target mesh (twice) and the two animations; false
  /// (with the AI log's line) when an animation does not load.
  bool Load();
  /// laneCount lanes: target points five at a time, stand points one at a time.
  void BuildLanes(const N_Vector3* targetPoints, const N_Vector3* standPoints, int laneCount);
  /// A figure per target of every lane, on the first mesh, opening at 30 frames a second.
  void CreateInstances();
  /// Queues on each figure the closing (target down) or opening (standing) animation.
  void Update();
  /// Draws every figure at its target, turned to face the lane's stand.
  void Render(float frameTime);

  int LaneCount() const { return static_cast<int>(m_lanes.size()); }
  /// Lane i, null outside the lanes.
  N_ShootLane* Lane(int i) const;
  N_AnimationFactory* Set() const { return m_set.get(); }
  /// The figure of target `target` of lane `lane` (-1 when it has none).
  int Instance(int lane, int target) const;
  const std::vector<int>& Animations() const { return m_animations; }

 private:
  std::unique_ptr<N_AnimationFactory> m_set;
  std::array<int, 2> m_meshes{-1, -1};
  std::vector<int> m_animations;
  std::vector<int> m_instances;  ///< five per lane, in lane order
  std::vector<std::unique_ptr<N_ShootLane>> m_lanes;
};
