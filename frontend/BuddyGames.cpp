#include "frontend/BuddyGames.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "frontend/BuddySeries.h"
#include "frontend/FrontendUtil.h"
#include "frontend/RaceTables.h"
#include "gui/GuiTable.h"

#include <cstdio>
#include <string_view>

std::vector<BuddyPlayer> BuddyPlayers;
std::int32_t BuddyGameIndex = 0;
std::int32_t BuddyPlayerIndex = 0;

namespace {

/// A row of "Buddy1": place (from 1), quoted name, nation code.
std::string PlayerRow(std::size_t place, const BuddyPlayer& player) {
  return std::to_string(place) + " " + frontend::QuotedCell(player.name) + " " + player.nation;
}

/// The game index moved by one step, wrapping within the six games.
void StepGame(std::int32_t step) {
  BuddyGameIndex = ((BuddyGameIndex + step) % kBuddyGameCount + kBuddyGameCount) % kBuddyGameCount;
  BuddyGamesShow(nullptr);
}

void AddPlayer(N_GuiElement& button) {
  auto* table = frontend::GetElementOf<N_GuiTable>("Buddy1");
  N_GuiElement* nameBox = frontend::GetElement("PlayerName4");
  // A full list takes nobody more (the disabled button guards it too).
  if (!table || !nameBox || BuddyPlayers.size() >= kMaxBuddyPlayers) return;
  const char* code = GetNationCode(frontend::SelectedImage("Natn2"));
  // An empty name is accepted: the table entry stores it as the default player name.
  BuddyPlayers.emplace_back(nameBox->GetCaption(), code);
  // The box is ready for the next player's name, not to be typed on after this one's.
  nameBox->SetCaption("");
  table->AddRow(PlayerRow(BuddyPlayers.size(), BuddyPlayers.back()), false);
  if (N_GuiElement* remove = frontend::GetElement("Remove2")) remove->SetEnabled(true);
  if (BuddyPlayers.size() >= kMaxBuddyPlayers) button.SetEnabled(false);
}

void RemovePlayer(N_GuiElement& button) {
  auto* table = frontend::GetElementOf<N_GuiTable>("Buddy1");
  if (!table) return;
  const std::int32_t row = table->GetSelectedRow();
  // Row i is record i; a row past the list (a table out of step) removes no record.
  if (row >= 0) {
    table->DeleteRow(row);
    if (static_cast<std::size_t>(row) < BuddyPlayers.size()) BuddyPlayers.erase(BuddyPlayers.begin() + row);
  }
  if (table->GetRowCount() > 0) {
    table->Clear();
    for (std::size_t i = 0; i < BuddyPlayers.size(); ++i) table->AddRow(PlayerRow(i + 1, BuddyPlayers[i]), false);
    if (N_GuiElement* add = frontend::GetElement("Add2")) add->SetEnabled(true);
    // The player who moved up into the removed row is selected; past the last row (or
    // without a selection) none, where the refilled table would keep its first row.
    table->SelectRow(row < table->GetRowCount() ? row : -1);
  } else {
    button.SetEnabled(false);
  }
}

}  // namespace

const BuddyGameRow& BuddyGameOf(std::int32_t game) {
  if (game < 0 || game >= kBuddyGameCount) {
    if (g_log) g_log->Print("BuddyGames: there is no game %d, game 0 is taken\n", game);
    return BuddyGameTable[0];
  }
  return BuddyGameTable[static_cast<std::size_t>(game)];
}

std::string BuddyGameKey(std::int32_t base, std::int32_t game) {
  char key[32];
  std::snprintf(key, sizeof key, "#str%03d", base + game);
  return key;
}

extern "C" void BuddyGamesShow(N_GuiPage*) {
  frontend::SetCaption("BuddyName", frontend::Text(BuddyGameKey(400, BuddyGameIndex).c_str()));
  frontend::SetCaption("BuddyText", frontend::Text(BuddyGameKey(410, BuddyGameIndex).c_str()));
}

extern "C" void BuddyGamesClick(N_GuiElement* element) {
  if (!element) return;
  const std::string_view name = element->GetName();
  if (name == "Back18") {
    frontend::HidePageNow("BuddyGames");
    frontend::ShowPageNow("Background");
    frontend::ShowPageNow("TrainingFun");
  } else if (name == "TopTimes4") {
    frontend::HidePageNow("BuddyGames");
    frontend::ShowPageNow("BuddyGamesHS");
  } else if (name == "Left1") {
    StepGame(-1);
  } else if (name == "Right1") {
    StepGame(1);
  } else if (name == "Add2") {
    AddPlayer(*element);
  } else if (name == "Remove2") {
    RemovePlayer(*element);
  } else if (name == "Start7") {
    StartBuddySeries();
  }
}
