#include "core/KeyDefinitions.h"
#include "core/PlayerControls.h"
#include "core/Var.h"
#include "platform/dinput8.h"
#include "platform/win32.h"
#include "tests/core/InputRig.h"

#include <cstring>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>

namespace {

// Stand-ins for the race's "Pause" page calls, installed through the controls' seam:
// they count the calls.
int g_pauseShown = 0;
int g_pauseHidden = 0;
void CountPauseShown() { ++g_pauseShown; }
void CountPauseHidden() { ++g_pauseHidden; }

struct ControlsRig : test::InputRig {
  N_PlayerControls controls;
  ControlsRig() {
    ResetKeyDefinitions();
    g_pauseShown = g_pauseHidden = 0;
    SetPausePageCalls(CountPauseShown, CountPauseHidden);
  }
  ~ControlsRig() { SetPausePageCalls(nullptr, nullptr); }
  void Poll() {
    Frame();
    controls.Poll();
  }
  void Hold(std::initializer_list<BYTE> keys) {
    for (BYTE k : keys) input.KeyDown(k);
  }
  void Release(std::initializer_list<BYTE> keys) {
    for (BYTE k : keys) input.KeyUp(k);
  }
};

TEST(PlayerControls, MovementAxesAndBrake) {
  struct Case {
    std::initializer_list<BYTE> held;
    int forward, turn;
    bool brake;
  } cases[] = {
      {{}, 0, 0, false},           {{DIK_W}, 1, 0, false},       {{DIK_S}, -1, 0, false},
      {{DIK_W, DIK_S}, -1, 0, false}, {{DIK_A}, 0, 1, false},    {{DIK_D}, 0, -1, false},
      {{DIK_A, DIK_D}, 0, -1, false}, {{DIK_SPACE}, 0, 0, true}, {{DIK_UP, DIK_Q}, 0, 0, false},
  };
  for (const Case& c : cases) {
    ControlsRig rig;
    rig.Hold(c.held);
    rig.Poll();
    EXPECT_EQ(rig.controls.GetForwardAxis(), c.forward);
    EXPECT_EQ(rig.controls.GetTurnAxis(), c.turn);
    EXPECT_EQ(rig.controls.IsBraking(), c.brake);
    rig.Release(c.held);
    rig.Poll();
    EXPECT_EQ(rig.controls.GetForwardAxis(), 0);  // movement bits last one poll
  }
}

TEST(PlayerControls, TechniqueKeys) {
  ControlsRig rig;
  rig.Poll();
  EXPECT_EQ(rig.controls.GetTechnique(), -1);
  rig.Hold({DIK_1, DIK_3});
  rig.Poll();
  EXPECT_EQ(rig.controls.GetTechnique(), 3);  // action 9 is tested after action 7
  rig.Release({DIK_1, DIK_3});
  rig.Poll();
  EXPECT_EQ(rig.controls.GetTechnique(), 3);  // kept after release
  rig.Hold({DIK_0, DIK_5});
  rig.Poll();
  EXPECT_EQ(rig.controls.GetTechnique(), 5);  // technique 0 is tested first
  rig.Release({DIK_5});
  rig.Poll();
  EXPECT_EQ(rig.controls.GetTechnique(), 0);
  EXPECT_EQ(rig.controls.Word1(), 0x10000u);
  rig.Release({DIK_0});
  rig.Hold({DIK_9});
  rig.Poll();
  EXPECT_EQ(rig.controls.GetTechnique(), 9);
  EXPECT_EQ(rig.controls.Word1(), 0x8000u);
}

TEST(PlayerControls, PauseKeyOpensAndClosesThePausePage) {
  // With the page's calls installed, and with none: the pause bit changes the same way.
  for (const bool installed : {true, false}) {
    SCOPED_TRACE(installed ? "installed" : "none installed");
    ControlsRig rig;
    if (!installed) SetPausePageCalls(nullptr, nullptr);
    const int calls = installed ? 1 : 0;
    rig.input.ButtonDown(0);  // shoot held: a lasting bit
    rig.input.Tap(DIK_F5);
    rig.Poll();
    EXPECT_TRUE(rig.controls.IsPaused());
    EXPECT_EQ(g_pauseShown, calls);
    rig.input.ButtonUp(0);
    rig.Poll();
    rig.Poll();
    EXPECT_TRUE(rig.controls.IsPaused());
    EXPECT_NE(rig.controls.Word0() & N_PlayerControls::kShootHeld, 0u);
    rig.input.Tap(DIK_F5);
    rig.Poll();
    EXPECT_FALSE(rig.controls.IsPaused());
    EXPECT_EQ(rig.controls.Word0(), 0u);  // every bit cleared
    EXPECT_EQ(g_pauseShown, calls);
    EXPECT_EQ(g_pauseHidden, calls);
  }
}

TEST(PlayerControls, DeveloperToggleLastsUntilFlippedAgain) {
  ControlsRig rig;
  rig.Hold({DIK_RCONTROL, DIK_RSHIFT});
  rig.input.Tap(DIK_SPACE);
  rig.Poll();
  EXPECT_TRUE(rig.controls.IsDevToggle());
  EXPECT_TRUE(rig.controls.IsTurboHeld());
  rig.Release({DIK_RCONTROL, DIK_RSHIFT});
  rig.input.Tap(DIK_F5);
  for (int i = 0; i < 3; ++i) rig.Poll();
  EXPECT_TRUE(rig.controls.IsDevToggle());
  EXPECT_FALSE(rig.controls.IsTurboHeld());
  EXPECT_TRUE(rig.controls.IsPaused());
  rig.Hold({DIK_RCONTROL, DIK_RSHIFT});
  rig.input.Tap(DIK_SPACE);
  rig.Poll();
  EXPECT_FALSE(rig.controls.IsDevToggle());
  EXPECT_TRUE(rig.controls.IsPaused());  // the other bits are left alone
  rig.input.Tap(DIK_SPACE);
  rig.Poll();
  rig.Release({DIK_RCONTROL, DIK_RSHIFT});
  rig.input.Tap(DIK_F5);  // turning the pause off clears the toggle too
  rig.Poll();
  EXPECT_FALSE(rig.controls.IsDevToggle());
  EXPECT_FALSE(rig.controls.IsPaused());
}

TEST(PlayerControls, DeveloperKeysNeedRightCtrlAndShift) {
  struct Case {
    BYTE key;
    bool modifiers;
    bool f, r, t, escape;
  } cases[] = {
      {DIK_F, true, true, false, false, false},  {DIK_Y, true, true, false, false, false},
      {DIK_R, true, false, true, false, false},  {DIK_T, true, false, false, true, false},
      {DIK_F, false, false, false, false, false}, {DIK_T, false, false, false, false, false},
      {DIK_ESCAPE, false, false, false, false, true},
  };
  for (const Case& c : cases) {
    ControlsRig rig;
    if (c.modifiers) rig.Hold({DIK_RCONTROL, DIK_RSHIFT});
    rig.Hold({c.key});
    rig.Poll();
    EXPECT_EQ(rig.controls.IsDevKeyF(), c.f) << int(c.key);
    EXPECT_EQ(rig.controls.IsDevKeyR(), c.r) << int(c.key);
    EXPECT_EQ(rig.controls.IsDevKeyT(), c.t) << int(c.key);
    EXPECT_EQ(rig.controls.IsEscapeHeld(), c.escape) << int(c.key);
    rig.Poll();  // held, not pressed again: the developer keys last one poll
    EXPECT_FALSE(rig.controls.IsDevKeyF() || rig.controls.IsDevKeyR() || rig.controls.IsDevKeyT());
  }
}

TEST(PlayerControls, DeveloperVariables) {
  struct Case {
    const char* name;
    float start;
    BYTE key;
    float expected;
  } cases[] = {
      {"BigSpeed", 0.05f, DIK_SUBTRACT, 0.0f}, {"BigSpeed", 0.5f, DIK_SUBTRACT, 0.4f},
      {"BigSpeed", 0.5f, DIK_ADD, 0.6f},       {"BigSpeed", 0.5f, DIK_MULTIPLY, 1.5f},
      {"BigSpeed", 0.5f, DIK_DIVIDE, 0.0f},    {"BigSpeed", 3.0f, DIK_DIVIDE, 2.0f},
      {"BigSpeed", 3.0f, DIK_NUMPADENTER, 1.0f}, {"FreeCamera", 0, DIK_U, 1},
      {"FreeCamera", 1, DIK_U, 0},             {"FreeCamera", 5, DIK_U, 5},
      {"r_grid", 0, DIK_G, 1},                 {"r_grid", 3, DIK_G, 0},
      {"r_showFPS", 0, DIK_F, 1},              {"r_showFPS", 2, DIK_F, 0},
  };
  for (const Case& c : cases) {
    ControlsRig rig;
    rig.core.vars->SetFloat(c.name, c.start, 2);
    rig.Hold({DIK_RCONTROL, DIK_RSHIFT});
    rig.input.Tap(c.key);
    rig.Poll();
    N_Var* var = rig.core.vars->Find(c.name);
    ASSERT_NE(var, nullptr);
    EXPECT_FLOAT_EQ(var->Float(), c.expected) << c.name << " " << c.start;
    if (c.expected == 0.0f) {
      EXPECT_STREQ(var->Text(), "0") << c.name;  // the integer 0
    }
    // Without both right-hand modifiers nothing changes.
    rig.Release({DIK_RSHIFT});
    rig.input.Tap(c.key);
    rig.Poll();
    EXPECT_FLOAT_EQ(var->Float(), c.expected) << c.name;
  }
}

TEST(PlayerControls, ShootingQueries) {
  struct Case {
    const char* what;
    void (*script)(platform::ScriptedInput&);
    bool shoot, reload, ctrlShiftQ;
  } cases[] = {
      {"nothing", [](platform::ScriptedInput&) {}, false, false, false},
      {"left button", [](platform::ScriptedInput& in) { in.ButtonDown(0); }, true, false, false},
      {"shoot key held", [](platform::ScriptedInput& in) { in.KeyDown(DIK_F); }, true, false, false},
      {"LCtrl+LShift+A", [](platform::ScriptedInput& in) { in.KeyDown(DIK_LCONTROL); in.KeyDown(DIK_LSHIFT); in.Tap(DIK_A); },
       true, false, false},
      {"A alone", [](platform::ScriptedInput& in) { in.Tap(DIK_A); }, false, false, false},
      {"right button", [](platform::ScriptedInput& in) { in.ButtonDown(1); }, false, true, false},
      {"reload key held", [](platform::ScriptedInput& in) { in.KeyDown(DIK_G); }, false, true, false},
      {"LCtrl+LShift+Z", [](platform::ScriptedInput& in) { in.KeyDown(DIK_LCONTROL); in.KeyDown(DIK_LSHIFT); in.Tap(DIK_Z); },
       false, true, false},
      {"RCtrl+RShift+Z", [](platform::ScriptedInput& in) { in.KeyDown(DIK_RCONTROL); in.KeyDown(DIK_RSHIFT); in.Tap(DIK_Z); },
       false, false, false},
      {"LCtrl+LShift+Q", [](platform::ScriptedInput& in) { in.KeyDown(DIK_LCONTROL); in.KeyDown(DIK_LSHIFT); in.Tap(DIK_Q); },
       false, false, true},
  };
  for (const Case& c : cases) {
    ControlsRig rig;
    c.script(rig.input);
    rig.Frame();
    EXPECT_EQ(IsShootPressed(), c.shoot) << c.what;
    EXPECT_EQ(IsReloadPressed(), c.reload) << c.what;
    EXPECT_EQ(IsCtrlShiftQPressed(), c.ctrlShiftQ) << c.what;
  }
  // The button goes through the shared latch: one shot per click.
  ControlsRig rig;
  rig.input.ButtonDown(0);
  rig.Frame();
  EXPECT_EQ(rig.Mouse(3, 1), 1);
  EXPECT_FALSE(IsShootPressed());
}

TEST(KeyBindings, BindPressedKey) {
  ControlsRig rig;
  int previous = -7;
  rig.Frame();
  EXPECT_EQ(BindPressedKey(0, &previous), nullptr);  // no key went down

  rig.input.Tap(DIK_S);
  rig.Frame();
  const char* name = BindPressedKey(0, &previous);
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, "S");
  EXPECT_EQ(previous, 1);
  EXPECT_EQ(g_keyDefinitions[0], DIK_S);
  EXPECT_EQ(g_keyDefinitions[1], DIK_W);  // the two swap
  EXPECT_STREQ(GetActionKeyName(1), "W");
  EXPECT_STREQ(GetActionKeyName(0), "S");

