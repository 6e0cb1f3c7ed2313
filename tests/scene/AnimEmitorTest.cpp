// A figure's bone emitter: made from a particle template, cloned for an instance,
// following the instance's bones and switched by the frames of its action.
#include "scene/AnimEmitor.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticlePatch.h"
#include "scene/ParticleShader.h"
#include "scene/ParticleSystem.h"
#include "scene/SceneAccess.h"
#include "tests/scene/FigureTestSupport.h"
#include "tests/scene/ParticleTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void ExpectNear(const N_Vector3& a, const N_Vector3& b, const std::string& what) {
  EXPECT_NEAR(a.x, b.x, 1e-4f) << what;
  EXPECT_NEAR(a.y, b.y, 1e-4f) << what;
  EXPECT_NEAR(a.z, b.z, 1e-4f) << what;
}

TEST(AnimEmitor, CreateMakesTheTemplatesEffectAtTheOriginOutsideTheSystem) {
  test::FigureRig rig;
  N_ParticleSystem* system = rig.particles.CreateSystem();
  N_AnimEmitor emitter;
  emitter.Create(system, "spray", "ski_spray");
  ASSERT_NE(emitter.Particles(), nullptr);
  EXPECT_EQ(&emitter.Particles()->Shader(), rig.particles.FindShader("ski_spray"));
  ExpectNear(emitter.Particles()->position, {0, 0, 0}, "at the origin");
  ExpectNear(emitter.Particles()->BoxHalfExtents(), {0.5f, 0.5f, 0.5f}, "the box (0, 0, 0)-(1, 1, 1)");
  EXPECT_EQ(emitter.systemList, system);
  EXPECT_EQ(system->EmitterCount(), 0u) << "a template's own effect is never drawn";
  EXPECT_EXIT(emitter.Create(system, "spray", "nosuch"), testing::ExitedWithCode(255),
              "Failed to create particle emitor spray with shader nosuch");
}

TEST(AnimEmitor, AClonesSharesTheSwitchTableAndHasAnEffectOfItsOwn) {
  test::FigureRig rig;
  N_ParticleSystem* system = rig.particles.CreateSystem();
  const std::vector<N_Matrix4> matrices(4);
  for (const bool patch : {false, true}) {
    N_AnimEmitor model;
    if (patch) {
      model.systemList = system;
      model.SetPatch("lyziari/ski_trail");
    } else {
      model.Create(system, "spray", "ski_spray");
    }
    model.SetName("spray");
    model.kind = N_AnimEmitor::kLine;
    model.boneA = 3;
    model.boneB = 1;
    model.CreateSwitchTable();
    (*model.switchTable)[7] = {1, -5};
    model.boneMatrices = &matrices;
    model.patchValue = 9;
    model.on = 1;
    model.lastFrame = 4;
    const std::size_t inSystem = system->EmitterCount();
    const std::unique_ptr<N_AnimEmitor> clone = model.Clone();
    EXPECT_EQ(clone->kind, N_AnimEmitor::kLine);
    EXPECT_EQ(clone->boneA, 3);
    EXPECT_EQ(clone->boneB, 1);
    EXPECT_EQ(clone->switchTable, model.switchTable) << "shared, not copied";
    EXPECT_EQ(clone->boneMatrices, &matrices);
    EXPECT_EQ(clone->systemList, system);
    EXPECT_EQ(clone->active, 1);
    EXPECT_EQ(clone->on, 0) << "switching starts over";
    EXPECT_EQ(clone->lastFrame, 0);
    EXPECT_EQ(clone->Name(), "");
    EXPECT_EQ(clone->patchValue, N_AnimEmitor::kUnbound);
    if (patch) {
      ASSERT_NE(clone->Patch(), nullptr);
      EXPECT_NE(clone->Patch(), model.Patch());
      EXPECT_EQ(clone->Patch()->athleteId, 9) << "the template's value";
      EXPECT_EQ(clone->PatchName(), "lyziari/ski_trail");
      EXPECT_EQ(system->EmitterCount(), inSystem);
    } else {
      ASSERT_NE(clone->Particles(), nullptr);
      EXPECT_NE(clone->Particles(), model.Particles());
      EXPECT_EQ(&clone->Particles()->Shader(), &model.Particles()->Shader());
      ExpectNear(clone->Particles()->BoxHalfExtents(), model.Particles()->BoxHalfExtents(), "the box");
      ASSERT_EQ(system->EmitterCount(), inSystem + 1);
      EXPECT_EQ(system->Emitters().back().get(), clone->Particles());
    }
  }
}

