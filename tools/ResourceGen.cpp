// resgen: writes the C++ source of the program's resources, the splash picture as a
// byte array that registers itself under its resource identifier at start-up.
//   resgen <output .cpp>
#include "tools/TexturePictures.h"

#include <cstdio>
#include <fstream>
#include <sstream>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: resgen <output .cpp>\n");
    return 2;
  }
  const auto splash = datagen::SplashDds();
  std::ostringstream src;
  src << "// Generated at build time by tools/ResourceGen.cpp: the program's resources.\n"
      << "#include \"platform/win32/Resources.h\"\n\nnamespace {\n\n"
      << "const unsigned char kSplash[" << splash.size() << "] = {";
  for (std::size_t i = 0; i < splash.size(); ++i) {
    if (i % 24 == 0) src << "\n ";
    src << ' ' << static_cast<unsigned>(splash[i]) << ',';
  }
  src << "\n};\n\nconst platform::ResourceRegistration kSplashResource(kResourceTypeRcData, "
      << datagen::kSplashResourceId << ", kSplash, sizeof kSplash);\n\n}  // namespace\n";
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << src.str();
  return out ? 0 : 1;
}