  // S moves forward now, W backward.
  for (const auto& [key, axis] : {std::pair{DIK_S, 1}, {DIK_W, -1}}) {
    rig.input.KeyDown(key);
    rig.Poll();
    EXPECT_EQ(rig.controls.GetForwardAxis(), axis) << int(key);
    rig.input.KeyUp(key);
  }

  // Whichever key is taken from whichever action, every action keeps a key of its own.
  for (const auto& [action, key] : {std::pair{6, DIK_W}, {5, DIK_G}, {18, DIK_0}, {16, DIK_SPACE}, {2, DIK_F5}}) {
    rig.input.Tap(static_cast<BYTE>(key));
    rig.Frame();
    ASSERT_NE(BindPressedKey(action, nullptr), nullptr);
    std::set<int> keys(g_keyDefinitions.begin(), g_keyDefinitions.begin() + 20);
    EXPECT_EQ(keys.size(), 20u) << "action " << action;
    EXPECT_EQ(keys.count(0), 0u) << "action " << action;
  }

  previous = -7;
  rig.input.Tap(DIK_K);
  rig.Frame();
  EXPECT_STREQ(BindPressedKey(3, &previous), "K");  // a free key
  EXPECT_EQ(previous, -7);
  EXPECT_EQ(g_keyDefinitions[3], DIK_K);

