#pragma once
// The reporter and variables as the material code reaches them (the log: LogLine).
#include "core/Log.h"

/// A report through the error reporter (code 12 for every script fault).
[[gnu::format(printf, 2, 3)]] void ShaderReport(int code, const char* format, ...);
/// A critical error: the program ends.
[[gnu::format(printf, 2, 3)]] [[noreturn]] void ShaderCritical(int code, const char* format, ...);
/// N_VarMng::GetInt (0, with the registry's own report, for a missing name).
int ShaderVarInt(const char* name);
