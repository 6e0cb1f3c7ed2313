// RenderFigure on the recording renderer: the level of detail and the cull distance,
// the flags, the occlusion queries, the headless step of the race, the figures' dress
// and start numbers, the action queries and the figure meshes' shaders and shadows.
#include "core/VarMng.h"
#include "platform/win32/Debug.h"
#include "render/Frustum.h"
#include "render/ShaderMng.h"
#include "render/ShadowVolume.h"
#include "scene/AnimObject.h"
#include "scene/Animation.h"
#include "scene/AnimationFactory2.h"
#include "scene/FigureDress.h"
#include "scene/FigureMesh.h"
#include "scene/SceneAccess.h"
#include "tests/scene/FigureTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

/// Triangles the device was asked to draw from buffers since its calls were cleared.
int DrawnTriangles(test::FigureRig& rig) {
  int triangles = 0;
  for (const std::string& call : rig.Calls("DrawIndexedPrimitive(")) {
    triangles += std::atoi(call.c_str() + call.rfind(' ') + 1);
  }
  return triangles;
}

int Triangles(const N_AnimObject& mesh) {
  int triangles = 0;
  for (const N_MeshSurface& surface : mesh.Surfaces()) triangles += int(surface.indexCount) / 3;
  return triangles;
}

/// A place straight ahead of the camera where the figure's box lies `beyond` units
/// past the radius (its depth grows one for one with y).
N_Vector3 Ahead(const test::FigureRig& rig, float radius, float beyond) {
  const float box[6] = {-55.0f, 945.0f, -40.0f, 55.0f, 1055.0f, 40.0f};
  float depth = 0.0f;
  EXPECT_TRUE(rig.frustum.TestBox(box, &depth));
  return {0.0f, 1000.0f + radius + beyond - depth, -40.0f};
}

TEST(FigureRender, DetailCullingAndTheFlagsChooseWhatIsDrawnWhileTheFigureAlwaysAdvances) {
  test::FigureRig rig;
  rig.core.vars->SetFloat("LODWorldDistance", 10000.0f, 0);
  N_AnimationFactory2& figures = rig.LoadSixFigures();
  const int own = Triangles(*figures.MeshForIndex(6)), twin = Triangles(*figures.MeshForIndex(0));
  ASSERT_GT(own, 2 * twin) << "the twin has far fewer triangles";
  const float radius = figures.MeshForIndex(6)->Radius();
  struct Case {
    const char* what;
    N_Vector3 at;
    bool force, draw, pose;
    int triangles;
  };
  const Case cases[] = {
      {"4000 beyond the radius: its own mesh", Ahead(rig, radius, 3999.5f), false, true, true, own},
      {"one step further: the twin", Ahead(rig, radius, 4000.5f), false, true, true, twin},
      {"beyond the cull distance: not drawn", Ahead(rig, radius, 10000.5f), false, true, true, 0},
      {"forced beyond it: the twin", Ahead(rig, radius, 10000.5f), true, true, true, twin},
      {"behind the camera: not drawn", {0.0f, -500.0f, -40.0f}, false, true, true, 0},
      {"forced there: its own mesh", {0.0f, -500.0f, -40.0f}, true, true, true, own},
      {"draw cleared: never drawn", Ahead(rig, radius, 100.0f), true, false, true, 0},
      {"draw and pose cleared: only advanced", Ahead(rig, radius, 100.0f), true, false, false, 0},
  };
  const N_AnimInstance& instance = *figures.Instance(0);
  for (const Case& c : cases) {
    const int frame = instance.channel1.frameA;
    rig.device->ClearCalls();
    figures.RenderFigure(0.1f, 0, c.at, N_Matrix3{}, 1, &rig.athletes[0], c.force, c.draw, c.pose);
    EXPECT_EQ(DrawnTriangles(rig), c.triangles) << c.what;
    EXPECT_EQ(instance.channel1.frameA, frame + 3) << c.what;
    if (!c.draw && !c.pose) {
      EXPECT_TRUE(rig.Calls("").empty()) << c.what;
    }
  }
}

