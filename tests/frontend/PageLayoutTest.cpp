// Every page script of the game with its fonts and texts, at two screen sizes: each
// text an element can show (its own, each item of a selector, and the longest values
// the game fills it with) fits the element's rectangle, and no two visible elements
// of a page (or of pages shown at once) lie over each other or across a frame's edge.
// A report names the page, the elements and the sizes in pixels of that screen.
#include "core/FormatString.h"
#include "core/StringUtil.h"
#include "core/KeyNames.h"
#include "frontend/AthleteField.h"
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerScheduleItem.h"
#include "frontend/career/CareerWeekHeader.h"
#include "gui/GuiButton.h"
#include "gui/GuiContainer.h"
#include "gui/GuiEditBox.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiPanel.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiScrollingText.h"
#include "gui/GuiServices.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/LevelTables.h"
#include "race/StartInfo.h"
#include "render/TextBatch.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <tuple>
#include <string>
#include <vector>

namespace test {
namespace {

using Texts = std::vector<std::string>;

Texts Keys(std::initializer_list<const char*> keys) {
  Texts texts;
  for (const char* key : keys) texts.push_back(frontend::Text(key));
  return texts;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

/// The athlete with the longest name (men and women), its name quoted and its nation.
std::string NameAndNation() {
  N_AthletMng& athletes = g_world->AthletMng();
  const N_AthletProfile* longest = nullptr;
  for (int sex = 0; sex < 2; ++sex) {
    const std::size_t count = sex == 0 ? athletes.GetMaleCount() : athletes.GetFemaleCount();
    for (std::size_t i = 0; i < count; ++i) {
      const N_AthletProfile* a = sex == 0 ? athletes.GetMale(i) : athletes.GetFemale(i);
      if (!longest || a->AthletName.size() > longest->AthletName.size()) longest = a;
    }
  }
  return longest ? Quoted(longest->AthletName) + " " + longest->Nationality : "\"\" NOR";
}

std::string Name() { return NameAndNation().substr(0, NameAndNation().rfind(' ')); }
std::string Nation() { return NameAndNation().substr(NameAndNation().rfind(' ') + 1); }
/// The longest clock a board shows, and a player's name as long as the longest athlete's.
const std::string kTime = "59:59.999";
std::string Player() { return Name(); }

Texts AthleteRows() {
  N_AthletMng& athletes = g_world->AthletMng();
  Texts rows{Name() + " " + Nation() + " 100.0 100.0 100.0 100.0 100.0 100.0 100.0 100.0 100.0"};
  for (std::size_t i = 0; i < athletes.GetMaleCount(); ++i) rows.push_back(AthleteRowText(*athletes.GetMale(i)));
  for (std::size_t i = 0; i < athletes.GetFemaleCount(); ++i) rows.push_back(AthleteRowText(*athletes.GetFemale(i)));
  return rows;
}

Texts Levels() {
  Texts names;
  for (int row = 0; row < 12; ++row) names.push_back(GetLevelName(row, false));
  return names;
}

/// Sex and discipline as the start lists and the result page title them.
Texts Titles() {
  Texts titles;
  for (const char* sex : {"#str306", "#str307"}) {
    for (const char* title : {"#str308", "#str309", "#str310", "#str311", "#str135", "#str147"}) {
      titles.push_back(frontend::Text(sex) + " " + frontend::Text(title));
    }
  }
  return titles;
}

Texts Conditions(std::string (*name)(std::int32_t)) {
  Texts names;
  for (std::int32_t i = 0; i < 3; ++i) names.push_back(name(i));
  return names;
}

Texts TopTimeRows() {
  Texts rows;
  for (const std::string& weather : Conditions(GetWeatherName)) {
    for (const std::string& snow : Conditions(GetSnowQualityName)) {
      rows.push_back("10 " + Player() + " " + NameAndNation() + " " + Quoted(weather) + " " + Quoted(snow) + " " + kTime +
                     " 20");
    }
  }
  return rows;
}

Texts ScheduleRows() {
  Texts rows;
  for (const CareerScheduleItem& item : career::DefaultScheduleItems()) rows.push_back(career::ScheduleItemRow(item));
  return rows;
}

Texts KeyNameTexts() {
  Texts names;
  for (int dik = 1; dik < 255; ++dik) {
    if (GetKeyName(dik).name[0]) names.push_back(GetKeyName(dik).name);
  }
  return names;
}

Texts Prices(std::initializer_list<const char*> keys) {
  Texts texts;
  for (const char* key : keys) texts.push_back(FormatDataText(frontend::Text(key).c_str(), "%d", 9999));
  return texts;
}

/// Element names and the longest values the game fills each with: texts, or the row
/// lines of a table.
const std::map<std::string, std::function<Texts()>>& Fills() {
  static const std::map<std::string, std::function<Texts()>> fills = {
      // The set-up pages' athletes and the relay team.
      {"Athlets1", AthleteRows}, {"Athlets2", AthleteRows}, {"Athlets3", AthleteRows},
      {"Athlets4", AthleteRows}, {"Athlets5", AthleteRows}, {"Relay1", AthleteRows},
      // Start lists, start info, results and split boards.
      {"SL/Table", [] { return Texts{"15 " + Nation() + " " + Name() + " +" + kTime}; }},
      {"SL/Table1", [] { return Texts{"15 " + Nation() + " " + Name()}; }},
      {"SL/Table2", [] { return Texts{"16 " + Nation() + " " + Name() + " 4"}; }},
      {"SL/Caption", Levels}, {"SL/Caption1", Levels}, {"SL/Caption2", Levels}, {"MapName", Levels},
      {"SL/Discipline", Titles}, {"SL/Discipline1", Titles}, {"SL/Discipline2", Titles},
      {"FR/Caption", [] { Texts t = Levels(); for (auto& k : Keys({"#str165", "#str263"})) t.push_back(k); return t; }},
      {"FR/Discipline", [] { Texts t = Titles(); for (auto& k : Keys({"#str152", "#str400", "#str401", "#str402",
                                                                       "#str403", "#str404", "#str405"})) t.push_back(k);
                              return t; }},
      {"FR/Table", [] { return Texts{"15 15 " + Nation() + " " + Name() + " 20 +" + kTime,
                                      "4 4 " + Nation() + " \"Team 4\" 20 +" + kTime,
                                      "15 15 " + Nation() + " " + Name() + " 20 Disq"}; }},
      {"FR/Table1", [] { return Texts{"10 " + kTime + " 99", Quoted(frontend::Text("#str112")) + " " + kTime + " 99"}; }},
      {"FR/Table2", [] { return Texts{"100 100 " + kTime}; }},
      {"FR/Table3", [] { return Texts{"4 " + Player() + " " + Nation() + " " + kTime, "4 " + Player() + " " + Nation() + " 999"}; }},
      {"Times1", [] { return Texts{"15 15 " + Nation() + " " + Name() + " +" + kTime}; }},
      {"Times2", [] { return Texts{"4 " + Nation() + " " + kTime}; }},
      {"Weather7", [] { return Conditions(GetWeatherName); }},
      {"SnowQuality2", [] { return Conditions(GetSnowQualityName); }},
      {"Counter", [] { return Texts{"00:07"}; }},
      // The race display.
      {"Name1", [] { return Texts{Name().substr(1, Name().size() - 2)}; }},
      {"Name7", [] { return Texts{Name().substr(1, Name().size() - 2)}; }},
      {"Time1", [] { return Texts{kTime}; }}, {"Time2", [] { return Texts{kTime}; }},
      {"Speed1", [] { return Texts{"19.9 m/s"}; }}, {"HeartFreq1", [] { return Texts{"220"}; }},
      {"Position1", [] { return Texts{frontend::Text("#str312") + "15"}; }},
      {"Round1", [] { return Texts{frontend::Text("#str313") + "3/3"}; }},
      {"NumPenalty", [] { return Texts{"5"}; }}, {"Hits", [] { return Texts{"35"}; }},
      {"ShootTable", [] { return Texts{Quoted(Nation()) + " " + Name() + " PENALTY5 MISS MISS MISS MISS MISS"}; }},
      // Top times.
      {"ArcadeHS", TopTimeRows}, {"SingleRaceHS", TopTimeRows},
      {"TimeAttackHS", [] { return Texts{"10 " + Player() + " " + NameAndNation() + " " + kTime + " 20"}; }},
      // Buddy games.
      {"Buddy1", [] { return Texts{"4 " + Player() + " " + Nation()}; }},
      {"BuddyHS", [] { return Texts{"10 " + Player() + " " + Nation() + " " + kTime, frontend::Text("#str108"),
                                    frontend::Text("#str257")}; }},
      {"BuddyName", [] { return Keys({"#str400", "#str401", "#str402", "#str403", "#str404", "#str405"}); }},
      {"BuddyText", [] { return Keys({"#str410", "#str411", "#str412", "#str413", "#str414", "#str415"}); }},
      {"BuddyText1", [] { return Keys({"#str410", "#str411", "#str412", "#str413", "#str414", "#str415", "#str416",
                                       "#str417", "#str418", "#str419", "#str420", "#str421"}); }},
      // Controls.
      {"ForwardKey1", KeyNameTexts}, {"BackwardKey1", KeyNameTexts}, {"BreakKey1", KeyNameTexts},
      {"LeftKey1", KeyNameTexts}, {"RightKey1", KeyNameTexts}, {"ReloadKey1", KeyNameTexts},
      {"Skating1Key1", KeyNameTexts}, {"Skating2Key1", KeyNameTexts}, {"Skating3Key1", KeyNameTexts},
      {"Skating4Key1", KeyNameTexts}, {"Paralell1Key1", KeyNameTexts}, {"Paralell2Key1", KeyNameTexts},
      {"UphillKey1", KeyNameTexts}, {"DownhillKey1", KeyNameTexts}, {"PauseKey1", KeyNameTexts},
      // The career.
      {"LevelText1", [] { return Texts{FormatDataText(frontend::Text("#str264").c_str(), "%d%d%s", 2009, 10,
                                                      (", " + frontend::Text("#str012")).c_str())}; }},
      {"EventText1", [] { return Keys({"#str010", "#str271", "#str012", "#str274"}); }},
      {"TaskText1", [] { Texts t; for (int i = 0; i < career::kBookableItems; ++i) t.push_back(frontend::Text(("#str" + std::to_string(326 + i)).c_str())); return t; }},
      {"Account1", [] { return Texts{career::AccountText(-999999), career::AccountText(9999999)}; }},
      {"Tasks1", ScheduleRows}, {"Schedule1", ScheduleRows},
      {"TTable1", [] { Texts t; for (int i = 0; i < 3; ++i) t.push_back(Quoted(frontend::Text(("#str" + std::to_string(278 + i)).c_str())) + " " + Quoted(frontend::Text(("#str" + std::to_string(281 + i)).c_str())) + " 9999"); return t; }},
      {"TrainingText1", [] { return Keys({"#str284", "#str285", "#str286"}); }},
      {"CarText1", [] { return Prices({"#str242"}); }}, {"TrainText1", [] { return Prices({"#str243"}); }},
      {"PlaneText1", [] { return Prices({"#str244"}); }}, {"HotelText1", [] { return Prices({"#str246"}); }},
      {"HotelText2", [] { return Prices({"#str247"}); }}, {"HotelText3", [] { return Prices({"#str248"}); }},
      {"Height1", [] { return Texts{"210.0 cm"}; }}, {"Weight1", [] { return Texts{"120.0 kg"}; }},
      {"Difficulty11", [] { return Keys({"#str018", "#str019"}); }},
      {"Caption23", [] { return Keys({"#str200", "#str229"}); }},
      {"TotalLbl1", [] { return Texts{"220"}; }}, {"TotalLbl2", [] { return Texts{"220"}; }},
      {"TotalLbl3", [] { return Texts{"220"}; }},
      {"CareerHS", [] { return Texts{"10 " + NameAndNation() + " -999999 999"}; }},
      {"CareerHS1", [] { return Texts{"20 " + NameAndNation() + " 999 100 100 100 100 100 100 100 100 100 100"}; }},
      {"CareerHS2", [] { return Texts{"20 " + NameAndNation() + " " + kTime + " 20 100"}; }},
  };
  return fills;
}

}  // namespace

/// The longest values the game fills an element with (a table: its row lines); the
/// attribute texts of the career pages show a value and its ceiling.
Texts PageFills(const std::string& name) {
  const auto fill = Fills().find(name);
  if (fill != Fills().end()) return fill->second();
  static const std::vector<std::string> kAttributes = {"Hearth", "Condition", "Power", "Concentration", "FightGhost",
                                                       "Coolness", "RunTech", "ShootTech", "HandlTech"};
  for (const std::string& attribute : kAttributes) {
    if (name == attribute + "Text1" || name == attribute + "Text2") return {"100 / 100"};
  }
  return {};
}

}  // namespace test

namespace {

struct Box {
  float left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  void Grow(const Box& b) {
    if (b.Empty()) return;
    if (Empty()) {
      *this = b;
      return;
    }
    left = std::min(left, b.left), top = std::min(top, b.top);
    right = std::max(right, b.right), bottom = std::max(bottom, b.bottom);
  }
};

/// What one element takes on the screen, for the overlap test.
struct Unit {
  N_GuiElement* element;
  Box box;
  bool frame = false;  ///< a plain panel with a border: the others lie inside or outside
};

/// The checks of one screen size: the 2D set-up projects 639 x 479 units onto it.
class LayoutCheck {
 public:
  LayoutCheck(int width, int height) : m_width(width), m_height(height), m_sx(width / 639.0f), m_sy(height / 479.0f) {}

