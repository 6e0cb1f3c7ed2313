#include "core/StringUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

TEST(StringUtil, SplitString) {
  struct Case {
    std::string text;
    const char* delimiters;
    int max;
    Fields fields;
  };
  const Case cases[] = {
      {"a b c d", " ", 0, {"a", "b", "c", "d"}},
      {"a b c d", " ", 1, {"a", "b c d"}},
      {"a b c d", " ", 2, {"a", "b", "c d"}},
      {" a b", " ", 1, {"a b"}},  // the leading blank used the first pass
      {"a  b\t", "\t\n ", 0, {"a", "b"}},
      {"", " ", 0, {""}},
      {" \t \n", "\t\n ", 0, {}},
      {"a,,b;c", ",;", 0, {"a", "b", "c"}},
      {"abc", "", 0, {"abc"}},
  };
  for (const Case& c : cases) {
    Fields out{"stale"};
    EXPECT_EQ(SplitString(c.text, out, c.delimiters, c.max), c.fields) << '"' << c.text << "\" " << c.max;
  }
}

TEST(StringUtil, NumbersVectorsAndQuaternions) {
  EXPECT_EQ(FloatToString(0.5f), "0.5");
  EXPECT_EQ(FloatToString(10.0f / 3.0f), "3.33333");
  EXPECT_EQ(FloatToString(1250.0f), "1250");
  EXPECT_EQ(FloatToString(-2.0f), "-2");
  EXPECT_EQ(IntToString(-42), "-42");
  EXPECT_EQ(UIntToString(4294967295u), "4294967295");
  EXPECT_EQ(StringToInt("  -17xyz"), -17);
  EXPECT_EQ(StringToIntMember("99999999999"), 2147483647);  // saturates
  EXPECT_FLOAT_EQ(StringToFloat("2.5e1"), 25.0f);
  EXPECT_EQ(StringToFloat("abc"), 0.0f);

  struct VecCase {
    const char* text;
    N_Vector3 v;
  };
  const VecCase vecs[] = {{"1\t2\n3", {1, 2, 3}}, {"1 2", {0, 0, 0}}, {"1 2 3 4", {0, 0, 0}}, {"  -1.5  0 7 ", {-1.5f, 0, 7}}};
  for (const VecCase& c : vecs) {
    const N_Vector3 v = StringToVec3(c.text);
    EXPECT_EQ(v.x, c.v.x) << c.text;
    EXPECT_EQ(v.y, c.v.y) << c.text;
    EXPECT_EQ(v.z, c.v.z) << c.text;
  }
  EXPECT_EQ(Vec3ToString({1.0f, -0.25f, 1e6f}), "1 -0.25 1e+06");

  const N_Quaternion read = StringToQuaternion("1 2 3 4");  // w x y z
  EXPECT_EQ(read.w, 1.0f);
  EXPECT_EQ(read.z, 4.0f);
  EXPECT_EQ(QuaternionToString(read), "2 3 4 1");  // written x y z w
  const N_Quaternion identity = StringToQuaternion("1 2 3");
  EXPECT_EQ(identity.w, 1.0f);
  EXPECT_EQ(identity.x, 0.0f);
}

TEST(StringUtil, BoolsTrimAndLower) {
  EXPECT_TRUE(StringToBool("true"));
  for (const char* no : {"True", "1", "true ", "", "yes"}) EXPECT_FALSE(StringToBool(no)) << no;
  EXPECT_EQ(BoolToString(true), "true");
  EXPECT_EQ(BoolToString(false), "false");

  struct Case {
    std::string in;
    bool left, right;
    std::string out;
  };
  const Case cases[] = {
      {" \tab \r\n", true, true, "ab \r\n"},  // the newline stops the right trim
      {" \tab \r", true, true, "ab"},
      {" \tab \r", false, true, " \tab"},
      {" \tab \r", true, false, "ab \r"},
      {" \t\r ", true, true, ""},
      {" \t\r ", false, true, ""},
      {"", true, true, ""},
  };
  for (const Case& c : cases) {
    std::string text = c.in;
    TrimString(text, c.left, c.right);
    EXPECT_EQ(text, c.out);
  }
  std::string mixed = "AbC-\xC4Z";
  EXPECT_EQ(StringToLower(mixed), "abc-\xC4z");  // only A-Z change
}

TEST(StringUtil, FormatRaceTime) {
  struct Case {
    float seconds;
    const char* text;
  };
  const Case cases[] = {
      {75.25f, "01:15.250"}, {3599.999f, "59:59.999"}, {3600.0f, "60:00.000"},
      {59.999996f, "00:59.999"}, {0.0f, "00:00.000"}, {125.5f, "02:05.500"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatRaceTime(c.seconds), c.text) << c.seconds;
  // Each call has its own text.
  EXPECT_NE(FormatRaceTime(1.0f), FormatRaceTime(2.0f));
}

}  // namespace
