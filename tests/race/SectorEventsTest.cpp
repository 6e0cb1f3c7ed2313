// A racer's reactions to the trigger flags of its sector, on one hand-made sector per
// step carrying the flags: laps, penalty loops, the finish, disqualification, split
// times, the fighting spirit, the coach (the cache over a noting sound manager) and the
// shooting area's stance and lane (on a loaded three-lane course); and the reduced
// variants of the training and the buddy run.
#include "race/SectorEvents.h"

#include "race/AthletProfile.h"
#include "race/Racer.h"
#include "race/ShootLane.h"
#include "race/SoundCache.h"
#include "race/ai/SplitTable.h"
#include "tests/race/AiPathSupport.h"
#include "tests/race/WorldTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Flag {
  int group;
  std::uint8_t bit;
};
constexpr Flag kShootArea{1, 0x01}, kPenaltyResult{1, 0x04}, kPenaltyCount{1, 0x08};
constexpr Flag kStartHunting{2, 0x04}, kCiel{2, 0x10};
constexpr Flag kRoundCount{6, 0x01}, kShowSipkaCiel{6, 0x02}, kRoundTime{6, 0x04}, kRoundCount2{6, 0x40},
    kKampfgeist{6, 0x80};
constexpr Flag kCoach1{7, 0x01}, kCoach2{7, 0x02}, kCoach3{7, 0x04};
constexpr Flag kSplit2{5, 0x02};

using Flags = std::vector<Flag>;

/// One straight sector carrying the flags.
std::unique_ptr<Ai::N_AiSector> SectorWith(const Flags& flags) {
  auto chain = test::BuildStraightCourse(0.0f, 100.0f, 100.0f, 50.0f);
  for (const Flag& f : flags) chain.front()->SetFlag(f.group, f.bit);
  return std::move(chain.front());
}

/// A racer of a three-lap race at 100 s of its clock, standing in sectors of the test's
/// making (`Step` runs the events in a new sector with the flags).
struct EventsRig {
  EventsRig() {
    athlete.OptPulse = 170.0f;
    racer = std::make_unique<N_Racer>(athlete, 2, 100.0f, 0, false, false);
    splits.Create(3, 4);
    N_Racer* const list[] = {racer.get()};
    splits.AddRacers(list, 1);
    splits.SetBoardView(&board);
  }
  void Step(const Flags& flags, bool relayLeg = false, bool arcadeLevels = false, bool coachOn = true) {
    sectors.push_back(SectorWith(flags));
    racer->Sector = sectors.back().get();
    SectorEvents(*racer, path, &splits, relayLeg, arcadeLevels, coachOn);
  }

  test::RaceRig race;
  N_AthletProfile athlete;
  std::unique_ptr<N_Racer> racer;
  Ai::N_AiPath path;
  struct Board final : N_SplitBoardView {
    void ShowIndividual() override { calls.push_back("individual"); }
    void ShowRelay() override { calls.push_back("relay"); }
    void Fill(const N_SplitBoardRow*, bool isPlayer) override { calls.push_back(isPlayer ? "fill player" : "fill"); }
    void Close() override { calls.push_back("close"); }
    std::vector<std::string> calls;
  } board;
  N_SplitTable splits;
  std::vector<std::unique_ptr<Ai::N_AiSector>> sectors;
};

struct LapCase {
  const char* what;
  std::function<void(N_Racer&)> setup;
  std::vector<Flags> steps;
  bool relayLeg;
  std::function<void(const N_Racer&)> check;
};