  void CheckPage(N_GuiPage& page) { CheckPages(page.GetName(), {&page}); }
  /// Pages shown at once, named together.
  void CheckPages(const std::string& names, const std::vector<N_GuiPage*>& pages) {
    std::vector<Unit> units;
    for (N_GuiPage* page : pages)
      for (N_GuiElement* e : page->Elements()) Walk(*page, *e, true, units);
    for (std::size_t a = 0; a < units.size(); ++a) {
      for (std::size_t b = a + 1; b < units.size(); ++b) {
        // A frame holds its own children too; two frames may share an edge.
        const int frames = units[a].frame + units[b].frame;
        if (frames == 2 || (!frames && Related(*units[a].element, *units[b].element))) continue;
        const Box& p = units[a].box;
        const Box& q = units[b].box;
        const float w = std::min(p.right, q.right) - std::max(p.left, q.left);
        const float h = std::min(p.bottom, q.bottom) - std::max(p.top, q.top);
        if (w * m_sx <= kTolerance || h * m_sy <= kTolerance) continue;
        const Unit* frame = units[a].frame ? &units[a] : units[b].frame ? &units[b] : nullptr;
        const Unit& other = frame == &units[a] ? units[b] : units[a];
        if (!frames) {
          Report(names, units[a].element->GetName() + " and " + units[b].element->GetName() + " overlap by " +
                            Size(w, h) + " (" + Size(p) + " and " + Size(q) + ")");
        } else if (const float out = Overflow(frame->box, other.box); out > kTolerance) {
          Report(names, other.element->GetName() + " crosses the edge of " + frame->element->GetName() +
                            FormatString(" by %.0f", out));
        }
      }
    }
  }

