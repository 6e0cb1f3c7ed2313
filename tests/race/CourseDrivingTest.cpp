// The computer racer's pilot (target, steering, power), its overtaking, and the
// collisions of the player's racer, on small hand-made courses.
#include "core/Random.h"
#include "race/AiPilot.h"
#include "race/AthletProfile.h"
#include "race/Racer.h"
#include "race/RacerCollisions.h"
#include "race/ai/AiPath.h"
#include "tests/race/RaceTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using Ai::N_AiSector;
using Chain = std::vector<std::unique_ptr<N_AiSector>>;

N_AthletProfile g_athlete;

N_Vector3 Turned(const N_Vector3& v, float angle) {
  return {std::cos(angle) * v.x - std::sin(angle) * v.y, std::sin(angle) * v.x + std::cos(angle) * v.y, v.z};
}
/// The angle from the heading to v about the vertical (left positive).
float TurnOf(const N_Vector3& heading, const N_Vector3& v) {
  return std::atan2(heading.x * v.y - heading.y * v.x, heading.x * v.x + heading.y * v.y);
}

/// Racers on a course, each with the box its post step would give it.
struct Field {
  explicit Field(const Chain* on = nullptr) : course(on) {}
  const Chain* course;
  std::vector<std::unique_ptr<N_Racer>> owned;
  std::vector<N_Racer*> all;
  N_Racer& Add(const N_Vector3& pos, const N_Vector3& heading, float speed = 5.0f) {
    owned.push_back(std::make_unique<N_Racer>(g_athlete, 4, 0.0f, 0, false, false));
    N_Racer& r = *owned.back();
    r.Pos = pos;
    r.Heading = heading;
    r.Speed = speed;
    for (std::size_t i = 0; course && i < course->size(); ++i) {
      if ((*course)[i]->Classify(pos) == 0) r.Sector = (*course)[i].get();
    }
    r.HeadPoint = pos + N_Vector3{0.0f, 0.0f, 50.0f};
    r.Orientation.FromDirection(heading);
    for (int row = 0; row < 3; ++row) r.Orientation.m[3 * row + 1] = -r.Orientation.m[3 * row + 1];
    all.push_back(&r);
    return r;
  }
};

TEST(AiPilot, SteeringFollowsTheAngleToTheTargetAndPowerFollowsConditionSlopeAndSpeed) {
  const struct {
    float angle;  // of the wanted direction from the heading, left positive
    bool holding;
    float steer;
  } steering[] = {{0.0f, false, 0.0f},    {0.09f, false, 0.0f}, {-0.09f, false, 0.0f}, {0.12f, false, 0.9f},
                  {-0.12f, false, -0.9f}, {0.2f, false, 1.0f},  {-2.5f, false, -1.0f}, {0.5f, true, 0.0f}};
  for (const auto& c : steering) {
    Field f;
    N_Racer& racer = f.Add({}, {1, 0, 0});
    racer.Holding = c.holding;
    AiSteerAndPower(racer, Turned({1, 0, 0}, c.angle), false);
    EXPECT_EQ(racer.Steer, c.steer) << c.angle;
  }
  const struct {
    float condition, slope, speed;
    std::int32_t blocked;
    bool brake;
    float power;
  } power[] = {{1.0f, 0.0f, 5.0f, 0, false, 1.0f},       {0.1f, 0.0f, 5.0f, 0, false, 0.5538462f},
               {0.5f, 0.0f, 5.0f, 0, false, 0.8307693f}, {0.5f, 0.1f, 5.0f, 0, false, 0.9307693f},
               {0.3f, -0.5f, 5.0f, 0, false, 0.3f},      {0.1f, -0.5f, 5.0f, 0, false, 0.0538462f},
               {0.1f, -0.9f, 5.0f, 0, false, 0.0f},      {0.1f, -0.5f, 2.0f, 0, false, 1.0f},
               {0.5f, 0.0f, 5.0f, 16, true, -1.0f},      {0.5f, 0.0f, 5.0f, 16, false, 0.8307693f},
               {0.5f, 0.0f, 5.0f, 0, true, 0.8307693f},  {-0.01f, 0.0f, 1.0f, 16, true, 0.0f}};
  for (const auto& c : power) {
    Field f;
    N_Racer& racer = f.Add({}, {std::sqrt(1.0f - c.slope * c.slope), 0, c.slope}, c.speed);
    racer.Condition = c.condition;
    racer.Blocked = c.blocked;
    AiSteerAndPower(racer, Turned({1, 0, 0}, 0.5f), c.brake);
    EXPECT_NEAR(racer.Power, c.power, 1e-6) << c.condition << " " << c.slope << " " << c.speed;
    EXPECT_EQ(racer.Steer, c.condition < 0.0f ? 0.0f : 1.0f) << c.condition;
  }
}

