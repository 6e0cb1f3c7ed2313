#include "frontend/career/CareerProfileFile.h"

#include "core/FormatString.h"
#include "core/Globals.h"
#include "core/Log.h"
#include "frontend/HighScoreRows.h"
#include "frontend/career/CareerAthleteView.h"
#include "frontend/career/CareerAttributeView.h"
#include "frontend/career/CareerRoster.h"
#include "frontend/career/CareerState.h"
#include "platform/win32/FileReplace.h"
#include "platform/win32/Files.h"
#include "race/AthletMng.h"
#include "race/FileProblems.h"
#include "race/World.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

namespace career {
namespace {

void Log(const std::string& line) {
  if (g_log) g_log->Print("%s\n", line.c_str());
}

// The record's fields in file order. One walk drives both the writer and the reader,
// so the two cannot disagree about the layout.
template <class Profile, class Io>
void WalkFields(Profile& p, Io& io) {
  io.I32(p.number);
  for (auto* value : {&p.maxHearth, &p.maxCondition, &p.maxPower, &p.maxConcentration, &p.maxFightGhost,
                      &p.maxCoolness, &p.hearth, &p.condition, &p.power, &p.concentration, &p.fightGhost,
                      &p.coolness, &p.runTech, &p.shootTech, &p.handlTech, &p.freshness})
    io.F32(*value);
  io.Bytes(p.name, sizeof p.name);
  io.Bytes(p.nation, sizeof p.nation);
  for (auto* value : {&p.sex, &p.athleteIndex, &p.difficulty, &p.account, &p.points, &p.season, &p.raceIndex,
                      &p.weekChoicesBought, &p.stage})
    io.I32(*value);
  io.U8(p.started);
  io.U8(p.finished);
  io.Padding(sizeof p.padding);
  for (auto& value : p.field) io.I32(value);
  for (auto& value : p.trackOrder) io.I32(value);
  for (auto& value : p.extraRaces) io.I32(value);
  io.I32(p.pursuitCount);
  for (auto& entry : p.pursuitList) {
    io.I32(entry.athlete);
    io.F32(entry.offset);
  }
  for (auto& day : p.schedule)
    for (auto& slot : day) io.I32(slot);
  for (auto* value : {&p.sponsorEvent, &p.sponsorPrize, &p.carCost, &p.trainCost, &p.planeCost, &p.hotel,
                      &p.weekChoice})
    io.I32(*value);
}

class Writer {
 public:
  explicit Writer(char* out) : m_at(out) {}
  void I32(std::int32_t value) { high_scores::PutI32(Take(4), value); }
  void F32(float value) { high_scores::PutF32(Take(4), value); }
  void U8(std::uint8_t value) { *Take(1) = static_cast<char>(value); }
  void Bytes(const char* field, std::size_t size) { std::memcpy(Take(size), field, size); }
  void Padding(std::size_t size) { std::memset(Take(size), 0, size); }

 private:
  char* Take(std::size_t size) {
    char* at = m_at + m_done;
    m_done += size;
    return at;
  }
  char* m_at;
  std::size_t m_done = 0;
};

class Reader {
 public:
  explicit Reader(const char* in) : m_at(in) {}
  void I32(std::int32_t& value) { value = high_scores::GetI32(Take(4)); }
  void F32(float& value) { value = high_scores::GetF32(Take(4)); }
  void U8(std::uint8_t& value) { value = static_cast<std::uint8_t>(*Take(1)); }
  void Bytes(char* field, std::size_t size) { std::memcpy(field, Take(size), size); }
  void Padding(std::size_t size) { Take(size); }

 private:
  const char* Take(std::size_t size) {
    const char* at = m_at + m_done;
    m_done += size;
    return at;
  }
  const char* m_at;
  std::size_t m_done = 0;
};

// ---- Load checks ----

/// Puts every field outside its range back to its default and says so in one log line
/// naming the file (when it is destroyed).
class Checker {
 public:
  explicit Checker(std::int32_t slot) : m_slot(slot) {}
  ~Checker() {
    if (m_replaced > 0) {
      Log(FormatString("!!! %s: %d field%s out of range, set to the defaults:%s", ProfileFileName(m_slot).c_str(),
                       m_replaced, m_replaced == 1 ? "" : "s", m_fields.c_str()));
    }
  }
  Checker(const Checker&) = delete;
  Checker& operator=(const Checker&) = delete;
  int Replaced() const { return m_replaced; }

