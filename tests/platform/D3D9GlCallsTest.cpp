// The GL device counts every GL call it makes (DeviceGlCalls) through the names its
// call header redefines: a GL function called in the device's sources but missing from
// that header would go uncounted, and the benchmark's calls per draw would lie.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

/// Names "glX..." (a capital after "gl") called in the text: followed by "(", not part of
/// a longer name. The window system's glX functions are left out.
std::vector<std::string> GlCallsIn(const std::string& text) {
  std::vector<std::string> names;
  for (std::size_t at = text.find("gl"); at != std::string::npos; at = text.find("gl", at + 2)) {
    if ((at > 0 && IdentifierChar(text[at - 1])) || at + 2 >= text.size()) continue;
    if (!std::isupper(static_cast<unsigned char>(text[at + 2])) || text[at + 2] == 'X') continue;
    std::size_t end = at + 2;
    while (end < text.size() && IdentifierChar(text[end])) ++end;
    std::size_t next = end;
    while (next < text.size() && (text[next] == ' ' || text[next] == '\n')) ++next;
    if (next < text.size() && text[next] == '(') names.push_back(text.substr(at, end - at));
  }
  return names;
}

TEST(D3D9GlCalls, EveryGlFunctionTheDeviceCallsIsCounted) {
  const fs::path root = NAVO_SOURCE_DIR;
  // "#define glName(...) NAVO_COUNTED_GL(glName, __VA_ARGS__)", one line per function.
  std::set<std::string> counted;
  std::istringstream header(ReadText(root / "platform/d3d9/gl/GlCalls.h"));
  for (std::string line; std::getline(header, line);) {
    const std::string define = "#define gl";
    if (line.compare(0, define.size(), define) != 0) continue;
    const std::string name = line.substr(8, line.find('(') - 8);
    EXPECT_NE(line.find("NAVO_COUNTED_GL(" + name + ", __VA_ARGS__)"), std::string::npos)
        << "a name must stand for its own function: " << line;
    counted.insert(name);
  }
  ASSERT_GT(counted.size(), 100u);
  int files = 0;
  for (const char* folder : {"platform/d3d9", "platform/d3dx9"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || name == "GlCalls.h") continue;
      const std::string text = ReadText(entry.path());
      EXPECT_EQ(text.find("#include <epoxy/gl.h>"), std::string::npos)
          << name << ": GL comes through platform/d3d9/gl/GlCalls.h, which counts it";
      ++files;
      for (const std::string& call : GlCallsIn(text)) {
        EXPECT_TRUE(counted.count(call)) << name << " calls " << call << ", which is not counted";
      }
    }
  }
  EXPECT_GT(files, 40);
}

}  // namespace
