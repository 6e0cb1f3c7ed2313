#pragma once
// N_LevelAnimObject: an animated prop of the level (a flag, a sign): one skinned mesh
// playing one looping animation at a fixed place, in an animation set of its own. The
// level loader makes and loads one per animated-object record; the level owns them
// and its per-frame actor drawing draws them.
#include "core/Matrix3.h"
#include "core/Quaternion.h"
#include "core/Vector3.h"

#include <memory>
#include <string>

class N_AnimationFactory;

class N_LevelAnimObject {
 public:
  /// Test hook: when set, called in place of the set's CreateInstance.
  using InstanceMaker = int (*)(N_AnimationFactory& set);

  /// No set, indices and position 0, identity orientation.
  N_LevelAnimObject();
  /// Clears and deletes the set.
  ~N_LevelAnimObject();
  N_LevelAnimObject(const N_LevelAnimObject&) = delete;
  N_LevelAnimObject& operator=(const N_LevelAnimObject&) = delete;

  /// name + ".mesh" and name + ".anim" into a new set, one instance looping the
  /// animation from frame 0 at 30 frames a second, placed at the position and turned by
  /// the rotation. A mesh, animation or instance that cannot be made is critical.
  void Load(const char* name, const N_Vector3& position, const N_Quaternion& rotation);

  N_AnimationFactory* Set() const { return m_set.get(); }
  int Instance() const { return m_instance; }
  int Mesh() const { return m_mesh; }
  int Action() const { return m_action; }
  const N_Vector3& Position() const { return m_position; }
  const N_Matrix3& Orientation() const { return m_orientation; }

  static void SetInstanceMaker(InstanceMaker maker) { s_instanceMaker = maker; }

 private:
  static InstanceMaker s_instanceMaker;

  std::unique_ptr<N_AnimationFactory> m_set;
  int m_instance = 0;
  int m_mesh = 0;
  int m_action = 0;
  N_Vector3 m_position;
  N_Matrix3 m_orientation;
};