TEST(AiPilot, AimsAtTheSectorEndThenOneFurtherAndAtAnOpenPathsEndAtItsOwn) {
  test::RaceRig rig;
  // Ideal points (0, 0), (100, 0), (200, 100), (300, 100): a step to the left.
  const Chain chain = test::BuildSectorChain({{0, 50, 0}, {100, 50, 0}, {165, 135, 0}, {300, 150, 0}},
                                             {{0, 0, 0}, {100, 0, 0}, {200, 100, 0}, {300, 100, 0}},
                                             {{0, -50, 0}, {100, -50, 0}, {235, 65, 0}, {300, 50, 0}}, false);
  Ai::N_AiPath path;
  const struct {
    N_Vector3 pos, heading;
    float steer;
  } cases[] = {{{20, 0, 0}, {1, 0, 0}, 0.0f},       // 80 from (100, 0): straight on
               {{60, 0, 0}, {1, 0, 0}, 1.0f},       // 40 from it: (200, 100) is far to the left
               {{250, 100, 0}, {1, 0, 0}, 0.0f},    // the last sector: its own end, ahead
               {{250, 100, 0}, {0, 1, 0}, -1.0f}};  // ... and to the right
  for (const auto& c : cases) {
    Field f(&chain);
    N_Racer& racer = f.Add(c.pos, c.heading);
    N_Vector3 proposed = c.pos;
    AiPilot(racer, path, {}, 0.033f, proposed);
    EXPECT_EQ(racer.Steer, c.steer) << c.pos.x;
    EXPECT_EQ(racer.Power, 1.0f) << "fresh";
  }
}

TEST(AvoidRacers, OnlyRacersAheadCountAndOneInTheWayIsPassedOnTheWiderSide) {
  test::RaceRig rig;
  const Chain wide = test::BuildStraightCourse(-500, 1500, 100, 150);
  const Chain narrow = test::BuildStraightCourse(-500, 1500, 100, 19);
  // The other racer 150 ahead on the wanted line, the racer off the middle: its box
  // (80 long, 50 wide) closes the turns of 0.2 either way, 0.4 clears it.
  const struct {
    const char* what;
    const Chain* course;
    float side;  // 1: the left is wider
    N_Vector3 other;
    float time;
    bool finished;
    std::int32_t before, blocked;
    float turn;  // NaN: the wanted line kept
  } cases[] = {{"behind", &wide, 1, {-100, 0, 0}, 0, false, 16, 0, NAN},
               {"not started", &wide, 1, {150, 0, 0}, -1, false, 16, 0, NAN},
               {"finished", &wide, 1, {150, 0, 0}, 0, true, 16, 0, NAN},
               {"beyond 300", &wide, 1, {301, 0, 0}, 0, false, 16, 0, NAN},
               {"in the way, left wider", &wide, 1, {150, 0, 0}, 0, false, 16, 16, 0.4f},
               {"in the way, right wider", &wide, -1, {150, 0, 0}, 0, false, 0, 0, -0.4f},
               {"boxed in", &narrow, 1, {150, 0, 0}, 0, false, 0, 16, NAN}};
  for (const auto& c : cases) {
    Field f(c.course);
    const float y = c.course == &wide ? -30.0f * c.side : 0.0f;
    N_Racer& racer = f.Add({0, y, 0}, {1, 0, 0});
    racer.Blocked = c.before;
    N_Racer& other = f.Add(c.other + N_Vector3{0, y, 0}, {1, 0, 0}, 3.0f);
    other.Time = float(c.time);
    other.Finished = c.finished;
    N_Vector3 wanted{300, 0, 0};
    bool brake = true;
    AvoidRacers(racer, f.all, wanted, brake, false);
    EXPECT_EQ(racer.Blocked, c.blocked) << c.what << ": back to 0 only with nobody ahead";
    EXPECT_FALSE(brake) << c.what;
    EXPECT_NEAR(TurnOf(racer.Heading, wanted), std::isnan(c.turn) ? 0.0f : c.turn, 1e-5) << c.what;
    EXPECT_NEAR(std::sqrt(Vec3Dot(wanted, wanted)), 300.0f, 1e-3) << c.what << ": as long as it came";
  }
}