TEST(FigureRender, AFigureWhoseLastOcclusionQuerySawNoPixelIsSkipped) {
  for (const DWORD pixels : {DWORD(100), DWORD(0)}) {
    test::FigureRig rig;
    rig.device->Config().occlusionResult = pixels;  // before the queries are made
    N_AnimationFactory2& figures = rig.LoadSixFigures();
    const int own = Triangles(*figures.MeshForIndex(6));
    for (int frame = 0; frame < 2; ++frame) {
      rig.device->ClearCalls();
      figures.RenderFigure(0.1f, 0, {0, 300, -40}, N_Matrix3{}, 1, &rig.athletes[0], false, true, true);
      // The first frame has no answer yet; the second follows the first frame's query.
      EXPECT_EQ(DrawnTriangles(rig), pixels == 0 && frame == 1 ? 0 : own) << pixels << " pixels, frame " << frame;
    }
  }
}

TEST(FigureRender, WithoutPlayersParticlesNoInstanceHasEmittersAndNoneIsTouched) {
  test::FigureRig rig;
  rig.core.vars->SetInt("PlayersParticles", 0, 0);
  rig.harness.dir.Write("data/anim/ref_meshe/particle.ctrl", "broken { }");  // not read at all
  N_AnimationFactory2& figures = rig.LoadSixFigures();
  EXPECT_EQ(figures.EmitterTemplate(), nullptr);
  for (int i = 0; i < figures.InstanceCount(); ++i) {
    EXPECT_EQ(figures.Instance(i)->emitters, nullptr) << i;
    figures.RenderFigure(0.1f, i, {0, 300, -40}, N_Matrix3{}, 1, nullptr, false, true, true);
  }
  EXPECT_EQ(rig.particles.SystemCount(), 0u);
  EXPECT_EQ(rig.particles.EmitterCount(), 0u);
}

TEST(FigureRender, CurrentActionAndProgressOfAnInstance) {
  test::FigureRig rig;
  N_AnimationFactory2& figures = rig.LoadSixFigures();
  // An action of two keys: its only frame is its last.
  std::vector<datagen::AnimTrack> tracks;
  for (const N_Bone& bone : figures.FigureMesh(0)->Bones()) tracks.push_back({bone.name, {N_AnimKey{}, N_AnimKey{}}});
  test::WriteBytes("data/anim/two.anim", datagen::WriteAnimation(tracks));
  const int two = figures.AddAction("data/anim/two.anim", nullptr, true);
  ASSERT_EQ(two, 48);

  EXPECT_EQ(figures.GetCurrentAction(0), 18);
  EXPECT_EQ(figures.GetActionProgress(0), 0.0f) << "frame 0";
  N_AnimInstance& instance = *figures.Instance(0);
  const int keys = figures.Animation(instance.channel1.animationA)->FrameCount();
  instance.channel1.frameA = keys - 3;
  EXPECT_FLOAT_EQ(figures.GetActionProgress(0), float(keys - 3) / float(keys - 2));
  instance.channel1.frameA = keys - 2;
  EXPECT_EQ(figures.GetActionProgress(0), 1.0f) << "the last frame of a loop";
  ASSERT_TRUE(figures.SetAction(0, 39, 30.0f, 0.0f));  // rejoicing, played once
  ASSERT_TRUE(figures.SetNextAction(0, 39, 30.0f, 0.0f));
  instance.channel1.frameA = 0;
  figures.RenderFigure(100.0f, 0, {0, 300, -40}, N_Matrix3{}, 1, nullptr, false, false, false);
  EXPECT_EQ(figures.GetCurrentAction(0), 39);
  EXPECT_EQ(figures.GetActionProgress(0), 1.0f) << "held on its last frame";
  ASSERT_TRUE(figures.SetAction(1, two, 30.0f, 0.0f));
  EXPECT_EQ(figures.GetActionProgress(1), 1.0f);
  for (const int outside : {-1, 7, 100}) {
    EXPECT_EQ(figures.GetCurrentAction(outside), 0) << outside;
    EXPECT_EQ(figures.GetActionProgress(outside), 0.0f) << outside;
  }
}

