// The player's race through the game's own keyboard and mouse: the steering of a tap
// and a held key, forward alone never stuck nor falling in a lap of any course, a whole
// sprint on each course played by the simple player of tests/race/AutoPlayer.h against
// the field (and the field's speeds on the slopes), and his way into his lane and on
// from it at both stops of a sprint, a pursuit and a mass start.
#include "core/Globals.h"
#include "core/KeyDefinitions.h"
#include "core/PlayerControls.h"
#include "core/Random.h"
#include "core/VarMng.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/GameTraining.h"
#include "race/LevelTables.h"
#include "race/RaceSim.h"
#include "race/Racer.h"
#include "race/RacerControl.h"
#include "race/ShootLane.h"
#include "race/SkierPhysics.h"
#include "race/Technique.h"
#include "race/ai/AiPathTree.h"
#include "race/ai/AiSector.h"
#include "race/ai/AiTableMng.h"
#include "race/ai/SplitTable.h"
#include "render/Camera.h"
#include "scene/SceneAccess.h"
#include "tests/core/InputRig.h"
#include "tests/race/AutoPlayer.h"
#include "tests/race/CourseNetwork.h"
#include "tests/race/PlayerRaceRig.h"
#include "tests/race/RaceSimRig.h"
#include "tools/CourseLayout.h"
#include "tools/CourseTrack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr float kStep = 0.033f;
constexpr float kRadToDeg = 57.29578f;
constexpr float kRacingSpeed = 8.0f;  ///< m/s, skating on the flat

float HeadingAngle(const N_Racer& r) { return std::atan2(r.Heading.y, r.Heading.x) * kRadToDeg; }

/// The tightest bend of a sample course's paths the racers ski (the ring, the start,
/// the penalty loop and the finish path): its radius in m.
float TightestBend(const course::Layout& layout) {
  const course::Track track = course::BuildTrack(layout, course::Terrain(layout));
  float tightest = 1e9f;
  for (const course::PathKind kind : {course::kNormal, course::kSprintStart, course::kPenalty, course::kCiel}) {
    const std::vector<course::Section>& path = track.paths[kind];
    for (std::size_t i = 0; i + 2 < path.size(); ++i) {
      const course::Vec2 a = course::Plan(path[i + 1].ideal) - course::Plan(path[i].ideal);
      const course::Vec2 b = course::Plan(path[i + 2].ideal) - course::Plan(path[i + 1].ideal);
      const float turn = std::fabs(std::atan2(course::Cross(a, b), course::Dot(a, b)));
      if (turn > 1e-4f) tightest = std::min(tightest, (course::Length(a) + course::Length(b)) * 0.5f / turn);
    }
  }
  return tightest / 39.37f;
}

TEST(PlayerSteering, ATapTurnsAFewDegreesAndAHeldKeyFollowsTheTightestBend) {
  test::InputRig keys;
  ResetKeyDefinitions();
  test::CopyFromGameRoot(keys.dir, "data/Ai");
  Ai::N_AiTableMng tables;
  tables.LoadAnimPhysicTable("Data\\Ai\\Anims.physics");
  ASSERT_EQ(tables.PhysicRowCount(), 48u);
  N_AthletProfile athlete;
  // At racing speed on the flat, the left key held for the seconds and then let go,
  // through the keys, the technique choice and the physics step; the turn in degrees.
  const auto turn = [&](float seconds) {
    N_Racer r(athlete, 2, 10.0f, 0, false, false);
    r.Heading = {1.0f, 0.0f, 0.0f};
    r.Speed = kRacingSpeed;
    r.Power = 1.0f;
    r.Terrain = 1;
    r.Anim = SkierAnim::kSkate;
    const int held = int(std::lround(seconds / kStep));
    for (int step = 0; step < held + 30; ++step) {
      keys.input.KeyDown(DIK_W);
      if (step < held) {
        keys.input.KeyDown(DIK_A);
      } else {
        keys.input.KeyUp(DIK_A);
      }
      keys.Frame();
      N_PlayerControls controls;
      controls.Poll();
      int anim = r.Anim;
      ChooseTechniqueAuto(r, anim, kStep);
      PlayerInput(r, controls, kStep);
      N_Vector3 out;
      SkierPhysicsStep(r, tables.GetAnimPhysicRow(r.Anim), kStep, out);
      r.Anim = anim;
      r.Speed = kRacingSpeed;
    }
    keys.input.KeyUp(DIK_A);
    return HeadingAngle(r);
  };
  const float tap = turn(0.1f), second = turn(1.0f);
  std::printf("turn of a 0.1 s tap %.1f degrees, of a key held 1 s %.1f degrees\n", double(tap), double(second));
  EXPECT_GT(tap, 0.0f);
  EXPECT_LE(tap, 10.0f);
  EXPECT_GE(second, 45.0f);
  EXPECT_LE(second, 75.0f);
  // Held on, the skating turn follows the tightest bend of every sample course at
  // racing speed.
  for (const course::Layout& layout : course::Layouts()) {
    const float needed = kRacingSpeed / TightestBend(layout);
    EXPECT_LT(needed, tables.GetAnimPhysicRow(SkierAnim::kSkateTurnLeft)[SkierPhysicsColumn::kTurnRate]) << layout.name;
  }
}

