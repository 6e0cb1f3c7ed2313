// Edit boxes: the shown text (stars for a password), the caret's place and blink, and
// the keyboard focus and typing through the GUI manager and the scripted keyboard.
#include "gui/GuiEditBox.h"
#include "gui/GuiPage.h"
#include "platform/dinput8/Keys.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using E = N_GuiEventType;

N_GuiEvent TextEvent(const char* text, std::int32_t caret) {
  N_GuiEvent event = test::Ev(E::Text);
  event.x = text;
  event.y = caret;
  return event;
}

class GuiEditBoxTest : public ::testing::Test {
 protected:
  GuiEditBoxTest() {
    page = rig.mng->CreatePage("p");
    page->AddElement(edit);
    page->ShowImmediate();
    // The rig's font: 8 units a character and 16 high at char height 1.
    test::Set(*edit, {{"fontname", "fixed"}, {"charheight", "1"}, {"left", "100"}, {"top", "50"}, {"width", "200"},
                      {"height", "20"}});
  }
  /// One frame: the texts it queued (the caption and, while shown, the caret).
  std::vector<test::QueuedText> Frame(double seconds) {
    rig.Step(seconds);
    page->Render();
    return rig.TakeQueue();
  }
  /// The caret is the only entry of one quad in frames of a longer caption.
  static const test::QueuedText* Caret(const std::vector<test::QueuedText>& queued) {
    for (const test::QueuedText& q : queued) {
      if (q.quads == 1) return &q;
    }
    return nullptr;
  }

  test::GuiRig rig;
  N_GuiPage* page = nullptr;
  N_GuiEditBox* edit = rig.Create<N_GuiEditBox>("EditBox", "name");
};

TEST_F(GuiEditBoxTest, APasswordShowsStarsAndKeepsItsText) {
  struct Step {
    const char* what;
    const char* attribute;
    const char* value;
    std::string shown;
    std::string caption;
  };
  const Step steps[] = {
      {"plain", "caption", "abc", "abc", "abc"},
      {"a password from now on", "password", "true", "***", "abc"},
      {"a new text", "caption", "secret", "******", "secret"},
      {"plain again", "password", "false", "secret", "secret"},
  };
  for (const Step& s : steps) {
    EXPECT_TRUE(edit->SetAttribute(s.attribute, s.value));
    EXPECT_EQ(edit->GetShownText(), s.shown) << s.what;
    EXPECT_EQ(edit->GetCaption(), s.caption) << s.what;
    EXPECT_EQ(edit->GetAttribute("caption"), s.caption) << s.what;
    EXPECT_EQ(edit->GetCaret(), s.shown.size()) << s.what;
  }
  edit->SetAttribute("password", "true");
  edit->HandleEvent(TextEvent("xyz", 3));
  EXPECT_EQ(edit->GetShownText(), "***");
  EXPECT_EQ(edit->GetCaption(), "xyz");
}

TEST_F(GuiEditBoxTest, TextEventsSetTheTextAndTheCaretWithinIt) {
  struct Step {
    const char* text;
    std::int32_t caret;
    std::uint32_t expected;
  };
  const Step steps[] = {{"abc", 3, 3}, {"abc", 1, 1}, {"abc", 7, 3}, {"", 2, 0}, {"ab", -4, 0}, {nullptr, 1, 0}};
  for (const Step& s : steps) {
    edit->HandleEvent(TextEvent(s.text, s.caret));
    EXPECT_EQ(edit->GetCaption(), s.text ? s.text : "");
    EXPECT_EQ(edit->GetCaret(), s.expected) << (s.text ? s.text : "(null)") << " " << s.caret;
  }
  // A disabled box keeps its text.
  edit->HandleEvent(TextEvent("kept", 4));
  edit->SetEnabled(false);
  edit->HandleEvent(TextEvent("lost", 4));
  EXPECT_EQ(edit->GetCaption(), "kept");
}

TEST_F(GuiEditBoxTest, TheCaretBlinksEveryHalfSecondOnlyWhileFocused) {
  edit->SetCaption("abc");
  // Frames of 0.25 s: the blink flips when its timer exceeds 0.5 s (at 0.75, 1.5, 2.25).
  const std::vector<bool> focused{false, false, true, true, true, false, false, false, true};
  for (const bool withFocus : {false, true}) {
    auto* box = rig.Create<N_GuiEditBox>("EditBox", withFocus ? "focused" : "unfocused");
    test::Set(*box, {{"fontname", "fixed"}, {"charheight", "1"}, {"caption", "abc"}});
    box->SetFocus(withFocus);
    edit->Hide();
    page->AddElement(box);
    for (std::size_t i = 0; i < focused.size(); ++i) {
      const std::vector<test::QueuedText> queued = Frame(0.25);
      EXPECT_EQ(Caret(queued) != nullptr, withFocus && focused[i]) << "at " << 0.25 * double(i + 1) << " s";
      EXPECT_EQ(box->IsCaretShown(), focused[i]) << "the blink runs anyway";
    }
    box->Hide();
  }
}

