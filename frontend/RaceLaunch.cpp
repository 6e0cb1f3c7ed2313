#include "frontend/RaceLaunch.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "frontend/AthleteField.h"
#include "frontend/FrontendUtil.h"
#include "frontend/PageSwitch.h"
#include "frontend/RaceTables.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/GameRelay.h"
#include "race/LevelMap.h"
#include "race/LevelTables.h"
#include "race/RaceSound.h"
#include "race/StartList.h"
#include "race/World.h"

#include <new>
#include <string>

namespace launch {

namespace {

constexpr std::uint32_t kMakeVariable = 2;

void SetVariable(const char* name, std::int32_t value) {
  if (g_varMng) g_varMng->SetInt(name, value, kMakeVariable);
}

std::int32_t AthleteCount(std::int32_t sex) {
  if (!g_world) return 0;
  const N_AthletMng& athletes = g_world->AthletMng();
  return static_cast<std::int32_t>(sex == 0 ? athletes.GetMaleCount() : athletes.GetFemaleCount());
}

}  // namespace

std::unique_ptr<GameData> NewGameData() {
  try {
    return std::make_unique<GameData>();
  } catch (const std::bad_alloc&) {
    ReportNoMemoryForGame();
  }
}

void SetTrackMode(std::int32_t trackMode) {
  SetVariable("trackmode", trackMode);
  SetVariable("detail", 1);
  SetVariable("ShowAnimObj", 0);
}

void FillIndividualField(GameData& data, std::int32_t playerRow, bool massStart) {
  std::vector<std::int32_t> field;
  // The draw stops by itself when the sex has fewer than 15 athletes.
  PickRandomAthletes(0, AthleteCount(data.Sex) - 1, kRivals, playerRow, field);
  field.push_back(playerRow);
  data.StartList.clear();
  for (std::size_t i = 0; i < field.size(); ++i) {
    const float start = massStart ? 0.0f : static_cast<float>(i) * -kStartInterval;
    data.StartList.push_back({field[i], start});
  }
  data.PlayerIndex = static_cast<std::int8_t>(field.size() - 1);
}

void FillRelayField(GameData& data, const std::vector<std::uint32_t>& team) {
  std::vector<std::uint32_t> field;
  std::string nation;
  if (!team.empty() && g_world) {
    if (const N_AthletProfile* first = AthleteOfSex(g_world->AthletMng(), data.Sex, team.front())) {
      nation = first->Nationality;
    }
  }
  BuildRelayTeams(data.Sex, nation, field);
  // With too few nations the player's team runs alone, and its first member is entry 0.
  data.PlayerIndex = static_cast<std::int8_t>(field.size());
  field.insert(field.end(), team.begin(), team.end());
  data.StartList.clear();
  for (std::uint32_t athlete : field) data.StartList.push_back({static_cast<std::int32_t>(athlete), 0.0f});
}

void SwitchToLoading(const char* fromPage) { SwitchPageWithFade(fromPage, kLoadingPage, false); }

void SwitchRaceSounds(bool audience) { SwitchSoundGroupsToRace(audience); }

void FillStartPages(const GameData& data) {
  FillStartListTables(data);
  ShowLevelMap(data.Track, data.ArcadeLevels != 0);
}

bool IsLevelRow(std::int32_t row, bool arcadeTable) { return GetLevelName(row, arcadeTable)[0] != '\0'; }

bool LoadRaceLevel(std::int32_t row, bool arcadeTable, bool fog, bool snowfall) {
  const std::string file = GetLevelFileName(row, arcadeTable, fog);
  if (file.empty()) return false;
  if (!g_world) {
    if (g_log) g_log->Print("LoadRaceLevel: there is no world to load %s into\n", file.c_str());
    return false;
  }
  if (g_varMng) g_varMng->SetString("mapname", file.c_str(), kMakeVariable);
  g_world->LoadLevel();
  g_world->Level().SetSnow(snowfall ? 1 : 0);
  return true;
}

bool LoadRaceLevel(const GameData& data) {
  return LoadRaceLevel(data.Track, data.ArcadeLevels != 0, data.Weather != 0, data.Weather == 1);
}

void SetRaceVariables(std::int32_t gameMode, std::int32_t discipline) {
  SetVariable("gamemode", gameMode);
  SetVariable("discipline", discipline);
}

N_Game* InstallGame(const GameMaker& make) { return LaunchGame(make); }

N_Game* InstallArcadeGame(std::unique_ptr<GameData> data) {
  return LaunchGame([&data] { return std::make_unique<N_GameArcade>(std::move(data)); });
}

N_Game* InstallRelayGame(std::unique_ptr<GameData> data) {
  return LaunchGame([&data] { return std::make_unique<N_GameRelay>(std::move(data), N_RaceServices::FromWorld()); });
}

void CloseLoading() { frontend::ClosePage(kLoadingPage, kLoadingCloseRate); }

void ShowStartPage(std::int32_t discipline) { ShowStartList(discipline); }

}  // namespace launch
