// Following the sectors on a sample course's network (the junctions of the start
// paths, the finish fork with its flags, the penalty fork, the arcade short cut, the
// ends of open paths and the sides), the bounded walk between two sectors that leave
// a gap, the ground fit and the lane-facing test.
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

float PlaneValue(const N_AiSector& sector, N_AiSector::Plane plane, const N_Vector3& p) {
  return N_AiSector::PlaneValue(sector.GetPlane(plane), p);
}

class SampleFollowing : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::LoadSampleNetwork(rig, "Beitostolen")); }
  N_AiSector* Head(N_AiPathTree::Path path) const { return rig.path.Tree()->Head(path); }
  N_AiSector* Normal(int group, std::uint8_t bit) const { return test::FlaggedSector(Head(N_AiPathTree::kNormal), group, bit); }

  test::PathRig rig;
};

TEST_F(SampleFollowing, AStartPathJoinsTheNormalRingAtItsJunction) {
  const struct {
    N_AiPathTree::Path path;
    std::uint8_t bit;
  } starts[] = {{N_AiPathTree::kMassStart, 0x01}, {N_AiPathTree::kSprintStart, 0x02}, {N_AiPathTree::kRelayStart, 0x04}};
  for (const auto& s : starts) {
    N_AiSector* junction = test::FlaggedSector(Head(s.path), 3, s.bit);
    ASSERT_NE(junction, nullptr) << s.bit;
    auto racer = RacerIn(junction, junction->GetIdealPoint(false));
    N_Vector3 out;
    FollowSectors(*racer, test::SectorMiddle(*junction), out, false, false, true);
    EXPECT_EQ(racer->Sector->PathKind(), Ai::kPathNormal) << s.bit;
    EXPECT_TRUE(racer->Sector->Flags().Has(3, s.bit)) << s.bit;
    EXPECT_EQ(racer->Sector->Classify(out), 0) << s.bit;
  }
}

TEST_F(SampleFollowing, TheFinishForkOnTheLastLapByItsFlags) {
  N_AiSector* fork = Normal(3, 0x08);
  ASSERT_NE(fork, nullptr);
  const N_Vector3 inside = test::SectorMiddle(*fork);
  const N_Vector3 beyond = fork->GetIdealPoint(true) + fork->Direction() * 30.0f;  // past the fork sector
  const struct {
    const char* what;
    std::int32_t lapsLeft;
    bool atFork, forced, pointInside;
    std::int32_t kind;
  } cases[] = {
      {"race: last lap", 0, false, true, true, Ai::kPathCiel},
      {"race: laps to go", 1, false, true, true, Ai::kPathNormal},
      {"not at the fork: the flag does not matter", 0, false, false, true, Ai::kPathCiel},
      {"not at the fork: the finish sector must hold the point", 0, false, true, false, Ai::kPathNormal},
      {"forced at the fork: even beyond the junction", 0, true, true, false, Ai::kPathCiel},
      {"forced at the fork, laps to go", 1, true, true, true, Ai::kPathNormal},
      {"a relay leg that is not the last", 0, true, false, true, Ai::kPathNormal},
  };
  for (const auto& c : cases) {
    auto racer = RacerIn(fork, fork->GetIdealPoint(false));
    racer->LapsLeft = c.lapsLeft;
    N_Vector3 out;
    FollowSectors(*racer, c.pointInside ? inside : beyond, out, false, c.atFork, c.forced);
    EXPECT_EQ(racer->Sector->PathKind(), c.kind) << c.what;
  }
}

TEST_F(SampleFollowing, ThePenaltyForkChargesARacerThatDidNotShootAndSendsLoopsRoundTheRing) {
  N_AiSector* fork = Normal(3, 0x10);
  ASSERT_NE(fork, nullptr);
  const struct {
    const char* what;
    std::int32_t control;
    std::uint8_t due;
    std::int32_t bullets, loops;
    std::int32_t loopsAfter, missesAfter, bulletsAfter;
    std::uint8_t showPenalty;
    std::int32_t kind;
  } cases[] = {
      {"player who did not shoot", 1, 1, 5, 0, 5, 5, 0, 1, Ai::kPathPenalty},
      {"computer racer who did not shoot", 0, 1, 4, 0, 5, 5, 0, 0, Ai::kPathPenalty},
      {"shot with misses", 0, 1, 0, 2, 2, 0, 0, 0, Ai::kPathPenalty},
      {"shot clean", 1, 1, 3, 0, 0, 0, 3, 0, Ai::kPathNormal},
      {"no check due", 1, 0, 5, 0, 0, 0, 5, 0, Ai::kPathNormal},
  };
  for (const auto& c : cases) {
    auto racer = RacerIn(fork, fork->GetIdealPoint(false));
    racer->ControlKind = c.control;
    racer->PenaltyCheckDue = c.due;
    racer->Bullets = c.bullets;
    racer->PenaltyLoops = c.loops;
    N_Vector3 out;
    FollowSectors(*racer, test::SectorMiddle(*fork), out, false, false, true);
    EXPECT_EQ(racer->PenaltyLoops, c.loopsAfter) << c.what;
    EXPECT_EQ(racer->Misses, c.missesAfter) << c.what;
    EXPECT_EQ(racer->Bullets, c.bulletsAfter) << c.what;
    EXPECT_EQ(racer->ShowPenalty, c.showPenalty) << c.what;
    EXPECT_EQ(racer->PenaltyLoopOpen, 1) << c.what;
    EXPECT_EQ(racer->Sector->PathKind(), c.kind) << c.what;
  }
  // Back at the fork from the ring: on round while loops are owed, else back to Normal.
  N_AiSector* ringFork = test::FlaggedSector(Head(N_AiPathTree::kPenalty), 3, 0x10);
  ASSERT_NE(ringFork, nullptr);
  for (const std::int32_t loops : {1, 0}) {
    auto racer = RacerIn(ringFork, ringFork->GetIdealPoint(false));
    racer->PenaltyLoops = loops;
    N_Vector3 out;
    FollowSectors(*racer, test::SectorMiddle(*ringFork), out, false, false, true);
    EXPECT_EQ(racer->Sector->PathKind(), loops ? Ai::kPathPenalty : Ai::kPathNormal) << loops;
  }
}

