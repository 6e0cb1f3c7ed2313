#pragma once
// The displays of the top-times tables (race/TopTimeTables.h): each fills the GUI
// table of its page with the rows of one block, `place "player" "athlete" nation ...`,
// one row per filled slot, the place counted from 1. A missing GUI table shows
// nothing; a block outside the table leaves the GUI table empty. Names, weather and
// snow names are quoted cells (a blank or a double quote in them never shifts a
// column); times are the race-time text.
#include <cstdint>

class N_ArcadeHS;
class N_SingleRaceHS;
class N_TimeAttackHS;

/// "ArcadeHS": place, player, athlete, nation, weather, snow, time, misses.
void DisplayArcadeHS(const N_ArcadeHS& table, std::int32_t track, std::int32_t sex, std::int32_t discipline,
                     std::int32_t difficulty);
/// "SingleRaceHS": the same rows.
void DisplaySingleRaceHS(const N_SingleRaceHS& table, std::int32_t track, std::int32_t sex, std::int32_t discipline,
                         std::int32_t difficulty);
/// "TimeAttackHS": place, player, athlete, nation, time, misses.
void DisplayTimeAttackHS(const N_TimeAttackHS& table, std::int32_t level, std::int32_t trackLength, std::int32_t sex,
                         std::int32_t gameMode, std::int32_t difficulty);
