#include "frontend/career/CareerTraining.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "frontend/career/CareerRoster.h"
#include "frontend/career/CareerState.h"
#include "race/AthletMng.h"
#include "race/World.h"

#include <algorithm>

using namespace career;

namespace {

float Bounded(float value, float lower, float upper) {
  if (value < lower) return lower;
  if (value > upper) return upper;
  return value;
}

/// One gain: gap x share x r(low, high), the gap read from the profile now.
float Gain(float gap, float share, float low, float high) { return gap * share * RandomRange(low, high); }

}  // namespace

std::size_t CareerRosterCount(const N_CareerProfile& profile, const N_AthletMng& roster) {
  return career::RosterSex(profile.sex) == 0 ? roster.GetMaleCount() : roster.GetFemaleCount();
}

float HotelFactor(std::int32_t hotel) {
  if (hotel == 0) return -1.0f;
  if (hotel == 1) return 1.0f;
  return 0.0f;
}

void ApplyAttributeDelta(N_CareerProfile& p, const career::AttributeChanges& c, N_AthletMng* roster) {
  constexpr float kLow = 30.0f, kTechTop = 100.0f;
  p.hearth = Bounded(p.hearth + c[kChangeHearth], kLow, p.maxHearth);
  p.condition = Bounded(p.condition + c[kChangeCondition], kLow, p.maxCondition);
  p.power = Bounded(p.power + c[kChangePower], kLow, p.maxPower);
  p.concentration = Bounded(p.concentration + c[kChangeConcentration], kLow, p.maxConcentration);
  p.fightGhost = Bounded(p.fightGhost + c[kChangeFightGhost], kLow, p.maxFightGhost);
  p.coolness = Bounded(p.coolness + c[kChangeCoolness], kLow, p.maxCoolness);
  p.shootTech = Bounded(p.shootTech + c[kChangeShootTech], kLow, kTechTop);
  p.runTech = Bounded(p.runTech + c[kChangeRunTech], kLow, kTechTop);
  p.handlTech = Bounded(p.handlTech + c[kChangeHandlTech], kLow, kTechTop);
  p.freshness = Bounded(p.freshness + c[kChangeFreshness], 0.0f, 100.0f);
  if (roster) career::HandAthleteToRoster(p, *roster);
}

void ApplyTrainingEffect(const N_CareerProfile& p, std::int32_t type, career::AttributeChanges& c) {
  const float freshGap = 100.0f - p.freshness;
  switch (type) {
    case 0: c[kChangeCondition] += Gain(p.maxCondition - p.condition, 0.1f, 0.7f, 1.5f); break;
    case 1: c[kChangePower] += Gain(p.maxPower - p.power, 0.1f, 0.7f, 1.5f); break;
    case 2: c[kChangeHearth] += Gain(p.maxHearth - p.hearth, 0.1f, 0.7f, 1.5f); break;
    case 3: c[kChangePower] += Gain(p.maxPower - p.power, 0.1f, 0.2f, 2.5f); break;
    case 4:
      c[kChangeCondition] += Gain(p.maxCondition - p.condition, 0.1f, 0.2f, 2.5f);
      c[kChangeFreshness] += Gain(freshGap, 0.2f, 1.0f, 1.5f);
      break;
    case 5:
      c[kChangeConcentration] += Gain(p.maxConcentration - p.concentration, 0.2f, 0.7f, 1.5f);
      c[kChangeFightGhost] += Gain(p.maxFightGhost - p.fightGhost, 0.2f, 1.5f, 2.5f);
      break;
    case 6:
      c[kChangeConcentration] += Gain(p.maxConcentration - p.concentration, 0.2f, 0.3f, 2.0f);
      c[kChangeCoolness] += Gain(p.maxCoolness - p.coolness, 0.2f, 0.3f, 2.0f);
      c[kChangeFreshness] += Gain(freshGap, 0.2f, 1.0f, 1.5f);
      break;
    case 7:
      c[kChangeFreshness] += Gain(freshGap, 0.2f, 0.8f, 3.0f);
      c[kChangeCoolness] += Gain(p.maxCoolness - p.coolness, 0.2f, 0.3f, 3.0f);
      c[kChangeFightGhost] += Gain(p.maxFightGhost - p.fightGhost, 0.2f, 1.5f, 2.5f);
      c[kChangeCondition] -= Gain(p.maxCondition - p.condition, 0.1f, 0.7f, 2.5f);
      break;
    default: break;  // the sponsor event and the travel items train nothing
  }
}

