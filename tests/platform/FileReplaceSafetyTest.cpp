// The whole-file replace under a kill, through the path resolver, and into a folder
// that cannot be written.
#include "platform/win32.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

/// The names in a folder, sorted.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::size_t DotFiles(const std::string& folder) {
  const auto names = Names(folder);
  return static_cast<std::size_t>(std::count_if(names.begin(), names.end(), [](const std::string& n) {
    return n[0] == '.';
  }));
}

/// True when the text is `size` copies of one byte.
bool Uniform(const std::string& text, std::size_t size) {
  return text.size() == size && std::all_of(text.begin(), text.end(), [&](char c) { return c == text[0]; });
}

TEST(FileReplaceSafety, AKilledSaveLeavesTheOldFileOrTheNewOneWhole) {
  constexpr std::size_t kBytes = 217200;  // a career profile's size
  constexpr int kKills = 200;
  test::TempDir dir;
  const std::string folder = dir.Path() + "/data/tables";
  dir.Write("data/tables/profile1.dat", std::string(kBytes, 'a'));
  std::vector<std::string> versions;  // made before the forks: the children only write
  for (char c = 'b'; c <= 'z'; ++c) versions.emplace_back(kBytes, c);

  std::mt19937 random(38);
  std::uniform_int_distribution<int> delayMicroseconds(0, 30000);
  int killedInsideASave = 0;
  int changed = 0;
  std::string before = dir.Read("data/tables/profile1.dat");
  for (int kill = 0; kill < kKills; ++kill) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (std::size_t v = static_cast<std::size_t>(kill);; ++v) {
        (void)platform::ReplaceWholeFile("DATA\\Tables\\profile1.dat", versions[v % versions.size()]);
      }
    }
    ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "kill " << kill;

    const std::string now = dir.Read("data/tables/profile1.dat");
    ASSERT_TRUE(Uniform(now, kBytes)) << "kill " << kill << ": " << now.size() << " bytes, not one whole version";
    changed += now != before;
    before = now;
    const std::size_t leftovers = DotFiles(folder);
    ASSERT_LE(leftovers, 1u) << "kill " << kill << ": temporary files pile up";
    killedInsideASave += leftovers == 1;
  }
  // The kills really landed inside saves and between them.
  EXPECT_GT(killedInsideASave, 0);
  EXPECT_GT(changed, 0);

  ASSERT_TRUE(platform::ReplaceWholeFile("data\\tables\\profile1.dat", versions[0]));
  EXPECT_EQ(dir.Read("data/tables/profile1.dat"), versions[0]);
  EXPECT_EQ(Names(folder), std::vector<std::string>{"profile1.dat"});
}

TEST(FileReplaceSafety, ReplacesTheFileOnDiskWhateverTheCaseOfItsPath) {
  test::TempDir dir;
  dir.Write("Data/Tables/Arcade.hs", "old table");
  std::string why;
  ASSERT_TRUE(platform::ReplaceWholeFile("data\\tables\\arcade.hs", "new table", &why)) << why;
  for (const char* spelling : {"data\\tables\\arcade.hs", "Data/Tables/Arcade.hs", "DATA/TABLES/ARCADE.HS"}) {
    std::string text;
    EXPECT_TRUE(platform::ReadWholeFile(spelling, text)) << spelling;
    EXPECT_EQ(text, "new table") << spelling;
  }
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"Data"});
  EXPECT_EQ(Names(dir.Path() + "/Data/Tables"), std::vector<std::string>{"Arcade.hs"});
}

TEST(FileReplaceSafety, AFolderThatCannotBeWrittenKeepsTheOldFileAndSaysSo) {
  test::TempDir dir;
  dir.Write("data/tables/arcade.hs", "old table");
  const std::string folder = dir.Path() + "/data/tables";
  // Readable by everyone, writable by nobody but its owner (root writes anywhere, so
  // the save runs as another user then).
  ::chmod(dir.Path().c_str(), 0755);
  ::chmod((dir.Path() + "/data").c_str(), 0755);
  ::chmod(folder.c_str(), 0555);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeFds[0]);
    if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(3);
    const int out = pipeFds[1];
    platform::SetDebugOutputHook([out](const std::string& text) {
      (void)!::write(out, text.data(), text.size());
    });
    const bool saved = platform::ReplaceWholeFile("data\\tables\\arcade.hs", "new table");
    ::_exit(saved ? 1 : 0);
  }
  ::close(pipeFds[1]);
  std::string said;
  char buffer[256];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) said.append(buffer, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::chmod(folder.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_NE(WEXITSTATUS(status), 3) << "cannot run the save as another user";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reported success";
  EXPECT_EQ(dir.Read("data/tables/arcade.hs"), "old table");
  EXPECT_NE(said.find("arcade.hs"), std::string::npos) << said;
  EXPECT_NE(said.find("Permission denied"), std::string::npos) << said;
  EXPECT_EQ(Names(folder), std::vector<std::string>{"arcade.hs"});
}

}  // namespace
