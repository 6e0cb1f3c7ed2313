// The image scroller: which item each picture shows as the arrows step the current
// item (with and without cycling), the click taken once per cross-fade, the layout of
// the pictures between the arrows, its children's names, and a scroller made from a
// template that already has pictures and arrows.
#include "gui/GuiButton.h"
#include "gui/GuiImageScroller.h"
#include "gui/GuiPage.h"
#include "platform/win32/Process.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// What an image scroller's onclick sees.
extern "C" void GuiTestScrollerClick(N_GuiElement* element) {
  test::GuiCalls().push_back("current " + std::to_string(static_cast<N_GuiImageScroller*>(element)->GetSelected()));
}
const platform::ExportTable kScrollerTestCallbacks{platform::Export("GuiTestScrollerClick", &GuiTestScrollerClick)};

namespace {

class GuiImageScrollerTest : public ::testing::Test {
 protected:
  GuiImageScrollerTest() {
    EXPECT_TRUE(rig.LoadScript("imagescroller.gui"));
    page = rig.mng->GetPage("ScrollerPage");
    page->ShowImmediate();
  }
  N_GuiImageScroller* Scroller(const char* name) {
    return static_cast<N_GuiImageScroller*>(rig.mng->GetElement(name, false));
  }
  void Frame(double seconds) {
    rig.Step(seconds);
    page->Render();
    rig.batch.Flush();
  }
  /// The item each picture shows: its picture's number ("1".."5"), "*" after it for
  /// the highlight, "-" for none.
  std::vector<std::string> Shown(N_GuiImageScroller* s) {
    std::vector<std::string> shown;
    for (N_GuiElement* image : s->Images()) {
      std::string item = "-";
      for (int i = 1; i <= 5; ++i) {
        const std::string name = "textures\\gui\\scroller_item" + std::to_string(i);
        if (image->GetShader() == rig.shaders.AddShader(name.c_str(), 0, 3)) item = std::to_string(i);
        if (image->GetShader() == rig.shaders.AddShader((name + "_over").c_str(), 0, 3)) item = std::to_string(i) + "*";
      }
      shown.push_back(item);
    }
    return shown;
  }
  /// An arrow held, as a button tells its parent.
  void Click(N_GuiImageScroller* s, bool left) {
    N_GuiEvent held = test::Ev(N_GuiEventType::Held);
    (left ? s->GetLeftButton() : s->GetRightButton())->HandleEvent(held);
  }

