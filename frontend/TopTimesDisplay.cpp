#include "frontend/TopTimesDisplay.h"

#include "core/FormatString.h"
#include "core/StringUtil.h"
#include "frontend/FrontendUtil.h"
#include "frontend/HighScoreRows.h"
#include "gui/GuiTable.h"
#include "race/StartInfo.h"
#include "race/TopTimeTables.h"

#include <string>

using namespace high_scores;

namespace {

/// The quoted player and athlete names and the nation of a row.
template <class Row>
std::string Names(const Row& row) {
  return NameCell(FieldText(row.PlayerName, sizeof row.PlayerName)) + " " +
         NameCell(FieldText(row.AthleteName, sizeof row.AthleteName)) + " " +
         WordCell(FieldText(row.Nation, sizeof row.Nation));
}

/// The rows of a block (row text by Line) into the GUI table.
template <class Table, class Line>
void Fill(const char* guiTable, const Table& table, std::int64_t block, Line line) {
  N_GuiTable* gui = frontend::GetElementOf<N_GuiTable>(guiTable);
  if (!gui) return;
  gui->Clear();
  if (block < 0) return;
  for (std::size_t slot = 0; slot < Table::kRowsPerBlock; ++slot) {
    const auto& row = table.At(std::size_t(block), slot);
    if (!row.Empty()) gui->AddRow(std::to_string(slot + 1) + " " + line(row), false);
  }
}

std::string TopTimeLine(const N_TopTimeRow& row) {
  return FormatString("%s %s %s %s %d", Names(row).c_str(), NameCell(GetWeatherName(row.Weather)).c_str(),
                      NameCell(GetSnowQualityName(row.SnowQuality)).c_str(), FormatRaceTime(row.Time).c_str(),
                      int(row.Misses));
}

}  // namespace

void DisplayArcadeHS(const N_ArcadeHS& table, std::int32_t track, std::int32_t sex, std::int32_t discipline,
                     std::int32_t difficulty) {
  Fill("ArcadeHS", table, N_ArcadeHS::BlockIndex(track, sex, discipline, difficulty), TopTimeLine);
}

void DisplaySingleRaceHS(const N_SingleRaceHS& table, std::int32_t track, std::int32_t sex, std::int32_t discipline,
                         std::int32_t difficulty) {
  Fill("SingleRaceHS", table, N_SingleRaceHS::BlockIndex(track, sex, discipline, difficulty), TopTimeLine);
}

void DisplayTimeAttackHS(const N_TimeAttackHS& table, std::int32_t level, std::int32_t trackLength, std::int32_t sex,
                         std::int32_t gameMode, std::int32_t difficulty) {
  Fill("TimeAttackHS", table, N_TimeAttackHS::BlockIndex(level, trackLength, sex, gameMode, difficulty),
       [](const N_TimeAttackRow& row) {
         return FormatString("%s %s %d", Names(row).c_str(), FormatRaceTime(row.Time).c_str(), int(row.Misses));
       });
}
