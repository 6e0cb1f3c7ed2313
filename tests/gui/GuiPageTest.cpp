// Pages: showing, fading, hiding and closing, the cursor counter and the modal page,
// z-orders, the hit test, the transform and the effects they drive.
#include "gui/GuiPage.h"
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(GuiPage, FadingInAndOutTakesHalfASecondAtRateTwo) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("p");
  auto* text = rig.Create<N_GuiText>("Text", "t");
  page->AddElement(text);
  EXPECT_FALSE(page->IsVisible());
  page->Show(2.0f);
  EXPECT_TRUE(page->IsVisible());
  EXPECT_EQ(page->GetAlpha(), 0.0f);
  struct Frame {
    double seconds;
    float alpha;
    bool visible;
  };
  const Frame fadeIn[] = {{0.25, 0.5f, true}, {0.25, 1.0f, true}, {0.25, 1.0f, true}};
  for (const Frame& f : fadeIn) {
    rig.Step(f.seconds);
    page->Render();
    EXPECT_EQ(page->GetAlpha(), f.alpha);
    EXPECT_EQ(text->GetAlpha(), static_cast<std::uint8_t>(f.alpha * 255.0f));
  }
  page->Close(2.0f);
  const Frame fadeOut[] = {{0.25, 0.5f, true}, {0.25, 0.0f, false}};
  for (const Frame& f : fadeOut) {
    EXPECT_TRUE(page->IsVisible());
    rig.Step(f.seconds);
    page->Render();
    EXPECT_EQ(page->GetAlpha(), f.alpha);
    EXPECT_EQ(page->IsVisible(), f.visible);
  }
}

TEST(GuiPage, OneFadingFrameGivesEveryElementHalfAlphaBeforeItIsDrawn) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("p");
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* inner = rig.Create<N_GuiText>("Text", "inner");
  auto* top = rig.Create<N_GuiText>("Text", "top");
  for (N_GuiText* t : {inner, top}) {
    t->SetAttribute("fontname", "fixed");
    t->SetAttribute("caption", "abc");
  }
  box->Add(inner);
  page->AddElement(box);
  page->AddElement(top);
  page->Show(2.0f);
  rig.Step(0.25);
  page->Render();
  for (N_GuiElement* e : {static_cast<N_GuiElement*>(box), static_cast<N_GuiElement*>(inner),
                          static_cast<N_GuiElement*>(top)})
    EXPECT_EQ(e->GetAlpha(), 127) << e->GetName();
  const auto queued = rig.TakeQueue();
  ASSERT_EQ(queued.size(), 2u);
  for (const auto& q : queued) EXPECT_EQ(q.alpha, 127u);
  page->ShowImmediate();
  EXPECT_EQ(inner->GetAlpha(), 255) << "at once";
  EXPECT_EQ(page->GetAlpha(), 1.0f);
}

TEST(GuiPage, OnShowSeesThePageStillHidden) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("Menu");
  page->SetOnShow("GuiTestShow");
  page->Show(2.0f);
  page->Hide();
  page->ShowImmediate();
  EXPECT_EQ(test::GuiCalls(), (std::vector<std::string>{"show Menu hidden", "show Menu hidden"}));
  page->SetOnShow("NoSuchShow");
  page->Show(2.0f);
  EXPECT_EQ(test::GuiCalls().size(), 2u);
  EXPECT_EQ(page->GetOnShow(), "NoSuchShow");
}

TEST(GuiPage, TheCursorCounterAndTheModalPage) {
  test::GuiRig rig;
  N_GuiPage* withCursor = rig.mng->CreatePage("with");
  N_GuiPage* without = rig.mng->CreatePage("without");
  without->SetShowCursor(false);
  struct Step {
    const char* what;
    void (*act)(N_GuiPage& with, N_GuiPage& without);
    int counter;
  };
  const Step steps[] = {
      {"a page with the cursor counts up", [](N_GuiPage& w, N_GuiPage&) { w.Show(2.0f); }, 1},
      {"showing it again counts again", [](N_GuiPage& w, N_GuiPage&) { w.ShowImmediate(); }, 2},
      {"a page without counts down", [](N_GuiPage&, N_GuiPage& o) { o.Show(2.0f); }, 1},
      {"and hiding it does not count up", [](N_GuiPage&, N_GuiPage& o) { o.Hide(); }, 1},
      {"hiding the cursor page counts down", [](N_GuiPage& w, N_GuiPage&) { w.Close(2.0f); }, 0},
      {"never below 0", [](N_GuiPage& w, N_GuiPage&) { w.Hide(); }, 0},
  };
  for (const Step& s : steps) {
    s.act(*withCursor, *without);
    EXPECT_EQ(rig.mng->GetCursorCounter(), s.counter) << s.what;
  }

  N_GuiPage* first = rig.mng->CreatePage("first");
  N_GuiPage* second = rig.mng->CreatePage("second");
  first->SetModal(true);
  second->SetModal(true);
  first->ShowImmediate();
  EXPECT_EQ(rig.mng->GetModalPage(), first);
  second->Show(2.0f);
  EXPECT_EQ(rig.mng->GetModalPage(), second);
  first->Hide();
  EXPECT_EQ(rig.mng->GetModalPage(), nullptr) << "cleared although the second page claimed it since";
  withCursor->Hide();
  EXPECT_EQ(rig.mng->GetModalPage(), nullptr);
}

