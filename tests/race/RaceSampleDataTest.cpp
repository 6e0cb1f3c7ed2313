// The sample data of the race pages: every page, element, text and material that the
// race code looks up by name is in the game root's scripts, of the kind the code
// needs, and every picture those materials map is there too.
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiProgressBar.h"
#include "gui/GuiScrollBar.h"
#include "gui/GuiTable.h"
#include "race/LevelTables.h"
#include "render/ShaderMng.h"
#include "tests/race/RacePagesRig.h"
#include "tests/support/LogLines.h"
#include "tools/RacePictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

TEST(RaceSampleData, EveryPageAndElementTheRaceNamesIsThereOfItsKind) {
  test::RacePagesRig r;
  N_GuiMng& gui = r.World().GuiMng();
  // The pages' callbacks are the front-end's, which this suite leaves out.
  const std::string log = test::WithoutCallbackLines(r.rig.core.LogText());
  for (const char* fault : {"!!! Bad", "already exists", "Cannot locate", "already defined"}) {
    EXPECT_EQ(log.find(fault), std::string::npos) << fault << "\n" << log;
  }
  struct Page {
    const char* name;
    bool cursor;
  } pages[] = {{"PlayerStatus", false}, {"BlackEyes", false},    {"Pause", false},          {"Shooting", false},
               {"PenaltyRounds", false}, {"BuddyStatus", false}, {"StartList", true},       {"StartListMass", true},
               {"StartListRelay", true}, {"StartInfo", false},   {"FinalResult", true},     {"SplitTimes", false},
               {"Loading", false}};
  for (const Page& p : pages) {
    const N_GuiPage* page = gui.GetPage(p.name);
    ASSERT_NE(page, nullptr) << p.name;
    EXPECT_LT(page->GetZOrder(), 600) << p.name;
    EXPECT_EQ(page->GetShowCursor(), p.cursor) << p.name;
  }
  struct Element {
    const char* name;
    const char* type;
    const char* page;
  } elements[] = {
      {"Name1", "Text", "PlayerStatus"},        {"Natn1", "Panel", "PlayerStatus"},
      {"Time1", "Text", "PlayerStatus"},        {"Speed1", "Text", "PlayerStatus"},
      {"HeartFreq1", "Text", "PlayerStatus"},   {"Position1", "Text", "PlayerStatus"},
      {"Round1", "Text", "PlayerStatus"},       {"Power", "ProgressBar", "PlayerStatus"},
      {"Cond", "ProgressBar", "PlayerStatus"},  {"Map1", "Map", "PlayerStatus"},
      {"Black1", "Panel", "BlackEyes"},         {"ShootTable", "Table", "Shooting"},
      {"Bullets", "Panel", "Shooting"},         {"TrestRed", "Panel", "Shooting"},
      {"Stopka", "Panel", "Shooting"},          {"Time2", "Text", "Shooting"},
      {"ShootingHits", "Panel", "Shooting"},    {"Hits", "Text", "Shooting"},
      {"NumPenalty", "Text", "PenaltyRounds"},  {"SL/Caption", "Text", "StartList"},
      {"SL/Discipline", "Text", "StartList"},   {"SL/Table", "Table", "StartList"},
      {"SL/Caption1", "Text", "StartListMass"}, {"SL/Discipline1", "Text", "StartListMass"},
      {"SL/Table1", "Table", "StartListMass"},  {"SL/Caption2", "Text", "StartListRelay"},
      {"SL/Discipline2", "Text", "StartListRelay"}, {"SL/Table2", "Table", "StartListRelay"},
      {"MapName", "Text", "StartInfo"},         {"Weather7", "Text", "StartInfo"},
      {"WeatherIcon", "Panel", "StartInfo"},    {"SnowQuality2", "Text", "StartInfo"},
      {"SnowIcon", "Panel", "StartInfo"},       {"Counter", "Text", "StartInfo"},
      {"FR/Caption", "Text", "FinalResult"},    {"FR/Discipline", "Text", "FinalResult"},
      {"FR/Table", "Table", "FinalResult"},     {"FR/Table1", "Table", "FinalResult"},
      {"FR/Table2", "Table", "FinalResult"},    {"FR/Table3", "Table", "FinalResult"},
      {"Times1", "Table", "SplitTimes"},        {"Times2", "Table", "SplitTimes"},
      {"Loading", "ProgressBar", "Loading"},
  };
  for (const Element& e : elements) {
    const N_GuiElement* element = gui.GetElement(e.name, false);
    ASSERT_NE(element, nullptr) << e.name;
    EXPECT_EQ(element->GetTypeName(), e.type) << e.name;
    EXPECT_EQ(element->GetPage(), gui.GetPage(e.page)) << e.name;
  }
  EXPECT_EQ(r.Element("Hits").GetParent(), dynamic_cast<N_GuiContainer*>(&r.Element("ShootingHits")));

  // The tables' columns: the rewritten ones exactly as many as their rows have fields,
  // the others at least as many as their longest rows.
  struct Columns {
    const char* table;
    std::vector<std::uint32_t> types;
  } columns[] = {
      {"ShootTable", {2, 1, 2, 2, 2, 2, 2, 2}}, {"SL/Table", {1, 2, 1, 1}},      {"SL/Table1", {1, 2, 1}},
      {"SL/Table2", {1, 2, 1, 1}},              {"FR/Table", {1, 1, 2, 1, 1, 1}}, {"FR/Table1", {1, 1, 1}},
      {"FR/Table2", {1, 1, 1}},                 {"Times1", {1, 1, 2, 1, 1}},      {"Times2", {1, 2, 1}},
  };
  for (const Columns& c : columns) {
    const auto& table = r.ElementAs<N_GuiTable>(c.table);
    std::vector<std::uint32_t> types;
    for (std::uint32_t i = 0; i < table.GetColumnCount(); ++i) types.push_back(table.GetColumnType(i));
    EXPECT_EQ(types, c.types) << c.table;
  }
  EXPECT_EQ(r.ElementAs<N_GuiTable>("ShootTable").GetRowCount(), 1) << "its row 0";
  for (const char* board : {"Times1", "Times2"}) {
    EXPECT_FALSE(r.ElementAs<N_GuiTable>(board).GetSelectedRowShaderName().empty()) << board;
  }
  EXPECT_EQ(r.Element("TrestRed").GetLeft(), 650.0f);
  for (const char* bar : {"Power", "Cond"}) EXPECT_EQ(r.ElementAs<N_GuiProgressBar>(bar).GetRange(), 1.0f) << bar;

  // A click anywhere on the boards goes on: at the edge the catcher (visible, without
  // a picture), on the list the frame that holds it, a row's click passing up to it;
  // the list's scroll bar arrows take their own clicks.
  struct Board {
    const char* page;
    const char* callback;
    const char* table;
  } boards[] = {{"StartList", "StartListClick", "SL/Table"},
                {"StartListMass", "StartListClick", "SL/Table1"},
                {"StartListRelay", "StartListClick", "SL/Table2"},
                {"FinalResult", "FinalResultClick", "FR/Table"}};
  for (const Board& b : boards) {
    N_GuiPage* page = gui.GetPage(b.page);
    auto& table = r.ElementAs<N_GuiTable>(b.table);
    for (int i = 0; i < 20; ++i) table.AddRow("1 GER \"A Name\" 2 3 4", false);
    page->ShowImmediate();
    gui.Render();
    N_GuiElement* edge = page->ElementAt(2.0f, 2.0f);
    ASSERT_NE(edge, nullptr) << b.page;
    EXPECT_EQ(edge->GetOnClick(), b.callback) << b.page;
    EXPECT_TRUE(edge->IsVisible()) << b.page;
    EXPECT_EQ(edge->GetShader(), -1) << b.page;
    N_GuiElement* row = table.GetRowPanel(1);
    N_GuiElement* clicked = page->ElementAt(row->GetScreenX() + 5.0f, row->GetScreenY() + 5.0f);
    EXPECT_EQ(clicked, row) << b.page;
    while (clicked && clicked->GetOnClick().empty()) clicked = clicked->GetParent();
    EXPECT_EQ(clicked ? clicked->GetOnClick() : "", b.callback) << b.page;
    for (N_GuiElement* arrow : {table.GetScrollBar()->GetUpButton(), table.GetScrollBar()->GetDownButton()}) {
      EXPECT_EQ(page->ElementAt(arrow->GetScreenX() + 2.0f, arrow->GetScreenY() + 2.0f), arrow) << b.page;
    }
    page->Hide();
  }
}

