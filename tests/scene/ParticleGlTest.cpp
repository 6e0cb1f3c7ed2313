// Particles on the real OpenGL device (Xvfb with Mesa), checked by the pixels they
// leave: point sprites and turned quads inside their projected emission box, a fade-in
// growing brighter, and a template above the detail setting left undrawn.
#include "core/Random.h"
#include "render/Frustum.h"
#include "render/RenderStateCache.h"
#include "render/Shader.h"
#include "render/ShaderMng.h"
#include "render/ShaderStage.h"
#include "render/TexInfo.h"
#include "scene/ParticleMng.h"
#include "scene/SceneAccess.h"
#include "tests/render/ShaderTestSupport.h"
#include "tests/scene/ParticleTestSupport.h"
#include "tests/support/GlRender.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr int kWidth = 320, kHeight = 240;

/// The camera stands at the origin looking along +y, z up, 90 degrees across: a point
/// (x, y, z) lands at pixel (160 + 160 x / y, 120 - 160 z / y). The particles' material
/// adds a white texture times the vertex colour and alpha.
class ParticlePixels : public test::GlRender {
 public:
  ParticlePixels() : GlRender(kWidth, kHeight) {
    g_renderStateCache.currentShader = nullptr;  // an earlier rig's freed material
    Start();
    g_render = renderObject;
    camera.SetProjection(90.0f, float(kWidth), float(kHeight), 0.0f, 0.0f);
    g_scene.frustum = &frustum;
    g_scene.shaderMng = &shaders;
    g_scene.camera = &camera;
    g_scene.particles = &particles;
    particles.SetDetail(2);
    test::WriteScript(dir, "gl.shader",
                      "gl/add\n{\n cull none\n {\n  map gl/white\n  blendfunc GL_SRC_ALPHA GL_ONE\n"
                      "  rgbgen vertex\n  alphagen vertex\n }\n}\n");
  }
  ~ParticlePixels() override {
    particles.DestroyAllSystems();
    g_renderStateCache.currentShader = nullptr;  // the rig's materials go with it
    g_scene = N_SceneAccess{};
    g_render = nullptr;
  }

  /// A system of one emitter of the template (its lines and the material), started at
  /// (0, 1000, 0).
  N_ParticleEmitter& Emitter(const std::string& lines) {
    // White: the template's own default colour is 1 of 255.
    test::WriteScript(dir, "gl.particle", "t\n{\n color 255 255 255 255 255 255\n" + lines + "\n shader gl/add\n}\n");
    particles.ParseScript((dir.Path() + "/data/scripts/gl.particle").c_str());
    shaders.LoadShaders();
    N_Shader* material = shaders.GetShader(particles.FindShader("t")->shader);
    EXPECT_NE(material, nullptr);
    *material->stages[0]->textures[0] = *Texture(1, 1, {0xFFFFFFFF});
    N_ParticleSystem* system = particles.CreateSystem();
    N_ParticleEmitter* emitter = system->AddEmitter(particles.CreateEmitter("t"));
    emitter->position = {0.0f, 1000.0f, 0.0f};
    Srand(1);
    system->Start(0);
    return *emitter;
  }
  /// One frame's update, then the frame drawn over black; the back buffer is read
  /// before the present.
  void Frame(double seconds) {
    time.Set(seconds);
    particles.UpdateAll();
    render().SetClearColorRGBA(0.0f, 0.0f, 0.0f, 1.0f);
    render().BeginFrame();
    frustum.Build(camera);
    render().SetupCamera(&camera, 1);
    particles.RenderAll();
    pixels = Pixels();
    render().EndFrame();
  }
  /// Lit pixels inside and outside the rectangle [left, right] x [top, bottom].
  std::pair<int, int> LitInsideAndOutside(int left, int top, int right, int bottom) const {
    int inside = 0, outside = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (pixels[std::size_t(y * kWidth + x)] == 0) continue;
        (x >= left && x <= right && y >= top && y <= bottom ? inside : outside) += 1;
      }
    }
    return {inside, outside};
  }
  /// The sum of every pixel's three channels.
  long Brightness() const {
    long sum = 0;
    for (const DWORD p : pixels) sum += long(p & 0xFF) + long((p >> 8) & 0xFF) + long((p >> 16) & 0xFF);
    return sum;
  }

  test::FakeShaderHost host;
  N_ShaderMng shaders{64, host};
  N_Frustum frustum;
  N_Camera camera;
  N_ParticleMng particles;
  test::TestFrameTime time;
  std::vector<DWORD> pixels;
};

TEST(ParticlePixels, SpritesAndTurnedQuadsLandInsideTheirProjectedEmissionBox) {
  // The box: x -150..150, z -100..100 at y 1000, so pixels x 136..184, y 104..136; the
  // particles reach 3 pixels beyond its edge.
  const struct {
    const char* lines;
    bool sprites;
  } cases[] = {{"", true}, {"rotate 45", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    ParticlePixels rig;
    N_ParticleEmitter& emitter =
        rig.Emitter(std::string("type box 150 0 100\nnumparticles 200\nsize 20\nlive 100 100\n") + c.lines);
    EXPECT_EQ(emitter.DrawsPointSprites(), c.sprites);
    rig.Frame(0.1);
    const auto [inside, outside] = rig.LitInsideAndOutside(132, 100, 188, 140);
    EXPECT_GT(inside, 200);
    EXPECT_EQ(outside, 0);
  }
}

TEST(ParticlePixels, AFadeInGrowsBrighterOverItsTwoSeconds) {
  ParticlePixels rig;
  // Half the slots spawn fresh at the start; the other half, pre-aged, are mostly past
  // their fade and stay dark.
  rig.Emitter("type box 150 0 100\nnumparticles 40\nemissionrate 20 20\nsize 30\nlive 100 100\nfadein 2");
  long previous = -1;
  for (const double t : {0.5, 1.0, 1.5, 2.0, 2.5}) {
    SCOPED_TRACE(t);
    rig.Frame(t);  // the alpha of the age before this frame's step
    const long brightness = rig.Brightness();
    EXPECT_GT(brightness, previous);
    previous = brightness;
  }
  EXPECT_GT(previous, 0);
}

TEST(ParticlePixels, ATemplateAboveTheDetailSettingLeavesTheBackground) {
  for (const std::uint8_t detail : {1, 2}) {
    SCOPED_TRACE(int(detail));
    ParticlePixels rig;
    rig.particles.SetDetail(detail);
    rig.Emitter("type box 150 0 100\nnumparticles 100\nsize 20\nlive 100 100\ndetail 2");
    rig.Frame(0.1);
    rig.Frame(0.2);
    EXPECT_EQ(rig.Brightness() > 0, detail == 2);
  }
}

}  // namespace
