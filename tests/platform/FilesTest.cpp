#include "platform/win32.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
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

TEST(Files, EnumerationIgnoresCaseThenComparesBytes) {
  // Windows lists a folder by the upper-case form of each name ('_' after the letters);
  // names equal but for case follow their bytes.
  test::TempDir dir;
  for (const char* name : {"b", "B2", "C", "a", "B", "a_b", "aB", "1"}) dir.Write(std::string("s/") + name, "");
  _finddata_t fd;
  const std::intptr_t h = _findfirst("s\\?*", &fd);
  ASSERT_NE(h, -1);
  std::vector<std::string> names;
  do {
    if (fd.name != "." && fd.name != "..") names.push_back(fd.name);
  } while (_findnext(h, &fd) == 0);
  _findclose(h);
  EXPECT_EQ(names, (std::vector<std::string>{"1", "a", "aB", "a_b", "B", "b", "B2", "C"}));
}

/// Collects the file layer's refusal lines for one test.
class RefusalLines {
 public:
  RefusalLines() {
    platform::SetFileRefusalHook([this](const std::string& line) { lines.push_back(line); });
  }
  ~RefusalLines() { platform::SetFileRefusalHook({}); }
  std::vector<std::string> lines;
};

TEST(Files, ReadsOnlyRegularFilesOfBoundedSize) {
  test::TempDir dir;
  dir.Write("plain.cfg", "a 1\n");
  ASSERT_EQ(::mkfifo((dir.Path() + "/fifo.cfg").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.Path() + "/zero.cfg");
  std::filesystem::create_directory(dir.Path() + "/folder.cfg");
  {
    // Sparse: one byte more than the cap, without using the disk.
    std::FILE* big = std::fopen((dir.Path() + "/big.cfg").c_str(), "wb");
    ASSERT_NE(big, nullptr);
    ASSERT_EQ(::ftruncate(::fileno(big), static_cast<off_t>(platform::kMaxWholeFileBytes + 1)), 0);
    std::fclose(big);
  }
  struct Case {
    const char* name;
    bool read;
    const char* refusal;  ///< part of the refusal line; null: silent
  };
  for (const Case& c : {Case{"plain.cfg", true, nullptr}, Case{"missing.cfg", false, nullptr},
                        Case{"fifo.cfg", false, "is not a regular file"}, Case{"zero.cfg", false, "is not a regular file"},
                        Case{"folder.cfg", false, "is not a regular file"}, Case{"big.cfg", false, "is larger than 256 MiB"}}) {
    RefusalLines refusals;
    std::string text = "stale", why = "stale";
    EXPECT_EQ(platform::ReadWholeFile(c.name, text, &why), c.read) << c.name;
    EXPECT_EQ(text, c.read ? "a 1\n" : "") << c.name;
    // Only a missing file (or one read whole) says nothing: the others are there.
    EXPECT_EQ(why.empty(), c.read || std::string(c.name) == "missing.cfg") << c.name << ": " << why;
    // Opening for reading refuses the same kinds (a FIFO would wait for a writer).
    std::FILE* f = platform::OpenFile(c.name, "rb");
    EXPECT_EQ(f != nullptr, c.read || std::string(c.name) == "big.cfg") << c.name;
    if (f) std::fclose(f);
    if (!c.refusal) {
      EXPECT_TRUE(refusals.lines.empty()) << c.name;
      continue;
    }
    ASSERT_FALSE(refusals.lines.empty()) << c.name;
    EXPECT_NE(refusals.lines[0].find(c.name), std::string::npos) << refusals.lines[0];
    EXPECT_NE(refusals.lines[0].find(c.refusal), std::string::npos) << refusals.lines[0];
  }
}

/// Temporary files the replace may have left in a folder.
std::vector<std::string> Leftovers(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    if (e.path().filename().string()[0] == '.') names.push_back(e.path().filename().string());
  }
  return names;
}

