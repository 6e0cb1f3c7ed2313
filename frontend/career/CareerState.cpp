#include "frontend/career/CareerState.h"

#include "frontend/career/CareerMainPage.h"
#include "platform/win32/Files.h"
#include "race/FileProblems.h"
#include "race/World.h"

namespace career {
namespace {

std::unique_ptr<N_CareerProfile> g_profile;
CareerWeekState g_week;
std::unique_ptr<N_CareerHS> g_tables;  ///< kept changes of g_tablesSlot
std::int32_t g_tablesSlot = -1;
std::unique_ptr<N_CareerFinalHS> g_finalTable;
std::int32_t g_refusedSlot = -1;
std::int32_t g_missingTablesSaid = -1;  ///< the slot whose missing tables were said

}  // namespace

N_CareerProfile* Profile() { return g_profile.get(); }

N_CareerProfile& NewProfile() {
  ForgetChanges();
  g_missingTablesSaid = -1;
  SetProgramEndCall(&SaveCareerAtExit);
  g_profile = std::make_unique<N_CareerProfile>();
  return *g_profile;
}

void SetProfile(std::unique_ptr<N_CareerProfile> profile) {
  ForgetChanges();
  g_missingTablesSaid = -1;
  SetProgramEndCall(&SaveCareerAtExit);
  g_profile = std::move(profile);
}

void DeleteProfile() {
  ForgetChanges();
  g_missingTablesSaid = -1;
  g_profile.reset();
}

CareerWeekState& Week() { return g_week; }

N_CareerHS* TablesToChange(std::int32_t slot) {
  if (g_tables && g_tablesSlot == slot) return g_tables.get();
  if (g_profile && g_profile->number == slot) SayWhenTablesMissing(*g_profile);
  auto tables = std::make_unique<N_CareerHS>();
  if (!TakesEntries(tables->Load(slot))) return nullptr;
  g_tables = std::move(tables);
  g_tablesSlot = slot;
  return g_tables.get();
}

const N_CareerHS* ChangedTables(std::int32_t slot) { return g_tablesSlot == slot ? g_tables.get() : nullptr; }

void SayWhenTablesMissing(const N_CareerProfile& profile) {
  // A career that has raced saved its tables with its first race.
  const bool raced = profile.season > 0 || profile.raceIndex > 0 || profile.stage > 0;
  if (!profile.started || !raced || ChangedTables(profile.number) || g_missingTablesSaid == profile.number) return;
  const std::string tables = N_CareerHS::FileName(profile.number);
  if (platform::IdentifyFile(tables)) return;
  g_missingTablesSaid = profile.number;
  ReportFileProblem(tables + ", the tables of a started career, is missing: its standings start empty.");
}

void KeepFinalTable(std::unique_ptr<N_CareerFinalHS> table) { g_finalTable = std::move(table); }
const N_CareerFinalHS* ChangedFinalTable() { return g_finalTable.get(); }

void ForgetChanges() {
  g_tables.reset();
  g_tablesSlot = -1;
  g_finalTable.reset();
}

std::int32_t& RefusedSlot() { return g_refusedSlot; }

std::string& RefusedSlotProblem() {
  static std::string problem;
  return problem;
}

}  // namespace career
