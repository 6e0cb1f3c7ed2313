#pragma once
// The text of one page script as the parser reads it: trimmed lines of at most 1023
// characters (the rest of a longer line comes as the next line; a NUL byte ends a
// line's text), and skips to the next brace character by character. It counts the
// lines of the file, for the reader's messages.
#include <cstddef>
#include <string>

class N_GuiScriptText {
 public:
  static constexpr std::size_t kLineLimit = 1023;

  explicit N_GuiScriptText(std::string text) : m_text(std::move(text)) {}

  /// The next line without its line feed, trimmed of blanks, tabs and carriage
  /// returns at both ends; false at the end of the text.
  bool ReadLine(std::string& line);
  /// Moves past the next c; false (at the end) when there is none.
  bool SkipPast(char c);
  bool AtEnd() const { return m_pos >= m_text.size(); }
  /// The line of the file (from 1) the last ReadLine read; 0 before the first.
  int LineNumber() const { return m_lineNumber; }
  /// The line of the file where the reading stands now (after a skip, the line of the brace).
  int CurrentLine() const { return m_nextLine; }

 private:
  std::string m_text;
  std::size_t m_pos = 0;
  int m_lineNumber = 0;
  int m_nextLine = 1;  ///< the line of the file at m_pos
};
