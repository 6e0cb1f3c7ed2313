#pragma once
// The top-times tables of the arcade race, the single race and the time attack:
// "data\tables\arcade.hs" (8 arcade tracks), "data\tables\single_race.hs" (10 tracks of
// the full table), each [track][sex 0..1][discipline 0..3][difficulty 0..1] blocks of
// ten N_TopTimeRow, and "data\tables\time_attack.hs", [level 0..9][track length 0..1]
// [sex 0..1][game mode 0..1][difficulty 0..1] blocks of ten N_TimeAttackRow. The
// discipline index is the set-up page's selector (0 sprint, 1 pursuit, 2 mass start,
// 3 relay).
//
// An insert copies the names cut to their fields (31, 63 and 3 characters) and always
// terminated; an empty player name becomes the default player name (the string
// "#str021", "Player" without one), so that the row is no empty slot. Times rank ascending; negative times
// and times that are not a number come last, and an insert refuses them. Misses are
// kept as their low byte. An index outside the table is refused with a log line.
#include "race/BlockTable.h"

#include <cstdint>
#include <string>
#include <string_view>

/// One row of the arcade and single-race tables, 107 bytes.
struct N_TopTimeRow {
  static constexpr std::size_t kPlayerAt = 0, kPlayerSize = 32;
  static constexpr std::size_t kAthleteAt = 32, kAthleteSize = 64;
  static constexpr std::size_t kNationAt = 96, kNationSize = 4;
  static constexpr std::size_t kWeatherAt = 100;
  static constexpr std::size_t kSnowAt = 101;
  static constexpr std::size_t kTimeAt = 102;  ///< unaligned
  static constexpr std::size_t kMissesAt = 106;
  static constexpr std::size_t kBytes = 107;

  char PlayerName[kPlayerSize] = {};
  char AthleteName[kAthleteSize] = {};
  char Nation[kNationSize] = {};
  std::uint8_t Weather = 0;
  std::uint8_t SnowQuality = 0;
  float Time = 0.0f;
  std::uint8_t Misses = 0;

  static N_TopTimeRow Read(const char* bytes);
  void Write(char* bytes) const;
  bool Empty() const { return PlayerName[0] == '\0'; }
  static bool Before(const N_TopTimeRow& a, const N_TopTimeRow& b);
  /// A weather or snow quality above 2, or a time no entry holds; empty when none.
  std::string Fault() const;
};
static_assert(N_TopTimeRow::kMissesAt + 1 == N_TopTimeRow::kBytes);

/// One row of the time-attack table, 105 bytes.
struct N_TimeAttackRow {
  static constexpr std::size_t kPlayerAt = 0, kPlayerSize = 32;
  static constexpr std::size_t kAthleteAt = 32, kAthleteSize = 64;
  static constexpr std::size_t kNationAt = 96, kNationSize = 4;
  static constexpr std::size_t kTimeAt = 100;
  static constexpr std::size_t kMissesAt = 104;
  static constexpr std::size_t kBytes = 105;

  char PlayerName[kPlayerSize] = {};
  char AthleteName[kAthleteSize] = {};
  char Nation[kNationSize] = {};
  float Time = 0.0f;
  std::uint8_t Misses = 0;

  static N_TimeAttackRow Read(const char* bytes);
  void Write(char* bytes) const;
  bool Empty() const { return PlayerName[0] == '\0'; }
  static bool Before(const N_TimeAttackRow& a, const N_TimeAttackRow& b);
  /// A time no entry holds; empty when none.
  std::string Fault() const;
};
static_assert(N_TimeAttackRow::kMissesAt + 1 == N_TimeAttackRow::kBytes);

namespace top_times {

/// The ranking of two times: a real time (not negative, not a NaN) before any other,
/// real times ascending.
bool TimeBefore(float a, float b);
/// The longest time a stored row may hold: a day (a relay team's four legs, a
/// pursuit with its qualification, all far below).
inline constexpr float kLongestTime = 86400.0f;
/// Whether a table takes the time: a number from 0 to the longest time.
bool TakesTime(float time);
/// What is wrong with a stored time (none that an entry could hold), empty when nothing.
std::string TimeFault(float time);
/// The field's text up to its first zero byte (the whole field when it has none).
std::string FieldText(const char* field, std::size_t size);

}  // namespace top_times

/// The arcade and single-race table of kTracks tracks.
template <std::size_t kTracks>
class N_TopTimeTable : public N_BlockTable<N_TopTimeRow, kTracks * 2 * 4 * 2> {
 public:
  using N_BlockTable<N_TopTimeRow, kTracks * 2 * 4 * 2>::N_BlockTable;

  /// The block of (track, sex, discipline index, difficulty), -1 for one outside.
  static std::int64_t BlockIndex(std::int32_t track, std::int32_t sex, std::int32_t discipline,
                                 std::int32_t difficulty);
  /// Merges the row into its block and keeps the best ten.
  void Insert(std::int32_t track, std::int32_t sex, std::int32_t discipline, std::int32_t difficulty,
              std::string_view playerName, std::string_view athleteName, std::string_view nation,
              std::int32_t weather, std::int32_t snowQuality, float time, std::int32_t misses);
};

class N_ArcadeHS final : public N_TopTimeTable<8> {
 public:
  static constexpr const char* kFile = "data\\tables\\arcade.hs";
  N_ArcadeHS() : N_TopTimeTable<8>(kFile) {}
};
static_assert(N_ArcadeHS::kFileBytes == 136960);

class N_SingleRaceHS final : public N_TopTimeTable<10> {
 public:
  static constexpr const char* kFile = "data\\tables\\single_race.hs";
  N_SingleRaceHS() : N_TopTimeTable<10>(kFile) {}
};
static_assert(N_SingleRaceHS::kFileBytes == 171200);

class N_TimeAttackHS final : public N_BlockTable<N_TimeAttackRow, 160> {
 public:
  static constexpr const char* kFile = "data\\tables\\time_attack.hs";
  N_TimeAttackHS() : N_BlockTable(kFile) {}

  /// The block of (level, track length, sex, game mode, difficulty), -1 for one outside.
  static std::int64_t BlockIndex(std::int32_t level, std::int32_t trackLength, std::int32_t sex,
                                 std::int32_t gameMode, std::int32_t difficulty);
  /// Merges the row into its block and keeps the best ten. True when the time is the
  /// block's new best: it is taken and every row of the block was slower (or the
  /// block had none); an equal time is no record.
  bool Insert(std::int32_t level, std::int32_t trackLength, std::int32_t sex, std::int32_t gameMode,
              std::int32_t difficulty, std::string_view playerName, std::string_view athleteName,
              std::string_view nation, float time, std::int32_t misses);
};
static_assert(N_TimeAttackHS::kFileBytes == 168000);

extern template class N_TopTimeTable<8>;
extern template class N_TopTimeTable<10>;
