#pragma once
// The career's top-scores files:
// - "data\tables\career.hs" (N_CareerFinalHS): the careers that ended, one block of ten
//   rows for each career difficulty (880 bytes), ranked by account, then points; a
//   career that ended without points is not entered.
// - "data\tables\career%d.hs" of a career profile (N_CareerHS): the season standings
//   (15 rows, 1,200 bytes), then the race results, a block of 15 rows (one per place)
//   for each [season 0..9][level 0..9][discipline 0..2] (216,000 bytes). The file is
//   read as those two pieces into one byte array; a short file fills the front.
// Loads and saves are those of race/BlockTable.h: a file that cannot be read or fails
// its row checks is told to the player and takes no entry; saves replace the file
// whole (a failed one is told and leaves the old file).
// Indices outside a table are refused with one log line and change nothing.
#include "frontend/HighScoreRows.h"
#include "race/BlockTable.h"

#include <cstdint>
#include <string>
#include <string_view>

class N_CareerFinalHS final : public N_BlockTable<N_CareerFinalRow, 2> {
 public:
  static constexpr const char* kFile = "data\\tables\\career.hs";
  N_CareerFinalHS() : N_BlockTable(kFile) {}

  /// Merges the career into the block of its difficulty when it has points above 0.
  void Insert(std::int32_t difficulty, std::string_view name, std::string_view nation, std::int32_t account,
              std::int32_t points);
  /// Fills the GUI table "CareerHS": `place "name" nation account points`.
  void Display(std::int32_t difficulty) const;
};
static_assert(N_CareerFinalHS::kBlockBytes == 440 && N_CareerFinalHS::kFileBytes == 880);

class N_CareerHS {
 public:
  static constexpr std::size_t kRows = 15;
  static constexpr std::int32_t kSeasons = 10, kLevels = 10, kDisciplines = 3;

  /// "data\tables\career<profile>.hs".
  static std::string FileName(std::int32_t profile);

  /// An empty table (every byte zero).
  N_CareerHS();

  /// Reads the profile's file over the table and checks its rows (TableFile: a file
  /// that cannot be read or is damaged is reported and must take no entry).
  TableFile Load(std::int32_t profile);
  /// Replaces the profile's file with the table; false (logged) on failure.
  bool Save(std::int32_t profile) const;
  /// The table's bytes as the file holds them: standings, then results.
  std::string Bytes() const;

  /// The race's row of one athlete: the standings row of the name (A-Z and a-z the
  /// same), else the first empty one, else none (the standings stay) gains the points
  /// in its total and its level's column, the standings are ranked by total, and the
  /// result row [season][level][discipline][place] is overwritten.
  void AddResult(std::int32_t place, std::int32_t season, std::int32_t level, std::int32_t discipline,
                 std::string_view name, std::string_view nation, float time, std::int32_t misses, std::int32_t points);
  /// Empties the standings; the results stay.
  void ClearStandings();
  /// The standings row whose name is exactly the name (case matters), -1 when none.
  std::int32_t FindAthlete(std::string_view name) const;

  /// Fills the GUI table "CareerHS1": `place "name" nation total` and the ten levels.
  void DisplayStandings() const;
  /// Fills the GUI table "CareerHS2" with a race's rows: `place "name" nation time
  /// misses points`, the time "Disq" when negative.
  void DisplayResults(std::int32_t season, std::int32_t level, std::int32_t discipline) const;

  /// The results block of a race, -1 for one outside.
  static std::int64_t ResultBlock(std::int32_t season, std::int32_t level, std::int32_t discipline);
  const N_CareerStandingsRow& Standing(std::size_t slot) const { return m_standings.At(0, slot); }
  const N_CareerResultRow& Result(std::size_t block, std::size_t place) const { return m_results.At(block, place); }

 private:
  struct Standings final : N_BlockTable<N_CareerStandingsRow, 1, kRows> {
    using N_BlockTable::N_BlockTable;
    using N_BlockTable::Slot;
    using N_BlockTable::SortWhole;
  };
  struct Results final : N_BlockTable<N_CareerResultRow, 300, kRows> {
    using N_BlockTable::N_BlockTable;
    using N_BlockTable::Slot;
  };

 public:
  static constexpr std::size_t kStandingsBytes = Standings::kFileBytes;
  static constexpr std::size_t kResultsBytes = Results::kFileBytes;
  static constexpr std::size_t kFileBytes = kStandingsBytes + kResultsBytes;

 private:
  Standings m_standings;
  Results m_results;
};
static_assert(N_CareerHS::kStandingsBytes == 1200 && N_CareerHS::kResultsBytes == 216000 &&
              N_CareerHS::kFileBytes == 217200);
