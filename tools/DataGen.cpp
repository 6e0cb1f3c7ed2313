// The sample-data writer: run at build time with the game root as its argument,
// writes the generated binary files of the data tree (same bytes on every run).
#include "tools/MaterialTextures.h"
#include "tools/SampleTextures.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: datagen <game root>\n");
    return 2;
  }
  const std::string root = argv[1];
  bool ok = true;
  ok = tools::WriteSampleTextures(root) && ok;
  ok = tools::WriteMaterialTextures(root) && ok;
  if (!ok) std::fprintf(stderr, "datagen: could not write every file below %s\n", root.c_str());
  return ok ? 0 : 1;
}
