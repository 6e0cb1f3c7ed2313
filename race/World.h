#pragma once
// The world root: created once by the application's start-up, reached through
// g_world, updated and rendered once per pass of the main loop.
//
// For now it holds the shader manager, the text batcher, the frustum, the level, the
// level's drawables (the level object list), the athlete manager, the current camera
// and the texture manager it is given; the scene borrows them through g_scene
// (scene/SceneAccess.h). Cameras, game modes, particles, figures and GUI join it as
// they are built. Init reads the athletes (ending the program when there are none),
// loads the shaders and creates their textures; Render opens a frame, draws the level
// objects through the current camera (none until the cameras exist), the queued 2D
// text over the whole screen and presents; the destructor deletes the athlete manager
// and then gives every shader and texture back.
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/ShaderMng.h"
#include "render/TextBatch.h"
#include "render/TextBatchRenderTarget.h"
#include "race/AthletMng.h"
#include "scene/Level.h"
#include "scene/LevelObjectList.h"

#include <memory>

class N_TextureMng;

class N_World {
 public:
  /// Keeps the texture manager (may be null while textures do not exist).
  explicit N_World(N_TextureMng* textureMng);
  /// Frees every shader and then every texture, while the renderer still exists.
  virtual ~N_World();
  N_World(const N_World&) = delete;
  N_World& operator=(const N_World&) = delete;

  /// Sets the world up after construction: reads the shader scripts for every shader
  /// added so far and creates their textures. The application ignores the result.
  bool Init();
  /// Per frame, with the frame time in seconds.
  void Update(float frameTime);
  void Render(float frameTime);

  N_ShaderMng& ShaderMng() { return *m_shaderMng; }
  N_TextBatch& TextBatch() { return *m_textBatch; }
  N_TextureMng* TextureMng() const { return m_textureMng; }
  N_Frustum& Frustum() { return m_frustum; }
  N_Level& Level() { return *m_level; }
  N_LevelObjectList& LevelObjects() { return *m_levelObjects; }
  N_AthletMng& AthletMng() { return *m_athletMng; }
  /// The camera the frame is drawn from (not owned); null draws no 3D scene.
  N_Camera* CurrentCamera() const { return m_camera; }
  void SetCurrentCamera(N_Camera* camera);

 private:
  std::unique_ptr<N_ShaderMng> m_shaderMng;
  N_TextBatchRenderTarget m_textTarget;  ///< draws with m_shaderMng's shaders
  std::unique_ptr<N_TextBatch> m_textBatch;
  N_TextureMng* m_textureMng;
  N_Camera* m_camera = nullptr;
  N_Frustum m_frustum;
  std::unique_ptr<N_Level> m_level;
  std::unique_ptr<N_LevelObjectList> m_levelObjects;
  std::unique_ptr<N_AthletMng> m_athletMng;  ///< gives its shaders back: deleted before the shader cycle
  /// The whole screen ("v_width" x "v_height"), the 2D set-up of the text until the
  /// camera manager gives the world its current camera.
  N_Camera m_screenCamera;
};

/// The world, while it exists.
extern N_World* g_world;
