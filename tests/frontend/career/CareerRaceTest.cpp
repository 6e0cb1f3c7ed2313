// The career's races, their booking and the start button's steps of a week over the race
// pages' test world with the sample page scripts and athletes: results made up row by
// row, handed in as the final-result page hands them ("egd"), the career tables read
// back from the slot's file.
#include "frontend/CareerTables.h"
#include "frontend/FrontendUtil.h"
#include "frontend/HighScoreRows.h"
#include "frontend/FinalResultPage.h"
#include "frontend/FrontendFrame.h"
#include "frontend/career/CareerEnd.h"
#include "frontend/career/CareerMainPage.h"
#include "frontend/career/CareerProfileFile.h"
#include "frontend/career/CareerProfilePage.h"
#include "frontend/career/CareerRace.h"
#include "frontend/career/CareerRoster.h"
#include "frontend/career/CareerSeason.h"
#include "frontend/career/CareerWeekHeader.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/SponsorEvents.h"

#include "core/Random.h"
#include "platform/win32/FileReplace.h"
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/RaceSim.h"
#include "race/RaceSimSolo.h"
#include "race/World.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleShader.h"
#include "tests/race/RacePagesRig.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kSlot = 2;
constexpr std::int32_t kPlayer = 3;  ///< the player's figure among the men

/// One result row per athlete in order: times first + step x place, misses place mod
/// missCycle, the same condition and full-power time for all.
std::vector<N_ResultRow> RowsInOrder(const std::vector<std::int32_t>& order, float first, float step,
                                     std::int32_t missCycle, float condition, float fullPowerTime) {
  std::vector<N_ResultRow> rows;
  for (std::size_t i = 0; i < order.size(); ++i) {
    N_ResultRow row;
    row.AthleteIndex = order[i];
    row.Time = first + step * float(i);
    row.Misses = std::int32_t(i) % missCycle;
    row.Condition = condition;
    row.FullPowerTime = fullPowerTime;
    rows.push_back(row);
  }
  return rows;
}

/// The race pages' world with a running career in slot 2: the player is man 3, the
/// field the men 4 to 17 and the player, the tracks of the season in reverse order.
struct CareerRig : test::RacePagesRig {
  CareerRig() {
    std::filesystem::create_directories(rig.harness.dir.Path() + "/data/tables");
    Reset();
    NewLog();
  }
  ~CareerRig() { career::DeleteProfile(); }

  /// A fresh career in the slot (its tables deleted), the player's athlete in the roster.
  void Reset() {
    std::filesystem::remove(rig.harness.dir.Path() + "/data/tables/career2.hs");
    career::Week() = CareerWeekState{};
    N_CareerProfile& p = career::NewProfile();
    p.number = kSlot;
    p.athleteIndex = kPlayer;
    p.started = 1;
    for (int i = 0; i < 14; ++i) p.field[i] = 4 + i;
    p.field[14] = kPlayer;
    for (int i = 0; i < 10; ++i) p.trackOrder[i] = 9 - i;
    p.extraRaces[0] = 4;
    p.extraRaces[1] = 7;
    p.raceIndex = 2;
    career::HandAthleteToRoster(p);
  }

  N_CareerProfile& Profile() { return *career::Profile(); }
  N_VarMng& Vars() { return *rig.core.vars; }

  /// The field's athletes in the order given by place (player at playerPlace), with
  /// times 100 + 10 x place; the places listed in noTime finish without a time.
  static std::vector<N_ResultRow> Finish(const N_CareerProfile& p, std::int32_t playerPlace,
                                         std::vector<std::int32_t> noTime = {}) {
    std::vector<std::int32_t> order(p.field, p.field + 14);
    order.insert(order.begin() + playerPlace, p.athleteIndex);
    std::vector<N_ResultRow> rows = RowsInOrder(order, 100.0f, 10.0f, 4, 0.8f, 5.0f);
    // The board's order: the rows without a time after the others.
    for (std::int32_t place : noTime) rows[std::size_t(place)].Time = -1.0f;
    std::stable_sort(rows.begin(), rows.end(), ResultRowTimeBefore);
    return rows;
  }
  static std::int32_t Keep(std::vector<N_ResultRow> rows) {
    auto result = std::make_unique<ExportData>();
    result->Rows = std::move(rows);
    return StoreFinishedResult(std::move(result));
  }

  N_CareerHS Tables() {
    N_CareerHS tables;
    tables.Load(kSlot);
    return tables;
  }
  /// The names and points of a race's block.
  std::vector<std::pair<std::string, std::int32_t>> Booked(std::int32_t season, std::int32_t track, std::int32_t stage) {
    const N_CareerHS tables = Tables();
    std::vector<std::pair<std::string, std::int32_t>> rows;
    for (std::size_t place = 0; place < N_CareerHS::kRows; ++place) {
      const N_CareerResultRow& row = tables.Result(std::size_t(N_CareerHS::ResultBlock(season, track, stage)), place);
      if (row.Name[0] != '\0') rows.emplace_back(row.Name, row.Points);
    }
    return rows;
  }
  std::string Man(std::int32_t index) { return World().AthletMng().GetMale(std::size_t(index))->AthletName; }
};

