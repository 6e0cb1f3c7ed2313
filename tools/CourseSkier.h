#pragma once
// A skier who holds forward only, in plan: he keeps his heading until a side of the
// course turns him along it; his skating stride takes him alternately a little to the
// left and to the right of it. Where he meets a side he is put back kSideMargin inside
// it and, if he was heading into it, turned along it the way he was going (the race's
// side rule). The course check sends him along the ways a player skis with forward
// alone and compares the angles at which he meets the sides with the race's fall rule.
#include "tools/CourseGeometry.h"

#include <functional>
#include <span>

namespace course {

/// How far inside a side the race keeps a skier.
constexpr float kSideMargin = 5.0f;
/// His skating stride: half of it pushes him this much (radians) to the left of his
/// heading, the other half as much to the right (the skating rows of
/// data/Ai/Anims.physics); a half stride at full speed is about this long.
constexpr float kStridePush = 0.1f;
constexpr float kHalfStride = 110.0f;

/// The steepest a skier may move into a side without falling (radians): the race fells
/// him where the sine of his move's angle to the side passes his curve skill less 0.3,
/// the skill being his curve technique (0-100) x 0.004 + 0.6.
float SideAngleLimit(float curveTechnique);

/// One sector of a way: its start and end cross-sections, its planes and what to call it.
struct WaySector {
  const Section* start;
  const Section* end;
  const SectorPlanes* planes;
  int path;    ///< the path kind, for the report
  int sector;  ///< its index in that path
};

/// A side he met: the sector of the way (its index there) and the angle of his move
/// into it, radians.
struct SideMet {
  std::size_t at;
  float angle;
};

/// Skis from a plan point in the way's first sector along `heading`, `stride` of the way
/// (0 to 1) into his first stride, through the sectors in turn, until he leaves the last
/// one at its end; `met` hears of every side he meets. Steps of 10 units, about a
/// racer's at full speed. False when he stops short of the end: turned back (he would
/// leave the way at a sector's start) or still under way after `maxLength` units.
bool SkiForward(std::span<const WaySector> way, Vec2 from, Vec2 heading, float stride,
                const std::function<void(const SideMet&)>& met, float maxLength = 200000.0f);

}  // namespace course
