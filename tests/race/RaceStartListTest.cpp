// The pages around a race start on the sample scripts: the start lists of every
// discipline, the final-result page's texts, the start info with its countdown, the
// level-name tables and the track map's picture.
#include "core/VarMng.h"
#include "gui/GuiElement.h"
#include "gui/GuiMap.h"
#include "gui/GuiMng.h"
#include "gui/GuiPage.h"
#include "race/AthletProfile.h"
#include "race/GameData.h"
#include "race/LevelMap.h"
#include "race/LevelTables.h"
#include "race/StartInfo.h"
#include "race/StartList.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using Cells = std::vector<std::string>;

GameData Race(std::int32_t discipline, std::int32_t sex, const std::vector<float>& offsets) {
  GameData data;
  data.Discipline = discipline;
  data.Sex = sex;
  data.Track = 1;
  data.ArcadeLevels = 1;
  for (std::size_t i = 0; i < offsets.size(); ++i) data.StartList.push_back({std::int32_t(i), offsets[i]});
  return data;
}

/// The flag and the name of an athlete of the list of the sex.
Cells Athlete(N_World& world, std::int32_t sex, std::size_t index) {
  const N_AthletProfile* a = sex == 0 ? world.AthletMng().GetMale(index) : world.AthletMng().GetFemale(index);
  EXPECT_NE(a, nullptr) << index;
  return a ? Cells{a->Nationality, a->AthletName} : Cells{"?", "?"};
}

Cells Row(const std::string& number, const Cells& athlete, const std::vector<std::string>& rest) {
  Cells row{number};
  row.insert(row.end(), athlete.begin(), athlete.end());
  row.insert(row.end(), rest.begin(), rest.end());
  return row;
}

TEST(RaceStartList, EveryDisciplineFillsItsPageAndTheFinalResultTexts) {
  test::RacePagesRig r;
  N_World& world = r.World();
  ASSERT_GE(world.AthletMng().GetMaleCount(), 8u);
  ASSERT_GE(world.AthletMng().GetFemaleCount(), 3u);
  const std::string men = r.strings.Find("#str306"), women = r.strings.Find("#str307");
  ASSERT_FALSE(men.empty());

  struct Case {
    const char* name;
    GameData data;
    const char* caption;  ///< the start list's caption and title; null: none
    const char* title;
    const char* table;
    const char* titleKey;
    std::vector<Cells> rows;
  };
  std::vector<Case> cases;
  cases.push_back({"sprint", Race(4, 0, {0.0f, -30.0f, -7.5f}), "SL/Caption", "SL/Discipline", "SL/Table", "#str308",
                   {Row("1", Athlete(world, 0, 0), {"00:00.000"}), Row("2", Athlete(world, 0, 1), {"+00:30.000"}),
                    Row("3", Athlete(world, 0, 2), {"+00:07.500"})}});
  cases.push_back({"pursuit", Race(3, 1, {-3.0f, -3.5f}), "SL/Caption", "SL/Discipline", "SL/Table", "#str309",
                   {Row("1", Athlete(world, 1, 0), {"00:00.000"}), Row("2", Athlete(world, 1, 1), {"+00:03.500"})}});
  cases.push_back({"mass start", Race(2, 0, {0.0f, 0.0f}), "SL/Caption1", "SL/Discipline1", "SL/Table1", "#str310",
                   {Row("1", Athlete(world, 0, 0), {}), Row("2", Athlete(world, 0, 1), {})}});
  Case relay{"relay", Race(1, 0, std::vector<float>(8, 0.0f)), "SL/Caption2", "SL/Discipline2", "SL/Table2", "#str311", {}};
  for (std::size_t i = 0; i < 8; ++i) {
    relay.rows.push_back(Row(std::to_string(i + 1), Athlete(world, 0, i), {i < 4 ? "1" : "2"}));
  }
  cases.push_back(relay);
  cases.push_back({"run training", Race(12, 1, {0.0f}), nullptr, nullptr, nullptr, "#str135", {}});
  cases.push_back({"shooting training", Race(13, 0, {0.0f}), nullptr, nullptr, nullptr, "#str147", {}});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The captions and tables keep something of the case before, which must go.
    for (const char* caption : {"SL/Caption", "SL/Caption1", "SL/Caption2", "FR/Caption", "FR/Discipline"}) {
      r.Element(caption).SetCaption("old");
    }
    const std::vector<Cells> sprintRows = r.Rows("SL/Table");
    FillStartListTables(c.data);
    const std::string title = (c.data.Sex == 0 ? men : women) + " " + r.strings.Find(c.titleKey);
    EXPECT_EQ(r.Caption("FR/Caption"), "Holmenkollen");
    EXPECT_EQ(r.Caption("FR/Discipline"), title);
    if (c.table) {
      EXPECT_EQ(r.Caption(c.caption), "Holmenkollen");
      EXPECT_EQ(r.Caption(c.title), title);
      EXPECT_EQ(r.Rows(c.table), c.rows);
    } else {
      EXPECT_EQ(r.Rows("SL/Table"), sprintRows) << "no table filled";
      for (const char* caption : {"SL/Caption", "SL/Caption1", "SL/Caption2"}) EXPECT_EQ(r.Caption(caption), "old");
    }
  }
}

