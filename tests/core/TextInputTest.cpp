#include "tests/core/InputRig.h"

#include "platform/dinput8.h"

#include <map>
#include <sstream>
#include <string>

namespace {

// Key names of the typing scripts: "+X" holds X down, "-X" lets it go, "X" taps it.
const std::map<std::string, BYTE> kKeys = {
    {"a", DIK_A},          {"b", DIK_B},         {"c", DIK_C},         {"d", DIK_D},
    {"e", DIK_E},          {"1", DIK_1},         {"Minus", DIK_MINUS}, {"Space", DIK_SPACE},
    {"Left", DIK_LEFT},    {"Right", DIK_RIGHT}, {"Home", DIK_HOME},   {"End", DIK_END},
    {"Back", DIK_BACK},    {"Delete", DIK_DELETE}, {"Enter", DIK_RETURN}, {"Tab", DIK_TAB},
    {"Escape", DIK_ESCAPE}, {"LShift", DIK_LSHIFT}, {"RShift", DIK_RSHIFT}, {"LCtrl", DIK_LCONTROL},
    {"Caps", DIK_CAPITAL}, {"Num7", DIK_NUMPAD7}, {"NumMinus", DIK_SUBTRACT},
};

void Type(platform::ScriptedInput& input, const std::string& script) {
  std::istringstream words(script);
  std::string word;
  while (words >> word) {
    const char op = word[0];
    const std::string name = (op == '+' || op == '-') ? word.substr(1) : word;
    ASSERT_TRUE(kKeys.count(name)) << name;
    const BYTE dik = kKeys.at(name);
    if (op == '+') {
      input.KeyDown(dik);
    } else if (op == '-') {
      input.KeyUp(dik);
    } else {
      input.Tap(dik);
    }
  }
}

TEST(TextInput, EditingScripts) {
  struct Case {
    const char* start;  // text set before typing (cursor at its end)
    int maxLength;
    const char* script;  // typed within one frame
    const char* text;
    int cursor;
  } cases[] = {
      {"", -1, "a b Left c", "acb", 2},
      {"", 3, "a b c d", "abc", 3},
      {"", 3, "a b c d Left Left", "abc", 1},  // arrows still move at the limit
      {"", 0, "a", "", 0},
      {"", -1, "+LShift a", "A", 1},
      {"", -1, "+RShift 1 Minus", "!_", 2},
      {"", -1, "Caps a", "A", 1},
      {"", -1, "Caps +LShift a", "a", 1},
      {"", -1, "1 Minus Space", "1- ", 3},
      {"", -1, "Enter Tab Escape LShift RShift a", "a", 1},  // controls and shift keys add nothing
      {"", -1, "+LCtrl a", "", 0},
      {"", -1, "Num7 NumMinus", "-", 1},  // the numpad digits are navigation keys without Num Lock
      {"xy", -1, "Home Back", "xy", 0},
      {"xy", -1, "Delete", "xy", 2},
      {"xy", -1, "Right", "xy", 2},
      {"abc", -1, "Left Back", "ac", 1},
      {"abc", -1, "Home Delete", "bc", 0},
      {"abc", -1, "Home d End e", "dabce", 5},
  };
  for (const Case& c : cases) {
    test::InputRig rig;
    rig.mng->SetTextInputEnabled(1);
    rig.mng->SetMaxLength(c.maxLength);
    rig.mng->SetText(c.start);
    Type(rig.input, c.script);
    rig.Frame();
    EXPECT_STREQ(rig.mng->GetText(), c.text) << c.script;
    EXPECT_EQ(rig.mng->GetCursor(), c.cursor) << c.script;
  }
}

TEST(TextInput, NothingWhileDisabled) {
  test::InputRig rig;
  rig.input.Tap(DIK_A);
  rig.Frame();
  EXPECT_STREQ(rig.mng->GetText(), "");
  rig.mng->SetTextInputEnabled(1);
  rig.input.Tap(DIK_A);
  rig.Frame();
  rig.mng->SetTextInputEnabled(0);
  rig.input.Tap(DIK_B);
  rig.input.Tap(DIK_BACK);
  rig.Frame();
  EXPECT_STREQ(rig.mng->GetText(), "a");
}

TEST(TextInput, HoldsAtMost2047Characters) {
  test::InputRig rig;
  rig.mng->SetTextInputEnabled(1);
  rig.mng->SetText(std::string(3000, 'x').c_str());
  EXPECT_EQ(std::string(rig.mng->GetText()), std::string(2047, 'x'));
  EXPECT_EQ(rig.mng->GetCursor(), 2047);
  rig.input.Tap(DIK_A);
  rig.Frame();
  EXPECT_EQ(std::string(rig.mng->GetText()).size(), 2047u);
  rig.input.Tap(DIK_BACK);
  rig.input.Tap(DIK_HOME);
  rig.input.Tap(DIK_A);
  rig.Frame();
  const std::string text = rig.mng->GetText();
  EXPECT_EQ(text.size(), 2047u);
  EXPECT_EQ(text.front(), 'a');
  rig.mng->ClearText();
  EXPECT_STREQ(rig.mng->GetText(), "");
  EXPECT_EQ(rig.mng->GetCursor(), 0);
  rig.mng->SetText(nullptr);
  EXPECT_STREQ(rig.mng->GetText(), "");
}

}  // namespace
