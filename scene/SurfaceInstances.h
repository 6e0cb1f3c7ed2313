#pragma once
// One surface as the level render list draws it: the world matrices queued on it this
// frame by the drawables that use it, and its place in the shader-sorted draw order.
// Mesh objects and static meshes own one per surface; the render list borrows them.
#include "core/Matrix4.h"

#include <cstdint>
#include <vector>

struct N_MeshSurface;

struct N_SurfaceInstances {
  explicit N_SurfaceInstances(N_MeshSurface* drawn) : surface(drawn) {}

  N_MeshSurface* surface;  ///< not owned
  /// Sort key of the render list: shader sort value, shader, lightmap (0 until sorted).
  std::uint32_t key = 0;
  /// World matrices (row-vector form) of this frame's instances; they point into live
  /// drawables and are emptied at the start of every render pass.
  std::vector<const N_Matrix4*> matrices;
};
