#include "race/World.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "gui/GuiMng.h"
#include "gui/GuiServices.h"
#include "render/Render.h"
#include "render/TextureMng.h"

N_World* g_world = nullptr;

N_World::N_World(N_TextureMng* textureMng)
    : m_shaderMng(std::make_unique<N_ShaderMng>(1024)),
      m_textTarget(*m_shaderMng),
      m_textBatch(std::make_unique<N_TextBatch>(&m_textTarget)),
      m_textureMng(textureMng),
      m_guiMng(std::make_unique<N_GuiMng>()) {
  g_guiServices = {m_guiMng.get(), m_shaderMng.get(), m_textBatch.get(), &m_fonts};
}

N_World::~N_World() {
  // The GUI's elements hold fonts of the list: the manager goes first.
  m_guiMng.reset();
  g_guiServices = {};
  FreeFonts(m_fonts);
  // Every shader is unreferenced now, so loading frees them all and gives their
  // textures back; then nothing holds a texture either.
  m_shaderMng->ResetRefCounts();
  m_shaderMng->LoadShaders();
  if (g_log) g_log->Print("--- Freeing Textures\n");
  if (m_textureMng) {
    m_textureMng->ResetRefCounts();
    m_textureMng->PurgeTextures();
  }
}

bool N_World::Init() {
  m_textBatch->Init();
  // No level, particles, athletes or GUI to load yet: the shaders added so far.
  m_shaderMng->LoadShaders();
  if (m_textureMng) m_textureMng->PurgeTextures();
  return true;
}

void N_World::Update(float) {}

void N_World::Render(float) {
  // The frame and the queued text so far: the scene and the GUI join as they are built.
  if (!g_render) {
    m_textBatch->Flush();  // nothing to draw with; the queue still empties every frame
    return;
  }
  g_render->BeginFrame();
  m_screenCamera.SetProjection(90.0f, float(g_varMng->GetInt("v_width")), float(g_varMng->GetInt("v_height")), 0.0f,
                               0.0f);
  g_render->SetupCamera(&m_screenCamera, 0);
  m_textBatch->Flush();
  g_render->EndFrame();
}
