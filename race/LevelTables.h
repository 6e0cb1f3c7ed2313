#pragma once
// The level-name tables: a race names its course by a row of one of two fixed tables,
// chosen by the arcade-table flag of its description (GameData::ArcadeLevels). The
// level name is also the level file's base name and the shader name of the course's
// map picture. One pair of tables for the whole program: the race pages and the
// menus read the same rows.
#include <array>
#include <cstddef>
#include <cstdint>

/// One row: a level name of at most 31 characters, zero-padded.
using N_LevelName = std::array<char, 32>;

/// The full table (flag clear): the single race, time attack, training and career.
extern const std::array<N_LevelName, 12> LevelNamesAll;
/// The arcade table (flag set).
extern const std::array<N_LevelName, 8> LevelNamesArcade;

/// The name of a row of the table the flag chooses; the row comes from data (a
/// selector, a description), so a row outside the table gives the empty name.
const char* GetLevelName(std::int32_t row, bool arcadeTable);
