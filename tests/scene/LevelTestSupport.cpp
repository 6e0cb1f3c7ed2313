#include "tests/scene/LevelTestSupport.h"

#include "core/Globals.h"
#include "render/RenderStateCache.h"
#include "render/TexInfo.h"
#include "scene/SceneAccess.h"

namespace test {

void LevelRender::SetFog(std::int32_t mode, const float* colour, float start, float end, float density) {
  events.push_back("SetFog");
  fogs.push_back({mode, {colour[0], colour[1], colour[2]}, start, end, density});
  N_Render::SetFog(mode, colour, start, end, density);
}

void LevelRender::DisableFog() {
  events.push_back("DisableFog");
  N_Render::DisableFog();
}

void LevelRender::SetShadowColor(float r, float g, float b) {
  events.push_back("SetShadowColor");
  shadowColours.push_back({r, g, b});
  N_Render::SetShadowColor(r, g, b);
}

void LevelRender::SetAmbient(float r, float g, float b) {
  ambients.push_back({r, g, b});
  N_Render::SetAmbient(r, g, b);
}

void LevelRender::SetLight(std::int32_t slot, N_RenderLight* light) {
  events.push_back("SetLight");
  lights.push_back({slot, light ? *light : N_RenderLight{}, light == nullptr});
  N_Render::SetLight(slot, light);
}

void LevelRender::DisableLights() {
  events.push_back("DisableLights");
  N_Render::DisableLights();
}

void LevelRender::ReleaseTexture(TexInfo* record) {
  events.push_back("ReleaseTexture " + std::to_string(record ? record->texture : -1));
  N_Render::ReleaseTexture(record);
}

void LevelRender::DrawQuad(float r, float g, float b, float a) {
  events.push_back("DrawQuad");
  quads.push_back({r, g, b, a});
  N_Render::DrawQuad(r, g, b, a);
}

void LevelRender::SetupCamera(N_Camera* camera, std::int32_t is3D) {
  events.push_back(is3D ? "3D" : "2D");
  N_Render::SetupCamera(camera, is3D);
}

void LevelRender::DrawSurface(N_MeshSurface* surface) {
  events.push_back("DrawSurface");
  surfaces.push_back(surface);
  N_Render::DrawSurface(surface);
}

void LevelRender::DestroyVertexBuffer(N_VertexBuffer** buffer) {
  if (buffer && *buffer) events.push_back("DestroyVertexBuffer");
  N_Render::DestroyVertexBuffer(buffer);
}

void LevelRender::DestroyIndexBuffer(N_IndexBuffer** buffer) {
  if (buffer && *buffer) events.push_back("DestroyIndexBuffer");
  N_Render::DestroyIndexBuffer(buffer);
}

void LevelRender::DestroyVertexBufferBinding(N_VertexBufferBinding** binding) {
  if (binding && *binding) events.push_back("DestroyBinding");
  N_Render::DestroyVertexBufferBinding(binding);
}

void LevelRender::DestroyOcclusionQuery(N_OcclusionQuery** query) {
  if (query && *query) events.push_back("DestroyQuery");
  N_Render::DestroyOcclusionQuery(query);
}

void LevelRender::Forget() {
  events.clear();
  fogs.clear();
  shadowColours.clear();
  lights.clear();
  quads.clear();
  surfaces.clear();
}

int EventSoundMng::CreateSound(const char* shaderName, const float*) {
  events.push_back(std::string("Create ") + (shaderName ? shaderName : ""));
  return m_next++;
}

bool EventSoundMng::ReleaseSound(int handle) {
  events.push_back("Release " + std::to_string(handle));
  return true;
}

int EventSoundMng::Play(int handle) {
  events.push_back("Play " + std::to_string(handle));
  return 0;
}

void EventSoundMng::SetListener(const float* position, const float* forward, const float* velocity) {
  listeners.push_back({{position[0], position[1], position[2]},
                       {forward[0], forward[1], forward[2]},
                       {velocity[0], velocity[1], velocity[2]}});
}

LevelRig::LevelRig(platform::d3d9::RecordingDirect3DConfig config)
    : rig(std::move(config), [] { return new LevelRender; }),
      render(static_cast<LevelRender&>(rig.render)),
      camera(rig.camera),
      m_level(std::make_unique<N_Level>()) {
  // A rig before this one in the process may have left its freed material bound.
  g_renderStateCache.currentShader = nullptr;
  g_render = &rig.render;
  g_textureMng = &textures;
  g_soundMng = &sound;
  g_scene.frustum = &frustum;
  g_scene.shaderMng = &shaders;
  g_scene.particles = &particles;
  g_scene.camera = &camera;
  g_scene.level = m_level.get();
  frustum.Build(camera);
}

LevelRig::~LevelRig() {
  g_scene.level = nullptr;
  m_level.reset();
  particles.DestroyAllSystems();  // while the renderer still takes the buffers back
  g_renderStateCache.currentShader = nullptr;
  g_scene = N_SceneAccess{};
  g_soundMng = nullptr;
  g_textureMng = nullptr;
  g_render = nullptr;
}

void LevelRig::Script(const std::string& file, const std::string& text) const {
  rig.harness.dir.Write("data/scripts/" + file, text);
}

void LevelRig::ParticleScript(const std::string& file, const std::string& text) {
  Script(file, text);
  particles.ParseScript((rig.harness.dir.Path() + "/data/scripts/" + file).c_str());
}

void LevelRig::Look(const N_Vector3& eye, const N_Vector3& target) {
  camera.LookAt(&eye, &target);
  frustum.Build(camera);
}

void LevelRig::NewLevel() {
  g_scene.level = nullptr;
  m_level = std::make_unique<N_Level>();
  g_scene.level = m_level.get();
}

}  // namespace test
