#pragma once
// What every fuzz target shares. The process works in a private directory of its own
// that stands in for the game root (made at start-up, removed at exit), with the core
// services behind the globals: the log (its text is formatted and dropped), the error
// reporter and the variables with the built-ins. A critical error does not end the
// process: its exit hook throws CriticalError, so a file the game refuses that way is
// a normal end of one input. Message boxes and debugger output are dropped.
//
// A target writes each input where the game looks for the file (WriteFile) and calls
// the reader through the entry the game uses, inside Guarded().
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

/// Thrown by the critical-error exit hook in place of ending the process.
struct CriticalError {
  int status = 0;
};

/// Writes the bytes as the file of an engine path (backslashes or slashes) below the
/// working directory, making its folders.
void WriteFile(std::string_view enginePath, const std::uint8_t* data, std::size_t size);
void WriteFile(std::string_view enginePath, std::string_view text);

/// One file of an input that holds several.
struct InputFile {
  std::string name;  ///< empty for the main file
  std::string_view bytes;
};

/// Splits an input of several files: the bytes before the first line "//@ NAME" are
/// the main file, and each such line starts the file NAME, up to the next one. At most
/// kMaxInputFiles files; the rest stays in the last.
constexpr std::size_t kMaxInputFiles = 16;
std::vector<InputFile> SplitFiles(std::string_view input);

/// Empties the folder (an engine path below the working directory), then writes every
/// named file of the list below it. A name must be a relative path of plain parts
/// (letters, digits, '_', '-', '.'; not "." or "..") joined by '\' or '/'; other
/// names are left out, so nothing lands outside the folder, and so is a name that needs
/// a file where an earlier one made a folder or the other way round.
void WriteFiles(std::string_view folder, const std::vector<InputFile>& files);

/// Runs the read; true when it ended normally, false when it ended in a critical error.
template <class Read>
bool Guarded(Read&& read) {
  try {
    read();
    return true;
  } catch (const CriticalError&) {
    return false;
  }
}

/// Ends the process with a report when a reader broke a promise the game relies on
/// (the fuzzer keeps the input that did it).
void Check(bool condition, const char* what);

}  // namespace fuzz
