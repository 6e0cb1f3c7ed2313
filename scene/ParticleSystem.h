#pragma once
// N_ParticleSystem: a group of emitters started, updated and drawn together, made by
// the particle manager (N_ParticleMng::CreateSystem) and owned by it; its owner (the
// level's effects, a figure's emitter attachments) adds the emitters, starts the system
// and destroys it through the manager. Per frame the manager calls Update and Render.
#include "scene/ParticleEmitter.h"

#include <cstdint>
#include <memory>
#include <vector>

class N_ParticleSystem {
 public:
  N_ParticleSystem() = default;
  N_ParticleSystem(const N_ParticleSystem&) = delete;
  N_ParticleSystem& operator=(const N_ParticleSystem&) = delete;

  /// Appends the emitter, which the system owns from then on; returns it (null stays null
  /// and is not added).
  N_ParticleEmitter* AddEmitter(std::unique_ptr<N_ParticleEmitter> emitter);
  /// Clears the first state word and the hidden word, keeps the value, starts every
  /// emitter in order.
  void Start(std::uint32_t value);
  /// Updates every emitter in order; one that has finished stops emitting.
  void Update();
  /// Draws every emitter in order, unless hidden.
  void Render();
  /// Deletes every emitter.
  void Clear() { m_emitters.clear(); }

  std::size_t EmitterCount() const { return m_emitters.size(); }
  const std::vector<std::unique_ptr<N_ParticleEmitter>>& Emitters() const { return m_emitters; }

  /// Kept for the system's owner; the particle code does not read them.
  std::uint32_t state[2] = {};
  std::uint32_t startValue = 0;
  std::uint32_t hidden = 0;  ///< not 0: updated but not drawn

 private:
  std::vector<std::unique_ptr<N_ParticleEmitter>> m_emitters;
};
