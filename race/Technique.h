#pragma once
// The skiing technique of a step, which is the racer's animation and so the row of the
// physics table: chosen automatically from effort, slope, speed, steering and the
// shooting for the computer racers (and the player on the easiest difficulty), or
// from the player's technique key. Both ask AnimOverrides first (race/RacerControl.h).
// The choices are tables, walked in order; the first row that fits decides.
struct N_Racer;

/// The automatic choice into anim (on entry the current animation).
void ChooseTechniqueAuto(N_Racer& racer, int& anim, float dt);
/// The player's technique key (Technique) into anim (on entry the current animation).
void ChooseTechniqueManual(N_Racer& racer, int& anim, float dt);
