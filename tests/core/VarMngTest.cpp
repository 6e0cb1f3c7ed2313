#include "core/Random.h"
#include "core/VarMng.h"
#include "platform/win32.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(VarHash, WorkedExamplesAndShortNames) {
  EXPECT_EQ(N_VarMng::HashVarName("exit"), 588u);
  EXPECT_EQ(N_VarMng::HashVarName("mapname"), 26u);
  EXPECT_EQ(N_VarMng::HashVarName("v_width"), 474u);
  EXPECT_EQ(N_VarMng::HashVarName(""), 0u);
  EXPECT_EQ(N_VarMng::HashVarName("x"), 0u);
  // The first character is not hashed.
  EXPECT_EQ(N_VarMng::HashVarName("abc"), N_VarMng::HashVarName("zbc"));
  // Bytes above 127 count as negative; the sum wraps at 32 bits without harm.
  EXPECT_LT(N_VarMng::HashVarName("a\xff\xff"), 1000u);
  EXPECT_LT(N_VarMng::HashVarName(std::string(5000, 'z').c_str()), 1000u);
}

TEST(Var, AssignmentsKeepTheThreeFormsInStep) {
  struct Case {
    float value;
    const char* text;
    int integer;
  };
  for (const Case& c : std::vector<Case>{{0.5f, "0.500000", 0}, {-1.5f, "-1.500000", -1}, {1.0f, "1", 1},
                                          {0.2f, "0.200000", 0}, {3e9f, "3000000000", 2147483647},
                                          {-3e9f, "-3000000000", -2147483647 - 1}}) {
    N_Var v("f", c.value, 0);
    EXPECT_STREQ(v.Text(), c.text) << c.value;
    EXPECT_EQ(v.Int(), c.integer) << c.value;
  }
  N_Var t("t", "1.5", 0);
  EXPECT_EQ(t.Int(), 1);
  EXPECT_FLOAT_EQ(t.Float(), 1.5f);
  t.AssignText("words");
  EXPECT_EQ(t.Int(), 0);
  EXPECT_EQ(t.Float(), 0.0f);
  t.AssignText(nullptr);  // changes nothing
  EXPECT_STREQ(t.Text(), "words");
  t.AssignText("99999999999999");  // saturates instead of wrapping
  EXPECT_EQ(t.Int(), 2147483647);
  t.AssignText("-99999999999999");
  EXPECT_EQ(t.Int(), -2147483647 - 1);
}

TEST(VarMng, SetOperationsOnBuiltinsKeepTheirFlags) {
  test::TempDir dir;
  test::CoreServices core;
  N_VarMng& vars = *core.vars;
  vars.SetInt("r_gamma", 2, 0x02);
  const N_Var* gamma = vars.Find("r_gamma");
  ASSERT_NE(gamma, nullptr);
  EXPECT_FLOAT_EQ(gamma->Float(), 2.0f);
  EXPECT_EQ(gamma->Int(), 2);
  EXPECT_STREQ(gamma->Text(), "2");
  EXPECT_EQ(gamma->Flags(), 0x21u);

  vars.SetString("v_width", "1024x768", 0);
  EXPECT_EQ(vars.GetInt("v_width"), 1024);
  EXPECT_FLOAT_EQ(vars.GetFloat("v_width"), 1024.0f);
  EXPECT_STREQ(vars.GetString("v_width"), "1024x768");

  vars.SetFloat("newOne", 0.5f, 0x20);
  EXPECT_EQ(vars.Find("newOne")->Flags(), 0x22u);
  vars.SetInt("Newone", 7, 0);  // case matters: another variable
  EXPECT_EQ(vars.GetInt("newOne"), 0);
  EXPECT_EQ(vars.GetInt("Newone"), 7);
}

TEST(VarMng, MissingNamesDuplicatesAndUnregistering) {
  test::TempDir dir;
  test::CoreServices core(false);
  N_VarMng& vars = *core.vars;
  EXPECT_EQ(vars.GetString("nothing"), nullptr);
  EXPECT_EQ(vars.GetInt("nothing"), 0);
  EXPECT_EQ(vars.GetFloat("nothing"), 0.0f);

  N_Var a("abc", 1, 0x01), b("zbc", 2, 0x01), dup("abc", 3, 0x01);
  vars.Register(&a);
  vars.Register(&b);  // same bucket, found by exact comparison
  vars.Register(&dup);
  EXPECT_EQ(vars.GetInt("abc"), 1);
  EXPECT_EQ(vars.GetInt("zbc"), 2);
  vars.Unregister(&a);
  EXPECT_EQ(vars.Find("abc"), nullptr);
  EXPECT_EQ(vars.GetInt("zbc"), 2);  // the rest of the chain stays linked
  vars.Unregister(&a);

  const std::string log = core.LogText();
  EXPECT_NE(log.find("*** Variable nothing doesnt exist!\n"), std::string::npos);
  EXPECT_NE(log.find("*** Error registering abc var - var already exist \n"), std::string::npos);
  EXPECT_NE(log.find("*** Unregistering variable abc doest exist\n"), std::string::npos);
}

