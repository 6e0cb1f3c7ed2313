#pragma once
// The sound module's own record of the core services: CreateSoundMng copies the
// application's block here, and every report of the module goes through it. It also
// keeps the manager, which the music stream reaches through it.
#include "core/CoreServices.h"

class N_SoundMng;

struct N_SoundModule {
  N_CoreServices services;
  N_SoundMng* manager = nullptr;
};

extern N_SoundModule g_soundModule;

/// A line for the log (nothing before the factory has copied the block).
[[gnu::format(printf, 1, 2)]] void SoundLog(const char* format, ...);
/// A report with a message box through the module's reporter; the program goes on.
[[gnu::format(printf, 2, 3)]] void SoundReportBox(int code, const char* format, ...);
/// A critical error through the module's reporter: the program ends.
[[gnu::format(printf, 2, 3)]] [[noreturn]] void SoundCritical(int code, const char* format, ...);
