#pragma once
// PROVISIONAL: the renderer module's copy of the core services; replaced by the
// device branch's module record when it lands.
#include "core/CoreServices.h"

struct N_RenderModule {
  N_CoreServices services;
};
extern N_RenderModule g_renderModule;

[[gnu::format(printf, 1, 2)]] void RenderLog(const char* format, ...);
[[gnu::format(printf, 2, 3)]] void RenderReport(int code, const char* format, ...);
int RenderVarInt(const char* name);
