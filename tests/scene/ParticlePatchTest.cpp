// The skiers' trail patches over a running game that answers a ground triangle (the
// flat ground z = 0, view point straight up): stamping by distance and ground, the ring
// of 80 quads, fading, drawing, and the buffer that keeps earlier quads.
#include "core/VarMng.h"
#include "render/IndexBuffer.h"
#include "render/VertexBuffer.h"
#include "scene/ParticlePatch.h"
#include "scene/SceneAccess.h"
#include "tests/scene/ParticleTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// A patch of the material "trail" for athlete 7 with the game running.
class PatchTest : public ::testing::Test {
 protected:
  PatchTest() {
    g_scene.game = &game;
    patch.athleteId = 7;
  }
  ~PatchTest() override { g_scene.game = nullptr; }

  /// One frame of dt seconds with the skier's bones at a and b (b: 5 units above a).
  void Frame(const N_Vector3& a, double dt = 0.01) {
    rig.time.Advance(dt);
    patch.Update(a, a + N_Vector3{0.0f, 0.0f, 5.0f});
  }
  std::vector<N_SurfaceVertex> Vertices() {
    std::vector<N_SurfaceVertex> vertices(N_ParticlePatch::kVertices);
    patch.Surface().vertexBuffer->Read(0, N_ParticlePatch::kVertices * sizeof(N_SurfaceVertex), vertices.data());
    return vertices;
  }
  std::uint32_t Stamps() const { return patch.Next() / 4; }

  test::ParticleRig rig;
  test::GroundGame game;
  N_ParticlePatch patch{"trail"};
};

TEST_F(PatchTest, ItStartsInvisibleWithItsIndexPatternWrittenOnce) {
  EXPECT_EQ(N_ParticlePatch("x").athleteId, 666);
  EXPECT_EQ(N_ParticlePatch("x").active, 0);
  EXPECT_EQ(patch.Last().x, N_ParticlePatch::kNoStamp);
  std::vector<std::uint16_t> indices(N_ParticlePatch::kIndices);
  patch.Surface().indexBuffer->Read(0, N_ParticlePatch::kIndices * 2, indices.data());
  const std::uint16_t pattern[6] = {0, 1, 2, 2, 1, 3};
  for (std::uint32_t i = 0; i < N_ParticlePatch::kIndices; ++i) {
    ASSERT_EQ(indices[i], pattern[i % 6] + 4 * (i / 6)) << i;
  }
  for (const N_SurfaceVertex& vertex : Vertices()) ASSERT_EQ(test::AlphaOf(vertex.colour), 0u);
  EXPECT_EQ(rig.shaders.GetEntry(patch.Surface().shader)->name, "trail");
}

TEST_F(PatchTest, AQuadIsStampedOnTheGroundEachTimeTheSkierIsMoreThan60UnitsOn) {
  const struct {
    const char* what;
    N_Vector3 a;
    float bHeight;  ///< b above a
    bool active;
    std::uint32_t stamps;
  } steps[] = {
      {"inactive: the position is only kept", {0, 0, 0}, 5, false, 0},
      {"inactive, farther on", {500, 0, 0}, 5, false, 0},
      {"switched on here", {500, 0, 0}, 5, true, 0},
      {"exactly 60 from where it was switched on", {560, 0, 0}, 5, true, 0},
      {"more than 60", {561, 0, 0}, 5, true, 1},
      {"59 from the last stamp", {620, 0, 0}, 5, true, 1},
      {"in the air: b 11 above the ground", {700, 0, 0}, 11, true, 1},
      {"a below the ground by more than 10", {700, 0, -10.5f}, 5, true, 1},
      {"measured again from the last stamp", {700, 0, 0}, 5, true, 2},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    patch.active = step.active ? 1 : 0;
    rig.time.Advance(0.01);
    patch.Update(step.a, step.a + N_Vector3{0.0f, 0.0f, step.bHeight});
    EXPECT_EQ(Stamps(), step.stamps);
  }
  EXPECT_EQ(patch.Last().x, 700.0f);
  // The quad of the first stamp: 2 units wide across the way (view point up x way along x).
  const std::vector<N_SurfaceVertex> v = Vertices();
  const float expected[4][5] = {{561, 1, 0, 1, 0}, {561, -1, 0, 0, 0}, {561, 1, 5, 1, 1}, {561, -1, 5, 0, 1}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_FLOAT_EQ(v[k].position[0], expected[k][0]) << k;
    EXPECT_FLOAT_EQ(v[k].position[1], expected[k][1]) << k;
    EXPECT_FLOAT_EQ(v[k].position[2], expected[k][2]) << k;
    EXPECT_EQ(v[k].uv0[0], expected[k][3]) << k;
    EXPECT_EQ(v[k].uv0[1], expected[k][4]) << k;
    EXPECT_EQ(v[k].colour & 0xFFFFFFu, 0xFFFFFFu) << k;
    EXPECT_GE(test::AlphaOf(v[k].colour), 250u) << k << ": stamped opaque, faded a little since";
  }
}

