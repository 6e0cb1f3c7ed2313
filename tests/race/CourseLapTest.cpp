// Each sample course as the race loads it from the game root: one lap of the Normal
// ring from the stadium exit meets the sector labels in the order the race's events
// rely on, and every lane of the range has its whole approach box around the way to
// its stand, all of it with the stand and the lane's entry and exit points inside the
// range's sector.
#include "core/FormatString.h"
#include "core/OrientedBox.h"
#include "race/ShootLane.h"
#include "tests/race/CourseNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Ai::N_AiPathTree;
using Ai::N_AiSector;

struct Label {
  const char* name;
  int group;
  std::uint8_t bit;
};

/// The Normal ring's labels in the order of one lap from the stadium exit (the split
/// checkpoints aside: they are checked on their own).
constexpr Label kLap[] = {
    {"Trigger_Mass2Normal", 3, 1},
    {"Trigger_Sprint2Normal", 3, 2},
    {"Trigger_Relay2Normal", 3, 4},
    {"Trigger_Com_Trainer_01", 7, 1},
    {"Trigger_Com_Trainer_02", 7, 2},
    {"Trigger_Kampfgeist", 6, 128},
    {"Trigger_ShortCutArcadeStart", 4, 1},
    {"Trigger_ShortCutArcadeEnd", 4, 2},
    {"Trigger_Com_Trainer_03", 7, 4},
    {"Trigger_ShowSipkaCiel", 6, 2},
    {"Trigger_Normal2Ciel", 3, 8},
    {"Trigger_ShortCutShootAreaStart", 4, 4},
    {"Trigger_RoundTime", 6, 4},
    {"Trigger_ShootArea", 1, 1},
    {"Trigger_RoundCount2", 6, 64},
    {"Trigger_ShortCutShootAreaEnd", 4, 8},
    {"Trigger_ShowRelayPlayer", 6, 16},
    {"Trigger_RelayAiChange", 6, 8},
    {"Trigger_GoToNormalPath", 6, 32},
    {"Trigger_PenaltyShow", 1, 2},
    {"Trigger_PenaltyPath", 3, 16},
    {"Trigger_PenaltyResult", 1, 4},
    {"Trigger_RoundCount", 6, 1},
};
constexpr int kSplitGroup = 5;

/// Where along the lap each label was met (sector index from the stadium exit).
struct Met {
  std::string name;
  int sector;
};

int IndexOf(const std::vector<Met>& met, const std::string& name) {
  for (std::size_t i = 0; i < met.size(); ++i) {
    if (met[i].name == name) return int(i);
  }
  return -1;
}

class CourseLap : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::LoadSampleNetwork(rig, GetParam()));
    ring = test::PathSectors(rig.path.Tree()->Head(N_AiPathTree::kNormal));
  }

  test::PathRig rig;
  std::vector<N_AiSector*> ring;
};

TEST_P(CourseLap, MeetsTheLabelsInTheLapsOrderFromTheStadiumExit) {
  // The lap ends on the lap count; the stadium exit is the sector after it.
  const auto count = std::find_if(ring.begin(), ring.end(), [](const N_AiSector* s) { return s->Flags().Has(6, 1); });
  ASSERT_NE(count, ring.end()) << "no Trigger_RoundCount on the ring";
  std::rotate(ring.begin(), count + 1, ring.end());

  std::vector<Met> labels, splits;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    for (const Label& label : kLap) {
      if (ring[i]->Flags().Has(label.group, label.bit)) labels.push_back({label.name, int(i)});
    }
    for (int n = 1; n <= 7; ++n) {
      if (ring[i]->Flags().Has(kSplitGroup, std::uint8_t(1 << (n - 1)))) {
        splits.push_back({FormatString("Trigger_SplitTime_%d", n), int(i)});
      }
    }
  }
  std::vector<std::string> names, expected;
  for (const Met& m : labels) names.push_back(m.name);
  for (const Label& label : kLap) expected.push_back(label.name);
  ASSERT_EQ(names, expected);
  for (std::size_t i = 1; i < labels.size(); ++i) {
    EXPECT_LT(labels[i - 1].sector, labels[i].sector) << labels[i - 1].name << " shares its sector with " << labels[i].name;
  }

  // The split checkpoints: 1, 2, 3 in turn on the loop, none on the stretch the arcade
  // short cut skips.
  ASSERT_EQ(splits.size(), 3u);
  const int loopFrom = labels[std::size_t(IndexOf(labels, "Trigger_Relay2Normal"))].sector;
  const int loopTo = labels[std::size_t(IndexOf(labels, "Trigger_ShowSipkaCiel"))].sector;
  const int cutFrom = labels[std::size_t(IndexOf(labels, "Trigger_ShortCutArcadeStart"))].sector;
  const int cutTo = labels[std::size_t(IndexOf(labels, "Trigger_ShortCutArcadeEnd"))].sector;
  for (std::size_t i = 0; i < splits.size(); ++i) {
    EXPECT_EQ(splits[i].name, FormatString("Trigger_SplitTime_%d", int(i) + 1));
    EXPECT_GT(splits[i].sector, loopFrom) << splits[i].name;
    EXPECT_LT(splits[i].sector, loopTo) << splits[i].name;
    EXPECT_FALSE(splits[i].sector >= cutFrom && splits[i].sector <= cutTo) << splits[i].name << " on the skipped stretch";
  }
}

