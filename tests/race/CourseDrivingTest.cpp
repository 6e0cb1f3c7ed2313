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

N_AthletProfile g_athlete;

std::unique_ptr<N_Racer> MakeRacer(const N_Vector3& pos, const N_Vector3& heading, N_AiSector* sector = nullptr) {
  auto racer = std::make_unique<N_Racer>(g_athlete, 4, 0.0f, 0, false, false);
  racer->Pos = pos;
  racer->Heading = heading;
  racer->Sector = sector;
  racer->Speed = 5.0f;
  // What the racer's post step keeps for the others' line checks.
  racer->HeadPoint = pos + N_Vector3{0.0f, 0.0f, 50.0f};
  racer->Orientation.FromDirection(heading);
  for (int r = 0; r < 3; ++r) racer->Orientation.m[3 * r + 1] = -racer->Orientation.m[3 * r + 1];
  return racer;
}

N_Vector3 Turned(const N_Vector3& v, float angle) {
  return {std::cos(angle) * v.x - std::sin(angle) * v.y, std::sin(angle) * v.x + std::cos(angle) * v.y, v.z};
}

/// The sector of a chain that holds the point.
N_AiSector* SectorAt(const std::vector<std::unique_ptr<N_AiSector>>& chain, const N_Vector3& p) {
  for (const auto& s : chain) {
    if (s->Classify(p) == 0) return s.get();
  }
  return nullptr;
}

/// Steer and Power of a racer in a computer's hands.
TEST(AiPilot, SteeringFollowsTheAngleToTheTargetAndPowerFollowsConditionSlopeAndSpeed) {
  const struct {
    float angle;  // of the wanted direction from the heading, left positive
    bool holding;
    float steer;
  } steering[] = {{0.0f, false, 0.0f},  {0.09f, false, 0.0f},  {-0.09f, false, 0.0f}, {0.12f, false, 0.9f},
                  {-0.12f, false, -0.9f}, {0.2f, false, 1.0f}, {-0.2f, false, -1.0f}, {2.5f, false, 1.0f},
                  {-2.5f, false, -1.0f}, {0.5f, true, 0.0f}};
  for (const auto& c : steering) {
    auto racer = MakeRacer({}, {1, 0, 0});
    racer->Holding = c.holding;
    AiSteerAndPower(*racer, Turned({1, 0, 0}, c.angle), false);
    EXPECT_EQ(racer->Steer, c.steer) << c.angle;
  }

  const struct {
    float condition, slope, speed;
    std::int32_t blocked;
    bool brake;
    float power;
  } power[] = {
      {1.0f, 0.0f, 5.0f, 0, false, 1.0f},          {0.1f, 0.0f, 5.0f, 0, false, 0.5538462f},
      {0.5f, 0.0f, 5.0f, 0, false, 0.8307693f},    {0.5f, 0.1f, 5.0f, 0, false, 0.9307693f},
      {0.3f, -0.5f, 5.0f, 0, false, 0.3f},         {0.1f, -0.5f, 5.0f, 0, false, 0.0538462f},
      {0.1f, -0.9f, 5.0f, 0, false, 0.0f},         {0.1f, -0.5f, 2.0f, 0, false, 1.0f},
      {0.5f, 0.0f, 5.0f, 16, true, -1.0f},         {0.5f, 0.0f, 5.0f, 16, false, 0.8307693f},
      {0.5f, 0.0f, 5.0f, 0, true, 0.8307693f},     {-0.01f, 0.0f, 1.0f, 16, true, 0.0f},
  };
  for (const auto& c : power) {
    auto racer = MakeRacer({}, {std::sqrt(1.0f - c.slope * c.slope), 0, c.slope});
    racer->Condition = c.condition;
    racer->Speed = c.speed;
    racer->Blocked = c.blocked;
    AiSteerAndPower(*racer, Turned({1, 0, 0}, 0.5f), c.brake);
    EXPECT_NEAR(racer->Power, c.power, 1e-6) << c.condition << " " << c.slope << " " << c.speed;
    if (c.condition < 0.0f) {
      EXPECT_EQ(racer->Steer, 0.0f);
    }
  }
}

