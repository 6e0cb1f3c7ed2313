#pragma once
// The buddy games' top scores "data\tables\buddy_games.hs": one block of ten
// BuddyPlayer rows for each of the six games (2,640 bytes). A row ranks by points
// (more first), then by time (shorter first); the table refuses a row with fewer than
// one point and a negative time (no result at all). An empty name is stored as the
// default player name.
#include "frontend/BuddyPlayer.h"
#include "race/BlockTable.h"

#include <cstdint>
#include <string_view>

class N_BuddyGamesHS final : public N_BlockTable<BuddyPlayer, 6> {
 public:
  static constexpr const char* kFile = "data\\tables\\buddy_games.hs";
  N_BuddyGamesHS() : N_BlockTable(kFile) {}

  /// Merges the row into the game's block and keeps the best ten; a game outside the
  /// table is refused with a log line.
  void Insert(std::int32_t game, std::string_view name, std::string_view nation, std::int32_t points, float time);
  /// Fills the GUI table "BuddyHS" with the game's rows: by points, the header "#str108"
  /// and `place "name" nation points`; else the header "#str257" and
  /// `place "name" nation time`. A slot whose first four name bytes are zero is not shown.
  void Display(std::int32_t game, bool byPoints) const;
};
static_assert(N_BuddyGamesHS::kBlockBytes == 440 && N_BuddyGamesHS::kFileBytes == 2640);
