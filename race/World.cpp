#include "race/World.h"

#include "core/BuiltinVars.h"
#include "core/ConfigReader.h"
#include "core/ErrorLog.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/Log.h"
#include "core/PlayerControls.h"
#include "core/StringTable.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiFactories.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "gui/GuiTextSelector.h"
#include "platform/win32/Files.h"
#include "race/ExportData.h"
#include "race/FinalResult.h"
#include "race/LoadingProgress.h"
#include "race/PausePage.h"
#include "race/WorldGuiFigures.h"
#include "render/Render.h"
#include "render/TextureMng.h"
#include "scene/SceneAccess.h"
#include "sound/SoundMng.h"

#include <array>
#include <utility>

N_World* g_world = nullptr;

namespace {

constexpr std::uint32_t kSetFlags = 0x02;
/// "ScreenshotName" made by the first screenshot where the registry lacks it: saved.
constexpr std::uint32_t kSavedFlags = 0x20;
constexpr std::array<const char*, 3> kPlayerNames = {"PlayerName1", "PlayerName2", "PlayerName3"};
constexpr std::array<const char*, 3> kConditionSelectors = {"InitCondition1", "InitCondition2", "ArmsCondition1"};
constexpr std::uint32_t kConditionItem = 9;
/// Six digits: the last screenshot number.
constexpr int kLastScreenshot = 999999;

std::string ScreenshotFileName(int number) { return FormatString("data\\screenshots\\%06d.bmp", number); }

/// The first number from `from` (from 0 when it lies outside 0..kLastScreenshot) whose
/// file is not there yet, going round past the last once; -1 when every one is taken.
int FreeScreenshotNumber(int from) {
  if (from < 0 || from > kLastScreenshot) from = 0;
  for (int i = 0; i <= kLastScreenshot; ++i) {
    const int number = (from + i) % (kLastScreenshot + 1);
    if (!platform::IdentifyFile(ScreenshotFileName(number))) return number;
  }
  return -1;
}

// The developer's polygon count of the free-camera view.
constexpr float kPolygonTextX = 0.0f;
constexpr float kPolygonTextY = 32.0f;

N_World::TeardownObserver g_teardownObserver = nullptr;

/// The element of that name when one exists: these elements are on the set-up pages,
/// and a page set without them is no fault worth a report.
N_GuiElement* ExistingElement(const N_GuiMng& gui, const char* name) {
  const auto found = gui.Elements().find(name);
  return found != gui.Elements().end() ? found->second : nullptr;
}

}  // namespace

void N_World::SetTeardownObserver(TeardownObserver observer) { g_teardownObserver = observer; }

void N_World::Teardown(const char* step) {
  if (g_teardownObserver) g_teardownObserver(step);
}

N_World::N_World(N_TextureMng* textureMng) : m_textureMng(textureMng) {
  // The shader manager before the text batcher, whose target draws with its shaders.
  m_shaderMng = std::make_unique<N_ShaderMng>(1024);
  m_textTarget = std::make_unique<N_TextBatchRenderTarget>(*m_shaderMng);
  m_textBatch = std::make_unique<N_TextBatch>(m_textTarget.get());
  m_frustum = std::make_unique<N_Frustum>();
  m_levelObjects = std::make_unique<N_LevelObjectList>();
  m_level = std::make_unique<N_Level>();
  m_cameraMng = std::make_unique<N_CameraMng>();
  m_particles = std::make_unique<N_ParticleMng>();
  m_guiMng = std::make_unique<N_GuiMng>();
  m_athletMng = std::make_unique<N_AthletMng>(*m_shaderMng);
  m_figures = std::make_unique<N_AnimationFactory2>();
  m_fonts = std::make_unique<N_FontList>();
  m_soundCache = std::make_unique<N_SoundCache>();
  m_bodySounds = std::make_unique<N_AnimSound>();
  m_guiFigures = std::make_unique<N_WorldGuiFigures>(*m_athletMng, *m_figures);
  g_scene.frustum = m_frustum.get();
  g_scene.shaderMng = m_shaderMng.get();
  g_scene.level = m_level.get();
  g_scene.levelObjects = m_levelObjects.get();
  g_scene.particles = m_particles.get();
  g_scene.figureRoster = m_athletMng.get();
  g_scene.textBatch = m_textBatch.get();
  g_scene.loadingProgress = &UpdateLoadingProgress;
  g_guiServices = {m_guiMng.get(), m_shaderMng.get(), m_textBatch.get(), m_fonts.get()};
  g_guiServices.figures = m_guiFigures.get();
  RegisterGuiFactories(*m_guiMng);
  // The pause key of the player controls opens the race's "Pause" page.
  SetPausePageCalls(&ShowPausePage, &HidePausePage);
}

