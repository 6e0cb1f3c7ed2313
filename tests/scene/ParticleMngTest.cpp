// The particle manager: templates by name, systems and their emitters, the counts and
// statistics, the frame's update and render.
#include "core/Random.h"
#include "scene/ParticleMng.h"
#include "scene/ParticleSystem.h"
#include "tests/scene/ParticleTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

TEST(ParticleMng, WithoutScriptsNothingIsCreatedAndTheStatisticsSayNothing) {
  test::ParticleRig rig;
  rig.particles.LoadScripts();  // no "data/scripts" at all
  EXPECT_EQ(rig.particles.CreateEmitter("snow"), nullptr);
  EXPECT_EQ(rig.particles.CreateEmitter(""), nullptr);
  EXPECT_EQ(rig.particles.EmitterCount(), 0u);
  rig.rig.NewLog();
  rig.particles.PrintLoadStats();
  rig.particles.PrintStats();
  EXPECT_EQ(rig.rig.NewLog(),
            "\n--- Total particle scripts loaded: 0\n--- Total particle systems created: 0\n"
            "--- Total particle emitters created: 0\n"
            "\n--- Particle manager statistics:\nParticle shaders: 0\nParticle systems: 0\nParticle emitters: 0\n\n");
}

TEST(ParticleMng, ScriptsAreReadInTheFindersOrderAndTemplatesFoundByTheirExactName) {
  test::ParticleRig rig;
  rig.Script("b.particle", "Snow\n{\n size 4\n}\n");
  rig.Script("a.particle", "Snow\n{\n size 2\n}\nrain\n{\n}\n");
  rig.Script("c.txt", "ignored\n{\n}\n");
  rig.particles.LoadScripts();
  ASSERT_NE(rig.particles.FindShader("Snow"), nullptr);
  EXPECT_FLOAT_EQ(rig.particles.FindShader("Snow")->halfSizeMin, 1.0f) << "a.particle comes first";
  for (const char* other : {"snow", "SNOW", "Snow ", "ignored", "rai"}) {
    EXPECT_EQ(rig.particles.FindShader(other), nullptr) << other;
    EXPECT_EQ(rig.particles.CreateEmitter(other), nullptr) << other;
  }
  EXPECT_EQ(rig.particles.EmitterCount(), 0u) << "failed creations count nothing";
  rig.rig.NewLog();
  rig.particles.PrintLoadStats();
  EXPECT_NE(rig.rig.NewLog().find("--- Total particle scripts loaded: 2\n"), std::string::npos);
}

TEST(ParticleMng, SystemsOwnTheirEmittersAndTheCountFollowsThem) {
  test::ParticleRig rig;
  rig.Template("t", "numparticles 4\nlive 1 1\ntype box 5 6 7");
  N_ParticleSystem* kept = rig.particles.CreateSystem();
  kept->AddEmitter(rig.particles.CreateEmitter("t"));
  ASSERT_EQ(rig.particles.EmitterCount(), 1u);

  N_ParticleSystem* system = rig.particles.CreateSystem();
  for (int i = 0; i < 3; ++i) system->AddEmitter(rig.particles.CreateEmitter("t"));
  EXPECT_EQ(system->AddEmitter(nullptr), nullptr);
  EXPECT_EQ(system->EmitterCount(), 3u);
  EXPECT_EQ(rig.particles.EmitterCount(), 4u);
  N_ParticleSystem* last = rig.particles.CreateSystem();
  rig.particles.DestroySystem(system);
  EXPECT_EQ(rig.particles.EmitterCount(), 1u);
  ASSERT_EQ(rig.particles.SystemCount(), 2u);
  EXPECT_EQ(rig.particles.Systems()[0].get(), kept) << "the others keep their order";
  EXPECT_EQ(rig.particles.Systems()[1].get(), last);

  // Pointers the manager does not hold are left alone.
  N_ParticleSystem stranger;
  rig.particles.DestroySystem(&stranger);
  rig.particles.DestroySystem(nullptr);
  rig.particles.DestroySystem(system);  // already gone
  EXPECT_EQ(rig.particles.SystemCount(), 2u);
  EXPECT_EQ(rig.particles.EmitterCount(), 1u);

  // A clone counts once, with the position and the spawn box of its original.
  N_ParticleEmitter& original = *kept->Emitters()[0];
  original.position = {1.0f, 2.0f, 3.0f};
  const float box[6] = {-10, -10, -10, 30, 10, 50};
  original.SetBox(box);
  auto clone = rig.particles.CloneEmitter(original);
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(rig.particles.EmitterCount(), 2u);
  EXPECT_EQ(&clone->Shader(), &original.Shader());
  EXPECT_FLOAT_EQ(clone->position.z, 3.0f);
  EXPECT_FLOAT_EQ(clone->BoxHalfExtents().x, 20.0f);
  EXPECT_FLOAT_EQ(clone->BoxHalfExtents().z, 30.0f);

  rig.particles.DestroyAllSystems();
  EXPECT_EQ(rig.particles.SystemCount(), 0u);
  EXPECT_EQ(rig.particles.EmitterCount(), 1u) << "the clone was never added to a system";
}

