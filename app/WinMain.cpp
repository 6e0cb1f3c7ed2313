#include "app/WinMain.h"

#include "app/Application.h"
#include "app/TestHook.h"
#include "core/ErrorLog.h"
#include "core/FileFinder.h"
#include "core/Globals.h"
#include "core/KeyDefinitions.h"
#include "core/VarMng.h"

#include <cstdlib>
#include <string>

namespace {

bool g_keysSaved = false;
/// The application of this copy. After a failed Init it is never deleted (no shutdown
/// runs, nothing is saved) and stays here, reachable, until the process ends.
N_Application* g_application = nullptr;

/// The key table is read once this copy knows it runs alone, and written back however
/// the process exits normally, a critical error's exit included. A second copy, which
/// ends at once, neither reads it nor races the running copy's save.
void TakeKeyDefinitions() {
  static bool taken = false;
  if (taken) return;
  taken = true;
  LoadKeyDefinitions();
  std::atexit(SaveKeyDefinitionsAtExit);
}

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

void EnterGameRoot() {
  if (!platform::FolderExists("data")) {
    const std::string program = platform::ExecutablePath();
    const std::size_t slash = program.rfind('/');
    if (slash != std::string::npos) SetCurrentDirectoryA(slash == 0 ? "/" : program.substr(0, slash).c_str());
  }
  // The script finders search below the game root from here on.
  N_FileList::RecaptureWorkingDirectory();
}

void SaveKeyDefinitionsOnce() {
  if (g_keysSaved || KeyDefinitionsUnreadable()) return;  // an unreadable table stays as it is
  g_keysSaved = true;
  std::string why;
  if (SaveKeyDefinitions(&why)) return;
  // Usually after the shutdown, when the log is gone: a box tells the player (on stderr
  // when there is no display).
  const std::string line = std::string("unable to save ") + kKeyDefinitionsFile + " file: " + why + "\n";
  if (g_errorLog) g_errorLog->Report(9, "%s", line.c_str());
  MessageBoxA(0, line.c_str(), "Error", MB_OK | MB_ICONEXCLAMATION);
}

void SaveKeyDefinitionsAtExit() { SaveKeyDefinitionsOnce(); }

int WinMain(HINSTANCE instance, HINSTANCE, char*, int, N_TestHook& hook) {
  // Another copy runs in this game root (or one that started in the same moment took
  // the lock first): this one ends at once, writing nothing, and says why.
  const auto refuse = [] {
    OutputDebugStringA(("navo: another copy of the game runs in the game root " + platform::MutexLockFolder() +
                        "; this one ends\n").c_str());
    return 0;
  };
  if (OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kInstanceMutexName)) return refuse();
  const HANDLE mutex = CreateMutexA(nullptr, TRUE, kInstanceMutexName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) return refuse();
  TakeKeyDefinitions();

  // Never deleted when Init fails: no shutdown runs and nothing is saved then.
  g_application = new N_Application;
  N_Application* application = g_application;
  if (!application->Init(instance)) return 0;
  if (hook.Active()) application->SetFrameHook([&hook] { hook.OnPass(); });
  application->Run();
  const bool restart = g_varMng->GetInt("restart") == 1;
  delete application;
  g_application = nullptr;
  if (!restart) return 1;

  // The new copy must find the key table whole and the mutex free.
  SaveKeyDefinitionsOnce();
  CloseHandle(mutex);
  return StartNewCopy();
}