  void Float(float& value, const char* name, float low, float high, float fallback) {
    if (std::isfinite(value) && value >= low && value <= high) return;
    Replace(name, FormatString("%g", static_cast<double>(value)), FormatString("%g", static_cast<double>(fallback)));
    value = fallback;
  }
  void Int(std::int32_t& value, const std::string& name, std::int32_t low, std::int32_t high, std::int32_t fallback) {
    if (value >= low && value <= high) return;
    Replace(name, std::to_string(value), std::to_string(fallback));
    value = fallback;
  }
  /// A flag byte the game writes as 0 or 1; another value counts as set.
  void Flag(std::uint8_t& value, const char* name) {
    std::int32_t wide = value;
    Int(wide, name, 0, 1, 1);
    value = static_cast<std::uint8_t>(wide);
  }
  /// Values the game never repeats (a season's tracks, its field) are said when they
  /// do, and kept: which of the two is damaged cannot be told.
  void Distinct(const std::int32_t* values, std::size_t count, const char* name) {
    for (std::size_t i = 0; i < count; ++i) {
      if (values[i] >= 0 && std::find(values, values + i, values[i]) != values + i) {
        Log(FormatString("!!! %s: %s holds %d twice: kept as it is", ProfileFileName(m_slot).c_str(), name, values[i]));
        return;
      }
    }
  }
  /// A text field must end in a zero byte inside the field, and holds no control
  /// character (the player types it; each is replaced by '?').
  void Text(char* field, std::size_t size, const char* name) {
    if (!std::memchr(field, 0, size)) {
      field[size - 1] = 0;
      Replace(name, "unterminated", "cut to " + std::to_string(size - 1) + " characters");
    }
    bool control = false;
    for (char* c = field; *c; ++c) {
      if (static_cast<unsigned char>(*c) >= 0x20 && *c != 0x7F) continue;
      *c = '?';
      control = true;
    }
    if (control) Replace(name, "with a control character", "'?' in its place");
  }

 private:
  void Replace(const std::string& name, const std::string& was, const std::string& now) {
    ++m_replaced;
    m_fields += " " + name + " " + was + " (" + now + ")";
  }