TEST(AnimEmitor, UpdatePlacesTheEffectAtItsBonesTurnedWithTheFigure) {
  test::FigureRig rig;
  test::GroundGame game;  // the trail patches update while a game runs
  g_scene.game = &game;
  N_ParticleSystem* system = rig.particles.CreateSystem();
  std::vector<N_Matrix4> matrices(3);
  const N_Vector3 joints[3] = {{10, 0, 0}, {20, 5, 0}, {0, 0, 30}};
  for (int b = 0; b < 3; ++b) {
    matrices[std::size_t(b)].m[3] = joints[b].x;
    matrices[std::size_t(b)].m[7] = joints[b].y;
    matrices[std::size_t(b)].m[11] = joints[b].z;
  }
  N_Matrix3 rotation;
  rotation.RotationZ(1.2f);
  const N_Vector3 position{100, 200, 300};
  const auto point = [&](int bone) {
    N_Vector3 turned;
    rotation.Transform(joints[bone], turned);
    return turned + position;
  };
  struct Case {
    const char* what;
    bool patch;
    std::int32_t kind;
  };
  for (const Case& c : {Case{"a plain line", false, N_AnimEmitor::kLine}, Case{"a plain point", false, N_AnimEmitor::kPoint},
                        Case{"a patch line", true, N_AnimEmitor::kLine}, Case{"a patch point", true, N_AnimEmitor::kPoint}}) {
    N_AnimEmitor emitter;
    if (c.patch) {
      emitter.SetPatch("lyziari/ski_trail");
    } else {
      emitter.Create(system, "e", "ski_powder");
    }
    emitter.kind = c.kind;
    emitter.boneA = 1;
    emitter.boneB = c.kind == N_AnimEmitor::kLine ? 2 : 1;
    emitter.boneMatrices = &matrices;
    emitter.Update(rotation, position);
    if (c.patch) {
      ExpectNear(emitter.Patch()->Last(), point(1), c.what);  // the patch is laid from bone A
      continue;
    }
    const N_ParticleEmitter& effect = *emitter.Particles();
    ExpectNear(effect.position, point(1), c.what);
    if (c.kind == N_AnimEmitor::kLine) ExpectNear(effect.lineVector, point(2) - point(1), c.what);
    EXPECT_TRUE(effect.IsOriented()) << c.what;
    N_Vector3 turned;
    rotation.Transform(effect.Shader().velocityMax, turned);
    ExpectNear(effect.OrientedVelocityMax(), turned, c.what);

    emitter.boneA = 3;  // past the matrices: nothing moves
    emitter.Update(N_Matrix3{}, {});
    ExpectNear(effect.position, point(1), c.what);
  }
  g_scene.game = nullptr;
}

TEST(AnimEmitor, SwitchingActsAtTheFirstFrameBeyondTheLastOneSeen) {
  test::FigureRig rig;
  N_ParticleSystem* system = rig.particles.CreateSystem();
  struct Case {
    const char* what;
    std::vector<int> values;
    std::vector<int> frames;
    std::vector<std::pair<int, int>> changes;  ///< (frame, on flag after it)
  };
  std::vector<int> twoLoops;
  for (int loop = 0; loop < 2; ++loop) {
    for (int f = 0; f <= 28; ++f) twoLoops.push_back(f);  // 30 keys wrap at 29
  }
  const Case cases[] = {
      {"10 -20 over two loops", {10, -20}, twoLoops, {{10, 1}, {20, 0}, {10, 1}, {20, 0}}},
      {"0 never acts", {0}, twoLoops, {}},
      {"5 -6 passed in one step from 4 to 8", {5, -6}, {0, 4, 8, 9, 12, 20}, {{8, 1}}},
      {"an off before an on", {-3, 7}, {0, 2, 3, 7, 8}, {{7, 1}}},
  };
  for (const Case& c : cases) {
    N_AnimEmitor emitter;
    emitter.Create(system, "e", "ski_spray");
    emitter.CreateSwitchTable();
    (*emitter.switchTable)[7] = c.values;
    std::vector<std::pair<int, int>> changes;
    int on = emitter.on;
    for (const int frame : c.frames) {
      emitter.UpdateSwitch(7, frame);
      if (emitter.on != on) changes.emplace_back(frame, emitter.on);
      on = emitter.on;
      EXPECT_EQ(emitter.Particles()->IsEmitting(), on == 1) << c.what << " at " << frame;
    }
    EXPECT_EQ(changes, c.changes) << c.what;
  }
}

TEST(AnimEmitor, ANewActionTurnsAPlainEffectOffAtOnceAndLeavesAPatch) {
  test::FigureRig rig;
  N_ParticleSystem* system = rig.particles.CreateSystem();
  N_AnimEmitor plain, patch;
  plain.Create(system, "e", "ski_spray");
  patch.SetPatch("lyziari/ski_trail");
  for (N_AnimEmitor* emitter : {&plain, &patch}) {
    emitter->CreateSwitchTable();
    (*emitter->switchTable)[7] = {1};
    emitter->UpdateSwitch(7, 1);
    ASSERT_EQ(emitter->on, 1);
    emitter->UpdateSwitch(8, 2);
    EXPECT_EQ(emitter->on, 0);
  }
  EXPECT_FALSE(plain.Particles()->IsEmitting());
  EXPECT_EQ(patch.Patch()->active, 1) << "a patch keeps its own state";
}

}  // namespace
