#pragma once
// The engine's row-major N_Matrix4 and the device's D3DMATRIX hold the same sixteen
// floats in the same order; these copy one into the other.
#include "core/Matrix4.h"
#include "platform/d3d9.h"

#include <cstring>

inline D3DMATRIX ToD3D(const N_Matrix4& matrix) {
  D3DMATRIX out;
  static_assert(sizeof out.m == sizeof matrix.m);
  std::memcpy(out.m, matrix.m, sizeof out.m);
  return out;
}

inline N_Matrix4 FromD3D(const D3DMATRIX& matrix) {
  N_Matrix4 out;
  std::memcpy(out.m, matrix.m, sizeof out.m);
  return out;
}
