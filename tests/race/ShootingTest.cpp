// The shooting at the range, headless: the player's racer through its phases at a lane of
// the sample course with scripted mouse and keys (reloads, hits, misses, "Stopka", the
// rifle put down, the view switched and back), a relay's spare cartridge, one shot
// through two overlapping targets, the developer keys, the aim sway, and the computer
// racer's phases with its hit rate and its waits between shots.
#include "core/KeyDefinitions.h"
#include "core/PlayerControls.h"
#include "core/Random.h"
#include "platform/dinput8.h"
#include "race/AiPilot.h"
#include "race/AiShooting.h"
#include "race/AimSway.h"
#include "race/AthletProfile.h"
#include "race/PlayerShooting.h"
#include "race/Racer.h"
#include "race/ShootStand.h"
#include "race/ShootingCues.h"
#include "race/ShootingRange.h"
#include "render/Camera.h"
#include "scene/AnimInstance.h"
#include "scene/SceneAccess.h"
#include "tests/core/InputRig.h"
#include "tests/race/AiPathSupport.h"
#include "tests/race/NotingCues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using test::NotingCues;

/// Squared distance between two points.
double Apart(const N_Vector3& a, const N_Vector3& b) { return (a - b).LengthSq(); }

int Count(const std::vector<std::string>& calls, const std::string& call) {
  return int(std::count(calls.begin(), calls.end(), call));
}

/// The sample course's path network (range, triggers, entry and exit points) with the
/// scripted keyboard and mouse, the player's controls, a camera the test aims and one
/// racer at lane `lane` (Stance prone unless said), its cues noted.
struct ShootingRig {
  explicit ShootingRig(int lane = 4, std::int32_t stance = 2, bool relay = false) {
    Srand(34);
    ResetKeyDefinitions();
    EXPECT_TRUE(path.Load(test::SampleTrack("Beitostolen")));
    racer = std::make_unique<N_Racer>(athlete, 2, 10.0f, 0, false, relay);
    racer->Stance = stance;
    racer->Lane = path.path.GetStand(lane);
    racer->Lane->SetInUse(true);
    racer->ShootPhase = 0;
    phases.push_back(0);
    EXPECT_TRUE(FindShootStand(path.path, *racer->Lane, stand));
    g_scene.camera = &camera;
    SetShootingCues(&cues);
  }
  ~ShootingRig() {
    SetShootingCues(nullptr);
    g_scene.camera = nullptr;
  }
  N_ShootingRange& Range() { return *path.path.ShootingRange(); }
  N_Shooter& Rifle() { return *Range().Shooter(); }
  const N_Vector3& Target(int i) { return *racer->Lane->TargetPosition(i); }
  /// The rifle's animation now (its place in N_Shooter's order).
  int RifleAnimation() {
    const int action = Rifle().Set()->Instance(Rifle().InstanceIndex())->channel1.actionIndex;
    const std::vector<int>& all = Rifle().Animations();
    return int(std::find(all.begin(), all.end(), action) - all.begin());
  }
  /// Up and aside, far from every target.
  N_Vector3 Sky() { return Rifle().EyePoint() + N_Vector3{300.0f, 300.0f, 1000.0f}; }
  void Aim(const N_Vector3& at) {
    const N_Vector3 eye = Rifle().EyePoint();
    camera.LookAt(&eye, &at);
  }
  /// One race step: the input polled, the range updated, then the player's shooting.
  void Step(float dt = 0.033f) {
    input.Frame();
    controls.Poll();
    path.path.UpdateShootingRange(dt);
    PlayerShooting(*racer, path.path, controls, dt);
    if (phases.empty() || phases.back() != racer->ShootPhase) phases.push_back(racer->ShootPhase);
  }
  void Click(int button) {
    input.input.ButtonDown(button);
    Step();
    input.input.ButtonUp(button);
    Step();
  }
  /// Steps until the condition holds (false after 600 steps).
  template <class F>
  bool StepUntil(F done) {
    for (int i = 0; i < 600 && !done(); ++i) Step();
    return done();
  }
  /// Reloads, waits for the cartridge, aims at the point and shoots.
  void ShootAt(const N_Vector3& at) {
    Click(1);
    EXPECT_TRUE(StepUntil([&] { return racer->ReloadProgress >= 1.0f; }));
    Aim(at);
    Click(0);
  }

