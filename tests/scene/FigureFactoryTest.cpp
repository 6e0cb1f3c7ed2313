// The skier figure factory on the recording renderer: the reference meshes of the
// roster and their fixed indices, the skier actions (the sample prone ones lay the figure
// down towards its targets), the instances of the athletes and the spare one, and what a
// broken figure set does.
#include "scene/Animation.h"
#include "scene/AnimationFactory2.h"
#include "scene/FigureMesh.h"
#include "tests/scene/FigureTestSupport.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Action(const std::string& stem) { return "data\\anim\\lyziari\\" + stem + ".anim"; }

TEST(FigureFactory, LoadsTheRosterModelsInTableOrderTheActionsAndAnInstancePerAthlete) {
  test::FigureRig rig;
  rig.NewLog();
  N_AnimationFactory2& figures = rig.LoadSixFigures();
  // Low twins first, then "model1" to "model3" before "model_F1": the table's order.
  std::vector<std::string> loaded;
  for (const std::string& line : test::LinesStartingWith(rig.NewLog(), "N_AnimObject: Loading mesh")) {
    loaded.push_back(line.substr(line.find('"')));
  }
  std::vector<std::string> expected;
  for (const char* prefix : {"low_", ""}) {
    for (const char* model : test::kSixModels) expected.push_back("\"" + test::ReferenceMesh(prefix + std::string(model)) + "\"");
  }
  EXPECT_EQ(loaded, expected);
  ASSERT_EQ(figures.FigureMeshCount(), 12);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(figures.MeshForIndex(i), figures.FigureMesh(i)) << i;

  EXPECT_EQ(figures.ActionCount(), 48);
  EXPECT_EQ(figures.FindAction(Action("stromcek_A").c_str()), 12);
  // A file of two actions names the first; a second file and another spelling name none.
  EXPECT_EQ(figures.FindAction(Action("postoj_na_mieste_A").c_str()), 18);
  EXPECT_EQ(figures.FindAction(Action("otacanie_na_mieste").c_str()), 21);
  EXPECT_EQ(figures.FindAction(Action("stafeta_predavanie_sprava_A").c_str()), 44);
  EXPECT_EQ(figures.FindAction(Action("brzdenie_max_zjazd_A").c_str()), -1);
  EXPECT_EQ(figures.FindAction("DATA\\ANIM\\LYZIARI\\STROMCEK_A.ANIM"), -1);
  EXPECT_EQ(figures.FindAction(nullptr), -1);
  EXPECT_EQ(figures.Action(4)->twoAnimations, 1) << "light and strong braking mixed";
  EXPECT_NE(figures.Action(41)->animationA, figures.Action(18)->animationA) << "a file of two actions loads twice";

  ASSERT_EQ(figures.InstanceCount(), 7);
  for (int i = 0; i < 6; ++i) {
    const N_FigureAthlete& athlete = rig.athletes[std::size_t(i)];
    EXPECT_EQ(athlete.Figure, i);
    EXPECT_EQ(athlete.MeshHandle, 6 + i);
    EXPECT_EQ(athlete.LowMeshHandle, i);
  }
  EXPECT_EQ(rig.roster.ghost.Figure, 6);
  for (int i = 0; i < 7; ++i) {
    const N_AnimInstance& instance = *figures.Instance(i);
    EXPECT_EQ(instance.mesh, 6 + (i < 6 ? i : 0)) << "the spare draws \"ref_model1\"";
    EXPECT_EQ(instance.channel1.actionIndex, 18) << i;
    EXPECT_EQ(instance.channel1.rate, 30.0f);
    EXPECT_EQ(instance.queuedAction, 18);
    EXPECT_EQ(instance.queuedRate, 30.0f);
    EXPECT_EQ(instance.queuedMix, 0.0f);
    EXPECT_EQ(instance.boneMatrices.size(), std::size_t(figures.FigureMesh(0)->BoneCount()));
    EXPECT_NE(instance.occlusionQuery, nullptr) << "the recording device has queries";
  }
}

