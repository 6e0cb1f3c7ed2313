#include "tests/scene/SceneGl.h"

#include "render/Render.h"
#include "render/TextureMng.h"
#include "scene/SceneAccess.h"

namespace test {

SceneGl::SceneGl(int width, int height) : GlRender(width, height) {}

void SceneGl::StartScene() {
  services.textureMng = &textures;
  Start();
  g_render = renderObject;
  g_textureMng = &textures;
  camera.SetProjection(90.0f, float(Width()), float(Height()), 0.0f, 0.0f);
  g_scene = {&frustum, &shaders, &level};
}

SceneGl::~SceneGl() {
  g_scene = {};
  shaders.ResetRefCounts();
  shaders.LoadShaders();
  textures.ResetRefCounts();
  textures.PurgeTextures();
  g_textureMng = nullptr;
  g_render = nullptr;
  Stop();
}

void SceneGl::LoadShaders() {
  shaders.LoadShaders();
  textures.PurgeTextures();
}

void SceneGl::Begin3D() {
  render().SetClearColorRGBA(0.0f, 0.0f, 0.0f, 1.0f);
  render().BeginFrame();
  render().SetupCamera(&camera, 1);
  frustum.Build(camera);
}

}  // namespace test
