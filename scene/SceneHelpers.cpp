#include "scene/SceneHelpers.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/VarMng.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

int SceneVarInt(const char* name) { return g_varMng ? g_varMng->GetInt(name) : 0; }

float SceneVarFloat(const char* name) { return g_varMng ? g_varMng->GetFloat(name) : 0.0f; }

const char* SceneVarString(const char* name) {
  const char* text = g_varMng ? g_varMng->GetString(name) : nullptr;
  return text ? text : "";
}

void SceneCritical(int code, const char* format, ...) {
  char text[N_ErrorLog::kBufferSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (g_errorLog) g_errorLog->Critical(code, "%s", text);
  std::fprintf(stderr, "*** %s", text);
  std::exit(-1);
}
