#pragma once
// PROVISIONAL: the few math types the renderer and camera use, until the math branch
// lands; replaced by its headers.
#include <cmath>
#include <cstdint>

struct N_Vector3 {
  float x, y, z;
  N_Vector3& Normalize() {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length < 1e-7f) {
      x = 1.0f;
      y = z = 0.0f;
    } else {
      x /= length;
      y /= length;
      z /= length;
    }
    return *this;
  }
};

struct N_Matrix4 {
  float m[16];
  void Identity() {
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  }
  void RotationX(float a) {
    Identity();
    const float c = std::cos(a), s = std::sin(a);
    m[5] = c; m[6] = -s; m[9] = s; m[10] = c;
  }
  void RotationY(float a) {
    Identity();
    const float c = std::cos(a), s = std::sin(a);
    m[0] = c; m[2] = s; m[8] = -s; m[10] = c;
  }
  void RotationZ(float a) {
    Identity();
    const float c = std::cos(a), s = std::sin(a);
    m[0] = c; m[1] = -s; m[4] = s; m[5] = c;
  }
  N_Matrix4* Transpose(N_Matrix4* out) const {
    N_Matrix4 t;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) t.m[4 * r + c] = m[4 * c + r];
    *out = t;
    return out;
  }
};

inline N_Matrix4* MatrixMultiply(N_Matrix4* out, const N_Matrix4* a, const N_Matrix4* b) {
  N_Matrix4 t;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a->m[4 * i + k] * b->m[4 * k + j];
      t.m[4 * i + j] = sum;
    }
  *out = t;
  return out;
}

struct N_Plane {
  N_Vector3 normal;
  float dist;
  std::uint8_t type;
  std::uint8_t signBits;
};

struct N_OrientedBox {
  N_Vector3 centre;
  N_Vector3 axis[3];
  float extent[3];
  void GetCorners(N_Vector3* out) const {
    const float s[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                           {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    for (int i = 0; i < 8; ++i) {
      N_Vector3 p = centre;
      for (int k = 0; k < 3; ++k) {
        p.x += s[i][k] * extent[k] * axis[k].x;
        p.y += s[i][k] * extent[k] * axis[k].y;
        p.z += s[i][k] * extent[k] * axis[k].z;
      }
      out[i] = p;
    }
  }
};

inline float SinF(float a) { return std::sin(a); }
inline float CosF(float a) { return std::cos(a); }

inline int BoxOnPlaneSide(const float* mins, const float* maxs, const N_Plane* p, float* out) {
  if (p->type < 3) {
    if (p->dist <= mins[p->type]) return 1;
    if (p->dist >= maxs[p->type]) return 2;
    return 3;
  }
  const float n[3] = {p->normal.x, p->normal.y, p->normal.z};
  float d1 = 0, d2 = 0;
  for (int i = 0; i < 3; ++i) {
    const bool neg = (p->signBits >> i) & 1;
    d1 += n[i] * (neg ? mins[i] : maxs[i]);
    d2 += n[i] * (neg ? maxs[i] : mins[i]);
  }
  int r = 0;
  if (d1 >= p->dist) { r |= 1; *out = d1; }
  if (d2 < p->dist) { r |= 2; *out = d2; }
  return r;
}
