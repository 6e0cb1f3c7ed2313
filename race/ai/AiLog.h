#pragma once
// The race's own log "Ai.log": the path network, the AI tables, the start places, the
// race simulation and the recorded run write their progress and faults here, apart
// from the engine log. Every game mode creates the log when it is made and deletes it
// with itself, so the file holds the current game's lines only.
//
// Three kinds of report, all static so that a report made while no log is open still
// shows its box (and writes nothing):
//   Write     the line and "\n", flushed at once
//   WriteBox  the same, then an OK box captioned "Box"
//   Error     the same, then the question line + "\nExit ?" (Yes/No, stop icon,
//             captioned "Error"): Yes ends the program with the given code, No returns
// Lines are written as given; many texts end in "\n" already and leave an empty line.
#include <string>

class N_AiLog {
 public:
  N_AiLog() = default;
  /// Closes the file when it is still open.
  ~N_AiLog();
  N_AiLog(const N_AiLog&) = delete;
  N_AiLog& operator=(const N_AiLog&) = delete;

  /// Creates (or empties) the file. When it cannot be created (a read-only game root, a
  /// folder in its place) one line in navo.log and on stderr says so, and the reports
  /// go unwritten: the race goes on without its log.
  void Open(const std::string& fileName);
  /// Closes the file when one is open.
  void Close();

  static void Write(const std::string& line);
  static void WriteBox(const std::string& line);
  /// Returns only when the answer is No (or nobody can answer: headless).
  static void Error(int code, const std::string& line);
  /// True while a file is open.
  static bool IsOpen();
};

/// The log object while a game exists, else null.
extern N_AiLog* g_aiLog;

/// Makes the log object and opens "Ai.log"; a log already open is closed first.
void CreateAiLog();
/// Closes the file and deletes the object; nothing when there is none.
void DeleteAiLog();

/// printf-style text of any length for the AI log.
[[gnu::format(printf, 1, 2)]] std::string FormatAiLine(const char* format, ...);
