#include "frontend/career/CareerMainPage.h"

#include "core/Globals.h"
#include "core/InputMng.h"
#include "core/Log.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MessageBox.h"
#include "frontend/career/CareerEnd.h"
#include "frontend/career/CareerProfileFile.h"
#include "frontend/career/CareerProfilePage.h"
#include "frontend/career/CareerRace.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerTraining.h"
#include "frontend/career/CareerWeekHeader.h"
#include "frontend/career/SponsorEvents.h"
#include "core/FormatString.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiElement.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "race/TopTimeTables.h"
#include "race/AthletMng.h"
#include "race/World.h"

#include <array>
#include <string>
#include <string_view>

namespace {

constexpr std::array<const char*, 5> kDayBoxes = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};
constexpr std::int32_t kLeftShift = 0x2A, kLeftCtrl = 0x1D;

void SetEnabled(const char* name, bool enabled) {
  if (N_GuiElement* element = frontend::GetElement(name)) element->SetEnabled(enabled);
}

std::string ItemText(std::int32_t row) { return frontend::Text(("#str" + std::to_string(326 + row)).c_str()); }

/// Refills "Schedule1" with the day's list; the day's load in units.
std::int32_t ListDay(std::int32_t day) {
  if (N_GuiTable* table = frontend::GetElementOf<N_GuiTable>("Schedule1")) {
    table->Clear();
    for (const CareerScheduleItem& item : career::Week().days[static_cast<std::size_t>(day)])
      table->AddRow(career::ScheduleItemRow(item), false);
  }
  return career::Week().DayLoad(day);
}

void ShowTaskText(std::int32_t row) {
  if (row >= 0 && row < career::kBookableItems) frontend::SetCaption("TaskText1", ItemText(row));
}

void Book(N_CareerProfile& p) {
  const std::int32_t day = career::GetSelectedWeekday();
  const std::int32_t row = frontend::SelectedRow("Tasks1");
  if (day < 0 || row < 0 || row >= career::kBookableItems) return;
  // A special training holds Monday to Wednesday, whose boxes it disables; one of them
  // may still be the checked day.
  if (const N_GuiElement* box = frontend::GetElement(kDayBoxes[static_cast<std::size_t>(day)]);
      box && !box->IsEnabled()) {
    if (g_log) g_log->Print("CareerClick: day %d is taken by the special training, nothing booked\n", day);
    return;
  }
  const CareerScheduleItem& item = *career::ScheduleItem(row);
  auto& list = career::Week().days[static_cast<std::size_t>(day)];
  const std::int32_t load = career::Week().DayLoad(day);
  std::int32_t same = 0;
  for (const CareerScheduleItem& booked : list)
    if (booked.id == item.id) same += booked.units;
  if (item.units + load > career::kUnitsPerDay) {
    ShowMessageOK(frontend::Text("#str323"), "OKMsgClick");
    return;
  }
  if (item.units + same > item.maxPerDay) {
    ShowMessageOK(FormatDataText(frontend::Text("#str324").c_str(), "%d", static_cast<int>(item.maxPerDay)),
                  "OKMsgClick");
    return;
  }
  if (p.account < item.cost) {
    ShowMessageOK(frontend::Text("#str325"), "OKMsgClick");
    return;
  }
  if (N_GuiTable* table = frontend::GetElementOf<N_GuiTable>("Schedule1"))
    table->AddRow(career::ScheduleItemRow(item), false);
  list.push_back(item);
  p.account -= item.cost;
  career::ShowAccount();
  SetEnabled("Remove3", true);
  if (item.units + load == career::kUnitsPerDay) SetEnabled("Add3", false);
}

