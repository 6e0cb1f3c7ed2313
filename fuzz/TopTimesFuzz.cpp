// The three top-times tables ("data\tables\arcade.hs", "single_race.hs",
// "time_attack.hs") through their Load, as the recording functions load them after a
// race, then an insert into a block the input chooses and a save. Checked: the table
// holds the file's bytes up to its size; the block stays ranked, its rows before its
// empty slots; the saved file is the whole table and loads back as the same bytes.
#include "fuzz/FuzzSupport.h"
#include "race/TopTimeTables.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

template <class Table>
void CheckBlock(const Table& table, std::size_t block) {
  bool empty = false;
  for (std::size_t slot = 0; slot < Table::kRowsPerBlock; ++slot) {
    const auto& row = table.At(block, slot);
    top_times::FieldText(row.PlayerName, sizeof row.PlayerName);
    top_times::FieldText(row.AthleteName, sizeof row.AthleteName);
    if (row.Empty()) {
      empty = true;
      continue;
    }
    fuzz::Check(!empty, "a row after an empty slot of the merged block");
    if (slot > 0) fuzz::Check(!top_times::TimeBefore(row.Time, table.At(block, slot - 1).Time), "a block out of rank");
  }
}

template <class Table, class Insert>
void Exercise(const std::uint8_t* data, std::size_t size, Insert insert) {
  fuzz::WriteFile(Table::kFile, data, size);
  Table table;
  fuzz::Check(table.Load(), "an existing table file not read");
  const std::size_t front = std::min(size, Table::kFileBytes);
  const std::string bytes = table.Bytes();
  fuzz::Check(bytes.size() == Table::kFileBytes && bytes.compare(0, front, reinterpret_cast<const char*>(data), front) == 0,
              "the table does not hold the file's bytes");
  // The block and the time come from the input, so every block and odd times are tried.
  const std::uint8_t pick = size > 0 ? data[size - 1] : 0;
  float time = 0.0f;
  if (size >= 4) std::memcpy(&time, data, 4);
  const std::size_t block = insert(table, pick, time);
  CheckBlock(table, block);
  if (!table.Save()) return;
  Table again;
  fuzz::Check(again.Load() && again.Bytes() == table.Bytes(), "the saved table does not load back whole");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Exercise<N_ArcadeHS>(data, size, [](N_ArcadeHS& table, std::uint8_t pick, float time) {
    const int track = pick % 8, sex = (pick >> 3) & 1, discipline = (pick >> 4) & 3, difficulty = (pick >> 6) & 1;
    table.Insert(track, sex, discipline, difficulty, "player", "athlete", "GER", 1, 2, time, pick);
    return std::size_t(N_ArcadeHS::BlockIndex(track, sex, discipline, difficulty));
  });
  Exercise<N_SingleRaceHS>(data, size, [](N_SingleRaceHS& table, std::uint8_t pick, float time) {
    const int track = pick % 10, sex = (pick >> 4) & 1, discipline = (pick >> 5) & 3, difficulty = pick >> 7;
    table.Insert(track, sex, discipline, difficulty, "", std::string(100, 'a'), "NORWAY", 0, 0, time, -1);
    return std::size_t(N_SingleRaceHS::BlockIndex(track, sex, discipline, difficulty));
  });
  Exercise<N_TimeAttackHS>(data, size, [](N_TimeAttackHS& table, std::uint8_t pick, float time) {
    const int level = pick % 10, length = (pick >> 4) & 1, sex = (pick >> 5) & 1, mode = (pick >> 6) & 1,
              difficulty = pick >> 7;
    table.Insert(level, length, sex, mode, difficulty, std::string(50, 'p'), "athlete", "GER", time, 3);
    return std::size_t(N_TimeAttackHS::BlockIndex(level, length, sex, mode, difficulty));
  });
  return 0;
}
