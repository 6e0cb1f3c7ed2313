// The buddy games' top results: the page "BuddyGamesHS" with the chosen game's best
// ten, and the entry of a finished series into "data\tables\buddy_games.hs".
#include "frontend/BuddyGames.h"
#include "frontend/BuddySeries.h"
#include "frontend/FrontendUtil.h"
#include "gui/GuiElement.h"

#include <string_view>

std::unique_ptr<N_BuddyGamesHS> BuddyHSTable;

namespace {

constexpr const char* kHSFile = "data\\tables\\buddy_games.hs";

}  // namespace

void RecordBuddyScore() {
  N_BuddyGamesHS table;
  table.Load(kHSFile);
  for (const BuddyPlayer& player : BuddyPlayers) {
    if (player.points > 0 || player.time >= 0.0f) {
      table.Insert(BuddyGameIndex, player.name, player.nation, player.points, player.time);
    }
  }
  table.Save(kHSFile);
}


extern "C" void BuddyGamesHSShow(N_GuiPage*) {
  BuddyHSTable = std::make_unique<N_BuddyGamesHS>();
  BuddyHSTable->Load(kHSFile);
  BuddyHSTable->Display(BuddyGameIndex, BuddyGameKeepsPoints(BuddyGameIndex));
}

extern "C" void BuddyGamesHSClick(N_GuiElement* element) {
  if (!element || std::string_view(element->GetName()) != "Back19") return;
  BuddyHSTable.reset();
  frontend::HidePageNow("BuddyGamesHS");
  frontend::ShowPageNow("BuddyGames");
}
