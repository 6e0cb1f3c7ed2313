#pragma once
// How the game tells the player that a saved file (a top-times or career table, a
// career, a recorded run) could not be read or written: one "!!! " line in navo.log
// and the shared OK box "MessageOK" (its label "Label2", its button "Ok1" bound to
// "OKMsgClick"). A problem reported while the box already shows one is added below it,
// so none hides another. Without a world or without the box only the log says it.
#include <string>

/// The text as a line of the log and in the OK box.
void ReportFileProblem(const std::string& text);

/// "<file> cannot be read (<why>): ..." and the like, the texts of the usual cases.
namespace file_problem {
/// A file that is there but cannot be read, left as it is; why as the file layer says
/// it (its disk path, then the reason).
std::string Unreadable(const std::string& file, const std::string& why, const char* consequence);
/// A file whose contents fail their checks, left as it is.
std::string Damaged(const std::string& file, const std::string& what, const char* consequence);
/// A file that could not be saved.
std::string NotSaved(const std::string& file, const std::string& why, const char* consequence);
}  // namespace file_problem
