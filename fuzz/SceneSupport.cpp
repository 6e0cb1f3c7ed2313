#include "fuzz/SceneSupport.h"

#include "core/Globals.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordingRenderer.h"
#include "scene/SceneAccess.h"

#include <string>

namespace fuzz {

namespace {

Scene* MakeScene() {
  g_render = &RecordingRenderer();
  auto* scene = new Scene;  // kept for the whole process, like the world's members
  scene->camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
  scene->frustum.Build(scene->camera);
  N_RenderLight& sun = scene->level.SunLight();
  sun.type = 1;
  sun.direction[2] = -1.0f;
  g_scene.frustum = &scene->frustum;
  g_scene.shaderMng = &scene->shaders;
  g_scene.level = &scene->level;
  g_scene.camera = &scene->camera;
  g_timer = &scene->clock.timer;
  return scene;
}

}  // namespace

void FrameClock::Advance(double seconds) {
  m_clock.counter += static_cast<std::uint64_t>(seconds * 1e6 + 0.5);
  timer.Tick();
}

Scene& SceneOnRecordingRenderer() {
  static Scene* const scene = MakeScene();
  return *scene;
}

void WriteMaterials(std::string_view name, std::string_view script) {
  WriteFile("data\\scripts\\" + std::string(name) + ".shader", script);
}

}  // namespace fuzz
