// The relay team page over the sample "Relay" page and stand-ins of the two set-up
// pages it serves. The sample athletes come four to a nation, the men first: rows 0 to
// 3 of the men are one nation, row 4 another.
#include "frontend/AthleteField.h"
#include "frontend/FrontendUtil.h"
#include "frontend/RelayTeam.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct RelayRig : test::RacePagesRig {
  RelayRig() { World().GuiMng().ParseGuiFile(NAVO_FRONTEND_TEST_PAGES "/setup.gui"); }

  N_GuiTable& Table(const char* name) { return ElementAs<N_GuiTable>(name); }
  /// Selects the row of the table (when not negative) and clicks the button.
  void Click(const char* button, const char* table, std::int32_t row) {
    if (row >= 0) Table(table).SelectRow(row);
    RelayClick(&Element(button));
  }
  /// The names in "Relay1", in row order.
  std::vector<std::string> TeamNames() {
    std::vector<std::string> names;
    for (const auto& row : Rows("Relay1")) names.push_back(row.at(0));
    return names;
  }
  std::vector<std::string> NamesOf(const std::vector<std::uint32_t>& members) {
    std::vector<std::string> names;
    for (std::uint32_t m : members) names.push_back(World().AthletMng().GetMale(m)->AthletName);
    return names;
  }
  bool Enabled(const char* name) { return Element(name).IsEnabled(); }
};

TEST(FrontendRelayPage, AddsMovesAndRemovesOneNationsTeamOnEitherSetupPage) {
  RelayRig rig;
  struct Page {
    const char* page;
    const char* other;
    const char* athletes;
  };
  for (const Page& p : {Page{"Arcade", "SingleRace", "Athlets1"}, Page{"SingleRace", "Arcade", "Athlets3"}}) {
    SCOPED_TRACE(p.page);
    frontend::HidePageNow(p.other);
    frontend::ShowPageNow(p.page);
    frontend::ShowPageNow("Relay");
    FillAthleteList(p.athletes, 0);
    RelayTeam.clear();
    rig.Table("Relay1").Clear();
    rig.Element("Add1").SetEnabled(true);
    rig.Element("Remove1").SetEnabled(false);
    N_GuiTable& athletes = rig.Table(p.athletes);

    rig.Click("Add1", p.athletes, 2);
    rig.Click("Add1", p.athletes, 0);
    // Another nation: the box, and the team stays as it was.
    rig.Click("Add1", p.athletes, 4);
    EXPECT_TRUE(rig.PageVisible("MessageOK"));
    EXPECT_EQ(rig.Caption("Label2"), frontend::Text("#str317"));
    EXPECT_FALSE(frontend::Text("#str317").empty());
    EXPECT_EQ(RelayTeam, (std::vector<std::uint32_t>{2, 0}));
    EXPECT_FALSE(athletes.IsRowMarked(4));
    frontend::HidePageNow("MessageOK");
    rig.Click("Add1", p.athletes, 3);
    EXPECT_TRUE(rig.Enabled("Add1"));
    rig.Click("Add1", p.athletes, 1);
    EXPECT_EQ(RelayTeam, (std::vector<std::uint32_t>{2, 0, 3, 1}));
    EXPECT_EQ(rig.TeamNames(), rig.NamesOf(RelayTeam));
    for (std::int32_t row = 0; row < 5; ++row) EXPECT_EQ(athletes.IsRowMarked(row), row < 4) << row;
    EXPECT_FALSE(rig.Enabled("Add1"));
    EXPECT_TRUE(rig.Enabled("Remove1"));

    // The first up and the last down stay; up from row 2 swaps legs 1 and 2.
    rig.Click("Up1", "Relay1", 0);
    rig.Click("Down1", "Relay1", 3);
    EXPECT_EQ(RelayTeam, (std::vector<std::uint32_t>{2, 0, 3, 1}));
    rig.Click("Up1", "Relay1", 2);
    EXPECT_EQ(RelayTeam, (std::vector<std::uint32_t>{2, 3, 0, 1}));
    EXPECT_EQ(rig.Table("Relay1").GetSelectedRow(), 1);
    rig.Click("Down1", "Relay1", -1);
    EXPECT_EQ(RelayTeam, (std::vector<std::uint32_t>{2, 0, 3, 1}));
    EXPECT_EQ(rig.TeamNames(), rig.NamesOf(RelayTeam));

    rig.Click("Remove1", "Relay1", 0);
    EXPECT_EQ(RelayTeam, (std::vector<std::uint32_t>{0, 3, 1}));
    EXPECT_EQ(rig.TeamNames(), rig.NamesOf(RelayTeam));
    EXPECT_FALSE(athletes.IsRowMarked(2));
    EXPECT_TRUE(athletes.IsRowMarked(0));
    EXPECT_TRUE(rig.Enabled("Add1"));
    for (int left = 3; left > 0; --left) {
      EXPECT_TRUE(rig.Enabled("Remove1"));
      rig.Click("Remove1", "Relay1", left - 1);
    }
    EXPECT_TRUE(RelayTeam.empty());
    EXPECT_EQ(rig.Table("Relay1").GetRowCount(), 0);
    EXPECT_FALSE(rig.Enabled("Remove1"));
  }
}

TEST(FrontendRelayPage, WithoutItsPageOrTheMembersRecordNothingChanges) {
  RelayRig rig;
  frontend::ShowPageNow("Relay");
  FillAthleteList("Athlets1", 0);
  RelayTeam.clear();
  rig.Click("Add1", "Athlets1", 0);  // neither set-up page shows
  EXPECT_TRUE(RelayTeam.empty());

  // A member no list of this sex holds (the team was made for the other sex).
  frontend::ShowPageNow("Arcade");
  RelayTeam = {9999};
  rig.Table("Relay1").AddRow("\"Gone\" GER 1 2 3 4 5 6 7 8 9", false);
  for (const char* button : {"Add1", "Remove1"}) {
    rig.Click(button, std::string(button) == "Add1" ? "Athlets1" : "Relay1", 0);
    EXPECT_EQ(RelayTeam, std::vector<std::uint32_t>{9999}) << button;
  }
  EXPECT_FALSE(rig.Table("Athlets1").IsRowMarked(0));
  EXPECT_FALSE(rig.PageVisible("MessageOK"));
  RelayTeam.clear();
}

}  // namespace
