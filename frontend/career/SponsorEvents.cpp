#include "frontend/career/SponsorEvents.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "frontend/FrontendUtil.h"
#include "frontend/BuddySeries.h"
#include "frontend/MessageBox.h"
#include "frontend/PageSwitch.h"
#include "frontend/career/CareerMainPage.h"
#include "gui/GuiElement.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "core/VarMng.h"
#include "frontend/career/CareerProfile.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerWeekHeader.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"

#include <array>
#include <cmath>
#include <string>

namespace {

std::string KeyText(unsigned key) { return frontend::Text(("#str" + std::to_string(key)).c_str()); }

}  // namespace

void OfferSponsorEvent() {
  CareerWeekState& week = career::Week();
  if (RandomRange(0.0f, 1.0f) >= 0.5f) {
    week.sponsorEvent = -1;
    week.sponsorPrize = 0;
    return;
  }
  week.sponsorEvent = static_cast<std::int32_t>(std::lround(RandomRange(0.0f, 5.0f)));
  week.sponsorPrize = static_cast<std::int32_t>(std::lround(RandomRange(1000.0f, 2500.0f)));
  week.sponsorDay = static_cast<std::int32_t>(std::lround(RandomRange(0.0f, 2.0f)));
  const std::string title = KeyText(400u + static_cast<unsigned>(week.sponsorEvent));
  const std::string day = KeyText(231u + static_cast<unsigned>(week.sponsorDay));
  ShowMessageYesNo(FormatDataText(frontend::Text("#str321").c_str(), "%d%s%s", week.sponsorPrize, title.c_str(),
                                  day.c_str()),
                   "cbSponsorEvent");
}

bool SponsorTargetMet(std::int32_t event, const ExportData& x) {
  if (!x.Success) return false;
  const std::int32_t hits = x.BuddyShots - x.BuddyMisses;
  switch (event) {
    case 0: return hits >= 17;
    case 1: return hits >= 15;
    case 2: return x.BuddyTime <= 134.0f;
    case 3: return x.BuddyTime <= 64.0f;
    case 4: return x.BuddyTime <= 59.0f;
    case 5: return x.BuddyTime <= 105.0f;
    default: return false;
  }
}

void ScoreSponsorEvent(std::int32_t resultHandle) {
  N_CareerProfile* p = career::Profile();
  const ExportData* result = GetFinishedResult(resultHandle);
  if (!p) {
    ReleaseFinishedResult(resultHandle);
    if (g_log) g_log->Print("ScoreSponsorEvent: a sponsor result without a current career profile\n");
    return;
  }
  CareerWeekState& week = career::Week();
  const bool success = result && SponsorTargetMet(week.sponsorEvent, *result);
  if (!result && g_log) g_log->Print("ScoreSponsorEvent: no result under handle %d\n", resultHandle);
  ReleaseFinishedResult(resultHandle);
  if (success) {
    ShowMessageOK(FormatDataText(frontend::Text("#str335").c_str(), "%d", week.sponsorPrize), "OKMsgClick");
    career::AddToTotal(p->account, week.sponsorPrize);
    career::ShowAccount();
  } else {
    ShowMessageOK(frontend::Text("#str336"), "OKMsgClick");
  }
  week.sponsorEvent = -1;
  week.sponsorPrize = 0;
}

void LaunchSponsorEvent() {
  const N_CareerProfile* p = career::Profile();
  if (!p) return;
  const std::int32_t event = career::Week().sponsorEvent;
  SwitchPageWithFade("Career", "Loading", false);
  frontend::HidePageNow("CareerHS");
  StartBuddyGame(p->athleteIndex, p->sex, event, p->name, p->nation);
  if (g_varMng) g_varMng->SetInt("gamemode", 5, 2);
  if (event >= 0)
    if (N_GuiElement* text = frontend::GetElement("BuddyText1"))
      text->SetCaption(frontend::Text(FormatString("#str%03d", 416 + event).c_str()));
  frontend::SetCaption("Name1", p->name);
  if (N_GuiElement* nation = frontend::GetElement("Natn1")) nation->SetShader(p->nation);
  frontend::SetCaption("Name7", p->name);
  frontend::ClosePage("Loading", 2.0f);
  if (N_GuiElement* end = frontend::GetElement("End1")) end->Hide();
  if (N_GuiPage* page = frontend::FindPage("BuddyStart")) page->Show(2.0f);
}

extern "C" void cbSponsorEvent(N_GuiElement* element) {
  frontend::HidePageNow("MessageYesNo");
  const N_CareerProfile* p = career::Profile();
  if (!element || !p) return;
  CareerWeekState& week = career::Week();
  if (element->GetName() == "Yes1") {
    CareerScheduleItem& row = *career::ScheduleItem(career::kSponsorItem);
    row.cost = week.sponsorPrize;
    if (week.sponsorDay >= 0 && week.sponsorDay < 3) week.days[static_cast<std::size_t>(week.sponsorDay)].push_back(row);
    frontend::SetCaption("EventText1", frontend::Text("#str274"));
  } else if (element->GetName() == "No1") {
    week.sponsorEvent = -1;
    career::ShowStageText(p->stage);
  }
}

extern "C" void cbRemoveSponsorEvent(N_GuiElement* element) {
  const std::int32_t day = career::GetSelectedWeekday();
  const std::int32_t row = frontend::SelectedRow("Schedule1");
  frontend::HidePageNow("MessageYesNo");
  if (!element || element->GetName() != "Yes1" || day < 0 || row < 0) return;
  auto& list = career::Week().days[static_cast<std::size_t>(day)];
  if (static_cast<std::size_t>(row) >= list.size()) {
    if (g_log) g_log->Print("cbRemoveSponsorEvent: row %d is not in the list of day %d\n", row, day);
    return;
  }
  if (N_GuiTable* table = frontend::GetElementOf<N_GuiTable>("Schedule1")) table->DeleteRow(row);
  list.erase(list.begin() + row);
  if (N_GuiElement* add = frontend::GetElement("Add3")) add->SetEnabled(true);
  if (list.empty())
    if (N_GuiElement* remove = frontend::GetElement("Remove3")) remove->SetEnabled(false);
}