TEST(ParticleMng, AHiddenSystemIsUpdatedButNotDrawn) {
  test::ParticleRig rig;
  rig.Template("t", "numparticles 4\nlive 5 5\nvelocity 1 0 0 1 0 0\nshader p");
  rig.LoadShaders();
  N_ParticleSystem* system = rig.particles.CreateSystem();
  N_ParticleEmitter* emitter = system->AddEmitter(rig.particles.CreateEmitter("t"));
  emitter->position = {0.0f, 1000.0f, 0.0f};
  system->state[0] = system->state[1] = 9;
  system->hidden = 1;
  Srand(1);
  system->Start(5);
  EXPECT_EQ(system->state[0], 0u);
  EXPECT_EQ(system->state[1], 9u);
  EXPECT_EQ(system->startValue, 5u);
  EXPECT_EQ(system->hidden, 0u);
  for (const std::uint32_t hidden : {1u, 0u}) {
    SCOPED_TRACE(hidden);
    system->hidden = hidden;
    const float before = emitter->Particles()[0].position.x;
    rig.ForgetCalls();
    rig.time.Advance(0.5);
    rig.particles.UpdateAll();
    rig.particles.RenderAll();
    EXPECT_FLOAT_EQ(emitter->Particles()[0].position.x, before + 0.5f);
    ASSERT_FALSE(rig.render.calls.empty());
    EXPECT_EQ(rig.render.calls[0], "SetWorldMatrix") << "the identity before any system";
    EXPECT_EQ(rig.render.worlds[0].m[12], 0.0f);
    EXPECT_EQ(rig.Calls("DrawPrimitive(").size(), hidden ? 0u : 1u);
  }
}

TEST(ParticleMng, ASystemStopsTheEmittersThatHaveFinished) {
  test::ParticleRig rig;
  rig.Template("empty", "numparticles 0");  // never anything alive: finished at once
  rig.Template("t", "numparticles 3\nlive 0.1 0.1");
  N_ParticleSystem* system = rig.particles.CreateSystem();
  N_ParticleEmitter* empty = system->AddEmitter(rig.particles.CreateEmitter("empty"));
  N_ParticleEmitter* running = system->AddEmitter(rig.particles.CreateEmitter("t"));
  system->Start(0);
  ASSERT_TRUE(empty->IsEmitting());
  for (int i = 0; i < 3; ++i) {
    rig.time.Advance(0.2);
    rig.particles.UpdateAll();
  }
  EXPECT_FALSE(empty->IsEmitting());
  EXPECT_TRUE(running->IsEmitting());
  EXPECT_TRUE(running->IsAlive());
}

}  // namespace