TEST(RaceSampleData, EveryTextAndMaterialTheRaceNamesIsThere) {
  test::RacePagesRig r;
  for (const char* key : {"#str112", "#str135", "#str147", "#str165", "#str263", "#str300", "#str301", "#str302",
                          "#str303", "#str304", "#str305", "#str306", "#str307", "#str308", "#str309", "#str310",
                          "#str311", "#str312", "#str313"}) {
    EXPECT_FALSE(r.strings.Find(key).empty()) << key;
  }

  // The names the race sets at run time: registered by the scripts, so built with them.
  std::vector<std::string> names{"HIT", "MISS"};
  for (int n = 0; n <= 5; ++n) names.push_back("BULLETS" + std::to_string(n));
  for (int n = 0; n <= 8; ++n) names.push_back("PENALTY" + std::to_string(n));
  for (const char* code : datagen::kNationCodes) names.push_back(code);
  for (const char* icon : {"sunny", "snowy", "foggy", "dry", "wet", "ice"}) names.push_back(std::string("textures\\menu\\") + icon);
  for (const N_LevelName& level : LevelNamesAll) names.push_back(level.data());
  N_ShaderMng& shaders = r.World().ShaderMng();
  for (const std::string& name : names) {
    const int handle = shaders.AddShader(name.c_str(), 0, N_ShaderMng::kType2D);
    const N_Shader* shader = shaders.GetShader(handle);
    ASSERT_NE(shader, nullptr) << name << " is not registered by a page script";
    EXPECT_EQ(shader->cull, Cull::None) << name << " has its own material";
  }
  // The condition bar's two materials stretch with a wave of five values.
  auto& cond = r.ElementAs<N_GuiProgressBar>("Cond");
  for (const int handle : {cond.GetShader(), cond.GetBackShader()}) {
    const N_Shader* shader = shaders.GetShader(handle);
    ASSERT_NE(shader, nullptr);
    ASSERT_NE(shader->Stage(0), nullptr);
    ASSERT_FALSE(shader->Stage(0)->tcMods.empty());
    EXPECT_EQ(shader->Stage(0)->tcMods[0].count, 5);
    EXPECT_EQ(shader->Stage(0)->tcMods[0].values[1], 1.0f);
    EXPECT_EQ(shader->Stage(0)->tcMods[0].values[2], 0.1f);
  }
  // Every picture the built materials asked for is in the game root.
  for (std::string path : r.device.created) {
    std::replace(path.begin(), path.end(), '\\', '/');
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(test::GameRoot()) / path)) << path;
  }
}

}  // namespace
