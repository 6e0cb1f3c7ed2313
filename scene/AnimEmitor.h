#pragma once
// N_AnimEmitor: a particle effect (or a ski's trail patch) fixed to one bone of a skier
// figure (a point) or two (a line from bone A to bone B). The emitter control script
// (N_AnimEmitorSet) makes the template emitters; every figure instance gets clones,
// which follow the instance's posed bones (Update) and are switched on and off at
// frames of the figure's actions (UpdateSwitch, by the template's switch table).
//
// Ownership: a template emitter owns its particle emitter, which is added to no system
// and never drawn; a clone's particle emitter is added to the shared particle system
// (the "system list", owned by the particle manager) and drawn with it. Every emitter
// owns its patch. A clone shares its template's switch table.
#include "core/Matrix3.h"
#include "core/Matrix4.h"
#include "core/Vector3.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class N_ParticleEmitter;
class N_ParticlePatch;
class N_ParticleSystem;

class N_AnimEmitor {
 public:
  static constexpr std::int32_t kPoint = 0;  ///< one bone
  static constexpr std::int32_t kLine = 1;   ///< from bone A to bone B
  static constexpr std::size_t kNameLength = 127;
  /// The patch value of an emitter not bound to a figure instance.
  static constexpr std::int32_t kUnbound = 666;

  /// Action index -> frames: v >= 0 switches on at frame v, v < 0 off at frame -v.
  using SwitchTable = std::map<int, std::vector<int>>;

  N_AnimEmitor();
  /// Release.
  ~N_AnimEmitor();
  N_AnimEmitor(const N_AnimEmitor&) = delete;
  N_AnimEmitor& operator=(const N_AnimEmitor&) = delete;

  /// Keeps the system list and makes the emitter of the particle template named
  /// particleName (g_scene.particles), at the origin with the box (0, 0, 0)-(1, 1, 1).
  /// No template of that name (or no particle manager) is a critical error.
  void Create(N_ParticleSystem* systems, const char* emitterName, const char* particleName);
  /// Makes the emitter a patch emitter with a new trail patch of that material.
  void SetPatch(const char* patchName);
  /// A new active emitter sharing kind, bones, switch table, bone matrices and system
  /// list: a plain one with a copy of the particle emitter added to the system list, a
  /// patch one with a new patch of the same material and this one's patch value.
  std::unique_ptr<N_AnimEmitor> Clone() const;
  /// Follows the bones: a bone's point is the rotation applied to its posed
  /// translation, plus the position. A line sets the particle emitter's line from A to
  /// B (or lays the patch from A to B); a point places it at A (the patch from A to A).
  /// A plain emitter is then turned by the rotation.
  void Update(const N_Matrix3& rotation, const N_Vector3& position);
  /// An empty switch table of its own.
  void CreateSwitchTable();
  /// Switching by the figure's action and frame; at most one value acts per call.
  void UpdateSwitch(int action, int frame);
  /// Drops the switch table (a template's own), the patch and a template's particle
  /// emitter.
  void Release();
  /// The name, cut to 127 characters.
  void SetName(const char* name);

  /// position = start, line vector = end - start.
  static void SetLine(N_ParticleEmitter& emitter, const N_Vector3& start, const N_Vector3& end);

  const std::string& Name() const { return m_name; }
  const std::string& PatchName() const { return m_patchName; }
  N_ParticleEmitter* Particles() const { return m_particles; }
  N_ParticlePatch* Patch() const { return m_patch.get(); }
  bool IsPatch() const { return patchFlag != 0; }

  std::int32_t kind = kPoint;
  std::int32_t boneA = 0;
  std::int32_t boneB = 0;
  std::int32_t lastAction = 0;
  std::int32_t lastFrame = 0;
  std::int32_t on = 0;
  std::int32_t active = 0;  ///< 0 in a template, 1 in a clone
  std::shared_ptr<SwitchTable> switchTable;
  /// The figure instance's posed bone matrices, by bone index (not owned).
  const std::vector<N_Matrix4>* boneMatrices = nullptr;
  N_ParticleSystem* systemList = nullptr;  ///< not owned
  std::int32_t patchFlag = 0;
  std::int32_t patchValue = kUnbound;  ///< the figure instance, given to the patch

 private:
  /// The point of a bone; false when the matrices do not hold it.
  bool BonePoint(std::int32_t bone, const N_Matrix3& rotation, const N_Vector3& position, N_Vector3& out) const;
  /// One switching step over an action's values.
  void Step(const std::vector<int>& values, int frame);
  void SwitchOn();
  void SwitchOff();

  N_ParticleEmitter* m_particles = nullptr;
  std::unique_ptr<N_ParticleEmitter> m_ownParticles;  ///< a template's (or a clone's without a system)
  std::string m_name;
  std::string m_patchName;
  std::unique_ptr<N_ParticlePatch> m_patch;
};