namespace {
N_ProgramEndCall g_programEndCall = nullptr;
}  // namespace

void SetProgramEndCall(N_ProgramEndCall call) { g_programEndCall = call; }

void RunProgramEndCall() {
  const N_ProgramEndCall call = std::exchange(g_programEndCall, nullptr);
  if (call) call();
}

N_World::~N_World() {
  SetPausePageCalls(nullptr, nullptr);
  g_scene.game = nullptr;
  m_game.reset();
  Teardown("game");
  // The figures' emitters, patches and meshes give back their particle emitters,
  // buffers, shaders and breath sounds while those managers still exist. The GUI's
  // model views draw none from here on.
  g_guiServices.figures = nullptr;
  m_guiFigures.reset();
  m_figures.reset();
  Teardown("figures");
  g_scene.figureRoster = nullptr;
  m_athletMng.reset();  // gives its shaders back before the shaders' last cycle
  Teardown("athletes");
  SetCurrentCamera(nullptr);  // one of the manager's cameras
  m_cameraMng.reset();
  Teardown("cameras");
  // Before the shader and texture cycle: the emitters give their buffers back while the
  // renderer and their materials still exist.
  g_scene.particles = nullptr;
  m_particles.reset();
  Teardown("particles");
  // The GUI's elements hold fonts of the list: the manager goes first.
  m_guiMng.reset();
  g_guiServices = {};
  Teardown("gui");
  FreeFonts(*m_fonts);
  Teardown("fonts freed");
  g_scene = N_SceneAccess{};  // the rest goes with the world
  // Every shader is unreferenced now, so loading frees them all and gives their
  // textures back; then nothing holds a texture either.
  m_shaderMng->ResetRefCounts();
  m_shaderMng->LoadShaders();
  Teardown("shaders freed");
  if (g_log) g_log->Print("--- Freeing Textures\n");
  if (m_textureMng) {
    m_textureMng->ResetRefCounts();
    m_textureMng->PurgeTextures();
  }
  Teardown("textures freed");
  m_levelObjects.reset();
  Teardown("level objects");
  m_level.reset();  // its snow system went with the particle manager: it only forgets it
  Teardown("level");
  m_frustum.reset();
  Teardown("frustum");
  m_textBatch.reset();
  m_textTarget.reset();
  Teardown("text batcher");
  m_shaderMng.reset();
  Teardown("shader manager");
  m_fonts.reset();
  Teardown("font list");
  m_soundCache->Unregister();
  Teardown("sound cache unregistered");
  m_soundCache.reset();
  Teardown("sound cache");
  // Last: the application deletes the world before it releases the sound manager.
  m_bodySounds.reset();
  Teardown("body sounds");
}

void N_World::SetGame(std::unique_ptr<N_Game> game) {
  // A race left by any way (its end, Escape, a new launch) takes its pause page
  // along: it would lie over the next pages and take their clicks.
  if (m_game && m_game != game) HidePausePageNow();
  g_scene.game = nullptr;
  m_game = std::move(game);
  g_scene.game = m_game.get();
  // A new race aims from a sway at rest, whatever race ran before it.
  if (m_game) N_ShakeCamera::ResetSway();
}

