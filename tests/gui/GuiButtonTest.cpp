// Buttons and check boxes: looks with the mouse and the press, page switching, the
// text growth, held buttons inside containers, drawing.
#include "gui/GuiCheckBox.h"
#include "gui/GuiPage.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

namespace {

using E = N_GuiEventType;
const N_GuiEvent kEnter = test::Ev(E::Enter), kExit = test::Ev(E::Exit), kLeftDown = test::Ev(E::Button),
                 kLeftUp = test::Ev(E::Button, kGuiLeftButton, false), kRightDown = test::Ev(E::Button, kGuiRightButton),
                 kLeftHeld = test::Ev(E::Held);

std::string ShaderName(test::GuiRig& rig, int handle) {
  const N_ShaderEntry* entry = rig.shaders.GetEntry(handle);
  return entry && entry->name ? *entry->name : "none";
}

TEST(GuiButton, LooksFollowTheMouseAndTheLeftButton) {
  // The plain button never shows "down"; the check box does while checked.
  const std::tuple<N_GuiEvent, const char*, const char*> steps[] = {
      {kEnter, "hup", "hup"},     {kLeftDown, "hdown", "hdown"}, {kLeftUp, "hup", "hdown"}, {kExit, "up", "down"},
      {kEnter, "hup", "hdown"},   {kLeftDown, "hdown", "hup"},   {kExit, "up", "up"},       {kLeftUp, "up", "up"},
      {kRightDown, "up", "up"},   {kEnter, "hup", "hup"},        {kRightDown, "hup", "hup"},
      {kLeftDown, "hdown", "hdown"}, {kExit, "up", "down"}};
  test::GuiRig rig;
  N_GuiButton* both[] = {rig.Create<N_GuiButton>("Button", "b"), rig.Create<N_GuiCheckBox>("CheckBox", "c")};
  for (N_GuiButton* b : both)
    test::Set(*b, {{"upshader", "up"}, {"downshader", "down"}, {"highlightupshader", "hup"},
                   {"highlightdownshader", "hdown"}});
  EXPECT_EQ(ShaderName(rig, both[0]->GetShader()), "up");
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const auto& [event, button, checkBox] = steps[i];
    for (N_GuiButton* b : both) b->HandleEvent(event);
    EXPECT_EQ(ShaderName(rig, both[0]->GetShader()), button) << "step " << i;
    EXPECT_EQ(ShaderName(rig, both[1]->GetShader()), checkBox) << "step " << i;
  }
}

TEST(GuiButton, ACheckBoxTogglesOncePerLeftPress) {
  test::GuiRig rig;
  auto* box = rig.Create<N_GuiCheckBox>("CheckBox", "c");
  box->SetAttribute("onclick", "GuiTestClick");
  const std::pair<N_GuiEvent, bool> steps[] = {{kLeftDown, true},  {kLeftHeld, true},  {kLeftUp, true},
                                               {kRightDown, true}, {kLeftDown, false}, {kLeftDown, false}};
  for (const auto& [event, checked] : steps) {
    box->HandleEvent(event);
    EXPECT_EQ(box->IsChecked(), checked);
  }
  EXPECT_EQ(test::GuiCalls().size(), 4u) << "every press clicks, the right one too";
  // Checked without a down look: the up look.
  auto* plain = rig.Create<N_GuiCheckBox>("CheckBox", "plain");
  test::Set(*plain, {{"upshader", "up"}, {"checked", "true"}});
  EXPECT_EQ(ShaderName(rig, plain->GetShader()), "up");
  plain->SetAttribute("downshader", "down");
  plain->SetChecked(true);
  EXPECT_EQ(ShaderName(rig, plain->GetShader()), "down");
}

TEST(GuiButton, GotoPageClosesTheOwnPageAndShowsTheTarget) {
  const std::tuple<const char*, bool, bool, bool> cases[] = {
      // gotopage, on a page, first page visible after, target visible after
      {"second", true, false, true}, {"hide", true, false, false}, {"nosuch", true, false, false},
      {"second", false, true, true}};  // no page of its own: nothing to close
  for (const auto& [gotoPage, onPage, firstAfter, targetAfter] : cases) {
    test::GuiRig rig;
    N_GuiPage* first = rig.mng->CreatePage("first");
    N_GuiPage* second = rig.mng->CreatePage("second");
    auto* button = rig.Create<N_GuiButton>("Button", "go");
    button->SetAttribute("gotopage", gotoPage);
    if (onPage) first->AddElement(button);
    first->ShowImmediate();
    button->HandleEvent(kRightDown);
    EXPECT_EQ(first->GetFade(), 0) << "a right press follows nothing";
    EXPECT_FALSE(button->IsPressed());
    button->HandleEvent(kLeftDown);
    EXPECT_EQ(first->GetFade(), onPage ? -1 : 0) << gotoPage;
    EXPECT_EQ(second->GetFade(), targetAfter ? 1 : 0) << gotoPage;
    for (int frame = 0; frame < 2; ++frame) {
      rig.Step(0.25);
      for (N_GuiPage* page : {first, second})
        if (page->IsVisible()) page->Render();
    }
    EXPECT_EQ(first->IsVisible(), firstAfter) << gotoPage;
    EXPECT_EQ(second->IsVisible(), targetAfter) << gotoPage;
    EXPECT_EQ(second->GetAlpha(), 1.0f) << "faded in fully (or never shown)";
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
  for (const N_GuiEvent& e : {kLeftDown, kLeftHeld, kLeftHeld, test::Ev(E::Held, kGuiRightButton), kLeftUp})
    button->HandleEvent(e);
  // The parent sees every event, and after each left repeat the button's own ChildHeld.
  EXPECT_EQ(box.types, (std::vector<int>{4, 5, 8, 5, 8, 5, 4}));
  EXPECT_EQ(box.senders, (std::vector<N_GuiElement*>{button, button}));
}

TEST(GuiButton, DrawingTheBackgroundAndTheCaption) {
  // enabled, disabled shader, the quad's shader, the caption's colour (disabled: red)
  const std::tuple<bool, const char*, const char*, std::uint32_t> cases[] = {
      {true, "", "up", 0xFFFFFF}, {false, "off", "off", 0xFF0000}, {false, "", "up", 0xFF0000}};
  for (const auto& [enabled, disabledShader, background, colour] : cases) {
    test::GuiRig rig;
    auto* button = rig.Create<N_GuiButton>("Button", "b");
    test::Set(*button, {{"fontname", "fixed"}, {"upshader", "up"}, {"disabledshader", disabledShader},
                        {"disabledcolor", "1"}, {"caption", "Go"}});
    button->SetEnabled(enabled);
    button->ApplyLayout();
    button->Render();
    const auto queued = rig.TakeQueue();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(ShaderName(rig, queued[0].shader), background);
    EXPECT_EQ(queued[0].right, 640.0f) << "the quad covers the button";
    EXPECT_EQ(queued[1].rgb, colour);
  }
  test::GuiRig rig;
  rig.Create<N_GuiButton>("Button", "bare")->Render();
  EXPECT_TRUE(rig.TakeQueue().empty()) << "no shader, no caption: nothing";
}

}  // namespace
