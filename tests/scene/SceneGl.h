#pragma once
// The scene's rig on the OpenGL device (Xvfb with Mesa): the renderer on a test window
// with a texture manager and a shader manager over it, the frustum, a level and a
// camera, filled into the scene's access point and the renderer's globals, and taken
// down in the world's order.
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/RendererTextureDevice.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "scene/Level.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/GlRender.h"

namespace test {

class SceneGl : public GlRender {
 public:
  /// The window and the video variables; StartScene makes the renderer.
  SceneGl(int width, int height);
  /// Clears g_scene, gives the shaders' and textures' references back, clears the
  /// globals, then stops the renderer while the managers still exist.
  ~SceneGl() override;

  /// Makes the renderer over the texture manager after any set-up of the test (files,
  /// variables) and fills the globals: g_scene holds the frustum, shaders and level; the
  /// camera sees 90 degrees across the window.
  void StartScene();
  /// Builds the shaders of the names added so far and their textures.
  void LoadShaders();
  /// Opens a frame cleared to black with the 3D set-up of the camera and its frustum.
  void Begin3D();
  BackBufferImage Image() { return ReadBackBuffer(render().Device()); }

  RendererTextureDevice textureDevice;
  N_TextureMngImpl textures{1024, &textureDevice};
  N_ShaderMng shaders{1024};
  N_Frustum frustum;
  N_Level level;
  N_Camera camera;
};

}  // namespace test
