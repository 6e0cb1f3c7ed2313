#include "scene/LevelCamera.h"

#include <cstring>

void N_LevelCamera::Render(float, std::int32_t) {}

void N_LevelCamera::SetName(const char* text) {
  std::memset(name, 0, sizeof name);
  if (text) std::strncpy(name, text, sizeof name - 1);
}
