#include "core/Matrix3.h"

#include "core/MathFunctions.h"

#include <algorithm>
#include <cmath>

void N_Matrix3::RotationZ(float angle) {
  const float c = CosF(angle);
  const float s = SinF(angle);
  const float rows[9] = {c, -s, 0, s, c, 0, 0, 0, 1};
  std::copy(rows, rows + 9, m);
}

void N_Matrix3::SetRows(const N_Vector3& a, const N_Vector3& b, const N_Vector3& c) {
  const float rows[9] = {a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z};
  std::copy(rows, rows + 9, m);
}

void N_Matrix3::FromDirection(const N_Vector3& direction) {
  N_Vector3 n = direction;
  n.Normalize();
  // Clamped: a normalised component can overshoot 1 by rounding and make asin/acos NaN.
  const double pitch = -std::asin(std::clamp(static_cast<double>(n.z), -1.0, 1.0));
  const double horizontal = std::sqrt(static_cast<double>(n.x) * n.x + static_cast<double>(n.y) * n.y);
  double heading = 0.0;  // straight up or down has no heading of its own
  if (horizontal > 0.0) heading = std::acos(std::clamp(n.x / horizontal, -1.0, 1.0)) * SignF(n.y);
  const float ch = CosF(static_cast<float>(heading));
  const float sh = SinF(static_cast<float>(heading));
  const float cp = CosF(static_cast<float>(pitch));
  const float sp = SinF(static_cast<float>(pitch));
  const float rows[9] = {ch * cp, -sh, ch * sp, sh * cp, ch, sh * sp, -sp, 0.0f, cp};
  std::copy(rows, rows + 9, m);
}

void QuaternionToRotation(const N_Quaternion& q, float out[9]) {
  const float w = q.w, x = q.x, y = q.y, z = q.z;
  // Kept in this exact form (the transpose of the common textbook layout): the
  // animation data and every user of these matrices are built on it.
  out[0] = 1.0f - 2.0f * y * y - 2.0f * z * z;
  out[1] = 2.0f * (x * y + w * z);
  out[2] = 2.0f * (x * z - w * y);
  out[3] = 2.0f * (x * y - w * z);
  out[4] = 1.0f - 2.0f * x * x - 2.0f * z * z;
  out[5] = 2.0f * (y * z + w * x);
  out[6] = 2.0f * (x * z + w * y);
  out[7] = 2.0f * (y * z - w * x);
  out[8] = 1.0f - 2.0f * x * x - 2.0f * y * y;
}

void N_Matrix3::FromQuaternion(const N_Quaternion& q) { QuaternionToRotation(q, m); }

void N_Matrix3::Transform(const N_Vector3& v, N_Vector3& out) const {
  out = {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
         m[6] * v.x + m[7] * v.y + m[8] * v.z};
}

void N_Matrix3::Invert(N_Matrix3& out) const {
  const float* a = m;
  const float det = a[0] * a[4] * a[8] - a[5] * a[7] * a[0] + a[3] * a[2] * a[7] -
                    a[3] * a[1] * a[8] + a[5] * a[6] * a[1] - a[2] * a[6] * a[4];
  const float k = 1.0f / (det == 0.0f ? 1.0f : det);
  const float adjugate[9] = {
      a[4] * a[8] - a[5] * a[7], a[2] * a[7] - a[1] * a[8], a[1] * a[5] - a[2] * a[4],
      a[5] * a[6] - a[3] * a[8], a[0] * a[8] - a[2] * a[6], a[2] * a[3] - a[0] * a[5],
      a[3] * a[7] - a[4] * a[6], a[1] * a[6] - a[0] * a[7], a[0] * a[4] - a[1] * a[3]};
  for (int i = 0; i < 9; ++i) out.m[i] = adjugate[i] * k;
}