TEST(PlayerRace, ASkierHoldingOnlyForwardSlidesAlongTheSidesAndIsNeverStuck) {
  test::RaceSimRig rig;
  N_GameArcade game(test::RaceSimRig::Race(DisciplineCode::kSprint, 3, 7.0f, 2), rig.Services());
  game.Load();
  game.Init();
  game.SetPaused(0);
  const N_Racer& r = *game.RaceSim()->Followed();
  rig.input.KeyDown(static_cast<BYTE>(g_keyDefinitions[key_action::kForward]));
  // Five-second windows of the first minute, past the start's bend into the stadium
  // and the loop's first bends: he gets on, bend after bend.
  constexpr float kFrame = 0.1f;
  N_Vector3 from = r.Pos;
  float window = 0.0f;
  int frames = 0;
  for (; r.Time < 60.0f && frames < 2000; ++frames) {
    rig.inputMng->Update();
    game.Update(kFrame);
    game.Render(kFrame);
    if (frames % 100 == 0) rig.device->ClearCalls();
    if (r.Time < 0.0f) {
      from = r.Pos;
      continue;
    }
    window += kFrame;
    if (window >= 5.0f) {
      const N_Vector3 d = r.Pos - from;
      EXPECT_GT(std::hypot(d.x, d.y), 10.0f * 39.37f) << "moved on by " << r.Time << " s";
      from = r.Pos;
      window = 0.0f;
    }
  }
  EXPECT_EQ(r.Sector->PathKind(), Ai::kPathNormal);
}

/// Counts the penalty loops the player skis: one each time he enters the sector of the
/// penalty count.
struct LoopCount {
  void Update(const N_Racer& r) {
    const bool on = r.Sector && r.Sector->Flags().Has(1, 0x08);
    if (on && !wasOn) ++loops;
    wasOn = on;
  }
  bool wasOn = false;
  int loops = 0;
};

/// The cosine of the facing a series needs.
constexpr float kFacing = 0.98f;

/// The cosine between the racer's heading and a direction, in the ground plane.
float FacingCosine(const N_Racer& r, N_Vector3 direction) {
  N_Vector3 heading = r.Heading;
  heading.z = direction.z = 0.0f;
  heading.Normalize();
  direction.Normalize();
  return Vec3Dot(heading, direction);
}

/// The point lies within the frame camera's field of view (its width, about its axis).
bool InView(const N_Vector3& point) {
  if (!g_scene.camera) return false;
  N_Vector3 to = point - g_scene.camera->position;
  to.Normalize();
  return Vec3Dot(to, g_scene.camera->axisZ * -1.0f) > std::cos(g_scene.camera->fov * 0.5f);
}

