// The race set-up pages over the sample pages, levels and athletes, driven by clicks:
// the individual and relay launches (the description, the race variables, the level,
// the sound groups, the pages), and what the page does with the relay team.
#include "core/Globals.h"
#include "core/VarMng.h"
#include "frontend/FrontendFrame.h"
#include "frontend/SetupPages.h"
#include "gui/GuiElement.h"
#include "gui/GuiImageSelector.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "gui/GuiTable.h"
#include "gui/GuiTextSelector.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/GameArcade.h"
#include "race/GameData.h"
#include "race/GameRelay.h"
#include "race/LoadingProgress.h"
#include "race/Racer.h"
#include "race/RelayTeam.h"
#include "scene/ParticleEmitter.h"
#include "tests/frontend/MenuRig.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

/// The menus' rig with what a race start reads: the levels, the path data and the
/// markers and figures the games load; the blocking fade's frames move the clock.
struct LaunchRig : test::MenuRig {
  LaunchRig() {
    const test::TempDir& dir = pages.rig.harness.dir;
    test::CopyCoursesFromGameRoot(dir);
    test::CopyFigureData(dir);
    for (const char* part : {"data/textures", "data/anim/sipka", "data/anim/starter.mesh", "data/anim/starter.anim",
                             "data/anim/starter_s.anim", "data/anim/puska", "data/anim/terciky"}) {
      test::CopyFromGameRoot(dir, part);
    }
    pages.World().ParticleMng().LoadScripts();  // the levels' snow
    frontend::SetFrameObserver([this](const frontend::FrameEvent& event) {
      if (!event.drawn) pages.clock.counter += 250000;
    });
    pages.NewLog();
  }
  ~LaunchRig() { frontend::SetFrameObserver({}); }

  N_VarMng& Vars() { return *pages.rig.core.vars; }
  void Choose(const char* name, int index) {
    N_GuiElement& element = pages.Element(name);
    if (auto* image = dynamic_cast<N_GuiImageSelector*>(&element)) image->SetSelected(std::uint32_t(index));
    if (auto* text = dynamic_cast<N_GuiTextSelector*>(&element)) text->SetSelected(std::uint32_t(index));
  }
  N_GuiTable& Table(const char* name) { return pages.ElementAs<N_GuiTable>(name); }
  /// Clicks the selector until it shows the item.
  void ClickTo(const char* selector, int item) {
    for (int i = 0; i < 4 && int(pages.ElementAs<N_GuiTextSelector>(selector).GetSelected()) != item; ++i) {
      Press(selector);
      pages.Frames(1.0);  // the item's slide; a selector in mid-slide takes no click
    }
  }
  bool SnowFalling() { return pages.World().Level().snow && pages.World().Level().snow->IsEmitting(); }
  /// The first four men of the nation.
  std::vector<std::uint32_t> Men(const char* nation) {
    std::vector<std::uint32_t> men;
    N_AthletMng& athletes = pages.World().AthletMng();
    for (std::size_t i = 0; i < athletes.GetMaleCount() && men.size() < 4; ++i) {
      if (athletes.GetMale(i)->Nationality == nation) men.push_back(std::uint32_t(i));
    }
    return men;
  }
  void AddToTeam(const char* table, std::uint32_t row) {
    Table(table).SelectRow(std::int32_t(row));
    Press("Add1");
  }
};

/// The switches of the race's sound groups, as the launch must make them.
std::vector<std::pair<int, bool>> RaceSounds() { return {{4, true}, {5, true}, {3, true}, {2, true}, {6, true}, {1, false}}; }

struct IndividualCase {
  const char* page;
  const char* suffix;  ///< of the page's element names
  int level, weather, discipline, sex, difficulty;
  const char* mapname;
  bool snowfall;
  std::int32_t code;  ///< the description's discipline
  const char* startList;
  int trackmode, gamemode, arcadeLevels;
};

