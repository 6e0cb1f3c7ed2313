#include "gui/GuiSnow.h"

#include "core/Random.h"
#include "render/TextBatch.h"

#include <cmath>

namespace {

constexpr float kScreenWidth = 640.0f;
constexpr float kScreenHeight = 480.0f;

}  // namespace

void N_GuiSnow::Seed() {
  for (Flake& f : m_flakes) {
    f.x = RandomRange(0.0f, kScreenWidth);
    f.y = RandomRange(0.0f, -kScreenHeight);
    f.startX = f.x;
    f.startY = f.y;
    f.size = RandomRange(4.0f, 10.0f);
    f.drift = 20.0f / f.size;
    f.fall = f.size * 2.5f;
  }
}

void N_GuiSnow::Restart() {
  for (Flake& f : m_flakes) f.y = f.startY;
}

void N_GuiSnow::StepAndQueue(float dt, N_TextBatch& batch, std::int32_t shader) {
  for (Flake& f : m_flakes) {
    if (std::fabs(f.x - f.startX) > kDriftRange) f.drift = -f.drift;
    f.x += dt * f.drift;
    f.y += dt * f.fall;
    if (f.y > kScreenHeight) {
      f.x = f.startX;
      f.y = f.startY;
    }
    batch.AddQuad(shader, f.x, f.y, f.size, f.size, 1.0f, 1.0f, 255);
  }
}
