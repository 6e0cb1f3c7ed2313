#pragma once
// Small helpers shared by the particle emitters and the trail patches.
#include "core/Globals.h"
#include "core/Timer.h"

#include <cstdint>

/// The integer part of a colour or alpha value, kept to 0..255 (a NaN gives 0).
inline std::uint32_t ParticleByte(float value) {
  if (!(value > 0.0f)) return 0;
  if (value >= 255.0f) return 255;
  return static_cast<std::uint32_t>(value);
}

/// The colour (alpha in the top byte) with another alpha.
inline std::uint32_t WithAlpha(std::uint32_t colour, std::uint32_t alpha) {
  return (colour & 0x00FFFFFFu) | (alpha << 24);
}

/// Seconds of the last frame, 0 without the timer.
inline float ParticleFrameTime() { return g_timer ? static_cast<float>(g_timer->GetFrameTime()) : 0.0f; }
