#include "frontend/CareerTables.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "frontend/FrontendUtil.h"
#include "gui/GuiTable.h"
#include "platform/win32/FileReplace.h"
#include "platform/win32/Files.h"
#include "race/FileProblems.h"

#include <algorithm>
#include <cstdint>

#include <cstdio>

using namespace high_scores;

namespace {

void Log(const std::string& line) {
  if (g_log) g_log->Print("%s\n", line.c_str());
}

/// The GUI table emptied for new rows, or null when the page lacks it.
N_GuiTable* ClearedTable(const char* name) {
  N_GuiTable* table = frontend::GetElementOf<N_GuiTable>(name);
  if (table) table->Clear();
  return table;
}

template <class Row>
std::string NameAndNation(const Row& row) {
  return NameCell(FieldText(row.Name, sizeof row.Name)) + " " + WordCell(FieldText(row.Nation, sizeof row.Nation));
}

}  // namespace

// ---- Final career table ----

void N_CareerFinalHS::Insert(std::int32_t difficulty, std::string_view name, std::string_view nation,
                             std::int32_t account, std::int32_t points) {
  if (difficulty < 0 || std::size_t(difficulty) >= kBlocks) {
    LogOutside(FormatString("career difficulty %d", difficulty).c_str());
    return;
  }
  N_CareerFinalRow row;
  CopyField(row.Name, StoredName(name));
  CopyField(row.Nation, nation);
  row.Account = account;
  row.Points = points;
  Merge(std::size_t(difficulty), row, points > 0);
}

void N_CareerFinalHS::Display(std::int32_t difficulty) const {
  N_GuiTable* table = ClearedTable("CareerHS");
  if (!table || difficulty < 0 || std::size_t(difficulty) >= kBlocks) return;
  for (std::size_t slot = 0; slot < kRowsPerBlock; ++slot) {
    const N_CareerFinalRow& row = At(std::size_t(difficulty), slot);
    if (row.Empty()) continue;
    table->AddRow(FormatString("%zu %s %d %d", slot + 1, NameAndNation(row).c_str(), row.Account, row.Points), false);
  }
}

// ---- Career profile table ----

std::string N_CareerHS::FileName(std::int32_t profile) { return FormatString("data\\tables\\career%d.hs", profile); }

N_CareerHS::N_CareerHS() : m_standings("career standings"), m_results("career results") {}

TableFile N_CareerHS::Load(std::int32_t profile) {
  const std::string name = FileName(profile);
  std::string bytes;
  const TableFile state = ReadTableFile(name, bytes);
  if (state != TableFile::Read) return state;
  if (bytes.size() < kFileBytes) Log(FormatString("%s: %zu of %zu bytes read", name.c_str(), bytes.size(), kFileBytes));
  const std::size_t front = std::min(bytes.size(), kStandingsBytes);
  m_standings.Read(bytes.data(), front);
  m_results.Read(bytes.data() + front, bytes.size() - front);
  // Both pieces lose their faulty rows; the first fault found is told.
  const std::string standings = m_standings.EmptyFaultyRows(), results = m_results.EmptyFaultyRows();
  const std::string fault = standings.empty() ? results : "standings: " + standings;
  if (fault.empty()) return TableFile::Read;
  ReportFileProblem(file_problem::Damaged(name, fault, kTableLeftAlone));
  return TableFile::Damaged;
}

bool N_CareerHS::Save(std::int32_t profile) const {
  const std::string name = FileName(profile);
  std::string why;
  if (platform::ReplaceWholeFile(name.c_str(), Bytes(), &why)) return true;
  ReportFileProblem(file_problem::NotSaved(name, why, "the new entries are lost."));
  return false;
}

std::string N_CareerHS::Bytes() const { return m_standings.Bytes() + m_results.Bytes(); }

std::int64_t N_CareerHS::ResultBlock(std::int32_t season, std::int32_t level, std::int32_t discipline) {
  if (season < 0 || season >= kSeasons || level < 0 || level >= kLevels || discipline < 0 ||
      discipline >= kDisciplines) {
    return -1;
  }
  return (std::int64_t(season) * kLevels + level) * kDisciplines + discipline;
}

