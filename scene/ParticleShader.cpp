#include "scene/ParticleShader.h"

#include <utility>

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

}  // namespace

N_ParticleShader::N_ParticleShader(std::string name) : name(std::move(name)) {}

void N_ParticleShader::SetEmissionRate(std::uint32_t minimum, std::uint32_t maximum) {
  emissionMin = minimum;
  emissionMax = maximum;
}

void N_ParticleShader::SetVelocity(const N_Vector3& minimum, const N_Vector3& maximum) {
  velocityMin = minimum;
  velocityMax = maximum;
}

void N_ParticleShader::SetSize(float minimum, float maximum) {
  halfSizeMin = minimum * 0.5f;
  halfSizeMax = maximum * 0.5f;
}

void N_ParticleShader::SetTargetSize(float size, float rate) {
  hasTargetSize = 1;
  targetHalfSize = size * 0.5f;
  targetRate = rate;
}

void N_ParticleShader::SetColor(const N_Vector3& minimum, const N_Vector3& maximum) {
  colorMin = minimum;
  colorMax = maximum;
}

void N_ParticleShader::SetRotate(float minimum, float maximum) {
  rotates = 1;
  spinMin = minimum * kRadiansPerDegree;
  spinMax = maximum * kRadiansPerDegree;
}

void N_ParticleShader::SetLive(float minimum, float maximum) {
  lifeMin = minimum;
  lifeMax = maximum;
}

void N_ParticleShader::SetFadeOut(float seconds) {
  // "!(seconds > 0)" also keeps a NaN time off.
  fadesOut = seconds > 0.0f ? 1 : 0;
  fadeOutRate = fadesOut ? 1.0f / seconds : 0.0f;
}

void N_ParticleShader::SetFadeIn(float seconds) {
  fadesIn = seconds > 0.0f ? 1 : 0;
  fadeInRate = fadesIn ? 1.0f / seconds : 0.0f;
}
