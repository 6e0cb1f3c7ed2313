#pragma once
// Three-float vectors, shared by the renderer, the scene, the race and the GUI.
// Stored exactly as three 32-bit floats, so arrays of them match the binary files.

/// A point or direction; x, y, z in world units unless a caller says otherwise.
struct N_Vector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  /// Scales to length 1 in place; a length below 1e-7 makes the vector (1, 0, 0).
  N_Vector3& Normalize();
  /// this += b.
  void AddTo(const N_Vector3& b);
  /// out = this + b; returns out.
  N_Vector3& Add(N_Vector3& out, const N_Vector3& b) const;
  /// out = this x s; returns out.
  N_Vector3& Scale(N_Vector3& out, float s) const;
  /// out = this - b, component by component; returns out.
  N_Vector3& Sub(N_Vector3& out, const N_Vector3& b) const;
  /// x * x + y * y + z * z, in double.
  double LengthSq() const;
  /// This becomes the uniform Catmull-Rom point between p1 (t = 0) and p2 (t = 1),
  /// tangents (p2 - p0) / 2 and (p3 - p1) / 2; t is not clamped. Returns this.
  N_Vector3& CatmullRom(const N_Vector3& p0, const N_Vector3& p1, const N_Vector3& p2,
                        const N_Vector3& p3, float t);
};
static_assert(sizeof(N_Vector3) == 12);

inline N_Vector3 operator+(const N_Vector3& a, const N_Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline N_Vector3 operator-(const N_Vector3& a, const N_Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline N_Vector3 operator*(const N_Vector3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float Vec3Dot(const N_Vector3& a, const N_Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

/// out = a x b (out may be a or b).
void Vec3Cross(N_Vector3& out, const N_Vector3& a, const N_Vector3& b);
/// out = (b - a) x (c - a), normalised (a degenerate triangle gives (1, 0, 0)); returns out.
N_Vector3& TriangleNormal(N_Vector3& out, const N_Vector3& a, const N_Vector3& b, const N_Vector3& c);
