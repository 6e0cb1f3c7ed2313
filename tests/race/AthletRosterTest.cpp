#include "race/AthletMng.h"
#include "render/ShaderMng.h"
#include "tests/race/RaceTestSupport.h"
#include "tests/render/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace {

/// Forty athletes (both sexes, as they stand in the file) whose attributes are distinct
/// file values: athlete i has attribute k = i + k / 4 (exact in binary).
struct RosterRig {
  test::TempDir dir;
  test::CoreServices core;
  test::FakeShaderHost host;
  N_ShaderMng shaders{1024, host};
  N_AthletMng athletes{shaders};
  std::vector<test::Box> boxes;

  RosterRig() {
    std::string file;
    for (int i = 0; i < 40; ++i) file += FileBlock(i);
    dir.Write("data/profiles/playerprofiles.data", file);
    dir.Write("data/tables/.keep", "");
    athletes.ParseProfiles("data\\profiles\\playerprofiles.data");
    athletes.SplitBySex();
    platform::SetMessageBoxHook([this](const std::string& t, const std::string& c) { boxes.push_back({c, t}); });
  }
  ~RosterRig() {
    platform::SetMessageBoxHook({});
    platform::SetReplaceFailureHook({});
  }
  static float FileValue(int athlete, int attribute) { return float(athlete) + float(attribute) * 0.25f; }
  static std::string FileBlock(int i) {
    static const char* keys[] = {"MaxPower", "OptPulse", "MaxCondition", "Concetration", "Coolness",
                                 "Gameness", "ShootTechnic", "RunTechnic", "CurveTechnic"};
    std::string block = std::string("{\nSex ") + (i % 3 == 0 ? "Female" : "Male") + "\n";
    for (int k = 0; k < 9; ++k) block += std::string(keys[k]) + " " + std::to_string(FileValue(i, k)) + "\n";
    return block + "}\n";
  }
  /// Every athlete (and, asked, every default copy) holds its file values.
  ::testing::AssertionResult HoldFileValues(bool defaults) const {
    for (std::size_t i = 0; i < athletes.AthleteCount(); ++i) {
      for (int k = 0; k < 9; ++k) {
        const float want = FileValue(int(i), k);
        const float a = athletes.Athlete(i)->*N_AthletProfile::kAttributes[std::size_t(k)];
        const float d = athletes.DefaultCopy(i).*N_AthletProfile::kAttributes[std::size_t(k)];
        if (a != want || (defaults && d != want)) {
          return ::testing::AssertionFailure() << "athlete " << i << " attribute " << k << ": " << a << " / " << d;
        }
      }
    }
    return ::testing::AssertionSuccess();
  }
  void Change(float value) {
    for (std::size_t i = 0; i < athletes.AthleteCount(); ++i) athletes.Athlete(i)->MaxPower = value;
  }
};

TEST(AthletRoster, SavesFileOrderLittleEndianAndPutsTheFileValuesBack) {
  RosterRig rig;
  // The career's own athlete in a file athlete's place: its name goes with the values.
  const std::string fileName = rig.athletes.GetMale(0)->AthletName;
  N_AthletProfile own = *rig.athletes.GetMale(0);
  own.AthletName = "Karl";
  rig.athletes.SetPlayerAthlete(0, 0, own);
  rig.Change(99.0f);
  ASSERT_TRUE(rig.athletes.Save(3));
  const std::string roster = rig.dir.Read("data/tables/profile3");
  ASSERT_EQ(roster.size(), 1440u);
  for (int i = 0; i < 40; ++i) {
    for (int k = 0; k < 9; ++k) {
      float value;
      std::memcpy(&value, roster.data() + 36 * i + 4 * k, 4);
      EXPECT_EQ(value, k == 0 ? 99.0f : RosterRig::FileValue(i, k)) << i << " " << k;
    }
  }
  EXPECT_TRUE(rig.HoldFileValues(true));
  EXPECT_EQ(rig.athletes.GetMale(0)->AthletName, fileName);
  // Loading it back gives the career's values; its defaults stay the file values.
  ASSERT_TRUE(rig.athletes.Load(3));
  EXPECT_EQ(rig.athletes.Athlete(17)->MaxPower, 99.0f);
  EXPECT_EQ(rig.athletes.DefaultCopy(17).MaxPower, RosterRig::FileValue(17, 0));
}

