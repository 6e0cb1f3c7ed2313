#include "scene/QuaternionSlerp.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectQuat(const N_Quaternion& q, float w, float x, float y, float z, float tolerance = 1e-6f) {
  EXPECT_NEAR(q.w, w, tolerance);
  EXPECT_NEAR(q.x, x, tolerance);
  EXPECT_NEAR(q.y, y, tolerance);
  EXPECT_NEAR(q.z, z, tolerance);
}

TEST(QuaternionSlerp, ArcsEndsAndDegenerateCases) {
  const float s = std::sqrt(0.5f);
  const N_Quaternion identity;
  const N_Quaternion quarterZ{s, 0, 0, s};  // 90 degrees about z
  N_Quaternion out;
  QuaternionSlerp(identity, quarterZ, 0.0f, out);
  ExpectQuat(out, 1, 0, 0, 0);
  QuaternionSlerp(identity, quarterZ, 1.0f, out);
  ExpectQuat(out, s, 0, 0, s);
  QuaternionSlerp(identity, quarterZ, 0.5f, out);  // 45 degrees
  ExpectQuat(out, std::cos(0.3926991f), 0, 0, std::sin(0.3926991f));

  // The negated target is the same rotation: the shorter arc is taken.
  QuaternionSlerp(identity, {-s, 0, 0, -s}, 0.5f, out);
  ExpectQuat(out, std::cos(0.3926991f), 0, 0, std::sin(0.3926991f));

  // q and -q: every t gives q back (the linear branch blends q with itself).
  const N_Quaternion q{0.5f, 0.5f, -0.5f, 0.5f};
  for (float t : {0.0f, 0.3f, 0.5f, 1.0f}) {
    QuaternionSlerp(q, {-q.w, -q.x, -q.y, -q.z}, t, out);
    ExpectQuat(out, q.w, q.x, q.y, q.z);
  }

  // Nearly equal: linear blend, finite.
  const N_Quaternion near{std::cos(0.0005f), 0, 0, std::sin(0.0005f)};
  QuaternionSlerp(identity, near, 0.5f, out);
  ASSERT_FALSE(std::isnan(out.w));
  ExpectQuat(out, 0.5f + 0.5f * near.w, 0, 0, 0.5f * near.z);

  // out may be one of the inputs.
  N_Quaternion a = identity;
  QuaternionSlerp(a, quarterZ, 1.0f, a);
  ExpectQuat(a, s, 0, 0, s);
}

}  // namespace