TEST(SectorEvents, LapsPenaltiesFinishAndDisqualificationFollowTheirFlags) {
  const LapCase cases[] = {
      {"lap line unarmed: no lap, penalty check armed", [](N_Racer&) {}, {{kRoundCount}}, false,
       [](const N_Racer& r) {
         EXPECT_EQ(r.LapsDone, 0);
         EXPECT_EQ(r.LapsLeft, 2);
         EXPECT_EQ(r.PenaltyCheckDue, 1);
       }},
      {"lap time then lap line counts the lap", [](N_Racer& r) { r.ShootPhase = 3; }, {{kRoundTime}, {kRoundCount}},
       false,
       [](const N_Racer& r) {
         EXPECT_EQ(r.LapsDone, 1);
         EXPECT_EQ(r.LapsLeft, 1);
         EXPECT_EQ(r.LapArmed, 0);
         EXPECT_EQ(r.ShootPhase, 9);
         EXPECT_EQ(r.PenaltyCheckDue, 1);
       }},
      {"two loops owed, one skied: 120 s", [](N_Racer& r) { r.PenaltyLoops = 2, r.PenaltyLoopOpen = 1, r.Bullets = 0; },
       {{kRoundCount}, {kPenaltyCount}, {kPenaltyCount}, {kPenaltyResult}}, false,
       [](const N_Racer& r) {
         EXPECT_EQ(r.Time, 220.0f);
         EXPECT_EQ(r.PenaltyLoops, 0);
         EXPECT_EQ(r.Bullets, 5);
         EXPECT_EQ(r.PenaltyCheckDue, 0);
       }},
      {"a relay leg gets 8 cartridges", [](N_Racer& r) { r.PenaltyLoops = 1, r.Bullets = 0; }, {{kPenaltyResult}},
       true,
       [](const N_Racer& r) {
         EXPECT_EQ(r.Bullets, 8);
         EXPECT_EQ(r.PenaltyLoops, 0);
         EXPECT_EQ(r.Time, 100.0f) << "no check due: no time added";
       }},
      {"the loop counter pays only an open loop", [](N_Racer& r) { r.PenaltyLoops = 3; }, {{kPenaltyCount}}, false,
       [](const N_Racer& r) { EXPECT_EQ(r.PenaltyLoops, 3); }},
      {"unarmed second lap line after a lap: disqualified", [](N_Racer& r) { r.LapsDone = 1; }, {{kRoundCount2}},
       false,
       [](const N_Racer& r) {
         EXPECT_EQ(r.Finished, 1);
         EXPECT_EQ(r.Disqualified, 1);
         EXPECT_EQ(r.Time, -1.0f);
       }},
      {"armed: no disqualification", [](N_Racer& r) { r.LapsDone = 1, r.LapArmed = 1; }, {{kRoundCount2}}, false,
       [](const N_Racer& r) { EXPECT_EQ(r.Disqualified, 0); }},
      {"first lap: no disqualification", [](N_Racer&) {}, {{kRoundCount2}}, false,
       [](const N_Racer& r) { EXPECT_EQ(r.Disqualified, 0); }},
      {"relay leg: no disqualification here", [](N_Racer& r) { r.LapsDone = 1; }, {{kRoundCount2}}, true,
       [](const N_Racer& r) { EXPECT_EQ(r.Disqualified, 0); }},
      {"last lap: the arrow, then the line stops the racer", [](N_Racer& r) { r.LapsLeft = 0, r.Speed = 7.0f; },
       {{kShowSipkaCiel}}, false,
       [](const N_Racer& r) {
         EXPECT_EQ(r.ShowFinishArrow, 1);
         EXPECT_EQ(r.Stopped, 0);
       }},
      {"last lap at the line", [](N_Racer& r) { r.LapsLeft = 0, r.Speed = 7.0f, r.ShowFinishArrow = 1; }, {{kCiel}},
       false,
       [](const N_Racer& r) {
         EXPECT_EQ(r.Stopped, 1);
         EXPECT_EQ(r.Speed, 0.0f);
         EXPECT_EQ(r.ShowFinishArrow, 0);
       }},
      {"a lap to go: line and arrow do nothing", [](N_Racer& r) { r.Speed = 7.0f; }, {{kCiel, kShowSipkaCiel}}, false,
       [](const N_Racer& r) {
         EXPECT_EQ(r.Stopped, 0);
         EXPECT_EQ(r.ShowFinishArrow, 0);
       }},
      {"the pursuit's release", [](N_Racer& r) { r.Holding = 1; }, {{kStartHunting}}, false,
       [](const N_Racer& r) { EXPECT_EQ(r.Holding, 0); }},
  };
  for (const LapCase& c : cases) {
    SCOPED_TRACE(c.what);
    EventsRig r;
    c.setup(*r.racer);
    for (const Flags& step : c.steps) r.Step(step, c.relayLeg);
    c.check(*r.racer);
  }
}

