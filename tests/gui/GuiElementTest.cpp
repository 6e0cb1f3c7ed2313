// The element base: layout (metrics, alignment, anchors), the hit rectangle, events
// and the callbacks bound by name.
#include "gui/GuiPage.h"
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Rect {
  float x, y, w, h;
  bool operator==(const Rect&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rect& r) {
  return out << "(" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << ")";
}

Rect ScreenRect(N_GuiElement& e) { return {e.GetScreenX(), e.GetScreenY(), e.GetWidth(), e.GetHeight()}; }

TEST(GuiElement, LayoutPasses) {
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, const char*>> attributes;  ///< of the element, in order
    int passes;
    Rect expected;
  };
  const std::vector<Case> cases = {
      {"a new element covers the screen", {}, 1, {0, 0, 640, 480}},
            // The height given before was 480 pixels, read as a fraction now.
      {"relative fractions", {{"metricsmode", "relative"}, {"left", "0.25"}, {"width", "0.5"}}, 1,
       {160, 0, 320, 480 * 480}},
      {"relative after pixels scales the pixels",
       {{"left", "100"}, {"width", "2"}, {"height", "1"}, {"metricsmode", "relative"}},
       1,
       {64000, 0, 1280, 480}},
      {"centred", {{"horzalign", "center"}, {"vertalign", "center"}, {"width", "100"}, {"height", "40"}}, 1,
       {270, 220, 100, 40}},
      {"centred with offsets",
       {{"horzalign", "middle"}, {"vertalign", "x"}, {"width", "100"}, {"height", "40"}, {"left", "5"}, {"top", "-5"}},
       1,
       {275, 215, 100, 40}},
      {"right and bottom, offsets inward",
       {{"horzalign", "right"}, {"vertalign", "bottom"}, {"width", "100"}, {"height", "40"}, {"left", "-10"},
        {"top", "-20"}},
       1,
       {530, 420, 100, 40}},
  };
  for (const Case& c : cases) {
    test::GuiRig rig;
    N_GuiElement* e = rig.mng->CreateElement("Text", "e", false);
    for (const auto& [name, value] : c.attributes) ASSERT_TRUE(e->SetAttribute(name, value)) << name;
    for (int i = 0; i < c.passes; ++i) e->ApplyLayout();
    EXPECT_EQ(ScreenRect(*e), c.expected) << c.what;
  }
}

TEST(GuiElement, AlignmentInsideTheParent) {
  test::GuiRig rig;
  auto* parent = rig.Create<test::TestContainer>("TestContainer", "parent");
  parent->SetLeft(200);
  parent->SetTop(50);
  parent->SetSize(300, 100);
  auto* child = rig.Create<N_GuiText>("Text", "child");
  child->SetAttribute("horzalign", "right");
  child->SetAttribute("vertalign", "bottom");
  child->SetSize(100, 10);
  parent->Add(child);
  parent->ApplyLayout();
  EXPECT_EQ(ScreenRect(*child), (Rect{400, 140, 100, 10}));
  // The parent moves: the child follows at the next pass.
  parent->SetLeft(0);
  parent->ApplyLayout();
  EXPECT_EQ(child->GetScreenX(), 200.0f);
}

TEST(GuiElement, AnAnchorDefinedLaterPlacesTheElementFromTheSecondPass) {
  test::GuiRig rig;
  auto* follower = rig.Create<N_GuiText>("Text", "follower");
  follower->SetAttribute("left", "5");
  follower->SetAttribute("top", "3");
  follower->SetAttribute("anchor", "leader");
  EXPECT_TRUE(rig.Log().find("*** N_GuiElement with name leader not found.\n") != std::string::npos);
  EXPECT_EQ(follower->GetAnchor(), nullptr);
  auto* leader = rig.Create<N_GuiText>("Text", "leader");
  leader->SetLeft(100);
  leader->SetTop(40);
  leader->SetSize(60, 20);

  follower->ApplyLayout();  // finds the anchor
  EXPECT_EQ(follower->GetAnchor(), leader);
  EXPECT_EQ(leader->GetAnchoredBy(), follower);
  EXPECT_EQ(follower->GetScreenX(), 5.0f);
  follower->ApplyLayout();  // sits beside it
  EXPECT_EQ(ScreenRect(*follower), (Rect{165, 43, 640, 480}));
}

