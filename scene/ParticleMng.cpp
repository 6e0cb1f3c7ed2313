#include "scene/ParticleMng.h"

#include "core/FileFinder.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Matrix4.h"
#include "render/Render.h"
#include "scene/ParticleParser.h"
#include "scene/ParticleShader.h"

#include <algorithm>
#include <string>
#include <utility>

N_ParticleMng::N_ParticleMng() = default;

N_ParticleMng::~N_ParticleMng() {
  DestroyAllSystems();  // the emitters read their templates: they go first
  ClearShaders();
  m_emitterCount = 0;
}

void N_ParticleMng::LoadScripts() {
  N_FileFinder finder("scripts\\*.particle");
  for (const char* path = finder.FindFirstScript(); path; path = finder.FindNextScript()) {
    const std::string file = path;  // the finder's buffer is reused by the next find
    ParseScript(file.c_str());
  }
}

int N_ParticleMng::ParseScript(const char* fileName) {
  N_ParticleParser parser;
  return parser.Parse(fileName, *this);
}

N_ParticleShader* N_ParticleMng::FindShader(const char* name) const {
  const auto found = m_shaders.find(name ? name : "");
  return found == m_shaders.end() ? nullptr : found->second.get();
}

N_ParticleShader* N_ParticleMng::RegisterShader(std::unique_ptr<N_ParticleShader> shader) {
  if (!shader) return nullptr;
  const std::string name = shader->name;
  const auto [entry, added] = m_shaders.try_emplace(name, std::move(shader));
  return entry->second.get();
}

N_ParticleSystem* N_ParticleMng::CreateSystem() {
  m_systems.push_back(std::make_unique<N_ParticleSystem>());
  return m_systems.back().get();
}

std::unique_ptr<N_ParticleEmitter> N_ParticleMng::CreateEmitter(const char* templateName) {
  const N_ParticleShader* shader = FindShader(templateName);
  if (!shader) return nullptr;
  ++m_emitterCount;
  return std::make_unique<N_ParticleEmitter>(*shader, *this);
}

std::unique_ptr<N_ParticleEmitter> N_ParticleMng::CloneEmitter(const N_ParticleEmitter& emitter) {
  std::unique_ptr<N_ParticleEmitter> clone = CreateEmitter(emitter.Shader().name.c_str());
  if (!clone) return nullptr;
  clone->position = emitter.position;
  const N_Vector3& half = emitter.BoxHalfExtents();
  const float box[6] = {0.0f, 0.0f, 0.0f, half.x * 2.0f, half.y * 2.0f, half.z * 2.0f};
  clone->SetBox(box);
  return clone;
}

void N_ParticleMng::DestroySystem(N_ParticleSystem* system) {
  const auto found = std::find_if(m_systems.begin(), m_systems.end(),
                                  [system](const std::unique_ptr<N_ParticleSystem>& s) { return s.get() == system; });
  if (found == m_systems.end()) return;
  m_emitterCount -= static_cast<std::uint32_t>((*found)->EmitterCount());
  m_systems.erase(found);  // the others keep their order
}

void N_ParticleMng::DestroyAllSystems() {
  while (!m_systems.empty()) DestroySystem(m_systems.front().get());
  m_systems.shrink_to_fit();
}

void N_ParticleMng::ClearShaders() { m_shaders.clear(); }

void N_ParticleMng::UpdateAll() {
  for (const auto& system : m_systems) system->Update();
}

void N_ParticleMng::RenderAll() {
  if (g_render) g_render->SetWorldMatrix(N_Matrix4{});
  for (const auto& system : m_systems) system->Render();
}

void N_ParticleMng::PrintLoadStats() const {
  if (!g_log) return;
  g_log->Print("\n--- Total particle scripts loaded: %d\n", static_cast<int>(m_shaders.size()));
  g_log->Print("--- Total particle systems created: %d\n", static_cast<int>(m_systems.size()));
  g_log->Print("--- Total particle emitters created: %d\n", static_cast<int>(m_emitterCount));
}

void N_ParticleMng::PrintStats() const {
  if (!g_log) return;
  g_log->Print("\n--- Particle manager statistics:\n");
  g_log->Print("Particle shaders: %u\n", static_cast<unsigned>(m_shaders.size()));
  g_log->Print("Particle systems: %u\n", static_cast<unsigned>(m_systems.size()));
  g_log->Print("Particle emitters: %u\n\n", static_cast<unsigned>(m_emitterCount));
}
