#pragma once
// The built game as a process, for the suites that run it: how it is started (its test
// hook, lock folder, display, program, standard error), the running copy, and the game
// directories it is started in. Each game runs in the current directory.
#include "tests/support/TestEnv.h"

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace test {

/// How a game is started: its hook, where its lock lives, whether it has a display,
/// which program, and where its standard error goes.
struct Launch {
  std::string hook;
  std::string runtimeDir;  ///< XDG_RUNTIME_DIR; empty: unset
  bool display = true;     ///< false: DISPLAY and WAYLAND_DISPLAY unset
  bool boxes = false;      ///< true: NAVO_HEADLESS unset, so that boxes show
  std::string program = GameRoot() + "/navo";
  std::string stderrFile;  ///< empty: the test's own
  /// The user (and group) id the game runs as, -1 for this process's; only root can
  /// give another. The program, the X authority and the leak checker's suppressions are
  /// handed to it as copies in the current directory: the checkout may lie in a folder
  /// closed to other users.
  int user = -1;
};

/// The directory and everything below it (links themselves, not their targets) handed
/// to the user, and the folders above it opened for others to pass through (a temporary
/// folder of mode 700, as CI makes) while it lives; nothing for -1.
class GivenToUser {
 public:
  GivenToUser(const TempDir& dir, int user);
  ~GivenToUser();
  GivenToUser(const GivenToUser&) = delete;
  GivenToUser& operator=(const GivenToUser&) = delete;

 private:
  std::vector<std::string> m_opened;  ///< folders given o+x, to take it back from
};

Launch MakeLaunch(const std::string& hook, const std::string& runtimeDir);

/// A started game; killed if the test ends before it did, and so is a copy it started of
/// itself (a restart), which this process adopts when the game ends.
class Game {
 public:
  /// In the current directory, with the lock files in dir.
  Game(const std::string& dir, const std::string& hook) : Game(MakeLaunch(hook, dir)) {}
  explicit Game(const Launch& launch);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  void Signal(int signal);
  pid_t Pid() const { return m_pid; }
  /// The exit status (128 + the signal for a killed process), or -1 (a failure of the
  /// test) when it has not ended within the time, a fail-safe far beyond any start.
  int Wait(std::chrono::seconds limit = kPatience);
  /// After Wait: the copy the game started of itself (its restart) becomes this game,
  /// to wait for in turn; false when it started none.
  bool FollowRestart();

  static constexpr std::chrono::seconds kPatience{120};

 private:
  pid_t m_pid = 0;
  std::string m_program;  ///< the file it runs, by which a copy of it is known
};

/// Polls the condition until it holds (true) or the time is up (false).
bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit = Game::kPatience);

/// The game root's sample data, linked into the directory (but "tables", which the
/// game writes to: a folder of its own).
void LinkSampleData(const TempDir& dir);
/// A game directory with the game root's data (without the intro video), copied.
void CopyGameData(const TempDir& dir);
/// A game directory: windowed, with the folder of the key table, the athletes and,
/// unless it has the sample pages, the two pages the start-up shows.
void PrepareGameDir(const TempDir& dir, bool startPages = true);
/// Whether the game in the directory has logged its entry into the main loop.
bool InGameLoop(const TempDir& dir);

}  // namespace test
