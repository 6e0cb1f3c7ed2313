#include "race/World.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiFactories.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "render/Render.h"
#include "render/TextureMng.h"
#include "scene/SceneAccess.h"

N_World* g_world = nullptr;

N_World::N_World(N_TextureMng* textureMng)
    : m_shaderMng(std::make_unique<N_ShaderMng>(1024)),
      m_textTarget(*m_shaderMng),
      m_textBatch(std::make_unique<N_TextBatch>(&m_textTarget)),
      m_textureMng(textureMng),
      m_level(std::make_unique<N_Level>()),
      m_levelObjects(std::make_unique<N_LevelObjectList>()),
      m_guiMng(std::make_unique<N_GuiMng>()) {
  g_scene.frustum = &m_frustum;
  g_scene.shaderMng = m_shaderMng.get();
  g_scene.level = m_level.get();
  g_scene.levelObjects = m_levelObjects.get();
  g_guiServices = {m_guiMng.get(), m_shaderMng.get(), m_textBatch.get(), &m_fonts};
  RegisterGuiFactories(*m_guiMng);
}

N_World::~N_World() {
  // The GUI's elements hold fonts of the list: the manager goes first.
  m_guiMng.reset();
  g_guiServices = {};
  FreeFonts(m_fonts);
  g_scene = N_SceneAccess{};  // the members go with the world
  // Every shader is unreferenced now, so loading frees them all and gives their
  // textures back; then nothing holds a texture either.
  m_shaderMng->ResetRefCounts();
  m_shaderMng->LoadShaders();
  if (g_log) g_log->Print("--- Freeing Textures\n");
  if (m_textureMng) {
    m_textureMng->ResetRefCounts();
    m_textureMng->PurgeTextures();
  }
  m_levelObjects.reset();  // after the shader and texture cycle, as the members go
  g_scene = N_SceneAccess{};
}

void N_World::SetCurrentCamera(N_Camera* camera) {
  m_camera = camera;
  g_scene.camera = camera;
}

bool N_World::Init() {
  m_textBatch->Init();
  // No level, particles or athletes to load yet.
  m_guiMng->LoadGuiFiles("scripts\\gui\\*.gui");
  InitCursor();
  // After the GUI: its pages' shaders get their records here.
  m_shaderMng->LoadShaders();
  if (m_textureMng) m_textureMng->PurgeTextures();
  return ShowMainMenu();
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

void N_World::Update(float) { m_guiMng->Update(); }

void N_World::Render(float frameTime) {
  // The frame, the level objects, the GUI pages and the queued text: the rest of the
  // scene joins as it is built.
  if (!g_render) {
    m_guiMng->Render();  // the pages still move on (fades, snow)
    m_textBatch->Flush();  // nothing to draw with; the queue still empties every frame
    return;
  }
  g_render->BeginFrame();
  if (m_camera) {
    m_frustum.Build(*m_camera);
    g_render->SetupCamera(m_camera, 1);
    m_levelObjects->Render(frameTime);
    m_levelObjects->RenderSorted();
  }
  m_screenCamera.SetProjection(90.0f, float(g_varMng->GetInt("v_width")), float(g_varMng->GetInt("v_height")), 0.0f,
                               0.0f);
  g_render->SetupCamera(&m_screenCamera, 0);
  m_guiMng->Render();
  m_textBatch->Flush();
  g_render->EndFrame();
}