/// A stop at the range as the player went through it: from the stadium's entry to his
/// stand, on it, and from the end of his series to his next checkpoint.
struct RangeStop {
  int stance = 0;
  float entry = 0.0f;     ///< race time at the stadium's entry
  float stand = -1.0f;    ///< on his stand
  int contacts = 0;       ///< with other racers on the way in
  bool touching = false;
  int onMats = 0;         ///< others on their mats as he arrived
  /// The arrow's least height on the screen on the way in, pixels (-1 for a frame without
  /// it or under a standings board), and the farthest its middle was off the screen's.
  float smallestMarker = 1e30f, offMiddle = 0.0f;
  float passed = -1.0f, passedBy = 1e30f;  ///< the closest he came to his stand, first time by
  int standFrames = 0;    ///< frames on the stand before the series could begin
  int turnFrames = 0;     ///< of them with a turn key held
  bool series = false;    ///< the series began
  float facing = -2.0f;   ///< cosine of his heading to the targets as it began
  bool targetsInView = false;  ///< from his facing them to the first aim
  bool aimed = false;
  float seriesEnd = -1.0f;  ///< when he left his lane
  int loopsOwed = -1;     ///< then
  int lapsDone = 0;
  int wayOn = 0;          ///< 1 the penalty loop came next, 2 the lap count
  bool back = false;      ///< back on the course after the loops owed, or at the next lap
  float onwards = 0.0f;   ///< seconds from his lane to there
  float looping = 0.0f;   ///< of them in the penalty loops
  bool moving = false;    ///< under way after the series
  bool falling = false;
  float slow = 0.0f;      ///< seconds under 1 m/s since he was last under way
  int halts = 0;          ///< falls, and stops under 1 m/s for over a second, on that way

  /// Takes in a frame from the stadium's entry on, his keys decided for it.
  void Watch(const N_Racer& r, const test::AutoPlayer& policy, const N_RaceSim& sim, float dt) {
    if (stance == 0 && r.ShootPhase != 9) stance = r.Stance;
    if (stand >= 0.0f && r.ShootPhase == 9) return Leaving(r, dt);
    if (stand < 0.0f && (r.ShootPhase <= 1 || r.ShootPhase == 9)) WayIn(r, policy, sim);
    if (r.ShootPhase >= 3 && r.ShootPhase <= 8 && stand < 0.0f) {
      stand = r.Time;
      for (std::size_t i = 0; i < sim.RacerCount(); ++i) {
        onMats += &sim.Racer(i) != &r && sim.Racer(i).ShootPhase >= 3 && sim.Racer(i).ShootPhase <= 7;
      }
    }
    if (r.ShootPhase == 3) ++standFrames;
    if (r.ShootPhase == 3 && policy.Turning()) ++turnFrames;
    const N_Vector3* target = r.Lane ? r.Lane->TargetPosition(N_ShootLane::kTargetCount / 2) : nullptr;
    if (r.ShootPhase == 4 && target) {
      series = true;
      facing = FacingCosine(r, *target - r.Pos);
    }
    // In view from his facing them on the stand to the series' first aim.
    if (target && (r.ShootPhase == 4 || (r.ShootPhase == 5 && !aimed))) {
      targetsInView = targetsInView || InView(*target);
    }
    aimed = aimed || r.ShootPhase == 5;
  }
  /// On his way to the stand: racers within touch (their spheres meet at 40), the arrow
  /// as drawn, how near he passes his stand.
  void WayIn(const N_Racer& r, const test::AutoPlayer& policy, const N_RaceSim& sim) {
    bool now = false;
    for (std::size_t i = 0; i < sim.RacerCount(); ++i) {
      const N_Racer& other = sim.Racer(i);
      if (&other == &r || other.Time < 0.0f || other.Finished) continue;
      now = now || Vec3Dot(other.Pos - r.Pos, other.Pos - r.Pos) < 41.0f * 41.0f;
    }
    contacts += now && !touching;
    touching = now;
    // The lane is given as he enters; he sees the arrow from the frame after.
    const bool seen = policy.ArrowDrawn() && !(sim.SplitTable() && sim.SplitTable()->Shown());
    if (r.Time > entry) smallestMarker = std::min(smallestMarker, seen ? policy.ArrowBox().height : -1.0f);
    if (seen) offMiddle = std::max(offMiddle, std::fabs(policy.ArrowBox().centreX));
    if (r.Lane && passed < 0.0f) {
      const N_Vector3 d = r.Lane->StandPosition() - r.Pos;
      const float by = std::hypot(d.x, d.y);
      if (by > passedBy && passedBy < 200.0f) passed = r.Time;
      passedBy = std::min(passedBy, by);
    }
  }
  /// A frame after the stop, skiing on, until he is back on the course.
  void Leaving(const N_Racer& r, float dt) {
    if (seriesEnd < 0.0f) {
      seriesEnd = r.Time;
      loopsOwed = r.PenaltyLoops;
      lapsDone = r.LapsDone;
    }
    if (back) return;
    const bool loop = r.Sector && r.Sector->PathKind() == Ai::kPathPenalty;
    if (wayOn == 0) wayOn = loop ? 1 : (r.LapsDone > lapsDone ? 2 : 0);
    back = wayOn == 1 ? !loop && r.PenaltyLoops == 0 : wayOn == 2;
    onwards = r.Time - seriesEnd;
    looping += loop ? dt : 0.0f;
    halts += r.FallState != 0 && !falling;
    falling = r.FallState != 0;
    slow = moving && r.Speed < 1.0f ? slow + dt : 0.0f;
    halts += slow > 1.0f && slow - dt <= 1.0f;
    moving = moving || (r.Speed > 2.0f && !falling);
  }
};

