// Every text reader must survive truncated files, huge tokens and binary garbage.
#include "core/ConfigReader.h"
#include "core/StringTable.h"
#include "core/TableFile.h"
#include "core/Tokenizer.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

/// Deterministic garbage: random bytes biased towards the characters the readers
/// treat specially (quotes, slashes, braces, line ends, blanks).
std::string Garbage(std::uint32_t seed, std::size_t size) {
  static const char kSpecial[] = "\"'/{}\n\r\t language eng #";
  std::string out(size, '\0');
  for (auto& c : out) {
    seed = seed * 1664525u + 1013904223u;
    const std::uint32_t r = seed >> 8;
    c = (r & 3) ? kSpecial[r % (sizeof kSpecial - 1)] : static_cast<char>(r >> 4);
  }
  return out;
}

TEST(GarbageInput, ReadersSurviveRandomAndTruncatedInput) {
  test::TempDir dir;
  test::CoreServices core;
  std::vector<std::string> inputs = {"\"", "'", "/", "//", "language", "language eng {", "language eng { key",
                                     std::string(100000, 'x'), std::string(5000, '"')};
  for (std::uint32_t seed = 1; seed <= 200; ++seed) inputs.push_back(Garbage(seed, seed * 37 % 3000));
  const std::string valid = "language eng\n{\n #k \"some text\"\n}\nv_width 640\n";
  for (std::size_t cut = 0; cut <= valid.size(); ++cut) inputs.push_back(valid.substr(0, cut));

  for (const std::string& input : inputs) {
    dir.Write("g.txt", input);
    N_Tokenizer tok;
    tok.OpenFile("g.txt");
    int count = 0;
    while (tok.NextToken(count % 3 != 0) || count % 3 == 0) {
      if (++count > 1000000) break;
      if (count % 3 == 0 && !tok.NextToken(true)) break;
    }
    EXPECT_LT(count, 1000000);

    N_ConfigReader config;
    config.Load("g.txt");
    N_StringTable strings;
    strings.SetLanguage("eng");
    strings.ParseFile("g.txt");
    N_TableFile table;
    ASSERT_TRUE(table.Open("g.txt"));
    std::size_t fields = 0;
    while (!table.NextField().empty()) ASSERT_LT(++fields, input.size() + 1);
  }
}

}  // namespace
