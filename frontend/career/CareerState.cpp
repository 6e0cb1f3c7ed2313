#include "frontend/career/CareerState.h"

#include "frontend/career/CareerMainPage.h"
#include "race/World.h"

namespace career {
namespace {

std::unique_ptr<N_CareerProfile> g_profile;
CareerWeekState g_week;
std::unique_ptr<N_CareerHS> g_tables;  ///< kept changes of g_tablesSlot
std::int32_t g_tablesSlot = -1;
std::unique_ptr<N_CareerFinalHS> g_finalTable;
std::int32_t g_refusedSlot = -1;

}  // namespace

N_CareerProfile* Profile() { return g_profile.get(); }

N_CareerProfile& NewProfile() {
  ForgetChanges();
  SetProgramEndCall(&SaveCareerAtExit);
  g_profile = std::make_unique<N_CareerProfile>();
  return *g_profile;
}

void SetProfile(std::unique_ptr<N_CareerProfile> profile) {
  ForgetChanges();
  SetProgramEndCall(&SaveCareerAtExit);
  g_profile = std::move(profile);
}

void DeleteProfile() {
  ForgetChanges();
  g_profile.reset();
}

CareerWeekState& Week() { return g_week; }

N_CareerHS* TablesToChange(std::int32_t slot) {
  if (g_tables && g_tablesSlot == slot) return g_tables.get();
  auto tables = std::make_unique<N_CareerHS>();
  if (!TakesEntries(tables->Load(slot))) return nullptr;
  g_tables = std::move(tables);
  g_tablesSlot = slot;
  return g_tables.get();
}

const N_CareerHS* ChangedTables(std::int32_t slot) { return g_tablesSlot == slot ? g_tables.get() : nullptr; }

void KeepFinalTable(std::unique_ptr<N_CareerFinalHS> table) { g_finalTable = std::move(table); }
const N_CareerFinalHS* ChangedFinalTable() { return g_finalTable.get(); }

void ForgetChanges() {
  g_tables.reset();
  g_tablesSlot = -1;
  g_finalTable.reset();
}

std::int32_t& RefusedSlot() { return g_refusedSlot; }

}  // namespace career
