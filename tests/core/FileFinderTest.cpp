#include "core/FileFinder.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> All(N_FileFinder& finder, bool script = false) {
  std::vector<std::string> out;
  for (const char* n = script ? finder.FindFirstScript() : finder.FindFirst(); n;
       n = script ? finder.FindNextScript() : finder.FindNext()) {
    out.push_back(n);
  }
  return out;
}

/// The search's paths from where it stands to its end.
std::vector<std::string> Walk(N_DirSearch& search) {
  std::vector<std::string> out;
  for (std::string p = search.GetCurrent(); !p.empty(); p = search.GetCurrent()) {
    out.push_back(p);
    search.Next();
  }
  return out;
}

TEST(FileFinder, SkipsFoldersAndDotNamesAndGivesBareNames) {
  test::TempDir dir;
  dir.Write("data/scripts/b.shader", "");
  dir.Write("data/scripts/a.shader", "");
  dir.Write("data/scripts/.hidden.shader", "");
  dir.Write("data/scripts/sub.shader/x", "");
  dir.Write("data/scripts/noext", "");
  N_FileFinder finder("scripts\\*.shader");
  EXPECT_EQ(All(finder), (std::vector<std::string>{"a.shader", "b.shader"}));
  N_FileFinder script("scripts\\*.shader");
  const auto full = All(script, true);
  ASSERT_EQ(full.size(), 2u);
  EXPECT_EQ(full[0], N_FileList::WorkingDirectory() + "\\data\\scripts\\a.shader");
  N_FileFinder everything("scripts\\*.*");
  EXPECT_EQ(All(everything), (std::vector<std::string>{"a.shader", "b.shader", "noext"}));
}

TEST(FileFinder, CaseInsensitiveFoldersAndSlashDirectoryPart) {
  test::TempDir dir;
  dir.Write("data/scripts/sounds/One.SSD", "");
  N_FileFinder finder("scripts\\Sounds\\*.ssd");
  EXPECT_EQ(All(finder), (std::vector<std::string>{"One.SSD"}));
  N_FileFinder slashed("scripts/Sounds/*.ssd");
  EXPECT_EQ(All(slashed),
            (std::vector<std::string>{N_FileList::WorkingDirectory() + "\\data\\scripts/Sounds/One.SSD"}));
  N_FileFinder none("scripts\\missing\\*.ssd");
  EXPECT_EQ(none.FindFirst(), nullptr);
}

TEST(FileFinder, WorkingDirectoryIsCapturedOnce) {
  test::TempDir dir;
  dir.Write("data/x.txt", "");
  N_FileFinder first("*.txt");
  const std::string captured = N_FileList::WorkingDirectory();
  test::TempDir other;
  std::filesystem::current_path(dir.Path());
  N_FileList::RecaptureWorkingDirectory();  // as where the game root is set
  std::filesystem::current_path(other.Path());  // a plain change of the current directory
  N_FileFinder later("*.txt");
  EXPECT_EQ(N_FileList::WorkingDirectory(), captured);
  EXPECT_STREQ(later.FindFirst(), "x.txt");
}

TEST(DirSearch, FlatSearchCountsFilesAndSkipsFolders) {
  test::TempDir dir;
  for (const char* f : {"t/a.all", "t/b.all", "t/c.all", "t/sub.all/x.all"}) dir.Write(f, "");
  std::string report = "old";
  N_DirSearch search(report, "t\\", "*.all", false, true);
  EXPECT_EQ(search.Count(), 3u);
  const std::vector<std::string> got = Walk(search);
  EXPECT_EQ(got, (std::vector<std::string>{"a.all", "b.all", "c.all"}));
  search.Next();
  EXPECT_EQ(search.GetCurrent(), "");
  EXPECT_EQ(report, "Searching Directory: " + std::filesystem::current_path().string() +
                        "\\t\\ with mask: *.all without SubdirectoriesFound 3 files.\nFound items: \na.all\nb.all\nc.all\n");
}

TEST(DirSearch, SubfoldersComeFirst) {
  test::TempDir dir;
  for (const char* f : {"t/z.all", "t/sub/a.all", "t/sub/deeper/d.all", "t/sub/skip.txt"}) dir.Write(f, "");
  std::string report;
  N_DirSearch search(report, dir.Path() + "/t/", "*.all", true, false);
  const std::vector<std::string> got = Walk(search);
  EXPECT_EQ(got, (std::vector<std::string>{"sub\\deeper\\d.all", "sub\\a.all", "z.all"}));
  EXPECT_NE(report.find(" with Subdirectories\nFound 3 files.\n"), std::string::npos);
  std::string empty;
  N_DirSearch nothing(empty, "nowhere\\", "*.all", true, true);
  EXPECT_EQ(nothing.Count(), 0u);
  EXPECT_NE(empty.find("Found 0 files.\n"), std::string::npos);
}

TEST(DirSearch, LinksToFoldersAreFollowedButNoFolderIsSearchedTwice) {
  // "ln -s . a; ln -s . b" used to send the search round for ever.
  test::TempDir dir;
  for (const char* f : {"t/z.all", "t/sub/a.all", "outside/o.all"}) dir.Write(f, "");
  std::filesystem::create_directory_symlink(".", dir.Path() + "/t/a");
  std::filesystem::create_directory_symlink(".", dir.Path() + "/t/b");
  std::filesystem::create_directory_symlink("..", dir.Path() + "/t/sub/up");
  std::filesystem::create_directory_symlink("../outside", dir.Path() + "/t/ext");
  std::string report;
  N_DirSearch search(report, dir.Path() + "/t/", "*.all", true, false);
  const std::vector<std::string> got = Walk(search);
  EXPECT_EQ(got, (std::vector<std::string>{"ext\\o.all", "sub\\a.all", "z.all"}));
}

}  // namespace
