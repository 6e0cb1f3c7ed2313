#include "frontend/career/CareerRaceWear.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "core/Random.h"
#include "frontend/career/CareerRoster.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerTraining.h"
#include "race/AthletMng.h"
#include "race/ExportData.h"
#include "race/World.h"

#include <array>
#include <cmath>

float CareerPowerFactor(float fullPowerTime, float time) {
  const float share = fullPowerTime / time;  // a zero time gives no share below a rung: 1.1
  if (share < 0.04f) return 0.5f;
  if (share < 0.06f) return 0.6f;
  if (share < 0.08f) return 0.7f;
  if (share < 0.1f) return 0.9f;
  return 1.1f;
}

float CareerPlaceFactor(std::int32_t place) {
  if (place <= 0) return 0.0f;
  if (place <= 2) return 0.1f;
  if (place <= 4) return 0.2f;
  if (place <= 9) return 0.3f;
  return 0.4f;
}

float CareerCountFactor(std::int32_t count) {
  static constexpr std::array<float, 11> kLadder{0.0f, 0.1f, 0.2f, 0.4f, 0.6f, 0.9f, 1.1f, 1.1f, 1.1f, 1.4f, 1.4f};
  if (count < 0) return 1.1f;
  if (count >= static_cast<std::int32_t>(kLadder.size())) return 1.8f;
  return kLadder[static_cast<std::size_t>(count)];
}

float CareerFreshnessPlaceFactor(std::int32_t place) {
  if (place <= 0) return 0.0f;
  if (place == 1) return 0.05f;
  if (place == 2) return 0.1f;
  if (place <= 4) return 0.15f;
  if (place <= 9) return 0.2f;
  return 0.4f;
}

float CareerStrainFactor(float f, float u) {
  if (f > 99.9f) return u > 0.2f ? 0.25f : 0.0f;
  if (f >= 95.0f) return u > 0.5f ? 0.25f : 0.0f;
  if (f >= 90.0f) return u > 0.7f ? 0.25f : 0.0f;
  if (f > 75.0f) return 0.0f;
  if (f > 70.0f) return u > 0.7f ? -0.25f : 0.0f;
  if (f > 65.0f) return u > 0.5f ? -0.25f : 0.0f;
  if (f > 60.0f) return u > 0.1f ? -0.25f : 0.0f;
  return -0.25f;
}

void ApplyRaceStrain(N_CareerProfile& p, N_AthletMng* roster) {
  const float factor = CareerStrainFactor(p.freshness, RandomRange(0.0f, 1.0f));
  career::AttributeChanges c{};
  c[career::kChangePower] += std::round(factor * p.power);
  c[career::kChangeConcentration] += std::round(factor * p.concentration);
  c[career::kChangeCondition] += std::round(factor * p.condition);
  c[career::kChangeCoolness] += std::round(factor * p.coolness);
  c[career::kChangeFightGhost] += std::round(factor * p.fightGhost);
  c[career::kChangeHearth] += std::round(factor * p.hearth);
  ApplyAttributeDelta(p, c, roster);
}

namespace {

/// The gap of a body attribute for the wear: 100 less its value, 5 when none is left.
float WearGap(float value) {
  const float gap = 100.0f - value;
  return gap <= 0.0f ? 5.0f : gap;
}

/// Takes the wear off the value, bounded below at 30; returns the loss.
float Wear(float& value, float wear) {
  const float old = value;
  value -= wear;
  if (value < 30.0f) value = 30.0f;  // also an unbounded (infinite) wear
  return old - value;
}

void WearPlayer(N_CareerProfile& p, const N_ResultRow& row, std::int32_t place) {
  const float powerLoss =
      Wear(p.power, RandomRange(0.9f, 1.1f) * WearGap(p.power) * CareerPowerFactor(row.FullPowerTime, row.Time));
  const float conditionLoss =
      Wear(p.condition, RandomRange(4.0f, 5.0f) * WearGap(p.condition) * (0.01f / row.Condition));
  Wear(p.hearth, (std::fabs(powerLoss) + std::fabs(conditionLoss)) * WearGap(p.hearth) * 0.01f);
  Wear(p.fightGhost, RandomRange(0.7f, 1.3f) * WearGap(p.fightGhost) * CareerPlaceFactor(place));
  Wear(p.concentration, RandomRange(0.7f, 1.2f) * WearGap(p.concentration) * CareerCountFactor(row.Misses));
  const float coolnessLoss =
      Wear(p.coolness, RandomRange(0.8f, 1.5f) * WearGap(p.coolness) * CareerCountFactor(row.Falls));
  p.freshness -= (CareerFreshnessPlaceFactor(place) + std::fabs(coolnessLoss) * 0.01f) * p.freshness;
  if (p.freshness < 0.0f) p.freshness = 0.0f;
}

void WearRival(N_AthletProfile& a) {
  struct Key {
    float N_AthletProfile::*field;
    float floor;
  };
  static constexpr std::array<Key, 6> kKeys{{{&N_AthletProfile::Concetration, 40.0f},
                                             {&N_AthletProfile::Coolness, 30.0f},
                                             {&N_AthletProfile::Gameness, 0.0f},
                                             {&N_AthletProfile::MaxCondition, 30.0f},
                                             {&N_AthletProfile::MaxPower, 30.0f},
                                             {&N_AthletProfile::OptPulse, 60.0f}}};
  for (const Key& k : kKeys) {
    float& v = a.*k.field;
    v -= RandomRange(1.0f, 10.0f);
    if (v < k.floor) v = k.floor;
  }
}

}  // namespace

void ApplyCareerRaceWear(N_CareerProfile& p, const ExportData& result, std::int32_t place, N_AthletMng* roster) {
  const bool hasPlayer = place >= 0 && static_cast<std::size_t>(place) < result.Rows.size();
  if (hasPlayer) {
    WearPlayer(p, result.Rows[static_cast<std::size_t>(place)], place);
    if (roster) career::HandAthleteToRoster(p, *roster);
  }
  if (!roster) return;
  const int sex = career::RosterSex(p.sex);
  for (std::size_t i = 0; i < result.Rows.size(); ++i) {
    if (hasPlayer && i == static_cast<std::size_t>(place)) continue;
    const std::int32_t index = result.Rows[i].AthleteIndex;
    if (index < 0) continue;
    if (N_AthletProfile* a = roster->GetBySex(sex, static_cast<std::size_t>(index))) WearRival(*a);
  }
}

namespace {

N_AthletMng* WorldAthletes() { return g_world ? &g_world->AthletMng() : nullptr; }

}  // namespace

void ApplyRaceStrain() {
  if (N_CareerProfile* p = career::Profile()) {
    ApplyRaceStrain(*p, WorldAthletes());
  } else if (g_log) {
    g_log->Print("ApplyRaceStrain: no current career profile\n");
  }
}

void ApplyCareerRaceWear(const ExportData& result, std::int32_t place) {
  if (N_CareerProfile* p = career::Profile()) {
    ApplyCareerRaceWear(*p, result, place, WorldAthletes());
  } else if (g_log) {
    g_log->Print("ApplyCareerRaceWear: no current career profile\n");
  }
}
