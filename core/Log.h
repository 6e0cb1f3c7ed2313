#pragma once
// The engine log "navo.log": plain printf-style text, flushed after every print so
// the file is complete up to the last line even when the process ends abruptly.
#include <cstdarg>
#include <cstdio>
#include <string>

/// Output interface: anything that takes printf-style text.
class N_OutputSink {
 public:
  virtual ~N_OutputSink() = default;
  [[gnu::format(printf, 2, 3)]] virtual void Print(const char* format, ...) = 0;
};

/// A sink writing to a file opened "w+" (created or emptied). A file that cannot be
/// opened makes every print a no-op (and a critical error once the reporter exists;
/// before that, one line on the debugger output, stderr). A null name makes a sink that
/// keeps nothing.
class N_FileSink : public N_OutputSink {
 public:
  static constexpr std::size_t kBufferSize = 8192;

  explicit N_FileSink(const char* fileName);
  ~N_FileSink() override;
  N_FileSink(const N_FileSink&) = delete;
  N_FileSink& operator=(const N_FileSink&) = delete;

  [[gnu::format(printf, 2, 3)]] void Print(const char* format, ...) override;
  void PrintV(const char* format, va_list args);
  bool IsOpen() const { return m_file != nullptr; }

 private:
  std::FILE* m_file = nullptr;
};

/// The engine log; created first at start-up, destroyed right after the reporter.
class N_Log : public N_FileSink {
 public:
  explicit N_Log(const char* fileName = "navo.log") : N_FileSink(fileName) {}
};

/// One printf-style text into the engine log; nothing while there is none (tools, tests).
[[gnu::format(printf, 1, 2)]] void LogLine(const char* format, ...);
