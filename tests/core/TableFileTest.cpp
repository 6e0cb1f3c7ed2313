#include "core/TableFile.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Fields(N_TableFile& table) {
  std::vector<std::string> out;
  for (std::string f = table.NextField(); !f.empty(); f = table.NextField()) out.push_back(f);
  return out;
}

struct Case {
  const char* name;
  std::string content;
  std::vector<std::string> fields;
  int lines;
};

TEST(TableFile, FieldsCommentsAndLineCounts) {
  test::TempDir dir;
  const std::vector<Case> cases = {
      {"only comments", "// a\n// b\n", {}, 0},
      {"comment takes its newline", "1 2 // note\n3", {"1", "2", "3"}, 0},
      {"separators", "a\tb\r\nc   d\n", {"a", "b", "c", "d"}, 2},
      {"quoted", "\"x y\tz\" w", {"x y\tz", "w"}, 0},
      {"number against comment", "12// note\n34\n", {"1234"}, 1},
      {"leading separators", "\n  first second", {"first", "second"}, 1},
      {"final comment without newline", "5 6 // end", {"5", "6"}, 0},
      {"zero byte cuts", std::string("7 8\0 9", 6), {"7", "8"}, 0},
      {"unclosed quote", "1 \"rest of it", {"1", "rest of it"}, 0},
      {"slash before a comment", "a/ //c\n/b", {"a/", "/b"}, 0},
      {"three slashes", "x///y\nz", {"xz"}, 0},
      {"comment after comment", "// a\n// b\n1\n//\n2", {"1", "2"}, 1},
  };
  for (const Case& c : cases) {
    dir.Write("t.txt", c.content);
    N_TableFile table;
    ASSERT_TRUE(table.Open("t.txt")) << c.name;
    EXPECT_EQ(Fields(table), c.fields) << c.name;
    EXPECT_EQ(table.Line(), c.lines) << c.name;
    EXPECT_EQ(table.NextField(), "") << c.name;  // stays at the end
  }
}

TEST(TableFile, LargeCommentedTableGivesEveryFieldInOrder) {
  // The shape of a big AI table: every other line a comment, fields between them.
  test::TempDir dir;
  std::string text;
  for (int i = 0; i < 50000; ++i) text += "// row " + std::to_string(i) + "\n" + std::to_string(i) + "\t" + std::to_string(-i) + "\n";
  dir.Write("big.txt", text);
  N_TableFile table;
  ASSERT_TRUE(table.Open("big.txt"));
  for (int i = 0; i < 50000; ++i) {
    ASSERT_EQ(table.NextField(), std::to_string(i));
    ASSERT_EQ(table.NextField(), std::to_string(-i));
  }
  EXPECT_EQ(table.NextField(), "");
  EXPECT_EQ(table.Line(), 50000);  // the field lines' newlines; the comments took theirs
}

TEST(TableFile, MissingFileAndReopen) {
  test::TempDir dir;
  N_TableFile table;
  EXPECT_FALSE(table.Open("Data\\Ai\\missing.time"));
  EXPECT_EQ(table.NextField(), "");
  dir.Write("data/ai/Anims.time", "0.5 1.5");
  EXPECT_TRUE(table.Open("Data\\Ai\\Anims.time"));
  EXPECT_EQ(table.NextField(), "0.5");
  table.Close();
  EXPECT_EQ(table.NextField(), "");
  EXPECT_EQ(table.FileName(), "");
}

}  // namespace
