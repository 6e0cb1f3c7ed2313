#pragma once
// The text of one page script as the parser reads it: trimmed lines of at most 1023
// characters (the rest of a longer line comes as the next line; a NUL byte ends a
// line's text), and skips to the next brace character by character.
#include <cstddef>
#include <string>

class N_GuiScriptText {
 public:
  static constexpr std::size_t kLineLimit = 1023;

  explicit N_GuiScriptText(std::string text) : m_text(std::move(text)) {}

  /// The next line without its line feed, trimmed of blanks, tabs and carriage
  /// returns at both ends; false at the end of the text.
  bool ReadLine(std::string& line);
  /// Moves past the next c (or to the end when there is none).
  void SkipPast(char c);
  bool AtEnd() const { return m_pos >= m_text.size(); }

 private:
  std::string m_text;
  std::size_t m_pos = 0;
};
