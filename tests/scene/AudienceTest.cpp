// The spectators: the script's reading and its errors, and the level's per-frame actors
// (spectators on a recording animation set seen from a test camera, the props, the mist
// overlay).
#include "core/Random.h"
#include "render/TextBatch.h"
#include "scene/AnimInstance.h"
#include "scene/AudienceMng.h"
#include "scene/LevelAnimObject.h"
#include "scene/LevelObjectList.h"
#include "tests/scene/AnimTestSupport.h"
#include "tests/scene/LevelFileSupport.h"
#include "tests/scene/LevelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Call = test::RecordingAnimSet::Call;

std::vector<Call> CallsOf(const std::string& what) {
  std::vector<Call> found;
  for (const Call& call : test::RecordingAnimSet::calls) {
    if (call.what == what) found.push_back(call);
  }
  return found;
}

/// A level of spectators on the recording set, loaded from a written level; the
/// camera (the scene's) is placed by the tests.
struct ActorRig {
  explicit ActorRig(const std::vector<datagen::LevelSpectator>& spectators, const std::string& script = test::AudienceScript()) {
    level.textureDevice.nextHandle = 1000;
    test::WriteAudience(script);
    datagen::LevelData data;
    data.spectators = spectators;
    test::WriteLevel("data/levels/actors.alf", data);
    level.rig.core.vars->SetString("mapname", "actors.alf", 2);
    test::RecordingAnimSet::calls.clear();
    N_AudienceMng::SetAnimationSetMaker(&test::RecordingAnimSet::Make);
    level.level().Load();
  }
  ~ActorRig() { N_AudienceMng::SetAnimationSetMaker(nullptr); }
  N_Level& Level() { return level.level(); }
  /// The camera at that squared distance from the origin (along x).
  void CameraAt(float squaredDistance) { level.camera.position = {std::sqrt(squaredDistance), 0.0f, 0.0f}; }

  test::LevelRig level;
};

TEST(Audience, ReadsMeshBlocksWithKeywordsInAnyCase) {
  test::LevelRig rig;
  test::WriteAudience(
      "data\\ai\\a.mesh { CASE idle: { data\\ai\\idle1.anim 1 data\\ai\\idle2.anim x } Case Action: { "
      "data\\ai\\act.anim 7 } }\n"
      "data\\ai\\b.mesh { case IDLE: { data\\ai\\idle2.anim 1 } }\n"
      "data\\ai\\a.mesh { case IDLE: { data\\ai\\extra.anim 1 } case ACTION: { } }\n");
  N_AudienceMng audience;
  audience.ParseScript("data\\ai\\divaci.ai");
  EXPECT_EQ(audience.MeshNames(), (std::vector<std::string>{"data\\ai\\a.mesh", "data\\ai\\b.mesh"}));
  EXPECT_EQ(audience.AnimationNames(),
            (std::vector<std::string>{"data\\ai\\idle1.anim", "data\\ai\\idle2.anim", "data\\ai\\act.anim",
                                      "data\\ai\\extra.anim"}))
      << "the repeated block's names still count";
  ASSERT_NE(audience.State(0), nullptr);
  EXPECT_EQ(audience.State(0)->idle, (std::vector<std::int32_t>{0, 1})) << "the first block's lists stay";
  EXPECT_EQ(audience.State(0)->action, (std::vector<std::int32_t>{2}));
  EXPECT_EQ(audience.State(1)->idle, (std::vector<std::int32_t>{1}));
  EXPECT_TRUE(audience.State(1)->action.empty());
  EXPECT_EQ(audience.FindMesh("data\\ai\\b.mesh"), 1);
  EXPECT_EQ(audience.FindMesh("data\\AI\\b.mesh"), -1) << "names compare exactly";
  EXPECT_EQ(audience.AddMesh(""), -1);
  // Every mesh and animation is in the set, each with its low mesh.
  ASSERT_NE(audience.Set(), nullptr);
  EXPECT_EQ(audience.Set()->MeshCount(), 2);
  EXPECT_EQ(audience.Set()->ActionCount(), 4);
  EXPECT_NE(audience.LowMesh(1), nullptr);
  rig.rig.NewLog();
  audience.LogNames();
  EXPECT_EQ(rig.rig.NewLog(),
            "NPC Mesh: data\\ai\\a.mesh\nNPC Mesh: data\\ai\\b.mesh\n"
            "NPC Anim: data\\ai\\act.anim\nNPC Anim: data\\ai\\extra.anim\n"
            "NPC Anim: data\\ai\\idle1.anim\nNPC Anim: data\\ai\\idle2.anim\n");
}

