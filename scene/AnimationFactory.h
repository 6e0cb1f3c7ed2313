#pragma once
// N_AnimationFactory: an animation set. It owns skinned meshes sharing one skeleton
// (the first mesh fixes the bone count), animations fitted to that skeleton, actions
// of one animation or two mixed ones, and instances. Indices into the lists are the
// handles the owners keep (the rifle and targets, the animated level objects, the
// spectators; the skier figures through a derived set); nothing leaves a list but by
// Clear.
//
// The instance operations are virtual so that a test can stand in a set that records
// what its owner asks of it.
//
// Per frame the owner calls RenderInstance for each instance:
//   1. queue take-over: while no cross-fade runs, channel 2 becomes the queued action;
//   2. visibility: the mesh's box at the position (widened by 30) against the scene's
//      frustum, and its depth minus the mesh radius against "LODWorldDistance";
//   3. the step: time advances in both channels, a cross-fade runs and ends, and when
//      the figure is to be posed, the skeleton is posed from the roots;
//   4. for a posed figure: Skin, then Draw at the position and rotation.
#include "core/Matrix3.h"
#include "core/Quaternion.h"
#include "core/Vector3.h"
#include "scene/AnimInstance.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class N_AnimObject;
class N_Animation;

class N_AnimationFactory {
 public:
  static constexpr float kDefaultRate = 30.0f;
  /// Added on every side of the mesh's box before the frustum test.
  static constexpr float kVisibilityMargin = 30.0f;

  N_AnimationFactory();
  virtual ~N_AnimationFactory();
  N_AnimationFactory(const N_AnimationFactory&) = delete;
  N_AnimationFactory& operator=(const N_AnimationFactory&) = delete;

  /// Loads a mesh and appends it; -1 for a null name, a failed load, or a bone count
  /// other than the first mesh's (code 12, "Mesh %s has different bone hierarhy...").
  int AddMesh(const char* fileName);
  /// Loads an animation fitted to the first mesh's bones and appends it; -1 without a
  /// mesh, for a failed load (code 12, "Load animation %s FAILED!") or an animation
  /// that does not fit (code 12, "Animation %s has different bone hierarhy...").
  int AddAnimation(const char* fileName);
  /// An action of file A (and B, mixed, when given) at 30 frames a second; its name
  /// is file A's text (the first action of a name keeps it). -1 for a null A or when an
  /// animation fails (an animation already added stays in the list).
  int AddAction(const char* fileA, const char* fileB, bool loop);
  /// A new instance with identity bone matrices for the first mesh's skeleton; -1
  /// without a mesh.
  virtual int CreateInstance();
  /// False (nothing changed) when either index is out of range.
  virtual bool SetInstanceMesh(int instance, int mesh);
  /// Plays the action in channel 1 at once: its flags, animations, frames and index
  /// (channel 1 keeps its fraction), then the given rate and mix. False (nothing
  /// changed) for a bad instance or action index.
  virtual bool SetAction(int instance, int action, float rate, float mix);
  /// Queues the action; the cross-fade starts in RenderInstance. False for bad indices.
  virtual bool SetNextAction(int instance, int action, float rate, float mix);
  /// Channel 1's rate and mix and the instance's cross-fade duration; false for a bad
  /// instance.
  bool SetActionRate(int instance, float rate, float mix, float blendDuration);
  /// The per-frame entry (steps in the class comment). force draws a figure the
  /// visibility test rejected; without draw nothing is posed or drawn.
  virtual void RenderInstance(float frameTime, int instance, const N_Vector3& position, const N_Matrix3& rotation,
                              bool force, bool draw);
  /// N_AnimObject::CreateShadowVolume for every mesh (when a race is set up).
  void CreateShadowVolumes();
  /// Deletes every mesh, action, instance and animation; empties the name map.
  void Clear();

  /// The local rotation and position of bone b for the instance: channel 1's keys, or
  /// channel 1 blended towards channel 2 by the blend factor while a cross-fade runs.
  void SampleBone(int bone, const N_AnimInstance& instance, N_Quaternion& rotation, N_Vector3& position) const;

  int MeshCount() const { return static_cast<int>(m_meshes.size()); }
  int AnimationCount() const { return static_cast<int>(m_animations.size()); }
  int InstanceCount() const { return static_cast<int>(m_instances.size()); }
  int ActionCount() const { return static_cast<int>(m_actions.size()); }
  N_AnimObject* Mesh(int index) const;
  const N_Animation* Animation(int index) const;
  N_AnimInstance* Instance(int index) const;
  const N_AnimAction* Action(int index) const;
  /// The index of the action named by its first file, -1 when none.
  int FindAction(const std::string& name) const;

 protected:
  /// The animation step of one instance on a mesh (the derived figure set passes its
  /// own meshes): time, cross-fade, and the posing when pose is set.
  void AdvanceInstance(N_AnimInstance& instance, N_AnimObject& mesh, bool pose);
  /// Poses every bone reachable from the mesh's roots, parent before child.
  void PoseSkeleton(N_AnimObject& mesh, N_AnimInstance& instance) const;
  /// While no cross-fade runs: channel 2 becomes the queued action (an index outside the
  /// action list is skipped) with the queued rate and mix.
  void TakeQueuedAction(N_AnimInstance& instance) const;
  /// The channel's animations are in the list (a channel that names another cannot play).
  bool Playable(const N_AnimAction& channel) const;
  bool ValidInstance(int index) const { return index >= 0 && index < InstanceCount(); }
  bool ValidAction(int index) const { return index >= 0 && index < ActionCount(); }

  std::vector<std::unique_ptr<N_AnimObject>> m_meshes;
  std::vector<std::unique_ptr<N_Animation>> m_animations;
  std::vector<std::unique_ptr<N_AnimInstance>> m_instances;
  std::vector<std::unique_ptr<N_AnimAction>> m_actions;
  std::map<std::string, int> m_actionNames;

 private:
  void SampleChannel(const N_AnimAction& channel, int bone, N_Quaternion& rotation, N_Vector3& position) const;
};
