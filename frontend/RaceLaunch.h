#pragma once
// The steps of a race launch from the menus. Every launcher (arcade, single race, their
// relays, time attack, trainings, buddy games, career race) composes these in its own
// order; none of them is a launch on its own. The usual individual race:
//
//   auto data = launch::NewGameData();             // no memory: the critical error
//   ...fill the description's fields...
//   launch::SetTrackMode(2);                        // also "detail" 1, "ShowAnimObj" 0
//   launch::FillIndividualField(*data, playerRow, massStart);
//   launch::SwitchToLoading("Arcade");
//   launch::SwitchRaceSounds(true);
//   launch::FillStartPages(*data);
//   launch::LoadRaceLevel(*data);                   // "mapname", the level, its snowfall
//   launch::SetRaceVariables(0, data->Discipline);  // "gamemode", "discipline"
//   const std::int32_t discipline = data->Discipline;
//   launch::InstallArcadeGame(std::move(data));     // through LaunchGame (race/GameLaunch.h)
//   launch::CloseLoading();
//   launch::ShowStartPage(discipline);
//
// Without a world the steps that need one log and do nothing; without the variable
// registry the variables are skipped. The variables are set with flags 2 (made when
// missing).
#include <cstdint>
#include <memory>
#include <vector>

#include "race/GameLaunch.h"

struct GameData;
class N_Game;

namespace launch {

/// The loading page the launches switch to and close.
inline constexpr const char* kLoadingPage = "Loading";
/// Its fade-out rate (opacity per second) once the game is installed.
inline constexpr float kLoadingCloseRate = 2.0f;
/// The individual race's field: 14 drawn rivals, then the player; start interval 7 s.
inline constexpr std::int32_t kRivals = 14;
inline constexpr float kStartInterval = 7.0f;

/// A fresh description with its defaults. Without memory: the launch contract's
/// critical error (ReportNoMemoryForGame, which does not return).
std::unique_ptr<GameData> NewGameData();

/// "trackmode" (2 arcade, 1 single and career race) with the race's drawing: "detail"
/// 1 and "ShowAnimObj" 0 (the menus put back 0 and 1).
void SetTrackMode(std::int32_t trackMode);

/// The interval or mass start of one player among the athletes of data.Sex: up to 14
/// rivals drawn among the other athletes of the sex (as many as there are when fewer),
/// then the player's row; start times 0, -7, -14 ... or all 0 for a mass start.
/// PlayerIndex becomes the player's entry. The start list is replaced.
void FillIndividualField(GameData& data, std::int32_t playerRow, bool massStart);

/// The relay's start list: the three opposing teams BuildRelayTeams draws for the team's
/// nation (none when it finds too few nations), then the team in leg order, every start
/// time 0. PlayerIndex becomes the entry of the team's first member (12, or 0 for the
/// team alone). The start list is replaced; the team is left as it is.
void FillRelayField(GameData& data, const std::vector<std::uint32_t>& team);

/// The faded switch from the set-up page to "Loading" (no menu snow), whose onshow
/// resets the progress bar.
void SwitchToLoading(const char* fromPage);

/// The race's sound categories (SwitchSoundGroupsToRace): the four options switches,
/// the audience as given, the music off.
void SwitchRaceSounds(bool audience);

/// The start-list pages from the description and the level map of its track.
void FillStartPages(const GameData& data);

/// Whether the row names a level of the table the flag chooses (selector values that
/// the page's items do not cover are refused before anything changes).
bool IsLevelRow(std::int32_t row, bool arcadeTable);

/// "mapname" = the level file of the row ("fog_" prefix when fog), the world's
/// LoadLevel, then the level's snowfall on or off. False (nothing loaded) for a row
/// outside the table or without a world.
bool LoadRaceLevel(std::int32_t row, bool arcadeTable, bool fog, bool snowfall);
/// The same from the description: fog for any weather but 0, snowfall for weather 1.
bool LoadRaceLevel(const GameData& data);

/// "gamemode" and "discipline".
void SetRaceVariables(std::int32_t gameMode, std::int32_t discipline);

/// Replaces the world's game through LaunchGame: OnRemove and delete the old one, then
/// Load, Init, SetPaused(1) and two timer ticks. The installed game, null without a
/// world.
N_Game* InstallGame(const GameMaker& make);
/// N_GameArcade with the description (the arcade, single and career races).
N_Game* InstallArcadeGame(std::unique_ptr<GameData> data);
/// N_GameRelay with the description.
N_Game* InstallRelayGame(std::unique_ptr<GameData> data);

/// Fades "Loading" out at 2.0 a second.
void CloseLoading();

/// The start-list page of the discipline, at once.
void ShowStartPage(std::int32_t discipline);

}  // namespace launch
