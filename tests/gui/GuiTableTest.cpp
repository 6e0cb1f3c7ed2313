// Tables: rows from row lines, their names, selection by click and by index, marks,
// removal and refilling, the layout of the rows that fit and scrolling, the scroll
// bar a table makes (also from a template), grid lines, and row lines of garbage.
#include "gui/GuiFactory.h"
#include "gui/GuiPage.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiServices.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "platform/dinput8/Keys.h"
#include "tests/gui/GuiRig.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

/// The element scroll a table asks for when a new row should slide in ("scrollrows"):
/// it keeps what it is told (element, direction, speed) and whether it was started.
class RowSlide final : public N_GuiEffect {
 public:
  static constexpr const char* kTypeName = "Scroll";
  RowSlide() {
    if (RegisterClass("TableTestRowSlide")) RowSlide::BuildAttributes();
  }
  const std::string& GetTypeName() const override {
    static const std::string word(kTypeName);
    return word;
  }
  void Start() override { started = true; }
  void Stop() override {}
  void Update(float) override {}
  void BuildAttributes() override;

  std::array<std::string, 3> told;
  bool started = false;
};

template <std::size_t I>
constexpr N_GuiAttributeAccessor Told() {
  return {[](const N_GuiObject& o) { return static_cast<const RowSlide&>(o).told[I]; },
          [](N_GuiObject& o, const std::string& v) { static_cast<RowSlide&>(o).told[I] = v; }};
}

const N_GuiAttributeRow kRowSlideRows[] = {
    {"element", "", N_GuiAttributeType::Text, Told<0>()},
    {"direction", "", N_GuiAttributeType::Text, Told<1>()},
    {"speed", "", N_GuiAttributeType::Number, Told<2>()},
};

void RowSlide::BuildAttributes() { AppendAttributes(kRowSlideRows); }

class GuiTableTest : public ::testing::Test {
 protected:
  GuiTableTest() {
    page = rig.mng->CreatePage("p");
    page->ShowImmediate();
    row = rig.shaders.AddShader("row", 0, 3);
    selected = rig.shaders.AddShader("sel", 0, 3);
    marked = rig.shaders.AddShader("mark", 0, 3);
    // A scroll bar template of its own width, with arrows and a bit.
    rig.mng->CreateElement("Button", "Up", true);
    rig.mng->CreateElement("Button", "Down", true);
    rig.mng->CreateElement("Panel", "Bit", true);
    auto* bar = rig.Create<N_GuiScrollBar>("ScrollBar", "SB", true);
    test::Set(*bar, {{"width", "20"}, {"spacing", "2"}, {"upbutton", "Up"}, {"downbutton", "Down"}, {"scrollbit", "Bit"}});
  }
  /// A table at (100, 50), 300 x 200, two text columns 100 wide, row shaders set.
  N_GuiTable* Table(const std::string& name, std::initializer_list<std::pair<const char*, const char*>> more = {}) {
    auto* table = rig.Create<N_GuiTable>("Table", name);
    test::Set(*table, {{"left", "100"}, {"top", "50"}, {"width", "300"}, {"height", "200"}, {"rowshader", "row"},
                       {"rowshaderselected", "sel"}, {"rowshadermarked", "mark"}, {"columntypes", "text text"},
                       {"columnwidths", "100 100"}});
    test::Set(*table, more);
    page->AddElement(table);
    return table;
  }
  void Draw() {
    page->Render();
    rig.batch.Flush();
  }
  /// A left press where the manager's hit test finds an element, sent to it.
  void Click(float x, float y) {
    Draw();
    if (N_GuiElement* hit = rig.mng->HitTest(x, y)) {
      N_GuiEvent press = test::Ev(N_GuiEventType::Button);
      press.x = x;
      press.y = y;
      hit->HandleEvent(press);
    }
  }
  static std::vector<std::int32_t> TextColours(N_GuiTable& table, std::int32_t r) {
    std::vector<std::int32_t> colours;
    for (N_GuiElement* cell : table.GetRowCells(r)) colours.push_back(static_cast<N_GuiText*>(cell)->GetColor());
    return colours;
  }
  static std::vector<std::string> Captions(N_GuiTable& table, std::int32_t r) {
    std::vector<std::string> captions;
    for (N_GuiElement* cell : table.GetRowCells(r)) captions.push_back(cell ? cell->GetCaption() : "(none)");
    return captions;
  }
  /// The rows shown, by index.
  static std::vector<std::int32_t> Shown(N_GuiTable& table) {
    std::vector<std::int32_t> shown;
    for (std::int32_t r = 0; r < table.GetRowCount(); ++r) {
      if (table.GetRowPanel(r)->IsVisible()) shown.push_back(r);
    }
    return shown;
  }

