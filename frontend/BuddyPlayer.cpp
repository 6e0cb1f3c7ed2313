#include "frontend/BuddyPlayer.h"

#include "race/BinaryFields.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

template <std::size_t kSize>
void CopyBounded(char (&field)[kSize], std::string_view text) {
  text = text.substr(0, text.find('\0'));
  const std::size_t n = std::min(text.size(), kSize - 1);
  std::memset(field, 0, kSize);
  std::memcpy(field, text.data(), n);
}

}  // namespace

BuddyPlayer::BuddyPlayer(std::string_view playerName, std::string_view nationCode) {
  CopyBounded(name, playerName);
  CopyBounded(nation, nationCode);
}

BuddyPlayer BuddyPlayer::Read(const char* bytes) {
  BuddyPlayer row;
  std::memcpy(row.name, bytes + kNameAt, kNameSize);
  std::memcpy(row.nation, bytes + kNationAt, kNationSize);
  std::uint32_t points = 0;
  for (int i = 3; i >= 0; --i) points = (points << 8) | static_cast<std::uint8_t>(bytes[kPointsAt + i]);
  row.points = static_cast<std::int32_t>(points);
  row.time = binaryfield::GetF32(bytes + kTimeAt);
  return row;
}

void BuddyPlayer::Write(char* bytes) const {
  std::memcpy(bytes + kNameAt, name, kNameSize);
  std::memcpy(bytes + kNationAt, nation, kNationSize);
  const auto bits = static_cast<std::uint32_t>(points);
  for (int i = 0; i < 4; ++i) bytes[kPointsAt + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  std::memcpy(bytes + kTimeAt, &time, 4);
}

bool BuddyPlayer::Before(const BuddyPlayer& a, const BuddyPlayer& b) {
  if (a.points != b.points) return a.points > b.points;
  const bool numberA = !std::isnan(a.time), numberB = !std::isnan(b.time);
  if (numberA != numberB) return numberA;
  return numberA && a.time < b.time;
}
