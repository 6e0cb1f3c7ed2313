// The free camera, the shake camera and the camera manager's view modes, driven by the
// scripted keyboard and mouse: a test frame is the input update, then the camera update.
#include "core/Random.h"
#include "scene/CameraMng.h"
#include "scene/Level.h"
#include "scene/SceneAccess.h"
#include "tests/core/InputRig.h"
#include "tests/scene/LevelBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr BYTE kEscape = 1, kUp = 200, kLeft = 203;
constexpr float kPi = 3.14159265f;

/// The scripted input with an 800 x 600 screen and one controller of each kind set up.
struct CameraInput {
  CameraInput() {
    vars().SetInt("v_width", 800, 2);
    vars().SetInt("v_height", 600, 2);
    free.Setup(nullptr);
    shake.Setup(nullptr);
    N_ShakeCamera::ResetSway();
  }
  N_VarMng& vars() { return *input.core.vars; }
  void FreeFrame(float dt = 1.0f / 60.0f) {
    input.Frame();
    free.Update(dt);
  }
  void ShakeFrame(float dt = 1.0f / 60.0f) {
    input.Frame();
    shake.Update(dt);
  }
  /// The reading IsPressed gives for the mouse is minus its motion.
  void MouseReading(int x, int y) { input.input.MoveMouse(-x, -y); }
  float FreeSpeed() const { return std::sqrt(Vec3Dot(free.Velocity(), free.Velocity())); }

  test::InputRig input;
  N_FreeCameraController free;
  N_ShakeCamera shake;
};

TEST(FreeCamera, StandsStillWithoutTheDeveloperSwitchOrWhileEscapeIsHeld) {
  CameraInput c;
  const N_Vector3 start = c.free.Camera().position;
  c.input.input.KeyDown(kUp);
  c.MouseReading(40, 40);
  for (int i = 0; i < 60; ++i) c.FreeFrame();  // "FreeCamera" is 0
  EXPECT_EQ(c.free.Camera().position.y, start.y);
  EXPECT_EQ(c.free.Camera().angleZ, 0.0f);

  c.vars().SetString("FreeCamera", "1", 2);
  c.input.input.KeyDown(kEscape);
  c.input.input.KeyDown(kLeft);
  for (int i = 0; i < 60; ++i) {
    c.MouseReading(40, 40);
    c.FreeFrame();
  }
  EXPECT_EQ(c.free.Camera().position.x, start.x);
  EXPECT_EQ(c.free.Camera().position.y, start.y);
  EXPECT_EQ(c.free.Camera().angleZ, 0.0f) << "the mouse does not turn it either";
  EXPECT_EQ(c.FreeSpeed(), 0.0f);
}

TEST(FreeCamera, UpMovesItAlongItsViewWithinTheMaximumSpeed) {
  for (const auto& [speed, maximum] :
       {std::pair{2000.0f, 2000.0f}, std::pair{0.0f, 1000.0f}, std::pair{300.0f, 300.0f}}) {
    SCOPED_TRACE(speed);
    CameraInput c;
    c.vars().SetString("FreeCamera", "1", 2);
    c.vars().SetFloat("speed", speed, 2);
    c.input.input.KeyDown(kUp);
    float fastest = 0.0f;
    for (int i = 0; i < 60; ++i) {
      c.FreeFrame();
      fastest = std::max(fastest, c.FreeSpeed());
      ASSERT_LE(c.FreeSpeed(), maximum * 1.0001f) << "frame " << i;
    }
    // Held at the limit, the braking of the frame stays taken off: about 80% of it.
    EXPECT_GT(fastest, maximum * 0.7f) << "it gets up to speed within the second";
    // After Setup it stands at the origin looking level along +y.
    const N_Vector3& p = c.free.Camera().position;
    EXPECT_GT(p.y, maximum * 0.5f);
    EXPECT_NEAR(p.x, 0.0f, 1e-3);
    EXPECT_NEAR(p.z, 0.0f, 1e-3);
    EXPECT_EQ(c.free.MaximumSpeed(), maximum);
  }
}

TEST(FreeCamera, ComesToRestAndStaysThere) {
  CameraInput c;
  c.vars().SetString("FreeCamera", "1", 2);
  c.input.input.KeyDown(kLeft);
  for (int i = 0; i < 30; ++i) c.FreeFrame();
  c.input.input.KeyUp(kLeft);
  for (int i = 0; i < 60; ++i) c.FreeFrame();
  ASSERT_EQ(c.FreeSpeed(), 0.0f) << "braking stops it without reversing it";
  const N_Vector3 rest = c.free.Camera().position;
  EXPECT_LT(rest.x, 0.0f) << "Left moves it to the left";
  for (int i = 0; i < 1000; ++i) c.FreeFrame();
  EXPECT_EQ(c.free.Camera().position.x, rest.x);
  EXPECT_EQ(c.free.Camera().position.y, rest.y);
  EXPECT_EQ(c.free.Camera().position.z, rest.z);
}

