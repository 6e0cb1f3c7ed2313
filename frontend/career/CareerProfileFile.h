#pragma once
// The profile file "data\tables\profile%d.dat" of a slot: the version word 265, then
// the 484-byte record, 488 bytes, read and written field by field. A save first copies
// the week state into the record (the day lists as schedule ids, the sponsor event and
// prize, the travel costs), a load copies them back out. Numbers read from a file are
// checked against their ranges: a field out of range (or NaN) takes its default, all
// of them said in one log line naming the file.
//
// Two companion files share the slot number: the career tables "data\tables\career%d.hs"
// and the career roster "data\tables\profile%d". A save writes the profile together
// with what the career changed beside it (platform::ReplaceFilesTogether, the journal
// "data\tables\.career%d.set"): the roster while the athletes hold the career's
// values, the career tables and the final table kept by the last steps
// (frontend/career/CareerState.h); a kill leaves all of them old or all new, and the
// next load of the slot finishes a save cut short. A failed save is told to the player
// (race/FileProblems.h) and keeps everything in memory for the next one.
//
// Loading tells three cases apart. No file: a new career, and the companions are
// deleted. A file of another version: it is set aside with its companions (".old",
// else ".old2" ...), the player is told, the slot starts anew. A file (or companion
// save) that is there but cannot be read: the slot is refused, the player is told, and
// nothing of it is deleted or saved over until a load reads it.
#include "frontend/career/CareerProfile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct CareerWeekState;

namespace career {

inline constexpr std::uint32_t kProfileVersion = 265;
inline constexpr std::size_t kProfileRecordBytes = 484;
inline constexpr std::size_t kProfileFileBytes = 4 + kProfileRecordBytes;

/// "data\tables\profile<slot>.dat".
std::string ProfileFileName(std::int32_t slot);

/// The record's 484 bytes as the file holds them (the padding as zeros).
std::string EncodeProfile(const N_CareerProfile& profile);
/// Reads the bytes present (at most 484) over the record; the fields beyond a short
/// input keep their values (a field cut in the middle takes the bytes present).
void DecodeProfile(std::string_view bytes, N_CareerProfile& profile);

/// How many athletes the lists of the two sexes hold (male, female), for the checks.
struct RosterSizes {
  std::size_t male = 0;
  std::size_t female = 0;
  std::size_t OfSex(std::int32_t sex) const { return sex == 0 ? male : female; }
};
/// Replaces every field outside its range with its default, one log line each;
/// the number of fields replaced. Without roster sizes the athlete indices are left
/// (there is no list to index).
int CheckProfile(N_CareerProfile& profile, const std::optional<RosterSizes>& roster);

/// The defaults again, then the slot's career tables and roster are deleted (not those
/// of a refused slot).
void ResetCareerProfile(N_CareerProfile& profile);
/// Copies the week state into the record and saves it with the changes beside it (see
/// above); false, the player told and the record unchanged, when they could not be
/// written or the slot is refused. A day with more than four items saves its first
/// four and logs the rest.
bool SaveCareerProfile(N_CareerProfile& profile);

enum class SlotLoad {
  Loaded,   ///< the slot's career
  New,      ///< no file, or one of another version set aside: the defaults
  Refused,  ///< a file that cannot be read: the defaults, and the slot stays untouched
};
/// Fills the record from the slot's file and the week state from the record (see above
/// for a missing file, another version and one that cannot be read). `number` is the
/// slot afterwards. Then the profile page's athlete and attribute displays are refreshed.
SlotLoad LoadCareerProfile(N_CareerProfile& profile, std::int32_t slot);

/// The journal of a slot's saves.
std::string CareerJournalName(std::int32_t slot);
/// Removes what a save of the slot killed before its journal left staged (once the
/// slot's journal is finished): the final table's only when no slot's journal waits.
void RemoveLeftoverStaging(std::int32_t slot);

/// The load of a file's bytes (the version word first) without the displays: false,
/// nothing changed, when the version is not 265 (or the word is incomplete); else the
/// record takes the bytes, `number` = slot, the checks run and the week state is
/// rebuilt from the record. Used by LoadCareerProfile and the fuzzer.
bool LoadProfileBytes(N_CareerProfile& profile, std::int32_t slot, std::string_view file,
                      const std::optional<RosterSizes>& roster, CareerWeekState& week);

}  // namespace career
