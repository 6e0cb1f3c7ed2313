// The relay's own routines on a hand-made team: the relay flags of the active member's
// sector, the hand-over of a leg at the waiting member (distance rules, the hand and
// the move to the next leg) and the legs' order of HandOver.
#include "race/RelayRoutines.h"

#include "race/AthletProfile.h"
#include "race/RaceSimServices.h"
#include "race/Racer.h"
#include "race/RelayTeam.h"
#include "race/ai/AiPath.h"
#include "race/ai/SplitTable.h"
#include "tests/race/RaceTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Flag {
  int group;
  std::uint8_t bit;
};
constexpr Flag kCiel{2, 0x10}, kPenaltyPath{3, 0x10}, kShowSipkaCiel{6, 0x02}, kAiChange{6, 0x08},
    kShowPlayer{6, 0x10}, kRoundCount2{6, 0x40}, kSplit1{5, 0x01};

struct Hud final : N_RaceHud {
  void ShowPlayerStatus(const char* name, const char*) override { shown.push_back(name); }
  std::vector<std::string> shown;
};

/// A team of four members of named athletes, member 1 skiing its last lap.
struct TeamRig {
  TeamRig() {
    for (int k = 0; k < 4; ++k) {
      athletes[k].AthletName = "Leg" + std::to_string(k + 1);
      team.Members[k] = new N_Racer(athletes[k], 0, 0.0f, k, false, true);
    }
    team.Active = team.Members[0];
    team.Next = team.Members[1];
    team.Hud = &hud;
    splits.Create(3, 4);
    splits.AddRacers(team.Members, 4);
  }
  /// The active member in a new sector carrying the flags; the relay events run.
  void Events(const std::vector<Flag>& flags) {
    auto chain = test::BuildStraightCourse(0.0f, 100.0f, 100.0f, 50.0f);
    for (const Flag& f : flags) chain.front()->SetFlag(f.group, f.bit);
    sectors.push_back(std::move(chain.front()));
    team.Active->Sector = sectors.back().get();
    SectorEventsRelay(team, &splits);
  }
  void GoToLastLeg() {
    team.Active = team.Members[3];
    team.Next = nullptr;
  }

  test::RaceRig rig;
  N_AthletProfile athletes[4];
  N_RelayTeam team;
  Hud hud;
  N_SplitTable splits;
  std::vector<std::unique_ptr<Ai::N_AiSector>> sectors;
};