/// The final-result page's click for a career mode.
void Click(CareerRig& r, std::int32_t gameMode, std::int32_t handle) {
  r.Vars().SetInt("gamemode", gameMode, 2);
  r.Vars().SetInt("discipline", 4, 2);
  r.Vars().SetInt("egd", handle, 2);
  r.World().GuiMng().GetPage("FinalResult")->ShowImmediate();
  FinalResultClick(nullptr);
}

TEST(CareerRaceResult, SprintPlacesPayPointsAndStartThePursuitList) {
  struct Case {
    std::int32_t place, prize, points;
  };
  CareerRig r;
  for (const Case& c : {Case{0, 7500, 14}, Case{8, 250, 6}, Case{14, 250, 0}}) {
    SCOPED_TRACE(c.place);
    r.Reset();
    N_CareerProfile& p = r.Profile();
    const std::vector<N_ResultRow> rows = CareerRig::Finish(p, c.place);
    ProcessCareerRaceResult(CareerRig::Keep(rows));
    EXPECT_EQ(p.account, 1000 + c.prize);
    EXPECT_EQ(p.points, c.points);
    EXPECT_EQ(p.stage, 1);
    ASSERT_EQ(p.pursuitCount, 15);
    for (std::size_t i = 0; i < 15; ++i) {
      EXPECT_EQ(p.pursuitList[i].athlete, rows[i].AthleteIndex);
      EXPECT_FLOAT_EQ(p.pursuitList[i].offset, -(rows[i].Time - rows[0].Time));
    }
    EXPECT_EQ(p.pursuitList[c.place].athlete, kPlayer);
    if (c.place == 0) {
      EXPECT_EQ(p.pursuitList[0].offset, 0.0f);
    }
    EXPECT_EQ(p.raceIndex, 2) << "the week goes on";
  }
  // An account at the top of its range (a hand-edited file) stays there.
  r.Reset();
  N_CareerProfile& rich = r.Profile();
  rich.account = INT32_MAX - 100;
  ProcessCareerRaceResult(CareerRig::Keep(CareerRig::Finish(rich, 0)));
  EXPECT_EQ(rich.account, INT32_MAX);
}

// The race's 15 rows in the slot's tables: the block of season, week's track and
// stage, points 14 down to 0, names and nations of the men; the standings grow by the
// same points in total and in the track's column, over the sprint, the pursuit and
// the extra race of an extra-race week, which ends after the mass start.
TEST(CareerRaceResult, EveryRaceIsBookedUnderItsStage) {
  CareerRig r;
  N_CareerProfile& p = r.Profile();
  p.season = 4;
  p.raceIndex = 4;  // an extra-race week
  career::Week().extraRaceWeek = true;
  const std::int32_t track = p.trackOrder[4];
  std::map<std::string, std::int32_t> totals;
  for (std::int32_t stage = 0; stage < 3; ++stage) {
    SCOPED_TRACE(stage);
    const std::vector<N_ResultRow> rows = CareerRig::Finish(p, 3 + stage);
    ProcessCareerRaceResult(CareerRig::Keep(rows));
    std::vector<std::pair<std::string, std::int32_t>> expected;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      expected.emplace_back(r.Man(rows[i].AthleteIndex), 14 - std::int32_t(i));
      totals[r.Man(rows[i].AthleteIndex)] += 14 - std::int32_t(i);
    }
    EXPECT_EQ(r.Booked(4, track, stage), expected);
    const N_CareerHS tables = r.Tables();
    const N_CareerResultRow& first = tables.Result(std::size_t(N_CareerHS::ResultBlock(4, track, stage)), 0);
    EXPECT_EQ(std::string(first.Nation), r.World().AthletMng().GetMale(std::size_t(rows[0].AthleteIndex))->Nationality);
    for (std::size_t s = 0; s < 15; ++s) {
      const N_CareerStandingsRow& row = tables.Standing(s);
      EXPECT_EQ(row.Total, totals[row.Name]) << row.Name;
      EXPECT_EQ(row.LevelPoints[track], totals[row.Name]) << row.Name;
    }
    EXPECT_EQ(p.raceIndex, stage < 2 ? 4 : 5) << "the week ends after its extra race";
  }
  EXPECT_EQ(p.stage, 0) << "a new week";
}

