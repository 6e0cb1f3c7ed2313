// Animated objects on the real OpenGL device (Xvfb with Mesa), checked by the pixels
// they leave: the sample flag moving between two times, the skeleton's points and
// lines, and the stencil shadow of an animated box.
#include "core/VarMng.h"
#include "scene/AnimObject.h"
#include "scene/AnimationFactory.h"
#include "tests/scene/AnimTestSupport.h"
#include "tests/scene/SceneGl.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

/// The scene's rig with the game's scripts, vertex programs and prop files.
class AnimGl : public test::SceneGl {
 public:
  AnimGl(int width, int height) : SceneGl(width, height) {
    for (const char* part : {"data/scripts", "data/anim/props", "data/textures/props", "data/textures/default.dds"}) {
      test::CopyFromGameRoot(dir, part);
    }
    core.vars->SetInt("r_filter", 0, 0);
    StartScene();
  }
};

bool Near(DWORD pixel, DWORD expected, int tolerance = 3) { return test::NearRgb(pixel, expected, tolerance); }

TEST(AnimPixels, TheSampleFlagsClothMovesAndNothingElse) {
  constexpr int kWidth = 640, kHeight = 480;
  AnimGl gl(kWidth, kHeight);
  N_AnimationFactory set;
  ASSERT_EQ(set.AddMesh("data\\anim\\props\\flag.mesh"), 0);
  ASSERT_EQ(set.AddAction("data\\anim\\props\\flag.anim", nullptr, true), 0);
  const int instance = set.CreateInstance();
  ASSERT_TRUE(set.SetAction(instance, 0, 30.0f, 0.0f));
  ASSERT_TRUE(set.SetNextAction(instance, 0, 30.0f, 0.0f));
  gl.LoadShaders();
  // The camera at the origin looks along +y: the flag 400 ahead, its pole at x -75
  // (screen x 260, 0.8 pixels a unit), the cloth from x -75 to 75 and z 0 to 100.
  const N_Vector3 position{-75.0f, 400.0f, -150.0f};
  test::BackBufferImage frames[2];
  for (int f = 0; f < 2; ++f) {
    gl.Begin3D();
    set.RenderInstance(f == 0 ? 0.0f : 4.0f / 30.0f, instance, position, N_Matrix3{}, false, true);
    frames[f] = gl.Image();
    gl.render().EndFrame();
  }
  ASSERT_EQ(frames[0].pixels.size(), std::size_t(kWidth) * kHeight);
  EXPECT_NE(frames[0].Rgb(262, 330), 0u) << "the pole is drawn";
  EXPECT_NE(frames[0].Rgb(300, 200), 0u) << "the cloth is drawn";
  int changed = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (frames[0].Rgb(x, y) == frames[1].Rgb(x, y)) continue;
      ++changed;
      // Only where the cloth can reach: right of the pole, around its height.
      EXPECT_TRUE(x >= 250 && x <= 420 && y >= 120 && y <= 250) << "pixel " << x << ", " << y;
      if (changed > 50 && ::testing::Test::HasFailure()) return;
    }
  }
  EXPECT_GT(changed, 200) << "the cloth moved";
}

