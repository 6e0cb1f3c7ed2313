#include "render/RendererTextureDevice.h"

#include "render/Render.h"
#include "render/RenderServices.h"

namespace {

N_Render* CurrentRenderer() { return g_renderServices ? g_renderServices->render : nullptr; }

}  // namespace

std::uint32_t RendererTextureDevice::CreateTexture(const char* path, TexInfo* record, std::uint32_t parameter) {
  N_Render* render = CurrentRenderer();
  if (!render) {
    if (record) record->texture = 0;  // as a creation that failed
    return 0;
  }
  return render->CreateTexture(path, record, parameter);
}

void RendererTextureDevice::ReleaseTexture(TexInfo* record) {
  if (N_Render* render = CurrentRenderer()) render->ReleaseTexture(record);
}

void RendererTextureDevice::LoadEffectTextures() {
  if (N_Render* render = CurrentRenderer()) render->LoadEffectTextures();
}
