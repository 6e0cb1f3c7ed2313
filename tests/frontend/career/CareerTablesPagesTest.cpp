// The career's table pages and its end over the race pages' test world with the sample
// page scripts: the buttons pressed as the GUI delivers a click, the tables read from
// and written to the slot's files.
#include "frontend/CareerTables.h"
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerState.h"
#include "frontend/career/CareerTablesPages.h"

#include "gui/GuiElement.h"
#include "gui/GuiEvent.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTextSelector.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;
const char* const kCareerPages[] = {"Career",   "CareerHS",  "CareerHS1",  "CareerHS2",           "CareerHelp",
                                    "CareerHSFinal", "CareerProfile", "CareerAttributes", "CareerAttributesInfo"};

struct TablesRig : test::RacePagesRig {
  TablesRig() { std::filesystem::create_directories(rig.harness.dir.Path() + "/data/tables"); }
  ~TablesRig() {
    career::TablesPageTable().reset();
    career::DeleteProfile();
  }
  /// A left click as the GUI delivers it: through the element's script binding.
  void Press(const char* name) {
    N_GuiEvent event;
    event.type = N_GuiEventType::Button;
    event.button = kGuiLeftButton;
    event.pressed = true;
    Element(name).HandleEvent(event);
  }
  void ShowOnly(std::initializer_list<const char*> pages) {
    for (const auto& [name, page] : World().GuiMng().Pages()) {
      if (page.get() != World().GuiMng().GetCursorPage()) page->Hide();
    }
    for (const char* page : pages) frontend::ShowPageNow(page);
  }
  std::string File(const char* name) { return rig.harness.dir.Read(std::string("data/tables/") + name); }
};

TEST(CareerTablesPages, StandingsResultsHelpAndTheWayBack) {
  TablesRig r;
  career::NewProfile().number = 4;
  N_CareerHS tables;
  tables.AddResult(0, 1, 3, 2, "Ann", "NOR", 95.5f, 1, 12);
  tables.AddResult(1, 1, 3, 2, "Bob", "SWE", -1.0f, 3, 0);
  tables.AddResult(0, 0, 0, 0, "Bob", "SWE", 90.0f, 0, 14);
  ASSERT_TRUE(tables.Save(4));

  // "Tables1" shows the frame and the standings, loaded from the slot's file.
  r.ShowOnly({"CareerHS", "CareerHS1"});
  const Rows standings = r.Rows("CareerHS1");
  ASSERT_EQ(standings.size(), 2u);
  EXPECT_EQ(standings[0][1], "Bob");
  EXPECT_EQ(standings[0][3], "14");
  EXPECT_EQ(standings[1][1], "Ann");
  EXPECT_EQ(standings[1].size(), 14u);
  const N_CareerHS* loaded = career::TablesPageTable().get();
  ASSERT_NE(loaded, nullptr);

  // Showing the standings again keeps the tables of the first showing.
  std::filesystem::remove(r.rig.harness.dir.Path() + "/data/tables/career4.hs");
  frontend::HidePageNow("CareerHS1");
  frontend::ShowPageNow("CareerHS1");
  EXPECT_EQ(r.Rows("CareerHS1"), standings);

  r.Press("Details2");
  EXPECT_FALSE(r.PageVisible("CareerHS1"));
  EXPECT_TRUE(r.PageVisible("CareerHS2"));
  EXPECT_EQ(r.Rows("CareerHS2").size(), 1u) << "season 0, track 0, sprint";

  // A selector's click shows the race of the three selectors.
  r.ElementAs<N_GuiTextSelector>("Season1").SetSelected(1);
  r.ElementAs<N_GuiTextSelector>("Track2").SetSelected(3);
  r.ElementAs<N_GuiTextSelector>("Discipline10").SetSelected(2);
  CareerHS2Click(&r.Element("Track2"));
  const Rows results = r.Rows("CareerHS2");
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0][1], "Ann");
  EXPECT_EQ(results[1][3], "Disq");

  r.Press("Back26");
  EXPECT_FALSE(r.PageVisible("CareerHS2"));
  EXPECT_TRUE(r.PageVisible("CareerHS1"));
  EXPECT_EQ(career::TablesPageTable().get(), loaded) << "not reloaded";
  EXPECT_EQ(r.Rows("CareerHS1"), standings);

  r.Press("Back23");
  EXPECT_EQ(career::TablesPageTable(), nullptr);
  EXPECT_FALSE(r.PageVisible("CareerHS1"));
  EXPECT_TRUE(r.PageVisible("Career"));
  EXPECT_TRUE(r.PageVisible("CareerHS"));

  // The help page and its way back.
  r.ShowOnly({"CareerHelp"});
  r.Press("Back24");
  EXPECT_FALSE(r.PageVisible("CareerHelp"));
  EXPECT_TRUE(r.PageVisible("CareerHS"));
  EXPECT_TRUE(r.PageVisible("Career"));
}

