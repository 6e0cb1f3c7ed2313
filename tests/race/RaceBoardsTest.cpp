// The boards of a race on the sample scripts: the final result of a finished race
// (the display taken down, the game removed, the result kept under its handle), the
// relay's team rows, the trainings' and buddy games' tables, labels and names that
// would break rows, the two orderings and the split-time board.
#include "core/StringUtil.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "race/AthletProfile.h"
#include "race/ExportData.h"
#include "race/FinalResult.h"
#include "race/FinishedResults.h"
#include "race/PenaltyRounds.h"
#include "race/PlayerStatus.h"
#include "race/ResultOrder.h"
#include "race/ShootingPage.h"
#include "race/SplitBoard.h"
#include "race/StartInfo.h"
#include "scene/SceneAccess.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using Cells = std::vector<std::string>;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

N_ResultRow ResultRow(std::int32_t athlete, float time, std::int32_t misses, std::int32_t startNumber) {
  N_ResultRow row;
  row.AthleteIndex = athlete;
  row.Time = time;
  row.Misses = misses;
  row.StartNumber = startNumber;
  return row;
}

const N_AthletProfile& Male(N_World& world, std::size_t index) {
  const N_AthletProfile* athlete = world.AthletMng().GetMale(index);
  EXPECT_NE(athlete, nullptr) << index;
  static const N_AthletProfile none;
  return athlete ? *athlete : none;
}

/// The tables of the final-result page that are visible.
std::vector<std::string> VisibleTables(test::RacePagesRig& r) {
  std::vector<std::string> visible;
  for (const char* name : {"FR/Table", "FR/Table1", "FR/Table2", "FR/Table3"}) {
    if (r.Element(name).IsVisible()) visible.push_back(name);
  }
  return visible;
}

TEST(RaceBoards, AFinishedRaceTakesTheDisplayDownAndKeepsItsResultUnderAHandle) {
  test::RacePagesRig r;
  N_World& world = r.World();
  N_VarMng& vars = *r.rig.core.vars;
  vars.SetInt("gamemode", 0, 2);
  vars.SetInt("discipline", 4, 2);
  vars.SetInt("viewmode", 1, 2);
  world.CameraMng().SetRaceCameraMode(1);
  // The race display as a race leaves it.
  ShowPlayerStatus("A", "GER");
  ShowShootingPage();
  ShowStopwatch();
  ShowPenaltyRounds(2);
  ShowSplitBoardIndividual();
  ShowStartInfo(0, false, 0, 0);
  world.GuiMng().GetPage("BuddyStatus")->ShowImmediate();
  r.Frames(0.5);

  std::vector<std::string> calls;
  auto game = std::make_unique<test::NotingGame>(calls);
  auto result = std::make_unique<ExportData>();
  result->Rows = {ResultRow(0, 100.0f, 0, 1), ResultRow(1, -1.0f, 2, 2), ResultRow(2, 95.5f, 1, 3)};
  const ExportData* record = result.get();
  game->result = std::move(result);
  world.SetGame(std::move(game));
  world.Update(0.02f);

  EXPECT_EQ(calls, (std::vector<std::string>{"Update", "OnRemove", "deleted"}));
  EXPECT_EQ(world.Game(), nullptr);
  EXPECT_EQ(g_scene.game, nullptr);
  EXPECT_EQ(vars.GetInt("viewmode"), 0);
  EXPECT_EQ(world.CameraMng().RaceController().Mode(), 0);
  auto& render = static_cast<test::PagesRender&>(r.rig.render);
  ASSERT_FALSE(render.amounts.empty());
  EXPECT_EQ(render.amounts.back(), 0.0f);

  const N_AthletProfile &a0 = Male(world, 0), &a1 = Male(world, 1), &a2 = Male(world, 2);
  EXPECT_EQ(r.Rows("FR/Table"), (std::vector<Cells>{{"1", "3", a2.Nationality, a2.AthletName, "1", "01:35.500"},
                                                   {"2", "1", a0.Nationality, a0.AthletName, "0", "+00:04.500"},
                                                   {"3", "2", a1.Nationality, a1.AthletName, "2", "Disq"}}));
  EXPECT_EQ(VisibleTables(r), std::vector<std::string>{"FR/Table"});
  EXPECT_TRUE(r.PageVisible("FinalResult"));
  EXPECT_FALSE(r.PageVisible("PlayerStatus")) << "hidden at once";

  // The result stays in board order under the handle in "egd", until its release.
  const std::int32_t handle = vars.GetInt("egd");
  EXPECT_GT(handle, 0);
  EXPECT_EQ(GetFinishedResult(handle), record);
  EXPECT_EQ(GetFinishedResult(handle), record) << "as often as needed";
  std::vector<float> times;
  for (const N_ResultRow& row : record->Rows) times.push_back(row.Time);
  EXPECT_EQ(times, (std::vector<float>{95.5f, 100.0f, -1.0f}));
  ReleaseFinishedResult(handle);
  EXPECT_EQ(GetFinishedResult(handle), nullptr);
  ReleaseFinishedResult(handle);  // a stale handle is harmless
  for (const std::int32_t unknown : {0, -1, handle + 1}) EXPECT_EQ(GetFinishedResult(unknown), nullptr) << unknown;
  const std::int32_t next = StoreFinishedResult(std::make_unique<ExportData>());
  EXPECT_NE(next, handle) << "a handle is never given twice";
  EXPECT_EQ(GetFinishedResult(handle), nullptr);
  EXPECT_EQ(StoreFinishedResult(nullptr), 0);

  // The race pages fade out; the stopwatch and the flash went at once.
  EXPECT_FALSE(r.Element("Stopka").IsVisible());
  EXPECT_EQ(r.Element("TrestRed").GetLeft(), 650.0f);
  r.Frames(0.5);
  for (const char* page : {"Shooting", "PenaltyRounds", "SplitTimes", "StartInfo", "BlackEyes", "BuddyStatus"}) {
    EXPECT_FALSE(r.PageVisible(page)) << page;
  }
  EXPECT_TRUE(r.PageVisible("FinalResult"));
}

