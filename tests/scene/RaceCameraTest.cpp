// The race camera: its spline path through "CameraPath_Menu", its speed along it, the
// sound listener, the level's fly-by cameras and the hand-over to the free camera.
#include "race/ExportData.h"  // the game double hands over no result
#include "core/Var.h"
#include "core/VarMng.h"
#include "scene/CameraMng.h"
#include "scene/Game.h"
#include "scene/LevelCamera.h"
#include "scene/SceneAccess.h"
#include "tests/scene/LevelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;

/// The level rig with an 800 x 600 screen and a camera manager over its level.
struct RaceRig {
  RaceRig() {
    rig.rig.core.vars->SetInt("v_width", 800, 2);
    rig.rig.core.vars->SetInt("v_height", 600, 2);
  }
  N_RaceCamera& race() { return cameras->RaceController(); }
  /// The race camera's place on its path: segment index + fraction.
  float Place() { return float(race().CurrentSample()) + race().Fraction(); }

  test::LevelRig rig;
  std::unique_ptr<N_CameraMng> cameras = std::make_unique<N_CameraMng>();
};

const std::vector<N_Vector3> kSquare = {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}};

/// The length of segment i of the closed Catmull-Rom path, 250 steps of 0.004.
float SegmentLength(const std::vector<N_Vector3>& p, std::size_t i) {
  const std::size_t n = p.size();
  auto at = [&](float t) {
    N_Vector3 out;
    return out.CatmullRom(p[(i + n - 1) % n], p[i], p[(i + 1) % n], p[(i + 2) % n], t);
  };
  float length = 0.0f;
  for (int k = 0; k < 250; ++k) {
    const N_Vector3 d = at(float(k + 1) * 0.004f) - at(float(k) * 0.004f);
    length += std::sqrt(Vec3Dot(d, d));
  }
  return length;
}

TEST(RaceCamera, SetupMakesAClosedPathOfFourPointsOrMore) {
  RaceRig r;
  r.rig.build().PointSet("CameraPath_Menu", {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}});
  r.race().Setup("CameraPath_Menu");
  EXPECT_TRUE(r.race().Samples().empty()) << "3 points make no path";
  EXPECT_NEAR(r.race().OwnCamera().fov, 50.0f * kPi / 180.0f, 1e-6) << "the camera works all the same";

  r.rig.NewLevel();
  const std::vector<N_Vector3> points = {{0, 0, 0}, {1000, 0, 0}, {1500, 800, 200}, {-300, 900, 0}};
  r.rig.build().PointSet("cameraPATH_menu", points);
  r.cameras = std::make_unique<N_CameraMng>();
  r.race().Setup("CameraPath_Menu");
  ASSERT_EQ(r.race().Samples().size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(r.race().Samples()[i].point.x, points[i].x);
    // The last segment leads back to the first point: the path is closed.
    EXPECT_FLOAT_EQ(r.race().Samples()[i].length, SegmentLength(points, i));
  }
  const N_Camera& camera = r.race().OwnCamera();
  EXPECT_NEAR(camera.fov, 50.0f * kPi / 180.0f, 1e-6);
  EXPECT_EQ(camera.viewportWidth, 800);
  EXPECT_EQ(camera.viewportHeight, 600);
  EXPECT_EQ(camera.nearPlane, 40.0f);
  EXPECT_EQ(camera.farPlane, 74000.0f);
  EXPECT_EQ(r.race().Speed(), 120.0f) << "\"rychlostkamery\" does not exist";

  // 200 updates of 0.1 s: 2400 units from the first point, segment by segment.
  float left = 2400.0f;
  std::size_t segment = 0;
  while (left > r.race().Samples()[segment].length) {
    left -= r.race().Samples()[segment].length;
    segment = (segment + 1) % 4;
  }
  EXPECT_EQ(r.race().CurrentSample(), segment);
  // The fraction is carried into the next segment without rescaling to its length.
  EXPECT_GT(r.race().Fraction(), 0.0f);
  EXPECT_LE(r.race().Fraction(), 1.0f);
  const N_Vector3 toTarget = r.race().Target() - camera.position;
  EXPECT_LT(std::sqrt(Vec3Dot(toTarget, toTarget)), 200.0f) << "the camera has followed its target";
}

