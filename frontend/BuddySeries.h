#pragma once
// A buddy series: the chosen game runs once for every player of BuddyPlayers, in list
// order, then the players are ranked. "Start7" starts it; the page "BuddyStart" hands
// the machine to the player whose turn comes ("Start9" begins the game, "End1" ends
// the series); each run's result reaches NextBuddyGame through the final-result page
// ("gamemode" 4), which starts the next turn or, after the last, shows the standings
// (ShowBuddyResults, "gamemode" 7); the next click there enters them into
// "data\tables\buddy_games.hs" (RecordBuddyScore).
#include "frontend/BuddyPlayer.h"

#include <cstdint>
#include <string>

class N_GuiElement;

/// "Start7": the OK box "#str322" without players; else every points and time reset,
/// the first player's game launched behind "BuddyStart".
void StartBuddySeries();

/// Launches one game for one player: the description from the game's row (one
/// starter, the athlete of the sex, -5.0 s), the level "Running" loaded again, the
/// race variables, the result page's headings, the game mode of the row's kind made,
/// loaded, initialised and paused. Neither "Loading" nor a start list: the caller
/// shows what is needed. Also the career's sponsor event.
void StartBuddyGame(std::int32_t athlete, std::int32_t sex, std::int32_t game, const std::string& name,
                    const std::string& nation);

/// Stores the result of the handle (released here) with the player whose game ended
/// and starts the next player's game behind "BuddyStart": true; false when the series
/// is over. A missing result counts as a failed run.
bool NextBuddyGame(std::int32_t resultHandle);

/// The standings on "FinalResult": the other tables hidden, "FR/Table3" with a header
/// of "#str108" (points) or "#str257" (times) and one row per player in ranked order;
/// "gamemode" 7.
void ShowBuddyResults();

/// Enters every player with points above 0 or a time of 0.0 or more into
/// "data\tables\buddy_games.hs" under the chosen game.
void RecordBuddyScore();

/// The ranking: negative when a ranks first, positive when b does, 0 when neither has
/// a result. More points first; without points, a real time before none, the smaller
/// time first. Equal non-zero points give negative both ways.
int CompareBuddyPlayers(const BuddyPlayer& a, const BuddyPlayer& b);
/// The same ranking as a strict order (equal results are equivalent), for sorting.
bool BuddyRanksBefore(const BuddyPlayer& a, const BuddyPlayer& b);

extern "C" {
/// Onclick of "Start9" and "End1" of the page "BuddyStart".
void BuddyGameStartClick(N_GuiElement* element);
}
