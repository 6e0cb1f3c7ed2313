// The racer's control routines: the player's keys, the animations that win over the
// technique (falls, exhaustion, shooting, finish, standing), and the post step.
#include "core/KeyDefinitions.h"
#include "core/PlayerControls.h"
#include "core/Random.h"
#include "platform/dinput8.h"
#include "race/AthletProfile.h"
#include "race/Racer.h"
#include "race/RacerControl.h"
#include "tests/core/InputRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>

namespace {

constexpr float kDt = 0.033f;

struct Skier {
  N_AthletProfile athlete;
  N_Racer r{athlete, 0, 10.0f, 0, false, false};
};

/// The first draw after Srand(seed).
int FirstDraw(unsigned seed) {
  Srand(seed);
  return Rand();
}

TEST(RacerControl, PlayerKeysSetPowerSteeringAndTechnique) {
  const float p = 0.75f * kDt;
  const float s = 5.0f * kDt;
  const float b = 2.5f * kDt;  // a held turn key builds the steering up
  const struct {
    std::initializer_list<BYTE> keys;
    float power, steer, wantPower, wantSteer, wantScale;
    int wantTechnique;  // 6 before: no technique key leaves it
  } cases[] = {
      {{DIK_S}, 0.1f, 0, 0, 0, 1, 6},          {{DIK_S}, 0, 0, -p, 0, 1, 6},
      {{DIK_S}, 0.5f, 0, 0.5f - p, 0, 1, 6},   {{DIK_S}, -1, 0, -1, 0, 1, 6},
      {{DIK_W}, -0.3f, 0, p, 0, 1, 6},         {{DIK_W}, 0.1f, 0, 0.2f, 0, 1, 6},
      {{DIK_W}, 0.5f, 0, 0.5f + p, 0, 1, 6},   {{DIK_W, DIK_3}, 1, 0, 1, 0, 1, 3},
      {{DIK_W, DIK_RCONTROL, DIK_RSHIFT}, 4.99f, 0, 5, 0, 5, 6},
      {{DIK_W, DIK_SPACE}, 0.5f, 0, 0, 0, 1, 6},
      {{DIK_A}, 0, -0.5f, 0, -0.5f + s, 1, 6}, {{DIK_A}, 0, -0.1f, 0, 0, 1, 6},
      {{DIK_A}, 0, 0, 0, b, 1, 6},             {{DIK_A}, 0, 0.5f, 0, 0.5f + b, 1, 6},
      {{DIK_A}, 0, 0.99f, 0, 1, 1, 6},         {{DIK_D}, 0, 0.3f, 0, 0.3f - s, 1, 6},
      {{DIK_D}, 0, 0.1f, 0, 0, 1, 6},          {{DIK_D}, 0, 0, 0, -b, 1, 6},
      {{DIK_D}, 0, -0.99f, 0, -1, 1, 6},
      {{}, 0, 0.5f, 0, 0.5f - s, 1, 6},        {{}, 0, -0.1f, 0, 0, 1, 6},
  };
  for (const auto& c : cases) {
    test::InputRig rig;
    ResetKeyDefinitions();
    for (BYTE k : c.keys) rig.input.KeyDown(k);
    rig.Frame();
    N_PlayerControls controls;
    controls.Poll();
    Skier sk;
    sk.r.Power = c.power;
    sk.r.Steer = c.steer;
    sk.r.Technique = 6;
    PlayerInput(sk.r, controls, kDt);
    EXPECT_FLOAT_EQ(sk.r.Power, c.wantPower) << c.power << " " << c.steer;
    EXPECT_FLOAT_EQ(sk.r.Steer, c.wantSteer) << c.power << " " << c.steer;
    EXPECT_EQ(sk.r.PowerScale, c.wantScale);
    EXPECT_EQ(sk.r.Technique, c.wantTechnique);
  }
}

TEST(RacerControl, AFallPlaysToItsEndAndCountsOnce) {
  const struct {
    int fallState, anim;
    float immunity, coolness, concentrationLoss;
  } cases[] = {{1, 2, 5.0f, 1.0f, 0.0f}, {2, 3, 1.0f, 1.0f, 0.0f}, {3, 0, 5.0f, 0.0f, 0.05f}, {4, 1, 5.0f, 0.6f, -1}};
  for (const auto& c : cases) {
    Srand(7);
    Skier sk;
    sk.r.FallState = c.fallState;
    sk.r.Coolness = c.coolness;
    sk.r.Concentration = 0.8f;
    int anim = 7;
    sk.r.AnimPhase = 1.0f;  // the previous animation's end does not end the fall
    EXPECT_TRUE(AnimOverrides(sk.r, anim, kDt));
    EXPECT_EQ(anim, c.anim);
    sk.r.AnimPhase = 0.99f;
    EXPECT_TRUE(AnimOverrides(sk.r, anim, kDt));
    EXPECT_EQ(sk.r.Falls, 0);
    sk.r.AnimPhase = 1.0f;
    EXPECT_FALSE(AnimOverrides(sk.r, anim, kDt)) << c.fallState;
    EXPECT_EQ(sk.r.Falls, 1);
    EXPECT_EQ(sk.r.FallState, 0);
    EXPECT_EQ(sk.r.FallImmunity, c.immunity);
    if (c.concentrationLoss >= 0.0f) {
      EXPECT_FLOAT_EQ(sk.r.Concentration, 0.8f - c.concentrationLoss);
    }
    EXPECT_FALSE(AnimOverrides(sk.r, anim, kDt));
    EXPECT_EQ(sk.r.Falls, 1);
  }
}

TEST(RacerControl, ExhaustionChoosesByTheClockAndRunsItsSequences) {
  bool seen[2] = {false, false};
  for (const float time : {12.345f, 100.0f, 7.5f, 333.3f, 41.0f, 2.0f}) {
    Skier sk;
    sk.r.Time = time;
    sk.r.Condition = -0.001f;
    int anim = 8;
    ASSERT_TRUE(AnimOverrides(sk.r, anim, kDt));
    const int want = 2 * FirstDraw(static_cast<unsigned>(static_cast<int>(time * 1000.0f))) / 32767 == 0 ? 36 : 35;
    EXPECT_EQ(anim, want) << time;
    seen[want == 36] = true;
  }
  EXPECT_TRUE(seen[0] && seen[1]);
  const struct {
    int anim;
    float phase, condition;
    int want;
  } steps[] = {{36, 0.5f, -0.001f, 36}, {36, 1.0f, -0.001f, 37}, {37, 1.0f, 0.0f, 37}, {37, 0.2f, 0.01f, 38},
               {38, 0.5f, 0.01f, 38},   {38, 1.0f, 0.01f, 20},   {35, 1.0f, 0.0f, 35},  {35, 0.2f, 0.01f, 20},
               {36, 0.5f, 0.01f, 36}};
  for (const auto& s : steps) {
    Skier sk;
    sk.r.AnimPhase = s.phase;
    sk.r.Condition = s.condition;
    int anim = s.anim;
    EXPECT_TRUE(AnimOverrides(sk.r, anim, kDt));
    EXPECT_EQ(anim, s.want) << s.anim << " " << s.phase << " " << s.condition;
  }
}

TEST(RacerControl, OverridesForTheStartShootingAndHolding) {
  const struct {
    const char* what;
    float time;
    int fallState, holding, shootPhase, stance;
    float power;
    bool wantOverride;
    int want;  // -1: a standing animation
  } cases[] = {
      {"waiting beats a fall", -3, 1, 0, 9, 0, 0, true, -1}, {"push-off", 1, 0, 1, 9, 0, 0.31f, true, 17},
      {"holding", 1, 0, 1, 9, 0, 0.3f, true, -1},           {"standing prep", 1, 0, 0, 4, 1, 1, true, 29},
      {"standing end", 1, 0, 0, 6, 1, 1, true, 31},        {"prone shot", 1, 0, 0, 5, 2, 1, true, 24},
      {"no stance", 1, 0, 0, 5, 0, 1, false, 7},           {"approach", 1, 0, 0, 3, 2, 1, false, 7},
  };
  for (const auto& c : cases) {
    Skier sk;
    sk.r.Time = c.time;
    sk.r.FallState = c.fallState;
    sk.r.Holding = static_cast<std::uint8_t>(c.holding);
    sk.r.ShootPhase = c.shootPhase;
    sk.r.Stance = c.stance;
    sk.r.Power = c.power;
    int anim = 7;
    EXPECT_EQ(AnimOverrides(sk.r, anim, kDt), c.wantOverride) << c.what;
    if (c.want < 0) {
      EXPECT_TRUE(anim >= 18 && anim <= 20) << c.what << " " << anim;
    } else {
      EXPECT_EQ(anim, c.want) << c.what;
    }
  }
}

TEST(RacerControl, AStoppedRacerFinishesAfterItsAnimationOrTenSeconds) {
  const struct {
    int position, anim;
  } ranks[] = {{1, 39}, {2, 39}, {3, 41}, {5, 41}, {9, 41}, {10, 40}, {12, 40}};
  for (const auto& c : ranks) {
    Skier sk;
    sk.r.Stopped = 1;
    sk.r.Position = c.position;
    sk.r.AnimPhase = 1.0f;  // the skating's end is not the finish animation's
    int anim = 8;
    EXPECT_TRUE(AnimOverrides(sk.r, anim, kDt));
    EXPECT_EQ(anim, c.anim) << c.position;
    EXPECT_EQ(sk.r.Finished, 0);
    EXPECT_TRUE(AnimOverrides(sk.r, anim, kDt));
    EXPECT_EQ(sk.r.Finished, 1) << c.position;
  }
  Skier sk;  // a finish animation that never ends
  sk.r.Stopped = 1;
  int anim = 8;
  for (int i = 0; i < 303; ++i) AnimOverrides(sk.r, anim, kDt);
  EXPECT_EQ(sk.r.Finished, 0);
  AnimOverrides(sk.r, anim, kDt);
  EXPECT_EQ(sk.r.Finished, 1);
}

TEST(RacerControl, AStandingAnimationLastsTenSecondsThenTheClockReseedsTheDraw) {
  const float time = -5.5f;
  Skier sk;
  sk.r.Time = time;
  int anim = 19;
  Srand(1);
  for (int i = 0; i < 303; ++i) {
    PickStandingAnim(sk.r, anim, kDt);
    ASSERT_EQ(anim, 19) << i;
  }
  EXPECT_EQ(Rand(), 41);  // nothing was drawn meanwhile
  PickStandingAnim(sk.r, anim, kDt);
  EXPECT_EQ(sk.r.IdleTimer, 0.0f);
  EXPECT_EQ(anim, 18 + 3 * FirstDraw(static_cast<unsigned>(-5500)) / 32767);
  unsigned top = 0;  // a seed whose first draw is the largest: k = 3 keeps the animation
  while (FirstDraw(top) != kRandMax) ++top;
  Srand(top);
  anim = 17;
  PickStandingAnim(sk.r, anim, kDt);
  EXPECT_EQ(anim, 17);
  const struct {
    float time;
    unsigned want;
  } seeds[] = {{-5.5f, static_cast<unsigned>(-5500)},
               {12.3456f, 12345u},
               {1e9f, 2147483647u},
               {-1e9f, 2147483648u},
               {std::numeric_limits<float>::quiet_NaN(), 0u}};
  for (const auto& s : seeds) EXPECT_EQ(ClockSeed(s.time), s.want) << s.time;
}

TEST(RacerControl, PostStepClassifiesTheSlopeWithHysteresisAndAppliesFalls) {
  const struct {
    int from;
    float s;
    int want;
  } slopes[] = {{1, 0.091f, 2},  {1, 0.09f, 1},   {2, 0.061f, 2},  {2, 0.059f, 1}, {1, -0.091f, 0}, {1, -0.09f, 1},
                {0, -0.061f, 0}, {0, -0.059f, 1}, {0, 0.091f, 2},  {2, -0.091f, 0}, {7, 0.5f, 1}};
  for (const auto& c : slopes) {
    Skier sk;
    sk.r.Terrain = c.from;
    sk.r.Heading = {std::sqrt(1.0f - c.s * c.s), 0.0f, c.s};
    RacerPostStep(sk.r, kDt);
    EXPECT_EQ(sk.r.Terrain, c.want) << c.from << " " << c.s;
  }
  const struct {
    int fallState;
    float immunity;
    int wantFall;
    float wantPower, wantSteer, wantSpeed;
  } falls[] = {{1, 0, 1, 0, 0.5f, 8}, {2, 0, 2, 0, 0.5f, 0}, {3, 0, 3, 0, 0, 8},
               {4, 0, 4, 0, 0, 8},    {3, 2, 0, 0.96f, 0.5f, 8}, {0, 0, 0, 0.96f, 0.5f, 8}};
  for (const auto& c : falls) {
    Skier sk;
    sk.r.FallState = c.fallState;
    sk.r.FallImmunity = c.immunity;
    sk.r.Power = 0.96f;
    sk.r.Steer = 0.5f;
    sk.r.Speed = 8.0f;
    sk.r.Heading = {0.0f, 1.0f, 0.0f};
    sk.r.Pos = {1.0f, 2.0f, 3.0f};
    RacerPostStep(sk.r, kDt);
    EXPECT_EQ(sk.r.FallState, c.wantFall) << c.fallState << " " << c.immunity;
    EXPECT_EQ(sk.r.Power, c.wantPower) << c.fallState;
    EXPECT_EQ(sk.r.Steer, c.wantSteer) << c.fallState;
    EXPECT_EQ(sk.r.Speed, c.wantSpeed) << c.fallState;
    EXPECT_FLOAT_EQ(sk.r.FallImmunity, c.immunity > 0 ? c.immunity - kDt : 0.0f);
    EXPECT_FLOAT_EQ(sk.r.FullPowerTime, c.wantPower > 0.95f ? kDt : 0.0f);
    EXPECT_EQ(sk.r.HeadPoint.z, 53.0f);
    // The box's first axis is the heading; its second is the left side negated.
    const float* m = sk.r.Orientation.m;
    EXPECT_NEAR(m[1], 1.0f, 1e-6);
    EXPECT_NEAR(m[3], 1.0f, 1e-6);
    EXPECT_NEAR(m[8], 1.0f, 1e-6);
  }
}

}  // namespace
