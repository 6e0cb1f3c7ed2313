#pragma once
// The material code's host in the game: textures through the renderer module's
// texture manager, effects through the renderer, and the render-state cache's current
// shader. Without a renderer (no services record) textures and effects are none.
#include "render/ShaderHost.h"

class N_RenderShaderHost final : public N_ShaderHost {
 public:
  TexInfo* AddTexture(const char* name, std::uint32_t parameter, std::uint32_t kind) override;
  void ReleaseTexture(TexInfo* record) override;
  ID3DXEffect* CreateEffect(const char* fileName) override;
  void DestroyEffect(ID3DXEffect** effect) override;
  void ForgetShader(const N_Shader* shader) override;

  /// The one host of the program (it has no state of its own).
  static N_RenderShaderHost& Instance();
};
