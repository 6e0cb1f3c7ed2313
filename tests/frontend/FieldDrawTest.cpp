// The track and nation tables, the draw of distinct starters and the opposing relay
// teams.
#include "core/Random.h"
#include "frontend/AthleteField.h"
#include "frontend/RaceTables.h"
#include "race/AthletMng.h"
#include "race/ExportData.h"
#include "race/ResultOrder.h"
#include "render/ShaderMng.h"
#include "tests/render/ShaderTestSupport.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

namespace {

TEST(FrontendTables, LevelFilesNationsAndResultOrder) {
  test::TempDir dir;
  test::CoreServices core;
  struct LevelCase {
    std::int32_t row;
    bool arcade;
    bool fog;
    const char* file;
  };
  for (const LevelCase& c : {LevelCase{3, false, false, "Oberhof.alf"}, LevelCase{3, false, true, "fog_Oberhof.alf"},
                             LevelCase{6, true, false, "Pokljuka.alf"}, LevelCase{6, false, false, "Torino.alf"},
                             LevelCase{11, false, false, "Training.alf"}, LevelCase{12, false, true, ""},
                             LevelCase{8, true, false, ""}, LevelCase{-1, false, false, ""}}) {
    EXPECT_EQ(GetLevelFileName(c.row, c.arcade, c.fog), c.file) << c.row << " " << c.arcade << " " << c.fog;
  }
  EXPECT_STREQ(GetNationCode(0), "GER");
  EXPECT_STREQ(GetNationCode(31), "UKR");
  EXPECT_STREQ(GetNationCode(32), "");
  EXPECT_STREQ(GetNationCode(-1), "");
  EXPECT_NE(core.LogText().find("no nation in row 32"), std::string::npos);
  EXPECT_NE(core.LogText().find("no level in row 12"), std::string::npos);
  EXPECT_EQ(FindNationRow("ukr"), 31);
  EXPECT_EQ(FindNationRow("XYZ"), 32);

  std::vector<N_ResultRow> rows(3);
  rows[0].Time = 100.0f;
  rows[1].Time = -1.0f;
  rows[2].Time = 95.5f;
  std::stable_sort(rows.begin(), rows.end(), ResultRowTimeLess);
  EXPECT_EQ(rows[0].Time, 95.5f);
  EXPECT_EQ(rows[1].Time, 100.0f);
  EXPECT_EQ(rows[2].Time, -1.0f);
  N_ResultRow a, b;
  a.Time = -1.0f;
  b.Time = -3.0f;
  EXPECT_FALSE(ResultRowTimeLess(a, b));
  EXPECT_FALSE(ResultRowTimeLess(b, a));
}

TEST(FrontendDraws, DistinctValuesWithTheEndsHalfAsOften) {
  Srand(38);
  std::vector<std::int32_t> out;
  PickRandomAthletes(0, 14, 14, 3, out);
  ASSERT_EQ(out.size(), 14u);
  const std::set<std::int32_t> distinct(out.begin(), out.end());
  EXPECT_EQ(distinct.size(), 14u);
  EXPECT_EQ(distinct.count(3), 0u);
  EXPECT_EQ(*distinct.begin(), 0);
  EXPECT_EQ(*distinct.rbegin(), 14);

  // A count beyond the pool gives the whole pool and stops; none draws nothing.
  out.assign({99});
  PickRandomAthletes(5, 8, 10, 6, out);
  EXPECT_EQ(std::set<std::int32_t>(out.begin(), out.end()), (std::set<std::int32_t>{5, 7, 8, 99}));
  EXPECT_EQ(out.size(), 4u);
  PickRandomAthletes(0, 4, 0, -1, out);
  PickRandomAthletes(3, 3, 2, 3, out);
  EXPECT_EQ(out.size(), 4u);

  constexpr int kDraws = 100000;
  std::array<int, 5> counts{};
  for (int i = 0; i < kDraws; ++i) {
    out.clear();
    PickRandomAthletes(10, 14, 1, -1, out);
    ASSERT_EQ(out.size(), 1u);
    ++counts[static_cast<std::size_t>(out[0] - 10)];
  }
  for (std::size_t v = 0; v < counts.size(); ++v) {
    const double expected = (v == 0 || v == 4) ? kDraws / 8.0 : kDraws / 4.0;
    EXPECT_NEAR(counts[v], expected, expected * 0.05) << "value " << v;
  }
}

/// An athlete manager over profiles of the given nations, all men, in that order.
struct Roster {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeShaderHost host;
  N_ShaderMng shaders{1024, host};
  N_AthletMng athletes{shaders};

  explicit Roster(const std::vector<std::pair<const char*, int>>& nations) {
    std::string text;
    int n = 0;
    for (const auto& [code, count] : nations) {
      for (int i = 0; i < count; ++i) {
        text += "{\nAthletName A" + std::to_string(n++) + "\nSex Male\nNationality " + code + "\n}\n";
      }
    }
    dir.Write("profiles.data", text);
    athletes.ParseProfiles("profiles.data");
    athletes.SplitBySex();
  }
};

TEST(FrontendRelayTeams, ThreeOpposingNationsOfFourEach) {
  Roster roster({{"GER", 5}, {"AUT", 4}, {"SUI", 4}, {"USA", 4}, {"FRA", 3}});
  for (unsigned seed : {1u, 2u, 38u}) {
    Srand(seed);
    std::vector<std::int32_t> nationOrder;  // the draw the teams must follow
    PickRandomAthletes(0, 2, 3, -1, nationOrder);
    Srand(seed);
    std::vector<std::uint32_t> out{777};
    BuildRelayTeams(roster.athletes, 0, "ger", out);
    ASSERT_EQ(out.size(), 13u) << seed;
    EXPECT_EQ(out[0], 777u);
    const std::array<const char*, 3> candidates{"AUT", "SUI", "USA"};
    for (std::size_t team = 0; team < 3; ++team) {
      std::set<std::uint32_t> members;
      for (std::size_t leg = 0; leg < 4; ++leg) {
        const std::uint32_t index = out[1 + team * 4 + leg];
        members.insert(index);
        EXPECT_EQ(roster.athletes.GetMale(index)->Nationality,
                  candidates[static_cast<std::size_t>(nationOrder[team])])
            << "seed " << seed << " team " << team;
      }
      EXPECT_EQ(members.size(), 4u);
    }
  }
  EXPECT_EQ(roster.core.LogText().find("***"), std::string::npos);
}

TEST(FrontendRelayTeams, TooFewNationsIsReportedAndAddsNothing) {
  Roster roster({{"GER", 5}, {"AUT", 4}, {"SUI", 4}, {"USA", 3}});
  std::vector<std::uint32_t> out;
  BuildRelayTeams(roster.athletes, 0, "AUT", out);  // GER and SUI remain
  EXPECT_TRUE(out.empty());
  EXPECT_NE(roster.core.LogText().find("*** There must be at least 4 nationalities with at least 4 athletsin "
                                       "playerprofiles.data to play relay"),
            std::string::npos)
      << roster.core.LogText();
  BuildRelayTeams(roster.athletes, 1, "AUT", out);  // no women at all
  EXPECT_TRUE(out.empty());
}

}  // namespace