// A result the tables cannot hold: a row of an athlete outside the list and rows past
// the 15th are left out with a log line; the other rows keep their places.
TEST(CareerRaceResult, RowsOutsideTheListOrPastTheFieldAreNotBooked) {
  CareerRig r;
  N_CareerProfile& p = r.Profile();
  std::vector<N_ResultRow> rows = CareerRig::Finish(p, 0);
  rows[4].AthleteIndex = 999;
  rows.push_back(rows[1]);
  ProcessCareerRaceResult(CareerRig::Keep(rows));
  const auto booked = r.Booked(0, p.trackOrder[p.raceIndex], 0);
  ASSERT_EQ(booked.size(), 14u);
  EXPECT_EQ(booked[4], std::make_pair(r.Man(rows[5].AthleteIndex), 9));
  const std::string log = r.NewLog();
  EXPECT_NE(log.find("row 4 names athlete 999, who is not in the list"), std::string::npos);
  EXPECT_NE(log.find("1 rows past the 15th are not booked"), std::string::npos);
  EXPECT_EQ(p.points, 14);

  // Tables that cannot be read (a folder in their place) or are damaged (a total that
  // is not its levels' sum) take no race: nothing is booked or saved, and the player is
  // told. They used to be replaced by tables holding this race alone.
  const std::string profile = career::EncodeProfile(p);
  const std::string root = r.rig.harness.dir.Path() + "/data/tables/";
  for (const bool folder : {true, false}) {
    std::filesystem::remove_all(root + "career2.hs");
    std::string damaged(N_CareerHS::kFileBytes, '\0');
    damaged[0] = 'X';
    damaged[36] = 99;
    r.rig.harness.dir.Write(folder ? "data/tables/career2.hs/x" : "data/tables/career2.hs", damaged);
    career::ForgetChanges();
    frontend::HidePageNow("MessageOK");
    ProcessCareerRaceResult(CareerRig::Keep(CareerRig::Finish(p, 0)));
    EXPECT_EQ(career::EncodeProfile(p), profile) << folder;
    EXPECT_EQ(r.rig.harness.dir.Read("data/tables/profile2.dat").substr(4), profile) << folder;
    EXPECT_TRUE(r.PageVisible("MessageOK")) << folder;
    EXPECT_EQ(std::filesystem::is_directory(root + "career2.hs"), folder);
    EXPECT_TRUE(folder || r.rig.harness.dir.Read("data/tables/career2.hs") == damaged);
  }
}

// After a sprint: a tenth racer without a time stays out of the pursuit list; a player
// without a time has no pursuit: the pursuit is scored at once from the sprint (the
// fastest finisher 14 points, the non-finishers last with 0 points and 0 misses) and,
// the week having no extra race, the next week begins.
TEST(CareerRaceResult, SprintFinishersWithoutTimeMissThePursuit) {
  CareerRig r;
  {
    N_CareerProfile& p = r.Profile();
    const std::vector<N_ResultRow> rows = CareerRig::Finish(p, 0, {9});
    ProcessCareerRaceResult(CareerRig::Keep(rows));
    EXPECT_EQ(p.stage, 1);
    ASSERT_EQ(p.pursuitCount, 14);
    for (std::int32_t i = 0; i < 14; ++i) EXPECT_NE(p.pursuitList[i].athlete, rows[14].AthleteIndex);
  }
  {
    r.Reset();
    N_CareerProfile& p = r.Profile();
    Srand(7);
    const std::vector<N_ResultRow> rows = CareerRig::Finish(p, 6, {6, 11});
    const std::int32_t track = p.trackOrder[p.raceIndex];
    ProcessCareerRaceResult(CareerRig::Keep(rows));
    EXPECT_EQ(p.pursuitCount, 0);
    EXPECT_EQ(p.account, 1000 + career::CareerPrize(13));
    const N_CareerHS tables = r.Tables();
    const std::size_t block = std::size_t(N_CareerHS::ResultBlock(0, track, 1));
    EXPECT_EQ(tables.Result(block, 0).Points, 14);
    EXPECT_GT(tables.Result(block, 0).Time, 0.0f);
    for (std::size_t place : {13u, 14u}) {
      EXPECT_LT(tables.Result(block, place).Time, 0.0f);
      EXPECT_EQ(tables.Result(block, place).Points, 0);
      EXPECT_EQ(tables.Result(block, place).Misses, 0);
    }
    EXPECT_EQ(p.raceIndex, 3) << "the next week";
    EXPECT_EQ(p.stage, 0);
  }
}

