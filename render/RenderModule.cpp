#include "render/RenderModule.h"

#include "core/ErrorLog.h"
#include "core/Log.h"
#include "core/VarMng.h"

#include <cstdarg>

N_RenderModule g_renderModule;

void RenderLog(const char* format, ...) {
  if (!g_renderModule.services.log) return;
  va_list args;
  va_start(args, format);
  g_renderModule.services.log->PrintV(format, args);
  va_end(args);
}

void RenderReport(int code, const char* format, ...) {
  if (!g_renderModule.services.errorLog) return;
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  g_renderModule.services.errorLog->Report(code, "%s", text);
}

int RenderVarInt(const char* name) {
  return g_renderModule.services.varMng ? g_renderModule.services.varMng->GetInt(name) : 0;
}
