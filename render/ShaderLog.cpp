#include "render/ShaderLog.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/VarMng.h"

#include <cstdarg>
#include <cstdio>

namespace {

void Format(char (&text)[N_ErrorLog::kBufferSize], const char* format, va_list args) {
  std::vsnprintf(text, sizeof text, format, args);
}

}  // namespace

void ShaderReport(int code, const char* format, ...) {
  if (!g_errorLog) return;
  char text[N_ErrorLog::kBufferSize];
  va_list args;
  va_start(args, format);
  Format(text, format, args);
  va_end(args);
  g_errorLog->Report(code, "%s", text);
}

void ShaderCritical(int code, const char* format, ...) {
  char text[N_ErrorLog::kBufferSize];
  va_list args;
  va_start(args, format);
  Format(text, format, args);
  va_end(args);
  if (g_errorLog) g_errorLog->Critical(code, "%s", text);
  std::fputs(text, stderr);
  CriticalExit(255);
}

int ShaderVarInt(const char* name) { return g_varMng ? g_varMng->GetInt(name) : 0; }