// The result page's career cases: the sponsor event keeps the snowfall and
// "HmlaHackSet", the race resets the menus; both show the career's frame and page.
// Without a profile the result is dropped and the player goes to the single-player menu.
TEST(CareerResultCases, ResetShowAndFallBackWithoutProfile) {
  struct Case {
    std::int32_t gameMode;
    bool profile;
    bool snowAfter;
    std::int32_t hackAfter;
    std::vector<const char*> shown, hidden;
  };
  const Case cases[] = {
      {5, true, true, 1, {"CareerHS", "Career"}, {"SinglePlayer"}},
      {6, true, false, 0, {"CareerHS", "Career"}, {"SinglePlayer"}},
      {5, false, true, 1, {"Background", "SinglePlayer"}, {"CareerHS", "Career"}},
      {6, false, false, 0, {"Background", "SinglePlayer"}, {"CareerHS", "Career"}},
  };
  CareerRig r;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.gameMode) + (c.profile ? " with profile" : " without"));
    r.Reset();
    for (const char* page : {"CareerHS", "Career", "Background", "SinglePlayer"}) {
      r.World().GuiMng().GetPage(page)->Hide();
    }
    N_ParticleShader flakes("snow");
    flakes.SetNumParticles(4);
    N_ParticleEmitter snow(flakes, r.World().ParticleMng());
    snow.Start();
    r.World().Level().snow = &snow;
    r.Vars().SetInt("HmlaHackSet", 1, 2);
    r.Vars().SetInt("detail", 1, 2);
    r.Vars().SetInt("ShowAnimObj", 0, 2);
    auto result = std::make_unique<ExportData>();
    result->Rows = CareerRig::Finish(r.Profile(), 2);
    if (!c.profile) career::DeleteProfile();
    const std::int32_t handle = StoreFinishedResult(std::move(result));
    Click(r, c.gameMode, handle);
    r.World().Level().snow = nullptr;
    EXPECT_EQ(snow.IsEmitting(), c.snowAfter);
    EXPECT_EQ(r.Vars().GetInt("HmlaHackSet"), c.hackAfter);
    EXPECT_EQ(r.Vars().GetInt("detail"), 0);
    EXPECT_EQ(r.Vars().GetInt("ShowAnimObj"), 1);
    EXPECT_EQ(GetFinishedResult(handle), nullptr) << "released";
    for (const char* page : c.shown) EXPECT_TRUE(r.PageVisible(page)) << page;
    for (const char* page : c.hidden) EXPECT_FALSE(r.PageVisible(page)) << page;
    EXPECT_FALSE(r.PageVisible("FinalResult"));
    if (!c.profile) {
      EXPECT_NE(r.NewLog().find("without a career profile"), std::string::npos);
    }
  }
}

/// A race of the current week: the field (or the pursuit list) in a random order, each
/// with a time.
std::vector<N_ResultRow> RandomRace(const N_CareerProfile& p) {
  std::vector<std::int32_t> order;
  if (p.stage == 1) {
    for (std::int32_t i = 0; i < p.pursuitCount; ++i) order.push_back(p.pursuitList[i].athlete);
  } else {
    order.assign(p.field, p.field + 15);
  }
  for (std::size_t i = order.size(); i > 1; --i) {
    std::swap(order[i - 1], order[std::size_t(RandomRange(0.0f, float(i) - 0.01f))]);
  }
  return RowsInOrder(order, 1000.0f, 7.5f, 5, 0.6f, 40.0f);
}

// A whole career of made-up results from the first week through the result page:
// sprints (now and then without the player's time), pursuits from their lists, the
// extra races; after every race the slot's tables keep their size, the saved profile
// reloads to the record in memory and the roster athlete is the career's. The tenth
// season's last race ends it: the final table's entry, the final table shown, the
// career's frame shown but not the career page.
TEST(CareerRaceResult, AWholeCareerOfResults) {
  CareerRig r;
  N_CareerProfile& p = r.Profile();
  p.raceIndex = 0;
  Srand(5);
  StartCareerSeason();
  StartCareerWeek();
  int races = 0, simulatedPursuits = 0;
  while (p.finished == 0 && races < 400) {
    SCOPED_TRACE("season " + std::to_string(p.season) + " race " + std::to_string(p.raceIndex) + " stage " +
                 std::to_string(p.stage));
    career::RefreshCareerWeekHeader();  // the career page's header marks the extra-race week
    // A random finishing order, with falls; every ninth race the player has no time.
    std::vector<N_ResultRow> rows = RandomRace(p);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      rows[i].Falls = std::int32_t(i % 3);
      if (races % 9 == 4 && rows[i].AthleteIndex == p.athleteIndex) rows[i].Time = -1.0f;
    }
    std::stable_sort(rows.begin(), rows.end(), ResultRowTimeBefore);
    if (p.stage == 0 && races % 9 == 4) ++simulatedPursuits;
    Click(r, 6, CareerRig::Keep(rows));
    ++races;
    ASSERT_EQ(r.rig.harness.dir.Read("data/tables/career2.hs").size(), N_CareerHS::kFileBytes);
    N_CareerProfile saved;
    CareerWeekState week;
    ASSERT_TRUE(career::LoadProfileBytes(saved, kSlot, r.rig.harness.dir.Read("data/tables/profile2.dat"),
                                         career::CareerRosterSizes(), week));
    ASSERT_EQ(career::EncodeProfile(saved), career::EncodeProfile(p));
    if (p.finished == 0) {
      const N_AthletProfile* athlete = career::RosterAthlete(p.sex, p.athleteIndex);
      EXPECT_EQ(athlete->AthletName, std::string(p.name));
      EXPECT_EQ(athlete->MaxPower, p.power);
      EXPECT_EQ(athlete->RunTechnic, p.runTech);
    }
  }
  EXPECT_EQ(p.finished, 1);
  EXPECT_EQ(p.season, 10);
  EXPECT_GT(simulatedPursuits, 5);
  EXPECT_EQ(races, 10 * 22 - simulatedPursuits) << "ten seasons of ten weeks, two with an extra race";
  EXPECT_TRUE(r.PageVisible("CareerHSFinal"));
  EXPECT_TRUE(r.PageVisible("CareerHS"));
  EXPECT_FALSE(r.PageVisible("Career"));
  N_CareerFinalHS final;
  final.Load();
  EXPECT_EQ(final.At(0, 0).Points, p.points);
  EXPECT_EQ(final.At(0, 0).Account, p.account);
}

