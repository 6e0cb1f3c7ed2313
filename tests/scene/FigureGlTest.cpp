// Skier figures on the real OpenGL device (Xvfb with Mesa), checked by the pixels they
// leave: a figure of the roster in its suit and start number, a skating action that
// moves, and the figure's stencil shadow on the ground.
#include "core/FormatString.h"
#include "core/VarMng.h"
#include "render/Render.h"
#include "scene/AnimationFactory2.h"
#include "scene/Animation.h"
#include "scene/FigureMesh.h"
#include "scene/FigureRoster.h"
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"
#include "tests/scene/FigureTestSupport.h"
#include "tests/scene/SceneGl.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

namespace {

constexpr int kWidth = 640, kHeight = 480;

/// The scene's rig with the particle manager, the game's figure data, scripts and
/// default texture, a roster of one athlete of each model in the tests' plain gear with
/// the game's bibs, and the figure factory loaded.
class FigureGl : public test::SceneGl {
 public:
  FigureGl() : SceneGl(kWidth, kHeight) {
    test::CopyFigureData(dir);
    test::WriteTestGear();
    test::CopyFromGameRoot(dir, "data/scripts");
    test::CopyFromGameRoot(dir, "data/textures/default.dds");
    core.vars->SetInt("r_filter", 0, 0);
    core.vars->SetInt("PlayersParticles", 0, 0);
    StartScene();
    g_scene.particles = &particles;
    g_scene.figureRoster = &roster;
    for (int i = 0; i < 6; ++i) {
      N_FigureAthlete& athlete = athletes[i];
      athlete.Mesh = test::ReferenceMesh(test::kSixModels[i]);
      athlete.DressShader = shaders.AddShader(test::TestGear("suit", i + 1).c_str(), 0, 3);
      athlete.SticksShader = shaders.AddShader(test::TestGear("sticks", 1).c_str(), 0, 3);
      athlete.GunShader = shaders.AddShader(test::TestGear("gun", 1).c_str(), 0, 3);
      athlete.SkiShader = shaders.AddShader(test::TestGear("ski", 1).c_str(), 0, 3);
      roster.athletes.push_back(&athlete);
    }
    for (int n = 1; n <= N_FigureRoster::kBibCount; ++n) {
      roster.bibShaders[std::size_t(n - 1)] =
          shaders.AddShader(FormatString("textures\\lyziari\\startnum%02d", n).c_str(), 0, 3);
    }
    figures = std::make_unique<N_AnimationFactory2>();
    figures->Load();
    LoadShaders();
  }
  ~FigureGl() override {
    figures.reset();  // its buffers and shaders go back while the renderer and managers exist
  }

