#pragma once
// Keeping a racer on the course: after the physics step (and the pilot or the
// collisions) has proposed where a racer goes, FollowSectors walks it through the chain
// of path sectors, takes the branches at the course's junctions and holds it inside
// the sides; FitToGround then puts it on the ground and measures the slope. Called for
// every racer every step, in that order; the game mode copies Pos into PrevPos first.
// IsFacingLane is the shooting's test that a racer has turned to its lane.
#include "core/Vector3.h"

struct N_Racer;
namespace Ai {
class N_AiPath;
}  // namespace Ai

/// How many times one FollowSectors call may step to a neighbouring sector or push the
/// point off a side before it clamps the point into the sector it has reached.
constexpr int kFollowSectorsPasses = 8;

/// Moves the racer's Sector along the chain until the proposed point lies in it and
/// writes where the racer really is (kept 5.0 inside the sides; a head-on hit of a side
/// fells it with FallState 2). A side hit turns a Heading that points into the side to
/// run along it and sets EdgeBrake to the share of the speed that went into the side,
/// so that a racer pressed against a side slides along it. At the junctions: a start path's end joins the Normal
/// ring, the penalty fork charges a racer that has not shot (5 loops and 5 misses, the
/// penalty display for the player) and sends a racer owing loops onto the penalty ring,
/// the finish fork takes the finish path on the last lap (atFinishFork: the fork is
/// forced by finishForkForced, a relay's hand-over lap passes false; otherwise the
/// finish path's sector must hold the point), and the arcade short cut is taken only
/// with arcadeShortcuts. Racer needs a Sector.
void FollowSectors(N_Racer& racer, const N_Vector3& proposed, N_Vector3& out, bool arcadeShortcuts, bool atFinishFork,
                   bool finishForkForced);

/// Puts the racer on the plane through three ground probes of its Sector (one 40.0
/// ahead, two 35.0 behind and 12.0 to each side), keeps the probes in Probes and the
/// plane's normal in GroundNormal ((0, 0, -1) on level ground), and sets Heading z to
/// the slope towards the front probe (0 when that probe is closer than 1e-07).
void FitToGround(N_Racer& racer);

/// Whether the racer's Heading points at the shooting direction of its stance: the
/// lane's shooting direction standing (Stance 1), its perpendicular (y, -x, 0) prone
/// (Stance 2), within a dot product of 0.98; that direction goes to wanted. Any other
/// stance, or a racer without a lane, answers true and leaves wanted untouched.
bool IsFacingLane(const N_Racer& racer, const Ai::N_AiPath& path, N_Vector3& wanted);
