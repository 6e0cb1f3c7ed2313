#pragma once
// What the material code asks of the rest of the renderer: textures from the texture
// manager, effects from the renderer, and the render-state cache's current shader.
// The game's implementation forwards to the renderer module; tests count the calls.
#include <cstdint>

class N_Shader;
struct TexInfo;
class ID3DXEffect;

class N_ShaderHost {
 public:
  virtual ~N_ShaderHost() = default;

  /// N_TextureMng::AddTexture: one more reference to the name's record (null only
  /// when the manager could not make an entry).
  virtual TexInfo* AddTexture(const char* name, std::uint32_t parameter, std::uint32_t kind) = 0;
  /// N_TextureMng::ReleaseTexture: drops one reference; null is ignored.
  virtual void ReleaseTexture(TexInfo* record) = 0;
  /// N_Render::CreateEffect: the effect of a file, or null.
  virtual ID3DXEffect* CreateEffect(const char* fileName) = 0;
  /// N_Render::DestroyEffect: releases the effect when it is the renderer's and nulls
  /// the pointer.
  virtual void DestroyEffect(ID3DXEffect** effect) = 0;
  /// Called before a shader record is destroyed: the render-state cache must not keep
  /// it as its current shader.
  virtual void ForgetShader(const N_Shader* shader) = 0;
};
