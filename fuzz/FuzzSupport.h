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
#include <string_view>

namespace fuzz {

/// Thrown by the critical-error exit hook in place of ending the process.
struct CriticalError {
  int status = 0;
};

/// Writes the bytes as the file of an engine path (backslashes or slashes) below the
/// working directory, making its folders.
void WriteFile(std::string_view enginePath, const std::uint8_t* data, std::size_t size);
void WriteFile(std::string_view enginePath, std::string_view text);

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
