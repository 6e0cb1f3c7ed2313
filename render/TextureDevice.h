#pragma once
// The texture manager's view of the renderer: the three renderer operations it
// calls. The game's manager talks to the renderer through RendererTextureDevice;
// tests give it a recording stand-in.
#include "render/TexInfo.h"

#include <cstdint>

class N_TextureDevice {
 public:
  virtual ~N_TextureDevice() = default;
  /// Loads the file into a device texture for the record; the bytes made, 0 on failure.
  virtual std::uint32_t CreateTexture(const char* path, TexInfo* record, std::uint32_t parameter) = 0;
  /// Releases the record's device texture (the record itself stays as it is).
  virtual void ReleaseTexture(TexInfo* record) = 0;
  /// Binds the textures the effects name, after the manager created its textures.
  virtual void LoadEffectTextures() = 0;
};
