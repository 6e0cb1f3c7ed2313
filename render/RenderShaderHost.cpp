#include "render/RenderShaderHost.h"

#include "render/Render.h"
#include "render/RenderServices.h"
#include "render/RenderStateCache.h"
#include "render/TextureMng.h"

namespace {

N_TextureMng* Textures() { return g_renderServices ? g_renderServices->textureMng : nullptr; }
N_Render* Renderer() { return g_renderServices ? g_renderServices->render : nullptr; }

}  // namespace

TexInfo* N_RenderShaderHost::AddTexture(const char* name, std::uint32_t parameter, std::uint32_t kind) {
  N_TextureMng* textures = Textures();
  return textures ? textures->AddTexture(name, parameter, kind) : nullptr;
}

void N_RenderShaderHost::ReleaseTexture(TexInfo* record) {
  if (N_TextureMng* textures = Textures()) textures->ReleaseTexture(record);
}

ID3DXEffect* N_RenderShaderHost::CreateEffect(const char* fileName) {
  N_Render* render = Renderer();
  return render ? render->CreateEffect(fileName) : nullptr;
}

void N_RenderShaderHost::DestroyEffect(ID3DXEffect** effect) {
  if (N_Render* render = Renderer()) {
    render->DestroyEffect(effect);
  } else if (effect) {
    *effect = nullptr;
  }
}

void N_RenderShaderHost::ForgetShader(const N_Shader* shader) {
  // The next SetShader must bind anew rather than trust a record that is gone.
  g_renderStateCache.ForgetShader(shader);
}

N_RenderShaderHost& N_RenderShaderHost::Instance() {
  static N_RenderShaderHost host;
  return host;
}