/// The slot as a new start loads it; the races booked in its tables (empty when the
/// three files disagree: a race booked in one and not in another, or twice).
std::int32_t BookedOnce(CareerRig& r) {
  N_CareerProfile& p = career::NewProfile();
  EXPECT_EQ(career::LoadCareerProfile(p, kSlot), career::SlotLoad::Loaded);
  N_CareerHS tables;
  EXPECT_EQ(tables.Load(kSlot), TableFile::Read);
  // The races of the season so far: each week a sprint, a pursuit and maybe the extra
  // race, the current week up to its stage; earlier seasons 22 each.
  std::set<std::int64_t> expected;
  for (std::int32_t week = 0; week <= p.raceIndex; ++week) {
    const bool extra = week == p.extraRaces[0] || week == p.extraRaces[1];
    const std::int32_t races = week < p.raceIndex ? (extra ? 3 : 2) : p.stage;
    for (std::int32_t stage = 0; stage < races; ++stage) {
      expected.insert(N_CareerHS::ResultBlock(p.season, p.trackOrder[week], stage));
    }
  }
  std::int32_t booked = 0, playerPoints = 0;
  std::map<std::string, std::int32_t> season;
  for (std::int64_t block = 0; block < 300; ++block) {
    if (tables.Result(std::size_t(block), 0).Empty()) continue;
    ++booked;
    const bool current = block / 30 == p.season;
    EXPECT_TRUE(!current || expected.count(block)) << "block " << block << " booked before its race";
    for (std::size_t place = 0; place < N_CareerHS::kRows; ++place) {
      const N_CareerResultRow& row = tables.Result(std::size_t(block), place);
      if (row.Name == high_scores::RowName(p.name)) playerPoints += row.Points;
      if (current) season[row.Name] += row.Points;
    }
  }
  EXPECT_EQ(booked, 22 * p.season + std::int32_t(expected.size()));
  EXPECT_EQ(p.points, playerPoints) << "the player's points are those of the booked races";
  for (std::size_t s = 0; s < N_CareerHS::kRows && !tables.Standing(s).Empty(); ++s) {
    EXPECT_EQ(tables.Standing(s).Total, season[tables.Standing(s).Name]) << tables.Standing(s).Name;
  }
  // The roster holds the career athlete as the profile has it.
  const std::string roster = r.rig.harness.dir.Read("data/tables/profile2");
  const N_AthletMng& athletes = r.World().AthletMng();
  for (std::size_t i = 0; booked > 0 && i < athletes.AthleteCount(); ++i) {
    if (athletes.Athlete(i) != athletes.GetMale(std::size_t(p.athleteIndex))) continue;
    EXPECT_EQ(roster.size(), athletes.AthleteCount() * 36);
    if (roster.size() >= (i + 1) * 36) {
      EXPECT_EQ(high_scores::GetF32(&roster[i * 36]), p.power);
      EXPECT_EQ(high_scores::GetF32(&roster[i * 36 + 4]), p.hearth);
      EXPECT_EQ(high_scores::GetF32(&roster[i * 36 + 28]), p.runTech);
    }
  }
  return ::testing::Test::HasFailure() ? -1 : booked;
}

