// The GUI manager's registry: factories, pages, elements and templates, effects, the
// cursor counter, destruction without dangling links, shutdown.
#include "gui/GuiButton.h"
#include "gui/GuiEffect.h"
#include "gui/GuiFactories.h"
#include "gui/GuiFactory.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace {

bool Logged(const test::GuiRig& rig, const std::string& line) { return rig.Log().find(line) != std::string::npos; }

TEST(GuiMng, RegisteringTheFactoriesLogsThemInTheirOrder) {
  test::TempDir dir;
  test::CoreServices core;
  N_GuiMng mng;
  RegisterGuiFactories(mng);
  mng.RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<N_GuiText>>());  // the first stays
  // The game's order: seventeen elements, then three effects.
  const std::vector<std::string> types{"Panel",         "Cursor",        "Text",          "EditBox",     "Button",
                                       "CheckBox",      "ScrollBar",     "TextSelector",  "ImageSelector",
                                       "ImageScroller", "Table",         "ProgressBar",   "RadioGroup",
                                       "ScrollingText", "Model",         "Figure",        "Map"};
  const std::vector<std::string> effects{"Scroll", "Fade", "PageScroll"};
  std::vector<std::string> lines;
  for (const std::string& type : types) lines.push_back(" +    GuiElementFactory for type " + type + " registered.\n");
  for (const std::string& type : effects) lines.push_back(" +    GuiEffectFactory for type " + type + " registered.\n");
  lines.push_back(" +    GuiElementFactory for type Text registered.\n");
  EXPECT_TRUE(test::ContainsInOrder(core.LogText(), lines));
  for (const std::string& type : types) {
    GuiElementFactory* factory = mng.FindElementFactory(type);
    ASSERT_NE(factory, nullptr) << type;
    EXPECT_EQ(factory->TypeName(), type);
    N_GuiElement* e = factory->Create("x");
    EXPECT_EQ(e->GetTypeName(), type) << "the factory's word is the element's";
    factory->Destroy(e);
    factory->Destroy(nullptr);
  }
  for (const std::string& type : effects) {
    GuiEffectFactory* factory = mng.FindEffectFactory(type);
    ASSERT_NE(factory, nullptr) << type;
    EXPECT_EQ(factory->TypeName(), type);
    N_GuiEffect* e = factory->Create();
    EXPECT_EQ(e->GetTypeName(), type) << "the factory's word is the effect's";
    factory->Destroy(e);
    factory->Destroy(nullptr);
  }
  EXPECT_EQ(mng.FindElementFactory("text"), nullptr) << "type words compare exactly";
}

TEST(GuiMng, EveryTypeWordOfAPageScriptCreatesItsElement) {
  test::GuiRig rig;
  const std::vector<std::string> types{"Panel",       "Cursor",        "Text",          "EditBox",    "Button",
                                       "CheckBox",    "ScrollBar",     "TextSelector",  "ImageSelector",
                                       "ImageScroller", "Table",       "ProgressBar",   "RadioGroup",
                                       "ScrollingText", "Model",       "Figure",        "Map"};
  std::string script = "Every\n{\n";
  for (const char* type : {"Scroll", "Fade", "PageScroll"}) script += std::string("effect ") + type + "\n{\n}\n";
  for (const std::string& type : types) script += "container " + type + "(A" + type + ")\n{\n}\n";
  script += "}\n";
  rig.dir.Write("data/scripts/gui/every.gui", script);
  rig.mng->ParseGuiFile(rig.dir.Path() + "/data/scripts/gui/every.gui");
  for (const std::string& type : types) {
    N_GuiElement* e = rig.mng->GetElement("A" + type, false);
    ASSERT_NE(e, nullptr) << type;
    EXPECT_EQ(e->GetTypeName(), type);
  }
  const auto& effects = rig.mng->GetPage("Every")->Effects();
  ASSERT_EQ(effects.size(), 3u);
  EXPECT_EQ(effects[0]->GetTypeName(), "Scroll");
  EXPECT_EQ(effects[1]->GetTypeName(), "Fade");
  EXPECT_EQ(effects[2]->GetTypeName(), "PageScroll");
  EXPECT_FALSE(Logged(rig, "Cannot locate")) << rig.Log();
  EXPECT_FALSE(Logged(rig, "!!! Bad")) << rig.Log();
}

