#pragma once
// 3 x 4 affine transforms: three rows of (rotation, translation), the translation in
// elements 3, 7 and 11. It is the upper three rows of an N_Matrix4.
#include "core/Matrix4.h"
#include "core/Vector3.h"

struct N_Matrix34 {
  float m[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};

  N_Matrix34() = default;
  /// The upper three rows of a 4 x 4 animation matrix.
  explicit N_Matrix34(const N_Matrix4& source);

  /// out = R p + t; returns out (out may be p).
  N_Vector3& TransformPoint(N_Vector3& out, const N_Vector3& p) const;
  /// out = [R^-1, -(R^-1 t); 0 0 0 1], R inverted as N_Matrix3::Invert does. Returns out.
  N_Matrix4& Invert(N_Matrix4& out) const;
};
static_assert(sizeof(N_Matrix34) == 48);
