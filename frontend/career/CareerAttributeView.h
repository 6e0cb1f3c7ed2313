#pragma once
// The career athlete's attributes on the pages "CareerAttributes" (the nine bars and
// the points left in the three groups) and "CareerAttributesInfo" (the week's changes,
// played unit by unit in a blocking 2D-only frame loop).
#include <array>
#include <cstddef>

struct N_CareerProfile;

namespace career {

/// A week's changes: hearth, condition, power, concentration, fightGhost, coolness,
/// shootTech, runTech, handlTech, freshness (the shooting technique before the running
/// one, unlike the record).
using AttributeChanges = std::array<float, 10>;
enum AttributeChange : std::size_t {
  kChangeHearth,
  kChangeCondition,
  kChangePower,
  kChangeConcentration,
  kChangeFightGhost,
  kChangeCoolness,
  kChangeShootTech,
  kChangeRunTech,
  kChangeHandlTech,
  kChangeFreshness,
};

/// Each group's budget and the least a bar holds.
inline constexpr int kGroupPoints = 220;
inline constexpr int kLeastBarPoints = 40;

/// The bars "HearthAtt1" ... "HandlTechAtt1" from the current profile's ceilings and
/// techniques, the points left in "TotalLbl1" to "TotalLbl3" (hidden, and the bars
/// disabled, once the career has started).
void ShowCareerAttributePoints();

/// Shows "CareerAttributesInfo" in place of "Career" with the current values and moves
/// each bar unit by unit toward its value after the changes; returns when the
/// animation is over. Only shows: the profile is changed afterwards.
void ShowCareerAttributeChanges(const AttributeChanges& changes);

}  // namespace career