TEST(Audience, ScriptErrorsAreCritical) {
  const struct {
    const char* script;
    const char* message;
  } cases[] = {
      {"data\\ai\\a.mesh\ncase", "\\{ expected at line 2"},
      {"data\\ai\\a.mesh", "\\{ expected at line 1"},
      {"data\\ai\\a.mesh\n{\nIDLE:", "wrong token 'IDLE:' in data\\\\ai\\\\divaci\\.ai at line 3, expected case statement"},
      {"data\\ai\\a.mesh\n{\ncase\nWALK:", "uknown case statemnet at line 4"},
      {"data\\ai\\a.mesh\n{\ncase IDLE:\n[", "wrong token '\\[' in data\\\\ai\\\\divaci\\.ai at line 4, expected \\{"},
      {"data\\ai\\a.mesh\n{\ncase IDLE:\n{\ndata\\ai\\idle1.anim",
       "end of file data\\\\ai\\\\divaci\\.ai inside a block at line 5"},
      {"data\\ai\\a.mesh\n{\ncase IDLE:\n{\n}\n", "end of file data\\\\ai\\\\divaci\\.ai inside a block at line 6"},
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(
        {
          test::LevelRig rig;
          test::WriteAudience(c.script);
          N_AudienceMng audience;
          audience.ParseScript("data\\ai\\divaci.ai");
        },
        testing::ExitedWithCode(255), c.message)
        << c.script;
  }
}

TEST(Spectators, AreSetUpOnAnIdleAnimationOfTheirMesh) {
  Srand(7);
  ActorRig r({{{0, 0, 0}, {}, "fan", "data\\ai\\a.mesh"}, {{0, 100, 0}, {}, "fan", "data\\ai\\b.mesh"}});
  ASSERT_EQ(r.Level().spectators.size(), 2u);
  const N_AudienceMng& audience = r.Level().audience;
  for (const N_Spectator& spectator : r.Level().spectators) {
    EXPECT_GE(spectator.timer, 10.0f);
    EXPECT_LE(spectator.timer, 15.0f);
    const N_AudienceState* state = audience.State(spectator.mesh);
    ASSERT_NE(state, nullptr);
    std::vector<int> actions;
    for (std::int32_t idle : state->idle) actions.push_back(audience.SetAction(idle));
    const auto set = [&](const char* what) {
      for (const Call& call : CallsOf(what)) {
        if (call.instance == spectator.instance) return call.value;
      }
      return -2;
    };
    EXPECT_NE(std::find(actions.begin(), actions.end(), set("action")), actions.end());
    EXPECT_EQ(set("next"), set("action")) << "the same idle animation is played and queued";
    EXPECT_EQ(set("mesh"), audience.SetMesh(spectator.mesh));
  }
  EXPECT_FLOAT_EQ(r.Level().spectators[1].position.y, 100.0f);
}

TEST(Spectators, TurnToActionNearTheCameraAndBackOnlyBeyondTheMargin) {
  ActorRig r({{{0, 0, 0}, {}, "fan", "data\\ai\\a.mesh"}});
  N_Spectator& fan = r.Level().spectators[0];
  const float change = (10.0f * 39.37f) * (10.0f * 39.37f);  // "AiAudienceStateChange" 10
  const struct {
    float squared;
    int state;
  } steps[] = {{change + 1.0f, 0}, {change - 1.0f, 1}, {change + 4.0f, 1}, {change + 6.0f, 0}, {change - 1.0f, 1}};
  for (const auto& step : steps) {
    r.CameraAt(step.squared);
    r.Level().RenderActors(0.01f);
    EXPECT_EQ(fan.state, step.state) << step.squared - change;
  }
  // Entering action empties the timer: the next frame picks from the action list.
  test::RecordingAnimSet::calls.clear();
  r.Level().RenderActors(0.01f);
  const std::vector<Call> next = CallsOf("next");
  ASSERT_EQ(next.size(), 1u);
  EXPECT_EQ(next[0].value, r.Level().audience.SetAction(2)) << "\"act\", the only action";
  EXPECT_GE(fan.timer, 5.0f);
}

TEST(Spectators, FarOnesAreDrawnLowAndKeepTheirTimeForWhenTheyComeNear) {
  ActorRig r({{{0, 0, 0}, {}, "fan", "data\\ai\\a.mesh"}});
  N_Spectator& fan = r.Level().spectators[0];
  const float nearDistance = 20.0f * 39.37f;  // "LODAudienceDistance" 20
  r.level.camera.position = {nearDistance, 0.0f, 0.0f};  // exactly at the near distance
  test::RecordingAnimSet::calls.clear();
  r.Level().RenderActors(0.5f);
  ASSERT_EQ(CallsOf("render").size(), 1u) << "animated at the near distance itself";
  EXPECT_FLOAT_EQ(CallsOf("render")[0].time, 0.5f);
  r.level.camera.position = {nearDistance + 1.0f, 0.0f, 0.0f};
  test::RecordingAnimSet::calls.clear();
  r.Level().RenderActors(0.5f);
  r.Level().RenderActors(0.25f);
  EXPECT_TRUE(CallsOf("render").empty()) << "the low mesh instead";
  EXPECT_FLOAT_EQ(fan.elapsed, 0.75f);
  r.level.camera.position = {10.0f, 0.0f, 0.0f};
  r.Level().RenderActors(0.1f);
  ASSERT_EQ(CallsOf("render").size(), 1u);
  EXPECT_FLOAT_EQ(CallsOf("render")[0].time, 0.85f) << "the time gathered far away comes with the step";
  EXPECT_FLOAT_EQ(fan.elapsed, 0.0f);
  // Beyond "LODWorldDistance" neither is drawn, and no time is gathered.
  r.level.rig.core.vars->SetInt("LODWorldDistance", 1000, 2);
  r.level.camera.position = {1000.0f, 0.0f, 0.0f};
  test::RecordingAnimSet::calls.clear();
  r.Level().RenderActors(0.1f);
  EXPECT_TRUE(CallsOf("render").empty());
  EXPECT_FLOAT_EQ(fan.elapsed, 0.0f);
}

