#include "platform/d3dx9/EffectLexer.h"

#include <cctype>
#include <cstdlib>

namespace platform::d3dx9 {

namespace {

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front()))) line.remove_prefix(1);
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.remove_suffix(1);
  return line;
}

EffectToken BadToken(int line, std::string reason) {
  EffectToken token;
  token.kind = EffectTokenKind::Bad;
  token.text = std::move(reason);
  token.line = line;
  return token;
}

}  // namespace

void EffectLexer::SkipBlanksAndComments() {
  while (m_pos < m_text.size()) {
    const char c = Peek();
    if (c == '\n') {
      ++m_line;
      ++m_pos;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++m_pos;
    } else if (c == '/' && Peek(1) == '/') {
      while (m_pos < m_text.size() && Peek() != '\n') ++m_pos;
    } else if (c == '/' && Peek(1) == '*') {
      m_pos += 2;
      while (m_pos < m_text.size() && !(Peek() == '*' && Peek(1) == '/')) {
        if (Peek() == '\n') ++m_line;
        ++m_pos;
      }
      if (m_pos >= m_text.size()) {
        m_unterminatedComment = true;
        return;
      }
      m_pos += 2;
    } else {
      return;
    }
  }
}

EffectToken EffectLexer::Next() {
  SkipBlanksAndComments();
  if (m_unterminatedComment) return BadToken(m_line, "comment not closed with '*/'");
  EffectToken token;
  token.line = m_line;
  if (m_pos >= m_text.size()) return token;
  const char c = Peek();
  if (IsIdentifierStart(c)) {
    const std::size_t start = m_pos;
    while (IsIdentifierChar(Peek())) ++m_pos;
    token.kind = EffectTokenKind::Identifier;
    token.text = std::string(m_text.substr(start, m_pos - start));
    return token;
  }
  if (IsDigit(c) || ((c == '-' || c == '+' || c == '.') && (IsDigit(Peek(1)) || (Peek(1) == '.' && IsDigit(Peek(2)))))) {
    return ReadNumber();
  }
  if (c == '"') return ReadString();
  ++m_pos;
  token.kind = EffectTokenKind::Symbol;
  token.text = std::string(1, c);
  return token;
}

EffectToken EffectLexer::ReadNumber() {
  EffectToken token;
  token.kind = EffectTokenKind::Number;
  token.line = m_line;
  const std::size_t start = m_pos;
  if (Peek() == '-' || Peek() == '+') ++m_pos;
  if (Peek() == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
    m_pos += 2;
    while (std::isxdigit(static_cast<unsigned char>(Peek()))) ++m_pos;
    const std::string digits(m_text.substr(start, m_pos - start));
    token.number = static_cast<double>(std::strtoll(digits.c_str(), nullptr, 16));
    token.integral = true;
  } else {
    token.integral = true;
    while (IsDigit(Peek())) ++m_pos;
    if (Peek() == '.') {
      token.integral = false;
      ++m_pos;
      while (IsDigit(Peek())) ++m_pos;
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '-' || Peek(1) == '+') && IsDigit(Peek(2))))) {
      token.integral = false;
      m_pos += 2;
      while (IsDigit(Peek())) ++m_pos;
    }
    const std::string digits(m_text.substr(start, m_pos - start));
    token.number = std::strtod(digits.c_str(), nullptr);
    if (Peek() == 'f' || Peek() == 'F') {
      token.integral = false;
      ++m_pos;
    }
  }
  token.text = std::string(m_text.substr(start, m_pos - start));
  if (IsIdentifierChar(Peek())) return BadToken(m_line, "malformed number '" + token.text + "'");
  return token;
}

EffectToken EffectLexer::ReadString() {
  const int line = m_line;
  const std::size_t start = ++m_pos;
  while (m_pos < m_text.size() && Peek() != '"' && Peek() != '\n') ++m_pos;
  if (Peek() != '"') return BadToken(line, "string not closed on its line");
  EffectToken token;
  token.kind = EffectTokenKind::String;
  token.text = std::string(m_text.substr(start, m_pos - start));
  token.line = line;
  ++m_pos;
  return token;
}

bool EffectLexer::NextBlock(EffectToken& block) {
  const std::size_t savedPos = m_pos;
  const int savedLine = m_line;
  SkipBlanksAndComments();
  if (m_unterminatedComment || Peek() != '{' || Peek(1) != '{') {
    m_pos = savedPos;
    m_line = savedLine;
    m_unterminatedComment = false;
    return false;
  }
  m_pos += 2;
  const int openLine = m_line;
  const std::size_t lineEnd = m_text.find('\n', m_pos);
  if (!Trimmed(m_text.substr(m_pos, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - m_pos))
           .empty()) {
    block = BadToken(openLine, "the program starts on the line after '{{'");
    return true;
  }
  if (lineEnd == std::string_view::npos) {
    block = BadToken(openLine, "program block not closed with '}}'");
    return true;
  }
  m_pos = lineEnd + 1;
  ++m_line;
  block = EffectToken{};
  block.kind = EffectTokenKind::Block;
  block.line = m_line;
  const std::size_t textStart = m_pos;
  while (m_pos < m_text.size()) {
    const std::size_t end = m_text.find('\n', m_pos);
    const std::size_t stop = end == std::string_view::npos ? m_text.size() : end;
    if (Trimmed(m_text.substr(m_pos, stop - m_pos)) == "}}") {
      block.text = std::string(m_text.substr(textStart, m_pos - textStart));
      m_pos = stop;
      return true;
    }
    m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
    if (end != std::string_view::npos) ++m_line;
  }
  block = BadToken(openLine, "program block not closed with '}}'");
  return true;
}

}  // namespace platform::d3dx9
