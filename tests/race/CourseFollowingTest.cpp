// Following the sectors on a sample course's network (the junctions, the penalty
// fork's charge, the ends of open paths and the sides), the bounded walk between two
// sectors that leave a gap, the ground fit and the lane-facing test.
#include "race/AthletProfile.h"
#include "race/CourseFollowing.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "tests/race/CourseNetwork.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using Ai::N_AiPathTree;
using Ai::N_AiSector;

N_AthletProfile g_athlete;

std::unique_ptr<N_Racer> RacerIn(N_AiSector* sector, const N_Vector3& pos) {
  auto racer = std::make_unique<N_Racer>(g_athlete, 4, 0.0f, 0, false, false);
  racer->Sector = sector;
  racer->Pos = pos;
  racer->Heading = sector ? sector->Direction() : N_Vector3{1, 0, 0};
  return racer;
}

float Value(const N_AiSector& sector, N_AiSector::Plane plane, const N_Vector3& p) {
  return N_AiSector::PlaneValue(sector.GetPlane(plane), p);
}

class SampleFollowing : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::LoadSampleNetwork(rig, "Beitostolen")); }
  N_AiSector* Head(N_AiPathTree::Path path) const { return rig.path.Tree()->Head(path); }
  test::PathRig rig;
};

TEST_F(SampleFollowing, EachJunctionTakesItsBranchOnlyWhenItShould) {
  using P = N_AiPathTree;
  const struct {
    const char* what;
    P::Path path;  // the junction's sector is this path's sector with the label
    int group;
    std::uint8_t bit;
    std::int32_t lapsLeft, loops;
    bool arcade, atFork, forced, beyond;  // beyond: the point lies past the junction sector
    std::int32_t kind;
  } cases[] = {
      {"mass start", P::kMassStart, 3, 0x01, 4, 0, false, false, true, false, Ai::kPathNormal},
      {"sprint start", P::kSprintStart, 3, 0x02, 4, 0, false, false, true, false, Ai::kPathNormal},
      {"relay start", P::kRelayStart, 3, 0x04, 4, 0, false, false, true, false, Ai::kPathNormal},
      {"finish fork, last lap", P::kNormal, 3, 0x08, 0, 0, false, false, true, false, Ai::kPathCiel},
      {"finish fork, laps to go", P::kNormal, 3, 0x08, 1, 0, false, false, true, false, Ai::kPathNormal},
      {"not at the fork: forced does not matter", P::kNormal, 3, 0x08, 0, 0, false, false, false, false, Ai::kPathCiel},
      {"not at the fork: the point must be inside", P::kNormal, 3, 0x08, 0, 0, false, false, true, true, Ai::kPathNormal},
      {"forced at the fork: even beyond", P::kNormal, 3, 0x08, 0, 0, false, true, true, true, Ai::kPathCiel},
      {"forced at the fork, laps to go", P::kNormal, 3, 0x08, 1, 0, false, true, true, false, Ai::kPathNormal},
      {"at the fork, not forced (a relay leg)", P::kNormal, 3, 0x08, 0, 0, false, true, false, false, Ai::kPathNormal},
      {"penalty fork owing loops", P::kNormal, 3, 0x10, 4, 2, false, false, true, false, Ai::kPathPenalty},
      {"penalty fork owing none", P::kNormal, 3, 0x10, 4, 0, false, false, true, false, Ai::kPathNormal},
      {"round the penalty ring again", P::kPenalty, 3, 0x10, 4, 1, false, false, true, false, Ai::kPathPenalty},
      {"off the penalty ring", P::kPenalty, 3, 0x10, 4, 0, false, false, true, false, Ai::kPathNormal},
      {"arcade short cut", P::kNormal, 4, 0x01, 4, 0, true, false, true, false, Ai::kPathShortCutArcade},
      {"no short cuts", P::kNormal, 4, 0x01, 4, 0, false, false, true, false, Ai::kPathNormal},
      {"short cut's end", P::kShortCutArcade, 4, 0x02, 4, 0, true, false, true, false, Ai::kPathNormal},
  };
  for (const auto& c : cases) {
    N_AiSector* junction = test::FlaggedSector(Head(c.path), c.group, c.bit);
    ASSERT_NE(junction, nullptr) << c.what;
    auto racer = RacerIn(junction, junction->GetIdealPoint(false));
    racer->LapsLeft = c.lapsLeft;
    racer->PenaltyLoops = c.loops;
    const N_Vector3 point =
        c.beyond ? junction->GetIdealPoint(true) + junction->Direction() * 30.0f : test::SectorMiddle(*junction);
    N_Vector3 out;
    FollowSectors(*racer, point, out, c.arcade, c.atFork, c.forced);
    EXPECT_EQ(racer->Sector->PathKind(), c.kind) << c.what;
    EXPECT_EQ(racer->Sector->Classify(out) & 3, 0) << c.what;
  }
}

