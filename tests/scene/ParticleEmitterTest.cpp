// Particle emitters on the recording renderer, with the generator seeded: starting,
// the frame's simulation, culling, the vertex build and the draw.
#include "core/Random.h"
#include "render/VertexBuffer.h"
#include "scene/ParticleEmitter.h"
#include "scene/SceneAccess.h"
#include "tests/scene/ParticleTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

/// A template made from the lines and one started emitter of it at the position.
std::unique_ptr<N_ParticleEmitter> Started(test::ParticleRig& rig, const std::string& lines,
                                           const N_Vector3& position = {0.0f, 1000.0f, 0.0f}) {
  rig.Template("t", lines + "\nshader particles/test");
  rig.LoadShaders();
  auto emitter = rig.particles.CreateEmitter("t");
  EXPECT_NE(emitter, nullptr);
  if (!emitter) return nullptr;
  emitter->position = position;
  emitter->Start();
  return emitter;
}

std::vector<N_Vector3> Positions(const N_ParticleEmitter& emitter) {
  std::vector<N_Vector3> positions;
  for (const N_Particle& p : emitter.Particles()) positions.push_back(p.position);
  return positions;
}

/// The device's draws: "DrawPrimitive(...)" and "DrawIndexedPrimitive(...)".
std::vector<std::string> Draws(test::ParticleRig& rig) {
  std::vector<std::string> draws = rig.Calls("DrawPrimitive(");
  for (const std::string& call : rig.Calls("DrawIndexedPrimitive(")) draws.push_back(call);
  return draws;
}

TEST(ParticleEmitter, ARunOnceTemplateSpawnsItsCountAndFinishesAfterItsLastParticle) {
  test::ParticleRig rig;
  Srand(1);
  auto emitter = Started(rig, "numparticles 10\nlive 0.5 1\nrestart 0");
  EXPECT_EQ(test::LiveCount(*emitter), 10u);
  EXPECT_FALSE(emitter->IsEmitting());
  bool finished = false;
  int updates = 0;
  while (!finished && updates++ < 100) {
    const std::uint32_t before = test::LiveCount(*emitter);
    finished = rig.Step(*emitter, 0.05);
    EXPECT_EQ(finished, before == 0) << "update " << updates;
  }
  EXPECT_TRUE(finished);
  EXPECT_FALSE(emitter->IsAlive());
  EXPECT_FALSE(rig.Step(*emitter, 0.05)) << "a finished emitter stays quiet";
  emitter->Start();
  EXPECT_EQ(test::LiveCount(*emitter), 10u) << "and starts again";
}

TEST(ParticleEmitter, ATemplateAboveTheManagersDetailIsStartedButNeitherMovesNorDraws) {
  const struct {
    std::uint8_t managerDetail;
    bool runs;
  } cases[] = {{1, false}, {2, true}, {3, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.managerDetail));
    test::ParticleRig rig;
    rig.particles.SetDetail(c.managerDetail);
    Srand(1);
    auto emitter = Started(rig, "numparticles 5\nvelocity 10 0 0 20 0 0\nlive 5 5\ndetail 2");
    EXPECT_TRUE(emitter->IsInitialised());
    EXPECT_EQ(emitter->GetParticleCount(), 5u);
    EXPECT_NE(emitter->Surface().vertexBuffer, nullptr);
    const std::vector<N_Vector3> before = Positions(*emitter);
    rig.ForgetCalls();
    EXPECT_FALSE(rig.Step(*emitter, 0.1));
    emitter->Render();
    EXPECT_EQ(Positions(*emitter)[0].x != before[0].x, c.runs);
    EXPECT_EQ(Draws(rig).size(), c.runs ? 1u : 0u);
  }
}

TEST(ParticleEmitter, TheEmissionRangeSetsTheCountSpawnedAtAStart) {
  const struct {
    const char* rate;
    std::uint32_t fewest, most;
  } cases[] = {{"", 30, 30}, {"emissionrate 0 0", 30, 30}, {"emissionrate 1 1", 1, 2}, {"emissionrate 40 50", 30, 30}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    test::ParticleRig rig;
    Srand(1);
    auto emitter = Started(rig, std::string("numparticles 30\nlive 5 5\n") + c.rate);
    EXPECT_GE(test::LiveCount(*emitter), c.fewest);
    EXPECT_LE(test::LiveCount(*emitter), c.most);
  }
}

