#include "core/Tokenizer.h"

#include "core/Convert.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "platform/win32.h"

#include <cstdlib>
#include <cstring>

void N_Tokenizer::Open(std::string text, std::string fileName) {
  m_data = std::move(text);
  m_pos = 0;
  m_hasSource = true;
  m_line = 1;
  m_fileName = std::move(fileName);
  m_openFault.clear();
}

void N_Tokenizer::OpenFile(const char* name) {
  std::string raw;
  std::string why;
  const bool ok = platform::ReadWholeFile(name ? name : "", raw, &why);
  // Text mode: a CR right before a LF is dropped, so "}\r" still closes a block.
  std::string text;
  text.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  Open(ok ? std::move(text) : std::string(), name ? name : "");
  m_openFault = std::move(why);
}

void N_Tokenizer::OpenString(const char* text) { Open(text ? text : "", {}); }

void N_Tokenizer::OpenBuffer(const char* buffer, std::size_t length) {
  Open(buffer ? std::string(buffer, length) : std::string(), {});
}

int N_Tokenizer::Read() {
  if (m_pos >= m_data.size()) {
    m_pos = m_data.size() + 1;  // so that a put-back after the end stays at the end
    return -1;
  }
  return static_cast<unsigned char>(m_data[m_pos++]);
}

void N_Tokenizer::ReadQuoted(char quote) {
  std::size_t len = 0;
  for (;;) {
    const int c = Read();
    if (c < 0 || c == quote) break;
    if (len == kTokenSize - 1) break;  // the character read at the limit is dropped
    m_token[len++] = static_cast<char>(c);
  }
  m_token[len] = '\0';
}

void N_Tokenizer::ReadPlain() {
  std::size_t len = 0;
  for (;;) {
    const int c = Read();
    if (c < 0) break;
    if (c == ' ' || c == '\t' || c == '\n' || len == kTokenSize - 1) {
      PutBack();  // the delimiter (or the character that did not fit) is seen again
      break;
    }
    m_token[len++] = static_cast<char>(c);
  }
  m_token[len] = '\0';
}

const char* N_Tokenizer::NextToken(bool crossLines) {
  if (!m_hasSource) return nullptr;
  for (;;) {
    const int c = Read();
    if (c < 0) return nullptr;  // the token keeps its previous contents
    if (c == ' ' || c == '\t') continue;
    if (c == '\n') {
      ++m_line;
      if (crossLines) continue;
      m_token[0] = '\0';
      return nullptr;
    }
    m_quoted = c == '"' || c == '\'';
    if (m_quoted) {
      ReadQuoted(static_cast<char>(c));
      return m_token;
    }
    if (c == '/') {
      const int d = Read();
      if (d == '/' || d < 0) {
        // A comment to the end of the line; the newline is left for the loop to count.
        int e;
        while ((e = Read()) >= 0 && e != '\n') {
        }
        if (e == '\n') PutBack();
        continue;
      }
      PutBack();
      PutBack();
    } else {
      PutBack();
    }
    ReadPlain();
    return m_token;
  }
}

double N_Tokenizer::Taken(const ScriptNumber& number) const {
  if (number.fault && g_log) {
    const std::string token = std::string(m_token).substr(0, 64);
    const char* source = m_fileName.empty() ? "(text)" : m_fileName.c_str();
    g_log->Print("!!! %s line %d: '%s' %s, taken as %.10g\n", source, m_line, token.c_str(), number.fault,
                 number.value);
  }
  return number.value;
}

int N_Tokenizer::TokenAsInt() const { return static_cast<int>(Taken(ReadScriptNumber(m_token, true))); }

double N_Tokenizer::TokenAsFloat() const { return Taken(ReadScriptNumber(m_token, false)); }
