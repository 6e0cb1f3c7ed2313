// The shooting range: which point counts build lanes, the lanes' targets and queries,
// the rifle's and the targets' loading (AI log lines, missing animations), the target
// figures following their targets, the rifle's aiming by its current animation, and
// the teardown of a built range (LeakSanitizer in the sanitizer build).
#include "race/ShootingRange.h"

#include "scene/AnimInstance.h"
#include "tests/race/RaceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

/// Target points of `lanes` lanes (and `extra` more): lane l's target t at
/// (1000 + 10 t, 100 l, 0), its stand at (0, 100 l, 0).
struct RangePoints {
  RangePoints(int lanes, int targets) {
    for (int i = 0; i < targets; ++i) this->targets.push_back({1000.0f + 10.0f * float(i % 5), 100.0f * float(i / 5), 0.0f});
    for (int l = 0; l < lanes; ++l) stands.push_back({0.0f, 100.0f * float(l), 0.0f});
  }
  std::vector<N_Vector3> targets;
  std::vector<N_Vector3> stands;
};

/// A race rig with the sample rifle and target figures (less the files named).
struct RangeRig {
  explicit RangeRig(const std::vector<std::string>& without = {}) {
    test::CopyFromGameRoot(race.dir, "data/anim/puska");
    test::CopyFromGameRoot(race.dir, "data/anim/terciky");
    for (const std::string& file : without) std::filesystem::remove(race.dir.Path() + "/" + file);
  }
  bool Build(int lanes, int targets) {
    RangePoints points(lanes, targets);
    return range.Build(points.targets.data(), targets, points.stands.data(), lanes);
  }
  int LaneCount() const { return range.Targets() ? range.Targets()->LaneCount() : 0; }
  std::vector<std::string> Lines() const { return race.AiLogLines(); }

  test::RaceRig race;
  N_ShootingRange range;
};

struct BuildCase {
  const char* name;
  int targets;
  int lanes;
  int built;
};

class ShootingRangeBuild : public testing::TestWithParam<BuildCase> {};

TEST_P(ShootingRangeBuild, MakesFiveTargetsALane) {
  const BuildCase& c = GetParam();
  RangeRig r;
  EXPECT_FALSE(r.Build(c.lanes, c.targets)) << "always false";
  EXPECT_EQ(r.LaneCount(), c.built);
  EXPECT_EQ(r.range.Shooter() != nullptr, c.built > 0);
  for (int l = 0; l < c.built; ++l) {
    const N_ShootLane& lane = *r.range.GetLane(l);
    EXPECT_EQ(lane.Index(), l);
    EXPECT_FALSE(lane.InUse());
    for (int t = 0; t < 5; ++t) {
      EXPECT_EQ(lane.TargetPosition(t)->x, 1000.0f + 10.0f * float(t)) << "five points a lane, in order";
      EXPECT_EQ(lane.TargetPosition(t)->y, 100.0f * float(l));
    }
    EXPECT_EQ(lane.StandPosition().y, 100.0f * float(l));
  }
  EXPECT_EQ(r.range.GetLane(c.built), nullptr);
  EXPECT_EQ(r.range.GetLane(-1), nullptr);
  const std::vector<std::string> lines = r.Lines();
  const bool refused = std::any_of(lines.begin(), lines.end(),
                                   [](const std::string& line) { return line.find("no range built") != std::string::npos; });
  EXPECT_EQ(refused, c.lanes <= 0 || c.targets <= 0);
}

INSTANTIATE_TEST_SUITE_P(ShootingRange, ShootingRangeBuild,
                         testing::Values(BuildCase{"Fifteen", 15, 3, 3}, BuildCase{"Fourteen", 14, 3, 0},
                                         BuildCase{"Sixteen", 16, 3, 3}, BuildCase{"Seventeen", 17, 3, 3},
                                         BuildCase{"Twenty", 20, 3, 0}, BuildCase{"NoLanes", 15, 0, 0},
                                         BuildCase{"NegativeLanes", 15, -3, 0}, BuildCase{"NoTargets", 0, 3, 0}),
                         [](const testing::TestParamInfo<BuildCase>& info) { return std::string(info.param.name); });

