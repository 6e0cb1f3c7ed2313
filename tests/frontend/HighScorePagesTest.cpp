// The displays of the six tables (their cells, quoted names that keep their columns,
// empty slots left out, the buddy headers) and the arcade and single-race top-times
// pages (the block of the selectors, a selector click, the way back).
#include "frontend/BuddyGamesHS.h"
#include "frontend/CareerTables.h"
#include "frontend/TopTimesDisplay.h"
#include "frontend/TopTimesPages.h"

#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "tests/race/SetupPagesRig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using test::SetupPagesRig;
using Rows = std::vector<std::vector<std::string>>;

/// Stand-ins of the GUI tables whose pages other parts of the game bring, made only
/// where the sample data has none.
void AddMissingTables(SetupPagesRig& r) {
  N_GuiMng& gui = r.World().GuiMng();
  std::string script = "HighScoreStandIns\n{\n";
  for (const std::string name : {"BuddyHS", "CareerHS", "CareerHS1", "CareerHS2", "TimeAttackHS"}) {
    if (gui.Elements().count(name)) continue;
    script += "container Table(" + name + ")\n{\nwidth 600\nheight 400\ncolumntypes text text text text\nheader A B C D\n}\n";
  }
  r.rig.harness.dir.Write("standins.gui", script + "}\n");
  gui.ParseGuiFile(r.rig.harness.dir.Path() + "/standins.gui");
}

std::vector<std::string> Header(SetupPagesRig& r, const char* table) {
  std::vector<std::string> cells;
  for (const auto& [name, cell] : r.ElementAs<N_GuiTable>(table).GetHeaderPanel()->Children()) {
    cells.push_back(cell->GetCaption());
  }
  return cells;
}

TEST(HighScoreDisplays, RowsKeepTheirColumnsAndLeaveEmptySlotsOut) {
  SetupPagesRig r;
  AddMissingTables(r);
  r.strings.Remove("#str300");
  r.strings.Add("#str300", "Clear sky");  // a blank inside a cell

  N_ArcadeHS arcade;
  arcade.Insert(0, 0, 0, 0, "Player A", "Athlete B", "NOR", 0, 1, 75.25f, 2);
  arcade.Insert(0, 0, 0, 0, "Say \"hi\"", "", "GER", 0, 1, 80.0f, 0);
  DisplayArcadeHS(arcade, 0, 0, 0, 0);
  EXPECT_EQ(r.Rows("ArcadeHS"), (Rows{{"1", "Player A", "Athlete B", "NOR", "Clear sky", "Wet snow", "01:15.250", "2"},
                                      {"2", "Say 'hi'", "", "GER", "Clear sky", "Wet snow", "01:20.000", "0"}}));
  DisplayArcadeHS(arcade, 8, 0, 0, 0);
  EXPECT_TRUE(r.Rows("ArcadeHS").empty()) << "a block outside the table shows nothing";

  // A file with a gap: the empty slot is not shown, the next keeps its place.
  std::string bytes(N_SingleRaceHS::kBlockBytes, '\0');
  N_TopTimeRow second;
  std::strcpy(second.PlayerName, "Late");
  second.Time = 61.0f;
  second.Write(bytes.data() + N_TopTimeRow::kBytes);
  N_SingleRaceHS single;
  single.Read(bytes.data(), bytes.size());
  DisplaySingleRaceHS(single, 0, 0, 0, 0);
  ASSERT_EQ(r.Rows("SingleRaceHS").size(), 1u);
  EXPECT_EQ(r.Rows("SingleRaceHS")[0][0], "2");

  N_TimeAttackHS attack;
  attack.Insert(1, 0, 1, 0, 1, "P", "A", "SUI", 299.5f, 1);
  DisplayTimeAttackHS(attack, 1, 0, 1, 0, 1);
  EXPECT_EQ(r.Rows("TimeAttackHS"), (Rows{{"1", "P", "A", "SUI", "04:59.500", "1"}}));

  // Buddy: the header of the kind of result; an empty name is shown as the default.
  N_BuddyGamesHS buddy;
  buddy.Insert(0, "", "NOR", 5, 61.5f);
  buddy.Display(0, true);
  EXPECT_EQ(Header(r, "BuddyHS"), (std::vector<std::string>{"No.", "Name", "Nation", "Points"}));
  EXPECT_EQ(r.Rows("BuddyHS"), (Rows{{"1", "Player", "NOR", "5"}}));
  buddy.Display(0, false);
  EXPECT_EQ(Header(r, "BuddyHS"), (std::vector<std::string>{"No.", "Name", "Nation", "Time"}));
  EXPECT_EQ(r.Rows("BuddyHS"), (Rows{{"1", "Player", "NOR", "01:01.500"}}));

  N_CareerHS career;
  career.AddResult(0, 0, 0, 0, "Dan", "FIN", -1.0f, 4, 0);
  career.AddResult(1, 0, 0, 0, "Eve", "", 700.0f, 0, 13);
  career.DisplayResults(0, 0, 0);
  EXPECT_EQ(r.Rows("CareerHS2"), (Rows{{"1", "Dan", "FIN", "Disq", "4", "0"}, {"2", "Eve", "", "11:40.000", "0", "13"}}));
  career.DisplayStandings();
  const Rows standings = r.Rows("CareerHS1");
  ASSERT_EQ(standings.size(), 2u);
  EXPECT_EQ(standings[0], (std::vector<std::string>{"1", "Eve", "", "13", "13", "0", "0", "0", "0", "0", "0", "0",
                                                    "0", "0"}));
  EXPECT_EQ(standings[1].size(), 14u);

  N_CareerFinalHS final;
  final.Insert(0, "Eve", "EST", 1000, 5);
  final.Display(0);
  EXPECT_EQ(r.Rows("CareerHS"), (Rows{{"1", "Eve", "EST", "1000", "5"}}));
}

