#include "race/StartList.h"

#include "core/StringUtil.h"
#include "gui/GuiTable.h"
#include "race/AthletProfile.h"
#include "race/GameData.h"
#include "race/LevelTables.h"
#include "race/RaceGui.h"

#include <cmath>
#include <string>

namespace {

constexpr std::int32_t kRelayLegs = 4;

/// What a discipline fills: the start-list caption, title and table (null for none)
/// and the title's text key.
struct ListElements {
  const char* caption = nullptr;
  const char* title = nullptr;
  const char* table = nullptr;
  const char* titleKey = nullptr;
};

ListElements ElementsOf(std::int32_t discipline) {
  switch (discipline) {
    case DisciplineCode::kRelay: return {"SL/Caption2", "SL/Discipline2", "SL/Table2", "#str311"};
    case DisciplineCode::kMassStart: return {"SL/Caption1", "SL/Discipline1", "SL/Table1", "#str310"};
    case DisciplineCode::kHunting: return {"SL/Caption", "SL/Discipline", "SL/Table", "#str309"};
    case DisciplineCode::kSprint: return {"SL/Caption", "SL/Discipline", "SL/Table", "#str308"};
    case DisciplineCode::kRunTraining: return {nullptr, nullptr, nullptr, "#str135"};
    case DisciplineCode::kShootingTraining: return {nullptr, nullptr, nullptr, "#str147"};
    default: return {};
  }
}

/// The row of start-list entry i: number, flag (the nation code), name, then the team
/// (relay), nothing (mass start) or the gap to the first starter (pursuit, sprint).
std::string StartRow(std::int32_t discipline, std::size_t i, const StartEntry& entry, std::int32_t sex) {
  const N_AthletProfile& athlete = race_gui::AthleteOrDefault(sex, entry.AthleteIndex);
  const std::string head = UIntToString(static_cast<std::uint32_t>(i + 1)) + " " +
                           race_gui::Quoted(athlete.Nationality) + " " + race_gui::Quoted(athlete.AthletName);
  switch (discipline) {
    case DisciplineCode::kRelay: return head + " " + UIntToString(static_cast<std::uint32_t>(i / kRelayLegs + 1));
    case DisciplineCode::kMassStart: return head;
    default: return head + (i == 0 ? " 00:00.000" : " +" + FormatRaceTime(std::fabs(entry.StartTime)));
  }
}

}  // namespace

void ShowStartList(std::int32_t discipline) {
  switch (discipline) {
    case DisciplineCode::kRelay: race_gui::ShowPageImmediate("StartListRelay"); break;
    case DisciplineCode::kMassStart: race_gui::ShowPageImmediate("StartListMass"); break;
    case DisciplineCode::kHunting:
    case DisciplineCode::kSprint: race_gui::ShowPageImmediate("StartList"); break;
    default: break;
  }
}

void FillStartListTables(const GameData& gameData) {
  const std::string level = GetLevelName(gameData.Track, gameData.ArcadeLevels != 0);
  const ListElements list = ElementsOf(gameData.Discipline);
  if (list.caption) race_gui::SetCaption(list.caption, level);
  race_gui::SetCaption("FR/Caption", level);

  const std::string sexText = race_gui::Text(gameData.Sex == 0 ? "#str306" : "#str307");
  const std::string title = sexText + " " + (list.titleKey ? race_gui::Text(list.titleKey) : std::string());
  if (list.title) race_gui::SetCaption(list.title, title);
  race_gui::SetCaption("FR/Discipline", title);

  auto* table = list.table ? race_gui::ElementAs<N_GuiTable>(list.table) : nullptr;
  if (!table) return;
  table->Clear();
  for (std::size_t i = 0; i < gameData.StartList.size(); ++i) {
    table->AddRow(StartRow(gameData.Discipline, i, gameData.StartList[i], gameData.Sex), false);
  }
  // The player finds his own row highlighted and in view (a relay team: its four legs).
  const std::int32_t player = gameData.PlayerIndex;
  if (player < 0 || std::size_t(player) >= gameData.StartList.size()) return;
  if (gameData.Discipline == DisciplineCode::kRelay) table->ShowRow(player + kRelayLegs - 1);
  table->ShowRow(player);
  table->SelectRow(player);
}
