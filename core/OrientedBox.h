#pragma once
// Oriented boxes and the separating-axis tests of the aiming and collision code.
// All comparisons are strict: touching counts as intersecting.
#include "core/Vector3.h"

struct N_OrientedBox {
  N_Vector3 center;
  N_Vector3 axis[3];   ///< unit axes
  float extent[3] = {};  ///< half-extents along the axes

  /// The eight corners: -A-B-C, +A-B-C, +A+B-C, -A+B-C, then the same four with +C
  /// (A, B, C the axes scaled by their half-extents).
  void GetCorners(N_Vector3 out[8]) const;
};
static_assert(sizeof(N_OrientedBox) == 60);

/// Whether the ray from origin along direction (any length) meets the box.
bool RayIntersectsBox(const N_Vector3& origin, const N_Vector3& direction, const N_OrientedBox& box);
/// Whether the segment from start to start + delta meets the box.
bool SegmentIntersectsBox(const N_Vector3& start, const N_Vector3& delta, const N_OrientedBox& box);
