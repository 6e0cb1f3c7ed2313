#include "race/World.h"

#include "core/ConfigReader.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/PlayerControls.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiFactories.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
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

N_World* g_world = nullptr;

N_World::N_World(N_TextureMng* textureMng)
    : m_shaderMng(std::make_unique<N_ShaderMng>(1024)),
      m_textTarget(*m_shaderMng),
      m_textBatch(std::make_unique<N_TextBatch>(&m_textTarget)),
      m_textureMng(textureMng),
      m_level(std::make_unique<N_Level>()),
      m_levelObjects(std::make_unique<N_LevelObjectList>()),
      m_cameraMng(std::make_unique<N_CameraMng>()),
      m_particles(std::make_unique<N_ParticleMng>()),
      m_athletMng(std::make_unique<N_AthletMng>(*m_shaderMng)),
      m_figures(std::make_unique<N_AnimationFactory2>()),
      m_bodySounds(std::make_unique<N_AnimSound>()),
      m_guiMng(std::make_unique<N_GuiMng>()),
      m_guiFigures(std::make_unique<N_WorldGuiFigures>(*m_athletMng, *m_figures)) {
  g_scene.frustum = &m_frustum;
  g_scene.shaderMng = m_shaderMng.get();
  g_scene.level = m_level.get();
  g_scene.levelObjects = m_levelObjects.get();
  g_scene.particles = m_particles.get();
  g_scene.figureRoster = m_athletMng.get();
  g_scene.textBatch = m_textBatch.get();
  g_scene.loadingProgress = &UpdateLoadingProgress;
  g_guiServices = {m_guiMng.get(), m_shaderMng.get(), m_textBatch.get(), &m_fonts};
  g_guiServices.figures = m_guiFigures.get();
  RegisterGuiFactories(*m_guiMng);
  // The pause key of the player controls opens the race's "Pause" page.
  SetPausePageCalls(&ShowPausePage, &HidePausePage);
}

N_World::~N_World() {
  SetPausePageCalls(nullptr, nullptr);
  g_scene.game = nullptr;
  m_game.reset();
  // The figures' emitters, patches and meshes give back their particle emitters,
  // buffers and shaders while the particle manager, the renderer and the shader manager
  // still exist. The GUI's model views draw none from here on.
  g_guiServices.figures = nullptr;
  m_figures.reset();
  g_scene.figureRoster = nullptr;
  // The body sounds release their sounds: the application deletes the world before it
  // releases the sound manager.
  m_bodySounds.reset();
  // The current camera is one of the manager's.
  SetCurrentCamera(nullptr);
  m_cameraMng.reset();
  // The GUI's elements hold fonts of the list: the manager goes first.
  m_guiMng.reset();
  g_guiServices = {};
  FreeFonts(m_fonts);
  // The particles before the shader and texture cycle: their emitters give their
  // buffers back while the renderer and their materials still exist.
  g_scene.particles = nullptr;
  m_particles.reset();
  g_scene = N_SceneAccess{};  // the members go with the world
  m_athletMng.reset();  // after the figures, before the shaders' last cycle
  // Every shader is unreferenced now, so loading frees them all and gives their
  // textures back; then nothing holds a texture either.
  m_shaderMng->ResetRefCounts();
  m_shaderMng->LoadShaders();
  if (g_log) g_log->Print("--- Freeing Textures\n");
  if (m_textureMng) {
    m_textureMng->ResetRefCounts();
    m_textureMng->PurgeTextures();
  }
  // After the shader and texture cycle, as the members go: the level objects, then the
  // level (whose particle system went with the particle manager).
  m_levelObjects.reset();
  m_level.reset();
  g_scene = N_SceneAccess{};
}

void N_World::SetGame(std::unique_ptr<N_Game> game) {
  g_scene.game = nullptr;
  m_game = std::move(game);
  g_scene.game = m_game.get();
}

void N_World::SetCurrentCamera(N_Camera* camera) {
  m_camera = camera;
  g_scene.camera = camera;
  // The GUI's model views switch back to it after drawing their figures.
  g_guiServices.camera = camera;
}

