// Scroll bars: the layout of their arrows and bit, steps by a held arrow, dragging the
// bit, the limits, the read-out element and the scroll events their parent hears, and
// the children they make from templates.
#include "gui/GuiFactory.h"
#include "gui/GuiPage.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

/// A container that records the positions of the scroll events it hears.
class ScrollListener : public N_GuiContainer {
 public:
  static constexpr const char* kTypeName = "ScrollListener";
  explicit ScrollListener(std::string name) : N_GuiContainer(std::move(name)) {
    if (RegisterClass("ScrollListener")) ScrollListener::BuildAttributes();
  }
  const std::string& GetTypeName() const override {
    static const std::string word(kTypeName);
    return word;
  }
  int HandleEvent(const N_GuiEvent& event) override {
    if (event.type == N_GuiEventType::Scroll) heard.push_back(GuiEventAs<std::int32_t>(event.x));
    return N_GuiContainer::HandleEvent(event);
  }
  std::vector<std::int32_t> heard;
};

struct Rect {
  float x, y, w, h;
  bool operator==(const Rect&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Rect& r) {
  return out << "(" << r.x << ", " << r.y << ") " << r.w << " x " << r.h;
}
Rect RectOf(const N_GuiElement* e) { return e ? Rect{e->GetLeft(), e->GetTop(), e->GetWidth(), e->GetHeight()} : Rect{}; }

class GuiScrollBarTest : public ::testing::Test {
 protected:
  GuiScrollBarTest() {
    rig.mng->RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<ScrollListener>>());
    for (const char* type_name : {"Button Up", "Button Down", "Panel Bit"}) {
      const std::string text(type_name);
      rig.mng->CreateElement(text.substr(0, text.find(' ')), text.substr(text.find(' ') + 1), true);
    }
    page = rig.mng->CreatePage("p");
    listener = rig.Create<ScrollListener>("ScrollListener", "listener");
    test::Set(*listener, {{"left", "100"}, {"top", "50"}});
    page->AddElement(listener);
    readout = rig.Create<N_GuiText>("Text", "readout");
    page->AddElement(readout);
    page->ShowImmediate();
  }
  /// A bar with the three children, 20 across and 100 along, in the listener.
  N_GuiScrollBar* Bar(bool vertical, std::initializer_list<std::pair<const char*, const char*>> more = {}) {
    auto* bar = rig.Create<N_GuiScrollBar>("ScrollBar", "sb" + std::to_string(count++));
    test::Set(*bar, {{"upbutton", "Up"}, {"downbutton", "Down"}, {"scrollbit", "Bit"}, {"textelement", "readout"},
                     {"type", vertical ? "vertical" : "horizontal"}, {"width", vertical ? "20" : "100"},
                     {"height", vertical ? "100" : "20"}});
    test::Set(*bar, more);
    listener->Add(bar);
    Draw();
    return bar;
  }
  void Draw() {
    page->Render();
    rig.batch.Flush();
  }
  static N_GuiEvent ChildHeld(N_GuiElement* child) {
    N_GuiEvent event = test::Ev(N_GuiEventType::ChildHeld);
    event.x = child;
    return event;
  }
  static N_GuiEvent HeldAt(float x, float y) {
    N_GuiEvent event = test::Ev(N_GuiEventType::Held);
    event.x = x;
    event.y = y;
    return event;
  }

  test::GuiRig rig;
  N_GuiPage* page = nullptr;
  ScrollListener* listener = nullptr;
  N_GuiText* readout = nullptr;
  int count = 0;
};

TEST_F(GuiScrollBarTest, ArrowsAndBitAreLaidOutFromTheSizesAndLimits) {
  struct Case {
    const char* what;
    bool vertical;
    const char* limits;
    Rect up, down, bit;
  };
  // Spacing 5 of the default: buttons 10 x 10, the track from 15 to 85 (70 long).
  const Case cases[] = {
      {"vertical, default limits", true, "0 100 10", {5, 5, 10, 10}, {5, 85, 10, 10}, {5, 15, 10, 7}},
      {"horizontal, default limits", false, "0 100 10", {5, 5, 10, 10}, {85, 5, 10, 10}, {15, 5, 7, 10}},
      {"vertical, half way", true, "50 100 10", {5, 5, 10, 10}, {5, 85, 10, 10}, {5, 50, 10, 7}},
      {"total 0: the whole track", true, "3 0 10", {5, 5, 10, 10}, {5, 85, 10, 10}, {5, 15, 10, 70}},
      {"horizontal, total 0", false, "0 0 0", {5, 5, 10, 10}, {85, 5, 10, 10}, {15, 5, 70, 10}},
  };
  for (const Case& c : cases) {
    N_GuiScrollBar* bar = Bar(c.vertical, {{"limits", c.limits}});
    EXPECT_EQ(RectOf(bar->GetUpButton()), c.up) << c.what;
    EXPECT_EQ(RectOf(bar->GetDownButton()), c.down) << c.what;
    EXPECT_EQ(RectOf(bar->GetBit()), c.bit) << c.what;
    EXPECT_EQ(bar->GetAttribute("limits"), c.limits) << c.what;
    bar->Hide();
  }
}

