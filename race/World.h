#pragma once
// The world root: created once by the application's start-up, reached through
// g_world, updated and rendered once per pass of the main loop.
//
// For now it holds the shader manager, the text batcher, the frustum, the level, the
// level's drawables (the level object list), the camera manager, the particle manager,
// the current game, the athlete manager, the skier figure factory, the skiers' body
// sounds, the current camera, the texture manager it is given, the font list and the
// GUI manager; the scene borrows its members through g_scene (scene/SceneAccess.h; the
// athlete manager is the figures' roster), the GUI through g_guiServices
// (gui/GuiServices.h; its model views draw the athletes' figures through
// N_WorldGuiFigures).
//
// The constructor registers the GUI's factories. Init loads the menu level ("mapname"),
// sets the cameras up (the race controller's camera current), reads the particle
// scripts and the athletes (ending the program when there are none), loads the skier
// figures (one per athlete and the ghost's), reads the GUI page scripts and the cursor,
// loads the shaders, creates their textures and the level's effects, sorts the level
// objects, and shows the main menu. LoadLevel changes the level (the race launches).
// Update: the camera manager reads "viewmode" and moves the cameras of that mode, the
// GUI's frame, the level's fog, the running game's update and, once it hands over a
// result, the final-result board (race/FinalResult.h, which removes the game), the
// particles. The world installs the race's pause page into the player controls while
// it lives. Render opens a frame and picks the camera
// by the view mode (0 the race camera's active camera, the free camera when it has none;
// 2 the shake camera's main camera; otherwise the free camera), which becomes the current
// camera; draws the level objects and the level's actors (spectators, props; before the
// objects in mode 2), the lens flares, the shadow overlay (2D) and the particles (3D)
// through it (in modes other than 0 into the offscreen surface, copied back by the post
// pass); then the GUI pages and the queued 2D text, and presents. The destructor deletes
// the game, the figure factory, the body sounds, the camera manager, the GUI manager
// (then frees the fonts), the particles and the athlete manager, gives every shader and
// texture back, then deletes the level objects and the level.
#include "core/Font.h"
#include "race/AthletMng.h"
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/ShaderMng.h"
#include "render/TextBatch.h"
#include "render/TextBatchRenderTarget.h"
#include "scene/AnimSound.h"
#include "scene/AnimationFactory2.h"
#include "scene/CameraMng.h"
#include "scene/Game.h"
#include "scene/Level.h"
#include "scene/LevelObjectList.h"
#include "scene/ParticleMng.h"

#include <memory>
#include <string>

class N_GuiMng;
class N_WorldGuiFigures;
class N_TextureMng;

class N_World {
 public:
  /// Keeps the texture manager (may be null while textures do not exist).
  explicit N_World(N_TextureMng* textureMng);
  /// Frees every shader and then every texture, while the renderer still exists.
  virtual ~N_World();
  N_World(const N_World&) = delete;
  N_World& operator=(const N_World&) = delete;

  /// Sets the world up after construction: the cameras, the particle scripts, the
  /// athletes, the skier figures, the GUI page scripts and the cursor, the shaders added
  /// so far with their textures, the level's effects, then the pages "Background" and
  /// "MainMenu" shown at once. Without either page: the critical error "Main menu gui pages not found!"
  /// (false when there is no reporter). The application ignores the result.
  bool Init();
  /// Loads the level named by "mapname" unless it is the current one (compared without
  /// regard to case: then only its ".cfg" is read again and the progress set to 100).
  /// Otherwise the level and the camera manager are made anew, the level object list
  /// emptied, the level loaded, the race camera's camera made current and the cameras
  /// set up, the shaders built (85), the textures purged (90), the effects made and
  /// the level objects sorted (100). Called by the race launches.
  void LoadLevel();
  /// The name of the loaded level ("mapname" at its load), kept whole.
  const std::string& CurrentMapName() const { return m_mapName; }
  /// Per frame, with the frame time in seconds.
  void Update(float frameTime);
  void Render(float frameTime);

  N_ShaderMng& ShaderMng() { return *m_shaderMng; }
  N_TextBatch& TextBatch() { return *m_textBatch; }
  N_TextureMng* TextureMng() const { return m_textureMng; }
  N_Frustum& Frustum() { return m_frustum; }
  N_Level& Level() { return *m_level; }
  N_LevelObjectList& LevelObjects() { return *m_levelObjects; }
  N_CameraMng& CameraMng() { return *m_cameraMng; }
  N_ParticleMng& ParticleMng() { return *m_particles; }
  /// The running game mode; null while none runs.
  N_Game* Game() const { return m_game.get(); }
  /// Deletes the previous game (its launcher has called OnRemove) and keeps this one.
  void SetGame(std::unique_ptr<N_Game> game);
  /// The athletes; also the skier figures' roster (g_scene.figureRoster).
  N_AthletMng& AthletMng() { return *m_athletMng; }
  /// The skier figures: an instance per athlete (its Figure) and the ghost's.
  N_AnimationFactory2& Figures() { return *m_figures; }
  N_AnimSound& BodySounds() { return *m_bodySounds; }
  /// The camera the last frame was drawn from (not owned); the render chooses it anew.
  N_Camera* CurrentCamera() const { return m_camera; }
  void SetCurrentCamera(N_Camera* camera);
  /// The fonts loaded by name (LoadFont), freed after the GUI manager is deleted.
  N_FontList& Fonts() { return m_fonts; }
  N_GuiMng& GuiMng() { return *m_guiMng; }

 private:
  /// The camera of the view mode (race camera falling back to the free camera).
  N_Camera* ChooseCamera();
  /// The level objects, flares, shadow overlay and particles through the camera.
  void RenderScene(N_Camera* camera, float frameTime);
  /// The element "Cursor" (shader "Kurzor") as the GUI's cursor, on its page, hidden.
  void InitCursor();
  bool ShowMainMenu();
  /// The text of "mapname" ("" without a registry).
  static std::string MapName();

  std::unique_ptr<N_ShaderMng> m_shaderMng;
  N_TextBatchRenderTarget m_textTarget;  ///< draws with m_shaderMng's shaders
  std::unique_ptr<N_TextBatch> m_textBatch;
  N_TextureMng* m_textureMng;
  N_Camera* m_camera = nullptr;
  N_Frustum m_frustum;
  std::unique_ptr<N_Level> m_level;
  std::unique_ptr<N_LevelObjectList> m_levelObjects;
  std::unique_ptr<N_CameraMng> m_cameraMng;
  std::unique_ptr<N_ParticleMng> m_particles;
  std::unique_ptr<N_Game> m_game;
  std::unique_ptr<N_AthletMng> m_athletMng;  ///< gives its shaders back: deleted before the shader cycle
  std::unique_ptr<N_AnimationFactory2> m_figures;  ///< deleted before the particles and the athletes
  std::unique_ptr<N_AnimSound> m_bodySounds;  ///< releases its sounds: deleted before the sound manager
  N_FontList m_fonts;
  std::unique_ptr<N_GuiMng> m_guiMng;
  /// The athletes and figures the GUI's model views draw, in the GUI's services record.
  std::unique_ptr<N_WorldGuiFigures> m_guiFigures;
  std::string m_mapName;  ///< the loaded level's name; empty before the first load
};

/// The world, while it exists.
extern N_World* g_world;
