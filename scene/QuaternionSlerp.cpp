#include "scene/QuaternionSlerp.h"

#include <cmath>

void QuaternionSlerp(const N_Quaternion& a, const N_Quaternion& b, float t, N_Quaternion& out) {
  float d = a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
  N_Quaternion to = b;
  if (d < 0.0f) {
    d = -d;
    to = {-b.w, -b.x, -b.y, -b.z};
  }
  float k0 = 1.0f - t;
  float k1 = t;
  if (1.0f - d > 1.0e-6f) {
    const float omega = std::acos(d);
    const float sinOmega = std::sin(omega);
    k0 = std::sin((1.0f - t) * omega) / sinOmega;
    k1 = std::sin(t * omega) / sinOmega;
  }
  const N_Quaternion from = a;
  out = {k0 * from.w + k1 * to.w, k0 * from.x + k1 * to.x, k0 * from.y + k1 * to.y, k0 * from.z + k1 * to.z};
}
