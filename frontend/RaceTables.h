#pragma once
// The menus' small tables: the level file of a track row (the level names themselves
// are the race's, race/LevelTables.h) and the three-letter codes of the nations, in the
// order the menus and the relay draw walk them.
#include <array>
#include <cstdint>
#include <string>

/// The nations, row 0 first; athletes carry their nation as one of these codes
/// (compared without regard to case).
inline constexpr std::array<const char*, 32> kNationCodes{
    "GER", "AUT", "SUI", "USA", "FRA", "ROM", "GRL", "ARG", "MDA", "GRE", "ITA", "NZL", "HUN", "LTU", "CRO", "CHI",
    "AUS", "BUL", "CAN", "BLR", "CZE", "EST", "FIN", "GBR", "LAT", "NOR", "POL", "RUS", "SLO", "SVK", "SWE", "UKR"};

/// The level file of a row of the table the flag chooses (the arcade table when set):
/// "fog_" before the level name when fog is set, then ".alf" ("fog_Oberhof.alf"). The
/// race launches put it into "mapname". A row outside the table gives "" and a log
/// line, never a bare ".alf".
std::string GetLevelFileName(std::int32_t row, bool arcadeTable, bool fog);

/// The code of a nation row; "" and a log line for a row outside the table.
const char* GetNationCode(std::int32_t row);

/// The first row whose code equals the text without regard to case; the row count
/// (32) when none does.
std::int32_t FindNationRow(const std::string& code);
