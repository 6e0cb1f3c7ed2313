// The racer record: numbering from the process-wide counter and its reset, the
// cartridges of a relay leg, and the factors derived from the athlete record.
#include "race/AthletProfile.h"
#include "race/Racer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(Racer, NumbersRunFromOneAndStartAgainAfterTheRacersAreGone) {
  N_AthletProfile athlete;
  for (int round = 0; round < 2; ++round) {
    auto a = std::make_unique<N_Racer>(athlete, 2, 0.0f, 0, false, false);
    auto b = std::make_unique<N_Racer>(athlete, 2, 0.0f, 1, false, true);
    EXPECT_EQ(a->StartNumber, 1) << round;
    EXPECT_EQ(b->StartNumber, 2) << round;
    EXPECT_EQ(a->Position, a->StartNumber);
    EXPECT_EQ(b->Position, b->StartNumber);
    EXPECT_EQ(N_Racer::NextStartNumber(), 3);
  }
  EXPECT_EQ(N_Racer::NextStartNumber(), 1);
}

TEST(Racer, TheDefaultAthleteGivesItsFactorsAndTheArgumentsAreKept) {
  N_AthletProfile athlete;
  const struct {
    bool relay;
    bool holding;
    std::int32_t lapsLeft;
    float startTime;
    std::int32_t bullets;
  } cases[] = {{false, false, 2, -30.0f, 5}, {true, true, 0, 12.5f, 8}};
  for (const auto& c : cases) {
    N_Racer racer(athlete, c.lapsLeft, c.startTime, 7, c.holding, c.relay);
    EXPECT_EQ(racer.Bullets, c.bullets);
    EXPECT_EQ(racer.Holding, c.holding ? 1 : 0);
    EXPECT_EQ(racer.LapsLeft, c.lapsLeft);
    EXPECT_EQ(racer.Time, c.startTime);
    EXPECT_EQ(racer.AthleteIndex, 7);
    EXPECT_EQ(racer.Athlete, &athlete);
    const struct {
      const char* what;
      float value;
      float expected;
    } factors[] = {{"Concentration", racer.Concentration, 0.8f}, {"Coolness", racer.Coolness, 0.8f},
                   {"ShootSkill", racer.ShootSkill, 0.8f},       {"CurveSkill", racer.CurveSkill, 0.8f},
                   {"RunSkill", racer.RunSkill, 0.85f},          {"GamenessBoost", racer.GamenessBoost, 0.05f},
                   {"Mass", racer.Mass, 32.6f},                  {"PulseRise", racer.PulseRise, 6.1166663f},
                   {"PulseFall", racer.PulseFall, 3.4375f},      {"HeartRate", racer.HeartRate, 50.0f}};
    for (const auto& f : factors) EXPECT_NEAR(f.value, f.expected, 1e-6) << f.what;
    EXPECT_EQ(racer.ShootPhase, 9);
    EXPECT_EQ(racer.Anim, 18);
    EXPECT_EQ(racer.Technique, -1);
    EXPECT_EQ(racer.BreathSlot, -1);
  }
}

}  // namespace
