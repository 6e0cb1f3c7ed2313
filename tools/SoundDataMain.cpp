// Writes the sample sounds into the game root given as the only argument.
#include "tools/SoundSamples.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sounddata <game root>\n");
    return 2;
  }
  if (!tools::WriteSoundSamples(argv[1])) {
    std::fprintf(stderr, "sounddata: a sample sound could not be written below %s\n", argv[1]);
    return 1;
  }
  return 0;
}
