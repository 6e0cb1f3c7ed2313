// The buddy, final career and career profile tables: their files byte by byte (sizes,
// row offsets, files longer and shorter than the table), their insert and ranking
// rules, the career standings' name matching and bounds, and a failed save.
#include "frontend/BuddyGamesHS.h"
#include "frontend/CareerTables.h"

#include "platform/win32/FileReplace.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace {

using high_scores::FieldText;

std::int32_t I32At(const std::string& bytes, std::size_t at) {
  std::int32_t value = 0;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}
float F32At(const std::string& bytes, std::size_t at) {
  float value = 0.0f;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}
std::string TextAt(const std::string& bytes, std::size_t at) { return bytes.c_str() + at; }

/// Deterministic rows that pass the loads' checks: each row a one-letter name, the
/// rest zero (rows of rowBytes, from 1200 on of laterRowBytes: the career file).
std::string Pattern(std::size_t size, char salt, std::size_t rowBytes, std::size_t laterRowBytes) {
  std::string out(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    const bool later = i >= 1200;
    const std::size_t row = later ? laterRowBytes : rowBytes, at = later ? i - 1200 : i;
    if (at % row == 0) out[i] = static_cast<char>('A' + (at / row + std::size_t(salt)) % 26);
  }
  return out;
}

TEST(HighScoreTables, FilesAreByteExact) {
  test::TempDir dir;
  test::CoreServices core;
  std::filesystem::create_directories(dir.Path() + "/data/tables");
  auto read = [&](const char* file) { return dir.Read(std::string("data/tables/") + file); };

  // Rows at their offsets: a buddy row of game 4, a final career row of difficulty 1,
  // a career result (season 3, level 4, discipline 1, place 2) and its standings row.
  N_BuddyGamesHS buddy;
  buddy.Insert(4, "Anna", "NOR", 7, 12.5f);
  ASSERT_TRUE(buddy.Save());
  std::string bytes = read("buddy_games.hs");
  ASSERT_EQ(bytes.size(), 2640u);
  EXPECT_EQ(TextAt(bytes, 4 * 440) + TextAt(bytes, 4 * 440 + 32), "AnnaNOR");
  EXPECT_EQ(I32At(bytes, 4 * 440 + 36), 7);
  EXPECT_EQ(F32At(bytes, 4 * 440 + 40), 12.5f);
  EXPECT_EQ(bytes.find_first_not_of('\0', 4 * 440 + 44), std::string::npos) << "the rest stays zero";

  N_CareerFinalHS final;
  final.Insert(1, "Boss", "GER", 50000, 10);
  ASSERT_TRUE(final.Save());
  bytes = read("career.hs");
  ASSERT_EQ(bytes.size(), 880u);
  EXPECT_EQ(TextAt(bytes, 440) + TextAt(bytes, 440 + 32), "BossGER");
  EXPECT_EQ(std::vector<int>({I32At(bytes, 440 + 36), I32At(bytes, 440 + 40)}), std::vector<int>({50000, 10}));

  N_CareerHS career;
  career.AddResult(2, 3, 4, 1, "Cara", "SWE", 1234.5f, 3, 12);
  ASSERT_TRUE(career.Save(7));
  bytes = read("career7.hs");
  ASSERT_EQ(bytes.size(), 217200u);
  const std::size_t result = 1200 + ((3 * 10 + 4) * 3 + 1) * 720 + 48 * 2;
  EXPECT_EQ(TextAt(bytes, result) + TextAt(bytes, result + 32), "CaraSWE");
  EXPECT_EQ(F32At(bytes, result + 36), 1234.5f);
  EXPECT_EQ(std::vector<int>({I32At(bytes, result + 40), I32At(bytes, result + 44)}), std::vector<int>({3, 12}));
  EXPECT_EQ(TextAt(bytes, 0) + TextAt(bytes, 32), "CaraSWE");
  std::vector<int> standings;
  for (std::size_t at = 36; at <= 76; at += 4) standings.push_back(I32At(bytes, at));
  EXPECT_EQ(standings, std::vector<int>({12, 0, 0, 0, 0, 12, 0, 0, 0, 0, 0})) << "total, then levels 0 to 9";

  // A longer file loads its first bytes only; a short one fills the front of a table
  // that holds rows, the rest kept: the block tables' load (buddy) and the career
  // file's two pieces (short in the first and in the second).
  auto loadOver = [&](const std::string& file, std::size_t tableBytes, auto& table, auto load, std::size_t row,
                      std::size_t laterRow) {
    for (const std::size_t size : {tableBytes + 333, std::size_t(50), std::size_t(1300)}) {
      const std::string content = Pattern(size, char(size), row, laterRow);
      dir.Write("data/tables/" + file, content);
      const std::string before = table.Bytes();
      ASSERT_EQ(load(), TableFile::Read);
      const std::size_t front = std::min(size, tableBytes);
      EXPECT_EQ(table.Bytes().substr(0, front), content.substr(0, front)) << file << " " << size;
      EXPECT_EQ(table.Bytes().substr(front), before.substr(front)) << file << " " << size;
    }
  };
  N_BuddyGamesHS buddyOver;
  buddyOver.Insert(5, "Z", "NOR", 1, 1.0f);
  loadOver("buddy_games.hs", 2640, buddyOver, [&] { return buddyOver.Load(); }, 44, 44);
  N_CareerHS careerOver;
  careerOver.AddResult(14, 9, 9, 2, "Z", "NOR", 1.0f, 0, 1);
  loadOver("career7.hs", 217200, careerOver, [&] { return careerOver.Load(7); }, 80, 48);

  // Rows no entry can make (a buddy time of nan, a final career of 0 points) are found
  // at the load: emptied, the file named, the table taking no entry. They used to be
  // taken as they were.
  std::string buddyBytes(2640, '\0'), finalBytes(880, '\0');
  buddyBytes = "A" + buddyBytes.substr(1);
  buddyBytes[44] = 'B';
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(&buddyBytes[44 + 40], &nan, 4);
  finalBytes[0] = 'C';
  dir.Write("data/tables/buddy_games.hs", buddyBytes);
  dir.Write("data/tables/career.hs", finalBytes);
  N_BuddyGamesHS damagedBuddy;
  N_CareerFinalHS damagedFinal;
  const std::size_t said = core.LogText().size();
  EXPECT_EQ(damagedBuddy.Load(), TableFile::Damaged);
  EXPECT_EQ(damagedFinal.Load(), TableFile::Damaged);
  EXPECT_EQ(FieldText(damagedBuddy.At(0, 0).name, 32) + FieldText(damagedBuddy.At(0, 1).name, 32), "A");
  EXPECT_TRUE(damagedFinal.At(0, 0).Empty());
  const std::string damageLog = core.LogText().substr(said);
  EXPECT_NE(damageLog.find("data\\tables\\buddy_games.hs is damaged (1 row; block 0, row 1: a time of nan s)"),
            std::string::npos) << damageLog;
  EXPECT_NE(damageLog.find("data\\tables\\career.hs is damaged (1 row; block 0, row 0: 0 points)"), std::string::npos);

  // A failed save is logged and leaves the old file whole, no temporary beside it.
  platform::SetReplaceFailureHook([](platform::ReplaceStep step) { return step == platform::ReplaceStep::Write; });
  const std::string old = read("career7.hs");
  const std::size_t logged = core.LogText().size();
  EXPECT_FALSE(N_CareerHS().Save(7));
  EXPECT_FALSE(N_BuddyGamesHS().Save());
  platform::SetReplaceFailureHook({});
  const std::string log = core.LogText().substr(logged);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
  EXPECT_EQ(read("career7.hs"), old);
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path() + "/data/tables")) {
    files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"buddy_games.hs", "career.hs", "career7.hs"}));
}