// A kill (SIGKILL) at a random moment of a career's race results, 200 times over: the
// next start loads the slot with every race booked exactly once in the tables, the
// profile and the roster. (A race result used to save the tables first and the profile
// last, so a kill between booked the race twice.) Each time a new start of the game
// books no race or one, then dies inside the next one's save, at one of its steps
// (each file's creation, writes and close, the journal's, each rename) drawn at random:
// the moments are steps of the work, whatever the machine's speed.
TEST(CareerRaceResult, AKillDuringRaceResultsLeavesEveryRaceBookedOnce) {
  CareerRig r;
  N_CareerProfile& p = r.Profile();
  p.raceIndex = 0;
  Srand(11);
  StartCareerSeason();
  StartCareerWeek();
  ASSERT_TRUE(career::SaveCareerProfile(p));
  std::mt19937 random(51);
  // A result's save takes 18 steps: three files of 3, 3 and 6, the journal's 3, three renames.
  std::uniform_int_distribution<int> step(1, 18), whole(0, 1);
  std::int32_t booked = 0;
  for (int kill = 0; kill < 200; ++kill) {
    const int races = whole(random), at = step(random);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Srand(unsigned(kill));
      N_CareerProfile& mine = career::NewProfile();
      career::LoadCareerProfile(mine, kSlot);
      r.World().AthletMng().RestoreDefaults();
      r.World().AthletMng().LoadRoster(kSlot);
      career::HandAthleteToRoster(mine);
      for (int race = 0; race <= races; ++race) {
        int steps = 0;
        if (race == races) {
          platform::SetReplaceFailureHook([&steps, at](platform::ReplaceStep) {
            if (++steps == at) raise(SIGKILL);
            return false;
          });
        }
        career::RefreshCareerWeekHeader();
        ProcessCareerRaceResult(CareerRig::Keep(RandomRace(mine)));
      }
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "kill " << kill << " at step " << at << " of race " << races;
    const std::int32_t now = BookedOnce(r);
    ASSERT_GE(now, booked) << "kill " << kill;
    ASSERT_LE(now, booked + races + 1) << "kill " << kill;
    booked = now;
  }
  EXPECT_GT(booked, 100);
  r.World().AthletMng().RestoreDefaults();
}

/// The career rig with what a race start reads: the levels, the path data, the
/// markers and figures; the blocking fade's frames move the clock.
struct LaunchRig : CareerRig {
  LaunchRig() {
    const test::TempDir& dir = rig.harness.dir;
    test::CopyCoursesFromGameRoot(dir);
    test::CopyFigureData(dir);
    for (const char* part : {"data/textures", "data/anim/sipka", "data/anim/starter.mesh", "data/anim/starter.anim",
                             "data/anim/starter_s.anim", "data/anim/puska", "data/anim/terciky", "data/Ai",
                             "data/scripts/markers.shader", "data/textures/markers"}) {
      test::CopyFromGameRoot(dir, part);
    }
    World().ParticleMng().LoadScripts();
    frontend::SetFrameObserver([this](const frontend::FrameEvent& event) {
      if (!event.drawn) clock.counter += 250000;
    });
    NewLog();
  }
  ~LaunchRig() { frontend::SetFrameObserver({}); }

  const GameData& Launched() {
    auto* game = dynamic_cast<N_GameArcade*>(World().Game());
    EXPECT_NE(game, nullptr);
    static const GameData none;
    return game && game->Description() ? *game->Description() : none;
  }
};

