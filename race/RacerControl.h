#pragma once
// The racer's per-step control routines around the technique choice: the player's keys
// turned into effort and steering, the animations that win over any technique (start
// wait, falls, holding, exhaustion, shooting, finish), the idle standing animation,
// and the bookkeeping after the racer has been moved (slope class, fall immunity,
// the racer's box for the others' line checks).
//
// The race step calls them per racer in this order: RacerPostStep, then a technique
// chooser (race/Technique.h, which asks AnimOverrides first), then PlayerInput for
// the player's racer, then the physics step.
struct N_Racer;
class N_PlayerControls;

/// Skier animation ids the control routines pick.
namespace SkierAnim {
constexpr int kFallLeft = 0;
constexpr int kFallRight = 1;
constexpr int kFallForward = 2;
constexpr int kFallBackward = 3;
constexpr int kBrake = 4;
constexpr int kSkateTurnLeft = 5;
constexpr int kSkateTurnRight = 6;
constexpr int kSkate = 7;
constexpr int kSkateFast = 8;
constexpr int kSkateUphill = 9;
constexpr int kSkateNoPoles = 11;
constexpr int kHerringbone = 12;
constexpr int kDownhillTurnLeft = 13;
constexpr int kDownhillTurnRight = 14;
constexpr int kDoublePole = 15;
constexpr int kTuck = 16;
constexpr int kPushOff = 17;
constexpr int kStand = 18;  ///< 18, 19, 20: the three standing animations
constexpr int kTurnOnSpotLeft = 21;
constexpr int kTurnOnSpotRight = 22;
constexpr int kProneShooting = 23;     ///< preparation, shooting, end
constexpr int kStandingShooting = 29;  ///< preparation, shooting, end
constexpr int kExhausted = 35;
constexpr int kExhaustedOnset = 36;
constexpr int kExhaustedLasting = 37;
constexpr int kExhaustedEnd = 38;
constexpr int kJoy = 39;
constexpr int kAnger = 40;
constexpr int kFinishStand = 41;
}  // namespace SkierAnim

/// The player's keys: PowerScale (5.0 with the developer speed keys), Power from the
/// forward and backward keys and the brake, Steer built up at 2.5 per second while a
/// turn key is held and returned towards straight at 5.0 per second, and Technique
/// from the last technique key.
void PlayerInput(N_Racer& racer, const N_PlayerControls& controls, float dt);

/// The animation that wins over any technique, in anim (on entry the current one);
/// false when none does and the technique decides. Ends falls (Falls, FallImmunity,
/// a possible loss of concentration) and finishes a stopped racer once its finish
/// animation has played, or after 10.0 s stopped.
bool AnimOverrides(N_Racer& racer, int& anim, float dt);

/// One of the standing animations 18 to 20 in anim (on entry the current one): a
/// standing animation is kept for 10.0 s, then the generator is reseeded from the
/// racer's clock and a new one drawn.
void PickStandingAnim(N_Racer& racer, int& anim, float dt);

/// After the racer has been moved: slope class, fall immunity (clearing a new fall)
/// and a fall's effect on the controls, HeadPoint and Orientation, FullPowerTime.
void RacerPostStep(N_Racer& racer, float dt);

/// The seed the racer routines reseed the generator with: the clock in milliseconds,
/// cut to a 32-bit integer first (out of range clamps, NaN gives 0).
unsigned ClockSeed(float time);
