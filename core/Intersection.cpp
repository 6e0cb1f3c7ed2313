#include "core/Intersection.h"

#include <algorithm>
#include <cmath>

float PointRayDistanceSq(const N_Vector3& point, const N_Vector3& origin, const N_Vector3& direction, float* outT) {
  N_Vector3 v = point - origin;
  const float k = Vec3Dot(v, direction);
  float t = 0.0f;
  if (k > 0.0f) {
    t = k / Vec3Dot(direction, direction);
    v = v - direction * t;
  }
  if (outT) *outT = t;
  return Vec3Dot(v, v);
}

bool RayIntersectsSphere(const N_Vector3& origin, const N_Vector3& direction, const N_Sphere& sphere) {
  return PointRayDistanceSq(sphere.center, origin, direction, nullptr) <= sphere.radius * sphere.radius;
}

namespace {

double Dot(const N_Vector3& a, const N_Vector3& b) {
  return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y + static_cast<double>(a.z) * b.z;
}

}  // namespace

bool SweptSpheresCollide(const N_Vector3& a0, const N_Vector3& a1, const N_Vector3& b0, const N_Vector3& b1,
                         float radiusA, float radiusB, float* outT) {
  const N_Vector3 da = a1 - a0;
  const N_Vector3 db = b1 - b0;
  if (Dot(da, da) < 0.001 && Dot(db, db) < 0.001) return false;
  const N_Vector3 e = da - db;  // relative motion
  const N_Vector3 f = a0 - b0;  // start offset
  const double r = static_cast<double>(radiusA) + radiusB;
  const double a = Dot(e, e), b = Dot(e, f), c = Dot(f, f);
  if (a == 0.0) {
    // Same motion: the distance stays as it started.
    if (c > r * r) return false;
    if (outT) *outT = 0.0f;
    return true;
  }
  if (c - b * b / a > r * r) return false;  // the paths never come within r
  // Rounding can push the discriminant of a grazing pass just below zero.
  const double t = (-b - std::sqrt(std::max(0.0, b * b - a * (c - r * r)))) / a;
  if (outT) *outT = static_cast<float>(t);
  if (t < 0.0 || t > 0.999) return false;
  if (outT) *outT = static_cast<float>(std::max(0.0, t - 0.001));
  return true;
}
