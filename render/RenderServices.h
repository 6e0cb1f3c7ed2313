#pragma once
// The renderer module's own copy of the application's core services block, made by
// CreateRender. All renderer code reaches the log, the error reporter, the variables,
// the timer, the renderer itself and the texture manager through g_renderServices.
#include "core/CoreServices.h"

/// The module's copy (word 6 is never copied and stays zero).
extern N_CoreServices g_renderServicesCopy;
/// Points at g_renderServicesCopy while a renderer exists, else null.
extern N_CoreServices* g_renderServices;

/// Prints to the log of the renderer's services (nothing when there is none).
[[gnu::format(printf, 1, 2)]] void RenderPrint(const char* format, ...);
/// Integer and float variables through the renderer's services (0 when there are none).
int RenderVarInt(const char* name);
float RenderVarFloat(const char* name);
