#pragma once
// The stadium straight as the Normal path runs it, from the stadium's entry to the loop,
// and the penalty loop's line: the same for every course (tools/CourseStadium.h has the
// numbers). In the stadium's frame.
//
// A skier who holds forward only after his series leaves his stand along his lane and
// goes straight on until a side turns him along it (tools/CourseSkier.h); he can meet a
// side only at a shallow angle and take no bend that turns away from him while another
// side is far. So the straight gathers every skier, from whichever stand, onto its right
// side before the penalty fork: after the range it narrows to the track's width, its
// sides drawing in at no more than the angle a skier may meet one at (each more steeply
// only once the skiers heading towards it are on it), and runs on at that width until
// those who came along the left side have crossed to the right. The penalty loop then
// turns left all the way round, its right side the outer one: he slides along it, round
// and back into the fork, as often as he owes it. After the fork the straight turns
// back along the stadium's axis for the lap count and the start paths' junctions.
#include "tools/CourseGeometry.h"
#include "tools/CourseStadium.h"

#include <map>
#include <string>
#include <vector>

namespace course {

/// A station of a path with its half widths to the left and right of the ideal line
/// (a negative right one: the same as the left).
struct Stop {
  Station station;
  float halfWidth = stadium::kHalfWidth;
  float rightWidth = -1.0f;
};

struct Straight {
  /// From the entry's cross-section to the loop's first.
  std::vector<Stop> stops;
  /// Label -> its sector (the index of the sector's first stop).
  std::map<std::string, int> sectors;
};

/// The straight, its sectors labelled with one lap's events in order: the range (its
/// first sector, the lane given from the entry on), the lap's check, the range
/// by-pass's return, the relay's take-over and its lap events, the penalty arrow, the
/// penalty fork, the penalty result, the lap count, then the start paths' junctions.
const Straight& StadiumStraight();

/// The penalty loop's ideal line, dense: from the fork sector's end round to its start.
std::vector<Vec2> PenaltyLine(const Station& forkStart, const Station& forkEnd);

}  // namespace course