TEST_F(SampleFollowing, TheArcadeShortCutOnlyWithArcadeShortCuts) {
  N_AiSector* start = Normal(4, 0x01);
  ASSERT_NE(start, nullptr);
  for (const bool arcade : {false, true}) {
    auto racer = RacerIn(start, start->GetIdealPoint(false));
    N_Vector3 out;
    FollowSectors(*racer, test::SectorMiddle(*start), out, arcade, false, true);
    EXPECT_EQ(racer->Sector->PathKind(), arcade ? Ai::kPathShortCutArcade : Ai::kPathNormal) << arcade;
  }
  N_AiSector* end = test::FlaggedSector(Head(N_AiPathTree::kShortCutArcade), 4, 0x02);
  ASSERT_NE(end, nullptr);
  auto racer = RacerIn(end, end->GetIdealPoint(false));
  N_Vector3 out;
  FollowSectors(*racer, test::SectorMiddle(*end), out, true, false, true);
  EXPECT_EQ(racer->Sector->PathKind(), Ai::kPathNormal);
}

TEST_F(SampleFollowing, OpenPathEndsClampAndSidesHoldTheRacerFiveInside) {
  const std::vector<N_AiSector*> finish = test::PathSectors(Head(N_AiPathTree::kCiel));
  N_AiSector* last = finish.back();
  auto racer = RacerIn(last, test::SectorMiddle(*last));
  N_Vector3 out;
  FollowSectors(*racer, last->GetIdealPoint(true) + last->Direction() * 40.0f, out, false, false, true);
  EXPECT_EQ(racer->Sector, last);
  EXPECT_NEAR(PlaneValue(*last, N_AiSector::kEnd, out), 0.0f, 1e-2) << "on the end plane";

  // A straight sector: head-on into the left side falls, a glancing touch does not.
  N_AiSector* straight = Normal(6, 0x04);
  ASSERT_NE(straight, nullptr);
  const N_Vector3 inward = straight->GetPlane(N_AiSector::kLeftSide).normal;
  const N_Vector3 middle = test::SectorMiddle(*straight);
  const float room = PlaneValue(*straight, N_AiSector::kLeftSide, middle);
  const struct {
    const char* what;
    N_Vector3 from, to;
    std::int32_t fall;
  } hits[] = {
      {"head-on", middle, middle - inward * (room + 20.0f), 2},
      {"glancing", middle - inward * (room - 10.0f), middle - inward * (room - 2.0f) + straight->Direction() * 40.0f,
       0},
  };
  for (const auto& h : hits) {
    auto skier = RacerIn(straight, h.from);
    FollowSectors(*skier, h.to, out, false, false, true);
    EXPECT_EQ(skier->Sector, straight) << h.what;
    EXPECT_NEAR(PlaneValue(*straight, N_AiSector::kLeftSide, out), 5.0f, 1e-2) << h.what;
    EXPECT_EQ(skier->FallState, h.fall) << h.what;
  }
}

