#pragma once
// The athlete part of the career profile page "CareerProfile": the figure "Model7",
// the sex selector, the nation flag and the body measures of a roster athlete, and the
// set-up controls that a started career locks.
#include <cstdint>

namespace career {

/// Shows the athlete `index` of the list of `sex` (0 male, any other value female).
/// An athlete outside the list shows no flag and no measures (logged).
void ShowCareerAthlete(std::int32_t sex, std::int32_t index);

}  // namespace career
