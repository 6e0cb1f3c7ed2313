// Headless sprints of three laps on the sample courses: four computer racers started
// 7 s apart, stepped by the race simulation with their figures advanced but not drawn.
// Each racer skis its three loops inside the course's sides, shoots prone after the
// first and standing after the second, skis a penalty loop for every target it left
// standing (or pays for it), finishes after two counted laps once its finish animation
// has played, and its lap number reads 1, 2, 3 in turn. A racer whose start number has
// no lane on the range shoots on a free one.
#include "core/Matrix3.h"
#include "core/Random.h"
#include "race/GameData.h"
#include "race/RaceSim.h"
#include "race/ShootLane.h"
#include "race/Racer.h"
#include "race/ai/AiSector.h"
#include "scene/AnimationFactory2.h"
#include "tests/race/AiPathSupport.h"
#include "tests/race/RaceSimRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr float kStep = 0.033f;
constexpr int kRacers = 4;
constexpr float kStartGap = 7.0f;
/// On three lanes: far enough apart that the first lane is free again before the
/// fourth racer has passed the range.
constexpr float kThreeLaneGap = 10.0f;
constexpr float kPenaltySeconds = 120.0f;
/// Far more race time than three laps with two series take.
constexpr int kStepLimit = int(3600.0f / kStep);

/// One shooting stop as a racer went through it.
struct Series {
  int lap = -1;        ///< LapsDone when the racer took its stance
  int stance = 0;      ///< 2 prone, 1 standing
  bool shot = false;   ///< reached the shooting phase on a lane
  int standing = -1;   ///< targets left standing when the rifle was put down
  int owed = -1;       ///< penalty loops owed at the penalty fork
  int skied = 0;       ///< loops counted on the penalty ring
  int paid = 0;        ///< loops charged on the clock at the penalty result
};

/// What a racer did, step by step.
struct Watch {
  std::vector<int> laps;  ///< LapsDone + 1 each time it changed
  std::vector<Series> series;
  int prevStance = 0;
  int prevLoops = 0;
  bool hadLane = false;
  int stoppedAt = -1, finishedAt = -1;
  int finishAnim = -1;
  float worstSide = 1e9f;
  int offCourseSteps = 0;
};

struct Sprint {
  const char* layout;
  bool threeLanes;  ///< the range keeps lanes 0 to 2 only
};

void PrintTo(const Sprint& sprint, std::ostream* out) {
  *out << sprint.layout << (sprint.threeLanes ? " with three lanes" : "");
}

class SprintRace : public ::testing::TestWithParam<Sprint> {
 protected:
  void SetUp() override {
    rig = std::make_unique<test::RaceSimRig>(GetParam().layout);
    if (GetParam().threeLanes) {
      rig->path.reset();
      rig->level.triggers.clear();
      rig->level.pointSets.clear();
      rig->level.points.clear();
      test::FillLevel(rig->level, test::ThreeLaneTrack());
      rig->path = std::make_unique<Ai::N_AiPath>();
      ASSERT_TRUE(rig->path->Load(rig->level));
    }
    // What the arcade game's start does before the race: three laps shoot "LSVVV".
    rig->path->GetRelayChangeSector();
    rig->path->SetShootPattern("LSVVV");
    Srand(34);
    race = std::make_unique<N_RaceSim>(test::RaceSimRig::Race(DisciplineCode::kSprint, kRacers,
                                                                GetParam().threeLanes ? kThreeLaneGap : kStartGap, -1, 3),
                                       rig->Services());
    race->Setup(*rig->path);
  }
  void TearDown() override {
    race.reset();
    rig.reset();
  }

  /// The figures move on as the game's frame would move them, without drawing.
  void AdvanceFigures() {
    for (std::size_t i = 0; i < race->RacerCount(); ++i) {
      const N_Racer& r = race->Racer(i);
      if (r.Finished || !r.Athlete || r.Athlete->Figure < 0) continue;
      N_Matrix3 orientation;
      orientation.FromDirection(r.Heading);
      rig->figures->RenderFigure(kStep, r.Athlete->Figure, r.Pos, orientation, r.StartNumber, r.Athlete, false, false,
                                 false);
    }
  }