TEST(GuiPage, ElementZOrders) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("p");
  auto* early = rig.Create<N_GuiText>("Text", "early");
  page->AddElement(early);
  EXPECT_EQ(early->GetZOrder(), 10000) << "the default page z-order is 100";
  page->SetZOrder(5);
  auto* late = rig.Create<N_GuiText>("Text", "late");
  page->AddElement(late);
  EXPECT_EQ(early->GetZOrder(), 5);
  EXPECT_EQ(late->GetZOrder(), 500);
  page->SetZOrder(6);
  EXPECT_EQ(late->GetZOrder(), 6) << "the plain page z-order";
  page->SetZOrder(700);
  auto* wrapped = rig.Create<N_GuiText>("Text", "wrapped");
  page->AddElement(wrapped);
  EXPECT_EQ(wrapped->GetZOrder(), (700 * 100) & 0xFFFF);
}

TEST(GuiPage, TheHitTestTakesTheHighestZOrderAndTheFirstAddedAmongEquals) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("p");
  auto* second = rig.Create<N_GuiText>("Text", "a-second");  // sorts first by name
  auto* first = rig.Create<N_GuiText>("Text", "b-first");
  for (N_GuiText* t : {first, second}) t->SetSize(50, 50);
  page->AddElement(first);
  page->AddElement(second);
  page->Render();
  EXPECT_EQ(page->ElementAt(10, 10), first);
  first->Hide();
  EXPECT_EQ(page->ElementAt(10, 10), second) << "a hidden top-level element is not hit";
  first->Show();
  first->SetEnabled(false);
  EXPECT_EQ(page->ElementAt(10, 10), first) << "a disabled one is hit and swallows the event";
  // An element added after the last draw is hit at once (the order is rebuilt).
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* child = rig.Create<N_GuiText>("Text", "child");
  box->SetLeft(300);
  box->SetTop(300);
  box->SetSize(100, 100);
  box->Add(child);
  page->AddElement(box);
  box->ApplyLayout();
  EXPECT_EQ(page->ElementAt(310, 310), child) << "the child's higher z-order";
  page->RemoveElement(box);
  EXPECT_EQ(page->ElementAt(310, 310), nullptr);
  EXPECT_EQ(page->ElementAt(10, 10), first);
}

TEST(GuiPage, TheOffsetMovesTheMatrix) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("p");
  const N_Matrix4 identity;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(page->GetMatrix().m[i], identity.m[i]);
  page->SetOffset(100, 50);
  const N_Matrix4& m = page->GetMatrix();
  EXPECT_EQ(m.m[12], 100.0f);
  EXPECT_EQ(m.m[13], 50.0f);
  EXPECT_EQ(m.m[14], 0.0f);
  EXPECT_EQ(m.m[0], 1.0f);
  EXPECT_EQ(m.m[5], 1.0f);
  page->SetOffset(0, 0);
  EXPECT_EQ(page->GetMatrix().m[12], 0.0f);
}

TEST(GuiPage, EffectsStartStopAndRunWithThePage) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("p");
  N_GuiEffect* effect = rig.mng->CreateEffect("Recording");
  ASSERT_NE(effect, nullptr);
  page->AddEffect(effect);
  EXPECT_EQ(effect->GetPage(), page);
  page->Show(2.0f);
  rig.Step(0.25);
  page->Render();
  page->Close(2.0f);
  page->Hide();
  EXPECT_EQ(test::GuiCalls(), (std::vector<std::string>{"start", "update 0.250000", "stop", "stop"}));
  page->RemoveEffect(effect);
  page->ShowImmediate();
  EXPECT_EQ(test::GuiCalls().size(), 4u);
}

}  // namespace
