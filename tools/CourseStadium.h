#pragma once
// The stadium every sample course shares, in the stadium's own frame (x along the
// stadium straight, the direction of travel; y to the left, towards the targets): the
// numbers the track builder and the scenery both place things by. Inches.
#include "tools/CourseGeometry.h"

#include <cmath>

namespace course::stadium {

/// Cross-sections stand this far above the ground, so that the track drawn over them
/// covers the ground between its samples.
constexpr float kLift = 4.0f;
/// Half widths of the track and of the start area.
constexpr float kHalfWidth = 150.0f;
constexpr float kStartHalfWidth = 350.0f;
/// Spacing of the cross-sections on the straight and along curves.
constexpr float kStraightStep = 200.0f;
constexpr float kCurveStep = 250.0f;

/// The range sector: the stadium straight's first sector, from its first cross-section
/// (the stadium's entry, where the loop comes in) to kRangeTo. Its sides run straight
/// from kRangeLeft[0] and kRangeRight[0] at the entry to [1] at its end, past the lanes
/// on either side, and draw in a little: a skier who leaves a lane on the left along
/// it (its angle to the straight at most 12.4 degrees) meets the left side, and one who
/// leaves a lane on the right the right side, no more steeply than a skier of the least
/// curve technique may (tools/CourseCheck.h).
constexpr float kRangeTo = 6200.0f;
constexpr float kRangeLeft[2] = {1240.0f, 770.0f};
constexpr float kRangeRight[2] = {1200.0f, 805.0f};
/// The range sector's half widths to the left and to the right x along it.
inline float RangeLeftAt(float x) { return kRangeLeft[0] + (kRangeLeft[1] - kRangeLeft[0]) * x / kRangeTo; }
inline float RangeRightAt(float x) { return kRangeRight[0] + (kRangeRight[1] - kRangeRight[0]) * x / kRangeTo; }
/// After the range the straight narrows to the track's width (tools/CourseStraight.h):
/// its left side draws in at up to kFunnelLeftAngle, its right side at up to
/// kFunnelRightAngle (degrees), each reaching its angle over its ramp, together no more
/// steeply than a skier who slides along one may meet the other; then it
/// runs on along the right side for kCrossing, the fork's sector follows, and it turns
/// back along the stadium's axis with kTurnBackRadius.
constexpr float kFunnelLeftAngle = 9.3f;
constexpr float kFunnelLeftRamp = 730.0f;
constexpr float kFunnelRightAngle = 8.2f;
constexpr float kFunnelRightRamp = 1120.0f;
constexpr float kCrossing = 800.0f;
constexpr float kTurnBackRadius = 2000.0f;

/// The lanes stand in echelon round the stadium's entry, each lane facing it: a lane's
/// place along the row gives its angle from the straight (places kLaneSpacing apart at
/// kLaneRadius, the straight's middle line at place kApexPlace) and its distance from
/// the entry (kLaneRadius, each place to the left kLaneStagger nearer). Lanes 0 to 14
/// take the whole places, lanes 15 to 29 the half places, each half a place to the left
/// of its fellow: a field of 15 stands a whole spacing and stagger apart. Every lane
/// lies in the open straight ahead of the entry, none more than 13 degrees off it, and
/// a racer takes it skiing straight from the entry (the way he sees its arrow): from his
/// entry point kApproach behind the stand on that line, across the approach box over
/// the mat's near half, a line that passes every other stand and mat to the side, as
/// does his way out, straight on to his exit point kExitAhead beyond the stand. He comes
/// onto the mat facing the way he lies down to shoot prone: the right of the shooting
/// direction, which is that line turned a quarter to the left; the targets stand
/// kTargetDistance away along it, kTargetHeight above the ground and kTargetSpacing
/// apart across it, the first on the left as seen from the stand. His line of fire
/// passes the nearer stands to his left beyond them, and the lanes to his right stand
/// further out, their lines of fire and targets beyond his: nothing stands between him
/// and his targets. Lane i's stand: LaneStand(i); the way onto its mat: LaneFacing(i).
constexpr float kApexPlace = 5.5f;
constexpr int kRowLanes = 15;
constexpr float kLaneRadius = 5000.0f;
constexpr float kLaneSpacing = 120.0f;
constexpr float kLaneStagger = 120.0f;
constexpr float kApproach = 250.0f;
constexpr float kExitAhead = 100.0f;
constexpr float kMatHalfLength = 40.0f;  ///< along the shooting direction: he lies along it
constexpr float kMatHalfWidth = 25.0f;
constexpr float kApproachBoxFrom = kMatHalfWidth;  ///< behind the stand, along the racer's facing
constexpr float kApproachBoxTo = 10.0f;            ///< beyond it
constexpr float kApproachBoxHalfWidth = 65.0f;
constexpr float kTargetDistance = 1968.0f;
constexpr float kTargetSpacing = 12.0f;
constexpr float kTargetHeight = 40.0f;

/// The lane's place along the row, 0 on the right. The last lane of the first fifteen
/// has the right end; from it to the left come the even lanes, then the odd ones:
/// racers of consecutive start numbers, who come into the stadium together, part at
/// once, and the last starter of a field of 15 (in a race of the arcade page the
/// player) has the outer place, furthest from the entry, beside the first starter's:
/// nobody leaving a mat crosses his way on.
inline float LanePlace(int lane) {
  const int k = lane % kRowLanes, half = kRowLanes / 2;
  const int place = k == kRowLanes - 1 ? 0 : (k % 2 == 0 ? 1 + k / 2 : half + 1 + k / 2);
  return float(place) + 0.5f * float(lane / kRowLanes);
}
/// The lane's angle from the straight, counter-clockwise, and its distance from the
/// entry.
inline float LaneAngle(int lane) { return (LanePlace(lane) - kApexPlace) * kLaneSpacing / kLaneRadius; }
inline float LaneDistance(int lane) { return kLaneRadius - kLaneStagger * (LanePlace(lane) - kApexPlace); }
inline Vec2 LaneFacing(int lane) { return {std::cos(LaneAngle(lane)), std::sin(LaneAngle(lane))}; }
inline Vec2 LaneStand(int lane) { return LaneFacing(lane) * LaneDistance(lane); }

/// The finish lane (the finish path's straight) and its finish line.
constexpr float kFinishY = -1300.0f;
constexpr float kFinishFrom = 1900.0f;
constexpr float kFinishTo = 4300.0f;
constexpr float kFinishLine = 3400.0f;

/// The start area, in a frame of its own (x along its axis from the lead-in, y to the
/// left): a lead-in, the mass-start grid's sector, the pursuit's sector and a sector
/// narrowing to the track's width, its sides drawing in by no more than 12 degrees.
/// South of the stadium straight, its axis runs at kStartAngle towards the straight's
/// line, which it meets kStartBend before the start paths' junction; one bend from
/// kStartBend before that meeting point to the junction turns the lane into the
/// straight. A skier who only holds forward from his start place thus skis straight
/// to the bend and meets its outer side at a few degrees, and slides along it onto the
/// straight (an S-bend would send him across the lane into the far side, and a side
/// met steeply fells him).
constexpr float kStartLeadIn = 0.0f;
constexpr float kGridFrom = 200.0f;
constexpr float kGridTo = 1100.0f;
constexpr float kPursuitTo = 1900.0f;
constexpr float kStartNarrowTo = 2900.0f;
constexpr float kStartAngle = 0.349066f;  ///< 20 degrees, radians
constexpr float kStartBend = 1000.0f;

/// The penalty loop (tools/CourseStraight.h): from the fork it turns left, first by
/// kPenaltyEntryTurn (degrees) with kPenaltyEntryRadius, so that a skier who comes in a
/// little off its right side meets it gently, then on with kPenaltyRadius to a half
/// turn; runs back along a leg and turns left round a half circle onto the fork's line,
/// which it follows into the fork for kPenaltyLeadIn. The track's width all round, a
/// cross-section every kPenaltyStep.
constexpr float kPenaltyEntryRadius = 3000.0f;
constexpr float kPenaltyEntryTurn = 15.0f;
constexpr float kPenaltyRadius = 900.0f;
constexpr float kPenaltyLeadIn = 300.0f;
constexpr float kPenaltyStep = 100.0f;

/// The grandstand south of the finish lane: tiers from its front going back and up.
constexpr float kStandFrom = 2000.0f;
constexpr float kStandTo = 4000.0f;
constexpr float kStandFront = -1700.0f;
constexpr float kTierDepth = 130.0f;
constexpr float kTierHeight = 70.0f;
constexpr int kTiers = 4;

}  // namespace course::stadium