TEST(SetupLaunch, IndividualRacesFromBothPagesFillTheDescriptionAndTheRaceVariables) {
  LaunchRig r;
  std::vector<std::string> calls;
  r.pages.World().SetGame(std::make_unique<test::NotingGame>(calls));
  const IndividualCase cases[] = {
      {"Arcade", "1", 3, 0, 0, 0, 0, "Oberhof.alf", false, 4, "StartList", 2, 0, 1},
      {"Arcade", "1", 3, 1, 1, 1, 1, "fog_Oberhof.alf", true, 4, "StartList", 2, 0, 1},
      {"Arcade", "1", 3, 2, 2, 0, 1, "fog_Oberhof.alf", false, 2, "StartListMass", 2, 0, 1},
      {"SingleRace", "3", 6, 0, 0, 1, 0, "Torino.alf", false, 4, "StartList", 1, 1, 0},
      {"SingleRace", "3", 6, 1, 2, 0, 0, "fog_Torino.alf", true, 2, "StartListMass", 1, 1, 0},
  };
  for (const IndividualCase& c : cases) {
    SCOPED_TRACE(std::string(c.page) + " " + c.mapname + " discipline " + std::to_string(c.discipline));
    const std::string s = c.suffix;
    r.ShowOnly({"Background", c.page});
    r.Choose(("Level" + s).c_str(), c.level);
    r.Choose(("Weather" + s).c_str(), c.weather);
    r.Choose(("SnowQuality" + s).c_str(), 2);
    r.Choose(("Discipline" + s).c_str(), c.discipline);
    r.ClickTo(("Sex" + s).c_str(), c.sex);
    r.Choose(("Difficulty" + s).c_str(), c.difficulty);
    const std::int32_t player = 5;
    r.Table(("Athlets" + s).c_str()).SelectRow(player);
    r.Vars().SetInt("detail", 0, 2);
    r.Vars().SetInt("ShowAnimObj", 1, 2);
    r.Sound().switches.clear();
    static std::size_t switchesAtLoad;
    static const test::CategorySoundMng* sounds;
    switchesAtLoad = 0;
    sounds = &r.Sound();
    SetLoadingProgressObserver([](float) {
      if (switchesAtLoad == 0) switchesAtLoad = sounds->switches.size();
    });
    r.Press(("Start" + s).c_str());
    SetLoadingProgressObserver({});
    EXPECT_EQ(switchesAtLoad, RaceSounds().size()) << "the sound groups switch before the level loads";

    auto* game = dynamic_cast<N_GameArcade*>(r.pages.World().Game());
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(game->Paused());
    const GameData& data = *game->Description();
    ASSERT_EQ(data.StartList.size(), 15u);
    for (std::size_t i = 0; i < 15; ++i) {
      EXPECT_EQ(data.StartList[i].StartTime, c.discipline == 2 ? 0.0f : -7.0f * float(i)) << i;
      if (i < 14) {
        EXPECT_NE(data.StartList[i].AthleteIndex, player);
      }
    }
    EXPECT_EQ(data.StartList[14].AthleteIndex, player);
    EXPECT_EQ(data.PlayerIndex, 14);
    EXPECT_EQ(data.Laps, 3);
    EXPECT_EQ(data.ArcadeLevels, c.arcadeLevels);
    EXPECT_EQ(data.Discipline, c.code);
    EXPECT_EQ(data.Weather, c.weather);
    EXPECT_EQ(data.SnowQuality, 2);
    EXPECT_EQ(data.Sex, c.sex);
    EXPECT_EQ(data.Track, c.level);
    EXPECT_EQ(data.Difficulty, c.difficulty);
    EXPECT_EQ(r.Vars().GetInt("trackmode"), c.trackmode);
    EXPECT_EQ(r.Vars().GetInt("gamemode"), c.gamemode);
    EXPECT_EQ(r.Vars().GetInt("discipline"), c.code);
    EXPECT_EQ(r.Vars().GetInt("detail"), 1);
    EXPECT_EQ(r.Vars().GetInt("ShowAnimObj"), 0);
    EXPECT_EQ(r.Vars().GetString("mapname"), std::string(c.mapname));
    EXPECT_EQ(r.pages.World().CurrentMapName(), c.mapname);
    EXPECT_EQ(r.SnowFalling(), c.snowfall);
    EXPECT_EQ(r.Sound().switches, RaceSounds());
    EXPECT_FALSE(r.pages.PageVisible(c.page));
    EXPECT_TRUE(r.pages.PageVisible(c.startList));
    N_GuiPage* loading = r.Gui().GetPage("Loading");
    EXPECT_TRUE(loading->IsVisible() && loading->GetFade() < 0) << "Loading fades out";
    r.pages.Frames(1.0);
    EXPECT_FALSE(loading->IsVisible());
    r.Gui().GetPage(c.startList)->Hide();
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"OnRemove", "deleted"})) << "the game before the first launch";
  EXPECT_EQ(r.pages.NewLog().find("not found"), std::string::npos);
}

