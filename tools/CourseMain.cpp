// coursegen: writes one course of a sample layout into a game root.
//   coursegen <game root> <name> <layout> [fog]
// gives "data/levels/<name>.alf" (or "fog_<name>.alf"), its ".cfg" and its lightmap;
// a course that breaks the race's rules is not written (the faults go to stderr).
#include "tools/Course.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5 || (argc == 5 && std::strcmp(argv[4], "fog") != 0)) {
    std::fprintf(stderr, "usage: coursegen <game root> <name> <layout> [fog]\nlayouts:");
    for (const course::Layout& layout : course::Layouts()) std::fprintf(stderr, " %s", layout.name.c_str());
    for (const course::Layout& layout : course::VariantLayouts()) std::fprintf(stderr, " %s", layout.name.c_str());
    std::fprintf(stderr, " %s", course::RunningLayout().name.c_str());
    std::fprintf(stderr, "\n");
    return 2;
  }
  const course::Layout* layout = course::FindLayout(argv[3]);
  if (!layout) {
    std::fprintf(stderr, "coursegen: no layout '%s'\n", argv[3]);
    return 2;
  }
  datagen::Output out(argv[1]);
  return course::WriteCourse(out, course::BuildCourse(*layout), argv[2], argc == 5) ? 0 : 1;
}
