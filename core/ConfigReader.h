#pragma once
// Reader of variable files ("config.cfg", "user.cfg", a level's ".cfg"): lines of
// name and value, each pair set through N_VarMng::SetString with flags 0x02.
#include "core/Tokenizer.h"

#include <string>

class N_ConfigReader : public N_Tokenizer {
 public:
  /// Opens and parses one file; a missing file changes nothing. May be called again.
  void Load(const char* fileName);
  /// As Load, for a file the game ships and writes nothing into (a level's settings):
  /// a missing or empty file, one cut short (no line end at its end), names of no
  /// variable of the game and values that are no usable number are said in the log,
  /// naming the file; such a value is not set (the variable keeps what it holds).
  void LoadChecked(const char* fileName);
  /// Parses the open source to its end.
  void Parse();

 private:
  /// Whether the pair may be set; in a checked file a faulty number is refused.
  bool Accepts(const std::string& name, const char* value);

  bool m_checked = false;
  int m_unknown = 0;         ///< names of no variable, in a checked file
  std::string m_firstUnknown;  ///< the first of them, with its line
};
