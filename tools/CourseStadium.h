#pragma once
// The stadium every sample course shares, in the stadium's own frame (x along the
// stadium straight, the direction of travel; y to the left, towards the targets): the
// numbers the track builder and the scenery both place things by. Inches.
namespace course::stadium {

/// Cross-sections stand this far above the ground, so that the track drawn over them
/// covers the ground between its samples.
constexpr float kLift = 4.0f;
/// Half widths of the track, of the range sector and of the start area.
constexpr float kHalfWidth = 150.0f;
constexpr float kRangeHalfWidth = 300.0f;
constexpr float kStartHalfWidth = 350.0f;
/// Spacing of the cross-sections on the straight and along curves.
constexpr float kStraightStep = 200.0f;
constexpr float kCurveStep = 250.0f;

/// The range sector of the stadium straight.
constexpr float kRangeFrom = 2000.0f;
constexpr float kRangeTo = 5800.0f;
/// Lane i's stand at (kFirstStand + i kLaneSpacing, kStandY). Its five targets stand
/// kTargetDistance away along the shooting direction (kShootX, kShootY: to the left of
/// the straight and back along it, 150 degrees from +x), kTargetHeight above the ground
/// and kTargetSpacing apart across it, the first on the left as seen from the stand.
/// A prone racer faces the right of the shooting direction (60 degrees from +x) and lies
/// down turned to his left, along the shooting direction, on the mat that lies along
/// it: he comes onto his mat facing that way, from his entry point kApproach behind the
/// stand, across the approach box that lies over the mat's near half; so his line
/// passes the stand behind his own kLaneSpacing x sin 60 degrees (94) away. He leaves
/// for his exit point, kExitAhead further along the straight at kApproachY.
constexpr float kFirstStand = 2350.0f;
constexpr float kLaneSpacing = 108.0f;
constexpr float kStandY = 200.0f;
constexpr float kShootX = -0.8660254f;
constexpr float kShootY = 0.5f;
constexpr float kApproachY = 60.0f;
constexpr float kApproach = 160.0f;
constexpr float kExitAhead = 70.0f;
constexpr float kMatHalfLength = 40.0f;  ///< along the shooting direction: he lies along it
constexpr float kMatHalfWidth = 30.0f;
constexpr float kApproachBoxFrom = kMatHalfWidth;  ///< behind the stand, along the racer's facing
constexpr float kApproachBoxTo = 10.0f;            ///< beyond it
constexpr float kApproachBoxHalfWidth = 35.0f;
constexpr float kTargetDistance = 1968.0f;
constexpr float kTargetSpacing = 12.0f;
constexpr float kTargetHeight = 40.0f;

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

/// The shooting range's by-pass lane.
constexpr float kBypassY = -700.0f;

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
