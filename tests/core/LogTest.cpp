#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

TEST(Log, TruncatesAtStartAndWritesExactlyWhatIsFormatted) {
  test::TempDir dir;
  dir.Write("navo.log", "old run\n");
  {
    N_Log log("navo.log");
    EXPECT_EQ(dir.Read("navo.log"), "");  // emptied at each start
    log.Print("--- %s\n", "Creating World");
    log.Print("no line end");
    EXPECT_EQ(dir.Read("navo.log"), "--- Creating World\nno line end");  // flushed after each print
  }
}

TEST(Log, ReportsArePrefixedAndRunIntoTheNextLine) {
  test::TempDir dir;
  N_Log log("navo.log");
  N_ErrorLog reporter(&log);
  reporter.Report(12, "error loading file %s!", "x.dds");
  log.Print("next\n");
  reporter.Print("sink %d\n", 5);
  EXPECT_EQ(dir.Read("navo.log"), "*** error loading file x.dds!next\n*** sink 5\n");
  EXPECT_EQ(reporter.LastCode(), 12);
}

TEST(Log, LongTextsAreCutNotOverflowed) {
  test::TempDir dir;
  N_Log log("navo.log");
  N_ErrorLog reporter(&log);
  const std::string huge(20000, 'x');
  log.Print("%s", huge.c_str());
  EXPECT_EQ(dir.Read("navo.log").size(), 8191u);
  reporter.Report(0, "%s", huge.c_str());
  EXPECT_EQ(dir.Read("navo.log").size(), 8191u + 4 + 4095u);
}

TEST(Log, UnopenableLogDoesNoHarm) {
  test::TempDir dir;
  std::string debugOutput;
  platform::SetDebugOutputHook([&](const std::string& t) { debugOutput += t; });
  N_Log log("missing-folder/navo.log");
  platform::SetDebugOutputHook({});
  EXPECT_FALSE(log.IsOpen());
  // Before the reporter exists nothing else could tell: one line on stderr says why.
  EXPECT_EQ(debugOutput, "unable to open " + dir.Path() + "/missing-folder/navo.log file: No such file or directory\n");
  log.Print("ignored %d\n", 1);
  N_ErrorLog reporter(&log);
  reporter.Report(0, "also ignored\n");
}

TEST(Log, BoxAndDebugSeveritiesCallTheirHooksAfterLogging) {
  test::TempDir dir;
  N_Log log("navo.log");
  N_ErrorLog reporter(&log);
  std::vector<std::string> seen;
  platform::SetDebugOutputHook([&](const std::string& t) { seen.push_back("debug:" + t + "|" + dir.Read("navo.log")); });
  platform::SetMessageBoxHook([&](const std::string& t, const std::string& c) { seen.push_back(c + ":" + t); });
  reporter.ReportDebug(0, "dbg\n");
  reporter.ReportBox(9, "box\n");
  platform::SetDebugOutputHook({});
  platform::SetMessageBoxHook({});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "debug:dbg\n|*** dbg\n");  // the log line is on disk first
  EXPECT_EQ(seen[1], "Error:box\n");
}

void CriticalWithHooks() {
  N_Log log("navo.log");
  N_ErrorLog reporter(&log);
  g_log = &log;
  platform::SetDebugOutputHook([](const std::string& t) { std::fprintf(stderr, "DEBUG[%s]", t.c_str()); });
  platform::SetMessageBoxHook([](const std::string& t, const std::string& c) {
    std::fprintf(stderr, "BOX[%s|%s]", c.c_str(), t.c_str());
  });
  std::atexit([] { std::fprintf(stderr, "EXIT-HANDLER"); });
  reporter.Critical(9, "level %s not found!", "x");
}

TEST(LogDeathTest, CriticalLogsThenHooksThenExitsWith255RunningExitHandlers) {
  test::TempDir dir;
  EXPECT_EXIT(CriticalWithHooks(), testing::ExitedWithCode(255),
              "DEBUG\\[level x not found!\\]BOX\\[Critical error!\\|level x not found!\\]EXIT-HANDLER");
  EXPECT_EQ(dir.Read("navo.log"), "*** level x not found!");
}

// The fuzz targets' hook: the report is complete (log, box) before it unwinds, and a
// null hook gives the exit back.
TEST(LogDeathTest, CriticalExitHookUnwindsAfterTheReportUntilItIsRemoved) {
  test::TempDir dir;
  N_Log log("navo.log");
  N_ErrorLog reporter(&log);
  std::vector<std::string> boxes;
  platform::SetMessageBoxHook([&](const std::string& t, const std::string& c) { boxes.push_back(c + ":" + t); });
  SetCriticalExitHook([](int status) { throw status; });
  int status = 0;
  try {
    reporter.Critical(9, "texture %s too long", "x");
  } catch (int thrown) {
    status = thrown;
  }
  SetCriticalExitHook(nullptr);
  platform::SetMessageBoxHook({});
  EXPECT_EQ(status, -1);
  EXPECT_EQ(dir.Read("navo.log"), "*** texture x too long");
  EXPECT_EQ(boxes, std::vector<std::string>{"Critical error!:texture x too long"});
  EXPECT_EXIT(reporter.Critical(9, "again"), testing::ExitedWithCode(255), "");
}

TEST(LogDeathTest, SinkThatCannotOpenIsCriticalOnceTheReporterExists) {
  test::TempDir dir;
  N_Log log("navo.log");
  N_ErrorLog reporter(&log);
  g_errorLog = &reporter;
  EXPECT_EXIT(N_FileSink("no/such/dir/file.txt"), testing::ExitedWithCode(255), "");
  g_errorLog = nullptr;
  EXPECT_EQ(dir.Read("navo.log"), "*** unable to open no/such/dir/file.txt file");
}

}  // namespace