TEST_F(GuiScrollBarTest, AHeldArrowStepsWithinTheTotal) {
  struct Case {
    const char* what;
    const char* limits;
    const char* arrow;  ///< "up" or "down", held once per step
    int steps;
    std::vector<std::int32_t> heard;
  };
  const Case cases[] = {
      {"down at the end: 90 + 10 of 100", "90 100 10", "down", 2, {90, 90}},
      {"up at 0", "0 100 10", "up", 1, {0}},
      {"down from 0", "0 100 10", "down", 3, {1, 2, 3}},
      {"up from 2", "2 100 10", "up", 3, {1, 0, 0}},
      {"all visible", "0 5 10", "down", 1, {0}},
  };
  for (const Case& c : cases) {
    N_GuiScrollBar* bar = Bar(true, {{"limits", c.limits}});
    listener->heard.clear();
    N_GuiElement* arrow = std::string(c.arrow) == "up" ? bar->GetUpButton() : bar->GetDownButton();
    for (int i = 0; i < c.steps; ++i) bar->HandleEvent(ChildHeld(arrow));
    EXPECT_EQ(listener->heard, c.heard) << c.what;
    EXPECT_EQ(bar->GetValue(), c.heard.back()) << c.what;
    EXPECT_EQ(readout->GetCaption(), std::to_string(c.heard.back())) << c.what;
    // The bit follows at once.
    EXPECT_FLOAT_EQ(bar->GetBit()->GetTop(), 15.0f + 0.7f * static_cast<float>(c.heard.back())) << c.what;
    // Set by the owning code: the read-out follows, the parent hears nothing.
    bar->SetValue(7);
    EXPECT_EQ(readout->GetCaption(), "7") << c.what;
    EXPECT_EQ(listener->heard.size(), c.heard.size()) << c.what;
    bar->Hide();
  }
}

TEST_F(GuiScrollBarTest, DraggingTheBitSetsThePositionWithinTheLimits) {
  struct Case {
    const char* what;
    const char* minimum;
    const char* maximum;
    float p;  ///< the mouse along the bar, from its top
    std::int32_t position;
  };
  // The bar stands at screen (100, 50); the bit is 7 long, the track 15 .. 85.
  const Case cases[] = {
      {"the middle", "-1", "-1", 50, 45},         // bit from 46.5: (46.5 - 15) x 100 / 70
      {"to the top", "-1", "-1", 16, 0},          // the bit stops at the track start
      {"to the top, minimum 5", "5", "-1", 16, 5},
      {"to the bottom", "-1", "-1", 84, 90},      // bit from 85 - 7 = 78
      {"to the bottom, maximum 60", "-1", "60", 84, 60},
      {"on the up arrow: no move", "-1", "-1", 10, 30},
      {"on the down arrow: no move", "-1", "-1", 90, 30},
  };
  for (const Case& c : cases) {
    N_GuiScrollBar* bar = Bar(true, {{"limits", "30 100 10"}, {"minimum", c.minimum}, {"maximum", c.maximum}});
    listener->heard.clear();
    bar->HandleEvent(HeldAt(100.0f + 10.0f, 50.0f + c.p));
    EXPECT_EQ(bar->GetValue(), c.position) << c.what;
    EXPECT_EQ(listener->heard, std::vector<std::int32_t>{c.position}) << c.what;
    EXPECT_EQ(readout->GetCaption(), std::to_string(c.position)) << c.what;
    Draw();
    EXPECT_FLOAT_EQ(bar->GetBit()->GetTop(), 15.0f + 0.7f * static_cast<float>(c.position)) << c.what;
    bar->Hide();
  }
}

TEST_F(GuiScrollBarTest, DegenerateBarsKeepTheirPosition) {
  // A track of no length (30 high: 5 + 10 + 0 + 10 + 5) and a bar without a bit.
  N_GuiScrollBar* flat = Bar(true, {{"height", "30"}, {"limits", "7 100 10"}});
  for (float y : {50.0f, 60.0f, 65.0f, 80.0f}) flat->HandleEvent(HeldAt(110.0f, y));
  EXPECT_EQ(flat->GetValue(), 7);

  auto* bare = rig.Create<N_GuiScrollBar>("ScrollBar", "bare");
  test::Set(*bare, {{"type", "vertical"}, {"width", "20"}, {"height", "100"}, {"limits", "4 100 10"}});
  listener->Add(bare);
  Draw();
  bare->HandleEvent(HeldAt(110.0f, 100.0f));
  bare->HandleEvent(ChildHeld(nullptr));
  EXPECT_EQ(bare->GetValue(), 4);
  EXPECT_EQ(bare->GetBit(), nullptr);
}

TEST_F(GuiScrollBarTest, AReadOutThatDoesNotExistIsReportedEachTime) {
  N_GuiScrollBar* bar = Bar(true, {{"textelement", "nothing"}});
  const std::size_t mark = rig.Log().size();
  bar->SetValue(3);
  bar->HandleEvent(ChildHeld(bar->GetDownButton()));
  const std::string log = rig.Log().substr(mark);
  // Once for SetValue, once for the step.
  const std::string line = "N_GuiElement with name nothing not found.\n";
  const std::size_t first = log.find(line);
  ASSERT_NE(first, std::string::npos) << log;
  const std::size_t second = log.find(line, first + 1);
  ASSERT_NE(second, std::string::npos) << log;
  EXPECT_EQ(log.find(line, second + 1), std::string::npos) << log;
  EXPECT_EQ(bar->GetValue(), 4);
}

