// N_ParticleEmitter: start, spawning and the per-frame simulation (the buffers and the
// drawing are in ParticleEmitterDraw.cpp).
#include "scene/ParticleEmitter.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/VarMng.h"
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/Render.h"
#include "scene/ParticleHelpers.h"
#include "scene/ParticleMng.h"
#include "scene/ParticleShader.h"
#include "scene/SceneAccess.h"

#include <algorithm>
#include <cmath>

namespace {

float Length(const N_Vector3& v) { return std::sqrt(Vec3Dot(v, v)); }

}  // namespace

N_ParticleEmitter::N_ParticleEmitter(const N_ParticleShader& shader, const N_ParticleMng& manager)
    : m_shader(&shader), m_manager(&manager), m_boxHalfExtents(shader.boxHalfExtents) {}

N_ParticleEmitter::~N_ParticleEmitter() { DestroyBuffers(); }

void N_ParticleEmitter::SetOrientation(const N_Matrix3& rotation) {
  rotation.Transform(m_shader->velocityMin, m_orientedVelocityMin);
  rotation.Transform(m_shader->velocityMax, m_orientedVelocityMax);
  m_oriented = 1;
}

void N_ParticleEmitter::SetBox(const float* box) {
  m_boxHalfExtents = {(box[3] - box[0]) * 0.5f, (box[4] - box[1]) * 0.5f, (box[5] - box[2]) * 0.5f};
}

std::array<float, 6> N_ParticleEmitter::GetCullBox() const {
  const N_Vector3 low = position - m_cullHalfExtents, high = position + m_cullHalfExtents;
  return {low.x, low.y, low.z, high.x, high.y, high.z};
}

bool N_ParticleEmitter::DetailAllowed() const { return m_shader->detail <= m_manager->Detail(); }

std::uint32_t N_ParticleEmitter::EmissionCount() const {
  const auto slots = static_cast<std::uint32_t>(m_particles.size());
  if (m_shader->emissionMax == 0) return slots;
  const float drawn = RandomRange(static_cast<float>(m_shader->emissionMin), static_cast<float>(m_shader->emissionMax));
  // A range above the slot count spawns every slot.
  return drawn >= static_cast<float>(slots) ? slots : static_cast<std::uint32_t>(drawn);
}

void N_ParticleEmitter::PlaceSlot(N_Particle& particle) const {
  switch (m_shader->type) {
    case N_ParticleShader::kBox:
      particle.position = position + particle.spawnOffset;
      break;
    case N_ParticleShader::kLine:
      particle.position = {position.x + particle.spawnOffset.x * lineVector.x,
                           position.y + particle.spawnOffset.y * lineVector.y,
                           position.z + particle.spawnOffset.z * lineVector.z};
      break;
    default:
      particle.position = position;
      break;
  }
  // Without a camera (none before the world has one) the snow stays where it is.
  if (m_shader->moveWithParent && g_scene.camera) particle.position.AddTo(g_scene.camera->position);
}

void N_ParticleEmitter::SpawnSlot(N_Particle& particle) const {
  PlaceSlot(particle);
  particle.velocity = m_oriented ? m_orientedVelocityMax : particle.initialVelocity;
  particle.halfSize = particle.initialHalfSize;
  particle.color = WithAlpha(particle.color, m_shader->fadesIn ? 0 : 255);
  particle.age = 0.0f;
}

void N_ParticleEmitter::InitSlot(N_Particle& particle, bool preAged) {
  const N_ParticleShader& t = *m_shader;
  // The draws in this order, one axis after the other.
  if (t.type == N_ParticleShader::kBox) {
    particle.spawnOffset.x = RandomRange(-m_boxHalfExtents.x, m_boxHalfExtents.x);
    particle.spawnOffset.y = RandomRange(-m_boxHalfExtents.y, m_boxHalfExtents.y);
    particle.spawnOffset.z = RandomRange(-m_boxHalfExtents.z, m_boxHalfExtents.z);
  } else if (t.type == N_ParticleShader::kLine) {
    particle.spawnOffset.x = RandomRange(0.0f, 1.0f);
    particle.spawnOffset.y = RandomRange(0.0f, 1.0f);
    particle.spawnOffset.z = RandomRange(0.0f, 1.0f);
  }
  PlaceSlot(particle);
  particle.initialVelocity.x = RandomRange(t.velocityMin.x, t.velocityMax.x);
  particle.initialVelocity.y = RandomRange(t.velocityMin.y, t.velocityMax.y);
  particle.initialVelocity.z = RandomRange(t.velocityMin.z, t.velocityMax.z);
  particle.velocity = particle.initialVelocity;
  particle.initialHalfSize = particle.halfSize = RandomRange(t.halfSizeMin, t.halfSizeMax);
  const std::uint32_t red = ParticleByte(RandomRange(t.colorMin.x, t.colorMax.x));
  const std::uint32_t green = ParticleByte(RandomRange(t.colorMin.y, t.colorMax.y));
  const std::uint32_t blue = ParticleByte(RandomRange(t.colorMin.z, t.colorMax.z));
  particle.color = WithAlpha((red << 16) | (green << 8) | blue, t.fadesIn ? 0 : 255);
  if (t.Rotates()) {
    particle.angle = RandomRange(0.0f, 359.0f);
    particle.spin = RandomRange(t.spinMin, t.spinMax);
  }
  particle.life = RandomRange(t.lifeMin, t.lifeMax);
  if (!preAged) {
    particle.age = particle.life;  // dead until spawned
    return;
  }
  // As if it had flown since before the start.
  particle.age = RandomRange(0.0f, t.lifeMax);
  particle.velocity.AddTo(t.gravity * particle.age);
  particle.position.AddTo(particle.velocity * particle.age);
}

