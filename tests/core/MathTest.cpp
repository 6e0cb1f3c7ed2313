#include "core/MathFunctions.h"
#include "core/Matrix3.h"
#include "core/Matrix34.h"
#include "core/Matrix4.h"
#include "core/Vector3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

void ExpectVec(const N_Vector3& v, float x, float y, float z, float tolerance = 1e-6f) {
  EXPECT_NEAR(v.x, x, tolerance);
  EXPECT_NEAR(v.y, y, tolerance);
  EXPECT_NEAR(v.z, z, tolerance);
}

N_Matrix4 Sample() {
  N_Matrix4 m;
  for (int i = 0; i < 16; ++i) m.m[i] = static_cast<float>(i + 1) * (i % 3 == 0 ? -1.0f : 1.0f);
  return m;
}

TEST(Vector3, NormalizeAndSignEdges) {
  struct Case {
    N_Vector3 in;
    N_Vector3 out;
  };
  const Case cases[] = {
      {{0, 0, 0}, {1, 0, 0}},
      {{1e-8f, 0, 0}, {1, 0, 0}},
      {{0, 3, 4}, {0, 0.6f, 0.8f}},
      {{3e20f, 0, 4e20f}, {0.6f, 0, 0.8f}},  // squares beyond float range
  };
  for (const Case& c : cases) {
    N_Vector3 v = c.in;
    ExpectVec(v.Normalize(), c.out.x, c.out.y, c.out.z);
  }
  EXPECT_EQ(SignF(-0.0f), 1.0f);
  EXPECT_EQ(SignF(std::numeric_limits<float>::quiet_NaN()), 1.0f);
  EXPECT_EQ(SignF(-1e-30f), -1.0f);

  N_Vector3 n;
  ExpectVec(TriangleNormal(n, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}), 0, 0, 1);
  ExpectVec(TriangleNormal(n, {0, 0, 0}, {1, 0, 0}, {2, 0, 0}), 1, 0, 0);  // degenerate
  N_Vector3 a{1, 2, 3}, sum, scaled;
  a.Add(sum, {1, 1, 1});
  a.Scale(scaled, 2.0f);
  a.AddTo({-1, -2, -3});
  ExpectVec(sum, 2, 3, 4);
  ExpectVec(scaled, 2, 4, 6);
  ExpectVec(a, 0, 0, 0);
}

TEST(Vector3, CatmullRomPassesItsControlPoints) {
  const N_Vector3 p0{0, 0, 0}, p1{1, 0, 0}, p2{2, 0, 0}, p3{3, 0, 0};
  N_Vector3 out;
  ExpectVec(out.CatmullRom(p0, p1, p2, p3, 0.5f), 1.5f, 0, 0);
  const N_Vector3 q0{0, 5, 1}, q1{2, -1, 3}, q2{4, 7, -2}, q3{1, 1, 1};
  ExpectVec(out.CatmullRom(q0, q1, q2, q3, 0.0f), 2, -1, 3);
  ExpectVec(out.CatmullRom(q0, q1, q2, q3, 1.0f), 4, 7, -2);
  // Tangent at p1 is (p2 - p0) / 2.
  const float h = 1e-3f;
  N_Vector3 ahead, behind;  // t is not clamped: -h extrapolates
  ahead.CatmullRom(q0, q1, q2, q3, h);
  behind.CatmullRom(q0, q1, q2, q3, -h);
  ExpectVec((ahead - behind) * (0.5f / h), 2.0f, 1.0f, -1.5f, 0.01f);
}