TEST(RaceStartList, StartersWithoutARecordAndNamesThatBreakRowsStayInTheirColumns) {
  test::RacePagesRig r;
  N_World& world = r.World();
  N_AthletProfile* first = world.AthletMng().GetMale(0);
  ASSERT_NE(first, nullptr);
  first->AthletName = "Say \"Hi\" //not a comment";
  first->Nationality = "";  // a flag cell without a picture
  GameData data = Race(4, 0, {0.0f, -1.0f, -2.0f});
  data.StartList[1].AthleteIndex = 100000;  // no such athlete: the default record
  data.StartList[2].AthleteIndex = -5;
  FillStartListTables(data);
  const N_AthletProfile defaults;
  EXPECT_EQ(r.Rows("SL/Table"), (std::vector<Cells>{{"1", "", "Say 'Hi' //not a comment", "00:00.000"},
                                                    {"2", defaults.Nationality, defaults.AthletName, "+00:01.000"},
                                                    {"3", defaults.Nationality, defaults.AthletName, "+00:02.000"}}));
}

TEST(RaceStartList, EachDisciplineShowsItsOwnPage) {
  test::RacePagesRig r;
  const char* pages[] = {"StartListRelay", "StartListMass", "StartList"};
  struct Case {
    std::int32_t discipline;
    const char* page;  ///< null: none
  } cases[] = {{1, "StartListRelay"}, {2, "StartListMass"}, {3, "StartList"}, {4, "StartList"},
               {5, nullptr},          {0, nullptr},        {12, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.discipline);
    for (const char* page : pages) r.World().GuiMng().GetPage(page)->Hide();
    ShowStartList(c.discipline);
    for (const char* page : pages) {
      EXPECT_EQ(r.PageVisible(page), c.page && std::string(c.page) == page) << page;
    }
  }
}

TEST(RaceStartList, TheStartInfoShowsTheVenueTheConditionsAndTheCountdown) {
  test::RacePagesRig r;
  ShowStartInfo(1, true, 2, 0);
  EXPECT_TRUE(r.PageVisible("StartInfo"));
  EXPECT_EQ(r.World().GuiMng().GetPage("StartInfo")->GetAlpha(), 0.0f) << "fading in";
  EXPECT_EQ(r.Caption("MapName"), "Holmenkollen");
  EXPECT_EQ(r.Caption("Weather7"), r.strings.Find("#str302"));
  EXPECT_EQ(r.Element("WeatherIcon").GetShaderName(), "textures\\menu\\foggy");
  EXPECT_EQ(r.Caption("SnowQuality2"), r.strings.Find("#str303"));
  EXPECT_EQ(r.Element("SnowIcon").GetShaderName(), "textures\\menu\\dry");
  EXPECT_EQ(r.Caption("Counter"), "00:07");

  struct Count {
    float seconds;
    const char* text;
  } counts[] = {{4.6f, "00:05"}, {0.4f, "00:00"}, {4.5f, "00:05"}, {0.5f, "00:01"}, {-0.4f, "00:00"}, {NAN, "00:00"}};
  for (const Count& c : counts) {
    UpdateStartCounter(c.seconds);
    EXPECT_EQ(r.Caption("Counter"), c.text) << c.seconds;
  }

  // Codes outside the tables leave their pair as it was; the other pair follows its code.
  ShowStartInfo(6, false, 3, 1);
  EXPECT_EQ(r.Caption("MapName"), "Torino");
  EXPECT_EQ(r.Caption("Weather7"), r.strings.Find("#str302"));
  EXPECT_EQ(r.Element("WeatherIcon").GetShaderName(), "textures\\menu\\foggy");
  EXPECT_EQ(r.Caption("SnowQuality2"), r.strings.Find("#str304"));
  EXPECT_EQ(r.Element("SnowIcon").GetShaderName(), "textures\\menu\\wet");
  ShowStartInfo(20, true, 0, -1);
  EXPECT_EQ(r.Caption("MapName"), "");
  EXPECT_EQ(r.Element("WeatherIcon").GetShaderName(), "textures\\menu\\sunny");
  EXPECT_EQ(r.Element("SnowIcon").GetShaderName(), "textures\\menu\\wet");

  CloseStartInfo();
  r.Frames(0.5);
  EXPECT_FALSE(r.PageVisible("StartInfo"));
}