/// The point's offsets along the box's axes beyond its half extents (0 inside).
std::array<float, 3> Outside(const float* box, const N_Vector3& p) {
  const N_Vector3 d = p - N_Vector3{box[0], box[1], box[2]};
  std::array<float, 3> beyond{};
  for (int k = 0; k < 3; ++k) {
    const N_Vector3 axis{box[3 + 3 * k], box[4 + 3 * k], box[5 + 3 * k]};
    beyond[std::size_t(k)] = std::max(0.0f, std::fabs(Vec3Dot(d, axis)) - box[12 + k]);
  }
  return beyond;
}

TEST_P(CourseLap, EveryLaneHasItsWholeApproachBoxInsideTheRangeSector) {
  const auto range = std::find_if(ring.begin(), ring.end(), [](const N_AiSector* s) { return s->Flags().Has(1, 1); });
  ASSERT_NE(range, ring.end());
  const N_AiSector& area = **range;
  const std::size_t lanes = rig.path.LaneCount();
  ASSERT_EQ(lanes, 30u);
  ASSERT_EQ(rig.path.GetHelperInCount(), lanes);
  ASSERT_EQ(rig.path.GetHelperOutCount(), lanes);
  for (std::size_t i = 0; i < lanes; ++i) {
    SCOPED_TRACE(FormatString("Trigger_Shoot_%02d", int(i)));
    const N_LevelTrigger* trigger = rig.path.GetShootTrigger(std::uint32_t(i));
    ASSERT_NE(trigger, nullptr);
    const float* box = trigger->box;
    // The whole box: three orthonormal axes and three half extents, not a bare place.
    for (int a = 0; a < 3; ++a) {
      const N_Vector3 u{box[3 + 3 * a], box[4 + 3 * a], box[5 + 3 * a]};
      EXPECT_NEAR(Vec3Dot(u, u), 1.0f, 1e-4f) << "axis " << a;
      for (int b = a + 1; b < 3; ++b) {
        const N_Vector3 v{box[3 + 3 * b], box[4 + 3 * b], box[5 + 3 * b]};
        EXPECT_NEAR(Vec3Dot(u, v), 0.0f, 1e-4f) << "axes " << a << " and " << b;
      }
      EXPECT_GT(box[12 + a], 0.0f) << "half extent " << a;
    }
    const N_ShootLane* lane = rig.path.GetStand(int(i));
    ASSERT_NE(lane, nullptr);
    const N_Vector3 stand = lane->StandPosition();
    const N_Vector3 entry = rig.path.GetHelperIn(std::uint32_t(i));
    const N_Vector3 exit = rig.path.GetHelperOut(std::uint32_t(i));
    // On the approach: the way from the entry point to the stand runs along the box, and
    // its last stretch onto the mat, at the height a racer skis on the range sector,
    // lies in it; the corridor before the mat is not caught.
    N_Vector3 way = stand - entry;
    way.z = 0.0f;
    way.Normalize();
    EXPECT_NEAR(Vec3Dot(way, {box[3], box[4], box[5]}), 1.0f, 1e-4f) << "the box lies along the way in";
    EXPECT_GT(Outside(box, entry)[0], 0.0f) << "the entry point lies before the box";
    const float length = std::sqrt(Vec3Dot(stand - entry, stand - entry));
    for (float t : {24.0f, 16.0f, 8.0f, 0.0f}) {  // units before the stand
      N_Vector3 p = stand + (entry - stand) * (t / length);
      area.GetGroundHeight(p, p.z);
      const std::array<float, 3> beyond = Outside(box, p);
      EXPECT_LT(beyond[0], 0.01f) << "at " << t;
      EXPECT_EQ(beyond[1], 0.0f) << "at " << t;
      EXPECT_EQ(beyond[2], 0.0f) << "at " << t;
    }
    N_OrientedBox oriented;
    oriented.center = {box[0], box[1], box[2]};
    for (int a = 0; a < 3; ++a) {
      oriented.axis[a] = {box[3 + 3 * a], box[4 + 3 * a], box[5 + 3 * a]};
      oriented.extent[a] = box[12 + a];
    }
    N_Vector3 corners[8];
    oriented.GetCorners(corners);
    for (const N_Vector3& corner : corners) EXPECT_EQ(area.Classify(corner), 0) << "a corner of the box";
    EXPECT_EQ(area.Classify(stand), 0) << "the stand";
    EXPECT_EQ(area.Classify(entry), 0) << "the entry point";
    EXPECT_EQ(area.Classify(exit), 0) << "the exit point";
  }
}

INSTANTIATE_TEST_SUITE_P(SampleCourses, CourseLap, ::testing::Values("Beitostolen", "Holmenkollen"));

}  // namespace
