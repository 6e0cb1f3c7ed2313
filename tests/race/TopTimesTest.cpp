// The top-times entries of finished races read back from the written table files (the
// block and row a choice lands in, the pursuit's added qualification, the relay's team
// nation, the refused times, the time attack's record answer, the default player name),
// the tables' merge and bounds, and the table files filled with garbage, saved whole or
// not at all.
#include "race/TopTimeEntries.h"
#include "race/TopTimeTables.h"

#include "core/StringTable.h"
#include "platform/win32/FileReplace.h"
#include "race/AthletMng.h"
#include "race/AthletProfile.h"
#include "race/PursuitStart.h"
#include "race/RelayTeam.h"
#include "tests/race/SetupPagesRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <type_traits>
#include <string>
#include <vector>

namespace {

using test::SetupPagesRig;

float TimeAt(const std::string& bytes, std::size_t at) {
  float time;
  std::memcpy(&time, bytes.data() + at, 4);
  return time;
}

/// The zero-terminated text of a field at the offset.
std::string TextAt(const std::string& bytes, std::size_t at) { return std::string(bytes.c_str() + at); }

constexpr std::size_t kTopRow = N_TopTimeRow::kBytes;
constexpr std::size_t kTopBlock = N_ArcadeHS::kBlockBytes;
constexpr std::size_t kAttackRow = N_TimeAttackRow::kBytes;

TEST(TopTimes, RaceEntriesLandInTheirBlockWithTheirTimeAndNation) {
  SetupPagesRig r;
  N_AthletMng& athletes = r.World().AthletMng();
  ASSERT_GT(athletes.GetFemaleCount(), 2u);

  // An arcade pursuit: the pursuit's time plus the qualification's.
  QualificationTime = 900.0f;
  r.Choose({{"Level1", 5}, {"Weather1", 2}, {"SnowQuality1", 1}, {"Discipline1", 1}, {"Sex1", 1},
            {"Difficulty1", 1}, {"Athlets1", 2}});
  r.TypeName("PlayerName1", "Player One");
  ExportData pursuit;
  pursuit.Rows = {SetupPagesRig::Row(0, 1490.0f), SetupPagesRig::Row(2, 1500.0f, 258)};
  RecordArcadeHighScore(&pursuit);
  std::string file = r.TableFile("arcade.hs");
  ASSERT_EQ(file.size(), 136960u);
  std::size_t row = (((5 * 2 + 1) * 4 + 1) * 2 + 1) * kTopBlock;
  const N_AthletProfile& woman = *athletes.GetFemale(2);
  EXPECT_EQ(TimeAt(file, row + 102), 2400.0f);
  EXPECT_EQ(TextAt(file, row), "Player One");
  EXPECT_EQ(TextAt(file, row + 32), woman.AthletName.substr(0, 63));
  EXPECT_EQ(TextAt(file, row + 96), woman.Nationality.substr(0, 3));
  EXPECT_EQ(std::vector<int>({file[row + 100], file[row + 101], file[row + 106]}), std::vector<int>({2, 1, 2}))
      << "weather, snow and the misses' low byte";
  std::string others = file;
  others.replace(row, kTopRow, kTopRow, '\0');
  EXPECT_EQ(others, std::string(file.size(), '\0')) << "one row written, nothing else";

  // A relay: no athlete name, the nation of the team's first member.
  RelayTeam = {4, 1, 2, 3};
  r.Choose({{"Level1", 0}, {"Discipline1", 3}, {"Sex1", 0}, {"Difficulty1", 0}});
  ExportData relay;
  relay.Rows = {SetupPagesRig::Row(9, 3000.0f), SetupPagesRig::Row(4, 3100.0f)};
  RecordArcadeHighScore(&relay);
  file = r.TableFile("arcade.hs");
  row = ((0 * 2 + 0) * 4 + 3) * 2 * kTopBlock;
  EXPECT_EQ(TimeAt(file, row + 102), 3100.0f);
  EXPECT_EQ(TextAt(file, row + 32), "");
  EXPECT_EQ(TextAt(file, row + 96), athletes.GetMale(4)->Nationality.substr(0, 3));

  // A single race goes to its own table only.
  const std::string arcade = file;
  r.Choose({{"Level3", 9}, {"Weather3", 0}, {"SnowQuality3", 0}, {"Discipline3", 2}, {"Sex3", 0},
            {"Difficulty3", 1}, {"Athlets3", 5}});
  r.TypeName("PlayerName3", "Third");
  ExportData single;
  single.Rows = {SetupPagesRig::Row(5, 700.25f)};
  RecordSingleRaceHighScore(&single);
  file = r.TableFile("single_race.hs");
  ASSERT_EQ(file.size(), 171200u);
  row = ((9 * 2 + 0) * 4 + 2) * 2 * kTopBlock + kTopBlock;
  EXPECT_EQ(TimeAt(file, row + 102), 700.25f);
  EXPECT_EQ(TextAt(file, row), "Third");
  EXPECT_EQ(r.TableFile("arcade.hs"), arcade);
}

TEST(TopTimes, RefusedTimesEnterNothingButTheNameIsKept) {
  SetupPagesRig r;
  r.Choose({{"Athlets1", 0}, {"Athlets2", 0}, {"Athlets3", 0}});
  struct Case {
    const char* box;
    const char* file;
    float time;
  };
  for (const Case c : {Case{"PlayerName1", "arcade.hs", -1.0f}, Case{"PlayerName3", "single_race.hs", -1.0f},
                       Case{"PlayerName2", "time_attack.hs", -1.0f}, Case{"PlayerName1", "arcade.hs", 0.0f}}) {
    SCOPED_TRACE(std::string(c.box) + " " + std::to_string(c.time));
    const std::string name = std::string("Name of ") + c.box;
    r.TypeName(c.box, name);
    ExportData result;
    result.Rows = {SetupPagesRig::Row(0, c.time)};
    if (std::string(c.box) == "PlayerName1") RecordArcadeHighScore(&result);
    if (std::string(c.box) == "PlayerName3") RecordSingleRaceHighScore(&result);
    if (std::string(c.box) == "PlayerName2") {
      EXPECT_FALSE(RecordTimeAttackHighScore(&result));
    }
    EXPECT_EQ(r.TableFile(c.file), "");
    EXPECT_STREQ(r.Vars().GetString(c.box), name.c_str());
  }
  // A relay without a team, or a row whose athlete has no record: nothing either.
  RelayTeam.clear();
  ExportData result;
  result.Rows = {SetupPagesRig::Row(100000, 10.0f), SetupPagesRig::Row(7, 10.0f)};
  r.Choose({{"Discipline1", 3}});
  RecordArcadeHighScore(&result);
  RelayTeam = {100000};
  RecordArcadeHighScore(&result);
  EXPECT_EQ(r.TableFile("arcade.hs"), "");
}

TEST(TopTimes, TimeAttackAnswersANewBestOfItsBlock) {
  SetupPagesRig r;
  r.Choose({{"Level2", 2}, {"TrackLength", 1}, {"Sex2", 1}, {"GameMode", 0}, {"Difficulty2", 1}, {"Athlets2", 0}});
  r.TypeName("PlayerName2", "Attacker");
  struct Case {
    float time;
    bool best;
  };
  for (const Case c : {Case{500.0f, true}, Case{450.0f, true}, Case{450.0f, false}, Case{600.0f, false}}) {
    ExportData result;
    result.Rows = {SetupPagesRig::Row(0, c.time, 3)};
    EXPECT_EQ(RecordTimeAttackHighScore(&result), c.best) << c.time;
  }
  const std::string file = r.TableFile("time_attack.hs");
  ASSERT_EQ(file.size(), 168000u);
  const std::size_t block = 47250;
  ASSERT_EQ(block, std::size_t((((2 * 2 + 1) * 2 + 1) * 2 + 0) * 2 + 1) * N_TimeAttackHS::kBlockBytes);
  std::vector<float> times;
  for (std::size_t slot = 0; slot < 5; ++slot) times.push_back(TimeAt(file, block + slot * kAttackRow + 100));
  EXPECT_EQ(times, (std::vector<float>{450.0f, 450.0f, 500.0f, 600.0f, 0.0f}));
  EXPECT_EQ(file[block + 104], 3);
  EXPECT_EQ(TextAt(file, block), "Attacker");
  EXPECT_EQ(TextAt(file, block + 32), r.World().AthletMng().GetFemale(0)->AthletName.substr(0, 63));
}

TEST(TopTimes, AnEmptyPlayerNameIsTheDefaultNameAndNoEmptySlot) {
  SetupPagesRig r;
  const std::string defaultName = r.strings.Find("#str021");
  ASSERT_FALSE(defaultName.empty());
  r.Choose({{"Level1", 0}, {"Discipline1", 0}, {"Sex1", 0}, {"Difficulty1", 0}, {"Athlets1", 1}});
  r.TypeName("PlayerName1", "");
  for (const float time : {200.0f, 100.0f}) {
    ExportData result;
    result.Rows = {SetupPagesRig::Row(1, time)};
    RecordArcadeHighScore(&result);
  }
  const std::string file = r.TableFile("arcade.hs");
  EXPECT_EQ(TextAt(file, 0), defaultName.substr(0, 31));
  EXPECT_EQ(TextAt(file, kTopRow), defaultName.substr(0, 31));
  EXPECT_EQ(TimeAt(file, 102), 100.0f);
  EXPECT_EQ(TimeAt(file, kTopRow + 102), 200.0f) << "the first entry was not overwritten";
}

/// A block of the arcade table written straight into the file: (player name, time) per slot.
std::string ArcadeFileWith(const std::vector<std::pair<std::string, float>>& slots) {
  std::string bytes(N_ArcadeHS::kFileBytes, '\0');
  for (std::size_t i = 0; i < slots.size(); ++i) {
    std::memcpy(&bytes[i * kTopRow], slots[i].first.data(), slots[i].first.size());
    std::memcpy(&bytes[i * kTopRow + 102], &slots[i].second, 4);
  }
  return bytes;
}

TEST(TopTimeTables, MergeKeepsTheBestTenOnceEachAndBoundsNamesAndIndices) {
  test::TempDir dir;
  test::CoreServices core;
  dir.Write("data/tables/arcade.hs", ArcadeFileWith({{"A", 100.0f}, {"", 0.0f}, {"C", 300.0f}, {"D", 200.0f}}));

  // A gap in a loaded block: each row once, in order, the rest cleared.
  N_ArcadeHS table;
  ASSERT_TRUE(table.Load());
  table.Insert(0, 0, 0, 0, "B", "", "", 0, 0, 150.0f, 0);
  std::vector<std::string> names;
  for (std::size_t slot = 0; slot < 10; ++slot) names.push_back(top_times::FieldText(table.At(0, slot).PlayerName, 32));
  EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "D", "C", "", "", "", "", "", ""}));

  // A full block: an eleventh, slower time changes nothing; a NaN is refused.
  for (int i = 0; i < 6; ++i) table.Insert(0, 0, 0, 0, "F", "", "", 0, 0, 400.0f + float(i), 0);
  const std::string full = table.Bytes();
  table.Insert(0, 0, 0, 0, "slow", "", "", 0, 0, 999.0f, 0);
  table.Insert(0, 0, 0, 0, "nan", "", "", 0, 0, std::numeric_limits<float>::quiet_NaN(), 0);
  EXPECT_EQ(table.Bytes(), full);

  // Names cut to their fields and terminated.
  table.Insert(1, 1, 1, 1, std::string(40, 'p'), std::string(127, 'a'), "NORW", 1, 2, 1.0f, 300);
  const std::size_t block = N_ArcadeHS::BlockIndex(1, 1, 1, 1);
  const N_TopTimeRow& cut = table.At(block, 0);
  EXPECT_EQ(top_times::FieldText(cut.PlayerName, 32), std::string(31, 'p'));
  EXPECT_EQ(top_times::FieldText(cut.AthleteName, 64), std::string(63, 'a'));
  EXPECT_EQ(top_times::FieldText(cut.Nation, 4), "NOR");
  EXPECT_EQ(cut.Misses, 300 & 0xff);

  // Blocks outside the table: refused, one log line each.
  const std::size_t logged = core.LogText().size();
  const std::string before = table.Bytes();
  table.Insert(8, 0, 0, 0, "x", "", "", 0, 0, 1.0f, 0);
  table.Insert(0, 2, 0, 0, "x", "", "", 0, 0, 1.0f, 0);
  table.Insert(0, 0, -1, 0, "x", "", "", 0, 0, 1.0f, 0);
  N_TimeAttackHS attack;
  EXPECT_FALSE(attack.Insert(0, 0, 0, 0, 2, "x", "", "", 1.0f, 0));
  const std::string log = core.LogText().substr(logged);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << log;
  EXPECT_EQ(table.Bytes(), before);
}

