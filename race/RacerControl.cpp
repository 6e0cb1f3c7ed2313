#include "race/RacerControl.h"

#include "core/PlayerControls.h"
#include "core/Random.h"
#include "race/Racer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr float kPowerRate = 0.75f;  ///< per second
constexpr float kMinPush = 0.2f;     ///< the first push forward, and the coasting band
constexpr float kSteerRate = 5.0f;   ///< per second, back towards straight
/// Per second: a held turn key builds the steering up to full in 0.4 s, so that a tap
/// turns a little and only a held key turns hard.
constexpr float kSteerBuild = 2.5f;
constexpr float kIdleSpan = 10.0f;   ///< seconds before a standing skier shifts
/// A finish animation that never ends (missing, looping, or a figure shared by two
/// racers) would keep the race from ever finishing.
constexpr float kFinishTimeout = 10.0f;

void StepPower(N_Racer& r, int forward, float dt) {
  if (forward > 0) {
    if (r.Power < 0.0f) {
      r.Power = kPowerRate * dt;
    } else if (r.Power < kMinPush) {
      r.Power = kMinPush;
    } else {
      r.Power += kPowerRate * dt;
    }
  } else if (forward < 0) {
    if (r.Power > kMinPush) {
      r.Power -= kPowerRate * dt;
    } else if (r.Power > 0.0f) {
      r.Power = 0.0f;
    } else {
      r.Power -= kPowerRate * dt;  // braking grows
    }
  }
}

/// Built up towards the pressed side, but out of a turn the other way first back to
/// straight at the steering rate; back to straight without passing it.
void StepSteer(N_Racer& r, int turn, float dt) {
  const float step = kSteerRate * dt;
  const float build = kSteerBuild * dt;
  if (turn > 0) {
    r.Steer = r.Steer < 0.0f ? std::min(r.Steer + step, 0.0f) : std::min(r.Steer + build, 1.0f);
  } else if (turn < 0) {
    r.Steer = r.Steer > 0.0f ? std::max(r.Steer - step, 0.0f) : std::max(r.Steer - build, -1.0f);
  } else if (r.Steer > 0.0f) {
    r.Steer = std::max(r.Steer - step, 0.0f);
  } else if (r.Steer < 0.0f) {
    r.Steer = std::min(r.Steer + step, 0.0f);
  }
  r.Steer = std::clamp(r.Steer, -1.0f, 1.0f);
}

bool Played(const N_Racer& r, int anim, int wanted) { return anim == wanted && r.AnimPhase >= 1.0f; }

/// Rule 2: the fall plays to its end; true while it does. At its end the fall counts,
/// the racer is immune for a while and may lose some concentration.
bool FallOverride(N_Racer& r, int& anim) {
  static constexpr int kFallAnims[4] = {SkierAnim::kFallForward, SkierAnim::kFallBackward, SkierAnim::kFallLeft,
                                        SkierAnim::kFallRight};
  if (r.FallState < 1 || r.FallState > 4) return false;
  const int fall = kFallAnims[r.FallState - 1];
  if (!Played(r, anim, fall)) {
    anim = fall;
    return true;
  }
  r.FallImmunity = r.FallState == 2 ? 1.0f : 5.0f;
  r.Falls += 1;
  r.FallState = 0;
  if (RandomRange(0.0f, 1.0f) > r.Coolness) {
    r.Concentration = std::max(r.Concentration - (1.0f - r.Coolness) * 0.05f, 0.0f);
  }
  return false;
}

/// Rule 4: the exhaustion sequences 35 and 36-37-38 run by the current animation.
bool ExhaustionOverride(const N_Racer& r, int& anim) {
  switch (anim) {
    case SkierAnim::kExhausted:
      if (r.Condition > 0.0f) anim = SkierAnim::kStand + 2;
      return true;
    case SkierAnim::kExhaustedOnset:
      if (r.AnimPhase >= 1.0f) anim = SkierAnim::kExhaustedLasting;
      return true;
    case SkierAnim::kExhaustedLasting:
      if (r.Condition > 0.0f) anim = SkierAnim::kExhaustedEnd;
      return true;
    case SkierAnim::kExhaustedEnd:
      if (r.AnimPhase >= 1.0f) anim = SkierAnim::kStand + 2;
      return true;
    default:
      return false;
  }
}

/// Rule 6: joy, a plain stand or anger by the rank; finished once it has played.
void FinishOverride(N_Racer& r, int& anim, float dt) {
  const int finish = r.Position < 3 ? SkierAnim::kJoy : r.Position < 10 ? SkierAnim::kFinishStand : SkierAnim::kAnger;
  const bool played = Played(r, anim, finish);
  anim = finish;
  r.FinishAnimTime += dt;
  if (played || r.FinishAnimTime >= kFinishTimeout) r.Finished = 1;
}

}  // namespace

