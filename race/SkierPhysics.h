#pragma once
// One fixed step of a skier's motion, the same for the player's racer and the computer's:
// turn by the steering, build up the curve stress that throws a skier over, integrate
// the speed from drive, slope, steering and drag under the technique's top speed,
// propose the next position (the caller fits it into the course), and move the heart
// rate and the condition. The technique is the racer's current animation; its row of
// the AI physics table (N_AiTableMng::GetAnimPhysicRow) gives the numbers.
#include "core/Vector3.h"

struct N_Racer;

/// Columns of a physics row that the step reads.
namespace SkierPhysicsColumn {
constexpr int kPropulsion = 0;
constexpr int kTopSpeed = 1;     ///< m/s
constexpr int kDrag = 2;         ///< per second
constexpr int kLeftPush = 3;     ///< radians, while the phase is in [4, 5)
constexpr int kLeftFrom = 4;
constexpr int kLeftTo = 5;
constexpr int kRightPush = 6;    ///< radians, applied negated, while the phase is in [7, 8)
constexpr int kRightFrom = 7;
constexpr int kRightTo = 8;
constexpr int kEffort = 9;       ///< heart-rate target factor
constexpr int kTurnRate = 10;    ///< radians per second at full steering
constexpr int kDrift = 11;       ///< sideways-drift divisor; 0 means no drift
constexpr int kFixedTop = 14;    ///< 1.0: the top speed does not depend on the power
}  // namespace SkierPhysicsColumn

/// Advances the racer by dt seconds with the 15 numbers of its technique's physics
/// row: Heading, TurnStress, FallState (3 or 4 for a curve fall), Speed, EdgeBrake,
/// HeartRate and Condition change; the racer does not move, out receives the
/// proposed position.
void SkierPhysicsStep(N_Racer& racer, const float* row, float dt, N_Vector3& out);
