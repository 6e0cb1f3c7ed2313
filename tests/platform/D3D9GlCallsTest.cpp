// The GL device counts every GL call it makes (DeviceGlCalls) through the names its
// call header redefines: a GL function called in the device's sources but missing from
// that header would go uncounted, and the benchmark's calls per draw would lie.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(D3D9GlCalls, EveryGlFunctionTheDeviceCallsIsCounted) {
  const fs::path root = NAVO_SOURCE_DIR;
  const std::string header = ReadText(root / "platform/d3d9/gl/GlCalls.h");
  std::set<std::string> counted;
  const std::regex define(R"(#define (gl[A-Z]\w*)\(\.\.\.\) NAVO_COUNTED_GL\((\w+), __VA_ARGS__\))");
  for (auto it = std::sregex_iterator(header.begin(), header.end(), define); it != std::sregex_iterator(); ++it) {
    EXPECT_EQ((*it)[1], (*it)[2]) << "a name must stand for its own function";
    counted.insert((*it)[1]);
  }
  ASSERT_GT(counted.size(), 100u);
  // GL functions (not the window system's glX ones) called in the device's sources.
  const std::regex call(R"(\b(gl(?!X)[A-Z]\w*)\s*\()");
  int files = 0;
  for (const char* folder : {"platform/d3d9", "platform/d3dx9"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || name == "GlCalls.h") continue;
      const std::string text = ReadText(entry.path());
      EXPECT_EQ(text.find("#include <epoxy/gl.h>"), std::string::npos)
          << name << ": GL comes through platform/d3d9/gl/GlCalls.h, which counts it";
      ++files;
      for (auto it = std::sregex_iterator(text.begin(), text.end(), call); it != std::sregex_iterator(); ++it) {
        EXPECT_TRUE(counted.count((*it)[1])) << name << " calls " << (*it)[1] << ", which is not counted";
      }
    }
  }
  EXPECT_GT(files, 40);
}

}  // namespace