/// A race of the player's arcade page.
struct RangeRace {
  const char* name;
  std::int32_t discipline;
  int laps;
  int racers;
  int player;  ///< his entry (and lane)
  float gap;   ///< seconds between the starts
  int misses;  ///< per series
  float beside = 0.0f;  ///< on his first way in he steers this many arrow boxes beside it
};

void PrintTo(const RangeRace& race, std::ostream* out) { *out << race.name; }

/// A race played by the simple player, seeded before the course loads (the spectators
/// draw their first timers there, and the race draws from the same sequence): the
/// result's rows, the player's start number, his shots and loops skied, his stops at
/// the range, where he was at each frame, and the computer racers' speeds on the
/// course's slopes. With `stops`, it ends once the last of them has its way on.
struct PlayedRace {
  bool over = false;
  std::vector<N_ResultRow> rows;
  std::int32_t number = 0;
  int shots = 0;
  int loops = 0;
  std::vector<RangeStop> stops;
  std::vector<N_Vector3> track;
  std::optional<test::TerrainSpeeds> speeds;
};

/// The way on from a stop, forward alone: into the penalty loop when he owes one, else
/// to the next lap, and back on the course after every loop he owes, without a fall or
/// a stop, within the time the loops take him and 25 s.
void ExpectWayOn(const RangeStop& stop) {
  EXPECT_EQ(stop.wayOn, stop.loopsOwed > 0 ? 1 : 2) << "the way on: 1 the penalty loop, 2 the next lap";
  EXPECT_TRUE(stop.back) << "back on the course";
  EXPECT_LE(stop.onwards - stop.looping, 25.0f) << "outside the loops";
  EXPECT_EQ(stop.halts, 0) << "no fall and no stop on the way on";
}

PlayedRace PlayRace(const char* course, const RangeRace& race, std::size_t stops = 0) {
  Srand(11);
  test::PlayerRaceRig rig(course);
  ResetKeyDefinitions();
  N_GameArcade& game = rig.StartRace(race.discipline, race.racers, race.player, race.gap, race.laps);
  const N_Racer& player = rig.Player();
  const N_RaceSim& sim = *game.RaceSim();
  PlayedRace played;
  played.number = player.StartNumber;
  test::AutoPlayer policy(rig.input, sim, *game.Path(), race.misses, race.beside);
  LoopCount loops;
  played.speeds.emplace(test::LapSectors(*game.Path()->Tree(), rig.ArcadeTable()));
  // The stadium's entry: its frame's origin, the straight along its x axis.
  const course::Frame& stadium = course::FindLayout(course)->frame;
  float past = stadium.Local({player.Pos.x, player.Pos.y}).x;
  constexpr float kFrame = 2.0f * kStep;  // a player at 15 frames a second
  constexpr int kFrameLimit = int(1800.0f / kFrame);
  for (int frames = 0; rig.world->Game() && frames < kFrameLimit; ++frames) {
    if (stops && played.stops.size() == stops && played.stops.back().back) break;
    policy.Frame();
    // A stop is watched from the stadium's entry; one without a lane given is dropped
    // at the next entry (the finish path crosses it too).
    const course::Vec2 at = stadium.Local({player.Pos.x, player.Pos.y});
    if (past < 0.0f && at.x >= 0.0f && std::fabs(at.y) < 1000.0f) {
      if (!played.stops.empty() && played.stops.back().stance == 0) played.stops.pop_back();
      played.stops.push_back({.entry = player.Time});
    }
    past = at.x;
    if (!played.stops.empty()) played.stops.back().Watch(player, policy, sim, kFrame);
    played.shots = player.Shots;
    loops.Update(player);
    played.track.push_back(player.Pos);
    for (std::size_t i = 0; i < sim.RacerCount(); ++i) {
      if (&sim.Racer(i) != &player) played.speeds->Sample(sim.Racer(i));
    }
    rig.Frame(kFrame);
  }
  if (!played.stops.empty() && played.stops.back().stance == 0) played.stops.pop_back();
  played.loops = loops.loops;
  played.over = rig.world->Game() == nullptr;
  if (const ExportData* result = GetFinishedResult(g_varMng->GetInt("egd"))) played.rows = result->Rows;
  return played;
}

