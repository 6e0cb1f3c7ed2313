#pragma once
// 3 x 3 rotations, row-major (element 3r + c is row r, column c). A vector is a
// column: M applied to v is the row-by-vector product.
#include "core/Quaternion.h"
#include "core/Vector3.h"

struct N_Matrix3 {
  float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

  /// Rotation about z by the angle in radians.
  void RotationZ(float angle);
  void SetRows(const N_Vector3& a, const N_Vector3& b, const N_Vector3& c);
  /// The rotation whose column 0 is the normalised direction, with pitch from its z
  /// and heading from its horizontal part (a vertical direction gets heading 0).
  void FromDirection(const N_Vector3& direction);
  /// From a quaternion as it is, not normalised first.
  void FromQuaternion(const N_Quaternion& q);
  /// out = M v (out may be v).
  void Transform(const N_Vector3& v, N_Vector3& out) const;
  /// out = adjugate / determinant; a determinant of exactly 0 gives the adjugate itself.
  void Invert(N_Matrix3& out) const;
};
static_assert(sizeof(N_Matrix3) == 36);

/// The nine rotation values of a quaternion, row-major (shared by the 3x3 and 4x4 forms).
void QuaternionToRotation(const N_Quaternion& q, float out[9]);
