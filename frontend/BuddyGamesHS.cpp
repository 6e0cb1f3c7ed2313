#include "frontend/BuddyGamesHS.h"

#include "core/FormatString.h"
#include "frontend/FrontendUtil.h"
#include "frontend/HighScoreRows.h"
#include "gui/GuiTable.h"

using namespace high_scores;

void N_BuddyGamesHS::Insert(std::int32_t game, std::string_view name, std::string_view nation, std::int32_t points,
                            float time) {
  if (game < 0 || std::size_t(game) >= kBlocks) {
    LogOutside(FormatString("buddy game %d", game).c_str());
    return;
  }
  BuddyPlayer row(StoredName(name), nation);
  row.points = points;
  row.time = time;
  Merge(std::size_t(game), row, !(points < 1 && time < 0.0f));
}

void N_BuddyGamesHS::Display(std::int32_t game, bool byPoints) const {
  N_GuiTable* table = frontend::GetElementOf<N_GuiTable>("BuddyHS");
  if (!table) return;
  table->Clear();
  table->SetHeaderText(frontend::Text(byPoints ? "#str108" : "#str257"));
  if (game < 0 || std::size_t(game) >= kBlocks) return;
  for (std::size_t slot = 0; slot < kRowsPerBlock; ++slot) {
    const BuddyPlayer& row = At(std::size_t(game), slot);
    if ((row.name[0] | row.name[1] | row.name[2] | row.name[3]) == 0) continue;
    const std::string result = byPoints ? std::to_string(row.points) : TimeOrDisq(row.time);
    table->AddRow(FormatString("%zu %s %s %s", slot + 1, NameCell(FieldText(row.name, sizeof row.name)).c_str(),
                               WordCell(FieldText(row.nation, sizeof row.nation)).c_str(), result.c_str()),
                  false);
  }
}
