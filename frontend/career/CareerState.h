#pragma once
// The career module's state: the one current profile (owned here; a new one replaces
// the previous) and the one week state beside it. Every career page and the career
// simulation reach them through these accessors.
#include "frontend/career/CareerProfile.h"
#include "frontend/career/CareerWeekState.h"

#include <memory>

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

}  // namespace career