  N_ParticleMng particles;
  N_FigureAthlete athletes[6];
  test::TestRoster roster;
  std::unique_ptr<N_AnimationFactory2> figures;
};

bool Near(DWORD pixel, DWORD expected, int tolerance = 4) { return test::NearRgb(pixel, expected, tolerance); }

/// Where a point of the figure mesh (in bind space, on a rigid part of the bone) lies on
/// the screen after the instance's pose, with the camera at the origin looking along +y.
std::pair<int, int> OnScreen(const N_AnimationFactory2& figures, int instance, int bone, const N_Vector3& point,
                             const N_Vector3& position, const N_Matrix3& rotation) {
  const N_Bone& b = figures.FigureMesh(0)->Bones()[std::size_t(bone)];
  const N_Matrix4& pose = figures.Instance(instance)->boneMatrices[std::size_t(bone)];
  const N_Vector3 local = point + b.storedPosition;  // the stored transform: minus the bind position
  const N_Vector3 posed{pose.m[0] * local.x + pose.m[1] * local.y + pose.m[2] * local.z + pose.m[3],
                        pose.m[4] * local.x + pose.m[5] * local.y + pose.m[6] * local.z + pose.m[7],
                        pose.m[8] * local.x + pose.m[9] * local.y + pose.m[10] * local.z + pose.m[11]};
  N_Vector3 world;
  rotation.Transform(posed, world);
  world = world + position;
  const float focal = kWidth / 2.0f;  // a field of view of 90 degrees
  return {int(std::lround(kWidth / 2.0f + world.x / world.y * focal)),
          int(std::lround(kHeight / 2.0f - world.z / world.y * focal))};
}

TEST(FigurePixels, ADressedFigureShowsItsSuitOnTheTorsoAndItsBibOnTheChest) {
  FigureGl gl;
  N_AnimationFactory2& figures = *gl.figures;
  const N_Vector3 position{0.0f, 120.0f, -40.0f};
  const N_Matrix3 facing = test::Facing({0.0f, -1.0f, 0.0f});  // towards the camera
  gl.Begin3D();
  figures.RenderFigure(0.0f, 0, position, facing, 7, &gl.athletes[0], false, true, true);
  const test::BackBufferImage pixels = gl.Image();
  gl.render().EndFrame();
  // The chest's front (x 4.73 of "ref_model1") beside the bib, and the bib's off-white top.
  const int chest = figures.FigureMesh(0)->FindBone("chest");
  for (const float side : {-6.0f, 6.0f}) {
    const auto [x, y] = OnScreen(figures, 0, chest, {4.73f, side, 53.0f}, position, facing);
    EXPECT_TRUE(Near(pixels.Rgb(x, y), 0xC81E1E)) << "the red suit at " << x << ", " << y << ": " << std::hex
                                                   << pixels.Rgb(x, y);
  }
  const auto [x, y] = OnScreen(figures, 0, chest, {5.23f, 0.0f, 56.9f}, position, facing);
  EXPECT_TRUE(Near(pixels.Rgb(x, y), 0xF5F5F0, 8)) << "the bib at " << x << ", " << y << ": " << std::hex
                                                 << pixels.Rgb(x, y);
  // Below the white top, the left stroke of the number's first digit.
  const auto [digitX, digitY] = OnScreen(figures, 0, chest, {5.23f, -2.4f, 56.9f}, position, facing);
  int dark = 0;
  for (int dy = 2; dy < 16; ++dy) dark += pixels.Rgb(digitX, digitY + dy) < 0x404040 ? 1 : 0;
  EXPECT_GT(dark, 3);
}

TEST(FigurePixels, TwoFramesOfASkatingActionDiffer) {
  FigureGl gl;
  N_AnimationFactory2& figures = *gl.figures;
  ASSERT_TRUE(figures.SetAction(2, 7, 30.0f, 0.0f));
  ASSERT_TRUE(figures.SetNextAction(2, 7, 30.0f, 0.0f));
  test::BackBufferImage frames[2];
  for (int f = 0; f < 2; ++f) {
    gl.Begin3D();
    figures.RenderFigure(f == 0 ? 0.0f : 8.0f / 30.0f, 2, {0.0f, 150.0f, -40.0f}, test::Facing({1.0f, 0.0f, 0.0f}), 3,
                         &gl.athletes[2], false, true, true);
    frames[f] = gl.Image();
    gl.render().EndFrame();
  }
  int changed = 0;
  for (UINT y = 0; y < kHeight; ++y) {
    for (UINT x = 0; x < kWidth; ++x) changed += frames[0].Rgb(x, y) != frames[1].Rgb(x, y) ? 1 : 0;
  }
  EXPECT_GT(changed, 500);
}

TEST(FigurePixels, AfterTheShadowVolumesTheGroundBesideTheFigureIsDarker) {
  FigureGl gl;
  gl.core.vars->SetInt("r_shadowsEnabled", 1, 0);
  ASSERT_EQ(gl.render().StencilBits(), 8u);
  N_AnimationFactory2& figures = *gl.figures;
  figures.CreateShadowVolumes();
  // The sun low in the west: the shadow falls towards +x on the floor at z -40.
  const float light = 1.0f / std::sqrt(2.0f);
  gl.level.SunLight().direction[0] = light;
  gl.level.SunLight().direction[2] = -light;
  const float floor[6] = {-2000, 20, -41, 2000, 2000, -40};
  const float white[4] = {1, 1, 1, 1};
  const auto frame = [&](bool overlay) {
    gl.Begin3D();
    gl.render().SetWorldMatrix(N_Matrix4{});
    gl.render().DrawBox(floor, white);
    figures.RenderFigure(0.0f, 0, {0.0f, 120.0f, -40.0f}, test::Facing({0.0f, -1.0f, 0.0f}), 1, &gl.athletes[0],
                         false, true, true);
    if (overlay) {
      gl.render().SetupCamera(&gl.camera, 0);
      gl.render().DrawShadowOverlay();
    }
    const test::BackBufferImage pixels = gl.Image();
    gl.render().EndFrame();
    return pixels;
  };
  const test::BackBufferImage before = frame(false), after = frame(true);
  // The floor 40 units beside the feet (the skis point at the camera), at the feet's
  // depth: screen y 240 + 40 / 120 x 320 = 347; x 320 -+ 40 / 120 x 320.
  EXPECT_EQ(before.Rgb(427, 347), 0xFFFFFFu);
  EXPECT_LT(after.Rgb(427, 347) & 0xFF, 0xE0u) << "in the shadow: " << std::hex << after.Rgb(427, 347);
  EXPECT_EQ(after.Rgb(213, 347), 0xFFFFFFu) << "on the sunny side";
}

}  // namespace