// The three races of a week from the career page: the field at 7 s intervals or all
// at once, the pursuit from its list, the week's track of the full table, random
// weather and snow, the race variables, the pages; a pursuit list without the player
// is run at once on the loaded level and comes back through the result page.
TEST(CareerRaceLaunch, SprintMassStartPursuitAndThePursuitWithoutPlayer) {
  LaunchRig r;
  N_CareerProfile& p = r.Profile();
  const std::int32_t track = p.trackOrder[p.raceIndex];
  struct Case {
    std::int32_t discipline;
    std::vector<float> starts;
    std::int32_t playerIndex, laps;
    const char* startPage;
  };
  std::vector<float> interval, together(15, 0.0f);
  for (int i = 0; i < 15; ++i) interval.push_back(-7.0f * float(i));
  const Case cases[] = {
      {4, interval, 14, 3, "StartList"},
      {2, together, 14, 3, "StartListMass"},
      {3, {0.0f, -12.5f, -30.0f}, 1, 5, "StartList"},
  };
  Srand(11);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.discipline);
    p.pursuitCount = 3;
    p.pursuitList[0] = {9, 0.0f};
    p.pursuitList[1] = {kPlayer, -12.5f};
    p.pursuitList[2] = {5, -30.0f};
    p.field[14] = 0;  // the launch puts the player back
    r.World().GuiMng().GetPage("Career")->ShowImmediate();
    r.World().GuiMng().GetPage("CareerHS")->ShowImmediate();
    r.Vars().SetInt("detail", 0, 2);
    r.Vars().SetInt("ShowAnimObj", 1, 2);
    StartCareerRace(c.discipline);
    const GameData& data = r.Launched();
    ASSERT_EQ(data.StartList.size(), c.starts.size());
    for (std::size_t i = 0; i < c.starts.size(); ++i) {
      EXPECT_EQ(data.StartList[i].StartTime, c.starts[i]) << i;
      if (c.discipline != 3) {
        EXPECT_EQ(data.StartList[i].AthleteIndex, p.field[i]) << i;
      }
    }
    EXPECT_EQ(data.StartList[std::size_t(c.playerIndex)].AthleteIndex, kPlayer);
    EXPECT_EQ(data.PlayerIndex, c.playerIndex);
    EXPECT_EQ(data.Laps, c.laps);
    EXPECT_EQ(data.ArcadeLevels, 0);
    EXPECT_EQ(data.Track, track);
    EXPECT_EQ(data.Discipline, c.discipline);
    EXPECT_TRUE(data.Weather >= 0 && data.Weather <= 2 && data.SnowQuality >= 0 && data.SnowQuality <= 2);
    EXPECT_EQ(r.Vars().GetInt("trackmode"), 1);
    EXPECT_EQ(r.Vars().GetInt("gamemode"), 6);
    EXPECT_EQ(r.Vars().GetInt("discipline"), c.discipline);
    EXPECT_EQ(r.Vars().GetInt("detail"), 1);
    EXPECT_EQ(r.Vars().GetInt("ShowAnimObj"), 0);
    EXPECT_FALSE(r.PageVisible("Career"));
    EXPECT_FALSE(r.PageVisible("CareerHS"));
    EXPECT_TRUE(r.PageVisible(c.startPage));
    r.World().GuiMng().GetPage(c.startPage)->Hide();
    r.Frames(1.0);
    EXPECT_FALSE(r.PageVisible("Loading"));
  }

  // A field with an unfilled place starts the athletes there are, the player last.
  p.field[3] = -1;
  StartCareerRace(4);
  ASSERT_EQ(r.Launched().StartList.size(), 14u);
  EXPECT_EQ(r.Launched().PlayerIndex, 13);
  EXPECT_EQ(r.Launched().StartList[13].AthleteIndex, kPlayer);
  EXPECT_EQ(r.Launched().StartList[13].StartTime, -91.0f);
  r.World().GuiMng().GetPage("StartList")->Hide();
  r.Frames(1.0);

  // The pursuit without the player: no page switch, no level load, the race run at once.
  const std::string map = r.Vars().GetString("mapname");
  p.pursuitList[1] = {6, -12.5f};
  r.World().GuiMng().GetPage("Career")->ShowImmediate();
  StartCareerRace(3);
  auto* game = dynamic_cast<N_GameArcade*>(r.World().Game());
  ASSERT_TRUE(game && game->Description());
  EXPECT_EQ(game->Description()->PlayerIndex, -1);
  EXPECT_EQ(game->Description()->Laps, 3);
  EXPECT_TRUE(game->RaceSim()->AllFinished()) << "run at once";
  EXPECT_TRUE(r.PageVisible("Career"));
  EXPECT_EQ(r.Vars().GetString("mapname"), map);
  EXPECT_EQ(r.Vars().GetInt("discipline"), 3);
  r.World().Update(0.0f);
  EXPECT_TRUE(r.PageVisible("FinalResult"));
  const ExportData* result = GetFinishedResult(r.Vars().GetInt("egd"));
  ASSERT_NE(result, nullptr);
  ASSERT_EQ(result->Rows.size(), 3u);
  EXPECT_GT(result->Rows[0].Time, 0.0f) << "the computer has finished the race";
  p.stage = 1;
  FinalResultClick(nullptr);
  EXPECT_EQ(r.Vars().GetInt("detail"), 0);
  EXPECT_EQ(r.Vars().GetInt("ShowAnimObj"), 1);
  EXPECT_EQ(r.Booked(0, track, 1).size(), 3u);
  EXPECT_EQ(p.stage, 0) << "the week is over";
}