TEST(FileReplace, ReplacesWholeOrLeavesTheOldFileAndSaysWhy) {
  test::TempDir dir;
  const std::string big(300 * 1024, 'n');  // several chunks: a later write can fail
  struct Case {
    const char* what;
    platform::ReplaceStep failing;
    int failAtCall;  ///< the hook's call (from 1) that fails for that step; 0: none
    const char* why;
  };
  for (const Case& c : {Case{"success", platform::ReplaceStep::Open, 0, ""},
                        Case{"refused open", platform::ReplaceStep::Open, 1, "cannot create a temporary file"},
                        Case{"first write", platform::ReplaceStep::Write, 1, "No space left on device"},
                        Case{"third write", platform::ReplaceStep::Write, 3, "No space left on device"},
                        Case{"close", platform::ReplaceStep::Close, 1, "cannot write"}}) {
    dir.Write("Data/Tables/x.dat", "old contents");
    ::chmod((dir.Path() + "/Data/Tables/x.dat").c_str(), 0640);
    int calls = 0;
    platform::SetReplaceFailureHook([&](platform::ReplaceStep step) {
      return step == c.failing && ++calls == c.failAtCall;
    });
    std::string why;
    const bool saved = platform::ReplaceWholeFile("data\\TABLES\\x.dat", big, &why);
    platform::SetReplaceFailureHook({});
    EXPECT_EQ(saved, c.failAtCall == 0) << c.what;
    EXPECT_EQ(dir.Read("Data/Tables/x.dat"), saved ? big : "old contents") << c.what;
    EXPECT_NE(why.find(c.why), std::string::npos) << c.what << ": " << why;
    if (!saved) {
      EXPECT_NE(why.find("Data/Tables/x.dat"), std::string::npos) << why;
    }
    EXPECT_TRUE(Leftovers(dir.Path() + "/Data/Tables").empty()) << c.what;
    EXPECT_EQ(std::filesystem::status(dir.Path() + "/Data/Tables/x.dat").permissions(),
              std::filesystem::perms(0640)) << c.what << ": the old file's permissions stay";
  }
}

TEST(FileReplace, FollowsLinksAndNeverReplacesWhatIsNoRegularFile) {
  test::TempDir dir;
  dir.Write("real/settings.cfg", "old");
  std::filesystem::create_symlink(dir.Path() + "/real/settings.cfg", dir.Path() + "/linked.cfg");
  std::filesystem::create_symlink("/dev/full", dir.Path() + "/full.cfg");
  std::filesystem::create_directory(dir.Path() + "/folder.cfg");
  std::string why;
  // A link stays a link; its target gets the new contents.
  EXPECT_TRUE(platform::ReplaceWholeFile("linked.cfg", "new", &why)) << why;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() + "/linked.cfg"));
  EXPECT_EQ(dir.Read("real/settings.cfg"), "new");
  // A device or a folder is refused, and stays what it was.
  for (const char* name : {"full.cfg", "folder.cfg"}) {
    why.clear();
    EXPECT_FALSE(platform::ReplaceWholeFile(name, "new", &why)) << name;
    EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
  }
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() + "/folder.cfg"));
  // A folder that does not exist: nothing to write into.
  EXPECT_FALSE(platform::ReplaceWholeFile("no\\such\\x.cfg", "new", &why));
  EXPECT_TRUE(Leftovers(dir.Path()).empty());
}

