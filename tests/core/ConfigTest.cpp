#include "core/ConfigReader.h"
#include "core/VarMng.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace {

TEST(ConfigReader, CrLfUserCfgWithQuotesAndAMissingValue) {
  test::TempDir dir;
  test::CoreServices core;
  dir.Write("user.cfg",
            "v_width \"1024x768\"\r\n"
            "mapname\r\n"
            "title \"two words\" // comment\r\n"
            "brandNew 5\r\n");
  N_ConfigReader reader;
  reader.Load("user.cfg");
  N_VarMng& vars = *core.vars;
  EXPECT_EQ(vars.GetInt("v_width"), 1024);
  EXPECT_STREQ(vars.GetString("v_width"), "1024x768");
  EXPECT_STREQ(vars.GetString("title"), "two words");
  EXPECT_STREQ(vars.GetString("mapname"), "Beitostolen.ALF");
  EXPECT_EQ(vars.Find("v_width")->Flags(), 0x21u);
  EXPECT_EQ(vars.Find("brandNew")->Flags(), 0x02u);
  EXPECT_NE(core.LogText().find("*** variable mapname has no parameter! (user.cfg line 2)\n"), std::string::npos);
}

TEST(ConfigReader, ValueOnTheNextLineBecomesTheNextName) {
  test::TempDir dir;
  test::CoreServices core;
  dir.Write("a.cfg", "mapname\nOther.ALF x\n");
  N_ConfigReader reader;
  reader.Load("a.cfg");
  EXPECT_STREQ(core.vars->GetString("Other.ALF"), "x");
  EXPECT_STREQ(core.vars->GetString("mapname"), "Beitostolen.ALF");
}

TEST(ConfigReader, LaterFilesOverrideAndMissingFilesChangeNothing) {
  test::TempDir dir;
  test::CoreServices core;
  dir.Write("config.cfg", "exit 2\nr_filter 3\n");
  dir.Write("user.cfg", "r_filter 0\n");
  N_ConfigReader reader;
  reader.Load("config.cfg");
  reader.Load("missing.cfg");
  reader.Load("user.cfg");
  EXPECT_EQ(core.vars->GetInt("r_filter"), 0);
  EXPECT_EQ(core.vars->GetInt("exit"), 2);  // transient: used this run, never saved
  core.vars->Save("config.cfg");
  EXPECT_EQ(dir.Read("config.cfg").find("\nexit "), std::string::npos);
}

TEST(ConfigReader, SavedValuesWithQuotesReadBackWhole) {
  test::TempDir dir;
  {
    test::CoreServices core;
    core.vars->SetString("PlayerName1", "The \"Fast\" One", 0);
    core.vars->SetString("PlayerName2", "two\nlines", 0);
    core.vars->SetString("PlayerName3", "It's \"me\"", 0);  // both kinds: no quoting holds them
    core.vars->Save("config.cfg");
  }
  test::CoreServices core;
  N_ConfigReader reader;
  reader.Load("config.cfg");
  EXPECT_STREQ(core.vars->GetString("PlayerName1"), "The \"Fast\" One");
  EXPECT_STREQ(core.vars->GetString("PlayerName2"), "two\nlines");
  EXPECT_STREQ(core.vars->GetString("PlayerName3"), "It's me");
  EXPECT_EQ(core.LogText().find("has no parameter"), std::string::npos);
}

TEST(ConfigReader, LongSavedValuesComeBackCutAndLeaveTheOtherSettingsAlone) {
  // The reader takes 1023 characters of a value: a longer one is saved cut there, or
  // its rest would be read as names and values, its closing quote would flip the
  // quoting of the lines after it, and other settings would go back to defaults.
  test::TempDir dir;
  struct Case {
    std::size_t length;
    char quote;  ///< the kind of quote the value holds
  };
  for (const Case& c : {Case{1023, '"'}, Case{1023, '\''}, Case{1024, '"'}, Case{1024, '\''}, Case{2047, '"'},
                        Case{2047, '\''}}) {
    const std::string what = std::to_string(c.length) + " characters with " + c.quote;
    std::string value(c.length, 'x');
    value[3] = c.quote;
    value[1022] = c.quote;  // the last character kept
    value[c.length - 1] = c.quote;
    std::map<std::string, std::string> before;
    {
      test::CoreServices core;
      core.vars->SetString("PlayerName1", value.c_str(), 0);
      core.vars->SetString("PlayerName2", value.c_str(), 0);
      core.vars->SetString("mapname", "Holmen.ALF", 0);
      core.vars->SetFloat("r_gamma", 1.7f, 0);
      ASSERT_TRUE(core.vars->Save("config.cfg"));
      // Every saved variable, by the names the file holds.
      std::istringstream lines(dir.Read("config.cfg"));
      for (std::string line; std::getline(lines, line);) {
        if (line.rfind("//", 0) == 0) continue;
        const std::string name = line.substr(0, line.find(' '));
        before[name] = core.vars->GetString(name.c_str());
      }
    }
    test::CoreServices core;
    N_ConfigReader reader;
    reader.Load("config.cfg");
    EXPECT_EQ(core.LogText().find("has no parameter"), std::string::npos) << what;
    for (const auto& [name, text] : before) {
      const std::string expected = text.size() > 1023 ? text.substr(0, 1023) : text;
      EXPECT_EQ(core.vars->GetString(name.c_str()), expected) << what << ": " << name;
    }
    EXPECT_EQ(std::string(core.vars->GetString("PlayerName1")).size(), 1023u) << what;
    EXPECT_STREQ(core.vars->GetString("mapname"), "Holmen.ALF") << what;
    EXPECT_STREQ(core.vars->GetString("r_gamma"), "1.700000") << what;
  }
}

}  // namespace
