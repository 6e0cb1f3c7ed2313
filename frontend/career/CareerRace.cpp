#include "frontend/career/CareerRace.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "frontend/CareerTables.h"
#include "frontend/FrontendUtil.h"
#include "frontend/RaceLaunch.h"
#include "frontend/career/CareerEnd.h"
#include "frontend/career/CareerProfileFile.h"
#include "frontend/career/CareerRoster.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerWeekHeader.h"
#include "frontend/career/CareerRaceWear.h"
#include "frontend/career/CareerSeason.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/World.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

namespace career {

namespace {

constexpr std::int32_t kFieldSize = static_cast<std::int32_t>(N_CareerProfile::kFieldSize);
constexpr std::int32_t kRacesPerSeason = 10, kSeasons = 10;
constexpr std::int32_t kCareerRaceMode = 6;  ///< "gamemode" of a career race
constexpr std::int32_t kCareerTrackMode = 1;
constexpr std::int32_t kSprintLaps = 3, kPursuitLaps = 5;
constexpr std::int32_t kPrizes[kFieldSize] = {7500, 5000, 3000, 1500, 1000, 500, 250, 250,
                                              250,  250,  250,  250,  250,  250,  250};

// The week's stages (`stage`): before a race, also the career tables' discipline of it.
constexpr std::int32_t kSprintStage = 0, kPursuitStage = 1, kNoPursuitStage = 2, kAfterExtraStage = 3;

void Log(const char* format, const char* what) {
  if (g_log) g_log->Print(format, what);
}

/// The week's track: a row of the full level table, -1 for a race outside the season.
std::int32_t WeekTrack(const N_CareerProfile& profile) {
  const std::int32_t race = profile.raceIndex;
  return race >= 0 && race < kRacesPerSeason ? profile.trackOrder[race] : -1;
}

/// Weather and snow: 0, 1 or 2, the middle twice as often.
std::int32_t DrawOfThree() { return static_cast<std::int32_t>(std::lround(RandomRange(0.0f, 2.0f))); }

/// The start list of a sprint or mass start: the field's athletes in order (unfilled
/// places left out), the player's athlete last. The player's start index.
std::int32_t FillFieldStart(N_CareerProfile& profile, GameData& data, bool massStart) {
  profile.field[kFieldSize - 1] = profile.athleteIndex;
  for (std::int32_t athlete : profile.field) {
    if (athlete < 0) continue;
    const float start = massStart ? 0.0f : static_cast<float>(data.StartList.size()) * -launch::kStartInterval;
    data.StartList.push_back({athlete, start});
  }
  return static_cast<std::int32_t>(data.StartList.size()) - 1;
}

/// The pursuit's start list from the profile's list; the index of the player's first
/// entry, -1 when the player has none.
std::int32_t FillPursuitStart(const N_CareerProfile& profile, GameData& data) {
  std::int32_t player = -1;
  const std::int32_t count = std::clamp(profile.pursuitCount, 0, kFieldSize);
  for (std::int32_t i = 0; i < count; ++i) {
    const auto& entry = profile.pursuitList[i];
    if (player < 0 && entry.athlete == profile.athleteIndex) player = i;
    data.StartList.push_back({entry.athlete, entry.offset});
  }
  return player;
}

/// A pursuit without the player: the computer runs it at once on the loaded level, and
/// the world hands its result to the result page at its next frame. The game stays
/// paused as it was made: a paused game still hands its result over.
void SimulatePursuitWithoutPlayer(std::unique_ptr<GameData> data) {
  data->PlayerIndex = -1;
  data->Laps = kSprintLaps;
  launch::SetRaceVariables(kCareerRaceMode, DisciplineCode::kHunting);
  N_Game* game = launch::InstallArcadeGame(std::move(data));
  if (auto* arcade = dynamic_cast<N_GameArcade*>(game)) arcade->Simulate();
}

/// Enters the rows of a race (a block holds 15 places) into the career tables under
/// the discipline, with the points of each row; a row whose athlete is no athlete of
/// the profile's sex is left out.
void BookRows(const char* who, N_CareerHS& tables, const N_CareerProfile& profile, const ExportData& result,
              std::int32_t discipline, bool pointsNeedTime) {
  const std::int32_t track = WeekTrack(profile);
  const std::size_t rows = std::min<std::size_t>(result.Rows.size(), kFieldSize);
  if (result.Rows.size() > rows && g_log) {
    g_log->Print("%s: %zu rows past the 15th are not booked\n", who, result.Rows.size() - rows);
  }
  for (std::size_t i = 0; i < rows; ++i) {
    const N_ResultRow& row = result.Rows[i];
    const N_AthletProfile* athlete = RosterAthlete(profile.sex, row.AthleteIndex);
    if (!athlete) {
      if (g_log) g_log->Print("%s: row %zu names athlete %d, who is not in the list\n", who, i, row.AthleteIndex);
      continue;
    }
    const auto place = static_cast<std::int32_t>(i);
    const std::int32_t points = pointsNeedTime && !(row.Time > 0.0f) ? 0 : CareerPoints(place);
    tables.AddResult(place, profile.season, track, discipline, athlete->AthletName, athlete->Nationality, row.Time,
                     row.Misses, points);
  }
}

/// The week's pursuit scored without running it, from the sprint's rows: each time
/// stretched to the pursuit's length with a random swing and the misses shifted by up
/// to two; the rows without a time keep it and lose their misses; then the rows ordered
/// by time and booked as the pursuit.
void SimulateCareerPursuit(const N_CareerProfile& profile, ExportData& sprint) {
  // The tables the sprint was booked in, saved with the profile.
  N_CareerHS* tables = TablesToChange(profile.number);
  if (!tables) return;
  for (N_ResultRow& row : sprint.Rows) {
    if (row.Time > 0.0f) {
      row.Time = row.Time * 1.6666666f + RandomRange(-20.0f, 20.0f);
      row.Misses += static_cast<std::int32_t>(std::lround(RandomRange(-2.0f, 2.0f)));
      row.Misses = std::max(row.Misses, 0);
    } else {
      row.Misses = 0;
    }
  }
  std::stable_sort(sprint.Rows.begin(), sprint.Rows.end(), ResultRowTimeBefore);
  BookRows("SimulateCareerPursuit", *tables, profile, sprint, kPursuitStage, true);
}

/// After a sprint: the pursuit's start list from the rows with a time (gaps to the
/// winner as negative offsets), or, when the player has none, the pursuit scored at
/// once without the player and the week's pursuit passed over.
void BuildPursuitList(N_CareerProfile& profile, ExportData& result, std::int32_t playerPlace) {
  profile.pursuitCount = 0;
  for (std::size_t i = 0; i < result.Rows.size(); ++i) {
    const N_ResultRow& row = result.Rows[i];
    if (row.Time > 0.0f) {
      // The list holds the 15 of a field, each an athlete of the profile's sex.
      if (profile.pursuitCount >= kFieldSize || !RosterAthlete(profile.sex, row.AthleteIndex)) continue;
      auto& entry = profile.pursuitList[profile.pursuitCount++];
      entry.athlete = row.AthleteIndex;
      entry.offset = -(row.Time - result.Rows.front().Time);
    } else if (static_cast<std::int32_t>(i) == playerPlace) {
      profile.stage = kNoPursuitStage;
      profile.pursuitCount = 0;
      SimulateCareerPursuit(profile, result);
      return;
    }
  }
  if (profile.pursuitCount > 0) profile.stage = kPursuitStage;
}

/// The week's races are over: the next week, or the season's end and the next season,
/// or after the tenth season the end of the career.
void EndRaceWeek(N_CareerProfile& profile) {
  ++profile.raceIndex;
  ApplyRaceStrain();
  if (profile.raceIndex < kRacesPerSeason) {
    StartCareerWeek();
    return;
  }
  profile.raceIndex = 0;
  EndCareerSeason();
  ++profile.season;
  if (profile.season >= kSeasons) {
    FinishCareer();
    return;
  }
  StartCareerSeason();
  StartCareerWeek();
}

}  // namespace

std::int32_t CareerPrize(std::int32_t place) { return place >= 0 && place < kFieldSize ? kPrizes[place] : 0; }

std::int32_t CareerPoints(std::int32_t place) { return place >= 0 && place < kFieldSize ? 14 - place : 0; }

}  // namespace career

