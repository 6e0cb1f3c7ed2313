#pragma once
// The stadium every sample course shares, in the stadium's own frame (x along the
// stadium straight, the direction of travel; y to the left, towards the targets): the
// numbers the track builder and the scenery both place things by. Inches.
#include "tools/CourseGeometry.h"

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

/// The range sector of the stadium straight, wider to the left (towards the targets)
/// than to the right; the straight narrows back to the track's width over the pieces
/// after it (kRangeNarrowing, one piece each).
constexpr float kRangeFrom = 2000.0f;
constexpr float kRangeTo = 5800.0f;
constexpr float kRangeLeft = 2300.0f;
constexpr float kRangeRight = 800.0f;
constexpr float kRangeNarrowing[][2] = {{1500.0f, 600.0f}, {1000.0f, 450.0f}, {600.0f, 300.0f}, {300.0f, 200.0f}};
/// The lanes stand in echelon: lane i kLaneSpacing to the left of lane i - 1, and
/// the lanes either side of kApexLane (the one on the straight's middle line) each
/// kLaneStagger further along the straight than their neighbour towards it. Seen from
/// the range's head the row opens like a wedge and every lane lies in the open straight
/// ahead. A racer takes his lane skiing along the straight (+x), from his entry point
/// kApproach behind the stand, across the approach box over the mat's near half: that
/// line passes no other stand, mat or lying racer (each lies kLaneSpacing to the side),
/// nor does his way out, straight on to his exit point kExitAhead beyond the stand and
/// back towards the straight's middle, where the nearer lanes stand behind him. He
/// comes onto the mat facing the way he lies down to shoot prone: the right of the
/// shooting direction, which is +y, to the left of the straight; the targets stand
/// kTargetDistance away along it, kTargetHeight above the ground and kTargetSpacing
/// apart across it, the first on the left as seen from the stand. Lane i's stand:
/// LaneStand(i).
constexpr int kApexLane = 7;
constexpr float kApexX = 4200.0f;
constexpr float kFirstLaneY = -700.0f;
constexpr float kLaneSpacing = 100.0f;
constexpr float kLaneStagger = 60.0f;
constexpr float kShootX = 0.0f;
constexpr float kShootY = 1.0f;
constexpr float kApproach = 250.0f;
constexpr float kExitAhead = 100.0f;
constexpr float kMatHalfLength = 40.0f;  ///< along the shooting direction: he lies along it
constexpr float kMatHalfWidth = 30.0f;
constexpr float kApproachBoxFrom = kMatHalfWidth;  ///< behind the stand, along the racer's facing
constexpr float kApproachBoxTo = 10.0f;            ///< beyond it
constexpr float kApproachBoxHalfWidth = 35.0f;
constexpr float kTargetDistance = 1968.0f;
constexpr float kTargetSpacing = 12.0f;
constexpr float kTargetHeight = 40.0f;

inline Vec2 LaneStand(int lane) {
  const int fromApex = lane > kApexLane ? lane - kApexLane : kApexLane - lane;
  return {kApexX + kLaneStagger * float(fromApex), kFirstLaneY + kLaneSpacing * float(lane)};
}

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

/// The shooting range's by-pass lane, south of the range sector.
constexpr float kBypassY = -1000.0f;

/// The penalty loop: it leaves the straight at its junction sector and turns left round
/// a rectangle of corners of this radius up to kPenaltyTop.
constexpr float kPenaltyRadius = 400.0f;
constexpr float kPenaltyTop = 1500.0f;

/// The grandstand south of the finish lane: tiers from its front going back and up.
constexpr float kStandFrom = 2000.0f;
constexpr float kStandTo = 4000.0f;
constexpr float kStandFront = -1700.0f;
constexpr float kTierDepth = 130.0f;
constexpr float kTierHeight = 70.0f;
constexpr int kTiers = 4;

}  // namespace course::stadium
