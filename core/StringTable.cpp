#include "core/StringTable.h"

#include "core/FileFinder.h"
#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/Tokenizer.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

void N_StringTable::SetLanguage(const char* name) { m_language = name ? name : ""; }

void N_StringTable::ReadDir(const char* mask) {
  const std::string m = mask ? mask : "";
  if (g_log) g_log->Print("Reading string tables from dir '%s' for language '%s'\n", m.c_str(), m_language.c_str());
  m_languagesRead.clear();
  m_repeatedRead = false;
  const int files = ReadFiles(m);
  // No table at all, or none in this language: one line, not one for every text. A
  // language no table holds (the built-in one, a typing error in a settings file)
  // gives the one most blocks are in, whose name the caller can save.
  m_readFrom.clear();
  if (files == 0) {
    Warn("!!! No string table in data\\%s: every text is empty\n", m.c_str());
  } else if (m_languageBlocks == 0 && !m_languagesRead.empty()) {
    const auto most = std::max_element(m_languagesRead.begin(), m_languagesRead.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    const std::string wanted = m_language;
    m_language = most->first;
    Warn("!!! No string table in data\\%s holds language '%s': the texts are in '%s'\n", m.c_str(),
         wanted.c_str(), m_language.c_str());
    m_repeatedRead = true;  // the files' own faults were said in the first reading
    ReadFiles(m);
    m_repeatedRead = false;
    m_readFrom = m;
  } else if (m_languageBlocks == 0) {
    Warn("!!! No string table in data\\%s holds language '%s': every text is empty\n", m.c_str(),
         m_language.c_str());
  } else {
    m_readFrom = m;
  }
}

int N_StringTable::ReadFiles(const std::string& mask) {
  const std::string prefix = mask.substr(0, mask.find('*'));
  N_FileFinder finder(mask.c_str());
  m_languageBlocks = 0;
  int files = 0;
  for (const char* name = finder.FindFirst(); name; name = finder.FindNext()) {
    if (!std::strstr(name, ".string")) continue;
    const std::string file = name;  // the finder's buffer is reused by the next call
    if (g_log) g_log->Print("Loading strings from file '%s'\n", file.c_str());
    ParseFile("data\\" + prefix + file);
    ++files;
  }
  return files;
}

void N_StringTable::Add(const std::string& key, const std::string& text) { m_strings.emplace(key, text); }

void N_StringTable::Remove(const std::string& key) { m_strings.erase(key); }

const std::string& N_StringTable::Find(const std::string& key) {
  const auto [entry, added] = m_strings.try_emplace(key);
  // Once the tables are read, a key none of them holds is a text the player sees blank
  // (a table missing or cut short): said once, since the key now stays, empty.
  if (added && !m_readFrom.empty()) {
    Warn("!!! String '%s' is in no string table of data\\%s for language '%s'\n", key.c_str(), m_readFrom.c_str(),
         m_language.c_str());
  }
  return entry->second;
}

void N_StringTable::Dump(const char* fileName) const {
  std::FILE* f = platform::OpenFile(fileName ? fileName : "", "wt");
  if (!f) return;
  for (const auto& [key, text] : m_strings) std::fprintf(f, "%s = '%s'\n", key.c_str(), text.c_str());
  std::fclose(f);
}

void N_StringTable::ParseFile(const std::string& path) {
  N_Tokenizer tok;
  tok.OpenFile(path.c_str());
  if (!tok.HasSource()) {
    if (!m_repeatedRead) Warn("!!! String table %s cannot be read\n", path.c_str());
    return;
  }
  int blocks = 0;
  int keysWithoutText = 0;
  int firstLine = 0;
  while (const char* token = tok.NextToken(true)) {
    if (!platform::EqualsNoCase(token, "language")) continue;
    ++blocks;
    // A "language" at the end of its line names no language: it matches none.
    const char* lang = tok.NextToken(false);
    const bool wanted = lang && platform::EqualsNoCase(lang, m_language);
    const std::string language = lang ? lang : "";
    if (wanted) ++m_languageBlocks;
    if (lang) CountLanguage(lang);
    bool closed = false;
    if (!wanted) {
      while (const char* t = tok.NextToken(true)) {
        if (std::strcmp(t, "}") == 0) {
          closed = true;
          break;
        }
      }
    } else {
      while (const char* t = tok.NextToken(true)) {
        if (std::strcmp(t, "{") == 0) continue;
        if (std::strcmp(t, "}") == 0) {
          closed = true;
          break;
        }
        const std::string key = t;  // copied before the text token overwrites it
        if (const char* text = tok.NextToken(false)) {
          Add(key, text);
        } else if (keysWithoutText++ == 0) {
          firstLine = tok.Line();  // a key alone at the end of its line has no text and is skipped
        }
      }
    }
    if (!closed && !m_repeatedRead) {
      Warn("!!! String table %s: the block of language '%s' has no '}': the file is cut short\n", path.c_str(),
           language.c_str());
    }
  }
  if (blocks == 0 && !m_repeatedRead) Warn("!!! String table %s holds no language block\n", path.c_str());
  if (keysWithoutText > 0) {
    Warn("!!! String table %s:%d: %d key(s) without a text on their line\n", path.c_str(), firstLine,
         keysWithoutText);
  }
}

void N_StringTable::CountLanguage(const char* name) {
  for (auto& [language, blocks] : m_languagesRead) {
    if (platform::EqualsNoCase(language, name)) {
      ++blocks;
      return;
    }
  }
  m_languagesRead.emplace_back(name, 1);
}

void N_StringTable::Warn(const char* format, ...) {
  if (!g_log) return;
  va_list args;
  va_start(args, format);
  const std::string line = FormatStringV(format, args);
  va_end(args);
  g_log->Print("%s", line.c_str());
}
