#pragma once
// N_BlockTable: a table of best results kept in one binary file below "data\tables\":
// blocks of ten rows (fifteen in the career files), read and written whole, without header or version. The file
// holds exactly the rows, block after block, each row field by field (Row::Read and
// Row::Write). A missing file is an empty table; a short file fills the front of the
// table (the rest stays as it was); a longer one is read up to the table's size. A
// file that is there but cannot be read, or whose rows fail their checks (Row::Fault:
// numbers no entry can hold), is told to the player (race/FileProblems.h) and must not
// take an entry: a save of what was loaded would overwrite it. Save replaces the file
// whole (platform/win32/FileReplace.h): a failed save is told the same way and leaves
// the old file as it was.
//
// A row whose first name byte is 0 is an empty slot. Merge puts a new row among the
// block's rows by Row::Before (a strict order: equal rows keep their order, the new
// row after the old ones), keeps the first ten and clears the slots after the last
// row written, so that a block loaded with gaps never shows a row twice.
//
// The career files hold two such tables one after the other: Read and Bytes give a
// table's share of a file read or written by its owner.
//
// Row: kBytes, static Row Read(const char* bytes), void Write(char* bytes) const,
// bool Empty() const, static bool Before(const Row& a, const Row& b), std::string
// Fault() const (empty for a row the game can show and rank, else what is wrong).
#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32/FileReplace.h"
#include "platform/win32/Files.h"
#include "race/FileProblems.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

/// What a table's Load found.
enum class TableFile {
  Read,        ///< the file, read and its rows checked
  Missing,     ///< no file: the empty table
  Unreadable,  ///< a file that cannot be read: the table as it was
  Damaged,     ///< a file whose rows fail their checks: those rows are left empty
};
/// Whether a table so loaded may take an entry and be saved: never over a file that
/// cannot be read or is damaged, which stays as it is.
inline bool TakesEntries(TableFile state) { return state == TableFile::Read || state == TableFile::Missing; }

/// The consequence the player is told for a table that cannot be used.
inline constexpr const char* kTableLeftAlone = "it is left as it is and nothing is entered in it.";

/// Reads a table file whole: Read, Missing (bytes empty) or Unreadable (reported).
inline TableFile ReadTableFile(const std::string& fileName, std::string& bytes) {
  std::string why;
  if (platform::ReadWholeFile(fileName, bytes, &why)) return TableFile::Read;
  if (why.empty()) return TableFile::Missing;
  ReportFileProblem(file_problem::Unreadable(fileName, why, kTableLeftAlone));
  return TableFile::Unreadable;
}

template <class Row, std::size_t kBlockCount, std::size_t kRows = 10>
class N_BlockTable {
 public:
  using RowType = Row;
  static constexpr std::size_t kRowsPerBlock = kRows;
  static constexpr std::size_t kBlocks = kBlockCount;
  static constexpr std::size_t kBlockBytes = Row::kBytes * kRowsPerBlock;
  static constexpr std::size_t kFileBytes = kBlockBytes * kBlocks;

  /// An empty table (every row zero) of the file.
  explicit N_BlockTable(std::string fileName) : m_fileName(std::move(fileName)), m_rows(kBlocks * kRowsPerBlock) {}

  /// Reads the file over the table and checks its rows; see TableFile. A file that
  /// cannot be read or is damaged is reported (a line and the player's box).
  TableFile Load() {
    std::string bytes;
    const TableFile state = ReadTableFile(m_fileName, bytes);
    if (state != TableFile::Read) return state;
    if (bytes.size() < kFileBytes && g_log) {
      g_log->Print("%s: %zu of %zu bytes read\n", m_fileName.c_str(), bytes.size(), kFileBytes);
    }
    Read(bytes.data(), bytes.size());
    const std::string fault = EmptyFaultyRows();
    if (fault.empty()) return TableFile::Read;
    ReportFileProblem(file_problem::Damaged(m_fileName, fault, kTableLeftAlone));
    return TableFile::Damaged;
  }

  /// Empties every row that fails its checks; what is wrong ("3 rows; block 2, row 0:
  /// a time of nan"), empty when nothing is.
  std::string EmptyFaultyRows() {
    std::size_t faulty = 0;
    std::string first;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
      if (m_rows[i].Empty()) continue;
      const std::string fault = m_rows[i].Fault();
      if (fault.empty()) continue;
      if (faulty++ == 0) first = FormatString("block %zu, row %zu: ", i / kRowsPerBlock, i % kRowsPerBlock) + fault;
      m_rows[i] = Row{};
    }
    if (faulty == 0) return {};
    return FormatString("%zu row%s; ", faulty, faulty == 1 ? "" : "s") + first;
  }

  /// Takes the first size bytes (at most the table's) as the table's front; the rows
  /// past them stay as they were.
  void Read(const char* bytes, std::size_t size) {
    std::string all = Bytes();
    all.replace(0, std::min(size, kFileBytes), bytes, std::min(size, kFileBytes));
    for (std::size_t i = 0; i < m_rows.size(); ++i) m_rows[i] = Row::Read(all.data() + i * Row::kBytes);
  }

  /// Replaces the file with the table; false (reported, the old file kept) on failure.
  bool Save() const {
    std::string why;
    if (platform::ReplaceWholeFile(m_fileName.c_str(), Bytes(), &why)) return true;
    ReportFileProblem(file_problem::NotSaved(m_fileName, why, "the new entry is lost."));
    return false;
  }

  /// The table's bytes as the file holds them.
  std::string Bytes() const {
    std::string bytes(kFileBytes, '\0');
    for (std::size_t i = 0; i < m_rows.size(); ++i) m_rows[i].Write(bytes.data() + i * Row::kBytes);
    return bytes;
  }

  const Row& At(std::size_t block, std::size_t slot) const { return m_rows[block * kRowsPerBlock + slot]; }
  const char* FileName() const { return m_fileName.c_str(); }

 protected:
  /// Merges the row into the block (take false: only the block's rows, sorted again).
  /// A row that would fail the load's checks is never entered (logged).
  void Merge(std::size_t block, const Row& row, bool take) {
    if (take) {
      const std::string fault = row.Fault();
      if (!fault.empty()) {
        if (g_log) g_log->Print("%s: a row of %s is not entered\n", m_fileName.c_str(), fault.c_str());
        take = false;
      }
    }
    Row* slots = &m_rows[block * kRowsPerBlock];
    std::vector<Row> list;
    list.reserve(kRowsPerBlock + 1);
    for (std::size_t i = 0; i < kRowsPerBlock; ++i) {
      if (!slots[i].Empty()) list.push_back(slots[i]);
    }
    if (take) list.push_back(row);
    std::stable_sort(list.begin(), list.end(), Row::Before);
    const std::size_t kept = std::min(list.size(), kRowsPerBlock);
    for (std::size_t i = 0; i < kRowsPerBlock; ++i) slots[i] = i < kept ? list[i] : Row{};
  }

  /// Sorts every slot of the block, empty ones too (they rank as their numbers do).
  void SortWhole(std::size_t block) {
    Row* slots = &m_rows[block * kRowsPerBlock];
    std::stable_sort(slots, slots + kRowsPerBlock, Row::Before);
  }

  Row& Slot(std::size_t block, std::size_t slot) { return m_rows[block * kRowsPerBlock + slot]; }

  /// Logs a block index that lies outside the table.
  void LogOutside(const char* what) const {
    if (g_log) g_log->Print("%s: %s is outside the table, nothing entered\n", m_fileName.c_str(), what);
  }

 private:
  std::string m_fileName;
  std::vector<Row> m_rows;
};
