#pragma once
// Small services the scene's level and camera code share: the variables read without
// a registry (tests and tools run without one), and the critical-error exit.
#include <cstdint>

/// The variable's integer, float or text; 0, 0.0 or "" without a registry.
int SceneVarInt(const char* name);
float SceneVarFloat(const char* name);
const char* SceneVarString(const char* name);

/// A critical error through the error reporter ("Critical error!", the program
/// ends); without a reporter the text goes to stderr and the program ends all the same.
[[noreturn]] [[gnu::format(printf, 2, 3)]] void SceneCritical(int code, const char* format, ...);
