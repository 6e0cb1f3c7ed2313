#include "core/Vector3.h"

#include <cmath>

N_Vector3& N_Vector3::Normalize() {
  // The length in double: squares of large floats would overflow in single precision.
  const double length = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y +
                                  static_cast<double>(z) * z);
  if (length < 1e-7) {
    x = 1.0f;
    y = 0.0f;
    z = 0.0f;
    return *this;
  }
  x = static_cast<float>(x / length);
  y = static_cast<float>(y / length);
  z = static_cast<float>(z / length);
  return *this;
}

void N_Vector3::AddTo(const N_Vector3& b) {
  x += b.x;
  y += b.y;
  z += b.z;
}

N_Vector3& N_Vector3::Add(N_Vector3& out, const N_Vector3& b) const {
  out = *this + b;
  return out;
}

N_Vector3& N_Vector3::Scale(N_Vector3& out, float s) const {
  out = *this * s;
  return out;
}

N_Vector3& N_Vector3::Sub(N_Vector3& out, const N_Vector3& b) const {
  out = *this - b;
  return out;
}

double N_Vector3::LengthSq() const {
  return static_cast<double>(x) * x + static_cast<double>(y) * y + static_cast<double>(z) * z;
}

N_Vector3& N_Vector3::CatmullRom(const N_Vector3& p0, const N_Vector3& p1, const N_Vector3& p2,
                                 const N_Vector3& p3, float t) {
  const float t2 = t * t;
  const float t3 = t2 * t;
  const float w0 = 0.5f * (2.0f * t2 - t3 - t);
  const float w1 = 0.5f * (3.0f * t3 - 5.0f * t2 + 2.0f);
  const float w2 = 0.5f * (4.0f * t2 - 3.0f * t3 + t);
  const float w3 = 0.5f * (t3 - t2);
  x = w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x;
  y = w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y;
  z = w0 * p0.z + w1 * p1.z + w2 * p2.z + w3 * p3.z;
  return *this;
}

void Vec3Cross(N_Vector3& out, const N_Vector3& a, const N_Vector3& b) {
  out = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

N_Vector3& TriangleNormal(N_Vector3& out, const N_Vector3& a, const N_Vector3& b, const N_Vector3& c) {
  Vec3Cross(out, b - a, c - a);
  return out.Normalize();
}
