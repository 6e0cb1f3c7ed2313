// The split table: the first passage of a checkpoint kept, checked rounds, ids and
// masks, the ranks at the standings on display, and the board's calls (a recording
// view) over the 10 s display; once on the race pages' real split board.
#include "race/ai/SplitTable.h"

#include "race/AthletProfile.h"
#include "race/Racer.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

/// Notes the board calls: "individual", "relay", "fill <id> <time> [player]", "close".
class RecordingBoard final : public N_SplitBoardView {
 public:
  void ShowIndividual() override { calls.push_back("individual"); }
  void ShowRelay() override { calls.push_back("relay"); }
  void Fill(const N_SplitBoardRow* row, bool isPlayer) override {
    calls.push_back("fill " + std::to_string(row->RacerId) + " " + std::to_string(int(row->Time)) +
                    (isPlayer ? " player" : ""));
  }
  void Close() override { calls.push_back("close"); }
  /// The calls since the last look.
  std::vector<std::string> Take() { return std::exchange(calls, {}); }
  std::vector<std::string> calls;
};

/// A table of `rounds` + 1 rows over `count` racers numbered 1..count.
struct TableRig {
  explicit TableRig(int count, int rounds = 2) {
    athlete.AthletName = "Ann Skier";
    athlete.Nationality = "NOR";
    std::vector<N_Racer*> list;
    for (int i = 0; i < count; ++i) {
      racers.push_back(std::make_unique<N_Racer>(athlete, rounds, 0.0f, i, false, false));
      list.push_back(racers.back().get());
    }
    EXPECT_TRUE(table.Create(rounds, count));
    table.AddRacers(list.data(), count);
    table.SetBoardView(&board);
  }
  N_AthletProfile athlete;
  std::vector<std::unique_ptr<N_Racer>> racers;
  RecordingBoard board;
  N_SplitTable table;
};

