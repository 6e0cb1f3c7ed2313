// The element base: layout (metrics, alignment, anchors), the hit rectangle, events,
// shaders and the callbacks bound by name.
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace {

using Attrs = std::vector<std::pair<const char*, const char*>>;
using Rect = std::array<float, 4>;

Rect ScreenRect(N_GuiElement& e) { return {e.GetScreenX(), e.GetScreenY(), e.GetWidth(), e.GetHeight()}; }

TEST(GuiElement, LayoutPasses) {
  const std::tuple<const char*, Attrs, Rect> cases[] = {
      {"a new element covers the screen", {}, {0, 0, 640, 480}},
      // The height given before was 480 pixels, read as a fraction now.
      {"relative", {{"metricsmode", "relative"}, {"left", "0.25"}, {"width", "0.5"}}, {160, 0, 320, 480 * 480}},
      {"relative after pixels", {{"left", "100"}, {"width", "2"}, {"height", "1"}, {"metricsmode", "relative"}},
       {64000, 0, 1280, 480}},
      {"centred", {{"horzalign", "middle"}, {"vertalign", "x"}, {"width", "100"}, {"height", "40"}, {"left", "5"}},
       {275, 220, 100, 40}},
      {"right, bottom", {{"horzalign", "right"}, {"vertalign", "bottom"}, {"width", "100"}, {"height", "40"},
                         {"left", "-10"}, {"top", "-20"}}, {530, 420, 100, 40}},
  };
  for (const auto& [what, attributes, expected] : cases) {
    test::GuiRig rig;
    N_GuiElement* e = rig.mng->CreateElement("Text", "e", false);
    for (const auto& [name, value] : attributes) EXPECT_TRUE(e->SetAttribute(name, value)) << name;
    e->ApplyLayout();
    EXPECT_EQ(ScreenRect(*e), expected) << what;
  }
}

TEST(GuiElement, AlignmentInsideTheParentAndAnchorsDefinedLater) {
  test::GuiRig rig;
  auto* parent = rig.Create<test::TestContainer>("TestContainer", "parent");
  auto* child = rig.Create<N_GuiText>("Text", "child");
  test::Set(*parent, {{"left", "200"}, {"top", "50"}, {"width", "300"}, {"height", "100"}});
  test::Set(*child, {{"horzalign", "right"}, {"vertalign", "bottom"}, {"width", "100"}, {"height", "10"}});
  parent->Add(child);
  parent->ApplyLayout();
  EXPECT_EQ(ScreenRect(*child), (Rect{400, 140, 100, 10}));

  auto* follower = rig.Create<N_GuiText>("Text", "follower");
  test::Set(*follower, {{"left", "5"}, {"top", "3"}, {"anchor", "leader"}});
  EXPECT_NE(rig.Log().find("*** N_GuiElement with name leader not found.\n"), std::string::npos);
  auto* leader = rig.Create<N_GuiText>("Text", "leader");
  test::Set(*leader, {{"left", "100"}, {"top", "40"}, {"width", "60"}});
  follower->ApplyLayout();  // finds the anchor, places nothing yet
  EXPECT_EQ(follower->GetAnchor(), leader);
  EXPECT_EQ(leader->GetAnchoredBy(), follower);
  EXPECT_EQ(follower->GetScreenX(), 5.0f);
  follower->ApplyLayout();
  EXPECT_EQ(ScreenRect(*follower), (Rect{165, 43, 640, 480}));
}

TEST(GuiElement, TheRectangleHoldsItsLeftAndTopEdgesOnly) {
  test::GuiRig rig;
  N_GuiElement* e = rig.mng->CreateElement("Text", "e", false);
  test::Set(*e, {{"left", "10"}, {"top", "20"}, {"width", "30"}, {"height", "40"}, {"visible", "false"}});
  e->ApplyLayout();
  const std::tuple<float, float, bool> points[] = {{10, 20, true},   {39.99f, 59.99f, true}, {40, 30, false},
                                                   {20, 60, false},  {9.99f, 30, false},     {20, 19.99f, false}};
  for (const auto& [x, y, inside] : points) {
    EXPECT_EQ(e->ContainsPoint(x, y), inside) << x << ", " << y;
    EXPECT_EQ(e->GetElementAt(x, y), inside ? e : nullptr) << "visible or not";
  }
}

TEST(GuiElement, EventsAndCallbacks) {
  using E = N_GuiEventType;
  const std::tuple<const char*, N_GuiEvent, bool, std::vector<std::string>> cases[] = {
      {"enter: own callback, then the parent", test::Ev(E::Enter), true, {"enter child", "enter parent"}},
      {"exit", test::Ev(E::Exit), true, {"exit child", "exit parent"}},
      {"a press: the parent first", test::Ev(E::Button), true, {"click parent", "click child"}},
      {"the right button clicks too", test::Ev(E::Button, kGuiRightButton), true, {"click parent", "click child"}},
      {"a release does nothing", test::Ev(E::Button, kGuiLeftButton, false), true, {}},
      {"held", test::Ev(E::Held), true, {"down parent", "down child"}},
      {"disabled: nothing, not even to the parent", test::Ev(E::Button), false, {}},
      {"disabled enter", test::Ev(E::Enter), false, {}},
      {"disabled exit", test::Ev(E::Exit), false, {}},
  };
  for (const auto& [what, event, enabled, calls] : cases) {
    test::GuiRig rig;
    auto* parent = rig.Create<test::TestContainer>("TestContainer", "parent");
    auto* child = rig.Create<N_GuiText>("Text", "child");
    parent->Add(child);
    for (N_GuiElement* e : {static_cast<N_GuiElement*>(parent), static_cast<N_GuiElement*>(child)})
      test::Set(*e, {{"onclick", "GuiTestClick"}, {"onmouseenter", "GuiTestEnter"}, {"onmouseexit", "GuiTestExit"},
                     {"onmousedown", "GuiTestDown"}});
    child->SetEnabled(enabled);
    child->HandleEvent(event);
    EXPECT_EQ(test::GuiCalls(), calls) << what;
  }
}

TEST(GuiElement, CallbacksBindOnlyTheExecutablesOwnExports) {
  test::GuiRig rig;
  N_GuiElement* e = rig.mng->CreateElement("Text", "e", false);
  const std::string logBefore = rig.Log();
  for (const char* name : {"NoSuchCallback", "exit", "abort", "guitestclick", ""}) {
    e->SetAttribute("onclick", name);
    EXPECT_EQ(e->GetAttribute("onclick"), name);
    e->HandleEvent(test::Ev(N_GuiEventType::Button));
  }
  EXPECT_TRUE(test::GuiCalls().empty()) << "and the program still runs";
  // Each name that binds nothing is said; the empty name binds nothing quietly.
  EXPECT_EQ(rig.Log().substr(logBefore.size()),
            "!!! Bad callback: onclick 'NoSuchCallback' of element e is no menu callback, nothing is bound\n"
            "!!! Bad callback: onclick 'exit' of element e is no menu callback, nothing is bound\n"
            "!!! Bad callback: onclick 'abort' of element e is no menu callback, nothing is bound\n"
            "!!! Bad callback: onclick 'guitestclick' of element e is no menu callback, nothing is bound\n");
  e->SetAttribute("onclick", "GuiTestClick");
  e->HandleEvent(test::Ev(N_GuiEventType::Button));
  EXPECT_EQ(test::GuiCalls(), std::vector<std::string>{"click e"});
}

TEST(GuiElement, ShadersFollowEnterExitAndEnabling) {
  test::GuiRig rig;
  N_GuiElement* e = rig.mng->CreateElement("Text", "e", false);
  test::Set(*e, {{"shader", "gui/normal"}, {"highlightshader", "gui/light"}, {"shader", ""}});
  const int normal = e->GetShader();
  EXPECT_EQ(e->GetShaderName(), "gui/normal") << "an empty name is ignored";
  e->HandleEvent(test::Ev(N_GuiEventType::Enter));
  EXPECT_NE(e->GetShader(), normal);
  e->HandleEvent(test::Ev(N_GuiEventType::Exit));
  EXPECT_EQ(e->GetShader(), normal);
  e->HandleEvent(test::Ev(N_GuiEventType::Enter));
  e->SetEnabled(false);
  e->SetEnabled(true);
  EXPECT_EQ(e->GetShader(), normal) << "enabling shows the normal shader";
}

}  // namespace
