#include "render/TexCoordTransform.h"

#include "render/Wave.h"

#include <cmath>

namespace {

constexpr float kRadiansPerDegree = 0.017444445f;  // 3.14 / 180
constexpr N_TexMatrix kIdentity{1, 0, 0, 0, 1, 0, 0, 0, 1};

struct TexMods {
  float angle = 0.0f;
  float scaleS = 0.0f, scaleT = 0.0f;
  float scrollS = 0.0f, scrollT = 0.0f;
};

TexMods Gather(std::span<const N_ShaderTcMod> mods, float time) {
  TexMods m;
  for (const N_ShaderTcMod& mod : mods) {
    const auto& v = mod.values;
    switch (mod.type) {
      case TcModType::Rotate: m.angle = time * v[0] * kRadiansPerDegree; break;
      case TcModType::Scale: m.scaleS = v[0], m.scaleT = v[1]; break;
      case TcModType::Scroll: m.scrollS = time * v[0], m.scrollT = time * v[1]; break;
      case TcModType::Stretch: {
        // A wave at 0 would give an infinite scale: it counts as no scale.
        const float wave = EvaluateWaveAt(v.data(), time);
        const float s = wave != 0.0f ? 1.0f / wave : 0.0f;
        m.scaleS = m.scaleT = s;
        break;
      }
      case TcModType::Turb:
        m.scaleS = 1.0f + (v[0] + v[1] * std::sin(time * v[3])) * 0.5f;
        m.scaleT = 1.0f + (v[0] + v[1] * std::sin(time * v[3] + v[2])) * 0.5f;
        break;
      case TcModType::Transform: break;  // its matrix is replaced by the composed one
    }
  }
  return m;
}

}  // namespace

void Matrix3Multiply(float* out, const float* a, const float* b) {
  float product[9];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      product[3 * i + j] = a[3 * i] * b[j] + a[3 * i + 1] * b[3 + j] + a[3 * i + 2] * b[6 + j];
    }
  }
  for (int i = 0; i < 9; ++i) out[i] = product[i];
}

N_TexMatrix ComposeTexMods(std::span<const N_ShaderTcMod> mods, float time) {
  const TexMods m = Gather(mods, time);
  N_TexMatrix result = kIdentity;
  if (m.scaleS != 0.0f || m.scaleT != 0.0f) {
    result = {m.scaleS, 0, 0, 0, m.scaleT, 0, 0.5f - 0.5f * m.scaleS, 0.5f - 0.5f * m.scaleT, 1};
  }
  if (m.scrollS != 0.0f || m.scrollT != 0.0f) {
    const N_TexMatrix scroll{1, 0, 0, 0, 1, 0, m.scrollS, m.scrollT, 1};
    Matrix3Multiply(result.data(), scroll.data(), result.data());
  }
  if (m.angle != 0.0f) {
    const float c = std::cos(m.angle), s = std::sin(m.angle);
    const N_TexMatrix rotate{c, s, 0, -s, c, 0, 0.5f - 0.5f * c + 0.5f * s, 0.5f - 0.5f * s - 0.5f * c, 1};
    Matrix3Multiply(result.data(), rotate.data(), result.data());
  }
  return result;
}
