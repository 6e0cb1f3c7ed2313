#include "tests/scene/SceneTestSupport.h"

#include "render/TextureMng.h"
#include "scene/SceneAccess.h"

#include <fstream>

namespace test {

void CountingRender::SetShader(N_Shader* shader, std::int32_t lightmap) {
  calls.push_back("SetShader");
  shaders.push_back({shader, lightmap});
  N_Render::SetShader(shader, lightmap);
}

void CountingRender::SetWorldMatrix(const N_Matrix4& matrix) {
  calls.push_back("SetWorldMatrix");
  worlds.push_back(matrix);
  N_Render::SetWorldMatrix(matrix);
}

void CountingRender::DrawSurface(N_MeshSurface* surface) {
  calls.push_back("DrawSurface");
  draws.push_back(surface);
  N_Render::DrawSurface(surface);
}

void CountingRender::DrawWireBox(const float* box, const float* colour) {
  calls.push_back("DrawWireBox");
  boxes.push_back({{box[0], box[1], box[2], box[3], box[4], box[5]}, {colour[0], colour[1], colour[2]}});
  N_Render::DrawWireBox(box, colour);
}

void CountingRender::Forget() {
  calls.clear();
  shaders.clear();
  worlds.clear();
  draws.clear();
  boxes.clear();
}

int RecordingSoundMng::CreateSound(const char* shaderName, const float*) {
  created.push_back(shaderName ? shaderName : "");
  return m_next++;
}

bool RecordingSoundMng::ReleaseSound(int handle) {
  released.push_back(handle);
  return false;
}

int RecordingSoundMng::Play(int handle) {
  played.push_back(handle);
  return 0;
}

int RecordingSoundMng::SetPosition(int handle, float x, float y, float z) {
  positions.push_back({handle, x, y, z});
  return 0;
}

void AddQuad(datagen::SurfaceData& mesh, std::uint32_t material, float x, float y, float z, float half,
             std::uint32_t colour) {
  mesh.AddSurface({datagen::MeshVertex(x - half, y, z + half, colour, 0, 0),
                   datagen::MeshVertex(x + half, y, z + half, colour, 1, 0),
                   datagen::MeshVertex(x - half, y, z - half, colour, 0, 1),
                   datagen::MeshVertex(x + half, y, z - half, colour, 1, 1)},
                  {0, 2, 1, 1, 2, 3}, material);
}

void WriteMesh(const std::string& path, const datagen::SurfaceData& mesh) {
  const std::vector<std::uint8_t> bytes = datagen::EncodeMesh(mesh);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void WriteLodQuads(const std::string& base, float half) {
  for (int level = 1; level <= 3; ++level) {
    datagen::SurfaceData mesh;
    mesh.materials = {base + "_" + std::to_string(level)};
    AddQuad(mesh, 0, 0.0f, 0.0f, 0.0f, half);
    WriteMesh(base + "_" + std::to_string(level) + ".mesh", mesh);
  }
}

SceneRig::SceneRig()
    : rig(RecordingRender::DefaultConfig(), [] { return new CountingRender; }),
      render(static_cast<CountingRender&>(rig.render)),
      camera(rig.camera) {
  g_render = &rig.render;
  g_textureMng = &textures;
  g_soundMng = &sound;
  g_scene.frustum = &frustum;
  g_scene.shaderMng = &shaders;
  frustum.Build(camera);
}

SceneRig::~SceneRig() {
  g_scene = N_SceneAccess{};
  g_soundMng = nullptr;
  g_textureMng = nullptr;
  g_render = nullptr;
}

void SceneRig::Look(const N_Vector3& eye, const N_Vector3& target) {
  camera.LookAt(&eye, &target);
  frustum.Build(camera);
}

}  // namespace test