using namespace career;

int CompareResultRowTimes(const N_ResultRow& a, const N_ResultRow& b) {
  // A time that is not a number counts as none.
  const bool aTimed = a.Time >= 0.0f, bTimed = b.Time >= 0.0f;
  if (!aTimed || !bTimed) return aTimed == bTimed ? 0 : (aTimed ? -1 : 1);
  if (a.Time < b.Time) return -1;
  return a.Time > b.Time ? 1 : 0;
}

bool ResultRowTimeBefore(const N_ResultRow& a, const N_ResultRow& b) { return CompareResultRowTimes(a, b) < 0; }

void StartCareerRace(std::int32_t discipline) {
  N_CareerProfile* profile = Profile();
  if (!profile) {
    Log("StartCareerRace: %s\n", "there is no career profile, nothing starts");
    return;
  }
  if (discipline != DisciplineCode::kSprint && discipline != DisciplineCode::kHunting &&
      discipline != DisciplineCode::kMassStart) {
    if (g_log) g_log->Print("StartCareerRace: discipline %d is no career race, nothing starts\n", discipline);
    return;
  }
  const std::int32_t track = WeekTrack(*profile);
  if (!launch::IsLevelRow(track, false)) {
    if (g_log) {
      g_log->Print("StartCareerRace: race %d has track %d, which is no level, nothing starts\n", profile->raceIndex,
                   track);
    }
    return;
  }

  std::unique_ptr<GameData> data = launch::NewGameData();
  const bool pursuit = discipline == DisciplineCode::kHunting;
  const std::int32_t player = pursuit ? FillPursuitStart(*profile, *data)
                                      : FillFieldStart(*profile, *data, discipline == DisciplineCode::kMassStart);
  data->Difficulty = profile->difficulty != 0 ? 1 : 0;
  data->Sex = profile->sex;
  data->Track = track;
  data->Discipline = discipline;
  data->Weather = DrawOfThree();
  data->SnowQuality = DrawOfThree();
  data->PlayerIndex = static_cast<std::int8_t>(player);
  data->ArcadeLevels = 0;
  data->Laps = static_cast<std::uint8_t>(pursuit ? kPursuitLaps : kSprintLaps);
  if (player < 0) {
    SimulatePursuitWithoutPlayer(std::move(data));
    return;
  }

  launch::SetTrackMode(kCareerTrackMode);
  launch::SwitchToLoading("Career");
  frontend::HidePageNow("CareerHS");
  launch::SwitchRaceSounds(true);
  launch::FillStartPages(*data);
  launch::LoadRaceLevel(*data);
  launch::SetRaceVariables(kCareerRaceMode, discipline);
  launch::InstallArcadeGame(std::move(data));
  launch::CloseLoading();
  launch::ShowStartPage(discipline);
}