  test::GuiRig rig;
  N_GuiPage* page = nullptr;
};

TEST_F(GuiImageScrollerTest, TheArrowsStepTheItemsRoundTheList) {
  N_GuiImageScroller* s = Scroller("Items");
  s->SetOnClick("GuiTestScrollerClick");
  Frame(0.02);
  ASSERT_EQ(s->ItemCount(), 5u);
  EXPECT_EQ(s->GetSelected(), 0u);
  using Row = std::vector<std::string>;
  EXPECT_EQ(Shown(s), (Row{"5", "1*", "2"})) << "items 4, 0 (highlighted) and 1";
  struct Step {
    bool left;
    std::uint32_t current;
    Row shown;
  };
  const Step steps[] = {
      {false, 1, {"1", "2*", "3"}}, {false, 2, {"2", "3*", "4"}}, {true, 1, {"1", "2*", "3"}},
      {true, 0, {"5", "1*", "2"}},  {true, 4, {"4", "5*", "1"}},  {false, 0, {"5", "1*", "2"}},
  };
  for (const Step& step : steps) {
    test::GuiCalls().clear();
    Click(s, step.left);
    EXPECT_EQ(s->GetSelected(), step.current);
    EXPECT_EQ(Shown(s), step.shown) << step.current;
    EXPECT_EQ(test::GuiCalls(), std::vector<std::string>{"current " + std::to_string(step.current)});
    Frame(0.5);  // the transition runs out
  }
  // Selecting by index moves the pictures too; an index beyond the list does nothing.
  s->SetSelected(3);
  EXPECT_EQ(Shown(s), (Row{"3", "4*", "5"}));
  s->SetSelected(5);
  EXPECT_EQ(s->GetSelected(), 3u);
}

TEST_F(GuiImageScrollerTest, WithoutCyclingTheEndsHold) {
  N_GuiImageScroller* s = Scroller("Items");
  s->SetAttribute("cycle", "false");
  s->SetOnClick("GuiTestScrollerClick");
  Frame(0.02);
  using Row = std::vector<std::string>;
  EXPECT_EQ(Shown(s), (Row{"-", "1*", "2"})) << "nothing before the first item";
  test::GuiCalls().clear();
  Click(s, true);
  EXPECT_EQ(s->GetSelected(), 0u);
  EXPECT_EQ(test::GuiCalls(), std::vector<std::string>{"current 0"}) << "the callback all the same";
  s->SetSelected(4);
  EXPECT_EQ(Shown(s), (Row{"4", "5*", "-"}));
  Frame(0.5);
  Click(s, false);
  EXPECT_EQ(s->GetSelected(), 4u);
}

TEST_F(GuiImageScrollerTest, OneClickPerCrossFade) {
  N_GuiImageScroller* s = Scroller("Single");
  Frame(0.02);
  ASSERT_EQ(s->Images().size(), 1u);
  Click(s, false);
  EXPECT_EQ(s->GetSelected(), 1u);
  EXPECT_EQ(s->GetTransition(), 1.0f);
  // Drawn 0.3 s later: the previous item's highlight above the new one, at the
  // transition's share of the element's alpha (1 still), which then runs down by
  // twice the frame time; a click now is ignored.
  rig.Step(0.3);
  page->Render();
  const std::vector<test::QueuedQuad> quads = rig.TakeQuads();
  ASSERT_FALSE(quads.empty());
  const test::QueuedQuad& fade = quads.back();
  EXPECT_EQ(fade.shader, rig.shaders.AddShader("textures\\gui\\scroller_item1_over", 0, 3));
  EXPECT_EQ(fade.alpha, 255u);
  EXPECT_FLOAT_EQ(s->GetTransition(), 0.4f);
  Click(s, true);
  EXPECT_EQ(s->GetSelected(), 1u) << "within the cross-fade";
  Frame(0.3);
  EXPECT_EQ(s->GetTransition(), 0.0f);
  Click(s, true);
  EXPECT_EQ(s->GetSelected(), 0u);
  // A multi-picture scroller lets its transition run out too: one click per 0.5 s.
  N_GuiImageScroller* items = Scroller("Items");
  Click(items, false);
  Click(items, false);
  EXPECT_EQ(items->GetSelected(), 1u);
  Frame(0.5);
  Click(items, false);
  EXPECT_EQ(items->GetSelected(), 2u);
}

TEST_F(GuiImageScrollerTest, ThePicturesStandBetweenTheArrows) {
  N_GuiImageScroller* s = Scroller("Items");
  Frame(0.02);
  // Width 300, arrows 20 wide, spacing 5: (300 - 20 - 20 - 4 x 5) / 3 = 80 each.
  const float lefts[] = {25, 110, 195};
  ASSERT_EQ(s->Images().size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    N_GuiElement* image = s->Images()[i];
    EXPECT_EQ(image->GetName(), "Items/Image" + std::to_string(i));
    EXPECT_EQ(image->GetLeft(), lefts[i]);
    EXPECT_EQ(image->GetWidth(), 80.0f);
    EXPECT_EQ(image->GetHeight(), 60.0f);
    EXPECT_EQ(image->GetScreenX(), 20.0f + lefts[i]);
    EXPECT_EQ(image->GetScreenY(), 100.0f);
    EXPECT_FALSE(image->GetCloneWithTemplate());
    EXPECT_EQ(image->GetParent(), s);
  }
  EXPECT_EQ(s->GetLeftButton()->GetName(), "Items/LeftButton");
  EXPECT_EQ(s->GetRightButton()->GetName(), "Items/RightButton");
  EXPECT_EQ(s->GetLeftButton()->GetTypeName(), "Button") << "the template's type";
  EXPECT_EQ(s->GetLeftButton()->GetVertAlign(), N_GuiElement::kAlignMiddle);
  EXPECT_EQ(s->GetRightButton()->GetHorzAlign(), N_GuiElement::kAlignLeft);
  EXPECT_EQ(s->GetRightButton()->GetScreenX(), 300.0f) << "its template's left";
  EXPECT_EQ(s->GetLeftButton()->GetScreenY(), 120.0f) << "centred";
  // An item added later: the layout is built again at the next render.
  s->AddItem("textures\\gui\\scroller_item1", "");
  s->SetSelected(5);
  Frame(0.02);
  // Its own picture stands for its highlight; after it the list starts again.
  EXPECT_EQ(Shown(s), (std::vector<std::string>{"5", "1", "1"}));
}

TEST_F(GuiImageScrollerTest, ATemplateCopyMakesItsOwnChildrenOnce) {
  for (const char* name : {"Copied/Image0", "Copied/Image1", "Copied/Image2", "Copied/LeftButton",
                           "Copied/RightButton"}) {
    EXPECT_EQ(rig.mng->Elements().count(name), 1u) << name;
  }
  EXPECT_EQ(rig.mng->Elements().count("Copied/Image3"), 0u);
  for (const auto& [name, e] : rig.mng->Elements()) {
    EXPECT_EQ(name.find("Copied/ItemScroller"), std::string::npos) << "no clone of the template's children";
  }
  N_GuiImageScroller* copy = Scroller("Copied");
  EXPECT_EQ(copy->Children().size(), 5u);
  EXPECT_EQ(copy->GetVisibleItems(), 3);
  EXPECT_EQ(copy->ItemCount(), 2u) << "the items are its own";
  EXPECT_EQ(copy->GetWidth(), 300.0f);
  for (const char* fault : {"already exists", "already defined", "!!! Bad", "not found"}) {
    EXPECT_EQ(rig.Log().find(fault), std::string::npos) << fault << "\n" << rig.Log();
  }
  // The counts a script may give: none when negative, at most 100.
  struct Case {
    const char* value;
    std::size_t images;
  };
  const Case cases[] = {{"-5", 0}, {"0", 0}, {"2", 2}, {"99999999", 100}, {"1", 1}};
  for (const Case& c : cases) {
    copy->SetAttribute("visibleitems", c.value);
    EXPECT_EQ(copy->Images().size(), c.images) << c.value;
    EXPECT_EQ(copy->Children().size(), c.images + 2);
    Frame(0.02);
  }
  // A second arrow replaces the first.
  N_GuiElement* before = copy->GetLeftButton();
  copy->SetAttribute("leftbutton", "ScrollerRightArrow");
  EXPECT_NE(copy->GetLeftButton(), nullptr);
  EXPECT_EQ(copy->GetLeftButton()->GetLeft(), 280.0f);
  EXPECT_EQ(copy->Children().count("Copied/LeftButton"), 1u);
  (void)before;
  EXPECT_EQ(rig.Log().find("already exists"), std::string::npos);
}

TEST_F(GuiImageScrollerTest, WithoutPicturesOrItemsNothingMoves) {
  N_GuiPage* p = rig.mng->CreatePage("empty");
  auto* none = rig.Create<N_GuiImageScroller>("ImageScroller", "None");
  none->SetAttribute("leftbutton", "ScrollerLeftArrow");
  none->SetAttribute("item", "textures\\gui\\scroller_item1");
  auto* noItems = rig.Create<N_GuiImageScroller>("ImageScroller", "NoItems");
  noItems->SetAttribute("visibleitems", "3");
  noItems->SetAttribute("rightbutton", "ScrollerRightArrow");
  p->AddElement(none);
  p->AddElement(noItems);
  p->ShowImmediate();
  rig.Step(0.02);
  p->Render();
  Click(none, true);
  Click(noItems, false);
  EXPECT_EQ(none->GetSelected(), 0u);
  EXPECT_EQ(noItems->GetTransition(), 0.0f);
  for (N_GuiElement* image : noItems->Images()) EXPECT_EQ(image->GetShader(), -1);
  noItems->RemoveItem(0);
  p->Render();
  rig.batch.Flush();
}

}  // namespace