  test::InputRig input;  // first: its core services give way to the path's
  test::PathRig path;
  N_AthletProfile athlete;
  std::unique_ptr<N_Racer> racer;
  N_ShootStand stand;
  N_PlayerControls controls;
  N_Camera camera;
  NotingCues cues;
  std::vector<std::int32_t> phases;
};

/// The racer on its stand facing the lane at phase 4 with the preparation played: the
/// series begins with the next step.
void ToSeries(ShootingRig& r) {
  r.racer->ShootPhase = 4;
  r.racer->Pos = r.racer->Lane->StandPosition();
  r.racer->Anim = r.racer->Stance == 2 ? 23 : 29;
  r.racer->AnimPhase = 1.0f;
  r.Step();
  ASSERT_EQ(r.racer->ShootPhase, 5);
  r.Aim(r.Target(2));
  ASSERT_TRUE(r.StepUntil([&] { return r.Rifle().SeriesState().aiming != 0; }));
  r.cues.Take();
}

TEST(PlayerShooting, ASeriesFromTheApproachToTheReleasedLane) {
  ShootingRig r;
  N_Racer& racer = *r.racer;
  const N_Vector3 standPos = racer.Lane->StandPosition();
  // Skiing outside the approach box, then into it.
  racer.PrevPos = racer.Pos = standPos + N_Vector3{3000.0f, 3000.0f, 0.0f};
  r.Step();
  r.Step();
  EXPECT_EQ(racer.ShootPhase, 1);
  racer.PrevPos = racer.Pos = r.stand.approach.center;
  r.Step();
  EXPECT_EQ(racer.ShootPhase, 3);
  EXPECT_EQ(Apart(racer.Pos, standPos), 0.0);
  // Facing along the lane is wrong for a prone racer; across it is right.
  racer.Heading = racer.Lane->ShootDirection();
  r.Step();
  EXPECT_EQ(racer.ShootPhase, 3);
  const N_Vector3 d = racer.Lane->ShootDirection();
  racer.Heading = {d.y, -d.x, 0.0f};
  r.Step();
  EXPECT_EQ(racer.ShootPhase, 4);
  // The race camera in use: End still leaves the free camera.
  r.path.race.core.vars->SetInt("viewmode", 0, 2);
  racer.Anim = 23;
  racer.AnimPhase = 0.5f;
  r.Step();
  EXPECT_EQ(racer.ShootPhase, 4);
  racer.AnimPhase = 1.0f;
  r.Step();
  EXPECT_EQ(racer.ShootPhase, 5);
  EXPECT_EQ(r.path.race.core.vars->GetInt("viewmode"), 2);
  EXPECT_LT(Apart(r.Rifle().EyePoint(), standPos + N_Vector3{0.0f, 0.0f, 30.0f}), 1e-6);
  const std::vector<std::string> lines = r.path.race.AiLogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "E_R_START_SHOOT"), 2) << "every step of phase 4";
  EXPECT_EQ(r.cues.Take(), (std::vector<std::string>{"ShowShootingPage", "HidePlayerStatus"}));

  r.Aim(r.Target(2));
  ASSERT_TRUE(r.StepUntil([&] { return r.Rifle().SeriesState().aiming != 0; }));
  r.Click(0);
  EXPECT_EQ(r.cues.Take(), std::vector<std::string>{"sound 29"}) << "not loaded";
  EXPECT_EQ(r.Rifle().SeriesState().shots, 0);

  r.ShootAt(r.Target(3));
  std::vector<std::string> calls = r.cues.Take();
  EXPECT_EQ(Count(calls, "sound 30"), 1) << "reloaded";
  EXPECT_EQ(Count(calls, "sound 27"), 1) << "hit";
  EXPECT_EQ(Count(calls, "UpdateShootTable 8"), 1);
  EXPECT_EQ(racer.Lane->HitMask(), 8u);
  EXPECT_EQ(racer.Shots, 1);

  // Aiming up into the sky: "Stopka" once, the shot a miss; back on target hides it.
  r.ShootAt(r.Sky());
  r.Step();
  calls = r.cues.Take();
  EXPECT_EQ(Count(calls, "ShowStopwatch"), 1);
  EXPECT_EQ(Count(calls, "sound 28"), 1);
  EXPECT_EQ(Count(calls, "UpdateShootTable 8"), 1);
  EXPECT_EQ(r.Rifle().SeriesState().misses, 1);
  r.ShootAt(r.Target(0));
  calls = r.cues.Take();
  EXPECT_EQ(Count(calls, "HideStopwatch"), 1);
  EXPECT_EQ(Count(calls, "ShowStopwatch"), 0);
  r.ShootAt(r.Target(1));
  r.ShootAt(r.Target(1));  // already down: a miss
  EXPECT_EQ(racer.Lane->HitMask(), 0b01011u);
  EXPECT_EQ(r.Rifle().SeriesState().misses, 2);

  // The fifth shot puts the rifle down; once down the series ends.
  ASSERT_TRUE(r.StepUntil([&] { return racer.ShootPhase == 6; }));
  EXPECT_EQ(racer.Bullets, 0);
  EXPECT_EQ(racer.PenaltyLoops, 2);
  EXPECT_EQ(racer.Misses, 2);
  EXPECT_EQ(r.path.race.core.vars->GetInt("viewmode"), 1);
  calls = r.cues.Take();
  EXPECT_EQ(Count(calls, "StopHeartbeat"), 1);
  EXPECT_EQ(Count(calls, "CloseShootingPage"), 1);
  EXPECT_FALSE(r.Rifle().Shown());

  racer.Anim = 25;
  r.Step();
  EXPECT_EQ(racer.ShootPhase, 8);
  EXPECT_EQ(racer.ShowPenalty, 1);
  EXPECT_EQ(r.cues.Take(), (std::vector<std::string>{"ShowPenaltyRounds 2", "ShowPlayerStatus " + r.athlete.AthletName}));
  N_ShootLane* lane = racer.Lane;
  r.Step();
  EXPECT_EQ(racer.ShootPhase, 9);
  EXPECT_EQ(racer.Lane, nullptr);
  EXPECT_EQ(racer.Stance, 0);
  EXPECT_FALSE(lane->InUse());
  EXPECT_EQ(lane->HitMask(), 0u) << "the targets stand up again";
  EXPECT_EQ(r.phases, (std::vector<std::int32_t>{0, 1, 3, 4, 5, 6, 8, 9}));
}

