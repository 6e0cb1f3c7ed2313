#include "core/ErrorLog.h"

#include "core/Globals.h"
#include "platform/win32.h"

#include <cstdlib>

namespace {
N_CriticalExitHook g_criticalExitHook = nullptr;
}  // namespace

void SetCriticalExitHook(N_CriticalExitHook hook) { g_criticalExitHook = hook; }

void CriticalExit(int status) {
  if (g_criticalExitHook) g_criticalExitHook(status);
  std::exit(status);
}

N_ErrorLog::N_ErrorLog(N_Log* log) : m_log(log) {
  platform::SetFileRefusalHook([](const std::string& line) {
    if (g_errorLog) {
      g_errorLog->Report(9, "%s\n", line.c_str());
    } else {
      OutputDebugStringA((line + "\n").c_str());
    }
  });
}

void N_ErrorLog::Format(int code, const char* format, va_list args) {
  m_lastCode = code;
  std::vsnprintf(m_text, sizeof m_text, format ? format : "", args);  // cut at 4095
  if (m_log) m_log->Print("*** %s", m_text);
}

void N_ErrorLog::Report(int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  Format(code, format, args);
  va_end(args);
}

void N_ErrorLog::ReportDebug(int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  Format(code, format, args);
  va_end(args);
  OutputDebugStringA(m_text);
}

void N_ErrorLog::ReportBox(int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  Format(code, format, args);
  va_end(args);
  MessageBoxA(0, m_text, "Error", MB_OK | MB_ICONEXCLAMATION);
}

void N_ErrorLog::Critical(int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  Format(code, format, args);
  va_end(args);
  OutputDebugStringA(m_text);
  MessageBoxA(0, m_text, "Critical error!", MB_OK | MB_ICONEXCLAMATION);
  CriticalExit(-1);
}

void N_ErrorLog::Print(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Format(12, format, args);
  va_end(args);
}