TEST(AthletRoster, RostersOfAnotherSizeAreRefusedUnlessOnlyAPartRecordIsLeftOver) {
  struct Case {
    std::size_t size;
    bool loads;
  };
  for (const Case& c : {Case{1439, false}, Case{1441, true}, Case{1475, true}, Case{1476, false}, Case{0, false}}) {
    RosterRig rig;
    rig.dir.Write("data/tables/profile1", std::string(c.size, '\x01'));
    EXPECT_EQ(rig.athletes.Load(1), c.loads) << c.size;
    EXPECT_EQ(rig.boxes.size(), c.loads ? 0u : 1u) << c.size;
    if (!c.loads) {
      EXPECT_EQ(rig.boxes[0].text, "N_AthletMng::Load: pocet atletov v profile je != s poctom v default profile\n");
      // The box's line names no file: the log says which, and what it holds.
      const std::string said = "!!! data\\tables\\profile1 holds the values of " + std::to_string(c.size / 36) +
                               " athletes, the profiles 40: not read\n";
      EXPECT_NE(rig.core.LogText().find(said), std::string::npos) << c.size;
      EXPECT_TRUE(rig.HoldFileValues(true)) << c.size;
    } else {
      EXPECT_NE(rig.athletes.Athlete(39)->CurveTechnic, RosterRig::FileValue(39, 8));
    }
  }
  RosterRig rig;
  EXPECT_FALSE(rig.athletes.Load(7));  // a new career: no roster yet, no box
  EXPECT_TRUE(rig.boxes.empty());
  // Values the races cannot use (they used to be taken as they were) take the file
  // values, said in one line naming the file; a roster that cannot be read is no
  // missing one: it is said, and the athletes keep their file values.
  std::string roster = rig.athletes.RosterBytes();
  for (const auto& [at, value] : {std::pair{4 * 9 * 2 + 4, std::numeric_limits<float>::quiet_NaN()}, {40, 3e38f}}) {
    std::memcpy(&roster[std::size_t(at)], &value, 4);
  }
  rig.dir.Write("data/tables/profile8", roster);
  ASSERT_EQ(rig.athletes.LoadRoster(8), N_AthletMng::RosterLoad::Loaded);
  EXPECT_TRUE(rig.HoldFileValues(false));
  EXPECT_NE(rig.core.LogText().find("data\\tables\\profile8: 2 values outside 0 to 100"), std::string::npos);
  rig.dir.Write("data/tables/profile9/x", "");
  std::string why;
  EXPECT_EQ(rig.athletes.LoadRoster(9, &why), N_AthletMng::RosterLoad::Unreadable);
  EXPECT_NE(why.find("profile9: not a regular file"), std::string::npos) << why;
  EXPECT_TRUE(rig.athletes.HoldsFileValues());
}

TEST(AthletRoster, RepeatedLoadsNeverMakeCareerValuesTheFileValues) {
  RosterRig rig;
  // A career page entered twice: the second Load must not take the career's values
  // (changed since the first) as the file values.
  ASSERT_TRUE(rig.athletes.Save(1));
  rig.Change(77.0f);
  ASSERT_TRUE(rig.athletes.Save(2));
  ASSERT_TRUE(rig.athletes.Load(2));
  rig.Change(66.0f);
  ASSERT_TRUE(rig.athletes.Load(2));
  ASSERT_TRUE(rig.athletes.Save(2));
  EXPECT_TRUE(rig.HoldFileValues(true));
  // A failed Load (a new career) starts the career's changes all the same.
  EXPECT_FALSE(rig.athletes.Load(9));
  rig.Change(55.0f);
  EXPECT_TRUE(rig.athletes.Load(1));
  ASSERT_TRUE(rig.athletes.Save(1));
  EXPECT_TRUE(rig.HoldFileValues(true));
}

TEST(AthletRoster, AFailedSaveKeepsTheOldRosterWholeAndStillRestoresTheFileValues) {
  for (const platform::ReplaceStep failing :
       {platform::ReplaceStep::Open, platform::ReplaceStep::Write, platform::ReplaceStep::Close}) {
    RosterRig rig;
    rig.Change(88.0f);
    ASSERT_TRUE(rig.athletes.Save(4));
    const std::string before = rig.dir.Read("data/tables/profile4");
    ASSERT_TRUE(rig.athletes.Load(4));
    rig.Change(11.0f);
    platform::SetReplaceFailureHook([failing](platform::ReplaceStep step) { return step == failing; });
    EXPECT_FALSE(rig.athletes.Save(4));
    platform::SetReplaceFailureHook({});
    EXPECT_EQ(rig.dir.Read("data/tables/profile4"), before);
    EXPECT_TRUE(rig.HoldFileValues(true));
  }
}

}  // namespace
