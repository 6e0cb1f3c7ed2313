#include "platform/win32.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Files, ResolvesBackslashesAndCasePerComponent) {
  test::TempDir dir;
  dir.Write("data/ai/Anims.time", "x");
  EXPECT_EQ(platform::ResolvePath("Data\\Ai\\anims.TIME"), "data/ai/Anims.time");
  EXPECT_EQ(platform::ResolvePath(dir.Path() + "\\DATA\\ai"), dir.Path() + "/data/ai");
  // Missing parts keep the name as given (new files are created that way).
  EXPECT_EQ(platform::ResolvePath("data\\New\\File.txt"), "data/New/File.txt");
  EXPECT_EQ(platform::ResolvePath("DATA\\ai\\.\\x"), "data/ai/./x");
  std::FILE* f = platform::OpenFile("DATA\\AI\\ANIMS.TIME", "rt");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  std::string text;
  EXPECT_TRUE(platform::ReadWholeFile("data\\AI\\anims.time", text));
  EXPECT_EQ(text, "x");
  EXPECT_FALSE(platform::ReadWholeFile("data\\none", text));
  EXPECT_TRUE(platform::MakeDirectories("Data\\Screenshots\\deep"));
  EXPECT_TRUE(dir.Exists("data/Screenshots/deep"));
}

TEST(Files, ExactNameWinsOverOtherCases) {
  test::TempDir dir;
  dir.Write("x/Name.txt", "upper");
  dir.Write("x/name.txt", "lower");
  EXPECT_EQ(platform::ResolvePath("x\\name.txt"), "x/name.txt");
  EXPECT_EQ(platform::ResolvePath("x\\NAME.txt"), "x/Name.txt");  // first in sorted order
}

TEST(Files, WildcardsFollowWindowsRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  for (const Case& c : std::vector<Case>{{"*.*", "noext", true},
                                         {"*.shader", "A.SHADER", true},
                                         {"*.shader", "a.shader.bak", false},
                                         {"*.string*", "a.string.bak", true},
                                         {"a?c", "abc", true},
                                         {"a?c", "ac", false},
                                         {"*.all", "x.al", false},
                                         {"x.*", "x", true},
                                         {"*", ".hidden", true}}) {
    EXPECT_EQ(platform::WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
  }
}

TEST(Files, FindFirstEnumeratesSorted) {
  test::TempDir dir;
  dir.Write("S/b.ssd", "12345");
  dir.Write("S/a.ssd", "");
  dir.Write("S/sub/x", "");
  _finddata_t fd;
  const std::intptr_t h = _findfirst("s\\*.*", &fd);
  ASSERT_NE(h, -1);
  std::vector<std::string> names{fd.name};
  while (_findnext(h, &fd) == 0) names.push_back(fd.name + (fd.attrib & _A_SUBDIR ? "/" : ""));
  EXPECT_EQ(_findclose(h), 0);
  EXPECT_EQ(names, (std::vector<std::string>{".", "../", "a.ssd", "b.ssd", "sub/"}));
  EXPECT_EQ(_findfirst("s\\*.none", &fd), -1);
  EXPECT_EQ(_findfirst("nowhere\\*.*", &fd), -1);
  EXPECT_EQ(_findnext(12345, &fd), -1);
  EXPECT_EQ(_findclose(12345), -1);
}

}  // namespace
