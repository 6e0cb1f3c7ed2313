#include "frontend/career/CareerRoster.h"

#include "frontend/HighScoreRows.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/World.h"

namespace career {

std::optional<RosterSizes> CareerRosterSizes() {
  if (!g_world) return std::nullopt;
  const N_AthletMng& athletes = g_world->AthletMng();
  return RosterSizes{athletes.GetMaleCount(), athletes.GetFemaleCount()};
}

N_AthletProfile* RosterAthlete(std::int32_t sex, std::int32_t index) {
  if (!g_world || index < 0) return nullptr;
  return g_world->AthletMng().GetBySex(RosterSex(sex), static_cast<std::size_t>(index));
}

N_AthletProfile CareerAthleteRecord(const N_CareerProfile& profile) {
  N_AthletProfile record;
  record.MaxPower = profile.power;
  record.OptPulse = profile.hearth;
  record.MaxCondition = profile.condition;
  record.Concetration = profile.concentration;
  record.Coolness = profile.coolness;
  record.Gameness = profile.fightGhost;
  record.ShootTechnic = profile.shootTech;
  record.RunTechnic = profile.runTech;
  record.CurveTechnic = profile.handlTech;
  record.AthletName = high_scores::FieldText(profile.name, sizeof profile.name);
  return record;
}

void HandAthleteToRoster(const N_CareerProfile& profile, N_AthletMng& athletes) {
  if (profile.athleteIndex < 0) return;
  athletes.SetPlayerAthlete(static_cast<std::size_t>(profile.athleteIndex), RosterSex(profile.sex),
                            CareerAthleteRecord(profile));
}

void HandAthleteToRoster(const N_CareerProfile& profile) {
  if (g_world) HandAthleteToRoster(profile, g_world->AthletMng());
}

}  // namespace career
