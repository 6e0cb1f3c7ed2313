#pragma once
// The computer racer at the range: AiPilot's ShootPhase 0 to 8, one phase step per race
// step, after the racer's physics step.
//   0 drives on towards the lane's entry point; within 60 units (-> 1);
//   1 aims at the stand, kept between 2.0 and 0.0125 x its distance in speed, until the
//     way there meets the approach box or the stand is within sqrt(500) (-> 2);
//   2 walks to the stand at 1.5; within 10 the proposed position is the stand (-> 3);
//   3 stopped; turns until it faces the lane (-> 4);
//   4 held until its preparation animation (23, 29) has played (-> 5);
//   5 held, shooting: a shot as soon as the shot timer has run out (the first at once),
//     then 3.9 s more the lower its skill; a shot hits with two thirds of its ShootSkill
//     and fells the first standing target, a miss counts in Falls; the standing targets
//     are its penalty loops; once the cartridges are out the loops count as misses (-> 6);
//   6 held until its end animation (25, 31) has played (-> 7);
//   7 stopped; turns until it heads within 0.9 of the lane's exit point (-> 8);
//   8 walks to the exit point at 3.0; within 10 it leaves the lane, its targets up (-> 9).
// A lane the path network has no stand for is left at once.
#include "core/Vector3.h"

struct N_Racer;
namespace Ai {
class N_AiPath;
}

/// One phase step; answers the direction the pilot steers the racer towards (its own
/// heading where it does not steer). May change the proposed position (phase 2).
N_Vector3 AiShooting(N_Racer& racer, Ai::N_AiPath& path, float dt, N_Vector3& proposed);
/// After the pilot has set power and steering from that direction: in phases 4 to 6 the
/// racer and its proposed position stay on the stand, without power, steering or speed.
void AiShootingHold(N_Racer& racer, N_Vector3& proposed);
