// The wav files of the sound shaders, through the sound manager's buffer registry: the
// first reference loads the file into an OpenAL buffer, the last one deletes it. A file
// that cannot be loaded is logged and its sound left silent.
#include "fuzz/FuzzSupport.h"
#include "fuzz/SoundSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  N_SoundMng& sound = fuzz::SoundManager();
  fuzz::WriteFile("data\\sounds\\fuzz.wav", data, size);
  if (fuzz::Guarded([&] { sound.RegisterWav("sounds\\fuzz.wav"); })) sound.UnregisterWav("sounds\\fuzz.wav");
  return 0;
}