// What keeps a race from starting: no athlete selected, a track outside the page's
// table; and the smaller field of a list of fewer than fifteen.
TEST(SetupLaunch, WithoutAnAthleteOrWithAForeignTrackNothingStartsAndFewAthletesMakeASmallField) {
  LaunchRig r;
  r.ShowOnly({"Background", "Arcade"});
  r.Table("Athlets1").MarkRow(0);  // marked rows are not selected: none is
  r.Press("Start1");
  EXPECT_EQ(r.pages.World().Game(), nullptr);
  EXPECT_TRUE(r.pages.PageVisible("Arcade"));
  EXPECT_NE(r.pages.NewLog().find("ArcadeClick: no athlete is selected, nothing is started"), std::string::npos);

  auto& level = r.pages.ElementAs<N_GuiImageSelector>("Level1");
  level.AddItem("textures\\menu\\trat10s", "");  // a ninth picture: no row of the arcade table
  r.Choose("Level1", 8);
  r.Table("Athlets1").SelectRow(0);
  r.Press("Start1");
  EXPECT_EQ(r.pages.World().Game(), nullptr);
  EXPECT_TRUE(r.pages.PageVisible("Arcade"));
  EXPECT_NE(r.pages.NewLog().find("ArcadeClick: track 8 is no row of the level table"), std::string::npos);

  // Six men in all: five rivals, the player last.
  N_AthletMng& roster = r.pages.World().AthletMng();
  for (std::size_t i = 6; i < roster.GetMaleCount(); ++i) roster.GetMale(i)->Sex = 1;
  roster.SplitBySex();
  r.ShowOnly({"Background", "Arcade"});
  r.Choose("Level1", 1);
  r.Table("Athlets1").SelectRow(2);
  r.Press("Start1");
  auto* game = dynamic_cast<N_GameArcade*>(r.pages.World().Game());
  ASSERT_NE(game, nullptr);
  const GameData& data = *game->Description();
  ASSERT_EQ(data.StartList.size(), 6u);
  EXPECT_EQ(data.StartList.back().AthleteIndex, 2);
  EXPECT_EQ(data.PlayerIndex, 5);
}

