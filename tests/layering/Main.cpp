// layer_check ROOT: checks every include of the layer folders below ROOT against the
// game's layer table; prints "file:line: ..." for each include that goes up or sideways
// and ends with status 1 then, or when it found no file to read.
#include <cstdio>

#include "tests/layering/GameLayers.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: layer_check ROOT\n");
    return 2;
  }
  const layering::Report report = layering::Check(argv[1], layering::GameLayers());
  for (const layering::Violation& violation : report.violations) {
    std::printf("%s\n", layering::Format(violation).c_str());
  }
  std::printf("layer_check: %d files, %d includes of layer folders, %zu violations\n", report.files, report.includes,
              report.violations.size());
  if (report.files == 0) {
    std::printf("layer_check: no source file found below %s\n", argv[1]);
    return 1;
  }
  return report.violations.empty() ? 0 : 1;
}
