// The emitter control script "particle.ctrl": the sample's effects in the template, the
// clones bound to their instances, the switch lines and names, and the script's
// critical errors.
#include "core/VarMng.h"
#include "scene/AnimEmitorSet.h"
#include "scene/AnimationFactory2.h"
#include "scene/FigureMesh.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticlePatch.h"
#include "scene/ParticleSystem.h"
#include "scene/SceneAccess.h"
#include "tests/scene/FigureTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace {

bool InSystem(const N_ParticleSystem& system, const N_ParticleEmitter* effect) {
  return std::any_of(system.Emitters().begin(), system.Emitters().end(),
                     [effect](const std::unique_ptr<N_ParticleEmitter>& e) { return e.get() == effect; });
}

TEST(EmitterScript, TheSampleGivesTheSkisASprayPowderAndATrailThatStartOff) {
  test::FigureRig rig;
  N_AnimationFactory2& figures = rig.LoadSixFigures();
  const N_AnimEmitorSet* model = figures.EmitterTemplate();
  ASSERT_NE(model, nullptr);
  ASSERT_EQ(model->Emitters().size(), 3u);
  const N_FigureMesh& skeleton = *figures.FigureMesh(0);
  const N_AnimEmitor& spray = *model->Emitters()[0];
  const N_AnimEmitor& powder = *model->Emitters()[1];
  const N_AnimEmitor& trail = *model->Emitters()[2];
  EXPECT_EQ(spray.Name(), "spray");
  EXPECT_EQ(spray.kind, N_AnimEmitor::kPoint);
  EXPECT_EQ(spray.boneA, skeleton.FindBone("skitip_l"));
  EXPECT_EQ(spray.boneB, spray.boneA);
  EXPECT_EQ(spray.switchTable->at(7), (std::vector<int>{3, -12}));
  EXPECT_EQ(powder.kind, N_AnimEmitor::kLine);
  EXPECT_EQ(powder.boneA, skeleton.FindBone("ski_r"));
  EXPECT_EQ(powder.boneB, skeleton.FindBone("skitip_r"));
  ASSERT_TRUE(trail.IsPatch());
  EXPECT_EQ(trail.PatchName(), "lyziari/ski_trail");
  EXPECT_EQ(trail.Patch()->athleteId, 666);
  EXPECT_EQ(trail.switchTable->size(), 5u);
  for (const N_AnimEmitor* plain : {&spray, &powder}) {
    EXPECT_EQ(plain->active, 0);
    EXPECT_EQ(plain->on, 0);
    EXPECT_FALSE(plain->Particles()->IsEmitting()) << "stopped after loading";
  }
  // One system for the template's set, holding every instance's clones but none of the
  // template's own effects.
  ASSERT_EQ(rig.particles.SystemCount(), 1u);
  const N_ParticleSystem& system = *model->SystemList();
  EXPECT_EQ(system.EmitterCount(), 2u * std::size_t(figures.InstanceCount()));
  EXPECT_FALSE(InSystem(system, spray.Particles()));
}

TEST(EmitterScript, EveryInstanceGetsAClonePlacedAtItsOwnBones) {
  test::FigureRig rig;
  N_AnimationFactory2& figures = rig.LoadSixFigures();
  const N_AnimEmitorSet& model = *figures.EmitterTemplate();
  EXPECT_EQ(model.Instance(), 666);
  for (int i = 0; i < figures.InstanceCount(); ++i) {
    const N_AnimEmitorSet& set = *figures.Instance(i)->emitters;
    EXPECT_EQ(set.Instance(), i);
    EXPECT_EQ(set.SystemList(), model.SystemList());
    for (const auto& emitter : set.Emitters()) {
      EXPECT_EQ(emitter->patchValue, i);
      EXPECT_EQ(emitter->active, 1);
      EXPECT_EQ(emitter->boneMatrices, &figures.Instance(i)->boneMatrices);
      if (emitter->IsPatch()) {
        EXPECT_EQ(emitter->Patch()->athleteId, i);
      } else {
        EXPECT_TRUE(InSystem(*model.SystemList(), emitter->Particles()));
      }
    }
  }
  EXPECT_EQ(model.Emitters()[2]->Patch()->athleteId, 666) << "the template stays unbound";

  // Two figures in other poses at one place: each effect at its own instance's bone.
  const N_Vector3 place{0, 300, -40};
  N_Matrix3 turn;
  turn.RotationZ(0.5f);
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(figures.SetAction(i, 7, 30.0f, 0.0f));
    ASSERT_TRUE(figures.SetNextAction(i, 7, 30.0f, 0.0f));
    figures.RenderFigure(0.2f + 0.3f * i, i, place, turn, 1, nullptr, false, true, true);
  }
  const int tip = figures.FigureMesh(0)->FindBone("skitip_l");
  N_Vector3 sprays[2];
  for (int i = 0; i < 2; ++i) {
    const N_Matrix4& pose = figures.Instance(i)->boneMatrices[std::size_t(tip)];
    N_Vector3 expected;
    turn.Transform({pose.m[3], pose.m[7], pose.m[11]}, expected);
    expected = expected + place;
    sprays[i] = figures.Instance(i)->emitters->Emitters()[0]->Particles()->position;
    EXPECT_NEAR(sprays[i].x, expected.x, 1e-3f) << i;
    EXPECT_NEAR(sprays[i].y, expected.y, 1e-3f) << i;
    EXPECT_NEAR(sprays[i].z, expected.z, 1e-3f) << i;
  }
  EXPECT_GT(std::fabs(sprays[0].x - sprays[1].x) + std::fabs(sprays[0].y - sprays[1].y), 0.5f);
}