TEST(SplitTable, KeepsTheFirstPassageAndWritesOnlyInsideItsRowsRacersAndMasks) {
  TableRig r(3, 1);  // rows 0 and 1, ids 1..3
  struct Case {
    const char* what;
    std::int32_t round, id, mask;
    bool stored;
  } cases[] = {{"checkpoint 1", 1, 2, 1, true},       {"checkpoint 8", 0, 3, 128, true},
               {"two bits", 0, 1, 3, false},          {"past the eight", 0, 1, 256, false},
               {"no bit", 0, 1, 0, false},            {"round = row count", 2, 1, 1, false},
               {"round below 0", -1, 1, 1, false},   {"id 0", 0, 0, 1, false},
               {"id past the racers", 0, 4, 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    r.table.RecordSplit(c.round, c.id, 30.0f, c.mask, false);
    r.table.RecordSplit(c.round, c.id, 20.0f, c.mask, false);
    EXPECT_EQ(r.table.GetSplit(c.round, c.id, c.mask), c.stored ? 30.0f : -1.0f) << "the first time stays";
    r.table.SetRoundTime(c.round, c.id, 50.0f);
    r.table.SetRoundTime(c.round, c.id, 40.0f);
    const bool inside = c.round >= 0 && c.round < 2 && c.id >= 1 && c.id <= 3;
    EXPECT_EQ(r.table.GetRoundTime(c.round, c.id), inside ? 50.0f : -1.0f) << "the first lap time stays";
  }
  // Nothing written elsewhere: every other record still reads -1.0 at every checkpoint.
  int written = 0;
  for (int round = 0; round < 2; ++round)
    for (int id = 1; id <= 3; ++id)
      for (int bit = 0; bit < 8; ++bit) written += r.table.GetSplit(round, id, 1 << bit) >= 0.0f;
  EXPECT_EQ(written, 2);
}

TEST(SplitTable, RanksCountSmallerPositiveTimesAtTheShownCheckpoint) {
  TableRig r(4);
  std::int32_t rank = 0;
  for (std::int32_t id = 1; id <= 4; ++id) {
    r.table.GetRank(id, rank);
    EXPECT_EQ(rank, id) << "before any standings: the own id";
  }
  const float times[] = {12.0f, 11.0f, -1.0f, 0.0f};
  for (std::int32_t id = 1; id <= 4; ++id) r.table.RecordSplit(1, id, times[id - 1], 4, id == 1);
  r.table.ShowStandings(1, 1, 4);
  const std::int32_t expected[] = {2, 1, 1, 1};
  for (std::int32_t id = 1; id <= 4; ++id) {
    r.table.GetRank(id, rank);
    EXPECT_EQ(rank, expected[id - 1]) << "racer " << id;
  }
  r.table.GetRank(9, rank);
  EXPECT_EQ(rank, 1) << "an id past the racers has no time";
}

TEST(SplitTable, StandingsOpenOnceListLaterArrivalsAndCloseAfterTenSeconds) {
  TableRig r(4);
  r.table.RecordSplit(0, 2, 11.0f, 2, false);
  r.table.RecordSplit(0, 1, 12.0f, 2, true);
  r.table.RecordSplit(0, 3, 0.0f, 2, false);
  r.table.RecordSplit(0, 2, 9.0f, 1, false);  // another checkpoint: not on this board
  EXPECT_TRUE(r.board.Take().empty()) << "nothing is drawn before the standings open";

  r.table.ShowStandings(0, 1, 2);
  EXPECT_EQ(r.board.Take(), (std::vector<std::string>{"individual", "fill 1 12 player", "fill 2 11"}));
  EXPECT_EQ(r.table.Listed().size(), 2u) << "a time of exactly 0.0 is not listed";
  r.table.ShowStandings(0, 1, 2);
  r.table.Update(5.0f);
  r.table.ShowStandings(0, 1, 2);
  EXPECT_TRUE(r.board.Take().empty()) << "a second call within 10 s opens nothing";

  r.table.RecordSplit(0, 4, 13.0f, 2, false);
  r.table.RecordSplit(0, 4, 14.0f, 2, false);
  r.table.RecordSplit(1, 3, 15.0f, 2, false);  // another round
  EXPECT_EQ(r.board.Take(), std::vector<std::string>{"fill 4 13"});
  EXPECT_EQ(r.table.Entry(4)->Round, 0);

  r.table.Update(5.0f);
  EXPECT_TRUE(r.table.Shown()) << "the timer at 0 is not below it";
  EXPECT_TRUE(r.board.Take().empty());
  r.table.Update(0.033f);
  EXPECT_EQ(r.board.Take(), std::vector<std::string>{"close"});
  EXPECT_FALSE(r.table.Shown());
  EXPECT_TRUE(r.table.Listed().empty());
  EXPECT_EQ(r.table.ShownRound(), 0);
  EXPECT_EQ(r.table.ShownMask(), 2);
  r.table.Update(1.0f);
  EXPECT_TRUE(r.board.Take().empty()) << "closed once";

  r.table.ShowStandings(0, 1, 2);
  EXPECT_EQ(r.board.Take(), (std::vector<std::string>{"individual", "fill 1 12 player", "fill 2 11", "fill 4 13"}));
}

TEST(SplitTable, RelayStandingsListThePlayerLegAndRankWithinIt) {
  TableRig r(8);
  for (std::int32_t id = 1; id <= 8; ++id) r.table.Entry(id)->Leg = id % 4;
  EXPECT_EQ(r.table.CountRelayRank(6), 2) << "before any standings: the team's number, four racers a team";

  r.table.RecordRelaySplit(0, 2, 20.0f, 1, false);
  r.table.RecordRelaySplit(0, 3, 18.0f, 1, false);
  r.table.RecordRelaySplit(0, 6, 21.0f, 1, true);
  EXPECT_EQ(r.table.PlayerLeg(), 2);
  EXPECT_EQ(r.table.PlayerId(), 6);
  EXPECT_EQ(r.table.ShownMask(), 1);
  EXPECT_FALSE(r.table.Shown()) << "the relay passage does not open the board";
  EXPECT_EQ(r.board.Take(), (std::vector<std::string>{"fill 2 20", "fill 3 18", "fill 6 21 player"}));
  r.table.RecordRelaySplit(0, 6, 25.0f, 1, true);
  EXPECT_TRUE(r.board.Take().empty()) << "a listed racer is not drawn again";
  EXPECT_EQ(r.table.GetSplit(0, 6, 1), 21.0f);

  r.table.ShowRelayStandings();
  EXPECT_EQ(r.board.Take(), (std::vector<std::string>{"relay", "fill 2 20", "fill 6 21 player"}));
  EXPECT_EQ(r.table.CountRelayRank(6), 2) << "leg 2: racer 2 ahead; racer 3 of leg 3 not counted";
  EXPECT_EQ(r.table.CountRelayRank(2), 1);
  EXPECT_EQ(r.table.CountRelayRank(12), 3) << "an id without an entry";
  r.table.RecordRelaySplit(0, 6, 30.0f, 2, true);
  EXPECT_EQ(r.table.CountRelayRank(6), 1) << "first at the next checkpoint: racer 2's 20 was an earlier one";
  r.table.RecordRelaySplit(0, 2, 29.0f, 2, false);
  EXPECT_EQ(r.table.CountRelayRank(6), 2);
}

TEST(SplitTable, OpensAndClosesTheRacePagesSplitBoard) {
  test::RacePagesRig pages;
  TableRig r(3);
  r.table.SetBoardView(nullptr);
  r.table.RecordSplit(1, 3, 61.25f, 1, true);
  r.table.RecordSplit(1, 1, 60.75f, 1, false);
  r.table.ShowStandings(1, 3, 1);
  pages.Frames(0.5);
  EXPECT_TRUE(pages.PageVisible("SplitTimes"));
  using Cells = std::vector<std::string>;
  EXPECT_EQ(pages.Rows("Times1"), (std::vector<Cells>{{"1", "1", "NOR", "Ann Skier", "01:00.750"},
                                                      {"2", "3", "NOR", "Ann Skier", "+00:00.500"}}));
  r.table.RecordSplit(1, 2, 62.0f, 1, false);
  EXPECT_EQ(pages.Rows("Times1").size(), 3u);
  r.table.Update(10.5f);
  pages.Frames(0.5);
  EXPECT_FALSE(pages.PageVisible("SplitTimes"));
}

}  // namespace
