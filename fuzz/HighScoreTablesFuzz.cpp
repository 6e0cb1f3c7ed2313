// The buddy, final career and career profile tables ("data\tables\buddy_games.hs",
// "career.hs", "career1.hs") through their Load, as the pages load them, then their
// inserts (a block and numbers the input chooses), the displays and a save. Checked:
// the table holds the file's rows up to its size, those that fail their checks
// emptied; a merged block keeps its rows before its empty slots, ranked; the career
// standings stay ranked by total; the saved file is the whole table and loads back,
// its checks passed, as the same bytes.
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

/// The table holds the file's rows up to its size: each as the file has it, or emptied
/// (a damaged file's rows that fail their checks). Rows of rowBytes, from 1200 on of
/// laterRowBytes (the career file).
void CheckFront(const std::string& bytes, std::size_t tableBytes, const std::uint8_t* data, std::size_t size,
                TableFile state, std::size_t rowBytes, std::size_t laterRowBytes) {
  fuzz::Check(state == TableFile::Read || state == TableFile::Damaged, "an existing table file not read");
  fuzz::Check(bytes.size() == tableBytes, "the table is not whole");
  const std::size_t front = std::min(size, tableBytes);
  for (std::size_t at = 0; at < front;) {
    const std::size_t row = at >= 1200 ? laterRowBytes : rowBytes;
    if (at + row > front) break;
    const bool same = bytes.compare(at, row, reinterpret_cast<const char*>(data) + at, row) == 0;
    fuzz::Check(same || (state == TableFile::Damaged && bytes.compare(at, row, std::string(row, '\0')) == 0),
                "a row neither the file's nor emptied");
    at += row;
  }
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
  // A damaged file's faulty rows were emptied and no insert enters a faulty one.
  fuzz::Check(again.Load() == TableFile::Read && again.Bytes() == table.Bytes(),
              "the saved table does not load back whole");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Pick pick = PickFrom(data, size);
  const std::string name(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 40));

  fuzz::WriteFile(N_BuddyGamesHS::kFile, data, size);
  N_BuddyGamesHS buddy;
  const TableFile buddyState = buddy.Load();
  CheckFront(buddy.Bytes(), N_BuddyGamesHS::kFileBytes, data, size, buddyState, 44, 44);
  // A damaged table takes no entry in the game; here the inserts still run on the rows
  // kept, which no insert may turn into a table the load refuses.
  const int game = pick.byte % 7;  // 6: outside, refused
  buddy.Insert(game, name, "GER", pick.number, pick.time);
  if (game < 6) CheckMerged(buddy, std::size_t(game));
  buddy.Display(game, (pick.byte & 0x80) != 0);
  SaveAndReload(buddy);

  fuzz::WriteFile(N_CareerFinalHS::kFile, data, size);
  N_CareerFinalHS final;
  const TableFile finalState = final.Load();
  CheckFront(final.Bytes(), N_CareerFinalHS::kFileBytes, data, size, finalState, 44, 44);
  const int difficulty = pick.byte % 3;
  final.Insert(difficulty, name, "NORWAY", pick.number, pick.number ^ pick.byte);
  if (difficulty < 2) CheckMerged(final, std::size_t(difficulty));
  final.Display(difficulty);
  SaveAndReload(final);

  fuzz::WriteFile(N_CareerHS::FileName(1), data, size);
  N_CareerHS career;
  const TableFile careerState = career.Load(1);
  CheckFront(career.Bytes(), N_CareerHS::kFileBytes, data, size, careerState, 80, 48);
  const int place = pick.byte % 16, season = (pick.byte >> 4) % 11, level = pick.number & 15, discipline = pick.byte & 3;
  const std::string before = career.Bytes();
  career.AddResult(place, season, level, discipline, name, "SWE", pick.time, pick.number, pick.number);
  // Taken only inside the table and with numbers a row may hold; then ranked again.
  const bool taken = career.Bytes() != before;
  for (std::size_t slot = 1; taken && slot < N_CareerHS::kRows; ++slot) {
    fuzz::Check(career.Standing(slot).Total <= career.Standing(slot - 1).Total, "standings out of rank");
  }
  career.FindAthlete(name);
  career.DisplayStandings();
  career.DisplayResults(season, level, discipline);
  if (pick.byte & 1) career.ClearStandings();
  if (career.Save(1)) {
    N_CareerHS again;
    fuzz::Check(again.Load(1) == TableFile::Read && again.Bytes() == career.Bytes(),
                "the saved table does not load back whole");
  }
  return 0;
}
