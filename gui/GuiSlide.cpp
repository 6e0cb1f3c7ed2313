#include "gui/GuiSlide.h"

#include "gui/GuiEffect.h"

void N_GuiSlide::Launch(std::int32_t dir, float speed, float dump) {
  direction = dir;
  vx = vy = ax = ay = 0.0f;
  reaches = -1;  // the effect puts the start after the launch
  switch (dir) {
    case N_GuiEffect::kLeft: vx = -speed; ax = dump; break;
    case N_GuiEffect::kRight: vx = speed; ax = -dump; break;
    case N_GuiEffect::kTop: vy = -speed; ay = dump; break;
    default: vy = speed; ay = -dump; break;
  }
}

bool N_GuiSlide::Horizontal() const { return direction == N_GuiEffect::kLeft || direction == N_GuiEffect::kRight; }

bool N_GuiSlide::Step(float dt, float targetX, float targetY) {
  const bool horizontal = Horizontal();
  // Along the moving axis, towards the target: left and top move to smaller values.
  const float way = direction == N_GuiEffect::kLeft || direction == N_GuiEffect::kTop ? -1.0f : 1.0f;
  const float before = way * (horizontal ? vx : vy);
  if (reaches < 0) {
    // The motion as launched stops after speed^2 / (2 x dump): beyond the target or not.
    const float dump = -way * (horizontal ? ax : ay);
    const float distance = way * (horizontal ? targetX - x : targetY - y);
    reaches = dump <= 0.0f || before * before >= 2.0f * dump * distance ? 1 : 0;
  }
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
  // A step over a long frame (a busy machine, a click that saved files) falls short of
  // the motion it stands for, and its velocity may turn back before the target where
  // the motion itself reaches it: the page or element would run off the screen for
  // ever. A slide whose motion reaches its target arrives when its velocity turns.
  if (reaches == 1 && before > 0.0f && way * (horizontal ? vx : vy) <= 0.0f) arrived = true;
  if (arrived) {
    if (Horizontal()) {
      x = targetX;
    } else {
      y = targetY;
    }
  }
  return arrived;
}