  std::int32_t m_slot;
  int m_replaced = 0;
  std::string m_fields;
};

/// The most points a career can make: 14 a race, 22 races a season (a sprint and a
/// pursuit a week, two mass starts), 10 seasons.
constexpr std::int32_t kMostPoints = 14 * (2 * static_cast<std::int32_t>(N_CareerProfile::kTracks) + 2) * 10;
// No attribute or ceiling exceeds the whole budget of a group, 220 points.
constexpr float kMaxAttribute = 220.0f;
constexpr std::int32_t kWeekChoicesPerSeason = 2;
/// A sponsor prize is drawn from 1000 to 2500 EUR.
constexpr std::int32_t kHighestSponsorPrize = 2500;
/// Car, train and plane: base price times the highest factor (1.5, 2.0, 2.0).
constexpr std::int32_t kHighestTravelCost[3] = {300, 800, 1600};

void DeleteFile(const std::string& enginePath) {
  const std::string path = platform::ResolvePath(enginePath);
  if (std::remove(path.c_str()) == 0) Log(FormatString("Career: deleted %s", enginePath.c_str()));
}

/// A profile's version word is a small number; a larger one (or a file too short to
/// hold one) is no version, the file is damaged.
constexpr std::uint32_t kHighestVersionWord = 0xFFFF;

/// Why the bytes are no profile of this version: "" for another version, else what is
/// damaged. Only for bytes LoadProfileBytes refused.
std::string DamageOf(std::string_view file) {
  if (file.size() < 4) return FormatString("%zu bytes, too short for a version", file.size());
  const auto version = static_cast<std::uint32_t>(high_scores::GetI32(file.data()));
  if (version == 0 || version > kHighestVersionWord) return FormatString("its version word %u is no version", version);
  return {};
}

/// Renames the slot's three files (those there) with the first free suffix ".old",
/// ".old2" ... ".old9"; the suffix, empty when none is free or a rename failed.
std::string SetAside(std::int32_t slot) {
  const std::string files[] = {ProfileFileName(slot), FormatString("data\\tables\\career%d.hs", slot),
                               FormatString("data\\tables\\profile%d", slot)};
  for (int n = 1; n <= 9; ++n) {
    const std::string suffix = n == 1 ? ".old" : ".old" + std::to_string(n);
    bool free = true;
    for (const std::string& file : files) free = free && !platform::IdentifyFile(file + suffix);
    if (!free) continue;
    for (const std::string& file : files) {
      const std::string from = platform::ResolvePath(file);
      if (platform::IdentifyFile(file) && std::rename(from.c_str(), (from + suffix).c_str()) != 0) return {};
    }
    Log(FormatString("%s: set aside with its companions as %s", files[0].c_str(), suffix.c_str()));
    return suffix;
  }
  return {};
}

void RebuildWeek(const N_CareerProfile& profile, CareerWeekState& week) {
  week.ClearDays();
  for (std::size_t day = 0; day < N_CareerProfile::kDays; ++day) {
    for (std::int32_t id : profile.schedule[day]) {
      CareerScheduleItem* row = ScheduleItem(id);
      if (!row) continue;  // -1: an empty slot (the checks leave no other)
      if (id == kSponsorItem) {
        row->cost = profile.sponsorPrize;
        week.sponsorEvent = profile.sponsorEvent;
      }
      week.days[day].push_back(*row);
    }
  }
  week.sponsorPrize = profile.sponsorPrize;
  ScheduleItems()[kCarItem].cost = profile.carCost;
  ScheduleItems()[kTrainItem].cost = profile.trainCost;
  ScheduleItems()[kPlaneItem].cost = profile.planeCost;
}

/// The slot's own files, those a set of its journal may hold but the final table.
std::vector<std::string> SlotFiles(std::int32_t slot) {
  return {ProfileFileName(slot), N_AthletMng::RosterFileName(slot), N_CareerHS::FileName(slot)};
}

/// Whether the journal of another slot waits: the final table is every slot's, and its
/// staged version may be that slot's set, left for that slot's next load.
bool OtherJournalWaits(std::int32_t slot) {
  const std::string own = platform::ResolvePath(CareerJournalName(slot));
  _finddata_t entry;
  const std::intptr_t found = _findfirst(platform::ResolvePath("data\\tables\\.career*.set").c_str(), &entry);
  if (found == -1) return false;
  bool other = false;
  do {
    other = entry.name != own.substr(own.rfind('/') + 1);
  } while (!other && _findnext(found, &entry) == 0);
  _findclose(found);
  return other;
}

/// The slot's files and the final table while no other slot's set may hold it.
std::vector<std::string> StagingOf(std::int32_t slot) {
  std::vector<std::string> files = SlotFiles(slot);
  if (!OtherJournalWaits(slot)) files.push_back(N_CareerFinalHS::kFile);
  return files;
}

/// What the player is told of a slot whose journal is refused: the journal and why,
/// that nothing of the career changes, and what to do: put right or remove the journal
/// and the files staged beside it.
std::string JournalRefusal(std::int32_t slot, const std::string& why) {
  std::string staged;
  for (const std::string& name : platform::StagedFiles(StagingOf(slot))) staged += (staged.empty() ? "" : ", ") + name;
  return CareerJournalName(slot) + ", the journal of an unfinished save, was refused (" + platform::ReasonOf(why) +
         "). The career is left as it was. To play it, put right or remove this journal" +
         (staged.empty() ? std::string(".") : " and the files staged beside it in data\\tables: " + staged + ".");
}

/// Refuses the slot: the defaults in the record, nothing of the slot's files changed
/// until a load reads them; the player told, and told again when the slot is asked for.
SlotLoad Refuse(N_CareerProfile& profile, std::int32_t slot, const std::string& problem) {
  RefusedSlot() = slot;
  RefusedSlotProblem() = problem;
  profile.SetDefaults();
  ReportFileProblem(problem);
  return SlotLoad::Refused;
}

}  // namespace

std::string ProfileFileName(std::int32_t slot) { return FormatString("data\\tables\\profile%d.dat", slot); }

std::string EncodeProfile(const N_CareerProfile& profile) {
  std::string bytes(kProfileRecordBytes, '\0');
  Writer writer(bytes.data());
  WalkFields(profile, writer);
  return bytes;
}

void DecodeProfile(std::string_view bytes, N_CareerProfile& profile) {
  // The bytes present go over the record's own image, so a short input keeps the rest.
  std::string image = EncodeProfile(profile);
  std::memcpy(image.data(), bytes.data(), std::min(bytes.size(), image.size()));
  Reader reader(image.data());
  WalkFields(profile, reader);
  profile.padding[0] = profile.padding[1] = 0;
}

int CheckProfile(N_CareerProfile& p, const std::optional<RosterSizes>& roster) {
  Checker check(p.number);
  const N_CareerProfile defaults;
  struct Attribute {
    float N_CareerProfile::*member;
    const char* name;
  };
  static constexpr Attribute kAttributes[] = {
      {&N_CareerProfile::maxHearth, "maxHearth"},
      {&N_CareerProfile::maxCondition, "maxCondition"},
      {&N_CareerProfile::maxPower, "maxPower"},
      {&N_CareerProfile::maxConcentration, "maxConcentration"},
      {&N_CareerProfile::maxFightGhost, "maxFightGhost"},
      {&N_CareerProfile::maxCoolness, "maxCoolness"},
      {&N_CareerProfile::hearth, "hearth"},
      {&N_CareerProfile::condition, "condition"},
      {&N_CareerProfile::power, "power"},
      {&N_CareerProfile::concentration, "concentration"},
      {&N_CareerProfile::fightGhost, "fightGhost"},
      {&N_CareerProfile::coolness, "coolness"},
      {&N_CareerProfile::runTech, "runTech"},
      {&N_CareerProfile::shootTech, "shootTech"},
      {&N_CareerProfile::handlTech, "handlTech"},
  };
  for (const Attribute& a : kAttributes) check.Float(p.*a.member, a.name, 0.0f, kMaxAttribute, defaults.*a.member);
  check.Float(p.freshness, "freshness", 0.0f, 100.0f, defaults.freshness);
  check.Text(p.name, sizeof p.name, "name");
  check.Text(p.nation, sizeof p.nation, "nation");

  check.Int(p.sex, "sex", 0, 1, 1);  // any value but 0 reads as female
  check.Flag(p.started, "started");
  check.Flag(p.finished, "finished");
  check.Int(p.points, "points", 0, kMostPoints, 0);
  check.Int(p.season, "season", 0, 10, 0);
  check.Int(p.raceIndex, "raceIndex", 0, static_cast<std::int32_t>(N_CareerProfile::kTracks) - 1, 0);
  check.Int(p.stage, "stage", 0, 3, 0);
  check.Int(p.pursuitCount, "pursuitCount", 0, static_cast<std::int32_t>(N_CareerProfile::kFieldSize), 0);
  for (std::size_t i = 0; i < N_CareerProfile::kTracks; ++i)
    check.Int(p.trackOrder[i], FormatString("trackOrder[%zu]", i), 0, N_CareerProfile::kTracks - 1, 0);
  for (std::size_t i = 0; i < 2; ++i)
    check.Int(p.extraRaces[i], FormatString("extraRaces[%zu]", i), 0, N_CareerProfile::kTracks - 1, 0);
  for (std::size_t day = 0; day < N_CareerProfile::kDays; ++day)
    for (std::size_t slot = 0; slot < N_CareerProfile::kSlotsPerDay; ++slot)
      check.Int(p.schedule[day][slot], FormatString("schedule[%zu][%zu]", day, slot), -1,
                static_cast<std::int32_t>(kScheduleItems) - 1, -1);
  check.Int(p.sponsorEvent, "sponsorEvent", -1, 5, -1);
  check.Int(p.hotel, "hotel", -1, 2, -1);
  check.Int(p.weekChoice, "weekChoice", -1, 2, -1);
  check.Int(p.difficulty, "difficulty", 0, 1, 0);
  check.Int(p.weekChoicesBought, "weekChoicesBought", 0, kWeekChoicesPerSeason, 0);
  // The prizes and prices the week's events and travel draw (0 before any draw).
  check.Int(p.sponsorPrize, "sponsorPrize", 0, kHighestSponsorPrize, 0);
  check.Int(p.carCost, "carCost", 0, kHighestTravelCost[0], 0);
  check.Int(p.trainCost, "trainCost", 0, kHighestTravelCost[1], 0);
  check.Int(p.planeCost, "planeCost", 0, kHighestTravelCost[2], 0);
  for (std::int32_t i = 0; i < p.pursuitCount; ++i)
    check.Float(p.pursuitList[i].offset, FormatString("pursuitList[%d] offset", i).c_str(), -3600.0f, 0.0f, 0.0f);

  if (p.started) {
    check.Distinct(p.trackOrder, N_CareerProfile::kTracks, "trackOrder");
    check.Distinct(p.extraRaces, 2, "extraRaces");
    check.Distinct(p.field, N_CareerProfile::kFieldSize, "field");
  }
  if (roster) {
    const std::int32_t last = static_cast<std::int32_t>(roster->OfSex(p.sex)) - 1;
    check.Int(p.athleteIndex, "athleteIndex", 0, last, 0);
    for (std::size_t i = 0; i < N_CareerProfile::kFieldSize; ++i)
      check.Int(p.field[i], FormatString("field[%zu]", i), -1, last, 0);
    for (std::int32_t i = 0; i < p.pursuitCount; ++i)
      check.Int(p.pursuitList[i].athlete, FormatString("pursuitList[%d] athlete", i), 0, last, 0);
  }
  return check.Replaced();
}

void ResetCareerProfile(N_CareerProfile& profile) {
  profile.SetDefaults();
  if (RefusedSlot() == profile.number) return;  // files that cannot be read are never deleted
  ForgetChanges();
  DeleteFile(FormatString("data\\tables\\career%d.hs", profile.number));
  DeleteFile(FormatString("data\\tables\\profile%d", profile.number));
}

std::string CareerJournalName(std::int32_t slot) { return FormatString("data\\tables\\.career%d.set", slot); }

void RemoveLeftoverStaging(std::int32_t slot) { platform::RemoveStagedFiles(StagingOf(slot)); }

bool SaveCareerProfile(N_CareerProfile& profile) {
  const std::string name = ProfileFileName(profile.number);
  if (RefusedSlot() == profile.number) {
    ReportFileProblem(RefusedSlotProblem());
    return false;
  }
  N_CareerProfile saved = profile;
  CareerWeekState& week = Week();
  for (auto& day : saved.schedule)
    for (std::int32_t& slot : day) slot = -1;
  for (std::size_t day = 0; day < N_CareerProfile::kDays; ++day) {
    const auto& items = week.days[day];
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i < N_CareerProfile::kSlotsPerDay) {
        saved.schedule[day][i] = items[i].id;
      } else {
        Log(FormatString("Career profile %d: day %zu holds %zu items, item %d (%zu) not saved", profile.number, day,
                         items.size(), items[i].id, i));
      }
    }
  }
  saved.sponsorPrize = week.sponsorPrize;
  saved.sponsorEvent = week.sponsorEvent;
  saved.carCost = ScheduleItems()[kCarItem].cost;
  saved.trainCost = ScheduleItems()[kTrainItem].cost;
  saved.planeCost = ScheduleItems()[kPlaneItem].cost;

  // The profile and what changed beside it, together: the roster while the athletes
  // hold the career's values, the career tables and the final table of the last steps.
  std::string bytes(4, '\0');
  high_scores::PutI32(bytes.data(), static_cast<std::int32_t>(kProfileVersion));
  bytes += EncodeProfile(saved);
  std::vector<platform::WholeFile> files{{name, std::move(bytes)}};
  if (g_world && !g_world->AthletMng().HoldsFileValues()) {
    files.push_back({N_AthletMng::RosterFileName(profile.number), g_world->AthletMng().RosterBytes()});
  }
  if (const N_CareerHS* tables = ChangedTables(profile.number)) {
    files.push_back({N_CareerHS::FileName(profile.number), tables->Bytes()});
  }
  if (const N_CareerFinalHS* table = ChangedFinalTable()) files.push_back({N_CareerFinalHS::kFile, table->Bytes()});
  std::string why;
  if (!platform::ReplaceFilesTogether(CareerJournalName(profile.number), files, &why)) {
    ReportFileProblem(file_problem::NotSaved(name, why, "the career stays in the game; its next step saves it."));
    return false;
  }
  ForgetChanges();
  profile = saved;
  return true;
}

