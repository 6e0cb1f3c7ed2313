#include "render/Shader.h"

#include <algorithm>

void N_ShaderDeform::Set(DeformType newType, std::span<const float> given) {
  type = newType;
  values.fill(0.0f);
  std::copy_n(given.begin(), std::min(given.size(), values.size()), values.begin());
}

N_ShaderStage* N_Shader::AddStage() {
  if (stageCount >= kMaxStages) return nullptr;
  stages[stageCount] = std::make_unique<N_ShaderStage>();
  return stages[stageCount++].get();
}

N_ShaderDeform* N_Shader::AddDeform() {
  if (deformCount >= kMaxDeforms) return nullptr;
  return &deforms[deformCount++];
}
