// The animation step of an instance: frames and fractions, looping and holding, the
// queued action and the cross-fade, the key sampling of one or two animations, and
// what a figure too far or not to be drawn does.
#include "core/VarMng.h"
#include "scene/AnimObject.h"
#include "scene/Animation.h"
#include "scene/AnimationFactory.h"
#include "tests/scene/AnimTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kQuarterTurn = 1.5707964f;

/// Keys of the quad's bones for `count` frames: the root's x is its frame number plus
/// `offset`, turned by `angle` about z; the tip stays at its bind offset.
std::vector<std::vector<N_AnimKey>> Numbered(const datagen::AnimMeshBuilder& mesh, int count, float offset = 0.0f,
                                             float angle = 0.0f) {
  std::vector<std::vector<N_AnimKey>> frames;
  for (int f = 0; f < count; ++f) {
    std::vector<N_AnimKey> keys = mesh.BindPose();
    keys[0] = mesh.Key(0, datagen::AxisRotation({0, 0, 1}, angle));
    keys[0].position.x = float(f) + offset;
    frames.push_back(keys);
  }
  return frames;
}

/// A set of the quad with actions: 0 loops over 10 keys, 1 holds after 5 keys, 2 loops
/// over 5 keys, 3 mixes "a" (root x 0) with "b" (root x 10, a quarter turn), and one
/// instance playing action 0 with action 0 queued.
struct StepSet {
  StepSet() {
    const datagen::AnimMeshBuilder quad = test::TwoBoneQuad();
    test::WriteBytes("data/anim/quad.mesh", quad.Write());
    test::WriteBytes("data/anim/ten.anim", test::AnimationOf(quad, Numbered(quad, 10)));
    test::WriteBytes("data/anim/five.anim", test::AnimationOf(quad, Numbered(quad, 5)));
    test::WriteBytes("data/anim/a.anim", test::AnimationOf(quad, Numbered(quad, 4)));
    test::WriteBytes("data/anim/b.anim", test::AnimationOf(quad, Numbered(quad, 4, 10.0f, kQuarterTurn)));
    EXPECT_EQ(set.AddMesh("data/anim/quad.mesh"), 0);
    EXPECT_EQ(set.AddAction("data/anim/ten.anim", nullptr, true), 0);
    EXPECT_EQ(set.AddAction("data/anim/five.anim", nullptr, false), 1);
    EXPECT_EQ(set.AddAction("data/anim/five.anim", nullptr, true), 2);
    EXPECT_EQ(set.AddAction("data/anim/a.anim", "data/anim/b.anim", true), 3);
    instance = set.CreateInstance();
    EXPECT_TRUE(set.SetAction(instance, 0, 30.0f, 0.0f));
    EXPECT_TRUE(set.SetNextAction(instance, 0, 30.0f, 0.0f));
  }
  /// One step, not drawn.
  void Step(float frameTime) { set.RenderInstance(frameTime, instance, N_Vector3{}, N_Matrix3{}, false, false); }
  N_AnimInstance& Get() { return *set.Instance(instance); }
  /// The root's sampled x for the instance as it stands.
  float RootX() {
    N_Quaternion q;
    N_Vector3 p;
    set.SampleBone(0, Get(), q, p);
    return p.x;
  }

  N_AnimationFactory set;
  int instance = -1;
};

TEST(AnimStep, FramesFractionsLoopingAndHolding) {
  test::AnimRig rig;
  struct Case {
    const char* what;
    int action;
    float frameTime;
    std::vector<std::pair<int, float>> frames;  ///< frame A and fraction after each step
  };
  const Case cases[] = {
      // 30 frames a second for 0.05 s: one frame and a half.
      {"rate 30, 0.05 s", 0, 0.05f, {{1, 0.5f}, {3, 0.0f}, {4, 0.5f}}},
      // 5 keys held: frame 3 (c - 2) with fraction 1.0, and it stays there.
      {"held after 5 keys", 1, 0.1f, {{3, 0.0f}, {3, 1.0f}, {3, 1.0f}, {3, 1.0f}}},
      // 5 keys looping: modulo 4, the last key only ever the next key of frame 3.
      {"looping over 5 keys", 2, 0.1f, {{3, 0.0f}, {2, 0.0f}, {1, 0.0f}, {0, 0.0f}, {3, 0.0f}}},
  };
  for (const Case& c : cases) {
    StepSet s;
    ASSERT_TRUE(s.set.SetAction(s.instance, c.action, 30.0f, 0.0f));
    ASSERT_TRUE(s.set.SetNextAction(s.instance, c.action, 30.0f, 0.0f));
    for (std::size_t i = 0; i < c.frames.size(); ++i) {
      s.Step(c.frameTime);
      EXPECT_EQ(s.Get().channel1.frameA, c.frames[i].first) << c.what << ", step " << i + 1;
      EXPECT_NEAR(s.Get().channel1.fraction, c.frames[i].second, 1e-5) << c.what << ", step " << i + 1;
      EXPECT_EQ(s.Get().blendTimer, 0.0f) << c.what << ": the queued action is the playing one";
    }
  }
  // The sample at frame 1 and fraction 0.5 lies halfway between keys 1 and 2.
  StepSet s;
  s.Step(0.05f);
  EXPECT_FLOAT_EQ(s.RootX(), 1.5f);
}

