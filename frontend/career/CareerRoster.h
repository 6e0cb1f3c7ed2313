#pragma once
// The career's view of the athlete roster: the list of the profile's sex (0 male, any
// other value female) and the hand-over of the career athlete, whose name and nine
// values take the place of the roster athlete `athleteIndex` so that the next race
// runs with them.
#include "frontend/career/CareerProfileFile.h"

#include <cstdint>
#include <optional>

struct N_AthletProfile;
class N_AthletMng;

namespace career {

/// The roster list a profile's sex selects: 0 for 0, 1 for any other value.
inline std::int32_t RosterSex(std::int32_t sex) { return sex == 0 ? 0 : 1; }

/// The sizes of the two lists of the world's athletes; nullopt without a world.
std::optional<RosterSizes> CareerRosterSizes();
/// The athlete of the profile's sex at index; null without a world or outside the list.
N_AthletProfile* RosterAthlete(std::int32_t sex, std::int32_t index);

/// A record with the athlete defaults holding the profile's name and nine values:
/// `power` as MaxPower, `hearth` as OptPulse, `condition` as MaxCondition,
/// `concentration` as Concetration, `coolness` as Coolness, `fightGhost` as Gameness,
/// `shootTech` as ShootTechnic, `runTech` as RunTechnic, `handlTech` as CurveTechnic.
N_AthletProfile CareerAthleteRecord(const N_CareerProfile& profile);
/// Hands the career athlete to the roster of the manager (SetPlayerAthlete).
void HandAthleteToRoster(const N_CareerProfile& profile, N_AthletMng& athletes);
/// The same with the world's athletes; nothing without a world.
void HandAthleteToRoster(const N_CareerProfile& profile);

}  // namespace career
