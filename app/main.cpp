// The game's entry point.
#include "app/TestHook.h"
#include "app/WinMain.h"

int main() {
  // SIGTERM, SIGINT and SIGHUP end the game through its normal shutdown.
  platform::CatchTerminationSignals();
  EnterGameRoot();
  N_TestHook hook = N_TestHook::FromEnvironment();
  return WinMain(GetModuleHandleA(nullptr), 0, nullptr, SW_SHOWDEFAULT, hook);
}
