#pragma once
// The career module's state: the one current profile (owned here; a new one replaces
// the previous) and the one week state beside it. Every career page and the career
// simulation reach them through these accessors.
#include "frontend/CareerTables.h"
#include "frontend/career/CareerProfile.h"
#include "frontend/career/CareerWeekState.h"

#include <memory>
#include <string>

namespace career {

/// The current profile, or null while no career page has created one.
N_CareerProfile* Profile();
/// Replaces the current profile with a new one holding the defaults and returns it.
N_CareerProfile& NewProfile();
/// Takes over a profile as the current one (null deletes the current one).
void SetProfile(std::unique_ptr<N_CareerProfile> profile);
/// Deletes the current profile; afterwards `Profile()` is null.
void DeleteProfile();

/// The week state (one instance for the whole program).
CareerWeekState& Week();

// What a career step changed beside the profile, kept until the next save of the
// profile writes it together with the profile (frontend/career/CareerProfileFile.h), so
// that a failed save loses nothing and the files never disagree.
/// The slot's career tables for a change: those kept from an earlier step, else the
/// file's (a missing file: empty tables). Null, the player told, when the file cannot
/// be read or is damaged: nothing may be entered then.
N_CareerHS* TablesToChange(std::int32_t slot);
/// The kept tables of the slot, null when none.
const N_CareerHS* ChangedTables(std::int32_t slot);
/// The final table with the finished career entered, kept for the next save.
void KeepFinalTable(std::unique_ptr<N_CareerFinalHS> table);
const N_CareerFinalHS* ChangedFinalTable();
/// Forgets what was kept (after it was saved, or with the profile it belonged to).
void ForgetChanges();

/// Tells the player (the OK box and a log line), once for the current profile, that the
/// slot's career tables are missing although its career has raced (its standings start
/// empty). Called wherever the career reads them, so that no way into them passes it over.
void SayWhenTablesMissing(const N_CareerProfile& profile);

/// The slot whose files were there but could not be read (-1 none): nothing may save
/// over them or delete them.
std::int32_t& RefusedSlot();
/// What the player was told of the refused slot, told again when it is asked for.
std::string& RefusedSlotProblem();

}  // namespace career
