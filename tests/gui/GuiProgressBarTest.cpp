// Progress bars, checked on the quads they queue: the back over the whole bar, the
// fill cut to the value's share with its repeat, horizontal and vertical, made from a
// script, copied from a template and in relative metrics.
#include "gui/GuiPage.h"
#include "gui/GuiProgressBar.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;
using Quad = test::QueuedQuad;

class GuiProgressBarTest : public ::testing::Test {
 protected:
  GuiProgressBarTest() {
    page = rig.mng->CreatePage("p");
    page->ShowImmediate();
    fill = rig.shaders.AddShader("fill", 0, 3);
    back = rig.shaders.AddShader("back", 0, 3);
  }
  N_GuiProgressBar* Bar(const std::string& name, const Attributes& attributes, bool isTemplate = false) {
    auto* bar = rig.Create<N_GuiProgressBar>("ProgressBar", name, isTemplate);
    for (const auto& [key, value] : attributes) EXPECT_TRUE(bar->SetAttribute(key, value)) << key;
    if (!isTemplate) page->AddElement(bar);
    return bar;
  }
  std::vector<Quad> Draw() {
    page->Render();
    return rig.TakeQuads();
  }

  test::GuiRig rig;
  N_GuiPage* page = nullptr;
  int fill = -1;
  int back = -1;
};

TEST_F(GuiProgressBarTest, TheFillIsTheValuesShareOfTheWholeBar) {
  struct Case {
    const char* what;
    Attributes attributes;  ///< given in order to a new bar at (10, 20)
    std::vector<Quad> quads;
  };
  const Attributes horizontal{{"left", "10"}, {"top", "20"}, {"width", "200"}, {"height", "16"},
                              {"shader", "fill"}, {"shaderback", "back"}, {"tiling", "3 2"}};
  auto with = [&horizontal](Attributes more) {
    Attributes all = horizontal;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  const Case cases[] = {
      {"a quarter", with({{"range", "100"}, {"value", "25"}}),
       {{back, 10, 20, 200, 16, 1, 1, 255}, {fill, 10, 20, 50, 16, 0.25f, 2, 255}}},
      {"the range changed afterwards", with({{"range", "100"}, {"value", "25"}, {"range", "50"}}),
       {{back, 10, 20, 200, 16, 1, 1, 255}, {fill, 10, 20, 100, 16, 0.5f, 2, 255}}},
      {"value 0: only the back", with({{"value", "0"}}), {{back, 10, 20, 200, 16, 1, 1, 255}}},
      {"range 0: only the back", with({{"value", "25"}, {"range", "0"}}), {{back, 10, 20, 200, 16, 1, 1, 255}}},
      {"above the range: longer", with({{"range", "100"}, {"value", "150"}}),
       {{back, 10, 20, 200, 16, 1, 1, 255}, {fill, 10, 20, 300, 16, 1.5f, 2, 255}}},
      {"the size given after the value", {{"left", "10"}, {"top", "20"}, {"value", "25"}, {"width", "200"},
                                          {"height", "16"}, {"shader", "fill"}},
       {{fill, 10, 20, 50, 16, 0.25f, 1, 255}}},
      {"vertical: from the top down",
       {{"left", "10"}, {"top", "20"}, {"type", "vertical"}, {"height", "200"}, {"width", "30"},
        {"shader", "fill"}, {"shaderback", "back"}, {"value", "25"}},
       {{back, 10, 20, 30, 200, 1, 1, 255}, {fill, 10, 20, 30, 50, 1, 0.25f, 255}}},
      {"vertical, the type given last",
       {{"left", "10"}, {"top", "20"}, {"height", "200"}, {"width", "30"}, {"shader", "fill"}, {"value", "25"},
        {"type", "vertical"}},
       {{fill, 10, 20, 30, 50, 1, 0.25f, 255}}},
      {"relative metrics: the length of the layout",
       {{"metricsmode", "relative"}, {"left", "0"}, {"top", "0"}, {"width", "0.5"}, {"height", "0.05"},
        {"shader", "fill"}, {"shaderback", "back"}, {"value", "25"}},
       {{back, 0, 0, 320, 24, 1, 1, 255}, {fill, 0, 0, 80, 24, 0.25f, 1, 255}}},
  };
  int n = 0;
  for (const Case& c : cases) {
    N_GuiProgressBar* bar = Bar("bar" + std::to_string(n++), c.attributes);
    EXPECT_EQ(Draw(), c.quads) << c.what;
    bar->Hide();
  }
}

TEST_F(GuiProgressBarTest, ACopyOfATemplateFillsItsOwnWholeLength) {
  // The template's own value is drawn nowhere; its copies read back the whole bar.
  Bar("Gauge", {{"width", "200"}, {"height", "16"}, {"shader", "fill"}, {"shaderback", "back"}, {"value", "25"}}, true);
  Bar("Tall", {{"type", "vertical"}, {"width", "30"}, {"height", "200"}, {"shader", "fill"}, {"value", "50"}}, true);
  struct Case {
    const char* templateName;
    std::vector<Quad> quads;
    Quad full;  ///< the fill at value 100
  };
  const Case cases[] = {
      {"Gauge", {{back, 0, 0, 200, 16, 1, 1, 255}, {fill, 0, 0, 50, 16, 0.25f, 1, 255}},
       {fill, 0, 0, 200, 16, 1, 1, 255}},
      {"Tall", {{fill, 0, 0, 30, 100, 1, 0.5f, 255}}, {fill, 0, 0, 30, 200, 1, 1, 255}},
  };
  for (const Case& c : cases) {
    N_GuiElement* copy = rig.mng->CreateFromTemplate(c.templateName, "", std::string("copy") + c.templateName, false);
    ASSERT_NE(copy, nullptr);
    page->AddElement(copy);
    EXPECT_EQ(Draw(), c.quads) << c.templateName;
    // A new value of the copy is cut from the same whole length.
    static_cast<N_GuiProgressBar*>(copy)->SetValue(100.0f);
    const std::vector<Quad> full = Draw();
    ASSERT_FALSE(full.empty());
    EXPECT_EQ(full.back(), c.full) << c.templateName;
    copy->Hide();
  }
}

}  // namespace
