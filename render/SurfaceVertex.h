#pragma once
// The 44-byte vertex of every drawn surface, quad and fade: position, normal, packed
// colour, the texture coordinates and the lightmap coordinates. The surface
// declaration describes it with the colour, the shadow declaration without it.
#include <cstdint>

struct N_SurfaceVertex {
  float position[3];
  float normal[3];
  std::uint32_t colour;  ///< packed A, R, G, B from the high byte down
  float uv0[2];
  float uv1[2];  ///< the lightmap set
};
static_assert(sizeof(N_SurfaceVertex) == 44);
