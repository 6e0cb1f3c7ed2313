#include "race/ai/AiLog.h"
#include "tests/race/RaceTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(AiLog, EachGameStartsAnEmptyLogAndEveryLineIsOnDiskAtOnce) {
  test::RaceRig rig;
  N_AiLog::Write("first game");
  CreateAiLog();  // the next game's log replaces the first (which is closed, not leaked)
  N_AiLog::Write("second game\n");
  N_AiLog::Write(std::string(5000, 'x'));  // no fixed line buffer
  EXPECT_EQ(rig.dir.Read("Ai.log"), "second game\n\n" + std::string(5000, 'x') + "\n");
}

TEST(AiLog, BoxesAndQuestionsWriteTheirLineFirstAndNoGoesOn) {
  test::RaceRig rig;
  N_AiLog::WriteBox("a box line");
  N_AiLog::Error(4, "a question");  // answered No by the rig
  EXPECT_EQ(rig.dir.Read("Ai.log"), "a box line\na question\n");
  EXPECT_EQ(rig.boxes, (std::vector<test::Box>{{"Box", "a box line"}, {"Error", "a question\nExit ?"}}));

  // Without an open log nothing is written, and the boxes are still shown.
  DeleteAiLog();
  EXPECT_FALSE(N_AiLog::IsOpen());
  N_AiLog::WriteBox("unwritten");
  N_AiLog::Error(3, "unwritten too");
  EXPECT_EQ(rig.dir.Read("Ai.log"), "a box line\na question\n");
  EXPECT_EQ(rig.boxes.size(), 4u);
}

TEST(AiLogDeathTest, YesEndsWithTheCodeAfterTheLineIsWritten) {
  test::TempDir dir;
  EXPECT_EXIT(
      {
        platform::SetMessageBoxAnswerHook([](const std::string&, const std::string&, UINT type) {
          return type == (MB_YESNO | MB_ICONSTOP) ? IDYES : IDOK;
        });
        CreateAiLog();
        N_AiLog::Error(5, "the end");
      },
      testing::ExitedWithCode(5), "");
  EXPECT_EQ(dir.Read("Ai.log"), "the end\n");
}

TEST(AiLog, ALogThatCannotBeCreatedIsSaidAndTheRaceGoesOn) {
  // It used to show "Cannot create log file" and end the program mid-launch.
  test::RaceRig rig;
  DeleteAiLog();
  std::filesystem::remove(rig.dir.Path() + "/Ai.log");
  std::filesystem::create_directory(rig.dir.Path() + "/Ai.log");
  CreateAiLog();
  EXPECT_FALSE(N_AiLog::IsOpen());
  N_AiLog::Write("unwritten");
  EXPECT_NE(rig.core.LogText().find("!!! Cannot create log file Ai.log ("), std::string::npos) << rig.core.LogText();
  EXPECT_TRUE(rig.boxes.empty());
}

}  // namespace