TEST(FreeCamera, TheMouseTurnsItWithinTheLimits) {
  CameraInput c;
  c.vars().SetString("FreeCamera", "1", 2);
  c.MouseReading(4, 4);
  c.FreeFrame();
  EXPECT_FLOAT_EQ(c.free.Camera().angleZ, 1.0f);
  EXPECT_FLOAT_EQ(c.free.Camera().angleX, 91.0f);
  c.MouseReading(0, 1000);  // pitch 341: held at 180
  c.FreeFrame();
  EXPECT_EQ(c.free.Camera().angleX, 180.0f);
  c.MouseReading(0, -2000);  // pitch -320: held at 0
  c.FreeFrame();
  EXPECT_EQ(c.free.Camera().angleX, 0.0f);
  c.MouseReading(1436, 0);  // yaw 1 + 359 = 360: kept
  c.FreeFrame();
  EXPECT_FLOAT_EQ(c.free.Camera().angleZ, 360.0f);
  c.MouseReading(4, 0);  // 361: beyond a turn, back to 0
  c.FreeFrame();
  EXPECT_EQ(c.free.Camera().angleZ, 0.0f);
  c.MouseReading(-1444, 0);  // -361
  c.FreeFrame();
  EXPECT_EQ(c.free.Camera().angleZ, 0.0f);
}

TEST(ShakeCamera, ItsThreeCamerasAreSetUpForTheScreen) {
  CameraInput c;
  const N_Camera& scope = c.shake.ScopeCamera();
  EXPECT_EQ(scope.viewportWidth, 42);
  EXPECT_EQ(scope.viewportHeight, 31);
  EXPECT_EQ(scope.viewportX, 378);
  EXPECT_EQ(scope.viewportY, 284);
  EXPECT_NEAR(scope.fov, kPi / 180.0f, 1e-7);
  EXPECT_EQ(c.shake.RifleCamera().nearPlane, 1.0f);
  EXPECT_EQ(c.shake.RifleCamera().farPlane, 100.0f);
  EXPECT_EQ(c.shake.MainCamera().viewportWidth, 800);
  EXPECT_EQ(c.shake.MainCamera().nearPlane, 40.0f);
  EXPECT_NEAR(c.shake.MainCamera().fov, 50.0f * kPi / 180.0f, 1e-6);
}

TEST(ShakeCamera, TheAimSwaysWithinItsAmplitudesAndFollowsThemAtOnce) {
  CameraInput c;
  Srand(7);
  const float yaw0 = c.shake.MainCamera().angleZ, pitch0 = c.shake.MainCamera().angleX;
  // The built-in sway: randx 0.2, randy 0.2, ampx 0.2, ampy 0.3.
  float widestYaw = 0.0f, widestPitch = 0.0f;
  for (int i = 0; i < 3600; ++i) {
    c.ShakeFrame();
    widestYaw = std::max(widestYaw, std::fabs(c.shake.MainCamera().angleZ - yaw0));
    widestPitch = std::max(widestPitch, std::fabs(c.shake.MainCamera().angleX - pitch0));
  }
  EXPECT_LE(widestYaw, 0.2f + 0.1f + 1e-4f);
  EXPECT_LE(widestPitch, 0.3f + 0.1f + 1e-4f);
  EXPECT_GT(widestYaw, 0.15f) << "it does sway";
  EXPECT_GT(widestPitch, 0.2f);

  // A larger arc written between two updates counts from the next update on.
  c.vars().SetFloat("randx", 0.0f, 2);
  c.vars().SetFloat("ampx", 3.0f, 2);
  float widened = 0.0f;
  for (int i = 0; i < 600; ++i) {
    c.ShakeFrame();
    widened = std::max(widened, std::fabs(c.shake.MainCamera().angleZ - yaw0));
  }
  EXPECT_GT(widened, 2.0f);
  EXPECT_LE(widened, 3.0f + 0.2f + 0.1f + 1e-4f);

  // No sway at all: the aim stands still.
  for (const char* name : {"randx", "randy", "ampx", "ampy"}) c.vars().SetFloat(name, 0.0f, 2);
  c.ShakeFrame();  // the last offsets are taken back once
  const float yaw = c.shake.MainCamera().angleZ, pitch = c.shake.MainCamera().angleX;
  for (int i = 0; i < 600; ++i) {
    c.ShakeFrame();
    ASSERT_EQ(c.shake.MainCamera().angleZ, yaw);
    ASSERT_EQ(c.shake.MainCamera().angleX, pitch);
  }
}

