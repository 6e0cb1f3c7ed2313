#include "core/FormatString.h"
#include "race/AthletMng.h"
#include "render/ShaderMng.h"
#include "tests/race/RaceTestSupport.h"
#include "tests/render/ShaderTestSupport.h"
#include "tools/CourseCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

namespace {

/// A manager over a shader manager of its own, in a temporary game root.
struct AthletRig {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeShaderHost host;
  N_ShaderMng shaders{1024, host};
  N_AthletMng athletes{shaders};

  void Parse(const std::string& text) {
    dir.Write("profiles.data", text);
    athletes.ParseProfiles("profiles.data");
    athletes.SplitBySex();
  }
  /// The "*** " report lines of the log, in order.
  std::vector<std::string> Reports() const {
    std::vector<std::string> out;
    const std::string log = core.LogText();
    for (std::size_t at = log.find("*** "); at != std::string::npos; at = log.find("*** ", at + 4)) {
      const std::size_t end = log.find('\n', at);
      out.push_back(log.substr(at + 4, end == std::string::npos ? std::string::npos : end + 1 - at - 4));
    }
    return out;
  }
};

TEST(AthletProfiles, BlocksKeysAndFaultsAsTheFileGivesThem) {
  struct Case {
    const char* what;
    std::string file;
    std::vector<std::string> reports;
    std::function<void(const N_AthletMng&)> check;
  };
  const Case cases[] = {
      {"the second block inherits every value but its name",
       "{\nAthletName \"Ana Kel\"\nSex Female\nNationality NOR\nMaxPower 70\n}\n{\nAthletName Bea\n}\n",
       {},
       [](const N_AthletMng& m) {
         ASSERT_EQ(m.GetFemaleCount(), 2u);
         EXPECT_EQ(m.GetMaleCount(), 0u);
         EXPECT_EQ(m.GetFemale(0)->AthletName, "Ana Kel");
         EXPECT_EQ(m.GetFemale(1)->AthletName, "Bea");
         EXPECT_EQ(m.GetFemale(1)->Nationality, "NOR");
         EXPECT_EQ(m.GetFemale(1)->MaxPower, 70.0f);
         EXPECT_EQ(m.GetFemale(1)->OptPulse, 50.0f);
       }},
      {"sex words without case; another value is male",
       "{ sex fEMALE }\n{\nSEX male\n}\n{\nSex 1\n}\n",
       {"Unknown param in Sex at line 6, force to Sex==Male\n"},
       [](const N_AthletMng& m) {
         EXPECT_EQ(m.GetFemaleCount(), 1u);
         EXPECT_EQ(m.GetMaleCount(), 2u);
       }},
      {"a key alone on its line takes its default",
       "{\nNationality AUT\nAthletName\nIQ\n}\n",
       {"Not enought params in AthletName at line 3, force to AthletName==Ruvo 'default' Plimska\n",
        "Not enought params in IQ at line 4, force to IQ==0.5\n"},
       [](const N_AthletMng& m) {
         ASSERT_EQ(m.GetMaleCount(), 1u);
         EXPECT_EQ(m.GetMale(0)->AthletName, "Ruvo 'default' Plimska");
         EXPECT_EQ(m.GetMale(0)->Nationality, "AUT");
       }},
      {"unknown tokens are reported and skipped; an unclosed block is reported, not kept",
       "{\nSpeed 9\nAthletName A\n}\n{\nAthletName B\n",
       {"Player Profiles, Unknown token at line 2\n", "Player Profiles, Unknown token at line 2\n",
        "Player Profiles, profiles.data ends inside the athlete begun at line 6 (cut short?): not taken\n"},
       [](const N_AthletMng& m) {
         ASSERT_EQ(m.AthleteCount(), 1u);
         EXPECT_EQ(m.Athlete(0)->AthletName, "A");
       }},
      {"no opening bracket: nothing is read",
       "// athletes\n\nAthletName A\n{\n}\n",
       {"Player Profile definition error! bracket expected! at line 3, stop parsing!\n"},
       [](const N_AthletMng& m) { EXPECT_EQ(m.AthleteCount(), 0u); }},
      {"a text beyond its field is cut to 127 characters",
       "{\nDress \"" + std::string(300, 'd') + "\"\n}\n",
       {"Player Profiles, Dress longer than 127 characters at line 2, cut\n"},
       [](const N_AthletMng& m) { EXPECT_EQ(m.GetMale(0)->Dress, std::string(127, 'd')); }},
      {"a key without value before the closing brace: the athlete is kept (it used to be lost)",
       "{\nAthletName A\nMaxPower }\n{\nAthletName B\n}\n",
       {"Not enought params in MaxPower at line 3, force to MaxPower==50\n"},
       [](const N_AthletMng& m) {
         ASSERT_EQ(m.AthleteCount(), 2u);
         EXPECT_EQ(m.Athlete(1)->AthletName, "B");
       }},
      {"numbers outside the ranges the races use are clamped, no number takes its default",
       "{\nMaxPower 1e23\nGameness -1\nRunTechnic nan\nIQ 3\nWeight 0\n}\n",
       {"Player Profiles, MaxPower 1e+23 at line 2 of profiles.data is outside 0 to 100, set to 100\n",
        "Player Profiles, Gameness -1 at line 3 of profiles.data is outside 0 to 100, set to 0\n",
        "Player Profiles, RunTechnic nan at line 4 of profiles.data is outside 0 to 100, set to 50\n",
        "Player Profiles, IQ 3 at line 5 of profiles.data is outside 0 to 1, set to 1\n",
        "Player Profiles, Weight 0 at line 6 of profiles.data is outside 30 to 200, set to 30\n"},
       [](const N_AthletMng& m) { EXPECT_EQ(m.GetMale(0)->MaxPower, 100.0f); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AthletRig rig;
    rig.Parse(c.file);
    EXPECT_EQ(rig.Reports(), c.reports);
    if (!c.reports.empty()) {
      EXPECT_EQ(rig.core.errorLog->LastCode(), 12);
    }
    c.check(rig.athletes);
  }
}

TEST(AthletProfiles, AthletesOfNeitherSexAreBoxedButKeptAndListsAnswerNullPastTheirEnds) {
  AthletRig rig;
  std::vector<test::Box> boxes;
  platform::SetMessageBoxHook([&](const std::string& t, const std::string& c) { boxes.push_back({c, t}); });
  rig.dir.Write("profiles.data", "{ AthletName A }\n{ AthletName B }\n");
  rig.athletes.ParseProfiles("profiles.data");
  rig.athletes.Athlete(1)->Sex = 2;
  rig.athletes.SplitBySex();
  platform::SetMessageBoxHook({});
  EXPECT_EQ(boxes, (std::vector<test::Box>{{"Error", "N_AthletManager: hermafrodit detected!"}}));
  EXPECT_EQ(rig.athletes.GetMaleCount(), 1u);
  EXPECT_EQ(rig.athletes.GetMale(1), nullptr);
  EXPECT_EQ(rig.athletes.GetFemale(0), nullptr);
  EXPECT_EQ(rig.athletes.DefaultCopyCount(), 2u);
}

TEST(AthletProfiles, TexturesAreAddedInOrderAndAllGivenBack) {
  AthletRig rig;
  rig.Parse("{ Dress d1 Gun g1 Ski s1 Sticks t1 }\n{ Sex Female Dress d2 Gun g2 Ski s2 Sticks t2 }\n");
  rig.athletes.LoadTextures();
  std::vector<std::string> expected = {"d1", "g1", "s1", "t1", "d2", "g2", "s2", "t2"};
  for (int n = 1; n <= 31; ++n) expected.push_back(FormatString("textures\\lyziari\\startnum%02d", n));
  for (const char* g : {"duch_dress", "duch_gun", "duch_ski", "duch_sticks"}) expected.push_back(g);
  ASSERT_EQ(rig.shaders.Count(), int(expected.size()));
  for (std::size_t h = 0; h < expected.size(); ++h) {
    EXPECT_EQ(*rig.shaders.GetEntry(int(h))->name, expected[h]);
    EXPECT_EQ(rig.shaders.GetEntry(int(h))->refCount, 1);
  }
  const N_AthletProfile& woman = *rig.athletes.GetFemale(0);
  EXPECT_EQ(std::vector<int>({woman.DressShader, woman.GunShader, woman.SkiShader, woman.SticksShader,
                              woman.StartNumShader}),
            std::vector<int>({4, 5, 6, 7, 0}));
  EXPECT_EQ(rig.athletes.BibShader(1), 8);
  EXPECT_EQ(rig.athletes.BibShader(31), 38);
  EXPECT_EQ(rig.athletes.BibShader(32), -1);
  EXPECT_EQ(rig.athletes.Ghost().SticksShader, 42);
  rig.athletes.ReleaseTextures();
  EXPECT_EQ(rig.shaders.Count(), 0);
  rig.athletes.ReleaseTextures();  // nothing more to give back
}

TEST(AthletProfilesDeathTest, NoAthleteEndsTheGameAsAMissingProfileFile) {
  AthletRig rig;
  EXPECT_EXIT(
      {
        platform::SetMessageBoxHook([](const std::string&, const std::string&) {});
        rig.athletes.ParseProfiles("data\\profiles\\playerprofiles.data");
        rig.athletes.SplitBySex();
        rig.athletes.LoadTextures();
      },
      testing::ExitedWithCode(255), "File missing: \"data\\\\profiles\\\\playerprofiles.data\" \\?");
}

TEST(AthletProfiles, ThePlayerAthleteTakesOnlyTheAttributesAndTheName) {
  AthletRig rig;
  rig.Parse("{ AthletName M0 }\n{ AthletName M1 Nationality FIN }\n{ AthletName W0 Sex Female }\n");
  N_AthletProfile player;
  for (float N_AthletProfile::*a : N_AthletProfile::kAttributes) player.*a = 90.0f;
  player.IQ = 0.9f;
  player.AthletName = "Me";
  player.Nationality = "SVK";
  player.Weight = 60.0f;
  rig.athletes.SetPlayerAthlete(1, 0, player);
  const N_AthletProfile& chosen = *rig.athletes.GetMale(1);
  EXPECT_EQ(chosen.AthletName, "Me");
  for (float N_AthletProfile::*a : N_AthletProfile::kAttributes) EXPECT_EQ(chosen.*a, 90.0f);
  EXPECT_EQ(chosen.IQ, 0.5f);
  EXPECT_EQ(chosen.Nationality, "FIN");
  EXPECT_EQ(chosen.Weight, 80.0f);
  EXPECT_EQ(rig.athletes.GetMale(0)->AthletName, "M0");
  EXPECT_EQ(rig.athletes.GetFemale(0)->MaxPower, 50.0f);
}

TEST(AthletProfiles, TheSampleFileFieldsEveryRaceAndNamesGearThatExists) {
  AthletRig rig;
  std::filesystem::create_directory_symlink(test::GameRoot() + "/data", rig.dir.Path() + "/data");
  rig.athletes.ParseProfiles("data\\profiles\\playerprofiles.data");
  rig.athletes.SplitBySex();
  EXPECT_TRUE(rig.Reports().empty()) << rig.core.LogText();
  EXPECT_GE(rig.athletes.GetMaleCount(), 24u);
  EXPECT_GE(rig.athletes.GetFemaleCount(), 24u);
  std::map<std::string, std::array<int, 2>> perNation;
  float leastCurve = 100.0f;
  for (std::size_t i = 0; i < rig.athletes.AthleteCount(); ++i) {
    const N_AthletProfile& a = *rig.athletes.Athlete(i);
    ++perNation[a.Nationality][std::size_t(a.Sex)];
    leastCurve = std::min(leastCurve, a.CurveTechnic);
    for (float N_AthletProfile::*attribute : N_AthletProfile::kAttributes) {
      EXPECT_GE(a.*attribute, 30.0f);
      EXPECT_LE(a.*attribute, 95.0f);
    }
  }
  // The course check sends the clumsiest athlete a player can pick along the ways.
  EXPECT_EQ(leastCurve, course::kLeastCurveTechnique);
  EXPECT_GE(perNation.size(), 6u);
  for (const auto& [nation, count] : perNation) {
    EXPECT_GE(count[0], 4) << nation;
    EXPECT_GE(count[1], 4) << nation;
  }
  // Every material the athletes name has its textures and effect in the game root.
  rig.athletes.LoadTextures();
  rig.shaders.LoadShaders();
  EXPECT_TRUE(rig.Reports().empty()) << rig.core.LogText();
  std::set<std::string> files;
  for (const auto& add : rig.host.adds) files.insert("data\\" + add.name + ".dds");
  for (const auto& effect : rig.host.effects) files.insert(effect);
  EXPECT_GT(files.size(), 31u + 4u);
  for (const std::string& file : files) EXPECT_TRUE(std::filesystem::exists(platform::ResolvePath(file))) << file;
}

}  // namespace