/// The arcade page's sprint: the player last of `racers` started 7 s apart, one shot of
/// each series over the targets.
PlayedRace PlaySprint(const char* course, int racers) {
  return PlayRace(course, {"Sprint", DisciplineCode::kSprint, 3, racers, racers - 1, 7.0f, 1});
}

class PlayerSprint : public ::testing::TestWithParam<const char*> {};

TEST_P(PlayerSprint, TheSimplePlayerFinishesNearTheFieldWithBothSeriesAndItsLoops) {
  constexpr int kRacers = 15;
  const PlayedRace played = PlaySprint(GetParam(), kRacers);
  ASSERT_TRUE(played.over) << "the race is over";
  ASSERT_EQ(played.rows.size(), std::size_t(kRacers));
  N_ResultRow mine;
  std::vector<float> field;
  for (const N_ResultRow& row : played.rows) {
    if (row.StartNumber == played.number) {
      mine = row;
      continue;
    }
    EXPECT_GT(row.Time, 0.0f) << "computer racer " << row.StartNumber << " finished";
    field.push_back(row.Time);
  }
  ASSERT_EQ(mine.StartNumber, played.number);
  std::sort(field.begin(), field.end());
  const float median = field[field.size() / 2];
  std::printf("%s: the player %.1f s (%d falls, %d misses, %d loops skied), the field's median %.1f s (%+.0f%%)\n",
              GetParam(), double(mine.Time), mine.Falls, mine.Misses, played.loops, double(median),
              double((mine.Time / median - 1.0f) * 100.0f));
  EXPECT_GT(mine.Time, 0.0f) << "finished";
  EXPECT_EQ(mine.LapsDone, 2);  // the finish fork comes before the third lap's mark
  EXPECT_EQ(played.shots, 10) << "both series shot";
  ASSERT_EQ(played.stops.size(), 2u);
  EXPECT_EQ(played.stops[0].stance, 2) << "prone first";
  EXPECT_EQ(played.stops[1].stance, 1);
  for (const RangeStop& stop : played.stops) {
    std::printf("%s: stop of stance %d, back on the course %.1f s after the series (%.1f s in %d loops)\n", GetParam(),
                stop.stance, double(stop.onwards), double(stop.looping), stop.loopsOwed);
    ExpectWayOn(stop);
  }
  // One shot of each series goes over the targets; the rifle's sway may take one he aimed.
  EXPECT_GE(mine.Misses, 2);
  EXPECT_EQ(played.loops, mine.Misses) << "every loop owed skied";
  EXPECT_LE(mine.Falls, 2);
  EXPECT_LE(mine.Time, median * 1.4f);
  EXPECT_GE(mine.Time, median * 0.6f);

  // The slopes matter: on the steepest climb at most 60% of the speed on the flat, in
  // the herringbone; on the steepest descent at least 130%, partly in the tuck.
  using S = test::TerrainSpeeds;
  const S& speeds = *played.speeds;
  const float climb = speeds.Mean(S::kClimb), flat = speeds.Mean(S::kFlat), descent = speeds.Mean(S::kDescent);
  std::printf("%s: the field's mean speeds on the steepest climb %.2f m/s, the flat %.2f m/s, the steepest descent "
              "%.2f m/s\n",
              GetParam(), double(climb), double(flat), double(descent));
  EXPECT_LE(climb, 0.6f * flat);
  EXPECT_GE(descent, 1.3f * flat);
  EXPECT_GT(speeds.Herringbone(S::kClimb), 0.5f) << "up the climb in the herringbone";
  EXPECT_GT(speeds.Tuck(S::kDescent), 0.05f) << "down the descent in the tuck";
  EXPECT_EQ(speeds.Herringbone(S::kFlat) + speeds.Tuck(S::kFlat), 0.0f) << "skating on the flat";
}

