#pragma once
// The program's entry flow: one running copy, the application's life, and the
// restart of the own executable when the settings ask for it.
#include "platform/win32.h"

class N_TestHook;

/// The single-instance mutex's name.
inline constexpr const char* kInstanceMutexName = "Vendral_kktina";

/// 0 when another copy runs or the start-up fails; 1 after a normal end; on a restart
/// the result of starting the new copy (nonzero on success). Once the copy knows it is
/// the only one, it reads the key table and registers its exit-time save. The hook,
/// when active, runs once per pass of the main loop.
int WinMain(HINSTANCE instance, HINSTANCE previous, char* commandLine, int show, N_TestHook& hook);

/// Started from another folder (no "data" folder in the working directory), changes to
/// the executable's folder, the game root, before anything is read or written there.
void EnterGameRoot();

/// Writes the key-definitions table now, and makes the exit-time write skip it. A
/// failed save is logged when the log still exists and always said on stderr. A table
/// that was there at the start but could not be read is never written.
void SaveKeyDefinitionsOnce();
/// The exit-time write of the key-definitions table (registered in main).
void SaveKeyDefinitionsAtExit();
