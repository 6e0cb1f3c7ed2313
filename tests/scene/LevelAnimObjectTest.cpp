// The level's animated props and fly-by cameras as the level holds them: a prop loads
// its mesh and animation by name and loops it; a missing file or instance is critical;
// cameras are found by name.
#include "scene/AnimationFactory.h"
#include "scene/LevelAnimObject.h"
#include "scene/LevelCamera.h"
#include "tests/scene/AnimTestSupport.h"
#include "tests/scene/LevelBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

/// The prop "data/anim/props/sign": the quad's mesh and a four-frame animation.
void WriteProp(bool mesh = true, bool animation = true) {
  const datagen::AnimMeshBuilder quad = test::TwoBoneQuad();
  if (mesh) test::WriteBytes("data/anim/props/sign.mesh", quad.Write());
  if (animation) test::WriteBytes("data/anim/props/sign.anim", test::AnimationOf(quad, test::BindFrames(quad, 4)));
}

TEST(LevelAnimObject, LoadsItsMeshAndAnimationAndLoopsIt) {
  test::AnimRig rig;
  WriteProp();
  N_LevelAnimObject prop;
  EXPECT_EQ(prop.Set(), nullptr);
  EXPECT_EQ(prop.Orientation().m[0], 1.0f);
  // A quarter turn about z.
  const float half = std::sqrt(0.5f);
  prop.Load("data/anim/props/sign", {10, 20, 30}, {half, 0.0f, 0.0f, half});
  N_AnimationFactory* set = prop.Set();
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->MeshCount(), 1);
  EXPECT_EQ(set->ActionCount(), 1);
  EXPECT_EQ(set->InstanceCount(), 1);
  EXPECT_EQ(set->FindAction("data/anim/props/sign.anim"), prop.Action());
  const N_AnimAction& action = *set->Action(prop.Action());
  EXPECT_EQ(action.loop, 1);
  const N_AnimInstance& instance = *set->Instance(prop.Instance());
  EXPECT_EQ(instance.mesh, prop.Mesh());
  EXPECT_EQ(instance.channel1.actionIndex, prop.Action());
  EXPECT_EQ(instance.channel1.frameA, 0);
  EXPECT_EQ(instance.channel1.rate, 30.0f);
  EXPECT_EQ(instance.channel1.loop, 1);
  EXPECT_EQ(instance.queuedAction, prop.Action());
  EXPECT_EQ(instance.queuedRate, 30.0f);
  EXPECT_EQ(prop.Position().y, 20.0f);
  N_Matrix3 expected;
  expected.FromQuaternion({half, 0.0f, 0.0f, half});
  for (int i = 0; i < 9; ++i) EXPECT_EQ(prop.Orientation().m[i], expected.m[i]) << i;
  EXPECT_NEAR(std::fabs(prop.Orientation().m[1]), 1.0f, 1e-6) << "turned a quarter";
}

int NoInstance(N_AnimationFactory&) { return -1; }

TEST(LevelAnimObjectDeathTest, AMissingMeshAnimationOrInstanceEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const struct {
    bool mesh, animation;
    N_LevelAnimObject::InstanceMaker maker;
    const char* message;
  } cases[] = {
      {false, true, nullptr, "Load Mesh for Anim object failed! path:data/anim/props/sign\\.mesh"},
      {true, false, nullptr, "Load Animation for Anim object failed! path:data/anim/props/sign\\.anim"},
      {true, true, &NoInstance, "Creating anim object failed!!"},
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(
        {
          test::AnimRig rig;
          WriteProp(c.mesh, c.animation);
          N_LevelAnimObject::SetInstanceMaker(c.maker);
          N_LevelAnimObject prop;
          prop.Load("data/anim/props/sign", {}, {});
        },
        testing::ExitedWithCode(255), c.message);
  }
}

TEST(LevelCamera, IsFoundByItsNameInAnyCaseTheFirstOfTwo) {
  N_Level level;
  test::LevelBuilder build(level);
  N_LevelCamera& first = build.Camera("Camera_Relay");
  build.Camera("CAMERA_RELAY");
  N_LevelCamera& sprint = build.Camera("camera_sprint");
  EXPECT_EQ(level.FindCamera("camera_relay"), &first);
  EXPECT_EQ(level.FindCamera("Camera_Sprint"), &sprint);
  EXPECT_EQ(level.FindCamera("Camera_Hunting"), nullptr);
  // A name longer than its field is cut and terminated.
  N_LevelCamera& longName = build.Camera(std::string(300, 'c'));
  EXPECT_EQ(std::string(longName.Name()), std::string(127, 'c'));
  longName.SetName(nullptr);
  EXPECT_STREQ(longName.Name(), "");
}

}  // namespace
