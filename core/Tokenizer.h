#pragma once
// The reader under every text script: cuts a source into blank-separated tokens,
// honours "..." and '...' quoting and "//" comments, counts lines, and lets each
// call decide whether a token may be sought on a following line.
//
// Typical use for "name value" lines: NextToken(true) for the name, then
// NextToken(false) for the value, so that a name alone on its line is detected.
#include <cstddef>
#include <string>

struct ScriptNumber;

class N_Tokenizer {
 public:
  static constexpr std::size_t kTokenSize = 1024;  ///< 1023 characters + terminator

  N_Tokenizer() = default;
  virtual ~N_Tokenizer() = default;
  N_Tokenizer(const N_Tokenizer&) = delete;
  N_Tokenizer& operator=(const N_Tokenizer&) = delete;

  /// Opens a file through the file layer (CR before LF is dropped). A file that
  /// cannot be opened is not reported: the first NextToken returns null, and
  /// OpenFault says why when the file is there.
  void OpenFile(const char* name);
  /// Reads a copy of the NUL-terminated text.
  void OpenString(const char* text);
  /// Reads a copy of the first length bytes of the buffer.
  void OpenBuffer(const char* buffer, std::size_t length);

  /// The next token (the tokenizer's own buffer, valid until the next call or open),
  /// or null at the end of the input, or at a line end when crossLines is false
  /// (the token then becomes empty).
  const char* NextToken(bool crossLines);

  /// atoi / atof of the token buffer's current contents (also after a null result).
  /// A number the scripts cannot mean (NaN, beyond kScriptNumberLimit, a fraction read
  /// as a whole number) is said in one log line naming the file and line, and taken as
  /// ReadScriptNumber gives it (Convert.h); a word reads as 0 without a word.
  int TokenAsInt() const;
  double TokenAsFloat() const;

  const char* Token() const { return m_token; }
  /// Whether the last token found was in quotes.
  bool TokenQuoted() const { return m_quoted; }
  /// The current line, 1 after every open.
  int Line() const { return m_line; }
  /// The file name given to OpenFile; empty after OpenString / OpenBuffer.
  const std::string& FileName() const { return m_fileName; }
  bool HasSource() const { return m_hasSource; }
  /// Why the file of the last OpenFile is there but could not be read, as the file
  /// layer says it (its disk path, then the reason); empty when it was read or is missing.
  const std::string& OpenFault() const { return m_openFault; }
  /// The whole text being read (empty when the file could not be read).
  const std::string& Source() const { return m_data; }

 private:
  void Open(std::string text, std::string fileName);
  int Read();  ///< next byte, or -1 at the end
  void PutBack() { --m_pos; }
  void ReadQuoted(char quote);
  void ReadPlain();
  /// The value of a checked number, its fault said in the log.
  double Taken(const ScriptNumber& number) const;

  char m_token[kTokenSize] = {};
  bool m_quoted = false;
  std::string m_data;
  std::size_t m_pos = 0;
  bool m_hasSource = false;
  int m_line = 1;
  std::string m_fileName;
  std::string m_openFault;
};
