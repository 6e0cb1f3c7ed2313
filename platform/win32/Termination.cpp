#include "platform/win32/Termination.h"

#include <csignal>
#include <initializer_list>

namespace platform {
namespace {

volatile std::sig_atomic_t g_requested = 0;

extern "C" void OnTerminationSignal(int) { g_requested = 1; }

}  // namespace

void CatchTerminationSignals() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND: the default comes back for a second signal; SA_RESTART: no system
  // call of the frame fails for it.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool TerminationRequested() { return g_requested != 0; }

}  // namespace platform
