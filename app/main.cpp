// The game's entry point.
#include "app/TestHook.h"
#include "app/WinMain.h"

int main() {
  // SIGTERM, SIGINT and SIGHUP end the game through its normal shutdown.
  platform::CatchTerminationSignals();
  EnterGameRoot();
  N_TestHook hook = N_TestHook::FromEnvironment();
  hook.PrepareStart();
  // WinMain gives 0 for a start refused (another copy runs) or failed and for a restart
  // whose new copy could not be started, nonzero for a normal end or a started restart.
  // A launcher or a script reads the process's status the other way round: 0 is success.
  // A critical error ends the process elsewhere, with its own status.
  return WinMain(GetModuleHandleA(nullptr), 0, nullptr, SW_SHOWDEFAULT, hook) != 0 ? 0 : 1;
}
