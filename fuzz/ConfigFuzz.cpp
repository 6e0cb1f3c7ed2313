// config.cfg and user.cfg: the variable reader over a fresh registry with the built-in
// variables, as the application reads them at start-up; what was read is then saved
// and read back, as the next start does.
#include "core/BuiltinVars.h"
#include "core/ConfigReader.h"
#include "core/Globals.h"
#include "core/VarMng.h"
#include "fuzz/FuzzSupport.h"

namespace {

void LoadIntoFreshRegistry(const char* fileName) {
  N_VarMng vars;
  N_VarMng* const shared = g_varMng;
  g_varMng = &vars;
  RegisterBuiltinVars();
  fuzz::Guarded([&] {
    N_ConfigReader reader;
    reader.LoadSaved(fileName);  // as config.cfg
    reader.Load(fileName);       // as user.cfg
    vars.Save("saved.cfg");
  });
  g_varMng = shared;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::WriteFile("config.cfg", data, size);
  LoadIntoFreshRegistry("config.cfg");
  LoadIntoFreshRegistry("saved.cfg");
  return 0;
}
