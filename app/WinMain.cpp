#include "app/WinMain.h"

#include "app/Application.h"
#include "app/TestHook.h"
#include "core/Globals.h"
#include "core/KeyDefinitions.h"
#include "core/VarMng.h"

#include <string>

namespace {

bool g_keysSaved = false;

/// Starts the own executable again: no command line, no inherited handles, this
/// environment and directory. The start's result (nonzero on success).
int StartNewCopy() {
  const std::string path = platform::ExecutablePath();
  if (path.empty()) return 0;
  STARTUPINFOA startup;
  PROCESS_INFORMATION process;
  return CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process);
}

}  // namespace

void SaveKeyDefinitionsOnce() {
  if (g_keysSaved) return;
  g_keysSaved = true;
  SaveKeyDefinitions();
}

void SaveKeyDefinitionsAtExit() { SaveKeyDefinitionsOnce(); }

int WinMain(HINSTANCE instance, HINSTANCE, char*, int, N_TestHook& hook) {
  if (OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kInstanceMutexName)) return 0;  // another copy runs
  const HANDLE mutex = CreateMutexA(nullptr, TRUE, kInstanceMutexName);
  // A copy that started in the same moment took it first.
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  // Never deleted when Init fails: no shutdown runs and nothing is saved then.
  N_Application* application = new N_Application;
  if (!application->Init(instance)) return 0;
  if (hook.Active()) application->SetFrameHook([&hook] { hook.OnPass(); });
  application->Run();
  const bool restart = g_varMng->GetInt("restart") == 1;
  delete application;
  if (!restart) return 1;

  // The new copy must find the key table whole and the mutex free.
  SaveKeyDefinitionsOnce();
  CloseHandle(mutex);
  return StartNewCopy();
}
