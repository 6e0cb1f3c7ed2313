#include "tests/support/TestWindow.h"

#include "platform/win32/EventPump.h"
#include "platform/win32/WindowTable.h"

#include <SDL.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern char** environ;

namespace test {

namespace {

/// Reads the display number Xvfb writes once it accepts connections; -1 after a
/// fail-safe of two minutes.
int ReadDisplayNumber(int fd) {
  std::string text;
  pollfd p{fd, POLLIN, 0};
  while (text.find('\n') == std::string::npos && ::poll(&p, 1, 120000) > 0) {
    char buffer[32];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text.empty() ? -1 : std::atoi(text.c_str());
}

}  // namespace

PrivateDisplay::PrivateDisplay(const char* screen) {
  if (const char* display = std::getenv("DISPLAY")) {
    m_hadDisplay = true;
    m_previous = display;
  }
  int fds[2];
  if (::pipe(fds) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>("Xvfb"), const_cast<char*>("-displayfd"), const_cast<char*>("3"),
                  const_cast<char*>("-screen"), const_cast<char*>("0"), const_cast<char*>(screen),
                  const_cast<char*>("-nolisten"), const_cast<char*>("tcp"),
                  // The server keeps its state (the pointer's place) when its last client goes.
                  const_cast<char*>("-noreset"), nullptr};
  pid_t pid = -1;
  const int spawned = posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  const int number = spawned == 0 ? ReadDisplayNumber(fds[0]) : -1;
  ::close(fds[0]);
  if (spawned != 0) return;
  m_server = pid;
  if (number < 0) {
    Stop();
    return;
  }
  // Appended, not ":" + text: GCC 12 at -O3 warns (-Wrestrict) about the inlined
  // copy of a literal before a string.
  std::string display(":");
  display += std::to_string(number);
  ::setenv("DISPLAY", display.c_str(), 1);
}

PrivateDisplay::~PrivateDisplay() { Stop(); }

void PrivateDisplay::Stop() {
  if (m_server <= 0) return;
  ::kill(m_server, SIGTERM);
  ::waitpid(m_server, nullptr, 0);
  m_server = -1;
  if (m_hadDisplay) {
    ::setenv("DISPLAY", m_previous.c_str(), 1);
  } else {
    ::unsetenv("DISPLAY");
  }
}

TestWindow::TestWindow() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
  m_sdlStarted = true;
  static int made = 0;  // side by side, so that none covers another
  SDL_Window* window = SDL_CreateWindow("Navo input test", 170 * made++, 0, 160, 120, SDL_WINDOW_SHOWN);
  if (window) m_handle = platform::RegisterWindow(window);
}

TestWindow::~TestWindow() {
  if (SDL_Window* window = platform::LookupWindow(m_handle)) {
    platform::UnregisterWindow(m_handle);
    SDL_DestroyWindow(window);
  }
  if (m_sdlStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool TestWindow::HasFocus() const {
  SDL_Window* window = platform::LookupWindow(m_handle);
  return window && SDL_GetKeyboardFocus() == window;
}

bool TestWindow::Focus() {
  SDL_Window* window = platform::LookupWindow(m_handle);
  if (!window) return false;
  SDL_RaiseWindow(window);
  SDL_SetWindowInputFocus(window);
  const Uint32 start = SDL_GetTicks();
  while (SDL_GetTicks() - start < 120000) {  // a fail-safe
    platform::PumpEvents();
    if (HasFocus()) return true;
    SDL_Delay(5);
  }
  return false;
}

bool XdoTool(const char* arguments) {
  const std::string command = std::string("xdotool ") + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

void PushWindowEvent(HWND window, std::uint8_t sdlWindowEvent) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = sdlWindowEvent;
  event.window.windowID = SDL_GetWindowID(platform::LookupWindow(window));
  SDL_PushEvent(&event);
}

}  // namespace test