  test::GuiRig rig;
  N_GuiPage* page = nullptr;
  int row = -1, selected = -1, marked = -1;
};

TEST_F(GuiTableTest, SplittingRowLines) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"1 x \"a b\" 4", {"1", "x", "a b", "4"}},
      {"a\tb  c", {"a", "b", "c"}},
      {"'q r' s", {"q r", "s"}},
      {"a // the rest is a comment", {"a"}},
      {"a\nb", {"a"}},
      {"a \"b c", {"a", "b c"}},
      {"\"\" x", {"", "x"}},
      {"", {}},
  };
  for (const auto& [line, fields] : cases) EXPECT_EQ(N_GuiTable::SplitRowLine(line), fields) << line;
  // Each field a cell; the quoted one with its blank and without its quotes.
  N_GuiTable* table = Table("T", {{"row", "1 x \"a b\" 4"}});
  EXPECT_EQ(Captions(*table, 0), (std::vector<std::string>{"1", "x", "a b", "4"}));
}

TEST_F(GuiTableTest, AHeaderAndThreeRowsSelectedByClicks) {
  N_GuiTable* table = Table("T", {{"header", "Name Time"}, {"row", "a 1"}, {"row", "b 2"}, {"row", "c 3"}});
  EXPECT_EQ(table->GetRowCount(), 3);
  EXPECT_EQ(table->GetSelectedRow(), 0) << "the first row added";
  EXPECT_EQ(table->GetRowPanel(0)->GetShader(), selected);
  EXPECT_EQ(table->GetRowPanel(1)->GetShader(), row);
  EXPECT_EQ(table->GetHeaderPanel()->GetShader(), -1) << "the header keeps its own";
  Draw();
  // Header 0..20 at its own top; rows from y 30, 55 and 80 inside the table at (100, 50).
  EXPECT_EQ(table->GetRowPanel(2)->GetScreenY(), 130.0f);
  struct Step {
    const char* what;
    float x, y;
    std::int32_t selected;
  };
  const Step steps[] = {
      {"the third row", 150, 140, 2},
      {"the header", 150, 60, 2},
      {"the table beside the rows", 350, 100, 2},
      {"the first row", 110, 85, 0},
  };
  for (const Step& s : steps) {
    Click(s.x, s.y);
    EXPECT_EQ(table->GetSelectedRow(), s.selected) << s.what;
    for (std::int32_t r = 0; r < 3; ++r)
      EXPECT_EQ(table->GetRowPanel(r)->GetShader(), r == s.selected ? selected : row) << s.what << " row " << r;
  }

  // Rows that reach under the scroll bar: a point right of its left edge selects
  // nothing, even where the bar is hidden and the row is hit.
  table->SetAttribute("columnwidths", "100 300");
  table->SetAttribute("scrollbar", "SB");
  Draw();
  table->GetScrollBar()->Hide();
  ASSERT_EQ(table->GetScrollBar()->GetLeft(), 280.0f);
  Click(385, 140);
  EXPECT_EQ(table->GetSelectedRow(), 0);
  Click(370, 140);
  EXPECT_EQ(table->GetSelectedRow(), 2);

  // Not selectable: clicks select nothing.
  table->SetAttribute("selectable", "false");
  Click(150, 110);
  EXPECT_EQ(table->GetSelectedRow(), 2);
}

TEST_F(GuiTableTest, SelectingByIndex) {
  N_GuiTable* table = Table("T", {{"row", "a 1"}, {"row", "b 2"}, {"row", "c 3"}});
  EXPECT_EQ(table->GetRowCount(), 3) << "no header, no scroll bar";
  N_GuiTable* fixed = Table("F", {{"selectable", "false"}, {"row", "a 1"}, {"row", "b 2"}});
  EXPECT_EQ(fixed->GetSelectedRow(), 0) << "the first row, even where the user selects none";
  EXPECT_EQ(fixed->GetRowPanel(0)->GetShader(), selected);
  const std::pair<std::int32_t, std::int32_t> steps[] = {{2, 2}, {3, 2}, {99, 2}, {1, 1}, {-1, -1}, {0, 0}, {-5, -1}};
  for (const auto& [index, result] : steps) {
    table->SelectRow(index);
    EXPECT_EQ(table->GetSelectedRow(), result) << index;
    for (std::int32_t r = 0; r < 3; ++r)
      EXPECT_EQ(table->GetRowPanel(r)->GetShader(), r == result ? selected : row) << index << " row " << r;
  }
}