TEST(FileReplace, SetsAreSavedWholeOrNotAtAll) {
  test::TempDir dir;
  dir.Write("t/a", "old a");
  dir.Write("t/b", "old b");
  const std::vector<platform::WholeFile> set{
      {"t\\A", std::string(200 * 1024, 'a')}, {"t\\b", "new b"}, {"t\\c", "new c"}};
  // A failure at any step of any file leaves every old file and nothing else.
  for (const auto failing : {platform::ReplaceStep::Open, platform::ReplaceStep::Write, platform::ReplaceStep::Close}) {
    for (int at = 1; at <= 4; ++at) {
      int calls = 0;
      platform::SetReplaceFailureHook([&](platform::ReplaceStep step) { return step == failing && ++calls == at; });
      std::string why;
      EXPECT_FALSE(platform::ReplaceFilesTogether("t\\.set", set, &why)) << int(failing) << " " << at;
      platform::SetReplaceFailureHook({});
      EXPECT_FALSE(why.empty());
      EXPECT_EQ(dir.Read("t/a") + dir.Read("t/b"), "old aold b");
      EXPECT_FALSE(dir.Exists("t/c"));
      EXPECT_TRUE(Leftovers(dir.Path() + "/t").empty()) << int(failing) << " " << at;
    }
  }
  // A set cut short once its journal is written (its staged files in place, the first
  // target already renamed) is finished by the next load, its line ends LF or CR LF.
  std::filesystem::remove(dir.Path() + "/t/a");
  dir.Write("t/a", "new a");
  dir.Write("t/.b.together", "new b");
  dir.Write("t/.set", "t/a\r\nt/b\r\nend 2\r\n");
  EXPECT_TRUE(platform::FinishFilesTogether("t\\.set"));
  EXPECT_EQ(dir.Read("t/a") + dir.Read("t/b"), "new anew b");
  EXPECT_TRUE(Leftovers(dir.Path() + "/t").empty());
  EXPECT_TRUE(platform::ReplaceFilesTogether("t\\.set", set));
  EXPECT_EQ(dir.Read("t/b") + dir.Read("t/c"), "new bnew c");
  EXPECT_EQ(dir.Read("t/a").size(), 200u * 1024);
}

/// The set's journal finished in the folder `root` (made the current one); the file
/// layer's refusal lines, then the reason of a failure.
std::vector<std::string> FinishIn(const test::TempDir& dir, const std::string& root) {
  RefusalLines said;
  std::filesystem::current_path(dir.Path() + "/" + root);
  std::string why;
  if (!platform::FinishFilesTogether("data\\tables\\.set", &why)) said.lines.push_back(why);
  std::filesystem::current_path(dir.Path());
  return said.lines;
}