TEST(RaceCamera, GlidesAt120UnitsASecondAlongEqualSegments) {
  RaceRig r;
  r.rig.build().PointSet("CameraPath_Menu", kSquare);
  r.race().Setup("CameraPath_Menu");
  const float length = r.race().Samples()[0].length;
  for (const auto& sample : r.race().Samples()) EXPECT_NEAR(sample.length, length, 1e-2);
  for (const float seconds : {0.5f, 1.0f, 7.25f}) {
    SCOPED_TRACE(seconds);
    const float before = r.Place();
    const int frames = int(std::lround(seconds * 60.0f));
    for (int i = 0; i < frames; ++i) r.race().Update(1.0f / 60.0f);
    const float moved = std::fmod(r.Place() - before + 8.0f, 4.0f);
    EXPECT_NEAR(moved, std::fmod(120.0f * seconds / length, 4.0f), 1e-3);
  }
  // A frame time below 0.0001 s leaves everything where it is.
  const N_Vector3 target = r.race().Target(), position = r.race().OwnCamera().position;
  const float place = r.Place();
  r.race().Update(0.00009f);
  EXPECT_EQ(r.Place(), place);
  EXPECT_EQ(r.race().Target().x, target.x);
  EXPECT_EQ(r.race().OwnCamera().position.x, position.x);
}

TEST(RaceCamera, PassesOverSegmentsOfNoLength) {
  RaceRig r;
  // Point 1 four times: segment 2 runs from it to itself through it (no length); the
  // segments 1 and 3 next to it are short loops.
  r.rig.build().PointSet("CameraPath_Menu", {{0, 0, 0},
                                             {1000, 0, 0},
                                             {1000, 0, 0},
                                             {1000, 0, 0},
                                             {1000, 0, 0},
                                             {1000, 1000, 0},
                                             {0, 1000, 0}});
  r.race().Setup("CameraPath_Menu");  // 200 updates: it must not hang
  ASSERT_EQ(r.race().Samples().size(), 7u);
  EXPECT_EQ(r.race().Samples()[2].length, 0.0f);
  EXPECT_GT(r.race().Samples()[1].length, 0.0f);
  EXPECT_GT(r.race().Samples()[3].length, 0.0f);
  std::vector<int> visited(7, 0);
  for (int i = 0; i < 3000; ++i) {
    r.race().Update(1.0f / 30.0f);
    ++visited[r.race().CurrentSample()];
    ASSERT_NE(r.race().CurrentSample(), 2u) << "never travelling the empty segment";
    ASSERT_TRUE(std::isfinite(r.race().Target().x));
  }
  EXPECT_GT(visited[3], 0) << "it went on past the empty segment";
  // Every point the same: the camera stays.
  r.rig.NewLevel();
  r.rig.build().PointSet("CameraPath_Menu", {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}, {5, 5, 5}});
  r.cameras = std::make_unique<N_CameraMng>();
  r.race().Setup("CameraPath_Menu");
  const N_Vector3 position = r.race().OwnCamera().position;
  r.race().Update(0.1f);
  EXPECT_EQ(r.Place(), 0.0f);
  EXPECT_EQ(r.race().OwnCamera().position.z, position.z);
}