// "Start8" through a race week: a booked sponsor event first (its item out of its day,
// the buddy game behind "BuddyStart" with the career's athlete), then the week's end
// with the attribute change page, whose "Continue3" starts the sprint only before the
// week's first race; the pursuit at stage 1, the mass start at stage 2, nothing after.
TEST(CareerWeekSteps, SponsorEventFirstThenTheWeeksEndAndRaces) {
  LaunchRig r;
  N_CareerProfile& p = r.Profile();
  std::snprintf(p.name, sizeof p.name, "Kari Vell");
  std::snprintf(p.nation, sizeof p.nation, "NOR");
  p.sex = 1;
  p.hotel = 0;
  CareerWeekState& week = career::Week();
  week.days[1].push_back(*career::ScheduleItem(1));
  week.sponsorEvent = 3;
  week.sponsorPrize = 1800;
  week.sponsorDay = 1;
  cbSponsorEvent(&r.Element("Yes1"));
  ASSERT_EQ(week.days[1].size(), 2u);
  auto start = [&r](const char* button) {
    r.World().GuiMng().GetPage("CareerHS")->ShowImmediate();
    r.World().GuiMng().GetPage("Career")->ShowImmediate();
    CareerClick(&r.Element(button));
  };

  start("Start8");
  const auto* buddy = dynamic_cast<N_SoloRaceGame*>(r.World().Game());
  ASSERT_TRUE(buddy && buddy->Description());
  const GameData& event = *buddy->Description();
  ASSERT_EQ(event.StartList.size(), 1u);
  EXPECT_EQ(event.StartList[0].AthleteIndex, kPlayer);
  EXPECT_EQ(event.Sex, 1);
  EXPECT_EQ(event.PlayerName, "Kari Vell");
  EXPECT_EQ(event.Nation, "NOR");
  EXPECT_EQ(r.Vars().GetInt("gamemode"), 5);
  EXPECT_EQ(r.Caption("BuddyText1"), r.strings.Find("#str419"));
  EXPECT_EQ(r.Caption("Name1"), "Kari Vell");
  EXPECT_EQ(r.Caption("Name7"), "Kari Vell");
  EXPECT_EQ(r.Element("Natn1").GetShaderName(), "NOR");
  EXPECT_FALSE(r.Element("End1").IsVisible());
  EXPECT_TRUE(r.PageVisible("BuddyStart"));
  EXPECT_FALSE(r.PageVisible("Career"));
  EXPECT_FALSE(r.PageVisible("CareerHS"));
  const N_GuiPage* loading = r.World().GuiMng().GetPage("Loading");
  EXPECT_TRUE(loading->IsVisible() && loading->GetFade() < 0) << "Loading fades out";
  ASSERT_EQ(week.days[1].size(), 1u) << "the event's item is taken out";
  EXPECT_EQ(week.days[1][0].id, 1);
  r.World().GuiMng().GetPage("BuddyStart")->Hide();
  r.Frames(1.0);
  EXPECT_FALSE(loading->IsVisible());

  // With the event played, the week ends: the attribute change page, then the sprint.
  p.sex = 0;
  start("Start8");
  EXPECT_TRUE(r.PageVisible("CareerAttributesInfo"));
  EXPECT_FALSE(r.PageVisible("Career"));
  EXPECT_EQ(r.Vars().GetInt("gamemode"), 5) << "no race yet";
  EXPECT_EQ(p.hotel, -1);
  CareerChangeClick(&r.Element("Continue3"));
  EXPECT_EQ(r.Launched().Discipline, 4);
  EXPECT_EQ(r.Vars().GetInt("gamemode"), 6);
  r.World().GuiMng().GetPage("StartList")->Hide();
  r.Frames(1.0);
  EXPECT_FALSE(r.PageVisible("CareerAttributesInfo"));

  struct Case {
    std::int32_t stage, discipline;  ///< the discipline started, the last one when none is
    const char* startPage;           ///< null: nothing starts
  };
  for (const Case& c : {Case{1, 3, "StartList"}, Case{2, 2, "StartListMass"}, Case{3, 2, nullptr}}) {
    SCOPED_TRACE(c.stage);
    p.stage = c.stage;
    p.pursuitCount = 3;
    p.pursuitList[0] = {9, 0.0f};
    p.pursuitList[1] = {kPlayer, -12.5f};
    p.pursuitList[2] = {5, -30.0f};
    start("Start8");
    EXPECT_EQ(r.Launched().Discipline, c.discipline);
    EXPECT_EQ(r.PageVisible("Career"), c.startPage == nullptr);
    if (!c.startPage) continue;
    EXPECT_TRUE(r.PageVisible(c.startPage));
    r.World().GuiMng().GetPage(c.startPage)->Hide();
    r.Frames(1.0);
  }

  // "Continue3" once the week's races have begun only closes the page.
  p.stage = 1;
  r.World().GuiMng().GetPage("CareerAttributesInfo")->ShowImmediate();
  CareerChangeClick(&r.Element("Continue3"));
  r.Frames(1.0);
  EXPECT_FALSE(r.PageVisible("CareerAttributesInfo"));
  EXPECT_EQ(r.Launched().Discipline, 2);
  EXPECT_EQ(r.Vars().GetInt("discipline"), 2);
  const std::string log = r.NewLog();
  EXPECT_EQ(log.find("not found"), std::string::npos) << log;
}

}  // namespace
