#pragma once
// Helpers of the scene tests: a renderer that records the calls the render list makes
// (and then carries them out), a sound manager that records what the drawables ask of
// it, mesh files written by the sample writer, and a rig that puts all of them behind
// the globals the scene reads (g_render, g_scene, g_textureMng, g_soundMng).
#include "render/Frustum.h"
#include "render/Render.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "sound/SoundMng.h"
#include "tests/render/FakeTextureDevice.h"
#include "tests/render/RenderRig.h"
#include "tests/render/ShaderTestSupport.h"
#include "tools/MeshWriter.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace test {

/// N_Render with SetShader, SetWorldMatrix, DrawSurface and DrawWireBox recorded, in
/// one list of calls as well as by kind.
class CountingRender final : public N_Render {
 public:
  struct ShaderCall {
    const N_Shader* shader;
    std::int32_t lightmap;
  };
  struct BoxCall {
    std::array<float, 6> box;
    std::array<float, 3> colour;
  };

  void SetShader(N_Shader* shader, std::int32_t lightmap) override;
  void SetWorldMatrix(const N_Matrix4& matrix) override;
  void DrawSurface(N_MeshSurface* surface) override;
  void DrawWireBox(const float* box, const float* colour) override;
  void Forget();

  std::vector<std::string> calls;  ///< "SetShader", "SetWorldMatrix", "DrawSurface", "DrawWireBox"
  std::vector<ShaderCall> shaders;
  std::vector<N_Matrix4> worlds;
  std::vector<const N_MeshSurface*> draws;
  std::vector<BoxCall> boxes;
};

/// A sound manager (silent: the tests run without an audio device) that hands out
/// handles from 1 and records positions, plays and releases.
class RecordingSoundMng final : public N_SoundMng {
 public:
  struct Position {
    int handle;
    float x, y, z;
  };
  int CreateSound(const char* shaderName, const float* position) override;
  bool ReleaseSound(int handle) override;
  int Play(int handle) override;
  int SetPosition(int handle, float x, float y, float z) override;

  std::vector<std::string> created;
  std::vector<Position> positions;
  std::vector<int> played;
  std::vector<int> released;

 private:
  int m_next = 1;
};

/// A square quad of two triangles in the x-z plane at y, facing -y, centred on (x, z):
/// a surface of its own vertices for the sample writer.
void AddQuad(datagen::SurfaceData& mesh, std::uint32_t material, float x, float y, float z, float half,
             std::uint32_t colour = 0xFFFFFFFF);
/// Writes a mesh file of the data below the current directory.
void WriteMesh(const std::string& path, const datagen::SurfaceData& mesh);
/// Writes a LOD object's three files "<base>_1.mesh" to "_3.mesh", each one quad at the
/// origin of the material "<base>_<level>".
void WriteLodQuads(const std::string& base, float half);

/// The recording renderer with a shader manager (fake textures), a texture manager on a
/// fake device, the recording sound manager and a frustum, all behind the globals.
class SceneRig {
 public:
  SceneRig();
  ~SceneRig();
  SceneRig(const SceneRig&) = delete;
  SceneRig& operator=(const SceneRig&) = delete;

  /// The camera at the eye looking at the target; the frustum rebuilt from it.
  void Look(const N_Vector3& eye, const N_Vector3& target);
  /// Reads the shader scripts written so far and builds the records.
  void LoadShaders() { shaders.LoadShaders(); }

  RenderRig rig;
  CountingRender& render;
  N_Camera& camera;
  FakeShaderHost host;
  N_ShaderMng shaders{64, host};
  FakeTextureDevice textureDevice;
  N_TextureMngImpl textures{1024, &textureDevice};
  RecordingSoundMng sound;
  N_Frustum frustum;
};

}  // namespace test
