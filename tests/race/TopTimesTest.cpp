// The top-times entries of finished races read back from the written files (the block
// and row of the choices, the pursuit's added qualification, the relay's nation, the
// default player name, refused entries, the time attack's record answer), the merge
// and bounds of a table, and table files of garbage, saved whole or not at all.
#include "race/TopTimeEntries.h"
#include "race/TopTimeTables.h"

#include "platform/win32/FileReplace.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/PursuitStart.h"
#include "race/PlayerRelayTeam.h"
#include "tests/race/SetupPagesRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace {

using test::SetupPagesRig;
constexpr std::size_t kRow = N_TopTimeRow::kBytes, kBlock = N_ArcadeHS::kBlockBytes;

float TimeAt(const std::string& bytes, std::size_t at) {
  float time = 0.0f;
  if (at + 4 <= bytes.size()) std::memcpy(&time, bytes.data() + at, 4);
  return time;
}
std::string TextAt(const std::string& bytes, std::size_t at) { return at < bytes.size() ? bytes.c_str() + at : ""; }
/// The player, athlete and nation names of a top-time row.
std::string NamesAt(const std::string& bytes, std::size_t at) {
  return TextAt(bytes, at) + "|" + TextAt(bytes, at + 32) + "|" + TextAt(bytes, at + 96);
}
template <class Record>
auto Enter(Record record, std::vector<N_ResultRow> rows) {
  ExportData result;
  result.Rows = std::move(rows);
  return record(&result);
}
N_ResultRow Row(std::int32_t athlete, float time, std::int32_t misses = 0) {
  return SetupPagesRig::Row(athlete, time, misses);
}

TEST(TopTimes, EntriesLandInTheBlockOfTheirChoices) {
  SetupPagesRig r;
  N_AthletMng& athletes = r.World().AthletMng();
  ASSERT_TRUE(athletes.GetFemale(2) && athletes.GetMale(5));

  // A pursuit: its time plus the qualification's, one row and nothing else written.
  QualificationTime = 900.0f;
  r.Choose({{"Level1", 5}, {"Weather1", 2}, {"SnowQuality1", 1}, {"Discipline1", 1}, {"Sex1", 1},
            {"Difficulty1", 1}, {"Athlets1", 2}});
  r.TypeName("PlayerName1", "Player One");
  Enter(RecordArcadeHighScore, {Row(0, 1490.0f), Row(2, 1500.0f, 258)});
  std::string file = r.TableFile("arcade.hs");
  ASSERT_EQ(file.size(), 136960u);
  const std::size_t pursuit = (((5 * 2 + 1) * 4 + 1) * 2 + 1) * kBlock;
  const N_AthletProfile& woman = *athletes.GetFemale(2);
  EXPECT_EQ(TimeAt(file, pursuit + 102), 2400.0f);
  EXPECT_EQ(NamesAt(file, pursuit), "Player One|" + woman.AthletName.substr(0, 63) + "|" + woman.Nationality.substr(0, 3));
  EXPECT_EQ(std::vector<int>({file[pursuit + 100], file[pursuit + 101], file[pursuit + 106]}),
            std::vector<int>({2, 1, 2}))
      << "weather, snow, the misses' low byte";
  file.replace(pursuit, kRow, kRow, '\0');
  EXPECT_EQ(file, std::string(file.size(), '\0'));

  // A relay of the team's nation, twice with an empty name: the default name, so the
  // first row is no empty slot for the second to overwrite.
  RelayTeam = {4, 1, 2, 3};
  r.Choose({{"Level1", 0}, {"Discipline1", 3}, {"Sex1", 0}, {"Difficulty1", 0}});
  r.TypeName("PlayerName1", "");
  Enter(RecordArcadeHighScore, {Row(9, 3000.0f), Row(4, 3100.0f)});
  Enter(RecordArcadeHighScore, {Row(4, 3050.0f)});
  file = r.TableFile("arcade.hs");
  const std::string relayNames = r.strings.Find("#str021") + "||" + athletes.GetMale(4)->Nationality.substr(0, 3);
  for (const std::size_t slot : {0, 1}) EXPECT_EQ(NamesAt(file, 6 * kBlock + slot * kRow), relayNames) << slot;
  EXPECT_EQ(TimeAt(file, 6 * kBlock + 102), 3050.0f);
  EXPECT_EQ(TimeAt(file, 6 * kBlock + kRow + 102), 3100.0f);

  // A single race: its own table, the arcade's untouched.
  r.Choose({{"Level3", 9}, {"Discipline3", 2}, {"Sex3", 0}, {"Difficulty3", 1}, {"Athlets3", 5}});
  r.TypeName("PlayerName3", "Third");
  Enter(RecordSingleRaceHighScore, {Row(5, 700.25f)});
  EXPECT_EQ(r.TableFile("arcade.hs"), file);
  const std::string single = r.TableFile("single_race.hs");
  ASSERT_EQ(single.size(), 171200u);
  EXPECT_EQ(TimeAt(single, (((9 * 2 + 0) * 4 + 2) * 2 + 1) * kBlock + 102), 700.25f);

  // The time attack: the first row in block 45, a record only when faster than all.
  r.Choose({{"Level2", 2}, {"TrackLength", 1}, {"Sex2", 1}, {"GameMode", 0}, {"Difficulty2", 1}, {"Athlets2", 0}});
  for (const auto& [time, best] : {std::pair{500.0f, true}, {450.0f, true}, {450.0f, false}, {600.0f, false}}) {
    EXPECT_EQ(Enter(RecordTimeAttackHighScore, {Row(0, time, 3), Row(1, 1.0f)}), best) << time;
  }
  const std::string attack = r.TableFile("time_attack.hs");
  ASSERT_EQ(attack.size(), 168000u);
  std::vector<float> times;
  for (std::size_t slot = 0; slot < 5; ++slot) times.push_back(TimeAt(attack, 47250 + slot * 105 + 100));
  EXPECT_EQ(times, (std::vector<float>{450.0f, 450.0f, 500.0f, 600.0f, 0.0f}));
  EXPECT_EQ(attack[47250 + 104], 3);
}

