// Text and image selectors: stepping by clicks (and what the onclick callback sees),
// selecting by index, the text selector's slide and its clip, the image selector's
// highlight pictures and its item list.
#include "gui/GuiImageSelector.h"
#include "gui/GuiPage.h"
#include "gui/GuiTextSelector.h"
#include "platform/win32/Process.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The selection an onclick callback sees.
extern "C" void GuiTestSelection(N_GuiElement* element) {
  std::uint32_t selected = 0;
  if (element->GetTypeName() == N_GuiTextSelector::kTypeName) {
    selected = static_cast<N_GuiTextSelector*>(element)->GetSelected();
  } else if (element->GetTypeName() == N_GuiImageSelector::kTypeName) {
    selected = static_cast<N_GuiImageSelector*>(element)->GetSelected();
  }
  test::GuiCalls().push_back("selected " + std::to_string(selected));
}
const platform::ExportTable kSelectorTestCallbacks{platform::Export("GuiTestSelection", &GuiTestSelection)};

namespace {

using E = N_GuiEventType;

N_GuiEvent Press(std::uint32_t button) { return test::Ev(E::Button, button, true); }

class GuiTextSelectorTest : public ::testing::Test {
 protected:
  GuiTextSelectorTest() {
    page = rig.mng->CreatePage("p");
    page->AddElement(selector);
    page->ShowImmediate();
    // The rig's font: 8 units a character and 16 high at char height 1.
    test::Set(*selector, {{"fontname", "fixed"}, {"charheight", "1"}, {"left", "100"}, {"top", "50"},
                          {"item", "one"}, {"item", "two"}, {"item", "three"}, {"onclick", "GuiTestSelection"}});
  }
  /// Ends a running slide.
  void Settle() {
    for (int i = 0; i < 20 && selector->IsSliding(); ++i) Frame(0.1);
  }
  void Frame(double seconds) {
    rig.Step(seconds);
    page->Render();
    rig.batch.Flush();
  }