TEST_F(GuiScrollBarTest, ChildrenNamedByATemplateAndAgainByTheBlockAreMadeOnce) {
  rig.shaders.AddShader("up1", 0, 3);
  rig.dir.Write("data/scripts/gui/t.gui",
                "template element Button(Up1)\n{\n\tupshader up1\n}\n"
                "template element Button(Up2)\n{\n\tupshader up2\n}\n"
                "template container ScrollBar(Bar)\n{\n\tupbutton Up1\n\tdownbutton Down\n\tscrollbit Bit\n}\n"
                "P\n{\n\tcontainer ScrollBar(S) : Bar\n\t{\n\t\ttype vertical\n\t\twidth 20\n\t\theight 100\n"
                "\t\tupbutton Up2\n\t\tdownbutton Down\n\t\tscrollbit Bit\n\t}\n}\n");
  const std::size_t mark = rig.Log().size();
  rig.mng->ParseGuiFile("data\\scripts\\gui\\t.gui");
  const std::string log = rig.Log().substr(mark);
  EXPECT_EQ(log.find("already"), std::string::npos) << log;
  EXPECT_EQ(log.find("!!!"), std::string::npos) << log;

  auto* bar = static_cast<N_GuiScrollBar*>(rig.mng->GetElement("S", false));
  ASSERT_NE(bar, nullptr);
  std::vector<std::string> children;
  for (const auto& [name, child] : bar->Children()) children.push_back(name);
  EXPECT_EQ(children, (std::vector<std::string>{"S/DownButton", "S/ScrollBit", "S/UpButton"}));
  std::vector<std::string> made;
  for (const auto& [name, element] : rig.mng->Elements()) made.push_back(name);
  EXPECT_EQ(made, (std::vector<std::string>{"S", "S/DownButton", "S/ScrollBit", "S/UpButton", "listener", "readout"}));
  // The template's own children stay among the templates, and the up arrow is the block's.
  EXPECT_NE(rig.mng->Templates().count("Bar/UpButton"), 0u);
  EXPECT_EQ(bar->GetUpButton(), rig.mng->GetElement("S/UpButton", false));
  EXPECT_EQ(bar->GetUpButton()->GetAttribute("upshader"), "up2");

  // Each arrow is drawn once: the up arrow's picture is one quad.
  N_GuiPage* p = rig.mng->GetPage("P");
  p->ShowImmediate();
  p->Render();
  const int up2 = rig.shaders.AddShader("up2", 0, 3);
  int drawn = 0;
  for (const test::QueuedQuad& q : rig.TakeQuads()) drawn += q.shader == up2;
  EXPECT_EQ(drawn, 1);
}

TEST_F(GuiScrollBarTest, ATemplateNamedAgainInsideItsOwnCopyIsNotCopiedAgain) {
  // A panel template holding a scroll bar whose bit is made from that very panel: each
  // copy of the panel would hold a scroll bar holding a copy of the panel ...
  rig.dir.Write("data/scripts/gui/t.gui",
                "template container Panel(Loop)\n{\n\tcontainer ScrollBar(Inner)\n\t{\n\t\tscrollbit Loop\n\t}\n}\n"
                "P\n{\n\tcontainer Panel(Outer) : Loop\n\t{\n\t}\n}\n");
  const std::size_t mark = rig.Log().size();
  rig.mng->ParseGuiFile("data\\scripts\\gui\\t.gui");
  const std::string log = rig.Log().substr(mark);
  EXPECT_NE(log.find("Template Loop is used inside itself: Inner/ScrollBit/Inner/ScrollBit not created. "
                     "(data\\scripts\\gui\\t.gui:5)\n"),
            std::string::npos)
      << log;
  // The template's scroll bar got one copy of the panel (whose own bar stays without a
  // bit); the page's copy of the panel holds a bar without one.
  EXPECT_NE(log.find("Template Loop is used inside itself: Outer/Inner/ScrollBit not created. "
                     "(data\\scripts\\gui\\t.gui:10)\n"),
            std::string::npos);
  std::vector<std::string> made;
  for (const auto& [name, element] : rig.mng->Elements()) made.push_back(name);
  EXPECT_EQ(made, (std::vector<std::string>{"Outer", "Outer/Inner", "listener", "readout"}));
  for (const char* name : {"Loop", "Inner", "Inner/ScrollBit", "Inner/ScrollBit/Inner"})
    EXPECT_EQ(rig.mng->Templates().count(name), 1u) << name;
  EXPECT_EQ(rig.mng->Templates().count("Inner/ScrollBit/Inner/ScrollBit"), 0u);
  rig.mng->GetPage("P")->ShowImmediate();
  rig.mng->GetPage("P")->Render();
}

}  // namespace
