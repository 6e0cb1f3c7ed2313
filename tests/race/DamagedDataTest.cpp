// Damaged data files that used to be taken without a word: each reader now leaves a
// line in the engine log that names the file (and goes on as the game can). One row per
// damage; a reader of another folder adds its rows to the table.
#include "core/Font.h"
#include "core/KeyDefinitions.h"
#include "core/StringTable.h"
#include "race/ai/AiTableMng.h"
#include "scene/Animation.h"
#include "tests/race/RaceTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

std::string Repeated(const std::string& field, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += field + (i % 15 == 14 ? "\n" : " ");
  return text;
}

/// Sound AI tables: 48 physics rows, 48 x 48 blend times, one strategy.
Files AiTables() {
  return {{"data/Ai/Anims.physics", Repeated("1", 48 * 15)},
          {"data/Ai/Anims.time", Repeated("0.2", 48 * 48)},
          {"data/Ai/Strategy/default.all", "1.0 normal\n"},
          {"data/Ai/Strategy/normal.strategy", "0.5 0.5\n"}};
}
/// The AI tables with one file replaced (an empty text: the file removed).
Files AiTablesWith(const std::string& file, const std::string& text) {
  Files files = AiTables();
  for (auto& [name, content] : files) {
    if (name == file) content = text;
  }
  return files;
}

void ReadAiTables() {
  Ai::N_AiTableMng tables;
  tables.LoadStrategies("Data\\Ai\\Strategy\\");
  tables.LoadAnimBlendTimes("Data\\Ai\\Anims.time");
  tables.LoadAnimPhysicTable("Data\\Ai\\Anims.physics");
}

void ReadStrings() {
  N_StringTable strings;
  strings.SetLanguage("eng");
  strings.ReadDir("scripts\\strings\\*.string");
  strings.Find("#str500");  // the main menu's first button
}

void ReadFont() {
  N_FontList fonts;
  LoadFont(fonts, "f");
}

/// A font file: its header counting `count` glyphs, then `glyphs` glyphs of the advance.
std::string Font(int count, int glyphs, const char* advance = "\x00\x00\x20\x41") {
  std::string text(76, '\0');
  text[0] = 32;
  text[4] = static_cast<char>(count);
  for (int i = 0; i < glyphs; ++i) text += std::string(16, '\0') + std::string(advance, 4);
  return text;
}

/// The sample arrow's animation with one bit of a key's rotation flipped (w 1.0 becomes
/// 2^-63: no rotation).
std::string FlippedArrowKey() {
  std::ifstream in(test::GameRoot() + "/data/anim/sipka/sipka.anim", std::ios::binary);
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  if (bytes.size() > 423) bytes[423] = static_cast<char>(bytes[423] ^ 0x20);
  return bytes;
}

const std::string kGarbageKeys(256, '\xEE');
/// Action 0 without a key, actions 1-19 on the keys of the codes 2-20.
const std::string kUnboundKeys = std::string(1, '\0') + "\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12\x13\x14" +
                                 std::string(236, '\0');
const std::string kMenu = "language eng\n{\n #str500 \"Single player\"\n}\n";

struct Case {
  const char* what;
  Files files;
  std::function<void()> read;
  const char* named;  ///< what the "!!!" line names
};

