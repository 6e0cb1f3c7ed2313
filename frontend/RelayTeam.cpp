#include "frontend/RelayTeam.h"

#include "frontend/AthleteField.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MessageBox.h"
#include "gui/GuiTable.h"
#include "platform/win32/Files.h"
#include "race/AthletProfile.h"
#include "race/World.h"

#include <string>
#include <utility>

namespace {

/// The sex whose athlete list the team's indices name; -1 while the team is empty.
std::int32_t g_teamSex = -1;

/// The visible set-up page's athlete table and sex.
struct SetupPage {
  N_GuiTable* athletes = nullptr;
  std::int32_t sex = 0;
};

/// The set-up page the team is made for: "Arcade" when it shows, else "SingleRace";
/// no athlete table when neither shows.
SetupPage FindSetupPage() {
  const char* table = nullptr;
  const char* sex = nullptr;
  if (frontend::IsPageVisible("Arcade")) {
    table = "Athlets1";
    sex = "Sex1";
  } else if (frontend::IsPageVisible("SingleRace")) {
    table = "Athlets3";
    sex = "Sex3";
  } else {
    return {};
  }
  SetupPage page;
  page.sex = frontend::SelectedItem(sex);
  // Without its sex selector the page names no list.
  if (page.sex >= 0) page.athletes = frontend::GetElementOf<N_GuiTable>(table);
  return page;
}

const N_AthletProfile* Athlete(std::int32_t sex, std::int64_t index) {
  return g_world ? AthleteOfSex(g_world->AthletMng(), sex, index) : nullptr;
}

/// "Relay1" anew from the team, in leg order, with row `selected` selected. Nothing
/// changes unless every member has a record.
bool RebuildTeamTable(N_GuiTable& team, std::int32_t sex, std::int32_t selected) {
  std::vector<std::string> rows;
  for (const std::uint32_t member : RelayTeam) {
    const N_AthletProfile* athlete = Athlete(sex, member);
    if (!athlete) return false;
    rows.push_back(AthleteRowText(*athlete));
  }
  team.Clear();
  for (const std::string& row : rows) team.AddRow(row, false);
  team.SelectRow(selected);
  return true;
}

void Add(N_GuiElement& button, N_GuiTable& team, const SetupPage& page) {
  const std::int32_t row = page.athletes->GetSelectedRow();
  if (row < 0 || RelayTeam.size() >= 4) return;
  const N_AthletProfile* athlete = Athlete(page.sex, row);
  if (!athlete) return;
  if (!RelayTeam.empty()) {
    const N_AthletProfile* first = Athlete(page.sex, RelayTeam.front());
    if (!first) return;
    if (!platform::EqualsNoCase(athlete->Nationality, first->Nationality)) {
      ShowMessageOK(frontend::Text("#str317"), "OKMsgClick");
      return;
    }
  }
  team.AddRow(AthleteRowText(*athlete), false);
  page.athletes->MarkRow(row);
  if (auto* remove = frontend::GetElement("Remove1")) remove->SetEnabled(true);
  if (team.GetRowCount() >= 4) button.SetEnabled(false);
  RelayTeam.push_back(static_cast<std::uint32_t>(row));
  g_teamSex = page.sex;
}

void SetEnabled(const char* name, bool enabled) {
  if (N_GuiElement* element = frontend::GetElement(name)) element->SetEnabled(enabled);
}

void Remove(N_GuiElement& button, N_GuiTable& team, const SetupPage& page) {
  const std::int32_t row = team.GetSelectedRow();
  if (row >= 0 && static_cast<std::size_t>(row) < RelayTeam.size()) {
    const std::uint32_t member = RelayTeam[static_cast<std::size_t>(row)];
    if (!Athlete(page.sex, member)) return;
    page.athletes->UnmarkRow(static_cast<std::int32_t>(member));
    team.DeleteRow(row);
    RelayTeam.erase(RelayTeam.begin() + row);
  }
  if (team.GetRowCount() > 0) {
    if (auto* add = frontend::GetElement("Add1")) add->SetEnabled(true);
  } else {
    button.SetEnabled(false);
  }
}

/// Swaps the members at `row` and `row + step` and selects the moved member.
void Move(N_GuiTable& team, const SetupPage& page, std::int32_t step) {
  const std::int32_t row = team.GetSelectedRow();
  const std::int32_t to = row + step;
  if (row < 0 || to < 0 || to >= team.GetRowCount() || static_cast<std::size_t>(std::max(row, to)) >= RelayTeam.size()) {
    return;
  }
  std::swap(RelayTeam[static_cast<std::size_t>(row)], RelayTeam[static_cast<std::size_t>(to)]);
  if (!RebuildTeamTable(team, page.sex, to)) {
    std::swap(RelayTeam[static_cast<std::size_t>(row)], RelayTeam[static_cast<std::size_t>(to)]);
  }
}

}  // namespace

void ResetRelayTeam() {
  RelayTeam.clear();
  RelayTeam.shrink_to_fit();
  g_teamSex = -1;
  if (auto* team = frontend::GetElementOf<N_GuiTable>("Relay1")) team->Clear();
  // A full team disabled "Add1"; an empty one has nobody to remove.
  SetEnabled("Add1", true);
  SetEnabled("Remove1", false);
}

void KeepRelayTeamFor(std::int32_t sex) {
  auto* team = frontend::GetElementOf<N_GuiTable>("Relay1");
  if (RelayTeam.empty() || sex != g_teamSex || !team || !RebuildTeamTable(*team, sex, 0)) {
    ResetRelayTeam();
    return;
  }
  SetEnabled("Add1", RelayTeam.size() < 4);
  SetEnabled("Remove1", true);
}

extern "C" void RelayClick(N_GuiElement* element) {
  if (!element) return;
  auto* team = frontend::GetElementOf<N_GuiTable>("Relay1");
  const SetupPage page = FindSetupPage();
  if (!team || !page.athletes) return;
  const std::string& name = element->GetName();
  if (name == "Add1") {
    Add(*element, *team, page);
  } else if (name == "Remove1") {
    Remove(*element, *team, page);
  } else if (name == "Up1") {
    Move(*team, page, -1);
  } else if (name == "Down1") {
    Move(*team, page, +1);
  }
}