TEST(HighScoreTables, InsertsRankAndRefuseByTheirRules) {
  test::TempDir dir;
  test::CoreServices core;

  // Buddy: points first, then the shorter time; a row without points and without a
  // time is refused, one with 0 points and a time is kept; an empty name is stored
  // as the default player name.
  N_BuddyGamesHS buddy;
  buddy.Insert(2, "A", "NOR", 2, 50.0f);
  buddy.Insert(2, "B", "NOR", 3, 60.0f);
  buddy.Insert(2, "C", "NOR", 3, 40.0f);
  buddy.Insert(2, "D", "NOR", 0, 0.0f);
  buddy.Insert(2, "E", "NOR", 0, -1.0f);
  buddy.Insert(2, "", "NOR", 1, -1.0f);
  std::string order;
  for (std::size_t slot = 0; slot < 10; ++slot) order += FieldText(buddy.At(2, slot).name, 32) + ",";
  EXPECT_EQ(order, "C,B,A,Player,D,,,,,,");

  // Final career: ordered by account, then points; a career without points is not entered.
  N_CareerFinalHS final;
  final.Insert(0, "Rich", "GER", 40000, 300);
  final.Insert(0, "Richer", "GER", 50000, 10);
  final.Insert(0, "Same", "GER", 40000, 301);
  final.Insert(0, "Nothing", "GER", 90000, 0);
  order.clear();
  for (std::size_t slot = 0; slot < 4; ++slot) order += FieldText(final.At(0, slot).Name, 32) + ",";
  EXPECT_EQ(order, "Richer,Same,Rich,,");

  // Career standings: names match ignoring case, a 16th name leaves the standings but
  // still writes its result row; the ranking is by total.
  N_CareerHS career;
  for (int i = 0; i < 15; ++i) career.AddResult(i, 0, 0, 0, "Athlete " + std::to_string(i), "AUT", 100.0f, 0, i);
  career.AddResult(0, 0, 1, 0, "ATHLETE 3", "AUT", 90.0f, 1, 13);
  EXPECT_EQ(FieldText(career.Standing(0).Name, 32), "ATHLETE 3") << "the row takes the name as written last";
  EXPECT_EQ(career.Standing(0).Total, 16);
  EXPECT_EQ(std::vector<int>(career.Standing(0).LevelPoints, career.Standing(0).LevelPoints + 2),
            std::vector<int>({3, 13}));
  const std::string standings = career.Bytes().substr(0, N_CareerHS::kStandingsBytes);
  career.AddResult(5, 1, 2, 2, "Newcomer", "ITA", 80.0f, 2, 11);
  EXPECT_EQ(career.Bytes().substr(0, N_CareerHS::kStandingsBytes), standings);
  EXPECT_EQ(FieldText(career.Result(std::size_t(N_CareerHS::ResultBlock(1, 2, 2)), 5).Name, 32), "Newcomer");

  // Exact name lookup.
  EXPECT_EQ(career.FindAthlete("ATHLETE 3"), 0);
  EXPECT_EQ(career.FindAthlete("Athlete 3"), -1);
  EXPECT_EQ(career.FindAthlete("Athlete 14"), 1);
  EXPECT_EQ(career.FindAthlete("Newcomer"), -1);

  // Outside the table: refused with one log line each, nothing changed.
  const std::string before = career.Bytes();
  const std::size_t logged = core.LogText().size();
  career.AddResult(0, 10, 0, 0, "X", "GER", 1.0f, 0, 1);
  career.AddResult(15, 0, 0, 0, "X", "GER", 1.0f, 0, 1);
  career.AddResult(0, 0, 10, 0, "X", "GER", 1.0f, 0, 1);
  career.AddResult(0, 0, 0, 3, "X", "GER", 1.0f, 0, 1);
  buddy.Insert(6, "X", "GER", 1, 1.0f);
  final.Insert(2, "X", "GER", 1, 1);
  const std::string log = core.LogText().substr(logged);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 6) << log;
  EXPECT_EQ(career.Bytes(), before);

  // Clearing the standings leaves the results; an empty name becomes the default.
  career.ClearStandings();
  EXPECT_EQ(career.Bytes().substr(0, N_CareerHS::kStandingsBytes), std::string(N_CareerHS::kStandingsBytes, '\0'));
  EXPECT_EQ(career.Bytes().substr(N_CareerHS::kStandingsBytes), before.substr(N_CareerHS::kStandingsBytes));
  career.AddResult(0, 0, 0, 0, "", "GER", 1.0f, 0, 1);
  final.Insert(1, "", "GER", 1, 1);
  EXPECT_EQ(FieldText(career.Standing(0).Name, 32) + FieldText(final.At(1, 0).Name, 32), "PlayerPlayer");
}

}  // namespace
