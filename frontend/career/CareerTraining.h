#pragma once
// What the working week does to the career athlete: the trainings booked into the
// week plan, the special training bought for the week and the hotel add up to one
// change (career::AttributeChanges), which the attribute change page shows and which
// is then added to the profile within the attributes' ranges; the rivals of the
// player's sex drift as well. Every draw goes through the project's generator, in the
// order written below.
#include "frontend/career/CareerAttributeView.h"
#include "frontend/career/CareerWeekState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class N_AthletMng;
struct N_CareerProfile;

/// The week lists, Monday to Friday.
using CareerWeekDays = std::array<std::vector<CareerScheduleItem>, CareerWeekState::kDays>;

/// Adds the change to the profile, each field bounded after the addition (body
/// attributes 30 to their ceiling, techniques 30 to 100, freshness 0 to 100; the lower
/// bound is tested first), then hands the athlete to the roster (when there is one).
void ApplyAttributeDelta(N_CareerProfile& profile, const career::AttributeChanges& change, N_AthletMng* roster);

/// Adds one training of schedule item type 0 to 7 to the change, each gain a share of
/// the profile's gap at this moment; other types add nothing and draw nothing.
void ApplyTrainingEffect(const N_CareerProfile& profile, std::int32_t type, career::AttributeChanges& change);

/// Adds special training 0 to 2 to the change and raises the profile's six ceilings at
/// once toward 100 (a ceiling above 100 comes down to it); other values change nothing.
void ApplyWeekChoiceEffect(N_CareerProfile& profile, std::int32_t choice, career::AttributeChanges& change);

/// The hotel's factor: -1 for hotel 0, +1 for hotel 1, 0 for hotel 2 and for none.
float HotelFactor(std::int32_t hotel);

/// The working week's change up to the change page: every training of the week lists
/// (which are emptied), the special training (whose ceilings rise at once) and the
/// hotel (then cleared).
career::AttributeChanges CareerWeekChange(N_CareerProfile& profile, CareerWeekDays& days);

/// The rivals' drift at the end of a working week: every athlete of the profile's sex
/// but the player's own gains r(-10, 15) on each body key, kept within 50 to 100.
void DriftCareerRivals(const N_CareerProfile& profile, N_AthletMng& roster);

/// The number of athletes in the roster list of the profile's sex.
std::size_t CareerRosterCount(const N_CareerProfile& profile, const N_AthletMng& roster);

/// Plays out the current profile's week: its change (the week lists emptied, the hotel
/// cleared), the change page, the change applied, the rivals' drift. Without a current
/// profile it logs and does nothing.
void EndCareerWeek();