/// Every course of the arcade page and the full table.
const auto kCourses = ::testing::Values("Beitostolen", "Holmenkollen", "Ostersund", "Oberhof", "Ruhpolding",
                                        "Antholz", "Pokljuka", "Hochfilzen", "Torino", "Khanty-Mansiysk");
INSTANTIATE_TEST_SUITE_P(SampleCourses, PlayerSprint, kCourses);

/// The running training on every course with a level: the full table's 11 rows (its page's
/// default) with "Running", then the arcade table's 8 short ones (with the short cut).
class PlayerTraining : public ::testing::TestWithParam<int> {};

/// One whole lap, from the start through the stadium and the range back to the start
/// paths' last junction: no fall, never under 1 m/s for over a second, and into the
/// stadium facing along it (within 5 degrees).
TEST_P(PlayerTraining, HoldingOnlyForwardHeSkisALapWithoutAFallOrAStop) {
  const bool shortCourse = GetParam() > 10;
  const char* course = GetLevelName(GetParam() % 11, shortCourse);
  test::PlayerRaceRig rig(course);
  ResetKeyDefinitions();
  N_GameTraining& training = rig.StartRunTraining(shortCourse);
  const N_Racer& r = *training.Racer();
  Ai::N_AiSector* stadium = training.Path()->Tree()->Head(Ai::N_AiPathTree::kNormal);
  const Ai::N_AiSector* lapEnd = test::FlaggedSector(stadium, 3, 0x04);
  ASSERT_NE(lapEnd, nullptr);
  rig.input.KeyDown(static_cast<BYTE>(g_keyDefinitions[key_action::kForward]));
  constexpr float kFrame = 2.0f * kStep;
  float slow = 0.0f, inStadium = -1.0f;  // when he came into the stadium
  for (int frames = 0; (inStadium < 0.0f || r.Sector != lapEnd) && frames < 9000; ++frames) {
    rig.Frame(kFrame);
    if (r.Time < 0.0f) continue;
    if (r.Sector == stadium && inStadium < 0.0f) {
      // The range lies straight ahead: he comes in facing it, whatever bend came before.
      inStadium = r.Time;
      const N_Vector3 d = stadium->Direction();
      EXPECT_LT(std::fabs(std::atan2(d.x * r.Heading.y - d.y * r.Heading.x, Vec3Dot(d, r.Heading))), 0.09f);
    }
    slow = r.Speed < 1.0f ? slow + kFrame : 0.0f;
    ASSERT_EQ(r.Falls + r.FallState, 0) << "a fall at " << r.Time << " s";
    ASSERT_LE(slow, 1.0f) << "standing at " << r.Time << " s";
  }
  EXPECT_GE(inStadium, 0.0f) << "the loop done";
  EXPECT_EQ(r.Sector, lapEnd) << "through the stadium";
}

INSTANTIATE_TEST_SUITE_P(SampleCourses, PlayerTraining, ::testing::Range(0, 11 + 8));

class PlayerRange : public ::testing::TestWithParam<RangeRace> {};

