// Lens flares on the recording renderer: their buffers and shaders, the sprite table,
// the intensity and fade, the occlusion answer read a frame late, the sprites' quads
// and the glare. The rig's camera stands at the origin looking along +y (near 40, so
// the flare plane lies at 42).
#include "render/IndexBuffer.h"
#include "render/OcclusionQuery.h"
#include "render/VertexBuffer.h"
#include "render/VertexBufferBinding.h"
#include "scene/LensFlare.h"
#include "tests/scene/LevelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kDegrees = 3.14159265f / 180.0f;

/// The rig with one light of the level and its flare set up and initialised.
struct FlareRig {
  explicit FlareRig(std::uint8_t glare = 1,
                    platform::d3d9::RecordingDirect3DConfig config = test::RecordingRender::DefaultConfig())
      : rig(std::move(config)) {
    rig.build().Light("lf_sun", {0, 1000, 0}, {}, {2.0f, 0.5f, 0.25f});
    flare.AttachLight(&rig.level().lights[0], glare);
    flare.Setup();
    flare.InitSprites();
  }
  /// The light at the angle to the right of the view, 1000 units away.
  void LightAt(float degrees) {
    rig.level().lights[0].position = {1000.0f * std::sin(degrees * kDegrees), 1000.0f * std::cos(degrees * kDegrees),
                                      0.0f};
  }
  /// A frame of 1/60 s: the time moves, then the flare updates.
  void Frame() {
    rig.time.Advance(1.0 / 60.0);
    flare.Update();
  }
  std::vector<N_SurfaceVertex> Vertices() {
    std::vector<N_SurfaceVertex> v(N_LensFlare::kVertices);
    flare.VertexBuffer()->Read(0, std::uint32_t(v.size() * sizeof(N_SurfaceVertex)), v.data());
    return v;
  }

  test::LevelRig rig;
  N_LensFlare flare;
};

TEST(LensFlare, SetupMakesItsBuffersAndAddsItsSixShaders) {
  FlareRig f;
  ASSERT_NE(f.flare.VertexBuffer(), nullptr);
  EXPECT_EQ(f.flare.VertexBuffer()->GetStride(), 44u);
  EXPECT_EQ(f.flare.VertexBuffer()->GetSize(), 40u * 44u);
  EXPECT_NE(f.flare.VertexBuffer()->GetUsage() & D3DUSAGE_DYNAMIC, 0u);
  ASSERT_NE(f.flare.IndexBuffer(), nullptr);
  std::uint16_t indices[6] = {};
  f.flare.IndexBuffer()->Read(0, sizeof indices, indices);
  EXPECT_EQ(std::vector<std::uint16_t>(indices, indices + 6), (std::vector<std::uint16_t>{0, 1, 2, 0, 2, 3}));
  ASSERT_NE(f.flare.Binding(), nullptr);
  EXPECT_EQ(f.flare.Binding()->Streams().at(0), f.flare.VertexBuffer());
  EXPECT_NE(f.flare.Query(), nullptr);
  for (int i = 0; i < N_LensFlare::kSprites; ++i) {
    const N_MeshSurface& s = f.flare.Sprite(i).surface;
    EXPECT_EQ(s.type, 1);
    EXPECT_EQ(s.vertexCount, 4u);
    EXPECT_EQ(s.indexCount, 6);
    EXPECT_EQ(s.baseVertex, 4 * i);
    EXPECT_EQ(s.startIndex, 0u);
    EXPECT_EQ(s.vertexBuffer, f.flare.VertexBuffer());
    EXPECT_EQ(s.indexBuffer, f.flare.IndexBuffer());
    EXPECT_EQ(s.binding, f.flare.Binding());
  }
  for (int k = 0; k < N_LensFlare::kShaders; ++k) {
    const N_ShaderEntry* entry = f.rig.shaders.GetEntry(f.flare.Shader(k));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(*entry->name, "textures\\common\\flare0" + std::to_string(k));
    EXPECT_EQ(entry->type, 3u);
    EXPECT_EQ(entry->refCount, 1);
  }
  // Set up again: new objects in place of the old, the same references.
  const std::size_t buffers = f.rig.render.VertexBuffers().size();
  f.flare.Setup();
  EXPECT_EQ(f.rig.render.VertexBuffers().size(), buffers);
  for (int k = 0; k < N_LensFlare::kShaders; ++k) EXPECT_EQ(f.rig.shaders.GetEntry(f.flare.Shader(k))->refCount, 1);
}

