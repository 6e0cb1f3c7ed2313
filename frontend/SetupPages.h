#pragma once
// The two race set-up pages and their callbacks: "Arcade" (the arcade level table,
// "trackmode" 2, "gamemode" 0, top times on "ArcadeHS") and "SingleRace" (the full level
// table, "trackmode" 1, "gamemode" 1, top times on "SingleRaceHS"). The pages are one
// set-up class with two names records (frontend/RaceSetup.h).
#include "frontend/RaceSetup.h"

#include <cstdint>

class N_GuiElement;
class N_GuiPage;

/// The process-wide pages.
N_RaceSetup& ArcadeSetup();
N_RaceSetup& SingleRaceSetup();

/// The relay launches with the selector values (difficulty, sex, track, weather, snow).
void StartArcadeRelay(std::int32_t difficulty, std::int32_t sex, std::int32_t track, std::int32_t weather,
                      std::int32_t snow);
void StartSingleRelay(std::int32_t difficulty, std::int32_t sex, std::int32_t track, std::int32_t weather,
                      std::int32_t snow);

extern "C" {
void ArcadeShow(N_GuiPage* page);
void ArcadeClick(N_GuiElement* element);
void SingleRaceShow(N_GuiPage* page);
void SingleRaceClick(N_GuiElement* element);
}
