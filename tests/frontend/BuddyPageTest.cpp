// The buddy-games page over the sample "BuddyGames" script: the game arrows, the
// player list beside "Buddy1", the refusal of a series without players, the top
// results and the names the code looks up (the ranking: the series tests).
#include "frontend/BuddyGames.h"
#include "frontend/BuddyGamesHS.h"
#include "frontend/BuddySeries.h"
#include "frontend/FrontendUtil.h"
#include "frontend/RaceTables.h"
#include "gui/GuiEditBox.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiMng.h"
#include "gui/GuiServices.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

struct BuddyRig : test::RacePagesRig {
  BuddyRig() {
    BuddyPlayers.clear();
    BuddyGameIndex = 0;
    frontend::ShowPageNow("BuddyGames");
  }
  ~BuddyRig() { BuddyPlayers.clear(); }
  void Click(const char* button) { BuddyGamesClick(&Element(button)); }
  void Add(const char* name, std::int32_t nation) {
    Element("PlayerName4").SetCaption(name);
    ElementAs<N_GuiImageSelector>("Natn2").SetSelected(nation);
    Click("Add2");
  }
  N_GuiTable& Players() { return ElementAs<N_GuiTable>("Buddy1"); }
  bool Enabled(const char* name) { return Element(name).IsEnabled(); }
  /// The rows of "Buddy1" as they should read from the list.
  std::vector<std::vector<std::string>> ListRows() {
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < BuddyPlayers.size(); ++i) {
      rows.push_back({std::to_string(i + 1), BuddyPlayers[i].name, BuddyPlayers[i].nation});
    }
    return rows;
  }
};

TEST(FrontendBuddyPage, TheArrowsWrapAroundTheSixGamesWithTheirTexts) {
  BuddyRig rig;
  struct Step {
    const char* button;
    std::int32_t from, to;
  };
  for (const Step& s : {Step{"Left1", 0, 5}, Step{"Right1", 5, 0}, Step{"Right1", 2, 3}, Step{"Left1", 3, 2}}) {
    SCOPED_TRACE(s.button + std::to_string(s.from));
    BuddyGameIndex = s.from;
    rig.Click(s.button);
    EXPECT_EQ(BuddyGameIndex, s.to);
    EXPECT_EQ(rig.Caption("BuddyName"), frontend::Text(("#str" + std::to_string(400 + s.to)).c_str()));
    EXPECT_EQ(rig.Caption("BuddyText"), frontend::Text(("#str" + std::to_string(410 + s.to)).c_str()));
    EXPECT_FALSE(rig.Caption("BuddyText").empty());
  }
}

TEST(FrontendBuddyPage, PlayersAreAddedAndRemovedInStepWithTheirRows) {
  BuddyRig rig;
  EXPECT_FALSE(rig.Enabled("Remove2"));
  rig.Add("Anna", 0);
  EXPECT_EQ(rig.Caption("PlayerName4"), "") << "the box waits for the next name";
  rig.Add("Bert \"B\"", 1);  // a quote in a name cannot shift the columns
  rig.Add("", 2);            // an empty name is accepted
  EXPECT_TRUE(rig.Enabled("Add2"));
  EXPECT_TRUE(rig.Enabled("Remove2"));
  rig.Add("Dora", 31);
  EXPECT_FALSE(rig.Enabled("Add2"));
  ASSERT_EQ(BuddyPlayers.size(), 4u);
  EXPECT_EQ(std::string(BuddyPlayers[1].name), "Bert \"B\"");
  EXPECT_EQ(std::string(BuddyPlayers[3].nation), "UKR");
  std::vector<std::vector<std::string>> expected = rig.ListRows();
  expected[1][1] = "Bert 'B'";
  EXPECT_EQ(rig.Rows("Buddy1"), expected);

  // The middle of three: the rows close up and the player who moved up is selected.
  rig.Players().SelectRow(3);
  rig.Click("Remove2");
  EXPECT_TRUE(rig.Enabled("Add2"));
  rig.Players().SelectRow(1);
  rig.Click("Remove2");
  ASSERT_EQ(BuddyPlayers.size(), 2u);
  EXPECT_EQ(std::string(BuddyPlayers[1].name), "");
  EXPECT_EQ(rig.Rows("Buddy1"), rig.ListRows());
  EXPECT_EQ(rig.Players().GetSelectedRow(), 1);
  // The last row: nothing is selected after it.
  rig.Click("Remove2");
  EXPECT_EQ(rig.Players().GetSelectedRow(), -1);
  EXPECT_EQ(rig.Rows("Buddy1"), rig.ListRows());

  // No selection removes nothing; the only player's removal disables "Remove2".
  rig.Click("Remove2");
  EXPECT_EQ(BuddyPlayers.size(), 1u);
  EXPECT_TRUE(rig.Enabled("Remove2"));
  rig.Players().SelectRow(0);
  rig.Click("Remove2");
  EXPECT_TRUE(BuddyPlayers.empty());
  EXPECT_EQ(rig.Players().GetRowCount(), 0);
  EXPECT_FALSE(rig.Enabled("Remove2"));
}

TEST(FrontendBuddyPage, LeavingAndComingBackKeepsPlayersAndGame) {
  BuddyRig rig;
  rig.Add("Anna", 0);
  rig.Add("Bert", 4);
  rig.Click("Right1");
  rig.Click("Back18");
  EXPECT_FALSE(rig.PageVisible("BuddyGames"));
  EXPECT_TRUE(rig.PageVisible("Background"));
  EXPECT_TRUE(rig.PageVisible("TrainingFun"));
  frontend::HidePageNow("TrainingFun");
  frontend::ShowPageNow("BuddyGames");
  EXPECT_EQ(BuddyGameIndex, 1);
  EXPECT_EQ(rig.Caption("BuddyName"), frontend::Text("#str401"));
  EXPECT_EQ(rig.Rows("Buddy1"), rig.ListRows());
  EXPECT_EQ(BuddyPlayers.size(), 2u);
}

