// The intro video at start-up, with the built game as a process: it plays once in
// full screen, start-up then goes on to the main loop, and "hrajvideoraz" is saved as
// 0; in windowed mode nothing plays and the value is kept.
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

/// Runs the game in the current directory until it exits (a fail-safe of two minutes,
/// far beyond any start); returns its exit status, or -1 when it had to be killed.
int RunGame(const std::string& dir, const char* hook) {
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);  // its single-instance lock lives here
  setenv("NAVO_TEST_HOOK", hook, 1);
  std::string program = test::GameRoot() + "/navo";
  char* argv[] = {program.data(), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ);
  unsetenv("NAVO_TEST_HOOK");
  if (spawned != 0) return -1;
  const auto end = Clock::now() + 120s;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) != pid) {
    if (Clock::now() > end) {
      ADD_FAILURE() << "the game has not ended in 120 s";
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      return -1;
    }
    std::this_thread::sleep_for(20ms);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// A game directory with the sample intro and the given settings.
void PrepareGameDir(const test::TempDir& dir, const std::string& userCfg, bool withIntro = true) {
  dir.Write("user.cfg", userCfg);
  dir.Write("data/tables/.keep", "");
  test::CopyFromGameRoot(dir, test::kProfilesFile);
  test::CopyFigureData(dir);
  test::WriteStartPages(dir);
  if (withIntro) {
    std::filesystem::create_directories(dir.Path() + "/data/video");
    std::filesystem::copy_file(test::GameRoot() + "/data/video/intro.avi", dir.Path() + "/data/video/intro.avi");
  }
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

TEST(IntroAtStart, FullScreenPlaysTheIntroOnceThenEntersTheGameLoop) {
  test::TempDir dir;
  PrepareGameDir(dir, "v_fullscreen 1\nv_width 640\nv_height 480\nhrajvideoraz 1\n");
  const auto start = Clock::now();
  EXPECT_EQ(RunGame(dir.Path(), "frames=3,exit=1"), 0);
  EXPECT_GE(Seconds(Clock::now() - start), 2.9);  // the three-second intro played
  const std::string log = dir.Read("navo.log");
  const std::size_t config = log.find("--- Reading config file");
  const std::size_t loop = log.find("--- Entering game loop...");
  ASSERT_NE(loop, std::string::npos) << log;
  EXPECT_LT(config, loop);
  EXPECT_EQ(log.find("PlayCutscene Error"), std::string::npos) << log;
  EXPECT_NE(dir.Read("config.cfg").find("hrajvideoraz \"0\"\n"), std::string::npos) << dir.Read("config.cfg");
}

TEST(IntroAtStart, FullScreenWithoutTheFileShowsTheErrorAndStillClearsTheFlag) {
  test::TempDir dir;
  PrepareGameDir(dir, "v_fullscreen 1\nv_width 640\nv_height 480\nhrajvideoraz 1\n", false);
  EXPECT_EQ(RunGame(dir.Path(), "frames=3,exit=1"), 0);
  const std::string log = dir.Read("navo.log");
  EXPECT_NE(log.find("Failed(0x80070002) in RenderFile(data\\video\\intro.avi)!"), std::string::npos) << log;
  EXPECT_NE(log.find("--- Entering game loop..."), std::string::npos) << log;
  EXPECT_NE(dir.Read("config.cfg").find("hrajvideoraz \"0\"\n"), std::string::npos);
}

TEST(IntroAtStart, WindowedModeNeitherPlaysNorClears) {
  test::TempDir dir;
  // Without the file an attempt to play it would log the missing file.
  PrepareGameDir(dir, "v_fullscreen 0\nv_width 640\nv_height 480\nhrajvideoraz 1\n", false);
  EXPECT_EQ(RunGame(dir.Path(), "frames=3,exit=1"), 0);
  const std::string log = dir.Read("navo.log");
  EXPECT_NE(log.find("--- Entering game loop..."), std::string::npos) << log;
  EXPECT_EQ(log.find("RenderFile(data\\video\\intro.avi)"), std::string::npos) << log;
  EXPECT_NE(dir.Read("config.cfg").find("hrajvideoraz \"1\"\n"), std::string::npos) << dir.Read("config.cfg");
}

}  // namespace
