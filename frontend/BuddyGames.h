#pragma once
// The buddy games: up to four players, entered by name and nation on the page
// "BuddyGames", take turns at one of six short games and are ranked. This file holds
// the games' table, the page state that lives for the whole run of the program (the
// players, the chosen game, whose turn it is, the open high-score table) and the
// callbacks of "BuddyGames" and "BuddyGamesHS". The series itself (its start, the
// turns, the standings and their entry) is frontend/BuddySeries.h.
#include "frontend/BuddyPlayer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class N_BuddyGamesHS;
class N_GuiElement;
class N_GuiPage;

/// One game: its kind and the limits the game mode reads from the description.
struct BuddyGameRow {
  std::uint8_t Kind;        ///< 0 running game, 1 shooting game
  float TimeLimit;          ///< seconds; -1.0 none
  std::uint8_t Faultless;   ///< 1: the first miss or fall fails the game
  std::int32_t TargetHits;  ///< hits that end a shooting game, -1 none; its low byte is the lap count
  std::uint8_t Sway;        ///< 1 standing shooting, 0 prone
  std::int32_t ShotLimit;   ///< shots that end a shooting game, -1 none
};

inline constexpr std::uint8_t kBuddyRunning = 0;
inline constexpr std::uint8_t kBuddyShooting = 1;
inline constexpr std::int32_t kBuddyGameCount = 6;
inline constexpr std::size_t kMaxBuddyPlayers = 4;

/// The six games; games 0 and 1 keep the hits as points, the others the time.
inline constexpr std::array<BuddyGameRow, kBuddyGameCount> BuddyGameTable{{
    {kBuddyShooting, 60.0f, 0, -1, 1, -1},
    {kBuddyShooting, 60.0f, 1, -1, 0, -1},
    {kBuddyRunning, -1.0f, 0, 2, 0, -1},
    {kBuddyRunning, -1.0f, 1, 1, 0, -1},
    {kBuddyShooting, -1.0f, 0, 20, 1, -1},
    {kBuddyShooting, -1.0f, 0, -1, 0, 35},
}};

/// The players in the order they were entered; row i of "Buddy1" is record i.
extern std::vector<BuddyPlayer> BuddyPlayers;
/// The chosen game, 0 to 5.
extern std::int32_t BuddyGameIndex;
/// During a series, the index in BuddyPlayers of the player whose game runs or comes.
extern std::int32_t BuddyPlayerIndex;
/// The high-score table while "BuddyGamesHS" is open.
extern std::unique_ptr<N_BuddyGamesHS> BuddyHSTable;

/// The row of a game; a game outside the table gives game 0's (and a log line).
const BuddyGameRow& BuddyGameOf(std::int32_t game);
/// Whether the game keeps points (games 0 and 1) rather than times.
inline bool BuddyGameKeepsPoints(std::int32_t game) { return game < 2; }
/// The string-table key "#str%03d" of base + game: 400 the titles, 410 the descriptions.
std::string BuddyGameKey(std::int32_t base, std::int32_t game);

extern "C" {
/// Onshow of "BuddyGames": the chosen game's title in "BuddyName", its description in
/// "BuddyText".
void BuddyGamesShow(N_GuiPage* page);
/// Onclick of the buttons of "BuddyGames": "Back18", "TopTimes4", "Left1", "Right1",
/// "Add2", "Remove2" and "Start7".
void BuddyGamesClick(N_GuiElement* element);
/// Onshow of "BuddyGamesHS": reads "data\tables\buddy_games.hs" and shows the chosen
/// game's best ten (points for games 0 and 1, else times).
void BuddyGamesHSShow(N_GuiPage* page);
/// Onclick of "Back19": frees the table and returns to "BuddyGames".
void BuddyGamesHSClick(N_GuiElement* element);
}