TEST(DamagedData, EverySilentCaseLeavesALineNamingTheFile) {
  test::RaceRig rig;
  const Case cases[] = {
      {"garbage key table", {{"data/tables/keysdefinition.data", kGarbageKeys}}, LoadKeyDefinitions,
       "data\\tables\\keysdefinition.data"},
      {"short key table", {{"data/tables/keysdefinition.data", std::string(100, '\x11')}}, LoadKeyDefinitions,
       "data\\tables\\keysdefinition.data"},
      {"a key on two actions", {{"data/tables/keysdefinition.data", std::string(256, '\x11')}}, LoadKeyDefinitions,
       "data\\tables\\keysdefinition.data"},
      {"an action without a key", {{"data/tables/keysdefinition.data", kUnboundKeys}},
       LoadKeyDefinitions, "data\\tables\\keysdefinition.data"},
      {"menu strings missing", {{"data/scripts/strings/race.string", "language eng\n{\n}\n"}}, ReadStrings,
       "'#str500' is in no string table of data\\scripts\\strings\\*.string"},
      {"no string table", {}, ReadStrings, "data\\scripts\\strings\\*.string"},
      {"empty string table", {{"data/scripts/strings/menu.string", " "}}, ReadStrings, "strings\\menu.string"},
      {"cut string table", {{"data/scripts/strings/menu.string", kMenu.substr(0, 40)}}, ReadStrings,
       "strings\\menu.string"},
      {"empty font", {{"data/gfx/fonts/f.font", " "}}, ReadFont, "data\\gfx\\fonts\\f.font"},
      {"cut font", {{"data/gfx/fonts/f.font", Font(95, 10)}}, ReadFont, "data\\gfx\\fonts\\f.font"},
      {"font advance NaN", {{"data/gfx/fonts/f.font", Font(2, 2, "\x00\x00\xC0\x7F")}}, ReadFont,
       "data\\gfx\\fonts\\f.font"},
      {"physics not numbers", AiTablesWith("data/Ai/Anims.physics", Repeated("abc", 48 * 15)), ReadAiTables,
       "Data\\Ai\\Anims.physics"},
      {"physics huge", AiTablesWith("data/Ai/Anims.physics", Repeated("1e30", 48 * 15)), ReadAiTables,
       "Data\\Ai\\Anims.physics"},
      {"physics row cut", AiTablesWith("data/Ai/Anims.physics", Repeated("1", 48 * 15 - 3)), ReadAiTables,
       "Data\\Ai\\Anims.physics"},
      {"blend times NaN", AiTablesWith("data/Ai/Anims.time", Repeated("nan", 48 * 48)), ReadAiTables,
       "Data\\Ai\\Anims.time"},
      {"blend times negative", AiTablesWith("data/Ai/Anims.time", Repeated("-3", 48 * 48)), ReadAiTables,
       "Data\\Ai\\Anims.time"},
      {"blend times too many", AiTablesWith("data/Ai/Anims.time", Repeated("0.2", 48 * 48 + 5)), ReadAiTables,
       "Data\\Ai\\Anims.time"},
      {"strategy list empty", AiTablesWith("data/Ai/Strategy/default.all", "// none\n"), ReadAiTables,
       "Data\\Ai\\Strategy\\default.all"},
      {"strategy key not a number", AiTablesWith("data/Ai/Strategy/default.all", "fast normal\n"), ReadAiTables,
       "Data\\Ai\\Strategy\\default.all"},
      {"strategy key beyond 1", AiTablesWith("data/Ai/Strategy/default.all", "5 normal\n"), ReadAiTables,
       "Data\\Ai\\Strategy\\default.all"},
      {"strategy without a name", AiTablesWith("data/Ai/Strategy/default.all", "1.0 normal 0.5\n"), ReadAiTables,
       "Data\\Ai\\Strategy\\default.all"},
      {"strategy values garbage", AiTablesWith("data/Ai/Strategy/normal.strategy", "x y z\n"), ReadAiTables,
       "Data\\Ai\\Strategy\\normal.strategy"},
      {"no strategy list", AiTablesWith("data/Ai/Strategy/default.all", ""), ReadAiTables, "Data\\Ai\\Strategy\\"},
      {"animation key of no rotation", {{"data/anim/a.anim", FlippedArrowKey()}},
       [] { N_Animation().Load("data\\anim\\a.anim"); }, "data\\anim\\a.anim: 1 key is no usable transform"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all("data");
    for (const auto& [name, content] : c.files) {
      if (!content.empty()) rig.dir.Write(name, content);
    }
    const std::size_t before = rig.core.LogText().size();
    c.read();
    const std::string log = rig.core.LogText().substr(before);
    const std::size_t line = log.find("!!! ");
    EXPECT_NE(line, std::string::npos) << c.what << ": no line in\n" << log;
    if (line == std::string::npos) continue;
    const std::string text = log.substr(line, log.find('\n', line) - line);
    EXPECT_NE(text.find(c.named), std::string::npos) << c.what << ": " << text;
  }
}

}  // namespace
