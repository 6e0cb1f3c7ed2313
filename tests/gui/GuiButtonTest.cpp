// Buttons and check boxes: shaders with the mouse and the press, page switching,
// the text growth, held buttons inside containers, drawing.
#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiPage.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using E = N_GuiEventType;

N_GuiEvent Event(E type, std::uint32_t button = 0, bool pressed = false) {
  N_GuiEvent event;
  event.type = type;
  event.button = button;
  event.pressed = pressed;
  return event;
}
const N_GuiEvent kEnter = Event(E::Enter);
const N_GuiEvent kExit = Event(E::Exit);
const N_GuiEvent kLeftDown = Event(E::Button, kGuiLeftButton, true);
const N_GuiEvent kLeftUp = Event(E::Button, kGuiLeftButton, false);
const N_GuiEvent kRightDown = Event(E::Button, kGuiRightButton, true);
const N_GuiEvent kLeftHeld = Event(E::Held, kGuiLeftButton, true);

/// A button (or check box) with four looks, and their handles by name.
template <class T>
T* MakeButton(test::GuiRig& rig, const char* type, const char* name) {
  auto* b = rig.Create<T>(type, name);
  b->SetAttribute("upshader", "up");
  b->SetAttribute("downshader", "down");
  b->SetAttribute("highlightupshader", "hup");
  b->SetAttribute("highlightdownshader", "hdown");
  return b;
}

std::string ShaderName(test::GuiRig& rig, int handle) {
  const N_ShaderEntry* entry = rig.shaders.GetEntry(handle);
  return entry && entry->name ? *entry->name : "none";
}

TEST(GuiButton, LooksFollowTheMouseAndTheLeftButton) {
  struct Step {
    N_GuiEvent event;
    const char* button;
    const char* checkBox;
  };
  // The plain button never shows "down"; the check box does while checked.
  const Step steps[] = {
      {kEnter, "hup", "hup"},       {kLeftDown, "hdown", "hdown"}, {kLeftUp, "hup", "hdown"},
      {kExit, "up", "down"},        {kEnter, "hup", "hdown"},      {kLeftDown, "hdown", "hup"},
      {kExit, "up", "up"},          {kLeftUp, "up", "up"},         {kRightDown, "up", "up"},
      {kEnter, "hup", "hup"},       {kRightDown, "hup", "hup"},    {kLeftDown, "hdown", "hdown"},
      {kExit, "up", "down"},
  };
  test::GuiRig rig;
  auto* button = MakeButton<N_GuiButton>(rig, "Button", "b");
  auto* box = MakeButton<N_GuiCheckBox>(rig, "CheckBox", "c");
  EXPECT_EQ(ShaderName(rig, button->GetShader()), "up");
  int i = 0;
  for (const Step& s : steps) {
    button->HandleEvent(s.event);
    box->HandleEvent(s.event);
    EXPECT_EQ(ShaderName(rig, button->GetShader()), s.button) << "step " << i;
    EXPECT_EQ(ShaderName(rig, box->GetShader()), s.checkBox) << "step " << i;
    ++i;
  }
}

TEST(GuiButton, ACheckBoxTogglesOncePerLeftPress) {
  test::GuiRig rig;
  auto* box = rig.Create<N_GuiCheckBox>("CheckBox", "c");
  box->SetAttribute("onclick", "GuiTestClick");
  struct Step {
    N_GuiEvent event;
    bool checked;
  };
  const Step steps[] = {{kLeftDown, true},  {kLeftHeld, true},  {kLeftHeld, true}, {kLeftUp, true},
                        {kRightDown, true}, {kLeftDown, false}, {kLeftDown, false}, {kLeftUp, false}};
  for (const Step& s : steps) {
    box->HandleEvent(s.event);
    EXPECT_EQ(box->IsChecked(), s.checked);
  }
  EXPECT_EQ(test::GuiCalls().size(), 4u) << "every press clicks, the right one too";
  EXPECT_EQ(box->GetAttribute("checked"), "false");
}

TEST(GuiButton, SetCheckedShowsTheDownLookOnlyWhenThereIsOne) {
  test::GuiRig rig;
  auto* plain = rig.Create<N_GuiCheckBox>("CheckBox", "plain");
  plain->SetAttribute("upshader", "up");
  plain->SetAttribute("checked", "true");
  EXPECT_TRUE(plain->IsChecked());
  EXPECT_EQ(ShaderName(rig, plain->GetShader()), "up");
  auto* full = MakeButton<N_GuiCheckBox>(rig, "CheckBox", "full");
  full->SetChecked(true);
  EXPECT_EQ(ShaderName(rig, full->GetShader()), "down");
  full->SetChecked(false);
  EXPECT_EQ(ShaderName(rig, full->GetShader()), "up");
}

