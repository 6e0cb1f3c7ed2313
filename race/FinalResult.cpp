#include "race/FinalResult.h"

#include "core/Globals.h"
#include "core/StringUtil.h"
#include "core/VarMng.h"
#include "gui/GuiTable.h"
#include "race/AthletProfile.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/PenaltyRounds.h"
#include "race/PlayerStatus.h"
#include "race/RaceGui.h"
#include "race/ResultOrder.h"
#include "race/ShootingPage.h"
#include "race/SplitBoard.h"
#include "race/StartInfo.h"
#include "race/World.h"
#include "render/Render.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::array<const char*, 4> kTables{"FR/Table", "FR/Table1", "FR/Table2", "FR/Table3"};
constexpr std::size_t kLegsPerTeam = 4;

int Variable(const char* name) { return g_varMng ? g_varMng->GetInt(name) : 0; }

/// Hides the other tables; shows and empties this one. Null when it is missing.
N_GuiTable* UseTable(const char* name) {
  for (const char* other : kTables) {
    if (std::string_view(other) != name) race_gui::HideElement(other);
  }
  auto* table = race_gui::ElementAs<N_GuiTable>(name);
  if (!table) return nullptr;
  table->Show();
  table->Clear();
  return table;
}

/// A lap or training time: any finite time, else "Disq".
std::string ClockText(float seconds) { return std::isfinite(seconds) ? FormatRaceTime(seconds) : "Disq"; }

std::string Count(std::int64_t value) {
  return IntToString(static_cast<std::int32_t>(
      std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max())));
}

void FillRunTraining(const ExportData& result) {
  N_GuiTable* table = UseTable("FR/Table1");
  if (!table) return;
  // Rows 0 to LapsDone, as far as the lap times go.
  const std::int64_t laps = std::min<std::int64_t>(std::int64_t(result.LapsDone) + 1, result.LapTimes.size());
  for (std::int64_t i = 0; i < laps; ++i) {
    table->AddRow(Count(i + 1) + " " + ClockText(result.LapTimes[std::size_t(i)]) + " " + Count(result.Faults), false);
  }
  table->AddRow("  ", false);
  table->AddRow(race_gui::Quoted(race_gui::Text("#str112")) + " " + ClockText(result.Time) + " " + Count(result.Faults),
                false);
}

void FillShootingLine(std::int64_t shots, std::int64_t misses, const std::string& time) {
  if (N_GuiTable* table = UseTable("FR/Table2")) table->AddRow(Count(shots) + " " + Count(shots - misses) + " " + time, false);
}

void FillBuddyGame(const ExportData& result, int gameMode) {
  race_gui::SetCaption("FR/Caption", race_gui::Text(gameMode == 4 ? "#str165" : "#str263"));
  const std::string time = result.Success ? ClockText(result.BuddyTime) : "Disq";
  if (Variable("discipline") == 0) {
    if (N_GuiTable* table = UseTable("FR/Table1")) {
      table->AddRow(race_gui::Quoted(race_gui::Text("#str112")) + " " + time + " ", false);
    }
    return;
  }
  FillShootingLine(result.BuddyShots, result.BuddyMisses, time);
}

/// The relay's legs as team rows: each team of four consecutive legs becomes one row
/// with the first leg's athlete, the sums of the times and misses and, as its start
/// number, the team's number on the start list; legs of an incomplete last team are
/// dropped. A team with a leg that has no time of its own
/// (given up, disqualified, stopped: negative; never skied: 0) is disqualified: its
/// time is -1, so it ranks last, shows "Disq" and enters no table.
void MergeRelayTeams(std::vector<N_ResultRow>& rows) {
  const std::size_t teams = rows.size() / kLegsPerTeam;
  for (std::size_t t = 0; t < teams; ++t) {
    N_ResultRow team = rows[t * kLegsPerTeam];
    team.StartNumber = static_cast<std::int32_t>(t + 1);
    float time = 0.0f;
    bool complete = true;
    std::int64_t misses = 0;
    for (std::size_t leg = 0; leg < kLegsPerTeam; ++leg) {
      const float legTime = rows[t * kLegsPerTeam + leg].Time;
      complete = complete && legTime > 0.0f;
      time += legTime;
      misses += rows[t * kLegsPerTeam + leg].Misses;
    }
    team.Time = complete ? time : -1.0f;
    team.Player = std::any_of(rows.begin() + std::ptrdiff_t(t * kLegsPerTeam),
                              rows.begin() + std::ptrdiff_t((t + 1) * kLegsPerTeam),
                              [](const N_ResultRow& leg) { return leg.Player; });
    team.Misses = static_cast<std::int32_t>(std::clamp<std::int64_t>(misses, std::numeric_limits<std::int32_t>::min(),
                                                                       std::numeric_limits<std::int32_t>::max()));
    rows[t] = team;
  }
  rows.resize(teams);
}

