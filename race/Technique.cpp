#include "race/Technique.h"

#include "race/Racer.h"
#include "race/RacerControl.h"

#include <cstdint>
#include <initializer_list>

namespace {

namespace A = SkierAnim;

enum class Cmp : std::uint8_t { Any, Lt, Le, Gt, Ge };

constexpr bool Holds(Cmp cmp, float value, float limit) {
  switch (cmp) {
    case Cmp::Lt:
      return value < limit;
    case Cmp::Le:
      return value <= limit;
    case Cmp::Gt:
      return value > limit;
    case Cmp::Ge:
      return value >= limit;
    case Cmp::Any:
      break;
  }
  return true;
}

// Results that are not animations.
constexpr int kKeep = -1;      ///< the current animation
constexpr int kStanding = -2;  ///< PickStandingAnim
constexpr int kNone = -3;      ///< the row has no such case

/// Steering beyond this counts as a turn for the turning animations.
constexpr float kTurnSteer = 0.95f;

/// A speed test and its animation; the first band that holds decides.
struct Band {
  Cmp cmp;
  float speed;
  int anim;
};

/// The animations of a left and a right turn: the first pair while the speed test
/// holds, else the second.
struct Turns {
  Cmp cmp;
  float speed;
  int left, right, otherLeft, otherRight;
};
constexpr Turns Pair(int left, int right) { return {Cmp::Any, 0.0f, left, right, left, right}; }
constexpr Turns kNoTurns = Pair(kNone, kNone);
constexpr Turns kSkateTurns = Pair(A::kSkateTurnLeft, A::kSkateTurnRight);
constexpr Turns kDownhillTurns = Pair(A::kDownhillTurnLeft, A::kDownhillTurnRight);

enum class Effort : std::uint8_t {
  Pushing,   ///< Power above 0
  Still,     ///< Power 0 or below, at most 0.01 m/s
  Braking,   ///< Power below 0, moving
  Coasting,  ///< Power 0, moving
};

constexpr std::uint64_t Anims(std::initializer_list<int> ids) {
  std::uint64_t mask = 0;
  for (const int id : ids) mask |= std::uint64_t{1} << id;
  return mask;
}
constexpr std::uint64_t kAnyAnim = ~std::uint64_t{0};
constexpr std::uint64_t kStandingAnims = Anims({A::kStand, A::kStand + 1, A::kStand + 2});
constexpr int kAnyTerrain = -1;

/// One row of the automatic choice: for an effort, a slope class and current
/// animations, the turn animations, the animation while shooting, then speed bands.
struct AutoRow {
  Effort effort;
  int terrain;
  std::uint64_t anims;
  Turns turns;
  int shooting;
  Band bands[3];
};

constexpr Band kAlways(int anim) { return {Cmp::Any, 0.0f, anim}; }

constexpr AutoRow kAutoTable[] = {
    // Flat.
    {Effort::Pushing, 1, Anims({A::kSkate}), kSkateTurns, A::kSkateNoPoles,
     {{Cmp::Le, 8.5f, A::kSkate}, kAlways(A::kSkateFast)}},
    {Effort::Pushing, 1, Anims({A::kSkateFast}), kSkateTurns, A::kSkateNoPoles,
     {{Cmp::Le, 6.5f, A::kSkate}, kAlways(A::kSkateFast)}},
    {Effort::Pushing, 1, kStandingAnims, kNoTurns, kNone, {kAlways(A::kSkate)}},
    {Effort::Pushing, 1, kAnyAnim, kSkateTurns, A::kSkateNoPoles,
     {{Cmp::Lt, 8.5f, A::kSkate}, kAlways(A::kSkateFast)}},
    // Uphill: slow turns become herringbone.
    {Effort::Pushing, 2, Anims({A::kSkate}),
     {Cmp::Le, 3.5f, A::kHerringbone, A::kHerringbone, A::kSkateTurnLeft, A::kSkateTurnRight}, A::kSkateNoPoles,
     {{Cmp::Gt, 8.0f, A::kSkateUphill}, {Cmp::Lt, 3.5f, A::kHerringbone}, kAlways(A::kSkate)}},
    {Effort::Pushing, 2, Anims({A::kSkateUphill, A::kSkateUphill + 1}),
     {Cmp::Le, 3.5f, A::kHerringbone, A::kHerringbone, A::kSkateTurnLeft, A::kSkateTurnRight}, A::kSkateNoPoles,
     {{Cmp::Gt, 7.0f, A::kSkateUphill}, {Cmp::Gt, 3.5f, A::kSkate}, kAlways(A::kHerringbone)}},
    {Effort::Pushing, 2, Anims({A::kHerringbone}),
     {Cmp::Le, 4.0f, A::kHerringbone, A::kHerringbone, A::kSkateTurnLeft, A::kSkateTurnRight}, kNone,
     {{Cmp::Gt, 8.0f, A::kSkateUphill}, {Cmp::Gt, 4.0f, A::kSkate}, kAlways(A::kHerringbone)}},
    {Effort::Pushing, 2, kStandingAnims, kNoTurns, kNone, {kAlways(A::kHerringbone)}},
    {Effort::Pushing, 2, kAnyAnim, Pair(kKeep, kKeep), A::kSkateNoPoles,
     {{Cmp::Gt, 3.5f, A::kSkate}, kAlways(A::kHerringbone)}},
    // Downhill.
    {Effort::Pushing, 0, Anims({A::kDoublePole}), kDownhillTurns, kNone,
     {{Cmp::Gt, 12.0f, A::kTuck}, {Cmp::Le, 4.0f, A::kSkate}, kAlways(A::kDoublePole)}},
    {Effort::Pushing, 0, Anims({A::kTuck}), kDownhillTurns, kNone,
     {{Cmp::Gt, 9.0f, A::kTuck}, {Cmp::Le, 4.0f, A::kSkate}, kAlways(A::kDoublePole)}},
    {Effort::Pushing, 0, kAnyAnim,
     {Cmp::Lt, 5.0f, A::kSkateTurnLeft, A::kSkateTurnRight, A::kDownhillTurnLeft, A::kDownhillTurnRight}, kNone,
     {{Cmp::Lt, 5.0f, A::kSkate}, {Cmp::Le, 12.0f, A::kDoublePole}, kAlways(A::kTuck)}},
    // A slope class the post step has not set yet.
    {Effort::Pushing, kAnyTerrain, kAnyAnim, kNoTurns, kNone, {kAlways(kKeep)}},
    // Without effort.
    {Effort::Still, kAnyTerrain, kAnyAnim,
     Pair(A::kTurnOnSpotLeft, A::kTurnOnSpotRight), kNone, {kAlways(kStanding)}},
    {Effort::Braking, kAnyTerrain, kAnyAnim, kNoTurns, kNone, {kAlways(A::kBrake)}},
    {Effort::Coasting, kAnyTerrain, kAnyAnim,
     {Cmp::Gt, 10.0f, A::kDownhillTurnLeft, A::kDownhillTurnRight, A::kSkateTurnLeft, A::kSkateTurnRight}, kNone,
     {kAlways(kKeep)}},
};

/// The incoming animation first falls back to the plain technique of its family;
/// shooting, push-off and turning on the spot fall back to standing.
struct NormalRow {
  std::uint64_t anims;
  Band bands[3];
};
constexpr NormalRow kNormalTable[] = {
    {Anims({A::kSkateTurnLeft, A::kSkateTurnRight}),
     {{Cmp::Gt, 12.0f, A::kSkateNoPoles}, {Cmp::Gt, 8.0f, A::kSkate}, kAlways(A::kSkateUphill)}},
    {Anims({A::kDownhillTurnLeft, A::kDownhillTurnRight}), {{Cmp::Gt, 12.0f, A::kTuck}, kAlways(A::kDoublePole)}},
    {Anims({A::kPushOff, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34}), {kAlways(kStanding)}},
};

/// A manual technique and its turn animations.
struct ManualEntry {
  int anim;
  Turns turns;
};
/// By the technique key, -1 (none) to 9.
constexpr ManualEntry kManualTable[] = {
    {A::kBrake, kNoTurns},         {A::kSkate, kSkateTurns},          {A::kSkate, kSkateTurns},
    {A::kSkateFast, kSkateTurns},  {A::kSkateUphill, kSkateTurns},    {A::kHerringbone, kNoTurns},
    {A::kDoublePole, kDownhillTurns}, {A::kTuck, kDownhillTurns},     {A::kPushOff, kNoTurns},
    {kStanding, kNoTurns},         {A::kBrake, kNoTurns},
};
constexpr int kFirstTechnique = -1;

bool Has(std::uint64_t mask, int anim) {
  return mask == kAnyAnim || (anim >= 0 && anim < 64 && ((mask >> anim) & 1u) != 0);
}

int FirstBand(const Band (&bands)[3], float speed) {
  for (const Band& b : bands) {
    if (Holds(b.cmp, speed, b.speed)) return b.anim;
  }
  return kKeep;  // every table ends in an Any band; this only guards a short row
}

/// The turn animation of the racer's steering, or kNone when it does not turn.
int TurnAnim(const Turns& turns, const N_Racer& r) {
  if (r.Steer <= kTurnSteer && r.Steer >= -kTurnSteer) return kNone;
  const bool first = Holds(turns.cmp, r.Speed, turns.speed);
  if (r.Steer > kTurnSteer) return first ? turns.left : turns.otherLeft;
  return first ? turns.right : turns.otherRight;
}

void Apply(N_Racer& r, int result, int& anim, float dt) {
  if (result == kStanding) {
    PickStandingAnim(r, anim, dt);
  } else if (result != kKeep && result != kNone) {
    anim = result;
  }
}

Effort EffortOf(const N_Racer& r) {
  if (r.Power > 0.0f) return Effort::Pushing;
  if (r.Speed <= 0.01f) return Effort::Still;
  if (r.Power < 0.0f) return Effort::Braking;
  return Effort::Coasting;
}

}  // namespace