/// Deterministic bytes: zeros now and then, so that some names end and some do not.
std::string Garbage(std::uint32_t seed, std::size_t size) {
  std::string out(size, '\0');
  for (char& c : out) {
    seed = seed * 1664525u + 1013904223u;
    c = (seed >> 24) % 7 == 0 ? '\0' : static_cast<char>(seed >> 16);
  }
  return out;
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  return names;
}

template <class Table>
void SurvivesGarbage(const test::TempDir& dir, const std::string& file) {
  const std::size_t size = Table::kFileBytes;
  std::vector<std::size_t> lengths = {0, 1, Table::kBlockBytes / 10, Table::kBlockBytes, size - 1, size, size + 1,
                                      2 * size};
  std::uint32_t seed = 7;
  for (int i = 0; i < 100; ++i) {
    seed = seed * 1664525u + 1013904223u;
    lengths.push_back(seed % (2 * size + 1));
  }
  for (const std::size_t length : lengths) {
    SCOPED_TRACE(length);
    const std::string garbage = Garbage(std::uint32_t(length) + 1, length);
    dir.Write("data/tables/" + file, garbage);
    Table table;
    ASSERT_TRUE(table.Load());
    // The bytes read stand where the file had them; a longer file is cut at the size.
    ASSERT_EQ(table.Bytes().substr(0, std::min(length, size)), garbage.substr(0, std::min(length, size)));
    if constexpr (std::is_same_v<Table, N_TimeAttackHS>) {
      table.Insert(1, 1, 0, 1, 0, "player", "athlete", "GER", 12.5f, 1);
    } else {
      table.Insert(1, 1, 2, 1, "player", "athlete", "GER", 1, 2, 12.5f, 1);
    }
    ASSERT_TRUE(table.Save());
    EXPECT_EQ(dir.Read("data/tables/" + file).size(), size);
    EXPECT_EQ(FolderNames(dir.Path() + "/data/tables"), std::vector<std::string>{file}) << "no temporary file left";
  }
}

