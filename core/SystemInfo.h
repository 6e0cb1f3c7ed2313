#pragma once
// The block of system information written to the log at start-up (right after the
// built-in variables are registered, before the configuration is read), and the
// measurement of the processor clock it shows.
#include "platform/win32.h"

#include <cstdint>
#include <string>

/// Logs processors, clock, instruction sets, memory and the operating system, and
/// while "v_fullscreen" is 1 installs the keyboard hook that keeps the system keys
/// from taking the player out of a full-screen game.
void SystemInfoToLog();

/// The processor clock in Hz: time-stamp counter ticks against the performance
/// counter over a sleep of the given milliseconds, at the highest priority on the first
/// processor. 0 when it cannot be measured (sleep below 1, no CPUID, no time-stamp
/// counter, no performance counter).
std::uint64_t N_CpuInfo(DWORD sleepMilliseconds);

/// The frequency line's value: whole MHz above 1000 as "%.1f GHz\n" of MHz x 0.001,
/// else "%.0f MHz\n".
std::string FormatProcessorFrequency(std::uint64_t hertz);
/// The architecture line's name for an x86 processor level ("Intel 80386\n", ...).
std::string ProcessorLevelName(int level);
