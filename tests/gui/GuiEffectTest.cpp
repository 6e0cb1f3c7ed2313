// The effects: a fade's timing and its end states when the page goes, a page sliding
// in and slowing until it stands exactly in place, an element scrolling in from an
// edge to where it stood (also a table's new rows), a dump that turns the motion back,
// the words of "type" and "direction", elements found at every start (made after the
// effect, or destroyed and made again), and effects declared inside element blocks.
#include "gui/GuiEffectFade.h"
#include "gui/GuiEffectPageScroll.h"
#include "gui/GuiEffectScroll.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class GuiEffectTest : public ::testing::Test {
 protected:
  /// One frame of the page as the manager draws it: elements, then the effects.
  void Frame(N_GuiPage* page, double seconds) {
    rig.Step(seconds);
    page->Render();
    rig.batch.Flush();
  }
  template <class T>
  T* EffectOf(N_GuiPage* page) {
    for (N_GuiEffect* e : page->Effects()) {
      if (e->GetTypeName() == T::kTypeName) return static_cast<T*>(e);
    }
    return nullptr;
  }
  N_GuiPage* Page(const char* name) { return rig.mng->GetPage(name); }

  test::GuiRig rig;
};

TEST_F(GuiEffectTest, AFadeWaitsItsStartThenRunsAtItsSpeed) {
  struct Case {
    const char* type;
    const char* start;
    std::vector<int> alphas;  ///< after each frame of 0.25 s
  };
  // In: invisible for the first second, 255 half a second later. Out at speed 2 from
  // the start: half a second down to 0. Any other word than "in" fades out.
  const Case cases[] = {
      {"in", "1.0", {0, 0, 0, 0, 127, 255, 255}},
      {"out", "0", {127, 0, 0}},
      {"In", "0.5", {255, 255, 127, 0, 0}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    N_GuiPage* page = rig.mng->CreatePage("p" + std::to_string(n));
    auto* text = rig.Create<N_GuiText>("Text", "t" + std::to_string(n++));
    page->AddElement(text);
    N_GuiEffect* fade = rig.mng->CreateEffect("Fade");
    test::Set(*fade, {{"element", text->GetName().c_str()}, {"start", c.start}, {"speed", "2.0"}, {"type", c.type}});
    page->AddEffect(fade);
    page->ShowImmediate();
    EXPECT_EQ(text->GetAlpha(), std::string(c.type) == "in" ? 0 : 255) << "the start state";
    for (std::size_t i = 0; i < c.alphas.size(); ++i) {
      Frame(page, 0.25);
      EXPECT_EQ(text->GetAlpha(), c.alphas[i]) << "after frame " << i + 1;
    }
    EXPECT_FALSE(static_cast<N_GuiEffectFade*>(fade)->IsRunning());
  }
}

TEST_F(GuiEffectTest, HidingThePageMidFadeLeavesTheEndState) {
  for (const auto& [type, end] : {std::pair{"in", 255}, std::pair{"out", 0}}) {
    SCOPED_TRACE(type);
    N_GuiPage* page = rig.mng->CreatePage(std::string("p") + type);
    auto* text = rig.Create<N_GuiText>("Text", std::string("t") + type);
    page->AddElement(text);
    N_GuiEffect* fade = rig.mng->CreateEffect("Fade");
    test::Set(*fade, {{"element", text->GetName().c_str()}, {"speed", "1"}, {"type", type}});
    page->AddEffect(fade);
    page->ShowImmediate();
    Frame(page, 0.4);
    EXPECT_NE(text->GetAlpha(), end) << "midway";
    page->Hide();
    EXPECT_EQ(text->GetAlpha(), end);
    EXPECT_FALSE(static_cast<N_GuiEffectFade*>(fade)->IsRunning());
  }
}

TEST_F(GuiEffectTest, APageSlidesInSlowingAndStopsExactlyInPlace) {
  ASSERT_TRUE(rig.LoadScript("effects.gui"));
  N_GuiPage* page = Page("SlidePage");
  auto* scroll = EffectOf<N_GuiEffectPageScroll>(page);
  ASSERT_NE(scroll, nullptr);
  EXPECT_FALSE(scroll->IsRunning()) << "idle until the page shows";
  page->ShowImmediate();
  EXPECT_EQ(page->GetMatrix().m[12], 640.0f);
  EXPECT_EQ(page->GetMatrix().m[13], 0.0f);
  EXPECT_EQ(scroll->Slide().vx, -80.0f);
  float before = 640.0f, lastStep = 1e9f;
  int frames = 0;
  while (scroll->IsRunning() && frames < 100) {
    Frame(page, 0.5);
    ++frames;
    const float x = page->GetMatrix().m[12];
    if (!scroll->IsRunning()) break;
    // The velocity grows by the dump (1 a second) every second; each step is shorter.
    EXPECT_FLOAT_EQ(scroll->Slide().vx, -80.0f + 0.5f * float(frames));
    EXPECT_LT(before - x, lastStep);
    lastStep = before - x;
    before = x;
  }
  // 640 = 80 t - t^2 / 2 at t = 8.44 s: the 17th frame of 0.5 s crosses 0.
  EXPECT_EQ(frames, 17);
  EXPECT_EQ(page->GetMatrix().m[12], 0.0f) << "exactly";
  Frame(page, 0.5);
  EXPECT_EQ(page->GetMatrix().m[12], 0.0f) << "and stays";
  // Hiding only forgets the effect's own offset: the page keeps its own.
  page->Hide();
  EXPECT_EQ(page->GetMatrix().m[12], 0.0f);
  EXPECT_EQ(scroll->Slide().x, 0.0f);
}

TEST_F(GuiEffectTest, EveryDirectionStartsOffItsEdgeAndArrives) {
  struct Case {
    const char* direction;
    float x, y;  ///< the page's start offset
  };
  const Case cases[] = {{"left", 640, 0}, {"right", -640, 0}, {"top", 0, 480}, {"bottom", 0, -480}, {"up", 0, -480}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.direction);
    N_GuiPage* page = rig.mng->CreatePage(std::string("p") + c.direction);
    N_GuiEffect* effect = rig.mng->CreateEffect("PageScroll");
    test::Set(*effect, {{"direction", c.direction}, {"speed", "800"}, {"dump", "10"}});
    page->AddEffect(effect);
    page->ShowImmediate();
    EXPECT_EQ(page->GetMatrix().m[12], c.x);
    EXPECT_EQ(page->GetMatrix().m[13], c.y);
    for (int i = 0; i < 40; ++i) Frame(page, 0.05);
    EXPECT_FALSE(static_cast<N_GuiEffectPageScroll*>(effect)->IsRunning());
    EXPECT_EQ(page->GetMatrix().m[12], 0.0f);
    EXPECT_EQ(page->GetMatrix().m[13], 0.0f);
  }
}