TEST(AvoidRacers, WithoutAFreeLineTheWantedLineStaysOrTheWidestOtherTurnIsTaken) {
  test::RaceRig rig;
  const Chain course = test::BuildStraightCourse(-500, 1500, 100, 150);
  // Racers hugging both edges ahead close every turning line; the wanted line is free
  // but across the course, or meets a slower racer, or a faster one.
  const struct {
    const char* what;
    N_Vector3 wanted;
    float blockerSpeed;  // 0: none
    std::int32_t blocked;
    bool brake;
    float turn;  // NaN: the wanted line kept
  } cases[] = {{"wanted free but across the course", {0, 300, 0}, 0.0f, 0, true, NAN},
               {"slower racer in the way", {300, 0, 0}, 3.0f, 16, true, NAN},
               {"faster racer in the way", {300, 0, 0}, 9.0f, 0, false, -0.8f}};
  for (const auto& c : cases) {
    Field f(&course);
    N_Racer& racer = f.Add({0, -10, 0}, {1, 0, 0});  // the left is wider
    f.Add({200, 140, 0}, {1, 0, 0}, 9.0f);
    f.Add({200, -140, 0}, {1, 0, 0}, 9.0f);
    if (c.blockerSpeed > 0.0f) f.Add({150, -10, 0}, {1, 0, 0}, c.blockerSpeed);
    N_Vector3 wanted = c.wanted;
    bool brake = !c.brake;
    AvoidRacers(racer, f.all, wanted, brake, false);
    EXPECT_EQ(racer.Blocked, c.blocked) << c.what;
    EXPECT_EQ(brake, c.brake) << c.what;
    const float turn = std::isnan(c.turn) ? TurnOf(racer.Heading, c.wanted) : c.turn;
    EXPECT_NEAR(TurnOf(racer.Heading, wanted), turn, 1e-5) << c.what;
  }
  // Heading across the course, the wanted line blocked: while skiing the turns of 0.2
  // either way and of 0.4 to the left leave the course's direction by more than acos
  // 0.35 and are skipped; while shooting the first, 0.2 to the left, is taken.
  for (const bool shooting : {false, true}) {
    Field f(&course);
    N_Racer& racer = f.Add({0, -10, 0}, {0, 1, 0});
    f.Add({100, 90, 0}, Turned({1, 0, 0}, 0.785398f), 9.0f);
    N_Vector3 wanted{200, 200, 0};
    bool brake = true;
    AvoidRacers(racer, f.all, wanted, brake, shooting);
    EXPECT_NEAR(TurnOf(racer.Heading, wanted), shooting ? 0.2f : -0.4f, 1e-5) << shooting;
  }
}