void ApplyWeekChoiceEffect(N_CareerProfile& p, std::int32_t choice, career::AttributeChanges& c) {
  struct Ranges {
    float bLow, bHigh, tLow, tHigh, cLow, cHigh;
  };
  static constexpr std::array<Ranges, 3> kChoices{{{0.55f, 0.75f, 0.6f, 0.9f, 0.03f, 0.06f},
                                                   {0.75f, 0.95f, 1.2f, 1.6f, 0.07f, 0.11f},
                                                   {0.95f, 1.1f, 2.2f, 2.6f, 0.12f, 0.18f}}};
  if (choice < 0 || choice >= static_cast<std::int32_t>(kChoices.size())) return;
  const Ranges& r = kChoices[static_cast<std::size_t>(choice)];
  std::array<float, 6> b{}, cf{};
  std::array<float, 3> t{};
  for (float& v : b) v = RandomRange(r.bLow, r.bHigh);
  for (float& v : t) v = RandomRange(r.tLow, r.tHigh);
  for (float& v : cf) v = RandomRange(r.cLow, r.cHigh);

  c[kChangeConcentration] += (p.maxConcentration - p.concentration) * b[0];
  c[kChangeCondition] += (p.maxCondition - p.condition) * b[1];
  c[kChangeCoolness] += (p.maxCoolness - p.coolness) * b[2];
  c[kChangeFightGhost] += (p.maxFightGhost - p.fightGhost) * b[3];
  c[kChangeHearth] += (p.maxHearth - p.hearth) * b[4];
  c[kChangePower] += (p.maxPower - p.power) * b[5];

  c[kChangeRunTech] += (100.0f - p.runTech) * t[0] * 0.1f;
  c[kChangeShootTech] += (100.0f - p.shootTech) * t[1] * 0.1f;
  c[kChangeHandlTech] += (100.0f - p.handlTech) * t[2] * 0.1f;

  // A ceiling set above 100 at the career start comes down to 100 here.
  float* const ceilings[] = {&p.maxConcentration, &p.maxCondition, &p.maxCoolness,
                             &p.maxFightGhost,    &p.maxHearth,    &p.maxPower};
  for (std::size_t i = 0; i < cf.size(); ++i) {
    *ceilings[i] = std::min(100.0f, *ceilings[i] + (100.0f - *ceilings[i]) * cf[i]);
  }
}

void DriftCareerRivals(const N_CareerProfile& p, N_AthletMng& roster) {
  static constexpr std::array<float N_AthletProfile::*, 6> kKeys{
      &N_AthletProfile::Concetration, &N_AthletProfile::Coolness, &N_AthletProfile::Gameness,
      &N_AthletProfile::MaxCondition, &N_AthletProfile::MaxPower, &N_AthletProfile::OptPulse};
  const int sex = career::RosterSex(p.sex);
  const std::size_t n = CareerRosterCount(p, roster);
  for (std::size_t i = 0; i < n; ++i) {
    if (static_cast<std::int64_t>(i) == p.athleteIndex) continue;
    N_AthletProfile* a = roster.GetBySex(sex, i);
    if (!a) continue;
    for (float N_AthletProfile::*key : kKeys) {
      float& v = a->*key;
      v += RandomRange(-10.0f, 15.0f);
      if (v > 100.0f) {
        v = 100.0f;
      } else if (v < 50.0f) {
        v = 50.0f;
      }
    }
  }
}

career::AttributeChanges CareerWeekChange(N_CareerProfile& p, CareerWeekDays& lists) {
  career::AttributeChanges c{};
  for (auto& day : lists) {
    for (const CareerScheduleItem& item : day) {
      if (item.id < 8) ApplyTrainingEffect(p, item.id, c);
    }
    day.clear();
    day.shrink_to_fit();
  }
  if (p.weekChoice >= 0) ApplyWeekChoiceEffect(p, p.weekChoice, c);
  const float h = HotelFactor(p.hotel);
  p.hotel = -1;
  c[kChangeConcentration] += (p.maxConcentration - p.concentration) * 0.2f * RandomRange(0.5f, 1.5f) * h;
  c[kChangeFreshness] += (100.0f - p.freshness) * 0.2f * RandomRange(1.0f, 1.5f) * h;
  return c;
}

void EndCareerWeek() {
  N_CareerProfile* p = career::Profile();
  if (!p) {
    if (g_log) g_log->Print("EndCareerWeek: no current career profile\n");
    return;
  }
  N_AthletMng* roster = g_world ? &g_world->AthletMng() : nullptr;
  const career::AttributeChanges change = CareerWeekChange(*p, career::Week().days);
  career::ShowCareerAttributeChanges(change);
  ApplyAttributeDelta(*p, change, roster);
  if (roster) DriftCareerRivals(*p, *roster);
  career::Week().weekPlayedOut = true;
}
