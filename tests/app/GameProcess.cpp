#include "tests/app/GameProcess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
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

/// The environment with XAUTHORITY pointing to a copy of its file that the user owns.
std::vector<std::string> HandXAuthority(std::vector<std::string> env, int user) {
  const char* authority = std::getenv("XAUTHORITY");
  if (!authority) return env;
  const std::string copy = std::filesystem::current_path().string() + "/xauthority";
  std::filesystem::copy_file(authority, copy, std::filesystem::copy_options::overwrite_existing);
  EXPECT_EQ(::chown(copy.c_str(), user, user), 0);
  for (std::string& e : env) {
    if (e.rfind("XAUTHORITY=", 0) == 0) e = "XAUTHORITY=" + copy;
  }
  return env;
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
  std::vector<std::string> env = GameEnvironment(launch);
  if (launch.user >= 0) env = HandXAuthority(env, launch.user);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  m_pid = Spawn(launch, envp.data());
  EXPECT_GT(m_pid, 0);
}

Game::~Game() {
  if (m_pid > 0) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
  }
}

void Game::Signal(int signal) { kill(m_pid, signal); }

int Game::Wait(std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
      m_pid = 0;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
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