TEST(GuiElement, TheRectangleHoldsItsLeftAndTopEdgesOnly) {
  test::GuiRig rig;
  N_GuiElement* e = rig.mng->CreateElement("Text", "e", false);
  e->SetLeft(10);
  e->SetTop(20);
  e->SetSize(30, 40);
  e->ApplyLayout();
  struct Point {
    float x, y;
    bool inside;
  };
  for (const Point& p : {Point{10, 20, true}, Point{39.99f, 59.99f, true}, Point{40, 30, false}, Point{20, 60, false},
                         Point{9.99f, 30, false}, Point{20, 19.99f, false}}) {
    EXPECT_EQ(e->ContainsPoint(p.x, p.y), p.inside) << p.x << ", " << p.y;
    EXPECT_EQ(e->GetElementAt(p.x, p.y), p.inside ? e : nullptr);
  }
  e->Hide();
  EXPECT_EQ(e->GetElementAt(15, 25), e) << "a plain element answers without looking at its visibility";
}

N_GuiEvent Event(N_GuiEventType type, std::uint32_t button = 0, bool pressed = false) {
  N_GuiEvent event;
  event.type = type;
  event.x = 1.0f;
  event.y = 2.0f;
  event.button = button;
  event.pressed = pressed;
  return event;
}

TEST(GuiElement, EventsReachTheParentFirstAndTheCallbacks) {
  using E = N_GuiEventType;
  struct Case {
    const char* what;
    N_GuiEvent event;
    bool childEnabled;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"enter: own callback, then the parent", Event(E::Enter), true, {"enter child", "enter parent"}},
      {"exit", Event(E::Exit), true, {"exit child", "exit parent"}},
      {"left press: the parent first", Event(E::Button, kGuiLeftButton, true), true, {"click parent", "click child"}},
      {"right press clicks too", Event(E::Button, kGuiRightButton, true), true, {"click parent", "click child"}},
      {"release", Event(E::Button, kGuiLeftButton, false), true, {}},
      {"held", Event(E::Held, kGuiLeftButton, true), true, {"down parent", "down child"}},
      {"move", Event(E::Move), true, {}},
      {"disabled: nothing, not even to the parent", Event(E::Button, kGuiLeftButton, true), false, {}},
      {"disabled enter", Event(E::Enter), false, {}},
      {"disabled exit", Event(E::Exit), false, {}},
  };
  for (const Case& c : cases) {
    test::GuiRig rig;
    auto* parent = rig.Create<test::TestContainer>("TestContainer", "parent");
    auto* child = rig.Create<N_GuiText>("Text", "child");
    parent->Add(child);
    for (N_GuiElement* e : {static_cast<N_GuiElement*>(parent), static_cast<N_GuiElement*>(child)}) {
      e->SetAttribute("onclick", "GuiTestClick");
      e->SetAttribute("onmouseenter", "GuiTestEnter");
      e->SetAttribute("onmouseexit", "GuiTestExit");
      e->SetAttribute("onmousedown", "GuiTestDown");
    }
    child->SetEnabled(c.childEnabled);
    test::GuiCalls().clear();
    child->HandleEvent(c.event);
    EXPECT_EQ(test::GuiCalls(), c.calls) << c.what;
  }
}

TEST(GuiElement, CallbacksBindOnlyTheExecutablesOwnExports) {
  test::GuiRig rig;
  N_GuiElement* e = rig.mng->CreateElement("Text", "e", false);
  const std::string logBefore = rig.Log();
  for (const char* name : {"NoSuchCallback", "exit", "abort", "guitestclick", ""}) {
    e->SetAttribute("onclick", name);
    EXPECT_EQ(e->GetAttribute("onclick"), name);
    e->HandleEvent(Event(N_GuiEventType::Button, kGuiLeftButton, true));
  }
  EXPECT_TRUE(test::GuiCalls().empty()) << "and the program is still running";
  EXPECT_EQ(rig.Log(), logBefore) << "an unbound name is silent";
  e->SetAttribute("onclick", "GuiTestClick");
  e->HandleEvent(Event(N_GuiEventType::Button, kGuiLeftButton, true));
  EXPECT_EQ(test::GuiCalls(), std::vector<std::string>{"click e"});
}

TEST(GuiElement, ShadersFollowEnterExitAndEnabling) {
  test::GuiRig rig;
  N_GuiElement* e = rig.mng->CreateElement("Text", "e", false);
  e->SetAttribute("shader", "gui/normal");
  e->SetAttribute("highlightshader", "gui/light");
  const int normal = e->GetShader();
  e->SetAttribute("shader", "");  // ignored
  EXPECT_EQ(e->GetShaderName(), "gui/normal");
  e->HandleEvent(Event(N_GuiEventType::Enter));
  EXPECT_NE(e->GetShader(), normal);
  e->HandleEvent(Event(N_GuiEventType::Exit));
  EXPECT_EQ(e->GetShader(), normal);
  e->HandleEvent(Event(N_GuiEventType::Enter));
  e->SetEnabled(false);
  e->SetEnabled(true);
  EXPECT_EQ(e->GetShader(), normal) << "enabling shows the normal shader";
}

}  // namespace