TEST(FigureFactory, TheSampleProneFigureLiesToTheLeftOfItsHeadingHeadAndRifleFirst) {
  // A racer lies down facing the right of his lane's shooting direction: his targets are
  // on his left. Drawn heading along +x, the figure's left is +y.
  test::FigureRig rig;
  N_AnimationFactory2& figures = rig.LoadSixFigures();
  const N_FigureMesh& mesh = *figures.FigureMesh(6);
  const auto pose = [&](const char* bone) -> const N_Matrix4& {
    return figures.Instance(0)->boneMatrices[std::size_t(mesh.FindBone(bone))];
  };
  const auto joint = [&](const char* bone) { return N_Vector3{pose(bone).m[3], pose(bone).m[7], pose(bone).m[11]}; };
  for (const char* stem : {"strelba_z_lahu_strelba_A", "strelba_z_lahu_strelba_B"}) {
    SCOPED_TRACE(stem);
    const int action = figures.FindAction(Action(stem).c_str());
    ASSERT_TRUE(figures.SetAction(0, action, 30.0f, 0.0f));
    ASSERT_TRUE(figures.SetNextAction(0, action, 30.0f, 0.0f));
    figures.RenderFigure(0.2f, 0, {0, 0, 0}, N_Matrix3{}, 1, nullptr, true, true, true);
    const N_Vector3 pelvis = joint("pelvis"), head = joint("head"), foot = joint("foot_l");
    EXPECT_GT(head.y - pelvis.y, 15.0f) << "the head towards the targets";
    EXPECT_LT(std::fabs(head.x - pelvis.x), 5.0f);
    EXPECT_LT(foot.y - pelvis.y, -15.0f) << "the legs away from them";
    EXPECT_GT(std::fabs(pose("rifle").m[6]), 0.8f) << "the rifle along the way to them";
  }
}

TEST(FigureFactory, TheTableIgnoresCaseWhileTheLoadListKeepsThePathsAsWritten) {
  test::FigureRig rig;
  N_AnimationFactory2 figures;
  EXPECT_EQ(figures.GetReferenceMesh("data\\anim\\ref_meshe\\REF_MODEL2.MESH"), 7);
  EXPECT_EQ(figures.GetReferenceMesh("DATA\\anim\\ref_meshe\\Low_Ref_Model_f3.mesh"), 5);
  EXPECT_EQ(figures.GetReferenceMesh("data\\anim\\ref_meshe\\REF_MODEL2.MESH"), 7);
  const std::map<std::string, int> registered{{"data\\anim\\ref_meshe\\REF_MODEL2.MESH", 0},
                                              {"DATA\\anim\\ref_meshe\\Low_Ref_Model_f3.mesh", 1}};
  EXPECT_EQ(figures.MeshLoadList(), registered) << "registered once each, in order of first registration";

  rig.AddAthlete(test::ReferenceMesh("ref_model1"));
  rig.LoadFigures();
  EXPECT_EQ(rig.figures->MeshLoadList().count("data\\anim\\ref_meshe\\low_ref_model1.mesh"), 1u);
  EXPECT_EQ(rig.athletes[0].LowMeshHandle, 0);
}

TEST(FigureFactoryDeathTest, AMeshOutsideTheTableOrOneThatDoesNotLoadEndsTheProgram) {
  struct Case {
    const char* mesh;
    const char* removed;  ///< a file taken from the copied data
    const char* text;
  };
  const Case cases[] = {
      {"default.mesh", nullptr, "N_AnimationFactory2: Iny ako dohodnuty nazov meshu!\n default\\.mesh"},
      {"data\\anim\\ref_meshe\\ref_model3.mesh", "data/anim/ref_meshe/low_ref_model3.mesh",
       "Error Loading Mesh data\\\\anim\\\\ref_meshe\\\\low_ref_model3\\.mesh \n"},
  };
  for (const Case& c : cases) {
    test::FigureRig rig;
    if (c.removed) std::remove(c.removed);
    rig.AddAthlete(c.mesh);
    EXPECT_EXIT(rig.LoadFigures(), testing::ExitedWithCode(255), c.text) << c.mesh;
  }
}

