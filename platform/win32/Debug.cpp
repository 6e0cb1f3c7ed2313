#include "platform/win32/Debug.h"

#include "platform/win32/Termination.h"

#include <SDL.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <utility>
#include <vector>

namespace {
platform::MessageBoxAnswerHook g_boxHook;
platform::DebugOutputHook g_debugHook;

bool IsQuestion(UINT type) { return (type & MB_TYPEMASK) == MB_YESNO; }

/// What a box answers when nobody can: OK, or No to a question (the program goes on).
int DefaultAnswer(UINT type) { return IsQuestion(type) ? IDNO : IDOK; }

/// The processes whose parent is this one.
std::vector<pid_t> ChildProcesses() {
  std::vector<pid_t> children;
  DIR* proc = ::opendir("/proc");
  if (!proc) return children;
  const long self = ::getpid();
  while (const dirent* entry = ::readdir(proc)) {
    const long pid = std::atol(entry->d_name);
    if (pid <= 0) continue;
    std::ifstream file(std::string("/proc/") + entry->d_name + "/stat");
    std::string stat;
    std::getline(file, stat);
    const std::size_t name = stat.rfind(')');  // the name in parentheses may hold anything
    char state = 0;
    long parent = 0;
    if (name != std::string::npos && std::sscanf(stat.c_str() + name + 1, " %c %ld", &state, &parent) == 2 &&
        parent == self) {
      children.push_back(static_cast<pid_t>(pid));
    }
  }
  ::closedir(proc);
  return children;
}

/// While a box is shown, a termination signal closes it, so that the desktop's request
/// to end is not held up by a box nobody answers (the box answers as an unanswered one
/// does). SDL shows the box in a child process (X11; zenity on Wayland) and waits for
/// it: the watch ends the children the process did not have before the box, until the
/// box call returns, SDL trying another way included.
class BoxWatch {
 public:
  BoxWatch() : m_before(ChildProcesses()) {
    if (platform::TerminationFd() < 0 || ::pipe2(m_answered, O_CLOEXEC) != 0) return;
    m_thread = std::thread([this] { Watch(); });
  }
  ~BoxWatch() {
    if (!m_thread.joinable()) return;
    (void)!::write(m_answered[1], "x", 1);
    m_thread.join();
    ::close(m_answered[0]);
    ::close(m_answered[1]);
  }
  BoxWatch(const BoxWatch&) = delete;
  BoxWatch& operator=(const BoxWatch&) = delete;

 private:
  void Watch() {
    pollfd wait[2] = {{m_answered[0], POLLIN, 0}, {platform::TerminationFd(), POLLIN, 0}};
    while (::poll(wait, 2, -1) < 0 && errno == EINTR) {
    }
    if (wait[0].revents != 0) return;
    do {
      for (const pid_t child : ChildProcesses()) {
        if (std::find(m_before.begin(), m_before.end(), child) == m_before.end()) ::kill(child, SIGKILL);
      }
    } while (::poll(wait, 1, 20) <= 0);  // until the box call returns
  }

  std::vector<pid_t> m_before;
  int m_answered[2] = {-1, -1};
  std::thread m_thread;
};

/// The SDL box; false when it could not be shown.
bool ShowSdlBox(const std::string& title, const std::string& body, UINT type, int* answer) {
  const BoxWatch watch;
  if (!IsQuestion(type)) {
    *answer = IDOK;
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(), body.c_str(), nullptr) == 0;
  }
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
  };
  const SDL_MessageBoxData data = {(type & MB_ICONSTOP) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_WARNING,
                                   nullptr,
                                   title.c_str(),
                                   body.c_str(),
                                   2,
                                   buttons,
                                   nullptr};
  int pressed = -1;
  if (SDL_ShowMessageBox(&data, &pressed) != 0) return false;
  *answer = pressed == IDYES ? IDYES : IDNO;  // closing the box answers No
  return true;
}

}  // namespace

namespace platform {

void SetMessageBoxHook(MessageBoxHook hook) {
  if (!hook) {
    g_boxHook = {};
    return;
  }
  g_boxHook = [record = std::move(hook)](const std::string& text, const std::string& caption, UINT type) {
    record(text, caption);
    return DefaultAnswer(type);
  };
}

void SetMessageBoxAnswerHook(MessageBoxAnswerHook hook) { g_boxHook = std::move(hook); }
void SetDebugOutputHook(DebugOutputHook hook) { g_debugHook = std::move(hook); }

bool IsHeadless() {
  const char* headless = std::getenv("NAVO_HEADLESS");
  if (headless && *headless && std::string(headless) != "0") return true;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return !(display && *display) && !(wayland && *wayland);
}

}  // namespace platform

int MessageBoxA(HWND, const char* text, const char* caption, UINT type) {
  const std::string body = text ? text : "";
  const std::string title = caption ? caption : "";
  if (g_boxHook) {
    const platform::MessageBoxAnswerHook hook = g_boxHook;  // the hook may replace itself
    return hook(body, title, type);
  }
  int answer = DefaultAnswer(type);
  // After a termination signal no box is shown: the game is ending.
  if (platform::IsHeadless() || platform::TerminationRequested() || !ShowSdlBox(title, body, type, &answer)) {
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), body.c_str());
    answer = DefaultAnswer(type);
  }
  return answer;
}

void OutputDebugStringA(const char* text) {
  const std::string body = text ? text : "";
  if (g_debugHook) {
    g_debugHook(body);
    return;
  }
  std::fputs(body.c_str(), stderr);
  std::fflush(stderr);
}