TEST_F(SampleFollowing, ThePenaltyForkChargesARacerThatDidNotShoot) {
  N_AiSector* fork = test::FlaggedSector(Head(N_AiPathTree::kNormal), 3, 0x10);
  ASSERT_NE(fork, nullptr);
  const struct {
    const char* what;
    std::int32_t control;
    std::uint8_t due;
    std::int32_t bullets;
    std::int32_t loops, misses, bulletsAfter;
    std::uint8_t showPenalty;
  } cases[] = {{"player who did not shoot", 1, 1, 5, 5, 5, 0, 1},
               {"computer racer with 4 cartridges", 0, 1, 4, 5, 5, 0, 0},
               {"racer who shot", 1, 1, 3, 0, 0, 3, 0},
               {"no check due", 1, 0, 5, 0, 0, 5, 0}};
  for (const auto& c : cases) {
    auto racer = RacerIn(fork, fork->GetIdealPoint(false));
    racer->ControlKind = c.control;
    racer->PenaltyCheckDue = c.due;
    racer->Bullets = c.bullets;
    N_Vector3 out;
    FollowSectors(*racer, test::SectorMiddle(*fork), out, false, false, true);
    EXPECT_EQ(racer->PenaltyLoops, c.loops) << c.what;
    EXPECT_EQ(racer->Misses, c.misses) << c.what;
    EXPECT_EQ(racer->Bullets, c.bulletsAfter) << c.what;
    EXPECT_EQ(racer->ShowPenalty, c.showPenalty) << c.what;
    EXPECT_EQ(racer->PenaltyLoopOpen, 1) << c.what;
    EXPECT_EQ(racer->Sector->PathKind(), c.loops ? Ai::kPathPenalty : Ai::kPathNormal) << c.what;
  }
}

TEST_F(SampleFollowing, OpenPathEndsClampAndSidesHoldTheRacerFiveInside) {
  N_AiSector* last = test::PathSectors(Head(N_AiPathTree::kCiel)).back();
  auto racer = RacerIn(last, test::SectorMiddle(*last));
  N_Vector3 out;
  FollowSectors(*racer, last->GetIdealPoint(true) + last->Direction() * 40.0f, out, false, false, true);
  EXPECT_EQ(racer->Sector, last);
  EXPECT_NEAR(Value(*last, N_AiSector::kEnd, out), 0.0f, 1e-2) << "on the end plane";

  // The penalty fork's sector of the stadium straight (its sides parallel): head-on
  // into the left side falls, a glancing touch does not. Either way the skier is turned
  // to run along the side (head-on the way the course goes) and keeps the share of his
  // speed along it.
  N_AiSector* straight = test::FlaggedSector(Head(N_AiPathTree::kNormal), 3, 0x10);
  ASSERT_NE(straight, nullptr);
  const N_Vector3 in = straight->GetPlane(N_AiSector::kLeftSide).normal;
  const N_Vector3 along = straight->Direction();
  const N_Vector3 middle = test::SectorMiddle(*straight);
  const float room = Value(*straight, N_AiSector::kLeftSide, middle);
  const float glance = std::tan(0.25f);  // a touch at 0.25 rad
  const struct {
    const char* what;
    N_Vector3 from, to;
    std::int32_t fall;
    float brake;
  } hits[] = {{"head-on", middle, middle - in * (room + 20.0f), 2, 1.0f},
              {"glancing", middle - in * (room - 10.0f), middle - in * (room + 2.0f) + along * (12.0f / glance), 0,
               1.0f - std::cos(0.25f)}};
  for (const auto& h : hits) {
    auto skier = RacerIn(straight, h.from);
    skier->Heading = h.to - h.from;
    skier->Heading.Normalize();
    FollowSectors(*skier, h.to, out, false, false, true);
    EXPECT_EQ(skier->Sector, straight) << h.what;
    EXPECT_NEAR(Value(*straight, N_AiSector::kLeftSide, out), 5.0f, 1e-2) << h.what;
    EXPECT_EQ(skier->FallState, h.fall) << h.what;
    EXPECT_NEAR(skier->EdgeBrake, h.brake, 1e-3) << h.what;
    EXPECT_NEAR(Vec3Dot(skier->Heading, in), 0.0f, 1e-3) << h.what;
    EXPECT_GT(Vec3Dot(skier->Heading, along), 0.99f) << h.what;
  }
}

TEST(FollowSectors, APointInTheGapBetweenTwoSectorsSettlesInTheSectorItEndedIn) {
  test::RaceRig rig;
  auto chain = [](float x0, float x1) {
    return test::BuildSectorChain({{x0, 50, 0}, {x1, 50, 0}}, {{x0, 0, 0}, {x1, 0, 0}}, {{x0, -50, 0}, {x1, -50, 0}},
                                  false);
  };
  const auto first = chain(0.0f, 100.0f), second = chain(100.001f, 200.0f);  // 0.001 apart
  N_AiSector::Link(first[0].get(), second[0].get());
  const N_Vector3 gap{100.0005f, 0.0f, 0.0f};
  ASSERT_EQ(first[0]->Classify(gap), 1);
  ASSERT_EQ(second[0]->Classify(gap), 2);
  for (N_AiSector* from : {first[0].get(), second[0].get()}) {
    auto racer = RacerIn(from, {99.9f, 0.0f, 0.0f});
    N_Vector3 out, clamped;
    FollowSectors(*racer, gap, out, false, false, true);
    racer->Sector->ClampToSpan(out, clamped);
    EXPECT_LT(std::fabs(clamped.x - out.x), 1e-4) << "inside the span of the sector it ended in";
  }
}