/// Where the pilot aims: its sector's end, the next one's end once near, its own end
/// at the end of an open path.
TEST(AiPilot, AimsAtTheSectorEndThenOneFurtherAndAtAnOpenPathsEndAtItsOwn) {
  test::RaceRig rig;
  // Ideal points (0, 0), (100, 0), (200, 100), (300, 100): a step to the left.
  const auto chain = test::BuildSectorChain({{0, 50, 0}, {100, 50, 0}, {165, 135, 0}, {300, 150, 0}},
                                            {{0, 0, 0}, {100, 0, 0}, {200, 100, 0}, {300, 100, 0}},
                                            {{0, -50, 0}, {100, -50, 0}, {235, 65, 0}, {300, 50, 0}}, false);
  Ai::N_AiPath path;
  const struct {
    int sector;
    N_Vector3 pos, heading;
    float steer;
  } cases[] = {
      {0, {20, 0, 0}, {1, 0, 0}, 0.0f},      // 80 from (100, 0): straight on
      {0, {60, 0, 0}, {1, 0, 0}, 1.0f},      // 40 from it: (200, 100) is far to the left
      {2, {250, 100, 0}, {1, 0, 0}, 0.0f},   // the last sector: its own end, straight on
      {2, {250, 100, 0}, {0, 1, 0}, -1.0f},  // ... to the right
  };
  for (const auto& c : cases) {
    auto racer = MakeRacer(c.pos, c.heading, chain[std::size_t(c.sector)].get());
    N_Vector3 proposed = c.pos;
    AiPilot(*racer, path, {}, 0.033f, proposed);
    EXPECT_EQ(racer->Steer, c.steer) << c.pos.x;
    EXPECT_EQ(racer->Power, 1.0f) << "fresh";
  }
}

struct Scene {
  std::vector<std::unique_ptr<N_Racer>> owned;
  std::vector<N_Racer*> all;
  N_Racer& Add(std::unique_ptr<N_Racer> racer) {
    owned.push_back(std::move(racer));
    all.push_back(owned.back().get());
    return *owned.back();
  }
};

/// The angle from the heading to v about the vertical (left positive).
float TurnOf(const N_Vector3& heading, const N_Vector3& v) {
  return std::atan2(heading.x * v.y - heading.y * v.x, heading.x * v.x + heading.y * v.y);
}

TEST(AvoidRacers, RacersAheadAreOnlyThoseStartedUnfinishedNearAndInFront) {
  test::RaceRig rig;
  const auto course = test::BuildStraightCourse(-500, 1500, 100, 150);
  const N_Vector3 me{0, -30, 0};
  const struct {
    const char* what;
    N_Vector3 pos;
    float time;
    bool finished;
    bool ahead;
  } cases[] = {{"behind", {-100, -30, 0}, 10.0f, false, false}, {"not started", {150, -30, 0}, -1.0f, false, false},
               {"finished", {150, -30, 0}, 10.0f, true, false},   {"beyond 300", {301, -30, 0}, 10.0f, false, false},
               {"ahead", {150, -30, 0}, 10.0f, false, true}};
  for (const auto& c : cases) {
    Scene scene;
    N_Racer& racer = scene.Add(MakeRacer(me, {1, 0, 0}, SectorAt(course, me)));
    racer.Blocked = 16;
    N_Racer& other = scene.Add(MakeRacer(c.pos, {1, 0, 0}, SectorAt(course, c.pos)));
    other.Time = c.time;
    other.Finished = c.finished;
    other.Speed = 1.0f;
    N_Vector3 wanted{300, 0, 0};
    bool brake = true;
    AvoidRacers(racer, scene.all, wanted, brake, false);
    EXPECT_EQ(racer.Blocked, c.ahead ? 16 : 0) << c.what << ": back to 0 only with nobody ahead";
    EXPECT_EQ(wanted.x == 300.0f && wanted.y == 0.0f, !c.ahead) << c.what;
    EXPECT_FALSE(brake) << c.what;
  }
}

