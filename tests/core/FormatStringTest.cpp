#include "core/FormatString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatString, FormatsAndCutsAt1023) {
  EXPECT_EQ(FormatString("Found %d files.\n", 3), "Found 3 files.\n");
  EXPECT_EQ(FormatString("%s", std::string(5000, 'x').c_str()).size(), 1023u);
}

TEST(FormatDataText, UsesTheTextOnlyWhenItsConversionsMatch) {
  EXPECT_EQ(FormatDataText("Lap %d of %d", "%d%d", 2, 3), "Lap 2 of 3");
  EXPECT_EQ(FormatDataText("Only %d", "%d%s", 2, "x"), "Only 2");       // fewer is fine
  EXPECT_EQ(FormatDataText("Bad %s", "%d", 2), "Bad %s");                // wrong type: unformatted
  EXPECT_EQ(FormatDataText("Too %d %d", "%d", 1), "Too %d %d");          // too many
  EXPECT_EQ(FormatDataText("Width %*d", "%d%d", 3, 4), "Width %*d");     // no '*' widths
  EXPECT_EQ(FormatDataText("Write %n", "%d", 1), "Write %n");
  EXPECT_EQ(FormatDataText("100%% %5.2f", "%f", 1.5), "100%  1.50");
  EXPECT_EQ(FormatDataText("%x and %i", "%u%d", 255u, -1), "ff and -1");
  EXPECT_EQ(FormatDataText(nullptr, "%d", 1), "");
}

TEST(FormatDataText, LengthModifiersMustNotChangeTheArgumentsType) {
  // "%Lf" would read a long double that was never passed; 'h' on an integer and 'l' on
  // a floating conversion read what was passed.
  struct Case {
    const char* text;
    bool formatted;
  };
  for (const Case& c : {Case{"%Lf", false}, Case{"%Le", false}, Case{"%Lg", false}, Case{"%La", false},
                        Case{"%llf", false}, Case{"%hf", false}, Case{"%jf", false}, Case{"%zf", false},
                        Case{"%qf", false}, Case{"%lf", true}, Case{"%5.2lg", true}, Case{"%f", true}}) {
    EXPECT_EQ(FormatDataText(c.text, "%f", 1.5) != c.text, c.formatted) << c.text;
  }
  for (const Case& c : {Case{"%hd", true}, Case{"%hhd", true}, Case{"%ld", false}, Case{"%lld", false},
                        Case{"%jd", false}, Case{"%zd", false}, Case{"%hhhd", false}, Case{"%Ld", false}}) {
    EXPECT_EQ(FormatDataText(c.text, "%d", 7) != c.text, c.formatted) << c.text;
  }
  for (const Case& c : {Case{"%ls", false}, Case{"%hs", false}, Case{"%s", true}}) {
    EXPECT_EQ(FormatDataText(c.text, "%s", "x") != c.text, c.formatted) << c.text;
  }
  EXPECT_EQ(FormatConversions("%ld %lf %s %%"), "?fs");
}

}  // namespace
