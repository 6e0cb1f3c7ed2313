#pragma once
// 4 x 4 matrices, row-major (element 4r + c). The animation code keeps the
// translation in elements 3, 7 and 11 and composes parent x local; the device wants
// the row-vector form with the translation in the fourth row: Transpose turns one
// into the other.
#include "core/Quaternion.h"

struct N_Matrix4 {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  /// The quaternion's rotation (as N_Matrix3::FromQuaternion), no translation, m[15] = 1.
  void FromQuaternion(const N_Quaternion& q);
  /// Rotations about x, y and z by the angle in radians.
  void RotationX(float angle);
  void RotationY(float angle);
  void RotationZ(float angle);
  /// Copies the sixteen elements of the source; returns this.
  N_Matrix4& Copy(const N_Matrix4& source);
  /// out[row][col] = this[col][row]; out may be this. Returns out.
  N_Matrix4& Transpose(N_Matrix4& out) const;
};
static_assert(sizeof(N_Matrix4) == 64);

/// out = a x b; every product is formed before out is written, so out may be a or b.
N_Matrix4& MatrixMultiply(N_Matrix4& out, const N_Matrix4& a, const N_Matrix4& b);
