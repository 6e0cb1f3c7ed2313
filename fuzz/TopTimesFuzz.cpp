// The three top-times tables ("data\tables\arcade.hs", "single_race.hs",
// "time_attack.hs") through their Load, as the recording functions load them after a
// race, then (unless the file is damaged) an insert into a block the input chooses and
// a save. Checked: the table holds the file's rows up to its size, those that fail
// their checks emptied; the block stays ranked, its rows before its empty slots; the
// saved file is the whole table and loads back as the same bytes.
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
  const TableFile state = table.Load();
  fuzz::Check(state == TableFile::Read || state == TableFile::Damaged, "an existing table file not read");
  // Each row as the file has it, or emptied when it failed its checks.
  const std::size_t front = std::min(size, Table::kFileBytes);
  const std::string bytes = table.Bytes();
  fuzz::Check(bytes.size() == Table::kFileBytes, "the table is not whole");
  constexpr std::size_t kRow = Table::RowType::kBytes;
  for (std::size_t at = 0; at + kRow <= front; at += kRow) {
    const bool same = bytes.compare(at, kRow, reinterpret_cast<const char*>(data) + at, kRow) == 0;
    fuzz::Check(same || (state == TableFile::Damaged && bytes.compare(at, kRow, std::string(kRow, '\0')) == 0),
                "a row neither the file's nor emptied");
    fuzz::Check(table.At(at / Table::kBlockBytes, (at % Table::kBlockBytes) / kRow).Empty() ||
                    table.At(at / Table::kBlockBytes, (at % Table::kBlockBytes) / kRow).Fault().empty(),
                "a row kept that fails its checks");
  }
  // A damaged file takes no entry, as the game's recording skips it.
  if (!TakesEntries(state)) return;
  // The block and the time come from the input, so every block and odd times are tried.
  const std::uint8_t pick = size > 0 ? data[size - 1] : 0;
  float time = 0.0f;
  if (size >= 4) std::memcpy(&time, data, 4);
  const std::size_t block = insert(table, pick, time);
  CheckBlock(table, block);
  if (!table.Save()) return;
  Table again;
  fuzz::Check(again.Load() == TableFile::Read && again.Bytes() == table.Bytes(),
              "the saved table does not load back whole");
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