  std::vector<std::string> problems;

 private:
  static constexpr float kTolerance = 1.0f;  ///< pixels

  void Walk(N_GuiPage& page, N_GuiElement& e, bool shown, std::vector<Unit>& units) {
    e.ApplyLayout();
    const bool visible = shown && e.IsVisible();
    if (visible && e.GetTypeName() == N_GuiPanel::kTypeName && !static_cast<N_GuiPanel&>(e).GetBorderShaderName().empty())
      units.push_back({&e, Rect(e), true});
    if (auto* table = dynamic_cast<N_GuiTable*>(&e)) {
      CheckTable(page, *table);
      if (visible) units.push_back({&e, Rect(e)});
      return;
    }
    if (auto* text = dynamic_cast<N_GuiText*>(&e)) {
      const Box box = CheckText(page, *text);
      if (!visible) return;
      // Buttons and edit boxes take their whole rectangle, a label its text.
      const bool framed = dynamic_cast<N_GuiButton*>(text) || dynamic_cast<N_GuiEditBox*>(text);
      Box taken = framed ? Rect(e) : Box{};
      taken.Grow(box);
      if (!taken.Empty()) units.push_back({&e, taken});
      return;
    }
    if (visible && (dynamic_cast<N_GuiScrollBar*>(&e) || dynamic_cast<N_GuiImageSelector*>(&e))) {
      units.push_back({&e, Rect(e)});
      return;
    }
    if (!e.IsContainer()) return;
    for (const auto& [name, child] : static_cast<N_GuiContainer&>(e).Children()) Walk(page, *child, visible, units);
  }

