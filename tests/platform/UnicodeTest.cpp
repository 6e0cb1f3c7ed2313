#include "platform/win32/Unicode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::u16string Convert(const std::string& text, DWORD flags = 0) {
  const int needed = MultiByteToWideChar(CP_ACP, flags, text.c_str(), -1, nullptr, 0);
  if (needed == 0) return u"<failed>";
  std::u16string out(static_cast<std::size_t>(needed), u'\0');
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, flags, text.c_str(), -1, out.data(), needed), needed);
  out.pop_back();  // the converted terminating zero
  return out;
}

TEST(Unicode, MultiByteToWideCharDecodesUtf8) {
  struct Case {
    std::string in;
    std::u16string out;
  };
  for (const Case& c : std::vector<Case>{
           {"data\\video\\intro.avi", u"data\\video\\intro.avi"},
           {"", u""},
           {"\xC5\xBEiak", u"\u017Eiak"},                     // two-byte sequence
           {"\xE2\x82\xAC", u"\u20AC"},                       // three bytes
           {"\xF0\x9F\x8E\xBF", u"\U0001F3BF"},               // four bytes: a surrogate pair
           {"a\xFF" "b", u"a\uFFFD" "b"},                     // invalid byte
           {"\xC3", u"\uFFFD"},                               // cut sequence
           {"\xE0\x80\x80", u"\uFFFD"},                       // overlong form
           {"\xED\xA0\x80z", u"\uFFFDz"},                     // encoded surrogate
       }) {
    EXPECT_EQ(Convert(c.in), c.out) << c.in;
  }
}

TEST(Unicode, MultiByteToWideCharFollowsTheWindowsContract) {
  WCHAR buffer[8] = {};
  // -1 converts the terminating zero and counts it.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, buffer, 8), 4);
  EXPECT_EQ(buffer[3], 0);
  // An explicit length converts just those bytes.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcdef", 2, buffer, 8), 2);
  // Too small a buffer fails and reports 0.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcdefghij", -1, buffer, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, buffer, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(1250, 0, "abc", -1, buffer, 8), 0);  // no other code pages
  EXPECT_EQ(Convert("a\xFF", MB_ERR_INVALID_CHARS), u"<failed>");
}

TEST(Unicode, Utf16ToUtf8RoundTripsAndReplacesLoneSurrogates) {
  EXPECT_EQ(platform::Utf16ToUtf8(u"data\\\u017Eiak\U0001F3BF.avi"), "data\\\xC5\xBEiak\xF0\x9F\x8E\xBF.avi");
  EXPECT_EQ(platform::Utf16ToUtf8(u"ab\xD800"), "ab\xEF\xBF\xBD");
  EXPECT_EQ(platform::Utf16ToUtf8(u"\xDC00z"), "\xEF\xBF\xBDz");
  // A limit that cuts a surrogate pair leaves a lone high surrogate.
  EXPECT_EQ(platform::Utf16ToUtf8(u"x\U0001F3BF", 2), "x\xEF\xBF\xBD");
  EXPECT_EQ(platform::Utf16ToUtf8(nullptr), "");
}

}  // namespace