TEST(RaceCamera, TheListenerFollowsTheTarget) {
  RaceRig r;
  r.rig.build().PointSet("CameraPath_Menu", kSquare);
  r.race().Setup("CameraPath_Menu");
  r.rig.sound.listeners.clear();
  r.race().Update(0.1f);
  ASSERT_EQ(r.rig.sound.listeners.size(), 1u);
  const auto& listener = r.rig.sound.listeners[0];
  const N_Vector3 movement = r.race().Target() - r.race().PreviousTarget();
  EXPECT_EQ(listener.position.x, r.race().Target().x);
  EXPECT_EQ(listener.position.y, r.race().Target().y);
  EXPECT_FLOAT_EQ(listener.velocity.x, movement.x);
  EXPECT_FLOAT_EQ(listener.velocity.y, movement.y);
  EXPECT_NEAR(Vec3Dot(listener.forward, listener.forward), 1.0f, 1e-5);
  EXPECT_NEAR(Vec3Dot(listener.forward, movement), std::sqrt(Vec3Dot(movement, movement)), 1e-3);
}

/// Keys along x, one a unit apart, turned by the angle about z.
std::vector<N_PathKey> Keys(int count, float heading = 0.0f) {
  std::vector<N_PathKey> keys(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    keys[std::size_t(i)].position = {float(i) * 100.0f, 50.0f, 20.0f};
    keys[std::size_t(i)].rotation = {std::cos(heading / 2), 0.0f, 0.0f, std::sin(heading / 2)};
  }
  return keys;
}

TEST(RaceCamera, FindsTheLevelsFlyByCamerasAndTheirDurations) {
  RaceRig r;
  r.rig.build().PointSet("CameraPath_Menu", kSquare);
  r.rig.build().Camera("camera_sprint", Keys(10), N_CameraPath::kPlayOnce, 5.0f);    // 2 s
  r.rig.build().Camera("Camera_Hunting", Keys(12), N_CameraPath::kPlayOnce, 4.0f);   // 3 s
  r.rig.build().Camera("CAMERA_RELAY", Keys(16), N_CameraPath::kPlayOnce, 4.0f);     // 4 s
  r.race().Setup("CameraPath_Menu");
  for (N_LevelCamera* camera : {r.race().SprintCamera(), r.race().HuntingCamera(), r.race().RelayCamera()}) {
    ASSERT_NE(camera, nullptr);
    EXPECT_NEAR(camera->fov, 50.0f * kPi / 180.0f, 1e-6);
    EXPECT_EQ(camera->nearPlane, 40.0f);
    EXPECT_EQ(camera->farPlane, 70000.0f);
    EXPECT_EQ(camera->viewportWidth, 800);
  }
  const std::pair<int, float> durations[] = {{0, 0.0f}, {1, 4.0f}, {2, 4.0f}, {3, 3.0f}, {4, 2.0f}, {5, 0.0f}};
  for (const auto& [kind, seconds] : durations) EXPECT_FLOAT_EQ(r.race().GetPathDuration(kind), seconds) << kind;

  // SetMode rewinds all three paths.
  for (N_LevelCamera* camera : {r.race().SprintCamera(), r.race().HuntingCamera(), r.race().RelayCamera()}) {
    camera->path->Evaluate(*camera, 0.5f);
    ASSERT_GT(camera->path->CurrentKey(), 0);
  }
  r.cameras->SetRaceCameraMode(2);
  EXPECT_EQ(r.race().Mode(), 2);
  for (N_LevelCamera* camera : {r.race().SprintCamera(), r.race().HuntingCamera(), r.race().RelayCamera()}) {
    EXPECT_EQ(camera->path->CurrentKey(), 0);
    EXPECT_EQ(camera->path->Fraction(), 0.0f);
  }
  // A mode without its camera has no camera to draw from.
  r.rig.NewLevel();
  r.rig.build().PointSet("CameraPath_Menu", kSquare);
  r.cameras = std::make_unique<N_CameraMng>();
  r.race().Setup("CameraPath_Menu");
  r.race().SetMode(3);
  EXPECT_EQ(r.race().GetActiveCamera(), nullptr);
  EXPECT_EQ(r.race().GetPathDuration(1), 0.0f);
  r.race().SetMode(0);
  EXPECT_EQ(r.race().GetActiveCamera(), &r.race().OwnCamera());
}

