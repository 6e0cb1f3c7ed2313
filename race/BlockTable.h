#pragma once
// N_BlockTable: a table of best results kept in one binary file below "data\tables\":
// blocks of ten rows (fifteen in the career files), read and written whole, without header or version. The file
// holds exactly the rows, block after block, each row field by field (Row::Read and
// Row::Write). A missing file is an empty table; a short file fills the front of the
// table (the rest stays as it was); a longer one is read up to the table's size. Save
// replaces the file whole (platform/win32/FileReplace.h): a failed save is logged and
// leaves the old file as it was.
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
// bool Empty() const, static bool Before(const Row& a, const Row& b).
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32/FileReplace.h"
#include "platform/win32/Files.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

template <class Row, std::size_t kBlockCount, std::size_t kRows = 10>
class N_BlockTable {
 public:
  static constexpr std::size_t kRowsPerBlock = kRows;
  static constexpr std::size_t kBlocks = kBlockCount;
  static constexpr std::size_t kBlockBytes = Row::kBytes * kRowsPerBlock;
  static constexpr std::size_t kFileBytes = kBlockBytes * kBlocks;

  /// An empty table (every row zero) of the file.
  explicit N_BlockTable(std::string fileName) : m_fileName(std::move(fileName)), m_rows(kBlocks * kRowsPerBlock) {}

  /// Reads the file over the table; false (the table unchanged) when it cannot be opened.
  bool Load() {
    std::FILE* file = platform::OpenFile(m_fileName.c_str(), "rb");
    if (!file) return false;
    std::string bytes(kFileBytes, '\0');
    const std::size_t read = std::fread(bytes.data(), 1, kFileBytes, file);
    std::fclose(file);
    if (read < kFileBytes && g_log) {
      g_log->Print("%s: %zu of %zu bytes read\n", m_fileName.c_str(), read, kFileBytes);
    }
    Read(bytes.data(), read);
    return true;
  }

  /// Takes the first size bytes (at most the table's) as the table's front; the rows
  /// past them stay as they were.
  void Read(const char* bytes, std::size_t size) {
    std::string all = Bytes();
    all.replace(0, std::min(size, kFileBytes), bytes, std::min(size, kFileBytes));
    for (std::size_t i = 0; i < m_rows.size(); ++i) m_rows[i] = Row::Read(all.data() + i * Row::kBytes);
  }

  /// Replaces the file with the table; false (logged, the old file kept) on failure.
  bool Save() const {
    std::string why;
    if (platform::ReplaceWholeFile(m_fileName.c_str(), Bytes(), &why)) return true;
    if (g_log) g_log->Print("%s not saved: %s\n", m_fileName.c_str(), why.c_str());
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
  void Merge(std::size_t block, const Row& row, bool take) {
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
