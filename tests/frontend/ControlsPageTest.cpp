// The controls page over the sample pages: the key buttons' captions, the figure's
// animation under the mouse, and the key capture driven by the scripted keyboard
// through the capture's own frames.
#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/KeyDefinitions.h"
#include "core/PlayerControls.h"
#include "frontend/ControlsPage.h"
#include "frontend/FrontendFrame.h"
#include "frontend/FrontendUtil.h"
#include "frontend/SettingsPage.h"
#include "frontend/SettingsTables.h"
#include "gui/GuiButton.h"
#include "gui/GuiMng.h"
#include "gui/GuiModel.h"
#include "platform/dinput8.h"
#include "platform/dinput8/ScriptedInput.h"
#include "tests/frontend/MenuRig.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ControlsRig {
  ControlsRig() {
    ResetKeyDefinitions();
    N_CoreServices block;
    block.errorLog = menu.pages.rig.core.errorLog.get();
    block.log = menu.pages.rig.core.log.get();
    block.varMng = menu.pages.rig.core.vars.get();
    input = CreateInputMng(block);
    EXPECT_EQ(input->Init(), 1);
    g_inputMng = input.get();
    menu.ShowOnly({"ControlsOptions"});
  }
  ~ControlsRig() {
    frontend::SetFrameObserver({});
    g_inputMng = nullptr;
    input->Shutdown();
  }
  std::map<std::string, std::string> Captions() {
    std::map<std::string, std::string> captions;
    for (const auto& row : settings::KeyButtons()) captions[row.button] = menu.pages.Caption(row.button);
    return captions;
  }
  /// Clicks the button; the keys go down together in the capture's third frame.
  void Capture(const char* button, std::vector<BYTE> keys) {
    int frames = 0;
    frontend::SetFrameObserver([this, keys, &frames](const frontend::FrameEvent& event) {
      if (event.drawn) {
        colours.push_back(menu.Gui().GetElement(waiting, false) ? static_cast<N_GuiText*>(menu.Gui().GetElement(waiting, false))->GetCurrentColor() : -1);
        cursor.push_back(menu.Gui().GetCursorCounter());
        return;
      }
      if (++frames == 3) {
        for (BYTE key : keys) script.KeyDown(key);
      }
    });
    waiting = button;
    colours.clear();
    cursor.clear();
    menu.Press(button);
    frontend::SetFrameObserver({});
    for (BYTE key : keys) script.KeyUp(key);
    input->Update();
  }

  test::MenuRig menu;
  platform::ScriptedInput script;
  std::unique_ptr<N_InputMng> input;
  const char* waiting = "";
  std::vector<std::int32_t> colours;  ///< the waiting button's colour in each frame
  std::vector<std::int32_t> cursor;   ///< the cursor counter in each frame
};

TEST(ControlsPage, CaptionsAndFigureFollowTheTable) {
  ControlsRig c;
  Options2Show(nullptr);
  const std::map<std::string, std::string> expected = {
      {"ForwardKey1", "W"},  {"BackwardKey1", "S"},  {"BreakKey1", "Space"},   {"LeftKey1", "A"},
      {"RightKey1", "D"},    {"Skating1Key1", "1"},  {"Skating2Key1", "2"},    {"Skating3Key1", "3"},
      {"Skating4Key1", "4"}, {"Paralell1Key1", "5"}, {"Paralell2Key1", "6"},   {"UphillKey1", "7"},
      {"DownhillKey1", "8"}, {"PauseKey1", "F5"},    {"ReloadKey1", "G"},
  };
  EXPECT_EQ(c.Captions(), expected);
  auto& model = c.menu.pages.ElementAs<N_GuiModel>("Model6");
  for (const auto& [element, animation] : {std::pair{"BackwardKey1", 18}, {"ReloadKey1", 30}, {"PauseKey1", 8},
                                           {"LeftKey1", 5}, {"Back15", 8}}) {
    model.SetAnimation(-1);
    OptionsEnter(&c.menu.pages.Element(element));
    EXPECT_EQ(model.GetAnimation(), animation) << element;
  }
  c.menu.Press("Back15");
  EXPECT_EQ(c.menu.Visible(), (std::vector<std::string>{"Background", "MainOptions"}));
}

TEST(ControlsPage, CaptureBindsTheFirstKeyDownAndShowsTheSwappedKey) {
  ControlsRig c;
  Options2Show(nullptr);
  const std::int32_t colour = c.menu.pages.ElementAs<N_GuiButton>("BackwardKey1").GetColor();
  const std::int32_t counter = c.menu.Gui().GetCursorCounter();

  // W, the forward key, for "BackwardKey1": waits in red without the cursor, then takes
  // it; forward takes S in exchange.
  c.Capture("BackwardKey1", {DIK_W});
  auto captions = c.Captions();
  EXPECT_EQ(captions["BackwardKey1"], "W");
  EXPECT_EQ(captions["ForwardKey1"], "S");
  EXPECT_EQ(g_keyDefinitions[0], DIK_S);
  EXPECT_EQ(g_keyDefinitions[1], DIK_W);
  EXPECT_EQ(c.colours, (std::vector<std::int32_t>{1, 1, 1}));
  EXPECT_EQ(c.menu.pages.ElementAs<N_GuiButton>("BackwardKey1").GetCurrentColor(), colour);
  EXPECT_EQ(c.cursor, (std::vector<std::int32_t>{counter - 1, counter - 1, counter - 1}));
  EXPECT_EQ(c.menu.Gui().GetCursorCounter(), counter);
  Options2Show(nullptr);
  EXPECT_EQ(c.Captions(), captions);

  // Its own key again changes nothing.
  captions = c.Captions();
  const auto table = g_keyDefinitions;
  c.Capture("BackwardKey1", {DIK_W});
  EXPECT_EQ(c.Captions(), captions);
  EXPECT_EQ(g_keyDefinitions, table);

  // The shoot key has no button: no other caption changes, shooting takes G, and the
  // mouse still shoots.
  c.Capture("ReloadKey1", {DIK_F});
  captions["ReloadKey1"] = "F";
  EXPECT_EQ(c.Captions(), captions);
  EXPECT_EQ(g_keyDefinitions[key_action::kShoot], DIK_G);
  c.script.ButtonDown(0);
  c.input->Update();
  EXPECT_TRUE(IsShootPressed());
  c.script.ButtonUp(0);

  // Two keys in one frame: the lower scan code. Escape is a key like any other.
  c.Capture("UphillKey1", {DIK_W, DIK_Q});
  EXPECT_EQ(g_keyDefinitions[13], DIK_Q);
  c.Capture("PauseKey1", {DIK_ESCAPE});
  EXPECT_EQ(g_keyDefinitions[key_action::kPause], DIK_ESCAPE);
  EXPECT_EQ(c.menu.pages.Caption("PauseKey1"), "Escape");
}

}  // namespace
