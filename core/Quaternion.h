#pragma once
// Rotations as quaternions, stored w, x, y, z (the order of the animation files).

struct N_Quaternion {
  float w = 1.0f;
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};
static_assert(sizeof(N_Quaternion) == 16);
