// A lens flare on the real OpenGL device (Xvfb with Mesa), with the game's flare
// materials and textures: seen through the free camera looking 5 degrees past the sun,
// the flare fades in and the glare tints the frame; a wall between the camera and the
// sun hides both within two frames (the occlusion query is read one frame late).
#include "render/Render.h"
#include "scene/FreeCameraController.h"
#include "scene/LensFlare.h"
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"
#include "tests/scene/LevelBuilder.h"
#include "tests/scene/ParticleTestSupport.h"
#include "tests/scene/SceneGl.h"
#include "tests/support/TestEnv.h"
#include "tools/DdsWriter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The glare is a quad of the viewport's size in the 640 x 480 units of the 2D set-up:
// it covers the whole frame from 640 x 480 pixels up.
constexpr int kWidth = 640, kHeight = 480;
constexpr float kDegrees = 3.14159265f / 180.0f;

/// The scene's rig with the particle manager, the game's scripts and flare textures, a
/// level with the sun "lf_sun" 1000 ahead and 5 degrees to the right, its glare flare,
/// and the free camera at the origin looking along +y.
class FlareGl : public test::SceneGl {
 public:
  FlareGl() : SceneGl(kWidth, kHeight) {
    for (const char* part : {"data/scripts", "data/textures/common", "data/textures/default.dds"}) {
      test::CopyFromGameRoot(dir, part);
    }
    // The wall: an opaque white material, darkened by its vertices.
    const std::vector<std::uint8_t> white =
        datagen::EncodeDds(datagen::RgbaImage(4, 4, {255, 255, 255, 255}), {datagen::DdsFormat::Dxt1, false});
    dir.Write("data/textures/test/white.dds", std::string(white.begin(), white.end()));
    dir.Write("data/scripts/wall.shader", "test/wall\n{\ncull none\n{\nmap textures/test/white\nrgbgen vertex\n}\n}\n");
    StartScene();
    free.Setup(nullptr);
    g_scene.particles = &particles;
    g_scene.camera = &free.Camera();

    test::LevelBuilder(level).Light("lf_sun",
                                    {1000.0f * std::sin(5.0f * kDegrees), 1000.0f * std::cos(5.0f * kDegrees), 0.0f},
                                    {}, {1.0f, 0.9f, 0.6f});
    auto flare = std::make_unique<N_LensFlare>();
    flare->AttachLight(&level.lights[0], 1);
    flare->Setup();
    level.flares.push_back(std::move(flare));
    wallShader = shaders.AddShader("test/wall", 0, 3);
    LoadShaders();
    level.InitEffects();

    for (int i = 0; i < 4; ++i) {
      const float x = (i & 1) ? 2000.0f : -2000.0f, z = (i & 2) ? -2000.0f : 2000.0f;
      wallVertices[i] = {{x, 500.0f, z}, {0, 0, 0}, 0xFF404040u, {0, 0}, {0, 0}};
    }
    wall.primitiveType = 0;
    wall.vertices = wallVertices;
    wall.vertexCount = 4;
    wall.indices = wallIndices;
    wall.indexCount = 6;
    wall.indexed = 1;
  }
  ~FlareGl() override {
    level.flares.clear();
    particles.DestroyAllSystems();
  }

  /// One frame of 1/60 s in the world's order (the scene, here the wall, then the
  /// flares), read back before the present.
  test::BackBufferImage Frame(bool withWall) {
    time.Advance(1.0 / 60.0);
    render().SetClearColorRGBA(0.0f, 0.0f, 0.0f, 1.0f);
    render().BeginFrame();
    N_Camera* camera = &free.Camera();
    frustum.Build(*camera);
    render().SetupCamera(camera, 1);
    if (withWall) {
      render().SetShader(shaders.GetShader(wallShader), -1);
      render().DrawSurfaceIdentity(&wall);
    }
    level.UpdateFlares();
    level.RenderFlares();
    render().SetupCamera(camera, 0);
    test::BackBufferImage image = Image();
    render().EndFrame();
    return image;
  }

  N_ParticleMng particles;
  N_FreeCameraController free;
  test::TestFrameTime time;
  int wallShader = -1;
  N_SurfaceVertex wallVertices[4] = {};
  std::uint16_t wallIndices[6] = {0, 1, 2, 2, 1, 3};
  N_MeshSurface wall;
};

int Red(DWORD rgb) { return int(rgb >> 16 & 0xFF); }
int Sum(DWORD rgb) { return int(rgb >> 16 & 0xFF) + int(rgb >> 8 & 0xFF) + int(rgb & 0xFF); }

TEST(FlarePixels, TheSunsFlareFadesInAndAWallHidesItWithinTwoFrames) {
  FlareGl gl;
  EXPECT_EQ(gl.core.LogText().find("Error loading texture"), std::string::npos) << "the flare textures load";
  // The sun lies at x = 320 + 320 tan 5 / tan 25, the view centre at 320.
  const int lightX = int(std::lround(320.0 + 320.0 * std::tan(5.0 * kDegrees) / std::tan(25.0 * kDegrees)));
  constexpr int centreX = 320, middleY = 240;
  test::BackBufferImage image;
  for (int i = 0; i < 21; ++i) image = gl.Frame(false);
  ASSERT_EQ(image.pixels.size(), std::size_t(kWidth) * kHeight);
  const N_LensFlare& flare = *gl.level.flares[0];
  EXPECT_EQ(flare.Fade(), 1.0f);
  EXPECT_NEAR(flare.Intensity(), (std::cos(5.0f * kDegrees) - 0.95f) * 15.0f, 1e-3);
  // The glare over the whole frame: the light's colour at alpha fade x intensity.
  const DWORD corner = image.Rgb(3, 3);
  EXPECT_NEAR(Red(corner), 255.0 * flare.Intensity(), 4.0) << std::hex << corner;
  EXPECT_EQ(image.Rgb(kWidth - 4, kHeight - 4), corner);
  EXPECT_GT(Sum(image.Rgb(lightX, middleY)), Sum(corner) + 30) << "the glow at the sun";
  EXPECT_GT(Red(image.Rgb(centreX, middleY)), Red(corner) + 10) << "the disc at the view centre";

  // The wall: the first frame still shows the flare (its query was issued before the
  // wall), the second nothing of it.
  gl.Frame(true);
  image = gl.Frame(true);
  EXPECT_FALSE(flare.IsVisible());
  const DWORD wall = image.Rgb(3, 3);
  EXPECT_LT(Sum(wall), Sum(corner)) << "no glare over the wall";
  EXPECT_EQ(image.Rgb(lightX, middleY), image.Rgb(lightX + 40, middleY + 40)) << "no sprite at the sun";
  EXPECT_EQ(image.Rgb(centreX, middleY), image.Rgb(centreX - 40, middleY + 40)) << "nor at the centre";
}

}  // namespace
