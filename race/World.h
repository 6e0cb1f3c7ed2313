#pragma once
// The world root: created once by the application's start-up, reached through
// g_world, updated and rendered once per pass of the main loop.
//
// For now it holds the shader manager, the text batcher, the frustum, the level, the
// level's drawables (the level object list), the current camera, the texture manager it
// is given, the font list and the GUI manager; the scene borrows its members through
// g_scene (scene/SceneAccess.h), the GUI through g_guiServices (gui/GuiServices.h).
// Cameras, game modes, particles and athletes join it as they are built. The
// constructor registers the GUI's factories; Init reads the GUI page scripts, makes the
// cursor, loads the shaders and creates their textures, and shows the main menu;
// Update runs the GUI's frame; Render opens a frame, draws the level objects through
// the current camera (none until the cameras exist), then in a 2D set-up over the
// whole screen the GUI pages and the queued 2D text, and presents; the destructor
// deletes the GUI manager, frees the fonts and gives every shader and texture back.
#include "core/Font.h"
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/ShaderMng.h"
#include "render/TextBatch.h"
#include "render/TextBatchRenderTarget.h"
#include "scene/Level.h"
#include "scene/LevelObjectList.h"

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

  /// Sets the world up after construction: the GUI page scripts and the cursor, then
  /// the shader scripts for every shader added so far and their textures, then the
  /// pages "Background" and "MainMenu" shown at once. Without either page: the critical
  /// error "Main menu gui pages not found!" (false when there is no reporter). The
  /// application ignores the result.
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
  /// The camera the frame is drawn from (not owned); null draws no 3D scene.
  N_Camera* CurrentCamera() const { return m_camera; }
  void SetCurrentCamera(N_Camera* camera);
  /// The fonts loaded by name (LoadFont), freed after the GUI manager is deleted.
  N_FontList& Fonts() { return m_fonts; }
  N_GuiMng& GuiMng() { return *m_guiMng; }

 private:
  /// The element "Cursor" (shader "Kurzor") as the GUI's cursor, on its page, hidden.
  void InitCursor();
  bool ShowMainMenu();

  std::unique_ptr<N_ShaderMng> m_shaderMng;
  N_TextBatchRenderTarget m_textTarget;  ///< draws with m_shaderMng's shaders
  std::unique_ptr<N_TextBatch> m_textBatch;
  N_TextureMng* m_textureMng;
  N_Camera* m_camera = nullptr;
  N_Frustum m_frustum;
  std::unique_ptr<N_Level> m_level;
  std::unique_ptr<N_LevelObjectList> m_levelObjects;
  /// The whole screen ("v_width" x "v_height"), the 2D set-up of the text until the
  /// camera manager gives the world its current camera.
  N_Camera m_screenCamera;
  N_FontList m_fonts;
  std::unique_ptr<N_GuiMng> m_guiMng;
};

/// The world, while it exists.
extern N_World* g_world;