TEST(Matrix3, DirectionQuaternionAndInverse) {
  N_Matrix3 m;
  m.FromDirection({0, 5, 0});
  // Column 0 is the normalised direction.
  ExpectVec({m.m[0], m.m[3], m.m[6]}, 0, 1, 0);
  m.FromDirection({1, -1, std::sqrt(2.0f)});
  ExpectVec({m.m[0], m.m[3], m.m[6]}, 0.5f, -0.5f, std::sqrt(0.5f));
  m.FromDirection({0, 0, -3});  // vertical: heading 0, no NaN
  for (float e : m.m) EXPECT_FALSE(std::isnan(e));
  ExpectVec({m.m[0], m.m[3], m.m[6]}, 0, 0, -1);

  // Quaternion of 90 degrees about z, in the layout the animation data uses.
  const float s = std::sqrt(0.5f);
  m.FromQuaternion({s, 0, 0, s});
  const float expected[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(m.m[i], expected[i], 1e-6f) << i;
  N_Matrix4 m4;
  m4.FromQuaternion({s, 0, 0, s});
  EXPECT_NEAR(m4.m[1], 1.0f, 1e-6f);
  EXPECT_NEAR(m4.m[4], -1.0f, 1e-6f);
  EXPECT_EQ(m4.m[3], 0.0f);
  EXPECT_EQ(m4.m[15], 1.0f);

  N_Matrix3 r, inverse;
  r.RotationZ(0.7f);
  r.Invert(inverse);
  N_Vector3 v{1, 2, 3}, w, back;
  r.Transform(v, w);
  inverse.Transform(w, back);
  ExpectVec(back, 1, 2, 3, 1e-5f);

  // A singular matrix gives its adjugate, not infinities.
  N_Matrix3 singular;
  singular.SetRows({1, 2, 3}, {2, 4, 6}, {1, 0, 1});
  singular.Invert(inverse);
  const float adjugate[9] = {4, -2, 0, 4, -2, 0, -4, 2, 0};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(inverse.m[i], adjugate[i]) << i;
}

TEST(Matrix4, RotationsMultiplyTransposeAndAffineInverse) {
  N_Matrix4 x, z;
  x.RotationX(0.5f);
  z.RotationZ(0.5f);
  N_Matrix4 y;
  y.RotationY(0.5f);
  EXPECT_FLOAT_EQ(y.m[2], std::sin(0.5f));
  EXPECT_FLOAT_EQ(y.m[8], -std::sin(0.5f));
  EXPECT_FLOAT_EQ(x.m[6], -std::sin(0.5f));
  EXPECT_FLOAT_EQ(z.m[4], std::sin(0.5f));

  // In place: MatrixMultiply(m, m, m) squares m.
  const N_Matrix4 m = Sample();
  N_Matrix4 expected, square = m;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += m.m[4 * i + k] * m.m[4 * k + j];
      expected.m[4 * i + j] = sum;
    }
  }
  MatrixMultiply(square, square, square);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(square.m[i], expected.m[i]) << i;

  N_Matrix4 t, twice;
  m.Transpose(t);
  EXPECT_EQ(t.m[1], m.m[4]);
  EXPECT_EQ(t.m[14], m.m[11]);
  t.Transpose(twice);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(twice.m[i], m.m[i]);
  N_Matrix4 identity, it;
  identity.Transpose(it);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(it.m[i], identity.m[i]);
  N_Matrix4 self = m;
  self.Transpose(self);  // in place
  for (int i = 0; i < 16; ++i) EXPECT_EQ(self.m[i], t.m[i]);

  // Affine inverse: rotation then translation (elements 3, 7, 11) undone.
  N_Matrix4 affine;
  affine.RotationZ(1.1f);
  affine.m[3] = 5, affine.m[7] = -2, affine.m[11] = 7;
  N_Matrix4 inverse, product;
  N_Matrix34(affine).Invert(inverse);
  MatrixMultiply(product, affine, inverse);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.m[i], identity.m[i], 1e-5f) << i;
  N_Vector3 p;
  ExpectVec(N_Matrix34(affine).TransformPoint(p, {0, 0, 0}), 5, -2, 7);
  N_Matrix4 copy;
  EXPECT_EQ(copy.Copy(affine).m[7], -2.0f);
}

}  // namespace
