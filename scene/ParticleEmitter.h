#pragma once
// N_ParticleEmitter: one running particle effect, a fixed set of slots made from a
// particle template (N_ParticleShader), placed in the world by its owner, simulated once
// a frame and drawn as camera-facing quads or as point sprites. Made by the particle
// manager (N_ParticleMng::CreateEmitter), owned by the particle system it is added to.
//
// Start (Init on the first call) spawns the emission count. Update, once a frame:
//   1. frozen while the template's detail is above the manager's;
//   2. "killifunseen": out of the frustum or beyond "LODWorldDistance", it stops (an
//      oriented one drops its particles);
//   3. moves, turns, resizes and fades the live slots, respawns up to count + 1 dead
//      ones while emitting;
//   4. writes the live slots into the vertex buffer (BuildVertices);
//   5. answers true once no slot lives and none was spawned.
// Render draws what the last build wrote. The camera, the frustum and the shader
// manager are the world's (g_scene), the frame time is g_timer's.
#include "core/Matrix3.h"
#include "core/Vector3.h"
#include "render/MeshSurface.h"
#include "scene/Particle.h"

#include <array>
#include <cstdint>
#include <vector>

class N_ParticleMng;
class N_ParticleShader;
class N_Camera;

class N_ParticleEmitter {
 public:
  /// One draw indexes 16-bit: a quad takes 4 vertices and 6 indices, so at most 10,922
  /// quad slots (6 x 10,922 indices fit the surface's 16-bit count); sprites 65,535.
  static constexpr std::uint32_t kMaxQuadSlots = 10922;
  static constexpr std::uint32_t kMaxSpriteSlots = 65535;

  /// Not started: no slots and no buffers yet; the box from the template. The template
  /// and the manager (whose detail setting it follows) must outlive the emitter.
  N_ParticleEmitter(const N_ParticleShader& shader, const N_ParticleMng& manager);
  /// Gives the buffers and the binding back to the renderer.
  ~N_ParticleEmitter();
  N_ParticleEmitter(const N_ParticleEmitter&) = delete;
  N_ParticleEmitter& operator=(const N_ParticleEmitter&) = delete;

  /// Starts or restarts the effect: slots and buffers on the first call, then the
  /// emission count spawned into dead slots.
  void Start();
  /// One frame; true when the emitter has finished (no particle alive, none spawned).
  bool Update();
  /// Draws the live particles of the last update.
  void Render();
  /// Dead slots are no longer respawned; the living run out.
  void StopEmitting() { m_emitting = 0; }
  /// Turns the template's velocity range by the rotation (rows); a respawned particle
  /// then starts with the turned maximum.
  void SetOrientation(const N_Matrix3& rotation);
  /// box: min x, y, z, max x, y, z; the spawn box's half extents become half its size.
  void SetBox(const float* box);
  /// The visibility box about the position: min x, y, z, max x, y, z.
  std::array<float, 6> GetCullBox() const;
  /// Slots (0 before the first start).
  std::uint32_t GetParticleCount() const { return static_cast<std::uint32_t>(m_particles.size()); }

  const N_ParticleShader& Shader() const { return *m_shader; }
  const std::vector<N_Particle>& Particles() const { return m_particles; }
  const N_MeshSurface& Surface() const { return m_surface; }
  bool IsEmitting() const { return m_emitting != 0; }
  bool IsAlive() const { return m_alive != 0; }
  bool IsInitialised() const { return m_initialised != 0; }
  bool IsInView() const { return m_inView != 0; }
  bool IsOriented() const { return m_oriented != 0; }
  bool DrawsPointSprites() const { return m_pointSprites != 0; }
  const N_Vector3& BoxHalfExtents() const { return m_boxHalfExtents; }
  const N_Vector3& OrientedVelocityMax() const { return m_orientedVelocityMax; }
  /// Live slots written by the last build (the draw covers only them).
  std::uint32_t BuiltCount() const { return m_builtCount; }

  N_Vector3 position;    ///< the origin, set by the owner
  N_Vector3 lineVector;  ///< line emitters: the second end point minus the first

 private:
  void Init();
  /// Slots to spawn: the template's emission range drawn, or every slot.
  std::uint32_t EmissionCount() const;
  void CreateBuffers(std::uint32_t slots);
  void DestroyBuffers();
  /// Spawn steps 1-2: the slot's position from its offset, with the camera for
  /// "movewithparent".
  void PlaceSlot(N_Particle& particle) const;
  void SpawnSlot(N_Particle& particle) const;
  void InitSlot(N_Particle& particle, bool preAged);
  void AdvanceSlot(N_Particle& particle, float dt) const;
  /// "killifunseen": false (and the emitter out of view) when it must stop this frame.
  bool CullTest();
  bool DetailAllowed() const;
  /// Writes the live slots first, in slot order, and sets the draw's counts to them.
  void BuildVertices();
  void BuildSprites(const N_Camera& camera);
  void BuildQuads(const N_Camera& camera);

  std::vector<N_Particle> m_particles;
  const N_ParticleShader* m_shader;  ///< not owned
  const N_ParticleMng* m_manager;    ///< not owned
  N_MeshSurface m_surface;           ///< owns the buffers and the binding
  N_Vector3 m_orientedVelocityMin;
  N_Vector3 m_orientedVelocityMax;
  std::uint8_t m_emitting = 1;
  std::uint8_t m_alive = 0;
  std::uint8_t m_initialised = 0;
  std::uint8_t m_inView = 0;
  std::uint8_t m_oriented = 0;
  N_Vector3 m_boxHalfExtents;
  N_Vector3 m_cullHalfExtents;
  float m_cullRadius = 0.0f;
  std::uint8_t m_pointSprites = 0;
  std::uint32_t m_builtCount = 0;
};
