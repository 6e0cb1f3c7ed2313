#pragma once
// The language string tables: every text the player sees, looked up by key
// ("#str316"). Only the blocks of the selected language are kept; the first
// definition of a key wins; a missing key yields "" and is remembered as "".
#include <map>
#include <string>
#include <utility>
#include <vector>

class N_StringTable {
 public:
  /// Sets the language used by the following reads (compared without regard to case).
  void SetLanguage(const char* name);
  /// Reads every ".string" file of the mask (below "data"), e.g. "scripts\strings\*.string";
  /// no file, or no block of the language in any, is one line in the log. When the files
  /// hold no block of the language, the language of most of their blocks is read instead
  /// and becomes the table's Language().
  void ReadDir(const char* mask);
  /// Inserts the pair unless the key exists already.
  void Add(const std::string& key, const std::string& text);
  void Remove(const std::string& key);
  /// The key's text; a missing key is inserted with an empty text (and, once tables
  /// of the language were read, logged the first time).
  const std::string& Find(const std::string& key);
  /// Writes "key = 'text'" lines in key order; nothing when the file cannot be opened.
  void Dump(const char* fileName) const;
  /// Reads one string file into the table. A file that cannot be read, holds no
  /// language block, ends inside a block or has keys without a text gets a line in the
  /// log naming it; what it holds is kept.
  void ParseFile(const std::string& path);

  const std::string& Language() const { return m_language; }
  std::size_t Size() const { return m_strings.size(); }

 private:
  [[gnu::format(printf, 1, 2)]] static void Warn(const char* format, ...);
  /// Parses the ".string" files of the mask; their count.
  int ReadFiles(const std::string& mask);
  void CountLanguage(const char* name);

  std::string m_language;
  std::string m_readFrom;  ///< the mask of the last ReadDir that found the language; empty else
  int m_languageBlocks = 0;  ///< blocks of the language read since the last ReadFiles began
  /// The languages of the blocks the last ReadDir met (the first spelling) and their counts.
  std::vector<std::pair<std::string, int>> m_languagesRead;
  bool m_repeatedRead = false;  ///< the files are read a second time: their faults are not said again
  std::map<std::string, std::string> m_strings;
};