void N_World::SetCurrentCamera(N_Camera* camera) {
  m_camera = camera;
  g_scene.camera = camera;
  // The GUI's model views switch back to it after drawing their figures.
  g_guiServices.camera = camera;
}

std::string N_World::MapName() {
  const char* name = g_varMng ? g_varMng->GetString("mapname") : nullptr;
  return name ? name : "";
}

bool N_World::Init() {
  m_level->Load(kDefaultMapName);  // a start course of the settings that cannot be loaded: the default
  m_mapName = MapName();
  m_cameraMng->CheckControllers();
  SetCurrentCamera(&m_cameraMng->RaceController().OwnCamera());
  // The templates add their materials: the scripts go before the shaders are built.
  m_particles->SetDetail(static_cast<std::uint8_t>(g_varMng ? g_varMng->GetInt("ParticleDetails") & 0xFF : 0));
  m_particles->LoadScripts();
  if (g_render) g_render->SetClearColorRGBA(0.0f, 0.0f, 0.0f, 1.0f);
  // The athletes after the particle scripts; then their figures, whose emitters use the
  // particle templates.
  m_athletMng->ParseProfiles("data\\profiles\\playerprofiles.data");
  m_athletMng->SplitBySex();
  m_athletMng->LoadTextures();
  m_figures->Load();
  m_cameraMng->Setup();
  m_guiMng->LoadGuiFiles("scripts\\gui\\*.gui");
  InitCursor();
  // After the level, the figures and the GUI: their shaders get their records here.
  m_shaderMng->LoadShaders();
  if (m_textureMng) m_textureMng->PurgeTextures();
  // The billboards read their shaders' records: after the shaders are built.
  m_level->InitEffects();
  m_levelObjects->Sort();
  m_particles->PrintLoadStats();
  m_textBatch->Init();
  InitPlayerPages();
  const bool menu = ShowMainMenu();
  if (g_soundMng) g_soundMng->DumpBufferStatistics();
  return menu;
}

void N_World::InitCursor() {
  N_GuiElement* cursor = m_guiMng->CreateElement("Cursor", "Cursor", false);
  if (cursor) cursor->SetShader("Kurzor");
  m_guiMng->SetCursor(cursor);
  m_guiMng->CreateCursorPage();
  m_guiMng->ShowCursor(false);
}

void N_World::InitPlayerPages() {
  if (g_varMng) {
    for (const char* name : kPlayerNames) {
      const char* text = g_varMng->GetString(name);
      if ((!text || !*text) && g_stringTable) g_varMng->SetString(name, g_stringTable->Find("#str021").c_str(), kSetFlags);
    }
    for (const char* name : kPlayerNames) {
      N_GuiElement* element = ExistingElement(*m_guiMng, name);
      const char* text = g_varMng->GetString(name);
      if (element) element->SetCaption(text ? text : "");
    }
  }
  for (const char* name : kConditionSelectors) {
    if (auto* selector = dynamic_cast<N_GuiTextSelector*>(ExistingElement(*m_guiMng, name))) {
      selector->SetSelected(kConditionItem);
    }
  }
}

bool N_World::ShowMainMenu() {
  N_GuiPage* background = m_guiMng->GetPage("Background");
  N_GuiPage* mainMenu = m_guiMng->GetPage("MainMenu");
  if (!background || !mainMenu) {
    if (g_errorLog) g_errorLog->Critical(0, "Main menu gui pages not found!\n");
    return false;
  }
  background->ShowImmediate();
  mainMenu->ShowImmediate();
  return true;
}

