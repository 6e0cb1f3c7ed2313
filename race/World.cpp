#include "race/World.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
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
      m_athletMng(std::make_unique<N_AthletMng>(*m_shaderMng)) {
  g_scene.frustum = &m_frustum;
  g_scene.shaderMng = m_shaderMng.get();
  g_scene.level = m_level.get();
  g_scene.levelObjects = m_levelObjects.get();
}

N_World::~N_World() {
  g_scene = N_SceneAccess{};  // the members go with the world
  m_athletMng.reset();  // after the figures (still to come), before the shaders' last cycle
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
  // After the particle scripts and before the figures (both still to come).
  m_athletMng->ParseProfiles("data\\profiles\\playerprofiles.data");
  m_athletMng->SplitBySex();
  m_athletMng->LoadTextures();
  // No level, particles or GUI to load yet: the shaders added so far.
  m_shaderMng->LoadShaders();
  if (m_textureMng) m_textureMng->PurgeTextures();
  return true;
}

void N_World::Update(float) {}

void N_World::Render(float frameTime) {
  // The frame, the level objects and the queued text so far: the rest of the scene and
  // the GUI join as they are built.
  if (!g_render) {
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
  m_textBatch->Flush();
  g_render->EndFrame();
}
