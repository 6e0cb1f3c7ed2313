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
/// from kRangeLeft[0] and kRangeRight[0] at the entry to [1] at its end, past the
/// lanes on either side. After it the straight narrows gently (no side meets a skier
/// who holds forward from a lane, or a quarter turn from his targets, more steeply than
/// about 25 degrees) to kForkHalfWidth at the penalty loop's fork, keeps that width to
/// the start paths' junctions and narrows to the track's before the loop.
constexpr float kRangeTo = 6200.0f;
constexpr float kRangeLeft[2] = {1200.0f, 900.0f};
constexpr float kRangeRight[2] = {700.0f, 900.0f};
constexpr float kForkHalfWidth = 700.0f;
/// The range sector's half widths to the left and to the right x along it.
inline float RangeLeftAt(float x) { return kRangeLeft[0] + (kRangeLeft[1] - kRangeLeft[0]) * x / kRangeTo; }
inline float RangeRightAt(float x) { return kRangeRight[0] + (kRangeRight[1] - kRangeRight[0]) * x / kRangeTo; }
/// The lanes stand in two rows round the stadium's entry, each lane facing it: a lane's
/// place along its row gives its angle from the straight (places kLaneSpacing apart at
/// kLaneRadius, place kApexPlace on the straight's middle line) and its distance from
/// the entry (kLaneRadius, each place to the left kLaneStagger nearer); the second row
/// (lanes 15 to 29) stands kSecondRow further out, each place half a spacing to the
/// left of its fellow in the first, so that a racer of either row skis between the
/// stands of the other. Every lane lies in the open straight ahead of the entry, none
/// more than 10 degrees off it, and a racer takes it skiing straight from the entry
/// (the way he sees its arrow): from his entry point kApproach behind the stand on that
/// line, across the approach box over the mat's near half, a line that passes no other
/// stand, mat or lying racer (each lies a spacing or more to the side), nor does his
/// way out, straight on to his exit point kExitAhead beyond the stand. He comes onto
/// the mat facing the way he lies down to shoot prone: the right of the shooting
/// direction, which is that line turned a quarter to the left; the targets stand
/// kTargetDistance away along it, kTargetHeight above the ground and kTargetSpacing
/// apart across it, the first on the left as seen from the stand. His line of fire
/// passes the stands to his left a stagger or more beyond them. Lane i's stand:
/// LaneStand(i); the way onto its mat: LaneFacing(i).
constexpr int kApexPlace = 7;
constexpr int kRowLanes = 15;
constexpr float kLaneRadius = 4670.0f;
constexpr float kLaneSpacing = 100.0f;
constexpr float kLaneStagger = 60.0f;
constexpr float kSecondRow = 500.0f;
constexpr float kApproach = 250.0f;
constexpr float kExitAhead = 100.0f;
constexpr float kMatHalfLength = 40.0f;  ///< along the shooting direction: he lies along it
constexpr float kMatHalfWidth = 30.0f;
constexpr float kApproachBoxFrom = kMatHalfWidth;  ///< behind the stand, along the racer's facing
constexpr float kApproachBoxTo = 10.0f;            ///< beyond it
constexpr float kApproachBoxHalfWidth = 65.0f;
constexpr float kTargetDistance = 1968.0f;
constexpr float kTargetSpacing = 12.0f;
constexpr float kTargetHeight = 40.0f;

/// The lane's place along its row, 0 on the right. The last lane has the left end;
/// from it to the right come the even lanes, then the odd ones: racers of consecutive
/// start numbers, who come into the stadium together, part at once, and the last
/// starter of a full field (lane 14, in a race of the arcade page the player's) has the
/// outer place, which nobody leaving a mat crosses on his way on, beside the first
/// starter's.
inline int LanePlace(int lane) {
  const int k = lane % kRowLanes, last = kRowLanes - 1;
  return k == last ? last : (k % 2 == 0 ? last - 1 - k / 2 : last / 2 - 1 - k / 2);
}
/// The lane's angle from the straight, counter-clockwise, and its distance from the
/// entry.
inline float LaneAngle(int lane) {
  return (float(LanePlace(lane) - kApexPlace) + 0.5f * float(lane / kRowLanes)) * kLaneSpacing / kLaneRadius;
}
inline float LaneDistance(int lane) {
  return kLaneRadius + kSecondRow * float(lane / kRowLanes) - kLaneStagger * float(LanePlace(lane) - kApexPlace);
}
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

/// The penalty loop: it leaves the straight at its junction sector, runs on
/// kPenaltyLeadOut narrowing from the fork's width to the track's and turns left round a
/// rectangle of corners of this radius up to kPenaltyTop, and comes back along the
/// straight's middle line for kPenaltyLeadIn into the junction, widening to it.
constexpr float kPenaltyRadius = 400.0f;
constexpr float kPenaltyTop = 1500.0f;
constexpr float kPenaltyLeadOut = 400.0f;
constexpr float kPenaltyLeadIn = 400.0f;

/// The grandstand south of the finish lane: tiers from its front going back and up.
constexpr float kStandFrom = 2000.0f;
constexpr float kStandTo = 4000.0f;
constexpr float kStandFront = -1700.0f;
constexpr float kTierDepth = 130.0f;
constexpr float kTierHeight = 70.0f;
constexpr int kTiers = 4;

}  // namespace course::stadium
