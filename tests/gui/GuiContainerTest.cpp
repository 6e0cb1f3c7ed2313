// Containers: children by name, z-order by nesting, the hit test, template cloning and
// removal.
#include "gui/GuiPage.h"
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(GuiContainer, ADuplicateChildIsReportedAndTheFirstStays) {
  test::GuiRig rig;
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* first = rig.Create<N_GuiText>("Text", "same");
  auto* second = rig.Create<N_GuiText>("Text", "same", true);  // the templates allow the name again
  box->Add(first);
  box->Add(second);
  EXPECT_NE(rig.Log().find("*** Child with name same already defined.\n"), std::string::npos);
  EXPECT_EQ(rig.core.errorLog->LastCode(), 12);
  EXPECT_EQ(box->GetChild("same"), first);
  EXPECT_EQ(second->GetParent(), nullptr);
  // A refused container is neither re-parented nor listed as a child container.
  auto* inner = rig.Create<test::TestContainer>("TestContainer", "inner");
  auto* twin = rig.Create<test::TestContainer>("TestContainer", "inner", true);
  auto* other = rig.Create<N_GuiText>("Text", "other");
  twin->Add(other);
  box->Add(inner);
  box->Add(twin);
  EXPECT_EQ(box->ChildContainers().at("inner"), inner);
  EXPECT_EQ(twin->GetParent(), nullptr);
  EXPECT_EQ(other->GetParent(), twin);
  EXPECT_EQ(box->GetChild("missing"), nullptr);
  EXPECT_NE(rig.Log().find("*** Child with name missing not found.\n"), std::string::npos);
}

TEST(GuiContainer, ZOrdersGrowByOnePerNestingLevel) {
  for (const bool nestFirst : {true, false}) {
    test::GuiRig rig;
    N_GuiPage* page = rig.mng->CreatePage("p");
    page->SetZOrder(5);
    auto* outer = rig.Create<test::TestContainer>("TestContainer", "outer");
    auto* inner = rig.Create<test::TestContainer>("TestContainer", "inner");
    auto* leaf = rig.Create<N_GuiText>("Text", "leaf");
    inner->Add(leaf);
    if (nestFirst) outer->Add(inner);
    page->AddElement(outer);
    if (!nestFirst) outer->Add(inner);
    EXPECT_EQ(outer->GetZOrder(), 500);
    EXPECT_EQ(inner->GetZOrder(), 501);
    EXPECT_EQ(leaf->GetZOrder(), 502);
    EXPECT_EQ(leaf->GetPage(), page);
    EXPECT_EQ(leaf->GetParent(), inner);
  }
}

TEST(GuiContainer, HitTests) {
  // Children "b" (added first) and "a" at the same place and z-order; a deeper one.
  const std::tuple<const char*, bool, bool, bool, const char*> cases[] = {
      {"equal z-orders: the first name wins", true, true, true, "a"},
      {"an invisible child is never hit", false, true, true, "b"},
      {"nor a disabled one", true, false, true, "b"},
      {"children taking no input: the container", true, true, false, "box"},
  };
  for (const auto& [what, aVisible, aEnabled, takeInput, expected] : cases) {
    test::GuiRig rig;
    auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
    test::Set(*box, {{"width", "200"}, {"height", "200"}});
    for (const char* name : {"b", "a"}) {
      auto* child = rig.Create<N_GuiText>("Text", name);
      test::Set(*child, {{"width", "50"}, {"height", "50"}});
      box->Add(child);
    }
    box->GetChild("a")->SetVisible(aVisible);
    box->GetChild("a")->SetEnabled(aEnabled);
    box->SetChildrenTakeInput(takeInput);
    box->ApplyLayout();
    N_GuiElement* hit = box->GetElementAt(10, 10);
    EXPECT_EQ(hit ? hit->GetName() : "none", expected) << what;
    EXPECT_EQ(box->GetElementAt(100, 100), box) << what;
    EXPECT_EQ(box->GetElementAt(300, 10), nullptr) << what;
  }
  test::GuiRig rig;
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* inner = rig.Create<test::TestContainer>("TestContainer", "a-inner");
  auto* deep = rig.Create<N_GuiText>("Text", "deep");
  auto* flat = rig.Create<N_GuiText>("Text", "b-flat");
  inner->Add(deep);
  box->Add(inner);
  box->Add(flat);
  box->ApplyLayout();
  EXPECT_EQ(box->GetElementAt(5, 5), deep) << "the deepest hit, by z-order";
  inner->Hide();
  EXPECT_EQ(box->GetElementAt(5, 5), flat);
  box->Hide();
  EXPECT_EQ(box->GetElementAt(5, 5), nullptr);
}

TEST(GuiContainer, CloningATemplateCopiesItsMarkedChildren) {
  test::GuiRig rig;
  auto* tmpl = rig.Create<test::TestContainer>("TestContainer", "T", true);
  auto* label = rig.Create<N_GuiText>("Text", "Label", true);
  auto* own = rig.Create<N_GuiText>("Text", "Own", true);
  test::Set(*tmpl, {{"width", "250"}});
  test::Set(*label, {{"caption", "Hello"}, {"left", "12"}, {"color", "4"}});
  own->SetCloneWithTemplate(false);
  tmpl->Add(label);
  tmpl->Add(own);
  auto* menu = rig.Create<test::TestContainer>("TestContainer", "Menu");
  menu->CloneChildrenFrom(*tmpl);
  EXPECT_EQ(menu->GetWidth(), 250.0f);
  auto* copy = dynamic_cast<N_GuiText*>(rig.mng->GetElement("Menu/Label", false));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(menu->Children().size(), 1u);
  EXPECT_EQ(copy->GetParent(), menu);
  EXPECT_EQ(copy->GetCaption() + copy->GetAttribute("left") + copy->GetAttribute("color"), "Hello124");
  EXPECT_EQ(label->GetParent(), tmpl);
  auto* menu2 = rig.Create<test::TestContainer>("TestContainer", "Menu2", true);
  menu2->CloneChildrenFrom(*tmpl, true);
  EXPECT_EQ(rig.mng->Templates().count("Menu2/Label"), 1u) << "cloned into a template: among the templates";
}

TEST(GuiContainer, RemovingEnablingAndFading) {
  test::GuiRig rig;
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* child = rig.Create<test::TestContainer>("TestContainer", "child");
  auto* leaf = rig.Create<N_GuiText>("Text", "leaf");
  child->Add(leaf);
  box->Add(child);
  box->SetEnabled(false);
  box->SetAlpha(40);
  EXPECT_FALSE(leaf->IsEnabled());
  EXPECT_EQ(leaf->GetAlpha(), 40);
  box->RemoveChild("child");
  EXPECT_EQ(rig.mng->GetElement("child", false), child) << "alive and registered";
  EXPECT_TRUE(box->Children().empty());
  EXPECT_TRUE(box->ChildContainers().empty()) << "no entry outlives the child";
  box->Render();
  box->RemoveChild("child");
  EXPECT_NE(rig.Log().find("*** Child with name child not found.\n"), std::string::npos);
}

}  // namespace