TEST(Spectators, ShowAnimObjZeroStopsThemButNotTheProps) {
  ActorRig r({{{0, 0, 0}, {}, "fan", "data\\ai\\a.mesh"}});
  // A prop in front of the camera (at the origin, looking along +y).
  const datagen::AnimMeshBuilder mesh = test::TwoBoneQuad("prop/flag");
  test::WriteBytes("data/anim/props/flag.mesh", mesh.Write());
  test::WriteBytes("data/anim/props/flag.anim", test::AnimationOf(mesh, test::BindFrames(mesh, 4)));
  auto prop = std::make_unique<N_LevelAnimObject>();
  prop->Load("data/anim/props/flag", {0.0f, 300.0f, 0.0f}, {});
  const N_LevelAnimObject& flag = *prop;
  r.Level().animObjects.push_back(std::move(prop));
  r.level.camera.position = {0.0f, 0.0f, 0.0f};
  N_Spectator& fan = r.Level().spectators[0];
  const float timer = fan.timer;
  r.level.rig.core.vars->SetInt("ShowAnimObj", 0, 2);
  test::RecordingAnimSet::calls.clear();
  r.Level().RenderActors(0.25f);
  EXPECT_TRUE(test::RecordingAnimSet::calls.empty()) << "no pick, no draw";
  EXPECT_EQ(fan.timer, timer);
  EXPECT_EQ(fan.state, 0) << "a camera this near would have turned it";
  EXPECT_FLOAT_EQ(flag.Set()->Instance(flag.Instance())->frameTime, 0.25f) << "the prop still plays";
  r.level.rig.core.vars->SetInt("ShowAnimObj", 1, 2);
  r.Level().RenderActors(0.25f);
  EXPECT_EQ(fan.state, 1);
  EXPECT_EQ(CallsOf("render").size(), 1u);
}

TEST(Spectators, TheMistOverlayIsOneFullScreenQuad) {
  ActorRig r({});
  N_TextBatch batch(nullptr);
  batch.Init();
  g_scene.textBatch = &batch;
  r.level.rig.core.vars->SetInt("HmlaHack1", 17, 2);
  r.Level().RenderActors(0.01f);
  EXPECT_EQ(batch.EntryCount(), 0u) << "\"HmlaHackSet\" is 0";
  r.level.rig.core.vars->SetInt("HmlaHackSet", 1, 2);
  r.Level().RenderActors(0.01f);
  ASSERT_EQ(batch.EntryCount(), 1u);
  const N_MeshSurface& quad = batch.Entry(0);
  EXPECT_EQ(quad.shader, 17);
  ASSERT_EQ(quad.vertexCount, 4u);
  float maxX = 0, maxY = 0, maxU = 0, maxV = 0;
  for (std::uint32_t i = 0; i < 4; ++i) {
    const N_SurfaceVertex& v = quad.vertices[i];
    EXPECT_EQ(v.colour >> 24, 255u);
    maxX = std::max(maxX, v.position[0]), maxY = std::max(maxY, v.position[1]);
    maxU = std::max(maxU, v.uv0[0]), maxV = std::max(maxV, v.uv0[1]);
  }
  EXPECT_FLOAT_EQ(maxX, 640.0f);
  EXPECT_FLOAT_EQ(maxY, 480.0f);
  EXPECT_FLOAT_EQ(maxU, 1.0f);
  EXPECT_FLOAT_EQ(maxV, 1.0f);
  g_scene.textBatch = nullptr;
}

TEST(Spectators, EveryIdleAnimationComesUpAlike) {
  // "b.mesh" with two idle animations and no action: the pick is uniform (the generator's
  // top value alone would choose the second with trunc(RandomRange(0, n - 1))).
  ActorRig r({{{0, 0, 0}, {}, "fan", "data\\ai\\b.mesh"}},
             "data\\ai\\b.mesh\n{\ncase IDLE:\n{\ndata\\ai\\idle1.anim 1\ndata\\ai\\idle2.anim 1\n}\n}\n");
  Srand(12345);
  r.CameraAt(1.0e12f);  // far: no action, no draw
  test::RecordingAnimSet::calls.clear();
  for (int i = 0; i < 1000; ++i) r.Level().RenderActors(11.0f);  // every frame empties the timer
  const std::vector<Call> picks = CallsOf("next");
  ASSERT_EQ(picks.size(), 1000u);
  const int first = r.Level().audience.SetAction(0);
  const auto firsts = std::count_if(picks.begin(), picks.end(), [&](const Call& c) { return c.value == first; });
  EXPECT_GE(firsts, 400);
  EXPECT_GE(1000 - firsts, 400);
}

}  // namespace
