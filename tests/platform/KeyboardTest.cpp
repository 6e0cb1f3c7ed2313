#include "platform/dinput8/Keys.h"
#include "platform/dinput8/ScriptedInput.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

namespace {

TEST(Keyboard, ScanCodesGiveVirtualKeys) {
  const std::pair<UINT, UINT> cases[] = {
      {DIK_A, 'A'},           {DIK_Z, 'Z'},           {DIK_1, '1'},           {DIK_0, '0'},
      {DIK_MINUS, VK_OEM_MINUS}, {DIK_SLASH, VK_OEM_2}, {DIK_SPACE, VK_SPACE}, {DIK_RETURN, VK_RETURN},
      {DIK_LSHIFT, VK_SHIFT}, {DIK_RSHIFT, VK_SHIFT}, {DIK_RCONTROL, VK_CONTROL}, {DIK_NUMPAD7, VK_HOME},
      {DIK_MULTIPLY, VK_MULTIPLY}, {DIK_DIVIDE, VK_DIVIDE}, {DIK_F12, VK_F1 + 11}, {DIK_LEFT, VK_LEFT},
      {0, 0},                 {0x54, 0},              {0x100, 0},
  };
  const HKL layout = GetKeyboardLayout(0);
  for (const auto& [scan, vk] : cases) EXPECT_EQ(MapVirtualKeyExA(scan, MAPVK_VSC_TO_VK, layout), vk) << scan;
  EXPECT_EQ(MapVirtualKeyExA(DIK_A, 0, layout), 0u);  // other modes are not offered
}

TEST(Keyboard, VirtualKeysGiveCharactersUnderTheKeyState) {
  struct Case {
    UINT vk;
    bool shift, caps, ctrl;
    int expected;  // 0 = no character
  } cases[] = {
      {'A', false, false, false, 'a'}, {'A', true, false, false, 'A'},  {'A', false, true, false, 'A'},
      {'A', true, true, false, 'a'},   {'2', false, false, false, '2'}, {'2', true, false, false, '@'},
      {'2', false, true, false, '2'},  {VK_OEM_1, true, false, false, ':'}, {VK_OEM_7, false, false, false, '\''},
      {VK_SPACE, false, false, false, ' '}, {VK_RETURN, false, false, false, '\r'},
      {VK_MULTIPLY, false, false, false, '*'}, {'C', false, false, true, 3}, {'1', false, false, true, 0},
      {VK_HOME, false, false, false, 0}, {VK_F1, true, false, false, 0},
  };
  for (const Case& c : cases) {
    BYTE state[256] = {};
    if (c.shift) state[VK_SHIFT] = 0x80;
    if (c.ctrl) state[VK_CONTROL] = 0x80;
    if (c.caps) state[VK_CAPITAL] = 0x01;
    WORD out = 0;
    const int n = ToAsciiEx(c.vk, 0, state, &out, 0, GetKeyboardLayout(0));
    EXPECT_EQ(n, c.expected ? 1 : 0) << c.vk;
    if (c.expected) {
      EXPECT_EQ(out, c.expected) << c.vk;
    }
  }
  BYTE state[256] = {};
  WORD out = 0;
  EXPECT_EQ(ToAsciiEx('A', 0x8000 | DIK_A, state, &out, 0, 0), 0);  // a release gives nothing
}

TEST(Keyboard, KeyStateFollowsTheInputSource) {
  platform::ScriptedInput input;
  input.KeyDown(DIK_RSHIFT);
  input.Tap(DIK_CAPITAL);
  input.KeyDown(DIK_Q);
  BYTE state[256];
  ASSERT_TRUE(GetKeyboardState(state));
  EXPECT_EQ(state[VK_SHIFT], 0x80);
  EXPECT_EQ(state[VK_RSHIFT], 0x80);
  EXPECT_EQ(state[VK_LSHIFT], 0);
  EXPECT_EQ(state[static_cast<BYTE>('Q')], 0x80);
  EXPECT_EQ(state[VK_CAPITAL], 0x01);  // toggled on, not held
  input.Tap(DIK_CAPITAL);
  input.KeyUp(DIK_RSHIFT);
  ASSERT_TRUE(GetKeyboardState(state));
  EXPECT_EQ(state[VK_CAPITAL], 0);
  EXPECT_EQ(state[VK_SHIFT], 0);
}

}  // namespace