TEST(AvoidRacers, PassesOnTheWiderSideThroughTheFirstFreeLineOrHoldsAndBrakes) {
  test::RaceRig rig;
  const auto wide = test::BuildStraightCourse(-500, 1500, 100, 150);
  const auto narrow = test::BuildStraightCourse(-500, 1500, 100, 19);
  // A slower racer 150 ahead on the wanted line, offset to one side: the other side is
  // wider. Its box (80 long, 50 wide) blocks the turns of 0.2 either way; 0.4 clears it.
  for (const float side : {1.0f, -1.0f}) {
    Scene scene;
    const N_Vector3 me{0, -30 * side, 0};
    N_Racer& racer = scene.Add(MakeRacer(me, {1, 0, 0}, SectorAt(wide, me)));
    const N_Vector3 there = me + N_Vector3{150, 0, 0};
    scene.Add(MakeRacer(there, {1, 0, 0}, SectorAt(wide, there))).Speed = 3.0f;
    N_Vector3 wanted{300, 0, 0};
    bool brake = true;
    AvoidRacers(racer, scene.all, wanted, brake, false);
    EXPECT_NEAR(TurnOf(racer.Heading, wanted), 0.4f * side, 1e-5) << side;
    EXPECT_NEAR(std::sqrt(Vec3Dot(wanted, wanted)), 300.0f, 1e-3) << "as long as it came";
    EXPECT_FALSE(brake);
    EXPECT_EQ(racer.Blocked, 0);
  }
  {
    // Both sides narrower than 20: blocked, the line kept.
    Scene scene;
    N_Racer& racer = scene.Add(MakeRacer({}, {1, 0, 0}, SectorAt(narrow, {})));
    scene.Add(MakeRacer({150, 0, 0}, {1, 0, 0}, SectorAt(narrow, {150, 0, 0}))).Speed = 3.0f;
    N_Vector3 wanted{300, 0, 0};
    bool brake = false;
    AvoidRacers(racer, scene.all, wanted, brake, false);
    EXPECT_EQ(racer.Blocked, 16);
    EXPECT_EQ(wanted.x, 300.0f);
    EXPECT_EQ(wanted.y, 0.0f);
  }
}

TEST(AvoidRacers, WithoutAFreeLineTheWantedLineStaysOrTheWidestOtherTurnIsTaken) {
  test::RaceRig rig;
  const auto course = test::BuildStraightCourse(-500, 1500, 100, 150);
  // Racers hugging both edges ahead close every turning line; the wanted line is free,
  // or meets a slower racer, or a faster one.
  const struct {
    const char* what;
    N_Vector3 wanted;
    bool blocker;
    float blockerSpeed;
    std::int32_t blocked;
    bool brake;
    float turn;  // of the result from the heading; NaN: the wanted line kept
  } cases[] = {
      {"wanted free but across the course", {0, 300, 0}, false, 0.0f, 0, true, NAN},
      {"slower racer in the way", {300, 0, 0}, true, 3.0f, 16, true, NAN},
      {"faster racer in the way", {300, 0, 0}, true, 9.0f, 0, false, -0.8f},
  };
  for (const auto& c : cases) {
    Scene scene;
    const N_Vector3 me{0, -10, 0};  // the left is wider
    N_Racer& racer = scene.Add(MakeRacer(me, {1, 0, 0}, SectorAt(course, me)));
    for (const N_Vector3& hugger : {N_Vector3{200, 140, 0}, N_Vector3{200, -140, 0}}) {
      scene.Add(MakeRacer(hugger, {1, 0, 0}, SectorAt(course, hugger))).Speed = 9.0f;
    }
    if (c.blocker) scene.Add(MakeRacer({150, -10, 0}, {1, 0, 0}, SectorAt(course, {150, -10, 0}))).Speed = c.blockerSpeed;
    N_Vector3 wanted = c.wanted;
    bool brake = !c.brake;
    AvoidRacers(racer, scene.all, wanted, brake, false);
    EXPECT_EQ(racer.Blocked, c.blocked) << c.what;
    EXPECT_EQ(brake, c.brake) << c.what;
    if (std::isnan(c.turn)) {
      EXPECT_EQ(wanted.x, c.wanted.x) << c.what;
      EXPECT_EQ(wanted.y, c.wanted.y) << c.what;
    } else {
      EXPECT_NEAR(TurnOf(racer.Heading, wanted), c.turn, 1e-5) << c.what;
    }
  }
}