void N_World::LoadLevel() {
  if (g_render) g_render->DumpMemoryStatistics();
  m_particles->PrintStats();
  const std::string name = MapName();
  if (platform::EqualsNoCase(m_mapName, name)) {
    // The same level: only its settings again.
    N_ConfigReader settings;
    settings.Load(("data\\levels\\" + name + ".cfg").c_str());
    UpdateLoadingProgress(100.0f);
    return;
  }
  m_mapName = name;
  // The current camera is the old manager's (or a camera of the old level); the scene
  // forgets the old level before it goes.
  SetCurrentCamera(nullptr);
  m_cameraMng.reset();
  g_scene.level = nullptr;
  m_level.reset();
  m_levelObjects->Clear();
  m_level = std::make_unique<N_Level>();
  g_scene.level = m_level.get();
  m_cameraMng = std::make_unique<N_CameraMng>();
  m_level->Load();
  m_cameraMng->CheckControllers();
  SetCurrentCamera(&m_cameraMng->RaceController().OwnCamera());
  m_cameraMng->Setup();
  m_shaderMng->LoadShaders();
  UpdateLoadingProgress(85.0f);
  if (m_textureMng) m_textureMng->PurgeTextures();
  UpdateLoadingProgress(90.0f);
  m_level->InitEffects();
  m_levelObjects->Sort();
  UpdateLoadingProgress(100.0f);
  if (g_soundMng) g_soundMng->DumpBufferStatistics();
  if (g_render) g_render->DumpMemoryStatistics();
  m_particles->PrintStats();
}

void N_World::Update(float frameTime) {
  m_cameraMng->ReadViewMode();
  m_cameraMng->Update(frameTime);
  m_cursorFit.Update(*m_guiMng, m_cameraMng->TurnsWithMouse());
  m_guiMng->Update();
  m_level->UpdateFog(frameTime);
  if (m_game) {
    m_game->Update(frameTime);
    if (std::unique_ptr<ExportData> result = m_game->PollResult()) HandOverResult(std::move(result));
  }
  // Last: the particles follow everything that moved this frame.
  m_particles->UpdateAll();
}

void N_World::HandOverResult(std::unique_ptr<ExportData> result) {
  // The board keeps the result, takes the race display down and removes the game (the
  // world's own when it is g_world; another world's game goes here).
  ShowFinalResult(std::move(result));
  if (m_game) {
    m_game->OnRemove();
    SetGame(nullptr);
  }
}

void N_World::UseCamera(N_Camera* camera) { SetCurrentCamera(camera); }

void N_World::SetUp3D(N_Camera& camera) {
  m_frustum->Build(camera);
  g_render->SetupCamera(&camera, 1);
}

void N_World::RenderLevelObjects(float frameTime) {
  m_levelObjects->Render(frameTime);
  m_levelObjects->RenderSorted();
}

void N_World::RenderGame(float frameTime) {
  if (m_game) m_game->Render(frameTime);
}

void N_World::RenderFlares() {
  m_level->UpdateFlares();
  m_level->RenderFlares();
}

void N_World::RenderOverlayAndParticles() {
  // The stencil-marked shadows darken the scene in 2D, then the particles are drawn
  // over it in 3D.
  g_render->SetupCamera(m_camera, 0);
  g_render->DrawShadowOverlay();
  g_render->SetupCamera(m_camera, 1);
  m_particles->RenderAll();
  g_render->SetupCamera(m_camera, 0);
}

N_Camera* N_World::ViewCamera(int viewMode) {
  if (viewMode == 2) return &m_cameraMng->ShakeController().MainCamera();
  if (viewMode != 0) return &m_cameraMng->FreeController().Camera();
  N_Camera* camera = m_cameraMng->RaceController().GetActiveCamera();
  if (!camera) {
    // A fly-by without its level camera: the normal view takes over and the race runs.
    camera = &m_cameraMng->FreeController().Camera();
    if (g_varMng) g_varMng->SetInt("viewmode", 1, kSetFlags);
    m_cameraMng->ReadViewMode();
    if (m_game) m_game->SetPaused(0);
  }
  return camera;
}

void N_World::RenderRaceView(float frameTime) {
  N_Camera* camera = ViewCamera(0);
  UseCamera(camera);
  SetUp3D(*camera);
  RenderLevelObjects(frameTime);
  m_level->RenderActors(frameTime);
  // Behind the menus (the race camera's own spline) no racer is drawn.
  if (m_cameraMng->RaceController().Mode() != N_RaceCamera::kSpline) RenderGame(frameTime);
  RenderFlares();
  RenderOverlayAndParticles();
}

