#include "core/ConfigReader.h"

#include "core/Convert.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "platform/win32/Files.h"

#include <string>

void N_ConfigReader::Load(const char* fileName) {
  m_checked = false;
  OpenFile(fileName);
  Parse();
}

void N_ConfigReader::LoadChecked(const char* fileName) {
  OpenFile(fileName);
  m_checked = true;
  m_unknown = 0;
  m_firstUnknown.clear();
  const std::string& text = Source();
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    LogLine("!!! %s %s: the settings stay as they were\n", fileName,
            platform::IdentifyFile(fileName) ? "holds no setting" : "is missing");
  } else if (text.back() != '\n') {
    LogLine("!!! %s ends inside a line: cut short? Its last setting may be incomplete\n", fileName);
  }
  Parse();
  if (m_unknown > 0) {
    LogLine("!!! %s sets %d name%s of no setting of the game (first: %s)\n", fileName, m_unknown,
            m_unknown == 1 ? "" : "s", m_firstUnknown.c_str());
  }
  m_checked = false;
}

bool N_ConfigReader::Accepts(const std::string& name, const char* value) {
  if (!m_checked) return true;
  if (g_varMng && !g_varMng->Find(name.c_str()) && m_unknown++ == 0) {
    m_firstUnknown = "'" + name.substr(0, 64) + "' on line " + std::to_string(Line());
  }
  const ScriptNumber number = ReadScriptNumber(value, false);
  if (!number.fault) return true;
  LogLine("!!! %s line %d: %s '%s' %s: not set\n", FileName().c_str(), Line(), name.c_str(),
          std::string(value).substr(0, 64).c_str(), number.fault);
  return false;
}

void N_ConfigReader::Parse() {
  while (const char* token = NextToken(true)) {
    const std::string name = token;  // the next call overwrites the token buffer
    const int line = Line();
    if (const char* value = NextToken(false)) {
      if (g_varMng && Accepts(name, value)) g_varMng->SetString(name.c_str(), value, 0x02);
    } else if (g_errorLog) {
      g_errorLog->Report(12, "variable %s has no parameter! (%s line %d)\n", name.c_str(),
                         FileName().empty() ? "text" : FileName().c_str(), line);
    }
  }
}