TEST(AnimStep, ExtraTimeIsAddedOnceAndBadTimesMoveNothing) {
  test::AnimRig rig;
  StepSet s;
  s.Get().extraTime = 0.1f;
  s.Step(0.0f);
  EXPECT_EQ(s.Get().channel1.frameA, 3);
  EXPECT_EQ(s.Get().extraTime, 0.0f);
  s.Step(0.0f);
  EXPECT_EQ(s.Get().channel1.frameA, 3) << "added once";
  for (const float bad : {-1.0f, std::nanf(""), 1.0e30f}) {
    s.Step(bad);
    EXPECT_GE(s.Get().channel1.frameA, 0);
    EXPECT_LT(s.Get().channel1.frameA, 9) << "a looping frame stays below its count - 1";
  }
}

TEST(AnimStep, CrossFadeStartsRunsAndEnds) {
  test::AnimRig rig;
  StepSet s;
  ASSERT_TRUE(s.set.SetActionRate(s.instance, 30.0f, 0.25f, 1.0f));
  s.Step(0.05f);  // fraction 0.5 in channel 1
  ASSERT_TRUE(s.set.SetNextAction(s.instance, 2, 60.0f, 0.75f));
  // Step 1: channel 2 takes action 2 and does not advance (the timer was 0 when tested).
  s.Step(0.4f);
  EXPECT_EQ(s.Get().takenAction, 2);
  EXPECT_EQ(s.Get().channel2.animationA, s.set.Action(2)->animationA);
  EXPECT_EQ(s.Get().channel2.frameA, 0);
  EXPECT_EQ(s.Get().channel2.rate, 60.0f);
  EXPECT_FLOAT_EQ(s.Get().blendTimer, 0.4f);
  EXPECT_FLOAT_EQ(s.Get().blendFactor, 0.4f);
  // Step 2: both channels advance by channel 1's rate (12 frames, not 24).
  s.Step(0.4f);
  EXPECT_EQ(s.Get().channel2.frameA, 12 % 4);
  EXPECT_FLOAT_EQ(s.Get().blendFactor, 0.8f);
  // The sample lies between the channels by the factor: channel 1 at frame 7 and
  // fraction 0.5 (x 7.5), channel 2 at frame 0 (x 0).
  EXPECT_EQ(s.Get().channel1.frameA, 7);
  EXPECT_NEAR(s.RootX(), 7.5f + (0.0f - 7.5f) * 0.8f, 1e-4);
  // Step 3: the timer reaches 1.2 > 1.0: channel 1 takes channel 2, the factor is 0.
  s.Step(0.4f);
  EXPECT_EQ(s.Get().blendTimer, 0.0f);
  EXPECT_EQ(s.Get().blendFactor, 0.0f);
  EXPECT_EQ(s.Get().channel1.animationA, s.set.Action(2)->animationA);
  EXPECT_EQ(s.Get().channel1.actionIndex, 2);
  EXPECT_EQ(s.Get().channel1.rate, 60.0f) << "the rate and the mix come with channel 2";
  EXPECT_EQ(s.Get().channel1.mix, 0.75f);
  EXPECT_NEAR(s.Get().channel1.fraction, 0.5f, 1e-5) << "channel 1 keeps its own fraction, not channel 2's";
  // No fade now: channel 2 is copied from the queued action every frame, frames back to 0.
  s.Get().channel2.frameA = 3;
  s.Step(0.0f);
  EXPECT_EQ(s.Get().channel2.frameA, 0);
  EXPECT_EQ(s.Get().blendTimer, 0.0f);
}

