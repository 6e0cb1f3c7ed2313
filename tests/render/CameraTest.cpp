// The camera's own operations: projection, views from angles and towards points, the
// spring follow and the letterbox.
#include "render/Camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectVector(const N_Vector3& v, float x, float y, float z, float tolerance = 1e-6f) {
  EXPECT_NEAR(v.x, x, tolerance);
  EXPECT_NEAR(v.y, y, tolerance);
  EXPECT_NEAR(v.z, z, tolerance);
}

TEST(Camera, SetProjectionLooksLevelAlongY) {
  N_Camera camera;
  camera.position = {5, 5, 5};
  camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
  ExpectVector(camera.position, 0, 0, 0);
  EXPECT_EQ(camera.angleX, 90.0f);
  ExpectVector(camera.axisX, 1, 0, 0);
  ExpectVector(camera.axisY, 0, 0, 1);
  ExpectVector(camera.axisZ, 0, -1, 0);
  EXPECT_NEAR(camera.projection.m[0], 1.0f, 1e-6f);
  EXPECT_NEAR(camera.projection.m[5], 1.3333334f, 1e-6f);
  EXPECT_EQ(camera.projection.m[11], -1.0f);
  EXPECT_NEAR(camera.projection.m[10], -(74000.0f + 40.0f) / (74000.0f - 40.0f), 1e-6f);
  EXPECT_NEAR(camera.projection.m[14], -(2.0f * 74000.0f * 40.0f) / (74000.0f - 40.0f), 1e-2f);
  EXPECT_EQ(camera.projection.m[15], 0.0f);
  EXPECT_EQ(camera.nearPlane, 40.0f);
  EXPECT_EQ(camera.farPlane, 74000.0f);
  EXPECT_EQ(camera.viewValid, 1);
  EXPECT_EQ(camera.projectionValid, 1);
  EXPECT_EQ(camera.viewportWidth, 640);
  EXPECT_EQ(camera.viewportHeight, 480);
  EXPECT_FLOAT_EQ(camera.fov, 90.0f * 0.017453292f);
}

TEST(Camera, ViewIsTheTransposedWorldToCameraTransform) {
  N_Camera camera;
  camera.SetProjection(70.0f, 800.0f, 600.0f, 0.0f, 0.0f);
  camera.position = {100, 200, 30};
  camera.angleZ = 30.0f;
  camera.UpdateView();
  // A point ahead of the camera lands on the camera's -z axis, at its distance.
  const N_Vector3 d{-std::sin(30.0f * 0.017453292f), std::cos(30.0f * 0.017453292f), 0.0f};
  const float p[4] = {100 + 50 * d.x, 200 + 50 * d.y, 30, 1};
  float out[4] = {};
  for (int c = 0; c < 4; ++c)
    for (int k = 0; k < 4; ++k) out[c] += p[k] * camera.view.m[4 * k + c];
  EXPECT_NEAR(out[0], 0.0f, 1e-3f);
  EXPECT_NEAR(out[1], 0.0f, 1e-3f);
  EXPECT_NEAR(out[2], -50.0f, 1e-3f);
  ExpectVector(camera.axisZ, -d.x, -d.y, 0.0f, 1e-5f);
}

TEST(Camera, LookAtPointsTheViewAtTheTarget) {
  const struct {
    N_Vector3 eye, target;
    float angleX;
    N_Vector3 backward;
  } cases[] = {
      {{0, 0, 100}, {0, 0, 0}, 0.0f, {0, 0, 1}},    // straight down
      {{0, 0, 0}, {0, 10, 0}, 90.0f, {0, -1, 0}},   // level along +Y
      {{0, 0, 0}, {10, 0, 0}, 90.0f, {-1, 0, 0}},   // level along +X
      {{0, 0, 0}, {0, 0, 10}, 180.0f, {0, 0, -1}},  // straight up
  };
  for (const auto& c : cases) {
    N_Camera camera;
    camera.angleY = 12.0f;
    camera.LookAt(&c.eye, &c.target);
    ExpectVector(camera.position, c.eye.x, c.eye.y, c.eye.z);
    EXPECT_NEAR(camera.angleX, c.angleX, 1e-4f);
    EXPECT_EQ(camera.angleY, 12.0f);
    ExpectVector(camera.axisZ, c.backward.x, c.backward.y, c.backward.z, 1e-5f);
  }
}

TEST(Camera, FollowTargetClampsTheFrameTime) {
  const N_Vector3 target{0, 0, 0}, reference{10, 0, 0};
  N_Camera slow, fast;
  slow.position = fast.position = {0, -500, 100};
  slow.FollowTarget(&target, &reference, 0.1f, 2.5f, 0.5f, 220.0f);
  fast.FollowTarget(&target, &reference, 1.0f, 2.5f, 0.5f, 220.0f);
  ExpectVector(fast.position, slow.position.x, slow.position.y, slow.position.z);
  // Too far away: the spring pulls the camera towards the target.
  EXPECT_GT(slow.position.y, -500.0f);

  N_Camera still;
  still.position = {0, -500, 100};
  still.FollowTarget(&target, &reference, -1.0f, 2.5f, 0.5f, 220.0f);
  ExpectVector(still.position, 0, -500, 100);
}

TEST(Camera, FollowingFromTheTargetItselfStaysFinite) {
  const N_Vector3 target{5, 5, 5}, reference{6, 5, 5};
  N_Camera camera;
  camera.position = target;
  camera.FollowTarget(&target, &reference, 0.05f, 2.5f, 0.5f, 220.0f);
  EXPECT_TRUE(std::isfinite(camera.position.x) && std::isfinite(camera.position.y) && std::isfinite(camera.position.z));
  for (float element : camera.view.m) EXPECT_TRUE(std::isfinite(element));
}

