#include "tests/app/GameProcess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace test {

namespace {

/// This process's environment with the launch's changes.
std::vector<std::string> GameEnvironment(const Launch& launch) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    const std::string name = entry.substr(0, entry.find('='));
    if (name == "NAVO_TEST_HOOK" || name == "XDG_RUNTIME_DIR" || (launch.boxes && name == "NAVO_HEADLESS")) continue;
    if (!launch.display && (name == "DISPLAY" || name == "WAYLAND_DISPLAY" || name == "SDL_VIDEODRIVER")) continue;
    env.push_back(entry);
  }
  if (!launch.hook.empty()) env.push_back("NAVO_TEST_HOOK=" + launch.hook);
  if (!launch.runtimeDir.empty()) env.push_back("XDG_RUNTIME_DIR=" + launch.runtimeDir);
  return env;
}

/// A copy of the file in the current directory, owned by the user and readable (and,
/// for a program, runnable) by it; its path.
std::string HandFile(const std::string& file, const std::string& name, int user) {
  namespace fs = std::filesystem;
  const std::string copy = fs::current_path().string() + "/" + name;
  fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
  EXPECT_EQ(::chown(copy.c_str(), user, user), 0);
  return copy;
}

/// The launch as the user can run it: the program, the X authority and the leak
/// checker's suppressions copied where it can reach them (the checkout may lie in a
/// folder of mode 700), the environment pointing to the copies.
Launch HandToUser(Launch launch, std::vector<std::string>& env) {
  launch.program = HandFile(launch.program, "navo", launch.user);
  for (std::string& e : env) {
    if (e.rfind("XAUTHORITY=", 0) == 0) e = "XAUTHORITY=" + HandFile(e.substr(11), "xauthority", launch.user);
    const std::string key = "suppressions=";
    const std::size_t at = e.rfind("LSAN_OPTIONS=", 0) == 0 ? e.find(key) : std::string::npos;
    if (at == std::string::npos) continue;
    const std::size_t from = at + key.size();
    const std::size_t end = std::min(e.find(':', from), e.size());
    e.replace(from, end - from, HandFile(e.substr(from, end - from), "lsan.supp", launch.user));
  }
  return launch;
}

/// The processes of the Game objects alive, each started or followed by one.
std::vector<pid_t>& GamesAlive() {
  static std::vector<pid_t> games;
  return games;
}

void Forget(pid_t pid) {
  std::vector<pid_t>& games = GamesAlive();
  games.erase(std::remove(games.begin(), games.end(), pid), games.end());
}

/// The children of this process (ended ones too) that run the program but belong to no
/// Game object: the copies of a game that it adopted.
std::vector<pid_t> AdoptedCopies(const std::string& program) {
  namespace fs = std::filesystem;
  // The kernel's name of a process: its program's file name, cut to 15 characters.
  const std::string command = fs::path(program).filename().string().substr(0, 15);
  std::vector<pid_t> children;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    // "pid (name) state ppid ...": the name may hold blanks and parentheses.
    const std::size_t open = line.find('(');
    const std::size_t close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) continue;
    char state = 0;
    int parent = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) != 2 || parent != ::getpid()) continue;
    const pid_t pid = std::stoi(name);
    if (line.compare(open + 1, close - open - 1, command) != 0) continue;
    if (std::count(GamesAlive().begin(), GamesAlive().end(), pid) == 0) children.push_back(pid);
  }
  return children;
}

/// The game started (as the launch's user, which posix_spawn cannot give); its pid.
pid_t Spawn(const Launch& launch, char* const* envp) {
  std::string program = launch.program;
  char* argv[] = {program.data(), nullptr};
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  // The child: only calls that are safe after a fork, up to the exec.
  if (!launch.stderrFile.empty()) {
    const int fd = ::open(launch.stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) ::dup2(fd, 2);
  }
  const auto user = static_cast<uid_t>(launch.user);
  if (launch.user >= 0 && (::setgroups(0, nullptr) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0)) ::_exit(126);
  ::execve(program.c_str(), argv, envp);
  ::_exit(127);
}

}  // namespace