  test::GuiRig rig;
  N_GuiPage* page = nullptr;
  N_GuiTextSelector* selector = rig.Create<N_GuiTextSelector>("TextSelector", "sel");
};

TEST_F(GuiTextSelectorTest, ClicksStepThroughTheItemsAndWrap) {
  EXPECT_EQ(selector->GetCaption(), "one") << "the first item";
  EXPECT_TRUE(selector->GetAutoSize());
  EXPECT_EQ(selector->GetWidth(), 24.0f) << "sized to its text";
  EXPECT_EQ(selector->GetAttribute("item"), "");
  struct Step {
    std::uint32_t from;
    std::uint32_t button;
    std::uint32_t to;
  };
  const Step steps[] = {
      {2, kGuiLeftButton, 0}, {0, kGuiRightButton, 2}, {1, kGuiLeftButton, 2}, {1, kGuiRightButton, 0},
      {0, kGuiLeftButton, 1},
  };
  const char* const items[] = {"one", "two", "three"};
  for (const Step& s : steps) {
    selector->SetSelected(s.from);
    test::GuiCalls().clear();
    selector->HandleEvent(Press(s.button));
    EXPECT_EQ(selector->GetSelected(), s.to) << s.from << " " << s.button;
    EXPECT_EQ(selector->GetCaption(), items[s.to]);
    EXPECT_EQ(test::GuiCalls(), std::vector<std::string>{"selected " + std::to_string(s.to)});
    EXPECT_TRUE(selector->IsSliding());
    Settle();
  }
  // A release, another event or a disabled selector steps nothing.
  selector->HandleEvent(test::Ev(E::Button, kGuiLeftButton, false));
  selector->HandleEvent(test::Ev(E::Held));
  selector->SetEnabled(false);
  selector->HandleEvent(Press(kGuiLeftButton));
  EXPECT_EQ(selector->GetSelected(), 1u);
  EXPECT_FALSE(selector->IsSliding());
}

TEST_F(GuiTextSelectorTest, ASlideMovesThirtyUnitsASecondAndIgnoresClicks) {
  selector->HandleEvent(Press(kGuiLeftButton));
  ASSERT_EQ(selector->GetSelected(), 1u);
  // The height is the text's: 16. Each frame of 0.1 s moves both texts 3 down.
  const float offsets[] = {3, 6, 9, 12, 15};
  for (float offset : offsets) {
    Frame(0.1);
    EXPECT_FLOAT_EQ(selector->GetSlideOffset(), offset);
    EXPECT_TRUE(selector->IsSliding());
    selector->HandleEvent(Press(kGuiLeftButton));
    selector->HandleEvent(Press(kGuiRightButton));
    EXPECT_EQ(selector->GetSelected(), 1u) << "during the slide";
  }
  Frame(0.1);  // 18: past the height
  EXPECT_FALSE(selector->IsSliding());
  selector->HandleEvent(Press(kGuiLeftButton));
  EXPECT_EQ(selector->GetSelected(), 2u);
}

TEST_F(GuiTextSelectorTest, TheSlideDrawsBothTextsInsideTheClip) {
  selector->HandleEvent(Press(kGuiLeftButton));  // "one" slides out, "two" in
  Frame(0.2);
  Frame(0.2);  // drawn at offset 6
  float left = 0, top = 0, right = 0, bottom = 0;
  selector->ClipRect(left, top, right, bottom);
  EXPECT_EQ(left, 100.0f);
  EXPECT_EQ(top, 50.0f);
  EXPECT_EQ(right, 124.0f);
  EXPECT_EQ(bottom, 66.0f);
  // The old text 6 below the top, the new one a height above it.
  const std::vector<test::QueuedText> drawn = rig.drawn.Take();
  ASSERT_GE(drawn.size(), 2u);
  const test::QueuedText& old = drawn[drawn.size() - 2];
  const test::QueuedText& now = drawn.back();
  EXPECT_EQ(old.top, 56.0f);
  EXPECT_EQ(now.top, 40.0f);
  EXPECT_EQ(old.quads, 3u);
  EXPECT_EQ(now.quads, 3u);
  EXPECT_LT(old.alpha, 255u) << "fading towards the clip's edges";

  // The clip lies round the text as its alignments place it.
  struct Case {
    const char* alignment;
    const char* valignment;
    float left, top;
  };
  const Case cases[] = {
      {"center", "top", 100 + 12 - 12, 50},
      {"right", "bottom", 100, 50},
      {"left", "center", 100, 50},
  };
  for (const Case& c : cases) {
    test::Set(*selector, {{"alignment", c.alignment}, {"valignment", c.valignment}});
    selector->ClipRect(left, top, right, bottom);
    EXPECT_EQ(left, c.left) << c.alignment;
    EXPECT_EQ(top, c.top) << c.valignment;
    EXPECT_EQ(right - left, 24.0f);
    EXPECT_EQ(bottom - top, 16.0f);
  }
}

TEST_F(GuiTextSelectorTest, SelectingAnIndexBeyondTheListSelectsTheFirst) {
  const std::pair<std::uint32_t, std::uint32_t> cases[] = {{1, 1}, {2, 2}, {3, 0}, {99, 0}};
  for (const auto& [index, selected] : cases) {
    selector->SetSelected(index);
    EXPECT_EQ(selector->GetSelected(), selected) << index;
    EXPECT_EQ(selector->GetCaption(), selector->Items()[selected]) << index;
  }
  selector->AddItem("");
  EXPECT_EQ(selector->Items().size(), 3u) << "an empty item is ignored";
}

TEST(GuiTextSelectorEmpty, DrawsNothingAndIgnoresClicks) {
  test::GuiRig rig;
  auto* selector = rig.Create<N_GuiTextSelector>("TextSelector", "empty");
  test::Set(*selector, {{"fontname", "fixed"}, {"onclick", "GuiTestClick"}});
  N_GuiPage* page = rig.mng->CreatePage("p");
  page->AddElement(selector);
  page->ShowImmediate();
  selector->HandleEvent(Press(kGuiLeftButton));
  selector->HandleEvent(Press(kGuiRightButton));
  selector->SetSelected(4);
  EXPECT_EQ(selector->GetSelected(), 0u);
  EXPECT_FALSE(selector->IsSliding());
  EXPECT_EQ(test::GuiCalls(), (std::vector<std::string>{"click empty", "click empty"})) << "the callback still runs";
  page->Render();
  EXPECT_TRUE(rig.TakeQueue().empty());
}

class GuiImageSelectorTest : public ::testing::Test {
 protected:
  GuiImageSelectorTest() {
    for (const char* name : {"a", "a+", "b", "c", "c+", "d"}) shader[name] = rig.shaders.AddShader(name, 0, 3);
    test::Set(*selector, {{"item", "a a+"}, {"item", "b"}, {"item", "c\tc+ ignored"}, {"onclick", "GuiTestSelection"}});
  }
  std::int32_t Shown() const { return selector->GetShader(); }

