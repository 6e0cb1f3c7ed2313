// datagen: writes the generated sample data of the game root.
//   datagen <game root>            every step
//   datagen <game root> <step>...  only the named steps
//   datagen --list                 the steps
#include "tools/Step.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

int Usage() {
  std::fprintf(stderr, "usage: datagen <game root> [step...] | datagen --list\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<datagen::Step> steps = datagen::Steps();
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const datagen::Step& step : steps) std::printf("%-12s %s\n", step.name, step.description);
    return 0;
  }
  if (argc < 2) return Usage();
  datagen::Output out(argv[1]);
  for (int i = 2; i < argc; ++i) {
    const bool known = std::any_of(steps.begin(), steps.end(),
                                   [&](const datagen::Step& s) { return std::string_view(s.name) == argv[i]; });
    if (!known) {
      std::fprintf(stderr, "datagen: no step '%s'\n", argv[i]);
      return Usage();
    }
  }
  bool ok = true;
  for (const datagen::Step& step : steps) {
    bool wanted = argc == 2;
    for (int i = 2; i < argc; ++i) wanted = wanted || std::string_view(step.name) == argv[i];
    if (!wanted) continue;
    if (!step.run(out)) {
      std::fprintf(stderr, "datagen: step '%s' failed\n", step.name);
      ok = false;
    }
  }
  std::printf("datagen: %d files in %s\n", out.FileCount(), out.Root().c_str());
  return ok ? 0 : 1;
}