TEST(SectorEvents, SplitCheckpointsRecordEveryRacerAndOpenTheStandingsForThePlayer) {
  const struct {
    const char* what;
    int control;
    bool relayLeg;
    float recorded;
    std::vector<std::string> board;
  } cases[] = {{"player", 1, false, 100.0f, {"individual", "fill player"}},
               {"computer racer", 0, false, 100.0f, {}},
               {"relay leg", 1, true, -1.0f, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EventsRig r;
    r.racer->ControlKind = c.control;
    r.racer->LapsDone = 1;
    r.Step({kSplit2}, c.relayLeg);
    EXPECT_EQ(r.splits.GetSplit(1, r.racer->StartNumber, 2), c.recorded);
    EXPECT_EQ(r.board.calls, c.board);
    r.racer->Time = 130.0f;
    r.Step({kRoundTime});
    EXPECT_EQ(r.splits.GetRoundTime(1, r.racer->StartNumber), 130.0f);
    EXPECT_EQ(r.racer->LapArmed, 1);
  }
}

TEST(SectorEvents, FightingSpiritStartsOnlyForThePlayerOnTheLastLapOutsideArcadeLevels) {
  const struct {
    const char* what;
    int control, lapsLeft;
    bool arcadeLevels, active;
    bool starts;
  } cases[] = {{"player, last lap", 1, 0, false, false, true},  {"a lap to go", 1, 1, false, false, false},
               {"computer racer", 0, 0, false, false, false},   {"arcade levels", 1, 0, true, false, false},
               {"already in force", 1, 0, false, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EventsRig r;
    r.racer->ControlKind = c.control;
    r.racer->LapsLeft = c.lapsLeft;
    r.racer->KampfgeistActive = c.active;
    r.racer->Condition = 0.98f;
    r.Step({kKampfgeist}, false, c.arcadeLevels);
    EXPECT_EQ(r.racer->Condition, c.starts ? 1.0f : 0.98f) << "the boost stops at 1.0";
    EXPECT_EQ(r.racer->KampfgeistTimer, c.starts ? 20.0f : 15.0f);
    EXPECT_EQ(r.racer->KampfgeistActive, c.starts || c.active);
  }
  EventsRig r;
  r.racer->ControlKind = 1;
  r.racer->LapsLeft = 0;
  r.racer->Condition = 0.5f;
  r.Step({kKampfgeist});
  EXPECT_FLOAT_EQ(r.racer->Condition, 0.5f + r.racer->GamenessBoost);
}

TEST(SectorEvents, TheCoachCommentsOncePerLapOnThePlayersRace) {
  EventsRig r;
  test::NotingSoundMng sound;
  N_SoundCache cache;
  SetCoachSoundCache(&cache);
  N_Racer& racer = *r.racer;
  racer.ControlKind = 1;
  racer.Position = 2;
  racer.HeartRate = 180.0f;
  racer.Condition = 0.8f;
  std::size_t logMark = 0;
  /// The sounds played and the coach's input lines since the last look.
  auto take = [&](std::vector<std::string>& inputs) {
    std::vector<std::string> names;
    for (const int handle : sound.played) names.push_back(sound.NameOf(handle));
    sound.played.clear();
    const std::string log = r.race.core.LogText();
    inputs.clear();
    for (std::size_t at = log.find("trener", logMark); at != std::string::npos; at = log.find("trener", at + 1)) {
      inputs.push_back(log.substr(at, log.find('\n', at) - at));
    }
    logMark = log.size();
    return names;
  };
  std::vector<std::string> inputs;
  const struct {
    const char* what;
    Flags flags;
    std::function<void(N_Racer&)> setup;
    std::vector<std::string> played;
    const char* input;
  } steps[] = {
      {"position", {kCoach1}, [](N_Racer&) {}, {"Trainer_Pos_2"}, "trener1 pos: 2"},
      {"position again on the lap", {kCoach1}, [](N_Racer&) {}, {}, ""},
      {"condition", {kCoach2}, [](N_Racer&) {}, {"Trainer_Kond_Minus_10"},
       "trener2 celkovo_kol: 3, akt. kolo: 1, akt_kond: 0.8000"},
      {"heart rate before the last lap", {kCoach3}, [](N_Racer&) {}, {"Trainer_Freq_Minus_10"},
       "trener3 frekv_srdca: 180.0000, freq z profilu: 170.0000, frek max:: 200.0000"},
      {"heart rate again", {kCoach3}, [](N_Racer&) {}, {}, ""},
      {"a new lap time: the position again, placed past 15", {kRoundTime},
       [](N_Racer& x) { x.Position = 22; }, {}, ""},
      {"position past the sentences", {kCoach1}, [](N_Racer&) {}, {"Trainer_Pos_15"}, "trener1 pos: 15"},
      {"the final comment on the last lap", {kCoach3},
       [](N_Racer& x) { x.LapsLeft = 0, x.LapsDone = 2, x.Position = 1; }, {"Trainer_Final_Pos_1_Plus_Kond"},
       "trener4 pos: 1, pocet_kol_celkovo: 3, aktualne_kolo: 3 , aktualna_kondicia: 0.800"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    s.setup(racer);
    r.Step(s.flags);
    EXPECT_EQ(take(inputs), s.played);
    if (*s.input) {
      ASSERT_EQ(inputs.size(), 1u);
      EXPECT_EQ(inputs[0].substr(0, std::string(s.input).size()), s.input);
    } else {
      EXPECT_TRUE(inputs.empty());
    }
  }
  EXPECT_TRUE(r.race.boxes.empty()) << "no position out of range";

  // Silent: the coach switched off, a computer racer, a relay leg.
  const struct {
    const char* what;
    int control;
    bool relayLeg, coachOn;
  } silent[] = {{"coach off", 1, false, false}, {"computer racer", 0, false, true}, {"relay leg", 1, true, true}};
  for (const auto& s : silent) {
    SCOPED_TRACE(s.what);
    racer.ControlKind = s.control;
    racer.LastComment = -1;
    r.Step({kCoach1, kCoach2, kCoach3}, s.relayLeg, false, s.coachOn);
    EXPECT_TRUE(take(inputs).empty());
    EXPECT_EQ(racer.LastComment, -1);
  }
  SetCoachSoundCache(nullptr);
}

/// The shooting area on the three-lane course with the pattern "LSV".
struct AreaRig {
  explicit AreaRig(std::size_t helpersIn = 3, std::size_t helpersOut = 3) {
    course::Identifiers ids = test::ThreeLaneTrack();
    test::PointSetOf(ids, "Info_Shoot_Helper_In").resize(helpersIn);
    test::PointSetOf(ids, "Info_Shoot_Helper_Out").resize(helpersOut);
    loaded = path.Load(ids);
    path.path.SetShootPattern("LSV");
    racer = std::make_unique<N_Racer>(athlete, 2, 100.0f, 0, false, false);
    inside = SectorWith({kShootArea});
    outside = SectorWith({});
  }
  void Step(bool in) {
    racer->Sector = in ? inside.get() : outside.get();
    SectorEvents(*racer, path.path, nullptr, false, false, false);
  }
  test::PathRig path;
  bool loaded = false;
  N_AthletProfile athlete;
  std::unique_ptr<N_Racer> racer;
  std::unique_ptr<Ai::N_AiSector> inside, outside;
};

TEST(SectorEvents, TheShootingAreaGivesTheStanceThenTheLaneOfTheStartNumber) {
  const struct {
    const char* what;
    std::size_t helpersIn, helpersOut;
    std::int32_t startNumber, lapsDone, bullets;
    bool armed;
    std::int32_t stance;  ///< after the first step
    int lane;             ///< after the second; -1 none
    unsigned taken = 0;   ///< bit i: another racer shoots on lane i
  } cases[] = {
      {"prone on the first lap, lane 0", 3, 3, 1, 0, 5, true, 2, 0},
      {"standing on the second lap, lane 2", 3, 3, 3, 1, 5, true, 1, 2},
      {"another letter: no stance, no lane", 3, 3, 1, 2, 5, true, 0, -1},
      {"past the pattern", 3, 3, 1, 7, 5, true, 0, -1},
      {"three cartridges or fewer: nothing", 3, 3, 1, 0, 3, true, 0, -1},
      {"lap time not taken: nothing", 3, 3, 1, 0, 5, false, 0, -1},
      {"start number past the lanes: a free one round the range", 3, 3, 4, 0, 5, true, 2, 0},
      {"past the lanes, that one taken: the next", 3, 3, 5, 0, 5, true, 2, 2, 0b010},
      {"own lane taken: the next free one", 3, 3, 1, 0, 5, true, 2, 1, 0b001},
      {"every lane taken: none", 3, 3, 2, 0, 5, true, 2, -1, 0b111},
      {"start number 0", 3, 3, 0, 0, 5, true, 2, -1},
      {"no entry point for lane 2: another", 2, 3, 3, 0, 5, true, 2, 0},
      {"no exit point for lane 2: another", 3, 2, 3, 0, 5, true, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AreaRig r(c.helpersIn, c.helpersOut);
    ASSERT_TRUE(r.loaded);
    for (int i = 0; i < 3; ++i) {
      if (c.taken >> i & 1u) r.path.path.GetStand(i)->SetInUse(true);
    }
    N_Racer& racer = *r.racer;
    racer.StartNumber = c.startNumber;
    racer.LapsDone = c.lapsDone;
    racer.Bullets = c.bullets;
    racer.LapArmed = c.armed;
    r.Step(true);
    EXPECT_EQ(racer.Stance, c.stance);
    EXPECT_EQ(racer.Lane, nullptr) << "the lane comes a step later";
    EXPECT_EQ(racer.ShootPhase, 9);
    r.Step(true);
    N_ShootLane* expected = c.lane >= 0 ? r.path.path.GetStand(c.lane) : nullptr;
    ASSERT_EQ(racer.Lane, expected);
    EXPECT_EQ(racer.ShootPhase, c.lane >= 0 ? 0 : 9);
    if (expected) {
      EXPECT_TRUE(racer.Lane->InUse());
    }
    for (int i = 0; i < 3; ++i) {
      if (r.path.path.GetStand(i) != expected && !(c.taken >> i & 1u)) {
        EXPECT_FALSE(r.path.path.GetStand(i)->InUse()) << "lane " << i;
      }
    }
    // Outside the area: no stance, no lane, not shooting, every step.
    racer.ShootPhase = 4;
    r.Step(false);
    EXPECT_EQ(racer.Stance, 0);
    EXPECT_EQ(racer.ShootPhase, 9);
    EXPECT_EQ(racer.Lane, nullptr);
  }
}

TEST(SectorEvents, TrainingAndBuddyRunCountLapsFinishAndTimeOnly) {
  using Variant = void (*)(N_Racer&, N_SplitTable*);
  const struct {
    const char* what;
    Variant run;
    bool resetsComment;
  } variants[] = {{"training", SectorEventsTraining, false}, {"buddy run", SectorEventsBuddyRun, true}};
  for (const auto& v : variants) {
    SCOPED_TRACE(v.what);
    EventsRig r;
    N_Racer& racer = *r.racer;
    auto step = [&](const Flags& flags) {
      r.sectors.push_back(SectorWith(flags));
      racer.Sector = r.sectors.back().get();
      v.run(racer, &r.splits);
    };
    racer.LastComment = 2;
    racer.ShootPhase = 4;
    step({kRoundCount, kShootArea, kPenaltyResult, kRoundCount2, kSplit2, kKampfgeist, kCoach1});
    EXPECT_EQ(racer.LapsDone, 0) << "unarmed";
    EXPECT_EQ(racer.PenaltyCheckDue, 0);
    EXPECT_EQ(racer.ShootPhase, 4);
    EXPECT_EQ(racer.Bullets, 5);
    EXPECT_EQ(racer.Disqualified, 0);
    EXPECT_EQ(r.splits.GetSplit(0, racer.StartNumber, 2), -1.0f);
    step({kRoundTime});
    EXPECT_EQ(r.splits.GetRoundTime(0, racer.StartNumber), 100.0f);
    EXPECT_EQ(racer.LastComment, v.resetsComment ? -1 : 2);
    step({kRoundCount});
    EXPECT_EQ(racer.LapsDone, 1);
    EXPECT_EQ(racer.LapsLeft, 1);
    EXPECT_EQ(racer.PenaltyCheckDue, 0);
    EXPECT_EQ(racer.ShootPhase, 4);
    racer.LapsLeft = 0;
    step({kShowSipkaCiel});
    EXPECT_EQ(racer.ShowFinishArrow, 1);
    step({kCiel});
    EXPECT_EQ(racer.Stopped, 1);
    EXPECT_EQ(racer.ShowFinishArrow, 0);
  }
}

}  // namespace
