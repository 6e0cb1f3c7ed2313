// The fill functions of the race pages over random records: athlete indices beyond
// the lists, negative, infinite and NaN times, lap counts past their times, a thousand
// rows, long names with quotes, percent signs and bytes above 127, empty codes and codes
// holding a blank. Nothing may crash, no row may grow a table's columns, and the tables
// that are rewritten in place (the shoot table, the split boards) keep no stale row.
#include "core/Random.h"
#include "core/StringUtil.h"
#include "core/VarMng.h"
#include "gui/GuiTable.h"
#include "race/AthletProfile.h"
#include "race/ExportData.h"
#include "race/FinalResult.h"
#include "race/GameData.h"
#include "race/PlayerStatus.h"
#include "race/ShootingPage.h"
#include "race/SplitBoard.h"
#include "race/StartList.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

int Pick(int n) { return Rand() % n; }

std::string HostileText(std::size_t length) {
  static const char kSpecial[] = {'"', '\'', '%', ' ', '\t', '/', '\\', '#'};
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    text += Pick(3) == 0 ? kSpecial[Pick(int(sizeof kSpecial))] : static_cast<char>(Pick(256));
  }
  return text;
}

std::string HostileCode() {
  switch (Pick(5)) {
    case 0: return "";
    case 1: return "S K";
    case 2: return "\"Q\"";
    case 3: return HostileText(3);
    default: return "GER";
  }
}

float HostileTime() {
  switch (Pick(7)) {
    case 0: return -1.0f;
    case 1: return std::numeric_limits<float>::quiet_NaN();
    case 2: return std::numeric_limits<float>::infinity();
    case 3: return -std::numeric_limits<float>::infinity();
    case 4: return -RandomRange(0.0f, 1e6f);
    default: return RandomRange(0.0f, 10000.0f);
  }
}

std::int32_t HostileIndex() {
  switch (Pick(6)) {
    case 0: return INT_MIN;
    case 1: return INT_MAX;
    case 2: return -1 - Pick(10);
    default: return Pick(400);
  }
}

std::int32_t HostileCount() {
  switch (Pick(5)) {
    case 0: return INT_MIN;
    case 1: return INT_MAX;
    default: return Pick(40) - 5;
  }
}

/// Every table of the pages with its column count as the scripts give it.
std::map<std::string, std::uint32_t> ColumnCounts(test::RacePagesRig& r) {
  std::map<std::string, std::uint32_t> counts;
  for (const char* name : {"FR/Table", "FR/Table1", "FR/Table2", "FR/Table3", "SL/Table", "SL/Table1", "SL/Table2",
                           "Times1", "Times2", "ShootTable"}) {
    counts[name] = r.ElementAs<N_GuiTable>(name).GetColumnCount();
  }
  return counts;
}

void ExpectRowsWithin(test::RacePagesRig& r, const std::map<std::string, std::uint32_t>& columns) {
  for (const auto& [name, count] : columns) {
    EXPECT_EQ(r.ElementAs<N_GuiTable>(name.c_str()).GetColumnCount(), count) << name << " grew its columns";
    for (const auto& row : r.Rows(name.c_str())) ASSERT_LE(row.size(), count) << name;
  }
}

