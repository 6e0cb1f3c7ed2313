#include "frontend/career/CareerTablesPages.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MessageBox.h"
#include "frontend/career/CareerEnd.h"
#include "frontend/career/CareerState.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"

#include <new>
#include <string>

using namespace frontend;

namespace career {

std::unique_ptr<N_CareerHS>& TablesPageTable() {
  static std::unique_ptr<N_CareerHS> table;
  return table;
}

}  // namespace career

namespace {

/// Fills "CareerHS2" with the race of the three selectors when the tables are loaded.
void ShowSelectedResults() {
  const std::int32_t season = SelectedItem("Season1");
  const std::int32_t track = SelectedItem("Track2");
  const std::int32_t discipline = SelectedItem("Discipline10");
  if (const auto& table = career::TablesPageTable()) table->DisplayResults(season, track, discipline);
}

bool Named(const N_GuiElement* element, const char* name) { return element && element->GetName() == name; }

}  // namespace

extern "C" {

void CareerHS1Show(N_GuiPage*) {
  std::unique_ptr<N_CareerHS>& table = career::TablesPageTable();
  if (table) return;  // the standings of the first showing stay until "Back23"
  const N_CareerProfile* profile = career::Profile();
  if (!profile) {
    if (g_log) g_log->Print("CareerHS1Show: there is no career profile\n");
    return;
  }
  table.reset(new (std::nothrow) N_CareerHS);
  if (!table) {
    if (g_log) g_log->Print("CareerHS1Show: no memory for the career tables\n");
    return;
  }
  // The tables of the last races when their save is still to come, else the file's (a
  // missing file shows empty tables; one that cannot be read or is damaged is told).
  if (const N_CareerHS* kept = career::ChangedTables(profile->number)) {
    *table = *kept;
  } else {
    career::SayWhenTablesMissing(*profile);
    table->Load(profile->number);
  }
  table->DisplayStandings();
}

void CareerHS1Click(N_GuiElement* element) {
  if (Named(element, "Back23")) {
    career::TablesPageTable().reset();
    HidePageNow("CareerHS1");
    ShowPageNow("Career");
  } else if (Named(element, "Details2")) {
    HidePageNow("CareerHS1");
    ShowPageNow("CareerHS2");
  }
}

void CareerHS2Show(N_GuiPage*) { ShowSelectedResults(); }

void CareerHS2Click(N_GuiElement* element) {
  if (!element) return;
  if (Named(element, "Back26")) {
    HidePageNow("CareerHS2");
    ShowPageNow("CareerHS1");
    return;
  }
  ShowSelectedResults();
}

void CareerHSFinalShow(N_GuiPage*) {
  const N_CareerProfile* profile = career::Profile();
  const std::int32_t difficulty = profile ? profile->difficulty : 0;
  if (!profile && g_log) g_log->Print("CareerHSFinalShow: there is no career profile; difficulty 0 is shown\n");
  if (std::unique_ptr<N_CareerFinalHS> table{new (std::nothrow) N_CareerFinalHS}) {
    table->Load();
    table->Display(difficulty);
  }
  if (Gui() && Gui()->Elements().count("Difficulty11"))
    SetCaption("Difficulty11", Text(difficulty == 0 ? "#str018" : "#str019"));
}

void CareerHSFinalClick(N_GuiElement* element) {
  if (!Named(element, "Back27")) return;
  career::DeleteProfile();
  HidePageNow("CareerHSFinal");
  HidePageNow("CareerHS");
  ShowPageNow("Background");
  ShowPageNow("SinglePlayer");
}

void CareerHelpClick(N_GuiElement* element) {
  if (!Named(element, "Back24")) return;
  HidePageNow("CareerHelp");
  ShowPageNow("CareerHS");
  ShowPageNow("Career");
}

void cbFinishCareer(N_GuiElement* element) {
  if (AnswerYesNo(element)) FinishCareer();
}

}  // extern "C"