void Remove(N_CareerProfile& p) {
  const std::int32_t day = career::GetSelectedWeekday();
  const std::int32_t row = frontend::SelectedRow("Schedule1");
  if (day < 0 || row < 0) return;
  auto& list = career::Week().days[static_cast<std::size_t>(day)];
  if (static_cast<std::size_t>(row) >= list.size()) {
    if (g_log) g_log->Print("CareerClick: row %d is not in the list of day %d\n", row, day);
    return;
  }
  const CareerScheduleItem item = list[static_cast<std::size_t>(row)];
  if (item.id == career::kSponsorItem) {
    ShowMessageYesNo(frontend::Text("#str334"), "cbRemoveSponsorEvent");
    return;
  }
  if (item.id > career::kSponsorItem) {
    ShowMessageOK(frontend::Text("#str338"), "OKMsgClick");
    return;
  }
  p.account += item.cost;
  career::ShowAccount();
  if (N_GuiTable* table = frontend::GetElementOf<N_GuiTable>("Schedule1")) table->DeleteRow(row);
  list.erase(list.begin() + row);
  SetEnabled("Add3", true);
  if (list.empty()) SetEnabled("Remove3", false);
}

void SelectDay(const N_CareerProfile& p, N_GuiElement& clicked) {
  const std::int32_t day = clicked.GetTag();
  if (day < 0 || day >= static_cast<std::int32_t>(kDayBoxes.size())) return;
  // The clicked box becomes the one checked day, so that the first checked box is
  // always the day whose list is shown.
  for (std::size_t d = 0; d < kDayBoxes.size(); ++d)
    if (N_GuiCheckBox* box = frontend::GetElementOf<N_GuiCheckBox>(kDayBoxes[d]))
      box->SetChecked(static_cast<std::int32_t>(d) == day);
  const std::int32_t load = ListDay(day);
  SetEnabled("Remove3", !career::Week().days[static_cast<std::size_t>(day)].empty());
  SetEnabled("Add3", load != career::kUnitsPerDay);
  const bool extra = career::Week().extraRaceWeek;
  if (extra && day == 4) return;
  if (day == (extra ? 3 : 4) && p.hotel < 0) {
    frontend::ShowPageNow("CareerTravel");
    frontend::HidePageNow("Career");
  }
}

void StartNextStep(N_CareerProfile& p) {
  for (auto& list : career::Week().days)
    for (auto it = list.begin(); it != list.end(); ++it)
      if (it->id == career::kSponsorItem) {
        list.erase(it);
        LaunchSponsorEvent();
        return;
      }
  switch (p.stage) {
    case 0:
      if (p.hotel >= 0)
        EndCareerWeek();
      else
        ShowMessageOK(frontend::Text("#str337"), "OKMsgClick");
      break;
    case 1: StartCareerRace(3); break;
    case 2: StartCareerRace(2); break;
    default: break;
  }
}

/// What the developer key adds to the account (Ctrl and Shift with a click on the figure).
constexpr std::int32_t kDeveloperMoney = 1000;

void Leave(N_CareerProfile& p) {
  // The profile with the week's plan and the roster, together. A failed save was told:
  // the career stays on its page with everything in memory.
  if (!career::SaveCareerProfile(p)) return;
  if (g_world) g_world->AthletMng().RestoreDefaults();  // every other mode races with the file values
  career::DeleteProfile();
  frontend::HidePageNow("Career");
  frontend::HidePageNow("CareerHS");
  frontend::ShowPageNow("Background");
  frontend::ShowPageNow("SinglePlayer");
}

void ShowDetails() {
  career::ShowProfileViewLook();
  frontend::HidePageNow("Career");
  frontend::ShowPageNow("CareerProfile");
  frontend::ShowPageNow("CareerAttributes");
}

}  // namespace

