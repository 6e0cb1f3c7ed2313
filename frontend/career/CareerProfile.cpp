#include "frontend/career/CareerProfile.h"

#include "frontend/FrontendUtil.h"

#include <algorithm>
#include <cstring>
#include <string>

N_CareerProfile::N_CareerProfile() { SetDefaults(); }

void N_CareerProfile::SetDefaults() {
  for (float* value : {&maxHearth, &maxCondition, &maxPower, &maxConcentration, &maxFightGhost, &maxCoolness,
                       &hearth, &condition, &power, &concentration, &fightGhost, &coolness, &runTech, &shootTech,
                       &handlTech})
    *value = 40.0f;
  freshness = 100.0f;

  std::memset(name, 0, sizeof name);
  const std::string text = frontend::Text("#str021");
  std::memcpy(name, text.data(), std::min(text.size(), sizeof name - 1));

  sex = athleteIndex = difficulty = points = season = raceIndex = weekChoicesBought = stage = 0;
  started = finished = 0;
  pursuitCount = 0;
  std::memset(nation, 0, sizeof nation);
  std::memcpy(nation, "GER", 3);
  account = 1000;

  for (auto& day : schedule)
    for (std::int32_t& slot : day) slot = -1;
  sponsorEvent = -1;
  sponsorPrize = 0;
  hotel = -1;
  weekChoice = -1;
}