TEST(FigureRender, HeadlessStepsAdvanceExactlyAsDrawnOnesWithoutDeviceOrFrustum) {
  test::FigureRig rig;
  N_AnimationFactory2& drawn = rig.LoadSixFigures();
  N_AnimationFactory2 headless;
  headless.Load();
  // Skating, a cross-fade into double poling, a one-off action and back to standing.
  struct Step {
    float seconds;
    int queue;  ///< the action queued before the step, -1 for none
  };
  const Step steps[] = {{0.05f, 7}, {0.3f, -1}, {0.2f, 15}, {0.25f, -1}, {0.4f, -1}, {0.1f, 39}, {0.6f, -1},
                        {1.2f, 18}, {0.33f, -1}, {0.033f, -1}, {0.5f, -1}};
  for (N_AnimationFactory2* figures : {&drawn, &headless}) figures->SetActionRate(0, 30.0f, 0.0f, 0.5f);
  for (const Step& s : steps) {
    for (N_AnimationFactory2* figures : {&drawn, &headless}) {
      if (s.queue >= 0) figures->SetNextAction(0, s.queue, 30.0f, 0.0f);
    }
    drawn.RenderFigure(s.seconds, 0, {0, 300, -40}, N_Matrix3{}, 1, &rig.athletes[0], false, true, true);
    g_scene.frustum = nullptr;
    rig.device->ClearCalls();
    headless.RenderFigure(s.seconds, 0, {0, 300, -40}, N_Matrix3{}, 1, &rig.athletes[0], false, false, false);
    EXPECT_TRUE(rig.Calls("").empty());
    g_scene.frustum = &rig.frustum;
    const N_AnimInstance& a = *drawn.Instance(0);
    const N_AnimInstance& b = *headless.Instance(0);
    for (const auto& [x, y] : {std::pair{&a.channel1, &b.channel1}, std::pair{&a.channel2, &b.channel2}}) {
      EXPECT_EQ(x->actionIndex, y->actionIndex);
      EXPECT_EQ(x->animationA, y->animationA);
      EXPECT_EQ(x->frameA, y->frameA);
      EXPECT_EQ(x->frameB, y->frameB);
      EXPECT_EQ(x->fraction, y->fraction);
    }
    EXPECT_EQ(a.takenAction, b.takenAction);
    EXPECT_EQ(a.blendTimer, b.blendTimer);
    EXPECT_EQ(a.blendFactor, b.blendFactor);
    EXPECT_EQ(drawn.GetCurrentAction(0), headless.GetCurrentAction(0));
    EXPECT_EQ(drawn.GetActionProgress(0), headless.GetActionProgress(0));
  }
  EXPECT_EQ(drawn.GetCurrentAction(0), 18) << "the run ends standing";
}

TEST(FigureDress, PlaceholdersBecomeTheAthletesGearAndTheBibOfTheDressNumber) {
  test::FigureRig rig;
  N_AnimationFactory2& figures = rig.LoadSixFigures();
  const N_FigureAthlete& athlete = rig.athletes[2];
  int placeholders = 0;
  std::vector<const N_Shader*> expected;
  for (const N_MeshSurface& surface : figures.MeshForIndex(athlete.MeshHandle)->Surfaces()) {
    int handle = surface.shader;
    switch (surface.shader) {
      case dress::kStartNumber: handle = rig.roster.bibShaders[6]; break;
      case dress::kSuit: handle = athlete.DressShader; break;
      case dress::kSticks: handle = athlete.SticksShader; break;
      case dress::kGun: handle = athlete.GunShader; break;
      case dress::kSki: handle = athlete.SkiShader; break;
      default: break;
    }
    placeholders += handle != surface.shader;
    expected.push_back(rig.shaders.GetShader(handle));
  }
  EXPECT_EQ(placeholders, 5);
  rig.Noting().bound.clear();
  figures.RenderFigure(0.1f, athlete.Figure, {0, 300, -40}, N_Matrix3{}, 7, &athlete, false, true, true);
  EXPECT_EQ(rig.Noting().bound, expected);
}

TEST(FigureDress, ADressNumberOutsideOneToThirtyOneIsShownOnceAndNotDrawn) {
  test::FigureRig rig;
  N_AnimationFactory2& figures = rig.LoadSixFigures();
  std::vector<std::string> boxes;
  platform::SetMessageBoxHook([&](const std::string& text, const std::string&) { boxes.push_back(text); });
  for (const int number : {0, 32, 0, 32, 31, 1}) {
    rig.device->ClearCalls();
    figures.RenderFigure(0.1f, 0, {0, 300, -40}, N_Matrix3{}, number, &rig.athletes[0], false, true, true);
    EXPECT_EQ(DrawnTriangles(rig) > 0, number == 1 || number == 31) << number;
  }
  platform::SetMessageBoxHook({});
  EXPECT_EQ(boxes, (std::vector<std::string>{"Posielas zle cislo dresu! <1,31> vstup bol: 0",
                                             "Posielas zle cislo dresu! <1,31> vstup bol: 32"}));
}