TEST_F(GuiEffectTest, ADumpThatTurnsTheMotionBackNeverStops) {
  // Speed 80 against a dump of 100: the velocity turns after 0.8 s, 32 units in.
  N_GuiPage* page = rig.mng->CreatePage("p");
  auto* box = rig.Create<N_GuiElement>("Panel", "box");
  page->AddElement(box);
  box->SetLeft(200.0f);
  N_GuiEffect* pageScroll = rig.mng->CreateEffect("PageScroll");
  test::Set(*pageScroll, {{"direction", "left"}, {"speed", "80"}, {"dump", "100"}});
  N_GuiEffect* scroll = rig.mng->CreateEffect("Scroll");
  test::Set(*scroll, {{"element", "box"}, {"direction", "left"}, {"speed", "80"}, {"dump", "100"}});
  page->AddEffect(pageScroll);
  page->AddEffect(scroll);
  page->ShowImmediate();
  for (int i = 0; i < 200; ++i) Frame(page, 0.05);
  EXPECT_TRUE(static_cast<N_GuiEffectPageScroll*>(pageScroll)->IsRunning());
  EXPECT_TRUE(static_cast<N_GuiEffectScroll*>(scroll)->IsRunning());
  EXPECT_GT(page->GetMatrix().m[12], 640.0f) << "travelling away";
  EXPECT_GT(box->GetLeft(), 640.0f);
}

TEST_F(GuiEffectTest, AnElementScrollsInFromItsEdgeToWhereItStood) {
  ASSERT_TRUE(rig.LoadScript("effects.gui"));
  N_GuiPage* page = Page("ScrollPage");
  auto* scroll = EffectOf<N_GuiEffectScroll>(page);
  ASSERT_NE(scroll, nullptr) << "declared in the element's block, it belongs to the page";
  N_GuiElement* box = rig.mng->GetElement("ScrollBox", false);
  page->ShowImmediate();
  EXPECT_TRUE(scroll->IsRunning());
  EXPECT_EQ(box->GetTop(), 480.0f);
  EXPECT_EQ(scroll->GetTargetY(), 100.0f);
  float last = 480.0f;
  for (int i = 0; i < 100 && scroll->IsRunning(); ++i) {
    Frame(page, 0.25);
    EXPECT_LE(box->GetTop(), last);
    last = box->GetTop();
  }
  EXPECT_FALSE(scroll->IsRunning());
  EXPECT_EQ(box->GetTop(), 100.0f);
  box->ApplyLayout();
  EXPECT_EQ(box->GetScreenY(), 100.0f) << "the screen y it had";
  // Shown again, it slides again; hidden midway, it jumps to its place.
  page->Hide();
  page->ShowImmediate();
  Frame(page, 0.5);
  EXPECT_GT(box->GetTop(), 100.0f);
  page->Hide();
  EXPECT_FALSE(scroll->IsRunning());
  EXPECT_EQ(box->GetTop(), 100.0f);
}

