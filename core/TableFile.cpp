#include "core/TableFile.h"

#include "platform/win32.h"

namespace {

bool IsSeparator(char c) { return c == '\n' || c == '\t' || c == '\r' || c == ' '; }

}  // namespace

bool N_TableFile::Open(const std::string& fileName) {
  m_fileName = fileName;
  m_position = 0;
  std::string raw;
  if (!platform::ReadWholeFile(fileName, raw)) {
    m_rest.clear();
    return false;
  }
  raw.resize(raw.find('\0') == std::string::npos ? raw.size() : raw.find('\0'));  // a zero byte cuts the text
  m_rest = StripComments(raw);
  return true;
}

std::string N_TableFile::StripComments(const std::string& text) {
  // Each comment goes from its slashes through its newline inclusive, so the text
  // around it becomes neighbours; a final comment without a newline ends the text.
  // One pass: the text kept before a comment never ends in a slash (that slash would
  // have begun the comment), so no new "//" can form where the pieces meet.
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t at = text.find("//", from);
    if (at == std::string::npos) {
      out.append(text, from, std::string::npos);
      break;
    }
    out.append(text, from, at - from);
    const std::size_t nl = text.find('\n', at);
    if (nl == std::string::npos) break;
    from = nl + 1;
  }
  return out;
}

const std::string& N_TableFile::NextField() {
  m_field.clear();
  const std::string& text = m_rest;
  std::size_t pos = m_position;
  // Separators before the first field are skipped (they would otherwise become
  // part of it); later ones are skipped after each field below.
  while (pos < text.size() && IsSeparator(text[pos])) {
    if (text[pos] == '\n') ++m_line;
    ++pos;
  }
  if (pos >= text.size()) {
    m_position = text.size();
    return m_field;
  }

  if (text[pos] == '"') {
    const std::size_t close = text.find('"', pos + 1);
    if (close == std::string::npos) {
      // An unclosed quote takes the rest of the text and leaves nothing behind.
      m_field.assign(text, pos + 1, std::string::npos);
      m_position = text.size();
      return m_field;
    }
    m_field.assign(text, pos + 1, close - pos - 1);
    pos = close + 1;
  } else {
    const std::size_t start = pos++;
    while (pos < text.size() && !IsSeparator(text[pos])) ++pos;
    m_field.assign(text, start, pos - start);
  }
  while (pos < text.size() && IsSeparator(text[pos])) {
    if (text[pos] == '\n') ++m_line;
    ++pos;
  }
  m_position = pos;
  return m_field;
}

void N_TableFile::Close() {
  m_line = 0;
  m_position = 0;
  m_field.clear();
  m_fileName.clear();
  m_rest.clear();
}
