#include "core/Log.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "platform/win32.h"

N_FileSink::N_FileSink(const char* fileName) {
  m_file = platform::OpenFile(fileName ? fileName : "", "w+");
  if (!m_file && g_errorLog) g_errorLog->Critical(9, "unable to open %s file", fileName ? fileName : "");
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