TEST(GuiMng, CreatingAndFindingElementsAndPages) {
  test::GuiRig rig;
  N_GuiElement* button = rig.mng->CreateElement("Button", "ok", false);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetTypeName(), "Button");
  EXPECT_EQ(rig.mng->GetElement("ok", false), button);
  const std::tuple<const char*, const char*, bool, const char*> failures[] = {
      {"Button", "ok", false, "*** N_GuiElement with name ok already exists.\n"},
      {"Slider", "s", false, "*** Cannot locate factory for element type Slider.\n"},
      {"button", "b", true, "*** Cannot locate factory for element type button.\n"}};
  for (const auto& [type, name, isTemplate, report] : failures) {
    EXPECT_EQ(rig.mng->CreateElement(type, name, isTemplate), nullptr) << report;
    EXPECT_TRUE(Logged(rig, report)) << report;
  }
  EXPECT_EQ(rig.core.errorLog->LastCode(), 12);
  N_GuiElement* okTemplate = rig.mng->CreateElement("Text", "ok", true);  // a map of its own
  EXPECT_EQ(rig.mng->GetElement("ok", true), okTemplate);
  EXPECT_EQ(rig.mng->GetElement("gone", false), nullptr);
  EXPECT_TRUE(Logged(rig, "*** N_GuiElement with name gone not found.\n"));

  N_GuiPage* page = rig.mng->CreatePage("Main");
  N_GuiPage* twin = rig.mng->CreatePage("Main");
  EXPECT_NE(twin, page);
  EXPECT_EQ(rig.mng->GetPage("Main"), page) << "the first stays registered";
  const std::string before = rig.Log();
  EXPECT_EQ(rig.mng->GetPage("main"), nullptr);
  EXPECT_EQ(rig.Log(), before) << "GetPage reports nothing";
  // The cursor counter never goes below 0.
  const std::pair<bool, int> steps[] = {{false, 0}, {true, 1}, {true, 2}, {false, 1}, {false, 0}, {false, 0}};
  for (const auto& [show, counter] : steps) {
    rig.mng->ShowCursor(show);
    EXPECT_EQ(rig.mng->GetCursorCounter(), counter);
  }
}

TEST(GuiMng, EffectsAreCreatedAndDestroyedThroughTheirFactories) {
  test::GuiRig rig;
  EXPECT_EQ(rig.mng->CreateEffect("Wipe"), nullptr);
  EXPECT_TRUE(Logged(rig, "*** Cannot locate factory for effect type Wipe.\n"));
  N_GuiPage* page = rig.mng->CreatePage("p");
  N_GuiEffect* effect = rig.mng->CreateEffect("Recording");
  page->AddEffect(effect);
  rig.mng->DestroyEffect(effect);
  EXPECT_TRUE(rig.mng->Effects().empty());
  EXPECT_TRUE(page->Effects().empty()) << "the page keeps no freed effect";
  page->Show(2.0f);
  page->Render();
  EXPECT_TRUE(test::GuiCalls().empty());
  rig.mng->DestroyEffect(nullptr);
}

/// An element whose type word no factory answers to.
class Orphan final : public N_GuiText {
 public:
  static constexpr const char* kTypeName = "Adopter";  // the word of its factory
  using N_GuiText::N_GuiText;
  const std::string& GetTypeName() const override {
    static const std::string word("Orphan");
    return word;
  }
};

