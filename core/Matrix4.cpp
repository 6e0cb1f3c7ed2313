#include "core/Matrix4.h"

#include "core/MathFunctions.h"
#include "core/Matrix3.h"

#include <algorithm>

namespace {

void SetRows(N_Matrix4& out, const float (&rows)[16]) { std::copy(rows, rows + 16, out.m); }

}  // namespace

void N_Matrix4::FromQuaternion(const N_Quaternion& q) {
  float r[9];
  QuaternionToRotation(q, r);
  SetRows(*this, {r[0], r[1], r[2], 0, r[3], r[4], r[5], 0, r[6], r[7], r[8], 0, 0, 0, 0, 1});
}

void N_Matrix4::RotationX(float angle) {
  const float c = CosF(angle), s = SinF(angle);
  SetRows(*this, {1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1});
}

void N_Matrix4::RotationY(float angle) {
  const float c = CosF(angle), s = SinF(angle);
  SetRows(*this, {c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1});
}

void N_Matrix4::RotationZ(float angle) {
  const float c = CosF(angle), s = SinF(angle);
  SetRows(*this, {c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

N_Matrix4& N_Matrix4::Copy(const N_Matrix4& source) {
  std::copy(source.m, source.m + 16, m);
  return *this;
}

N_Matrix4& N_Matrix4::Transpose(N_Matrix4& out) const {
  float t[16];
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) t[4 * r + c] = m[4 * c + r];
  }
  SetRows(out, t);
  return out;
}

N_Matrix4& MatrixMultiply(N_Matrix4& out, const N_Matrix4& a, const N_Matrix4& b) {
  float t[16];
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      t[4 * i + j] = a.m[4 * i] * b.m[j] + a.m[4 * i + 1] * b.m[4 + j] +
                     a.m[4 * i + 2] * b.m[8 + j] + a.m[4 * i + 3] * b.m[12 + j];
    }
  }
  SetRows(out, t);
  return out;
}