  /// The cells of the table's own rows and of the rows the game fills it with (taken
  /// out again); the rows must leave the scroll bar free.
  void CheckTable(N_GuiPage& page, N_GuiTable& table) {
    const std::int32_t own = table.GetRowCount();
    for (const std::string& row : test::PageFills(table.GetName())) table.AddRow(row, false);
    CheckCells(page, table);
    while (table.GetRowCount() > own) table.DeleteRow(table.GetRowCount() - 1);
    if (const N_GuiScrollBar* bar = table.GetScrollBar()) {
      float right = table.GetHSpacing();
      for (const std::string& list : {table.GetColumnWidths(), table.GetColumnSpaces()}) {
        std::vector<std::string> values;
        for (const std::string& value : SplitString(list, values, " ", 0)) right += StringToFloat(value);
      }
      const float room = table.GetWidth() - bar->GetWidth();
      if ((right - room) * m_sx > kTolerance) {
        Report(page, table.GetName() + " columns reach under the scroll bar: " + Size(right, 0) + " in " + Size(room, 0));
      }
    }
  }

  /// Each column once: the widest text that leaves its cell, across the rows (a cell
  /// may be as high as its row: the text is centred in the row's height).
  void CheckCells(N_GuiPage& page, N_GuiTable& table) {
    table.ApplyLayout();
    std::vector<N_GuiPanel*> rows;
    if (N_GuiPanel* header = table.GetHeaderPanel()) rows.push_back(header);
    for (std::int32_t r = 0; r < table.GetRowCount(); ++r) rows.push_back(table.GetRowPanel(r));
    std::map<std::size_t, std::string> worst;  // column -> report
    std::map<std::size_t, float> widest;
    for (N_GuiPanel* row : rows) {
      if (!row) continue;
      row->ApplyLayout();
      const Box rowBox = Rect(*row);
      std::size_t column = 0;
      for (const auto& [name, cell] : row->Children()) {
        auto* text = dynamic_cast<N_GuiText*>(cell);
        const std::size_t c = column++;
        if (!text || text->GetCaption().empty()) continue;
        cell->ApplyLayout();
        Box rect = Rect(*cell);
        rect.top = std::min(rect.top, rowBox.top), rect.bottom = std::max(rect.bottom, rowBox.bottom);
        const Box box = TextBox(*text, text->GetCaption());
        const float over = Overflow(rect, box);
        if (over > kTolerance && (!widest.count(c) || over > widest[c])) {
          widest[c] = over;
          worst[c] = table.GetName() + " column " + std::to_string(c + 1) + " \"" + text->GetCaption() + "\" needs " +
                     Size(box) + " in " + Size(rect);
        }
      }
    }
    for (const auto& [column, report] : worst) Report(page, report);
  }

