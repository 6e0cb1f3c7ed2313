#pragma once
// N_GuiSlide: the motion the page scroll and the element scroll share. A position
// starts off screen on one axis and moves towards its target at the speed, slowed (or,
// with a dump large enough, turned back) by the dump, until it reaches or crosses the
// target on that axis. The effects own one each and write the position where it goes.
#include <cstdint>

struct N_GuiSlide {
  /// The effect's direction (N_GuiEffect::Direction): which axis moves and which way.
  std::int32_t direction = 3;
  float x = 0.0f;  ///< the position, screen units
  float y = 0.0f;
  float vx = 0.0f;  ///< units per second
  float vy = 0.0f;
  float ax = 0.0f;  ///< units per second squared
  float ay = 0.0f;
  /// Whether the motion as launched reaches the target before the dump turns it back:
  /// 1 or 0, known at the first step (-1 until then).
  int reaches = -1;

  /// Sets the velocity and acceleration by the direction: left (-speed, 0) and
  /// (dump, 0); right (speed, 0) and (-dump, 0); top (0, -speed) and (0, dump); bottom
  /// (0, speed) and (0, -dump).
  void Launch(std::int32_t dir, float speed, float dump);
  /// One step of dt seconds: the velocity first, then the position with the new
  /// velocity. True when the moving axis reached or passed its target (left: at or
  /// below; right: at or above; top: at or below; bottom: at or above), or when the
  /// velocity turned back in a slide that reaches its target; the position then stands
  /// exactly on it.
  bool Step(float dt, float targetX, float targetY);
  /// Whether the direction moves along x.
  bool Horizontal() const;
};
