#include "sound/SoundShaderList.h"
#include "tests/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

/// Parses one script text and returns the list.
N_SoundShaderList Parse(const std::string& text) {
  test::WriteShaders("t.ssd", text);
  N_SoundShaderList list;
  list.ParseFile("data\\scripts\\sounds\\t.ssd");
  return list;
}

struct FieldCase {
  const char* entries;
  std::function<void(const N_SoundShader&)> check;
};

TEST(SoundShaderList, EntriesSetTheirFields) {
  test::TempDir dir;
  const FieldCase cases[] = {
      {"", [](const N_SoundShader& s) {
         EXPECT_FLOAT_EQ(s.volume, 1.0f);
         EXPECT_FLOAT_EQ(s.minDistance, 1.0f);  // defaults are not scaled
         EXPECT_FLOAT_EQ(s.maxDistance, 128.0f);
         EXPECT_EQ(s.loop, 1);
         EXPECT_EQ(s.category, 5);
       }},
      {"Volume -0.2", [](const N_SoundShader& s) { EXPECT_FLOAT_EQ(s.volume, 1.0f); }},
      {"Volume 1.5", [](const N_SoundShader& s) { EXPECT_FLOAT_EQ(s.volume, 1.0f); }},
      {"Volume 0", [](const N_SoundShader& s) { EXPECT_FLOAT_EQ(s.volume, 0.0f); }},
      {"Volume 0.25 volume 0.5", [](const N_SoundShader& s) { EXPECT_FLOAT_EQ(s.volume, 0.5f); }},
      {"MinDistance 2 MaxDistance 3", [](const N_SoundShader& s) {
         EXPECT_FLOAT_EQ(s.minDistance, 78.74f);
         EXPECT_FLOAT_EQ(s.maxDistance, 118.11f);
       }},
      {"MinDistance 0", [](const N_SoundShader& s) { EXPECT_FLOAT_EQ(s.minDistance, 0.0001f); }},
      {"mindistance -4", [](const N_SoundShader& s) { EXPECT_FLOAT_EQ(s.minDistance, 0.0001f); }},
      {"Frequency -2 Loop -1", [](const N_SoundShader& s) {
         EXPECT_FLOAT_EQ(s.frequency, -2.0f);
         EXPECT_EQ(s.loop, -1);
       }},
      {"plain stream headrelative playrandomizeandonlyone", [](const N_SoundShader& s) {
         EXPECT_EQ(s.plain, 1);
         EXPECT_EQ(s.stream, 1);
         EXPECT_EQ(s.headRelative, 1);
         EXPECT_EQ(s.onlyOne, 1);
       }},
      {"HeadRelative Normal_Mode PlayRandomizeAndOnlyOne PlayRandomize", [](const N_SoundShader& s) {
         EXPECT_EQ(s.headRelative, 0);
         EXPECT_EQ(s.onlyOne, 0);
       }},
      {"soundcategory music", [](const N_SoundShader& s) { EXPECT_EQ(s.category, 1); }},
      {"SoundCategory MENUTEST", [](const N_SoundShader& s) { EXPECT_EQ(s.category, 8); }},
      {"SoundCategory Commentar", [](const N_SoundShader& s) { EXPECT_EQ(s.category, 4); }},
      {"SoundCategory BodySound SoundCategory Nonsense", [](const N_SoundShader& s) { EXPECT_EQ(s.category, 2); }},
      // The word must stand on the key's line; on the next it is read as a key and skipped.
      {"SoundCategory\nMusic\nVolume 0.5", [](const N_SoundShader& s) {
         EXPECT_EQ(s.category, 5);
         EXPECT_FLOAT_EQ(s.volume, 0.5f);
       }},
      {"SoundMap a.wav Unknown SoundMap \"b c.wav\" soundmap a.wav", [](const N_SoundShader& s) {
         EXPECT_EQ(s.wavNames, (std::vector<std::string>{"a.wav", "b c.wav", "a.wav"}));
       }},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.entries);
    const N_SoundShaderList list = Parse(std::string("s\n{\n") + c.entries + "\n}\n");
    const N_SoundShader* shader = list.FindShader("s");
    ASSERT_NE(shader, nullptr);
    c.check(*shader);
  }
}

TEST(SoundShaderList, BlocksByExactNameFirstDefinitionStays) {
  test::TempDir dir;
  const N_SoundShaderList list = Parse(
      "a { Volume 0.1 }\n"
      "A { Volume 0.2 }\n"
      "a { Volume 0.3 }\n"
      "bare\n"
      "skipped\n"
      "last { Volume 0.4 }\n");
  ASSERT_NE(list.FindShader("a"), nullptr);
  ASSERT_NE(list.FindShader("A"), nullptr);
  EXPECT_FLOAT_EQ(list.FindShader("a")->volume, 0.1f);
  EXPECT_FLOAT_EQ(list.FindShader("A")->volume, 0.2f);
  // A name without a block keeps the defaults and the token after it is dropped.
  ASSERT_NE(list.FindShader("bare"), nullptr);
  EXPECT_FLOAT_EQ(list.FindShader("bare")->volume, 1.0f);
  EXPECT_EQ(list.FindShader("skipped"), nullptr);
  EXPECT_FLOAT_EQ(list.FindShader("last")->volume, 0.4f);
  EXPECT_EQ(list.FindShader("LAST"), nullptr);
  EXPECT_EQ(list.FindShader(nullptr), nullptr);
}

TEST(SoundShaderList, TruncatedAndMissingFilesAddWhatWasRead) {
  test::TempDir dir;
  N_SoundShaderList list;
  list.ParseFile("data\\scripts\\sounds\\missing.ssd");
  EXPECT_EQ(list.Count(), 0u);
  test::WriteShaders("cut.ssd", "open { Volume 0.5 SoundMap x.wav SoundMap");
  list.ParseFile("data\\scripts\\sounds\\cut.ssd");
  const N_SoundShader* shader = list.FindShader("open");
  ASSERT_NE(shader, nullptr);
  EXPECT_FLOAT_EQ(shader->volume, 0.5f);
  EXPECT_EQ(shader->wavNames, std::vector<std::string>{"x.wav"});  // no name for the last key
}

TEST(SoundShaderList, LoadAllReadsEveryScriptOfTheMask) {
  test::TempDir dir;
  test::WriteShaders("one.ssd", "first { SoundCategory Audience }");
  test::WriteShaders("two.SSD", "second { }");
  test::WriteShaders("other.txt", "third { }");
  N_SoundShaderList list;
  list.LoadAll("scripts\\Sounds\\*.ssd");
  EXPECT_EQ(list.Count(), 2u);
  ASSERT_NE(list.FindShader("first"), nullptr);
  EXPECT_EQ(list.FindShader("first")->category, 6);
  EXPECT_NE(list.FindShader("second"), nullptr);
}

}  // namespace
