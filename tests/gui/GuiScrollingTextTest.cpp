// The scrolling text: entering from the far side, moving at its speed and starting
// again once wholly out, standing still at its anchor, several lines running up, its
// type word and a template copy, and the clip it draws in (the batch flushed and the
// scissor set around it, switched off after).
#include "gui/GuiPage.h"
#include "gui/GuiScrollingText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class GuiScrollingTextTest : public ::testing::Test {
 protected:
  GuiScrollingTextTest() {
    EXPECT_TRUE(rig.LoadScript("scrollingtext.gui"));
    page = rig.mng->GetPage("TickerPage");
    page->ShowImmediate();
  }
  N_GuiScrollingText* Text(const char* name) {
    return static_cast<N_GuiScrollingText*>(rig.mng->GetElement(name, false));
  }
  /// One frame of one element; what it drew (its own flushes), as texts.
  std::vector<test::QueuedText> Draw(N_GuiScrollingText* text, double seconds) {
    rig.Step(seconds);
    rig.drawn.drawn.clear();
    text->ApplyLayout();
    text->Render();
    return rig.drawn.Take();
  }

  test::GuiRig rig;
  N_GuiPage* page = nullptr;
};

TEST_F(GuiScrollingTextTest, TheTickerCrossesAndStartsAgainAtTheRightEdge) {
  N_GuiScrollingText* ticker = Text("Ticker");
  ASSERT_NE(ticker, nullptr);
  EXPECT_EQ(ticker->GetOffsetX(), -9999.9f) << "not started";
  // 200 wide at x 100, its caption 100 wide, 50 units a second to the left: it enters
  // at 300 and is wholly out once its right end passes 100, 300 units later: 6 s.
  struct Frame {
    double seconds;
    float left;  ///< where it is drawn
  };
  const Frame frames[] = {{0.0, 300}, {1.0, 250}, {2.0, 150}, {2.0, 50}, {0.98, 1}, {0.04, 300}, {1.0, 250}};
  for (const Frame& f : frames) {
    const std::vector<test::QueuedText> drawn = Draw(ticker, f.seconds);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_NEAR(drawn[0].left, f.left, 0.01f) << f.seconds;
    EXPECT_NEAR(drawn[0].right - drawn[0].left, 100.0f, 0.01f);
    EXPECT_EQ(drawn[0].top, 100.0f);
  }
  // A new caption does not start it again.
  const float before = ticker->GetOffsetX();
  ticker->SetCaption("Other news");
  Draw(ticker, 0.02);
  EXPECT_NEAR(ticker->GetOffsetX(), before - 1.0f, 0.01f);
}

TEST_F(GuiScrollingTextTest, WithoutSpeedItStandsAtItsAnchorFadingUpAndDown) {
  N_GuiScrollingText* still = Text("Still");
  // Its glyphs fade within 82 units of the top and bottom edges: the top vertices of a
  // line at the top edge are transparent; a text moving across fades at its sides.
  for (int i = 0; i < 3; ++i) {
    const std::vector<test::QueuedText> drawn = Draw(still, 0.5);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].left, 100.0f);
    EXPECT_EQ(drawn[0].top, 200.0f);
    EXPECT_EQ(drawn[0].alpha, 0u) << "the top-left vertex sits on the top edge";
  }
  // Centred both ways, a text stands centred on its element's middle.
  auto* centre = rig.Create<N_GuiScrollingText>("ScrollingText", "Centre");
  test::Set(*centre, {{"left", "100"}, {"top", "200"}, {"width", "200"}, {"height", "40"}, {"fontname", "fixed"},
                      {"charheight", "1"}, {"alignment", "center"}, {"valignment", "center"}, {"caption", "Still"}});
  const std::vector<test::QueuedText> centred = Draw(centre, 0.5);
  ASSERT_EQ(centred.size(), 1u);
  EXPECT_EQ(centred[0].left, 200.0f - 20.0f) << "\"Still\", 40 wide, centred on 200";
  EXPECT_EQ(centred[0].top, 220.0f - 8.0f);
  EXPECT_GT(centred[0].alpha, 0u);
}

TEST_F(GuiScrollingTextTest, SeveralLinesRunUpAndStartAgainBelow) {
  N_GuiScrollingText* credits = Text("Credits");
  ASSERT_EQ(credits->Lines().size(), 3u);
  // 100 high at y 300, lines 16 high, 20 units a second up: it enters at 400 and is
  // wholly out once its last line passes 300: 100 + 48 units, 7.4 s.
  std::vector<test::QueuedText> drawn = Draw(credits, 0.0);
  ASSERT_EQ(drawn.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(drawn[std::size_t(i)].top, 400.0f + 16.0f * float(i));
  drawn = Draw(credits, 7.0);
  EXPECT_NEAR(drawn[0].top, 260.0f, 0.01f);
  EXPECT_NEAR(drawn[2].top, 292.0f, 0.01f) << "the last line still reaches into the element";
  drawn = Draw(credits, 0.5);
  EXPECT_EQ(drawn[0].top, 400.0f) << "started again below";
  EXPECT_EQ(credits->GetOffsetY(), 400.0f);
}

TEST_F(GuiScrollingTextTest, ItAnswersItsOwnWordAndKeepsItsSpeedsInCopies) {
  N_GuiScrollingText* copy = Text("FromTemplate");
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetTypeName(), "ScrollingText");
  EXPECT_EQ(copy->GetAttribute("scrollx"), "-50");
  EXPECT_EQ(copy->GetAttribute("scrolly"), "0");
  EXPECT_EQ(copy->GetWidth(), 200.0f);
  EXPECT_EQ(rig.Log().find("!!! Bad"), std::string::npos) << rig.Log();
  // A clone as a container's child keeps its class too.
  auto* box = rig.Create<test::TestContainer>("TestContainer", "Box", true);
  auto* child = rig.Create<N_GuiScrollingText>("ScrollingText", "Inner", true);
  child->SetAttribute("scrolly", "12");
  box->Add(child);
  N_GuiElement* made = rig.mng->CreateFromTemplate("Box", "", "BoxCopy", false);
  ASSERT_NE(made, nullptr);
  N_GuiElement* clone = rig.mng->GetElement("BoxCopy/Inner", false);
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetTypeName(), "ScrollingText");
  EXPECT_EQ(clone->GetAttribute("scrolly"), "12");
  // Destroyed through its own factory.
  rig.mng->DestroyElement("BoxCopy/Inner", false);
  EXPECT_EQ(rig.Log().find("Cannot locate"), std::string::npos);
}

TEST_F(GuiScrollingTextTest, HiddenOrEmptyItDrawsNothing) {
  N_GuiScrollingText* ticker = Text("Ticker");
  ticker->Hide();
  EXPECT_TRUE(Draw(ticker, 0.1).empty());
  ticker->Show();
  ticker->SetCaption("");
  EXPECT_TRUE(Draw(ticker, 0.1).empty());
  EXPECT_EQ(ticker->GetOffsetX(), -9999.9f) << "nothing moved";
}

}  // namespace
