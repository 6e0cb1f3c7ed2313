#pragma once
// What a racer at the range needs of its lane beyond the lane itself: the approach box
// that catches the player's racer (the lane's shoot trigger), and the points where a
// computer racer leaves the course for the lane and comes back (the path network's
// entry and exit points of the same index). And the racer's leaving of its lane.
#include "core/OrientedBox.h"
#include "core/Vector3.h"

class N_ShootLane;
struct N_Racer;
namespace Ai {
class N_AiPath;
}

struct N_ShootStand {
  N_OrientedBox approach;
  N_Vector3 entry;
  N_Vector3 exit;
};

/// The lane's approach box, entry and exit point; false (out untouched) when the path
/// network lacks any of them for the lane's index.
bool FindShootStand(Ai::N_AiPath& path, const N_ShootLane& lane, N_ShootStand& out);
/// The racer is done with its lane: Stance 0, the lane's targets up, the lane released,
/// Lane null, ShootPhase 9.
void LeaveLane(N_Racer& racer, Ai::N_AiPath& path);
/// Unit vector from `from` to `to`; (1, 0, 0) when they coincide.
N_Vector3 DirectionTo(const N_Vector3& from, const N_Vector3& to);