void N_World::RenderRangeView(float frameTime) {
  N_ShakeCamera& shake = m_cameraMng->ShakeController();
  UseCamera(ViewCamera(2));
  g_render->SetOffscreenTarget(1);
  SetUp3D(shake.MainCamera());
  m_level->RenderActors(frameTime);
  RenderLevelObjects(frameTime);
  RenderGame(frameTime);
  RenderFlares();
  if (shake.IsAiming()) {
    // The scope: the same sorted surfaces and racers again through the narrow view.
    g_render->ClearDepth();
    SetUp3D(shake.ScopeCamera());
    g_render->ClearDepth();
    m_levelObjects->RenderSorted();
    RenderGame(frameTime);
  }
  g_render->ClearDepth();
  SetUp3D(shake.RifleCamera());
  shake.Render(frameTime);  // the rifle
  RenderOverlayAndParticles();
  g_render->SetOffscreenTarget(0);
  g_render->DrawPostPass();
}

void N_World::RenderFreeView(float frameTime) {
  N_Camera& camera = *ViewCamera(1);
  UseCamera(&camera);
  g_render->SetOffscreenTarget(1);
  SetUp3D(camera);
  RenderLevelObjects(frameTime);
  m_level->RenderActors(frameTime);
  RenderGame(frameTime);
  RenderFlares();
  RenderOverlayAndParticles();
  if (g_varMng && g_varMng->GetInt("developer") == 1) {
    const std::string polygons = FormatString("num poly:%d \n", static_cast<int>(g_render->GetPolygonCount()));
    m_textBatch->AddText(polygons.c_str(), 0, kPolygonTextX, kPolygonTextY, 1.0f, 0, 255);
  }
  g_render->SetOffscreenTarget(0);
  g_render->DrawPostPass();
}

void N_World::Render(float frameTime) {
  if (!g_render) {
    m_guiMng->Render();  // the pages still move on (fades, snow)
    m_textBatch->Flush();  // nothing to draw with; the queue still empties every frame
    return;
  }
  const bool covered = !m_game && m_guiMng->IsScreenCovered();
  g_render->BeginFrame(!covered);
  if (covered) {
    // Nothing of the 3D view would show, nor the clear colour: the view's camera is
    // still chosen, and the pages are drawn straight over the last frame. A running
    // game's render moves its racers on, so while one runs the view is always drawn.
    UseCamera(ViewCamera(m_cameraMng->ViewMode()));
    g_render->SetupCamera(m_camera, 0);
  } else {
    switch (m_cameraMng->ViewMode()) {
      case 0: RenderRaceView(frameTime); break;
      case 2: RenderRangeView(frameTime); break;
      default: RenderFreeView(frameTime); break;
    }
  }
  m_guiMng->Render();
  m_textBatch->Flush();
  // Before Present: the back buffer may be the window's, which a driver need not keep.
  if (g_inputMng && g_inputMng->IsPressed(N_InputMng::kKeyboard, kScreenshotKey, 1)) TakeScreenshot();
  g_render->EndFrame();
}

void N_World::TakeScreenshot() {
  if (!g_varMng || !g_render) return;
  if (!g_varMng->Find("ScreenshotName")) g_varMng->SetInt("ScreenshotName", 0, kSavedFlags);
  // The counter reaches config.cfg only at a normal exit: after a kill it is behind the
  // files, so the number is the first from it with no file yet, and no earlier
  // screenshot is ever written over.
  const int number = FreeScreenshotNumber(g_varMng->GetInt("ScreenshotName"));
  if (number < 0) {
    if (g_log) g_log->Print("!!! Every screenshot number up to %d is taken: no screenshot\n", kLastScreenshot);
    return;
  }
  g_varMng->SetInt("ScreenshotName", number + 1, kSetFlags);
  const std::string file = ScreenshotFileName(number);
  g_render->SaveScreenshot(file.c_str(), 0, 0, g_varMng->GetInt("v_width"), g_varMng->GetInt("v_height"));
}
