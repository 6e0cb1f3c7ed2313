#include "render/TextBatchRenderTarget.h"

#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/ShaderMng.h"

namespace {

/// Nothing is drawn while there is no renderer (tests of the world without one).
N_Render* Renderer() { return g_renderServices ? g_renderServices->render : nullptr; }

}  // namespace

void N_TextBatchRenderTarget::ClearDepth() {
  if (N_Render* render = Renderer()) render->ClearDepth();
}

void N_TextBatchRenderTarget::BindShader(std::int32_t shader) {
  if (N_Render* render = Renderer()) render->SetShader(m_shaders.GetShader(shader), -1);
}

void N_TextBatchRenderTarget::DrawSurface(N_MeshSurface& entry) {
  if (N_Render* render = Renderer()) render->DrawSurface(&entry);
}

bool N_TextBatchRenderTarget::DrawsInOnePass(std::int32_t shader) {
  const N_Shader* material = m_shaders.GetShader(shader);
  return material && material->stageCount == 1 && !(material->flags & ShaderFlag::kEffect);
}
