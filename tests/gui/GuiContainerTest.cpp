// Containers: children by name, z-order by nesting, the hit test, template cloning and
// removal.
#include "gui/GuiPage.h"
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(GuiContainer, ADuplicateChildIsReportedAndTheFirstStays) {
  test::GuiRig rig;
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* first = rig.Create<N_GuiText>("Text", "same");
  auto* other = rig.Create<N_GuiText>("Text", "other");
  box->Add(first);
  // A second element of that name (a template, so the manager allows the name again).
  auto* second = rig.Create<N_GuiText>("Text", "same", true);
  box->Add(second);
  EXPECT_TRUE(rig.Log().find("*** Child with name same already defined.\n") != std::string::npos);
  EXPECT_EQ(rig.core.errorLog->LastCode(), 12);
  EXPECT_EQ(box->GetChild("same"), first);
  EXPECT_EQ(second->GetParent(), nullptr) << "the refused element is not re-parented";
  // A refused container is neither re-parented nor listed as a child container.
  auto* inner = rig.Create<test::TestContainer>("TestContainer", "inner");
  auto* innerTwin = rig.Create<test::TestContainer>("TestContainer", "inner", true);
  innerTwin->Add(other);
  box->Add(inner);
  box->Add(innerTwin);
  EXPECT_EQ(box->ChildContainers().at("inner"), inner);
  EXPECT_EQ(innerTwin->GetParent(), nullptr);
  EXPECT_EQ(other->GetParent(), innerTwin);
  EXPECT_EQ(box->GetChild("missing"), nullptr);
  EXPECT_TRUE(rig.Log().find("*** Child with name missing not found.\n") != std::string::npos);
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
    if (nestFirst) {
      outer->Add(inner);
      page->AddElement(outer);
    } else {
      page->AddElement(outer);
      outer->Add(inner);
    }
    EXPECT_EQ(outer->GetZOrder(), 500);
    EXPECT_EQ(inner->GetZOrder(), 501);
    EXPECT_EQ(leaf->GetZOrder(), 502);
    EXPECT_EQ(leaf->GetPage(), page);
    EXPECT_EQ(leaf->GetParent(), inner);
  }
}

TEST(GuiContainer, HitTests) {
  struct Case {
    const char* what;
    bool aVisible, aEnabled, takeInput;
    const char* expected;
  };
  const Case cases[] = {
      {"equal z-orders: the first name wins", true, true, true, "a"},
      {"an invisible child is never hit", false, true, true, "b"},
      {"nor a disabled one", true, false, true, "b"},
      {"children taking no input: the container", true, true, false, "box"},
  };
  for (const Case& c : cases) {
    test::GuiRig rig;
    auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
    box->SetSize(200, 200);
    // "b" is added first; "a" sorts first.
    for (const char* name : {"b", "a"}) {
      auto* child = rig.Create<N_GuiText>("Text", name);
      child->SetSize(50, 50);
      box->Add(child);
    }
    auto* a = box->GetChild("a");
    a->SetVisible(c.aVisible);
    a->SetEnabled(c.aEnabled);
    box->SetChildrenTakeInput(c.takeInput);
    box->ApplyLayout();
    N_GuiElement* hit = box->GetElementAt(10, 10);
    ASSERT_NE(hit, nullptr) << c.what;
    EXPECT_EQ(hit->GetName(), c.expected) << c.what;
    EXPECT_EQ(box->GetElementAt(100, 100), box) << c.what << ": beside the children";
    EXPECT_EQ(box->GetElementAt(300, 10), nullptr) << c.what << ": outside";
  }
}

TEST(GuiContainer, TheDeepestHitWinsAndAnInvisibleContainerIsNotHit) {
  test::GuiRig rig;
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* inner = rig.Create<test::TestContainer>("TestContainer", "a-inner");
  auto* deep = rig.Create<N_GuiText>("Text", "deep");
  auto* flat = rig.Create<N_GuiText>("Text", "b-flat");
  inner->Add(deep);
  box->Add(inner);
  box->Add(flat);
  box->ApplyLayout();
  EXPECT_EQ(box->GetElementAt(5, 5), deep);
  inner->Hide();
  EXPECT_EQ(box->GetElementAt(5, 5), flat);
  box->Hide();
  EXPECT_EQ(box->GetElementAt(5, 5), nullptr);
}

TEST(GuiContainer, CloningATemplateCopiesItsMarkedChildren) {
  test::GuiRig rig;
  auto* tmpl = rig.Create<test::TestContainer>("TestContainer", "T", true);
  tmpl->SetAttribute("width", "250");
  auto* label = rig.Create<N_GuiText>("Text", "Label", true);
  label->SetAttribute("caption", "Hello");
  label->SetAttribute("left", "12");
  label->SetAttribute("color", "4");
  auto* own = rig.Create<N_GuiText>("Text", "Own", true);
  own->SetCloneWithTemplate(false);
  tmpl->Add(label);
  tmpl->Add(own);

  auto* menu = rig.Create<test::TestContainer>("TestContainer", "Menu");
  menu->CloneChildrenFrom(*tmpl);
  EXPECT_EQ(menu->GetWidth(), 250.0f);
  ASSERT_EQ(menu->Children().size(), 1u);
  auto* copy = dynamic_cast<N_GuiText*>(rig.mng->GetElement("Menu/Label", false));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(menu->Children().begin()->second, copy);
  EXPECT_EQ(copy->GetParent(), menu);
  EXPECT_EQ(copy->GetCaption(), "Hello");
  EXPECT_EQ(copy->GetLeft(), 12.0f);
  EXPECT_EQ(copy->GetColor(), 4);
  EXPECT_EQ(label->GetParent(), tmpl) << "the template keeps its child";
  // Cloning into a template creates the copies among the templates.
  auto* menuTemplate = rig.Create<test::TestContainer>("TestContainer", "Menu2", true);
  menuTemplate->CloneChildrenFrom(*tmpl, true);
  EXPECT_NE(rig.mng->Templates().count("Menu2/Label"), 0u);
  EXPECT_EQ(rig.mng->Elements().count("Menu2/Label"), 0u);
}

TEST(GuiContainer, ARemovedChildStaysAliveAndRegistered) {
  test::GuiRig rig;
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* child = rig.Create<test::TestContainer>("TestContainer", "child");
  box->Add(child);
  box->RemoveChild("child");
  EXPECT_EQ(rig.mng->GetElement("child", false), child);
  EXPECT_TRUE(box->Children().empty());
  EXPECT_TRUE(box->ChildContainers().empty()) << "no entry outlives the child";
  box->Render();  // the draw order forgets it
  box->RemoveChild("child");
  EXPECT_TRUE(rig.Log().find("*** Child with name child not found.\n") != std::string::npos);
}

TEST(GuiContainer, EnablingAlphaAndParentReachTheChildren) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("p");
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* child = rig.Create<N_GuiText>("Text", "child");
  box->Add(child);
  box->SetEnabled(false);
  EXPECT_FALSE(child->IsEnabled());
  box->SetAlpha(40);
  EXPECT_EQ(child->GetAlpha(), 40);
  page->AddElement(box);
  EXPECT_EQ(child->GetPage(), page);
  EXPECT_EQ(child->GetParent(), box);
}

}  // namespace