/// Both stops of a sprint, a pursuit and a mass start of the default field: the lane
/// arrow, drawn from the stadium's entry and well in view, leads him to his stand past
/// every other racer, in a crowd at the first stop of the pursuit and the mass start;
/// the prone series begins without a turn, the standing one once he has turned to his
/// targets in view; forward alone leads on to the penalty loop he owes or his next lap.
/// Told to pass his stand a mat's width beside it, he finds it again by the arrow.
TEST_P(PlayerRange, HisLaneIsSeenFromTheStadiumAndReachedFreeInAFullFieldAndForwardLeadsOn) {
  const RangeRace& race = GetParam();
  const PlayedRace played = PlayRace("Beitostolen", race, 2);
  ASSERT_EQ(played.stops.size(), 2u);
  if (race.discipline != DisciplineCode::kSprint) {
    EXPECT_GE(played.stops[0].onMats, 5) << "the first stop in a crowd";
  }
  for (std::size_t i = 0; i < played.stops.size(); ++i) {
    const RangeStop& stop = played.stops[i];
    const bool missed = race.beside != 0.0f && i == 0;
    SCOPED_TRACE(race.name + std::string(stop.stance == 2 ? ", a prone stop" : ", a standing stop"));
    std::printf("%s: on the stand %.1f s after the entry (%.0f units off it at the closest), %d on the mats, %d "
                "contacts; way on %d, back after %.1f s (%.1f s in %d loops)\n", race.name, double(stop.stand - stop.entry),
                double(stop.passedBy), stop.onMats, stop.contacts, stop.wayOn, double(stop.onwards), double(stop.looping),
                stop.loopsOwed);
    ASSERT_GE(stop.stand, 0.0f) << "his stand reached";
    // Drawn from the stadium's entry until he is on his stand, no split standings over it.
    EXPECT_GE(stop.smallestMarker, missed ? 0.0f : 24.0f) << "the arrow well in view all the way";
    if (missed) {
      EXPECT_NEAR(stop.passedBy, 80.0f, 40.0f) << "past it a mat's width beside it";
      EXPECT_LE(stop.stand - stop.passed, 15.0f) << "on it again by the arrow";
    } else {
      EXPECT_EQ(stop.contacts, 0);
      EXPECT_LE(stop.stand - stop.entry, 20.0f);
      EXPECT_LE(stop.offMiddle, 300.0f) << "the arrow in the middle three quarters of the screen";
      if (stop.stance == 2) {
        EXPECT_LE(stop.standFrames, 1) << "the prone series needs no turn";
      }
    }
    EXPECT_TRUE(stop.series);
    if (stop.stance == 1) {
      EXPECT_GT(stop.turnFrames, 0) << "turned to the targets";
      EXPECT_GT(stop.facing, kFacing);
      EXPECT_TRUE(stop.targetsInView);
    }
    ExpectWayOn(stop);
  }
}

INSTANTIATE_TEST_SUITE_P(Beitostolen, PlayerRange,
                         ::testing::Values(RangeRace{"Sprint", DisciplineCode::kSprint, 3, 15, 14, 7.0f, 1},
                                           RangeRace{"Pursuit", DisciplineCode::kHunting, 5, 15, 10, 3.0f, 1},
                                           RangeRace{"MassStart", DisciplineCode::kMassStart, 3, 15, 14, 0.0f, 0},
                                           RangeRace{"NearMiss", DisciplineCode::kSprint, 3, 15, 14, 7.0f, 1, 0.6f}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlayerSprintAgain, TheSameSeedSkisTheSameRaceWhateverRanBefore) {
  constexpr int kRacers = 4;
  const PlayedRace first = PlaySprint("Holmenkollen", kRacers);
  PlaySprint("Beitostolen", kRacers);
  const PlayedRace again = PlaySprint("Holmenkollen", kRacers);
  ASSERT_TRUE(first.over && again.over);
  const auto result = [](const PlayedRace& p) {
    std::vector<std::tuple<std::int32_t, float, std::int32_t, std::int32_t>> rows;
    for (const N_ResultRow& r : p.rows) rows.emplace_back(r.StartNumber, r.Time, r.Falls, r.Misses);
    return rows;
  };
  EXPECT_EQ(result(first), result(again));
  const auto equal = [](const N_Vector3& a, const N_Vector3& b) { return Vec3Dot(a - b, a - b) == 0.0f; };
  const std::size_t same = std::size_t(
      std::mismatch(first.track.begin(), first.track.end(), again.track.begin(), again.track.end(), equal).first -
      first.track.begin());
  EXPECT_EQ(same, first.track.size()) << "the player went his own way from frame " << same;
  EXPECT_EQ(first.track.size(), again.track.size());
}

}  // namespace
