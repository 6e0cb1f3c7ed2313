// The game's entry point.
#include "core/BuiltinVars.h"
#include "core/ConfigReader.h"
#include "core/ErrorLog.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "core/VarMng.h"

int main() {
  N_Log log("navo.log");
  g_log = &log;
  N_ErrorLog errorLog(&log);
  g_errorLog = &errorLog;
  N_VarMng vars;
  g_varMng = &vars;
  RegisterBuiltinVars();
  log.Print("\n--- Reading config file\n");
  N_ConfigReader reader;
  reader.Load("config.cfg");
  reader.Load("user.cfg");
  vars.Dump();
  vars.Save("config.cfg");
  g_varMng = nullptr;
  g_errorLog = nullptr;
  g_log = nullptr;
  return 1;
}
