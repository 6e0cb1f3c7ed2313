#pragma once
// The texture transform of a stage's texture-coordinate modifiers (tcmod): one 3 x 3
// matrix for row vectors (u, v, 1), translation in the third row.
#include "render/ShaderStage.h"

#include <array>
#include <span>

/// Row-major 3 x 3: element 3 r + c.
using N_TexMatrix = std::array<float, 9>;

/// out = a x b (out[i][j] = sum over k of a[i][k] b[k][j]); out may be a or b.
void Matrix3Multiply(float* out, const float* a, const float* b);

/// The modifiers at a time in seconds, in script order: rotate sets the angle (value 1
/// degrees a second, 3.14 / 180 a degree), scroll the offset (values x time), scale,
/// stretch (1 / its wave, scale (0, 0) when the wave is 0) and turb the scale pair, a
/// later one replacing an earlier; transform has no effect. The result rotates about
/// the centre first, then scrolls, then scales about (0.5, 0.5); a scale of (0, 0)
/// means none. No modifiers give the identity.
N_TexMatrix ComposeTexMods(std::span<const N_ShaderTcMod> mods, float time);
