#include "race/SplitBoard.h"

#include "core/StringUtil.h"
#include "gui/GuiTable.h"
#include "race/RaceGui.h"
#include "race/ResultOrder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

SplitBoardState g_splitBoard;

namespace {

constexpr std::uint8_t kIndividual = 0;

const char* TableOf(std::uint8_t mode) { return mode == kIndividual ? "Times1" : "Times2"; }

/// A text field of the row: up to its first zero, never past the field.
std::string_view Field(const char (&text)[N_SplitBoardRow::kTextSize]) {
  return {text, strnlen(text, N_SplitBoardRow::kTextSize)};
}

/// The time of a row; a time that is not a finite number is no time.
std::string TimeText(float seconds) { return std::isfinite(seconds) ? FormatRaceTime(seconds) : "Disq"; }

/// The time of a later row on the individual board: the gap to the first row, or the
/// row's own time when the first has no finite time to measure from.
std::string GapText(float seconds, float first) {
  if (!std::isfinite(seconds)) return "Disq";
  return std::isfinite(first) ? "+" + FormatRaceTime(seconds - first) : FormatRaceTime(seconds);
}

std::string IndividualRow(std::size_t i, const N_SplitBoardRow& row, float first) {
  const std::string head = UIntToString(static_cast<std::uint32_t>(i + 1)) + " " + IntToString(row.RacerId) + " " +
                           race_gui::Quoted(Field(row.Nation)) + " " + race_gui::Quoted(Field(row.Name)) + " ";
  return head + (i == 0 ? TimeText(row.Time) : GapText(row.Time, first));
}

std::string RelayRow(std::size_t i, const N_SplitBoardRow& row) {
  return UIntToString(static_cast<std::uint32_t>(i + 1)) + " " + race_gui::Quoted(Field(row.Nation)) + " " +
         TimeText(row.Time);
}

void OpenBoard(std::uint8_t mode) {
  race_gui::HideElement(TableOf(mode == kIndividual ? 1 : kIndividual));
  if (auto* table = race_gui::ElementAs<N_GuiTable>(TableOf(mode))) {
    table->Show();
    table->Clear();
    table->SelectRow(-1);
  }
  g_splitBoard.SplitBoardRows.clear();
  g_splitBoard.SplitBoardMode = mode;
  race_gui::ShowPage("SplitTimes", 2.0f);
}

}  // namespace

void ResetSplitBoardState() { g_splitBoard = SplitBoardState{}; }

void ShowSplitBoardIndividual() {
  g_splitBoard.SplitBoardPlayer = -1;
  OpenBoard(kIndividual);
}

void ShowSplitBoardRelay() { OpenBoard(1); }

void FillSplitTimeTable(const N_SplitBoardRow* row, bool isPlayer) {
  const std::uint8_t mode = g_splitBoard.SplitBoardMode;
  auto* table = race_gui::ElementAs<N_GuiTable>(TableOf(mode));
  if (!table || !row) return;
  if (isPlayer) g_splitBoard.SplitBoardPlayer = row->RacerId;
  std::vector<N_SplitBoardRow>& rows = g_splitBoard.SplitBoardRows;
  rows.push_back(*row);
  std::stable_sort(rows.begin(), rows.end(), [](const N_SplitBoardRow& a, const N_SplitBoardRow& b) {
    return CompareSplitRowTime(a, b) < 0;
  });

  std::int32_t selected = -1;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string text = mode == kIndividual ? IndividualRow(i, rows[i], rows.front().Time) : RelayRow(i, rows[i]);
    const auto at = static_cast<std::int32_t>(i);
    if (at < table->GetRowCount()) {
      table->SetRowText(text, at);
    } else {
      table->AddRow(text, false);
    }
    if (mode == kIndividual && g_splitBoard.SplitBoardPlayer != -1 && rows[i].RacerId == g_splitBoard.SplitBoardPlayer) {
      selected = at;
    }
  }
  // The relay board highlights nothing; the individual board the player's row.
  table->SelectRow(selected);
}

void CloseSplitTimes() { race_gui::ClosePage("SplitTimes", 2.0f); }
