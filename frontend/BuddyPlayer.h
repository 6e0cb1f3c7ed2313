#pragma once
// BuddyPlayer: one player of a buddy-games series, and at the same time one row of the
// buddy top-scores file "data\tables\buddy_games.hs" (44 bytes, little-endian, read and
// written field by field): name char[32] at 0, nation char[4] at 32, points i32 at 36,
// time f32 at 40. A row whose first name byte is 0 is an empty slot.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct BuddyPlayer {
  static constexpr std::size_t kNameAt = 0, kNameSize = 32;
  static constexpr std::size_t kNationAt = 32, kNationSize = 4;
  static constexpr std::size_t kPointsAt = 36;
  static constexpr std::size_t kTimeAt = 40;
  static constexpr std::size_t kBytes = 44;

  char name[kNameSize] = {};
  char nation[kNationSize] = {};
  std::int32_t points = 0;
  float time = 0.0f;  ///< seconds; negative: no result

  BuddyPlayer() = default;
  /// A new player: the name and nation cut to their fields and terminated, 0 points.
  BuddyPlayer(std::string_view playerName, std::string_view nationCode);

  static BuddyPlayer Read(const char* bytes);
  void Write(char* bytes) const;
  bool Empty() const { return name[0] == '\0'; }
  /// The ranking: more points first, equal points the shorter time first (a time that
  /// is not a number last). A strict order: equal rows keep their order.
  static bool Before(const BuddyPlayer& a, const BuddyPlayer& b);
  /// As a stored row: negative points or a time that is no number or longer than a
  /// day; empty when none.
  std::string Fault() const;
};
static_assert(BuddyPlayer::kNationAt == BuddyPlayer::kNameAt + BuddyPlayer::kNameSize);
static_assert(BuddyPlayer::kPointsAt == BuddyPlayer::kNationAt + BuddyPlayer::kNationSize);
static_assert(BuddyPlayer::kTimeAt == BuddyPlayer::kPointsAt + 4);
static_assert(BuddyPlayer::kTimeAt + 4 == BuddyPlayer::kBytes);
static_assert(BuddyPlayer::kBytes == 44);
