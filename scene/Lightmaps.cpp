#include "scene/Lightmaps.h"

#include "render/TextureMng.h"

void LoadLightmap(const char* name, TexInfo& record) {
  if (g_textureMng) g_textureMng->LoadLightmap(name ? name : "", &record, N_TextureMng::kLightmapParameter);
}

void ReleaseLightmaps(std::vector<TexInfo>& lightmaps) {
  if (g_textureMng) {
    for (TexInfo& lightmap : lightmaps) g_textureMng->ReleaseLightmap(&lightmap);
  }
  lightmaps.clear();
}
