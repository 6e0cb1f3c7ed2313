#pragma once
// The vertex records of the renderer's immediate draws (points, lines, boxes, the fade
// quad), kept in the renderer and overwritten by each draw, so nothing is allocated
// per call.
#include "render/SurfaceVertex.h"

#include <array>

/// Point vertex: position, point size, colour as three floats (the point declaration).
struct N_PointVertex {
  float position[3];
  float size;
  float colour[3];
};
static_assert(sizeof(N_PointVertex) == 28);

/// Line vertex: position and colour as three floats (the line declaration).
struct N_LineVertex {
  float position[3];
  float colour[3];
};
static_assert(sizeof(N_LineVertex) == 24);

struct N_ImmediateVertices {
  static constexpr int kBoxEdges = 12;

  N_PointVertex point{};
  std::array<N_LineVertex, 2 * kBoxEdges> lines{};
  std::array<N_SurfaceVertex, 8> box{};
  std::array<N_SurfaceVertex, 4> quad{};
};
