// The attribute system: class tables and their building, text conversions, unknown
// names, copying between classes.
#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::vector<std::string> Names(const std::string& className) {
  std::vector<std::string> names;
  if (const N_GuiClassAttributes* table = FindGuiClassAttributes(className))
    for (const auto& d : table->descriptors) names.push_back(d.name);
  return names;
}

TEST(GuiAttributes, AButtonFirstBuildsTheTextAndButtonTablesOnce) {
  if (FindGuiClassAttributes("N_GuiText")) GTEST_SKIP() << "needs a process where no text element was built yet";
  test::GuiRig rig;
  { N_GuiButton first("first"); }
  const auto text = Names("N_GuiText"), button = Names("N_GuiButton");
  N_GuiText t("t");
  N_GuiButton b("b");
  N_GuiCheckBox c("c");
  const auto box = Names("N_GuiCheckBox");
  // 22 element rows, then each class's own, once; every table starts with its base's.
  ASSERT_EQ(text.size(), 33u);
  ASSERT_EQ(button.size(), 38u);
  ASSERT_EQ(box.size(), 39u);
  EXPECT_EQ(Names("N_GuiText"), text);
  EXPECT_EQ(Names("N_GuiButton"), button);
  EXPECT_TRUE(std::equal(text.begin(), text.end(), box.begin()) && std::equal(button.begin(), button.end(), box.begin()));
  EXPECT_EQ(std::set<std::string>(box.begin(), box.end()).size(), 39u);
  const std::pair<std::size_t, const char*> marks[] = {{0, "left"},        {21, "onmousedown"}, {22, "charheight"},
                                                       {32, "shadowcolor"}, {33, "downshader"},  {38, "checked"}};
  for (const auto& [index, name] : marks) EXPECT_EQ(box[index], name);
  const auto& d = FindGuiClassAttributes("N_GuiCheckBox")->descriptors;
  EXPECT_EQ(d[0].help, "The position of the left border of the gui element.");
  EXPECT_EQ(d[38].help, "Sets a check state of the check box.");
  EXPECT_EQ(d[38].type, N_GuiAttributeType::Boolean);
  EXPECT_EQ(d[16].type, N_GuiAttributeType::Integer);  // tag
  for (const auto& row : d) EXPECT_EQ(row.help.empty(), row.name == "gotopage") << row.name;
  EXPECT_EQ(FindGuiClassAttributes("N_GuiElement"), nullptr);
  EXPECT_EQ(FindGuiClassAttributes("N_GuiContainer"), nullptr);
}

TEST(GuiAttributes, TextConversions) {
  test::GuiRig rig;
  N_GuiButton b("b");
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // Only exactly "true" is true.
      {"visible", "True", "false"}, {"visible", "1", "false"}, {"enabled", "true", "true"},
      // atof of the numeric prefix, read back with six significant digits; atoi for integers.
      {"left", "12px", "12"}, {"top", "abc", "0"}, {"width", "1234.56789", "1234.57"}, {"shadow", "1e-7", "1e-07"},
      {"tag", "42abc", "42"}, {"color", "x", "0"}, {"tag", "99999999999", "2147483647"},
      // Words compare exactly; elements fall back to centre, texts to left and top.
      {"horzalign", "middle", "center"}, {"horzalign", "Right", "center"}, {"vertalign", "bottom", "bottom"},
      {"vertalign", "x", "center"}, {"alignment", "middle", "left"}, {"valignment", "middle", "top"},
      {"alignment", "center", "center"}, {"metricsmode", "Pixels", "relative"}, {"metricsmode", "pixels", "pixels"},
      {"caption", "Hello  world", "Hello  world"}, {"gotopage", "Main", "Main"}};
  for (const auto& [name, value, readBack] : cases) {
    EXPECT_TRUE(b.SetAttribute(name, value)) << name;
    EXPECT_EQ(b.GetAttribute(name), readBack) << name << " = '" << value << "'";
  }
  b.SetAttribute("visible", "True");
  EXPECT_FALSE(b.IsVisible());
  // Unknown names read empty and change nothing.
  std::vector<std::string> before, after;
  for (const auto& name : Names("N_GuiButton")) before.push_back(b.GetAttribute(name));
  for (const char* name : {"nosuch", "Caption", "", " left"}) {
    EXPECT_EQ(b.GetAttribute(name), "");
    EXPECT_FALSE(b.SetAttribute(name, "1"));
  }
  for (const auto& name : Names("N_GuiButton")) after.push_back(b.GetAttribute(name));
  EXPECT_EQ(before, after);
}

/// A text element that notes every attribute set on it that it takes.
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
  test::Set(source, {{"caption", "Start"}, {"left", "17"}, {"color", "3"}, {"upshader", "gui/up"}});
  NotingText target("target");
  target.CopyAttributesFrom(source);
  EXPECT_EQ(target.taken_, Names("N_GuiText"));
  EXPECT_EQ(target.refused_,
            (std::vector<std::string>{"downshader", "upshader", "highlightdownshader", "highlightupshader", "gotopage"}));
  EXPECT_EQ(target.GetCaption(), "Start");
  EXPECT_EQ(target.GetLeft(), 17.0f);
  EXPECT_EQ(target.GetColor(), 3);
  // The empty names copied ("shader", "fontname" ...) register nothing: only "gui/up".
  EXPECT_EQ(rig.shaders.Count(), 1);
}

}  // namespace
