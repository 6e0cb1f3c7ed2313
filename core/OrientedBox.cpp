#include "core/OrientedBox.h"

#include <cmath>

void N_OrientedBox::GetCorners(N_Vector3 out[8]) const {
  const N_Vector3 a = axis[0] * extent[0];
  const N_Vector3 b = axis[1] * extent[1];
  const N_Vector3 c = axis[2] * extent[2];
  const N_Vector3& p = center;
  out[0] = p - a - b - c;
  out[1] = p + a - b - c;
  out[2] = p + a + b - c;
  out[3] = p - a + b - c;
  out[4] = p - a - b + c;
  out[5] = p + a - b + c;
  out[6] = p + a + b + c;
  out[7] = p - a + b + c;
}

namespace {

/// The three cross-axis tests shared by the ray and the segment: W = d x q against
/// the box's projections on the axes' cross products with d.
bool CrossAxesSeparate(const N_Vector3& d, const N_Vector3& q, const N_OrientedBox& box) {
  N_Vector3 w;
  Vec3Cross(w, d, q);
  const float d0 = std::fabs(Vec3Dot(d, box.axis[0]));
  const float d1 = std::fabs(Vec3Dot(d, box.axis[1]));
  const float d2 = std::fabs(Vec3Dot(d, box.axis[2]));
  const float* e = box.extent;
  return std::fabs(Vec3Dot(w, box.axis[0])) > e[1] * d2 + e[2] * d1 ||
         std::fabs(Vec3Dot(w, box.axis[1])) > e[0] * d2 + e[2] * d0 ||
         std::fabs(Vec3Dot(w, box.axis[2])) > e[0] * d1 + e[1] * d0;
}

}  // namespace

bool RayIntersectsBox(const N_Vector3& origin, const N_Vector3& direction, const N_OrientedBox& box) {
  const N_Vector3 q = origin - box.center;
  for (int i = 0; i < 3; ++i) {
    const float qi = Vec3Dot(q, box.axis[i]);
    // Outside this slab and not heading back into it.
    if (std::fabs(qi) > box.extent[i] && qi * Vec3Dot(direction, box.axis[i]) >= 0.0f) return false;
  }
  return !CrossAxesSeparate(direction, q, box);
}

bool SegmentIntersectsBox(const N_Vector3& start, const N_Vector3& delta, const N_OrientedBox& box) {
  const N_Vector3 half = delta * 0.5f;
  const N_Vector3 q = start + half - box.center;
  for (int i = 0; i < 3; ++i) {
    if (std::fabs(Vec3Dot(q, box.axis[i])) > std::fabs(Vec3Dot(half, box.axis[i])) + box.extent[i]) {
      return false;
    }
  }
  return !CrossAxesSeparate(half, q, box);
}