// The relay page beside the set-up page, the team built by clicks, the "#str316" box for
// three members, the relay of four teams with the player's last, the team kept after
// the start and when the page shows again, emptied by a change of sex, and the
// one-team relay.
TEST(SetupLaunch, RelayTeamsAreBuiltStartedAndKeptByThePage) {
  LaunchRig r;
  r.ShowOnly({"Background", "Arcade"});
  N_GuiElement& frame = r.pages.Element("p1");
  N_GuiTable& athletes = r.Table("Athlets1");
  EXPECT_EQ(frame.GetHeight(), 172.0f);
  EXPECT_EQ(athletes.GetHeight(), 152.0f);
  r.ClickTo("Discipline1", 3);
  // Room for three athletes' rows under the header; the scroll bar reaches the rest.
  EXPECT_EQ(frame.GetHeight(), 118.0f);
  EXPECT_EQ(athletes.GetHeight(), 98.0f);
  EXPECT_TRUE(r.pages.PageVisible("Relay"));

  const std::vector<std::uint32_t> team = r.Men("GER");
  ASSERT_EQ(team.size(), 4u);
  for (std::size_t i = 0; i < 3; ++i) r.AddToTeam("Athlets1", team[i]);
  r.Press("Start1");
  EXPECT_TRUE(r.pages.PageVisible("MessageOK"));
  EXPECT_EQ(r.pages.Caption("Label2"), r.pages.strings.Find("#str316"));
  EXPECT_EQ(r.pages.World().Game(), nullptr);
  r.Press("Ok1");

  // Away from the relay and back: the rows of the team are marked again.
  r.ClickTo("Discipline1", 0);
  EXPECT_EQ(frame.GetHeight(), 172.0f);
  EXPECT_FALSE(r.pages.PageVisible("Relay"));
  EXPECT_EQ(athletes.GetSelectedRow(), 0);
  EXPECT_FALSE(athletes.IsRowMarked(std::int32_t(team[0])));
  r.ClickTo("Discipline1", 3);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(athletes.IsRowMarked(std::int32_t(team[i])));

  r.AddToTeam("Athlets1", team[3]);
  EXPECT_FALSE(r.pages.Element("Add1").IsEnabled());
  r.Sound().switches.clear();
  r.Press("Start1");
  auto* relay = dynamic_cast<N_GameRelay*>(r.pages.World().Game());
  ASSERT_NE(relay, nullptr);
  ASSERT_EQ(relay->TeamCount(), 4u);
  EXPECT_EQ(relay->PlayerTeam(), relay->Team(3));
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(relay->Team(3)->Members[i]->AthleteIndex, std::int32_t(team[i]));
  for (std::size_t t = 0; t < 3; ++t) {
    const N_AthletProfile* rival = r.pages.World().AthletMng().GetMale(std::size_t(relay->Team(t)->Members[0]->AthleteIndex));
    EXPECT_NE(rival->Nationality, "GER");
    EXPECT_EQ(relay->Team(t)->Members[0]->Time, relay->Team(3)->Members[0]->Time) << "every team starts at once";
  }
  EXPECT_EQ(r.Vars().GetInt("discipline"), 1);
  EXPECT_EQ(r.Vars().GetInt("gamemode"), 0);
  EXPECT_EQ(r.Vars().GetInt("detail"), 1);
  EXPECT_EQ(r.Sound().switches, RaceSounds());
  EXPECT_TRUE(r.pages.PageVisible("StartListRelay"));
  EXPECT_EQ(RelayTeam, team) << "the launch keeps the team";
  EXPECT_TRUE(ArcadeSetup().RelayMode());

  // The page again (after the race, or back from the top times): the same team, listed
  // and marked, "Add1" off and "Remove1" on.
  r.Gui().GetPage("StartListRelay")->Hide();
  r.ShowOnly({"Background", "Arcade"});
  EXPECT_EQ(RelayTeam, team);
  EXPECT_TRUE(r.pages.PageVisible("Relay"));
  EXPECT_EQ(r.Table("Relay1").GetRowCount(), 4);
  for (std::uint32_t member : team) EXPECT_TRUE(athletes.IsRowMarked(std::int32_t(member)));
  EXPECT_FALSE(r.pages.Element("Add1").IsEnabled());
  EXPECT_TRUE(r.pages.Element("Remove1").IsEnabled());
  // A change of sex empties the team: its rows would name other athletes.
  r.ClickTo("Sex1", 1);
  EXPECT_TRUE(RelayTeam.empty());
  EXPECT_EQ(r.Table("Relay1").GetRowCount(), 0);
  EXPECT_TRUE(r.pages.Element("Add1").IsEnabled());
  r.ClickTo("Sex1", 0);
  for (std::uint32_t member : team) r.AddToTeam("Athlets1", member);
  ASSERT_EQ(RelayTeam.size(), 4u);

  // No other nation with four men: the report, and the team alone with the player first.
  N_AthletMng& roster = r.pages.World().AthletMng();
  for (std::size_t i = 0; i < roster.GetMaleCount(); ++i) roster.GetMale(i)->Nationality = "GER";
  r.pages.NewLog();
  r.Press("Start1");
  relay = dynamic_cast<N_GameRelay*>(r.pages.World().Game());
  ASSERT_NE(relay, nullptr);
  EXPECT_EQ(relay->TeamCount(), 1u);
  EXPECT_EQ(relay->PlayerTeam(), relay->Team(0));
  const std::string log = r.pages.NewLog();
  EXPECT_NE(log.find("There must be at least 4 nationalities"), std::string::npos);
  EXPECT_EQ(log.find("realgruop is bad"), std::string::npos);

  // "Back6" leaves the relay page with the set-up page; the mode stays.
  r.Gui().GetPage("StartListRelay")->Hide();
  r.ShowOnly({"Background", "Arcade", "Relay"});
  r.Press("Back6");
  EXPECT_EQ(r.Visible(), (std::vector<std::string>{"Background", "SinglePlayer"}));
  EXPECT_TRUE(ArcadeSetup().RelayMode());
  // The single race's page showing the women: the men's team goes.
  ASSERT_EQ(RelayTeam.size(), 4u);
  r.Choose("Sex3", 1);
  r.ShowOnly({"Background", "SingleRace"});
  EXPECT_TRUE(RelayTeam.empty());
  EXPECT_EQ(r.Table("Relay1").GetRowCount(), 0);
}

// The program started again in one process (a restart): the fresh page shows the first
// discipline, and its mode follows the page, not the earlier start's relay.
TEST(SetupLaunch, APageOfANewStartTakesTheModeItsSelectorShows) {
  {
    LaunchRig r;
    r.ShowOnly({"Background", "Arcade"});
    r.ClickTo("Discipline1", 3);
    ASSERT_TRUE(ArcadeSetup().RelayMode());
  }
  LaunchRig again;
  again.ShowOnly({"Background", "Arcade"});
  EXPECT_FALSE(ArcadeSetup().RelayMode());
  EXPECT_FALSE(again.pages.PageVisible("Relay"));
}

}  // namespace
