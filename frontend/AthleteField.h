#pragma once
// The athletes a race set-up offers and the field it draws around the player: the
// rows of the athlete tables, the random draw of distinct starters, and the three
// opposing relay teams. Athletes are named by their index in the list of their sex
// (0 the men, any other value the women) of the world's athlete manager.
#include <cstdint>
#include <string>
#include <vector>

class N_AthletMng;
struct N_AthletProfile;

/// The record of an index of the list of the sex; null when the list has no such
/// index.
const N_AthletProfile* AthleteOfSex(const N_AthletMng& athletes, std::int32_t sex, std::int64_t index);

/// The row of an athlete table: the quoted name, the nation, then OptPulse,
/// MaxCondition, MaxPower, Concetration, Gameness, Coolness, ShootTechnic, RunTechnic
/// and CurveTechnic with one decimal ("\"Ana Kel\" NOR 50.0 ...").
std::string AthleteRowText(const N_AthletProfile& athlete);

/// Empties the table of that name and adds one row per athlete of the sex of the
/// world's athletes, in list order; nothing when there is no such table.
void FillAthleteList(const char* tableName, std::int32_t sex);

/// Appends count distinct values of first..last, leaving out the excluded one (-1
/// leaves none out), drawn one by one through the project's generator: each draw picks
/// a position of the remaining values by RandomRange(0, n - 1) rounded to the nearest
/// (ties to even), so the first and last positions come up half as often as the
/// others. Stops early when no value is left.
void PickRandomAthletes(std::int32_t first, std::int32_t last, std::int32_t count, std::int32_t excluded,
                        std::vector<std::int32_t>& out);

/// Appends the 12 athletes of three opposing relay teams of the sex: three distinct
/// nations drawn among those (not the player's) with four or more athletes, then four
/// distinct athletes of each, team after team in the drawn order. With fewer than three
/// such nations: the reporter's box says so and nothing is appended.
void BuildRelayTeams(const N_AthletMng& athletes, std::int32_t sex, const std::string& playerNation,
                     std::vector<std::uint32_t>& out);
/// The same over the world's athletes (nothing without a world).
void BuildRelayTeams(std::int32_t sex, const std::string& playerNation, std::vector<std::uint32_t>& out);