TEST(TopTimeTables, GarbageFilesLoadTakeInsertsAndSaveWhole) {
  test::TempDir dir;
  test::CoreServices core;
  SurvivesGarbage<N_ArcadeHS>(dir, "arcade.hs");
  std::filesystem::remove(dir.Path() + "/data/tables/arcade.hs");
  SurvivesGarbage<N_SingleRaceHS>(dir, "single_race.hs");
  std::filesystem::remove(dir.Path() + "/data/tables/single_race.hs");
  SurvivesGarbage<N_TimeAttackHS>(dir, "time_attack.hs");
}

TEST(TopTimeTables, AFailedSaveIsLoggedOnceAndLeavesTheOldFile) {
  test::TempDir dir;
  test::CoreServices core;
  const std::string old = Garbage(3, 5000);
  dir.Write("data/tables/time_attack.hs", old);
  for (const platform::ReplaceStep failing :
       {platform::ReplaceStep::Open, platform::ReplaceStep::Write, platform::ReplaceStep::Close}) {
    platform::SetReplaceFailureHook([failing](platform::ReplaceStep step) { return step == failing; });
    N_TimeAttackHS table;
    table.Insert(0, 0, 0, 0, 0, "p", "a", "GER", 1.0f, 0);
    const std::size_t logged = core.LogText().size();
    EXPECT_FALSE(table.Save());
    const std::string log = core.LogText().substr(logged);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(dir.Read("data/tables/time_attack.hs"), old);
    EXPECT_EQ(FolderNames(dir.Path() + "/data/tables"), std::vector<std::string>{"time_attack.hs"});
  }
  platform::SetReplaceFailureHook({});
}

}  // namespace