TEST_F(GuiTableTest, MarkedRowsAreNeverSelectedAndTakeTheMarkedColour) {
  N_GuiTable* table = Table("T", {{"color", "1"}, {"columncolors", "2 3"}, {"markedcolor", "4"}, {"row", "a 1"},
                                  {"row", "b 2"}, {"row", "c 3"}});
  EXPECT_EQ(TextColours(*table, 1), (std::vector<std::int32_t>{2, 3})) << "the column colours";
  table->MarkRow(1);
  EXPECT_TRUE(table->IsRowMarked(1));
  EXPECT_EQ(table->GetRowPanel(1)->GetShader(), marked);
  EXPECT_EQ(TextColours(*table, 1), (std::vector<std::int32_t>{4, 4}));
  table->SelectRow(1);
  EXPECT_EQ(table->GetSelectedRow(), 0) << "by index";
  Click(150, 90);
  EXPECT_EQ(table->GetSelectedRow(), 0) << "by a click";

  // Marking the selected row leaves none selected.
  table->MarkRow(0);
  EXPECT_EQ(table->GetSelectedRow(), -1);
  EXPECT_EQ(table->GetRowPanel(0)->GetShader(), marked);
  table->MarkRow(7);  // beyond the rows
  table->MarkRow(-1);

  // Unmarked: the table's colour, not the column's.
  table->UnmarkRow(1);
  EXPECT_FALSE(table->IsRowMarked(1));
  EXPECT_EQ(table->GetRowPanel(1)->GetShader(), row);
  EXPECT_EQ(TextColours(*table, 1), (std::vector<std::int32_t>{1, 1}));
  table->ClearMarks();
  EXPECT_FALSE(table->IsRowMarked(0));
  EXPECT_EQ(TextColours(*table, 0), (std::vector<std::int32_t>{1, 1}));
  EXPECT_EQ(TextColours(*table, 2), (std::vector<std::int32_t>{2, 3})) << "never marked";
}

TEST_F(GuiTableTest, ClearKeepsTheHeaderAndARefillSelectsRowZero) {
  N_GuiTable* table = Table("T", {{"header", "h1 h2"}, {"row", "a 1"}, {"row", "b 2"}, {"row", "c 3"}});
  table->SelectRow(2);
  table->MarkRow(1);
  N_GuiEvent scroll = test::Ev(N_GuiEventType::Scroll);
  scroll.x = std::int32_t{1};
  table->HandleEvent(scroll);
  ASSERT_EQ(table->GetFirstVisibleRow(), 1);
  const std::size_t elements = rig.mng->Elements().size();

  table->Clear();
  EXPECT_EQ(table->GetRowCount(), 0);
  EXPECT_EQ(table->GetSelectedRow(), -1);
  EXPECT_EQ(table->GetFirstVisibleRow(), 0);
  ASSERT_NE(table->GetHeaderPanel(), nullptr);
  EXPECT_EQ(table->Children().size(), 1u) << "only the header";
  EXPECT_EQ(rig.mng->Elements().size(), elements - 9) << "three rows of two cells each destroyed";

  table->AddRow("x 9", false);
  table->AddRow("y 8", false);
  EXPECT_EQ(table->GetSelectedRow(), 0);
  EXPECT_FALSE(table->IsRowMarked(1)) << "the marks went with the rows";
  EXPECT_EQ(Captions(*table, 1), (std::vector<std::string>{"y", "8"}));
}

TEST_F(GuiTableTest, DeletingRowsKeepsTheMarksOnTheirRows) {
  N_GuiTable* table = Table("T");
  for (const char* line : {"r0 0", "r1 1", "r2 2", "r3 3", "r4 4"}) table->AddRow(line, false);
  table->MarkRow(3);
  table->MarkRow(4);
  table->SelectRow(2);
  const std::string firstDeleted = table->GetRowPanel(1)->GetName();
  struct Step {
    std::int32_t deleted;
    std::vector<std::string> first;  ///< the first cells of the rows left
    std::vector<bool> marks;
    std::int32_t selected;
  };
  const Step steps[] = {
      {1, {"r0", "r2", "r3", "r4"}, {false, false, true, true}, 1},
      {9, {"r0", "r2", "r3", "r4"}, {false, false, true, true}, 1},
      {2, {"r0", "r2", "r4"}, {false, false, true}, 1},
      {1, {"r0", "r4"}, {false, true}, -1},
      {-1, {"r0", "r4"}, {false, true}, -1},
  };
  for (const Step& s : steps) {
    table->DeleteRow(s.deleted);
    std::vector<std::string> first;
    std::vector<bool> marks;
    for (std::int32_t r = 0; r < table->GetRowCount(); ++r) {
      first.push_back(Captions(*table, r).front());
      marks.push_back(table->IsRowMarked(r));
    }
    EXPECT_EQ(first, s.first) << s.deleted;
    EXPECT_EQ(marks, s.marks) << s.deleted;
    EXPECT_EQ(table->GetSelectedRow(), s.selected) << s.deleted;
  }
  EXPECT_EQ(rig.mng->Elements().count(firstDeleted), 0u) << "destroyed through the manager";
}

