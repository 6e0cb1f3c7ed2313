// Writes the sample intro video: videogen <output path>.
#include "tools/VideoWriter.h"

#include <filesystem>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path out(argv[1]);
  std::error_code ec;
  std::filesystem::create_directories(out.parent_path(), ec);
  return tools::WriteIntroVideo(out.string()) ? 0 : 1;
}
