#pragma once
// The sound manager of the sound targets: made once per process through the factory,
// as the application does, on OpenAL's null output.
#include "sound/SoundMng.h"

namespace fuzz {

N_SoundMng& SoundManager();

}  // namespace fuzz
