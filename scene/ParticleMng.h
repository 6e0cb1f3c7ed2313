#pragma once
// N_ParticleMng: the world's one owner of everything particle: the templates read from
// "scripts\*.particle" (by exact name), the particle systems (in creation order) and,
// through them, the emitters. The world creates it, sets its detail from
// "ParticleDetails" and loads the scripts before the shader manager builds its records
// (the templates add their materials), updates it last in every frame's update and
// draws it in the 3D set-up after the shadow overlay. The level's effects and the
// figures' emitter attachments make systems and emitters through it; the scene reaches
// it as g_scene.particles.
#include "scene/ParticleSystem.h"
#include "scene/RenderObject.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class N_ParticleShader;

class N_ParticleMng : public N_RenderObject {
 public:
  N_ParticleMng();
  /// Destroys every system with its emitters, then the templates.
  ~N_ParticleMng() override;

  /// Parses every file the finder gives for "scripts\*.particle", in its order.
  void LoadScripts();
  /// Parses one file into the templates; returns the templates begun in it.
  int ParseScript(const char* fileName);
  /// The template of exactly that name (case included), or null.
  N_ParticleShader* FindShader(const char* name) const;
  /// Keeps the template under its name; an existing one of the name stays (and the new
  /// one is freed). Returns the template the name now stands for.
  N_ParticleShader* RegisterShader(std::unique_ptr<N_ParticleShader> shader);
  /// A new empty system at the end of the list (owned by the manager).
  N_ParticleSystem* CreateSystem();
  /// A new emitter of the named template, or null (nothing counted) when there is none;
  /// it belongs to the caller until added to a system.
  std::unique_ptr<N_ParticleEmitter> CreateEmitter(const char* templateName);
  /// A new emitter of the same template, at the same position with the same spawn box.
  std::unique_ptr<N_ParticleEmitter> CloneEmitter(const N_ParticleEmitter& emitter);
  /// A listed system is deleted with its emitters (no longer counted); any other
  /// pointer is left alone.
  void DestroySystem(N_ParticleSystem* system);
  void DestroyAllSystems();
  /// Frees every template (the emitters made from them must be gone).
  void ClearShaders();
  /// Per frame: every system's Update, in list order.
  void UpdateAll();
  /// Per frame: the identity world matrix, then every system's Render, in list order.
  void RenderAll();
  /// The totals after loading the scripts.
  void PrintLoadStats() const;
  /// The totals after a level has loaded.
  void PrintStats() const;

  /// Templates of a greater detail are frozen and not drawn.
  void SetDetail(std::uint8_t detail) { m_detail = detail; }
  std::uint8_t Detail() const { return m_detail; }
  std::size_t ShaderCount() const { return m_shaders.size(); }
  std::size_t SystemCount() const { return m_systems.size(); }
  /// Emitters created minus those destroyed with their systems.
  std::uint32_t EmitterCount() const { return m_emitterCount; }
  const std::vector<std::unique_ptr<N_ParticleSystem>>& Systems() const { return m_systems; }

 private:
  std::map<std::string, std::unique_ptr<N_ParticleShader>> m_shaders;
  std::vector<std::unique_ptr<N_ParticleSystem>> m_systems;
  std::uint32_t m_emitterCount = 0;
  std::uint8_t m_detail = 0;
};