TEST_F(GuiEffectTest, TheScrollWorksInTheElementsOwnPlace) {
  // Inside a container at (100, 50), and beside an anchor: each ends at the left it
  // was given, whatever its screen position.
  N_GuiPage* page = rig.mng->CreatePage("p");
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  box->SetLeft(100.0f);
  box->SetTop(50.0f);
  box->SetSize(400.0f, 300.0f);
  page->AddElement(box);
  auto* inner = rig.Create<N_GuiElement>("Panel", "inner");
  inner->SetLeft(30.0f);
  inner->SetSize(50.0f, 20.0f);
  box->Add(inner);
  auto* anchor = rig.Create<N_GuiElement>("Panel", "anchor");
  anchor->SetLeft(20.0f);
  anchor->SetSize(60.0f, 20.0f);
  page->AddElement(anchor);
  auto* beside = rig.Create<N_GuiElement>("Panel", "beside");
  beside->SetAnchor("anchor");
  beside->SetLeft(10.0f);
  beside->SetSize(60.0f, 20.0f);
  page->AddElement(beside);
  page->ShowImmediate();
  Frame(page, 0.01);
  ASSERT_EQ(inner->GetScreenX(), 130.0f);
  ASSERT_EQ(beside->GetScreenX(), 90.0f);
  struct Case {
    const char* element;
    const char* direction;
    float start;   ///< the left given at the start
    float target;  ///< and at the end
  };
  // "right" beside an anchor starts at -(anchor width) - (anchor left) - (anchor width).
  const Case cases[] = {{"inner", "right", -50, 30}, {"inner", "left", 640, 30},
                        {"beside", "right", -140, 10}, {"beside", "left", 640, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.element) + " " + c.direction);
    N_GuiEffect* effect = rig.mng->CreateEffect("Scroll");
    test::Set(*effect, {{"element", c.element}, {"direction", c.direction}, {"speed", "400"}});
    effect->Start();
    N_GuiElement* e = rig.mng->GetElement(c.element, false);
    EXPECT_EQ(e->GetGivenLeft(), c.start);
    EXPECT_EQ(e->GetHorzAlign(), N_GuiElement::kAlignLeft);
    for (int i = 0; i < 400 && static_cast<N_GuiEffectScroll*>(effect)->IsRunning(); ++i) effect->Update(0.02f);
    EXPECT_EQ(e->GetGivenLeft(), c.target);
    page->Render();
    EXPECT_EQ(e->GetScreenX(), c.element == std::string("inner") ? 130.0f : 90.0f);
    rig.mng->DestroyEffect(effect);
  }
}

TEST_F(GuiEffectTest, TheWordsOfTypeAndDirection) {
  struct Case {
    const char* effect;
    const char* attribute;
    const char* value;
    const char* readBack;
  };
  const Case cases[] = {
      {"Fade", "type", nullptr, "out"},         {"Fade", "type", "in", "in"},
      {"Fade", "type", "out", "out"},           {"Fade", "type", "IN", "out"},
      {"Fade", "type", "", "out"},              {"Scroll", "direction", nullptr, "bottom"},
      {"Scroll", "direction", "left", "left"},  {"Scroll", "direction", "right", "right"},
      {"Scroll", "direction", "top", "top"},    {"Scroll", "direction", "Top", "bottom"},
      {"PageScroll", "direction", nullptr, "bottom"}, {"PageScroll", "direction", "sideways", "bottom"},
      {"PageScroll", "direction", "left", "left"},
  };
  for (const Case& c : cases) {
    N_GuiEffect* effect = rig.mng->CreateEffect(c.effect);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->GetTypeName(), c.effect);
    if (c.value) {
      EXPECT_TRUE(effect->SetAttribute(c.attribute, c.value));
    }
    EXPECT_EQ(effect->GetAttribute(c.attribute), c.readBack) << c.effect << " " << (c.value ? c.value : "(default)");
  }
  // The numbers and their defaults.
  N_GuiEffect* scroll = rig.mng->CreateEffect("Scroll");
  EXPECT_EQ(scroll->GetAttribute("speed"), "80");
  EXPECT_EQ(scroll->GetAttribute("dump"), "1");
  EXPECT_EQ(scroll->GetAttribute("start"), "0");
  EXPECT_EQ(scroll->GetAttribute("element"), "");
  EXPECT_FALSE(scroll->SetAttribute("type", "in")) << "a fade's attribute";
}