TEST(ShootingRange, LanesKnockDownCountAndRefuseIndicesOutsideTheirTargets) {
  const N_Vector3 stand{5.0f, 5.0f, 5.0f};
  std::vector<N_Vector3> points(5, {50.0f, 5.0f, 5.0f});
  N_ShootLane lane(points.data(), stand, 0);
  EXPECT_EQ(lane.ShootDirection().x, 1.0f);

  points[2] = stand;  // the middle target on the stand
  N_ShootLane onStand(points.data(), stand, 0);
  EXPECT_EQ(onStand.ShootDirection().x, 1.0f);
  EXPECT_EQ(onStand.ShootDirection().y, 0.0f);
  EXPECT_EQ(onStand.ShootDirection().z, 0.0f);
  points[2] = {5.0f, -25.0f, 45.0f};
  N_ShootLane slanted(points.data(), stand, 0);
  EXPECT_FLOAT_EQ(slanted.ShootDirection().y, -0.6f);
  EXPECT_FLOAT_EQ(slanted.ShootDirection().z, 0.8f);

  struct Step {
    std::vector<int> down;
    int hitFirst;      ///< what HitFirstStanding knocks down
    std::uint32_t mask;  ///< afterwards
    int standing;
  };
  for (const Step& step : {Step{{0, 1}, 2, 0b00111, 2}, Step{{1, 3}, 0, 0b01011, 2}, Step{{0, 1, 2, 3, 4}, -1, 0b11111, 0},
                           Step{{}, 0, 0b00001, 4}}) {
    lane.ResetTargets();
    for (const int t : step.down) EXPECT_TRUE(lane.KnockDown(t));
    if (step.down == std::vector<int>{1, 3}) {
      EXPECT_EQ(lane.HitMask(), 10u);
      EXPECT_EQ(lane.StandingCount(), 3);
    }
    EXPECT_EQ(lane.HitFirstStanding(), step.hitFirst);
    EXPECT_EQ(lane.HitMask(), step.mask);
    EXPECT_EQ(lane.StandingCount(), step.standing);
  }
  lane.ResetTargets();
  EXPECT_FALSE(lane.KnockDown(5));
  EXPECT_FALSE(lane.KnockDown(-1));
  EXPECT_EQ(lane.TargetPosition(5), nullptr);
  EXPECT_EQ(lane.Target(-1), nullptr);
  EXPECT_EQ(lane.HitMask(), 0u);
}

TEST(ShootingRange, TakenLanesAreReleased) {
  RangeRig r;
  r.Build(3, 15);
  N_ShootLane* lane = r.range.GetLane(1);
  lane->SetInUse(true);
  r.range.ReleaseLane(lane);
  EXPECT_FALSE(lane->InUse());
  r.range.ReleaseLane(nullptr);
}

TEST(ShootingRange, LoadsTheRifleAndLogsEachAnimation) {
  RangeRig r;
  r.Build(3, 15);
  std::vector<std::string> expected = {"N_Shooter: Loading shooter."};
  for (const char* file : N_Shooter::kAnimationFiles) expected.push_back(std::string("N_Shooter: Animation ") + file + " loaded.");
  expected.push_back("N_Shooter: Loading shooter done.");
  EXPECT_EQ(r.Lines(), expected);
  const N_Shooter& rifle = *r.range.Shooter();
  EXPECT_EQ(rifle.Animations().size(), 6u);
  EXPECT_EQ(rifle.InstanceIndex(), 0);
  EXPECT_TRUE(rifle.Set()->Action(rifle.Animations()[N_Shooter::kAim])->loop) << "only the aiming loops";
  EXPECT_FALSE(rifle.Set()->Action(rifle.Animations()[N_Shooter::kShot])->loop);
}

