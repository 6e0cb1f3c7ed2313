#pragma once
// The player's racer at the range, by ShootPhase, once per race step after PlayerInput:
//   0 -> 1;
//   1 the racer skis on until its move of this step meets the lane's approach box, then
//     stands on the stand (-> 3);
//   3 on the stand, no power or speed; the player turns it until it faces the lane (-> 4);
//   4 held ("E_R_START_SHOOT" in "Ai.log" every step); once the preparation animation
//     (23 prone, 29 standing) has played, the rifle's series begins and the player
//     status is hidden (-> 5);
//   5 held, the aim swaying (steady while the developer toggle is on); once the rifle is
//     down, the standing targets are the penalty loops and misses, the series ends (-> 6);
//   6 held until the end animation (25, 31) has played; the penalty count shown when
//     there are loops, the player status back (-> 8);
//   8 the lane released with its targets up (-> 9).
// Phases 2 and 7 are the computer racer's. "Held": on the stand, no power, steering or
// speed. A lane the path network has no approach box for is left at once.
//
// Then, every step: the developer keys (F or Y fighting spirit, R clears the penalty
// loops, T takes 60 s or 30 s off the clock), the fighting spirit running out, and no
// steering while holding or exhausted (no power either when exhausted).
class N_PlayerControls;
struct N_Racer;
namespace Ai {
class N_AiPath;
}

void PlayerShooting(N_Racer& racer, Ai::N_AiPath& path, const N_PlayerControls& controls, float dt);
