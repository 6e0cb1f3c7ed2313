#pragma once
// What a race does to the career athlete: the wear of each career race, read from the
// player's result row, with the rivals of the race losing a little; and the form swing
// at the end of each race week, whose sign and odds follow the athlete's freshness.
#include <cstdint>

class N_AthletMng;
struct ExportData;
struct N_CareerProfile;

/// The wear ladders of the player's result row.
float CareerPowerFactor(float fullPowerTime, float time);
float CareerPlaceFactor(std::int32_t place);
float CareerCountFactor(std::int32_t count);
float CareerFreshnessPlaceFactor(std::int32_t place);

/// The form swing's factor for a freshness and a draw u of 0 to 1.
float CareerStrainFactor(float freshness, float u);

/// The form swing: one draw, then factor x value (rounded) on each body attribute.
void ApplyRaceStrain(N_CareerProfile& profile, N_AthletMng* roster);

/// The race's wear of the player's row at place, then of every other row's athlete of
/// the profile's sex. A place that names no row (-1: the player did not race) wears
/// only the rivals, every row of the result.
void ApplyCareerRaceWear(N_CareerProfile& profile, const ExportData& result, std::int32_t place, N_AthletMng* roster);

/// The same two on the current profile and the world's athletes; nothing (logged)
/// without a current profile.
void ApplyRaceStrain();
void ApplyCareerRaceWear(const ExportData& result, std::int32_t place);