bool N_World::Init() {
  m_textBatch->Init();
  // The menu level first: the cameras set themselves up on it.
  m_level->Load();
  m_mapName = MapName();
  m_cameraMng->CheckControllers();
  SetCurrentCamera(&m_cameraMng->RaceController().OwnCamera());
  // The templates add their materials: the scripts go before the shaders are built.
  m_particles->SetDetail(static_cast<std::uint8_t>(g_varMng ? g_varMng->GetInt("ParticleDetails") & 0xFF : 0));
  m_particles->LoadScripts();
  // The athletes after the particle scripts; then their figures, whose emitters use the
  // particle templates.
  m_athletMng->ParseProfiles("data\\profiles\\playerprofiles.data");
  m_athletMng->SplitBySex();
  m_athletMng->LoadTextures();
  m_figures->Load();
  m_cameraMng->Setup();
  m_guiMng->LoadGuiFiles("scripts\\gui\\*.gui");
  InitCursor();
  // After the level and the GUI: their shaders get their records here.
  m_shaderMng->LoadShaders();
  if (m_textureMng) m_textureMng->PurgeTextures();
  // The billboards read their shaders' records: after the shaders are built.
  m_level->InitEffects();
  m_levelObjects->Sort();
  m_particles->PrintLoadStats();
  return ShowMainMenu();
}

std::string N_World::MapName() {
  const char* name = g_varMng ? g_varMng->GetString("mapname") : nullptr;
  return name ? name : "";
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

void N_World::InitCursor() {
  N_GuiElement* cursor = m_guiMng->CreateElement("Cursor", "Cursor", false);
  if (cursor) cursor->SetShader("Kurzor");
  m_guiMng->SetCursor(cursor);
  m_guiMng->CreateCursorPage();
  m_guiMng->ShowCursor(false);
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

void N_World::Update(float frameTime) {
  m_cameraMng->ReadViewMode();
  m_cameraMng->Update(frameTime);
  m_guiMng->Update();
  m_level->UpdateFog(frameTime);
  if (m_game) {
    m_game->Update(frameTime);
    // A finished race: the board takes the result and removes the game.
    if (std::unique_ptr<ExportData> result = m_game->PollResult()) ShowFinalResult(std::move(result));
  }
  // Last: the particles follow everything that moved this frame.
  m_particles->UpdateAll();
}

N_Camera* N_World::ChooseCamera() {
  switch (m_cameraMng->ViewMode()) {
    case 0:
      if (N_Camera* camera = m_cameraMng->RaceController().GetActiveCamera()) return camera;
      // A fly-by without its level camera: the normal view takes over.
      if (g_varMng) g_varMng->SetInt("viewmode", 1, 0x02);
      m_cameraMng->ReadViewMode();
      return &m_cameraMng->FreeController().Camera();
    case 2: return &m_cameraMng->ShakeController().MainCamera();
    default: return &m_cameraMng->FreeController().Camera();
  }
}

void N_World::RenderScene(N_Camera* camera, float frameTime) {
  m_frustum.Build(*camera);
  g_render->SetupCamera(camera, 1);
  // At the range (view mode 2) the actors come before the level objects, else after them.
  const bool actorsFirst = m_cameraMng->ViewMode() == 2;
  if (actorsFirst) m_level->RenderActors(frameTime);
  m_levelObjects->Render(frameTime);
  m_levelObjects->RenderSorted();
  if (!actorsFirst) m_level->RenderActors(frameTime);
  m_level->UpdateFlares();
  m_level->RenderFlares();
  // The stencil-marked shadows darken the scene in 2D, then the particles are drawn
  // over it in 3D.
  g_render->SetupCamera(camera, 0);
  g_render->DrawShadowOverlay();
  g_render->SetupCamera(camera, 1);
  m_particles->RenderAll();
  g_render->SetupCamera(camera, 0);
}

void N_World::Render(float frameTime) {
  if (!g_render) {
    m_guiMng->Render();  // the pages still move on (fades, snow)
    m_textBatch->Flush();  // nothing to draw with; the queue still empties every frame
    return;
  }
  g_render->BeginFrame();
  // The race camera draws straight into the back buffer; the other modes into the
  // offscreen surface, which the post pass copies back.
  const bool offscreen = m_cameraMng->ViewMode() != 0;
  N_Camera* camera = ChooseCamera();
  SetCurrentCamera(camera);
  if (offscreen) g_render->SetOffscreenTarget(1);
  RenderScene(camera, frameTime);
  if (offscreen) {
    g_render->SetOffscreenTarget(0);
    g_render->DrawPostPass();
  }
  // The GUI pages and the queued text last, in the 2D set-up the scene (or the post
  // pass) ended in.
  m_guiMng->Render();
  m_textBatch->Flush();
  g_render->EndFrame();
}