  /// How far, in pixels, the box leaves the rectangle on its worst side.
  float Overflow(const Box& rect, const Box& box) const {
    return std::max({(rect.left - box.left) * m_sx, (box.right - rect.right) * m_sx, (rect.top - box.top) * m_sy,
                     (box.bottom - rect.bottom) * m_sy});
  }

  /// The box of every text the element can show; the worst one that leaves the
  /// rectangle is reported.
  Box CheckText(N_GuiPage& page, N_GuiText& e) {
    if (dynamic_cast<N_GuiScrollingText*>(&e)) return {};  // it scrolls by design
    std::vector<std::string> texts{e.GetCaption()};
    if (auto* selector = dynamic_cast<N_GuiTextSelector*>(&e)) {
      texts.insert(texts.end(), selector->Items().begin(), selector->Items().end());
    }
    for (const std::string& fill : test::PageFills(e.GetName())) texts.push_back(fill);
    Box all;
    const Box rect = Rect(e);
    float worst = kTolerance;
    std::string report;
    for (const std::string& text : texts) {
      if (text.empty()) continue;
      const Box box = TextBox(e, text);
      all.Grow(box);
      const float over = Overflow(rect, box);
      if (!e.GetAutoSize() && over > worst) {
        worst = over;
        report = e.GetName() + " \"" + text + "\" needs " + Size(box) + " in " + Size(rect);
      }
    }
    if (!report.empty()) Report(page, report);
    return all;
  }

