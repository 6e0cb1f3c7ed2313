#pragma once
// The program's configuration vocabulary: the built-in variables with their defaults.

/// Registers the 99 built-in variables with the global registry, once, at start-up.
void RegisterBuiltinVars();

/// The start course of a new installation ("mapname"), which the game falls back to
/// when the course of the settings cannot be loaded.
inline constexpr const char* kDefaultMapName = "Beitostolen.ALF";
