#include "render/Wave.h"

#include "core/Timer.h"
#include "render/RenderServices.h"
#include "render/ShaderStage.h"

#include <cmath>

float EvaluateWaveAt(const float* wave, float time) {
  const float base = wave[1];
  const float amplitude = wave[2];
  const float x = time * wave[4] + wave[3];
  // nearbyint rounds halves to even: at a whole x, f is 1 when x is odd, 0 when even.
  const float f = x - std::nearbyint(x - 0.5f);
  switch (static_cast<WaveFunc>(static_cast<int>(std::nearbyint(wave[0])))) {
    case WaveFunc::Sin: return base + amplitude * std::sin(f * 6.2831855f);
    case WaveFunc::Triangle: return base + amplitude * (f < 0.5f ? 4.0f * f - 1.0f : 3.0f - 4.0f * f);
    case WaveFunc::Square: return f < 0.5f ? base + amplitude : base - amplitude;
    case WaveFunc::InverseSawtooth: return base + amplitude * (1.0f - f);
    default: return base + amplitude * f;
  }
}

float RenderTime() {
  const N_Timer* timer = g_renderServices ? g_renderServices->timer : nullptr;
  return timer ? static_cast<float>(timer->GetTime()) : 0.0f;
}

float EvaluateWave(const float* wave) { return EvaluateWaveAt(wave, RenderTime()); }