  /// Where the text lies when the element draws it (a button's grown text on hover).
  Box TextBox(N_GuiText& e, const std::string& text) const {
    const float grow = dynamic_cast<N_GuiButton*>(&e) ? N_GuiButton::kHighlightGrowth : 0.0f;
    const float scale = e.GetCharHeight() + grow;
    std::vector<std::string> lines{text};
    if (e.GetMultiline()) {
      const std::string kept = e.GetCaption();
      e.SetCaption(text);
      lines = e.Lines();
      e.SetCaption(kept);
    }
    float width = 0.0f, lineHeight = 0.0f;
    for (const std::string& line : lines) {
      float w = 0.0f;
      g_guiServices.textBatch->MeasureText(line.c_str(), e.GetFont(), scale, &w, &lineHeight);
      width = std::max(width, w);
    }
    const float height = lineHeight * static_cast<float>(std::max<std::size_t>(lines.size(), 1));
    const Box rect = Rect(e);
    Box box;
    switch (e.GetAlignment()) {
      case N_GuiElement::kAlignCenter: box.left = (rect.left + rect.right - width) * 0.5f; break;
      case N_GuiElement::kAlignRight: box.left = rect.right - width; break;
      default: box.left = rect.left; break;
    }
    // The batcher's own vertical anchors: a single line's middle or bottom; wrapped
    // lines go down from the anchor.
    const float middle = (rect.top + rect.bottom) * 0.5f;
    switch (e.GetVAlignment()) {
      case N_GuiElement::kAlignCenter: box.top = middle - lineHeight * 0.5f; break;
      case N_GuiElement::kAlignBottom: box.top = rect.bottom - lineHeight; break;
      default: box.top = rect.top; break;
    }
    box.right = box.left + width;
    box.bottom = box.top + height;
    return box;
  }

  static Box Rect(N_GuiElement& e) {
    const float x = e.GetScreenX(), y = e.GetScreenY();
    return {x, y, x + e.GetWidth(), y + e.GetHeight()};
  }

  /// An element and one inside it (a table and its cells) may share their place.
  static bool Related(const N_GuiElement& a, const N_GuiElement& b) {
    for (const N_GuiElement* p = b.GetParent(); p; p = p->GetParent()) {
      if (p == &a) return true;
    }
    for (const N_GuiElement* p = a.GetParent(); p; p = p->GetParent()) {
      if (p == &b) return true;
    }
    return false;
  }

  std::string Size(float w, float h) const {
    return FormatString("%dx%d", static_cast<int>(w * m_sx + 0.5f), static_cast<int>(h * m_sy + 0.5f));
  }
  std::string Size(const Box& b) const { return Size(b.right - b.left, b.bottom - b.top); }

