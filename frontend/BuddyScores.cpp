// The buddy games' top results: the page "BuddyGamesHS" with the chosen game's best
// ten, and the entry of a finished series into "data\tables\buddy_games.hs".
#include "frontend/BuddyGames.h"
#include "frontend/BuddyGamesHS.h"
#include "frontend/BuddySeries.h"
#include "frontend/FrontendUtil.h"
#include "gui/GuiElement.h"

#include <new>
#include <string_view>

std::unique_ptr<N_BuddyGamesHS> BuddyHSTable;

void RecordBuddyScore() {
  std::unique_ptr<N_BuddyGamesHS> table(new (std::nothrow) N_BuddyGamesHS);
  // A missing file is an empty table; one that cannot be read or is damaged stays as it
  // is (its load told the player).
  if (!table || !TakesEntries(table->Load())) return;
  for (const BuddyPlayer& player : BuddyPlayers) {
    // Neither points nor a time: nothing to enter.
    if (player.points > 0 || player.time >= 0.0f) {
      table->Insert(BuddyGameIndex, player.name, player.nation, player.points, player.time);
    }
  }
  table->Save();
}

extern "C" void BuddyGamesHSShow(N_GuiPage*) {
  BuddyHSTable.reset(new (std::nothrow) N_BuddyGamesHS);
  if (!BuddyHSTable) return;
  BuddyHSTable->Load();
  BuddyHSTable->Display(BuddyGameIndex, BuddyGameKeepsPoints(BuddyGameIndex));
}

extern "C" void BuddyGamesHSClick(N_GuiElement* element) {
  if (!element || std::string_view(element->GetName()) != "Back19") return;
  BuddyHSTable.reset();
  frontend::HidePageNow("BuddyGamesHS");
  frontend::ShowPageNow("BuddyGames");
}
