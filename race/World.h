#pragma once
// N_World: the root of everything drawn or simulated, created once by the application
// after the renderer, input and sound, reached through g_world, and updated and rendered
// once per pass of the main loop. It owns the frustum, the shader manager, the text
// batcher, the level with its camera manager, the current game, the athletes with their
// skier figures, the particles, the GUI, the level's drawables, the font list, the
// coach's sound cache and the skiers' body sounds; it borrows the texture manager and
// the current camera. The scene borrows its members through g_scene
// (scene/SceneAccess.h), the GUI through g_guiServices (gui/GuiServices.h; its model
// views draw the athletes' figures through N_WorldGuiFigures).
//
// Init: the menu level ("mapname"; the default course when that one cannot be
// loaded), the cameras (the race controller's camera current),
// the particle scripts, a black clear colour, the athletes, their figures, the cameras'
// set-up, the GUI pages and the hidden cursor, the shaders and textures, the level's
// effects, the sorted drawables, the text batcher; the default player names and the
// elements that show them, the condition selectors; the pages "Background" and
// "MainMenu"; the sound buffers' statistics.
//
// Update, per frame: the camera manager reads "viewmode" and moves the controller of
// that mode; the GUI's frame; the level's fog; the game's Update and PollResult (a
// finished game's result goes to the final-result board, which deletes the game); the
// particles. While it lives, the world's race "Pause" page answers the player controls'
// pause key (SetPausePageCalls).
//
// Render, per frame: BeginFrame; the scene through the camera of the view mode (0 the
// race camera, straight into the back buffer; 2 the range's shake camera with the scope
// pass and the rifle; any other the free camera), each into the offscreen surface copied
// back by the post pass; the GUI pages; the queued 2D text; a screenshot when Scroll
// Lock went down this frame; EndFrame. While no game runs and a page hides the whole
// screen with an opaque panel (the menus' backdrop), the camera is still chosen but no
// 3D is drawn, and the back buffer's colours are not cleared.
#include "core/Font.h"
#include "race/AthletMng.h"
#include "race/CursorFit.h"
#include "race/SoundCache.h"
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
  /// The scan code of Scroll Lock, the screenshot key.
  static constexpr std::int32_t kScreenshotKey = 0x46;

  /// Builds the members and registers the GUI's factories; keeps the texture manager
  /// (may be null while textures do not exist).
  explicit N_World(N_TextureMng* textureMng);
  /// Deletes the game, the figures, the athletes, the cameras, the particles and the
  /// GUI; frees the fonts, every shader and then every texture; deletes the level's
  /// drawables, the level, the frustum, the text batcher, the shader manager and the
  /// font list; releases the coach's sounds and deletes the cache; the body sounds last.
  virtual ~N_World();
  N_World(const N_World&) = delete;
  N_World& operator=(const N_World&) = delete;

  /// Sets the world up after construction (steps in the class comment). Without the
  /// pages "Background" and "MainMenu": the critical error "Main menu gui pages not
  /// found!" (false when there is no reporter). The application ignores the result.
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
  /// The back buffer to "data\screenshots\%06d.bmp", numbered by "ScreenshotName":
  /// the first number from it whose file is not there (going round past 999999 to 0),
  /// never one that is; none, and a line, when every number is taken.
  void TakeScreenshot();

  N_ShaderMng& ShaderMng() { return *m_shaderMng; }
  N_TextBatch& TextBatch() { return *m_textBatch; }
  N_TextureMng* TextureMng() const { return m_textureMng; }
  N_Frustum& Frustum() { return *m_frustum; }
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
  /// The coach's comments and the race's effect sounds.
  N_SoundCache& SoundCache() { return *m_soundCache; }
  /// The camera the frame is drawn from (not owned); the render chooses it anew.
  N_Camera* CurrentCamera() const { return m_camera; }
  void SetCurrentCamera(N_Camera* camera);
  /// The fonts loaded by name (LoadFont), freed after the GUI manager is deleted.
  N_FontList& Fonts() { return *m_fonts; }
  N_GuiMng& GuiMng() { return *m_guiMng; }

  /// Test hook: when set, told each step of the destructor by name as it is taken.
  using TeardownObserver = void (*)(const char* step);
  static void SetTeardownObserver(TeardownObserver observer);

 private:
  /// The camera of a view mode: 2 the shake camera's main one; any other but 0 the free
  /// camera; 0 the race camera's active camera, or (none) the free camera with
  /// "viewmode" 1 and the game unpaused.
  N_Camera* ViewCamera(int viewMode);
  /// Mode 0: the race camera's view.
  void RenderRaceView(float frameTime);
  /// Mode 2: the shake camera, the scope pass while aiming, the rifle.
  void RenderRangeView(float frameTime);
  /// Any other mode: the free camera (and the developer's polygon count).
  void RenderFreeView(float frameTime);
  /// The chosen camera becomes current at once (the rifle, drawn later, reads it).
  void UseCamera(N_Camera* camera);
  /// The frustum from the camera and its 3D set-up.
  void SetUp3D(N_Camera& camera);
  /// The level objects queued through the frustum, then the shader-sorted surfaces.
  void RenderLevelObjects(float frameTime);
  /// The game's Render, when one runs.
  void RenderGame(float frameTime);
  void RenderFlares();
  /// 2D: the shadow overlay; 3D: the particles; back to 2D.
  void RenderOverlayAndParticles();
  /// The element "Cursor" (shader "Kurzor") as the GUI's cursor, on its page, hidden.
  void InitCursor();
  /// The "#str021" text for empty "PlayerName1" to "3", shown by the elements of those
  /// names; item 9 of the condition selectors.
  void InitPlayerPages();
  bool ShowMainMenu();
  /// The finished game's result to the final-result board; the world keeps no game.
  void HandOverResult(std::unique_ptr<ExportData> result);
  static void Teardown(const char* step);
  /// The text of "mapname" ("" without a registry).
  static std::string MapName();

  N_Camera* m_camera = nullptr;  ///< not owned
  std::unique_ptr<N_Frustum> m_frustum;
  std::unique_ptr<N_ShaderMng> m_shaderMng;
  std::unique_ptr<N_TextBatchRenderTarget> m_textTarget;  ///< draws with m_shaderMng's shaders
  std::unique_ptr<N_TextBatch> m_textBatch;
  N_TextureMng* m_textureMng;  ///< not owned
  std::unique_ptr<N_Level> m_level;
  std::unique_ptr<N_CameraMng> m_cameraMng;
  std::unique_ptr<N_Game> m_game;
  std::unique_ptr<N_AthletMng> m_athletMng;
  std::unique_ptr<N_AnimationFactory2> m_figures;
  std::unique_ptr<N_ParticleMng> m_particles;
  std::unique_ptr<N_GuiMng> m_guiMng;
  std::unique_ptr<N_LevelObjectList> m_levelObjects;
  std::unique_ptr<N_FontList> m_fonts;
  std::unique_ptr<N_SoundCache> m_soundCache;
  std::unique_ptr<N_AnimSound> m_bodySounds;
  /// The athletes and figures the GUI's model views draw, in the GUI's services record.
  std::unique_ptr<N_WorldGuiFigures> m_guiFigures;
  std::string m_mapName;  ///< the loaded level's name; empty before the first load
  N_CursorFit m_cursorFit;  ///< the arrow on the desktop's pointer, the pointer's clip
};

/// The world, while it exists.
extern N_World* g_world;

/// A call the front-end installs to save what only it holds (a running career) when the
/// program ends through its shutdown (the menus' exit, a termination signal); the
/// application makes it first, while the world, its game and its pages still exist.
using N_ProgramEndCall = void (*)();
void SetProgramEndCall(N_ProgramEndCall call);
/// Makes the installed call once (nothing without one).
void RunProgramEndCall();
