#include "render/RenderServices.h"

#include "core/Log.h"
#include "core/VarMng.h"

#include <cstdarg>

N_CoreServices g_renderServicesCopy;
N_CoreServices* g_renderServices = nullptr;

void RenderPrint(const char* format, ...) {
  if (!g_renderServices || !g_renderServices->log) return;
  va_list args;
  va_start(args, format);
  g_renderServices->log->PrintV(format, args);
  va_end(args);
}

int RenderVarInt(const char* name) {
  return g_renderServices && g_renderServices->varMng ? g_renderServices->varMng->GetInt(name) : 0;
}

float RenderVarFloat(const char* name) {
  return g_renderServices && g_renderServices->varMng ? g_renderServices->varMng->GetFloat(name) : 0.0f;
}