TEST(AnimStep, SetActionKeepsTheFractionAndAZeroBlendSwitchesAtOnce) {
  test::AnimRig rig;
  StepSet s;
  s.Step(0.05f);
  ASSERT_TRUE(s.set.SetAction(s.instance, 2, 15.0f, 0.5f));
  EXPECT_EQ(s.Get().channel1.fraction, 0.5f);
  EXPECT_EQ(s.Get().channel1.frameA, 0);
  EXPECT_EQ(s.Get().channel1.actionIndex, 2);
  EXPECT_EQ(s.Get().channel1.rate, 15.0f);
  EXPECT_EQ(s.Get().channel1.mix, 0.5f);
  for (const float duration : {0.0f, -1.0f}) {
    ASSERT_TRUE(s.set.SetActionRate(s.instance, 30.0f, 0.0f, duration));
    ASSERT_TRUE(s.set.SetNextAction(s.instance, s.Get().channel1.actionIndex == 0 ? 2 : 0, 30.0f, 0.0f));
    const int next = s.Get().queuedAction;
    s.Step(0.1f);
    EXPECT_EQ(s.Get().channel1.actionIndex, next) << "duration " << duration;
    EXPECT_EQ(s.Get().blendTimer, 0.0f);
    EXPECT_EQ(s.Get().blendFactor, 0.0f) << "never 0 / 0";
  }
}

TEST(AnimStep, TwoAnimationsMixByTheChannelsMix) {
  test::AnimRig rig;
  StepSet s;
  struct Case {
    float mix, x, angle;
  };
  // A: root x 0, no turn; B: root x 10, a quarter turn: positions lerp, rotations slerp.
  for (const Case& c : {Case{0.0f, 0.0f, 0.0f}, Case{1.0f, 10.0f, kQuarterTurn}, Case{0.5f, 5.0f, kQuarterTurn / 2}}) {
    ASSERT_TRUE(s.set.SetAction(s.instance, 3, 30.0f, c.mix));
    s.Get().channel1.fraction = 0.0f;
    N_Quaternion q;
    N_Vector3 p;
    s.set.SampleBone(0, s.Get(), q, p);
    EXPECT_NEAR(p.x, c.x, 1e-5) << "mix " << c.mix;
    const N_Quaternion expected = datagen::AxisRotation({0, 0, 1}, c.angle);
    EXPECT_NEAR(q.w, expected.w, 1e-5) << "mix " << c.mix;
    EXPECT_NEAR(q.z, expected.z, 1e-5) << "mix " << c.mix;
  }
  // Both frames advance and wrap together with animation A's count.
  ASSERT_TRUE(s.set.SetNextAction(s.instance, 3, 30.0f, 0.5f));
  s.Step(0.1f);
  EXPECT_EQ(s.Get().channel1.frameA, 0);
  EXPECT_EQ(s.Get().channel1.frameB, 0);
  s.Step(0.05f);
  EXPECT_EQ(s.Get().channel1.frameA, 1);
  EXPECT_EQ(s.Get().channel1.frameB, 1);
}

TEST(AnimStep, ShortTracksHoldTheirKeys) {
  test::AnimRig rig;
  const datagen::AnimMeshBuilder quad = test::TwoBoneQuad();
  test::WriteBytes("data/anim/quad.mesh", quad.Write());
  // The tip's track comes first in the file with 2 keys; MatchBones puts the root's
  // 6 keys first, so the frames run to 4 while the tip has keys 0 and 1 only.
  N_AnimKey tip0 = quad.Key(1, {}), tip1 = quad.Key(1, {});
  tip1.position.y = 7.0f;
  std::vector<N_AnimKey> root;
  for (int f = 0; f < 6; ++f) root.push_back(quad.Key(0, {}));
  test::WriteBytes("data/anim/short.anim", datagen::WriteAnimation({{"tip", {tip0, tip1}}, {"root", root}}));
  // And a two-animation action whose B (2 keys) is read at A's frames (6 keys).
  test::WriteBytes("data/anim/long.anim", test::AnimationOf(quad, Numbered(quad, 6)));
  test::WriteBytes("data/anim/brief.anim", test::AnimationOf(quad, Numbered(quad, 2, 100.0f)));
  N_AnimationFactory set;
  ASSERT_EQ(set.AddMesh("data/anim/quad.mesh"), 0);
  ASSERT_EQ(set.AddAction("data/anim/short.anim", nullptr, true), 0);
  ASSERT_EQ(set.AddAction("data/anim/long.anim", "data/anim/brief.anim", true), 1);
  EXPECT_EQ(set.Animation(0)->FrameCount(), 6);
  const int instance = set.CreateInstance();
  N_AnimInstance& i = *set.Instance(instance);
  ASSERT_TRUE(set.SetAction(instance, 0, 30.0f, 0.0f));
  i.channel1.frameA = 4;
  N_Quaternion q;
  N_Vector3 p;
  set.SampleBone(1, i, q, p);
  EXPECT_EQ(p.y, 7.0f) << "the tip holds its last key";
  ASSERT_TRUE(set.SetAction(instance, 1, 30.0f, 1.0f));
  i.channel1.frameA = i.channel1.frameB = 4;
  set.SampleBone(0, i, q, p);
  EXPECT_EQ(p.x, 101.0f) << "B holds its last key at A's frame 4";
}