  void Observe(std::size_t i, int step, float timeBefore) {
    const N_Racer& r = race->Racer(i);
    Watch& w = watches[i];
    if (r.Time < 0.0f && !r.Finished) return;
    if (w.laps.empty() || w.laps.back() != r.LapsDone + 1) w.laps.push_back(r.LapsDone + 1);
    if (r.Lane) w.hadLane = true;
    // A series begins where the racer takes its stance in the range sector.
    if (r.Stance != 0 && w.prevStance == 0) w.series.push_back({r.LapsDone, r.Stance});
    if (!w.series.empty()) {
      Series& s = w.series.back();
      if (r.ShootPhase == 4) s.shot = true;
      if (r.ShootPhase == 6 && r.Lane && s.standing < 0) s.standing = r.Lane->StandingCount();
      if (r.Sector && r.Sector->Flags().Has(3, 16) && s.owed < 0) s.owed = r.PenaltyLoops;
      // The penalty result charges every loop still owed on the clock.
      s.paid += int(std::lround((r.Time - timeBefore - kStep) / kPenaltySeconds));
      if (r.PenaltyLoops < w.prevLoops && r.Sector && r.Sector->PathKind() == Ai::kPathPenalty) {
        s.skied += w.prevLoops - r.PenaltyLoops;
      }
    }
    w.prevStance = r.Stance;
    w.prevLoops = r.PenaltyLoops;
    if (r.Stopped && w.stoppedAt < 0) w.stoppedAt = step;
    if (r.Finished && w.finishedAt < 0) {
      w.finishedAt = step;
      w.finishAnim = r.Anim;
    }
    if (!r.Finished && r.Sector) {
      float sides[3];
      r.Sector->GetSideDistances(r.Pos, sides);
      w.worstSide = std::min({w.worstSide, sides[0], sides[1]});
      if ((r.Sector->Classify(r.Pos) & 4) != 0) ++w.offCourseSteps;
    }
  }

  void Run() {
    watches.assign(race->RacerCount(), {});
    std::vector<float> before(race->RacerCount());
    int step = 0;
    // The race stops once its followed racer is in; the others are stepped on to their finish.
    auto allIn = [&] {
      for (std::size_t i = 0; i < race->RacerCount(); ++i) {
        if (!race->Racer(i).Finished) return false;
      }
      return true;
    };
    for (; step < kStepLimit && !allIn(); ++step) {
      for (std::size_t i = 0; i < race->RacerCount(); ++i) before[i] = race->Racer(i).Time;
      race->Step(kStep, nullptr);
      rig->path->UpdateShootingRange(kStep);
      AdvanceFigures();
      for (std::size_t i = 0; i < race->RacerCount(); ++i) Observe(i, step, before[i]);
    }
    ASSERT_TRUE(allIn()) << "after " << step << " steps";
  }

  std::unique_ptr<test::RaceSimRig> rig;
  std::unique_ptr<N_RaceSim> race;
  std::vector<Watch> watches;
};

TEST_P(SprintRace, EveryRacerSkisShootsPaysAndFinishesThreeLaps) {
  Run();
  ASSERT_EQ(race->RacerCount(), std::size_t(kRacers));
  for (std::size_t i = 0; i < race->RacerCount(); ++i) {
    const N_Racer& r = race->Racer(i);
    const Watch& w = watches[i];
    SCOPED_TRACE("start number " + std::to_string(r.StartNumber));
    EXPECT_EQ(w.laps, (std::vector<int>{1, 2, 3})) << "the lap number in turn";
    EXPECT_EQ(r.LapsDone, 2);
    EXPECT_FALSE(r.Disqualified);
    EXPECT_TRUE(r.Finished);
    ASSERT_GE(w.stoppedAt, 0) << "crossed the line";
    EXPECT_GT(w.finishedAt, w.stoppedAt) << "finished only after its finish animation";
    EXPECT_TRUE(w.finishAnim == 39 || w.finishAnim == 40 || w.finishAnim == 41) << w.finishAnim;
    EXPECT_GE(w.worstSide, 0.0f) << "left the course's sides";
    EXPECT_EQ(w.offCourseSteps, 0);
    EXPECT_TRUE(w.hadLane) << "four racers on three lanes: the fourth finds a free one";
    ASSERT_EQ(w.series.size(), 2u) << "a series after each of the first two laps";
    int missed = 0;
    for (int lap = 0; lap < 2; ++lap) {
      const Series& s = w.series[std::size_t(lap)];
      SCOPED_TRACE("series " + std::to_string(lap));
      EXPECT_EQ(s.lap, lap);
      EXPECT_EQ(s.stance, lap == 0 ? 2 : 1) << "prone first, then standing";
      EXPECT_TRUE(s.shot);
      const int standing = s.standing;
      EXPECT_GE(standing, 0);
      EXPECT_EQ(s.owed, standing) << "owes a loop for every target left standing";
      EXPECT_EQ(s.skied + s.paid, standing) << "every loop owed is skied or paid";
      missed += standing;
    }
    EXPECT_EQ(r.Misses, missed);
  }
  // The HUD's lap number of the followed racer.
  std::vector<int> shown;
  for (const std::string& call : rig->hud.Named("UpdatePlayerStatus")) {
    std::istringstream fields(call);
    std::vector<std::string> words{std::istream_iterator<std::string>(fields), std::istream_iterator<std::string>()};
    const int lap = std::stoi(words.at(words.size() - 2));  // "... position lap laps"
    if (shown.empty() || shown.back() != lap) shown.push_back(lap);
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3}));
}

INSTANTIATE_TEST_SUITE_P(SampleCourses, SprintRace,
                         ::testing::Values(Sprint{"Beitostolen", false}, Sprint{"Holmenkollen", false},
                                           Sprint{"Beitostolen", true}),
                         [](const ::testing::TestParamInfo<Sprint>& info) {
                           return std::string(info.param.layout) + (info.param.threeLanes ? "ThreeLanes" : "");
                         });

}  // namespace
