#include "platform/win32/Termination.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>

namespace platform {
namespace {

volatile std::sig_atomic_t g_requested = 0;
int g_wake[2] = {-1, -1};  ///< written to at the signal; its reading end stays readable

extern "C" void OnTerminationSignal(int) {
  g_requested = 1;
  const int saved = errno;
  if (g_wake[1] >= 0) (void)!::write(g_wake[1], "x", 1);
  errno = saved;
}

}  // namespace

void CatchTerminationSignals() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  if (::pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0) g_wake[0] = g_wake[1] = -1;
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND: the default comes back for a second signal; SA_RESTART: no system
  // call of the frame fails for it.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool TerminationRequested() { return g_requested != 0; }

int TerminationFd() { return g_wake[0]; }

}  // namespace platform
