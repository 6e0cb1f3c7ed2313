#include "core/StringTable.h"

#include "core/FileFinder.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Tokenizer.h"
#include "platform/win32.h"

#include <cstring>

void N_StringTable::SetLanguage(const char* name) { m_language = name ? name : ""; }

void N_StringTable::ReadDir(const char* mask) {
  const std::string m = mask ? mask : "";
  if (g_log) g_log->Print("Reading string tables from dir '%s' for language '%s'\n", m.c_str(), m_language.c_str());
  const std::string prefix = m.substr(0, m.find('*'));
  N_FileFinder finder(m.c_str());
  for (const char* name = finder.FindFirst(); name; name = finder.FindNext()) {
    if (!std::strstr(name, ".string")) continue;
    const std::string file = name;  // the finder's buffer is reused by the next call
    if (g_log) g_log->Print("Loading strings from file '%s'\n", file.c_str());
    ParseFile("data\\" + prefix + file);
  }
}

void N_StringTable::Add(const std::string& key, const std::string& text) { m_strings.emplace(key, text); }

void N_StringTable::Remove(const std::string& key) { m_strings.erase(key); }

const std::string& N_StringTable::Find(const std::string& key) { return m_strings[key]; }

void N_StringTable::Dump(const char* fileName) const {
  std::FILE* f = platform::OpenFile(fileName ? fileName : "", "wt");
  if (!f) return;
  for (const auto& [key, text] : m_strings) std::fprintf(f, "%s = '%s'\n", key.c_str(), text.c_str());
  std::fclose(f);
}

void N_StringTable::ParseFile(const std::string& path) {
  N_Tokenizer tok;
  tok.OpenFile(path.c_str());
  while (const char* token = tok.NextToken(true)) {
    if (!platform::EqualsNoCase(token, "language")) continue;
    // A "language" at the end of its line names no language: it matches none.
    const char* lang = tok.NextToken(false);
    const bool wanted = lang && platform::EqualsNoCase(lang, m_language);
    if (!wanted) {
      while (const char* t = tok.NextToken(true)) {
        if (std::strcmp(t, "}") == 0) break;
      }
      continue;
    }
    while (const char* t = tok.NextToken(true)) {
      if (std::strcmp(t, "{") == 0) continue;
      if (std::strcmp(t, "}") == 0) break;
      const std::string key = t;  // copied before the text token overwrites it
      if (const char* text = tok.NextToken(false)) Add(key, text);
      // A key alone at the end of its line has no text and is skipped.
    }
  }
}