TEST_F(GuiTableTest, RowTextsNeedOneFieldPerColumn) {
  rig.shaders.AddShader("flag", 0, 3);
  N_GuiTable* table = Table("T", {{"columntypes", "text image text"}, {"columnwidths", "50 30 50"},
                                  {"header", "Name Flag Time"}, {"row", "a SVK 1"}});
  struct Step {
    const char* line;
    std::vector<std::string> captions;  ///< of row 0; the image cell reads empty
    std::string shader;                 ///< of the image cell
  };
  const Step steps[] = {
      {"b CZE 2", {"b", "", "2"}, "CZE"},
      {"c 3", {"b", "", "2"}, "CZE"},
      {"d \"NOR\" 4 5", {"b", "", "2"}, "CZE"},
      {"\"e f\" \"FIN\" 6", {"e f", "", "6"}, "FIN"},
  };
  for (const Step& s : steps) {
    table->SetRowText(s.line, 0);
    EXPECT_EQ(Captions(*table, 0), s.captions) << s.line;
    EXPECT_EQ(table->GetRowCells(0)[1]->GetShaderName(), s.shader) << s.line;
  }
  table->SetRowText("x y z", 1);  // no such row
  table->SetHeaderText("Who Where When");
  std::vector<std::string> header;
  for (const auto& [name, cell] : table->GetHeaderPanel()->Children()) header.push_back(cell->GetCaption());
  EXPECT_EQ(header, (std::vector<std::string>{"Who", "Where", "When"})) << "the header's cells are all texts";
}

TEST_F(GuiTableTest, ColumnsOfNoKindShowTextAndLongLinesAddColumns) {
  N_GuiTable* table = Table("T", {{"color", "6"}, {"columntypes", "text"}, {"columnwidths", "40"}});
  ASSERT_EQ(table->GetColumnCount(), 2u) << "the two columns of the fixture";
  table->AddRow("a b c d", false);
  EXPECT_EQ(table->GetColumnCount(), 4u);
  EXPECT_EQ(table->GetAttribute("columntypes"), "text text none none");
  EXPECT_EQ(table->GetAttribute("columncolors"), "6 6 6 6") << "every colour back to \"color\"";
  const std::vector<N_GuiElement*> cells = table->GetRowCells(0);
  ASSERT_EQ(cells.size(), 4u);
  for (N_GuiElement* cell : cells) EXPECT_EQ(cell->GetTypeName(), "Text");
  table->SetRowText("1 2 3 4", 0);
  EXPECT_EQ(Captions(*table, 0), (std::vector<std::string>{"1", "2", "3", "4"}));

  // A copy keeps the columns in place, also those of no kind.
  N_GuiTable* copy = Table("C");
  table->CopyAttributes(*copy);
  EXPECT_EQ(copy->GetAttribute("columntypes"), "text text none none");
  EXPECT_EQ(copy->GetAttribute("columnwidths"), table->GetAttribute("columnwidths"));
  EXPECT_EQ(copy->GetRowCount(), 0);
}

TEST_F(GuiTableTest, TheRowsThatFitAreShownFromTheFirstVisibleRow) {
  N_GuiTable* table = Table("T", {{"height", "100"}});
  for (const char* line : {"a 0", "b 1", "c 2", "d 3", "e 4"}) table->AddRow(line, false);
  struct Step {
    std::int32_t first;
    std::vector<std::int32_t> shown;
    std::vector<float> tops;  ///< of the rows shown
  };
  const Step steps[] = {
      {0, {0, 1, 2}, {5, 30, 55}},
      {1, {1, 2, 3}, {5, 30, 55}},
      {3, {3, 4}, {5, 30}},
      {0, {0, 1, 2}, {5, 30, 55}},
  };
  for (const Step& s : steps) {
    N_GuiEvent scroll = test::Ev(N_GuiEventType::Scroll);
    scroll.x = s.first;
    table->HandleEvent(scroll);
    EXPECT_EQ(table->GetFirstVisibleRow(), s.first);
    EXPECT_EQ(Shown(*table), s.shown) << s.first;
    EXPECT_EQ(table->GetVisibleRowCount(), static_cast<std::int32_t>(s.shown.size())) << s.first;
    std::vector<float> tops;
    for (std::int32_t r : s.shown) tops.push_back(table->GetRowPanel(r)->GetTop());
    EXPECT_EQ(tops, s.tops) << s.first;
  }
  // Cells stand at their columns (spaces before each column).
  table->SetAttribute("columnspaces", "3 7");
  table->AddRow("f 5", false);
  Draw();
  const std::vector<N_GuiElement*> cells = table->GetRowCells(1);
  EXPECT_EQ(cells[0]->GetLeft(), 3.0f);
  EXPECT_EQ(cells[1]->GetLeft(), 110.0f);
  EXPECT_EQ(table->GetRowPanel(1)->GetWidth(), 210.0f);
}

