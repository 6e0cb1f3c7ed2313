#include "scene/SceneCritical.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void SceneCritical(int code, const char* format, ...) {
  char text[N_ErrorLog::kBufferSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (g_errorLog) g_errorLog->Critical(code, "%s", text);
  std::fprintf(stderr, "*** %s", text);
  std::exit(255);
}
