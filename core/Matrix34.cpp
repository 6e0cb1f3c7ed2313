#include "core/Matrix34.h"

#include "core/Matrix3.h"

#include <algorithm>

N_Matrix34::N_Matrix34(const N_Matrix4& source) { std::copy(source.m, source.m + 12, m); }

N_Vector3& N_Matrix34::TransformPoint(N_Vector3& out, const N_Vector3& p) const {
  out = {m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3], m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
         m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]};
  return out;
}

N_Matrix4& N_Matrix34::Invert(N_Matrix4& out) const {
  N_Matrix3 rotation;
  rotation.m[0] = m[0], rotation.m[1] = m[1], rotation.m[2] = m[2];
  rotation.m[3] = m[4], rotation.m[4] = m[5], rotation.m[5] = m[6];
  rotation.m[6] = m[8], rotation.m[7] = m[9], rotation.m[8] = m[10];
  N_Matrix3 inverse;
  rotation.Invert(inverse);
  N_Vector3 t;
  inverse.Transform({m[3], m[7], m[11]}, t);
  const float* r = inverse.m;
  const float result[16] = {r[0], r[1], r[2], -t.x, r[3], r[4], r[5], -t.y,
                            r[6], r[7], r[8], -t.z, 0,    0,    0,    1};
  std::copy(result, result + 16, out.m);
  return out;
}
