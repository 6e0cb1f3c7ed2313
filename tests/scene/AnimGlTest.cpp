// Animated objects on the real OpenGL device (Xvfb with Mesa), checked by the pixels
// they leave: the sample flag moving between two times, the skeleton's points and
// lines, and the stencil shadow of an animated box.
#include "core/CoreServices.h"
#include "core/VarMng.h"
#include "platform/win32/TestWindow.h"
#include "render/Frustum.h"
#include "render/Render.h"
#include "render/RendererTextureDevice.h"
#include "render/ShaderMng.h"
#include "render/TextureMngImpl.h"
#include "scene/AnimObject.h"
#include "scene/AnimationFactory.h"
#include "render/Camera.h"
#include "scene/Level.h"
#include "scene/SceneAccess.h"
#include "tests/scene/AnimTestSupport.h"
#include "tests/support/BackBuffer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

/// A renderer on a window, a texture manager and a shader manager over it, the game's
/// scripts, vertex programs and prop files, and the scene's access point filled.
class AnimGl {
 public:
  AnimGl(int width, int height) {
    const fs::path root = test::GameRoot();
    for (const char* folder : {"data/scripts", "data/anim/props", "data/textures/props"}) {
      fs::create_directories(fs::path(dir.Path()) / folder);
      fs::copy(root / folder, fs::path(dir.Path()) / folder, fs::copy_options::recursive);
    }
    fs::copy(root / "data/textures/default.dds", fs::path(dir.Path()) / "data/textures/default.dds");
    window = platform::CreateTestWindow(width, height);
    EXPECT_NE(window, 0);
    core.vars->SetInt("v_fullscreen", 0, 0);
    core.vars->SetInt("v_width", width, 0);
    core.vars->SetInt("v_height", height, 0);
    core.vars->SetInt("wnd_handle", window, 0);
    core.vars->SetInt("r_filter", 0, 0);
    services.errorLog = core.errorLog.get();
    services.log = core.log.get();
    services.varMng = core.vars.get();
    services.textureMng = &textures;
    CreateRender(&services, &render);
    EXPECT_TRUE(render->Init());
    g_render = render;
    g_textureMng = &textures;
    camera.SetProjection(90.0f, float(width), float(height), 0.0f, 0.0f);
    g_scene = {&frustum, &shaders, &level};
  }
  ~AnimGl() {
    g_scene = {};
    shaders.ResetRefCounts();
    shaders.LoadShaders();
    textures.ResetRefCounts();
    textures.PurgeTextures();
    g_textureMng = nullptr;
    g_render = nullptr;
    if (render->Device()) render->Shutdown();
    ReleaseRender(render);
    platform::DestroyTestWindow(window);
  }
  AnimGl(const AnimGl&) = delete;
  AnimGl& operator=(const AnimGl&) = delete;

  /// Builds the shaders of the names added so far and their textures.
  void LoadShaders() {
    shaders.LoadShaders();
    textures.PurgeTextures();
  }
  /// Opens a frame cleared to black with the 3D set-up of the camera and its frustum.
  void Begin3D() {
    render->SetClearColorRGBA(0.0f, 0.0f, 0.0f, 1.0f);
    render->BeginFrame();
    render->SetupCamera(&camera, 1);
    frustum.Build(camera);
  }
  test::BackBufferImage Pixels() { return test::ReadBackBuffer(render->Device()); }

  test::TempDir dir;
  test::CoreServices core;
  N_CoreServices services;
  RendererTextureDevice textureDevice;
  N_TextureMngImpl textures{1024, &textureDevice};
  HWND window = 0;
  N_Render* render = nullptr;
  N_ShaderMng shaders{1024};
  N_Frustum frustum;
  N_Level level;
  N_Camera camera;
};

bool Near(DWORD pixel, DWORD expected, int tolerance = 3) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(int((pixel >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}

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
    frames[f] = gl.Pixels();
    gl.render->EndFrame();
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
  const test::BackBufferImage pixels = gl.Pixels();
  gl.render->EndFrame();
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
  ASSERT_EQ(gl.render->StencilBits(), 8u);
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
  gl.render->SetWorldMatrix(N_Matrix4{});
  const float floor[6] = {-2000, 100, -210, 2000, 4000, -200};
  const float white[4] = {1, 1, 1, 1};
  gl.render->DrawBox(floor, white);
  set.RenderInstance(0.0f, instance, N_Vector3{}, N_Matrix3{}, false, true);
  gl.render->SetupCamera(&gl.camera, 0);
  gl.render->DrawShadowOverlay();
  const test::BackBufferImage pixels = gl.Pixels();
  gl.render->EndFrame();
  // The floor under the box (0, 1000, -200) at screen y 120 + 200 / 1000 x 160 = 152.
  const DWORD shadow = 0xB8B7C1;  // the renderer's shadow colour (0.725, 0.721, 0.757)
  EXPECT_TRUE(Near(pixels.Rgb(160, 152), shadow)) << std::hex << pixels.Rgb(160, 152);
  EXPECT_EQ(pixels.Rgb(240, 152), 0xFFFFFFu) << "the floor beside the box";
  EXPECT_EQ(pixels.Rgb(160, 200), 0xFFFFFFu) << "the floor before the box";
}

}  // namespace