TEST(TopTimes, RefusedEntriesWriteNothingButKeepTheName) {
  SetupPagesRig r;
  r.Choose({{"Athlets1", 0}, {"Athlets2", 0}, {"Athlets3", 0}});
  r.TypeName("PlayerName1", "One");
  r.TypeName("PlayerName2", "Two");
  r.TypeName("PlayerName3", "Three");
  for (const float time : {-1.0f, 0.0f}) {
    Enter(RecordArcadeHighScore, {Row(0, time)});
    Enter(RecordSingleRaceHighScore, {Row(0, time)});
    EXPECT_FALSE(Enter(RecordTimeAttackHighScore, {Row(0, time)}));
  }
  // A relay without a team, a team whose athlete has no record.
  r.Choose({{"Discipline1", 3}});
  RelayTeam.clear();
  Enter(RecordArcadeHighScore, {Row(0, 10.0f)});
  RelayTeam = {100000};
  Enter(RecordArcadeHighScore, {Row(100000, 10.0f)});
  for (const char* file : {"arcade.hs", "single_race.hs", "time_attack.hs"}) EXPECT_EQ(r.TableFile(file), "") << file;
  EXPECT_EQ(std::string(r.Vars().GetString("PlayerName1")) + r.Vars().GetString("PlayerName2") +
                r.Vars().GetString("PlayerName3"),
            "OneTwoThree");

  // A table that cannot be read (a folder in its place) or is damaged (a row with a time
  // of nan) takes no entry and stays as it is, said once: it used to be replaced by a
  // table holding the new row alone.
  r.Choose({{"Discipline1", 0}});
  const std::string& root = r.rig.harness.dir.Path();
  for (const bool folder : {true, false}) {
    // A named row with a time of nan: the first of a top-time table, the third of the
    // time attack's (105-byte rows, the time at 100).
    std::string damaged(kBlock, '\0');
    damaged[0] = damaged[210] = 'X';
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(&damaged[102], &nan, 4);
    std::memcpy(&damaged[310], &nan, 4);
    for (const char* file : {"arcade.hs", "single_race.hs", "time_attack.hs"}) {
      std::filesystem::remove_all(root + "/data/tables/" + file);
      r.rig.harness.dir.Write(std::string("data/tables/") + file + (folder ? "/x" : ""), damaged);
    }
    r.NewLog();
    Enter(RecordArcadeHighScore, {Row(0, 10.0f)});
    Enter(RecordSingleRaceHighScore, {Row(0, 10.0f)});
    EXPECT_FALSE(Enter(RecordTimeAttackHighScore, {Row(0, 10.0f)}));
    const std::string log = r.NewLog();
    for (const char* file : {"arcade.hs", "single_race.hs", "time_attack.hs"}) {
      EXPECT_TRUE(r.TableFile(file) == (folder ? "" : damaged)) << file;
      EXPECT_EQ(std::filesystem::is_directory(root + "/data/tables/" + file), folder) << file;
      const std::string said =
          std::string("!!! data\\tables\\") + file + (folder ? " cannot be read (" : " is damaged (");
      EXPECT_NE(log.find(said), std::string::npos) << log;
    }
  }
}

