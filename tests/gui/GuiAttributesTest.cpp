// The attribute system: the class tables and their building, the text conversions,
// unknown names and copying between classes.
#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiText.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> Names(const N_GuiClassAttributes& table) {
  std::vector<std::string> names;
  for (const auto& d : table.descriptors) names.push_back(d.name);
  return names;
}

TEST(GuiAttributes, AButtonFirstBuildsTheTextAndButtonTablesOnce) {
  if (FindGuiClassAttributes("N_GuiText")) GTEST_SKIP() << "needs a process where no text element was built yet";
  test::GuiRig rig;
  {
    N_GuiButton first("first");
    EXPECT_EQ(first.GetClassName(), "N_GuiButton");
  }
  const N_GuiClassAttributes* text = FindGuiClassAttributes("N_GuiText");
  const N_GuiClassAttributes* button = FindGuiClassAttributes("N_GuiButton");
  ASSERT_NE(text, nullptr);
  ASSERT_NE(button, nullptr);
  N_GuiText second("second");
  N_GuiButton third("third");
  N_GuiCheckBox box("box");
  const N_GuiClassAttributes* checkBox = FindGuiClassAttributes("N_GuiCheckBox");
  ASSERT_NE(checkBox, nullptr);

  // 22 element rows, then each class's own, appended once; every table starts with its base's.
  ASSERT_EQ(text->descriptors.size(), 33u);
  ASSERT_EQ(button->descriptors.size(), 38u);
  ASSERT_EQ(checkBox->descriptors.size(), 39u);
  const auto textNames = Names(*text), buttonNames = Names(*button), boxNames = Names(*checkBox);
  EXPECT_TRUE(std::equal(textNames.begin(), textNames.end(), buttonNames.begin()));
  EXPECT_TRUE(std::equal(buttonNames.begin(), buttonNames.end(), boxNames.begin()));
  EXPECT_EQ(std::set<std::string>(boxNames.begin(), boxNames.end()).size(), 39u) << "no name twice";
  EXPECT_EQ(text->accessors.size(), 33u);
  EXPECT_EQ(checkBox->accessors.size(), 39u);
  // The class boundaries and a row of each type.
  const std::vector<std::pair<std::size_t, std::string>> marks = {
      {0, "left"}, {21, "onmousedown"}, {22, "charheight"}, {32, "shadowcolor"}, {33, "downshader"},
      {37, "gotopage"}, {38, "checked"}};
  for (const auto& [index, name] : marks) EXPECT_EQ(boxNames[index], name);
  EXPECT_EQ(checkBox->descriptors[0].type, N_GuiAttributeType::Number);
  EXPECT_EQ(checkBox->descriptors[14].type, N_GuiAttributeType::Boolean);  // enabled
  EXPECT_EQ(checkBox->descriptors[16].type, N_GuiAttributeType::Integer);  // tag
  EXPECT_EQ(checkBox->descriptors[11].type, N_GuiAttributeType::Text);     // metricsmode
  EXPECT_EQ(checkBox->descriptors[0].help, "The position of the left border of the gui element.");
  EXPECT_EQ(checkBox->descriptors[38].help, "Sets a check state of the check box.");
  for (const auto& d : checkBox->descriptors) EXPECT_EQ(d.help.empty(), d.name == "gotopage") << d.name;

  EXPECT_EQ(FindGuiClassAttributes("N_GuiElement"), nullptr);
  EXPECT_EQ(FindGuiClassAttributes("N_GuiContainer"), nullptr);
}

