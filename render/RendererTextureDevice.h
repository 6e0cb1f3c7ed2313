#pragma once
// The texture manager's device in the game: the renderer of the render module's
// services record, looked up at every call (the manager is made before the
// renderer and outlives its shutdown). Without a renderer nothing is created.
#include "render/TextureDevice.h"

class RendererTextureDevice final : public N_TextureDevice {
 public:
  std::uint32_t CreateTexture(const char* path, TexInfo* record, std::uint32_t parameter) override;
  void ReleaseTexture(TexInfo* record) override;
  void LoadEffectTextures() override;
};