TEST_F(GuiTableTest, TheScrollBarAtTheRightEdgeFollowsTheRows) {
  rig.mng->CreateElement("ScrollBar", "Wide", true);  // leaves the element's width of 640
  struct Case {
    const char* templateName;
    float width;
  };
  for (const Case& c : {Case{"Wide", 15.0f}, Case{"SB", 20.0f}}) {
    N_GuiTable* table = Table(std::string("T") + c.templateName, {{"vspacing", "4"}, {"scrollbar", c.templateName},
                                                                 {"row", "a 1"}, {"row", "b 2"}});
    N_GuiScrollBar* bar = table->GetScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetName(), table->GetName() + "/ScrollBar");
    EXPECT_EQ(table->GetAttribute("scrollbar"), c.templateName) << "the template it was given";
    EXPECT_EQ(bar->GetWidth(), c.width) << c.templateName;
    EXPECT_EQ(bar->GetLeft(), 300.0f - c.width) << c.templateName;
    EXPECT_EQ(bar->GetTop(), 4.0f);
    EXPECT_EQ(bar->GetHeight(), 192.0f);
    EXPECT_FALSE(bar->IsHorizontal());
    EXPECT_FALSE(bar->GetCloneWithTemplate());
    EXPECT_EQ(table->GetRowPanel(0)->GetWidth(), 300.0f - 5.0f - c.width) << "rows are made left of it";
    Draw();
    EXPECT_EQ(bar->GetAttribute("limits"), "0 2 2");
    table->SetHeight(50);
    EXPECT_EQ(bar->GetHeight(), 42.0f);
    Draw();
    EXPECT_EQ(bar->GetAttribute("limits"), "0 2 1");
    // Naming the template again replaces the bar.
    EXPECT_TRUE(table->SetAttribute("scrollbar", c.templateName));
    EXPECT_NE(table->GetScrollBar(), nullptr);
    EXPECT_EQ(table->Children().count(table->GetName() + "/ScrollBar"), 1u);
    table->Hide();
  }
}

TEST_F(GuiTableTest, ACopyOfATableTemplateMakesItsOwnScrollBarAndNoRows) {
  auto* tpl = rig.Create<N_GuiTable>("Table", "ListTpl", true);
  test::Set(*tpl, {{"width", "300"}, {"height", "200"}, {"color", "3"}, {"columntypes", "text image"},
                   {"columnwidths", "100 40"}, {"scrollbar", "SB"}, {"header", "A B"}, {"row", "x y"}});
  EXPECT_EQ(tpl->GetRowCount(), 1);
  EXPECT_NE(rig.mng->Templates().count("ListTpl/ScrollBar"), 0u) << "a template's children stay templates";

  const std::size_t mark = rig.Log().size();
  N_GuiElement* made = rig.mng->CreateFromTemplate("ListTpl", "", "L", false);
  ASSERT_NE(made, nullptr);
  auto* copy = static_cast<N_GuiTable*>(made);
  EXPECT_EQ(rig.Log().substr(mark), "");
  EXPECT_EQ(copy->GetRowCount(), 0);
  EXPECT_EQ(copy->GetHeaderPanel(), nullptr);
  std::vector<std::string> children;
  for (const auto& [name, child] : copy->Children()) children.push_back(name);
  EXPECT_EQ(children, std::vector<std::string>{"L/ScrollBar"});
  ASSERT_NE(copy->GetScrollBar(), nullptr);
  EXPECT_EQ(copy->GetScrollBar()->GetWidth(), 20.0f) << "from the same scroll-bar template";
  EXPECT_NE(copy->GetScrollBar()->GetUpButton(), nullptr);
  EXPECT_EQ(copy->GetAttribute("columntypes"), "text image");
  EXPECT_EQ(copy->GetColor(), 3);
}

