// The input manager over SDL on a virtual X server of the test's own: keys and mouse
// buttons injected through the X server (XTest, by xdotool) reach a focused window and
// nothing reaches an unfocused one.
#include "tests/core/InputRig.h"
#include "tests/support/TestWindow.h"

#include "core/VarMng.h"
#include "platform/dinput8.h"

#include <SDL.h>

#include <chrono>

namespace {

struct SdlInputRig {
  test::TempDir dir;
  test::CoreServices core;
  test::PrivateDisplay display;
  test::TestWindow window;
  test::TestWindow other;
  std::unique_ptr<N_InputMng> mng;

  void Start() {
    core.vars->SetInt("wnd_handle", window.Handle(), 2);
    N_CoreServices block;
    block.varMng = core.vars.get();
    mng = CreateInputMng(block);
    ASSERT_EQ(mng->Init(), 1);
  }
  ~SdlInputRig() {
    if (mng) mng->Shutdown();
    test::XdoTool("keyup a");
  }
  /// Updates until the condition holds or a fail-safe of two minutes has passed.
  template <typename Condition>
  bool UpdateUntil(Condition condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    do {
      mng->Update();
      if (condition()) return true;
    } while (std::chrono::steady_clock::now() < end);
    return false;
  }
  int Held(int dik) { return mng->IsPressed(1, dik, 0); }
  int Pressed(int dik) { return mng->IsPressed(1, dik, 1); }
};

#define REQUIRE_WINDOWS(rig)                                                                  \
  if (!(rig).display.Ok() || !(rig).window.Ok() || !(rig).other.Ok()) GTEST_SKIP() << "no Xvfb"; \
  ASSERT_TRUE((rig).window.Focus())

TEST(InputWindow, KeyFromTheXServerIsHeldAndPressed) {
  SdlInputRig rig;
  REQUIRE_WINDOWS(rig);
  rig.Start();
  ASSERT_TRUE(test::XdoTool("keydown a"));
  bool pressed = false;
  // Update alone pumps the events: nothing else here polls SDL.
  ASSERT_TRUE(rig.UpdateUntil([&] { return (pressed = rig.Pressed(DIK_A)) || rig.Held(DIK_A); }));
  EXPECT_TRUE(pressed);
  EXPECT_EQ(rig.Held(DIK_A), 1);
  rig.mng->Update();
  EXPECT_EQ(rig.Held(DIK_A), 1);
  EXPECT_EQ(rig.Pressed(DIK_A), 0);  // the key's repeats are no new presses
  ASSERT_TRUE(test::XdoTool("keyup a"));
  EXPECT_TRUE(rig.UpdateUntil([&] { return rig.Held(DIK_A) == 0; }));
}

// A press and release from the X server within 5 ms, both read by one update: the
// button counts as held in that frame and as gone down, so the GUI sees a click; the
// next frame it is up.
TEST(InputWindow, AQuickClickWithinOneFrameIsSeen) {
  SdlInputRig rig;
  REQUIRE_WINDOWS(rig);
  rig.Start();
  ASSERT_TRUE(test::XdoTool("mousemove 40 40"));
  rig.mng->Update();
  ASSERT_TRUE(test::XdoTool("mousedown 1 sleep 0.004 mouseup 1"));
  // Both events wait in SDL's queue for the next update.
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);  // a fail-safe
  do {
    SDL_PumpEvents();
  } while (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_MOUSEBUTTONUP, SDL_MOUSEBUTTONUP) == 0 &&
           std::chrono::steady_clock::now() < end);
  rig.mng->Update();
  EXPECT_EQ(rig.mng->IsPressed(2, 3, 0), 1);
  EXPECT_EQ(rig.mng->IsPressed(2, 3, 1), 1);
  rig.mng->Update();
  EXPECT_EQ(rig.mng->IsPressed(2, 3, 0), 0);
  EXPECT_EQ(rig.mng->IsPressed(2, 3, 1), 0);
}

TEST(InputWindow, FocusLossEndToEnd) {
  SdlInputRig rig;
  REQUIRE_WINDOWS(rig);
  rig.Start();
  ASSERT_TRUE(test::XdoTool("keydown a"));
  ASSERT_TRUE(rig.UpdateUntil([&] { return rig.Held(DIK_A) == 1; }));

  ASSERT_TRUE(rig.other.Focus());
  for (int frame = 0; frame < 5; ++frame) {
    rig.mng->Update();  // must return: Acquire without focus is refused, not "input lost"
    EXPECT_EQ(rig.Held(DIK_A), 0);
    EXPECT_EQ(rig.Pressed(DIK_A), 0);
    EXPECT_EQ(rig.mng->IsPressed(2, 0, 0), 0);
  }
  EXPECT_NE(rig.mng->Acquire(), DI_OK);

  // Focus back: the next reads re-acquire, and the key still held is seen again.
  ASSERT_TRUE(rig.window.Focus());
  EXPECT_TRUE(rig.UpdateUntil([&] { return rig.Held(DIK_A) == 1; }));
}

}  // namespace