TEST(ShakeCamera, TheMouseTurnsAllThreeCamerasALittle) {
  CameraInput c;
  for (const char* name : {"randx", "randy", "ampx", "ampy"}) c.vars().SetFloat(name, 0.0f, 2);
  c.MouseReading(4, 4);
  c.ShakeFrame();
  EXPECT_FLOAT_EQ(c.shake.MainCamera().angleZ, 0.02f);
  EXPECT_FLOAT_EQ(c.shake.MainCamera().angleX, 90.02f);
  for (N_Camera* camera : {&c.shake.ScopeCamera(), &c.shake.RifleCamera()}) {
    EXPECT_EQ(camera->angleZ, c.shake.MainCamera().angleZ);
    EXPECT_EQ(camera->angleX, c.shake.MainCamera().angleX);
    EXPECT_EQ(camera->axisX.x, c.shake.MainCamera().axisX.x) << "their views follow";
  }
  // With the built-in sway too, the other two hold the main camera's angles.
  for (const char* name : {"randx", "randy", "ampx", "ampy"}) c.vars().SetFloat(name, 0.3f, 2);
  for (int i = 0; i < 20; ++i) {
    c.MouseReading(3, -2);
    c.ShakeFrame();
    EXPECT_EQ(c.shake.ScopeCamera().angleZ, c.shake.MainCamera().angleZ);
    EXPECT_EQ(c.shake.RifleCamera().angleX, c.shake.MainCamera().angleX);
  }
}

TEST(CameraMng, TheViewModeChoosesTheOneControllerUpdated) {
  test::InputRig input;
  N_VarMng& vars = *input.core.vars;
  vars.SetInt("v_width", 800, 2);
  vars.SetInt("v_height", 600, 2);
  vars.SetString("FreeCamera", "1", 2);
  N_Level level;
  test::LevelBuilder(level).PointSet("CameraPath_Menu", {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}});
  g_scene.level = &level;
  vars.SetInt("viewmode", 2, 2);
  N_CameraMng cameras;
  EXPECT_EQ(cameras.ViewMode(), 2) << "read at construction";
  cameras.Setup();
  N_ShakeCamera::ResetSway();
  input.input.KeyDown(kUp);  // the free camera would move

  const struct {
    int viewmode;
    bool race, free, shake;
  } cases[] = {{0, true, false, false}, {2, false, false, true}, {1, false, true, false}, {7, false, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.viewmode);
    vars.SetInt("viewmode", c.viewmode, 2);
    const float race = float(cameras.RaceController().CurrentSample()) + cameras.RaceController().Fraction();
    const float free = cameras.FreeController().Camera().position.y;
    const float shake = cameras.ShakeController().MainCamera().angleX;
    for (int i = 0; i < 10; ++i) {
      input.Frame();
      cameras.ReadViewMode();  // as the world's update does
      cameras.Update(1.0f / 60.0f);
    }
    EXPECT_EQ(cameras.ViewMode(), c.viewmode);
    EXPECT_EQ(float(cameras.RaceController().CurrentSample()) + cameras.RaceController().Fraction() != race, c.race);
    EXPECT_EQ(cameras.FreeController().Camera().position.y != free, c.free);
    EXPECT_EQ(cameras.ShakeController().MainCamera().angleX != shake, c.shake);
  }
  g_scene.level = nullptr;
}

TEST(CameraMng, StartsInTheNormalViewAndMakesMissingControllers) {
  {
    N_CameraMng cameras;  // no registry: nothing to read
    EXPECT_EQ(cameras.ViewMode(), 1);
    N_FreeCameraController* free = &cameras.FreeController();
    cameras.CheckControllers();
    EXPECT_EQ(&cameras.FreeController(), free) << "existing controllers stay";
    EXPECT_TRUE(cameras.RaceController().IsReady());
    EXPECT_TRUE(cameras.ShakeController().IsReady());
    EXPECT_FALSE(cameras.FreeController().IsReady());
  }
  test::InputRig input;
  N_CameraMng cameras;
  EXPECT_EQ(cameras.ViewMode(), 1) << "the built-in \"viewmode\"";
}

}  // namespace