  rig.input.Tap(DIK_K);
  rig.Frame();
  EXPECT_STREQ(BindPressedKey(3, &previous), "K");  // already this action's key
  EXPECT_EQ(previous, 3);
  EXPECT_EQ(g_keyDefinitions[3], DIK_K);

  // The lowest code wins; actions outside 0-19 bind nothing.
  rig.input.Tap(DIK_RCONTROL);
  rig.input.Tap(DIK_P);
  rig.Frame();
  const auto before = g_keyDefinitions;
  EXPECT_EQ(BindPressedKey(20, &previous), nullptr);
  EXPECT_EQ(BindPressedKey(-1, &previous), nullptr);
  EXPECT_EQ(g_keyDefinitions, before);
  EXPECT_STREQ(BindPressedKey(17, nullptr), "P");
}

TEST(KeyBindings, KeyNames) {
  const std::pair<int, const char*> cases[] = {
      {0, "???"},       {1, "Escape"},   {11, "0"},          {55, "Num Multiply"}, {83, "Num decimal"},
      {84, "0x54"},     {89, "???"},     {144, "KEY_CIRCUMFLEX"}, {157, "Right Ctrl"}, {198, "Home1"},
      {219, "Menu"},    {253, "???"},    {254, ""},          {255, ""},            {256, ""},
      {-1, ""},
  };
  for (const auto& [code, name] : cases) EXPECT_STREQ(GetKeyName(code).name, name) << code;
  ResetKeyDefinitions();
  const char* defaults[] = {"W", "S", "Space", "A", "D", "F", "G", "1", "2", "3",
                            "4", "5", "6",     "7", "8", "9", "0", "F4", "F5", "Right Ctrl"};
  for (int action = 0; action < 20; ++action) EXPECT_STREQ(GetActionKeyName(action), defaults[action]) << action;
  EXPECT_STREQ(GetActionKeyName(20), "");
  EXPECT_STREQ(GetActionKeyName(-1), "");
}

