// The intro video of the sample data is the same bytes every build.
#include "tools/VideoWriter.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(VideoWriter, IntroIsTheSameBytesAsTheBuildWrote) {
  test::TempDir dir;
  ASSERT_TRUE(tools::WriteIntroVideo(dir.Path() + "/intro.avi"));
  const std::string written = dir.Read("intro.avi");
  EXPECT_EQ(written.rfind("RIFF", 0), 0u);
  // Another process (the sample-data writer of the build) made the game root's copy.
  EXPECT_TRUE(written == ReadBytes(test::GameRoot() + "/data/video/intro.avi")) << "the writer is not deterministic";
}

}  // namespace