TEST(FollowSectors, ThePlayersPenaltyForkShowsFivePenaltyLoops) {
  test::RacePagesRig r;
  auto normal = test::BuildStraightCourse(0, 300, 100, 100);
  auto penalty = test::BuildSectorChain({{100, 100, 0}, {200, 100, 0}}, {{100, 0, 0}, {200, 0, 0}},
                                        {{100, -100, 0}, {200, -100, 0}}, false, Ai::kPathPenalty);
  normal[1]->SetFlag(3, 0x10);
  normal[1]->AddJunction(penalty[0].get());
  auto racer = RacerIn(normal[1].get(), {120, 0, 0});
  racer->ControlKind = 1;
  racer->PenaltyCheckDue = 1;
  N_Vector3 out;
  FollowSectors(*racer, {140, 0, 0}, out, false, false, true);
  EXPECT_EQ(racer->Sector, penalty[0].get());
  EXPECT_TRUE(r.PageVisible("PenaltyRounds"));
  EXPECT_EQ(r.Caption("NumPenalty"), "5");
}

TEST(FitToGround, TheRacerSitsOnItsProbesPlaneWithTheSlopeMeasured) {
  test::RaceRig rig;
  auto rising = test::BuildSectorChain({{0, 100, 0}, {100, 100, 10}, {200, 100, 20}, {300, 100, 30}},
                                       {{0, 0, 0}, {100, 0, 10}, {200, 0, 20}, {300, 0, 30}},
                                       {{0, -100, 0}, {100, -100, 10}, {200, -100, 20}, {300, -100, 30}}, false);
  auto level = test::BuildStraightCourse(0, 300, 100, 100, 7.0f);
  const struct {
    const char* what;
    N_AiSector* sector;
    N_Vector3 pos, heading;
    float z, slope;
  } cases[] = {
      {"rising 0.1 a unit", rising[1].get(), {150, 0, 40}, {1, 0, 0}, 15.0f, 0.0995037f},
      {"level ground, heading tilted", level[1].get(), {150, 20, -3}, {0.8f, 0, 0.6f}, 7.0f, 0.0f},
      // So far out that 40 units ahead is the same float: no slope rather than NaN.
      {"front probe on the racer", level[1].get(), {1e12f, 0, 7}, {1, 0, 0}, 7.0f, 0.0f},
  };
  for (const auto& c : cases) {
    auto racer = RacerIn(c.sector, c.pos);
    racer->Heading = c.heading;
    FitToGround(*racer);
    EXPECT_NEAR(racer->Pos.z, c.z, 1e-3) << c.what;
    EXPECT_NEAR(racer->Heading.z, c.slope, 1e-5) << c.what;
    for (const N_Vector3& probe : racer->Probes) {
      float ground = 0.0f;
      c.sector->GetGroundHeight(probe, ground);
      EXPECT_NEAR(probe.z, ground, 1e-3) << c.what;
    }
    if (c.sector == level[1].get() && c.pos.x < 1e6f) {
      EXPECT_NEAR(racer->GroundNormal.z, -1.0f, 1e-6) << "the probes' plane points down";
      EXPECT_NEAR(racer->Probes[1].y - racer->Probes[2].y, 24.0f, 1e-3) << "left rear, right rear";
    }
  }
}

TEST(IsFacingLane, TheStanceChoosesTheDirectionAndTheHeadingMustBeWithinACosineOf098) {
  const N_Vector3 targets[5] = {{0, 100, 0}, {1, 100, 0}, {2, 100, 0}, {3, 100, 0}, {4, 100, 0}};
  N_ShootLane lane(targets, {2, 0, 0}, 0);  // shooting along +y
  Ai::N_AiPath path;
  const float up = 1.5707964f;
  const struct {
    std::int32_t stance;
    float heading;  // angle from +x
    bool facing;
    N_Vector3 wanted;
  } cases[] = {{1, up, true, {0, 1, 0}},       {1, up + 0.19f, true, {0, 1, 0}}, {1, up - 0.21f, false, {0, 1, 0}},
               {2, 0.0f, true, {1, 0, 0}},     {2, 0.21f, false, {1, 0, 0}},     {0, 3.0f, true, {7, 7, 7}},
               {3, 3.0f, true, {7, 7, 7}}};
  for (const auto& c : cases) {
    auto racer = RacerIn(nullptr, {});
    racer->Lane = &lane;
    racer->Stance = c.stance;
    racer->Heading = {std::cos(c.heading), std::sin(c.heading), 0};
    N_Vector3 wanted{7, 7, 7};
    EXPECT_EQ(IsFacingLane(*racer, path, wanted), c.facing) << c.stance << " " << c.heading;
    EXPECT_NEAR(wanted.x, c.wanted.x, 1e-6) << c.stance;
    EXPECT_NEAR(wanted.y, c.wanted.y, 1e-6) << c.stance;
  }
}

}  // namespace
