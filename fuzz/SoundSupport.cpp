#include "fuzz/SoundSupport.h"

#include "core/CoreServices.h"
#include "core/Globals.h"
#include "fuzz/FuzzSupport.h"

namespace fuzz {

N_SoundMng& SoundManager() {
  static N_SoundMng* const manager = [] {
    static N_CoreServices services;
    services.errorLog = g_errorLog;
    services.log = g_log;
    services.varMng = g_varMng;
    N_SoundMng* made = nullptr;
    CreateSoundMng(&made, &services);
    Check(made && made->HasDevice(), "OpenAL's null output did not open");
    return made;
  }();
  return *manager;
}

}  // namespace fuzz