TEST(AnimPixels, TheSkeletonShowsAPointPerChildBoneAndLinesToTheParents) {
  constexpr int kWidth = 640, kHeight = 480;
  AnimGl gl(kWidth, kHeight);
  gl.core.vars->SetInt("showskeleton", 1, 0);
  const datagen::AnimMeshBuilder quad = test::TwoBoneQuad("anim/none");
  test::WriteBytes("data/anim/quad.mesh", quad.Write());
  test::WriteBytes("data/anim/quad.anim", test::AnimationOf(quad, test::BindFrames(quad, 2)));
  N_AnimationFactory set;
  ASSERT_EQ(set.AddMesh("data/anim/quad.mesh"), 0);
  ASSERT_EQ(set.AddAction("data/anim/quad.anim", nullptr, true), 0);
  const int instance = set.CreateInstance();
  ASSERT_TRUE(set.SetAction(instance, 0, 30.0f, 0.0f));
  // No shader records: only the skeleton is drawn. The root 100 ahead at the screen's
  // centre (320, 240), the tip 10 units to the right at (352, 240).
  gl.Begin3D();
  set.RenderInstance(0.0f, instance, N_Vector3{0, 100, 0}, N_Matrix3{}, false, true);
  const test::BackBufferImage pixels = gl.Image();
  gl.render().EndFrame();
  EXPECT_EQ(pixels.Rgb(352, 240), 0xFF0000u) << std::hex << pixels.Rgb(352, 240);
  EXPECT_EQ(pixels.Rgb(350, 238), 0xFF0000u) << "a point of 6 pixels";
  EXPECT_EQ(pixels.Rgb(352, 233), 0x000000u) << "and no larger";
  bool line = false;
  for (int y = 238; y <= 241; ++y) line |= pixels.Rgb(336, y) == 0xFFFF00u;
  EXPECT_TRUE(line) << "a yellow line from the root to the tip";
  for (int y = 236; y <= 244; ++y) EXPECT_NE(pixels.Rgb(320, y), 0xFF0000u) << "no point for the root";
}

TEST(AnimPixels, AnAnimatedCastShadowBoxShadowsTheFloor) {
  constexpr int kWidth = 320, kHeight = 240;
  AnimGl gl(kWidth, kHeight);
  gl.core.vars->SetInt("r_shadowsEnabled", 1, 0);
  ASSERT_EQ(gl.render().StencilBits(), 8u);
  gl.dir.Write("data/scripts/anim.shader", "anim/caster\n{\nsurfaceparm castshadow\n{ map textures/default\n}\n}\n");
  // A box on the root bone; its animation lifts it to x -100..100, y 900..1100 and z
  // -150..50 in front of the camera, above a floor 200 below the eye.
  datagen::AnimMeshBuilder box;
  box.AddBone("root", -1, {});
  box.AddBox(box.AddMaterial("anim/caster"), {-100, -100, -100}, {100, 100, 100}, {{0, 1.0f}});
  std::vector<std::vector<N_AnimKey>> frames(2, box.BindPose());
  frames[0][0].position = {0, 1000, -50};
  frames[1][0].position = {0, 1000, -50};
  test::WriteBytes("data/anim/box.mesh", box.Write());
  test::WriteBytes("data/anim/box.anim", test::AnimationOf(box, frames));
  N_AnimationFactory set;
  ASSERT_EQ(set.AddMesh("data/anim/box.mesh"), 0);
  ASSERT_EQ(set.AddAction("data/anim/box.anim", nullptr, true), 0);
  const int instance = set.CreateInstance();
  ASSERT_TRUE(set.SetAction(instance, 0, 30.0f, 0.0f));
  gl.LoadShaders();
  set.CreateShadowVolumes();
  ASSERT_NE(set.Mesh(0)->ShadowVolume(), nullptr);
  // Without a direction the volume would not be extruded: the sun shines straight down.
  gl.level.SunLight().direction[2] = -1.0f;

  gl.Begin3D();
  gl.render().SetWorldMatrix(N_Matrix4{});
  const float floor[6] = {-2000, 100, -210, 2000, 4000, -200};
  const float white[4] = {1, 1, 1, 1};
  gl.render().DrawBox(floor, white);
  set.RenderInstance(0.0f, instance, N_Vector3{}, N_Matrix3{}, false, true);
  gl.render().SetupCamera(&gl.camera, 0);
  gl.render().DrawShadowOverlay();
  const test::BackBufferImage pixels = gl.Image();
  gl.render().EndFrame();
  // The floor under the box (0, 1000, -200) at screen y 120 + 200 / 1000 x 160 = 152.
  const DWORD shadow = 0xB8B7C1;  // the renderer's shadow colour (0.725, 0.721, 0.757)
  EXPECT_TRUE(Near(pixels.Rgb(160, 152), shadow)) << std::hex << pixels.Rgb(160, 152);
  EXPECT_EQ(pixels.Rgb(240, 152), 0xFFFFFFu) << "the floor beside the box";
  EXPECT_EQ(pixels.Rgb(160, 200), 0xFFFFFFu) << "the floor before the box";
}

}  // namespace
