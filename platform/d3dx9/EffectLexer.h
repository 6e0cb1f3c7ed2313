#pragma once
// Inside the layer: the tokens of an effect file. Comments are "//" to the end of the
// line and "/* ... */"; numbers may carry a sign, a fraction, an exponent, an "f"
// suffix or be hexadecimal ("0x"); strings are in double quotes without escapes. A
// GLSL block is the raw text after "{{" up to a line holding only "}}": the program
// text passes through untouched, its first line number kept for the compiler's
// messages.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::d3dx9 {

enum class EffectTokenKind { End, Identifier, Number, String, Symbol, Block, Bad };

struct EffectToken {
  EffectTokenKind kind = EffectTokenKind::End;
  std::string text;  ///< the identifier, the string's contents, the symbol, the block's text
  double number = 0.0;
  bool integral = false;  ///< a number without fraction or exponent
  int line = 1;           ///< the token's line; for a block, the line of its first text line
};

class EffectLexer {
 public:
  explicit EffectLexer(std::string_view text) : m_text(text) {}

  /// The next token; End at the end of the text, Bad (with the reason) on a broken one.
  EffectToken Next();
  /// Reads a GLSL block when the text continues with "{{" (after blanks and comments);
  /// false leaves the position unchanged.
  bool NextBlock(EffectToken& block);
  int Line() const { return m_line; }

 private:
  void SkipBlanksAndComments();
  EffectToken ReadNumber();
  EffectToken ReadString();
  char Peek(std::size_t ahead = 0) const {
    return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0';
  }

  std::string_view m_text;
  std::size_t m_pos = 0;
  int m_line = 1;
  bool m_unterminatedComment = false;
};

}  // namespace platform::d3dx9