void ProcessCareerRaceResult(std::int32_t resultHandle) {
  N_CareerProfile* profile = Profile();
  ExportData* result = GetFinishedResult(resultHandle);
  if (!profile || !result) {
    Log("ProcessCareerRaceResult: %s\n", profile ? "there is no result to book" : "there is no career profile, the result is dropped");
    ReleaseFinishedResult(resultHandle);
    return;
  }
  // Tables that cannot be read or are damaged take no result (the player was told):
  // the race is not booked at all, and no file changes.
  N_CareerHS* tables = TablesToChange(profile->number);
  if (!tables) {
    ReleaseFinishedResult(resultHandle);
    return;
  }

  std::int32_t place = -1;
  for (std::size_t i = 0; i < result->Rows.size(); ++i) {
    if (result->Rows[i].AthleteIndex == profile->athleteIndex) {
      place = static_cast<std::int32_t>(i);
      break;
    }
  }
  if (place >= 0 && place < kFieldSize) {
    career::AddToTotal(profile->account, CareerPrize(place));
    career::AddToTotal(profile->points, CareerPoints(place));
  }
  BookRows("ProcessCareerRaceResult", *tables, *profile, *result, profile->stage, false);

  ApplyCareerRaceWear(*result, place);
  if (profile->stage == kSprintStage) {
    BuildPursuitList(*profile, *result, place);
  } else {
    ++profile->stage;
  }
  ReleaseFinishedResult(resultHandle);

  const bool extraWeek = Week().extraRaceWeek;
  if ((profile->stage == kNoPursuitStage && !extraWeek) || (profile->stage == kAfterExtraStage && extraWeek)) {
    EndRaceWeek(*profile);
  }
  // The tables, the roster and the profile are saved together: a kill leaves the race
  // booked in all of them or in none.
  Week().weekPlayedOut = false;
  SaveCareerProfile(*profile);
  ResetWeekdaySelection();
}
