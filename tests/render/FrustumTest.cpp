// The view frustum built from a camera.
#include "render/Camera.h"
#include "render/Frustum.h"

#include <gtest/gtest.h>

namespace {

float Side(const N_Plane& plane, float x, float y, float z) {
  return plane.normal.x * x + plane.normal.y * y + plane.normal.z * z - plane.distance;
}

N_Camera LevelCamera() {
  N_Camera camera;
  camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);  // at the origin, looking along +Y
  return camera;
}

TEST(Frustum, PointsAgainstTheSidePlanes) {
  N_Frustum frustum;
  const N_Camera camera = LevelCamera();
  frustum.Build(camera);
  ASSERT_EQ(frustum.PlaneCount(), 4);

  std::int32_t mask = 0xF;
  EXPECT_TRUE(frustum.TestPoint(0.0f, 100.0f, 0.0f, &mask));  // straight ahead
  EXPECT_EQ(mask, 0);
  mask = 0xF;
  EXPECT_FALSE(frustum.TestPoint(0.0f, -100.0f, 0.0f, &mask));  // behind
  EXPECT_EQ(mask, 0xF) << "the first plane already rejects";
  mask = 0xF;
  EXPECT_FALSE(frustum.TestPoint(300.0f, 100.0f, 0.0f, &mask));  // right of the right-hand plane
  EXPECT_EQ(mask, 0xE) << "plane 0 passed, plane 1 rejected";

  // A point exactly on a side plane is outside.
  const N_Plane& left = frustum.Plane(0);
  ASSERT_EQ(left.distance, 0.0f);
  mask = 1;
  EXPECT_FALSE(frustum.TestPoint(left.normal.y, -left.normal.x, 0.0f, &mask));
  // No planes left to test: inside at once.
  mask = 0;
  EXPECT_TRUE(frustum.TestPoint(0.0f, -100.0f, 0.0f, &mask));
  // Planes whose bit is clear are skipped.
  mask = 0x2;
  EXPECT_FALSE(frustum.TestPoint(300.0f, 100.0f, 0.0f, &mask));
  mask = 0x1;
  EXPECT_TRUE(frustum.TestPoint(300.0f, 100.0f, 0.0f, &mask));
}

TEST(Frustum, BoxesAndTheirDepth) {
  N_Frustum frustum;
  N_Camera camera = LevelCamera();
  camera.position = {50.0f, 20.0f, 5.0f};
  camera.UpdateView();
  frustum.Build(camera);

  float depth = -1.0f;
  const float around[6] = {40, 10, -5, 60, 30, 15};  // centred on the camera
  ASSERT_TRUE(frustum.TestBox(around, &depth));
  EXPECT_NEAR(depth, 10.0f, 1e-4f);

  const float ahead[6] = {45, 120, 0, 55, 140, 10};
  ASSERT_TRUE(frustum.TestBox(ahead, &depth));
  EXPECT_NEAR(depth, 110.0f + 10.0f, 1e-3f);

  const float straddling[6] = {40, 100, 0, 300, 110, 10};  // across the right-hand plane
  depth = -1.0f;
  EXPECT_TRUE(frustum.TestBox(straddling, &depth));
  EXPECT_GT(depth, 0.0f);

  const float behind[6] = {40, -100, 0, 60, -80, 10};
  depth = -1.0f;
  EXPECT_FALSE(frustum.TestBox(behind, &depth));
  EXPECT_EQ(depth, -1.0f);
}

TEST(Frustum, AxialPlanesAreClassified) {
  // A field of view of 0 through an identity view makes the side normals (1, 0, -0),
  // (-1, 0, -0), (0, 1, -0) and (0, -1, -0).
  N_Camera camera;
  camera.aspect = 1.0f;
  camera.view = N_Matrix4{};
  N_Frustum frustum;
  frustum.Build(camera);
  const struct { std::uint8_t type, signBits; } expected[4] = {{0, 0}, {3, 1}, {1, 0}, {3, 2}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(frustum.Plane(i).type, expected[i].type) << "plane " << i;
    EXPECT_EQ(frustum.Plane(i).signBits, expected[i].signBits) << "plane " << i;
  }
  // The view plane (normal (0, 0, -1)) is not among the tested ones.
  EXPECT_EQ(frustum.Plane(N_Frustum::kViewPlane).normal.z, -1.0f);
  EXPECT_EQ(frustum.Plane(N_Frustum::kViewPlane).signBits, 0);
  EXPECT_EQ(frustum.Plane(N_Frustum::kViewPlane).distance, -10.0f);

  // Axial planes take the shortcut of the box test.
  const float touching[6] = {0, -1, -1, 1, 1, 1};  // min x on plane 0
  float depth = 0.0f;
  EXPECT_TRUE(frustum.TestBox(touching, &depth));
  EXPECT_GT(Side(frustum.Plane(0), 1, 0, 0), 0.0f);
}

}  // namespace
