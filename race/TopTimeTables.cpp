#include "race/TopTimeTables.h"

#include "core/FormatString.h"
#include "race/BinaryFields.h"
#include "race/RaceGui.h"

#include <cmath>
#include <cstring>

namespace top_times {

bool TakesTime(float time) { return time >= 0.0f && time <= kLongestTime; }  // false for a NaN too

bool TimeBefore(float a, float b) {
  const bool realA = TakesTime(a), realB = TakesTime(b);
  if (realA != realB) return realA;
  return realA && a < b;
}

std::string FieldText(const char* field, std::size_t size) {
  const void* end = std::memchr(field, '\0', size);
  return std::string(field, end ? static_cast<const char*>(end) - field : size);
}

std::string TimeFault(float time) {
  if (TakesTime(time)) return {};
  return FormatString("a time of %g s", static_cast<double>(time));
}

}  // namespace top_times

namespace {

/// Copies the text up to its first zero byte, cut to size - 1 characters, terminated.
template <std::size_t kSize>
void CopyField(char (&field)[kSize], std::string_view text) {
  text = text.substr(0, text.find('\0'));
  const std::size_t n = std::min(text.size(), kSize - 1);
  std::memset(field, 0, kSize);
  std::memcpy(field, text.data(), n);
}

/// The player name a row stores: an empty one is the default player name (its own
/// text when the string table has none, so that the row never counts as an empty slot).
std::string_view PlayerNameOrDefault(std::string_view name, std::string& storage) {
  if (!name.empty() && name.front() != '\0') return name;
  storage = race_gui::Text("#str021");
  if (storage.empty() || storage.front() == '\0') storage = "Player";
  return storage;
}

template <class Row>
void CopyNames(Row& row, std::string_view player, std::string_view athlete, std::string_view nation) {
  std::string defaultName;
  CopyField(row.PlayerName, PlayerNameOrDefault(player, defaultName));
  CopyField(row.AthleteName, athlete);
  CopyField(row.Nation, nation);
}

template <class Row>
void ReadNames(Row& row, const char* bytes) {
  std::memcpy(row.PlayerName, bytes + Row::kPlayerAt, Row::kPlayerSize);
  std::memcpy(row.AthleteName, bytes + Row::kAthleteAt, Row::kAthleteSize);
  std::memcpy(row.Nation, bytes + Row::kNationAt, Row::kNationSize);
}

template <class Row>
void WriteNames(const Row& row, char* bytes) {
  std::memcpy(bytes + Row::kPlayerAt, row.PlayerName, Row::kPlayerSize);
  std::memcpy(bytes + Row::kAthleteAt, row.AthleteName, Row::kAthleteSize);
  std::memcpy(bytes + Row::kNationAt, row.Nation, Row::kNationSize);
}

void PutF32At(char* bytes, float value) { std::memcpy(bytes, &value, 4); }

/// Whether each index lies in [0, its count).
bool Within(std::initializer_list<std::pair<std::int32_t, std::int32_t>> indices) {
  for (const auto& [index, count] : indices) {
    if (index < 0 || index >= count) return false;
  }
  return true;
}

}  // namespace

N_TopTimeRow N_TopTimeRow::Read(const char* bytes) {
  N_TopTimeRow row;
  ReadNames(row, bytes);
  row.Weather = static_cast<std::uint8_t>(bytes[kWeatherAt]);
  row.SnowQuality = static_cast<std::uint8_t>(bytes[kSnowAt]);
  row.Time = binaryfield::GetF32(bytes + kTimeAt);
  row.Misses = static_cast<std::uint8_t>(bytes[kMissesAt]);
  return row;
}

void N_TopTimeRow::Write(char* bytes) const {
  WriteNames(*this, bytes);
  bytes[kWeatherAt] = static_cast<char>(Weather);
  bytes[kSnowAt] = static_cast<char>(SnowQuality);
  PutF32At(bytes + kTimeAt, Time);
  bytes[kMissesAt] = static_cast<char>(Misses);
}

bool N_TopTimeRow::Before(const N_TopTimeRow& a, const N_TopTimeRow& b) { return top_times::TimeBefore(a.Time, b.Time); }

