#include "render/ShaderStage.h"

#include "core/Convert.h"

#include <algorithm>
#include <cmath>

void N_ShaderStage::AddTexture(TexInfo* texture, float newFrequency) {
  textures.push_back(texture);
  if (texture) frequency = newFrequency;
}

void N_ShaderStage::SetAlphaFunc(std::uint32_t function, float value) {
  alphaFunc = function;
  const float clamped = std::clamp(value, 0.0f, 1.0f);  // the reference is one byte
  alphaRef = static_cast<std::uint8_t>(SaturatingTruncate(clamped * 255.0f));
}

void N_ShaderStage::AppendTcMod(TcModType type, const float* values, int count) {
  N_ShaderTcMod mod;
  mod.type = type;
  mod.count = std::clamp(count, 0, static_cast<int>(mod.values.size()));
  std::copy(values, values + mod.count, mod.values.begin());
  tcMods.push_back(mod);
}

int N_ShaderStage::GetFrame(float time) const {
  const int count = TextureCount();
  if (count <= 1) return 0;
  if (flags & StageFlag::kIfl) return GetIflFrame(time);
  // The frame whose interval [n, n + 1) holds time x frequency: the nearest integer
  // to f - 0.5 under the default (ties-to-even) rounding.
  const float f = time * frequency;
  const int frame = SaturatingTruncate(std::nearbyint(f - 0.5f)) % count;
  return std::max(frame, 0);
}

int N_ShaderStage::GetIflFrame(float time) const {
  // The list may be shorter than the textures (a line without a frame time).
  const int last = std::min(static_cast<int>(frameTimes.size()), TextureCount()) - 1;
  if (last < 0 || !(frequency > 0.0f)) return 0;
  double whole = 0.0;
  const float within = static_cast<float>(std::modf(static_cast<double>(time / frequency), &whole)) * frequency;
  float sum = 0.0f;
  for (int i = 0; i <= last; ++i) {
    sum += frameTimes[i];
    if (sum >= within) return i;
  }
  return last;  // the sum fell short of the total by float error
}
