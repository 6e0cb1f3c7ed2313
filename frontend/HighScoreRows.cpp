#include "frontend/HighScoreRows.h"

#include "core/FormatString.h"
#include "core/StringUtil.h"
#include "race/RaceGui.h"
#include "race/TopTimeTables.h"

#include <algorithm>
#include <cmath>

namespace high_scores {

std::string StoredName(std::string_view name) {
  name = name.substr(0, name.find('\0'));
  if (!name.empty()) return std::string(name);
  std::string fallback = race_gui::Text("#str021");
  fallback = fallback.substr(0, fallback.find('\0'));
  return fallback.empty() ? std::string("Player") : fallback;
}

std::string RowName(std::string_view name) {
  char field[32];
  CopyField(field, StoredName(name));
  return FieldText(field, sizeof field);
}

std::string FieldText(const char* field, std::size_t size) {
  const void* end = std::memchr(field, '\0', size);
  return std::string(field, end ? static_cast<const char*>(end) - field : size);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string WordCell(std::string_view text) {
  const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) > ' ' && c != '"' && c != 0x7F;
  });
  return plain ? std::string(text) : race_gui::Quoted(text);
}

std::string NameCell(std::string_view name) { return race_gui::Quoted(name); }

std::string TimeOrDisq(float seconds) { return seconds >= 0.0f ? FormatRaceTime(seconds) : std::string("Disq"); }

std::int32_t GetI32(const char* bytes) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[i]);
  return static_cast<std::int32_t>(value);
}

void PutI32(char* bytes, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

float GetF32(const char* bytes) {
  float value;
  std::memcpy(&value, bytes, 4);
  return value;
}

void PutF32(char* bytes, float value) { std::memcpy(bytes, &value, 4); }

std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace high_scores

using namespace high_scores;

namespace {

template <class Row>
void ReadNames(Row& row, const char* bytes) {
  std::memcpy(row.Name, bytes + Row::kNameAt, Row::kNameSize);
  std::memcpy(row.Nation, bytes + Row::kNationAt, Row::kNationSize);
}

template <class Row>
void WriteNames(const Row& row, char* bytes) {
  std::memcpy(bytes + Row::kNameAt, row.Name, Row::kNameSize);
  std::memcpy(bytes + Row::kNationAt, row.Nation, Row::kNationSize);
}

}  // namespace

N_CareerFinalRow N_CareerFinalRow::Read(const char* bytes) {
  N_CareerFinalRow row;
  ReadNames(row, bytes);
  row.Account = GetI32(bytes + kAccountAt);
  row.Points = GetI32(bytes + kPointsAt);
  return row;
}

void N_CareerFinalRow::Write(char* bytes) const {
  WriteNames(*this, bytes);
  PutI32(bytes + kAccountAt, Account);
  PutI32(bytes + kPointsAt, Points);
}

bool N_CareerFinalRow::Before(const N_CareerFinalRow& a, const N_CareerFinalRow& b) {
  if (a.Account != b.Account) return a.Account > b.Account;
  return a.Points > b.Points;
}

N_CareerStandingsRow N_CareerStandingsRow::Read(const char* bytes) {
  N_CareerStandingsRow row;
  ReadNames(row, bytes);
  row.Total = GetI32(bytes + kTotalAt);
  for (std::size_t i = 0; i < kLevels; ++i) row.LevelPoints[i] = GetI32(bytes + kLevelPointsAt + 4 * i);
  return row;
}

void N_CareerStandingsRow::Write(char* bytes) const {
  WriteNames(*this, bytes);
  PutI32(bytes + kTotalAt, Total);
  for (std::size_t i = 0; i < kLevels; ++i) PutI32(bytes + kLevelPointsAt + 4 * i, LevelPoints[i]);
}

std::string N_CareerFinalRow::Fault() const {
  return Points > 0 ? std::string() : FormatString("%d points", Points);
}

std::string N_CareerStandingsRow::Fault() const {
  std::int64_t sum = 0;
  for (std::int32_t points : LevelPoints) {
    if (points < 0) return FormatString("%d points on a level", points);
    sum += points;
  }
  if (Total != sum) return FormatString("a total of %d for %lld points", Total, static_cast<long long>(sum));
  return {};
}

std::string N_CareerResultRow::Fault() const {
  if (!std::isfinite(Time) || Time > top_times::kLongestTime) return FormatString("a time of %g s", double(Time));
  if (Misses < 0) return FormatString("%d misses", Misses);
  if (Points < 0 || Points > 14) return FormatString("%d points", Points);
  return {};
}

bool N_CareerStandingsRow::Before(const N_CareerStandingsRow& a, const N_CareerStandingsRow& b) {
  return a.Total > b.Total;
}

N_CareerResultRow N_CareerResultRow::Read(const char* bytes) {
  N_CareerResultRow row;
  ReadNames(row, bytes);
  row.Time = GetF32(bytes + kTimeAt);
  row.Misses = GetI32(bytes + kMissesAt);
  row.Points = GetI32(bytes + kPointsAt);
  return row;
}

void N_CareerResultRow::Write(char* bytes) const {
  WriteNames(*this, bytes);
  PutF32(bytes + kTimeAt, Time);
  PutI32(bytes + kMissesAt, Misses);
  PutI32(bytes + kPointsAt, Points);
}
