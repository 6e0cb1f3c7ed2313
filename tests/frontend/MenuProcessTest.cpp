// The built game on the sample data, its menus clicked through the test hook: a walk
// to each navigation page and back, then "Exit", after which the game ends normally.
#include "tests/app/GameProcess.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MenuProcess, ClickedThroughTheMenusAndOutTheGameEndsNormally) {
  test::TempDir dir;
  test::LinkSampleData(dir);
  test::PrepareGameDir(dir, false);
  // The installation's speed of the race camera, as the sample user.cfg sets it.
  dir.Write("user.cfg", dir.Read("user.cfg") + "rychlostkamery 120\n");
  std::string hook;
  int pass = 30;
  for (const char* click : {"SinglePlayer", "Back1", "MultiPlayer", "Back2", "TrainingFun", "Back3", "Options",
                            "Back4", "Credits", "Back5", "Exit"}) {
    hook += "frames=" + std::to_string(pass) + ",click=" + click + ";";
    pass += 20;
  }
  test::Game game(dir.Path(), hook);
  EXPECT_EQ(game.Wait(), 0);
  const std::string log = dir.Read("navo.log");
  EXPECT_NE(log.find("--- Entering game loop...\n"), std::string::npos);
  for (const char* fault : {"!!!", "*** ", "not found"}) EXPECT_EQ(log.find(fault), std::string::npos) << fault << "\n" << log;
}

}  // namespace
