#include "core/KeyboardHook.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyboardHook, SwallowsOnlyTheKeysThatLeaveAFullScreenGame) {
  struct Case {
    DWORD key;
    DWORD flags;
    bool ctrl;
    bool swallowed;
  };
  const Case cases[] = {
      {VK_ESCAPE, 0, true, true},               // Ctrl+Esc
      {VK_ESCAPE, LLKHF_ALTDOWN, false, true},  // Alt+Esc
      {VK_ESCAPE, 0, false, false},             // Esc alone is the game's
      {VK_TAB, LLKHF_ALTDOWN, false, true},     // Alt+Tab
      {VK_TAB, 0, true, false},                 // Ctrl+Tab passes
      {VK_MENU, 0, false, true},
      {VK_LWIN, 0, false, true},
      {VK_RWIN, 0, false, true},
      {VK_APPS, 0, false, true},
      {0x2E, LLKHF_ALTDOWN, true, false},       // Ctrl+Alt+Del reaches the system
      {'A', LLKHF_ALTDOWN, false, false},
  };
  for (const Case& c : cases) {
    KBDLLHOOKSTRUCT event;
    event.vkCode = c.key;
    event.flags = c.flags;
    EXPECT_EQ(IsProtectedSystemKey(event, c.ctrl), c.swallowed) << "key " << c.key;
  }
}

TEST(KeyboardHook, ProcedureAnswersOneForASwallowedKeyAndPassesTheRestOn) {
  KBDLLHOOKSTRUCT tab;
  tab.vkCode = VK_TAB;
  tab.flags = LLKHF_ALTDOWN;
  const LPARAM address = reinterpret_cast<LPARAM>(&tab);
  EXPECT_EQ(N_KeyboardHook(HC_ACTION, 0x0100, address), 1);
  EXPECT_EQ(N_KeyboardHook(1, 0x0100, address), 0) << "not an action code: passed on";
  tab.vkCode = 'Q';
  EXPECT_EQ(N_KeyboardHook(HC_ACTION, 0x0100, address), 0);
  // The layer accepts the hook and never calls it.
  EXPECT_NE(SetWindowsHookExA(WH_KEYBOARD_LL, N_KeyboardHook, 1, 0), 0);
  EXPECT_EQ(SetWindowsHookExA(2, N_KeyboardHook, 1, 0), 0);
}

}  // namespace