TEST(ShootingRange, AMissingRifleAnimationStopsTheLoad) {
  RangeRig r({"data/anim/puska/puska_vystrel.anim"});
  r.Build(3, 15);
  const std::vector<std::string> lines = r.Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "N_Shooter: Failed load anim Data\\Anim\\Puska\\puska_vystrel.anim!!!!!");
  EXPECT_EQ(r.range.Shooter()->Animations().size(), 2u) << "nothing after it";
  EXPECT_EQ(r.range.Shooter()->InstanceIndex(), -1);
  EXPECT_FALSE(r.range.Shooter()->IsAiming());
  r.range.Shooter()->SetShown(true);
  r.range.Shooter()->Render(0.1f);  // no instance: nothing
}

TEST(ShootingRange, AMissingTargetAnimationIsLoggedAndTheLanesStayWithoutFigures) {
  RangeRig r({"data/anim/terciky/zaklopenie.anim"});
  r.Build(3, 15);
  const std::vector<std::string> lines = r.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "N_ShootTargetMng:: Failed load targets anim !!!!!");
  EXPECT_EQ(r.LaneCount(), 3);
  EXPECT_EQ(r.range.Targets()->Instance(0, 0), -1);
  r.range.GetLane(0)->KnockDown(1);
  r.range.Update(0.1f);  // no figures to follow
}

TEST(ShootingRange, TargetFiguresOpenAtTheStartAndFollowTheirTargets) {
  RangeRig r;
  r.Build(3, 15);
  const N_ShootTargetMng& targets = *r.range.Targets();
  N_AnimationFactory& set = *targets.Set();
  const int opening = targets.Animations()[N_ShootTargetMng::kOpening];
  const int closing = targets.Animations()[N_ShootTargetMng::kClosing];
  EXPECT_EQ(set.MeshCount(), 2) << "the target mesh twice";
  ASSERT_EQ(set.InstanceCount(), 15);
  for (int lane = 0; lane < 3; ++lane) {
    for (int t = 0; t < 5; ++t) {
      const N_AnimInstance& figure = *set.Instance(targets.Instance(lane, t));
      EXPECT_EQ(figure.channel1.actionIndex, opening);
      EXPECT_EQ(figure.channel1.rate, 30.0f);
      EXPECT_EQ(figure.queuedAction, opening);
      EXPECT_EQ(figure.queuedRate, 30.0f);
    }
  }
  r.range.GetLane(1)->KnockDown(2);
  r.range.Update(0.033f);
  for (int lane = 0; lane < 3; ++lane) {
    for (int t = 0; t < 5; ++t) {
      EXPECT_EQ(set.Instance(targets.Instance(lane, t))->queuedAction, lane == 1 && t == 2 ? closing : opening)
          << lane << " " << t;
    }
  }
  r.range.GetLane(1)->ResetTargets();
  r.range.Update(0.033f);
  EXPECT_EQ(set.Instance(targets.Instance(1, 2))->queuedAction, opening) << "stood up again";
}

TEST(ShootingRange, TheRifleIsAimedOnlyWhileRaisedAndNotReloadingASpare) {
  RangeRig r;
  r.Build(1, 5);
  N_Shooter& rifle = *r.range.Shooter();
  EXPECT_FALSE(rifle.IsAiming()) << "no action set yet";
  for (int animation = 0; animation < 6; ++animation) {
    rifle.Set()->SetAction(rifle.InstanceIndex(), rifle.Animations()[std::size_t(animation)], 30.0f, 0.0f);
    const bool aiming = animation == N_Shooter::kAim || animation == N_Shooter::kShot || animation == N_Shooter::kReload;
    EXPECT_EQ(rifle.IsAiming(), aiming) << animation;
  }
  N_Shooter unloaded;
  EXPECT_FALSE(unloaded.IsAiming());
}

TEST(ShootingRange, ABuiltRangeIsDestroyedWholeAndCanBeBuiltAgain) {
  RangeRig r;
  r.Build(3, 15);
  r.range.GetLane(0)->KnockDown(0);
  r.range.Update(0.033f);
  r.range.Destroy();
  EXPECT_EQ(r.range.Shooter(), nullptr);
  EXPECT_EQ(r.range.GetLane(0), nullptr);
  EXPECT_FALSE(r.range.IsDone());
  r.range.End();  // nothing to forward to
  r.Build(2, 10);
  EXPECT_EQ(r.LaneCount(), 2);
}

}  // namespace
