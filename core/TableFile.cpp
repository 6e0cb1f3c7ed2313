#include "core/TableFile.h"

#include "platform/win32.h"

namespace {

bool IsSeparator(char c) { return c == '\n' || c == '\t' || c == '\r' || c == ' '; }

}  // namespace

bool N_TableFile::Open(const std::string& fileName) {
  m_fileName = fileName;
  std::string raw;
  if (!platform::ReadWholeFile(fileName, raw)) {
    m_rest.clear();
    return false;
  }
  m_rest = raw.substr(0, raw.find('\0'));  // a zero byte cuts the text
  StripComments(m_rest);
  return true;
}

void N_TableFile::StripComments(std::string& text) {
  // Each comment is erased from its slashes through its newline inclusive, so the
  // text around it becomes neighbours; a final comment without a newline ends the text.
  for (std::size_t at = text.find("//"); at != std::string::npos; at = text.find("//")) {
    const std::size_t nl = text.find('\n', at);
    text.erase(at, nl == std::string::npos ? std::string::npos : nl - at + 1);
  }
}

const std::string& N_TableFile::NextField() {
  m_field.clear();
  // Separators before the first field are skipped (they would otherwise become
  // part of it); later ones are skipped after each field below.
  std::size_t lead = 0;
  while (lead < m_rest.size() && IsSeparator(m_rest[lead])) {
    if (m_rest[lead] == '\n') ++m_line;
    ++lead;
  }
  m_rest.erase(0, lead);
  if (m_rest.empty()) return m_field;

  std::size_t pos;
  if (m_rest[0] == '"') {
    const std::size_t close = m_rest.find('"', 1);
    if (close == std::string::npos) {
      // An unclosed quote takes the rest of the text and leaves nothing behind.
      m_field = m_rest.substr(1);
      m_rest.clear();
      return m_field;
    }
    m_field = m_rest.substr(1, close - 1);
    pos = close + 1;
  } else {
    pos = 1;
    while (pos < m_rest.size() && !IsSeparator(m_rest[pos])) ++pos;
    m_field = m_rest.substr(0, pos);
  }
  while (pos < m_rest.size() && IsSeparator(m_rest[pos])) {
    if (m_rest[pos] == '\n') ++m_line;
    ++pos;
  }
  m_rest.erase(0, pos);
  return m_field;
}

void N_TableFile::Close() {
  m_line = 0;
  m_field.clear();
  m_fileName.clear();
  m_rest.clear();
}
