#include "race/PursuitStart.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/GameLaunch.h"
#include "race/SetupPage.h"
#include "race/StartList.h"

#include <new>

float QualificationTime = 0.0f;

namespace {

/// The set-up elements the pursuit takes its course and field from.
struct PursuitElements {
  const char* level;
  const char* weather;
  const char* snow;
  const char* sex;
  const char* difficulty;
  const char* athletes;
};
constexpr PursuitElements kArcade{"Level1", "Weather1", "SnowQuality1", "Sex1", "Difficulty1", "Athlets1"};
constexpr PursuitElements kSingleRace{"Level3", "Weather3", "SnowQuality3", "Sex3", "Difficulty3", "Athlets3"};

constexpr std::uint8_t kPursuitLaps = 5;
/// Above any time a finisher can have.
constexpr float kNoTime = 99999.9f;

}  // namespace

bool RestartRace(std::int32_t resultHandle) {
  const int gameMode = g_varMng ? g_varMng->GetInt("gamemode") : -1;
  if (gameMode != 0 && gameMode != 1) return false;
  const PursuitElements& names = gameMode == 0 ? kArcade : kSingleRace;

  N_SetupPage page;
  const std::int32_t level = page.Image(names.level);
  const std::int32_t weather = page.Item(names.weather);
  const std::int32_t snow = page.Item(names.snow);
  const std::int32_t sex = page.Item(names.sex);
  const std::int32_t difficulty = page.Item(names.difficulty);
  const std::int32_t athlete = page.Row(names.athletes);
  if (!page.Complete()) {
    page.LogMissing("RestartRace", "the pursuit is not started");
    return false;
  }
  const ExportData* result = GetFinishedResult(resultHandle);
  if (!result) {
    if (g_log) g_log->Print("RestartRace: there is no race result to start the pursuit from\n");
    return false;
  }

  std::unique_ptr<GameData> data;
  try {
    data = std::make_unique<GameData>();
  } catch (const std::bad_alloc&) {
    ReportNoMemoryForGame();
  }
  // The finishers in result order; the fastest starts first, everybody else his gap later.
  float best = kNoTime;
  for (const N_ResultRow& row : result->Rows) {
    if (!(row.Time > 0.0f)) continue;
    data->StartList.push_back({row.AthleteIndex, row.Time});
    if (row.Time < best) best = row.Time;
  }
  std::int32_t player = -1;
  float qualification = 0.0f;
  for (std::size_t j = 0; j < data->StartList.size(); ++j) {
    StartEntry& entry = data->StartList[j];
    if (entry.AthleteIndex == athlete) {
      player = static_cast<std::int32_t>(j);
      qualification = entry.StartTime;
    }
    entry.StartTime = -(entry.StartTime - best);
  }
  if (player < 0) return false;

  data->ArcadeLevels = gameMode == 0 ? 1 : 0;
  data->Difficulty = difficulty != 0 ? 1 : 0;
  data->Sex = sex;
  data->Track = level;
  data->Weather = weather;
  data->SnowQuality = snow;
  data->PlayerIndex = static_cast<std::int8_t>(player);
  data->Discipline = DisciplineCode::kHunting;
  data->Laps = kPursuitLaps;
  FillStartListTables(*data);

  ReleaseFinishedResult(resultHandle);
  QualificationTime = qualification;
  if (g_varMng) g_varMng->SetInt("discipline", DisciplineCode::kHunting, 2);
  LaunchGame([&data] { return std::make_unique<N_GameArcade>(std::move(data)); });
  ShowStartList(DisciplineCode::kHunting);
  return true;
}
