// Every attribute of every element class, given garbage, then laid out, drawn, hit,
// clicked and copied: nothing may crash or touch memory it should not (the sanitizer
// build checks the latter). No sound manager is set: an unknown sound name would end
// the program there, by design.
#include "gui/GuiPage.h"
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> GarbageValues() {
  std::string high;
  for (int c = 128; c < 256; ++c) high.push_back(static_cast<char>(c));
  // Lists and row lines: many fields, quotes left open, comments, extreme numbers.
  std::string fields;
  for (int i = 0; i < 5000; ++i) fields += std::to_string(i % 7 - 3) + " ";
  return {"",     std::string(10000, 'x'), "nan", "-nan", "-1e40", "1e40", "inf",  "-1", "99999999999", high,
          "%s%n", "\\n \\n \\n",           "true", " ",   "0",     "1e-45", "\"", "//", std::string(3000, ' ') + "a",
          fields, "a \"b c", "'open", "x // y z", "-2147483648 2147483647 -1", "text image none image", "vertical",
          // Lists of the wrong length (colours, positions, rotations), words of any kind.
          "1 2 3", "1 2 3 4", "0 0 0 0 0", "in", "left", "right", "top", "bottom", "-3e38 3e38 1 0"};
}

TEST(GuiGarbage, EveryAttributeOfEveryClassSurvivesGarbage) {
  const std::vector<std::string> values = GarbageValues();
  for (const char* type : {"Text", "Button", "CheckBox", "TestContainer", "Panel", "Cursor", "RadioGroup", "EditBox",
                           "ScrollBar", "TextSelector", "ImageSelector", "Table", "ProgressBar", "ImageScroller",
                           "ScrollingText", "Model", "Figure", "Map"}) {
    test::GuiRig rig;
    N_GuiPage* page = rig.mng->CreatePage("p");
    auto* box = rig.Create<test::TestContainer>("TestContainer", "box");
    page->AddElement(box);
    N_GuiElement* probe = rig.mng->CreateElement(type, "probe", false);
    ASSERT_NE(probe, nullptr) << type;
    auto* inner = rig.Create<N_GuiText>("Text", "inner");
    if (probe->IsContainer()) static_cast<N_GuiContainer*>(probe)->Add(inner);
    box->Add(probe);
    N_GuiElement* copy = rig.mng->CreateElement(type, "copy", false);
    page->ShowImmediate();
    probe->SetAttribute("fontname", "fixed");
    probe->SetAttribute("caption", "Some caption \\n here");

    const N_GuiClassAttributes* table = FindGuiClassAttributes(probe->GetClassName());
    ASSERT_NE(table, nullptr) << type;
    for (const N_GuiAttributeDesc& d : table->descriptors) {
      for (const std::string& value : values) {
        EXPECT_TRUE(probe->SetAttribute(d.name, value)) << type << "." << d.name;
        (void)probe->GetAttribute(d.name);
        page->Render();
        (void)page->ElementAt(10.0f, 10.0f);
        (void)page->ElementAt(probe->GetScreenX(), probe->GetScreenY());
        for (N_GuiEventType t : {N_GuiEventType::Enter, N_GuiEventType::Button, N_GuiEventType::Held,
                                 N_GuiEventType::Exit, N_GuiEventType::Text, N_GuiEventType::ChildHeld}) {
          N_GuiEvent event;
          event.type = t;
          event.button = kGuiLeftButton;
          event.pressed = true;
          probe->HandleEvent(event);
        }
        probe->CopyAttributes(*copy);
        rig.batch.Flush();
      }
      // Sane values back, so the next attribute meets a drawable element.
      for (const char* reset : {"metricsmode", "left", "top", "width", "height", "charheight", "shadow"})
        probe->SetAttribute(reset, reset[0] == 'm' ? "pixels" : reset[0] == 'w' ? "100" : reset[0] == 'h' ? "20" : "1");
      probe->SetAttribute("visible", "true");
      probe->SetAttribute("enabled", "true");
    }
    // The page the buttons may have switched to: a garbage gotopage names none.
    page->ShowImmediate();
    page->Render();
  }
}

TEST(GuiGarbage, EveryAttributeOfEveryEffectSurvivesGarbage) {
  const std::vector<std::string> values = GarbageValues();
  for (const char* type : {"Fade", "Scroll", "PageScroll"}) {
    test::GuiRig rig;
    N_GuiPage* page = rig.mng->CreatePage("p");
    auto* target = rig.Create<N_GuiText>("Text", "target");
    page->AddElement(target);
    auto* anchor = rig.Create<N_GuiText>("Text", "anchor");
    page->AddElement(anchor);
    target->SetAnchor("anchor");  // the scroll's anchored start
    N_GuiEffect* effect = rig.mng->CreateEffect(type);
    ASSERT_NE(effect, nullptr) << type;
    page->AddEffect(effect);
    const N_GuiClassAttributes* table = FindGuiClassAttributes(effect->GetClassName());
    ASSERT_NE(table, nullptr) << type;
    for (const N_GuiAttributeDesc& d : table->descriptors) {
      for (const std::string& value : values) {
        EXPECT_TRUE(effect->SetAttribute(d.name, value)) << type << "." << d.name;
        (void)effect->GetAttribute(d.name);
        effect->SetAttribute("element", "target");
        page->ShowImmediate();
        for (float dt : {0.0f, 0.5f, 1e30f, -1.0f}) {
          rig.Step(0.02);
          page->Render();
          effect->Update(dt);
        }
        page->Hide();
        rig.batch.Flush();
      }
      for (const char* reset : {"start", "speed", "dump"}) effect->SetAttribute(reset, "1");
    }
  }
}

}  // namespace