void N_ParticleEmitter::Init() {
  const N_ParticleShader& t = *m_shader;
  m_emitting = t.restart;
  m_alive = 0;
  m_initialised = 1;
  m_pointSprites = (!t.Rotates() && g_render && g_render->UsesPointSprites()) ? 1 : 0;

  std::uint32_t slots = t.numParticles;
  const std::uint32_t cap = m_pointSprites ? kMaxSpriteSlots : kMaxQuadSlots;
  if (slots > cap) {
    if (!t.slotCapReported && g_log) {
      g_log->Print("!!! Particle shader '%s': %u particles, one emitter draws at most %u\n", t.name.c_str(), slots,
                   cap);
    }
    t.slotCapReported = true;
    slots = cap;
  }
  if (m_particles.size() < slots) {
    m_particles.resize(slots);
    CreateBuffers(slots);
  }

  if (t.KillsIfUnseen()) {
    // The box the particles can reach in a life: the faster end of the velocity range,
    // alone or with the gravity.
    const N_Vector3& v = Length(t.velocityMin) > Length(t.velocityMax) ? t.velocityMin : t.velocityMax;
    const float life = t.lifeMax;
    const float* velocity = &v.x;
    const float* gravity = &t.gravity.x;
    float* extents = &m_cullHalfExtents.x;
    for (int i = 0; i < 3; ++i) {
      extents[i] = std::max(std::fabs(life * velocity[i]), std::fabs((life * gravity[i] + velocity[i]) * life));
    }
    m_cullRadius = Length(m_cullHalfExtents);
  }

  const std::uint32_t count = EmissionCount();
  for (std::size_t i = 0; i < m_particles.size(); ++i) InitSlot(m_particles[i], i < count);
}

void N_ParticleEmitter::Start() {
  if (!m_initialised) Init();
  m_emitting = m_shader->restart;
  m_alive = 1;
  const std::uint32_t count = EmissionCount();
  std::uint32_t spawned = 0;
  for (N_Particle& particle : m_particles) {
    if (spawned >= count) break;
    if (particle.IsAlive()) continue;
    SpawnSlot(particle);
    ++spawned;
  }
}

bool N_ParticleEmitter::CullTest() {
  if (!g_scene.frustum) return true;  // nothing to test against
  const std::array<float, 6> box = GetCullBox();
  float depth = 0.0f;
  const bool inside = g_scene.frustum->TestBox(box.data(), &depth);
  const float farthest = g_varMng ? g_varMng->GetFloat("LODWorldDistance") : INFINITY;
  if (inside && !(depth - m_cullRadius > farthest)) return true;
  if (m_oriented && m_inView) {
    for (N_Particle& particle : m_particles) particle.age = particle.life;
  }
  m_inView = 0;
  return false;
}

void N_ParticleEmitter::AdvanceSlot(N_Particle& particle, float dt) const {
  const N_ParticleShader& t = *m_shader;
  particle.velocity.AddTo(t.gravity * dt);
  particle.position.AddTo(particle.velocity * dt);
  if (t.Rotates()) particle.angle += dt * particle.spin;
  if (t.hasTargetSize) {
    const float rate = t.targetRate, target = t.targetHalfSize;
    if ((rate > 0.0f && particle.halfSize < target) || (rate < 0.0f && particle.halfSize > target)) {
      particle.halfSize += dt * rate;
    }
  }
  if (t.fadesIn && particle.age * t.fadeInRate <= 1.0f) {
    particle.color = WithAlpha(particle.color, ParticleByte(particle.age * t.fadeInRate * 255.0f));
  }
  // The fade-out wins where both apply.
  const float left = (particle.life - particle.age) * t.fadeOutRate;
  if (t.fadesOut && left <= 1.0f) particle.color = WithAlpha(particle.color, ParticleByte(left * 255.0f));
  particle.age += dt;
}

bool N_ParticleEmitter::Update() {
  const float dt = ParticleFrameTime();
  if (!m_initialised || !m_alive) return false;
  if (!DetailAllowed()) return false;  // frozen, and not drawn either
  if (m_shader->KillsIfUnseen() && !CullTest()) return false;
  m_inView = 1;
  const std::uint32_t count = EmissionCount();
  std::uint32_t spawned = 0, active = 0;
  for (N_Particle& particle : m_particles) {
    if (particle.IsAlive()) {
      ++active;
      AdvanceSlot(particle, dt);
    } else if (m_emitting && spawned <= count) {
      // "<=": up to count + 1 slots a frame, where Start spawns exactly count.
      ++spawned;
      ++active;
      SpawnSlot(particle);
    }
  }
  BuildVertices();
  if (active == 0) m_alive = 0;
  return m_alive == 0;
}
