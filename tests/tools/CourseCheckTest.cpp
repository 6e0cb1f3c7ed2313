// The course generator's rule checks: a sample track keeps every rule, and each way of
// breaking one is reported (the shooting range's lanes, the start places, the paths'
// sectors, the labels' places along the lap, the counts); a broken course is not
// written.
#include "tests/support/TestEnv.h"
#include "tools/Course.h"
#include "tools/CourseStadium.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using course::Identifiers;
using course::Vec2;
namespace st = course::stadium;

std::vector<N_Vector3>& Set(Identifiers& ids, const std::string& name) {
  for (auto& [n, points] : ids.pointSets) {
    if (n == name) return points;
  }
  throw std::runtime_error("no point set " + name);
}

std::array<float, 15>& Box(Identifiers& ids, const std::string& name) {
  for (auto& [n, box] : ids.triggers) {
    if (n == name) return box;
  }
  throw std::runtime_error("no trigger " + name);
}

/// The world point of a point of the stadium's frame (the sectors' planes are vertical:
/// the height does not count).
N_Vector3 At(const course::Layout& layout, Vec2 local) {
  const Vec2 w = layout.frame.Point(local);
  return {w.x, w.y, 0.0f};
}

bool Reports(const std::vector<std::string>& faults, const std::string& part) {
  for (const std::string& fault : faults) {
    if (fault.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST(CourseCheck, EveryBrokenRuleIsReported) {
  const float laneX = st::LaneStand(4).x;
  const struct {
    const char* what;
    std::function<void(Identifiers&, const course::Layout&)> edit;
    const char* fault;
  } cases[] = {
      {"a stand beyond the range's side",
       [](Identifiers& ids, const course::Layout& l) {
         Set(ids, "Info_Shoot_Points")[3] = At(l, {st::LaneStand(3).x, st::RangeLeftAt(st::LaneStand(3).x) + 40});
       },
       "the stand of lane 3 is outside the range sector or within 5 units of its sides"},
      {"a stand 3 units inside the side",
       [&](Identifiers& ids, const course::Layout& l) {
         Set(ids, "Info_Shoot_Points")[4] = At(l, {laneX, st::RangeLeftAt(laneX) - 3});
       },
       "the stand of lane 4 is outside"},
      {"an entry point before the range",
       [](Identifiers& ids, const course::Layout& l) {
         Set(ids, "Info_Shoot_Helper_In")[0] = At(l, {-20, st::LaneStand(0).y});
       },
       "the entry point of lane 0 is outside"},
      {"an exit point by the right side",
       [&](Identifiers& ids, const course::Layout& l) {
         Set(ids, "Info_Shoot_Helper_Out")[29] = At(l, {laneX, -st::RangeRightAt(laneX) + 2});
       },
       "the exit point of lane 29 is outside"},
      {"a way onto a mat past another stand",
       [](Identifiers& ids, const course::Layout& l) {
         Set(ids, "Info_Shoot_Helper_In")[13] = At(l, st::LaneStand(12) - course::Vec2{0, 100});
       },
       "the way through lane 13 passes the stand of lane"},
      {"a line of fire across a stand",
       [](Identifiers& ids, const course::Layout& l) {
         Set(ids, "Info_Shoot_Target")[2] = At(l, st::LaneStand(0) + (st::LaneStand(2) - st::LaneStand(0)) * 5.0f);
       },
       "the line of fire of lane 0 passes the stand of lane 2"},
      {"an approach box across the range",
       [](Identifiers& ids, const course::Layout&) { Box(ids, "Trigger_Shoot_07")[13] = st::kRangeLeft[0] + st::kRangeRight[0]; },
       "the approach box of lane 7 is outside"},
      {"a grid place on a pursuit place",
       [](Identifiers& ids, const course::Layout&) {
         Set(ids, "Info_Grid_MassStart")[4] = Set(ids, "Info_Hunting_Start00")[0];
       },
       "grid place 4 lies in the Trigger_StartHunting sector"},
      {"the pursuit's sector before the grid's",
       [](Identifiers& ids, const course::Layout&) {
         std::swap(Box(ids, "Trigger_StartMass"), Box(ids, "Trigger_StartHunting"));
       },
       "the Trigger_StartHunting sector does not lie after the mass-start grid's"},
      {"left and right exchanged",
       [](Identifiers& ids, const course::Layout&) { std::swap(Set(ids, "Path_Penalty_Left"), Set(ids, "Path_Penalty_Right")); },
       "Path_Penalty sector 0 is folded or has its left edge on the right"},
      {"an ideal point off its cross-section",
       [](Identifiers& ids, const course::Layout& l) {
         N_Vector3& ideal = Set(ids, "Path_SprintStart_Ideal")[1];
         const N_Vector3 shift = At(l, {1, 0}) - At(l, {0, 0});
         ideal = ideal + shift;
       },
       "Path_SprintStart sector 0 has an ideal point off its cross-section"},
      {"a climb too steep to skate",
       [](Identifiers& ids, const course::Layout&) {
         for (const char* side : {"_Left", "_Ideal", "_Right"}) Set(ids, std::string("Path_Ciel") + side)[3].z += 60.0f;
       },
       "Path_Ciel sector 2 climbs"},
      {"a ring left open",
       [](Identifiers& ids, const course::Layout&) {
         for (const char* side : {"_Left", "_Ideal", "_Right"}) Set(ids, std::string("Path_Normal") + side).pop_back();
       },
       "Path_Normal is a ring that does not end on its first cross-section"},
      {"a junction that does not meet its branch",
       [](Identifiers& ids, const course::Layout& l) {
         N_Vector3& left = Set(ids, "Path_MassStart_Left").back();
         left = left + (At(l, {0, 1}) - At(l, {0, 0}));
       },
       "Trigger_Mass2Normal: the junction sectors' cross-sections differ"},
      {"a label off its path",
       [](Identifiers& ids, const course::Layout&) { Box(ids, "Trigger_Ciel")[0] += 1.0e6f; },
       "Trigger_Ciel lies in 0 sectors of Path_Ciel"},
      {"two labels exchanged along the lap",
       [](Identifiers& ids, const course::Layout&) {
         std::swap(Box(ids, "Trigger_RoundTime"), Box(ids, "Trigger_PenaltyResult"));
       },
       "is out of its place along the lap"},
      {"a gap in the split times",
       [](Identifiers& ids, const course::Layout&) {
         for (auto& [name, box] : ids.triggers) {
           if (name == "Trigger_SplitTime_2") name = "Trigger_SplitTime_5";
         }
       },
       "Trigger_SplitTime_3 follows a missing split time"},
      {"a lane's targets short",
       [](Identifiers& ids, const course::Layout&) { Set(ids, "Info_Shoot_Target").pop_back(); },
       "point set Info_Shoot_Target has 149 points"},
      {"a kink a skier holding forward cannot take",
       [](Identifiers& ids, const course::Layout& l) {
         // The cross-section halfway round the loop, 200 to the right.
         const std::size_t at = Set(ids, "Path_Normal_Ideal").size() / 2;
         for (const char* side : {"_Left", "_Ideal", "_Right"}) {
           N_Vector3& p = Set(ids, std::string("Path_Normal") + side)[at];
           p = p + (At(l, {0, -200}) - At(l, {0, 0}));
         }
       },
       "a skier holding forward meets a side of Path_Normal"},
      {"a kink in the penalty loop",
       [](Identifiers& ids, const course::Layout& l) {
         const std::size_t at = Set(ids, "Path_Penalty_Ideal").size() / 3;
         for (const char* side : {"_Left", "_Ideal", "_Right"}) {
           N_Vector3& p = Set(ids, std::string("Path_Penalty") + side)[at];
           p = p + (At(l, {0, -150}) - At(l, {0, 0}));
         }
       },
       "a skier holding forward from the stand of lane"},
      {"a menu path that stands still",
       [](Identifiers& ids, const course::Layout&) {
         auto& menu = Set(ids, "CameraPath_Menu");
         menu[2] = menu[1];
       },
       "CameraPath_Menu repeats point 1"},
  };
  for (const course::Layout& layout : course::Layouts()) {
    const course::Track track = course::BuildTrack(layout, course::Terrain(layout));
    EXPECT_EQ(course::CheckCourse(track.identifiers), std::vector<std::string>{}) << layout.name;
    for (const auto& c : cases) {
      Identifiers ids = track.identifiers;
      c.edit(ids, layout);
      const std::vector<std::string> faults = course::CheckCourse(ids);
      EXPECT_TRUE(Reports(faults, c.fault)) << layout.name << ": " << c.what << "\n"
                                             << testing::PrintToString(faults);
    }
  }
}

TEST(CourseCheck, ABrokenCourseIsNotWritten) {
  test::TempDir dir;
  datagen::Output out(dir.Path());
  const course::Layout& layout = course::Layouts().front();
  course::Course built = course::BuildCourse(layout);
  ASSERT_TRUE(course::WriteCourse(out, built, "Good", false));
  EXPECT_TRUE(dir.Exists("data/levels/Good.alf"));
  EXPECT_TRUE(dir.Exists("data/levels/Good.alf.cfg"));
  Set(built.track.identifiers, "Info_Shoot_Points")[0] = At(layout, {-100, 0});
  EXPECT_FALSE(course::WriteCourse(out, built, "Bad", true));
  EXPECT_FALSE(dir.Exists("data/levels/fog_Bad.alf"));
  EXPECT_FALSE(dir.Exists("data/levels/fog_Bad.alf.cfg"));
}

}  // namespace
