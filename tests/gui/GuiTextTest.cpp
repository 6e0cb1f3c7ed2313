// Text elements, checked on what they queue in the batcher: colours with the mouse and
// the enabled state, wrapping, shadows, alignment, autosize.
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00, kBlack = 0;

N_GuiEvent Event(N_GuiEventType type) {
  N_GuiEvent event;
  event.type = type;
  return event;
}

class GuiTextTest : public ::testing::Test {
 protected:
  GuiTextTest() {
    text = rig.Create<N_GuiText>("Text", "t");
    text->SetAttribute("fontname", "fixed");
    text->SetAttribute("charheight", "1");
    text->SetLeft(100);
    text->SetTop(50);
    text->SetSize(200, 40);
  }
  /// One frame: layout, render, and what was queued.
  std::vector<test::QueuedText> Draw() {
    text->ApplyLayout();
    text->Render();
    return rig.TakeQueue();
  }
  std::uint32_t DrawnColour() {
    const auto queued = Draw();
    return queued.empty() ? 0xDEADu : queued.back().rgb;
  }

  test::GuiRig rig;
  N_GuiText* text = nullptr;
};

TEST_F(GuiTextTest, ColoursFollowTheMouseAndTheEnabledState) {
  using E = N_GuiEventType;
  text->SetAttribute("caption", "abc");
  text->SetAttribute("color", "3");
  text->SetAttribute("highlightcolor", "5");
  text->SetAttribute("disabledcolor", "2");
  struct Step {
    const char* what;
    void (*act)(N_GuiText&);
    std::uint32_t colour;
  };
  const Step steps[] = {
      {"normal", [](N_GuiText&) {}, kBlue},
      {"under the mouse", [](N_GuiText& t) { t.HandleEvent(Event(E::Enter)); }, kYellow},
      {"after it leaves", [](N_GuiText& t) { t.HandleEvent(Event(E::Exit)); }, kBlue},
      {"disabled", [](N_GuiText& t) { t.SetEnabled(false); }, kGreen},
      {"disabled ignores the mouse", [](N_GuiText& t) { t.HandleEvent(Event(E::Enter)); }, kGreen},
      {"enabled again", [](N_GuiText& t) { t.SetEnabled(true); }, kBlue},
      {"no disabled colour keeps the normal one",
       [](N_GuiText& t) {
         t.SetAttribute("disabledcolor", "-1");
         t.SetEnabled(false);
       },
       kBlue},
      {"no highlight colour keeps it too",
       [](N_GuiText& t) {
         t.SetEnabled(true);
         t.SetAttribute("highlightcolor", "-1");
         t.HandleEvent(Event(E::Enter));
       },
       kBlue},
      {"a new colour shows at once", [](N_GuiText& t) { t.SetAttribute("color", "1"); }, kRed},
  };
  for (const Step& s : steps) {
    s.act(*text);
    EXPECT_EQ(DrawnColour(), s.colour) << s.what;
  }
}

TEST_F(GuiTextTest, WrappingIntoLines) {
  struct Case {
    const char* caption;
    float width;
    std::vector<std::string> lines;
  };
  // At char height 1 every character is 8 wide.
  const Case cases[] = {
      {"one \\n two", 200, {" one", " two"}},
      {"one \\N two", 200, {" one", " two"}},
      {"one two three", 200, {" one two three"}},
      {"one two three", 80, {" one two", "three"}},  // " one two" is 64 wide, " one two three" 112
      {"\\n one", 200, {"", " one"}},
      // A word that does not fit starts a line of its own, without a blank.
      {"far-too-long-word x", 40, {"", "far-too-long-word", "x"}},
      {"", 200, {}},
  };
  text->SetAttribute("multiline", "true");
  for (const Case& c : cases) {
    text->SetWidth(c.width);
    text->SetCaption(c.caption);
    EXPECT_EQ(text->Lines(), c.lines) << c.caption << " in " << c.width;
  }
  text->SetWidth(200);
  text->SetCaption("one \\n two");
  const auto queued = Draw();
  ASSERT_EQ(queued.size(), 2u);
  EXPECT_EQ(queued[1].top - queued[0].top, 16.0f) << "one line's height apart";
}

TEST_F(GuiTextTest, AShadowIsDrawnFirstOffsetInItsColour) {
  text->SetAttribute("caption", "ab");
  text->SetAttribute("color", "1");
  text->SetAttribute("shadow", "1.5");
  auto queued = Draw();
  ASSERT_EQ(queued.size(), 2u);
  EXPECT_EQ(queued[0].rgb, kBlack) << "shadow colour 7 by default";
  EXPECT_EQ(queued[1].rgb, kRed);
  EXPECT_EQ(queued[0].left - queued[1].left, 1.5f);
  EXPECT_EQ(queued[0].top - queued[1].top, 1.5f);

  text->SetAttribute("multiline", "true");
  text->SetAttribute("shadowcolor", "2");
  text->SetCaption("one \\n two");
  queued = Draw();
  ASSERT_EQ(queued.size(), 4u) << "each line twice";
  EXPECT_EQ(queued[0].rgb, kGreen);
  EXPECT_EQ(queued[1].rgb, kRed);
  EXPECT_EQ(queued[2].rgb, kGreen);
  EXPECT_EQ(queued[2].top - queued[0].top, 16.0f);
}

TEST_F(GuiTextTest, AlignmentAnchorsTheTextInsideTheRectangle) {
  struct Case {
    const char* alignment;
    const char* valignment;
    float left, top;  ///< of the queued text "abcd" (32 x 16)
  };
  // The element: (100, 50), 200 x 40.
  const Case cases[] = {
      {"left", "top", 100, 50},        {"right", "bottom", 268, 74}, {"center", "center", 184, 62},
      {"middle", "middle", 100, 50},  // other words: left and top
  };
  text->SetAttribute("caption", "abcd");
  for (const Case& c : cases) {
    text->SetAttribute("alignment", c.alignment);
    text->SetAttribute("valignment", c.valignment);
    const auto queued = Draw();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].left, c.left) << c.alignment;
    EXPECT_EQ(queued[0].top, c.top) << c.valignment;
  }
}

TEST_F(GuiTextTest, NothingIsQueuedWithoutACaptionOrWhenHidden) {
  EXPECT_TRUE(Draw().empty());
  text->SetAttribute("caption", "x");
  text->Hide();
  EXPECT_TRUE(Draw().empty());
  text->Show();
  EXPECT_EQ(Draw().size(), 1u);
}

TEST_F(GuiTextTest, AutoSizeMeasuresTheText) {
  text->SetAttribute("caption", "abcd");
  text->SetAttribute("autosize", "true");
  EXPECT_EQ(text->GetWidth(), 32.0f);
  EXPECT_EQ(text->GetHeight(), 16.0f);
  text->SetAttribute("multiline", "true");
  text->SetWidth(200);
  text->SetCaption("ab \\n abcdef");
  EXPECT_EQ(text->GetWidth(), 56.0f) << "the widest line, \" abcdef\"";
  EXPECT_EQ(text->GetHeight(), 16.0f);
}

TEST_F(GuiTextTest, RelativeMetricsScaleTheCharHeight) {
  text->SetAttribute("metricsmode", "relative");
  EXPECT_FLOAT_EQ(text->GetCharHeight(), 7.2f);
  text->SetAttribute("charheight", "0.05");  // the relative height, used from the next switch
  EXPECT_FLOAT_EQ(text->GetCharHeight(), 7.2f);
  text->SetAttribute("metricsmode", "relative");
  EXPECT_FLOAT_EQ(text->GetCharHeight(), 24.0f);
}

}  // namespace
