#include "core/Tokenizer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// Reads every token with the given crossLines flag; a null result is recorded as "<null>"
/// and reading stops after `limit` results.
std::vector<std::string> ReadAll(N_Tokenizer& tok, bool cross, int limit = 20) {
  std::vector<std::string> out;
  for (int i = 0; i < limit; ++i) {
    const char* t = tok.NextToken(cross);
    out.push_back(t ? t : "<null>");
    if (!t && (cross || !tok.HasSource())) break;
  }
  return out;
}

TEST(Tokenizer, LinesWithAndWithoutCrossing) {
  N_Tokenizer tok;
  EXPECT_EQ(tok.NextToken(true), nullptr);  // no source yet
  tok.OpenString("");
  EXPECT_EQ(tok.NextToken(true), nullptr);
  EXPECT_EQ(tok.Line(), 1);

  tok.OpenString("a b\nc");
  EXPECT_STREQ(tok.NextToken(false), "a");
  EXPECT_STREQ(tok.NextToken(false), "b");
  EXPECT_EQ(tok.NextToken(false), nullptr);
  EXPECT_EQ(tok.Line(), 2);
  EXPECT_STREQ(tok.Token(), "");
  EXPECT_EQ(tok.TokenAsInt(), 0);
  EXPECT_STREQ(tok.NextToken(false), "c");
  EXPECT_EQ(tok.NextToken(false), nullptr);

  tok.OpenString("a b\nc");
  EXPECT_EQ(ReadAll(tok, true), (std::vector<std::string>{"a", "b", "c", "<null>"}));
  EXPECT_EQ(tok.Line(), 2);
}

TEST(Tokenizer, CommentsAndSlashes) {
  N_Tokenizer tok;
  tok.OpenString("// comment\nx");
  EXPECT_STREQ(tok.NextToken(true), "x");
  EXPECT_EQ(tok.Line(), 2);
  tok.OpenString("// comment\nx");
  EXPECT_EQ(tok.NextToken(false), nullptr);

  tok.OpenString("/x y");
  EXPECT_EQ(ReadAll(tok, true), (std::vector<std::string>{"/x", "y", "<null>"}));
  tok.OpenString("/");
  EXPECT_EQ(tok.NextToken(true), nullptr);
  tok.OpenString("a//b c\"d");
  EXPECT_EQ(ReadAll(tok, true), (std::vector<std::string>{"a//b", "c\"d", "<null>"}));
}

TEST(Tokenizer, Quotes) {
  N_Tokenizer tok;
  tok.OpenString("\"two words\" '' \"span\nline\" 'x\"y'");
  EXPECT_EQ(ReadAll(tok, true), (std::vector<std::string>{"two words", "", "span\nline", "x\"y", "<null>"}));
  EXPECT_EQ(tok.Line(), 1);  // newlines inside quotes are not counted
  tok.OpenString("\"unclosed rest");
  EXPECT_STREQ(tok.NextToken(true), "unclosed rest");
  EXPECT_EQ(tok.NextToken(true), nullptr);
}

TEST(Tokenizer, TokenLengthLimit) {
  N_Tokenizer tok;
  const std::string run(2000, 'q');
  tok.OpenString(run.c_str());
  EXPECT_EQ(std::string(tok.NextToken(true)).size(), 1023u);
  EXPECT_EQ(std::string(tok.NextToken(true)).size(), 977u);
  EXPECT_EQ(tok.NextToken(true), nullptr);

  const std::string quoted = "\"" + std::string(1023, 'a') + "bc d\"";
  tok.OpenString(quoted.c_str());
  EXPECT_EQ(std::string(tok.NextToken(true)), std::string(1023, 'a'));  // 'b' is dropped
  EXPECT_STREQ(tok.NextToken(true), "c");
  EXPECT_STREQ(tok.NextToken(true), "d\"");  // the rest is read as plain tokens
}

TEST(Tokenizer, EndWithoutNewlineBufferAndFiles) {
  N_Tokenizer tok;
  tok.OpenString("abc");
  EXPECT_STREQ(tok.NextToken(false), "abc");
  EXPECT_EQ(tok.NextToken(false), nullptr);
  EXPECT_STREQ(tok.Token(), "abc");  // the end keeps the previous token

  tok.OpenBuffer("12 34 garbage", 5);
  EXPECT_STREQ(tok.NextToken(true), "12");
  EXPECT_EQ(tok.TokenAsInt(), 12);
  EXPECT_STREQ(tok.NextToken(true), "34");
  EXPECT_EQ(tok.NextToken(true), nullptr);

  test::TempDir dir;
  dir.Write("Scripts/A.txt", "x {\r\n}\r\n\ty\r");
  tok.OpenFile("scripts\\a.TXT");
  EXPECT_EQ(tok.FileName(), "scripts\\a.TXT");
  EXPECT_EQ(ReadAll(tok, true), (std::vector<std::string>{"x", "{", "}", "y\r", "<null>"}));
  EXPECT_EQ(tok.Line(), 3);
  tok.OpenFile("missing.txt");
  EXPECT_EQ(tok.NextToken(true), nullptr);
  tok.OpenString("1.5e1");
  tok.NextToken(true);
  EXPECT_DOUBLE_EQ(tok.TokenAsFloat(), 15.0);
  EXPECT_TRUE(tok.FileName().empty());
}

// Numbers no script means are said, naming the file and line, and taken within the
// limit; a word reads as 0 without a word (readers rely on it), also one starting "inf".
TEST(Tokenizer, NumbersNoScriptMeansAreSaidAndClamped) {
  const std::pair<const char*, const char*> cases[] = {
      {"-2147483649", "'-2147483649' is out of range, taken as -2147483647"},
      {"1e30", "'1e30' is out of range, taken as 2147483647"},
      {"2.5", "'2.5' is not a whole number, taken as 2"},
      {"NaN", "'NaN' is not a number, taken as 0"},
      {"12", ""}, {"textures/snow", ""}, {"info", ""}};
  test::TempDir dir;
  test::CoreServices core;
  for (const auto& [token, said] : cases) {
    dir.Write("data/x.txt", std::string("\n") + token + "\n");
    N_Tokenizer tok;
    tok.OpenFile("data\\x.txt");
    tok.NextToken(true);
    const std::size_t before = core.LogText().size();
    tok.TokenAsInt();
    const std::string log = core.LogText().substr(before);
    EXPECT_EQ(log, *said ? std::string("!!! data\\x.txt line 2: ") + said + "\n" : "") << token;
  }
}

}  // namespace