TEST(VarMng, RegistryNeverDeletesACallersRecord) {
  test::TempDir dir;
  auto caller = std::make_unique<N_Var>("mine", 1, 0x02);  // flags exactly 0x02, still the caller's
  {
    test::CoreServices core(false);
    core.vars->Register(caller.get());
    core.vars->SetInt("mine", 5, 0);
  }
  EXPECT_EQ(caller->Int(), 5);
}

TEST(VarMng, DumpListsEveryVariable) {
  test::TempDir dir;
  test::CoreServices core;
  core.vars->SetString("zzz", "two words", 0);
  core.vars->Dump();
  const std::string log = core.LogText();
  EXPECT_NE(log.find("Dumping all registered variables ...\n"), std::string::npos);
  EXPECT_NE(log.find(" mapname = Beitostolen.ALF \n"), std::string::npos);
  EXPECT_NE(log.find(" exit = 0 \n"), std::string::npos);
  EXPECT_NE(log.find(" zzz = two words \n"), std::string::npos);
}

TEST(BuiltinVars, DefaultsAsTheTableGivesThem) {
  test::TempDir dir;
  test::CoreServices core;
  N_VarMng& vars = *core.vars;
  EXPECT_EQ(vars.GetInt("MapQuad"), -6724);
  EXPECT_NEAR(vars.GetFloat("MapQuad"), -6724.648f, 0.001f);
  EXPECT_STREQ(vars.GetString("randx"), "0.200000");
  EXPECT_STREQ(vars.GetString("ampy"), "0.300000");
  EXPECT_STREQ(vars.GetString("r_gamma"), "1");
  EXPECT_STREQ(vars.GetString("r_brightness"), "0");
  EXPECT_STREQ(vars.GetString("fogcolor"), "-1");
  EXPECT_STREQ(vars.GetString("mapname"), "Beitostolen.ALF");
  EXPECT_STREQ(vars.GetString("language"), "ger");
  EXPECT_STREQ(vars.GetString("PlayerName1"), "");
  EXPECT_EQ(vars.GetInt("LOD"), 0);
  EXPECT_EQ(vars.GetInt("v_fullscreen"), 1);
  EXPECT_EQ(vars.GetInt("hrajvideoraz"), 1);
  EXPECT_EQ(vars.Find("exit")->Flags(), 0x01u);
  EXPECT_EQ(vars.Find("wnd_handle")->Flags(), 0x09u);
  EXPECT_EQ(vars.Find("MusicVolume")->Flags(), 0x21u);
  EXPECT_EQ(vars.GetInt("rychlostkamery"), 0);  // not built in
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

TEST(BuiltinVars, SavedDefaultsGiveTheHeaderAnd84LinesInBucketOrder) {
  test::TempDir dir;
  test::CoreServices core;
  ASSERT_TRUE(core.vars->Save("config.cfg"));
  const std::string text = dir.Read("config.cfg");
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 85u);
  EXPECT_EQ(lines[0], "//This is autogenerated file. DO NOT MODIFY!");
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_NE(text.find("\nrandx \"0.200000\"\n"), std::string::npos);
  EXPECT_NE(text.find("\nr_gamma \"1\"\n"), std::string::npos);
  EXPECT_NE(text.find("\nfogcolor \"-1\"\n"), std::string::npos);
  EXPECT_NE(text.find("\nmapname \"Beitostolen.ALF\"\n"), std::string::npos);
  for (const char* absent : {"exit ", "MapQuad ", "restart ", "wnd_handle ", "FreeCamera "}) {
    EXPECT_EQ(text.find(std::string("\n") + absent), std::string::npos) << absent;
  }
  // Lines follow the buckets: "mapname" (26) before "v_width" (474) before "exit"'s bucket (588).
  std::uint32_t last = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string name = lines[i].substr(0, lines[i].find(' '));
    const std::uint32_t bucket = N_VarMng::HashVarName(name.c_str());
    EXPECT_LE(last, bucket) << name;
    last = bucket;
  }
  EXPECT_NE(core.LogText().find("Saving variables to file config.cfg\n"), std::string::npos);
}

