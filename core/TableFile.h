#pragma once
// Reader of whitespace-separated text tables with "//" comments (the AI tables).
// The file is read whole, comments are stripped, then fields are handed out one by
// one; callers read until the first empty field. Linear in the file's size: one
// stripping pass, and fields are read at a moving position, never erased from the front.
#include <string>

class N_TableFile {
 public:
  N_TableFile() = default;
  ~N_TableFile() { Close(); }

  /// Reads the file (through the file layer); false when it cannot be opened.
  bool Open(const std::string& fileName);
  /// The next field, or the empty text at the end.
  const std::string& NextField();
  void Close();

  /// Newlines passed while skipping separators after fields.
  int Line() const { return m_line; }
  const std::string& FileName() const { return m_fileName; }

 private:
  static std::string StripComments(const std::string& text);

  std::string m_field;
  std::string m_fileName;
  std::string m_rest;          ///< the stripped text; fields not yet handed out start at m_position
  std::size_t m_position = 0;
  int m_line = 0;
};
