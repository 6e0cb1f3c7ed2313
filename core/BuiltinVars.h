#pragma once
// The program's configuration vocabulary: the built-in variables with their defaults.

/// Registers the 99 built-in variables with the global registry, once, at start-up.
void RegisterBuiltinVars();
