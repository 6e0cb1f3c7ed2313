// Keyframe paths: advancing, holding and looping, and the placement of the drawable.
#include "core/Matrix3.h"
#include "scene/CameraPath.h"
#include "scene/RenderObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float kHalfPi = 1.5707964f;

N_Quaternion AboutZ(float angle) { return {std::cos(angle * 0.5f), 0.0f, 0.0f, std::sin(angle * 0.5f)}; }

/// Keys along x, 100 apart, unturned.
std::vector<N_PathKey> Line(int count) {
  std::vector<N_PathKey> keys(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) keys[std::size_t(i)].position = {100.0f * float(i), 0.0f, 0.0f};
  return keys;
}

/// The drawable's world position: the translation row of its world matrix.
N_Vector3 Position(const N_RenderObject& drawable) {
  return {drawable.worldMatrix.m[12], drawable.worldMatrix.m[13], drawable.worldMatrix.m[14]};
}

/// A point of the drawable's own space in the world, through the row-vector matrix.
N_Vector3 ToWorld(const N_RenderObject& drawable, const N_Vector3& p) {
  const float* m = drawable.worldMatrix.m;
  return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
          p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
}

TEST(CameraPath, APlayOncePathHoldsItsLastKey) {
  const auto keys = Line(5);
  N_CameraPath path(keys.data(), 5, N_CameraPath::kPlayOnce, 1.0f);
  N_RenderObject drawable;
  const int expectedResults[] = {0, 0, 1, 1, 1, 1};  // key 3 = count - 2 is the end
  for (int frame = 0; frame < 6; ++frame) {
    EXPECT_EQ(path.Evaluate(drawable, 1.0f), expectedResults[frame]) << frame;
  }
  EXPECT_EQ(path.CurrentKey(), 3);
  EXPECT_EQ(path.Fraction(), 1.0f);
  EXPECT_EQ(Position(drawable).x, 400.0f);  // on the last key
}

TEST(CameraPath, ALoopRunsOverEveryKeyPairAndStartsAgain) {
  const auto keys = Line(10);
  N_CameraPath path(keys.data(), 10, 0, 2.0f);
  N_RenderObject drawable;
  std::vector<int> pairs;  // the first key of the pair of each frame
  for (int frame = 0; frame < 22; ++frame) {
    const int result = path.Evaluate(drawable, 0.25f);  // half a key a frame
    pairs.push_back(path.CurrentKey());
    EXPECT_EQ(result, path.CurrentKey() == 8 ? 1 : 0) << frame;
    EXPECT_NEAR(Position(drawable).x, 100.0f * (float(path.CurrentKey()) + path.Fraction()), 1e-3f);
  }
  // A fraction of exactly 1.0 stays on its pair (it carries only above 1).
  EXPECT_EQ(pairs, (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 0, 0, 1, 1}));
}

TEST(CameraPath, LongFramesSkipKeysAndKeepTheFractionInRange) {
  const struct {
    std::uint32_t mode;
    float dt;
    int key;
    float fraction;
  } frames[] = {
      {0, 0.37f, 3, 0.7f},   // 3.7 keys
      {0, 0.37f, 7, 0.4f},   // 0.7 + 0.7 carries a key
      {0, 0.37f, 11, 0.1f},
      {0, 1.5f, 7, 0.1f},    // 11 + 15 = 26 wraps by 19 to 7
      {0, 1e6f, 3, 0.1f},    // ten million keys at once: (7 + 10^7) mod 19, still in range
  };
  const auto keys = Line(20);
  N_CameraPath path(keys.data(), 20, 0, 10.0f);
  N_RenderObject drawable;
  for (const auto& f : frames) {
    path.Evaluate(drawable, f.dt);
    EXPECT_GE(path.Fraction(), 0.0f);
    EXPECT_LE(path.Fraction(), 1.0f);
    EXPECT_EQ(path.CurrentKey(), f.key) << f.dt;
    EXPECT_NEAR(path.Fraction(), f.fraction, 1e-4f) << f.dt;
  }
  N_CameraPath once(keys.data(), 20, N_CameraPath::kPlayOnce, 10.0f);
  once.Evaluate(drawable, 1e9f);
  EXPECT_EQ(once.CurrentKey(), 18);
  EXPECT_EQ(Position(drawable).x, 1900.0f);
  // A rate whose frame is more keys than a float holds still wraps within the path.
  N_CameraPath fast(keys.data(), 20, 0, 3e38f);
  fast.Evaluate(drawable, 10.0f);
  EXPECT_GE(fast.CurrentKey(), 0);
  EXPECT_LT(fast.CurrentKey(), 19);
}

