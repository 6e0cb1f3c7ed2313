// Text elements, checked on what they queue in the batcher: colours with the mouse and
// the enabled state, wrapping, shadows, alignment, autosize.
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;

class GuiTextTest : public ::testing::Test {
 protected:
  GuiTextTest() {
    // The rig's font is 8 units a character at char height 1, and 16 high.
    test::Set(*text, {{"fontname", "fixed"}, {"charheight", "1"}, {"left", "100"}, {"top", "50"}, {"width", "200"},
                      {"height", "40"}});
  }
  std::vector<test::QueuedText> Draw() {
    text->ApplyLayout();
    text->Render();
    return rig.TakeQueue();
  }

  test::GuiRig rig;
  N_GuiText* text = rig.Create<N_GuiText>("Text", "t");
};

TEST_F(GuiTextTest, ColoursFollowTheMouseAndTheEnabledState) {
  using E = N_GuiEventType;
  test::Set(*text, {{"caption", "abc"}, {"color", "3"}, {"highlightcolor", "5"}, {"disabledcolor", "2"}});
  const std::tuple<const char*, std::function<void(N_GuiText&)>, std::uint32_t> steps[] = {
      {"normal", [](N_GuiText&) {}, kBlue},
      {"under the mouse", [](N_GuiText& t) { t.HandleEvent(test::Ev(E::Enter)); }, kYellow},
      {"after it leaves", [](N_GuiText& t) { t.HandleEvent(test::Ev(E::Exit)); }, kBlue},
      {"disabled", [](N_GuiText& t) { t.SetEnabled(false); }, kGreen},
      {"disabled ignores the mouse", [](N_GuiText& t) { t.HandleEvent(test::Ev(E::Enter)); }, kGreen},
      {"enabled again", [](N_GuiText& t) { t.SetEnabled(true); }, kBlue},
      {"no disabled colour keeps the normal one", [](N_GuiText& t) {
         t.SetAttribute("disabledcolor", "-1");
         t.SetEnabled(false);
       }, kBlue},
      {"a new colour shows at once", [](N_GuiText& t) { t.SetAttribute("color", "1"); }, kRed},
  };
  for (const auto& [what, act, colour] : steps) {
    act(*text);
    const auto queued = Draw();
    ASSERT_EQ(queued.size(), 1u) << what;
    EXPECT_EQ(queued[0].rgb, colour) << what;
  }
}

TEST_F(GuiTextTest, WrappingIntoLines) {
  const std::tuple<const char*, float, std::vector<std::string>> cases[] = {
      {"one \\n two", 200, {" one", " two"}},
      {"one \\N two", 200, {" one", " two"}},
      {"one two three", 80, {" one two", "three"}},  // " one two" is 64 wide, " one two three" 112
      {"\\n one", 200, {"", " one"}},
      // A word that does not fit starts a line of its own, without a blank.
      {"far-too-long-word x", 40, {"", "far-too-long-word", "x"}},
      {"", 200, {}},
  };
  text->SetAttribute("multiline", "true");
  for (const auto& [caption, width, lines] : cases) {
    text->SetWidth(width);
    text->SetCaption(caption);
    EXPECT_EQ(text->Lines(), lines) << caption << " in " << width;
  }
}

TEST_F(GuiTextTest, AShadowIsDrawnFirstOffsetInItsColour) {
  test::Set(*text, {{"caption", "ab"}, {"color", "1"}, {"shadow", "1.5"}});
  auto queued = Draw();
  ASSERT_EQ(queued.size(), 2u);
  EXPECT_EQ(queued[0].rgb, 0u) << "shadow colour 7, black";
  EXPECT_EQ(queued[1].rgb, kRed);
  EXPECT_EQ(queued[0].left - queued[1].left, 1.5f);
  EXPECT_EQ(queued[0].top - queued[1].top, 1.5f);
  test::Set(*text, {{"multiline", "true"}, {"shadowcolor", "2"}, {"caption", "one \\n two"}});
  queued = Draw();
  ASSERT_EQ(queued.size(), 4u) << "each line twice";
  EXPECT_EQ(queued[0].rgb, kGreen);
  EXPECT_EQ(queued[1].rgb, kRed);
  EXPECT_EQ(queued[2].rgb, kGreen);
  EXPECT_EQ(queued[3].top - queued[1].top, 16.0f) << "one line's height apart";
}

TEST_F(GuiTextTest, AlignmentAnchorsTheTextInsideTheRectangle) {
  EXPECT_TRUE(Draw().empty()) << "no caption, nothing queued";
  text->SetAttribute("caption", "abcd");  // 32 x 16; the element: (100, 50), 200 x 40
  const std::tuple<const char*, const char*, float, float> cases[] = {
      {"left", "top", 100, 50}, {"right", "bottom", 268, 74}, {"center", "center", 184, 62},
      {"middle", "middle", 100, 50}};
  for (const auto& [alignment, valignment, left, top] : cases) {
    test::Set(*text, {{"alignment", alignment}, {"valignment", valignment}});
    const auto queued = Draw();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].left, left) << alignment;
    EXPECT_EQ(queued[0].top, top) << valignment;
  }
  text->Hide();
  EXPECT_TRUE(Draw().empty());
}

TEST_F(GuiTextTest, AutoSizeAndRelativeCharHeight) {
  test::Set(*text, {{"caption", "abcd"}, {"autosize", "true"}});
  EXPECT_EQ(text->GetWidth(), 32.0f);
  EXPECT_EQ(text->GetHeight(), 16.0f);
  test::Set(*text, {{"multiline", "true"}, {"width", "200"}, {"caption", "ab \\n abcdef"}});
  EXPECT_EQ(text->GetWidth(), 56.0f) << "the widest line, \" abcdef\"";
  EXPECT_EQ(text->GetHeight(), 16.0f);
  text->SetAttribute("metricsmode", "relative");
  EXPECT_FLOAT_EQ(text->GetCharHeight(), 7.2f) << "0.015 x 480";
  text->SetAttribute("charheight", "0.05");  // the relative height, used from the next switch
  EXPECT_FLOAT_EQ(text->GetCharHeight(), 7.2f);
  text->SetAttribute("metricsmode", "relative");
  EXPECT_FLOAT_EQ(text->GetCharHeight(), 24.0f);
}

}  // namespace