TEST(FollowSectors, APointInTheGapBetweenTwoSectorsSettlesInTheSectorItEndedIn) {
  test::RaceRig rig;
  // Two sectors whose end and start planes lie 0.001 apart.
  auto chain = [](float x0, float x1) {
    return test::BuildSectorChain({{x0, 50, 0}, {x1, 50, 0}}, {{x0, 0, 0}, {x1, 0, 0}}, {{x0, -50, 0}, {x1, -50, 0}},
                                  false);
  };
  auto first = chain(0.0f, 100.0f);
  auto second = chain(100.001f, 200.0f);
  N_AiSector::Link(first[0].get(), second[0].get());
  const N_Vector3 gap{100.0005f, 0.0f, 0.0f};
  ASSERT_EQ(first[0]->Classify(gap), 1);
  ASSERT_EQ(second[0]->Classify(gap), 2);
  for (N_AiSector* from : {first[0].get(), second[0].get()}) {
    auto racer = RacerIn(from, {99.9f, 0.0f, 0.0f});
    N_Vector3 out;
    FollowSectors(*racer, gap, out, false, false, true);
    N_Vector3 clamped;
    racer->Sector->ClampToSpan(out, clamped);
    EXPECT_LT(std::fabs(clamped.x - out.x), 1e-4) << "inside the span of the sector it ended in";
  }
}

TEST(FitToGround, TheRacerSitsOnItsProbesPlaneWithTheSlopeMeasured) {
  test::RaceRig rig;
  std::vector<N_Vector3> left, ideal, right;
  for (float x : {0.0f, 100.0f, 200.0f, 300.0f}) {
    left.push_back({x, 100, 0.1f * x});
    ideal.push_back({x, 0, 0.1f * x});
    right.push_back({x, -100, 0.1f * x});
  }
  const auto rising = test::BuildSectorChain(left, ideal, right, false);
  const auto level = test::BuildStraightCourse(0, 300, 100, 100, 7.0f);
  const struct {
    const char* what;
    N_AiSector* sector;
    N_Vector3 pos, heading;
    float z, slope;
  } cases[] = {
      {"rising 0.1 a unit", rising[1].get(), {150, 0, 40}, {1, 0, 0}, 15.0f, 0.0995037f},
      {"level ground, heading tilted", level[1].get(), {150, 0, -3}, {0.8f, 0, 0.6f}, 7.0f, 0.0f},
      // So far out that 40 units ahead is the same float: no slope rather than NaN.
      {"front probe on the racer", level[1].get(), {1e12f, 0, 7}, {1, 0, 0}, 7.0f, 0.0f},
  };
  for (const auto& c : cases) {
    auto racer = RacerIn(c.sector, c.pos);
    racer->Heading = c.heading;
    FitToGround(*racer);
    EXPECT_NEAR(racer->Pos.z, c.z, 1e-3) << c.what;
    EXPECT_NEAR(racer->Heading.z, c.slope, 1e-5) << c.what;
    for (int i = 0; i < 3; ++i) {
      float ground = 0.0f;
      c.sector->GetGroundHeight(racer->Probes[i], ground);
      EXPECT_NEAR(racer->Probes[i].z, ground, 1e-3) << c.what << " probe " << i;
    }
  }
  auto flat = RacerIn(level[1].get(), {150, 20, 0});
  FitToGround(*flat);
  EXPECT_NEAR(flat->GroundNormal.x, 0.0f, 1e-6);
  EXPECT_NEAR(flat->GroundNormal.y, 0.0f, 1e-6);
  EXPECT_NEAR(flat->GroundNormal.z, -1.0f, 1e-6) << "the probes' plane points down";
  EXPECT_NEAR(flat->Probes[1].y - flat->Probes[2].y, 24.0f, 1e-3) << "left rear, right rear";
}

TEST(IsFacingLane, TheStanceChoosesTheDirectionAndTheHeadingMustBeWithinACosineOf098) {
  const N_Vector3 targets[5] = {{0, 100, 0}, {1, 100, 0}, {2, 100, 0}, {3, 100, 0}, {4, 100, 0}};
  N_ShootLane lane(targets, {2, 0, 0}, 0);  // shooting along +y
  Ai::N_AiPath path;
  const struct {
    std::int32_t stance;
    float headingAngle;  // from +x
    bool facing;
    N_Vector3 wanted;
  } cases[] = {
      {1, 1.5707964f, true, {0, 1, 0}},       {1, 1.5707964f + 0.19f, true, {0, 1, 0}},
      {1, 1.5707964f - 0.21f, false, {0, 1, 0}}, {2, 0.0f, true, {1, 0, 0}},
      {2, 0.21f, false, {1, 0, 0}},           {0, 3.0f, true, {7, 7, 7}},
      {3, 3.0f, true, {7, 7, 7}},
  };
  for (const auto& c : cases) {
    auto racer = RacerIn(nullptr, {});
    racer->Lane = &lane;
    racer->Stance = c.stance;
    racer->Heading = {std::cos(c.headingAngle), std::sin(c.headingAngle), 0};
    N_Vector3 wanted{7, 7, 7};
    EXPECT_EQ(IsFacingLane(*racer, path, wanted), c.facing) << c.stance << " " << c.headingAngle;
    EXPECT_NEAR(wanted.x, c.wanted.x, 1e-6) << c.stance;
    EXPECT_NEAR(wanted.y, c.wanted.y, 1e-6) << c.stance;
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

}  // namespace
