// Headless drives on each sample course's network: computer racers choosing their
// technique (skating, the herringbone up the steep climbs, double poling and the tuck
// down the descents), moved by the physics step, the pilot, the sector walk and the
// ground fit in fixed steps, as the race moves them.
#include "race/AiPilot.h"
#include "race/AthletProfile.h"
#include "race/CourseFollowing.h"
#include "race/Racer.h"
#include "race/RacerControl.h"
#include "race/SkierPhysics.h"
#include "race/Technique.h"
#include "race/ai/AiTableMng.h"
#include "race/ai/StartPlaces.h"
#include "tests/race/CourseNetwork.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace {

using Ai::N_AiPathTree;
using Ai::N_AiSector;

constexpr float kStep = 0.033f;
/// The skating technique the racers start in.
constexpr int kSkating = 7;
/// The fall animations are 0 to 3.
constexpr std::int32_t kLastFall = 3;
/// Seconds of one stride cycle of the skating animation.
constexpr float kStrideSeconds = 1.0f;

N_AthletProfile g_athlete;

class CourseDrive : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::LoadSampleNetwork(rig, GetParam()));
    ring = test::PathSectors(rig.path.Tree()->Head(N_AiPathTree::kNormal));
    float along = 0.0f;
    for (std::size_t i = 0; i < ring.size(); ++i) {
      index[ring[i]] = i;
      offset.push_back(along);
      along += ring[i]->Length();
    }
    ringLength = along;
  }

  N_Racer& Add(N_AiSector* sector, const N_Vector3& pos, const N_Vector3& heading) {
    racers.push_back(std::make_unique<N_Racer>(g_athlete, 5, 0.0f, 0, false, false));
    N_Racer& racer = *racers.back();
    racer.Sector = sector;
    racer.Pos = pos;
    racer.Heading = heading;
    racer.Anim = kSkating;
    racer.LapsLeft = 5;  // neither the finish nor (without a check due) the penalty fork
    FitToGround(racer);
    pointers.push_back(&racer);
    return racer;
  }

  /// One fixed step of every racer, in the race's order.
  void Step() {
    for (N_Racer* racer : pointers) {
      racer->PrevPos = racer->Pos;
      RacerPostStep(*racer, kStep);
    }
    for (N_Racer* racer : pointers) {
      racer->Time += kStep;
      std::int32_t anim = racer->Anim;
      ChooseTechniqueAuto(*racer, anim, kStep);
      // A new animation starts from its beginning; a fall plays once to its end, the
      // others cycle.
      racer->AnimPhase = anim == racer->Anim ? racer->AnimPhase + kStep / kStrideSeconds : 0.0f;
      if (anim > kLastFall) racer->AnimPhase = std::fmod(racer->AnimPhase, 1.0f);
      racer->Anim = anim;
      N_Vector3 proposed;
      SkierPhysicsStep(*racer, rig.path.AiTables()->GetAnimPhysicRow(anim), kStep, proposed);
      AiPilot(*racer, rig.path, pointers, kStep, proposed);
      N_Vector3 out;
      FollowSectors(*racer, proposed, out, false, false, true);
      racer->Pos = out;
      FitToGround(*racer);
    }
  }

  /// How far along the Normal ring the racer is within its lap; -1 off the ring.
  float Along(const N_Racer& racer) const {
    const auto it = index.find(racer.Sector);
    if (it == index.end()) return -1.0f;
    const N_AiSector& s = *racer.Sector;
    return offset[it->second] + Vec3Dot(racer.Pos - s.GetIdealPoint(false), s.Direction());
  }

  test::PathRig rig;
  std::vector<N_AiSector*> ring;
  std::map<const N_AiSector*, std::size_t> index;
  std::vector<float> offset;
  float ringLength = 0.0f;
  std::vector<std::unique_ptr<N_Racer>> racers;
  std::vector<N_Racer*> pointers;
};

/// Follows the laps of a racer on the ring: a lap ends where its progress drops back.
struct LapCounter {
  int laps = 0;
  float last = -1.0f;
  void Update(float along, float ringLength) {
    if (along < 0.0f) return;
    if (last >= 0.0f && along < last - ringLength * 0.5f) ++laps;
    last = along;
  }
  float Total(float ringLength) const { return float(laps) * ringLength + last; }
};