/// Deterministic bytes, zeros now and then, so that some names end and some do not.
std::string Garbage(std::uint32_t seed, std::size_t size) {
  std::string out(size, '\0');
  for (char& c : out) {
    seed = seed * 1664525u + 1013904223u;
    c = (seed >> 24) % 7 == 0 ? '\0' : static_cast<char>(seed >> 16);
  }
  return out;
}

TEST(HighScoreDisplays, GarbageFilesDisplayTakeInsertsAndSaveWhole) {
  SetupPagesRig r;
  AddMissingTables(r);
  const test::TempDir& dir = r.rig.harness.dir;
  struct Case {
    const char* file;
    std::size_t bytes;
    std::function<bool()> exercise;  ///< load, display, insert, save
  };
  const Case cases[] = {
      {"buddy_games.hs", N_BuddyGamesHS::kFileBytes,
       [] {
         N_BuddyGamesHS t;
         t.Load();
         for (int game = 0; game < 6; ++game) t.Display(game, game % 2 == 0);
         t.Insert(3, "p", "GER", 1, 2.0f);
         return t.Save();
       }},
      {"career.hs", N_CareerFinalHS::kFileBytes,
       [] {
         N_CareerFinalHS t;
         t.Load();
         t.Display(0);
         t.Display(1);
         t.Insert(1, "p", "GER", 1, 2);
         return t.Save();
       }},
      {"career2.hs", N_CareerHS::kFileBytes,
       [] {
         N_CareerHS t;
         t.Load(2);
         t.DisplayStandings();
         t.DisplayResults(9, 9, 2);
         t.AddResult(14, 9, 9, 2, "p", "GER", 1.0f, 0, 1);
         return t.Save(2);
       }},
  };
  for (const Case& c : cases) {
    for (std::uint32_t i = 0; i < 12; ++i) {
      const std::size_t length = i == 0 ? 0 : (i * 2654435761u) % (2 * c.bytes + 1);
      dir.Write(std::string("data/tables/") + c.file, Garbage(i + 1, length));
      ASSERT_TRUE(c.exercise()) << c.file << " " << length;
      EXPECT_EQ(dir.Read(std::string("data/tables/") + c.file).size(), c.bytes);
    }
  }
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path() + "/data/tables")) {
    files.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(files.size(), 3u) << "no temporary file left";
}

struct PageCase {
  const char* page;
  const char* setupPage;
  const char* track;
  const char* sex;
  const char* discipline;
  const char* difficulty;
  const char* back;
  std::size_t tracks;
  std::function<void(int discipline, const char* player)> insert;  ///< into (2, 1, discipline, 0), saved
  std::function<bool()> open;                                      ///< the page's table is held
  void (*click)(N_GuiElement*);
};
void PrintTo(const PageCase& c, std::ostream* out) { *out << c.page; }

template <class Table>
void InsertSaved(int discipline, const char* player) {
  Table table;
  table.Load();
  table.Insert(2, 1, discipline, 0, player, "Athlete", "NOR", 0, 0, 100.0f, 0);
  table.Save();
}

const PageCase kPages[] = {
    {"ArcadeHS", "Arcade", "Track8", "Sex8", "Discipline8", "Difficulty8", "Back16", 8, InsertSaved<N_ArcadeHS>,
     [] { return ArcadeHSTable != nullptr; }, ArcadeHSClick},
    {"SingleRaceHS", "SingleRace", "Track9", "Sex9", "Discipline9", "Difficulty9", "Back17", 10,
     InsertSaved<N_SingleRaceHS>, [] { return SingleRaceHSTable != nullptr; }, SingleRaceHSClick},
};

// Each case makes its own game root: one process each.
class TopTimesPage : public testing::TestWithParam<PageCase> {};

TEST_P(TopTimesPage, ShowsTheChosenBlockAndGoesBack) {
  const PageCase& c = GetParam();
  SetupPagesRig r;
  c.insert(1, "Pursuer");
  c.insert(2, "Masser");
  auto select = [&](const char* name, std::uint32_t item) { r.ElementAs<N_GuiTextSelector>(name).SetSelected(item); };
  EXPECT_EQ(r.ElementAs<N_GuiTextSelector>(c.track).Items().size(), c.tracks);
  EXPECT_EQ(r.ElementAs<N_GuiTextSelector>(c.discipline).Items().size(), 4u);
  select(c.track, 2);
  select(c.sex, 1);
  select(c.discipline, 1);
  select(c.difficulty, 0);

  r.World().GuiMng().GetPage(c.setupPage)->Hide();
  r.World().GuiMng().GetPage(c.page)->ShowImmediate();
  EXPECT_TRUE(c.open());
  ASSERT_EQ(r.Rows(c.page).size(), 1u);
  EXPECT_EQ(r.Rows(c.page)[0][1], "Pursuer");

  select(c.discipline, 2);
  c.click(&r.Element(c.discipline));
  ASSERT_EQ(r.Rows(c.page).size(), 1u);
  EXPECT_EQ(r.Rows(c.page)[0][1], "Masser");

  c.click(&r.Element(c.back));
  EXPECT_FALSE(c.open());
  EXPECT_FALSE(r.PageVisible(c.page));
  EXPECT_TRUE(r.PageVisible(c.setupPage));
  EXPECT_EQ(r.NewLog().find("not found"), std::string::npos);
}
INSTANTIATE_TEST_SUITE_P(Pages, TopTimesPage, testing::ValuesIn(kPages),
                         [](const auto& info) { return std::string(info.param.page); });

}  // namespace
