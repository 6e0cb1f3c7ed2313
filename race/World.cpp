#include "race/World.h"

N_World* g_world = nullptr;

N_World::N_World(N_TextureMng* textureMng)
    : m_textBatch(std::make_unique<N_TextBatch>()),
      m_shaderMng(std::make_unique<N_ShaderMng>(1024)),
      m_textureMng(textureMng) {}

N_World::~N_World() = default;

bool N_World::Init() { return true; }  // no level, shaders or GUI to load yet

void N_World::Update(float) {}

void N_World::Render(float) {}
