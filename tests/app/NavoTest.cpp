// The game executable as a process: one running copy, exit statuses, restart, the
// settings and key table it leaves behind (needs a display: runs under Xvfb). Each
// test runs the built game in a fresh directory of its own, with its lock files there
// too, and drives it through the NAVO_TEST_HOOK variable.
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

/// A started game; killed if the test ends before it did.
class Game {
 public:
  Game(const std::string& dir, const std::string& hook) {
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);  // the copies' lock file lives here
    if (hook.empty()) {
      unsetenv("NAVO_TEST_HOOK");
    } else {
      setenv("NAVO_TEST_HOOK", hook.c_str(), 1);
    }
    std::string program = test::GameRoot() + "/navo";
    char* argv[] = {program.data(), nullptr};
    EXPECT_EQ(posix_spawn(&m_pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    unsetenv("NAVO_TEST_HOOK");
  }
  ~Game() {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  void Signal(int signal) { kill(m_pid, signal); }

  /// The exit status (128 + the signal for a killed process), or -1 when it has not
  /// ended within the time.
  int Wait(std::chrono::seconds limit = 60s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }

 private:
  pid_t m_pid = 0;
};

bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit = 60s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

/// True while some process holds the single-instance lock in the directory.
bool LockHeld(const std::string& dir) {
  const int fd = open((dir + "/Vendral_kktina.lock").c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
  close(fd);
  return held;
}

/// A game directory: windowed, with the folder of the key table.
void PrepareGameDir(const test::TempDir& dir) {
  dir.Write("user.cfg", "v_fullscreen 0\nv_width 320\nv_height 240\n");
  dir.Write("data/tables/.keep", "");
}

TEST(Navo, NormalRunLogsItsStepsAndSavesOnExit) {
  test::TempDir dir;
  PrepareGameDir(dir);
  Game game(dir.Path(), "frames=3,r_gamma=1.7,exit=1");
  EXPECT_EQ(game.Wait(), 1);
  EXPECT_TRUE(test::ContainsInOrder(
      dir.Read("navo.log"),
      {"Navo Engine 0.01 - Linux - ", "\nRelease build\n", "\n--- System info\n", "--- Number of processors: ",
       "--- Operating system version: ", "\n--- Reading config file\n", "--- Creating World\n",
       "--- Entering game loop...\n", "Dumping all registered variables ...\n",
       "Saving variables to file config.cfg\n"}));
  EXPECT_NE(dir.Read("config.cfg").find("r_gamma \"1.7\"\n"), std::string::npos);
  EXPECT_EQ(dir.Read("data/tables/keysdefinition.data").size(), 256u);
  EXPECT_FALSE(LockHeld(dir.Path()));
}

TEST(Navo, SecondCopyEndsAtOnceAndLeavesTheLogAlone) {
  test::TempDir dir;
  PrepareGameDir(dir);
  Game first(dir.Path(), "file=stop,exit=1");
  ASSERT_TRUE(WaitFor([&] { return dir.Read("navo.log").find("--- Entering game loop") != std::string::npos; }));
  const std::string log = dir.Read("navo.log");
  Game second(dir.Path(), "");
  EXPECT_EQ(second.Wait(10s), 0);
  EXPECT_EQ(dir.Read("navo.log"), log);
  dir.Write("stop", "");
  EXPECT_EQ(first.Wait(), 1);
}

TEST(Navo, RestartStartsANewCopyWithTheSavedSettingsAndKeys) {
  test::TempDir dir;
  PrepareGameDir(dir);
  // The first copy rebinds action 0 to Z (44), changes a setting and asks for the
  // restart; the second copy (which must not see the first one's stop) ends by itself.
  Game game(dir.Path(), "frames=2,key=0:44,r_gamma=1.7,restart=1,exit=1|frames=2,marker=second,exit=1");
  EXPECT_EQ(game.Wait(), 1) << "the start's result";
  ASSERT_TRUE(WaitFor([&] {
    const std::string log = dir.Read("navo.log");
    return log.find(" marker = second \n") != std::string::npos &&
           log.find("Saving variables to file config.cfg") != std::string::npos && !LockHeld(dir.Path());
  })) << dir.Read("navo.log");
  const std::string log = dir.Read("navo.log");
  EXPECT_EQ(log.find("restart = 1"), std::string::npos) << "the new copy starts with restart 0";
  EXPECT_NE(log.find(" r_gamma = 1.7 \n"), std::string::npos) << "the new copy read the saved settings";
  const std::string keys = dir.Read("data/tables/keysdefinition.data");
  ASSERT_EQ(keys.size(), 256u);
  EXPECT_EQ(keys[0], 44) << "the new copy read the rebinding and wrote it back";
}

TEST(Navo, RestartTwoDoesNotRestart) {
  test::TempDir dir;
  PrepareGameDir(dir);
  Game game(dir.Path(), "frames=2,restart=2,exit=1|frames=2,marker=second,exit=1");
  EXPECT_EQ(game.Wait(), 1);
  std::this_thread::sleep_for(500ms);
  EXPECT_FALSE(LockHeld(dir.Path()));
  EXPECT_NE(dir.Read("navo.log").find(" restart = 2 \n"), std::string::npos) << "still the first copy's log";
}

TEST(Navo, CriticalErrorExitsWith255AndKeepsOnlyTheKeyTable) {
  test::TempDir dir;
  PrepareGameDir(dir);
  Game game(dir.Path(), "frames=2,key=1:45,critical");
  EXPECT_EQ(game.Wait(), 255);
  EXPECT_FALSE(dir.Exists("config.cfg"));
  const std::string keys = dir.Read("data/tables/keysdefinition.data");
  ASSERT_EQ(keys.size(), 256u);
  EXPECT_EQ(keys[1], 45);
  EXPECT_NE(dir.Read("navo.log").find("*** Forced by the test hook\n"), std::string::npos);
}

TEST(Navo, TerminationSignalStillEndsTheProcess) {
  test::TempDir dir;
  PrepareGameDir(dir);
  Game game(dir.Path(), "file=stop,exit=1");
  ASSERT_TRUE(WaitFor([&] { return dir.Read("navo.log").find("--- Entering game loop") != std::string::npos; }));
  game.Signal(SIGTERM);  // not turned into an ignored quit request
  EXPECT_EQ(game.Wait(10s), 128 + SIGTERM);
}

}  // namespace
