#pragma once
// The desktop's requests to end the program (SIGTERM at log-out or from a task
// manager, SIGINT from a terminal's Ctrl+C, SIGHUP when the terminal goes away)
// become a normal end: the handler only raises a flag, and the main loop, which looks
// at it every pass, ends as the menus end it, so the settings and the key table are
// saved and the desktop's display mode and gamma ramp come back.
namespace platform {

/// Installs the handlers (once per process). A second signal of the same kind, while
/// the first one's shutdown runs, ends the process at once as it would by default.
void CatchTerminationSignals();
/// True once one of the signals arrived; stays true.
bool TerminationRequested();
/// A descriptor to wait on (poll) for the signals: readable once one arrived, and from
/// then on; -1 before the handlers are installed.
int TerminationFd();

}  // namespace platform
