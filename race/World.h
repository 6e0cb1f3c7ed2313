#pragma once
// The world root: created once by the application's start-up, reached through
// g_world, updated and rendered once per pass of the main loop.
//
// For now it holds the shader manager, the text batcher, the frustum, the level, the
// level's drawables (the level object list), the particle manager, the current game,
// the athlete manager, the current camera, the texture manager it is given, the font
// list and the GUI manager; the scene borrows its members through g_scene
// (scene/SceneAccess.h), the GUI through g_guiServices (gui/GuiServices.h). Cameras and
// figures join it as they are built. Init reads the particle scripts and the athletes
// (ending the program when there are none), loads the shaders and creates their
// textures; Update ends with the particles; Render opens a frame, draws the level
// objects, the shadow overlay and the particles through the current camera (none until
// the cameras exist), the queued 2D text over the whole screen and presents; the
// destructor deletes the game, the GUI manager (then frees the fonts), the particles
// and the athlete manager, then gives every shader and texture back.
#include "core/Font.h"
#include "race/AthletMng.h"
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/ShaderMng.h"
#include "render/TextBatch.h"
#include "render/TextBatchRenderTarget.h"
#include "scene/Game.h"
#include "scene/Level.h"
#include "scene/LevelObjectList.h"
#include "scene/ParticleMng.h"

#include <memory>

class N_GuiMng;
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
  N_ParticleMng& ParticleMng() { return *m_particles; }
  /// The running game mode; null while none runs.
  N_Game* Game() const { return m_game.get(); }
  /// Deletes the previous game (its launcher has called OnRemove) and keeps this one.
  void SetGame(std::unique_ptr<N_Game> game);
  N_AthletMng& AthletMng() { return *m_athletMng; }
  /// The camera the frame is drawn from (not owned); null draws no 3D scene.
  N_Camera* CurrentCamera() const { return m_camera; }
  void SetCurrentCamera(N_Camera* camera);
  /// The fonts loaded by name (LoadFont), freed after the GUI manager is deleted.
  N_FontList& Fonts() { return m_fonts; }
  N_GuiMng& GuiMng() { return *m_guiMng; }

 private:
  std::unique_ptr<N_ShaderMng> m_shaderMng;
  N_TextBatchRenderTarget m_textTarget;  ///< draws with m_shaderMng's shaders
  std::unique_ptr<N_TextBatch> m_textBatch;
  N_TextureMng* m_textureMng;
  N_Camera* m_camera = nullptr;
  N_Frustum m_frustum;
  std::unique_ptr<N_Level> m_level;
  std::unique_ptr<N_LevelObjectList> m_levelObjects;
  std::unique_ptr<N_ParticleMng> m_particles;
  std::unique_ptr<N_Game> m_game;
  std::unique_ptr<N_AthletMng> m_athletMng;  ///< gives its shaders back: deleted before the shader cycle
  /// The whole screen ("v_width" x "v_height"), the 2D set-up of the text until the
  /// camera manager gives the world its current camera.
  N_Camera m_screenCamera;
  N_FontList m_fonts;
  std::unique_ptr<N_GuiMng> m_guiMng;
};

/// The world, while it exists.
extern N_World* g_world;