bool LoadProfileBytes(N_CareerProfile& profile, std::int32_t slot, std::string_view file,
                      const std::optional<RosterSizes>& roster, CareerWeekState& week) {
  if (file.size() < 4 || static_cast<std::uint32_t>(high_scores::GetI32(file.data())) != kProfileVersion) return false;
  file.remove_prefix(4);
  if (file.size() < kProfileRecordBytes)
    Log(FormatString("!!! %s: %zu of %zu record bytes", ProfileFileName(slot).c_str(), file.size(),
                     kProfileRecordBytes));
  // The game writes the two bytes after "finished" as zeros.
  constexpr std::size_t kPadding = offsetof(N_CareerProfile, padding);
  if (file.size() >= kPadding + 2 && (file[kPadding] != 0 || file[kPadding + 1] != 0))
    Log(FormatString("!!! %s: the padding after 'finished' is not zero", ProfileFileName(slot).c_str()));
  DecodeProfile(file, profile);
  if (profile.number != slot) {
    Log(FormatString("!!! %s holds the profile of slot %d; loaded as slot %d", ProfileFileName(slot).c_str(),
                     profile.number, slot));
  }
  profile.number = slot;
  CheckProfile(profile, roster);
  RebuildWeek(profile, week);
  return true;
}

SlotLoad LoadCareerProfile(N_CareerProfile& profile, std::int32_t slot) {
  profile.number = slot;
  RefusedSlot() = -1;
  const std::string name = ProfileFileName(slot);
  std::string bytes, why;
  SlotLoad found = SlotLoad::New;
  // A save of the slot cut short is finished first, so that its files agree.
  const std::string journal = CareerJournalName(slot);
  const bool finished = platform::FinishFilesTogether(journal, &why, SlotFiles(slot));
  if (finished) RemoveLeftoverStaging(slot);
  if (!finished || !platform::ReadWholeFile(name, bytes, &why)) {
    if (why.empty()) {
      ResetCareerProfile(profile);  // no file: a new career, without companions
    } else {
      // There, but not readable: nothing of the slot is changed or deleted.
      found = Refuse(profile, slot,
                     finished ? file_problem::Unreadable(
                                    name, why, "the career is left as it is; play it once the file can be read.")
                              : JournalRefusal(slot, why));
    }
  } else if (LoadProfileBytes(profile, slot, bytes, CareerRosterSizes(), Week())) {
    found = SlotLoad::Loaded;
  } else {
    // Another version, or damaged: its three files are kept aside, the slot starts anew.
    const std::string damage = DamageOf(bytes);
    const std::string what = damage.empty() ? name + " is of another version" : name + " is damaged (" + damage + ")";
    const std::string suffix = SetAside(slot);
    if (suffix.empty()) {
      found = Refuse(profile, slot, what + " and cannot be set aside: the career is left as it is.");
    } else {
      ResetCareerProfile(profile);
      ReportFileProblem(what + ": its career is kept as " + name + suffix +
                        " (with its tables and roster) and the slot starts anew.");
    }
  }
  ShowCareerAthlete(profile.sex, profile.athleteIndex);
  ShowCareerAttributePoints();
  return found;
}

}  // namespace career