TEST_P(CourseDrive, OneRacerLapsTheNormalRingThreeTimesInsideTheSidesAndOnTheGround) {
  N_AiSector* start = ring.front();
  N_Racer& racer = Add(start, test::SectorMiddle(*start), start->Direction());
  LapCounter counter;
  const int limit = int(3.0f * ringLength / (3.0f * 39.37f) / kStep);  // 3 m/s at worst
  int steps = 0;
  float worstSide = 1e9f, worstHeight = 0.0f;
  for (; counter.laps < 3 && steps < limit; ++steps) {
    Step();
    ASSERT_NE(index.find(racer.Sector), index.end()) << "left the ring at step " << steps;
    float sides[3];
    racer.Sector->GetSideDistances(racer.Pos, sides);
    worstSide = std::min({worstSide, sides[0], sides[1]});
    float ground = 0.0f;
    racer.Sector->GetGroundHeight(racer.Pos, ground);
    worstHeight = std::max(worstHeight, std::fabs(racer.Pos.z - ground));
    EXPECT_EQ(racer.Sector->Classify(racer.Pos) & 3, 0) << "in its sector's span at step " << steps;
    counter.Update(Along(racer), ringLength);
  }
  EXPECT_EQ(counter.laps, 3) << "after " << steps << " steps";
  EXPECT_GE(worstSide, N_AiSector::kSideMargin - 0.01f);
  EXPECT_LT(worstHeight, 1.0f) << "on the ground";
  EXPECT_EQ(racer.FallState, 0) << "no fall on an empty course";
}

TEST_P(CourseDrive, AFasterRacerStartedBehindASlowerOnePassesItWithinALap) {
  // Half way round the ring, on the loop's long way back: the pass does not fall on a
  // stretch of the stadium where the course turns.
  N_AiSector* first = ring[ring.size() / 2];
  N_AiSector* ahead = ring[ring.size() / 2 + 2];
  N_Racer& slow = Add(ahead, test::SectorMiddle(*ahead), ahead->Direction());
  slow.PowerScale = 0.6f;  // a weaker skier: less drive and a lower top speed
  N_Racer& fast = Add(first, test::SectorMiddle(*first), first->Direction());
  LapCounter slowLaps, fastLaps;
  bool passed = false;
  float closestAlongside = 1e9f;  // apart across the course while level with each other
  for (int steps = 0; !passed && fastLaps.laps < 1 && steps < 20000; ++steps) {
    Step();
    slowLaps.Update(Along(slow), ringLength);
    fastLaps.Update(Along(fast), ringLength);
    const float gap = fastLaps.Total(ringLength) - slowLaps.Total(ringLength);
    passed = gap > 100.0f;
    if (std::fabs(gap) < 10.0f) {
      const N_Vector3 d = fast.Pos - slow.Pos;
      closestAlongside = std::min(closestAlongside, std::sqrt(d.x * d.x + d.y * d.y));
    }
  }
  EXPECT_TRUE(passed) << "fast " << fastLaps.Total(ringLength) << " slow " << slowLaps.Total(ringLength);
  EXPECT_GT(closestAlongside, slow.BoxHalfSize.y) << "passed beside the slower racer, not through it";
}

TEST_P(CourseDrive, ThirtyRacersStartedTogetherRunTwoThousandStepsWithoutANaN) {
  const Ai::N_StartPlaces& places = *rig.path.StartPlaces();
  N_AiSector* massStart = rig.path.Tree()->Head(N_AiPathTree::kMassStart);
  for (std::uint32_t i = 0; i < 30; ++i) {
    N_Vector3 place, direction;
    if (i < 15) {
      places.GetMassStartPlace(place, direction, i);
    } else {
      places.GetPursuitPlace(place, direction, i - 15);
    }
    N_AiSector* sector = N_AiPathTree::FindSector(massStart, place);
    ASSERT_NE(sector, nullptr) << i;
    Add(sector, place, sector->Direction()).Speed = 0.0f;
  }
  for (int step = 0; step < 2000; ++step) Step();
  for (const N_Racer* racer : pointers) {
    const float fields[] = {racer->Pos.x,    racer->Pos.y,      racer->Pos.z,      racer->Heading.x,  racer->Heading.y,
                            racer->Heading.z, racer->Speed,     racer->Power,      racer->Steer,      racer->TurnStress,
                            racer->HeartRate, racer->Condition, racer->EdgeBrake,  racer->GroundNormal.z, racer->Probes[0].z};
    for (float f : fields) ASSERT_TRUE(std::isfinite(f)) << racer->StartNumber;
    EXPECT_EQ(racer->Sector->PathKind(), Ai::kPathNormal) << racer->StartNumber << " on the ring by now";
  }
}

INSTANTIATE_TEST_SUITE_P(SampleCourses, CourseDrive, ::testing::Values("Beitostolen", "Holmenkollen"));

}  // namespace