TEST(RaceBoards, RelayLegsBecomeTeamRowsInRankOrder) {
  test::RacePagesRig r;
  N_World& world = r.World();
  r.rig.core.vars->SetInt("gamemode", 1, 2);
  r.rig.core.vars->SetInt("discipline", 1, 2);
  ASSERT_GE(world.AthletMng().GetMaleCount(), 16u);
  // Team t's legs: each 100 + 10 x ((t * 3) mod 4) seconds, misses t. Team 2 (of 3 or
  // more) gives up in its second leg (-1.0; the two legs never skied are 0), team 1
  // (of 3 or more) in its fourth, and in the 16-leg relay every leg of team 3 is -1.0:
  // each of them is "Disq", whatever its sum (team 1's would have ranked it first).
  struct Case {
    std::size_t legs;
    std::size_t teams;
  } cases[] = {{16, 4}, {12, 3}, {4, 1}, {13, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.legs);
    ExportData result;
    for (std::size_t i = 0; i < c.legs; ++i) {
      const std::size_t t = i / 4;
      float time = 100.0f + 10.0f * float((t * 3) % 4);
      if (t == 2 && i % 4 == 1) time = -1.0f;
      if (t == 2 && i % 4 > 1) time = 0.0f;
      if (t == 1 && i % 4 == 3 && c.teams >= 3) time = -1.0f;
      if (t == 3 && c.legs == 16) time = -1.0f;
      result.Rows.push_back(ResultRow(std::int32_t(i), time, std::int32_t(t), std::int32_t(i + 1)));
    }
    // The expected teams: sums of four legs with a time each, else -1; by time, "Disq" last.
    struct Team {
      std::int32_t athlete;
      float time;
      std::int32_t misses;
    };
    std::vector<Team> teams;
    for (std::size_t t = 0; t < c.teams; ++t) {
      float sum = 0.0f;
      for (std::size_t leg = 0; leg < 4; ++leg) {
        const float time = result.Rows[t * 4 + leg].Time;
        sum = sum < 0.0f || time <= 0.0f ? -1.0f : sum + time;
      }
      teams.push_back({std::int32_t(t * 4), sum, std::int32_t(t * 4)});
    }
    std::stable_sort(teams.begin(), teams.end(), [](const Team& a, const Team& b) {
      return a.time >= 0.0f && (b.time < 0.0f || a.time < b.time);
    });
    FillFinalResultTables(result);

    std::vector<Cells> rows;
    for (std::size_t k = 0; k < teams.size(); ++k) {
      const std::string rank = std::to_string(k + 1);
      const std::string time = teams[k].time < 0.0f ? "Disq"
                               : k == 0             ? FormatRaceTime(teams[k].time)
                                                    : "+" + FormatRaceTime(teams[k].time - teams[0].time);
      const std::string number = std::to_string(teams[k].athlete / 4 + 1);
      rows.push_back({rank, number, Male(world, std::size_t(teams[k].athlete)).Nationality, "Team " + number,
                      std::to_string(teams[k].misses), time});
    }
    EXPECT_EQ(r.Rows("FR/Table"), rows);
    ASSERT_EQ(result.Rows.size(), c.teams) << "the rows hold exactly the teams";
    for (std::size_t k = 0; k < teams.size(); ++k) {
      EXPECT_EQ(result.Rows[k].AthleteIndex, teams[k].athlete);
      EXPECT_EQ(result.Rows[k].Time, teams[k].time);
      EXPECT_EQ(result.Rows[k].Misses, teams[k].misses);
    }
  }
}