/// A race row's time: the first row's own, a later row's gap to it; "Disq" without a
/// real time (finite, not negative).
std::string RaceTime(std::size_t rank, float seconds, float first) {
  if (!race_gui::IsValidTime(seconds)) return "Disq";
  return rank == 0 ? FormatRaceTime(seconds) : "+" + FormatRaceTime(seconds - first);
}

void FillRace(ExportData& result) {
  N_GuiTable* table = UseTable("FR/Table");
  if (!table) return;
  std::vector<N_ResultRow>& rows = result.Rows;
  const bool relay = Variable("discipline") == 1;
  if (relay) MergeRelayTeams(rows);
  std::stable_sort(rows.begin(), rows.end(), ResultRowTimeLess);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const N_ResultRow& row = rows[r];
    const N_AthletProfile& athlete = race_gui::AthleteOrDefault(result.Sex, row.AthleteIndex);
    const std::string rank = UIntToString(static_cast<std::uint32_t>(r + 1));
    const std::string time = RaceTime(r, row.Time, rows.front().Time);
    const std::string nation = race_gui::Quoted(athlete.Nationality);
    if (relay) {
      // The team's number, as its start list numbered it, in the start-number column and
      // the label.
      const std::string number = IntToString(row.StartNumber);
      table->AddRow(rank + " " + number + " " + nation + " \"Team " + number + "\" " + Count(row.Misses) + " " + time,
                    false);
    } else {
      table->AddRow(rank + " " + IntToString(row.StartNumber) + " " + nation + " " + race_gui::Quoted(athlete.AthletName) +
                        " " + Count(row.Misses) + " " + time,
                    false);
    }
  }
  // The player finds his own row highlighted and in view.
  const auto player = std::find_if(rows.begin(), rows.end(), [](const N_ResultRow& row) { return row.Player; });
  if (player == rows.end()) return;
  const auto index = static_cast<std::int32_t>(player - rows.begin());
  table->ShowRow(index);
  table->SelectRow(index);
}

}  // namespace

void FillFinalResultTables(ExportData& result) {
  const int gameMode = Variable("gamemode");
  if (gameMode == 3) {
    if (result.Discipline == 12) {
      FillRunTraining(result);
    } else if (result.Discipline == 13) {
      FillShootingLine(result.Shots, result.Misses, ClockText(result.Time));
    }
    return;
  }
  if (gameMode == 4 || gameMode == 5) {
    FillBuddyGame(result, gameMode);
    return;
  }
  FillRace(result);
}

void ShowFinalResult(std::unique_ptr<ExportData> result) {
  if (!result) return;
  HidePlayerStatus();
  CloseShootingPage();
  ClosePenaltyRounds();
  CloseSplitTimes();
  CloseStartInfo();
  HideStopwatch();
  race_gui::ClosePage("BlackEyes", 2.0f);
  race_gui::ClosePage("BuddyStatus", 2.0f);
  if (g_world) g_world->CameraMng().SetRaceCameraMode(0);
  if (g_varMng) g_varMng->SetInt("viewmode", 0, 2);
  if (N_Game* game = g_world ? g_world->Game() : nullptr) {
    game->OnRemove();
    g_world->SetGame(nullptr);
  }
  if (g_render) g_render->SetPostFilterAmount(0.0f);
  ExportData& kept = *result;
  const std::int32_t handle = StoreFinishedResult(std::move(result));
  if (g_varMng) g_varMng->SetInt("egd", handle, 2);
  FillFinalResultTables(kept);
  race_gui::ShowPageImmediate("FinalResult");
}
