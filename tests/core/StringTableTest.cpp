#include "core/StringTable.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

TEST(StringTable, FirstDefinitionWinsAcrossFilesAndLanguagesCompareWithoutCase) {
  test::TempDir dir;
  test::CoreServices core;
  dir.Write("data/scripts/strings/a.string",
            "language ENG\r\n{\r\n #str001 \"First text\"\r\n #str002 two\r\n}\r\n"
            "language ger\n{\n #str003 deutsch\n}\n");
  dir.Write("data/scripts/strings/b.string.bak", "language eng { #str001 later #str004 four }");
  dir.Write("data/scripts/strings/c.txt", "language eng { #str005 ignored }");
  N_StringTable table;
  EXPECT_EQ(table.Find("#str004"), "");  // looked up before loading: stays ""
  table.SetLanguage("eng");
  table.ReadDir("scripts\\strings\\*.string*");
  EXPECT_EQ(table.Find("#str001"), "First text");
  EXPECT_EQ(table.Find("#str002"), "two");
  EXPECT_EQ(table.Find("#str003"), "");
  EXPECT_EQ(table.Find("#str004"), "");
  EXPECT_EQ(table.Find("#str005"), "");
  const std::string log = core.LogText();
  EXPECT_NE(log.find("Reading string tables from dir 'scripts\\strings\\*.string*' for language 'eng'\n"),
            std::string::npos);
  EXPECT_NE(log.find("Loading strings from file 'b.string.bak'\n"), std::string::npos);
  EXPECT_EQ(log.find("c.txt"), std::string::npos);
}

TEST(StringTable, OddBlocks) {
  test::TempDir dir;
  dir.Write("s.string",
            "stray tokens language\n{ #a skipped }\n"  // "language" alone on its line matches nothing
            "language eng\n{\n #lonely\n #b bee\n}\n");
  N_StringTable table;
  table.SetLanguage("eng");
  table.ParseFile("s.string");
  EXPECT_EQ(table.Size(), 1u);
  EXPECT_EQ(table.Find("#b"), "bee");
  EXPECT_EQ(table.Find("#a"), "");
  table.Remove("#b");
  EXPECT_EQ(table.Find("#b"), "");
}

TEST(StringTable, DumpInKeyOrder) {
  test::TempDir dir;
  N_StringTable table;
  table.Add("b", "2");
  table.Add("a", "1");
  table.Add("a", "x");
  table.Dump("dump.txt");
  EXPECT_EQ(dir.Read("dump.txt"), "a = '1'\nb = '2'\n");
  table.Dump("no/dir/dump.txt");
}

}  // namespace
