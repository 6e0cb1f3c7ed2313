// Step "video": the intro video.
#include "tools/Step.h"
#include "tools/VideoWriter.h"

#include <filesystem>

namespace {

bool WriteVideo(datagen::Output& out) {
  const std::filesystem::path path = out.Root() / "data" / "video" / "intro.avi";
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  return tools::WriteIntroVideo(path.string());
}

const datagen::StepRegistrar kVideoStep{{"video", "the intro video", &WriteVideo}};

}  // namespace