TEST(ParticleEmitter, ALineEmitterFillsTheBoxSpannedByItsLineVector) {
  test::ParticleRig rig;
  Srand(1);
  rig.Template("t", "type line\nnumparticles 200\nlive 5 5");
  auto emitter = rig.particles.CreateEmitter("t");
  const N_Vector3 a{100.0f, 1000.0f, -50.0f}, b{300.0f, 1200.0f, 50.0f};
  emitter->position = a;
  emitter->lineVector = b - a;
  emitter->Start();
  int offTheLine = 0;
  for (const N_Particle& p : emitter->Particles()) {
    EXPECT_GE(p.position.x, a.x);
    EXPECT_LE(p.position.x, b.x);
    EXPECT_GE(p.position.y, a.y);
    EXPECT_LE(p.position.y, b.y);
    EXPECT_GE(p.position.z, a.z);
    EXPECT_LE(p.position.z, b.z);
    // Each axis has a factor of its own: most points are not on the segment.
    const float fx = (p.position.x - a.x) / 200.0f, fz = (p.position.z - a.z) / 100.0f;
    if (std::fabs(fx - fz) > 0.05f) ++offTheLine;
  }
  EXPECT_GT(offTheLine, 100);
}

TEST(ParticleEmitter, LiveParticlesAreDrawnAsSpritesOrQuadsAndDeadOnesNot) {
  const struct {
    const char* lines;
    bool sprites;
  } cases[] = {{"", true}, {"rotate 30", false}, {"rotate 0 0", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    test::ParticleRig rig;
    Srand(1);
    auto emitter = Started(rig, std::string("numparticles 20\nlive 0.2 2\nrestart 0\n") + c.lines);
    EXPECT_EQ(emitter->DrawsPointSprites(), c.sprites);
    // Until some have died and some live.
    for (int i = 0; i < 100 && test::LiveCount(*emitter) > 12; ++i) rig.Step(*emitter, 0.05);
    const std::uint32_t live = test::LiveCount(*emitter);
    ASSERT_GT(live, 0u);
    ASSERT_LT(live, 20u);
    EXPECT_EQ(emitter->BuiltCount(), live);
    rig.ForgetCalls();
    emitter->Render();
    const std::string expected = c.sprites ? "DrawPrimitive(1, 0, " + std::to_string(live) + ")"
                                           : "DrawIndexedPrimitive(4, 0, 0, " + std::to_string(live * 4) + ", 0, " +
                                                 std::to_string(live * 2) + ")";
    EXPECT_EQ(Draws(rig), std::vector<std::string>{expected});
  }
}

TEST(ParticleEmitter, QuadsFaceTheCameraTurnedByTheirAngles) {
  test::ParticleRig rig;
  // The camera looks along +y with x to the right and z up.
  ASSERT_NEAR(rig.camera.axisX.x, 1.0f, 1e-6f);
  ASSERT_NEAR(rig.camera.axisY.z, 1.0f, 1e-6f);
  Srand(1);
  auto emitter = Started(rig, "numparticles 3\nlive 5 5\nsize 10\nrotate 90");
  rig.Step(*emitter, 1e-6);
  std::vector<N_SurfaceVertex> vertices(12);
  emitter->Surface().vertexBuffer->Read(0, 12 * sizeof(N_SurfaceVertex), vertices.data());
  for (std::size_t slot = 0; slot < 3; ++slot) {
    const N_Particle& p = emitter->Particles()[slot];
    const float c = std::cos(p.angle), s = std::sin(p.angle);
    // The right and up axes turned in the view plane, times the half size 5.
    const N_Vector3 a{5.0f * c, 0.0f, 5.0f * s}, b{-5.0f * s, 0.0f, 5.0f * c};
    const struct {
      N_Vector3 at;
      float u, v;
    } corners[4] = {{p.position - a - b, 0, 1}, {p.position + a - b, 1, 1}, {p.position + a + b, 1, 0},
                    {p.position - a + b, 0, 0}};
    for (std::size_t k = 0; k < 4; ++k) {
      const N_SurfaceVertex& vertex = vertices[slot * 4 + k];
      EXPECT_NEAR(vertex.position[0], corners[k].at.x, 1e-3f) << slot << " " << k;
      EXPECT_NEAR(vertex.position[1], corners[k].at.y, 1e-3f) << slot << " " << k;
      EXPECT_NEAR(vertex.position[2], corners[k].at.z, 1e-3f) << slot << " " << k;
      EXPECT_EQ(vertex.uv0[0], corners[k].u);
      EXPECT_EQ(vertex.uv0[1], corners[k].v);
      EXPECT_EQ(vertex.colour, p.color);
    }
  }
}

TEST(ParticleEmitter, AFadeInRampsItsAlphaOverTheFadeTime) {
  test::ParticleRig rig;
  Srand(1);
  // One slot pre-aged at the start, the other spawned fresh.
  auto emitter = Started(rig, "numparticles 2\nemissionrate 1 1\nlive 10 10\nfadein 2");
  const auto fresh = std::find_if(emitter->Particles().begin(), emitter->Particles().end(),
                                  [](const N_Particle& p) { return p.age == 0.0f; });
  ASSERT_NE(fresh, emitter->Particles().end());
  const std::size_t slot = std::size_t(fresh - emitter->Particles().begin());
  EXPECT_EQ(test::AlphaOf(fresh->color), 0u);
  std::uint32_t previous = 0;
  for (int frame = 1; frame <= 121; ++frame) {
    const float age = emitter->Particles()[slot].age;  // the alpha is set from the age before the step
    rig.time.Set(frame / 60.0);
    emitter->Update();
    const std::uint32_t alpha = test::AlphaOf(emitter->Particles()[slot].color);
    EXPECT_GE(alpha, previous) << "frame " << frame;
    previous = alpha;
    if (std::fabs(age - 1.0f) < 1e-4f) {
      EXPECT_EQ(alpha, 127u);
    }
  }
  EXPECT_GE(previous, 250u);
}

TEST(ParticleEmitter, AnUpdateRespawnsAtMostCountPlusOneDeadSlots) {
  test::ParticleRig rig;
  Srand(1);
  auto emitter = Started(rig, "numparticles 50\nemissionrate 3 3\nlive 0.1 0.1");
  std::uint32_t most = 0;
  for (int frame = 0; frame < 20; ++frame) {
    rig.Step(*emitter, 0.15);  // every living particle dies in each step
    std::uint32_t fresh = 0;
    for (const N_Particle& p : emitter->Particles()) fresh += p.age == 0.0f && p.IsAlive() ? 1 : 0;
    most = std::max(most, fresh);
  }
  EXPECT_EQ(most, 4u);
}

TEST(ParticleEmitter, AnUnseenEmitterStopsAndAnOrientedOneDropsItsParticles) {
  const struct {
    bool oriented;
    N_Vector3 moveTo;
    bool inView;
    bool dropped;
  } cases[] = {
      {true, {0.0f, 1000.0f, 0.0f}, true, false},   // still in view
      {true, {0.0f, -5000.0f, 0.0f}, false, true},  // behind the camera
      {false, {0.0f, -5000.0f, 0.0f}, false, false},
      {true, {0.0f, 40000.0f, 0.0f}, false, true},  // beyond "LODWorldDistance" (20000)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.oriented) + " " + std::to_string(c.moveTo.y));
    test::ParticleRig rig;
    Srand(1);
    auto emitter = Started(rig, "numparticles 10\nvelocity -10 -10 -10 10 10 10\nlive 50 50\nkillifunseen");
    if (c.oriented) emitter->SetOrientation(N_Matrix3{});
    rig.Step(*emitter, 0.1);
    ASSERT_TRUE(emitter->IsInView());
    const std::uint32_t live = test::LiveCount(*emitter);
    ASSERT_GT(live, 0u);
    emitter->position = c.moveTo;
    EXPECT_FALSE(rig.Step(*emitter, 0.1));
    EXPECT_EQ(emitter->IsInView(), c.inView);
    if (c.dropped) {
      EXPECT_EQ(test::LiveCount(*emitter), 0u);
    } else if (!c.inView) {
      EXPECT_EQ(test::LiveCount(*emitter), live) << "frozen";
    } else {
      EXPECT_GE(test::LiveCount(*emitter), live);
    }
    rig.ForgetCalls();
    emitter->Render();
    EXPECT_EQ(Draws(rig).size(), c.inView ? 1u : 0u);
  }
}

TEST(ParticleEmitter, RespawnedParticlesFollowTheCameraOnlyWithMoveWithParent) {
  for (const bool follows : {true, false}) {
    SCOPED_TRACE(follows);
    test::ParticleRig rig;
    Srand(1);
    auto emitter =
        Started(rig, std::string("type box 100 100 100\nnumparticles 4\nlive 1 1\n") + (follows ? "movewithparent" : ""));
    rig.Step(*emitter, 1.5);  // all die
    rig.Step(*emitter, 1e-6);  // and respawn
    const std::vector<N_Vector3> before = Positions(*emitter);
    rig.camera.position.x += 1000.0f;
    rig.Step(*emitter, 1.5);
    rig.Step(*emitter, 1e-6);
    const std::vector<N_Vector3> after = Positions(*emitter);
    for (std::size_t i = 0; i < before.size(); ++i) {
      EXPECT_FLOAT_EQ(after[i].x - before[i].x, follows ? 1000.0f : 0.0f);
      EXPECT_FLOAT_EQ(after[i].y, before[i].y);
    }
  }
}

TEST(ParticleEmitter, RespawnedVelocitiesAreTheTurnedMaximumOrTheSlotsOwn) {
  for (const bool oriented : {true, false}) {
    SCOPED_TRACE(oriented);
    test::ParticleRig rig;
    Srand(1);
    auto emitter = Started(rig, "numparticles 6\nvelocity 1 2 3 10 20 30\nlive 1 1");
    N_Matrix3 quarterTurn;  // x -> y, y -> -x
    quarterTurn.RotationZ(1.5707963f);
    if (oriented) emitter->SetOrientation(quarterTurn);
    rig.Step(*emitter, 1.5);
    rig.Step(*emitter, 1e-6);
    for (const N_Particle& p : emitter->Particles()) {
      const N_Vector3 expected = oriented ? N_Vector3{-20.0f, 10.0f, 30.0f} : p.initialVelocity;
      EXPECT_NEAR(p.velocity.x, expected.x, 1e-4f);
      EXPECT_NEAR(p.velocity.y, expected.y, 1e-4f);
      EXPECT_NEAR(p.velocity.z, expected.z, 1e-4f);
    }
  }
}

TEST(ParticleEmitter, WithoutACameraNothingIsBuiltOrDrawnAndNoOffsetIsAdded) {
  test::ParticleRig rig;
  rig.camera.position = {500.0f, 0.0f, 0.0f};
  g_scene.camera = nullptr;
  Srand(1);
  auto emitter = Started(rig, "numparticles 3\nlive 5 5\nmovewithparent");
  for (const N_Particle& p : emitter->Particles()) EXPECT_EQ(p.position.x, 0.0f);
  rig.ForgetCalls();
  rig.Step(*emitter, 0.1);
  emitter->Render();
  EXPECT_EQ(emitter->BuiltCount(), 0u);
  EXPECT_TRUE(rig.Calls("Lock(").empty());
  EXPECT_TRUE(Draws(rig).empty());
}

TEST(ParticleEmitter, SlotsAreCappedToWhatOneDrawCanIndex) {
  const struct {
    const char* lines;
    std::uint32_t slots;
    bool reported;
  } cases[] = {{"numparticles 0", 0, false},
               {"numparticles 20000", 20000, false},
               {"numparticles 20000\nrotate 5", 10922, true},
               {"numparticles 65535\nrotate 5", 10922, true},
               {"numparticles 70000", 65535, false}};  // the script's reader says it
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    test::ParticleRig rig;
    Srand(1);
    auto first = Started(rig, std::string("live 1 2\n") + c.lines);
    auto second = rig.particles.CreateEmitter("t");
    second->Start();
    EXPECT_EQ(first->GetParticleCount(), c.slots);
    const std::string log = rig.rig.NewLog();
    const std::size_t at = log.find("!!! Particle shader 't'");
    EXPECT_EQ(at != std::string::npos, c.reported);
    if (c.reported) {
      EXPECT_EQ(log.find("!!! Particle shader 't'", at + 1), std::string::npos) << "once a template";
    }
    // An empty template makes no buffers and its frames do no buffer work.
    EXPECT_EQ(first->Surface().vertexBuffer != nullptr, c.slots > 0);
    rig.ForgetCalls();
    rig.Step(*first, 0.1);
    first->Render();
    if (c.slots == 0) {
      EXPECT_TRUE(rig.Calls("Lock(").empty());
    } else {
      const std::uint32_t vertices = first->DrawsPointSprites() ? c.slots : c.slots * 4;
      EXPECT_EQ(first->Surface().vertexBuffer->GetSize(), vertices * 44u);
    }
  }
}

}  // namespace