TEST(GuiButton, GotoPageClosesTheOwnPageAndShowsTheTarget) {
  struct Case {
    const char* gotoPage;
    bool onPage;
    bool firstVisibleAfter, targetVisibleAfter;
  };
  const Case cases[] = {
      {"second", true, false, true},
      {"hide", true, false, false},
      {"nosuch", true, false, false},
      {"second", false, true, true},  // no page of its own: nothing to close, the target shows
  };
  for (const Case& c : cases) {
    test::GuiRig rig;
    N_GuiPage* first = rig.mng->CreatePage("first");
    N_GuiPage* second = rig.mng->CreatePage("second");
    auto* button = rig.Create<N_GuiButton>("Button", "go");
    button->SetAttribute("gotopage", c.gotoPage);
    if (c.onPage) first->AddElement(button);
    first->ShowImmediate();

    button->HandleEvent(kRightDown);
    EXPECT_EQ(first->GetFade(), 0) << "a right press follows nothing";
    EXPECT_FALSE(button->IsPressed());
    button->HandleEvent(kLeftDown);
    EXPECT_TRUE(button->IsPressed());
    if (c.onPage) {
      EXPECT_EQ(first->GetFade(), -1) << c.gotoPage;
      EXPECT_TRUE(first->IsVisible()) << "fading out";
    }
    if (c.targetVisibleAfter) {
      EXPECT_TRUE(second->IsVisible());
      EXPECT_EQ(second->GetFade(), 1);
      EXPECT_EQ(second->GetAlpha(), 0.0f);
    }
    for (int frame = 0; frame < 2; ++frame) {
      rig.Step(0.25);
      for (N_GuiPage* page : {first, second}) {
        if (page->IsVisible()) page->Render();
      }
    }
    EXPECT_EQ(first->IsVisible(), c.firstVisibleAfter) << c.gotoPage;
    EXPECT_EQ(second->IsVisible(), c.targetVisibleAfter) << c.gotoPage;
    if (c.targetVisibleAfter) {
      EXPECT_EQ(second->GetAlpha(), 1.0f);
    }
  }
}

TEST(GuiButton, TheTextGrowsUnderTheMouseAndComesBackExactly) {
  test::GuiRig rig;
  auto* button = rig.Create<N_GuiButton>("Button", "b");
  EXPECT_EQ(button->GetVAlignment(), N_GuiElement::kAlignMiddle);
  button->HandleEvent(kEnter);
  EXPECT_FLOAT_EQ(button->GetCharHeight(), 0.52f);
  button->HandleEvent(kExit);
  EXPECT_EQ(button->GetCharHeight(), 0.5f);
  // Disabled when the cursor came, enabled while it stays: the exit finds nothing saved.
  button->SetEnabled(false);
  button->HandleEvent(kEnter);
  button->SetEnabled(true);
  button->HandleEvent(kExit);
  EXPECT_EQ(button->GetCharHeight(), 0.5f);
}

/// A container that notes the events it receives.
class NotingContainer final : public test::TestContainer {
 public:
  using test::TestContainer::TestContainer;
  int HandleEvent(const N_GuiEvent& event) override {
    types.push_back(static_cast<int>(event.type));
    if (event.type == E::ChildHeld) senders.push_back(GuiEventAs<N_GuiElement*>(event.x));
    return test::TestContainer::HandleEvent(event);
  }
  std::vector<int> types;
  std::vector<N_GuiElement*> senders;
};

TEST(GuiButton, AHeldLeftButtonTellsItsContainerOncePerRepeat) {
  test::GuiRig rig;
  NotingContainer box("box");
  auto* button = rig.Create<N_GuiButton>("Button", "b");
  box.Add(button);
  for (const N_GuiEvent& e : {kLeftDown, kLeftHeld, kLeftHeld, Event(E::Held, kGuiRightButton, true), kLeftUp})
    button->HandleEvent(e);
  // The parent sees every event, and after each left repeat the button's own ChildHeld.
  EXPECT_EQ(box.types, (std::vector<int>{4, 5, 8, 5, 8, 5, 4}));
  EXPECT_EQ(box.senders, (std::vector<N_GuiElement*>{button, button}));
}

TEST(GuiButton, DrawingTheBackgroundAndTheCaption) {
  struct Case {
    bool enabled;
    const char* disabledShader;
    const char* background;
    std::size_t entries;
  };
  const Case cases[] = {
      {true, "", "up", 2},
      {false, "off", "off", 2},
      {false, "", "up", 2},
  };
  for (const Case& c : cases) {
    test::GuiRig rig;
    auto* button = rig.Create<N_GuiButton>("Button", "b");
    button->SetAttribute("fontname", "fixed");
    button->SetAttribute("upshader", "up");
    button->SetAttribute("disabledshader", c.disabledShader);
    button->SetAttribute("disabledcolor", "1");
    button->SetAttribute("caption", "Go");
    button->SetEnabled(c.enabled);
    button->ApplyLayout();
    button->Render();
    const auto queued = rig.TakeQueue();
    ASSERT_EQ(queued.size(), c.entries);
    EXPECT_EQ(ShaderName(rig, queued[0].shader), c.background);
    EXPECT_EQ(queued[0].right, 640.0f) << "the quad covers the button";
    EXPECT_EQ(queued[1].rgb, c.enabled ? 0xFFFFFFu : 0xFF0000u) << "the caption in its colour";
  }
  test::GuiRig rig;
  auto* bare = rig.Create<N_GuiButton>("Button", "bare");
  bare->Render();
  EXPECT_TRUE(rig.TakeQueue().empty()) << "no shader, no caption: nothing";
}

}  // namespace