// A journal held the absolute paths of its files: a copied game root finished its
// interrupted set into the original root's files, a moved one dropped it, and a
// journal naming any path replaced that file. Its lines name files of its own folder
// now; a line naming anything else is refused and said, a journal that is a folder too.
TEST(FileReplace, AJournalFinishesItsOwnFolderWhereverTheRootWent) {
  test::TempDir dir;
  // A set cut short after its journal: "a" in place, "b" staged.
  dir.Write("first/data/tables/b", "old b");
  std::filesystem::current_path(dir.Path() + "/first");
  int renames = 0;
  using platform::ReplaceStep;
  platform::SetReplaceFailureHook([&](ReplaceStep step) { return step == ReplaceStep::Rename && ++renames > 2; });
  const std::vector<platform::WholeFile> set{{"data\\tables\\a", "a"}, {"data\\tables\\b", "b"}};
  EXPECT_FALSE(platform::ReplaceFilesTogether("data\\tables\\.set", set));
  platform::SetReplaceFailureHook({});
  std::filesystem::current_path(dir.Path());
  EXPECT_EQ(dir.Read("first/data/tables/.set"), "a\nb\nend 2\n");
  std::filesystem::copy(dir.Path() + "/first", dir.Path() + "/copy", std::filesystem::copy_options::recursive);
  EXPECT_TRUE(FinishIn(dir, "copy").empty());
  EXPECT_EQ(dir.Read("copy/data/tables/b") + dir.Read("first/data/tables/b"), "bold b") << "the original left alone";
  std::filesystem::rename(dir.Path() + "/first", dir.Path() + "/moved");
  EXPECT_TRUE(FinishIn(dir, "moved").empty());
  EXPECT_EQ(dir.Read("moved/data/tables/b"), "b");
  EXPECT_TRUE(Leftovers(dir.Path() + "/moved/data/tables").empty());

  // A set with a line or staged file refused is left whole, journal and staged files,
  // and said: finishing the rest mixed old files and new. Refused: a path outside, one
  // that climbs out, a link out of the folder (followed, it replaced a file outside), a
  // staged folder, garbage naming no file there (it was said and skipped), a journal
  // cut short (it was finished as far as it went).
  dir.Write("outside/x", "outside");
  dir.Write("outside/.x.together", "staged outside");
  dir.Write("r/data/tables/c", "old c");
  dir.Write("r/data/tables/.c.together", "new c");
  dir.Write("r/data/tables/.d.together/x", "");
  std::filesystem::create_symlink(dir.Path() + "/outside/x", dir.Path() + "/r/data/tables/l");
  const auto journalOf = [](const std::string& line) { return "c\n" + line + "\nend 2\n"; };
  const std::pair<std::string, std::string> refused[] = {
      {journalOf(dir.Path() + "/outside/x"), "names '" + dir.Path() + "/outside/x', no file of its folder: refused"},
      {journalOf("../../../outside/x"), "names '../../../outside/x', no file of its folder: refused"},
      {journalOf("l"), "data/tables/.set names 'l', a link out of its folder: refused"},
      {journalOf("d"), "data/tables/.d.together is not a regular file: the set is left as it is"},
      {journalOf("\x01\xEE"), "data/tables/.set names '?\xEE', neither staged nor in place: refused"},
      {"c\n", "data/tables/.set lacks the end line that counts its files, so it may be cut short: refused"}};
  for (const auto& [journal, refusal] : refused) {
    dir.Write("r/data/tables/.set", journal);
    const std::vector<std::string> said = FinishIn(dir, "r");
    ASSERT_EQ(said.size(), 2u) << journal;
    EXPECT_NE(said[0].find(refusal), std::string::npos) << said[0];
    EXPECT_EQ(said[1].rfind("cannot finish the set of data/tables/.set: ", 0), 0u) << said[1];
    EXPECT_EQ(dir.Read("r/data/tables/c") + dir.Read("r/data/tables/.c.together") + dir.Read("outside/x") +
                  dir.Read("outside/.x.together") + dir.Read("r/data/tables/.set"),
              "old cnew coutsidestaged outside" + journal);
  }
  // An older journal's path into the folder itself is finished.
  std::filesystem::remove_all(dir.Path() + "/r/data/tables/.d.together");
  dir.Write("r/data/tables/.set", "data/tables/c\nend 1\n");
  EXPECT_TRUE(FinishIn(dir, "r").empty());
  EXPECT_EQ(dir.Read("r/data/tables/c"), "new c");
  EXPECT_TRUE(Leftovers(dir.Path() + "/r/data/tables").empty());
  // A folder as the journal leaves the set; a set with a file outside is not saved.
  dir.Write("f/data/tables/.set/x", "");
  EXPECT_EQ(FinishIn(dir, "f").back(), "cannot read the journal data/tables/.set: a folder, not a file");
  std::string why;
  EXPECT_FALSE(platform::ReplaceFilesTogether("r\\data\\tables\\.set", {{"outside\\x", "new"}}, &why));
  EXPECT_EQ(why, "cannot save outside/x in a set whose journal is in r/data/tables");
  EXPECT_FALSE(platform::ReplaceFilesTogether("r\\data\\tables\\.set", {{"r\\data\\tables\\l", "new"}}, &why));
  EXPECT_EQ(why, "cannot save r/data/tables/l, a link to " + dir.Path() +
                     "/outside/x, in a set whose journal is in r/data/tables");
  EXPECT_EQ(dir.Read("outside/x"), "outside");
}

// On a read-only file system a save said it "cannot remove the leftover temporary file"
// of a file that had none. The folder is made read-only in a mount namespace of a child
// (skipped where the process may not make one).
TEST(FileReplace, OnAReadOnlyFileSystemTheSaveSaysWhatFailed) {
  test::TempDir dir;
  dir.Write("ro/config.cfg", "old");
  const std::string ro = dir.Path() + "/ro";
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  if (fork() == 0) {
    std::string why = "skip";
    if (unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
        mount(ro.c_str(), ro.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
        mount(nullptr, ro.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0) {
      why = platform::ReplaceWholeFile("ro\\config.cfg", "new", &why) ? "saved" : why;
    }
    _exit(write(out[1], why.data(), why.size()) < 0);
  }
  close(out[1]);
  char said[512] = {};
  EXPECT_GT(read(out[0], said, sizeof said - 1), 0);
  close(out[0]);
  wait(nullptr);
  if (std::string(said) == "skip") GTEST_SKIP() << "no mount namespace for this process";
  EXPECT_STREQ(said, "cannot create a temporary file for ro/config.cfg: Read-only file system");
  EXPECT_EQ(dir.Read("ro/config.cfg"), "old");
}

}  // namespace
