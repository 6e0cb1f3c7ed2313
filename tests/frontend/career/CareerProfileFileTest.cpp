// The career profile file: its bytes field by field, the week plan it saves, what a
// load takes from it (and checks), and the slot's companion files a reset deletes.
// Over the race pages' test world (texts, athletes, pages) in a temporary game root:
// one game root per test case.
#include "frontend/career/CareerProfileFile.h"

#include "frontend/HighScoreRows.h"
#include "frontend/FrontendUtil.h"
#include "frontend/career/CareerState.h"
#include "tests/race/RacePagesRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

namespace {

using high_scores::GetF32;
using high_scores::GetI32;
using high_scores::PutF32;
using high_scores::PutI32;

/// The race pages' game root has no tables folder; the game's root always has one.
void MakeTables(test::RacePagesRig& r) { r.rig.harness.dir.Write("data/tables/.keep", ""); }

std::string FileBytes(const N_CareerProfile& profile, std::uint32_t version = career::kProfileVersion) {
  std::string bytes(4, '\0');
  PutI32(bytes.data(), static_cast<std::int32_t>(version));
  return bytes + career::EncodeProfile(profile);
}

std::string Read(test::RacePagesRig& r, std::int32_t slot) {
  return r.rig.harness.dir.Read("data/tables/profile" + std::to_string(slot) + ".dat");
}

/// A profile whose every field holds a value of its own, all within the load's ranges.
N_CareerProfile Distinct() {
  N_CareerProfile p;
  p.number = 2;
  float f = 41.0f;
  for (float* v : {&p.maxHearth, &p.maxCondition, &p.maxPower, &p.maxConcentration, &p.maxFightGhost, &p.maxCoolness,
                   &p.hearth, &p.condition, &p.power, &p.concentration, &p.fightGhost, &p.coolness, &p.runTech,
                   &p.shootTech, &p.handlTech})
    *v = f += 1.25f;
  p.freshness = 77.5f;
  std::strcpy(p.name, "Ada Quill");
  std::strcpy(p.nation, "NOR");
  p.sex = 1;
  p.athleteIndex = 5;
  p.difficulty = 1;
  p.account = 123456;
  p.points = 77;
  p.season = 4;
  p.raceIndex = 6;
  p.weekChoicesBought = 2;
  p.stage = 1;
  p.started = 1;
  p.finished = 0;
  for (int i = 0; i < 15; ++i) p.field[i] = 14 - i;
  for (int i = 0; i < 10; ++i) p.trackOrder[i] = (i * 3) % 10;
  p.extraRaces[0] = 2;
  p.extraRaces[1] = 7;
  p.pursuitCount = 3;
  for (int i = 0; i < 15; ++i) p.pursuitList[i] = {i, -2.5f * static_cast<float>(i)};
  for (int d = 0; d < 5; ++d)
    for (int s = 0; s < 4; ++s) p.schedule[d][s] = s <= d % 4 ? (d + s) % 8 : -1;
  p.sponsorEvent = 3;
  p.sponsorPrize = 1700;
  p.carCost = 290;
  p.trainCost = 220;
  p.planeCost = 990;
  p.hotel = 2;
  p.weekChoice = 1;
  return p;
}

bool SameRecord(const N_CareerProfile& a, const N_CareerProfile& b) {
  return career::EncodeProfile(a) == career::EncodeProfile(b);
}

// A new profile of slot 3 on disk: the version word, the defaults at their offsets,
// the padding as zeros and an empty week plan; every field lands at its offset.
TEST(CareerProfileFile, NewProfileBytesAndFieldOffsets) {
  test::RacePagesRig r;
  MakeTables(r);
  career::Week() = CareerWeekState{};
  N_CareerProfile profile;
  profile.number = 3;
  profile.padding[0] = profile.padding[1] = 0xAB;  // whatever lies there, the file holds zeros
  ASSERT_TRUE(career::SaveCareerProfile(profile));
  const std::string bytes = Read(r, 3);
  ASSERT_EQ(bytes.size(), 488u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x09\x01\x00\x00", 4));
  EXPECT_EQ(GetI32(&bytes[120]), 1000);
  EXPECT_EQ(bytes.substr(104, 4), std::string("GER\0", 4));
  EXPECT_EQ(std::string(&bytes[72]), "Player");
  EXPECT_EQ(bytes.substr(146, 2), std::string(2, '\0'));
  for (std::size_t at = 380; at < 460; at += 4) EXPECT_EQ(GetI32(&bytes[at]), -1) << at;

  // File offsets of the record's fields (the record's offset plus the version word).
  const N_CareerProfile p = Distinct();
  const std::string file = FileBytes(p);
  struct At {
    std::size_t offset;
    double value;
    bool isFloat;
  };
  const At fields[] = {
      {4, 2, false},        {8, p.maxHearth, true},  {32, p.hearth, true},        {56, p.runTech, true},
      {64, p.handlTech, true}, {68, 77.5, true},     {108, 1, false},             {112, 5, false},
      {116, 1, false},      {120, 123456, false},   {124, 77, false},            {128, 4, false},
      {132, 6, false},      {136, 2, false},         {140, 1, false},             {148, 14, false},
      {204, 0, false},      {208, 0, false},         {212, 3, false},             {248, 2, false},
      {252, 7, false},      {256, 3, false},         {260 + 14 * 8, 14, false},   {264 + 14 * 8, -35.0, true},
      {380, 0, false},      {456, -1, false},        {460, 3, false},             {464, 1700, false},
      {468, 290, false},    {472, 220, false},       {476, 990, false},           {480, 2, false},
      {484, 1, false},
  };
  for (const At& at : fields) {
    const double got = at.isFloat ? GetF32(&file[at.offset]) : GetI32(&file[at.offset]);
    EXPECT_EQ(got, at.value) << "file offset " << at.offset;
  }
  EXPECT_EQ(static_cast<std::uint8_t>(file[145]), 0);  // finished
  EXPECT_EQ(file.substr(72, 10), std::string("Ada Quill\0", 10));
}

// The week lists become the schedule: in list order from each day's first slot, at
// most four a day (the rest logged); the event, its prize and the travel costs of the
// week state go with them.
TEST(CareerProfileFile, SaveWritesTheWeekPlan) {
  test::RacePagesRig r;
  MakeTables(r);
  CareerWeekState& week = career::Week();
  week = CareerWeekState{};
  const auto& items = career::ScheduleItems();
  week.days[0] = {items[7], items[2]};
  week.days[4] = {items[0], items[1], items[0], items[1], items[11]};
  week.sponsorEvent = 4;
  week.sponsorPrize = 2100;
  career::ScheduleItems()[9].cost = 400;
  career::ScheduleItems()[10].cost = 300;
  career::ScheduleItems()[11].cost = 200;
  N_CareerProfile profile;
  profile.number = 1;
  r.NewLog();
  ASSERT_TRUE(career::SaveCareerProfile(profile));
  const std::string bytes = Read(r, 1);
  std::vector<std::int32_t> slots;
  for (std::size_t at = 380; at < 460; at += 4) slots.push_back(GetI32(&bytes[at]));
  const std::vector<std::int32_t> expected = {7, 2, -1, -1, -1, -1, -1, -1, -1, -1,
                                              -1, -1, -1, -1, -1, -1, 0, 1, 0, 1};
  EXPECT_EQ(slots, expected);
  EXPECT_NE(r.NewLog().find("not saved"), std::string::npos);
  EXPECT_EQ(GetI32(&bytes[460]), 4);
  EXPECT_EQ(GetI32(&bytes[464]), 2100);
  EXPECT_EQ(GetI32(&bytes[468]), 400);
  EXPECT_EQ(GetI32(&bytes[476]), 200);
  EXPECT_EQ(profile.schedule[4][3], 1);  // the record holds what was saved
  career::ScheduleItems() = career::DefaultScheduleItems();
}

// A slot without a file gives the defaults and deletes the slot's career tables and
// roster, found whatever their case. A file of another version used to be deleted with
// them: now the three are kept aside (".old", then ".old2") and the player told; a file
// too short for a version word or with garbage in it is kept aside the same way, and
// called damaged (it used to be called "of another version"). A file that cannot be
// read (a folder in its place; unreadable to a user), or a journal of the slot's saves
// that cannot be read, used to count as missing and cost the slot its companions: now
// the slot is refused, told naming that file, and nothing of it is deleted or saved over.
// So is a journal of a set of the next week that names a file neither staged nor in
// place, that is cut short, or that names not every staged file of the slot: the rest
// was finished and the unnamed staged files deleted, a week-2 profile beside a week-1
// roster. The box says what to put right.
TEST(CareerProfileFile, MissingForeignDamagedAndUnreadableSlots) {
  test::RacePagesRig r;
  const test::TempDir& dir = r.rig.harness.dir;
  const N_CareerProfile defaults = [] {
    N_CareerProfile d = Distinct();
    d.SetDefaults();
    return d;
  }();
  struct Case {
    const char* what;
    std::string file;      ///< the profile's bytes, empty: none
    career::SlotLoad found;
    const char* aside;     ///< the suffix of the kept files, null: none
    const char* said;      ///< what the box says, null: no box
    const char* folder = nullptr;  ///< a folder in the place of this file of data/tables
    const char* journal = nullptr;  ///< the lines of the slot's journal
    bool staged = false;  ///< a set's new profile and roster staged beside the files
  };
  const std::string kept = ". The career is left as it was. To play it, put right or remove this journal and the "
                           "files staged beside it in data\\tables: .profile2.dat.together, .PROFILE2.together.";
  const std::string notThere = "was refused (a line names PRAFILE2, neither staged nor in place)" + kept;
  const Case cases[] = {
      {"no file", "", career::SlotLoad::New, nullptr, nullptr},
      {"version 264", FileBytes(Distinct(), 264), career::SlotLoad::New, ".old",
       "data\\tables\\profile2.dat is of another version: its career is kept as data\\tables\\profile2.dat.old "},
      {"version 266", FileBytes(Distinct(), 266), career::SlotLoad::New, ".old2", "profile2.dat is of another version"},
      {"three bytes", std::string("\x09\x01\x00", 3), career::SlotLoad::New, ".old3",
       "data\\tables\\profile2.dat is damaged (3 bytes, too short for a version): its career is kept as"},
      {"garbage", std::string(488, '\xEE'), career::SlotLoad::New, ".old4",
       "profile2.dat is damaged (its version word 4008636142 is no version)"},
      {"a folder", "", career::SlotLoad::Refused, nullptr, "data\\tables\\profile2.dat cannot be read (",
       "profile2.dat"},
      {"a folder as the journal", FileBytes(Distinct()), career::SlotLoad::Refused, nullptr,
       "was refused (a folder, not a file)", ".career2.set"},
      {"a journal with a line refused", FileBytes(Distinct()), career::SlotLoad::Refused, nullptr,
       "data\\tables\\.career2.set, the journal of an unfinished save, was refused (a line names no file", nullptr,
       "profile2.dat\n../x\nend 2\n"},
      {"a journal naming a file not there", FileBytes(Distinct()), career::SlotLoad::Refused, nullptr,
       notThere.c_str(), nullptr, "profile2.dat\nPRAFILE2\nend 2\n", true},
      {"a journal cut after its first line", FileBytes(Distinct()), career::SlotLoad::Refused, nullptr,
       "was refused (the end line that counts its files is missing). The career is left as it was",
       nullptr, "profile2.dat\n", true},
      {"a journal naming not every staged file", FileBytes(Distinct()), career::SlotLoad::Refused, nullptr,
       "was refused (.PROFILE2.together is staged but named in no line)", nullptr,
       "profile2.dat\nend 1\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(dir.Path() + "/data/tables/profile2.dat");
    for (const char* file : {".career2.set", ".profile2.dat.together", ".PROFILE2.together"})
      std::filesystem::remove_all(dir.Path() + "/data/tables/" + file);
    if (c.journal) dir.Write("data/tables/.career2.set", c.journal);
    const std::string staged = c.staged ? FileBytes(N_CareerProfile{}) + "roster 2" : "";
    if (c.staged) dir.Write("data/tables/.profile2.dat.together", staged.substr(0, 488));
    if (c.staged) dir.Write("data/tables/.PROFILE2.together", staged.substr(488));
    dir.Write("data/tables/Career2.HS", "tables");
    dir.Write("data/tables/PROFILE2", "roster");
    if (!c.file.empty()) dir.Write("data/tables/profile2.dat", c.file);
    if (c.folder) dir.Write(std::string("data/tables/") + c.folder + "/x", "");
    frontend::HidePageNow("MessageOK");
    N_CareerProfile profile = Distinct();
    EXPECT_EQ(career::LoadCareerProfile(profile, 2), c.found);
    EXPECT_TRUE(SameRecord(profile, defaults));
    EXPECT_EQ(r.PageVisible("MessageOK"), c.said != nullptr) << "the player is told";
    if (c.said) {
      EXPECT_NE(r.Caption("Label2").find(c.said), std::string::npos) << r.Caption("Label2");
    }
    const bool refused = c.found == career::SlotLoad::Refused;
    EXPECT_EQ(dir.Exists("data/tables/Career2.HS"), refused);
    EXPECT_EQ(dir.Exists("data/tables/PROFILE2"), refused);
    EXPECT_EQ(dir.Exists("data/tables/profile2.dat"), refused);
    if (c.aside) {
      EXPECT_EQ(dir.Read(std::string("data/tables/profile2.dat") + c.aside), c.file);
      EXPECT_EQ(dir.Read(std::string("data/tables/Career2.HS") + c.aside), "tables");
      EXPECT_EQ(dir.Read(std::string("data/tables/PROFILE2") + c.aside), "roster");
    }
    if (!refused) continue;
    // Nothing saves over the slot or deletes its companions until it can be read.
    EXPECT_FALSE(career::SaveCareerProfile(profile));
    EXPECT_NE(r.Caption("Label2").find(c.said), r.Caption("Label2").rfind(c.said)) << "told again";
    career::ResetCareerProfile(profile);
    EXPECT_EQ(dir.Read("data/tables/Career2.HS"), "tables");
    EXPECT_EQ(dir.Read("data/tables/profile2.dat/x") + dir.Read("data/tables/profile2.dat"), c.file);
    EXPECT_EQ(dir.Read("data/tables/.profile2.dat.together") + dir.Read("data/tables/.PROFILE2.together"), staged);
    EXPECT_EQ(dir.Read("data/tables/.career2.set"), c.journal ? c.journal : "");
  }
}

// What a save killed before its journal left staged (the journal never written) is
// removed at the slot's next load, and the final table's too while no slot's journal
// waits: it used to stay for ever. A journal that waits keeps the final table's.
// So is a journal written whole but never renamed; a staged file outside, beside the
// target of a roster linked out of the folder, stays (it used to be removed too).
TEST(CareerProfileFile, StagedFilesOfASaveKilledBeforeItsJournalAreRemoved) {
  test::RacePagesRig r;
  const test::TempDir& dir = r.rig.harness.dir;
  const char* const staged[] = {"data/tables/.profile1.dat.together", "data/tables/.profile1.together",
                                "data/tables/.career1.hs.together", "data/tables/.career.hs.together",
                                "data/tables/..career1.set.saving"};
  dir.Write("outside/x", "roster");
  dir.Write("outside/.x.together", "staged outside");
  for (const bool otherWaits : {true, false}) {
    SCOPED_TRACE(otherWaits ? "slot 0's journal waits" : "no journal waits");
    for (const char* file : staged) dir.Write(file, "staged");
    if (otherWaits) dir.Write("data/tables/.career0.set", "career.hs\n");
    std::filesystem::create_symlink(dir.Path() + "/outside/x", dir.Path() + "/data/tables/profile1");
    N_CareerProfile profile;
    career::LoadCareerProfile(profile, 1);
    EXPECT_EQ(dir.Read("outside/.x.together"), "staged outside");
    for (const char* file : staged) {
      EXPECT_EQ(dir.Exists(file), otherWaits && std::string(file).find(".career.hs") != std::string::npos) << file;
    }
    std::filesystem::remove(dir.Path() + "/data/tables/.career0.set");
  }
}

// A valid file loads unchanged, as the slot it lies in, and refills the week state:
// the items of each day, the standing event with its prize in row 8, the travel costs.
// A short file keeps the rest of the record.
TEST(CareerProfileFile, LoadRestoresTheRecordAndTheWeek) {
  test::RacePagesRig r;
  N_CareerProfile saved = Distinct();
  saved.schedule[1][1] = 8;
  r.rig.harness.dir.Write("data/tables/profile1.dat", FileBytes(saved));
  career::Week() = CareerWeekState{};
  r.NewLog();
  N_CareerProfile loaded;
  career::LoadCareerProfile(loaded, 1);
  saved.number = 1;
  EXPECT_TRUE(SameRecord(loaded, saved));
  EXPECT_EQ(r.NewLog().find("out of range"), std::string::npos);
  const CareerWeekState& week = career::Week();
  EXPECT_EQ(week.sponsorEvent, 3);
  EXPECT_EQ(week.sponsorPrize, 1700);
  EXPECT_EQ(career::ScheduleItems()[8].cost, 1700);
  EXPECT_EQ(week.days[1].size(), 2u);
  EXPECT_EQ(week.days[1][1].id, 8);
  EXPECT_EQ(week.days[1][1].cost, 1700);
  EXPECT_EQ(week.days[0].size(), 1u);
  EXPECT_EQ(week.days[3].size(), 4u);
  EXPECT_EQ(career::ScheduleItems()[9].cost, 290);
  EXPECT_EQ(career::ScheduleItems()[10].cost, 220);
  EXPECT_EQ(career::ScheduleItems()[11].cost, 990);

  // 100 bytes of the record: the name and what follows it stay as they were.
  r.rig.harness.dir.Write("data/tables/profile1.dat", FileBytes(N_CareerProfile{}).substr(0, 104));
  N_CareerProfile kept = Distinct();
  career::LoadCareerProfile(kept, 1);
  EXPECT_EQ(kept.maxHearth, 40.0f);
  EXPECT_STREQ(kept.name, "Player");
  EXPECT_STREQ(kept.nation, "NOR");
  EXPECT_EQ(kept.account, 123456);
  career::ScheduleItems() = career::DefaultScheduleItems();
}

// Damaged numbers take their defaults, each with a log line; the rest stays.
TEST(CareerProfileFile, LoadChecksEveryRange) {
  test::RacePagesRig r;
  const std::int32_t males = static_cast<std::int32_t>(r.World().AthletMng().GetMaleCount());
  struct Damage {
    const char* what;
    void (*spoil)(N_CareerProfile&, std::int32_t count);
    bool (*fixed)(const N_CareerProfile&);
    const char* said = "out of range";
  };
  const Damage damages[] = {
      {"NaN attribute", [](N_CareerProfile& p, std::int32_t) { p.power = std::numeric_limits<float>::quiet_NaN(); },
       [](const N_CareerProfile& p) { return p.power == 40.0f; }},
      {"ceiling past 220", [](N_CareerProfile& p, std::int32_t) { p.maxCoolness = 221.0f; },
       [](const N_CareerProfile& p) { return p.maxCoolness == 40.0f; }},
      {"freshness", [](N_CareerProfile& p, std::int32_t) { p.freshness = -1.0f; },
       [](const N_CareerProfile& p) { return p.freshness == 100.0f; }},
      {"track row 57", [](N_CareerProfile& p, std::int32_t) { p.trackOrder[6] = 57; },
       [](const N_CareerProfile& p) { return p.trackOrder[6] == 0 && p.trackOrder[1] == 3; }},
      {"pursuit count 99", [](N_CareerProfile& p, std::int32_t) { p.pursuitCount = 99; },
       [](const N_CareerProfile& p) { return p.pursuitCount == 0; }},
      {"athlete past the list", [](N_CareerProfile& p, std::int32_t count) { p.athleteIndex = count; },
       [](const N_CareerProfile& p) { return p.athleteIndex == 0; }},
      {"field entry", [](N_CareerProfile& p, std::int32_t count) { p.field[3] = count + 4; },
       [](const N_CareerProfile& p) { return p.field[3] == 0 && p.field[4] == 10; }},
      {"pursuit athlete", [](N_CareerProfile& p, std::int32_t) { p.pursuitList[2].athlete = -3; },
       [](const N_CareerProfile& p) { return p.pursuitList[2].athlete == 0; }},
      {"race index 10", [](N_CareerProfile& p, std::int32_t) { p.raceIndex = 10; },
       [](const N_CareerProfile& p) { return p.raceIndex == 0; }},
      {"season 11", [](N_CareerProfile& p, std::int32_t) { p.season = 11; },
       [](const N_CareerProfile& p) { return p.season == 0; }},
      {"stage 4", [](N_CareerProfile& p, std::int32_t) { p.stage = 4; },
       [](const N_CareerProfile& p) { return p.stage == 0; }},
      {"schedule id 12", [](N_CareerProfile& p, std::int32_t) { p.schedule[2][0] = 12; },
       [](const N_CareerProfile& p) { return p.schedule[2][0] == -1; }},
      {"extra race", [](N_CareerProfile& p, std::int32_t) { p.extraRaces[1] = -1; },
       [](const N_CareerProfile& p) { return p.extraRaces[1] == 0; }},
      {"sponsor event", [](N_CareerProfile& p, std::int32_t) { p.sponsorEvent = 6; },
       [](const N_CareerProfile& p) { return p.sponsorEvent == -1; }},
      {"hotel", [](N_CareerProfile& p, std::int32_t) { p.hotel = 3; },
       [](const N_CareerProfile& p) { return p.hotel == -1; }},
      {"week choice", [](N_CareerProfile& p, std::int32_t) { p.weekChoice = -2; },
       [](const N_CareerProfile& p) { return p.weekChoice == -1; }},
      {"unterminated name", [](N_CareerProfile& p, std::int32_t) { std::memset(p.name, 'x', sizeof p.name); },
       [](const N_CareerProfile& p) { return std::strlen(p.name) == 31; }},
      // The week's prices and prize went into its schedule unchecked.
      {"sponsor prize", [](N_CareerProfile& p, std::int32_t) { p.sponsorPrize = -2000000; },
       [](const N_CareerProfile& p) { return p.sponsorPrize == 0 && career::Week().sponsorPrize == 0; }},
      {"travel costs",
       [](N_CareerProfile& p, std::int32_t) { p.carCost = -5, p.trainCost = 801, p.planeCost = 1 << 30; },
       [](const N_CareerProfile& p) {
         return p.carCost == 0 && p.trainCost == 0 && career::ScheduleItems()[11].cost == 0;
       }},
      {"special trainings bought", [](N_CareerProfile& p, std::int32_t) { p.weekChoicesBought = 3; },
       [](const N_CareerProfile& p) { return p.weekChoicesBought == 0; }},
      {"difficulty", [](N_CareerProfile& p, std::int32_t) { p.difficulty = 7; },
       [](const N_CareerProfile& p) { return p.difficulty == 0; }},
      // Values the game writes as 0 or 1 keep their meaning; a season's order repeats no track.
      {"sex and flags", [](N_CareerProfile& p, std::int32_t) { p.sex = 1 << 20, p.started = 3, p.finished = 128; },
       [](const N_CareerProfile& p) { return p.sex == 1 && p.started == 1 && p.finished == 1; }},
      {"points past a whole career", [](N_CareerProfile& p, std::int32_t) { p.points = 3081; },
       [](const N_CareerProfile& p) { return p.points == 0; }},
      {"control character", [](N_CareerProfile& p, std::int32_t) { p.name[1] = 0x04; },
       [](const N_CareerProfile& p) { return std::strcmp(p.name, "A?a Quill") == 0; }},
      {"a track twice", [](N_CareerProfile& p, std::int32_t) { p.trackOrder[5] = 3; },
       [](const N_CareerProfile& p) { return p.trackOrder[5] == 3; }, "trackOrder holds 3 twice: kept as it is"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    N_CareerProfile bad = Distinct();
    bad.sex = 0;
    damage.spoil(bad, males);
    r.rig.harness.dir.Write("data/tables/profile0.dat", FileBytes(bad));
    r.NewLog();
    N_CareerProfile loaded;
    career::LoadCareerProfile(loaded, 0);
    EXPECT_TRUE(damage.fixed(loaded));
    EXPECT_EQ(loaded.account, 123456);
    const std::string log = r.NewLog();
    EXPECT_NE(log.find("!!! data\\tables\\profile0.dat: "), std::string::npos) << log;
    EXPECT_NE(log.find(damage.said), std::string::npos);
  }
  career::ScheduleItems() = career::DefaultScheduleItems();
}

}  // namespace