/// A loaded factory without the sample's effects and a set reading `script`.
struct ScriptRig {
  ScriptRig() {
    rig.core.vars->SetInt("PlayersParticles", 0, 0);
    rig.LoadSixFigures();
  }
  void Load(const std::string& script) {
    rig.harness.dir.Write("data/anim/test.ctrl", script);
    set.Load("data/anim/test.ctrl", *rig.figures);
  }
  test::FigureRig rig;
  N_AnimEmitorSet set;
};

TEST(EmitterScript, SwitchLinesNamesAndBracesAsWritten) {
  ScriptRig s;
  const std::string longName(200, 'n');
  s.Load(longName + " point head ski_spray\n{\n"
         "data\\anim\\lyziari\\postoj_na_mieste_A.anim 10 -20 30\n"
         "data\\anim\\lyziari\\postoj_na_mieste_A.anim 5\n"
         "data\\anim\\lyziari\\stromcek_A.anim 99999999999 -7 x // the rest is a comment\n"
         "}\n"
         "second LINE pelvis head ski_powder {\n}\n");
  ASSERT_EQ(s.set.Emitters().size(), 2u);
  const N_AnimEmitor& first = *s.set.Emitters()[0];
  EXPECT_EQ(first.Name(), longName.substr(0, 127));
  EXPECT_EQ(first.switchTable->at(18), (std::vector<int>{10, -20, 30})) << "a second line of the action is ignored";
  EXPECT_EQ(first.switchTable->at(12), (std::vector<int>{INT_MAX, -7, 0}));
  const N_AnimEmitor& second = *s.set.Emitters()[1];
  EXPECT_EQ(second.kind, N_AnimEmitor::kLine) << "keywords ignore case";
  EXPECT_EQ(second.boneA, s.rig.figures->FigureMesh(0)->FindBone("pelvis"));
  EXPECT_TRUE(second.switchTable->empty());

  N_AnimEmitorSet missing;
  missing.Load("data/anim/nosuch.ctrl", *s.rig.figures);
  EXPECT_TRUE(missing.Emitters().empty());
  EXPECT_NE(missing.SystemList(), nullptr) << "the system is made all the same";
  N_AnimEmitorSet unnamed;
  unnamed.Load(nullptr, *s.rig.figures);
  EXPECT_EQ(unnamed.SystemList(), nullptr);
}

TEST(EmitterScriptDeathTest, EveryErrorOfTheScriptEndsTheProgram) {
  struct Case {
    const char* script;
    const char* text;
  };
  const Case cases[] = {
      {"a point nosuch ski_spray\n{\n}\n", "Bone name nosuch on line 1 doesnt exist!"},
      {"a line head nosuch ski_spray\n{\n}\n", "Bone names on line 1 doesnt exist!"},
      {"a point head ski_spray\n(\n}\n", "Bracket expected!\n line 2"},
      {"a point head ski_spray\n{\ndata\\anim\\lyziari\\nosuch.anim 1\n}\n", "Error on line 3"},
      {"a point head ski_spray\n{\nDATA\\ANIM\\LYZIARI\\STROMCEK_A.ANIM 1\n}\n", "Error on line 3"},
      {"a circle head ski_spray\n{\n}\n", "Unknown emitter kind 'circle' on line 1"},
      {"a point head nosuch\n{\n}\n", "Failed to create particle emitor nosuch with shader nosuch"},
  };
  for (const Case& c : cases) {
    ScriptRig s;
    EXPECT_EXIT(s.Load(c.script), testing::ExitedWithCode(255), c.text) << c.script;
  }
  ScriptRig s;
  g_scene.particles = nullptr;
  EXPECT_EXIT(s.Load("a point head ski_spray\n{\n}\n"), testing::ExitedWithCode(255),
              "N_AnimEmitor: Particle System is not initialized!");
  g_scene.particles = &s.rig.particles;
}

}  // namespace