TEST(RaceStartList, WeatherSnowAndLevelNamesByTheirCodes) {
  test::RacePagesRig r;
  struct Name {
    std::int32_t code;
    const char* weatherKey;  ///< null: the empty text
    const char* snowKey;
  } names[] = {{0, "#str300", "#str303"}, {1, "#str301", "#str304"}, {2, "#str302", "#str305"},
               {3, nullptr, nullptr},     {-1, nullptr, nullptr}};
  for (const Name& n : names) {
    SCOPED_TRACE(n.code);
    EXPECT_EQ(GetWeatherName(n.code), n.weatherKey ? r.strings.Find(n.weatherKey) : "");
    EXPECT_EQ(GetSnowQualityName(n.code), n.snowKey ? r.strings.Find(n.snowKey) : "");
    if (n.weatherKey) {
      EXPECT_FALSE(GetWeatherName(n.code).empty()) << "the sample texts have it";
    }
  }

  struct Level {
    std::int32_t row;
    bool arcade;
    const char* name;
  } levels[] = {{0, false, "Beitostolen"}, {6, false, "Torino"},     {6, true, "Pokljuka"},  {7, true, "Hochfilzen"},
                {11, false, "Training"},   {9, false, "Khanty-Mansiysk"}, {8, true, ""}, {12, false, ""},
                {-1, false, ""},           {-1, true, ""}};
  for (const Level& l : levels) EXPECT_STREQ(GetLevelName(l.row, l.arcade), l.name) << l.row << " " << l.arcade;
}

TEST(RaceStartList, TheTrackMapShowsTheLevelsPicture) {
  test::RacePagesRig r;
  N_GuiElement& map = r.Element("Map1");
  EXPECT_EQ(map.GetTypeName(), "Map");
  struct Case {
    std::int32_t row;
    bool arcade;
    const char* shader;  ///< the picture afterwards
  } cases[] = {{6, false, "Torino"}, {6, true, "Pokljuka"}, {12, false, "Pokljuka"}, {-3, true, "Pokljuka"},
               {1, true, "Holmenkollen"}};
  for (const Case& c : cases) {
    ShowLevelMap(c.row, c.arcade);
    EXPECT_EQ(map.GetShaderName(), c.shader) << c.row << " " << c.arcade;
  }

  // The racers' marks on the map where it stands now, the player's as the markers set it.
  auto& track = dynamic_cast<N_GuiMap&>(map);
  track.ApplyLayout();
  const float x = track.GetScreenX(), y = track.GetScreenY(), w = track.GetWidth(), h = track.GetHeight();
  EXPECT_EQ(track.GetPlayerIndex(), N_GuiMap::kNoPlayer) << "none until the markers set it";
  SetMapPlayerMark(0);
  EXPECT_EQ(track.GetPlayerIndex(), 0u);
  UpdateMapMarks({{0.5f, 0.5f, 12.0f}, {0.0f, 1.0f, 0.0f}, {0.25f, 0.75f, 0.0f}});
  ASSERT_EQ(track.Marks().size(), 3u);
  EXPECT_FLOAT_EQ(track.Marks()[0].x, x + 0.5f * w);
  EXPECT_FLOAT_EQ(track.Marks()[0].y, y + 0.5f * h);
  EXPECT_FLOAT_EQ(track.Marks()[1].x, x);
  EXPECT_FLOAT_EQ(track.Marks()[1].y, y + h);
  UpdateMapMarks({{0.25f, 0.25f, 0.0f}});
  EXPECT_EQ(track.Marks().size(), 1u) << "fewer racers, fewer marks";
  SetMapPlayerMark(-1);
  EXPECT_EQ(track.GetPlayerIndex(), N_GuiMap::kNoPlayer);
}

}  // namespace
