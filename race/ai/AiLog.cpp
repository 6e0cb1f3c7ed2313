#include "race/ai/AiLog.h"

#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

N_AiLog* g_aiLog = nullptr;

namespace {

/// The open "Ai.log", or null: a second global beside the object, which holds nothing.
std::FILE* g_aiLogFile = nullptr;

}  // namespace

N_AiLog::~N_AiLog() { Close(); }

void N_AiLog::Open(const std::string& fileName) {
  Close();
  g_aiLogFile = platform::OpenFile(fileName, "wt");
  if (g_aiLogFile) return;
  // The race goes on without its log, as the game does without its own: one line in
  // navo.log and on stderr says so.
  const std::string line = "Cannot create log file " + fileName + " (" + std::strerror(errno) +
                           "): the race goes on without it\n";
  if (g_log) g_log->Print("!!! %s", line.c_str());
  OutputDebugStringA(line.c_str());
}

void N_AiLog::Close() {
  if (!g_aiLogFile) return;
  std::fclose(g_aiLogFile);
  g_aiLogFile = nullptr;
}

bool N_AiLog::IsOpen() { return g_aiLogFile != nullptr; }

void N_AiLog::Write(const std::string& line) {
  if (!g_aiLogFile) return;
  std::fwrite(line.data(), 1, line.size(), g_aiLogFile);
  std::fputc('\n', g_aiLogFile);
  std::fflush(g_aiLogFile);
}

void N_AiLog::WriteBox(const std::string& line) {
  Write(line);
  MessageBoxA(0, line.c_str(), "Box", MB_OK);
}

void N_AiLog::Error(int code, const std::string& line) {
  Write(line);  // flushed: the line is on disk before the program may end
  const std::string question = line + "\nExit ?";
  if (MessageBoxA(0, question.c_str(), "Error", MB_YESNO | MB_ICONSTOP) == IDYES) std::exit(code);
}

void CreateAiLog() {
  DeleteAiLog();  // a second game's log replaces the first, which is closed
  g_aiLog = new N_AiLog;
  g_aiLog->Open("Ai.log");
}

void DeleteAiLog() {
  if (!g_aiLog) return;
  g_aiLog->Close();
  delete g_aiLog;
  g_aiLog = nullptr;
}

std::string FormatAiLine(const char* format, ...) {
  if (!format) return {};
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text;
  if (length > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, again);
    text.assign(buffer.data(), static_cast<std::size_t>(length));
  }
  va_end(again);
  return text;
}
