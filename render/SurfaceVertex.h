#pragma once
// PROVISIONAL: the 44-byte surface vertex; replaced by the device branch's record.
#include <cstdint>

struct N_SurfaceVertex {
  float position[3];
  float normal[3];
  std::uint32_t colour;  ///< packed A, R, G, B
  float uv0[2];
  float uv1[2];  ///< the lightmap set
};
static_assert(sizeof(N_SurfaceVertex) == 44);
