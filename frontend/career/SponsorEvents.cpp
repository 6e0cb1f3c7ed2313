#include "frontend/career/SponsorEvents.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "frontend/FrontendUtil.h"
#include "frontend/MessageBox.h"
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