TEST(LensFlare, InitSpritesGivesTheSpriteTable) {
  FlareRig f;
  const struct {
    int shader;
    float position, size, red;
  } table[] = {{2, 1.3f, 0.04f, 0.6f},  {3, 1.0f, 0.1f, 0.4f},   {1, 0.5f, 0.2f, 0.3f},  {3, 0.2f, 0.05f, 0.3f},
               {0, 0.0f, 0.04f, 0.3f},  {4, -0.25f, 0.07f, 0.5f}, {4, -0.4f, 0.02f, 0.6f}, {4, -0.6f, 0.04f, 0.4f},
               {4, -1.0f, 0.03f, 0.2f}, {5, 1.0f, 0.3f, 2.0f}};
  for (int i = 0; i < N_LensFlare::kSprites; ++i) {
    SCOPED_TRACE(i);
    const N_LensFlareSprite& s = f.flare.Sprite(i);
    EXPECT_EQ(s.surface.shader, f.flare.Shader(table[i].shader));
    EXPECT_EQ(s.position, table[i].position);
    EXPECT_EQ(s.size, table[i].size);
    EXPECT_EQ(s.red, table[i].red);
    EXPECT_EQ(s.green, i == 9 ? 0.5f : 0.0f) << "the last sprite has the light's colour";
    EXPECT_EQ(s.blue, i == 9 ? 0.25f : 0.0f);
  }
}

TEST(LensFlare, IntensityGrowsTowardsTheViewAndTheFadeOverAThirdOfASecond) {
  const std::pair<float, float> cases[] = {
      {0.0f, 0.75f}, {10.0f, (std::cos(10.0f * kDegrees) - 0.95f) * 15.0f}, {18.2f, 0.0f}, {30.0f, 0.0f}};
  for (const auto& [degrees, intensity] : cases) {
    SCOPED_TRACE(degrees);
    FlareRig f;
    f.LightAt(degrees);
    f.Frame();
    EXPECT_TRUE(f.flare.IsVisible());
    EXPECT_NEAR(f.flare.Intensity(), intensity, 1e-4);
  }
  FlareRig f;
  for (int i = 0; i < 10; ++i) f.Frame();
  EXPECT_NEAR(f.flare.Fade(), 0.5f, 1e-3);
  for (int i = 0; i < 9; ++i) f.Frame();
  EXPECT_LT(f.flare.Fade(), 1.0f);
  f.Frame();
  f.Frame();
  EXPECT_EQ(f.flare.Fade(), 1.0f) << "a third of a second of frames, then held";
}

TEST(LensFlare, AQueryThatCountedNoPixelHidesTheFlareOneFrameLate) {
  auto config = test::RecordingRender::DefaultConfig();
  config.device.occlusionResult = 0;
  FlareRig f(1, config);
  f.Frame();  // no earlier query to read: it fades in
  EXPECT_TRUE(f.flare.IsVisible());
  EXPECT_GT(f.flare.Fade(), 0.0f);
  f.Frame();  // the first query counted 0 pixels
  EXPECT_FALSE(f.flare.IsVisible());
  EXPECT_EQ(f.flare.Fade(), 0.0f);
  f.rig.render.Forget();
  f.flare.Render();
  EXPECT_TRUE(f.rig.render.events.empty()) << "nothing is drawn";
}

