// The skier's physics step: curve stress and curve falls, the speed under drive,
// slope, steering, drag and the technique's cap, the stride's sideways push, heart
// rate and condition.
#include "race/AthletProfile.h"
#include "race/Racer.h"
#include "race/SkierPhysics.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

using Row = std::array<float, 15>;
constexpr float kDt = 0.033f;

/// A technique that neither drives, drags, drifts, turns nor pushes sideways.
Row QuietRow() {
  Row row{};
  row[1] = 100.0f;
  row[4] = row[5] = row[7] = row[8] = 2.0f;
  row[9] = 1.0f;
  return row;
}

struct Skier {
  N_AthletProfile athlete;
  N_Racer r{athlete, 0, 0.0f, 0, false, false};
  N_Vector3 out;
  Skier() {
    r.Heading = {1.0f, 0.0f, 0.0f};
    r.CurveSkill = 1.0f;
  }
  void Step(const Row& row, float dt = kDt) { SkierPhysicsStep(r, row.data(), dt, out); }
};

TEST(SkierPhysics, CurveStressRelaxesInTheDeadBandAndThrowsTheSkierPastEachSidesLimit) {
  const struct {
    float steer, skill, stress;
    float wantStress;
    int wantFall;
  } cases[] = {
      {0.1f, 1.0f, 50.0f, 50.0f - 200.0f * kDt, 0}, {-0.1f, 1.0f, -50.0f, -50.0f + 200.0f * kDt, 0},
      {0.0f, 1.0f, 1.0f, 1.0f, 0},                  {0.0f, 1.0f, -1.0f, -1.0f, 0},
      {1.0f, 1.0f, 65.0f, 65.0f, 0},                {1.0f, 1.0f, 65.01f, 0.0f, 3},
      {1.0f, 0.8f, 52.1f, 0.0f, 3},                 {-1.0f, 1.0f, -70.0f, -70.0f, 0},
      {-1.0f, 1.0f, -85.0f, -85.0f, 0},             {-1.0f, 1.0f, -85.01f, 0.0f, 4},
  };
  for (const auto& c : cases) {
    Skier s;  // standing still: no drift load, only the stress already built up
    s.r.Steer = c.steer;
    s.r.CurveSkill = c.skill;
    s.r.TurnStress = c.stress;
    s.Step(QuietRow());
    EXPECT_FLOAT_EQ(s.r.TurnStress, c.wantStress) << c.steer << " " << c.stress;
    EXPECT_EQ(s.r.FallState, c.wantFall) << c.steer << " " << c.stress;
  }
}

TEST(SkierPhysics, DriftLoadsTheStressAndAZeroDivisorTurnsWithoutDrift) {
  for (const float divisor : {2.0f, 0.0f}) {
    Skier s;
    Row row = QuietRow();
    row[10] = 1.5f;
    row[11] = divisor;
    s.r.Heading = {0.8f, 0.0f, 0.6f};
    s.r.Speed = 5.0f;
    s.r.Steer = 1.0f;
    s.Step(row);
    const float a = kDt * 1.5f;
    EXPECT_FLOAT_EQ(s.r.Heading.x, 0.8f * std::cos(a));
    EXPECT_FLOAT_EQ(s.r.Heading.y, 0.8f * std::sin(a));  // positive steering turns left
    EXPECT_EQ(s.r.Heading.z, 0.6f);
    const float side = (1.0f / 2.0f) * 5.0f * 1.5f * kDt * 39.37f * 0.8f;  // the side vector is horizontal
    EXPECT_FLOAT_EQ(s.r.TurnStress, divisor == 0.0f ? 0.0f : side * side) << divisor;
    EXPECT_EQ(s.r.FallState, 0);
    EXPECT_TRUE(std::isfinite(s.out.x) && std::isfinite(s.out.y)) << divisor;
  }
}

TEST(SkierPhysics, SpeedFollowsDriveSlopeSteeringAndDragUnderTheTechniquesCap) {
  const float slope = 0.1f;
  const struct {
    const char* what;
    float top, power, steer, headingZ, speed, drag, fixedTop, kampfgeist, edgeBrake, powerScale;
    float want;
  } cases[] = {
      {"drag", 100, 0, 0, 0, 10, 0.5f, 0, 0, 0, 1, 10.0f - 0.5f * 10.0f * kDt},
      {"uphill", 100, 0, 0, slope, 10, 0.5f, 0, 0, 0, 1, 10.0f - 0.5f * 10.0f * kDt - slope * 33.0f * kDt},
      {"steering: a fifth of the speed per radian", 100, 0, -0.5f, 0, 10, 0, 0, 0, 0, 1, 10.0f - 2.5f * kDt},
      {"never negative", 100, 0, 0, slope, 0.01f, 0, 0, 0, 0, 1, 0.0f},
      {"power share", 5, 0.2f, 0, 0, 50, 0, 0, 0, 0, 1, 5.0f * 0.6f},
      {"full top speed", 5, 0.2f, 0, 0, 50, 0, 1, 0, 0, 1, 5.0f},
      {"fighting spirit", 5, 1, 0, 0, 50, 0, 0, 1, 0, 1, 5.0f * 1.1f},
      {"edge brake", 5, 1, 0, 0, 50, 0, 0, 0, 0.5f, 1, 2.5f},
      {"turbo", 5, 1, 0, 0, 50, 0, 0, 0, 0, 5, 25.0f},
  };
  for (const auto& c : cases) {
    Skier s;
    Row row = QuietRow();
    row[1] = c.top;
    row[2] = c.drag;
    row[14] = c.fixedTop;
    row[10] = 2.5f;  // turn rate
    s.r.Heading = {std::sqrt(1.0f - c.headingZ * c.headingZ), 0.0f, c.headingZ};
    s.r.Mass = 32.6f;
    s.r.Power = c.power;
    s.r.Steer = c.steer;
    s.r.Speed = c.speed;
    s.r.GamenessBoost = 0.1f;
    s.r.KampfgeistActive = static_cast<std::uint8_t>(c.kampfgeist);
    s.r.EdgeBrake = c.edgeBrake;
    s.r.PowerScale = c.powerScale;
    s.Step(row);
    EXPECT_NEAR(s.r.Speed, c.want, 1e-5) << c.what;
    EXPECT_EQ(s.r.EdgeBrake, 0.0f) << c.what;
  }
}