namespace career {

void ShowStageText(std::int32_t stage) {
  static constexpr std::array<const char*, 3> kStageTexts = {"#str010", "#str271", "#str012"};
  if (stage >= 0 && stage < static_cast<std::int32_t>(kStageTexts.size()))
    frontend::SetCaption("EventText1", frontend::Text(kStageTexts[static_cast<std::size_t>(stage)]));
}

void SaveCareerAtExit() {
  N_CareerProfile* p = Profile();
  if (!p || !p->started || p->finished || Week().weekPlayedOut) return;
  // A slot browsed on the profile page in its set-up look is as its file holds it: its
  // career was not entered, and a save would only rewrite the file.
  const N_GuiElement* setUp = frontend::GetElement("t88");
  if (frontend::IsPageVisible("CareerProfile") && setUp && setUp->IsVisible()) return;
  if (g_world && g_world->Game()) return;
  if (const N_GuiPage* result = frontend::FindPage("FinalResult"); result && result->IsVisible()) return;
  if (g_log) g_log->Print("Career: the program ends, the career of slot %d is saved\n", p->number);
  SaveCareerProfile(*p);
}

}  // namespace career

extern "C" void CareerShow(N_GuiPage* /*page*/) {
  N_CareerProfile* p = career::Profile();
  if (!p) {
    if (g_log) g_log->Print("CareerShow: no current career profile\n");
    return;
  }
  if (career::IsSpecialName(top_times::FieldText(p->name, sizeof p->name))) career::ApplySpecialName();
  if (N_GuiTable* tasks = frontend::GetElementOf<N_GuiTable>("Tasks1")) {
    tasks->Clear();
    for (std::int32_t row = 0; row < career::kBookableItems; ++row)
      tasks->AddRow(career::ScheduleItemRow(*career::ScheduleItem(row)), false);
    ShowTaskText(tasks->GetSelectedRow());
  }
  const std::int32_t day = career::GetSelectedWeekday();
  const std::int32_t load = day >= 0 ? ListDay(day) : 0;
  career::ShowAccount();
  if (career::Week().sponsorEvent >= 0)
    frontend::SetCaption("EventText1", frontend::Text("#str274"));
  else
    career::ShowStageText(p->stage);
  const bool planning = p->stage == 0;
  for (const char* box : kDayBoxes) SetEnabled(box, planning);
  SetEnabled("Add3", planning && load != career::kUnitsPerDay);
  SetEnabled("Remove3", planning && load > 0);
  SetEnabled("Trainings1", planning);
  career::RefreshCareerWeekHeader();
}

extern "C" void CareerClick(N_GuiElement* element) {
  N_CareerProfile* p = career::Profile();
  if (!element || !p) return;
  const std::string_view name = element->GetName();
  if (name == "Back21") {
    Leave(*p);
  } else if (name == "Tables1") {
    frontend::HidePageNow("Career");
    frontend::ShowPageNow("CareerHS");
    frontend::ShowPageNow("CareerHS1");
  } else if (name == "Details1") {
    ShowDetails();
  } else if (name == "Trainings1") {
    frontend::HidePageNow("Career");
    frontend::ShowPageNow("CareerTrainings");
  } else if (name == "Finish1") {
    ShowMessageYesNo(frontend::Text("#str320"), "cbFinishCareer");
  } else if (name == "Help1") {
    frontend::HidePageNow("Career");
    frontend::HidePageNow("CareerHS");
    frontend::ShowPageNow("CareerHelp");
  } else if (name == "Tasks1") {
    ShowTaskText(frontend::SelectedRow("Tasks1"));
  } else if (name == "Add3") {
    Book(*p);
  } else if (name == "Remove3") {
    Remove(*p);
  } else if (name == "Monday" || name == "Tuesday" || name == "Wednesday" || name == "Thursday" ||
             name == "Friday") {
    SelectDay(*p, *element);
  } else if (name == "Model8") {
    if (g_inputMng && g_inputMng->IsPressed(N_InputMng::kKeyboard, kLeftShift, 0) &&
        g_inputMng->IsPressed(N_InputMng::kKeyboard, kLeftCtrl, 0)) {
      career::AddToTotal(p->account, kDeveloperMoney);
      career::ShowAccount();
    }
  } else if (name == "Start8") {
    StartNextStep(*p);
  }
}