TEST(RacePagesRobustness, RandomRecordsKeepEveryTableToItsColumns) {
  test::RacePagesRig r;
  N_VarMng& vars = *r.rig.core.vars;
  Srand(30);
  for (std::size_t i = 0; i < 8; ++i) {
    for (N_AthletProfile* athlete : {r.World().AthletMng().GetMale(i), r.World().AthletMng().GetFemale(i)}) {
      if (!athlete) continue;
      athlete->AthletName = HostileText(300);
      athlete->Nationality = HostileCode();
    }
  }
  const std::map<std::string, std::uint32_t> columns = ColumnCounts(r);
  EXPECT_EQ(columns.at("FR/Table"), 6u);
  EXPECT_EQ(columns.at("ShootTable"), 8u);

  for (int round = 0; round < 120; ++round) {
    SCOPED_TRACE(round);
    const int modes[] = {0, 1, 3, 4, 5, 6};
    vars.SetInt("gamemode", modes[Pick(6)], 2);
    vars.SetInt("discipline", Pick(5), 2);
    ExportData result;
    const int kinds[] = {12, 13, 5};
    result.Discipline = kinds[Pick(3)];
    result.Sex = Pick(4) == 0 ? 7 : Pick(2);
    const std::size_t rows = round == 7 ? 1000 : std::size_t(Pick(40));
    for (std::size_t k = 0; k < rows; ++k) {
      N_ResultRow row;
      row.AthleteIndex = HostileIndex();
      row.Time = HostileTime();
      row.Misses = HostileCount();
      row.StartNumber = HostileCount();
      result.Rows.push_back(row);
    }
    const std::int32_t laps[] = {-1, 10000, INT_MAX, INT_MIN, Pick(5)};
    result.LapsDone = laps[Pick(5)];
    for (int k = Pick(4); k > 0; --k) result.LapTimes.push_back(HostileTime());
    result.Time = HostileTime();
    result.BuddyTime = HostileTime();
    result.Shots = HostileCount();
    result.Misses = HostileCount();
    result.Faults = HostileCount();
    result.BuddyShots = HostileCount();
    result.BuddyMisses = HostileCount();
    result.Success = std::uint8_t(Pick(2));
    const bool relay = vars.GetInt("discipline") == 1;
    const int mode = vars.GetInt("gamemode");
    const bool race = mode != 3 && mode != 4 && mode != 5;
    FillFinalResultTables(result);
    if (race) {
      EXPECT_EQ(result.Rows.size(), relay ? rows / 4 : rows);
      EXPECT_EQ(r.Rows("FR/Table").size(), result.Rows.size());
    }

    GameData data;
    const std::int32_t disciplines[] = {1, 2, 3, 4, 12, 13, 0, 99};
    data.Discipline = disciplines[Pick(8)];
    data.Sex = Pick(4) == 0 ? -3 : Pick(2);
    data.Track = HostileIndex();
    data.ArcadeLevels = std::uint8_t(Pick(2));
    for (int k = Pick(30); k > 0; --k) data.StartList.push_back({HostileIndex(), HostileTime()});
    FillStartListTables(data);
    ExpectRowsWithin(r, columns);
  }
}

TEST(RacePagesRobustness, RewrittenTablesKeepNoStaleRow) {
  test::RacePagesRig r;
  Srand(31);
  for (int board = 0; board < 12; ++board) {
    SCOPED_TRACE(board);
    const bool relay = Pick(2) == 1;
    if (relay) {
      ShowSplitBoardRelay();
    } else {
      ShowSplitBoardIndividual();
    }
    auto& table = r.ElementAs<N_GuiTable>(relay ? "Times2" : "Times1");
    const std::uint32_t columns = table.GetColumnCount();
    for (int arrival = 0; arrival < 25; ++arrival) {
      N_SplitBoardRow row;
      const std::string name = HostileText(N_SplitBoardRow::kTextSize);
      const std::string nation = Pick(2) ? HostileCode() : HostileText(N_SplitBoardRow::kTextSize);
      std::copy_n(name.begin(), N_SplitBoardRow::kTextSize, row.Name);  // no end within the field
      std::fill(std::begin(row.Nation), std::end(row.Nation), '\0');
      std::copy_n(nation.begin(), std::min<std::size_t>(nation.size(), N_SplitBoardRow::kTextSize), row.Nation);
      row.Time = HostileTime();
      row.RacerId = HostileIndex();
      FillSplitTimeTable(&row, Pick(4) == 0);
      const std::vector<N_SplitBoardRow>& kept = g_splitBoard.SplitBoardRows;
      const auto shown = r.Rows(relay ? "Times2" : "Times1");
      ASSERT_EQ(shown.size(), kept.size());
      for (std::size_t i = 0; i < shown.size(); ++i) {
        ASSERT_EQ(shown[i].size(), columns) << i;
        EXPECT_EQ(shown[i][0], std::to_string(i + 1));
        if (!relay) {
          EXPECT_EQ(shown[i][1], IntToString(kept[i].RacerId)) << "row " << i << " is the sorted row's";
        }
      }
      EXPECT_EQ(table.GetColumnCount(), columns);
    }
  }

  // The shoot table with a hostile name and flag: one row of eight cells, its penalty
  // cell always the bout's count.
  for (int bout = 0; bout < 20; ++bout) {
    SCOPED_TRACE(bout);
    const std::string name = HostileText(std::size_t(Pick(300)));
    const std::string nation = HostileCode();
    ShowPlayerStatus(name.c_str(), nation.c_str());
    ShowShootingPage();
    for (int shot = 0; shot < 7; ++shot) {
      UpdateShootTable(std::uint8_t(Rand()));
      if (Pick(5) == 0) AddBullets(Pick(3));
      const auto rows = r.Rows("ShootTable");
      ASSERT_EQ(rows.size(), 1u);
      ASSERT_EQ(rows[0].size(), 8u);
      EXPECT_EQ(rows[0][2], "PENALTY" + std::to_string(g_shootingHud.MissCount));
    }
  }
}

}  // namespace
