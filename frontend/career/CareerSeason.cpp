#include "frontend/career/CareerSeason.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "frontend/AthleteField.h"
#include "frontend/CareerTables.h"
#include "frontend/FrontendUtil.h"
#include "frontend/HighScoreRows.h"
#include "frontend/MessageBox.h"
#include "frontend/career/CareerProfile.h"
#include "frontend/career/CareerRoster.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerTraining.h"
#include "frontend/career/CareerWeekHeader.h"
#include "frontend/career/SponsorEvents.h"
#include "gui/GuiTable.h"
#include "race/AthletMng.h"
#include "race/World.h"

#include <algorithm>
#include <vector>

namespace {

/// The season bonus of the standings place, with its message (places 0 to 14).
void PaySeasonBonus(N_CareerProfile& p, std::int32_t place) {
  if (place < 0 || place >= static_cast<std::int32_t>(kCareerSeasonBonus.size())) return;
  const std::int32_t bonus = kCareerSeasonBonus[static_cast<std::size_t>(place)];
  ShowMessageOK(FormatDataText(frontend::Text("#str342").c_str(), "%d%d", place + 1, bonus), "OKMsgClick");
  career::AddToTotal(p.account, bonus);
}

}  // namespace

void StartCareerSeason(N_CareerProfile& p, const N_AthletMng& roster) {
  p.freshness = 100.0f;
  p.weekChoicesBought = 0;
  p.stage = 0;

  // The field: the rivals drawn, the places a short list cannot fill -1, the player last.
  const auto n = static_cast<std::int32_t>(CareerRosterCount(p, roster));
  std::vector<std::int32_t> drawn;
  PickRandomAthletes(0, n - 1, 14, p.athleteIndex, drawn);
  if (drawn.size() < 14 && g_log) {
    g_log->Print("Career: only %d rivals for the season's field of 15\n", static_cast<int>(drawn.size()));
  }
  for (std::size_t i = 0; i < 14; ++i) p.field[i] = i < drawn.size() ? drawn[i] : -1;
  p.field[14] = p.athleteIndex;

  std::vector<std::int32_t> order;
  if (p.season == 0) {
    for (std::int32_t t = 0; t < 10; ++t) order.push_back(t);
  } else {
    PickRandomAthletes(0, 9, 10, -1, order);
  }
  std::copy_n(order.begin(), 10, std::begin(p.trackOrder));

  std::vector<std::int32_t> extra;
  PickRandomAthletes(0, 9, 2, -1, extra);
  p.extraRaces[0] = extra[0];
  p.extraRaces[1] = extra[1];
}

void EndCareerSeason(N_CareerProfile& p, N_AthletMng* roster) {
  // The tables of the season's races, saved with the profile. Tables that cannot be read
  // or are damaged pay no bonus and are not written over (the player was told).
  if (N_CareerHS* tables = career::TablesToChange(p.number)) {
    // The player as the standings hold the name: an empty name is the default one.
    const std::int32_t place = tables->FindAthlete(high_scores::RowName(high_scores::FieldText(p.name, sizeof p.name)));
    tables->ClearStandings();
    PaySeasonBonus(p, place);
  }

  if (!roster) return;
  const int sex = career::RosterSex(p.sex);
  const std::size_t n = CareerRosterCount(p, *roster);
  for (std::size_t i = 0; i < n; ++i) {
    if (static_cast<std::int64_t>(i) == p.athleteIndex) continue;
    N_AthletProfile* a = roster->GetBySex(sex, i);
    if (!a) continue;
    for (float N_AthletProfile::*key : {&N_AthletProfile::RunTechnic, &N_AthletProfile::ShootTechnic,
                                        &N_AthletProfile::CurveTechnic}) {
      a->*key = std::min(100.0f, a->*key + RandomRange(0.0f, 10.0f));
    }
  }
}

void RandomizeRivals(const N_CareerProfile& p, N_AthletMng& roster) {
  const int sex = career::RosterSex(p.sex);
  const std::size_t n = CareerRosterCount(p, roster);
  for (std::size_t i = 0; i < n; ++i) {
    N_AthletProfile* a = roster.GetBySex(sex, i);
    if (!a) continue;
    for (float N_AthletProfile::*key :
         {&N_AthletProfile::Concetration, &N_AthletProfile::Coolness, &N_AthletProfile::Gameness,
          &N_AthletProfile::MaxCondition, &N_AthletProfile::MaxPower, &N_AthletProfile::OptPulse}) {
      a->*key = 50.0f + RandomRange(-10.0f, 10.0f);
    }
    for (float N_AthletProfile::*key :
         {&N_AthletProfile::CurveTechnic, &N_AthletProfile::RunTechnic, &N_AthletProfile::ShootTechnic}) {
      a->*key = 50.0f + RandomRange(10.0f, 30.0f);
    }
  }
}

void StartCareerWeek(N_CareerProfile& p) {
  if (auto* schedule = frontend::GetElementOf<N_GuiTable>("Schedule1")) schedule->Clear();
  career::Week().ClearDays();
  OfferSponsorEvent();
  p.stage = 0;
  p.weekChoice = -1;
  career::RefreshCareerWeekHeader();
}

namespace {

N_CareerProfile* ProfileOrLog(const char* step) {
  N_CareerProfile* p = career::Profile();
  if (!p && g_log) g_log->Print("Career: %s without a current profile\n", step);
  return p;
}

N_AthletMng* WorldAthletes() { return g_world ? &g_world->AthletMng() : nullptr; }

}  // namespace

void StartCareerSeason() {
  N_CareerProfile* p = ProfileOrLog("season start");
  N_AthletMng* roster = WorldAthletes();
  if (!p) return;
  if (!roster) {
    if (g_log) g_log->Print("Career: season start without athletes\n");
    return;
  }
  StartCareerSeason(*p, *roster);
}

void EndCareerSeason() {
  if (N_CareerProfile* p = ProfileOrLog("season end")) EndCareerSeason(*p, WorldAthletes());
}

void RandomizeRivals() {
  N_CareerProfile* p = ProfileOrLog("rivals' draw");
  if (N_AthletMng* roster = WorldAthletes(); p && roster) RandomizeRivals(*p, *roster);
}

void StartCareerWeek() {
  if (N_CareerProfile* p = ProfileOrLog("new week")) StartCareerWeek(*p);
}