TEST(GuiMng, DestroyingAndShutdown) {
  // The sanitizer build's leak check sees anything shutdown leaves.
  test::GuiRig rig;
  rig.mng->DestroyElement("nobody", false);
  EXPECT_TRUE(Logged(rig, "*** N_GuiElement with name nobody not found.\n"));
  rig.mng->DestroyElement(static_cast<N_GuiElement*>(nullptr), false);
  auto* text = rig.Create<N_GuiText>("Text", "t");
  rig.mng->DestroyElement(text, true);
  EXPECT_TRUE(Logged(rig, "*** N_GuiElement with name t not found.\n")) << "not among the templates";
  rig.mng->DestroyElement(text, false);
  EXPECT_EQ(rig.mng->Elements().count("t"), 0u);

  rig.mng->RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<Orphan>>());
  N_GuiElement* orphan = rig.mng->CreateElement("Adopter", "a-orphan", false);
  rig.mng->DestroyElement("a-orphan", false);
  EXPECT_TRUE(Logged(rig, "*** Cannot locate factory for element type Orphan.\n"));
  EXPECT_EQ(rig.mng->GetElement("a-orphan", false), orphan) << "it stays";
  rig.mng->CreateElement("Text", "b-text", false);
  rig.mng->CreateElement("Adopter", "orphan-template", true);
  rig.mng->CreatePage("Main");
  rig.mng->CreatePage("Main");  // refused, still owned
  rig.mng->CreateEffect("Recording");
  rig.mng.reset();
  g_guiServices = {};
  EXPECT_TRUE(test::ContainsInOrder(rig.Log(), {"*** Cannot locate factory for element a-orphan.\n",
                                                "*** Cannot locate factory for element orphan-template.\n"}));
}

TEST(GuiMng, ADestroyedElementLeavesNothingDangling) {
  // Under the sanitizer build a dangling link would be a use after free below.
  test::GuiRig rig;
  N_GuiPage* page = rig.mng->CreatePage("p");
  N_GuiPage* other = rig.mng->CreatePage("other");
  auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
  auto* inner = rig.Create<test::TestContainer>("TestContainer", "inner");
  auto* held = rig.Create<N_GuiButton>("Button", "held");
  std::map<std::string, N_GuiText*> t;
  for (const char* name : {"leaf", "anchor", "follower", "second", "removed"}) {
    t[name] = rig.Create<N_GuiText>("Text", name);
    test::Set(*t[name], {{"fontname", "fixed"}, {"caption", "x"}});
  }
  inner->Add(t["leaf"]);
  box->Add(inner);
  box->Add(t["removed"]);
  box->RemoveChild("removed");  // still parented to box
  for (N_GuiElement* e : {static_cast<N_GuiElement*>(box), static_cast<N_GuiElement*>(t["anchor"]),
                          static_cast<N_GuiElement*>(t["follower"]), static_cast<N_GuiElement*>(t["second"]),
                          static_cast<N_GuiElement*>(held)})
    page->AddElement(e);
  other->AddElement(held);  // on two pages
  t["follower"]->SetAttribute("anchor", "anchor");
  t["second"]->SetAttribute("anchor", "anchor");
  auto* effect = static_cast<test::RecordingEffect*>(rig.mng->CreateEffect("Recording"));
  effect->held = held;
  page->AddEffect(effect);
  page->ShowImmediate();
  other->ShowImmediate();
  page->Render();
  page->Render();

  for (const char* name : {"anchor", "inner", "held", "box"}) rig.mng->DestroyElement(name, false);
  EXPECT_EQ(t["follower"]->GetAnchor(), nullptr);
  EXPECT_EQ(t["second"]->GetAnchor(), nullptr);
  EXPECT_EQ(t["leaf"]->GetParent(), nullptr);
  EXPECT_EQ(t["removed"]->GetParent(), nullptr);
  EXPECT_EQ(effect->held, nullptr);
  EXPECT_EQ(page->Elements().size(), 2u);
  EXPECT_TRUE(other->Elements().empty());
  // Lay out, draw and hit-test what is left.
  for (int frame = 0; frame < 2; ++frame) {
    rig.Step(0.1);
    page->Render();
    other->Render();
    for (const char* name : {"leaf", "removed"}) {
      t[name]->ApplyLayout();
      t[name]->Render();
    }
    EXPECT_EQ(page->ElementAt(700, 5), t["follower"]) << "placed beside the anchor before it went";
    EXPECT_EQ(other->ElementAt(5, 5), nullptr);
  }
  EXPECT_TRUE(Logged(rig, "*** N_GuiElement with name anchor not found.\n")) << "looked up again";
  EXPECT_FALSE(rig.TakeQueue().empty());
}

}  // namespace