TEST_F(GuiTableTest, GridLinesRunBetweenTheRowsAndColumns) {
  const int line = rig.shaders.AddShader("line", 0, 3);
  N_GuiTable* table = Table("T", {{"height", "100"}, {"rowshader", "x"}, {"columnspaces", "10 5"},
                                  {"lineshader", "line"}, {"horzlines", "2"}, {"vertlines", "3"}});
  for (const char* text : {"a 0", "b 1", "c 2", "d 3"}) table->AddRow(text, false);
  page->Render();
  std::vector<test::QueuedQuad> lines;
  for (const test::QueuedQuad& q : rig.TakeQuads()) {
    if (q.shader == line) lines.push_back(q);
  }
  // Three rows shown: four horizontal lines 215 wide (spaces and widths), at the
  // table's y 50, then 50 + i x 25 + 2.5; three vertical ones (columns + 1), 3 x 25 +
  // 2.5 long, at the table's x 100, then after each space and width.
  const std::vector<test::QueuedQuad> expected{
      {line, 100, 50, 215, 2, 1, 1, 255},   {line, 100, 77.5f, 215, 2, 1, 1, 255},
      {line, 100, 102.5f, 215, 2, 1, 1, 255}, {line, 100, 127.5f, 215, 2, 1, 1, 255},
      {line, 100, 50, 3, 77.5f, 1, 1, 255},  {line, 210, 50, 3, 77.5f, 1, 1, 255},
      {line, 315, 50, 3, 77.5f, 1, 1, 255},
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(GuiTableTest, AttributesReadBackAsTheyWereGiven) {
  N_GuiTable* table = Table("T");
  const std::pair<const char*, const char*> cases[] = {
      {"columnaligns", "left center right"}, {"columnwidths", "10 20.5 30"}, {"columnspaces", "1 2 3"},
      {"columncolors", "3 4 5"},             {"hspacing", "7"},             {"imagevspacing", "-1"},
      {"rowheight", "24"},                   {"fontname", "fixed"},         {"lineshader", "line"},
      {"horzlines", "1.5"},                  {"selectable", "false"},       {"scrollrows", "true"},
  };
  for (const auto& [name, value] : cases) {
    EXPECT_TRUE(table->SetAttribute(name, value)) << name;
    EXPECT_EQ(table->GetAttribute(name), value) << name;
  }
  for (const char* name : {"row", "header"}) EXPECT_EQ(table->GetAttribute(name), "") << name;
  // An empty name keeps what was there.
  for (const char* name : {"fontname", "lineshader", "rowshader", "scrollbar"}) {
    const std::string before = table->GetAttribute(name);
    table->SetAttribute(name, "");
    EXPECT_EQ(table->GetAttribute(name), before) << name;
  }
  EXPECT_EQ(table->GetAttribute("columnaligns"), "left center right");
  table->SetAttribute("columnaligns", "right middle");
  EXPECT_EQ(table->GetAttribute("columnaligns"), "right left right") << "only the entries given change";
}

TEST_F(GuiTableTest, RowLinesOfGarbageNeitherCrashNorLeak) {
  N_GuiTable* table = Table("T", {{"header", "h"}});
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "f" + std::to_string(i) + " ";
  const std::vector<std::string> lines{"\"unbalanced", "'also unbalanced", many, "// only a comment",
                                       "a // b c", "-1 -99999999999 1e40 nan", "\"\" \"\" \"\"", " ", "\t\n\n",
                                       std::string(3000, 'x'), "\"" + std::string(3000, ' ') + "\""};
  for (const std::string& line : lines) {
    table->AddRow(line, false);
    table->AddRow(line, true);
    table->SetRowText(line, 0);
    table->SetHeaderText(line);
    table->SelectRow(table->GetRowCount() - 1);
    table->MarkRow(0);
    Draw();
  }
  EXPECT_EQ(table->GetColumnCount(), 5000u);
  EXPECT_EQ(table->GetRowCells(2).size(), 5000u);
  while (table->GetRowCount() > 0) table->DeleteRow(table->GetRowCount() / 2);
  table->Clear();
  Draw();
  EXPECT_EQ(table->Children().size(), 1u);
}

// The arrows and the wheel scroll the rows; the arrows' clicks are the scroll bar's
// own and never the table's click (a page-wide click on a table goes on, an arrow's
// must not).
TEST_F(GuiTableTest, TheArrowsAndTheWheelScrollTheRowsWithoutClickingTheTable) {
  test::GuiInput input{rig};
  N_GuiElement* cursor = rig.mng->CreateElement("Cursor", "Cursor", false);
  rig.mng->SetCursor(cursor);
  rig.mng->CreateCursorPage();
  // 200 x 80: three rows of five fit. The bar (20 wide, spacing 2) stands at (280, 55)
  // on the screen, 70 high: the up arrow from y 57, the down arrow from y 107, 16 high.
  N_GuiTable* table = Table("T", {{"width", "200"}, {"height", "80"}, {"columnwidths", "80 80"}, {"scrollbar", "SB"},
                                  {"onclick", "GuiTestClick"}});
  for (const char* line : {"a 0", "b 1", "c 2", "d 3", "e 4"}) table->AddRow(line, false);
  test::GuiCalls().clear();
  auto frame = [&] {
    input.mng->Update();
    rig.Step(0.1);
    rig.mng->Update();
    Draw();
  };
  auto moveTo = [&](float x, float y) {
    input.script.MoveMouse(std::lround(x - cursor->GetLeft()), std::lround(y - cursor->GetTop()));
    frame();
  };
  Draw();
  ASSERT_EQ(rig.mng->HitTest(290, 115), table->GetScrollBar()->GetDownButton()) << rig.mng->HitTest(290, 115)->GetName();
  ASSERT_EQ(rig.mng->HitTest(290, 65), table->GetScrollBar()->GetUpButton());
  struct Hold {
    float y;
    std::vector<std::int32_t> firstRows;  ///< after each frame with the button held
  };
  for (const Hold& hold : {Hold{115, {1, 2, 2}}, Hold{65, {1, 0, 0}}}) {
    moveTo(290, hold.y);
    input.script.ButtonDown(0);
    for (std::int32_t first : hold.firstRows) {
      frame();
      EXPECT_EQ(table->GetFirstVisibleRow(), first) << hold.y;
      EXPECT_EQ(table->GetScrollBar()->GetValue(), first) << hold.y;
      EXPECT_EQ(Shown(*table), (std::vector<std::int32_t>{first, first + 1, first + 2})) << hold.y;
    }
    input.script.ButtonUp(0);
    frame();
  }
  EXPECT_EQ(test::GuiCalls(), std::vector<std::string>{}) << "the arrows click nothing";
  // The wheel over a row: away from the player up the list, back down, a row a step.
  moveTo(150, 70);
  for (const auto& [notches, first] : {std::pair{-1, 1}, {-1, 2}, {-1, 2}, {1, 1}, {1, 0}, {1, 0}}) {
    input.script.TurnWheel(notches);
    frame();
    EXPECT_EQ(table->GetFirstVisibleRow(), first) << notches;
    EXPECT_EQ(Shown(*table), (std::vector<std::int32_t>{first, first + 1, first + 2})) << notches;
  }
  // The bit swept off the bar past either end and let go there before a held repeat
  // (ten rows: the bit's place alone would give the next to last first row).
  for (const char* line : {"f 5", "g 6", "h 7", "i 8", "j 9"}) table->AddRow(line, false);
  for (const auto& [y, first] : {std::pair{200.0f, 7}, {0.0f, 0}}) {
    moveTo(290, table->GetScrollBar()->GetBit()->GetScreenY() + 1);
    input.script.ButtonDown(0);
    frame();
    input.script.MoveMouse(0, std::lround(y - cursor->GetTop()));
    input.script.ButtonUp(0);
    frame();
    EXPECT_EQ(table->GetFirstVisibleRow(), first) << y;
  }
  moveTo(150, 70);
  input.script.ButtonDown(0);
  frame();
  input.script.ButtonUp(0);
  frame();
  EXPECT_EQ(test::GuiCalls(), (std::vector<std::string>{"click T"})) << "a row's click is the table's";
}

TEST_F(GuiTableTest, NewRowsSlideInWhereTheyCan) {
  struct Case {
    const char* what;
    bool withSlides;  ///< the "Scroll" effect can be made
    bool onPage;      ///< else a template
    bool slides;
  };
  // The game registers the element scroll with the others; this case wants a manager
  // without it first, then with the stand-in in its place: it makes its own, with the
  // element factories a table needs. The effect's factory is registered before the
  // second case and stays.
  rig.mng = std::make_unique<N_GuiMng>();
  g_guiServices.guiMng = rig.mng.get();
  rig.mng->RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<N_GuiPanel>>());
  rig.mng->RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<N_GuiText>>());
  rig.mng->RegisterElementFactory(std::make_unique<N_GuiElementFactoryOf<N_GuiTable>>());
  page = rig.mng->CreatePage("p");
  page->ShowImmediate();
  const Case cases[] = {
      {"on a page, no element scroll to make", false, true, false},
      {"a template, which has no page", true, false, false},
      {"on a page", true, true, true},
  };
  auto slides = [&] {
    std::vector<RowSlide*> made;
    for (N_GuiEffect* effect : rig.mng->Effects()) {
      if (effect->GetTypeName() == RowSlide::kTypeName) made.push_back(static_cast<RowSlide*>(effect));
    }
    return made;
  };
  int n = 0;
  for (const Case& c : cases) {
    if (c.withSlides && !rig.mng->FindEffectFactory(RowSlide::kTypeName))
      rig.mng->RegisterEffectFactory(std::make_unique<N_GuiEffectFactoryOf<RowSlide>>());
    const std::string name = "T" + std::to_string(n++);
    const std::size_t mark = rig.Log().size();
    N_GuiTable* table = nullptr;
    if (c.onPage) {
      table = Table(name, {{"scrollrows", "true"}});
    } else {
      table = rig.Create<N_GuiTable>("Table", name, true);
      test::Set(*table, {{"width", "300"}, {"height", "200"}, {"columnwidths", "100 100"}, {"scrollrows", "true"}});
    }
    table->AddRow("h1 h2", true);
    for (const char* line : {"a 1", "b 2", "c 3"}) table->AddRow(line, false);
    EXPECT_EQ(rig.Log().substr(mark), "") << c.what;
    EXPECT_EQ(table->GetHeaderPanel()->GetLeft(), N_GuiTable::kScrolledHeaderLeft) << c.what;

    const std::vector<RowSlide*> made = slides();
    if (!c.slides) {
      EXPECT_TRUE(made.empty()) << c.what;
      // Placed at once, at its place inside the spacing.
      for (std::int32_t r = 0; r < 3; ++r) EXPECT_EQ(table->GetRowPanel(r)->GetLeft(), 5.0f) << c.what;
      continue;
    }
    ASSERT_EQ(made.size(), 3u) << c.what;
    for (std::size_t r = 0; r < made.size(); ++r) {
      EXPECT_EQ(made[r]->told, (std::array<std::string, 3>{table->GetRowPanel(std::int32_t(r))->GetName(), "right",
                                                             "400"}))
          << c.what;
      EXPECT_TRUE(made[r]->started) << c.what;
      EXPECT_EQ(made[r]->GetPage(), page) << c.what;
    }
    EXPECT_EQ(page->Effects().size(), 3u);
    // A deleted row takes its slide with it, off the page; Clear takes all of them.
    table->DeleteRow(1);
    EXPECT_EQ(slides(), (std::vector<RowSlide*>{made[0], made[2]}));
    EXPECT_EQ(page->Effects(), (std::vector<N_GuiEffect*>{made[0], made[2]}));
    table->Clear();
    EXPECT_TRUE(slides().empty());
    EXPECT_TRUE(page->Effects().empty());
  }
}