TEST(RaceCameraDeathTest, AFlyByCameraWithoutAPathEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const auto& [name, message] : {std::pair{"Camera_Sprint", "Kamera Sprint nema kontroler!"},
                                      std::pair{"Camera_Hunting", "Kamera Hunting nema kontroler!"},
                                      std::pair{"Camera_Relay", "Kamera Relay nema kontroler!"}}) {
    EXPECT_EXIT(
        {
          RaceRig r;
          r.rig.build().PointSet("CameraPath_Menu", kSquare);
          r.rig.build().Camera(name);
          r.race().Setup("CameraPath_Menu");
        },
        testing::ExitedWithCode(255), message);
  }
}

/// A running game that notes SetPaused.
class PausedGame final : public N_Game {
 public:
  void Load() override {}
  void Init() override {}
  void Update(float) override {}
  void Render(float) override {}
  std::unique_ptr<ExportData> PollResult() override { return nullptr; }
  void OnRemove() override {}
  std::uint8_t SetPaused(std::uint8_t paused) override {
    calls.push_back(paused);
    return paused;
  }
  bool GetAthleteView(std::int32_t, const float**, N_Vector3*) override { return false; }
  std::vector<int> calls;
};

TEST(RaceCamera, AFlyBySeesThroughTheLevelCameraAndHandsOverAtItsEnd) {
  RaceRig r;
  r.rig.rig.core.vars->SetInt("viewmode", 0, 2);
  r.cameras->ReadViewMode();
  r.rig.build().PointSet("CameraPath_Menu", kSquare);
  N_LevelCamera& sprint = r.rig.build().Camera("Camera_Sprint", Keys(10, 0.7f), N_CameraPath::kPlayOnce, 10.0f);
  r.race().Setup("CameraPath_Menu");
  PausedGame game;
  g_scene.game = &game;
  r.cameras->SetRaceCameraMode(1);
  EXPECT_EQ(r.race().GetActiveCamera(), &sprint);

  r.cameras->Update(0.25f);  // key 2.5 of 10: still flying
  EXPECT_EQ(r.race().Mode(), 1);
  N_Matrix4 product;
  MatrixMultiply(product, sprint.view, sprint.worldMatrix);
  const N_Matrix4 identity;
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.m[i], identity.m[i], 1e-5) << i;
  EXPECT_FLOAT_EQ(sprint.position.x, 250.0f);
  EXPECT_FLOAT_EQ(sprint.position.y, 50.0f);
  // The axes are the columns of the view's rotation, which is the keys' rotation R.
  N_Matrix4 rotation;
  rotation.FromQuaternion(Keys(1, 0.7f)[0].rotation);
  const N_Vector3 axes[3] = {sprint.axisX, sprint.axisY, sprint.axisZ};
  for (int c = 0; c < 3; ++c) {
    EXPECT_NEAR(axes[c].x, rotation.m[c], 1e-5) << c;
    EXPECT_NEAR(axes[c].y, rotation.m[4 + c], 1e-5) << c;
    EXPECT_NEAR(axes[c].z, rotation.m[8 + c], 1e-5) << c;
  }
  EXPECT_TRUE(game.calls.empty());
  EXPECT_EQ(r.cameras->ViewMode(), 0);

  r.cameras->Update(1.0f);  // the last segment: the free camera takes over
  const N_Var* viewmode = r.rig.rig.core.vars->Find("viewmode");
  EXPECT_EQ(viewmode->Int(), 1);
  EXPECT_EQ(r.cameras->ViewMode(), 1);
  EXPECT_EQ(r.race().Mode(), 0);
  EXPECT_EQ(game.calls, (std::vector<int>{0}));
  const N_Vector3& free = r.cameras->FreeController().Camera().position;
  EXPECT_FLOAT_EQ(free.x, sprint.position.x);
  EXPECT_FLOAT_EQ(free.y, sprint.position.y);
  EXPECT_FLOAT_EQ(free.z, sprint.position.z);
  EXPECT_FLOAT_EQ(free.x, 900.0f) << "the path holds its last key";
  g_scene.game = nullptr;
}

}  // namespace