TEST(RaceBoards, TrainingsAndBuddyGamesFillTheirOwnTable) {
  test::RacePagesRig r;
  N_VarMng& vars = *r.rig.core.vars;
  const std::string total = r.strings.Find("#str112");
  ASSERT_FALSE(total.empty());
  ExportData run;
  run.Discipline = 12;
  run.LapTimes = {60.0f, 61.5f, 62.25f};
  run.Faults = 1;
  run.Time = 183.75f;
  ExportData shooting;
  shooting.Discipline = 13;
  shooting.Shots = 20;
  shooting.Misses = 3;
  shooting.Time = 95.0f;
  ExportData buddy;
  buddy.BuddyTime = 50.5f;
  buddy.BuddyShots = 10;
  buddy.BuddyMisses = 2;
  const Cells lap1{"1", "01:00.000", "1"}, lap2{"2", "01:01.500", "1"}, lap3{"3", "01:02.250", "1"};
  const Cells totalRow{total, "03:03.750", "1"};

  struct Case {
    const char* name;
    int gameMode, discipline;
    ExportData* result;
    std::int32_t lapsDone;
    std::uint8_t success;
    const char* table;  ///< null: nothing filled
    std::vector<Cells> rows;
    const char* captionKey;  ///< null: "FR/Caption" untouched
  } cases[] = {
      {"run training", 3, 0, &run, 2, 1, "FR/Table1", {lap1, lap2, lap3, {}, totalRow}, nullptr},
      {"run training, laps past its times", 3, 0, &run, 10000, 1, "FR/Table1", {lap1, lap2, lap3, {}, totalRow}, nullptr},
      {"run training, one lap", 3, 0, &run, 0, 1, "FR/Table1", {lap1, {}, totalRow}, nullptr},
      {"run training, no lap", 3, 0, &run, -1, 1, "FR/Table1", {{}, totalRow}, nullptr},
      {"shooting training", 3, 0, &shooting, 0, 1, "FR/Table2", {{"20", "17", "01:35.000"}}, nullptr},
      {"running buddy game", 4, 0, &buddy, 0, 1, "FR/Table1", {{total, "00:50.500"}}, "#str165"},
      {"running buddy game, failed", 4, 0, &buddy, 0, 0, "FR/Table1", {{total, "Disq"}}, "#str165"},
      {"shooting buddy game", 5, 2, &buddy, 0, 1, "FR/Table2", {{"10", "8", "00:50.500"}}, "#str263"},
      {"shooting buddy game, failed", 4, 5, &buddy, 0, 0, "FR/Table2", {{"10", "8", "Disq"}}, "#str165"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vars.SetInt("gamemode", c.gameMode, 2);
    vars.SetInt("discipline", c.discipline, 2);
    r.Element("FR/Caption").SetCaption("venue");
    c.result->LapsDone = c.lapsDone;
    c.result->Success = c.success;
    FillFinalResultTables(*c.result);
    EXPECT_EQ(r.Rows(c.table), c.rows);
    EXPECT_EQ(VisibleTables(r), std::vector<std::string>{c.table});
    EXPECT_EQ(r.Caption("FR/Caption"), c.captionKey ? r.strings.Find(c.captionKey) : "venue");
  }

  // A training of another kind fills nothing.
  vars.SetInt("gamemode", 3, 2);
  ExportData other;
  other.Discipline = 5;
  const std::vector<Cells> before = r.Rows("FR/Table2");
  FillFinalResultTables(other);
  EXPECT_EQ(r.Rows("FR/Table2"), before);
  EXPECT_EQ(VisibleTables(r), std::vector<std::string>{"FR/Table2"});
}

TEST(RaceBoards, LabelsNamesAndCodesWithBlanksOrQuotesKeepTheirCells) {
  test::RacePagesRig r;
  N_World& world = r.World();
  N_VarMng& vars = *r.rig.core.vars;
  r.strings.Remove("#str112");
  r.strings.Add("#str112", "Total time");
  vars.SetInt("gamemode", 3, 2);
  ExportData run;
  run.Discipline = 12;
  run.LapTimes = {30.0f};
  FillFinalResultTables(run);
  EXPECT_EQ(r.Rows("FR/Table1"), (std::vector<Cells>{{"1", "00:30.000", "0"}, {}, {"Total time", "00:00.000", "0"}}));

  N_AthletProfile& first = *world.AthletMng().GetMale(0);
  N_AthletProfile& second = *world.AthletMng().GetMale(1);
  first.AthletName = "O'Neil \"The Rocket\" 100%";
  first.Nationality = "S K";
  second.Nationality = "";
  vars.SetInt("gamemode", 0, 2);
  vars.SetInt("discipline", 4, 2);
  ExportData race;
  race.Rows = {ResultRow(0, 50.0f, 0, 1), ResultRow(1, 51.0f, 0, 2)};
  FillFinalResultTables(race);
  EXPECT_EQ(r.Rows("FR/Table"), (std::vector<Cells>{{"1", "1", "S K", "O'Neil 'The Rocket' 100%", "0", "00:50.000"},
                                                   {"2", "2", "", second.AthletName, "0", "+00:01.000"}}));
  EXPECT_EQ(r.ElementAs<N_GuiTable>("FR/Table").GetColumnCount(), 6u) << "no row grew the columns";
  EXPECT_EQ(r.ElementAs<N_GuiTable>("FR/Table1").GetColumnCount(), 3u);
}

TEST(RaceBoards, TimesThatAreNoRealTimesComeLastAsDisq) {
  test::RacePagesRig r;
  N_World& world = r.World();
  r.rig.core.vars->SetInt("gamemode", 6, 2);
  r.rig.core.vars->SetInt("discipline", 2, 2);
  struct Case {
    const char* name;
    std::vector<float> times;
    std::vector<std::string> shown;  ///< the time cells in board order
    std::vector<std::int32_t> order;  ///< start numbers in board order
  } cases[] = {
      {"every racer out", {-1.0f, -2.0f, -0.5f}, {"Disq", "Disq", "Disq"}, {1, 2, 3}},
      {"not a number", {kNaN, 70.0f, 65.0f}, {"01:05.000", "+00:05.000", "Disq"}, {3, 2, 1}},
      {"infinite", {kInf, 70.0f, -kInf}, {"01:10.000", "Disq", "Disq"}, {2, 1, 3}},
      {"equal times keep their order", {80.0f, 80.0f, 79.0f}, {"01:19.000", "+00:01.000", "+00:01.000"}, {3, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExportData result;
    for (std::size_t i = 0; i < c.times.size(); ++i) result.Rows.push_back(ResultRow(0, c.times[i], 0, std::int32_t(i + 1)));
    FillFinalResultTables(result);
    std::vector<std::string> shown;
    std::vector<std::int32_t> order;
    for (const Cells& row : r.Rows("FR/Table")) {
      ASSERT_EQ(row.size(), 6u);
      shown.push_back(row[5]);
    }
    for (const N_ResultRow& row : result.Rows) order.push_back(row.StartNumber);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(order, c.order);
  }
  (void)world;
}

TEST(RaceBoards, TheOrderingsAreStrict) {
  struct Less {
    float a, b;
    bool less;
  } results[] = {{1.0f, 2.0f, true},  {2.0f, 1.0f, false}, {1.0f, 1.0f, false},  {-1.0f, 2.0f, false},
                 {2.0f, -1.0f, true}, {-1.0f, -2.0f, false}, {-2.0f, -1.0f, false}, {kNaN, 1.0f, false},
                 {1.0f, kNaN, true},  {kNaN, kNaN, false},  {kNaN, -1.0f, false},  {0.0f, -0.0f, false}};
  for (const Less& c : results) {
    EXPECT_EQ(ResultRowTimeLess(ResultRow(0, c.a, 0, 0), ResultRow(0, c.b, 0, 0)), c.less) << c.a << " " << c.b;
  }
  struct Compare {
    float a, b;
    std::int32_t order;
  } splits[] = {{1.0f, 2.0f, -1}, {2.0f, 1.0f, 1},    {1.0f, 1.0f, 0},  {-1.0f, 2.0f, -1},
                {kNaN, 1.0f, 1},  {1.0f, kNaN, -1},   {kNaN, kNaN, 0},  {-kInf, kNaN, -1}};
  for (const Compare& c : splits) {
    N_SplitBoardRow a, b;
    a.Time = c.a;
    b.Time = c.b;
    EXPECT_EQ(CompareSplitRowTime(a, b), c.order) << c.a << " " << c.b;
  }
}

N_SplitBoardRow SplitRow(const char* name, float time, const char* nation, std::int32_t racer) {
  N_SplitBoardRow row;
  std::strncpy(row.Name, name, sizeof row.Name - 1);
  row.Time = time;
  std::strncpy(row.Nation, nation, sizeof row.Nation - 1);
  row.RacerId = racer;
  return row;
}

TEST(RaceBoards, TheSplitBoardRewritesItsRowsInTimeOrder) {
  test::RacePagesRig r;
  auto& times1 = r.ElementAs<N_GuiTable>("Times1");
  auto& times2 = r.ElementAs<N_GuiTable>("Times2");
  ShowSplitBoardIndividual();
  EXPECT_TRUE(r.PageVisible("SplitTimes"));
  EXPECT_TRUE(times1.IsVisible());
  EXPECT_FALSE(times2.IsVisible());
  struct Arrival {
    N_SplitBoardRow row;
    bool player;
    std::vector<Cells> rows;
    std::int32_t selected;
  } arrivals[] = {
      {SplitRow("Pla Yer", 61.25f, "SVK", 7), true, {{"1", "7", "SVK", "Pla Yer", "01:01.250"}}, 0},
      {SplitRow("Fast One", 60.75f, "NOR", 3), false,
       {{"1", "3", "NOR", "Fast One", "01:00.750"}, {"2", "7", "SVK", "Pla Yer", "+00:00.500"}}, 1},
      {SplitRow("Slow Two", 62.0f, "GER", 9), false,
       {{"1", "3", "NOR", "Fast One", "01:00.750"},
        {"2", "7", "SVK", "Pla Yer", "+00:00.500"},
        {"3", "9", "GER", "Slow Two", "+00:01.250"}},
       1},
      {SplitRow("No Time", kNaN, "AUT", 4), false,
       {{"1", "3", "NOR", "Fast One", "01:00.750"},
        {"2", "7", "SVK", "Pla Yer", "+00:00.500"},
        {"3", "9", "GER", "Slow Two", "+00:01.250"},
        {"4", "4", "AUT", "No Time", "Disq"}},
       1},
  };
  for (const Arrival& a : arrivals) {
    SCOPED_TRACE(a.row.Name);
    FillSplitTimeTable(&a.row, a.player);
    EXPECT_EQ(r.Rows("Times1"), a.rows);
    EXPECT_EQ(times1.GetRowCount(), std::int32_t(a.rows.size())) << "rewritten, not added again";
    EXPECT_EQ(times1.GetSelectedRow(), a.selected);
  }
  FillSplitTimeTable(nullptr, true);
  EXPECT_EQ(times1.GetRowCount(), 4);

  // Fields that fill their whole width without an end still end there.
  N_SplitBoardRow full = SplitRow("", 70.0f, "", 5);
  std::memset(full.Name, 'x', sizeof full.Name);
  std::memset(full.Nation, 'y', sizeof full.Nation);
  FillSplitTimeTable(&full, false);
  const std::vector<Cells> rows = r.Rows("Times1");
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[3][3], std::string(127, 'x')) << "a quoted field keeps at most 127 characters";

  // The relay board: each row's own time, no row selected, the individual one hidden.
  ShowSplitBoardRelay();
  EXPECT_FALSE(times1.IsVisible());
  EXPECT_TRUE(times2.IsVisible());
  EXPECT_EQ(times2.GetRowCount(), 0);
  const N_SplitBoardRow legA = SplitRow("", 61.25f, "FIN", 1), legB = SplitRow("", 60.75f, "NOR", 2);
  FillSplitTimeTable(&legA, true);
  FillSplitTimeTable(&legB, true);
  EXPECT_EQ(r.Rows("Times2"), (std::vector<Cells>{{"1", "NOR", "01:00.750"}, {"2", "FIN", "01:01.250"}}));
  EXPECT_EQ(times2.GetSelectedRow(), -1);

  CloseSplitTimes();
  r.Frames(0.5);
  EXPECT_FALSE(r.PageVisible("SplitTimes"));
}

}  // namespace
