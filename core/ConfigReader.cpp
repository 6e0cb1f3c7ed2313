#include "core/ConfigReader.h"

#include "core/Convert.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"
#include "platform/win32/Files.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

/// A letter or "_", then letters, digits and "_": the names variables have.
bool IsVariableName(const std::string& name) {
  if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
  for (const char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

/// Whether the text begins with a number as atof reads one (after blanks); "inf" or
/// "nan" starting a longer word ("info") is a word.
bool HoldsNumber(const char* text) {
  char* end = nullptr;
  const double read = std::strtod(text, &end);
  if (end == text) return false;
  return std::isfinite(read) || *end == '\0' || std::isspace(static_cast<unsigned char>(*end));
}

}  // namespace

void N_ConfigReader::Load(const char* fileName) {
  m_kind = Kind::Written;
  m_unknown = 0;
  OpenFile(fileName);
  Parse();
  ReportNames(fileName);
}

void N_ConfigReader::LoadSaved(const char* fileName) {
  m_kind = Kind::Saved;
  m_unknown = 0;
  OpenFile(fileName);
  const std::string& text = Source();
  if (!text.empty() && text.back() != '\n') {
    LogLine("!!! %s ends inside a line: cut short? Its last setting may be incomplete\n", fileName);
  }
  Parse();
  ReportNames(fileName);
  m_kind = Kind::Written;
}

void N_ConfigReader::LoadChecked(const char* fileName) {
  OpenFile(fileName);
  m_kind = Kind::Shipped;
  m_unknown = 0;
  const std::string& text = Source();
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    LogLine("!!! %s %s: the settings stay as they were\n", fileName,
            platform::IdentifyFile(fileName) ? "holds no setting" : "is missing");
  } else if (text.back() != '\n') {
    LogLine("!!! %s ends inside a line: cut short? Its last setting may be incomplete\n", fileName);
  }
  Parse();
  ReportNames(fileName);
  m_kind = Kind::Written;
}

void N_ConfigReader::NoteName(const std::string& name) {
  if (m_unknown++ == 0) m_firstUnknown = "'" + name.substr(0, 64) + "' on line " + std::to_string(Line());
}

void N_ConfigReader::ReportNames(const char* fileName) {
  if (m_unknown == 0) return;
  LogLine("!!! %s sets %d name%s of no setting of the game (first: %s)\n", fileName, m_unknown,
          m_unknown == 1 ? "" : "s", m_firstUnknown.c_str());
  m_unknown = 0;
}

bool N_ConfigReader::Accepts(const std::string& name, const char* value) {
  const N_Var* var = g_varMng->Find(name.c_str());
  if (!var && (m_kind != Kind::Written || !IsVariableName(name))) NoteName(name);
  const bool numeric = var && var->Numeric();
  const char* fault = nullptr;
  if (numeric && !HoldsNumber(value)) {
    fault = "is not a number";
  } else if (numeric || !var || m_kind == Kind::Shipped) {
    fault = ReadScriptNumber(value, false).fault;  // a text variable takes any text
  }
  // Typed or saved text holds no control character but a line end or a tab.
  for (const char* c = value; *c && !fault; ++c) {
    if (static_cast<unsigned char>(*c) < 0x20 && *c != '\n' && *c != '\t') fault = "holds a control character";
  }
  // The game writes every value in quotes: a quote inside a value without them is one
  // whose opening quote is damaged. A number with text after it ("1024x768") is taken.
  if (!fault && m_kind == Kind::Saved && !TokenQuoted() && std::strpbrk(value, "\"'")) fault = "holds a stray quote";
  if (!fault) return true;
  LogLine("!!! %s line %d: %s '%s' %s: not set\n", FileName().c_str(), Line(), name.c_str(),
          std::string(value).substr(0, 64).c_str(), fault);
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