TEST_F(GuiEffectTest, AnEffectFindsAnElementMadeAfterIt) {
  ASSERT_TRUE(rig.LoadScript("effects.gui"));
  N_GuiPage* page = Page("FadePage");
  auto* fade = EffectOf<N_GuiEffectFade>(page);
  ASSERT_NE(fade, nullptr);
  EXPECT_EQ(fade->GetElement(), nullptr);
  page->ShowImmediate();
  EXPECT_EQ(fade->GetElement(), rig.mng->GetElement("LateText", false));
  EXPECT_TRUE(fade->IsRunning());
  EXPECT_EQ(rig.Log().find("!!! Bad"), std::string::npos) << rig.Log();
}

TEST_F(GuiEffectTest, DestroyingTheElementOfARunningEffect) {
  for (const char* type : {"Fade", "Scroll"}) {
    SCOPED_TRACE(type);
    const std::string name = std::string("gone") + type;
    N_GuiPage* page = rig.mng->CreatePage(std::string("p") + type);
    page->AddElement(rig.Create<N_GuiText>("Text", name));
    N_GuiEffect* effect = rig.mng->CreateEffect(type);
    test::Set(*effect, {{"element", name.c_str()}, {"speed", "0.5"}});
    page->AddEffect(effect);
    page->ShowImmediate();
    Frame(page, 0.1);
    rig.mng->DestroyElement(name, false);
    Frame(page, 0.1);
    page->Hide();
    page->ShowImmediate();
    Frame(page, 0.1);
    EXPECT_NE(rig.Log().find("N_GuiElement with name " + name + " not found."), std::string::npos);
    // Made again, it is found at the next start.
    auto* again = rig.Create<N_GuiText>("Text", name);
    page->AddElement(again);
    page->Hide();
    page->ShowImmediate();
    Frame(page, 0.1);
    const bool running = type == std::string("Fade") ? static_cast<N_GuiEffectFade*>(effect)->IsRunning()
                                                     : static_cast<N_GuiEffectScroll*>(effect)->IsRunning();
    EXPECT_TRUE(running);
    page->Hide();
  }
}

TEST_F(GuiEffectTest, ATablesNewRowsSlideInFromTheLeft) {
  N_GuiPage* page = rig.mng->CreatePage("p");
  auto* table = rig.Create<N_GuiTable>("Table", "T");
  test::Set(*table, {{"left", "100"}, {"top", "50"}, {"width", "300"}, {"height", "200"}, {"scrollrows", "true"},
                     {"columntypes", "text"}, {"columnwidths", "200"}});
  page->AddElement(table);
  page->ShowImmediate();
  Frame(page, 0.01);
  table->AddRow("First", false);
  table->AddRow("Second", false);
  ASSERT_EQ(page->Effects().size(), 2u);
  for (int row = 0; row < 2; ++row) {
    N_GuiElement* panel = table->GetRowPanel(row);
    auto* slide = static_cast<N_GuiEffectScroll*>(page->Effects()[std::size_t(row)]);
    EXPECT_EQ(slide->GetTypeName(), "Scroll");
    EXPECT_EQ(slide->GetAttribute("direction"), "right");
    EXPECT_EQ(slide->GetAttribute("speed"), "400");
    EXPECT_EQ(slide->GetElement(), panel);
    EXPECT_EQ(panel->GetLeft(), -panel->GetWidth()) << "off the table's left edge";
  }
  for (int i = 0; i < 100; ++i) Frame(page, 0.02);
  for (int row = 0; row < 2; ++row) {
    N_GuiElement* panel = table->GetRowPanel(row);
    EXPECT_EQ(panel->GetLeft(), 5.0f) << "the spacing inside the table";
    EXPECT_EQ(panel->GetScreenX(), 105.0f);
  }
  // Clearing the table destroys the rows' effects: none is left on the page or in the
  // manager.
  table->Clear();
  EXPECT_TRUE(page->Effects().empty());
  EXPECT_TRUE(std::none_of(rig.mng->Effects().begin(), rig.mng->Effects().end(),
                           [](const N_GuiEffect* e) { return e->GetTypeName() == "Scroll"; }));
  Frame(page, 0.02);
}

TEST_F(GuiEffectTest, AnEffectInAnElementBlockFollowsItsPage) {
  ASSERT_TRUE(rig.LoadScript("effects.gui"));
  N_GuiPage* page = Page("ScrollPage");
  auto* scroll = EffectOf<N_GuiEffectScroll>(page);
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(scroll->GetPage(), page);
  for (const char* other : {"FadePage", "SlidePage"}) {
    const auto& effects = Page(other)->Effects();
    EXPECT_EQ(std::count(effects.begin(), effects.end(), scroll), 0) << other;
  }
  page->ShowImmediate();
  EXPECT_TRUE(scroll->IsRunning());
  page->Hide();
  EXPECT_FALSE(scroll->IsRunning());
}

}  // namespace