TEST(AvoidRacers, AStaleBlockedNeverStopsRacersWhoseWantedLineIsFree) {
  test::RaceRig rig;
  const Chain course = test::BuildStraightCourse(-500, 1500, 100, 150);
  // Two racers, each ahead of the other by its own heading, both still marked Blocked
  // from a slower racer long gone; racers hugging both edges ahead close every turning
  // line of the one, the other faces back, and each wanted line runs across the
  // course, free. The
  // brake is asked for, but neither may be held at a stand by it: they waited for each
  // other for ever.
  const struct {
    const char* what;
    std::int32_t before;
    float speed;
  } cases[] = {{"stale Blocked, standing", 16, 0.0f}, {"stale Blocked, moving", 16, 5.0f}, {"not blocked", 0, 0.0f}};
  for (const auto& c : cases) {
    Field f(&course);
    N_Racer& a = f.Add({0, -10, 0}, {1, 0, 0}, c.speed);
    N_Racer& b = f.Add({60, -10, 0}, {-1, 0, 0}, c.speed);  // turned round: every turn leaves the course
    f.Add({200, 140, 0}, {1, 0, 0}, 9.0f);
    f.Add({200, -140, 0}, {1, 0, 0}, 9.0f);
    for (N_Racer* racer : {&a, &b}) {
      racer->Blocked = c.before;
      racer->Condition = 1.0f;
      N_Vector3 wanted{0, 300, 0};
      bool brake = false;
      AvoidRacers(*racer, f.all, wanted, brake, false);
      EXPECT_TRUE(brake) << c.what;
      EXPECT_EQ(racer->Blocked, 0) << c.what;
      wanted.Normalize();
      AiSteerAndPower(*racer, wanted, brake);
      EXPECT_GT(racer->Power, 0.0f) << c.what;
    }
  }
}

TEST(ResolveCollisions, ThePlayerStopsAtTheContactAndTheSmallerDrawFalls) {
  // A standing racer 50 ahead: the spheres of 20 touch with the player at x = 10, a
  // tenth of the move, less the sweep's 0.001 of a step.
  const struct {
    const char* what;
    float time;
    bool finished;
    float otherX, toX;
    bool contact;
  } ignored[] = {{"standing racer", 0.0f, false, 50, 100, true},
                 {"not started", -1.0f, false, 50, 100, false},
                 {"finished", 0.0f, true, 50, 100, false},
                 {"beyond 300", 0.0f, false, 310, 400, false}};
  for (const auto& c : ignored) {
    Field f;
    N_Racer& player = f.Add({}, {1, 0, 0});
    player.Concentration = 1.0f;  // its draw is 1.0: the other falls
    N_Racer& other = f.Add({c.otherX, 0, 0}, {1, 0, 0});
    other.Time = c.time;
    other.Finished = c.finished;
    N_Vector3 proposed{c.toX, 0, 0};
    ResolveCollisions(player, f.all, proposed);
    EXPECT_NEAR(proposed.x, c.contact ? 9.9f : c.toX, 1e-3) << c.what;
    EXPECT_EQ(other.FallState, c.contact ? 1 : 0) << c.what;
    EXPECT_EQ(player.FallState, 0) << c.what;
  }
  // The player's draw comes first: after Srand(1) the draws are 41 and 18467 of 32767.
  const struct {
    int skip;
    float playerConc, otherConc;
    bool playerFalls;
  } draws[] = {{0, 0.0f, 0.0f, true}, {1, 0.0f, 0.0f, false}, {0, 0.0f, 1.0f, true}, {0, 1.0f, 1.0f, false}};
  for (const auto& d : draws) {
    Field f;
    N_Racer& player = f.Add({}, {1, 0, 0});
    player.Concentration = d.playerConc;
    N_Racer& other = f.Add({50, 0, 0}, {1, 0, 0});
    other.Concentration = d.otherConc;
    Srand(1);
    for (int i = 0; i < d.skip; ++i) Rand();
    N_Vector3 proposed{100, 0, 0};
    ResolveCollisions(player, f.all, proposed);
    EXPECT_EQ(player.FallState, d.playerFalls ? 1 : 0) << d.skip << " " << d.playerConc << " " << d.otherConc;
    EXPECT_EQ(other.FallState, d.playerFalls ? 0 : 1) << d.skip << " " << d.playerConc << " " << d.otherConc;
  }
}

}  // namespace
