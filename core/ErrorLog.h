#pragma once
// The error reporter: four severities over the log. Every report is formatted,
// written to the log as "*** " + text (no line end added) and then:
//   Report      nothing more
//   ReportDebug the text to the debugger output
//   ReportBox   a modal "Error" box; the program goes on
//   Critical    debugger output, a "Critical error!" box, then CriticalExit(-1) (status 255)
#include "core/Log.h"

/// What ends the program after a critical error. Without a hook: std::exit(status), so
/// the exit handlers (key table, gamma ramp) still run. The fuzz targets install a hook
/// that throws, so a file the game refuses with a critical error ends one input, not the
/// process. A hook must not return; null restores the exit.
using N_CriticalExitHook = void (*)(int status);
void SetCriticalExitHook(N_CriticalExitHook hook);
/// Ends the program (or unwinds through the hook) after a critical error was reported.
[[noreturn]] void CriticalExit(int status);

/// The reporter interface.
class N_ErrorReporter {
 public:
  virtual ~N_ErrorReporter() = default;
  [[gnu::format(printf, 3, 4)]] virtual void Report(int code, const char* format, ...) = 0;
  [[gnu::format(printf, 3, 4)]] virtual void ReportDebug(int code, const char* format, ...) = 0;
  [[gnu::format(printf, 3, 4)]] virtual void ReportBox(int code, const char* format, ...) = 0;
  [[gnu::format(printf, 3, 4)]] [[noreturn]] virtual void Critical(int code, const char* format, ...) = 0;
};

class N_ErrorLog final : public N_ErrorReporter, public N_OutputSink {
 public:
  static constexpr std::size_t kBufferSize = 4096;

  /// Reports go to the given log (which may be null: then they go nowhere but the hooks).
  /// The file layer's refusals (a file that is no regular file, or too large) are
  /// reported from then on through the global reporter (code 9).
  explicit N_ErrorLog(N_Log* log);

  [[gnu::format(printf, 3, 4)]] void Report(int code, const char* format, ...) override;
  [[gnu::format(printf, 3, 4)]] void ReportDebug(int code, const char* format, ...) override;
  [[gnu::format(printf, 3, 4)]] void ReportBox(int code, const char* format, ...) override;
  [[gnu::format(printf, 3, 4)]] [[noreturn]] void Critical(int code, const char* format, ...) override;
  /// The reporter as an output sink: a Report with code 12.
  [[gnu::format(printf, 2, 3)]] void Print(const char* format, ...) override;

  /// The code of the last report (kept for diagnostics).
  int LastCode() const { return m_lastCode; }
  /// The text of the last report.
  const char* LastText() const { return m_text; }

 private:
  void Format(int code, const char* format, va_list args);

  char m_text[kBufferSize] = {};
  N_Log* m_log;
  int m_lastCode = 0;
};