TEST(PlayerShooting, ARelaySeriesLoadsSpareCartridgesAfterFiveShots) {
  ShootingRig r(7, 1, true);
  ToSeries(r);
  EXPECT_LT(Apart(r.Rifle().EyePoint(), r.racer->Lane->StandPosition() + N_Vector3{0.0f, 0.0f, 80.0f}), 1e-6)
      << "standing";
  const N_Vector3 sky = r.Sky();
  for (int shot = 0; shot < 5; ++shot) r.ShootAt(sky);
  EXPECT_EQ(Count(r.cues.Take(), "sound 28"), 5);
  r.input.input.ButtonDown(1);
  r.Step();
  r.input.input.ButtonUp(1);
  EXPECT_EQ(r.RifleAnimation(), N_Shooter::kSpareCartridge);
  EXPECT_FALSE(r.Rifle().IsAiming());
  EXPECT_EQ(r.cues.Take(), std::vector<std::string>{"AddBullets 1"});
  for (int shot = 5; shot < 8; ++shot) {
    EXPECT_TRUE(r.StepUntil([&] { return r.racer->ReloadProgress >= 1.0f; }));
    r.Aim(r.Target(shot - 5));
    r.Click(0);
    if (shot < 7) r.Click(1);
  }
  EXPECT_TRUE(r.StepUntil([&] { return r.racer->ShootPhase == 6; })) << "eight shots put the rifle down";
  EXPECT_EQ(r.racer->PenaltyLoops, 2);
}

