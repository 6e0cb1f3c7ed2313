#include "core/ConfigReader.h"

#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/VarMng.h"

#include <string>

void N_ConfigReader::Load(const char* fileName) {
  OpenFile(fileName);
  Parse();
}

void N_ConfigReader::Parse() {
  while (const char* token = NextToken(true)) {
    const std::string name = token;  // the next call overwrites the token buffer
    if (const char* value = NextToken(false)) {
      if (g_varMng) g_varMng->SetString(name.c_str(), value, 0x02);
    } else if (g_errorLog) {
      g_errorLog->Report(12, "variable %s has no parameter!\n", name.c_str());
    }
  }
}
