#pragma once
// Reader of variable files ("config.cfg", "user.cfg", a level's ".cfg"): lines of
// name and value, each pair set through N_VarMng::SetString with flags 0x02.
//
// Every file is checked as far as its data allows, each fault said in the log naming
// the file: a variable made with a number refuses a value that holds none (a word, an
// empty text), is not a number or lies beyond the scripts' number range; a name of no
// variable yet refuses the last two; a name no variable can have (not a letter or "_"
// followed by letters, digits and "_") is said, and so is a value holding a control
// character (but a line end or a tab). A refused value is not set: the variable keeps
// what it holds. A value that begins with a number ("1024x768") takes that number and
// keeps its text, in every file. The file the game writes is held to its quotes.
#include "core/Tokenizer.h"

#include <string>

class N_ConfigReader : public N_Tokenizer {
 public:
  /// Opens and parses one file; a missing file changes nothing. May be called again.
  void Load(const char* fileName);
  /// As Load, for the settings file the game writes itself ("config.cfg"): every name
  /// must be a setting of the game, every value in quotes and the file must end with
  /// its line end, or it is said (a missing or empty file is a first start).
  void LoadSaved(const char* fileName);
  /// As Load, for a file the game ships and writes nothing into (a level's settings):
  /// a missing or empty file, one cut short (no line end at its end), names of no
  /// variable of the game and values that are no usable number are said in the log,
  /// naming the file; such a value is not set (the variable keeps what it holds).
  void LoadChecked(const char* fileName);
  /// Parses the open source to its end.
  void Parse();

 private:
  /// Whether the pair may be set; a faulty value is said and refused.
  bool Accepts(const std::string& name, const char* value);
  /// Counts a name that is no setting (of the game, or of any kind).
  void NoteName(const std::string& name);
  /// Says the names counted, in one line.
  void ReportNames(const char* fileName);

  /// How the file was made: by hand, by the game (config.cfg) or shipped with it (a level's).
  enum class Kind { Written, Saved, Shipped };

  Kind m_kind = Kind::Written;
  int m_unknown = 0;           ///< names of no variable, in a checked file
  std::string m_firstUnknown;  ///< the first of them, with its line
};