std::string N_TopTimeRow::Fault() const {
  if (Weather > 2 || SnowQuality > 2) return FormatString("weather %d, snow %d", Weather, SnowQuality);
  return top_times::TimeFault(Time);
}

N_TimeAttackRow N_TimeAttackRow::Read(const char* bytes) {
  N_TimeAttackRow row;
  ReadNames(row, bytes);
  row.Time = binaryfield::GetF32(bytes + kTimeAt);
  row.Misses = static_cast<std::uint8_t>(bytes[kMissesAt]);
  return row;
}

void N_TimeAttackRow::Write(char* bytes) const {
  WriteNames(*this, bytes);
  PutF32At(bytes + kTimeAt, Time);
  bytes[kMissesAt] = static_cast<char>(Misses);
}

bool N_TimeAttackRow::Before(const N_TimeAttackRow& a, const N_TimeAttackRow& b) {
  return top_times::TimeBefore(a.Time, b.Time);
}

std::string N_TimeAttackRow::Fault() const { return top_times::TimeFault(Time); }

template <std::size_t kTracks>
std::int64_t N_TopTimeTable<kTracks>::BlockIndex(std::int32_t track, std::int32_t sex, std::int32_t discipline,
                                                 std::int32_t difficulty) {
  if (!Within({{track, std::int32_t(kTracks)}, {sex, 2}, {discipline, 4}, {difficulty, 2}})) return -1;
  return ((std::int64_t(track) * 2 + sex) * 4 + discipline) * 2 + difficulty;
}

template <std::size_t kTracks>
void N_TopTimeTable<kTracks>::Insert(std::int32_t track, std::int32_t sex, std::int32_t discipline,
                                     std::int32_t difficulty, std::string_view playerName,
                                     std::string_view athleteName, std::string_view nation, std::int32_t weather,
                                     std::int32_t snowQuality, float time, std::int32_t misses) {
  const std::int64_t block = BlockIndex(track, sex, discipline, difficulty);
  if (block < 0) {
    this->LogOutside(FormatString("block (%d, %d, %d, %d)", track, sex, discipline, difficulty).c_str());
    return;
  }
  N_TopTimeRow row;
  CopyNames(row, playerName, athleteName, nation);
  row.Weather = static_cast<std::uint8_t>(weather);
  row.SnowQuality = static_cast<std::uint8_t>(snowQuality);
  row.Time = time;
  row.Misses = static_cast<std::uint8_t>(misses);
  this->Merge(std::size_t(block), row, top_times::TakesTime(time));
}

template class N_TopTimeTable<8>;
template class N_TopTimeTable<10>;

std::int64_t N_TimeAttackHS::BlockIndex(std::int32_t level, std::int32_t trackLength, std::int32_t sex,
                                        std::int32_t gameMode, std::int32_t difficulty) {
  if (!Within({{level, 10}, {trackLength, 2}, {sex, 2}, {gameMode, 2}, {difficulty, 2}})) return -1;
  return (((std::int64_t(level) * 2 + trackLength) * 2 + sex) * 2 + gameMode) * 2 + difficulty;
}

bool N_TimeAttackHS::Insert(std::int32_t level, std::int32_t trackLength, std::int32_t sex, std::int32_t gameMode,
                            std::int32_t difficulty, std::string_view playerName, std::string_view athleteName,
                            std::string_view nation, float time, std::int32_t misses) {
  const std::int64_t block = BlockIndex(level, trackLength, sex, gameMode, difficulty);
  if (block < 0) {
    LogOutside(FormatString("block (%d, %d, %d, %d, %d)", level, trackLength, sex, gameMode, difficulty).c_str());
    return false;
  }
  const bool take = top_times::TakesTime(time);
  bool best = take;
  for (std::size_t slot = 0; slot < kRowsPerBlock && best; ++slot) {
    const N_TimeAttackRow& old = At(std::size_t(block), slot);
    if (!old.Empty() && top_times::TakesTime(old.Time) && !(time < old.Time)) best = false;
  }
  N_TimeAttackRow row;
  CopyNames(row, playerName, athleteName, nation);
  row.Time = time;
  row.Misses = static_cast<std::uint8_t>(misses);
  Merge(std::size_t(block), row, take);
  return best;
}
