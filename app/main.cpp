// The game's entry point.
#include "app/TestHook.h"
#include "app/WinMain.h"
#include "core/KeyDefinitions.h"

#include <cstdlib>

int main() {
  // The key table is there before anything runs and is written back however the
  // process exits normally, a critical error's exit included.
  LoadKeyDefinitions();
  std::atexit(SaveKeyDefinitionsAtExit);
  N_TestHook hook = N_TestHook::FromEnvironment();
  return WinMain(GetModuleHandleA(nullptr), 0, nullptr, SW_SHOWDEFAULT, hook);
}
