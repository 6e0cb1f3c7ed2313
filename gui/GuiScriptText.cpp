#include "gui/GuiScriptText.h"

#include "core/StringUtil.h"

#include <algorithm>

bool N_GuiScriptText::ReadLine(std::string& line) {
  if (AtEnd()) return false;
  const std::size_t feed = m_text.find('\n', m_pos);
  const std::size_t through = feed == std::string::npos ? m_text.size() : feed + 1;
  const std::size_t end = std::min(through, m_pos + kLineLimit);
  line.assign(m_text, m_pos, end - m_pos);
  m_pos = end;
  m_lineNumber = m_nextLine;
  if (!line.empty() && line.back() == '\n') {
    line.pop_back();
    ++m_nextLine;  // the rest of a long line keeps its number
  }
  const std::size_t nul = line.find('\0');
  if (nul != std::string::npos) line.resize(nul);
  TrimString(line, true, true);
  return true;
}

bool N_GuiScriptText::SkipPast(char c) {
  const std::size_t at = m_text.find(c, m_pos);
  const std::size_t end = at == std::string::npos ? m_text.size() : at + 1;
  m_nextLine += static_cast<int>(std::count(m_text.begin() + static_cast<std::ptrdiff_t>(m_pos),
                                            m_text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
  m_pos = end;
  return at != std::string::npos;
}