TEST(VarMng, SaveFailureIsReportedAndReturnsFalse) {
  // A full disk, a refused open or close, a device in the file's place: the old file
  // stays whole, the failure is reported (code 9, in the log and in a box for the
  // player) and Save says false.
  test::TempDir dir;
  std::filesystem::create_directory(dir.Path() + "/dev");
  std::filesystem::create_symlink("/dev/full", dir.Path() + "/dev/config.cfg");
  struct Case {
    const char* file;
    std::optional<platform::ReplaceStep> failing;
  };
  for (const Case& c : {Case{"config.cfg", platform::ReplaceStep::Open}, Case{"config.cfg", platform::ReplaceStep::Write},
                        Case{"config.cfg", platform::ReplaceStep::Close}, Case{"dev/config.cfg", std::nullopt},
                        Case{"no/such/folder/config.cfg", std::nullopt}}) {
    const std::string what = std::string(c.file) + (c.failing ? " step " + std::to_string(int(*c.failing)) : "");
    dir.Write("config.cfg", "old settings");
    test::CoreServices core;
    std::string boxes;
    platform::SetMessageBoxAnswerHook([&](const std::string& text, const std::string&, UINT) {
      boxes += text;
      return IDOK;
    });
    platform::SetReplaceFailureHook([&](platform::ReplaceStep step) { return c.failing && step == *c.failing; });
    EXPECT_FALSE(core.vars->Save(c.file)) << what;
    platform::SetReplaceFailureHook({});
    platform::SetMessageBoxAnswerHook({});
    EXPECT_EQ(dir.Read("config.cfg"), "old settings") << what;
    EXPECT_EQ(core.errorLog->LastCode(), 9) << what;
    const std::string line = std::string("unable to save ") + c.file + " file: ";
    EXPECT_NE(core.LogText().find("*** " + line), std::string::npos) << what << "\n" << core.LogText();
    EXPECT_NE(boxes.find(line), std::string::npos) << what;
  }
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

/// Everything in the folder whose name begins with a dot (what a killed save leaves).
void RemoveDotFiles(const std::string& folder) {
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    if (e.path().filename().string()[0] == '.') std::filesystem::remove(e.path());
  }
}

TEST(VarMng, KilledSavesLeaveTheOldOrTheNewFileWhole) {
  // 200 saves, each in a child process killed (SIGKILL) at a random moment: the file
  // is always the old one or the new one, whole.
  test::TempDir dir;
  std::vector<std::unique_ptr<N_Var>> bulk;  // about 100 KB of settings: a save takes a while
  test::CoreServices core;
  for (int i = 0; i < 300; ++i) {
    bulk.push_back(std::make_unique<N_Var>(("bulk" + std::to_string(i)).c_str(),
                                           std::string(300, static_cast<char>('a' + i % 26)).c_str(), 0x21u));
    core.vars->Register(bulk.back().get());
  }
  ASSERT_TRUE(core.vars->Save("config.cfg"));
  std::string old = dir.Read("config.cfg");
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(core.vars->Save("expected.cfg"));
  const auto saveMicros = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  const int spread = static_cast<int>(std::max<std::int64_t>(saveMicros.count() * 2, 200));
  Srand(18);
  int sawOld = 0;
  int sawNew = 0;
  for (int round = 1; round <= 200; ++round) {
    core.vars->SetString("PlayerName1", ("round " + std::to_string(round)).c_str(), 0x02);
    ASSERT_TRUE(core.vars->Save("expected.cfg"));
    const std::string fresh = dir.Read("expected.cfg");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      core.vars->Save("config.cfg");
      _exit(0);
    }
    ::usleep(static_cast<useconds_t>(Rand() % spread));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string now = dir.Read("config.cfg");
    ASSERT_TRUE(now == old || now == fresh) << "round " << round << ": " << now.size() << " bytes, old "
                                            << old.size() << ", new " << fresh.size();
    if (now == fresh) {
      ++sawNew;
      old = fresh;
    } else {
      ++sawOld;
    }
    RemoveDotFiles(dir.Path());
  }
  std::printf("old file %d times, new file %d times\n", sawOld, sawNew);
}

}  // namespace
