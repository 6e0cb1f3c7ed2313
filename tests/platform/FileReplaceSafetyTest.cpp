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

    // One whole version: every byte the same, and all of them there.
    const std::string now = dir.Read("data/tables/profile1.dat");
    ASSERT_EQ(now.size(), kBytes) << "kill " << kill;
    ASSERT_EQ(now.find_first_not_of(now[0]), std::string::npos) << "kill " << kill << ": a mixed file";
    changed += now != before;
    before = now;
    const std::size_t names = Names(folder).size();
    ASSERT_LE(names, 2u) << "kill " << kill << ": temporary files pile up";
    killedInsideASave += names == 2;
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
  // Readable by all, writable only by its owner; root writes anywhere, so the save
  // runs as another user in a child.
  for (const std::string& f : {dir.Path(), dir.Path() + "/data"}) ::chmod(f.c_str(), 0755);
  ::chmod(folder.c_str(), 0555);
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(3);
    platform::SetDebugOutputHook([&](const std::string& text) { (void)!::write(out[1], text.data(), text.size()); });
    ::_exit(platform::ReplaceWholeFile("data\\tables\\arcade.hs", "new table") ? 1 : 0);
  }
  ::close(out[1]);
  std::string said(512, '\0');
  said.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(out[0], said.data(), said.size()))));
  ::close(out[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::chmod(folder.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "3: cannot run as another user; 1: the save reported success";
  EXPECT_EQ(dir.Read("data/tables/arcade.hs"), "old table");
  EXPECT_NE(said.find("arcade.hs: Permission denied"), std::string::npos) << said;
  EXPECT_EQ(Names(folder), std::vector<std::string>{"arcade.hs"});
}

}  // namespace