void N_CareerHS::AddResult(std::int32_t place, std::int32_t season, std::int32_t level, std::int32_t discipline,
                           std::string_view name, std::string_view nation, float time, std::int32_t misses,
                           std::int32_t points) {
  const std::int64_t block = ResultBlock(season, level, discipline);
  if (block < 0 || place < 0 || std::size_t(place) >= kRows) {
    Log(FormatString("career results: place %d of season %d, level %d, discipline %d is outside the table, nothing "
                     "entered",
                     place, season, level, discipline));
    return;
  }
  // The name as the rows hold it, so that a long name finds its own row again.
  N_CareerResultRow result;
  CopyField(result.Name, StoredName(name));
  CopyField(result.Nation, nation);
  result.Time = time;
  result.Misses = misses;
  result.Points = points;
  if (const std::string fault = result.Fault(); !fault.empty()) {
    // What the load would refuse is never entered.
    Log(FormatString("career results: a row of %s is not entered", fault.c_str()));
    return;
  }
  const std::string stored = FieldText(result.Name, sizeof result.Name);

  N_CareerStandingsRow* row = nullptr;
  for (std::size_t slot = 0; slot < kRows && !row; ++slot) {
    N_CareerStandingsRow& candidate = m_standings.Slot(0, slot);
    if (SameIgnoringCase(FieldText(candidate.Name, sizeof candidate.Name), stored)) row = &candidate;
  }
  for (std::size_t slot = 0; slot < kRows && !row; ++slot) {
    // An empty slot holds no points, whatever its bytes after the name's zero say.
    if (m_standings.Slot(0, slot).Empty()) *(row = &m_standings.Slot(0, slot)) = N_CareerStandingsRow{};
  }
  if (row && (std::int64_t(row->Total) + points > INT32_MAX ||
              std::int64_t(row->LevelPoints[level]) + points > INT32_MAX)) {
    Log(FormatString("career standings: %s has too many points to take %d more, nothing entered", stored.c_str(),
                     points));
    return;
  }
  if (row) {
    CopyField(row->Name, stored);
    CopyField(row->Nation, nation);
    row->Total = WrappingAdd(row->Total, points);
    row->LevelPoints[level] = WrappingAdd(row->LevelPoints[level], points);
  }
  m_standings.SortWhole(0);
  m_results.Slot(std::size_t(block), std::size_t(place)) = result;
}

void N_CareerHS::ClearStandings() {
  for (std::size_t slot = 0; slot < kRows; ++slot) m_standings.Slot(0, slot) = N_CareerStandingsRow{};
}

std::int32_t N_CareerHS::FindAthlete(std::string_view name) const {
  for (std::size_t slot = 0; slot < kRows; ++slot) {
    const N_CareerStandingsRow& row = Standing(slot);
    if (!row.Empty() && FieldText(row.Name, sizeof row.Name) == name) return std::int32_t(slot);
  }
  return -1;
}

void N_CareerHS::DisplayStandings() const {
  N_GuiTable* table = ClearedTable("CareerHS1");
  if (!table) return;
  for (std::size_t slot = 0; slot < kRows; ++slot) {
    const N_CareerStandingsRow& row = Standing(slot);
    if (row.Empty()) continue;
    std::string line = FormatString("%zu %s %d", slot + 1, NameAndNation(row).c_str(), row.Total);
    for (const std::int32_t points : row.LevelPoints) line += " " + std::to_string(points);
    table->AddRow(line, false);
  }
}

void N_CareerHS::DisplayResults(std::int32_t season, std::int32_t level, std::int32_t discipline) const {
  N_GuiTable* table = ClearedTable("CareerHS2");
  const std::int64_t block = ResultBlock(season, level, discipline);
  if (!table || block < 0) return;
  for (std::size_t place = 0; place < kRows; ++place) {
    const N_CareerResultRow& row = Result(std::size_t(block), place);
    if (row.Empty()) continue;
    table->AddRow(FormatString("%zu %s %s %d %d", place + 1, NameAndNation(row).c_str(), TimeOrDisq(row.Time).c_str(),
                               row.Misses, row.Points),
                  false);
  }
}
