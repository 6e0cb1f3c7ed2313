// The sound shader scripts (".ssd"): every script of the folder read as the sound
// manager does when it starts, then the shaders looked up by name.
#include "fuzz/FuzzSupport.h"
#include "sound/SoundMng.h"
#include "sound/SoundShaderList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::WriteFile("data\\scripts\\Sounds\\fuzz.ssd", data, size);
  N_SoundShaderList shaders;
  shaders.LoadAll(N_SoundMng::kShaderMask);
  std::size_t wavs = 0;
  for (const char* name : {"", "fuzz", "shot"}) {
    if (const N_SoundShader* shader = shaders.FindShader(name)) wavs += shader->wavNames.size();
  }
  (void)wavs;
  return 0;
}