TEST(CareerEnd, FinishEntersTheFinalTableAndBack27LeavesTheCareer) {
  TablesRig r;
  N_CareerFinalHS before;
  before.Insert(1, "Old", "AUT", 40000, 300);
  ASSERT_TRUE(before.Save());
  struct Case {
    std::int32_t difficulty, account, points;
    bool entered;
    const char* caption;
  };
  const Case cases[] = {
      {1, 50000, 10, true, "#str019"},  // money ranks before points
      {1, 90000, 0, false, "#str019"},  // no points: nothing entered
      {0, 500, 1, true, "#str018"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.account);
    const std::string table = r.File("career.hs");
    N_CareerProfile& p = career::NewProfile();
    p.number = 2;
    p.started = 1;
    p.difficulty = c.difficulty;
    p.account = c.account;
    p.points = c.points;
    std::snprintf(p.name, sizeof p.name, "Zed%d", c.account);
    r.ShowOnly({"Background", "CareerHS", "Career"});

    // "Finish1" asks; "No1" changes nothing.
    r.Press("Finish1");
    EXPECT_TRUE(r.PageVisible("MessageYesNo"));
    EXPECT_EQ(r.Caption("Label1"), r.strings.Find("#str320"));
    r.Press("No1");
    EXPECT_EQ(p.finished, 0);
    EXPECT_FALSE(r.PageVisible("MessageYesNo"));
    EXPECT_TRUE(r.PageVisible("Career"));

    r.Press("Finish1");
    r.Press("Yes1");
    EXPECT_EQ(p.finished, 1);
    const std::string saved = r.File("profile2.dat");
    ASSERT_EQ(saved.size(), 488u);
    EXPECT_EQ(saved[4 + 141], 1) << "saved finished";
    ASSERT_EQ(r.File("career.hs").size(), N_CareerFinalHS::kFileBytes);
    if (!c.entered) {
      EXPECT_EQ(r.File("career.hs"), table);
    }
    N_CareerFinalHS after;
    after.Load();
    if (c.entered) {
      EXPECT_EQ(std::string(after.At(c.difficulty, 0).Name), p.name);
      EXPECT_EQ(r.Rows("CareerHS")[0][1], p.name);
    }
    if (c.entered && c.difficulty == 1) {
      EXPECT_EQ(std::string(after.At(1, 1).Name), "Old") << "below the larger account";
    }
    EXPECT_EQ(r.Rows("CareerHS").size(), c.difficulty == 1 ? 2u : 1u);
    EXPECT_EQ(r.Caption("Difficulty11"), r.strings.Find(c.caption));
    EXPECT_TRUE(r.PageVisible("CareerHSFinal"));
    EXPECT_FALSE(r.PageVisible("Career"));

    r.Press("Back27");
    EXPECT_EQ(career::Profile(), nullptr);
    EXPECT_TRUE(r.PageVisible("Background"));
    EXPECT_TRUE(r.PageVisible("SinglePlayer"));
    for (const char* page : kCareerPages) EXPECT_FALSE(r.PageVisible(page)) << page;
  }
}

}  // namespace
