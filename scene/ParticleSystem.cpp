#include "scene/ParticleSystem.h"

#include <utility>

N_ParticleEmitter* N_ParticleSystem::AddEmitter(std::unique_ptr<N_ParticleEmitter> emitter) {
  if (!emitter) return nullptr;
  m_emitters.push_back(std::move(emitter));
  return m_emitters.back().get();
}

void N_ParticleSystem::Start(std::uint32_t value) {
  state[0] = 0;
  hidden = 0;
  startValue = value;
  for (const auto& emitter : m_emitters) emitter->Start();
}

void N_ParticleSystem::Update() {
  for (const auto& emitter : m_emitters) {
    if (emitter->Update()) emitter->StopEmitting();
  }
}

void N_ParticleSystem::Render() {
  if (hidden != 0) return;
  for (const auto& emitter : m_emitters) emitter->Render();
}
