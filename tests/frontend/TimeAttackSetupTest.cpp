// The time attack's pages over the sample scripts: the course pictures that follow the
// course length (on the training page too), the launch with its ghost, the top-times
// page's course list, and the results page's step that keeps a new best as the ghost.
#include "frontend/TimeAttackSetup.h"
#include "frontend/TrainingSetup.h"

#include "core/VarMng.h"
#include "gui/GuiEditBox.h"
#include "gui/GuiPage.h"
#include "race/ExportData.h"
#include "race/FinishedResults.h"
#include "race/GameData.h"
#include "race/GameTimeAttack.h"
#include "race/RunRecorder.h"
#include "race/TopTimeTables.h"
#include "tests/frontend/SoloModesRig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using test::SoloModesRig;
using Click = void (*)(N_GuiElement*);

/// A run of six samples from x on.
std::unique_ptr<N_RunRecorder> SixSamples(float x) {
  auto run = std::make_unique<N_RunRecorder>();
  run->StartRecording(nullptr, {x, 0, 0}, {1, 0, 0}, 2);
  for (int i = 0; i < 5; ++i) run->Step(0.11f, {x + float(i), 1, 0}, {0, 1, 0}, 3);
  return run;
}

TEST(SoloSetupPages, CoursePicturesFollowTheCourseLength) {
  SoloModesRig rig;
  struct Page {
    const char* courses;
    const char* length;
    Click click;
  };
  const auto all = SoloModesRig::CoursePictures({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  const auto shortOnes = SoloModesRig::CoursePictures({1, 2, 3, 4, 5, 6, 8, 9});
  for (const Page& p : {Page{"Level2", "TrackLength", TimeAttackClick}, Page{"Level5", "TrackLength1", TrainingClick}}) {
    SCOPED_TRACE(p.courses);
    auto& courses = rig.ElementAs<N_GuiImageSelector>(p.courses);
    ASSERT_EQ(rig.Pictures(p.courses), all);
    for (int round = 0; round < 2; ++round) {
      rig.Choose({{p.courses, 7}, {p.length, 1}});
      p.click(&rig.Element(p.length));
      EXPECT_EQ(rig.Pictures(p.courses), shortOnes);
      EXPECT_EQ(courses.GetSelected(), 0u);
      rig.Choose({{p.courses, 5}, {p.length, 0}});
      p.click(&rig.Element(p.length));
      EXPECT_EQ(rig.Pictures(p.courses), all);
      EXPECT_EQ(courses.GetSelected(), 0u);
    }
    // A repeated click on the same length never doubles or loses pictures.
    p.click(&rig.Element(p.length));
    EXPECT_EQ(rig.Pictures(p.courses), all);
  }
}

TEST(TimeAttackSetup, LaunchesOneRacerAgainstTheGhostOfItsSettings) {
  SoloModesRig rig;
  ASSERT_TRUE(SixSamples(0.0f)->Save("time_attack2101.dat"));
  N_VarMng& vars = *rig.rig.core.vars;
  TimeAttackShow(nullptr);
  struct Run {
    int level, trackLength, gameMode, difficulty, sex, athlete;
    const char* map;
    std::uint8_t laps;
    int ghostSamples;
  };
  for (const Run& run : {Run{2, 0, 1, 1, 1, 3, "Ostersund.alf", 5, 6}, Run{6, 1, 0, 0, 0, 2, "Pokljuka.alf", 3, 0},
                         Run{6, 0, 0, 1, 0, 4, "Torino.alf", 3, 0}}) {
    SCOPED_TRACE(run.map);
    vars.SetInt("discipline", 1, 2);  // left by a relay
    frontend::ShowPageNow("TimeAttack");
    rig.Choose({{"Sex2", run.sex}});
    TimeAttackClick(&rig.Element("Sex2"));
    rig.Choose({{"TrackLength", run.trackLength}});
    TimeAttackClick(&rig.Element("TrackLength"));
    rig.Choose({{"Level2", run.level}, {"GameMode", run.gameMode}, {"Difficulty2", run.difficulty},
                {"Athlets2", run.athlete}});
    TimeAttackClick(&rig.Element("Start2"));
    auto* game = dynamic_cast<N_GameTimeAttack*>(rig.World().Game());
    ASSERT_NE(game, nullptr);
    const GameData& d = *game->Description();
    ASSERT_EQ(d.StartList.size(), 1u);
    EXPECT_EQ(d.StartList[0].AthleteIndex, run.athlete);
    EXPECT_EQ(d.StartList[0].StartTime, -5.0f);
    EXPECT_EQ(d.Sex, run.sex);
    EXPECT_EQ(d.Discipline, DisciplineCode::kTimeAttack);
    EXPECT_EQ(d.Track, run.level);
    EXPECT_EQ(d.Laps, run.laps);
    EXPECT_EQ(d.PlayerIndex, 0);
    EXPECT_EQ(d.ArcadeLevels, run.trackLength);
    EXPECT_EQ(d.Difficulty, run.difficulty);
    EXPECT_EQ(d.Weather, 0);
    EXPECT_EQ(d.SnowQuality, 1);
    EXPECT_EQ(game->Ghost()->GhostSampleCount(), run.ghostSamples);
    EXPECT_STREQ(vars.GetString("mapname"), run.map);
    EXPECT_EQ(rig.World().CurrentMapName(), run.map);
    EXPECT_EQ(vars.GetInt("trackmode"), run.trackLength + 1);
    EXPECT_EQ(vars.GetInt("gamemode"), 2);
    EXPECT_EQ(vars.GetInt("discipline"), DisciplineCode::kTimeAttack);
    EXPECT_EQ(vars.GetInt("detail"), 1);
    EXPECT_EQ(vars.GetInt("ShowAnimObj"), 0);
    EXPECT_EQ(rig.Caption("FR/Caption"), std::string(run.map).substr(0, std::string(run.map).size() - 4));
    EXPECT_EQ(rig.Caption("FR/Discipline"), rig.strings.Find("#str152"));
    EXPECT_FALSE(rig.Caption("FR/Discipline").empty());
    // The camera's start flight instead of a start list; the race waits for it.
    EXPECT_TRUE(game->Paused());
    EXPECT_EQ(rig.World().CameraMng().RaceController().Mode(), 1);
    for (const char* list : {"StartList", "StartListMass", "StartListRelay"}) EXPECT_FALSE(rig.PageVisible(list));
    EXPECT_FALSE(rig.PageVisible("TimeAttack"));
  }
  EXPECT_EQ(rig.NewLog().find("fog_"), std::string::npos);

  // No athlete selected: nothing starts, and the log says why.
  N_Game* before = rig.World().Game();
  frontend::ShowPageNow("TimeAttack");
  rig.ElementAs<N_GuiTable>("Athlets2").Clear();
  TimeAttackClick(&rig.Element("Start2"));
  EXPECT_EQ(rig.World().Game(), before);
  EXPECT_TRUE(rig.PageVisible("TimeAttack"));
  EXPECT_NE(rig.NewLog().find("no athlete is selected"), std::string::npos);
}

TEST(TimeAttackSetup, TopTimesSkipTheShortCoursesThreeAndFive) {
  SoloModesRig rig;
  // One entry in the block of track 4 (short courses, men, 3 laps, easy).
  N_TimeAttackHS table;
  table.Insert(4, 1, 0, 0, 0, "Ann", "Ana Kel", "NOR", 75.25f, 1);
  ASSERT_TRUE(table.Save());
  frontend::ShowPageNow("TimeAttackHS");
  struct Step {
    const char* click;
    int track, trackLength;  ///< chosen before the click
    int trackAfter;
  };
  for (const Step& s : {Step{"Track10", 3, 1, 4}, Step{"Track10", 5, 1, 6}, Step{"Track10", 3, 0, 3},
                        Step{"TrackLength10", 3, 1, 0}, Step{"TrackLength10", 5, 1, 0},
                        Step{"TrackLength10", 4, 1, 4}}) {
    SCOPED_TRACE(std::string(s.click) + " " + std::to_string(s.track));
    rig.Choose({{"Track10", s.track}, {"TrackLength10", s.trackLength}});
    TimeAttackHSClick(&rig.Element(s.click));
    EXPECT_EQ(rig.ElementAs<N_GuiTextSelector>("Track10").GetSelected(), std::uint32_t(s.trackAfter));
    EXPECT_EQ(rig.Rows("TimeAttackHS").size(), s.trackAfter == 4 && s.trackLength == 1 ? 1u : 0u);
  }
  // "Back20" frees the table: a selector click shows nothing new.
  TimeAttackHSClick(&rig.Element("Back20"));
  EXPECT_FALSE(rig.PageVisible("TimeAttackHS"));
  EXPECT_TRUE(rig.PageVisible("TimeAttack"));
  rig.Choose({{"Track10", 0}});
  TimeAttackHSClick(&rig.Element("Track10"));
  EXPECT_EQ(rig.Rows("TimeAttackHS").size(), 1u);
}

/// A finished time attack under a handle: one row and its run.
std::int32_t KeepRun(float time, float x) {
  auto result = std::make_unique<ExportData>();
  N_ResultRow row;
  row.Time = time;
  result->Rows.push_back(row);
  result->Ghost = SixSamples(x);
  return StoreFinishedResult(std::move(result));
}

TEST(TimeAttackSetup, ANewBestOfItsBlockBecomesTheGhost) {
  SoloModesRig rig;
  frontend::ShowPageNow("TimeAttack");
  rig.Choose({{"Level2", 2}, {"GameMode", 1}, {"TrackLength", 0}, {"Difficulty2", 1}, {"Athlets2", 0}});
  const std::string ghost = "data/tables/time_attack2101.dat";

  const std::int32_t first = KeepRun(100.0f, 50.0f);
  rig.ClickResult(2, first);
  EXPECT_TRUE(rig.PageVisible("TimeAttack"));
  EXPECT_EQ(rig.rig.core.vars->GetInt("detail"), 0) << "the menu reset";
  EXPECT_EQ(GetFinishedResult(first), nullptr) << "released with its run";
  const std::string saved = rig.Dir().Read(ghost);
  ASSERT_EQ(saved.size(), 6u * 28u);
  // The same samples as the run saved by itself, and they load as a ghost.
  ASSERT_TRUE(SixSamples(50.0f)->Save("same.dat"));
  EXPECT_EQ(saved, rig.Dir().Read("data/tables/same.dat"));
  N_RunRecorder back;
  ASSERT_TRUE(back.Load("time_attack2101.dat"));
  EXPECT_EQ(back.GhostSampleCount(), 6);

  // A slower run leaves the ghost; a faster one whose ghost cannot be written is still
  // entered, and the log and the player's box say the ghost was not kept.
  rig.ClickResult(2, KeepRun(120.0f, 7.0f));
  EXPECT_EQ(rig.Dir().Read(ghost), saved);
  std::filesystem::remove(rig.Dir().Path() + "/" + ghost);
  std::filesystem::create_directories(rig.Dir().Path() + "/" + ghost + "/x");
  rig.NewLog();
  rig.ClickResult(2, KeepRun(90.0f, 9.0f));
  EXPECT_NE(rig.NewLog().find("not kept as the ghost"), std::string::npos);
  EXPECT_TRUE(rig.PageVisible("MessageOK"));
  N_TimeAttackHS table;
  ASSERT_EQ(table.Load(), TableFile::Read);
  const std::int64_t block = N_TimeAttackHS::BlockIndex(2, 0, 0, 1, 1);
  EXPECT_EQ(table.At(std::size_t(block), 0).Time, 90.0f);
  EXPECT_EQ(table.At(std::size_t(block), 2).Time, 120.0f);
}

}  // namespace
