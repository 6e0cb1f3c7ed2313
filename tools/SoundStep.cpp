// Step "sounds": the synthesised wavs and the Ogg Vorbis music.
#include "tools/SoundSamples.h"
#include "tools/Step.h"

namespace {

bool WriteSounds(datagen::Output& out) { return tools::WriteSoundSamples(out.Root().string()); }

const datagen::StepRegistrar kSoundStep{{"sounds", "sample sounds and music", &WriteSounds}};

}  // namespace