// Row names take numbers from one counter of the program run: this case has a process
// of its own, as every case has under CTest.
TEST(GuiTableNames, RowsAndCellsAreNumberedProgramWide) {
  test::GuiRig rig;
  auto* table = rig.Create<N_GuiTable>("Table", "T");
  table->AddRow("a b", false);
  table->AddRow("h1 h2", true);
  // The counter runs through the whole process: 0 for the first row of a process of its own.
  const std::string first = table->GetRowPanel(0)->GetName();
  const int n = std::stoi(first.substr(first.find("TablePanel") + 10));
  if (testing::UnitTest::GetInstance()->test_to_run_count() == 1) {
    EXPECT_EQ(n, 0);
  }
  const auto two = [](int k) { return (k < 10 ? "0" : "") + std::to_string(k); };
  std::vector<std::string> names;
  for (const auto& [name, child] : table->Children()) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"#T/TablePanel" + two(n + 1), "T/TablePanel" + two(n)}));
  std::vector<std::string> cells;
  for (const auto& [name, cell] : table->GetRowPanel(0)->Children()) cells.push_back(name);
  EXPECT_EQ(cells, (std::vector<std::string>{"T/TableItem" + two(n + 1) + "00", "T/TableItem" + two(n + 1) + "01"}));
  cells.clear();
  for (const auto& [name, cell] : table->GetHeaderPanel()->Children()) cells.push_back(name);
  EXPECT_EQ(cells, (std::vector<std::string>{"T/TableItem" + two(n + 2) + "00", "T/TableItem" + two(n + 2) + "01"}));
  // Another table takes the next numbers: the eleventh row of the run is number n + 10.
  auto* other = rig.Create<N_GuiTable>("Table", "U");
  for (int i = 2; i < 11; ++i) other->AddRow("x", false);
  EXPECT_EQ(other->GetRowPanel(8)->GetName(), "U/TablePanel" + two(n + 10));
  EXPECT_EQ(other->GetRowCells(8)[0]->GetName(), "U/TableItem" + two(n + 11) + "00");
  EXPECT_EQ(other->GetRowPanel(7)->GetName(), "U/TablePanel" + two(n + 9));
}

}  // namespace