TEST(PlayerShooting, OneShotThroughTwoOverlappingTargetsFellsBoth) {
  ShootingRig r;
  // A lane of its own: targets 1 and 2 six units apart across the line of sight.
  std::vector<N_Vector3> points;
  for (const float x : {-60.0f, -3.0f, 3.0f, 40.0f, 60.0f}) points.push_back({x, 1000.0f, 0.0f});
  const N_Vector3 standPoint{0.0f, 0.0f, -80.0f};
  N_ShootingRange own;
  own.Build(points.data(), 5, &standPoint, 1);
  r.racer->Lane = own.GetLane(0);
  r.racer->Stance = 1;
  r.racer->Pos = standPoint;
  own.Begin(r.racer.get(), true);
  for (int i = 0; i < 200 && !own.Shooter()->SeriesState().aiming; ++i) own.Update(0.033f);
  r.Aim({0.0f, 1000.0f, 0.0f});
  r.input.input.ButtonDown(1);
  r.input.Frame();
  own.Update(0.033f);
  r.input.input.ButtonUp(1);
  for (int i = 0; i < 200 && r.racer->ReloadProgress < 1.0f; ++i) {
    r.input.Frame();
    own.Update(0.033f);
  }
  r.input.input.ButtonDown(0);
  r.input.Frame();
  own.Update(0.033f);
  EXPECT_EQ(r.racer->Lane->HitMask(), 0b00110u);
  EXPECT_EQ(r.racer->Shots, 1);
  EXPECT_EQ(Count(r.cues.calls, "AddShootingHit"), 1) << "one hit of the counter per shot";
  EXPECT_EQ(Count(r.cues.calls, "sound 27"), 1);
}

TEST(PlayerShooting, ARifleThatDidNotLoadWholeEndsTheSeriesAtOnce) {
  test::RaceRig rig;
  test::CopyFromGameRoot(rig.dir, "data/anim/puska");
  test::CopyFromGameRoot(rig.dir, "data/anim/terciky");
  std::filesystem::remove(rig.dir.Path() + "/data/anim/puska/puska_odlozenie.anim");
  const std::vector<N_Vector3> points(5, {0.0f, 1000.0f, 0.0f});
  const N_Vector3 standPoint{};
  N_ShootingRange range;
  range.Build(points.data(), 5, &standPoint, 1);
  N_AthletProfile athlete;
  N_Racer racer(athlete, 0, 0.0f, 0, false, false);
  racer.Lane = range.GetLane(0);
  range.Begin(&racer, false);
  range.Update(0.033f);
  EXPECT_TRUE(range.IsDone()) << "no putting-down to wait for";
  EXPECT_EQ(racer.Bullets, 0);
}

/// A developer key with right (or left) Ctrl + Shift, the racer before, what it becomes.
struct DevKeyCase {
  const char* name;
  std::vector<BYTE> keys;
  float time;
  std::int32_t penaltyLoops;
  float condition;
  // Afterwards:
  float timeAfter;
  std::int32_t penaltyAfter;
  std::int32_t missesAfter;
  float conditionAfter;
  bool kampfgeist;
};

class PlayerShootingDevKey : public testing::TestWithParam<DevKeyCase> {};

TEST_P(PlayerShootingDevKey, ActsOnTheRacer) {
  const DevKeyCase& c = GetParam();
  ShootingRig r;
  N_Racer& racer = *r.racer;
  racer.ShootPhase = 9;
  racer.Lane = nullptr;
  racer.Time = c.time;
  racer.PenaltyLoops = c.penaltyLoops;
  racer.Misses = 3;
  racer.Condition = c.condition;
  racer.GamenessBoost = 0.25f;
  for (const BYTE key : c.keys) r.input.input.KeyDown(key);
  r.Step(0.5f);
  EXPECT_FLOAT_EQ(racer.Time, c.timeAfter);
  EXPECT_EQ(racer.PenaltyLoops, c.penaltyAfter);
  EXPECT_EQ(racer.Misses, c.missesAfter);
  EXPECT_FLOAT_EQ(racer.Condition, c.conditionAfter);
  EXPECT_EQ(racer.KampfgeistActive, c.kampfgeist ? 1 : 0);
  if (c.kampfgeist) {
    EXPECT_FLOAT_EQ(racer.KampfgeistTimer, 19.5f);
  }
}