TEST(CameraPath, PlacesTheDrawableOnThePath) {
  std::vector<N_PathKey> keys = {{{10, 20, 30}, AboutZ(0.0f)}, {{30, 20, 30}, AboutZ(kHalfPi)}, {{50, 20, 30}, {}}};
  N_CameraPath path(keys.data(), 3, 0, 1.0f);
  N_RenderObject drawable;
  const float box[6] = {-1, -2, -3, 1, 2, 3};
  drawable.SetTransform(box, 0, N_RenderObject::kMeshObject, N_Matrix4{}, 0);
  path.Evaluate(drawable, 0.5f);  // halfway between the first two keys: p (20, 20, 30), 45 degrees
  const N_Vector3 origin = ToWorld(drawable, {0, 0, 0});
  const N_Vector3 ahead = ToWorld(drawable, {1, 0, 0});
  EXPECT_NEAR(origin.x, 20.0f, 1e-5f);
  EXPECT_NEAR(origin.y, 20.0f, 1e-5f);
  EXPECT_NEAR(origin.z, 30.0f, 1e-5f);
  // Turned by the blended rotation, as the rotation matrix of the quaternion turns a
  // point: the 45-degree quaternion halfway.
  N_Matrix3 halfway;
  halfway.FromQuaternion(AboutZ(kHalfPi * 0.5f));
  N_Vector3 turned;
  halfway.Transform({1, 0, 0}, turned);
  EXPECT_NEAR(std::fabs(turned.x), std::sqrt(0.5f), 1e-5f);
  EXPECT_NEAR(ahead.x - origin.x, turned.x, 1e-5f);
  EXPECT_NEAR(ahead.y - origin.y, turned.y, 1e-5f);
  EXPECT_NEAR(ahead.z - origin.z, turned.z, 1e-5f);
  EXPECT_EQ(drawable.worldMatrix.m[3], 0.0f);
  EXPECT_EQ(drawable.worldMatrix.m[15], 1.0f);
  const float moved[6] = {19, 18, 27, 21, 22, 33};  // the box moved, not turned
  for (int i = 0; i < 6; ++i) EXPECT_EQ(drawable.worldBox[i], moved[i]) << i;
  EXPECT_EQ(drawable.worldCentre.x, 20.0f);
  EXPECT_EQ(drawable.worldCentre.z, 30.0f);
  EXPECT_EQ(drawable.worldRadius, drawable.radius);
}

TEST(CameraPath, DurationIsTheKeyCountOverTheRate) {
  const auto keys = Line(10);
  const struct {
    std::uint32_t count;
    float rate, seconds;
  } cases[] = {{10, 2.0f, 5.0f}, {10, 0.5f, 20.0f}, {0, 2.0f, 0.0f}, {10, 0.0f, 0.0f}, {10, -3.0f, 0.0f}};
  for (const auto& c : cases) {
    EXPECT_EQ(N_CameraPath(keys.data(), c.count, 0, c.rate).GetDuration(), c.seconds) << c.count << " " << c.rate;
  }
}

TEST(CameraPath, ShortPathsAndStillPathsStayOnTheirKeys) {
  const auto keys = Line(3);
  const struct {
    const char* name;
    std::uint32_t count, mode;
    float rate;
    std::vector<float> positions;  ///< x after each frame of 0.25 s
    int result;
  } cases[] = {
      {"one key", 1, 0, 1.0f, {0, 0, 0}, 1},
      {"two keys once", 2, N_CameraPath::kPlayOnce, 1.0f, {100, 100, 100}, 1},
      {"two keys looping", 2, 0, 1.0f, {25, 50, 75, 100, 25}, 1},
      {"rate 0", 3, 0, 0.0f, {0, 0, 0}, 0},
      {"negative rate", 3, 0, -2.0f, {0, 0, 0}, 0},
  };
  for (const auto& c : cases) {
    N_CameraPath path(keys.data(), c.count, c.mode, c.rate);
    N_RenderObject drawable;
    for (float x : c.positions) {
      EXPECT_EQ(path.Evaluate(drawable, 0.25f), c.result) << c.name;
      EXPECT_EQ(Position(drawable).x, x) << c.name;
    }
  }
  // No keys: the drawable stays where it was put.
  N_CameraPath empty(keys.data(), 0, 0, 1.0f);
  N_RenderObject drawable;
  N_Matrix4 placed;
  placed.m[3] = 7.0f;
  const float box[6] = {};
  drawable.SetTransform(box, 0, 1, placed, 0);
  EXPECT_EQ(empty.Evaluate(drawable, 0.25f), 1);
  EXPECT_EQ(Position(drawable).x, 7.0f);
  // Time that runs backwards moves nothing.
  N_CameraPath path(keys.data(), 3, 0, 1.0f);
  path.Evaluate(drawable, -5.0f);
  EXPECT_EQ(path.CurrentKey(), 0);
  EXPECT_EQ(path.Fraction(), 0.0f);
}

}  // namespace
