#include "gui/GuiSlide.h"

#include "gui/GuiEffect.h"

void N_GuiSlide::Launch(std::int32_t dir, float speed, float dump) {
  direction = dir;
  vx = vy = ax = ay = 0.0f;
  switch (dir) {
    case N_GuiEffect::kLeft: vx = -speed; ax = dump; break;
    case N_GuiEffect::kRight: vx = speed; ax = -dump; break;
    case N_GuiEffect::kTop: vy = -speed; ay = dump; break;
    default: vy = speed; ay = -dump; break;
  }
}

bool N_GuiSlide::Horizontal() const { return direction == N_GuiEffect::kLeft || direction == N_GuiEffect::kRight; }

bool N_GuiSlide::Step(float dt, float targetX, float targetY) {
  vx += dt * ax;
  vy += dt * ay;
  x += vx * dt;
  y += vy * dt;
  bool arrived = false;
  switch (direction) {
    case N_GuiEffect::kLeft: arrived = x <= targetX; break;
    case N_GuiEffect::kRight: arrived = x >= targetX; break;
    case N_GuiEffect::kTop: arrived = y <= targetY; break;
    default: arrived = y >= targetY; break;
  }
  if (arrived) {
    if (Horizontal()) {
      x = targetX;
    } else {
      y = targetY;
    }
  }
  return arrived;
}