  test::GuiRig rig;
  std::map<std::string, int> shader;
  N_GuiImageSelector* selector = rig.Create<N_GuiImageSelector>("ImageSelector", "img");
};

TEST_F(GuiImageSelectorTest, LeftClicksStepAndShowTheHighlight) {
  ASSERT_EQ(selector->ItemCount(), 3u);
  EXPECT_EQ(Shown(), shader["a"]) << "the first item";
  EXPECT_EQ(selector->ItemHighlight(1), shader["b"]) << "an item line of one name";
  struct Step {
    const char* what;
    N_GuiEvent event;
    std::uint32_t selected;
    const char* shown;
  };
  const Step steps[] = {
      {"enter", test::Ev(E::Enter), 0, "a+"},
      {"left", Press(kGuiLeftButton), 1, "b"},   // no highlight: its own picture
      {"right", Press(kGuiRightButton), 1, "b"},
      {"exit", test::Ev(E::Exit), 1, "b"},
      {"hovered: no highlight, its own picture", test::Ev(E::Enter), 1, "b"},
      {"left", Press(kGuiLeftButton), 2, "c+"},
      {"exit", test::Ev(E::Exit), 2, "c"},
      {"release", test::Ev(E::Button, kGuiLeftButton, false), 2, "c"},
      {"left: back to the first", Press(kGuiLeftButton), 0, "a+"},
      {"exit", test::Ev(E::Exit), 0, "a"},
  };
  for (const Step& s : steps) {
    test::GuiCalls().clear();
    selector->HandleEvent(s.event);
    EXPECT_EQ(selector->GetSelected(), s.selected) << s.what;
    EXPECT_EQ(Shown(), shader[s.shown]) << s.what;
    if (s.event.type == E::Button && s.event.pressed) {
      EXPECT_EQ(test::GuiCalls(), std::vector<std::string>{"selected " + std::to_string(s.selected)}) << s.what;
    }
  }
  // Enabling shows the selection, not an older picture.
  selector->SetSelected(1);
  selector->SetEnabled(false);
  selector->HandleEvent(Press(kGuiLeftButton));
  selector->SetEnabled(true);
  EXPECT_EQ(selector->GetSelected(), 1u) << "disabled: no step";
  EXPECT_EQ(Shown(), shader["b"]);
}

TEST_F(GuiImageSelectorTest, InsertingRemovingAndSelectingItems) {
  struct Step {
    const char* what;
    std::function<void(N_GuiImageSelector&)> act;
    std::vector<std::int32_t> items;
    std::uint32_t selected;
    const char* shown;
  };
  std::map<std::string, int>& s = shader;
  const Step steps[] = {
      {"select 2", [](N_GuiImageSelector& i) { i.SetSelected(2); }, {s["a"], s["b"], s["c"]}, 2, "c"},
      {"select past the end", [](N_GuiImageSelector& i) { i.SetSelected(3); }, {s["a"], s["b"], s["c"]}, 2, "c"},
      {"insert at 1", [](N_GuiImageSelector& i) { i.InsertItem(1, "d", ""); }, {s["a"], s["d"], s["b"], s["c"]}, 2,
       "c"},
      {"insert past the end", [](N_GuiImageSelector& i) { i.InsertItem(5, "d", ""); },
       {s["a"], s["d"], s["b"], s["c"]}, 2, "c"},
      {"remove before it: the index stays", [](N_GuiImageSelector& i) { i.RemoveItem(0); },
       {s["d"], s["b"], s["c"]}, 2, "c"},
      {"remove the selected: item 0", [](N_GuiImageSelector& i) { i.RemoveItem(2); }, {s["d"], s["b"]}, 0, "d"},
      {"remove past the end", [](N_GuiImageSelector& i) { i.RemoveItem(2); }, {s["d"], s["b"]}, 0, "d"},
      {"select the last, remove the first", [](N_GuiImageSelector& i) {
         i.SetSelected(1);
         i.RemoveItem(0);
       }, {s["b"]}, 0, "b"},
      {"an empty name adds nothing", [](N_GuiImageSelector& i) {
         i.AddItem("", "x");
         i.SetAttribute("item", "");
       }, {s["b"]}, 0, "b"},
      {"remove the last", [](N_GuiImageSelector& i) { i.RemoveItem(0); }, {}, 0, "b"},
      {"the first new item shows", [](N_GuiImageSelector& i) { i.AddItem("a", "a+"); }, {s["a"]}, 0, "a"},
  };
  for (const Step& step : steps) {
    step.act(*selector);
    std::vector<std::int32_t> items;
    for (std::size_t k = 0; k < selector->ItemCount(); ++k) items.push_back(selector->ItemShader(k));
    EXPECT_EQ(items, step.items) << step.what;
    EXPECT_EQ(selector->GetSelected(), step.selected) << step.what;
    EXPECT_EQ(Shown(), shader[step.shown]) << step.what;
  }
}

TEST(GuiImageSelectorEmpty, OnlyTheElementsHandlingRuns) {
  test::GuiRig rig;
  auto* selector = rig.Create<N_GuiImageSelector>("ImageSelector", "img");
  test::Set(*selector, {{"onclick", "GuiTestClick"}, {"onmouseenter", "GuiTestEnter"}});
  for (const N_GuiEvent& event : {test::Ev(E::Enter), Press(kGuiLeftButton), test::Ev(E::Exit)}) selector->HandleEvent(event);
  EXPECT_EQ(selector->GetSelected(), 0u);
  EXPECT_EQ(selector->GetShader(), -1);
  EXPECT_EQ(test::GuiCalls(), (std::vector<std::string>{"enter img", "click img"}));
}

}  // namespace