TEST(FrontendBuddyPage, ASeriesWithoutPlayersIsRefused) {
  BuddyRig rig;
  rig.Click("Start7");
  EXPECT_TRUE(rig.PageVisible("MessageOK"));
  EXPECT_EQ(rig.Caption("Label2"), frontend::Text("#str322"));
  EXPECT_FALSE(frontend::Text("#str322").empty());
  EXPECT_TRUE(rig.PageVisible("BuddyGames"));
  EXPECT_FALSE(rig.PageVisible("Loading"));
}

TEST(FrontendBuddyPage, TopResultsShowPointsForTheFirstTwoGamesAndTimesOtherwise) {
  BuddyRig rig;
  std::filesystem::create_directories("data/tables");
  N_BuddyGamesHS scores;
  for (std::int32_t game = 0; game < kBuddyGameCount; ++game) scores.Insert(game, "Anna", "AUT", 7, 65.5f);
  ASSERT_TRUE(scores.Save());
  for (std::int32_t game = 0; game < kBuddyGameCount; ++game) {
    SCOPED_TRACE(game);
    BuddyGameIndex = game;
    rig.Click("TopTimes4");
    EXPECT_FALSE(rig.PageVisible("BuddyGames"));
    EXPECT_TRUE(rig.PageVisible("BuddyGamesHS"));
    EXPECT_NE(BuddyHSTable, nullptr);
    const std::string result = game < 2 ? "7" : "01:05.500";
    EXPECT_EQ(rig.Rows("BuddyHS"), (std::vector<std::vector<std::string>>{{"1", "Anna", "AUT", result}}));
    std::string header;
    for (const auto& [name, cell] : rig.ElementAs<N_GuiTable>("BuddyHS").GetHeaderPanel()->Children()) {
      header += (header.empty() ? "" : " ") + cell->GetCaption();
    }
    EXPECT_EQ(header, frontend::Text(game < 2 ? "#str108" : "#str257"));
    BuddyGamesHSClick(&rig.Element("Back19"));
    EXPECT_EQ(BuddyHSTable, nullptr);
    EXPECT_FALSE(rig.PageVisible("BuddyGamesHS"));
    EXPECT_TRUE(rig.PageVisible("BuddyGames"));
  }
}

// The sample scripts hold what the buddy code looks up, of the class and with the
// item and column counts it assumes.
TEST(FrontendBuddyPage, SampleScriptsHoldWhatTheCodeNames) {
  BuddyRig rig;
  N_GuiMng& gui = rig.World().GuiMng();
  struct Named {
    const char* page;
    const char* type;
    std::vector<const char*> elements;
  };
  const Named named[] = {
      {"BuddyGames", "Button", {"Left1", "Right1", "Add2", "Remove2", "Start7", "TopTimes4", "Back18"}},
      {"BuddyGames", "Text", {"BuddyName", "BuddyText"}},
      {"BuddyGames", "Table", {"Buddy1"}},
      {"BuddyGames", "EditBox", {"PlayerName4"}},
      {"BuddyGames", "ImageSelector", {"Natn2"}},
      {"BuddyGamesHS", "Table", {"BuddyHS"}},
      {"BuddyGamesHS", "Button", {"Back19"}},
      {"BuddyStart", "Button", {"Start9", "End1"}},
      {"BuddyStart", "Text", {"Name7", "BuddyText1"}},
      {"FinalResult", "Table", {"FR/Table3"}},
  };
  for (const Named& n : named) {
    for (const char* name : n.elements) {
      const N_GuiElement* element = gui.GetElement(name, false);
      ASSERT_NE(element, nullptr) << name;
      EXPECT_EQ(element->GetPage(), gui.GetPage(n.page)) << name;
      EXPECT_EQ(element->GetTypeName(), n.type) << name;
    }
  }
  EXPECT_FALSE(rig.Element("Remove2").IsEnabled());
  EXPECT_TRUE(rig.Element("Add2").IsEnabled());
  EXPECT_EQ(rig.ElementAs<N_GuiEditBox>("PlayerName4").GetMaxChars(), 31);
  EXPECT_EQ(rig.ElementAs<N_GuiTable>("Buddy1").GetColumnCount(), 3u);
  EXPECT_EQ(rig.ElementAs<N_GuiTable>("BuddyHS").GetColumnCount(), 4u);
  EXPECT_EQ(rig.ElementAs<N_GuiTable>("FR/Table3").GetColumnCount(), 4u);
  auto& flags = rig.ElementAs<N_GuiImageSelector>("Natn2");
  ASSERT_EQ(flags.ItemCount(), kNationCodes.size());
  for (std::size_t i = 0; i < kNationCodes.size(); ++i) EXPECT_EQ(flags.ItemShader(i), GuiAddShader(kNationCodes[i])) << i;
  for (std::int32_t game = 0; game < kBuddyGameCount; ++game) {
    for (const std::int32_t base : {400, 410}) {
      EXPECT_FALSE(frontend::Text(BuddyGameKey(base, game).c_str()).empty()) << base + game;
    }
  }
  for (const char* key : {"#str165", "#str322"}) EXPECT_FALSE(frontend::Text(key).empty()) << key;
  EXPECT_TRUE(rig.Element("BuddyGames").IsEnabled()) << "the menu's button";
  EXPECT_EQ(rig.NewLog().find("not found"), std::string::npos);
}

}  // namespace
