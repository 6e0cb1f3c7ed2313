// The buddy, final career and career profile tables ("data\tables\buddy_games.hs",
// "career.hs", "career1.hs") through their Load, as the pages load them, then their
// inserts (a block and numbers the input chooses), the displays and a save. Checked:
// the table holds the file's bytes up to its size; a merged block keeps its rows
// before its empty slots, ranked; the career standings stay ranked by total; the saved
// file is the whole table and loads back as the same bytes.
#include "frontend/BuddyGamesHS.h"
#include "frontend/CareerTables.h"
#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

namespace {

struct Pick {
  std::uint8_t byte = 0;
  std::int32_t number = 0;
  float time = 0.0f;
};

Pick PickFrom(const std::uint8_t* data, std::size_t size) {
  Pick pick;
  if (size > 0) pick.byte = data[size - 1];
  if (size >= 4) std::memcpy(&pick.time, data, 4);
  if (size >= 8) std::memcpy(&pick.number, data + 4, 4);
  return pick;
}

void CheckFront(const std::string& bytes, std::size_t tableBytes, const std::uint8_t* data, std::size_t size) {
  const std::size_t front = std::min(size, tableBytes);
  fuzz::Check(bytes.size() == tableBytes && bytes.compare(0, front, reinterpret_cast<const char*>(data), front) == 0,
              "the table does not hold the file's bytes");
}

template <class Table>
void CheckMerged(const Table& table, std::size_t block) {
  bool empty = false;
  for (std::size_t slot = 0; slot < Table::kRowsPerBlock; ++slot) {
    const auto& row = table.At(block, slot);
    if (row.Empty()) {
      empty = true;
      continue;
    }
    fuzz::Check(!empty, "a row after an empty slot of the merged block");
    if (slot > 0) fuzz::Check(!std::remove_cvref_t<decltype(row)>::Before(row, table.At(block, slot - 1)), "a block out of rank");
  }
}

template <class Table>
void SaveAndReload(const Table& table) {
  if (!table.Save()) return;
  Table again;
  fuzz::Check(again.Load() && again.Bytes() == table.Bytes(), "the saved table does not load back whole");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Pick pick = PickFrom(data, size);
  const std::string name(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 40));

  fuzz::WriteFile(N_BuddyGamesHS::kFile, data, size);
  N_BuddyGamesHS buddy;
  fuzz::Check(buddy.Load(), "an existing table file not read");
  CheckFront(buddy.Bytes(), N_BuddyGamesHS::kFileBytes, data, size);
  const int game = pick.byte % 7;  // 6: outside, refused
  buddy.Insert(game, name, "GER", pick.number, pick.time);
  if (game < 6) CheckMerged(buddy, std::size_t(game));
  buddy.Display(game, (pick.byte & 0x80) != 0);
  SaveAndReload(buddy);

  fuzz::WriteFile(N_CareerFinalHS::kFile, data, size);
  N_CareerFinalHS final;
  fuzz::Check(final.Load(), "an existing table file not read");
  CheckFront(final.Bytes(), N_CareerFinalHS::kFileBytes, data, size);
  const int difficulty = pick.byte % 3;
  final.Insert(difficulty, name, "NORWAY", pick.number, pick.number ^ pick.byte);
  if (difficulty < 2) CheckMerged(final, std::size_t(difficulty));
  final.Display(difficulty);
  SaveAndReload(final);

  fuzz::WriteFile(N_CareerHS::FileName(1), data, size);
  N_CareerHS career;
  fuzz::Check(career.Load(1), "an existing table file not read");
  CheckFront(career.Bytes(), N_CareerHS::kFileBytes, data, size);
  const int place = pick.byte % 16, season = (pick.byte >> 4) % 11, level = pick.number & 15, discipline = pick.byte & 3;
  career.AddResult(place, season, level, discipline, name, "SWE", pick.time, pick.number, pick.number);
  const bool taken = place < 15 && season < 10 && level < 10 && discipline < 3;
  for (std::size_t slot = 1; taken && slot < N_CareerHS::kRows; ++slot) {
    fuzz::Check(career.Standing(slot).Total <= career.Standing(slot - 1).Total, "standings out of rank");
  }
  career.FindAthlete(name);
  career.DisplayStandings();
  career.DisplayResults(season, level, discipline);
  if (pick.byte & 1) career.ClearStandings();
  if (career.Save(1)) {
    N_CareerHS again;
    fuzz::Check(again.Load(1) && again.Bytes() == career.Bytes(), "the saved table does not load back whole");
  }
  return 0;
}