TEST(Camera, FollowTargetExPullsSidewaysAgainstTheHeading) {
  const N_Vector3 target{0, 100, 0}, heading{0, 1, 0};
  N_Camera camera;
  camera.position = {50, 0, 0};
  camera.FollowTargetEx(&target, &target, 0.0f, 2.5f, 0.5f, 220.0f, &heading);
  // With dt 0 the spring does nothing; s = (1, 0, 0), k = s . d < 0 moves the camera
  // by 3k along s, back behind the target's line.
  const float k = -50.0f / std::sqrt(50.0f * 50.0f + 100.0f * 100.0f);
  ExpectVector(camera.position, 50.0f + 3.0f * k, 0.0f, 0.0f, 1e-4f);
}

TEST(Camera, LetterboxBlendsTowardsSixteenByNine) {
  const struct {
    float t;
    int height, y;
  } cases[] = {{1.0f, 360, 60}, {0.0f, 480, 0}, {0.5f, 420, 30}};
  for (const auto& c : cases) {
    N_Camera camera;
    camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
    camera.SetLetterbox(c.t);
    EXPECT_EQ(camera.viewportHeight, c.height) << c.t;
    EXPECT_EQ(camera.viewportY, c.y) << c.t;
  }
  // Without a projection there is no screen: the viewport stays as it was.
  N_Camera unset;
  const std::int32_t height = unset.viewportHeight, y = unset.viewportY;
  unset.SetLetterbox(0.5f);
  EXPECT_EQ(unset.viewportHeight, height);
  EXPECT_EQ(unset.viewportY, y);
}

TEST(Camera, SetViewMatrixLeavesTheAxes) {
  N_Camera camera;
  camera.SetProjection(90.0f, 640.0f, 480.0f, 0.0f, 0.0f);
  float m[16] = {};
  for (int i = 0; i < 16; ++i) m[i] = float(i);
  camera.SetViewMatrix(m);
  EXPECT_EQ(camera.view.m[7], 7.0f);
  ExpectVector(camera.axisY, 0, 0, 1);
}

TEST(Camera, LookAtAndUpdateViewAgree) {
  const N_Vector3 eye{0, 0, 0};
  const struct {
    N_Vector3 target;
    float angleZ, angleX;
    N_Vector3 backward;
  } cases[] = {
      {{-100, 0, 0}, 90.0f, 90.0f, {1, 0, 0}},  // looks along -x
      {{0, 100, 100}, 0.0f, 135.0f, {0, -0.70710678f, -0.70710678f}},
  };
  for (const auto& c : cases) {
    N_Camera camera;
    camera.LookAt(&eye, &c.target);
    EXPECT_NEAR(camera.angleZ, c.angleZ, 1e-4f);
    EXPECT_NEAR(camera.angleX, c.angleX, 1e-4f);
    ExpectVector(camera.axisZ, c.backward.x, c.backward.y, c.backward.z, 1e-5f);
  }
  // The angles LookAt stores rebuild its view.
  for (const N_Vector3& target : {N_Vector3{-100, 0, 0}, N_Vector3{0, 100, 100}, N_Vector3{30, -40, -20},
                                  N_Vector3{-7, -3, 50}}) {
    N_Camera looking;
    looking.LookAt(&eye, &target);
    N_Camera rebuilt;
    rebuilt.angleZ = looking.angleZ;
    rebuilt.angleX = looking.angleX;
    rebuilt.UpdateView();
    ExpectVector(rebuilt.axisX, looking.axisX.x, looking.axisX.y, looking.axisX.z, 1e-5f);
    ExpectVector(rebuilt.axisY, looking.axisY.x, looking.axisY.y, looking.axisY.z, 1e-5f);
    ExpectVector(rebuilt.axisZ, looking.axisZ.x, looking.axisZ.y, looking.axisZ.z, 1e-5f);
  }
}

TEST(Camera, TheSpringStepPullsToItsDistanceAndDampsAlongTheOffset) {
  const struct {
    N_Vector3 start, reference;
    float damping;
    float x;
  } cases[] = {
      {{100, 0, 0}, {0, 0, 0}, 0.0f, 110.0f},    // (200 - 100) x 1 x 0.1
      {{100, 0, 0}, {-10, 0, 0}, 1.0f, 109.9f},  // damping: (-1, 0, 0) . e / |e| = -1
  };
  const N_Vector3 target{0, 0, 0};
  for (const auto& c : cases) {
    N_Camera camera;
    camera.position = c.start;
    camera.FollowTarget(&target, &c.reference, 0.1f, 1.0f, c.damping, 200.0f);
    ExpectVector(camera.position, c.x, 0, 0, 1e-4f);
  }
}

TEST(Camera, ACameraNearlyOnItsTargetSkipsTheDamping) {
  // 5e-7 from the target, below the 1e-6 where the offset still gives a direction: the
  // spring alone moves it (along the offset, here +y), the far reference adds nothing.
  const N_Vector3 target{5, 5, 5}, reference{5, 1005, 5};
  N_Camera camera;
  camera.position = {5, 5.0000005f, 5};
  camera.FollowTarget(&target, &reference, 0.1f, 2.5f, 0.5f, 220.0f);
  ExpectVector(camera.position, 5, 5 + 220.0f * 2.5f * 0.1f, 5, 1e-3f);
  for (float element : camera.view.m) EXPECT_TRUE(std::isfinite(element));
}

}  // namespace
