#include "core/Plane.h"

#include <cmath>

bool PlaneFromPoints(N_Plane& out, const N_Vector3& a, const N_Vector3& b, const N_Vector3& c) {
  N_Vector3 normal;
  Vec3Cross(normal, c - a, b - a);
  const double length = std::sqrt(static_cast<double>(normal.x) * normal.x +
                                  static_cast<double>(normal.y) * normal.y +
                                  static_cast<double>(normal.z) * normal.z);
  if (length < 1e-7) return false;
  out.normal = normal.Normalize();
  out.distance = -Vec3Dot(out.normal, a);
  return true;
}

int BoxOnPlaneSide(const N_Vector3& mins, const N_Vector3& maxs, const N_Plane& plane, float* outDistance) {
  const float lo[3] = {mins.x, mins.y, mins.z};
  const float hi[3] = {maxs.x, maxs.y, maxs.z};
  const float n[3] = {plane.normal.x, plane.normal.y, plane.normal.z};
  const float d = plane.distance;
  if (plane.type < 3) {
    if (d <= lo[plane.type]) return 1;
    if (d >= hi[plane.type]) return 2;
    return 3;
  }
  // dist1: the corner farthest along the normal; dist2: the nearest one.
  double dist1 = 0.0, dist2 = 0.0;
  if (plane.signBits < 8) {
    for (int i = 0; i < 3; ++i) {
      const bool negative = (plane.signBits >> i) & 1;
      dist1 += static_cast<double>(n[i]) * (negative ? lo[i] : hi[i]);
      dist2 += static_cast<double>(n[i]) * (negative ? hi[i] : lo[i]);
    }
  }
  int result = 0;
  if (dist1 >= d) {
    result |= 1;
    if (outDistance) *outDistance = static_cast<float>(dist1);
  }
  if (dist2 < d) {
    result |= 2;
    if (outDistance) *outDistance = static_cast<float>(dist2);
  }
  return result;
}