/// An arcade file whose block 0 holds these (player name, time) rows, slot by slot.
std::string ArcadeFileWith(const std::vector<std::pair<std::string, float>>& slots) {
  std::string bytes(N_ArcadeHS::kFileBytes, '\0');
  for (std::size_t i = 0; i < slots.size(); ++i) {
    slots[i].first.copy(&bytes[i * kRow], slots[i].first.size());
    std::memcpy(&bytes[i * kRow + 102], &slots[i].second, 4);
  }
  return bytes;
}

TEST(TopTimeTables, MergeKeepsTheBestTenOnceEachAndBoundsNamesAndIndices) {
  test::TempDir dir;
  test::CoreServices core;
  dir.Write("data/tables/arcade.hs", ArcadeFileWith({{"A", 100.0f}, {"", 0.0f}, {"C", 300.0f}, {"D", 200.0f}}));
  N_ArcadeHS table;
  ASSERT_EQ(table.Load(), TableFile::Read);
  auto names = [&](std::size_t block) {
    std::string all;
    for (std::size_t slot = 0; slot < 10; ++slot) all += top_times::FieldText(table.At(block, slot).PlayerName, 32) + ",";
    return all;
  };
  // A gap in the loaded block: each row once, ranked, the rest cleared.
  table.Insert(0, 0, 0, 0, "B", "", "", 0, 0, 150.0f, 0);
  EXPECT_EQ(names(0), "A,B,D,C,,,,,,,");
  // A full block: a slower eleventh and a NaN change nothing.
  for (int i = 0; i < 6; ++i) table.Insert(0, 0, 0, 0, "F", "", "", 0, 0, 400.0f + float(i), 0);
  const std::string full = table.Bytes();
  table.Insert(0, 0, 0, 0, "slow", "", "", 0, 0, 999.0f, 0);
  table.Insert(0, 0, 0, 0, "nan", "", "", 0, 0, std::numeric_limits<float>::quiet_NaN(), 0);
  EXPECT_EQ(table.Bytes(), full);

  // Names cut to their fields and terminated.
  table.Insert(1, 1, 1, 1, std::string(40, 'p'), std::string(127, 'a'), "NORW", 1, 2, 1.0f, 300);
  const N_TopTimeRow& cut = table.At(std::size_t(N_ArcadeHS::BlockIndex(1, 1, 1, 1)), 0);
  EXPECT_EQ(top_times::FieldText(cut.PlayerName, 32), std::string(31, 'p'));
  EXPECT_EQ(top_times::FieldText(cut.AthleteName, 64), std::string(63, 'a'));
  EXPECT_EQ(top_times::FieldText(cut.Nation, 4), "NOR");

  // Blocks outside the table: refused, one log line each.
  const std::size_t logged = core.LogText().size();
  const std::string before = table.Bytes();
  for (const auto& [track, sex, discipline] : {std::tuple{8, 0, 0}, {0, 2, 0}, {0, 0, -1}}) {
    table.Insert(track, sex, discipline, 0, "x", "", "", 0, 0, 1.0f, 0);
  }
  EXPECT_FALSE(N_TimeAttackHS().Insert(0, 0, 0, 0, 2, "x", "", "", 1.0f, 0));
  const std::string log = core.LogText().substr(logged);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << log;
  EXPECT_EQ(table.Bytes(), before);
}

/// Deterministic bytes, zeros now and then, so that some names end and some do not.
std::string Garbage(std::uint32_t seed, std::size_t size) {
  std::string out(size, '\0');
  for (char& c : out) {
    seed = seed * 1664525u + 1013904223u;
    c = (seed >> 24) % 7 == 0 ? '\0' : static_cast<char>(seed >> 16);
  }
  return out;
}

