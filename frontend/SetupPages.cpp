#include "frontend/SetupPages.h"

#include "gui/GuiElement.h"

namespace {

constexpr RaceSetupNames kArcadeNames{
    "Arcade", "Level1", "Weather1",  "SnowQuality1", "Discipline1", "Sex1", "Difficulty1", "Athlets1", "Model1", "p1",
    "Back6",  "TopTimes1", "Start1", "ArcadeHS",     true,          2,      0,             "ArcadeClick"};
constexpr RaceSetupNames kSingleRaceNames{
    "SingleRace", "Level3", "Weather3", "SnowQuality3", "Discipline3", "Sex3", "Difficulty3", "Athlets3", "Model3", "p3",
    "Back8", "TopTimes3", "Start3", "SingleRaceHS", false, 1, 1, "SingleRaceClick"};

}  // namespace

N_RaceSetup& ArcadeSetup() {
  static N_RaceSetup page(kArcadeNames);
  return page;
}

N_RaceSetup& SingleRaceSetup() {
  static N_RaceSetup page(kSingleRaceNames);
  return page;
}

void StartArcadeRelay(std::int32_t difficulty, std::int32_t sex, std::int32_t track, std::int32_t weather,
                      std::int32_t snow) {
  ArcadeSetup().StartRelay(difficulty, sex, track, weather, snow);
}

void StartSingleRelay(std::int32_t difficulty, std::int32_t sex, std::int32_t track, std::int32_t weather,
                      std::int32_t snow) {
  SingleRaceSetup().StartRelay(difficulty, sex, track, weather, snow);
}

extern "C" void ArcadeShow(N_GuiPage*) { ArcadeSetup().Show(); }

extern "C" void ArcadeClick(N_GuiElement* element) {
  if (element) ArcadeSetup().Click(*element);
}

extern "C" void SingleRaceShow(N_GuiPage*) { SingleRaceSetup().Show(); }

extern "C" void SingleRaceClick(N_GuiElement* element) {
  if (element) SingleRaceSetup().Click(*element);
}
