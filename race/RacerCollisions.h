#pragma once
// The player's racer against the others: called after the player's physics step with
// its proposed position.
#include "core/Vector3.h"
#include "race/AiPilot.h"

struct N_Racer;

/// The player's racer, a sphere of radius 20.0 moving from Pos to proposed, against
/// every other racer (started, not finished, within 300.0) standing at its Pos: at a
/// contact the proposed position stops there, and the racer whose concentration-weighted
/// draw (the player's first) is the smaller falls forward (FallState 1); the other
/// racer falls on a tie.
void ResolveCollisions(N_Racer& racer, N_RacerList racers, N_Vector3& proposed);
