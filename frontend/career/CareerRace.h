#pragma once
// The career's races and their booking. A race week runs a sprint, a pursuit from the
// sprint's gaps and, in two weeks of a season, a mass start; StartCareerRace launches
// one of them with the season's field on the week's track, and the final-result
// page's click ("gamemode" 6) hands its result to ProcessCareerRaceResult, which pays
// the player, enters all rows into the profile's career tables, builds the pursuit's
// start list after a sprint and moves the week, the season and the career on.
//
// Both work on the current career profile; without one they log and change nothing
// (the result is released).
#include <cstdint>

struct N_ResultRow;

namespace career {

/// Prize money of a place (index 0 the winner), 0 outside the field.
std::int32_t CareerPrize(std::int32_t place);
/// Career points of a place: 14 for the winner down to 0 for the 15th.
std::int32_t CareerPoints(std::int32_t place);

}  // namespace career

/// Launches the career race of the discipline code: 4 sprint, 3 pursuit, 2 mass start.
/// Sprint and mass start run the profile's field (start times -7 s apart, or all 0),
/// the pursuit its start list; random weather and snow, the week's track of the full
/// level table, "trackmode" 1, "gamemode" 6, from "Career" through "Loading" to the
/// start list. A pursuit without the player is run at once by the computer and its
/// result comes back through the world like any race's. Another code, a track that
/// is no level or no profile: logged, nothing starts.
void StartCareerRace(std::int32_t discipline);

/// Books the race result of the handle ("egd") for the current profile and releases
/// it: the player's prize and points, the rows 0 to 14 in the career tables under the
/// season, the week's track and the race's stage (0 sprint, 1 pursuit, 2 mass start),
/// the race wear, after a sprint the pursuit list (or the pursuit scored without
/// running it when the player has no time), the end of the week, the season or the
/// career, then the profile saved.
void ProcessCareerRaceResult(std::int32_t resultHandle);

/// Three-way order of result rows by time: negative when a goes first. A row with a
/// negative time goes after every row with a time of 0.0 or more; two negative times
/// are equal; otherwise the smaller time first.
int CompareResultRowTimes(const N_ResultRow& a, const N_ResultRow& b);
/// The same as a strict order, for std::stable_sort.
bool ResultRowTimeBefore(const N_ResultRow& a, const N_ResultRow& b);