void ChooseTechniqueAuto(N_Racer& racer, int& anim, float dt) {
  if (AnimOverrides(racer, anim, dt)) return;
  for (const NormalRow& row : kNormalTable) {
    if (Has(row.anims, anim)) {
      Apply(racer, FirstBand(row.bands, racer.Speed), anim, dt);
      break;
    }
  }
  const Effort effort = EffortOf(racer);
  for (const AutoRow& row : kAutoTable) {
    if (row.effort != effort || (row.terrain != kAnyTerrain && row.terrain != racer.Terrain) || !Has(row.anims, anim)) {
      continue;
    }
    int result = TurnAnim(row.turns, racer);
    if (result == kNone && racer.ShootPhase != 9) result = row.shooting;
    if (result == kNone) result = FirstBand(row.bands, racer.Speed);
    Apply(racer, result, anim, dt);
    return;
  }
}

void ChooseTechniqueManual(N_Racer& racer, int& anim, float dt) {
  if (AnimOverrides(racer, anim, dt)) return;
  if (racer.Power < 0.0f) {
    Apply(racer, racer.Speed <= 0.0f ? kStanding : A::kBrake, anim, dt);
    return;
  }
  const int index = racer.Technique - kFirstTechnique;
  const int count = static_cast<int>(sizeof(kManualTable) / sizeof(kManualTable[0]));
  const ManualEntry& entry = index >= 0 && index < count ? kManualTable[index] : kManualTable[0];
  const int turn = TurnAnim(entry.turns, racer);
  Apply(racer, turn != kNone ? turn : entry.anim, anim, dt);
}