TEST_F(GuiEditBoxTest, TheCaretStandsAfterItsCharactersAsTheTextIsAligned) {
  struct Case {
    const char* alignment;
    std::int32_t caret;
    float left, right;  ///< of the caret's quad
  };
  // "abc" is 24 wide in the box from 100 to 300; the caret is drawn with the text's
  // alignment at its place.
  const Case cases[] = {
      {"left", 3, 124, 132},   {"left", 1, 108, 116},  {"left", 0, 100, 108},
      {"center", 3, 208, 216}, {"center", 1, 192, 200},  // the text from 188 to 212
      {"right", 3, 292, 300},  {"right", 1, 276, 284},   // the text from 276 to 300
  };
  edit->SetFocus(true);
  for (const Case& c : cases) {
    test::Set(*edit, {{"alignment", c.alignment}, {"valignment", "center"}});
    edit->HandleEvent(TextEvent("abc", c.caret));
    const test::QueuedText* caret = nullptr;
    std::vector<test::QueuedText> queued;
    for (int i = 0; i < 4 && !caret; ++i) {
      queued = Frame(0.3);
      caret = Caret(queued);
    }
    ASSERT_NE(caret, nullptr) << c.alignment;
    EXPECT_FLOAT_EQ(caret->left, c.left) << c.alignment << " " << c.caret;
    EXPECT_FLOAT_EQ(caret->right, c.right) << c.alignment << " " << c.caret;
    // On the text's line: the middle of the box.
    EXPECT_FLOAT_EQ(caret->top, queued.front().top) << c.alignment;
    EXPECT_FLOAT_EQ(caret->top, 52.0f) << c.alignment;
  }
}

TEST_F(GuiEditBoxTest, ItsPictureFillsTheBoxUnderTheText) {
  const int frame = rig.shaders.AddShader("frame", 0, 3);
  test::Set(*edit, {{"shader", "frame"}, {"caption", "ab"}});
  rig.Step(0.1);
  page->Render();
  const std::vector<test::QueuedQuad> quads = rig.TakeQuads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(quads[0], (test::QueuedQuad{frame, 100, 50, 200, 20, 1, 1, 255}));
}

class GuiEditBoxFocus : public GuiEditBoxTest {
 protected:
  GuiEditBoxFocus() {
    cursor = rig.mng->CreateElement("Cursor", "Cursor", false);
    rig.mng->SetCursor(cursor);
    rig.mng->CreateCursorPage();
  }
  /// One frame of the main loop, then the page drawn.
  std::vector<test::QueuedText> Loop() {
    input.mng->Update();
    rig.Step(0.02);
    rig.mng->Update();
    page->Render();
    return rig.TakeQueue();
  }
  void ClickAt(float x, float y) {
    input.script.MoveMouse(std::lround(x - cursor->GetLeft()), std::lround(y - cursor->GetTop()));
    Loop();
    input.script.ButtonDown(0);
    Loop();
    input.script.ButtonUp(0);
    Loop();
  }

  test::GuiInput input{rig};
  N_GuiElement* cursor = nullptr;
};

TEST_F(GuiEditBoxFocus, AClickFocusesAndEnterEnds) {
  test::Set(*edit, {{"caption", "Jo"}, {"maxchars", "5"}});
  ClickAt(150, 60);
  EXPECT_TRUE(edit->IsFocused());
  EXPECT_EQ(rig.mng->GetFocusElement(), edit);
  EXPECT_STREQ(input.mng->GetText(), "Jo") << "the caption goes into the input buffer";
  for (BYTE key : {DIK_H, DIK_N, DIK_N, DIK_Y}) {
    input.script.Tap(key);
    Loop();
  }
  EXPECT_EQ(edit->GetCaption(), "Johnn") << "at most \"maxchars\"";
  input.script.Tap(DIK_RETURN);
  Loop();
  EXPECT_FALSE(edit->IsFocused());
  EXPECT_EQ(rig.mng->GetFocusElement(), nullptr);
  input.script.Tap(DIK_A);
  Loop();
  EXPECT_EQ(edit->GetCaption(), "Johnn") << "no focus, no typing";
}

TEST_F(GuiEditBoxFocus, TypedLettersShowFromTheNextFrameWithTheCaretAfterThem) {
  struct Case {
    const char* maxchars;
    std::vector<BYTE> keys;
    std::string shown;
  };
  const Case cases[] = {
      {"-1", {DIK_A, DIK_B, DIK_C}, "abc"},
      {"2", {DIK_A, DIK_B, DIK_C}, "ab"},
  };
  for (const Case& c : cases) {
    edit->SetCaption("");
    edit->SetAttribute("maxchars", c.maxchars);
    ClickAt(150, 60);
    ASSERT_TRUE(edit->IsFocused());
    for (BYTE key : c.keys) input.script.Tap(key);
    Loop();
    EXPECT_EQ(edit->GetShownText(), c.shown) << c.maxchars;
    EXPECT_EQ(edit->GetCaret(), c.shown.size()) << c.maxchars;
    // Drawn: the text's characters, and the caret after the last once it blinks on.
    const float end = 100.0f + 8.0f * static_cast<float>(c.shown.size());
    // Each frame's queue is kept: the caret found points into it.
    std::vector<test::QueuedText> queued;
    const test::QueuedText* caret = nullptr;
    for (int i = 0; i < 40 && !caret; ++i) {
      queued = Loop();
      ASSERT_FALSE(queued.empty());
      EXPECT_EQ(queued.front().quads, c.shown.size());
      EXPECT_FLOAT_EQ(queued.front().right, end);
      caret = Caret(queued);
    }
    ASSERT_NE(caret, nullptr) << c.maxchars;
    EXPECT_FLOAT_EQ(caret->left, end) << c.maxchars;
    input.script.Tap(DIK_RETURN);
    Loop();
  }
}

}  // namespace