TEST(FigureFactory, AMissingAnimationIsReportedItsActionLeftOutAndLaterIndicesShift) {
  test::FigureRig rig;
  std::remove("data/anim/lyziari/stromcek_A.anim");
  rig.AddAthlete(test::ReferenceMesh("ref_model1"));
  N_AnimationFactory2& figures = rig.LoadFigures();
  EXPECT_NE(rig.core.LogText().find("*** Load animation data\\anim\\lyziari\\stromcek_A.anim FAILED!\n"),
            std::string::npos);
  EXPECT_EQ(rig.core.errorLog->LastCode(), 12);
  EXPECT_EQ(figures.ActionCount(), 47);
  EXPECT_EQ(figures.FindAction(Action("stromcek_A").c_str()), -1);
  EXPECT_EQ(figures.FindAction(Action("zatacanie_zjazd_dolava_A").c_str()), 12);
  EXPECT_FALSE(figures.SetAction(0, 47, 30.0f, 0.0f)) << "the race's last action is past the shorter list";
  EXPECT_TRUE(figures.SetAction(0, 46, 30.0f, 0.0f));
}

TEST(FigureFactory, AModelUnderTwoSpellingsLoadsBothAndDrawsTheFirstForItsIndex) {
  test::FigureRig rig;
  rig.AddSixAthletes();
  N_FigureAthlete& shouting = rig.AddAthlete("data\\anim\\ref_meshe\\REF_MODEL2.MESH");
  rig.AddBibs();
  N_AnimationFactory2& figures = rig.LoadFigures();
  // Each spelling with its low twin: "REF_MODEL2.MESH" and "low_REF_MODEL2.MESH" load
  // first of all in byte order ('R' before 'l', and 'R' before 'r').
  ASSERT_EQ(figures.FigureMeshCount(), 14);
  EXPECT_EQ(shouting.MeshHandle, 7);
  EXPECT_EQ(rig.athletes[1].MeshHandle, 7);
  N_FigureMesh* first = figures.FigureMesh(0);
  EXPECT_EQ(figures.MeshForIndex(7), first);
  EXPECT_EQ(figures.LowMeshForIndex(7), figures.FigureMesh(1));
  const N_FigureMesh* other = figures.FigureMesh(2 + 7);  // "ref_model2" after the six low twins and "ref_model1"
  const std::vector<N_Vector3> bind = other->Positions();
  float time = 0.2f;  // another pose for each
  for (const N_FigureAthlete* athlete : {&rig.athletes[1], &shouting}) {
    const std::vector<N_Vector3> before = first->Positions();
    figures.RenderFigure(time *= 2.0f, athlete->Figure, {0, 300, -40}, N_Matrix3{}, 1, athlete, false, true,
                         true);
    EXPECT_NE(std::memcmp(first->Positions().data(), before.data(), before.size() * sizeof(N_Vector3)), 0)
        << "skinned and drawn with the first loaded";
  }
  EXPECT_EQ(std::memcmp(other->Positions().data(), bind.data(), bind.size() * sizeof(N_Vector3)), 0)
      << "the other spelling is never drawn";
}

TEST(FigureFactory, AnIndexWithoutItsMeshDrawsTheFirstLoadedAndATwinOnlyWhenLoaded) {
  test::FigureRig rig;
  rig.AddAthlete(test::ReferenceMesh("ref_model_F2"));
  N_AnimationFactory2& figures = rig.LoadFigures();
  ASSERT_EQ(figures.FigureMeshCount(), 2);  // low_ref_model_F2, ref_model_F2
  EXPECT_EQ(figures.Instance(0)->mesh, 10) << "the fixed index, whatever the count";
  EXPECT_EQ(figures.MeshForIndex(10), figures.FigureMesh(1));
  EXPECT_EQ(figures.LowMeshForIndex(10), figures.FigureMesh(0));
  EXPECT_EQ(figures.MeshForIndex(6), figures.FigureMesh(0)) << "the spare's model is not loaded";
  EXPECT_EQ(figures.LowMeshForIndex(6), nullptr);
  EXPECT_EQ(figures.LowMeshForIndex(4), nullptr) << "a low mesh has no twin";
  EXPECT_EQ(figures.MeshForIndex(-1), figures.FigureMesh(0));
  EXPECT_FALSE(figures.SetInstanceMesh(0, 12));
  EXPECT_FALSE(figures.SetInstanceMesh(7, 6));
  EXPECT_TRUE(figures.SetInstanceMesh(0, 3));

  N_AnimationFactory2 empty;
  EXPECT_EQ(empty.CreateInstance(nullptr), -1);
  EXPECT_EQ(empty.MeshForIndex(6), nullptr);
  empty.RenderFigure(0.1f, 0, {}, N_Matrix3{}, 1, nullptr, true, true, true);  // nothing to draw, no crash
}

}  // namespace
