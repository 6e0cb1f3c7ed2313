// The technique choices, walked row by row with their speed, turn and shooting cases.
#include "core/Random.h"
#include "race/AthletProfile.h"
#include "race/Racer.h"
#include "race/Technique.h"

#include <gtest/gtest.h>

namespace {

constexpr int kStanding = -1;  // any of the standing animations 18 to 20
constexpr float L = 1.0f;      // full left
constexpr float R = -1.0f;     // full right

struct Case {
  float power;
  int terrain, anim;
  float speed, steer;
  bool shooting;
  int want;
};

void Check(const Case& c, int technique, void (*choose)(N_Racer&, int&, float)) {
  N_AthletProfile athlete;
  N_Racer r(athlete, 0, 10.0f, 0, false, false);
  Srand(3);
  r.Power = c.power;
  r.Terrain = c.terrain;
  r.Speed = c.speed;
  r.Steer = c.steer;
  r.ShootPhase = c.shooting ? 0 : 9;
  r.Technique = technique;
  int anim = c.anim;
  choose(r, anim, 0.033f);
  const auto what = ::testing::Message() << "power " << c.power << " terrain " << c.terrain << " anim " << c.anim
                                         << " speed " << c.speed << " steer " << c.steer << " shooting " << c.shooting
                                         << " technique " << technique;
  if (c.want == kStanding) {
    EXPECT_TRUE(anim >= 18 && anim <= 20) << what << " got " << anim;
  } else {
    EXPECT_EQ(anim, c.want) << what;
  }
}

TEST(Technique, AutomaticChoiceWalksEveryTerrainAnimationSpeedTurnAndShootingCase) {
  const Case cases[] = {
      // Flat.
      {1, 1, 7, 8.5f, 0, false, 7}, {1, 1, 7, 8.6f, 0, false, 8}, {1, 1, 7, 5, L, false, 5},
      {1, 1, 7, 5, R, true, 6}, {1, 1, 7, 5, 0.95f, true, 11}, {1, 1, 8, 6.5f, 0, false, 7},
      {1, 1, 8, 6.6f, 0, false, 8}, {1, 1, 8, 5, 0, true, 11}, {1, 1, 19, 20, L, true, 7},
      {1, 1, 11, 8.4f, 0, false, 7}, {1, 1, 11, 8.5f, 0, false, 8}, {1, 1, 16, 5, -0.96f, true, 6},
      {1, 1, 11, 5, 0, true, 11}, {1, 1, 5, 13, 0, false, 8}, {1, 1, 23, 5, 0, false, 7},
      // Uphill.
      {1, 2, 7, 3.5f, L, false, 12}, {1, 2, 7, 3.6f, L, false, 5}, {1, 2, 7, 3.6f, R, false, 6},
      {1, 2, 7, 8.1f, 0, true, 11}, {1, 2, 7, 8.1f, 0, false, 9}, {1, 2, 7, 3.4f, 0, false, 12},
      {1, 2, 7, 3.5f, 0, false, 7}, {1, 2, 9, 7.1f, 0, false, 9}, {1, 2, 10, 7, 0, false, 7},
      {1, 2, 10, 3.5f, 0, false, 12}, {1, 2, 9, 3, R, false, 12}, {1, 2, 10, 5, R, true, 6},
      {1, 2, 9, 5, 0, true, 11}, {1, 2, 12, 4, L, false, 12}, {1, 2, 12, 4.1f, L, false, 5},
      {1, 2, 12, 4.1f, R, false, 6}, {1, 2, 12, 5, 0, true, 7}, {1, 2, 12, 8.1f, 0, false, 9},
      {1, 2, 12, 4, 0, false, 12}, {1, 2, 20, 9, L, true, 12}, {1, 2, 15, 5, L, false, 15},
      {1, 2, 16, 5, R, true, 16}, {1, 2, 15, 5, 0, true, 11}, {1, 2, 15, 3.6f, 0, false, 7},
      {1, 2, 15, 3.5f, 0, false, 12}, {1, 2, 6, 9, 0, false, 9},
      // Downhill.
      {1, 0, 15, 5, L, false, 13}, {1, 0, 15, 12.1f, 0, false, 16}, {1, 0, 15, 12, 0, true, 15},
      {1, 0, 15, 4, 0, false, 7}, {1, 0, 16, 9.1f, R, false, 14}, {1, 0, 16, 9.1f, 0, false, 16},
      {1, 0, 16, 9, 0, false, 15}, {1, 0, 16, 4, 0, false, 7}, {1, 0, 7, 4.9f, L, false, 5},
      {1, 0, 7, 4.9f, 0, true, 7}, {1, 0, 7, 5, R, false, 14}, {1, 0, 7, 12, 0, false, 15},
      {1, 0, 7, 12.1f, 0, false, 16}, {1, 0, 13, 12.5f, 0, false, 16}, {1, 0, 14, 10, 0, false, 15},
      // A slope class not yet set.
      {1, 5, 9, 5, L, true, 9},
      // Without effort.
      {0, 1, 7, 0.01f, L, false, 21}, {-0.5f, 2, 7, 0, R, false, 22}, {0, 1, 7, 0, 0, false, kStanding},
      {-0.1f, 1, 7, 3, L, false, 4}, {0, 1, 9, 10.1f, L, false, 13}, {0, 1, 9, 10, R, false, 6},
      {0, 0, 9, 10.1f, R, false, 14}, {0, 1, 9, 5, 0, true, 9}, {0, 1, 25, 5, 0, false, kStanding},
  };
  for (const Case& c : cases) Check(c, -1, ChooseTechniqueAuto);
}

TEST(Technique, ManualChoiceWalksEveryTechniqueKeyAndBothPowerSigns) {
  const struct {
    int technique;
    float power, speed, steer;
    int want;
  } cases[] = {
      {-1, 1, 5, 0, 4},   {0, 1, 5, 0, 7},    {0, 1, 5, 0.95f, 7}, {1, 1, 5, L, 5},  {1, 0, 5, 0, 7},
      {2, 1, 5, 0, 8},    {2, 1, 5, R, 6},    {3, 1, 5, 0, 9},     {3, 1, 5, L, 5},  {4, 1, 5, L, 12},
      {5, 1, 5, 0, 15},   {5, 1, 5, L, 13},   {6, 1, 5, 0, 16},    {6, 1, 5, R, 14}, {7, 1, 5, L, 17},
      {8, 1, 5, 0, kStanding}, {9, 1, 5, L, 4}, {12, 1, 5, 0, 4},  {2, -0.5f, 0, 0, kStanding},
      {2, -0.5f, 1, L, 4},
  };
  for (const auto& c : cases) Check({c.power, 1, 7, c.speed, c.steer, false, c.want}, c.technique, ChooseTechniqueManual);
}

}  // namespace