TEST(FigureDress, TheFiveTextureNamesArePlaceholdersWhateverTheirCase) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"textures\\lyziari\\startnum01", -2}, {"TEXTURES\\LYZIARI\\DRESS01", -3}, {"textures\\lyziari\\Stick01", -4},
      {"TEXTURES\\LYZIARI\\GUN01", -5},     {"textures\\lyziari\\ski01", -6},   {"textures\\lyziari\\startnum02", 0},
      {"textures/lyziari/gun01", 0},        {"textures\\lyziari\\gun01 ", 0},   {"", 0},
      {nullptr, 0},
  };
  for (const auto& [name, code] : cases) EXPECT_EQ(ClassifyDressTexture(name), code) << (name ? name : "null");
}

/// A figure mesh of three boxes: the face's material, the gun's placeholder in capitals
/// and one whose shader casts a shadow 250 long.
void WriteDressMesh() {
  datagen::AnimMeshBuilder mesh;
  mesh.AddBone("root", -1, {});
  mesh.AddBox(mesh.AddMaterial("lyziari/face"), {0, 0, 0}, {1, 1, 1}, {{0, 1.0f}});
  mesh.AddBox(mesh.AddMaterial("TEXTURES\\LYZIARI\\GUN01"), {2, 0, 0}, {3, 1, 1}, {{0, 1.0f}});
  mesh.AddBox(mesh.AddMaterial("anim/far"), {4, 0, 0}, {5, 1, 1}, {{0, 1.0f}});
  test::WriteBytes("data/anim/dress.mesh", mesh.Write());
}

TEST(FigureDress, AFigureMeshHoldsShadersAboveZeroOnlyAndAlwaysCastsAShadowOf1000) {
  test::FigureRig rig;
  rig.harness.dir.Write("data/scripts/anim.shader", "anim/far\n{\nsurfaceparm castshadow 250\n{ map x\n}\n}\n");
  WriteDressMesh();
  N_ShaderMng fresh(64);  // empty: the mesh's first material gets handle 0
  g_scene.shaderMng = &fresh;
  auto figure = std::make_unique<N_FigureMesh>();
  ASSERT_TRUE(figure->Load("data/anim/dress.mesh"));
  const std::vector<std::int32_t> shaders{figure->Surfaces()[0].shader, figure->Surfaces()[1].shader,
                                          figure->Surfaces()[2].shader};
  EXPECT_EQ(shaders, (std::vector<std::int32_t>{0, dress::kGun, 1})) << "the placeholder adds no shader";
  EXPECT_EQ(fresh.Count(), 2);
  auto plain = std::make_unique<N_AnimObject>();
  ASSERT_TRUE(plain->Load("data/anim/dress.mesh"));
  fresh.LoadShaders();
  figure->CreateShadowVolume();
  plain->CreateShadowVolume();
  ASSERT_NE(figure->ShadowVolume(), nullptr);
  EXPECT_EQ(figure->ShadowVolume()->ExtrusionLength(), 1000.0f);
  EXPECT_EQ(plain->ShadowVolume(), nullptr) << "the plain mesh's first shader casts none";

  EXPECT_EQ(fresh.GetEntry(0)->refCount, 2);
  plain.reset();
  EXPECT_EQ(fresh.GetEntry(0)->refCount, 1) << "a plain mesh gives handle 0 back";
  figure.reset();
  EXPECT_EQ(fresh.GetEntry(0)->refCount, 1) << "a figure mesh holds no reference in handle 0";
  EXPECT_EQ(fresh.GetEntry(1)->refCount, 0) << "and gives the others back";

  g_scene.shaderMng = &rig.shaders;
  N_AnimationFactory2& figures = rig.LoadSixFigures();
  figures.CreateShadowVolumes();
  for (int i = 0; i < figures.FigureMeshCount(); ++i) {
    ASSERT_NE(figures.FigureMesh(i)->ShadowVolume(), nullptr) << i;
    EXPECT_EQ(figures.FigureMesh(i)->ShadowVolume()->ExtrusionLength(), 1000.0f);
  }
}

}  // namespace