Launch MakeLaunch(const std::string& hook, const std::string& runtimeDir) {
  Launch launch;
  launch.hook = hook;
  launch.runtimeDir = runtimeDir;
  return launch;
}

GivenToUser::GivenToUser(const TempDir& dir, int user) {
  namespace fs = std::filesystem;
  if (user < 0) return;
  EXPECT_EQ(::lchown(dir.Path().c_str(), user, user), 0);
  for (const auto& e : fs::recursive_directory_iterator(dir.Path())) {
    EXPECT_EQ(::lchown(e.path().c_str(), user, user), 0) << e.path();
  }
  for (fs::path above = fs::path(dir.Path()).parent_path(); above.has_relative_path(); above = above.parent_path()) {
    if ((fs::status(above).permissions() & fs::perms::others_exec) != fs::perms::none) continue;
    fs::permissions(above, fs::perms::others_exec, fs::perm_options::add);
    m_opened.push_back(above.string());
  }
}

GivenToUser::~GivenToUser() {
  for (const std::string& folder : m_opened) {
    std::error_code ignored;
    std::filesystem::permissions(folder, std::filesystem::perms::others_exec, std::filesystem::perm_options::remove,
                                 ignored);
  }
}

Game::Game(const Launch& launch) {
  // A copy the game starts of itself comes to this process when the game ends, so that
  // the test can wait for it and end it before its folder goes.
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  std::vector<std::string> env = GameEnvironment(launch);
  const Launch started = launch.user >= 0 ? HandToUser(launch, env) : launch;
  m_program = started.program;
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  m_pid = Spawn(started, envp.data());
  EXPECT_GT(m_pid, 0);
  GamesAlive().push_back(m_pid);
}

Game::~Game() {
  if (m_pid > 0) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    Forget(m_pid);
  }
  // A restart the test did not follow (it failed before) must not outlive the folder.
  for (const pid_t copy : AdoptedCopies(m_program)) {
    kill(copy, SIGKILL);
    waitpid(copy, nullptr, 0);
  }
}

void Game::Signal(int signal) { kill(m_pid, signal); }

int Game::Wait(std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
      Forget(m_pid);
      m_pid = 0;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ADD_FAILURE() << m_program << " (process " << m_pid << ") has not ended in " << limit.count() << " s";
  return -1;
}

bool Game::FollowRestart() {
  EXPECT_EQ(m_pid, 0) << "the game still runs";
  // The copy was started before the game ended, and adopted before its end was seen.
  const std::vector<pid_t> copies = AdoptedCopies(m_program);
  if (copies.empty()) return false;
  EXPECT_EQ(copies.size(), 1u);
  m_pid = copies.front();
  GamesAlive().push_back(m_pid);
  return true;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

void LinkSampleData(const TempDir& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(GameRoot() + "/data")) {
    if (entry.path().filename() == "tables") continue;
    std::filesystem::create_directories(dir.Path() + "/data");
    std::filesystem::create_directory_symlink(entry.path(),
                                              std::filesystem::path(dir.Path()) / "data" / entry.path().filename());
  }
}

void CopyGameData(const TempDir& dir) {
  namespace fs = std::filesystem;
  const fs::path data = fs::path(GameRoot()) / "data";
  for (const auto& entry : fs::directory_iterator(data)) {
    if (entry.path().filename() == "video") continue;
    fs::copy(entry.path(), fs::path(dir.Path()) / "data" / entry.path().filename(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
}

void PrepareGameDir(const TempDir& dir, bool startPages) {
  // The language of the sample texts, as the sample user.cfg sets it.
  dir.Write("user.cfg", "v_fullscreen 0\nv_width 640\nv_height 480\nlanguage eng\n");
  dir.Write("data/tables/.keep", "");
  CopyFromGameRoot(dir, kProfilesFile);
  CopyFigureData(dir);
  if (startPages) WriteStartPages(dir);
}

bool InGameLoop(const TempDir& dir) {
  return dir.Read("navo.log").find("--- Entering game loop") != std::string::npos;
}

}  // namespace test