TEST(AvoidRacers, WhileSkiingLinesFarOffTheCourseAreSkippedWhileShootingTheyCount) {
  test::RaceRig rig;
  const auto course = test::BuildStraightCourse(-500, 1500, 100, 150);
  // Heading across the course (+y), the wanted line at 45 degrees blocked by a racer:
  // turns of +-0.2 and +0.4 leave the course's direction by more than acos 0.35.
  for (const bool shooting : {false, true}) {
    Scene scene;
    const N_Vector3 me{0, -10, 0};  // the left is wider
    N_Racer& racer = scene.Add(MakeRacer(me, {0, 1, 0}, SectorAt(course, me)));
    const N_Vector3 there{100, 90, 0};
    scene.Add(MakeRacer(there, Turned({1, 0, 0}, 0.785398f), SectorAt(course, there))).Speed = 9.0f;
    N_Vector3 wanted{200, 200, 0};
    bool brake = true;
    AvoidRacers(racer, scene.all, wanted, brake, shooting);
    EXPECT_NEAR(TurnOf(racer.Heading, wanted), shooting ? 0.2f : -0.4f, 1e-5) << shooting;
  }
}

TEST(ResolveCollisions, ThePlayerStopsAtTheContactAndTheSmallerDrawFalls) {
  const struct {
    const char* what;
    float time;
    bool finished;
    N_Vector3 otherPos;
    N_Vector3 proposed;
    bool contact;
  } ignored[] = {{"standing racer", 0.0f, false, {50, 0, 0}, {100, 0, 0}, true},
                 {"not started", -1.0f, false, {50, 0, 0}, {100, 0, 0}, false},
                 {"finished", 0.0f, true, {50, 0, 0}, {100, 0, 0}, false},
                 {"beyond 300", 0.0f, false, {310, 0, 0}, {400, 0, 0}, false}};
  for (const auto& c : ignored) {
    Scene scene;
    N_Racer& player = scene.Add(MakeRacer({}, {1, 0, 0}));
    player.ControlKind = 1;
    player.Concentration = 1.0f;  // its draw is 1.0: the other falls
    N_Racer& other = scene.Add(MakeRacer(c.otherPos, {1, 0, 0}));
    other.Time = c.time;
    other.Finished = c.finished;
    other.Concentration = 0.0f;
    N_Vector3 proposed = c.proposed;
    ResolveCollisions(player, scene.all, proposed);
    if (c.contact) {
      // The spheres of 20 touch with the player at x = 10: a tenth of the move, less
      // the sweep's 0.001 of a step.
      EXPECT_NEAR(proposed.x, 9.9f, 1e-3) << c.what;
    } else {
      EXPECT_EQ(proposed.x, c.proposed.x) << c.what;
    }
    EXPECT_EQ(other.FallState, c.contact ? 1 : 0) << c.what;
    EXPECT_EQ(player.FallState, 0) << c.what;
  }

  // The player's draw comes first: after Srand(1) the draws are 41 and 18467 of 32767.
  const struct {
    unsigned seed;
    int skip;
    float playerConc, otherConc;
    bool playerFalls;
  } draws[] = {{1, 0, 0.0f, 0.0f, true},  {1, 1, 0.0f, 0.0f, false}, {1, 0, 1.0f, 0.0f, false},
               {1, 0, 0.0f, 1.0f, true}, {1, 0, 1.0f, 1.0f, false}};
  for (const auto& d : draws) {
    Scene scene;
    N_Racer& player = scene.Add(MakeRacer({}, {1, 0, 0}));
    player.Concentration = d.playerConc;
    N_Racer& other = scene.Add(MakeRacer({50, 0, 0}, {1, 0, 0}));
    other.Concentration = d.otherConc;
    Srand(d.seed);
    for (int i = 0; i < d.skip; ++i) Rand();
    N_Vector3 proposed{100, 0, 0};
    ResolveCollisions(player, scene.all, proposed);
    EXPECT_EQ(player.FallState, d.playerFalls ? 1 : 0) << d.skip << " " << d.playerConc << " " << d.otherConc;
    EXPECT_EQ(other.FallState, d.playerFalls ? 0 : 1) << d.skip << " " << d.playerConc << " " << d.otherConc;
  }
}

}  // namespace