INSTANTIATE_TEST_SUITE_P(
    PlayerShooting, PlayerShootingDevKey,
    testing::Values(DevKeyCase{"F", {DIK_RCONTROL, DIK_RSHIFT, DIK_F}, 100, 2, 0.5f, 100, 2, 3, 0.75f, true},
                    DevKeyCase{"YCapped", {DIK_RCONTROL, DIK_RSHIFT, DIK_Y}, 100, 2, 0.9f, 100, 2, 3, 1.0f, true},
                    DevKeyCase{"R", {DIK_RCONTROL, DIK_RSHIFT, DIK_R}, 100, 2, 0.5f, 100, 0, 1, 0.5f, false},
                    DevKeyCase{"T60", {DIK_RCONTROL, DIK_RSHIFT, DIK_T}, 100, 2, 0.5f, 40, 2, 3, 0.5f, false},
                    DevKeyCase{"T30", {DIK_RCONTROL, DIK_RSHIFT, DIK_T}, 50, 2, 0.5f, 20, 2, 3, 0.5f, false},
                    DevKeyCase{"TEarly", {DIK_RCONTROL, DIK_RSHIFT, DIK_T}, 20, 2, 0.5f, 20, 2, 3, 0.5f, false},
                    DevKeyCase{"LeftHandNothing", {DIK_LCONTROL, DIK_LSHIFT, DIK_T}, 100, 2, 0.5f, 100, 2, 3, 0.5f,
                               false}),
    [](const testing::TestParamInfo<DevKeyCase>& info) { return std::string(info.param.name); });

TEST(PlayerShooting, DeveloperKeysAtTheRifleFellTargets) {
  ShootingRig r;
  ToSeries(r);
  r.racer->ReloadProgress = 1.0f;
  r.Aim(r.Sky());
  for (const BYTE key : {DIK_LCONTROL, DIK_LSHIFT}) r.input.input.KeyDown(key);
  r.input.input.Tap(DIK_A);
  r.Step();
  EXPECT_EQ(r.racer->Lane->HitMask(), 0b00001u) << "the first standing target, wherever the aim";
  r.racer->Lane->KnockDown(2);
  r.input.input.Tap(DIK_Q);
  r.Step();
  EXPECT_EQ(r.racer->Lane->HitMask(), 0b11111u);
  EXPECT_EQ(r.racer->Bullets, 0);
  EXPECT_EQ(r.racer->Shots, 1 + 3) << "each felled target a shot";
  EXPECT_EQ(Count(r.cues.calls, "sound 27"), 2);
  EXPECT_TRUE(r.StepUntil([&] { return r.racer->ShootPhase == 6; }));
  EXPECT_EQ(r.racer->PenaltyLoops, 0);
}

TEST(AimSway, SkillConcentrationPulseAndConditionSetTheFourVariables) {
  test::RaceRig rig;
  N_VarMng& vars = *rig.core.vars;
  struct Case {
    bool standing;
    float ampy;
  };
  for (const Case c : {Case{true, 0.9f}, Case{false, 0.7f}}) {
    SetAimSway(0.8f, 0.9f, 180.0f, 0.5f, c.standing);
    EXPECT_NEAR(vars.GetFloat("ampx"), 0.65f, 1e-5f);
    EXPECT_NEAR(vars.GetFloat("ampy"), c.ampy, 1e-5f);
    EXPECT_NEAR(vars.GetFloat("randx"), 0.16f, 1e-5f);
    EXPECT_NEAR(vars.GetFloat("randy"), 0.16f, 1e-5f);
  }
  ClearAimSway();
  for (const char* name : {"ampx", "ampy", "randx", "randy"}) EXPECT_EQ(vars.GetFloat(name), 0.0f) << name;
}