TEST(KeyBindings, DefinitionsFile) {
  test::TempDir dir;
  const std::string path = "data/tables/keysdefinition.data";
  dir.Write("data/tables/other", "");
  const std::uint8_t defaults[20] = {DIK_W, DIK_S, DIK_SPACE, DIK_A, DIK_D, DIK_F, DIK_G, DIK_1,  DIK_2,  DIK_3,
                                     DIK_4, DIK_5, DIK_6,     DIK_7, DIK_8, DIK_9, DIK_0, DIK_F4, DIK_F5, DIK_RCONTROL};
  const int sizes[] = {-1, 0, 100, 255, 256, 300};  // -1: no file
  for (int size : sizes) {
    std::string file;
    for (int i = 0; i < size; ++i) file += static_cast<char>(i + 1);
    if (size >= 0) dir.Write(path, file);
    LoadKeyDefinitions();
    for (int i = 0; i < 256; ++i) {
      // A short file gives the default bindings and keeps whatever else arrived.
      const int expected = (i < 20 && size < 256) ? defaults[i] : (i < size ? (i + 1) & 0xFF : 0);
      EXPECT_EQ(g_keyDefinitions[i], expected) << "size " << size << " byte " << i;
    }
    ASSERT_TRUE(SaveKeyDefinitions());
    const std::string saved = dir.Read(path);
    ASSERT_EQ(saved.size(), 256u);
    EXPECT_EQ(std::memcmp(saved.data(), g_keyDefinitions.data(), 256), 0);
  }
  // A table saved with an action left without a key (forward, its W taken by reload):
  // it takes the first free default key (reload's old G); the others stay.
  std::string unbound(reinterpret_cast<const char*>(defaults), 20);
  unbound[0] = 0;
  unbound[6] = static_cast<char>(DIK_W);
  dir.Write(path, unbound + std::string(236, '\0'));
  LoadKeyDefinitions();
  EXPECT_EQ(g_keyDefinitions[0], DIK_G);
  EXPECT_EQ(std::memcmp(g_keyDefinitions.data() + 1, unbound.data() + 1, 19), 0);
  // A file that cannot be written is left alone, silently.
  test::TempDir empty;
  EXPECT_FALSE(SaveKeyDefinitions());
  EXPECT_FALSE(empty.Exists("data"));
}

TEST(KeyBindings, AFailedSaveLeavesTheOldTableWholeAndSaysWhy) {
  // The table used to be emptied by its open ("wb") before it was written: a full disk
  // or a killed process left a short file, which the next start reads as defaults.
  test::TempDir dir;
  const std::string old(256, '\x11');
  for (const platform::ReplaceStep step :
       {platform::ReplaceStep::Open, platform::ReplaceStep::Write, platform::ReplaceStep::Close}) {
    dir.Write("data/tables/keysdefinition.data", old);
    g_keyDefinitions.fill(0x22);
    platform::SetReplaceFailureHook([step](platform::ReplaceStep at) { return at == step; });
    std::string why;
    EXPECT_FALSE(SaveKeyDefinitions(&why)) << int(step);
    platform::SetReplaceFailureHook({});
    EXPECT_EQ(dir.Read("data/tables/keysdefinition.data"), old) << int(step);
    EXPECT_NE(why.find("data/tables/keysdefinition.data"), std::string::npos) << why;
  }
  std::string why;
  EXPECT_TRUE(SaveKeyDefinitions(&why)) << why;
  EXPECT_EQ(dir.Read("data/tables/keysdefinition.data"), std::string(256, '\x22'));
}

}  // namespace