TEST(RelayRoutines, SectorEventsOfTheLegs) {
  struct Case {
    const char* what;
    bool lastLeg;
    std::int32_t lapsLeft;
    bool player;
    std::vector<Flag> flags;
    std::uint32_t wantFlags;
    bool wantStopped, wantArrow, wantTeamFinished;
  };
  const Case cases[] = {
      {"the next member shows on the last lap", false, 0, false, {kShowPlayer}, N_RelayTeam::kShowNext, false, false,
       false},
      {"not before the last lap", false, 1, false, {kShowPlayer, kAiChange}, 0, false, false, false},
      {"the hand-over is asked for", false, 0, false, {kAiChange}, N_RelayTeam::kHandOver, false, false, false},
      {"no hand-over on the last leg", true, 0, false, {kAiChange, kShowPlayer}, 0, false, false, false},
      {"a leg before the last passes the finish", false, 0, true, {kCiel}, 0, false, false, false},
      {"the last leg stops at the finish", true, 0, true, {kCiel}, 0, true, false, false},
      {"the finish arrow for the player's team", true, 0, true, {kShowSipkaCiel}, 0, false, true, false},
      {"no finish arrow for another team", true, 0, false, {kShowSipkaCiel}, 0, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TeamRig t;
    if (c.lastLeg) t.GoToLastLeg();
    t.team.PlayerTeam = c.player ? 1 : 0;
    t.team.Active->LapsLeft = c.lapsLeft;
    t.Events(c.flags);
    EXPECT_EQ(t.team.Flags, c.wantFlags);
    EXPECT_EQ(t.team.Active->Stopped != 0, c.wantStopped);
    EXPECT_EQ(t.team.Active->ShowFinishArrow != 0, c.wantArrow);
    EXPECT_EQ(t.team.Finished != 0, c.wantTeamFinished);
  }
}

TEST(RelayRoutines, SkippedLapFinishedLastLegSplitsAndPenaltyFork) {
  {
    TeamRig t;
    t.team.Active->LapsDone = 1;
    t.team.TeamTime = 300.0f;
    t.Events({kRoundCount2});
    EXPECT_TRUE(t.team.Finished);
    EXPECT_FLOAT_EQ(t.team.TeamTime, -1.0f);
    EXPECT_TRUE(t.team.Active->Disqualified);
    EXPECT_FLOAT_EQ(t.team.Active->Time, -1.0f);
  }
  {
    TeamRig t;
    t.Events({});
    EXPECT_FALSE(t.team.Finished);  // a finished leg before the last is no finished team
    t.team.Active->Finished = 1;
    t.Events({});
    EXPECT_FALSE(t.team.Finished);
    t.GoToLastLeg();
    t.team.Active->Finished = 1;
    t.Events({});
    EXPECT_TRUE(t.team.Finished);
  }
  {
    TeamRig t;
    t.team.PlayerTeam = 1;
    t.team.Active->Time = 42.0f;
    t.team.TeamTime = 342.0f;
    t.Events({kSplit1});
    EXPECT_FLOAT_EQ(t.splits.GetSplit(0, t.team.Active->StartNumber, 1), 342.0f) << "the team's time, not the leg's";
    EXPECT_EQ(t.splits.PlayerLeg(), t.team.Active->StartNumber % 4);
    EXPECT_TRUE(t.splits.Shown());
  }
  {
    TeamRig t;
    N_Racer& r = *t.team.Active;
    r.PenaltyCheckDue = 1;
    t.Events({kPenaltyPath});
    EXPECT_EQ(r.PenaltyLoops, 5);
    EXPECT_EQ(r.Bullets, 0);
    r.PenaltyLoops = 0;
    t.Events({kPenaltyPath});  // no cartridges left: it has shot, nothing owed
    EXPECT_EQ(r.PenaltyLoops, 0);
  }
}

TEST(RelayRoutines, HandOverApproachHandAndNextLeg) {
  TeamRig t;
  Ai::N_AiPath path;  // no take-over places: the hand is at the waiting member itself
  N_Racer& in = *t.team.Active;
  N_Racer& out = *t.team.Next;
  t.team.PlayerTeam = 1;
  t.team.Flags = N_RelayTeam::kHandOver | N_RelayTeam::kShowNext | 0x08 | 0x10 | 0x20;
  out.Pos = {1000.0f, 0.0f, 0.0f};
  out.Speed = 3.0f;
  in.Heading = {1.0f, 0.0f, 0.0f};
  in.Speed = 5.0f;
  N_Vector3 proposed;
  std::int32_t anim = 0;

  struct Case {
    float inX;
    float wantOutSpeed;
    std::int32_t wantAnim;
  };
  // Far: the waiting member stands; nearer: it sets off 2.0 slower than the incoming one.
  for (const Case& c : {Case{0.0f, 0.0f, kRelayApproachAnim}, Case{800.0f, 3.0f, kRelayApproachAnim}}) {
    in.Pos = {c.inX, 0.0f, 0.0f};
    EXPECT_FALSE(RelayHandOver(t.team, path, proposed, anim, 0.033f));
    EXPECT_FLOAT_EQ(out.Speed, c.wantOutSpeed);
    EXPECT_EQ(anim, c.wantAnim);
    EXPECT_NEAR(proposed.x, c.inX + 5.0f * 39.37f * 0.033f, 1e-3f);
  }
  // At the hand: both at hand speed, the incoming member on the hand point playing 44.
  in.Pos = {995.0f, 0.0f, 0.0f};
  in.ControlKind = 0;
  EXPECT_FALSE(RelayHandOver(t.team, path, proposed, anim, 0.033f));
  EXPECT_EQ(anim, kRelayHandAnim);
  EXPECT_FLOAT_EQ(in.Speed, 7.2f);
  EXPECT_FLOAT_EQ(out.Speed, 7.2f);
  EXPECT_FLOAT_EQ(in.Power, 1.0f);
  EXPECT_FLOAT_EQ(proposed.x, 1000.0f);
  // 44 run to its end: the team moves on.
  in.Anim = kRelayHandAnim;
  in.AnimPhase = 1.0f;
  EXPECT_TRUE(RelayHandOver(t.team, path, proposed, anim, 0.033f));
  EXPECT_EQ(t.team.Active, t.team.Members[1]);
  EXPECT_EQ(t.team.Next, t.team.Members[2]);
  EXPECT_EQ(t.team.Flags, 0x20u);
  EXPECT_EQ(in.ControlKind, 1);
  EXPECT_EQ(t.hud.shown, std::vector<std::string>{"Leg2"});
}

TEST(RelayRoutines, HandOverWalksTheLegs) {
  TeamRig t;
  const N_RelayTeam& team = t.team;
  for (int leg = 1; leg < 4; ++leg) {
    EXPECT_FALSE(team.IsLastLeg());
    t.team.HandOver(0);
    EXPECT_EQ(team.Active, team.Members[leg]);
    EXPECT_EQ(team.Next, leg < 3 ? team.Members[leg + 1] : nullptr);
  }
  EXPECT_TRUE(team.IsLastLeg());
  t.team.HandOver(0);
  EXPECT_EQ(team.Active, nullptr);
  EXPECT_EQ(team.Next, nullptr);
  for (int i : {-1, 0, 4, 9}) EXPECT_EQ(team.GetMember(i), team.Members[0]);
}

}  // namespace
