#include "frontend/BuddyPlayer.h"

#include "core/FormatString.h"
#include "frontend/HighScoreRows.h"
#include "race/TopTimeTables.h"

#include <cmath>
#include <cstring>

using namespace high_scores;

BuddyPlayer::BuddyPlayer(std::string_view playerName, std::string_view nationCode) {
  CopyField(name, playerName);
  CopyField(nation, nationCode);
}

BuddyPlayer BuddyPlayer::Read(const char* bytes) {
  BuddyPlayer row;
  std::memcpy(row.name, bytes + kNameAt, kNameSize);
  std::memcpy(row.nation, bytes + kNationAt, kNationSize);
  row.points = GetI32(bytes + kPointsAt);
  row.time = GetF32(bytes + kTimeAt);
  return row;
}

void BuddyPlayer::Write(char* bytes) const {
  std::memcpy(bytes + kNameAt, name, kNameSize);
  std::memcpy(bytes + kNationAt, nation, kNationSize);
  PutI32(bytes + kPointsAt, points);
  PutF32(bytes + kTimeAt, time);
}

bool BuddyPlayer::Before(const BuddyPlayer& a, const BuddyPlayer& b) {
  if (a.points != b.points) return a.points > b.points;
  const bool numberA = !std::isnan(a.time), numberB = !std::isnan(b.time);
  if (numberA != numberB) return numberA;
  return numberA && a.time < b.time;
}

std::string BuddyPlayer::Fault() const {
  if (points < 0) return FormatString("%d points", points);
  if (!std::isfinite(time) || time > top_times::kLongestTime) return FormatString("a time of %g s", double(time));
  return {};
}