unsigned ClockSeed(float time) {
  const float ms = time * 1000.0f;
  std::int32_t cut = 0;
  if (std::isnan(ms)) {
    cut = 0;
  } else if (ms >= 2147483648.0f) {
    cut = INT32_MAX;
  } else if (ms < -2147483648.0f) {
    cut = INT32_MIN;
  } else {
    cut = static_cast<std::int32_t>(ms);
  }
  return static_cast<unsigned>(cut);
}

void PlayerInput(N_Racer& racer, const N_PlayerControls& controls, float dt) {
  racer.PowerScale = 1.0f + 4.0f * (controls.IsTurboHeld() ? 1.0f : 0.0f);
  StepPower(racer, controls.GetForwardAxis(), dt);
  if (controls.IsBraking()) racer.Power = 0.0f;
  racer.Power = std::clamp(racer.Power, -racer.PowerScale, racer.PowerScale);
  StepSteer(racer, controls.GetTurnAxis(), dt);
  const int technique = controls.GetTechnique();
  if (technique != -1) racer.Technique = technique;
}

void PickStandingAnim(N_Racer& racer, int& anim, float dt) {
  if (anim >= SkierAnim::kStand && anim <= SkierAnim::kStand + 2) {
    racer.IdleTimer += dt;
    if (racer.IdleTimer < kIdleSpan) return;
    racer.IdleTimer = 0.0f;
    Srand(ClockSeed(racer.Time));
  }
  const int k = 3 * Rand() / kRandMax;
  if (k < 3) anim = SkierAnim::kStand + k;
}

bool AnimOverrides(N_Racer& racer, int& anim, float dt) {
  if (racer.Time < 0.0f) {
    PickStandingAnim(racer, anim, dt);
    return true;
  }
  if (FallOverride(racer, anim)) return true;
  if (racer.Holding) {
    if (racer.Power > 0.3f) {
      anim = SkierAnim::kPushOff;
    } else {
      PickStandingAnim(racer, anim, dt);
    }
    return true;
  }
  if (ExhaustionOverride(racer, anim)) return true;
  if (racer.Stopped) {
    FinishOverride(racer, anim, dt);
    return true;
  }
  if (racer.Condition < 0.0f) {
    Srand(ClockSeed(racer.Time));
    anim = 2 * Rand() / kRandMax == 0 ? SkierAnim::kExhaustedOnset : SkierAnim::kExhausted;
    return true;
  }
  if (racer.ShootPhase >= 4 && racer.ShootPhase <= 6) {
    const int first = racer.Stance == 1 ? SkierAnim::kStandingShooting
                      : racer.Stance == 2 ? SkierAnim::kProneShooting
                                          : -1;
    if (first < 0) return false;
    anim = first + racer.ShootPhase - 4;
    return true;
  }
  return false;
}

void RacerPostStep(N_Racer& racer, float dt) {
  // Slope class with hysteresis, so a skier on a slope near a class boundary does
  // not flicker between techniques.
  const float s = racer.Heading.z;
  switch (racer.Terrain) {
    case 0:
      racer.Terrain = s > 0.09f ? 2 : s > -0.06f ? 1 : 0;
      break;
    case 1:
      racer.Terrain = s > 0.09f ? 2 : s < -0.09f ? 0 : 1;
      break;
    case 2:
      racer.Terrain = s < -0.09f ? 0 : s < 0.06f ? 1 : 2;
      break;
    default:
      racer.Terrain = 1;
      break;
  }
  if (racer.FallImmunity > 0.0f) {
    racer.FallState = 0;
    racer.FallImmunity -= dt;
  }
  switch (racer.FallState) {
    case 2:
      racer.Speed = 0.0f;
      [[fallthrough]];
    case 1:
      racer.Power = 0.0f;
      break;
    case 3:
    case 4:
      racer.Steer = 0.0f;
      racer.Power = 0.0f;
      break;
    default:
      break;
  }
  racer.HeadPoint = racer.Pos + N_Vector3{0.0f, 0.0f, 50.0f};
  // The racer's box axes: the heading's frame with its second axis pointing the
  // other way.
  racer.Orientation = racer.HeadingFrame();
  for (int row = 0; row < 3; ++row) racer.Orientation.m[3 * row + 1] = -racer.Orientation.m[3 * row + 1];
  if (racer.Power > 0.95f) racer.FullPowerTime += dt;
}