TEST(LensFlare, ALightBehindTheCameraDrawsNothingAndKeepsItsFade) {
  FlareRig f;
  for (int i = 0; i < 6; ++i) f.Frame();
  const float fade = f.flare.Fade();
  f.LightAt(180.0f);
  for (int i = 0; i < 6; ++i) f.Frame();
  EXPECT_FALSE(f.flare.IsVisible());
  EXPECT_EQ(f.flare.Fade(), fade);
  f.rig.render.Forget();
  f.rig.rig.device->ClearCalls();
  f.flare.Render();
  EXPECT_TRUE(f.rig.render.events.empty());
  EXPECT_EQ(f.rig.rig.device->CallsStartingWith("DrawPrimitiveUP").size(), 0u);
}

TEST(LensFlare, TheSpritesLieAlongTheLineFromTheViewCentreToTheLight) {
  FlareRig f;
  f.rig.level().lights[0].position = {200, 1000, 0};
  f.Frame();  // fade 0.05
  std::vector<N_SurfaceVertex> v = f.Vertices();
  // The plane at 42: its centre (0, 42, 0), the light's point (8.4, 42, 0); the line
  // runs along +x, its perpendicular in the plane is z.
  const struct {
    int sprite;
    float x, size;
  } cases[] = {{4, 0.0f, 0.04f}, {1, 8.4f, 0.1f}, {2, 4.2f, 0.2f}, {8, -8.4f, 0.03f}};
  constexpr float kCorner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  constexpr float kUv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sprite);
    for (int k = 0; k < 4; ++k) {
      const N_SurfaceVertex& vertex = v[std::size_t(4 * c.sprite + k)];
      EXPECT_NEAR(vertex.position[0], c.x + kCorner[k][0] * c.size, 1e-4);
      EXPECT_NEAR(vertex.position[1], 42.0f, 1e-4);
      EXPECT_NEAR(std::fabs(vertex.position[2]), c.size, 1e-4);
      EXPECT_EQ(vertex.uv0[0], kUv[k][0]);
      EXPECT_EQ(vertex.uv0[1], kUv[k][1]);
    }
    EXPECT_NEAR(v[std::size_t(4 * c.sprite)].position[2], -v[std::size_t(4 * c.sprite + 2)].position[2], 1e-5);
  }
  EXPECT_EQ(v[4].colour, 0xFF050000u) << "255 x 0.05 x 0.4, truncated";
  for (int i = 0; i < 20; ++i) f.Frame();
  v = f.Vertices();
  EXPECT_EQ(v[36].colour, 0xFFFF7F3Fu) << "the light's colour: red above 1.0 stays 255";
  EXPECT_EQ(v[0].colour, 0xFF000000u | std::uint32_t(255.0f * 0.6f) << 16) << "sprite 0 at fade 1";
}

TEST(LensFlare, TheGlareTintsTheViewOnlyForAGlareLight) {
  for (const std::uint8_t glare : {std::uint8_t{1}, std::uint8_t{0}}) {
    SCOPED_TRACE(int(glare));
    FlareRig f(glare);
    f.LightAt(5.0f);
    for (int i = 0; i < 10; ++i) f.Frame();
    f.rig.render.Forget();
    f.flare.Render();
    std::vector<std::string> expected(10, "DrawSurface");
    if (glare) expected.insert(expected.end(), {"2D", "DrawQuad", "3D"});
    EXPECT_EQ(f.rig.render.events, expected);
    EXPECT_EQ(f.rig.render.surfaces[9], &f.flare.Sprite(9).surface);
    if (!glare) continue;
    const auto& quad = f.rig.render.quads[0];
    EXPECT_EQ(quad[0], 2.0f);
    EXPECT_EQ(quad[1], 0.5f);
    EXPECT_EQ(quad[2], 0.25f);
    EXPECT_NEAR(quad[3], f.flare.Fade() * f.flare.Intensity(), 1e-6);
    EXPECT_NEAR(quad[3], 0.5f * (std::cos(5.0f * kDegrees) - 0.95f) * 15.0f, 1e-3);
  }
}

}  // namespace
