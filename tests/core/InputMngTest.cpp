#include "tests/core/InputRig.h"

#include "platform/dinput8.h"

namespace {

constexpr int kLeftButton = 3;  // mouse codes of buttons 0 and 1
constexpr int kRightButton = 4;

TEST(InputMng, KeyEdgesOverFrames) {
  test::InputRig rig;
  struct Frame {
    void (*script)(platform::ScriptedInput&);
    int heldW, pressedW, heldS, pressedS;
  } frames[] = {
      {[](platform::ScriptedInput& in) { in.KeyDown(DIK_W); }, 1, 1, 0, 0},
      {[](platform::ScriptedInput&) {}, 1, 0, 0, 0},
      {[](platform::ScriptedInput& in) { in.Tap(DIK_S); }, 1, 0, 0, 1},  // down and up within the frame
      {[](platform::ScriptedInput& in) { in.KeyUp(DIK_W); }, 0, 0, 0, 0},
      {[](platform::ScriptedInput& in) { in.Tap(DIK_W); in.KeyDown(DIK_W); }, 1, 1, 0, 0},
  };
  int n = 0;
  for (const Frame& f : frames) {
    f.script(rig.input);
    rig.Frame();
    EXPECT_EQ(rig.Held(DIK_W), f.heldW) << "frame " << n;
    EXPECT_EQ(rig.Pressed(DIK_W), f.pressedW) << "frame " << n;
    EXPECT_EQ(rig.Held(DIK_S), f.heldS) << "frame " << n;
    EXPECT_EQ(rig.Pressed(DIK_S), f.pressedS) << "frame " << n;
    ++n;
  }
}

TEST(InputMng, ButtonEdgeIsLatchedByTheQueries) {
  test::InputRig rig;
  rig.input.ButtonDown(0);
  rig.Frame();
  EXPECT_EQ(rig.Mouse(kLeftButton, 1), 1);
  EXPECT_EQ(rig.Mouse(kLeftButton, 1), 0);  // the second query of the frame
  EXPECT_EQ(rig.Mouse(kLeftButton, 0), 1);
  rig.Frame();
  EXPECT_EQ(rig.Mouse(kLeftButton, 1), 0);  // still held: no new edge

  rig.input.ButtonUp(0);
  rig.Frame();
  EXPECT_EQ(rig.Mouse(kLeftButton, 1), 0);
  // Pressed while nobody asked: reported at the next query, frames later.
  rig.input.ButtonDown(0);
  rig.Frame();
  rig.Frame();
  EXPECT_EQ(rig.Mouse(kLeftButton, 1), 1);
  // Each button has its own latch.
  rig.input.ButtonDown(1);
  rig.Frame();
  EXPECT_EQ(rig.Mouse(kRightButton, 0), 1);
  EXPECT_EQ(rig.Mouse(kRightButton, 1), 1);
  EXPECT_EQ(rig.Mouse(kLeftButton, 1), 0);
}

TEST(InputMng, MouseMotionAndWheel) {
  test::InputRig rig;
  rig.input.MoveMouse(7, -3);
  rig.input.TurnWheel(1);
  rig.Frame();
  struct Query {
    int code, edge, expected;
  } queries[] = {
      {0, 0, -7}, {0, 1, -7}, {1, 0, 3}, {2, 0, -120}, {7, 0, 1}, {7, 1, 1}, {8, 0, 0},
  };
  for (const Query& q : queries) EXPECT_EQ(rig.Mouse(q.code, q.edge), q.expected) << q.code << "/" << q.edge;
  rig.input.TurnWheel(-2);
  rig.Frame();
  EXPECT_EQ(rig.Mouse(0), 0);  // motion is per frame
  EXPECT_EQ(rig.Mouse(2), 240);
  EXPECT_EQ(rig.Mouse(7), 0);
  EXPECT_EQ(rig.Mouse(8), 1);
}

TEST(InputMng, QueriesOutsideTheRangesAnswerZero) {
  test::InputRig rig;
  rig.input.KeyDown(DIK_A);
  rig.input.ButtonDown(0);
  rig.input.MoveMouse(5, 5);
  rig.Frame();
  const int queries[][2] = {{1, -1}, {1, 256}, {1, 0x1000 + DIK_A}, {2, -1}, {2, -6}, {2, 9}, {0, DIK_A}, {3, 0}};
  for (const auto& q : queries) {
    EXPECT_EQ(rig.mng->IsPressed(q[0], q[1], 0), 0) << q[0] << "," << q[1];
    EXPECT_EQ(rig.mng->IsPressed(q[0], q[1], 1), 0) << q[0] << "," << q[1];
  }
}

TEST(InputMng, WithoutDevicesNothingHappens) {
  test::InputRig rig(false);
  EXPECT_EQ(rig.mng->Acquire(), DIERR_NOTINITIALIZED);
  rig.input.KeyDown(DIK_A);
  rig.Frame();
  EXPECT_EQ(rig.Held(DIK_A), 0);
  rig.mng->Shutdown();
  rig.mng->Shutdown();  // twice is harmless
}

TEST(InputMng, FocusLossReleasesEverythingUntilReacquired) {
  test::InputRig rig;
  rig.input.KeyDown(DIK_W);
  rig.input.ButtonDown(0);
  rig.input.MoveMouse(9, 0);
  rig.Frame();
  ASSERT_EQ(rig.Held(DIK_W), 1);
  ASSERT_EQ(rig.Mouse(0), -9);

  rig.input.SetFocus(false);
  rig.input.KeyDown(DIK_E);
  rig.input.MoveMouse(4, 4);
  for (int frame = 0; frame < 3; ++frame) {
    rig.Frame();  // returns: Acquire without focus does not answer "input lost"
    EXPECT_EQ(rig.Held(DIK_W), 0);
    EXPECT_EQ(rig.Held(DIK_E), 0);
    EXPECT_EQ(rig.Pressed(DIK_E), 0);
    EXPECT_EQ(rig.Mouse(0), 0);  // no stale motion from before the loss
    EXPECT_EQ(rig.Mouse(kLeftButton), 0);
  }

  rig.input.SetFocus(true);
  rig.Frame();  // the failed keyboard read re-acquires the keyboard...
  rig.Frame();  // ...and the next frame's failed mouse read the mouse
  rig.input.KeyDown(DIK_R);
  rig.input.MoveMouse(2, 0);
  rig.Frame();
  EXPECT_EQ(rig.Held(DIK_R), 1);
  EXPECT_EQ(rig.Pressed(DIK_R), 1);
  EXPECT_EQ(rig.Held(DIK_E), 1);  // went down while away: held now, but no press seen
  EXPECT_EQ(rig.Pressed(DIK_E), 0);
  EXPECT_EQ(rig.Mouse(0), -2);
  EXPECT_EQ(rig.Mouse(kLeftButton), 1);
  // The application's focus handler re-acquires the same way.
  rig.input.SetFocus(false);
  rig.Frame();
  rig.input.SetFocus(true);
  EXPECT_EQ(rig.mng->Acquire(), DI_OK);
}

}  // namespace
