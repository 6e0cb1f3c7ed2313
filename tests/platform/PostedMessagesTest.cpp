// Posted messages and the close path of a window: PostMessageA, DefWindowProcA's
// WM_CLOSE, WM_DESTROY, and the quit message it posts (needs a display).
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT> g_seen;

/// A window procedure in the intro player's manner: WM_DESTROY posts the quit message.
LRESULT QuittingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_seen.push_back(message);
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeHiddenWindow() {
  WNDCLASSA windowClass;
  windowClass.lpfnWndProc = QuittingProc;
  windowClass.lpszClassName = "Posting Test";
  EXPECT_NE(RegisterClassA(&windowClass), 0);
  // Style 0 and size 0: a hidden window that only takes messages.
  return CreateWindowExA(0, "Posting Test", "hidden", 0, 0, 0, 0, 0, 0, 0, 1, nullptr);
}

TEST(PostedMessages, CloseDestroysOnceAndTheQuitMessageStaysQueued) {
  const HWND window = MakeHiddenWindow();
  ASSERT_NE(window, 0);
  ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, 'A', 0));
  ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
  MSG msg;
  while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(g_seen, (std::vector<UINT>{WM_KEYDOWN, WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(DestroyWindow(window));  // a second destroy is harmless
  EXPECT_FALSE(PostMessageA(window, WM_CLOSE, 0, 0));
  // The quit message is the thread's (window 0): only an unfiltered peek takes it.
  EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.hwnd, 0);
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
}

TEST(PostedMessages, DestroyWindowSendsWmDestroyFirst) {
  const HWND window = MakeHiddenWindow();
  ASSERT_NE(window, 0);
  ASSERT_TRUE(PostMessageA(0, WM_LBUTTONDOWN, MK_LBUTTON, 0));  // a thread message
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(g_seen, std::vector<UINT>{WM_DESTROY});
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_LBUTTONDOWN);
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
}

}  // namespace
