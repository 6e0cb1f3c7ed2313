#pragma once
// The season and week cycle of the career: the season's field, track order and
// extra-race weeks; the new race week with its sponsor offer; the season end with its
// bonus and the rivals' technique growth; and the rivals' attributes of a new career.
#include <array>
#include <cstdint>

class N_AthletMng;
struct N_CareerProfile;

/// The season bonus in EUR of places 1 to 15 of the season standings.
inline constexpr std::array<std::int32_t, 15> kCareerSeasonBonus{20000, 15000, 12000, 10000, 7000, 6000, 5000, 4000,
                                                                 3000,  2000,  0,     0,     0,     0,    0};

/// The season's set-up: freshness 100, no special trainings bought, stage 0; the field
/// (14 distinct rivals of the profile's sex, then the player's athlete at index 14;
/// with fewer rivals the missing places are -1), the track order (0 to 9 in season 0,
/// a random order later) and the two distinct extra-race weeks.
void StartCareerSeason(N_CareerProfile& profile, const N_AthletMng& roster);

/// The season's end: the bonus of the player's place in the standings (the "#str342"
/// box and the account, also for a place without bonus; an empty name is looked up as
/// the tables store it), the standings cleared in the slot's tables kept for the next
/// save of the profile (tables that cannot be read or are damaged pay nothing and stay
/// as they are); then every rival's techniques grow by up to 10, at most to 100.
void EndCareerSeason(N_CareerProfile& profile, N_AthletMng* roster);

/// New attributes for every athlete of the profile's sex: six body keys of 40 to 60,
/// three techniques of 60 to 80.
void RandomizeRivals(const N_CareerProfile& profile, N_AthletMng& roster);

/// The new race week: the schedule table and the week lists emptied, the sponsor offer
/// drawn (and shown), stage 0, no special training, the week header refreshed.
void StartCareerWeek(N_CareerProfile& profile);

/// The same on the current profile and the world's athletes; each logs and does
/// nothing without a current profile (or, where it needs one, a world).
void StartCareerSeason();
void EndCareerSeason();
void RandomizeRivals();
void StartCareerWeek();
