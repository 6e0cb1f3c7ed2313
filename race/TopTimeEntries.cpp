#include "race/TopTimeEntries.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "gui/GuiEditBox.h"
#include "race/AthletProfile.h"
#include "race/ExportData.h"
#include "race/PursuitStart.h"
#include "race/RaceSimServices.h"
#include "race/PlayerRelayTeam.h"
#include "race/SetupPage.h"
#include "race/TopTimeTables.h"
#include "race/World.h"

#include <new>
#include <string>

namespace {

/// The set-up elements of a race entry.
struct RaceElements {
  const char* who;
  const char* level;
  const char* weather;
  const char* snow;
  const char* discipline;
  const char* sex;
  const char* difficulty;
  const char* athletes;
  const char* playerName;  ///< the name box, and the variable of the same name
};
constexpr RaceElements kArcade{"RecordArcadeHighScore", "Level1", "Weather1", "SnowQuality1", "Discipline1",
                               "Sex1", "Difficulty1", "Athlets1", "PlayerName1"};
constexpr RaceElements kSingleRace{"RecordSingleRaceHighScore", "Level3", "Weather3", "SnowQuality3", "Discipline3",
                                   "Sex3", "Difficulty3", "Athlets3", "PlayerName3"};

constexpr std::int32_t kPursuitIndex = 1;
constexpr std::int32_t kRelayIndex = 3;

/// The name box's text, stored in its variable; empty without the box.
std::string TakePlayerName(N_SetupPage& page, const char* name) {
  const N_GuiEditBox* box = page.EditBox(name);
  if (!box) return {};
  std::string text = box->GetCaption();
  if (g_varMng) g_varMng->SetString(name, text.c_str(), 2);
  return text;
}

const N_ResultRow* FindRow(const ExportData& result, std::int64_t athlete) {
  for (const N_ResultRow& row : result.Rows) {
    if (row.AthleteIndex == athlete) return &row;
  }
  return nullptr;
}

const N_AthletProfile* Athlete(std::int32_t sex, std::int64_t index) {
  if (!g_world || index < 0 || index > INT32_MAX) return nullptr;
  return FindStartAthlete(&g_world->AthletMng(), sex, static_cast<std::int32_t>(index));
}

/// A new table, or null (logged) without memory for it.
template <class Table>
std::unique_ptr<Table> MakeTable(const char* who) {
  try {
    return std::make_unique<Table>();
  } catch (const std::bad_alloc&) {
    if (g_log) g_log->Print("%s: no memory for the table, nothing entered\n", who);
    return nullptr;
  }
}

template <class Table>
void RecordRace(const RaceElements& names, const ExportData* result) {
  N_SetupPage page;
  const std::string playerName = TakePlayerName(page, names.playerName);
  const std::int32_t level = page.Image(names.level);
  const std::int32_t weather = page.Item(names.weather);
  const std::int32_t snow = page.Item(names.snow);
  const std::int32_t discipline = page.Item(names.discipline);
  const std::int32_t sex = page.Item(names.sex);
  const std::int32_t difficulty = page.Item(names.difficulty);
  const std::int32_t selected = page.Row(names.athletes);
  if (!page.Complete()) {
    page.LogMissing(names.who, "nothing is entered");
    return;
  }
  if (!result) return;
  const bool relay = discipline == kRelayIndex;
  if (relay && RelayTeam.empty()) return;
  const std::int64_t athleteIndex = relay ? std::int64_t(RelayTeam.front()) : selected;
  const N_ResultRow* row = FindRow(*result, athleteIndex);
  if (!row || !(row->Time > 0.0f)) return;
  const N_AthletProfile* athlete = Athlete(sex, athleteIndex);
  if (!athlete) {
    if (g_log) g_log->Print("%s: athlete %lld has no record, nothing entered\n", names.who, (long long)athleteIndex);
    return;
  }
  std::unique_ptr<Table> table = MakeTable<Table>(names.who);
  // A file that cannot be read or is damaged stays as it is (its load told the player).
  if (!table || !TakesEntries(table->Load())) return;
  const float time = discipline == kPursuitIndex ? row->Time + QualificationTime : row->Time;
  table->Insert(level, sex, discipline, difficulty, playerName, relay ? std::string() : athlete->AthletName,
                athlete->Nationality, weather, snow, time, row->Misses);
  table->Save();
}

}  // namespace

void RecordArcadeHighScore(const ExportData* result) { RecordRace<N_ArcadeHS>(kArcade, result); }

void RecordSingleRaceHighScore(const ExportData* result) { RecordRace<N_SingleRaceHS>(kSingleRace, result); }

bool RecordTimeAttackHighScore(const ExportData* result) {
  constexpr const char* kWho = "RecordTimeAttackHighScore";
  N_SetupPage page;
  const std::string playerName = TakePlayerName(page, "PlayerName2");
  const std::int32_t level = page.Image("Level2");
  const std::int32_t trackLength = page.Item("TrackLength");
  const std::int32_t sex = page.Item("Sex2");
  const std::int32_t gameMode = page.Item("GameMode");
  const std::int32_t difficulty = page.Item("Difficulty2");
  const std::int32_t selected = page.Row("Athlets2");
  if (!page.Complete()) {
    page.LogMissing(kWho, "nothing is entered");
    return false;
  }
  // A time attack has the player alone: the first row is his.
  if (!result || result->Rows.empty()) return false;
  const N_ResultRow& row = result->Rows.front();
  if (!(row.Time > 0.0f)) return false;
  const N_AthletProfile* athlete = Athlete(sex, selected);
  if (!athlete) {
    if (g_log) g_log->Print("%s: athlete %d has no record, nothing entered\n", kWho, selected);
    return false;
  }
  std::unique_ptr<N_TimeAttackHS> table = MakeTable<N_TimeAttackHS>(kWho);
  if (!table || !TakesEntries(table->Load())) return false;
  const bool best = table->Insert(level, trackLength, sex, gameMode, difficulty, playerName, athlete->AthletName,
                                  athlete->Nationality, row.Time, row.Misses);
  const bool saved = table->Save();
  return best && saved;
}
