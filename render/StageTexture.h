#pragma once
// Binding a stage's texture to a texture unit through the render-state cache: a unit
// whose cached texture already is the stage's texture is left untouched.
#include <cstdint>

class N_ShaderStage;

/// Lightmap stages take the cache's current lightmap; animated stages the frame of the
/// renderer's time; a stage without textures reports "Zero textures in layer!" and
/// leaves the unit off. A handle that is not positive (none, or a texture not created)
/// switches the unit off; otherwise the unit modulates the texture with the stage's
/// colour operation, clamps or wraps, and takes the stage's mip bias.
void BindStageTexture(const N_ShaderStage* stage, std::uint32_t unit);