TEST(GuiAttributes, TextConversions) {
  test::GuiRig rig;
  N_GuiButton b("b");
  struct Case {
    const char* name;
    const char* value;
    const char* readBack;
  };
  const Case cases[] = {
      // Only exactly "true" is true.
      {"visible", "True", "false"}, {"visible", "1", "false"}, {"visible", "true", "true"},
      {"enabled", "TRUE", "false"}, {"multiline", "yes", "false"}, {"autosize", "", "false"},
      // atof of the numeric prefix, written with six significant digits.
      {"left", "12px", "12"}, {"top", "abc", "0"}, {"width", "1234.56789", "1234.57"}, {"height", "-0.5", "-0.5"},
      {"shadow", "1e-7", "1e-07"}, {"charheight", "  3.25", "3.25"},
      // atoi for integers and colours.
      {"tag", "42abc", "42"}, {"color", "x", "0"}, {"highlightcolor", "-1", "-1"}, {"tag", "99999999999", "2147483647"},
      // Enumeration words compare exactly; elements fall back to centre, texts to left and top.
      {"horzalign", "middle", "center"}, {"horzalign", "Right", "center"}, {"horzalign", "right", "right"},
      {"vertalign", "x", "center"}, {"vertalign", "bottom", "bottom"},
      {"alignment", "middle", "left"}, {"alignment", "center", "center"}, {"valignment", "middle", "top"},
      {"valignment", "bottom", "bottom"}, {"metricsmode", "Pixels", "relative"}, {"metricsmode", "pixels", "pixels"},
      // Text attributes keep what they were given.
      {"caption", "Hello  world", "Hello  world"}, {"gotopage", "Main", "Main"}, {"tooltip", "tip", "tip"}};
  for (const Case& c : cases) {
    EXPECT_TRUE(b.SetAttribute(c.name, c.value)) << c.name;
    EXPECT_EQ(b.GetAttribute(c.name), c.readBack) << c.name << " = '" << c.value << "'";
  }
  b.SetAttribute("visible", "True");
  EXPECT_FALSE(b.IsVisible()) << "\"True\" hides the element";
}

TEST(GuiAttributes, UnknownNamesReadEmptyAndChangeNothing) {
  test::GuiRig rig;
  N_GuiCheckBox box("box");
  box.SetAttribute("caption", "x");
  const N_GuiClassAttributes* table = FindGuiClassAttributes("N_GuiCheckBox");
  ASSERT_NE(table, nullptr);
  std::vector<std::string> before;
  for (const auto& d : table->descriptors) before.push_back(box.GetAttribute(d.name));
  for (const char* name : {"nosuch", "Caption", "LEFT", "", " left", "page"}) {
    EXPECT_EQ(box.GetAttribute(name), "") << name;
    EXPECT_FALSE(box.SetAttribute(name, "1")) << name;
  }
  std::vector<std::string> after;
  for (const auto& d : table->descriptors) after.push_back(box.GetAttribute(d.name));
  EXPECT_EQ(before, after);
}

/// A text element that notes every attribute set on it and whether it was taken.
class NotingText final : public N_GuiText {
 public:
  using N_GuiText::N_GuiText;
  bool SetAttribute(const std::string& name, const std::string& value) override {
    const bool taken = N_GuiText::SetAttribute(name, value);
    (taken ? taken_ : refused_).push_back(name);
    return taken;
  }
  std::vector<std::string> taken_, refused_;
};

TEST(GuiAttributes, CopyingSetsTheNamesBothClassesKnowInTheSourcesOrder) {
  test::GuiRig rig;
  N_GuiButton source("source");
  source.SetAttribute("caption", "Start");
  source.SetAttribute("left", "17");
  source.SetAttribute("color", "3");
  source.SetAttribute("upshader", "gui/up");
  source.SetAttribute("alignment", "right");
  NotingText target("target");
  target.CopyAttributesFrom(source);

  const auto* text = FindGuiClassAttributes("N_GuiText");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(target.taken_, Names(*text));
  EXPECT_EQ(target.refused_,
            (std::vector<std::string>{"downshader", "upshader", "highlightdownshader", "highlightupshader", "gotopage"}));
  EXPECT_EQ(target.GetCaption(), "Start");
  EXPECT_EQ(target.GetLeft(), 17.0f);
  EXPECT_EQ(target.GetColor(), 3);
  EXPECT_EQ(target.GetAlignment(), N_GuiElement::kAlignRight);
  // The empty names copied ("shader", "fontname" ...) register nothing: only "gui/up".
  EXPECT_EQ(target.GetFontName(), "");
  EXPECT_EQ(rig.shaders.Count(), 1);
}

}  // namespace
