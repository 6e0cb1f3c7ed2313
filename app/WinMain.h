#pragma once
// The program's entry flow: one running copy, the application's life, and the
// restart of the own executable when the settings ask for it.
#include "platform/win32.h"

class N_TestHook;

/// The single-instance mutex's name.
inline constexpr const char* kInstanceMutexName = "Vendral_kktina";

/// 0 when another copy runs or the start-up fails; 1 after a normal end; on a restart
/// the result of starting the new copy (nonzero on success). The hook, when active,
/// runs once per pass of the main loop.
int WinMain(HINSTANCE instance, HINSTANCE previous, char* commandLine, int show, N_TestHook& hook);

/// Writes the key-definitions table now, and makes the exit-time write skip it.
void SaveKeyDefinitionsOnce();
/// The exit-time write of the key-definitions table (registered in main).
void SaveKeyDefinitionsAtExit();
