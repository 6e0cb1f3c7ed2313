#include "race/World.h"

#include "render/Render.h"

N_World* g_world = nullptr;

N_World::N_World(N_TextureMng* textureMng)
    : m_textBatch(std::make_unique<N_TextBatch>()),
      m_shaderMng(std::make_unique<N_ShaderMng>(1024)),
      m_textureMng(textureMng) {}

N_World::~N_World() = default;

bool N_World::Init() { return true; }  // no level, shaders or GUI to load yet

void N_World::Update(float) {}

void N_World::Render(float) {
  // Only the frame itself so far: the scene, GUI and text join as they are built.
  if (!g_render) return;
  g_render->BeginFrame();
  g_render->EndFrame();
}
