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
  for (const auto& [row, code] : {std::pair{0, "GER"}, {31, "UKR"}, {32, ""}, {-1, ""}}) {
    EXPECT_STREQ(GetNationCode(row), code) << row;
  }
  EXPECT_NE(core.LogText().find("no nation in row 32"), std::string::npos);
  EXPECT_NE(core.LogText().find("no level in row 12"), std::string::npos);
  EXPECT_EQ(FindNationRow("ukr"), 31);
  EXPECT_EQ(FindNationRow("XYZ"), 32);

  std::vector<N_ResultRow> rows(3);
  for (std::size_t i = 0; i < 3; ++i) rows[i].Time = std::array{100.0f, -1.0f, 95.5f}[i];
  std::stable_sort(rows.begin(), rows.end(), ResultRowTimeLess);
  EXPECT_EQ((std::array{rows[0].Time, rows[1].Time, rows[2].Time}), (std::array{95.5f, 100.0f, -1.0f}));
  rows[0].Time = -3.0f;
  EXPECT_FALSE(ResultRowTimeLess(rows[0], rows[2]));
  EXPECT_FALSE(ResultRowTimeLess(rows[2], rows[0]));
}

TEST(FrontendDraws, DistinctValuesWithTheEndsHalfAsOften) {
  Srand(38);
  std::vector<std::int32_t> out;
  PickRandomAthletes(0, 14, 14, 3, out);
  const std::set<std::int32_t> all{0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  EXPECT_EQ(out.size(), 14u);
  EXPECT_EQ(std::set<std::int32_t>(out.begin(), out.end()), all);

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
  out.clear();
  for (int i = 0; i < kDraws; ++i) PickRandomAthletes(10, 14, 1, -1, out);
  ASSERT_EQ(out.size(), std::size_t(kDraws));
  for (std::int32_t v : out) ++counts[static_cast<std::size_t>(v - 10)];
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

TEST(FrontendRelayTeams, ThreeOpposingNationsOfFourEachOrAReport) {
  Roster roster({{"GER", 5}, {"AUT", 4}, {"SUI", 4}, {"USA", 4}, {"FRA", 3}});
  const std::array<const char*, 3> candidates{"AUT", "SUI", "USA"};
  for (unsigned seed : {1u, 2u, 38u}) {
    Srand(seed);
    std::vector<std::int32_t> nationOrder;  // the first draw: the order of the teams
    PickRandomAthletes(0, 2, 3, -1, nationOrder);
    Srand(seed);
    std::vector<std::uint32_t> out{777};
    BuildRelayTeams(roster.athletes, 0, "ger", out);
    ASSERT_EQ(out.size(), 13u) << seed;
    for (std::size_t team = 0; team < 3; ++team) {
      const std::set<std::uint32_t> members(out.begin() + 1 + team * 4, out.begin() + 5 + team * 4);
      EXPECT_EQ(members.size(), 4u);
      for (std::uint32_t m : members) {
        EXPECT_EQ(roster.athletes.GetMale(m)->Nationality, candidates[std::size_t(nationOrder[team])]) << seed;
      }
    }
  }
  EXPECT_EQ(roster.core.LogText().find("***"), std::string::npos);

  // With USA down to three, only AUT and SUI are left: the report, and nothing drawn.
  roster.athletes.GetMale(13)->Nationality = "GER";
  std::vector<std::uint32_t> out;
  BuildRelayTeams(roster.athletes, 0, "GER", out);
  BuildRelayTeams(roster.athletes, 1, "GER", out);  // no women at all
  EXPECT_TRUE(out.empty());
  EXPECT_NE(roster.core.LogText().find("*** There must be at least 4 nationalities with at least 4 athletsin "
                                       "playerprofiles.data to play relay"),
            std::string::npos);
}

}  // namespace