TEST(SkierPhysics, TheStridesPushWindowsSwingTheTravelDirection) {
  const struct {
    float phase;
    float leftTo, rightFrom;  // left window [0, leftTo), right window [rightFrom, 1)
    float wantAngle;
  } cases[] = {{0.2f, 0.5f, 0.5f, 0.3f}, {0.7f, 0.5f, 0.5f, -0.4f}, {0.5f, 0.5f, 0.6f, 0.0f}, {0.4f, 0.5f, 0.3f, -0.4f}};
  for (const auto& c : cases) {
    Skier s;
    Row row = QuietRow();
    row[3] = 0.3f;
    row[4] = 0.0f;
    row[5] = c.leftTo;
    row[6] = 0.4f;
    row[7] = c.rightFrom;
    row[8] = 1.0f;
    s.r.Speed = 2.0f;
    s.r.Pos = {100.0f, 200.0f, 5.0f};
    s.r.AnimPhase = c.phase;
    s.Step(row);
    const float len = 2.0f * 39.37f * kDt;
    EXPECT_NEAR(s.out.x - 100.0f, std::cos(c.wantAngle) * len, 1e-4) << c.phase;
    EXPECT_NEAR(s.out.y - 200.0f, std::sin(c.wantAngle) * len, 1e-4) << c.phase;
    EXPECT_EQ(s.out.z, 5.0f);
    EXPECT_EQ(s.r.Pos.x, 100.0f);  // proposed only
  }
}

TEST(SkierPhysics, HeartRateMovesTowardsTheEffortAndSnapsWithinOneRiseStep) {
  const float rise = std::cos(1.2120342f) * 6.0f * kDt;
  const float fall = std::cos(1.2120342f) * 3.0f * kDt;
  const struct {
    float power, heartRate, want;
  } cases[] = {{1.0f, 100.0f, 100.0f + rise},        {0.0f, 100.0f, 100.0f - fall},
               {-1.0f, 61.0f, 61.0f - fall},         {1.0f, 190.0f - rise * 0.9f, 190.0f},
               {0.5f, 125.0f + rise * 0.5f, 125.0f}, {0.0f, 60.0f + fall + rise * 0.5f, 60.0f}};
  for (const auto& c : cases) {
    Skier s;
    s.r.PulseRise = 6.0f;
    s.r.PulseFall = 3.0f;
    s.r.Power = c.power;
    s.r.HeartRate = c.heartRate;
    s.Step(QuietRow());
    EXPECT_FLOAT_EQ(s.r.HeartRate, c.want) << c.power << " " << c.heartRate;
  }
}

TEST(SkierPhysics, ConditionFollowsTheHeartRateBandsWithinItsLimits) {
  const struct {
    float heartRate, condition, cap, want;
  } cases[] = {
      {190.0f, 0.5f, 1.0f, 0.5f - 0.0045f},   {185.0f, 0.5f, 1.0f, 0.5f - 0.0045f},
      {175.0f, 0.5f, 1.0f, 0.5f - 0.002f},    {150.0f, 0.5f, 1.0f, 0.5f - 0.0005f},
      {130.0f, 0.5f, 1.0f, 0.5f + 0.000666667f}, {110.0f, 0.5f, 1.0f, 0.5f + 0.00158333f},
      {97.5f, 0.5f, 1.0f, 0.5f + 0.002f},     {90.0f, 0.5f, 1.0f, 0.5f + 0.003f},
      {90.0f, 0.999f, 1.0f, 1.0f},            {90.0f, 0.799f, 0.8f, 0.8f},
      {135.0f, -0.004f, 1.0f, -0.004f},       {135.0f, -0.006f, 1.0f, 0.0f},
  };
  for (const auto& c : cases) {
    Skier s;  // no pulse factors: the heart rate stays where it is
    s.r.PulseRise = s.r.PulseFall = 0.0f;
    s.r.HeartRate = c.heartRate;
    s.r.Condition = c.condition;
    s.r.ConditionCap = c.cap;
    s.Step(QuietRow(), 1.0f);
    EXPECT_NEAR(s.r.Condition, c.want, 1e-6) << c.heartRate << " " << c.condition;
  }
}

}  // namespace
