#pragma once
// Reader of variable files ("config.cfg", "user.cfg", a level's ".cfg"): lines of
// name and value, each pair set through N_VarMng::SetString with flags 0x02.
#include "core/Tokenizer.h"

class N_ConfigReader : public N_Tokenizer {
 public:
  /// Opens and parses one file; a missing file changes nothing. May be called again.
  void Load(const char* fileName);
  /// Parses the open source to its end.
  void Parse();
};
