#pragma once
// What the level and camera tests share: a renderer that records the calls of the
// level's fog, lights, teardown and flares (and carries them out), a sound manager
// that records the level's and the race camera's calls, and a rig that puts them,
// with a shader manager, texture manager, frustum, particle manager, frame time and an
// empty level, behind the globals the scene reads.
#include "render/Frustum.h"
#include "render/Render.h"
#include "render/RenderLight.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "scene/Level.h"
#include "scene/ParticleMng.h"
#include "sound/SoundMng.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"
#include "tests/render/ShaderTestSupport.h"
#include "tests/scene/LevelBuilder.h"
#include "tests/scene/ParticleTestSupport.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace test {

/// N_Render noting, in one list of events, the calls of the fog and shadow colour, the
/// lights, the texture and buffer releases, the camera set-ups and the quads, with the
/// arguments of the first ones kept by kind.
class LevelRender final : public N_Render {
 public:
  struct Fog {
    std::int32_t mode;
    std::array<float, 3> colour;
    float start, end, density;
  };
  struct Light {
    std::int32_t slot;
    N_RenderLight light;  ///< a copy (none for a null light)
    bool null;
  };

  void SetFog(std::int32_t mode, const float* colour, float start, float end, float density) override;
  void DisableFog() override;
  void SetShadowColor(float r, float g, float b) override;
  void SetAmbient(float r, float g, float b) override;
  void SetLight(std::int32_t slot, N_RenderLight* light) override;
  void DisableLights() override;
  void ReleaseTexture(TexInfo* record) override;
  void DrawQuad(float r, float g, float b, float a) override;
  void SetupCamera(N_Camera* camera, std::int32_t is3D) override;
  void DrawSurface(N_MeshSurface* surface) override;
  void DestroyVertexBuffer(N_VertexBuffer** buffer) override;
  void DestroyIndexBuffer(N_IndexBuffer** buffer) override;
  void DestroyVertexBufferBinding(N_VertexBufferBinding** binding) override;
  void DestroyOcclusionQuery(N_OcclusionQuery** query) override;
  void Forget();

  /// "SetFog", "DisableFog", "SetShadowColor", "SetLight", "DisableLights",
  /// "ReleaseTexture <handle>", "DrawQuad", "2D", "3D", "DrawSurface",
  /// "DestroyVertexBuffer", "DestroyIndexBuffer", "DestroyBinding", "DestroyQuery"
  /// (only for a pointer that holds an object).
  std::vector<std::string> events;
  std::vector<Fog> fogs;
  std::vector<std::array<float, 3>> shadowColours;
  std::vector<std::array<float, 3>> ambients;
  std::vector<Light> lights;
  std::vector<std::array<float, 4>> quads;
  std::vector<const N_MeshSurface*> surfaces;
};

/// A silent sound manager noting its calls ("Create <name>", "Play <h>", "Release <h>")
/// and the listener's places.
class EventSoundMng final : public N_SoundMng {
 public:
  struct Listener {
    N_Vector3 position, forward, velocity;
  };
  int CreateSound(const char* shaderName, const float* position) override;
  bool ReleaseSound(int handle) override;
  int Play(int handle) override;
  void SetListener(const float* position, const float* forward, const float* velocity) override;

  std::vector<std::string> events;
  std::vector<Listener> listeners;

 private:
  int m_next = 1;
};

/// The recording renderer, shaders (fake textures), textures, sound, a frustum, a
/// particle manager, the frame time and an empty level behind the globals; the camera
/// (the frame's current one) at the origin looking along +y over 640 x 480.
class LevelRig {
 public:
  explicit LevelRig(platform::d3d9::RecordingDirect3DConfig config = RecordingRender::DefaultConfig());
  /// The level first, while everything it gives back to still exists.
  ~LevelRig();
  LevelRig(const LevelRig&) = delete;
  LevelRig& operator=(const LevelRig&) = delete;

  /// Writes "data/scripts/<file>" below the rig's directory.
  void Script(const std::string& file, const std::string& text) const;
  /// Parses a particle script of the rig's directory into the manager.
  void ParticleScript(const std::string& file, const std::string& text);
  /// Builds the shader records of the names added so far.
  void LoadShaders() { shaders.LoadShaders(); }
  /// The camera at the eye looking at the target; the frustum rebuilt from it.
  void Look(const N_Vector3& eye, const N_Vector3& target);
  /// A new empty level in place of the old one (g_scene.level follows).
  void NewLevel();
  N_Level& level() { return *m_level; }
  LevelBuilder build() { return LevelBuilder(*m_level); }

  RenderRig rig;
  LevelRender& render;
  N_Camera& camera;
  FakeShaderHost host;
  N_ShaderMng shaders{64, host};
  FakeTextureDevice textureDevice;
  N_TextureMngImpl textures{1024, &textureDevice};
  EventSoundMng sound;
  N_Frustum frustum;
  N_ParticleMng particles;
  TestFrameTime time;

 private:
  std::unique_ptr<N_Level> m_level;
};

}  // namespace test