std::vector<std::string> TableFolder(const test::TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path() + "/data/tables")) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

template <class Table, class Insert>
void SurvivesGarbage(const test::TempDir& dir, const test::CoreServices& core, const std::string& file,
                     Insert insert) {
  const std::size_t size = Table::kFileBytes;
  std::vector<std::size_t> lengths = {0, 1, Table::kBlockBytes / 10, Table::kBlockBytes, size - 1, size, size + 1,
                                      2 * size};
  for (std::uint32_t i = 1; i <= 100; ++i) lengths.push_back((i * 2654435761u) % (2 * size + 1));
  for (const std::size_t length : lengths) {
    const std::string garbage = Garbage(std::uint32_t(length) + 1, length);
    dir.Write("data/tables/" + file, garbage);
    Table table;
    const std::size_t logged = core.LogText().size();
    const TableFile state = table.Load();
    // Rows of garbage (times that are no number or beyond a day, weather above 2) are
    // found at the load: said once, the table left as it is for every insert.
    if (length >= Table::kBlockBytes) {
      ASSERT_EQ(state, TableFile::Damaged) << length;
    }
    ASSERT_NE(state, TableFile::Unreadable) << length;
    const std::string said = core.LogText().substr(logged);
    const bool toldDamaged = said.find("!!! data\\tables\\" + file + " is damaged (") != std::string::npos;
    EXPECT_EQ(toldDamaged, state == TableFile::Damaged) << said;
    const std::string bytes = table.Bytes();
    for (std::size_t row = 0; (row + 1) * Table::RowType::kBytes <= std::min(length, size); ++row) {
      const std::string got = bytes.substr(row * Table::RowType::kBytes, Table::RowType::kBytes);
      const std::string had = garbage.substr(row * Table::RowType::kBytes, Table::RowType::kBytes);
      if (got != had) {
        EXPECT_EQ(got, std::string(Table::RowType::kBytes, '\0')) << length << " row " << row;
      }
    }
    if (!TakesEntries(state)) continue;
    insert(table);
    ASSERT_TRUE(table.Save()) << length;
    EXPECT_EQ(dir.Read("data/tables/" + file).size(), size);
    EXPECT_EQ(TableFolder(dir), std::vector<std::string>{file}) << "no temporary file left";
  }
  std::filesystem::remove(dir.Path() + "/data/tables/" + file);
}

TEST(TopTimeTables, GarbageFilesAreFoundAtTheLoadAndTakeNoEntry) {
  // Tables of garbage rows used to be taken as they were, and saved back after an insert.
  test::TempDir dir;
  test::CoreServices core;
  auto race = [](auto& table) { table.Insert(1, 1, 2, 1, "player", "athlete", "GER", 1, 2, 12.5f, 1); };
  SurvivesGarbage<N_ArcadeHS>(dir, core, "arcade.hs", race);
  SurvivesGarbage<N_SingleRaceHS>(dir, core, "single_race.hs", race);
  SurvivesGarbage<N_TimeAttackHS>(dir, core, "time_attack.hs", [](N_TimeAttackHS& table) {
    table.Insert(1, 1, 0, 1, 0, "player", "athlete", "GER", 12.5f, 1);
  });
}

TEST(TopTimeTables, AFailedSaveIsLoggedOnceAndLeavesTheOldFile) {
  test::TempDir dir;
  test::CoreServices core;
  const std::string old = Garbage(3, 5000);
  dir.Write("data/tables/time_attack.hs", old);
  for (const auto failing : {platform::ReplaceStep::Open, platform::ReplaceStep::Write, platform::ReplaceStep::Close}) {
    platform::SetReplaceFailureHook([failing](platform::ReplaceStep step) { return step == failing; });
    N_TimeAttackHS table;
    table.Insert(0, 0, 0, 0, 0, "p", "a", "GER", 1.0f, 0);
    const std::size_t logged = core.LogText().size();
    EXPECT_FALSE(table.Save());
    const std::string log = core.LogText().substr(logged);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(dir.Read("data/tables/time_attack.hs"), old);
    EXPECT_EQ(TableFolder(dir), std::vector<std::string>{"time_attack.hs"});
  }
  platform::SetReplaceFailureHook({});
}

}  // namespace