TEST(AnimStep, AnInstanceWithoutAPlayableAnimationIsLeftAlone) {
  test::AnimRig rig;
  const datagen::AnimMeshBuilder quad = test::TwoBoneQuad();
  test::WriteBytes("data/anim/quad.mesh", quad.Write());
  N_AnimationFactory set;
  ASSERT_EQ(set.AddMesh("data/anim/quad.mesh"), 0);
  const int instance = set.CreateInstance();  // channel 1 names animation 0, queued action 0: neither exists
  set.RenderInstance(0.5f, instance, N_Vector3{}, N_Matrix3{}, true, true);
  EXPECT_EQ(set.Instance(instance)->frameTime, 0.0f) << "not stepped";
  EXPECT_EQ(set.Instance(instance)->channel2.actionIndex, -1) << "no action to take";
  EXPECT_TRUE(rig.TakeCalls("DrawIndexedPrimitive").empty());
  set.RenderInstance(0.5f, 7, N_Vector3{}, N_Matrix3{}, true, true);  // no such instance: nothing
}

TEST(AnimStep, FarFiguresAdvanceButAreNeitherPosedNorDrawn) {
  test::AnimRig rig;
  rig.harness.dir.Write("data/scripts/anim.shader", "anim/quad\n{\ncull none\n{ map x\n}\n}\n");
  rig.core.vars->SetFloat("LODWorldDistance", 1000.0f, 0);
  struct Case {
    const char* what;
    float y;  ///< distance ahead of the camera
    bool force, draw, drawn;
  };
  const Case cases[] = {
      {"near", 500.0f, false, true, true},
      {"beyond LODWorldDistance", 3000.0f, false, true, false},
      {"beyond, forced", 3000.0f, true, true, true},
      {"behind the camera", -500.0f, false, true, false},
      {"near, draw flag clear", 500.0f, false, false, false},
      {"beyond, forced, draw flag clear", 3000.0f, true, false, false},
  };
  for (const Case& c : cases) {
    StepSet s;
    rig.LoadShaders();
    rig.device->ClearCalls();
    // The root turned: a posed figure's bone matrices leave the identity.
    s.set.RenderInstance(0.05f, s.instance, N_Vector3{0, c.y, 0}, N_Matrix3{}, c.force, c.draw);
    EXPECT_EQ(s.Get().channel1.frameA, 1) << c.what << ": always advanced";
    const bool posed = s.Get().boneMatrices[0].m[3] != 0.0f;
    EXPECT_EQ(posed, c.drawn) << c.what;
    EXPECT_EQ(rig.TakeCalls("DrawIndexedPrimitive").size(), c.drawn ? 2u : 0u) << c.what;
  }
}

/// Device calls in order: every surface draw must find a vertex program bound.
int DrawsWithoutProgram(const std::vector<std::string>& calls, int* draws) {
  std::string program = "null";
  int missing = 0;
  for (const std::string& call : calls) {
    if (call.rfind("SetVertexShader(", 0) == 0) program = call.substr(16, call.size() - 17);
    if (call.rfind("DrawIndexedPrimitive(", 0) == 0) {
      ++*draws;
      if (program == "null") ++missing;
    }
  }
  return missing;
}

TEST(AnimStep, TheSkeletonDrawLeavesTheNextDeformedMeshItsProgram) {
  test::AnimRig rig;
  rig.LoadPrograms();
  rig.harness.dir.Write("data/scripts/anim.shader",
                        "anim/quad\n{\ncull none\ndeformvertexes wave 100 sin 0 2 0 1\n{ map x\n}\n}\n");
  rig.core.vars->SetInt("showskeleton", 1, 0);
  StepSet s;
  const int second = s.set.CreateInstance();
  ASSERT_TRUE(s.set.SetAction(second, 0, 30.0f, 0.0f));
  rig.LoadShaders();
  rig.device->ClearCalls();
  rig.render.BeginFrame();
  rig.render.SetupCamera(&rig.camera, 1);
  for (const int instance : {s.instance, second}) {
    s.set.RenderInstance(0.05f, instance, N_Vector3{0, 500, 0}, N_Matrix3{}, false, true);
  }
  const std::vector<std::string> calls = rig.TakeCalls();
  int draws = 0;
  EXPECT_EQ(DrawsWithoutProgram(calls, &draws), 0);
  EXPECT_EQ(draws, 4) << "two surfaces of two instances";
  int points = 0;
  for (const std::string& call : calls) points += call.rfind("DrawPrimitiveUP(1, 1,", 0) == 0;
  EXPECT_EQ(points, 2) << "one skeleton point (the tip) for each instance";
  rig.render.EndFrame();
}

}  // namespace
