#include "core/Log.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "platform/win32.h"

#include <cerrno>
#include <cstring>

N_FileSink::N_FileSink(const char* fileName) {
  if (!fileName) return;  // a sink that keeps nothing
  const char* name = fileName;
  m_file = platform::OpenFile(name, "w+");
  if (m_file) return;
  const int error = errno;
  if (g_errorLog) g_errorLog->Critical(9, "unable to open %s file", name);
  // Before the reporter exists (the log itself at start-up) the run would otherwise
  // leave no trace at all: one line on the debugger output (stderr) says why.
  std::string where = platform::ResolvePath(name);
  if (where.empty() || where[0] != '/') where = platform::CurrentDirectory() + "/" + where;
  OutputDebugStringA(("unable to open " + where + " file: " + std::strerror(error) + "\n").c_str());
}

N_FileSink::~N_FileSink() {
  if (m_file) std::fclose(m_file);
}

void N_FileSink::Print(const char* format, ...) {
  va_list args;
  va_start(args, format);
  PrintV(format, args);
  va_end(args);
}

void N_FileSink::PrintV(const char* format, va_list args) {
  if (!m_file || !format) return;
  char buffer[kBufferSize];
  std::vsnprintf(buffer, sizeof buffer, format, args);  // longer texts are cut at 8191
  std::fputs(buffer, m_file);
  std::fflush(m_file);
}

void LogLine(const char* format, ...) {
  if (!g_log) return;
  va_list args;
  va_start(args, format);
  g_log->PrintV(format, args);
  va_end(args);
}