TEST_F(PatchTest, OnlyTheRunningGamesAthleteGivesTheGround) {
  patch.active = 1;
  patch.athleteId = 3;
  Frame({0, 0, 0});
  Frame({100, 0, 0});
  EXPECT_EQ(Stamps(), 0u);
  EXPECT_EQ(game.asked, std::vector<std::int32_t>{3}) << "the id goes to the game unchanged";
  // Without a running game nothing happens at all.
  g_scene.game = nullptr;
  patch.athleteId = 7;
  rig.ForgetCalls();
  Frame({300, 0, 0});
  patch.Render();
  EXPECT_EQ(Stamps(), 0u);
  EXPECT_EQ(patch.Last().x, 0.0f);
  EXPECT_TRUE(rig.Calls("Lock(").empty());
  EXPECT_TRUE(rig.render.draws.empty());
}

TEST_F(PatchTest, The81stStampOverwritesTheFirstQuad) {
  patch.active = 1;
  Frame({0, 0, 0});
  for (int stamp = 1; stamp <= 81; ++stamp) {
    Frame({100.0f * stamp, 0, 0});
    ASSERT_EQ(Stamps(), stamp <= 80 ? std::uint32_t(stamp) : 1u) << stamp;
  }
  const std::vector<N_SurfaceVertex> v = Vertices();
  EXPECT_FLOAT_EQ(v[0].position[0], 8100.0f);
  EXPECT_FLOAT_EQ(v[4].position[0], 200.0f) << "the second quad stays";
  EXPECT_FLOAT_EQ(v[319].position[0], 8000.0f);
}

TEST_F(PatchTest, StampedQuadsFadeOutOverThreeSecondsAndAreDrawnOnlyWithPlayersParticles) {
  rig.LoadShaders();
  patch.active = 1;
  Frame({0, 0, 0});
  Frame({100, 0, 0});
  ASSERT_EQ(Stamps(), 1u);
  const struct {
    double dt;
    int playersParticles;
    std::uint32_t alpha;
    bool drawn;
  } frames[] = {{1.0, 1, 178, true}, {1e-6, 0, 178, false}, {0.5, 0, 140, false}, {2.0, 1, 0, true}};
  for (const auto& f : frames) {
    SCOPED_TRACE(f.dt);
    rig.rig.core.vars->SetInt("PlayersParticles", f.playersParticles, 0);
    Frame({100, 0, 0}, f.dt);  // standing: no new stamp
    EXPECT_EQ(test::AlphaOf(Vertices()[2].colour), f.alpha);
    EXPECT_EQ(Vertices()[2].colour & 0xFFFFFF, 0xFFFFFFu) << "the colour stays";
    EXPECT_EQ(test::AlphaOf(Vertices()[4].colour), 0u) << "never stamped";
    rig.ForgetCalls();
    patch.Render();
    ASSERT_EQ(rig.render.draws.size(), f.drawn ? 1u : 0u);
    if (f.drawn) {
      EXPECT_EQ(rig.render.draws[0], &patch.Surface());
      EXPECT_EQ(rig.render.worlds.back().m[12], 0.0f) << "the identity world";
    }
  }
  EXPECT_EQ(patch.Fade(0), 0.0f) << "not below 0";
}

TEST_F(PatchTest, EachUpdateKeepsTheQuadsOfEarlierFrames) {
  patch.active = 1;
  Frame({0, 0, 0});
  rig.ForgetCalls();
  for (int stamp = 1; stamp <= 3; ++stamp) Frame({100.0f * stamp, 0, 0});
  const std::string name = rig.rig.device->NameOf(patch.Surface().vertexBuffer->DeviceBuffer());
  const std::vector<std::string> locks = rig.Calls("Lock(" + name + ",");
  ASSERT_EQ(locks.size(), 3u);
  for (const std::string& lock : locks) {
    const unsigned flags = std::stoul(lock.substr(lock.rfind("0x")), nullptr, 16);
    EXPECT_EQ(flags & 0x2000u, 0u) << lock << ": no discard";
  }
  const std::vector<N_SurfaceVertex> v = Vertices();
  for (int quad = 0; quad < 3; ++quad) {
    for (int k = 0; k < 4; ++k) {
      const N_SurfaceVertex& vertex = v[std::size_t(quad * 4 + k)];
      EXPECT_FLOAT_EQ(vertex.position[0], 100.0f * (quad + 1)) << quad << " " << k;
      EXPECT_FLOAT_EQ(vertex.position[1], k % 2 == 0 ? 1.0f : -1.0f) << quad << " " << k;
      EXPECT_FLOAT_EQ(vertex.position[2], k < 2 ? 0.0f : 5.0f) << quad << " " << k;
    }
  }
}

TEST(ParticlePatch, WithoutBuffersItDoesNothing) {
  test::ParticleRig rig;
  test::GroundGame game;
  g_scene.game = &game;
  N_Render* render = g_render;
  g_render = nullptr;  // headless: no buffers are made
  N_ParticlePatch patch("trail");
  g_render = render;
  patch.active = 1;
  for (const float x : {0.0f, 100.0f, 200.0f}) {
    rig.time.Advance(0.1);
    patch.Update({x, 0, 0}, {x, 0, 0});
  }
  patch.Render();
  EXPECT_EQ(patch.Surface().vertexBuffer, nullptr);
  EXPECT_EQ(patch.Next(), 0u);
  EXPECT_TRUE(game.asked.empty());
  EXPECT_TRUE(rig.render.draws.empty());
  g_scene.game = nullptr;
}

}  // namespace