  void Report(const N_GuiPage& page, const std::string& what) { Report(page.GetName(), what); }
  void Report(const std::string& pages, const std::string& what) {
    problems.push_back(FormatString("%dx%d %s: ", m_width, m_height, pages.c_str()) + what);
  }

  int m_width, m_height;
  float m_sx, m_sy;
};

/// Pages the game shows at once, the lowest first.
const char* const kShownTogether[] = {
    "CareerHS Career", "CareerHS CareerProfile CareerAttributes", "CareerHS CareerAttributesInfo", "CareerHS CareerHS1",
    "CareerHS CareerHS2", "CareerHS CareerHSFinal", "CareerHS CareerTrainings", "CareerHS CareerTravel",
    "CareerHS Settings", "PlayerStatus StartInfo Pause", "PlayerStatus Shooting SplitTimes Pause",
    "PlayerStatus PenaltyRounds SplitTimes Pause"};

std::vector<std::string> CheckEveryPage(N_GuiMng& gui) {
  std::vector<std::string> problems;
  for (const auto& [width, height] : {std::pair{800, 600}, std::pair{1024, 768}}) {
    LayoutCheck check(width, height);
    for (const auto& [name, page] : gui.Pages()) {
      if (page.get() != gui.GetCursorPage()) check.CheckPage(*page);
    }
    for (const char* together : kShownTogether) {
      std::vector<std::string> names;
      std::vector<N_GuiPage*> pages;
      for (const std::string& name : SplitString(together, names, " ", 0)) pages.push_back(gui.GetPage(name));
      if (std::count(pages.begin(), pages.end(), nullptr) == 0) check.CheckPages(together, pages);
      else problems.push_back(std::string("a page missing: ") + together);
    }
    problems.insert(problems.end(), check.problems.begin(), check.problems.end());
  }
  return problems;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

TEST(PageLayout, EveryPageFitsItsTextsAndNoElementsOverlap) {
  test::RacePagesRig rig;
  const std::vector<std::string> problems = CheckEveryPage(rig.World().GuiMng());
  EXPECT_TRUE(problems.empty()) << problems.size() << " problems:\n" << Lines(problems);
}

// A page with a button too narrow for its caption and another one over it: both are
// named with the page and the sizes, at each screen size.
TEST(PageLayout, APlantedOverflowAndOverlapAreNamed) {
  test::RacePagesRig rig;
  const std::string file = rig.rig.harness.dir.Path() + "/planted.gui";
  rig.rig.harness.dir.Write("planted.gui",
                            "Planted\n{\n"
                            "\tcontainer Button(Narrow) : MenuButton\n\t{\n\t\tleft 20\n\t\ttop 20\n\t\twidth 100\n"
                            "\t\tcaption A caption far too long\n\t}\n"
                            "\tcontainer Button(Over) : MenuButton\n\t{\n\t\tleft 100\n\t\ttop 40\n\t\twidth 100\n"
                            "\t\tcaption Ok\n\t}\n}\n");
  rig.World().GuiMng().ParseGuiFile(file.c_str());
  N_GuiPage* page = rig.World().GuiMng().GetPage("Planted");
  ASSERT_NE(page, nullptr);
  for (const auto& [width, height, button] : {std::tuple{800, 600, "125x45"}, std::tuple{1024, 768, "160x58"}}) {
    LayoutCheck check(width, height);
    check.CheckPage(*page);
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    ASSERT_EQ(check.problems.size(), 2u) << Lines(check.problems);
    EXPECT_EQ(check.problems[0].rfind(size + " Planted: Narrow \"A caption far too long\" needs ", 0), 0u)
        << check.problems[0];
    EXPECT_NE(check.problems[0].find(std::string(" in ") + button), std::string::npos) << check.problems[0];
    EXPECT_EQ(check.problems[1].rfind(size + " Planted: Narrow and Over overlap by ", 0), 0u) << check.problems[1];
  }
}

}  // namespace
