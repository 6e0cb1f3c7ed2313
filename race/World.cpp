#include "race/World.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "gui/GuiMng.h"
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
      m_particles(std::make_unique<N_ParticleMng>()),
      m_athletMng(std::make_unique<N_AthletMng>(*m_shaderMng)),
      m_guiMng(std::make_unique<N_GuiMng>()) {
  g_scene.frustum = &m_frustum;
  g_scene.shaderMng = m_shaderMng.get();
  g_scene.level = m_level.get();
  g_scene.levelObjects = m_levelObjects.get();
  g_scene.particles = m_particles.get();
  g_guiServices = {m_guiMng.get(), m_shaderMng.get(), m_textBatch.get(), &m_fonts};
}

N_World::~N_World() {
  g_scene.game = nullptr;
  m_game.reset();
  // The GUI's elements hold fonts of the list: the manager goes first.
  m_guiMng.reset();
  g_guiServices = {};
  FreeFonts(m_fonts);
  // The particles before the shader and texture cycle: their emitters give their
  // buffers back while the renderer and their materials still exist.
  g_scene.particles = nullptr;
  m_particles.reset();
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

void N_World::SetGame(std::unique_ptr<N_Game> game) {
  g_scene.game = nullptr;
  m_game = std::move(game);
  g_scene.game = m_game.get();
}

void N_World::SetCurrentCamera(N_Camera* camera) {
  m_camera = camera;
  g_scene.camera = camera;
}

bool N_World::Init() {
  m_textBatch->Init();
  // The templates add their materials: the scripts go before the shaders are built.
  m_particles->SetDetail(static_cast<std::uint8_t>(g_varMng ? g_varMng->GetInt("ParticleDetails") & 0xFF : 0));
  m_particles->LoadScripts();
  // The athletes after the particle scripts and before the figures (still to come).
  m_athletMng->ParseProfiles("data\\profiles\\playerprofiles.data");
  m_athletMng->SplitBySex();
  m_athletMng->LoadTextures();
  // No level or GUI to load yet: the shaders added so far.
  m_shaderMng->LoadShaders();
  if (m_textureMng) m_textureMng->PurgeTextures();
  m_particles->PrintLoadStats();
  return true;
}

void N_World::Update(float) {
  // Last: the particles follow everything that moved this frame.
  m_particles->UpdateAll();
}

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
    // The stencil-marked shadows darken the scene in 2D, then the particles are drawn
    // over it in 3D.
    g_render->SetupCamera(m_camera, 0);
    g_render->DrawShadowOverlay();
    g_render->SetupCamera(m_camera, 1);
    m_particles->RenderAll();
  }
  m_screenCamera.SetProjection(90.0f, float(g_varMng->GetInt("v_width")), float(g_varMng->GetInt("v_height")), 0.0f,
                               0.0f);
  g_render->SetupCamera(&m_screenCamera, 0);
  m_textBatch->Flush();
  g_render->EndFrame();
}
