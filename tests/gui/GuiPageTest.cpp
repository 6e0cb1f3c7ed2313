// Pages: showing, fading, hiding and closing, the cursor counter and the modal page,
// z-orders, the hit test, the transform and the effects they drive.
#include "gui/GuiPage.h"
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(GuiPage, FadingInAndOutAtRateTwo) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("p");
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* inner = rig.Create<N_GuiText>("Text", "inner");
  auto* top = rig.Create<N_GuiText>("Text", "top");
  for (N_GuiText* t : {inner, top}) test::Set(*t, {{"fontname", "fixed"}, {"caption", "abc"}});
  box->Add(inner);
  page->AddElement(box);
  page->AddElement(top);
  page->Show(2.0f);
  EXPECT_TRUE(page->IsVisible());
  // Each frame sets every element's alpha, container children too, before drawing them.
  const std::tuple<void (*)(N_GuiPage&), float, std::uint32_t, bool> frames[] = {
      {[](N_GuiPage&) {}, 0.5f, 127, true}, {[](N_GuiPage&) {}, 1.0f, 255, true},
      {[](N_GuiPage& p) { p.Close(2.0f); }, 0.5f, 127, true}, {[](N_GuiPage&) {}, 0.0f, 0, false}};
  for (const auto& [act, alpha, byte, visible] : frames) {
    act(*page);
    rig.Step(0.25);
    page->Render();
    EXPECT_EQ(page->GetAlpha(), alpha);
    EXPECT_EQ(page->IsVisible(), visible);
    for (N_GuiElement* e : {static_cast<N_GuiElement*>(box), static_cast<N_GuiElement*>(inner),
                            static_cast<N_GuiElement*>(top)})
      EXPECT_EQ(e->GetAlpha(), byte) << e->GetName();
    const auto queued = rig.TakeQueue();
    ASSERT_EQ(queued.size(), 2u);
    for (const auto& q : queued) EXPECT_EQ(q.alpha, byte);
  }
  page->ShowImmediate();
  EXPECT_EQ(inner->GetAlpha(), 255) << "at once";
}

TEST(GuiPage, OnShowSeesThePageStillHidden) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("Menu");
  page->SetOnShow("GuiTestShow");
  page->Show(2.0f);
  page->Hide();
  page->ShowImmediate();
  page->SetOnShow("NoSuchShow");
  page->Show(2.0f);
  EXPECT_EQ(test::GuiCalls(), (std::vector<std::string>{"show Menu hidden", "show Menu hidden"}));
}

TEST(GuiPage, TheCursorCounterAndTheModalPage) {
  test::GuiRig rig;
  N_GuiPage* with = rig.mng->CreatePage("with");
  N_GuiPage* without = rig.mng->CreatePage("without");
  without->SetShowCursor(false);
  const std::pair<std::function<void()>, int> steps[] = {
      {[&] { with->Show(2.0f); }, 1},     {[&] { with->ShowImmediate(); }, 2},  // again counts again
      {[&] { without->Show(2.0f); }, 1},  {[&] { without->Hide(); }, 1},        // hiding it counts nothing
      {[&] { with->Close(2.0f); }, 0},    {[&] { with->Hide(); }, 0}};          // never below 0
  for (const auto& [act, counter] : steps) {
    act();
    EXPECT_EQ(rig.mng->GetCursorCounter(), counter);
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
  // Added after the last draw: hit at once (the order is rebuilt).
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* child = rig.Create<N_GuiText>("Text", "child");
  test::Set(*box, {{"left", "300"}, {"top", "300"}, {"width", "100"}, {"height", "100"}});
  box->Add(child);
  page->AddElement(box);
  box->ApplyLayout();
  EXPECT_EQ(page->ElementAt(310, 310), child) << "the child's higher z-order";
  page->RemoveElement(box);
  EXPECT_EQ(page->ElementAt(310, 310), nullptr);
}

TEST(GuiPage, TheOffsetMovesTheMatrixAndEffectsRunWithThePage) {
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("p");
  EXPECT_EQ(page->GetMatrix().m[12], 0.0f);
  page->SetOffset(100, 50);
  const N_Matrix4& m = page->GetMatrix();
  EXPECT_EQ(std::vector<float>(m.m + 12, m.m + 16), (std::vector<float>{100, 50, 0, 1}));
  EXPECT_EQ(m.m[0] + m.m[5] + m.m[10], 3.0f);

  N_GuiEffect* effect = rig.mng->CreateEffect("Recording");
  page->AddEffect(effect);
  EXPECT_EQ(effect->GetPage(), page);
  page->Show(2.0f);
  rig.Step(0.25);
  page->Render();
  page->Close(2.0f);
  page->Hide();
  page->RemoveEffect(effect);
  page->ShowImmediate();
  EXPECT_EQ(test::GuiCalls(), (std::vector<std::string>{"start", "update 0.250000", "stop", "stop"}));
}

}  // namespace