/// A computer racer walked through its phases by its pilot: each step it moves along its
/// heading at its speed and turns as the pilot steers (3 radians a second at full
/// steering); its animations end when their phase asks.
TEST(AiShooting, LeavesTheCourseShootsAndComesBackThroughItsLane) {
  ShootingRig r(9, 1);
  N_Racer& racer = *r.racer;
  racer.ControlKind = 0;
  racer.ShootSkill = 0.8f;
  racer.Pos = r.stand.entry + N_Vector3{300.0f, 0.0f, 0.0f};
  racer.Heading = DirectionTo(racer.Pos, r.stand.entry);
  racer.ShotTimer = 4.5f;  // left over from an earlier stop
  std::vector<std::int32_t> phases{0};
  N_Vector3 leftAt, shotFrom;
  int phase5Steps = 0;
  std::int32_t bulletsAfterFirst = -1;
  for (int step = 0; step < 3000 && racer.ShootPhase != 9; ++step) {
    const std::int32_t before = racer.ShootPhase;
    N_Vector3 proposed = racer.Pos + racer.Heading * (racer.Speed * 39.37f * 0.033f);
    AiPilot(racer, r.path.path, {}, 0.033f, proposed);
    if (racer.ShootPhase == 0) racer.Speed = 5.0f;
    const float turn = racer.Steer * 3.0f * 0.033f;
    const N_Vector3 h = racer.Heading;
    racer.Heading = {h.x * std::cos(turn) - h.y * std::sin(turn), h.x * std::sin(turn) + h.y * std::cos(turn), h.z};
    racer.Pos = proposed;
    if (racer.ShootPhase == 4) {
      racer.Anim = 29;
      racer.AnimPhase = 1.0f;
    }
    if (racer.ShootPhase == 6) racer.Anim = 31;
    if (before == 0 && racer.ShootPhase == 1) leftAt = racer.Pos;
    if (before == 4 && racer.ShootPhase == 5) shotFrom = racer.Pos;
    if (before == 5 && phase5Steps++ == 0) bulletsAfterFirst = racer.Bullets;
    if (racer.ShootPhase != phases.back()) phases.push_back(racer.ShootPhase);
  }
  EXPECT_EQ(phases, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_LT((leftAt - r.stand.entry).LengthSq(), 3600.0);
  EXPECT_EQ(Apart(shotFrom, r.path.path.GetStand(9)->StandPosition()), 0.0);
  EXPECT_EQ(bulletsAfterFirst, 4) << "the first shot at once";
  EXPECT_LT((racer.Pos - r.stand.exit).LengthSq(), 100.0);
  EXPECT_EQ(racer.Lane, nullptr);
  EXPECT_FALSE(r.path.path.GetStand(9)->InUse());
  EXPECT_EQ(racer.Bullets, 0);
  EXPECT_EQ(racer.Falls, racer.PenaltyLoops) << "its misses are its falls and its loops";
  EXPECT_EQ(racer.Misses, racer.PenaltyLoops);
}

struct SkillCase {
  float skill;
  float hitRate;
  float minWait, maxWait;
};

class AiShootingSkill : public testing::TestWithParam<SkillCase> {};

TEST_P(AiShootingSkill, HitsTwoThirdsOfItsSkillAndWaitsByIt) {
  const SkillCase& c = GetParam();
  ShootingRig r(2, 2);
  N_Racer& racer = *r.racer;
  racer.ShootSkill = c.skill;
  N_Vector3 proposed;
  constexpr int kShots = 30000;
  float lo = 1e9f, hi = -1e9f;
  for (int shot = 0; shot < kShots; ++shot) {
    racer.ShootPhase = 5;
    racer.Bullets = 1;
    racer.ShotTimer = -1.0f;
    racer.Lane->ResetTargets();
    AiShooting(racer, r.path.path, 0.033f, proposed);
    lo = std::min(lo, racer.ShotTimer);
    hi = std::max(hi, racer.ShotTimer);
  }
  EXPECT_NEAR(1.0 - double(racer.Falls) / kShots, c.hitRate, 0.01);
  EXPECT_NEAR(lo, c.minWait, 0.01f);
  EXPECT_NEAR(hi, c.maxWait, 0.01f);

  // The timer runs down by the steps: five shots a series.
  racer.Bullets = 5;
  racer.ShotTimer = -1.0f;
  std::vector<int> shotSteps;
  for (int step = 0; step < 1000 && racer.Bullets > 0; ++step) {
    const std::int32_t before = racer.Bullets;
    const float wait = racer.ShotTimer;
    AiShooting(racer, r.path.path, 0.033f, proposed);
    if (racer.Bullets < before) {
      if (!shotSteps.empty()) {
        // The timer runs out within a step of the wait; the shot comes with the next.
        const float elapsed = float(step - shotSteps.back()) * 0.033f;
        EXPECT_GE(elapsed, c.minWait);
        EXPECT_LE(elapsed, c.maxWait + 2 * 0.033f);
      }
      EXPECT_LE(wait, 0.0f);
      shotSteps.push_back(step);
    }
  }
  EXPECT_EQ(shotSteps.size(), 5u);
  EXPECT_EQ(shotSteps.front(), 0) << "the first at once";
}

INSTANTIATE_TEST_SUITE_P(AiShooting, AiShootingSkill,
                         testing::Values(SkillCase{1.0f, 2.0f / 3.0f, 3.9f, 3.9f},
                                         SkillCase{0.6f, 0.4f, 4.212f, 5.096f}));

}  // namespace
